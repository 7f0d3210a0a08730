// The voice-file replacer on real files: exact copies around the buffer size,
// the target's life (created, made writable, held open and readable by others)
// and every failure with its log line.
#include "Treplacer.h"

#include "LogCapture.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using testfiles::Exists;
using testfiles::LogCapture;
using testfiles::Pattern;
using testfiles::ReadAll;
using testfiles::ScratchDir;
using testfiles::WriteAll;

namespace {

using Lines = std::vector<std::string>;

DWORD RunProbe(const std::string& source, const std::string& output)
{
    std::string exe = std::string(CB_BINARY_DIR) + "/selector/tests/read_probe.exe";
    std::string cmd = "\"" + exe + "\" \"" + source + "\" \"" + output + "\"";
    return testfiles::RunAndWait(cmd);
}

} // namespace

TEST(Replacer, ExactCopiesAroundTheBufferSize)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    const std::string target = dir / "voice_input.wav";
    ASSERT_TRUE(WriteAll(target, Pattern(1000000, 99))); // longer than every source: no tail may remain

    for (std::uint32_t buffer : {4096u, TReplacer::DefaultBufferSize}) {
        TReplacer r;
        ASSERT_TRUE(r.SetBufferSize(buffer));
        EXPECT_EQ(r.BufferSize(), buffer);
        r.SetFilename(target);
        ASSERT_TRUE(r.IsOpen());
        const std::size_t sizes[] = {3 * buffer + 77, 100, buffer,         0,         buffer - 1,
                                     2 * buffer,      1,   2 * buffer + 1, 5 * buffer};
        unsigned seed = 1;
        for (std::size_t size : sizes) {
            const std::string source = dir / ("s" + std::to_string(seed) + ".wav");
            const std::string bytes = Pattern(size, seed++);
            ASSERT_TRUE(WriteAll(source, bytes));
            EXPECT_TRUE(r.Replace(source)) << "size " << size << " buffer " << buffer;
            std::string now = ReadAll(target);
            EXPECT_EQ(now.size(), size) << "buffer " << buffer;
            EXPECT_TRUE(now == bytes) << "size " << size << " buffer " << buffer;
            EXPECT_EQ(ReadAll(source), bytes) << "the source is only read";
        }
    }
    EXPECT_EQ(log.Messages(), Lines{});
}

TEST(Replacer, MissingTargetIsCreatedAndLogged)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    const std::string target = dir / "voice_input.wav";
    TReplacer r;
    r.SetFilename(target);
    EXPECT_TRUE(r.IsOpen());
    EXPECT_EQ(r.Filename(), target);
    EXPECT_EQ(ReadAll(target), "");
    EXPECT_EQ(log.Messages(), Lines{"File doens't exist in SetFilename(). Creating."});

    const std::string source = dir / "a.wav";
    ASSERT_TRUE(WriteAll(source, "RIFF1234"));
    EXPECT_TRUE(r.Replace(source));
    EXPECT_EQ(ReadAll(target), "RIFF1234");
}

TEST(Replacer, ProtectedTargetIsMadeWritableAndKeepsItsBytesUntilTheFirstPress)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    const std::string target = dir / "voice_input.wav";
    ASSERT_TRUE(WriteAll(target, "old contents"));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(),
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    TReplacer r;
    r.SetFilename(target);
    ASSERT_TRUE(r.IsOpen());
    DWORD attributes = GetFileAttributesA(target.c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
    EXPECT_EQ(ReadAll(target), "old contents") << "opening never truncates";

    const std::string source = dir / "a.wav";
    ASSERT_TRUE(WriteAll(source, "new"));
    EXPECT_TRUE(r.Replace(source));
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(log.Messages(), Lines{});
}

TEST(Replacer, SourceThatIsTheTargetFailsWithoutChangingIt)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    const std::string target = dir / "voice_input.wav";
    const std::string bytes = Pattern(300000, 5);
    ASSERT_TRUE(WriteAll(target, bytes));
    TReplacer r;
    r.SetFilename(target);
    EXPECT_FALSE(r.Replace(target));
    EXPECT_TRUE(ReadAll(target) == bytes);
    EXPECT_EQ(log.Messages(), Lines{"Bad hInput (<=0) in Replace(). -1, " + target});
}

TEST(Replacer, FailuresAreLoggedAndReportedAsFailures)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    const std::string source = dir / "a.wav";
    ASSERT_TRUE(WriteAll(source, "abc"));

    // Never pointed at a target.
    TReplacer fresh;
    EXPECT_FALSE(fresh.IsOpen());
    EXPECT_FALSE(fresh.Replace(source));
    EXPECT_FALSE(fresh.Close());

    // A target that cannot be opened (its folder is missing).
    TReplacer broken;
    broken.SetFilename(dir / "no folder\\voice_input.wav");
    EXPECT_FALSE(broken.IsOpen());
    EXPECT_FALSE(broken.Replace(source));
    EXPECT_FALSE(broken.Truncate());

    // A missing source and a locked source leave a good target as it was.
    const std::string target = dir / "voice_input.wav";
    ASSERT_TRUE(WriteAll(target, "keep"));
    TReplacer good;
    good.SetFilename(target);
    EXPECT_FALSE(good.Replace(dir / "gone.wav"));
    HANDLE lock =
        CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(good.Replace(source));
    CloseHandle(lock);
    EXPECT_EQ(ReadAll(target), "keep");

    EXPECT_EQ(log.Messages(),
              (Lines{
                  "Attempted to truncate file with bad handle. 0",
                  "File doens't exist in SetFilename(). Creating.",
                  "Bad m_hFile (-1)",
                  "File doens't exist in SetFilename(). Creating.", // tried again at the press
                  "Bad m_hFile (-1)",
                  "Attempted to truncate file with bad handle. -1",
                  "Attempted to truncate file with bad handle. -1",
                  "Bad filename is Replace()",
                  "Bad hInput (<=0) in Replace(). -1, " + source,
              }));
}

TEST(Replacer, ATargetHeldAtActivationIsOpenedAgainAtTheNextPress)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    const std::string target = dir / "voice_input.wav";
    const std::string source = dir / "a.wav";
    const std::string bytes = Pattern(200000, 23);
    ASSERT_TRUE(WriteAll(target, "old"));
    ASSERT_TRUE(WriteAll(source, bytes));

    // The game holds the file with no sharing while the hotkeys are activated.
    HANDLE game =
        CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(game, INVALID_HANDLE_VALUE);
    TReplacer r;
    r.SetFilename(target);
    EXPECT_FALSE(r.IsOpen());
    EXPECT_FALSE(r.Replace(source)) << "a press while the game still holds the file";
    CloseHandle(game);
    EXPECT_EQ(ReadAll(target), "old");

    // Once the game lets go, the next press opens the file and copies.
    EXPECT_TRUE(r.Replace(source));
    EXPECT_TRUE(r.IsOpen());
    EXPECT_TRUE(ReadAll(target) == bytes);
    ASSERT_TRUE(WriteAll(source, "short"));
    EXPECT_TRUE(r.Replace(source)) << "the reopened handle serves later presses";
    EXPECT_EQ(ReadAll(target), "short");
    EXPECT_EQ(log.Messages(), (Lines{
                                  "Bad m_hFile (-1)",
                                  "Bad m_hFile (-1)",
                                  "Attempted to truncate file with bad handle. -1",
                              }));
}

TEST(Replacer, TheGameCanReadTheFileWhileItIsHeld)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    const std::string target = dir / "voice_input.wav";
    const std::string source = dir / "a.wav";
    const std::string bytes = Pattern(200000, 17);
    ASSERT_TRUE(WriteAll(source, bytes));
    TReplacer r;
    r.SetFilename(target);
    ASSERT_TRUE(r.Replace(source));
    ASSERT_EQ(RunProbe(target, dir / "seen.wav"), 0u);
    EXPECT_TRUE(ReadAll(dir / "seen.wav") == bytes);

    // A second press while the file is still there for the game.
    ASSERT_TRUE(WriteAll(source, "short"));
    ASSERT_TRUE(r.Replace(source));
    ASSERT_EQ(RunProbe(target, dir / "seen2.wav"), 0u);
    EXPECT_EQ(ReadAll(dir / "seen2.wav"), "short");

    // Nobody can take the file for writing exclusively while it is held.
    HANDLE exclusive = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(exclusive, INVALID_HANDLE_VALUE);
    if (exclusive != INVALID_HANDLE_VALUE)
        CloseHandle(exclusive);
}

TEST(Replacer, NewTargetReleasesThePreviousOne)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    const std::string first = dir / "one.wav";
    const std::string second = dir / "two.wav";
    TReplacer r;
    r.SetFilename(first);
    r.SetFilename(second);
    HANDLE exclusive = CreateFileA(first.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "the first target is still held";
    if (exclusive != INVALID_HANDLE_VALUE)
        CloseHandle(exclusive);
    EXPECT_EQ(r.Filename(), second);
    EXPECT_TRUE(r.Close());
    EXPECT_FALSE(r.Close());
    EXPECT_TRUE(DeleteFileA(second.c_str())) << "closed targets can be removed";
}

TEST(Replacer, BufferSizeComesFromTheSetting)
{
    TReplacer r;
    EXPECT_EQ(r.BufferSize(), 131072u);
    struct Case
    {
        int kilobytes;
        std::uint32_t bytes;
    };
    const Case cases[] = {{32, 32768}, {64, 65536},  {2048, 2097152}, {1, 1024},
                          {0, 131072}, {-5, 131072}, {2049, 131072},  {128, 131072}};
    for (const Case& c : cases) {
        EXPECT_TRUE(r.ApplyBufferSizeSetting(c.kilobytes));
        EXPECT_EQ(r.BufferSize(), c.bytes) << c.kilobytes << " KB";
    }
    EXPECT_EQ(&Replacer(), &Replacer());
}
