// The suite environment under Windows: the decoder table built from a
// prepared decoder folder with the stand-in libraries, the encoder library's
// entry points, and the named objects.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "testing/plugin_under_test.h"
#include "standin_files.h"
#include "suite_environment.h"

namespace {

using auxiliary::testing::CallLog;

// The libraries' file names in the order the folder lists them.
std::vector<std::string> ListedNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST(AuxDecoderTable, LoadsEveryLibraryOfTheFolderSkipsWhatCannotLoadAndCallsOnlyWhatIsOffered)
{
    CallLog log;
    const std::string folder = dsp::testing::ScratchDir() + "Multiplayer\\Input\\";
    CreateDirectoryA((dsp::testing::ScratchDir() + "Multiplayer").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    // Two decoders reporting ".aux", one without GetTrackInfo, a library that
    // is no decoder at all, and a file that is not a library.
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoder.dll", folder + "First.dll"));
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoder.dll", folder + "Second.dll"));
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoderNoTrackInfo.dll", folder + "NoInfo.dll"));
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInEncoder.dll", folder + "Encoder.dll"));
    ASSERT_TRUE(
        dsp::testing::WriteFileBytes(folder + "Broken.dll", {'n', 'o', 't', ' ', 'a', ' ', 'd', 'l', 'l'}));

    auxiliary::DecoderTable table;
    table.Build(folder);

    // Every loadable library is in the table, in listing order; the broken file is not.
    std::vector<std::string> expectedPlugins;
    std::vector<std::string> expectedLog;
    std::string firstAux;
    const std::vector<std::string> listed = ListedNames(folder);
    ASSERT_EQ(listed.size(), 5u);
    for (const std::string& name : listed) {
        if (name == "Broken.dll")
            continue;
        expectedPlugins.push_back(folder + name);
        const int formats = name == "NoInfo.dll" ? 1 : name == "Encoder.dll" ? -1 : 2;
        for (int index = 0; index <= formats; ++index)
            expectedLog.push_back(name + " WhatFormats " + std::to_string(index));
        if (firstAux.empty() && (name == "First.dll" || name == "Second.dll"))
            firstAux = folder + name;
    }
    ASSERT_FALSE(firstAux.empty());
    std::vector<std::string> plugins;
    for (const auto& plugin : table.Plugins())
        plugins.emplace_back(plugin->path);
    EXPECT_EQ(plugins, expectedPlugins);
    EXPECT_EQ(log.Lines(), expectedLog);
    EXPECT_EQ(table.Formats().size(), 5u);

    const struct
    {
        const char* extension;
        std::string library; // empty: none
    } lookups[] = {
        {".aux", firstAux}, {".AUX", firstAux}, {".Sin", firstAux}, {".noinfo", folder + "NoInfo.dll"},
        {".mp3", ""},       {"aux", ""},
    };
    for (const auto& l : lookups) {
        SCOPED_TRACE(l.extension);
        const auxiliary::DecoderPlugin* found = table.Find(l.extension);
        EXPECT_EQ(found ? std::string(found->path) : std::string(), l.library);
    }

    // Entry points: resolved when offered, null otherwise; calls through the
    // guarded helpers reach only what is offered.
    log.Clear();
    const auxiliary::DecoderPlugin* noInfo = table.Find(".noinfo");
    ASSERT_NE(noInfo, nullptr);
    EXPECT_EQ(noInfo->GetTrackInfo, nullptr);
    EXPECT_NE(noInfo->CreateANewDecoderObject, nullptr);
    auxiliary::DecoderTrackInfo info;
    EXPECT_FALSE(auxiliary::ReadTrackInfo(*noInfo, "C:\\x.noinfo", info));

    const auxiliary::DecoderPlugin* aux = table.Find(".aux");
    ASSERT_NE(aux, nullptr);
    ASSERT_TRUE(auxiliary::ReadTrackInfo(*aux, "C:\\Music\\x.aux", info));
    EXPECT_STREQ(info.artist, "Stand-in Artist");
    EXPECT_STREQ(info.title, "Stand-in Title");
    EXPECT_STREQ(info.album, "Stand-in Album");
    EXPECT_STREQ(info.genre, "Pop");
    EXPECT_EQ(info.lengthMs, 187999u);
    EXPECT_EQ(info.trackAndYear, (7 << 16) | 2001);
    void* object = auxiliary::CreateDecoderObject(*aux, "\\Aux\\AuxTest.aux");
    EXPECT_NE(object, nullptr);
    auxiliary::DeleteDecoderObject(*aux, object);

    const auxiliary::DecoderPlugin* encoder = nullptr;
    for (const auto& plugin : table.Plugins())
        if (std::string(plugin->path) == folder + "Encoder.dll")
            encoder = plugin.get();
    ASSERT_NE(encoder, nullptr);
    EXPECT_EQ(encoder->WhatFormats, nullptr);
    EXPECT_EQ(auxiliary::CreateDecoderObject(*encoder, "\\Aux\\AuxTest.aux"), nullptr);
    auxiliary::DeleteDecoderObject(*encoder, nullptr);

    const std::string auxName = firstAux.substr(folder.size());
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               auxName + " GetTrackInfo C:\\Music\\x.aux",
                               auxName + " CreateANewDecoderObject \\Aux\\AuxTest.aux",
                               auxName + " DeleteADecoderObject \\Aux\\AuxTest.aux",
                           }));

    // A folder that does not exist gives an empty table.
    auxiliary::DecoderTable none;
    none.Build(dsp::testing::ScratchDir() + "Nowhere\\");
    EXPECT_TRUE(none.Plugins().empty());
    EXPECT_EQ(none.Find(".aux"), nullptr);
}

// `text` over and over, `length` characters in all.
std::string Repeated(const std::string& text, size_t length)
{
    std::string result;
    while (result.size() < length)
        result += text;
    return result.substr(0, length);
}

// Libraries named like decoders that are none, or that answer without
// bounds: the table skips or cuts them, and nothing reads past a buffer.
TEST(AuxDecoderTable, LibrariesThatAreNoneOrAnswerWithoutBoundsAreSkippedOrCut)
{
    CallLog log;
    const std::string folder = dsp::testing::ScratchDir() + "Input\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<uint8_t> garbage(8192);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 31 + 7);
    garbage[0] = 'M';
    garbage[1] = 'Z'; // a program's first bytes, then nothing usable
    struct Row
    {
        const char* file;
        std::function<bool(const std::string&)> make;
        bool loaded;
        size_t formats;
    } rows[] = {
        {"Garbage.dll", [&](const std::string& p) { return dsp::testing::WriteFileBytes(p, garbage); }, false,
         0},
        {"Empty.dll", [](const std::string& p) { return dsp::testing::WriteFileBytes(p, {}); }, false, 0},
        {"NoEntryPoints.dll",
         [](const std::string& p) {
             return CopyFileA((std::string(CB_DIST_DIR) + "/Reverser.dll").c_str(), p.c_str(), FALSE) !=
                    FALSE;
         },
         true, 0},
        {"Unterminated.dll",
         [](const std::string& p) {
             return auxiliary::testing::CopyStandIn("StandInDecoderUnterminated.dll", p);
         },
         true, static_cast<size_t>(auxiliary::kMaxFormatsPerDecoder)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const std::string path = folder + row.file;
        ASSERT_TRUE(row.make(path));
        {
            auxiliary::DecoderTable table;
            table.Build(folder);
            EXPECT_EQ(table.Plugins().size(), row.loaded ? 1u : 0u);
            EXPECT_EQ(table.Formats().size(), row.formats);
            for (const auxiliary::DecoderFormat& format : table.Formats()) {
                ASSERT_EQ(strnlen(format.extension, sizeof format.extension), sizeof format.extension - 1);
                ASSERT_EQ(strnlen(format.description, sizeof format.description),
                          sizeof format.description - 1);
            }
            if (row.loaded) {
                const auxiliary::DecoderPlugin& plugin = *table.Plugins()[0];
                auxiliary::DecoderTrackInfo info;
                EXPECT_EQ(auxiliary::ReadTrackInfo(plugin, "C:\\x.aux", info),
                          plugin.GetTrackInfo != nullptr);
                if (plugin.GetTrackInfo) {
                    EXPECT_EQ(std::string(info.artist), Repeated("Stand-in Artist", 99));
                    EXPECT_EQ(strnlen(info.genre, sizeof info.genre), sizeof info.genre - 1);
                }
            }
        } // the libraries are let go with the table
        EXPECT_TRUE(DeleteFileA(path.c_str()));
    }
}

TEST(AuxDecoderTable, TheProcessTableIsBuiltOnceOnFirstUseFromTheProgramFoldersDecoderFolder)
{
    // This test program's folder is its program folder. Each test runs in a
    // process of its own, so the table is not built yet.
    const std::string folder = auxiliary::InProgramFolder("Multiplayer\\Input\\");
    CreateDirectoryA(auxiliary::InProgramFolder("Multiplayer").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "Later.dll").c_str());
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoder.dll", folder + "Input.dll"));
    CallLog log;

    const auxiliary::DecoderPlugin* first = auxiliary::FindDecoder(".AUX");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first->path), folder + "Input.dll");
    const std::vector<std::string> built = {"Input.dll WhatFormats 0", "Input.dll WhatFormats 1",
                                            "Input.dll WhatFormats 2"};
    EXPECT_EQ(log.Lines(), built);

    // Later lookups use the same table: nothing is loaded or asked again, and
    // a library added since is not seen.
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoderNoTrackInfo.dll", folder + "Later.dll"));
    EXPECT_EQ(auxiliary::FindDecoder(".sin"), first);
    EXPECT_EQ(auxiliary::FindDecoder(".noinfo"), nullptr);
    EXPECT_EQ(&auxiliary::Decoders(), &auxiliary::Decoders());
    EXPECT_EQ(log.Lines(), built);
}

TEST(AuxEncoderPlugin, CallsTheEntryPointsTheLibraryOffersAndNoOthers)
{
    CallLog log;
    const std::string dir = dsp::testing::ScratchDir();
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInEncoder.dll", dir + "Mp3 (Stand-in).dll"));
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoder.dll", dir + "Bare.dll"));
    HWND parent =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    char handle[32];
    snprintf(handle, sizeof handle, "%llx",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(parent)));

    {
        auxiliary::EncoderPlugin encoder;
        ASSERT_TRUE(encoder.Load(dir + "Mp3 (Stand-in).dll"));
        EXPECT_TRUE(encoder.SetProfile("AuxInput"));
        EXPECT_TRUE(encoder.ShowConfigBit(parent));
        EXPECT_NE(GetDlgItem(parent, 4001), nullptr);
        EXPECT_TRUE(encoder.RemoveConfigBit(parent));
        EXPECT_EQ(GetDlgItem(parent, 4001), nullptr);
        EXPECT_EQ(encoder.CreateNewCompressionObject, nullptr);
    }
    {
        auxiliary::EncoderPlugin bare;
        ASSERT_TRUE(bare.Load(dir + "Bare.dll"));
        EXPECT_FALSE(bare.SetProfile("AuxInput"));
        EXPECT_FALSE(bare.ShowConfigBit(parent));
        EXPECT_FALSE(bare.RemoveConfigBit(parent));
    }
    {
        auxiliary::EncoderPlugin missing;
        EXPECT_FALSE(missing.Load(dir + "Missing.dll"));
        EXPECT_FALSE(missing.SetProfile("AuxInput"));
        EXPECT_FALSE(missing.ShowConfigBit(parent));
    }
    DestroyWindow(parent);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               "Mp3 (Stand-in).dll SetProfile AuxInput",
                               std::string("Mp3 (Stand-in).dll ShowConfigBit ") + handle,
                               std::string("Mp3 (Stand-in).dll RemoveConfigBit ") + handle,
                           }));
    EXPECT_EQ(auxiliary::EncoderPlugin::PathFor("Mp3 (Lame)"),
              auxiliary::ProgramFolder() + "Compression\\Mp3 (Lame).dll");
}

// A process loads libraries of its own width only: the stand-ins of the other
// width's build (in the build tree beside this one) are skipped as a file
// that is no library is, without a crash and without a call, and the table
// and the encoder go on with the libraries of this width.
TEST(AuxSuiteLibraries, LibrariesOfTheOtherWidthAreSkippedAndTheRestStillLoad)
{
    const std::string other = CB_OTHER_WIDTH_TOOLS_DIR;
    for (const char* standIn : {"StandInDecoder.dll", "StandInEncoder.dll"})
        ASSERT_TRUE(dsp::testing::FileExists(other + "/" + standIn))
            << other << "/" << standIn << " is missing: build the other width too (make build)";
    CallLog log;
    const std::string folder = dsp::testing::ScratchDir();
    ASSERT_TRUE(CopyFileA((other + "/StandInDecoder.dll").c_str(), (folder + "Other.dll").c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileA((other + "/StandInEncoder.dll").c_str(), (folder + "OtherEncoder.dll").c_str(), FALSE));
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoder.dll", folder + "Own.dll"));

    auxiliary::DecoderTable table;
    table.Build(folder);
    ASSERT_EQ(table.Plugins().size(), 1u);
    EXPECT_EQ(std::string(table.Plugins()[0]->path), folder + "Own.dll");
    ASSERT_NE(table.Find(".aux"), nullptr);

    auxiliary::EncoderPlugin encoder;
    EXPECT_FALSE(encoder.Load(folder + "OtherEncoder.dll"));
    EXPECT_FALSE(encoder.SetProfile("AuxInput"));
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Own.dll WhatFormats 0", "Own.dll WhatFormats 1",
                                                     "Own.dll WhatFormats 2"}));
}

// The system's own upper case for its code page reaches the program folder:
// under Western Windows (code page 1252) an accented letter gets its capital.
TEST(AuxSystemCodePage, UpperCasesAsTheSystemDoesForTheProgramFolder)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's code page is " << GetACP() << ", not 1252";
    EXPECT_EQ(auxiliary::ProgramFolderFromModulePath("c:\\tonvask\\caf\xE9 \x9A\xFF\\aux.exe",
                                                     auxiliary::SystemCodePage()),
              "C:\\TONVASK\\CAF\xC9 \x8A\x9F\\");
    EXPECT_FALSE(auxiliary::SystemCodePage().isLeadByte(0x83));
}

HANDLE OpenNamedEvent(const std::string& name)
{
    return OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, name.c_str());
}

TEST(AuxSuiteObjects, AreCreatedWithTheirKindsAndSizesHeldUntilCloseAndNeverActedOn)
{
    // The suite's table: name and size in bytes (0: a manual-reset event).
    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"evtTVCCWaitingToConvert", 0},
        {"evttvClose", 0},
        {"evtTonvaskRunning", 0},
        {"evtShowOpenMusic", 0},
        {"evtReloadKeyMappings", 0},
        {"tvVolume", 4},
        {"evttvMute", 0},
        {"tvBalance", 4},
        {"tvSelectorSwitch", 4},
        {"evttvEqOn", 0},
        {"evttvEqPosChanged", 0},
        {"tvEqPositions", 88},
        {"evttvVisHideShow", 0},
        {"evttvPlay", 0},
        {"evttvPause", 0},
        {"evttvMyMusicRandom", 0},
        {"evttvSkip", 0},
        {"tvSkipToPos", 4},
        {"tvTrackShouldPlay", 648},
        {"tvTrackPlaying", 648},
        {"tvTrackTime", 12},
        {"tvMPLastSetTSP", 4},
        {"tvMPVolBoost", 4},
        {"evttvEditorRunning", 0},
        {"evttvAlbumEditorRunning", 0},
        {"evttvFileToAdd", 0},
        {"evttvTriggerFolderWatch", 0},
        {"tvPlayListChanged", 4},
        {"TonvaskLiveUpdate", 264},
    };
    ASSERT_EQ(expected.size(), auxiliary::kSuiteObjectCount);

    // The close event exists already, signalled by another program: it is
    // opened as it is, and the recorder does not act on it.
    HANDLE close = CreateEventA(nullptr, TRUE, TRUE, "evttvClose");
    ASSERT_NE(close, nullptr);

    auxiliary::SuiteObjects objects;
    objects.Create();
    for (const auto& [name, size] : expected) {
        SCOPED_TRACE(name);
        if (size == 0) {
            HANDLE event = OpenNamedEvent(name);
            ASSERT_NE(event, nullptr);
            if (name != "evttvClose") {
                EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT)); // non-signalled
                SetEvent(event);
                EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
                EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0); // manual reset: stays set
                ResetEvent(event);
            }
            EXPECT_EQ(objects.Event(name), objects.Event(name));
            EXPECT_NE(objects.Event(name), nullptr);
            CloseHandle(event);
        } else {
            dsp::SharedValue* value = objects.Value(name);
            ASSERT_NE(value, nullptr);
            EXPECT_TRUE(value->IsUsable());
            EXPECT_EQ(value->Size(), size);
            HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, ("SSharedData_" + name).c_str());
            EXPECT_NE(mapping, nullptr);
            if (mapping)
                CloseHandle(mapping);
            HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, ("SMutex_" + name).c_str());
            EXPECT_NE(mutex, nullptr);
            if (mutex)
                CloseHandle(mutex);
        }
    }
    EXPECT_EQ(WaitForSingleObject(close, 0), WAIT_OBJECT_0);

    EXPECT_FALSE(objects.WaitingToConvert());
    SetEvent(objects.Event("evtTVCCWaitingToConvert"));
    EXPECT_TRUE(objects.WaitingToConvert());
    EXPECT_TRUE(objects.WaitingToConvert());

    objects.Close();
    EXPECT_FALSE(objects.WaitingToConvert()); // a missing event is not signalled
    EXPECT_EQ(objects.Event("evttvPlay"), nullptr);
    for (const char* name : {"evtTVCCWaitingToConvert", "evttvPlay", "evttvTriggerFolderWatch"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(OpenNamedEvent(name), nullptr);
    }
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, "SSharedData_tvTrackPlaying"), nullptr);
    CloseHandle(close);
}

} // namespace
