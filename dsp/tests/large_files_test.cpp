// Files past 2 GiB, where a 32-bit signed offset turns negative: an in-place
// effect (Quietener) and one that writes its result to a second file and
// replaces the input (Reverser) give the right size and the right samples at
// marked frames on both sides of the 2 GiB mark. The input is a sparse file:
// silence everywhere but the marks.
#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "testing/plugin_support.h"
#include "testing/plugin_under_test.h"

using namespace dsp::testing;

namespace {

constexpr uint64_t kFrameBytes = 4; // 16-bit stereo
constexpr uint64_t kTwoGiB = 1ull << 31;
constexpr uint64_t kFileBytes = kTwoGiB + (3ull << 20);
constexpr uint64_t kFrames = kFileBytes / kFrameBytes;

struct Mark
{
    uint64_t frame;
    int16_t left, right;
};

// Frames at the start, just before and at the 2 GiB byte, and at the end.
const Mark kMarks[] = {
    {0, 2000, -4000},
    {kTwoGiB / kFrameBytes - 1, 1234 * 2, -2},
    {kTwoGiB / kFrameBytes, -32768, 32766},
    {kTwoGiB / kFrameBytes + 12345, 100, -100},
    {kFrames - 1, 8, -8},
};

HANDLE Open(const std::string& path, DWORD access, DWORD disposition)
{
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool WriteAt(HANDLE file, uint64_t offset, const void* data, DWORD size)
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
           WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool ReadFrame(HANDLE file, uint64_t frame, int16_t (&samples)[2])
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(frame * kFrameBytes);
    DWORD got = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, samples, 4, &got, nullptr) &&
           got == 4;
}

// The sparse input: the length set first (no blocks written), then the marks.
bool MakeInput(const std::string& path)
{
    HANDLE file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(kFileBytes);
    bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    for (const Mark& m : kMarks) {
        const int16_t samples[2] = {m.left, m.right};
        ok = ok && WriteAt(file, m.frame * kFrameBytes, samples, sizeof samples);
    }
    CloseHandle(file);
    return ok;
}

uint64_t SizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct Effect
{
    const char* dll;
    std::vector<std::pair<std::string, uint32_t>> settings;
    // Where a mark's frame ends up, and what its samples become.
    uint64_t (*frameAfter)(uint64_t frame);
    int16_t (*sampleAfter)(int16_t sample);
};

TEST(LargeFiles, EffectsPastTwoGiBKeepTheSizeAndPlaceEverySampleRight)
{
    const Effect effects[] = {
        {"Quietener.dll",
         {{"Vol-Quiet-PCLessenBy", 50}},
         [](uint64_t frame) { return frame; },
         [](int16_t s) { return static_cast<int16_t>(s / 2); }},
        {"Reverser.dll", {}, [](uint64_t frame) { return kFrames - 1 - frame; }, [](int16_t s) { return s; }},
    };
    RegistryScope registry({"Vol-Quiet-PCLessenBy"});
    const std::string path = ScratchFile("large.raw");
    for (const Effect& e : effects) {
        SCOPED_TRACE(e.dll);
        for (const auto& s : e.settings)
            SetNumber(s.first.c_str(), s.second);
        ASSERT_TRUE(MakeInput(path));
        ASSERT_EQ(SizeOf(path), kFileBytes);
        PluginUnderTest plugin(e.dll);
        ASSERT_TRUE(plugin.Loaded());
        WAVEFORMATEX format = MakeFormat(2, 44100, 16);
        ASSERT_EQ(plugin.Work(path, format), 1);
        EXPECT_EQ(SizeOf(path), kFileBytes);
        EXPECT_FALSE(FileExists(path + "-Tmp"));

        HANDLE file = Open(path, GENERIC_READ, OPEN_EXISTING);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        for (const Mark& m : kMarks) {
            int16_t samples[2] = {};
            ASSERT_TRUE(ReadFrame(file, e.frameAfter(m.frame), samples)) << m.frame;
            EXPECT_EQ(samples[0], e.sampleAfter(m.left)) << "frame " << m.frame;
            EXPECT_EQ(samples[1], e.sampleAfter(m.right)) << "frame " << m.frame;
        }
        // A frame that was silence stays silence.
        int16_t silence[2] = {1, 1};
        ASSERT_TRUE(ReadFrame(file, e.frameAfter(kTwoGiB / kFrameBytes + 1), silence));
        EXPECT_EQ(silence[0], 0);
        EXPECT_EQ(silence[1], 0);
        CloseHandle(file);
    }
    DeleteFileA(path.c_str());
}

} // namespace
