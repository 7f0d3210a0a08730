// The settings object against real INI files in a scratch folder.
#include "Tsettings.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

using testfiles::ReadAll;
using testfiles::ScratchDir;
using testfiles::WriteAll;

namespace {

int ScreenW()
{
    return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenH()
{
    return GetSystemMetrics(SM_CYSCREEN);
}

} // namespace

TEST(Settings, MissingFileGivesDefaults)
{
    ScratchDir dir;
    TSettings s(dir / "Cuebinder.ini");
    s.Load();
    TWindowBounds b = s.GetWindowBounds();
    EXPECT_EQ(b.Left, (ScreenW() - 470) / 2);
    EXPECT_EQ(b.Top, (ScreenH() - 312) / 2);
    EXPECT_EQ(b.Right - b.Left, 470);
    EXPECT_EQ(b.Bottom - b.Top, 312);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(s.GetColumnWidth(i), 0);
    EXPECT_EQ(s.GetInstallPath(), "");
    EXPECT_FALSE(s.HasInstallPath());
    EXPECT_EQ(s.GetLastFile(), "");
    EXPECT_EQ(s.GetBufferSize(), 128);
    EXPECT_TRUE(s.GetMinWhenActivated());
    EXPECT_TRUE(s.GetLoadLastAtStart());
    EXPECT_EQ(s.GetBarAlign(), 0);
    EXPECT_FALSE(testfiles::Exists(s.FileName())) << "Load must not create the file";
}

TEST(Settings, SizeAloneIsCentredOnTheScreen)
{
    ScratchDir dir;
    ASSERT_TRUE(WriteAll(dir / "c.ini", "[Window]\r\niW=600\r\niH=400\r\n"));
    TSettings s(dir / "c.ini");
    s.Load();
    TWindowBounds b = s.GetWindowBounds();
    EXPECT_EQ(b.Left, (ScreenW() - 600) / 2);
    EXPECT_EQ(b.Top, (ScreenH() - 400) / 2);
    EXPECT_EQ(b.Right, b.Left + 600);
    EXPECT_EQ(b.Bottom, b.Top + 400);
}

TEST(Settings, ValueEncodingsAndWriteBack)
{
    ScratchDir dir;
    const std::string file = dir / "c.ini";
    ASSERT_TRUE(WriteAll(file,
                         "[Window]\r\niX=0x20\r\niY=-7\r\niW=500\r\niH=0X10\r\nColumnWidth0=300\r\n"
                         "ColumnWidth1=0\r\nColumnWidth2=abc\r\n"
                         "[Game]\r\nInstallPath=C:\\Games\\X\r\nBarAlign=1\r\n"
                         "[App]\r\nLastFile=C:\\a b\\list.qbl\r\nBufferSize=abc\r\nMinWhenActivated=2\r\n"
                         "LoadLastAtStart=0\r\n"));
    TSettings s(file);
    s.Load();
    TWindowBounds b = s.GetWindowBounds();
    EXPECT_EQ(b.Left, 32);
    EXPECT_EQ(b.Top, -7);
    EXPECT_EQ(b.Right, 532);
    EXPECT_EQ(b.Bottom, 9);
    EXPECT_EQ(s.GetColumnWidth(0), 300);
    EXPECT_EQ(s.GetColumnWidth(1), 0);
    EXPECT_EQ(s.GetColumnWidth(2), 0);
    EXPECT_EQ(s.GetInstallPath(), "C:\\Games\\X\\");
    EXPECT_EQ(s.GetBarAlign(), 1);
    EXPECT_EQ(s.GetLastFile(), "C:\\a b\\list.qbl");
    EXPECT_EQ(s.GetBufferSize(), 128);
    EXPECT_TRUE(s.GetMinWhenActivated());
    EXPECT_FALSE(s.GetLoadLastAtStart());

    s.Save();
    // Keys keep their places; values are rewritten in their plain forms, and
    // the game directory is stored as it was given (no backslash added).
    EXPECT_EQ(ReadAll(file), "[Window]\r\niX=32\r\niY=-7\r\niW=500\r\niH=16\r\nColumnWidth0=300\r\n"
                             "ColumnWidth1=0\r\nColumnWidth2=0\r\n"
                             "[Game]\r\nInstallPath=C:\\Games\\X\r\nBarAlign=1\r\n"
                             "[App]\r\nLastFile=C:\\a b\\list.qbl\r\nBufferSize=128\r\nMinWhenActivated=1\r\n"
                             "LoadLastAtStart=0\r\n");
}

TEST(Settings, FileWrittenFromNothingHasTheDocumentedOrder)
{
    ScratchDir dir;
    const std::string file = dir / "new.ini";
    TSettings s(file);
    s.SetWindowBounds(10, 20, 480, 332);
    s.SetColumnWidth(0, 270);
    s.SetColumnWidth(1, 65);
    s.SetColumnWidth(2, 100);
    s.SetInstallPath("C:\\Games\\Veltrane\\");
    s.SetLastFile("C:\\Lists\\fun.qbl");
    s.SetBufferSize(256);
    s.SetMinWhenActivated(false);
    s.SetLoadLastAtStart(true);
    s.SetBarAlign(2);
    s.Save();
    EXPECT_EQ(ReadAll(file),
              "[Window]\r\niX=10\r\niY=20\r\niW=470\r\niH=312\r\nColumnWidth0=270\r\nColumnWidth1=65\r\n"
              "ColumnWidth2=100\r\n"
              "[Game]\r\nBarAlign=2\r\nInstallPath=C:\\Games\\Veltrane\\\r\n"
              "[App]\r\nLastFile=C:\\Lists\\fun.qbl\r\nBufferSize=256\r\nMinWhenActivated=0\r\n"
              "LoadLastAtStart=1\r\n");

    // And everything comes back.
    TSettings back(file);
    back.Load();
    TWindowBounds b = back.GetWindowBounds();
    EXPECT_EQ(b.Left, 10);
    EXPECT_EQ(b.Top, 20);
    EXPECT_EQ(b.Right, 480);
    EXPECT_EQ(b.Bottom, 332);
    EXPECT_EQ(back.GetColumnWidth(0), 270);
    EXPECT_EQ(back.GetColumnWidth(1), 65);
    EXPECT_EQ(back.GetColumnWidth(2), 100);
    EXPECT_EQ(back.GetInstallPath(), "C:\\Games\\Veltrane\\");
    EXPECT_EQ(back.GetLastFile(), "C:\\Lists\\fun.qbl");
    EXPECT_EQ(back.GetBufferSize(), 256);
    EXPECT_FALSE(back.GetMinWhenActivated());
    EXPECT_TRUE(back.GetLoadLastAtStart());
    EXPECT_EQ(back.GetBarAlign(), 2);
}

TEST(Settings, ForeignKeysSurviveAndLongValuesAreCut)
{
    ScratchDir dir;
    const std::string file = dir / "c.ini";
    ASSERT_TRUE(WriteAll(file, "[Mine]\r\nkeep=yes\r\n[App]\r\nBufferSize=64\r\nOther=1\r\n"));
    TSettings s(file);
    s.Load();
    EXPECT_EQ(s.GetBufferSize(), 64);
    s.SetLastFile(std::string(3000, 'L'));
    s.Save();
    std::string text = ReadAll(file);
    EXPECT_EQ(text.rfind("[Mine]\r\nkeep=yes\r\n[App]\r\nBufferSize=64\r\nOther=1\r\n", 0), 0u) << text;

    TSettings back(file);
    back.Load();
    EXPECT_EQ(back.GetLastFile(), std::string(2047, 'L')); // a 2048-byte read buffer
}

TEST(Settings, InstallPathGetterAddsOneBackslash)
{
    TSettings s("unused.ini");
    const char* cases[][2] = {
        {"C:\\Games\\X", "C:\\Games\\X\\"},
        {"C:\\Games\\X\\", "C:\\Games\\X\\"},
        {"", ""},
        {"D:", "D:\\"},
    };
    for (auto& c : cases) {
        s.SetInstallPath(c[0]);
        EXPECT_EQ(s.GetInstallPath(), c[1]) << c[0];
    }
}

// A file the system refuses to write: locked by another program (held open
// without sharing), or in a folder that does not exist. (A read-only
// attribute is not enforced for the root user under Wine, so a lock stands
// in for it; the test user here is root, for whom Wine writes read-only files.)
TEST(Settings, RefusedWriteRaisesTheWriteError)
{
    ScratchDir dir;
    const std::string locked = dir / "locked.ini";
    const std::string before = "[Window]\r\niX=1\r\n";
    ASSERT_TRUE(WriteAll(locked, before));
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    const std::string missingFolder = dir / "no such folder\\c.ini";
    for (const std::string& file : {locked, missingFolder}) {
        TSettings s(file);
        s.SetWindowBounds(5, 6, 7, 8);
        try {
            s.Save();
            ADD_FAILURE() << "Save succeeded: " << file;
        } catch (const EIniWriteError& e) {
            EXPECT_STREQ(e.what(), ("Unable to write to " + file).c_str());
            EXPECT_EQ(e.FileName(), file);
        }
        EXPECT_EQ(s.GetWindowBounds().Left, 5) << "the values in memory stay";
    }
    CloseHandle(lock);
    EXPECT_EQ(ReadAll(locked), before);
    EXPECT_FALSE(testfiles::Exists(dir / "no such folder"));
}

TEST(Settings, DefaultFileIsBesideTheProgram)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string expected = exe;
    expected = expected.substr(0, expected.rfind('.')) + ".ini";
    EXPECT_EQ(TSettings().FileName(), expected);
    EXPECT_EQ(&Settings(), &Settings());
    EXPECT_EQ(Settings().FileName(), expected);
}

namespace {

// A settings file of `size` bytes: foreign keys in front of real values.
std::string WithJunk(std::size_t size)
{
    const std::string values = "\r\n[Game]\r\nInstallPath=C:\\G\r\n[App]\r\nBufferSize=256\r\n";
    std::string text = "[Junk]\r\n";
    while (text.size() < size)
        text += "Key" + std::to_string(text.size()) + "=filler\r\n";
    text.resize(size - values.size());
    return text + values;
}

} // namespace

// A file far larger than the program writes: its values are read, it is kept
// whole beside itself under a name not yet taken, and a small file with the
// values read takes its place. A file at the limit, or one that cannot be
// moved (held open by another program), stays and is used as it is.
TEST(Settings, AnOversizedFileIsKeptAsideAndReplacedByASmallOne)
{
    ScratchDir dir;
    const std::string file = dir / "c.ini";
    struct Row
    {
        const char* name;
        std::size_t size;
        bool held;
        const char* keptAs; // nullptr: the file stays where it is
    };
    const Row rows[] = {
        {"2 MiB", 2u << 20, false, "c.ini.damaged"},
        {"3 MiB next, the first copy kept", 3u << 20, false, "c.ini.damaged2"},
        {"1 MiB exactly", 1u << 20, false, nullptr},
        {"2 MiB held open", 2u << 20, true, nullptr},
    };
    std::string firstCopy;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = WithJunk(row.size);
        ASSERT_EQ(text.size(), row.size);
        ASSERT_TRUE(WriteAll(file, text));
        HANDLE holder = row.held ? CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
        ASSERT_EQ(holder != INVALID_HANDLE_VALUE, row.held);
        TSettings s(file);
        s.Load();
        if (holder != INVALID_HANDLE_VALUE)
            CloseHandle(holder);
        EXPECT_EQ(s.GetInstallPath(), "C:\\G\\");
        EXPECT_EQ(s.GetBufferSize(), 256);
        EXPECT_FALSE(testfiles::Exists(file + "-Tmp"));
        if (row.keptAs == nullptr) {
            EXPECT_TRUE(ReadAll(file) == text) << "a file that stays is not changed";
            continue;
        }
        EXPECT_TRUE(ReadAll(dir / row.keptAs) == text) << "not kept whole";
        const std::string small = ReadAll(file);
        EXPECT_LT(small.size(), 1024u);
        EXPECT_NE(small.find("InstallPath=C:\\G\r\n"), std::string::npos) << small;
        EXPECT_NE(small.find("BufferSize=256\r\n"), std::string::npos) << small;
        if (firstCopy.empty())
            firstCopy = text;
        EXPECT_TRUE(ReadAll(dir / "c.ini.damaged") == firstCopy) << "an earlier copy was overwritten";

        // later saves and loads use the small file
        s.SetBufferSize(512);
        s.Save();
        TSettings back(file);
        back.Load();
        EXPECT_EQ(back.GetBufferSize(), 512);
        EXPECT_EQ(back.GetInstallPath(), "C:\\G\\");
    }
}
