#include "core/OptionsValues.h"

namespace cb {

namespace {
constexpr int kBufferSizeCount = static_cast<int>(sizeof kBufferSizes / sizeof kBufferSizes[0]);
constexpr int kOneMegabytePosition = 5;
} // namespace

int BufferSizePosition(int kilobytes)
{
    for (int position = 0; position < kBufferSizeCount; ++position)
        if (kBufferSizes[position] == kilobytes)
            return position;
    return kOneMegabytePosition;
}

int BufferSizeAtPosition(int position)
{
    if (position < 0 || position >= kBufferSizeCount)
        return kBufferSizes[kOneMegabytePosition];
    return kBufferSizes[position];
}

int BarAlignItem(int barAlign)
{
    return (barAlign == 1 || barAlign == 2) ? barAlign : 0;
}

int BarAlignOfItem(int item)
{
    return (item == 1 || item == 2) ? item : 0;
}

} // namespace cb
