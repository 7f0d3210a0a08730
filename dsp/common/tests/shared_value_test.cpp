// SharedValue, NamedMutex and the progress value, within one process and
// across two (this test program starts a copy of itself as the other side).
#include "progress.h"
#include "shared_value.h"
#include "testing/run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The other side: counts a value from 0 to `last` through a SharedValue the
// way a plug-in writes its progress, pausing between writes.
int Writer(const char* name, uint32_t last)
{
    dsp::SharedValue value(name, 4);
    if (!value.IsUsable())
        return 2;
    for (uint32_t v = 0; v <= last; ++v) {
        if (!value.Write(&v))
            return 3;
        Sleep(2);
    }
    // Keep the memory alive until the reader has seen the last value.
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, (std::string(name) + "_seen").c_str());
    WaitForSingleObject(done, 20000);
    CloseHandle(done);
    return 0;
}

// The other side of the mutex test: holds the named mutex until told to let go.
int Holder(const char* name)
{
    dsp::NamedMutex mutex(name);
    if (!mutex.Lock())
        return 2;
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, (std::string(name) + "_held").c_str());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, (std::string(name) + "_release").c_str());
    SetEvent(held);
    WaitForSingleObject(release, 20000);
    mutex.Unlock();
    CloseHandle(held);
    CloseHandle(release);
    return 0;
}

TEST(SharedValue, WritesAndReadsThroughTwoObjectsOfOneName)
{
    bool usable = false;
    dsp::SharedValue a("DspTestValueOne", 8, &usable);
    EXPECT_TRUE(usable);
    dsp::SharedValue b("DspTestValueOne", 8);
    const uint8_t in[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(a.Write(in));
    uint8_t out[8] = {};
    EXPECT_TRUE(b.Read(out));
    EXPECT_EQ(std::memcmp(in, out, 8), 0);

    // Under its own lock a value still reads and writes (it does not wait for itself).
    a.Lock();
    EXPECT_TRUE(a.Write(in));
    a.Unlock();

    // The memory is global under "SSharedData_<name>".
    HANDLE raw = OpenFileMappingA(FILE_MAP_READ, FALSE, "SSharedData_DspTestValueOne");
    ASSERT_NE(raw, nullptr);
    CloseHandle(raw);
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "SMutex_DspTestValueOne");
    ASSERT_NE(mutex, nullptr);
    CloseHandle(mutex);

    a.Close();
    EXPECT_FALSE(a.IsUsable());
    EXPECT_FALSE(a.Write(in));
    EXPECT_FALSE(a.Read(out));
    a.Close(); // twice is harmless

    dsp::SharedValue empty("DspTestValueEmpty", 0, &usable);
    EXPECT_FALSE(usable);
}

TEST(SharedValue, HostReadsWhatAnotherProcessWrites)
{
    const char* name = "DspTestValueTwoProcesses";
    dsp::SharedValue value(name, 4);
    ASSERT_TRUE(value.IsUsable());
    const uint32_t start = 0xFFFFFFFFu;
    value.Write(&start);
    HANDLE seen = CreateEventA(nullptr, TRUE, FALSE, (std::string(name) + "_seen").c_str());
    HANDLE writer =
        dsp::testing::StartProgram(dsp::testing::ThisProgramPath(), std::string("--writer ") + name + " 100");
    ASSERT_NE(writer, nullptr);
    std::vector<uint32_t> readings;
    for (int i = 0; i < 20000; ++i) {
        uint32_t v = 0;
        ASSERT_TRUE(value.Read(&v));
        if (v != start && (readings.empty() || readings.back() != v))
            readings.push_back(v);
        if (v == 100)
            break;
        Sleep(1);
    }
    SetEvent(seen);
    EXPECT_EQ(dsp::testing::WaitProgramExit(writer), 0u);
    CloseHandle(seen);
    ASSERT_FALSE(readings.empty());
    EXPECT_EQ(readings.back(), 100u);
    EXPECT_GT(readings.size(), 3u) << "the reader should see the value climb, not only its end";
    for (size_t i = 1; i < readings.size(); ++i)
        EXPECT_LT(readings[i - 1], readings[i]);
}

TEST(NamedMutex, ExcludesAnotherProcessAndReportsExisting)
{
    const char* name = "DspTestMutexTwoProcesses";
    bool existed = true;
    dsp::NamedMutex mine(name, &existed);
    EXPECT_FALSE(existed);
    dsp::NamedMutex again(name, &existed);
    EXPECT_TRUE(existed);

    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, (std::string(name) + "_held").c_str());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, (std::string(name) + "_release").c_str());
    HANDLE holder =
        dsp::testing::StartProgram(dsp::testing::ThisProgramPath(), std::string("--hold ") + name);
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(WaitForSingleObject(held, 20000), WAIT_OBJECT_0);
    EXPECT_FALSE(mine.TryLock());
    EXPECT_FALSE(mine.IsHeld());
    SetEvent(release);
    EXPECT_TRUE(mine.Lock());
    EXPECT_TRUE(mine.IsHeld());
    EXPECT_TRUE(again.TryLock()); // re-entrant for the thread that holds it
    again.Unlock();
    mine.Unlock();
    EXPECT_FALSE(mine.IsHeld());
    EXPECT_EQ(dsp::testing::WaitProgramExit(holder), 0u);
    CloseHandle(held);
    CloseHandle(release);

    dsp::NamedMutex none;
    EXPECT_FALSE(none.Lock());
    EXPECT_FALSE(none.TryLock());
}

TEST(Progress, PublishesWholePercentagesUnderTheSuiteName)
{
    dsp::ProgressReader reader;
    {
        dsp::Progress progress;
        progress.Write(dsp::Progress::Percent(1, 3));
        EXPECT_EQ(reader.Read(), 33u);
        progress.Write(dsp::Progress::FirstHalf(99));
        EXPECT_EQ(reader.Read(), 49u);
        progress.Write(dsp::Progress::SecondHalf(99));
        EXPECT_EQ(reader.Read(), 99u);
        progress.Write(dsp::Progress::SecondHalf(0));
        EXPECT_EQ(reader.Read(), 50u);
        // The same value again is not written: what another writer left stays.
        dsp::Progress().Write(7);
        progress.Write(50);
        EXPECT_EQ(reader.Read(), 7u);
        progress.Write(51);
        EXPECT_EQ(reader.Read(), 51u);
    }
    EXPECT_EQ(dsp::Progress::Percent(10, 0), 0u);
    HANDLE raw = OpenFileMappingA(FILE_MAP_READ, FALSE, "SSharedData_tVCDSPTellPCDone");
    ASSERT_NE(raw, nullptr) << "the reader keeps the value alive";
    CloseHandle(raw);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--writer") == 0)
        return Writer(argv[2], static_cast<uint32_t>(std::atoi(argv[3])));
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0)
        return Holder(argv[2]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
