#include "suite_environment.h"

#include <cstring>

#include "track_record.h"

namespace auxiliary {

namespace {

template <class Fn>
Fn Resolve(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(GetProcAddress(module, name));
}

// Loads a library without the system's error boxes for files that are not
// libraries or lack what they import.
HMODULE LoadQuietly(const char* path)
{
    DWORD previous = 0;
    const bool changed =
        SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous) != FALSE;
    HMODULE module = LoadLibraryA(path);
    if (changed)
        SetThreadErrorMode(previous, nullptr);
    return module;
}

template <size_t N>
void CopyBounded(char (&field)[N], std::string_view text)
{
    const size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

} // namespace

const CodePageText& SystemCodePage()
{
    // The system's own rules for its ANSI code page: CharUpperBuffA upper-
    // cases as the system does (two-byte characters left whole), and
    // IsDBCSLeadByte knows the code page's lead bytes.
    static const CodePageText codePage{[](std::string_view text) {
                                           std::string upper(text);
                                           if (!upper.empty())
                                               CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
                                           return upper;
                                       },
                                       [](unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }};
    return codePage;
}

const std::string& ProgramFolder()
{
    static const std::string folder = [] {
        char path[MAX_PATH + 1] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        // A path cut at the buffer's end is no path: the default folder is used.
        return ProgramFolderFromModulePath(
            length > 0 && length < MAX_PATH ? std::string_view(path, length) : "", SystemCodePage());
    }();
    return folder;
}

std::string InProgramFolder(std::string_view relative)
{
    return ProgramFolder() + std::string(relative);
}

// ---- Named kernel objects ---------------------------------------------------

constexpr SuiteObjectKind kSuiteObjects[kSuiteObjectCount] = {
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
    {"tvTrackShouldPlay", sizeof(TrackRecord)},
    {"tvTrackPlaying", sizeof(TrackRecord)},
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

// Programs of both widths share these values, so each size is a fixed number
// of bytes, never one that follows the width of a pointer or a long.
constexpr uint32_t SizeOfSuiteObject(std::string_view name)
{
    for (const SuiteObjectKind& object : kSuiteObjects)
        if (object.name == name)
            return object.size;
    return 0xFFFFFFFF;
}
static_assert(SizeOfSuiteObject("TonvaskLiveUpdate") == 264);
static_assert(SizeOfSuiteObject("tvEqPositions") == 88);
static_assert(SizeOfSuiteObject("tvTrackPlaying") == 648 && SizeOfSuiteObject("tvTrackShouldPlay") == 648);
static_assert(SizeOfSuiteObject("tvTrackTime") == 12);
static_assert(SizeOfSuiteObject("tvVolume") == 4 && SizeOfSuiteObject("tvBalance") == 4 &&
              SizeOfSuiteObject("tvSelectorSwitch") == 4 && SizeOfSuiteObject("tvSkipToPos") == 4 &&
              SizeOfSuiteObject("tvMPLastSetTSP") == 4 && SizeOfSuiteObject("tvMPVolBoost") == 4 &&
              SizeOfSuiteObject("tvPlayListChanged") == 4);

SuiteObjects::~SuiteObjects()
{
    Close();
}

void SuiteObjects::Create()
{
    Close();
    for (const SuiteObjectKind& object : kSuiteObjects) {
        Held held{&object, nullptr, nullptr};
        if (object.size == 0) {
            // Opens the event when another program made it first.
            held.event = CreateEventA(nullptr, TRUE, FALSE, object.name);
        } else {
            held.value = std::make_unique<dsp::SharedValue>();
            held.value->Create(object.name, object.size);
        }
        held_.push_back(std::move(held));
    }
}

void SuiteObjects::Close()
{
    for (Held& held : held_) {
        if (held.event)
            CloseHandle(held.event);
        if (held.value)
            held.value->Close();
    }
    held_.clear();
}

HANDLE SuiteObjects::Event(std::string_view name) const
{
    for (const Held& held : held_) {
        if (held.object->name == name)
            return held.event;
    }
    return nullptr;
}

dsp::SharedValue* SuiteObjects::Value(std::string_view name) const
{
    for (const Held& held : held_) {
        if (held.object->name == name)
            return held.value.get();
    }
    return nullptr;
}

bool SuiteObjects::WaitingToConvert() const
{
    HANDLE event = Event("evtTVCCWaitingToConvert");
    return event && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

// ---- Decoder libraries --------------------------------------------------------

bool ReadTrackInfo(const DecoderPlugin& decoder, const char* path, DecoderTrackInfo& info)
{
    info = DecoderTrackInfo{};
    if (!decoder.GetTrackInfo)
        return false;
    decoder.GetTrackInfo(path, &info.infoValue1, &info.infoValue2, &info.infoValue3, &info.lengthMs,
                         &info.infoValue4, info.artist, info.title, info.album, &info.trackAndYear,
                         &info.infoFlag, info.genre);
    info.artist[sizeof info.artist - 1] = '\0';
    info.title[sizeof info.title - 1] = '\0';
    info.album[sizeof info.album - 1] = '\0';
    info.genre[sizeof info.genre - 1] = '\0';
    return true;
}

void* CreateDecoderObject(const DecoderPlugin& decoder, const char* path)
{
    if (!decoder.CreateANewDecoderObject)
        return nullptr;
    uint32_t scratch[4] = {};
    return decoder.CreateANewDecoderObject(path, &scratch[0], &scratch[1], &scratch[2], &scratch[3]);
}

void DeleteDecoderObject(const DecoderPlugin& decoder, void* object)
{
    if (decoder.DeleteADecoderObject)
        decoder.DeleteADecoderObject(object);
}

DecoderTable::~DecoderTable()
{
    for (const auto& plugin : plugins_)
        FreeLibrary(plugin->module);
}

void DecoderTable::Build(const std::string& folder)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::string path = folder + found.cFileName;
        if (path.size() > 259)
            continue; // would not fit the plug-in's path field
        HMODULE module = LoadQuietly(path.c_str());
        if (!module)
            continue;
        auto plugin = std::make_unique<DecoderPlugin>();
        CopyBounded(plugin->path, path);
        plugin->module = module;
        plugin->WhatFormats = Resolve<WhatFormatsFn>(module, "WhatFormats");
        plugin->GetTrackInfo = Resolve<GetTrackInfoFn>(module, "GetTrackInfo");
        plugin->CreateANewDecoderObject =
            Resolve<CreateANewDecoderObjectFn>(module, "CreateANewDecoderObject");
        plugin->DeleteADecoderObject = Resolve<DeleteADecoderObjectFn>(module, "DeleteADecoderObject");
        plugin->OutputWantsABlockOfData = GetProcAddress(module, "OutputWantsABlockOfData");
        plugin->ShowAboutOptionsPage = GetProcAddress(module, "ShowAboutOptionsPage");
        plugin->SkipTo = GetProcAddress(module, "SkipTo");
        plugin->SetVolume = GetProcAddress(module, "SetVolume");
        plugin->Pause = GetProcAddress(module, "Pause");
        plugin->UnPause = GetProcAddress(module, "UnPause");
        plugin->GetStringInfo = GetProcAddress(module, "GetStringInfo");
        plugin->SetIDTagElement = GetProcAddress(module, "SetIDTagElement");
        plugin->GetIDTagElement = GetProcAddress(module, "GetIDTagElement");
        plugin->GetFileInfoShort1 = GetProcAddress(module, "GetFileInfoShort1");
        plugin->GetTags = GetProcAddress(module, "GetTags");
        plugin->ClearTags = GetProcAddress(module, "ClearTags");
        plugin->SetTags = GetProcAddress(module, "SetTags");
        plugin->DeleteATag = GetProcAddress(module, "DeleteATag");
        plugin->DeleteAllTags = GetProcAddress(module, "DeleteAllTags");
        plugin->GetTagOptions = GetProcAddress(module, "GetTagOptions");
        plugin->GetOptions = GetProcAddress(module, "GetOptions");
        if (WhatFormatsFn whatFormats = plugin->WhatFormats) {
            CollectDecoderFormats(
                [whatFormats](int index, char* extension, char* description) {
                    whatFormats(index, extension, description);
                },
                plugin->path, formats_);
        }
        plugins_.push_back(std::move(plugin));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

const DecoderPlugin* DecoderTable::Find(std::string_view extension) const
{
    std::vector<std::string> libraries;
    libraries.reserve(plugins_.size());
    for (const auto& plugin : plugins_)
        libraries.emplace_back(plugin->path);
    const int index = FindDecoderIndex(formats_, libraries, extension);
    return index < 0 ? nullptr : plugins_[index].get();
}

const DecoderTable& Decoders()
{
    // Built once, on first use; never freed, so its libraries stay loaded.
    static const DecoderTable* table = [] {
        auto* built = new DecoderTable;
        built->Build(InProgramFolder(kDecoderFolder));
        return built;
    }();
    return *table;
}

const DecoderPlugin* FindDecoder(std::string_view extension)
{
    return Decoders().Find(extension);
}

// ---- Encoder libraries --------------------------------------------------------

EncoderPlugin::~EncoderPlugin()
{
    Unload();
}

std::string EncoderPlugin::PathFor(std::string_view codec)
{
    return InProgramFolder(kEncoderFolder) + std::string(codec) + ".dll";
}

bool EncoderPlugin::Load(const std::string& path)
{
    Unload();
    path_ = path;
    module_ = LoadQuietly(path.c_str());
    if (!module_)
        return false;
    CreateNewCompressionObject = GetProcAddress(module_, "CreateNewCompressionObject");
    DeleteCompressionObject = GetProcAddress(module_, "DeleteCompressionObject");
    ANewDataBlockArrived = GetProcAddress(module_, "ANewDataBlockArrived");
    ShowConfigBitEntry = Resolve<ShowConfigBitFn>(module_, "ShowConfigBit");
    RemoveConfigBitEntry = Resolve<RemoveConfigBitFn>(module_, "RemoveConfigBit");
    GetExtensionYouCreate = GetProcAddress(module_, "GetExtensionYouCreate");
    SetCompIDTagElement = GetProcAddress(module_, "SetCompIDTagElement");
    SetCompIDTags = GetProcAddress(module_, "SetCompIDTags");
    SendRawUnCompressedFiles = GetProcAddress(module_, "SendRawUnCompressedFiles");
    SendRawUnCompressedFiles1 = GetProcAddress(module_, "SendRawUnCompressedFiles1");
    DisableConvFolderTo = GetProcAddress(module_, "DisableConvFolderTo");
    SetProfileEntry = Resolve<SetProfileFn>(module_, "SetProfile");
    DisableJustOrigFolder = GetProcAddress(module_, "DisableJustOrigFolder");
    GetOptions = GetProcAddress(module_, "GetOptions");
    return true;
}

void EncoderPlugin::Unload()
{
    if (module_)
        FreeLibrary(module_);
    module_ = nullptr;
    CreateNewCompressionObject = DeleteCompressionObject = ANewDataBlockArrived = nullptr;
    ShowConfigBitEntry = nullptr;
    RemoveConfigBitEntry = nullptr;
    GetExtensionYouCreate = SetCompIDTagElement = SetCompIDTags = nullptr;
    SendRawUnCompressedFiles = SendRawUnCompressedFiles1 = DisableConvFolderTo = nullptr;
    SetProfileEntry = nullptr;
    DisableJustOrigFolder = GetOptions = nullptr;
}

bool EncoderPlugin::SetProfile(const char* profile) const
{
    if (!SetProfileEntry)
        return false;
    SetProfileEntry(profile);
    return true;
}

bool EncoderPlugin::ShowConfigBit(HWND parent) const
{
    if (!ShowConfigBitEntry)
        return false;
    ShowConfigBitEntry(parent);
    return true;
}

bool EncoderPlugin::RemoveConfigBit(HWND parent) const
{
    if (!RemoveConfigBitEntry)
        return false;
    RemoveConfigBitEntry(parent);
    return true;
}

} // namespace auxiliary
