#include "progress.h"

#include "core/wave_format.h"

namespace dsp {

Progress::Progress()
{
    value_.Create(kProgressName, kProgressBytes);
}

Progress::~Progress()
{
    value_.Close();
}

void Progress::Write(uint32_t percent)
{
    if (percent == last_)
        return;
    if (value_.Write(&percent))
        last_ = percent;
}

uint32_t Progress::Percent(uint64_t done, uint64_t total)
{
    return PercentOf(done, total);
}

ProgressReader::ProgressReader()
{
    value_.Create(kProgressName, kProgressBytes);
}

uint32_t ProgressReader::Read()
{
    uint32_t percent = 0;
    return value_.Read(&percent) ? percent : 0;
}

} // namespace dsp
