#include "file_steps.h"

#include <vector>

#include "replace.h"

namespace dsp {

bool OpenWithSize(DiskFile& file, const char* path, DWORD access, uint64_t* size)
{
    if (!file.Open(path, access, OPEN_EXISTING))
        return false;
    bool error = false;
    *size = file.Size(&error);
    if (!error)
        return true;
    file.Close();
    return false;
}

bool WriteFill(DiskFile& out, uint8_t fill, uint64_t count)
{
    const std::vector<uint8_t> piece(count < kSilencePiece ? count : kSilencePiece, fill);
    while (count) {
        const uint32_t n = count < kSilencePiece ? static_cast<uint32_t>(count) : kSilencePiece;
        if (!out.Write(piece.data(), n))
            return false;
        count -= n;
    }
    return true;
}

bool AppendFill(DiskFile& file, uint8_t fill, uint64_t count)
{
    if (count == 0)
        return true;
    bool sizeError = false;
    const uint64_t before = file.Size(&sizeError);
    if (sizeError || !file.Seek(0, FILE_END))
        return false;
    if (WriteFill(file, fill, count))
        return true;
    file.TruncateAt(before);
    return false;
}

bool CopyRange(DiskFile& in, uint64_t start, uint64_t length, DiskFile& out, uint32_t piece,
               Progress* progress)
{
    if (!in.Seek(static_cast<int64_t>(start), FILE_BEGIN))
        return false;
    std::vector<uint8_t> buffer(piece);
    for (uint64_t done = 0; done < length;) {
        if (progress)
            progress->Write(Progress::Percent(done, length));
        const uint64_t left = length - done;
        const uint32_t n = left < piece ? static_cast<uint32_t>(left) : piece;
        if (in.Read(buffer.data(), n) != n)
            return false;
        if (!out.Write(buffer.data(), n))
            return false;
        done += n;
    }
    return true;
}

bool RewriteInPlace(DiskFile& file, uint64_t size, uint32_t second, Progress& progress,
                    const std::function<void(uint8_t* block, uint32_t bytes)>& transform, bool rewrite)
{
    if (second == 0)
        return false;
    const uint32_t seconds = kInPlacePiece / second ? kInPlacePiece / second : 1;
    std::vector<uint8_t> piece(static_cast<size_t>(seconds) * second);
    for (uint64_t done = 0; done < size;) {
        const uint64_t left = size - done;
        const uint32_t n =
            left < piece.size() ? static_cast<uint32_t>(left) : static_cast<uint32_t>(piece.size());
        if (!file.Seek(static_cast<int64_t>(done), FILE_BEGIN) || file.Read(piece.data(), n) != n)
            return false;
        for (uint32_t at = 0; at < n; at += second) {
            progress.Write(Progress::Percent(done + at, size));
            transform(piece.data() + at, n - at < second ? n - at : second);
        }
        if (rewrite && (!file.Seek(static_cast<int64_t>(done), FILE_BEGIN) || !file.Write(piece.data(), n)))
            return false;
        done += n;
    }
    return true;
}

bool ReplaceThroughFile(const std::string& resultPath, const char* input,
                        const std::function<bool(DiskFile& out)>& produce)
{
    if (resultPath.empty())
        return false;
    RemoveOnExit leftover(resultPath); // also a temporary name made but never opened
    DiskFile out;
    if (!out.Open(resultPath.c_str(), GENERIC_WRITE, CREATE_ALWAYS))
        return false;
    const bool complete = produce(out);
    out.Close();
    if (!complete || !ReplaceInput(resultPath, input))
        return false;
    leftover.Release();
    return true;
}

bool KeepRange(const char* path, const char* ending, uint64_t start, uint64_t length, uint32_t piece,
               Progress* progress)
{
    DiskFile in;
    if (!in.Open(path, GENERIC_READ, OPEN_EXISTING))
        return false;
    return ReplaceThroughFile(SiblingPath(path, ending), path, [&](DiskFile& out) {
        const bool complete = CopyRange(in, start, length, out, piece, progress);
        in.Close(); // the input must be closed before the result can take its place
        return complete;
    });
}

bool WritableFile(const char* path)
{
    const DWORD attributes = path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

const WaveFormat* WorkableInput(const char* path, const WAVEFORMATEX* record)
{
    const WaveFormat* format = AudioFormat(record);
    return format && WritableFile(path) ? format : nullptr;
}

} // namespace dsp
