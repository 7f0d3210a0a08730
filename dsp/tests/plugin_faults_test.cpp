// Every plug-in against the faults a careful user can run into: files that
// are missing, folders, held by another program, empty or ending inside a
// frame, format records that cannot describe audio, awkward paths. The rule
// in every case: the call fails with the input byte for byte as it was and
// nothing left beside it, or it succeeds with the complete result (the one
// the plug-in makes of the same bytes in a plain folder). TagSetter only
// answers 1 and never opens the file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "testing/plugin_support.h"
#include "temp_file.h"
#include "testing/plugin_under_test.h"

using namespace dsp::testing;

namespace {

using Bytes = std::vector<uint8_t>;

struct Plugin
{
    const char* dll;
    std::vector<std::pair<std::string, uint32_t>> settings; // what makes it change the test file
    int bits;                                               // the depth it converts from, else 16
};

std::vector<std::pair<std::string, uint32_t>> EqualiserBands()
{
    std::vector<std::pair<std::string, uint32_t>> bands;
    for (int band = 0; band < 18; ++band)
        bands.emplace_back("EQ-Pos" + std::to_string(band), band % 2 ? 120u : static_cast<uint32_t>(-120));
    return bands;
}

const std::vector<Plugin>& Plugins()
{
    static const std::vector<Plugin> plugins = {
        {"Bits24.dll", {}, 16},
        {"ChannelMover.dll", {{"ChannelMove-ChannelCount", 1}}, 16},
        {"Dither16.dll", {}, 24},
        {"Dither8.dll", {}, 16},
        {"Equaliser.dll", EqualiserBands(), 16},
        {"Fader.dll", {{"Vol-Fade-In", 0xFFFFFFFFu}, {"Vol-Fade-InLength", 500}}, 16},
        {"Grabber.dll",
         {{"Sound-Grabber-Len", 1000}, {"Sound-Grabber-Position", 100}, {"Sound-Grabber-FromEnd", 0}},
         16},
        {"MinLength.dll", {{"Min-Len-mSec", 10000}}, 16},
        {"Quietener.dll", {{"Vol-Quiet-PCLessenBy", 50}}, 16},
        {"Reverser.dll", {}, 16},
        {"SilenceInserter.dll", {{"Silence-LenStart-mSec", 100}, {"Silence-Len-mSec", 100}}, 16},
        {"SilenceRemover.dll", {}, 16},
        {"TagSetter.dll", {}, 16},
        {"Trimmer.dll", {{"Trim-Begin-Len", 100}, {"Trim-End-Len", 100}}, 16},
    };
    return plugins;
}

std::vector<std::string> SettingNames()
{
    std::vector<std::string> names;
    for (const Plugin& p : Plugins())
        for (const auto& s : p.settings)
            names.push_back(s.first);
    return names;
}

bool IsTagSetter(const Plugin& p)
{
    return std::string(p.dll) == "TagSetter.dll";
}

// Three quarters of a second of noise and a quarter of silence, in whole
// frames of 16- and of 24-bit stereo.
Bytes Audio()
{
    Bytes bytes = Pattern(36000, 11);
    bytes.resize(48000, 0);
    return bytes;
}

// What one call did: its result, the file afterwards (empty when it is gone)
// and every entry of the folder.
struct CallResult
{
    int result = -1;
    bool exists = false;
    Bytes bytes;
    std::vector<std::string> folder;
};

// The case under test: makes the input (or what stands at its path) in
// `folder`, returns its path, and may hold a handle until `release` runs.
struct Fault
{
    const char* what;
    std::function<std::string(const std::string& folder, const Bytes& audio)> make;
    std::function<WAVEFORMATEX(WAVEFORMATEX)> format = [](WAVEFORMATEX f) { return f; };
    bool keepsHandle = false; // the input is held while the plug-in runs
    DWORD share = 0;
    bool mustFail = false; // no input to work on: only 0 is right
};

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\') + 1);
}

class PluginFaults : public ::testing::Test
{
protected:
    PluginFaults() : registry_(SettingNames()) {}

    void Configure(const Plugin& p)
    {
        for (const auto& s : p.settings)
            SetNumber(s.first.c_str(), s.second);
    }

    CallResult Call(PluginUnderTest& plugin, const std::string& path, WAVEFORMATEX format)
    {
        EXPECT_TRUE(
            plugin.Reload()); // a fresh state, as a new host process has (the dither goes on otherwise)
        CallResult run;
        run.result = plugin.Work(path, format);
        const DWORD attributes = GetFileAttributesA(path.c_str());
        run.exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (run.exists)
            run.bytes = ReadFileBytes(path);
        return run;
    }

    void Check(const Fault& fault)
    {
        const Bytes audio = Audio();
        const std::string root = ScratchDir();
        for (const Plugin& p : Plugins()) {
            SCOPED_TRACE(testing::Message() << p.dll << ": " << fault.what);
            Configure(p);
            PluginUnderTest plugin(p.dll);
            ASSERT_TRUE(plugin.Loaded());
            const WAVEFORMATEX good = MakeFormat(2, 8000, p.bits);
            const WAVEFORMATEX format = fault.format(good);

            // The complete result: the same bytes and record in a plain folder.
            const std::string plain = root + "plain\\";
            CreateDirectoryA(plain.c_str(), nullptr);
            const std::string reference = fault.make(plain, audio);
            const Bytes before = FileExists(reference) ? ReadFileBytes(reference) : Bytes();
            const CallResult complete = Call(plugin, reference, format);

            const std::string folder = root + "case\\";
            CreateDirectoryA(folder.c_str(), nullptr);
            const std::string path = fault.make(folder, audio);
            const std::vector<std::string> entries = FolderEntries(FolderOf(path));
            CallResult run;
            if (fault.keepsHandle) {
                HANDLE held =
                    CreateFileA(path.c_str(), GENERIC_READ, fault.share, nullptr, OPEN_EXISTING, 0, nullptr);
                ASSERT_NE(held, INVALID_HANDLE_VALUE);
                run = Call(plugin, path, format);
                CloseHandle(held);
                run.bytes = ReadFileBytes(path);
            } else {
                run = Call(plugin, path, format);
            }
            run.folder = FolderEntries(FolderOf(path));

            if (IsTagSetter(p)) {
                EXPECT_EQ(run.result, 1);
                EXPECT_EQ(run.bytes, before);
            } else if (fault.mustFail) {
                EXPECT_EQ(run.result, 0);
            } else if (run.result == 1) {
                EXPECT_EQ(complete.result, 1);
                EXPECT_EQ(run.bytes, complete.bytes) << "a success must leave the complete result";
            } else {
                EXPECT_EQ(run.result, 0);
                EXPECT_EQ(run.bytes, before) << "a failure must leave the input as it was";
            }
            EXPECT_EQ(run.folder, entries) << "nothing may be left beside the input";
            dsp::EmptyDirectory(plain.c_str());
            dsp::EmptyDirectory(folder.c_str());
        }
    }

private:
    RegistryScope registry_;
};

std::string WriteInput(const std::string& path, const Bytes& bytes)
{
    WriteFileBytes(path, bytes);
    return path;
}

Fault Input(const char* what, std::function<Bytes(const Bytes&)> bytes)
{
    return {what, [bytes](const std::string& folder, const Bytes& audio) {
                return WriteInput(folder + "audio.raw", bytes(audio));
            }};
}

TEST_F(PluginFaults, EveryPluginIsSetUpToChangeTheTestFile)
{
    for (const Plugin& p : Plugins()) {
        Configure(p);
        PluginUnderTest plugin(p.dll);
        ASSERT_TRUE(plugin.Loaded()) << p.dll;
        const std::string path = WriteInput(ScratchDir() + "audio.raw", Audio());
        EXPECT_EQ(Call(plugin, path, MakeFormat(2, 8000, p.bits)).result, 1) << p.dll;
        if (!IsTagSetter(p))
            EXPECT_NE(ReadFileBytes(path), Audio()) << p.dll;
    }
}

TEST_F(PluginFaults, FilesThatAreMissingFoldersOrHeldElsewhere)
{
    Fault missing{"a missing file",
                  [](const std::string& folder, const Bytes&) { return folder + "audio.raw"; }};
    missing.mustFail = true;
    Fault directory{"a folder", [](const std::string& folder, const Bytes&) {
                        CreateDirectoryA((folder + "audio.raw").c_str(), nullptr);
                        return folder + "audio.raw";
                    }};
    directory.mustFail = true;
    Fault held = Input("held with no sharing", [](const Bytes& a) { return a; });
    held.keepsHandle = true;
    Fault reading = Input("held with read sharing", [](const Bytes& a) { return a; });
    reading.keepsHandle = true;
    reading.share = FILE_SHARE_READ;
    for (const Fault& f : {missing, directory, held, reading})
        Check(f);
}

TEST_F(PluginFaults, EmptyFilesAndFilesEndingInsideAFrame)
{
    Check(Input("an empty file", [](const Bytes&) { return Bytes(); }));
    Check(Input("a file ending inside a frame", [](const Bytes& a) {
        Bytes b = a;
        b.resize(a.size() - 1);
        return b;
    }));
}

TEST_F(PluginFaults, FormatRecordsThatCannotDescribeAudio)
{
    struct Bad
    {
        const char* what;
        std::function<void(WAVEFORMATEX&)> spoil;
    } bad[] = {
        {"channels 0", [](WAVEFORMATEX& f) { f.nChannels = 0; }},
        {"bits 0", [](WAVEFORMATEX& f) { f.wBitsPerSample = 0; }},
        {"bits 7", [](WAVEFORMATEX& f) { f.wBitsPerSample = 7; }},
        {"bits 12", [](WAVEFORMATEX& f) { f.wBitsPerSample = 12; }},
        {"bits 33", [](WAVEFORMATEX& f) { f.wBitsPerSample = 33; }},
        {"bits 64", [](WAVEFORMATEX& f) { f.wBitsPerSample = 64; }},
        {"rate 0", [](WAVEFORMATEX& f) { f.nSamplesPerSec = 0; }},
        {"rate 4000000000", [](WAVEFORMATEX& f) { f.nSamplesPerSec = 4000000000u; }},
        {"block align 0", [](WAVEFORMATEX& f) { f.nBlockAlign = 0; }},
        {"block align inconsistent", [](WAVEFORMATEX& f) { f.nBlockAlign = 3; }},
    };
    for (const Bad& b : bad) {
        Fault f = Input(b.what, [](const Bytes& a) { return a; });
        f.format = [spoil = b.spoil](WAVEFORMATEX w) {
            spoil(w);
            return w;
        };
        Check(f);
    }
}

TEST_F(PluginFaults, PathsWithSpacesAndAccentsAndPathsNearTheLimit)
{
    Check({"spaces and accents", [](const std::string& folder, const Bytes& audio) {
               const std::string dir = folder + "Dir with spaces \xE9\xE8\xFC\\";
               CreateDirectoryA(dir.c_str(), nullptr);
               return WriteInput(dir + "audio file \xE5.raw", audio);
           }});
    Check({"a path of 250 characters", [](const std::string& folder, const Bytes& audio) {
               std::string path = folder + "a";
               path += std::string(250 - path.size() - 4, 'x') + ".raw";
               return WriteInput(path, audio);
           }});
}

} // namespace
