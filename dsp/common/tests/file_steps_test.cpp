// The file steps the effects share, driven directly: short reads and
// failed writes must come back as failures, and a result only takes the
// input's place when it is complete.
#include <gtest/gtest.h>

#include "file_steps.h"
#include "testing/plugin_under_test.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;
using namespace dsp;

namespace {

TEST(FileSteps, CopyRangeCopiesExactlyAndFailsOnShortReadsAndFailedWrites)
{
    const std::string dir = ScratchDir();
    const std::vector<uint8_t> data = Pattern(200000);
    WriteFileBytes(dir + "in.raw", data);
    dsp::DiskFile in, out;
    ASSERT_TRUE(in.Open((dir + "in.raw").c_str(), GENERIC_READ, OPEN_EXISTING));
    ASSERT_TRUE(out.Open((dir + "out.raw").c_str(), GENERIC_WRITE, CREATE_ALWAYS));
    EXPECT_TRUE(CopyRange(in, 1000, 150000, out, kCopyPiece, nullptr));
    out.Close();
    EXPECT_EQ(ReadFileBytes(dir + "out.raw"),
              std::vector<uint8_t>(data.begin() + 1000, data.begin() + 151000));

    ASSERT_TRUE(out.Open((dir + "out.raw").c_str(), GENERIC_WRITE, CREATE_ALWAYS));
    EXPECT_FALSE(CopyRange(in, 100000, 100001, out, kCopyPiece, nullptr)) << "one byte past the end";
    out.Close();

    WriteFileBytes(dir + "ro.raw", {});
    ASSERT_TRUE(out.Open((dir + "ro.raw").c_str(), GENERIC_READ, OPEN_EXISTING));
    EXPECT_FALSE(CopyRange(in, 0, 10, out, kCopyPiece, nullptr)) << "writing through a read-only handle";
    EXPECT_FALSE(WriteFill(out, 0x80, 10));
    EXPECT_FALSE(AppendFill(out, 0x80, 10));
    EXPECT_TRUE(AppendFill(out, 0x80, 0)) << "nothing to append is no failure";
    out.Close();
    EXPECT_TRUE(ReadFileBytes(dir + "ro.raw").empty());
}

TEST(FileSteps, RewriteInPlaceHandsOverEveryBlockOnceInOrder)
{
    const std::string dir = ScratchDir(), path = dir + "block.raw";
    struct Case
    {
        uint32_t second;
        size_t size;
    } cases[] = {
        {16000, 0},
        {16000, 15999},                                     // one short block
        {16000, kInPlacePiece / 16000 * 16000},             // exactly one piece
        {16000, kInPlacePiece / 16000 * 16000 * 2 + 16003}, // two pieces and a short block
        {176400, 3 * 176400},
        {3 * kInPlacePiece, 3 * kInPlacePiece + 5}, // a block larger than a piece
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.second << "-byte blocks, " << c.size << " bytes");
        const std::vector<uint8_t> data = Pattern(c.size, c.second);
        for (bool rewrite : {true, false}) {
            WriteFileBytes(path, data);
            dsp::DiskFile file;
            ASSERT_TRUE(file.Open(path.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
            dsp::Progress progress;
            std::vector<uint32_t> sizes;
            uint64_t offset = 0;
            bool inOrder = true;
            ASSERT_TRUE(RewriteInPlace(
                file, c.size, c.second, progress,
                [&](uint8_t* block, uint32_t bytes) {
                    // Each block starts where the last ended, and the progress
                    // value already counts everything before it.
                    inOrder = inOrder && block[0] == data[offset] &&
                              dsp::ProgressReader().Read() == Progress::Percent(offset, c.size);
                    for (uint32_t i = 0; i < bytes; ++i)
                        block[i] ^= 0x5A;
                    sizes.push_back(bytes);
                    offset += bytes;
                },
                rewrite));
            file.Close();
            EXPECT_TRUE(inOrder);
            EXPECT_EQ(offset, c.size);
            for (size_t i = 0; i + 1 < sizes.size(); ++i)
                ASSERT_EQ(sizes[i], c.second) << i;
            std::vector<uint8_t> want = data;
            for (uint8_t& b : want)
                b = rewrite ? b ^ 0x5A : b;
            EXPECT_EQ(ReadFileBytes(path), want) << (rewrite ? "rewritten" : "only read");
        }
    }
    // A file shorter than it was said to be is a failure, after the blocks it had.
    WriteFileBytes(path, Pattern(20000));
    dsp::DiskFile file;
    ASSERT_TRUE(file.Open(path.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    dsp::Progress progress;
    EXPECT_FALSE(RewriteInPlace(file, 20001, 16000, progress, [](uint8_t*, uint32_t) {}));
    EXPECT_FALSE(RewriteInPlace(file, 20000, 0, progress, [](uint8_t*, uint32_t) {})) << "no block size";
    file.Close();
    // A handle without write access cannot rewrite.
    ASSERT_TRUE(file.Open(path.c_str(), GENERIC_READ, OPEN_EXISTING));
    EXPECT_FALSE(RewriteInPlace(file, 20000, 16000, progress, [](uint8_t*, uint32_t) {}));
    EXPECT_TRUE(RewriteInPlace(
        file, 20000, 16000, progress, [](uint8_t*, uint32_t) {}, false));
}

TEST(FileSteps, AppendFillAddsExactlyThatMuchSilence)
{
    const std::string dir = ScratchDir(), path = dir + "a.raw";
    WriteFileBytes(path, {1, 2, 3});
    dsp::DiskFile file;
    ASSERT_TRUE(file.Open(path.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    ASSERT_TRUE(AppendFill(file, 0x80, 130001)); // three pieces of silence
    file.Close();
    std::vector<uint8_t> want(130004, 0x80);
    want[0] = 1, want[1] = 2, want[2] = 3;
    EXPECT_EQ(ReadFileBytes(path), want);
}

TEST(FileSteps, AResultReplacesTheInputOnlyWhenComplete)
{
    const std::string dir = ScratchDir(), input = dir + "audio.raw", result = input + "-Tmp";
    const std::vector<uint8_t> before = Pattern(100), after = Pattern(50, 9);
    auto write = [&](bool complete) {
        return [&, complete](dsp::DiskFile& out) { return out.Write(after.data(), 50) && complete; };
    };
    WriteFileBytes(input, before);

    EXPECT_FALSE(ReplaceThroughFile(result, input.c_str(), write(false)));
    EXPECT_EQ(ReadFileBytes(input), before);
    EXPECT_EQ(FolderEntries(dir), OnlyInput());

    {
        OpenElsewhere player(input);
        ASSERT_TRUE(player.Open());
        EXPECT_FALSE(ReplaceThroughFile(result, input.c_str(), write(true)));
    }
    EXPECT_EQ(ReadFileBytes(input), before);
    EXPECT_EQ(FolderEntries(dir), OnlyInput());

    ASSERT_TRUE(CreateDirectoryA(result.c_str(), nullptr));
    bool called = false;
    EXPECT_FALSE(ReplaceThroughFile(result, input.c_str(), [&](dsp::DiskFile&) { return called = true; }));
    EXPECT_FALSE(called);
    EXPECT_EQ(ReadFileBytes(input), before);
    RemoveDirectoryA(result.c_str());

    EXPECT_TRUE(ReplaceThroughFile(result, input.c_str(), write(true)));
    EXPECT_EQ(ReadFileBytes(input), after);
    EXPECT_EQ(FolderEntries(dir), OnlyInput());
}

TEST(FileSteps, WritableFilesAreExistingFilesNotMarkedReadOnly)
{
    const std::string dir = ScratchDir(), input = dir + "audio.raw";
    WriteFileBytes(input, {1});
    EXPECT_TRUE(WritableFile(input.c_str()));
    EXPECT_FALSE(WritableFile((dir + "missing.raw").c_str()));
    EXPECT_FALSE(WritableFile(dir.c_str()));
    ReadOnlyFile readOnly(input);
    EXPECT_FALSE(WritableFile(input.c_str()));
}

} // namespace
