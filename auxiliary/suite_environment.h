// The recorder inside the Tonvask suite: the program folder, the named kernel
// objects held while the program runs, and the suite's decoder and encoder
// libraries with the entry points the recorder calls.
//
// Every entry point is resolved by name when a library is loaded and stays
// null when the library lacks it; a null entry point is never called. A
// library that cannot be loaded is skipped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "decoder_formats.h"
#include "shared_value.h"
#include "suite_paths.h"

namespace auxiliary {

// The system's ANSI code page as the program folder rule uses it.
const CodePageText& SystemCodePage();
// The program folder (see ProgramFolderFromModulePath), computed once per
// process from the program's own module path.
const std::string& ProgramFolder();
// `relative` below the program folder.
std::string InProgramFolder(std::string_view relative);

// ---- Named kernel objects ---------------------------------------------------

struct SuiteObjectKind
{
    const char* name;
    uint32_t size; // 0: a manual-reset event; otherwise a SharedValue of this many bytes
};
constexpr size_t kSuiteObjectCount = 29;
extern const SuiteObjectKind kSuiteObjects[kSuiteObjectCount];

// The suite's named objects, created (or opened, when another program made
// them first) by Create and held until Close. Events are manual-reset and
// start non-signalled. An object that cannot be made stays unusable and
// nothing else changes; the recorder only ever tests "evtTVCCWaitingToConvert".
class SuiteObjects
{
public:
    SuiteObjects() = default;
    ~SuiteObjects();
    SuiteObjects(const SuiteObjects&) = delete;
    SuiteObjects& operator=(const SuiteObjects&) = delete;

    void Create();
    void Close();
    // "evtTVCCWaitingToConvert" is signalled now (a missing event is not).
    bool WaitingToConvert() const;
    // The event or shared value of that name, while held; else nullptr.
    HANDLE Event(std::string_view name) const;
    dsp::SharedValue* Value(std::string_view name) const;

private:
    struct Held
    {
        const SuiteObjectKind* object;
        HANDLE event;
        std::unique_ptr<dsp::SharedValue> value;
    };
    std::vector<Held> held_;
};

// ---- Decoder libraries --------------------------------------------------------

// Entry points, all with the C calling convention.
using WhatFormatsFn = void(__cdecl*)(int index, char* extension, char* description);
using GetTrackInfoFn = unsigned char(__cdecl*)(const char* path, uint16_t* infoValue1, uint32_t* infoValue2,
                                               uint8_t* infoValue3, uint32_t* lengthMs, uint32_t* infoValue4,
                                               char* artist, char* title, char* album, int32_t* trackAndYear,
                                               uint8_t* infoFlag, char* genre);
using CreateANewDecoderObjectFn = void*(__cdecl*)(const char* path, uint32_t* out1, uint32_t* out2,
                                                  uint32_t* out3, uint32_t* out4);
using DeleteADecoderObjectFn = void(__cdecl*)(void* object);

// One loaded decoder library.
struct DecoderPlugin
{
    char path[260] = {};
    HMODULE module = nullptr;
    WhatFormatsFn WhatFormats = nullptr;
    GetTrackInfoFn GetTrackInfo = nullptr;
    CreateANewDecoderObjectFn CreateANewDecoderObject = nullptr;
    DeleteADecoderObjectFn DeleteADecoderObject = nullptr;
    // Resolved for completeness; the recorder calls none of these.
    FARPROC OutputWantsABlockOfData = nullptr;
    FARPROC ShowAboutOptionsPage = nullptr;
    FARPROC SkipTo = nullptr;
    FARPROC SetVolume = nullptr;
    FARPROC Pause = nullptr;
    FARPROC UnPause = nullptr;
    FARPROC GetStringInfo = nullptr;
    FARPROC SetIDTagElement = nullptr;
    FARPROC GetIDTagElement = nullptr;
    FARPROC GetFileInfoShort1 = nullptr;
    FARPROC GetTags = nullptr;
    FARPROC ClearTags = nullptr;
    FARPROC SetTags = nullptr;
    FARPROC DeleteATag = nullptr;
    FARPROC DeleteAllTags = nullptr;
    FARPROC GetTagOptions = nullptr;
    FARPROC GetOptions = nullptr;
};

// What GetTrackInfo gives back, as it gave it.
struct DecoderTrackInfo
{
    uint16_t infoValue1 = 0;
    uint32_t infoValue2 = 0;
    uint8_t infoValue3 = 0;
    uint32_t lengthMs = 0;
    uint32_t infoValue4 = 0;
    char artist[100] = {};
    char title[100] = {};
    char album[100] = {};
    int32_t trackAndYear = 0; // track number in the upper 16 bits, year in the lower
    uint8_t infoFlag = 0;
    char genre[260] = {};
};

// Calls GetTrackInfo when the decoder offers it; false (nothing called) when
// it does not. The text buffers are terminated at their last byte afterwards.
bool ReadTrackInfo(const DecoderPlugin& decoder, const char* path, DecoderTrackInfo& info);
// CreateANewDecoderObject with scratch storage for its four out-values, or
// nullptr when the decoder does not offer it.
void* CreateDecoderObject(const DecoderPlugin& decoder, const char* path);
// DeleteADecoderObject, when offered.
void DeleteDecoderObject(const DecoderPlugin& decoder, void* object);

// The decoder libraries of one folder and the file types they report.
class DecoderTable
{
public:
    DecoderTable() = default;
    ~DecoderTable(); // frees the libraries
    DecoderTable(const DecoderTable&) = delete;
    DecoderTable& operator=(const DecoderTable&) = delete;

    // For every "*.dll" of `folder` (ending in a backslash), in the order the
    // directory listing gives them: load it (skipped when that fails), resolve
    // its entry points, then collect its formats through WhatFormats.
    void Build(const std::string& folder);
    // The decoder for `extension` (with its dot), or nullptr.
    const DecoderPlugin* Find(std::string_view extension) const;

    const std::vector<DecoderFormat>& Formats() const { return formats_; }
    const std::vector<std::unique_ptr<DecoderPlugin>>& Plugins() const { return plugins_; }

private:
    std::vector<DecoderFormat> formats_;
    std::vector<std::unique_ptr<DecoderPlugin>> plugins_;
};

// The process's decoder table: built on first use from the program folder's
// decoder folder, kept (with its libraries loaded) until the process ends.
const DecoderTable& Decoders();
// Decoders().Find(extension).
const DecoderPlugin* FindDecoder(std::string_view extension);

// ---- Encoder libraries --------------------------------------------------------

using SetProfileFn = void(__cdecl*)(const char* profile);
using ShowConfigBitFn = void(__cdecl*)(HWND parent);
using RemoveConfigBitFn = void(__cdecl*)(HWND parent);

// The encoder library of one codec; freed with the object.
class EncoderPlugin
{
public:
    EncoderPlugin() = default;
    ~EncoderPlugin();
    EncoderPlugin(const EncoderPlugin&) = delete;
    EncoderPlugin& operator=(const EncoderPlugin&) = delete;

    // "Compression\<codec>.dll" below the program folder.
    static std::string PathFor(std::string_view codec);

    // Loads the library and resolves its entry points; false when it cannot be loaded.
    bool Load(const std::string& path);
    void Unload();
    bool Loaded() const { return module_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Each calls its entry point only when the library offers it and tells
    // whether it did.
    bool SetProfile(const char* profile) const;
    bool ShowConfigBit(HWND parent) const;
    bool RemoveConfigBit(HWND parent) const;

    // In the library's order.
    FARPROC CreateNewCompressionObject = nullptr;
    FARPROC DeleteCompressionObject = nullptr;
    FARPROC ANewDataBlockArrived = nullptr;
    ShowConfigBitFn ShowConfigBitEntry = nullptr;
    RemoveConfigBitFn RemoveConfigBitEntry = nullptr;
    FARPROC GetExtensionYouCreate = nullptr;
    FARPROC SetCompIDTagElement = nullptr;
    FARPROC SetCompIDTags = nullptr;
    FARPROC SendRawUnCompressedFiles = nullptr;
    FARPROC SendRawUnCompressedFiles1 = nullptr;
    FARPROC DisableConvFolderTo = nullptr;
    SetProfileFn SetProfileEntry = nullptr;
    FARPROC DisableJustOrigFolder = nullptr;
    FARPROC GetOptions = nullptr;

private:
    std::string path_;
    HMODULE module_ = nullptr;
};

} // namespace auxiliary
