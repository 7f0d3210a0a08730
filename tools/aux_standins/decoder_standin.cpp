// STAND-IN for one of the suite's input decoder libraries (not shipped; the
// real decoders are outside this system). It reports two file types through
// WhatFormats, ".aux" and ".sin", answers GetTrackInfo with fixed data, and
// hands out decoder objects that do nothing. Every call is logged (see
// standin_log.h). Built a second time with STANDIN_NO_TRACK_INFO: that
// library lacks GetTrackInfo and reports ".noinfo" only; and a third time with
// STANDIN_UNTERMINATED: its texts fill their buffers without a terminator and
// its list of formats never ends.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "standin_log.h"

STANDIN_DLLMAIN

namespace {

struct DecoderObject
{
    uint32_t magic = 0x41555844; // "AUXD"
    char path[260] = {};
};

#ifdef STANDIN_NO_TRACK_INFO
const char* const kFormats[][2] = {{".noinfo", "Stand-in without track information"}};
#else
const char* const kFormats[][2] = {{".aux", "Auxiliary input (stand-in)"}, {".sin", "Stand-in sine tone"}};
#endif

#ifdef STANDIN_UNTERMINATED
// Fills the whole buffer with the text over and over, without a terminator.
void Copy(char* target, size_t size, const char* text)
{
    const size_t length = std::strlen(text);
    for (size_t i = 0; i < size; ++i)
        target[i] = text[i % length];
}
#else
void Copy(char* target, size_t size, const char* text)
{
    snprintf(target, size, "%s", text ? text : "");
}
#endif

} // namespace

extern "C" __declspec(dllexport) void __cdecl WhatFormats(int index, char* extension, char* description)
{
    standin::Log("WhatFormats %d", index);
    const int count = static_cast<int>(sizeof kFormats / sizeof kFormats[0]);
#ifdef STANDIN_UNTERMINATED
    index = index < 0 ? 0 : index % count; // a list without an end
#endif
    if (index < 0 || index >= count) {
        extension[0] = '\0';
        description[0] = '\0';
        return;
    }
    Copy(extension, 260, kFormats[index][0]);
    Copy(description, 260, kFormats[index][1]);
}

#ifndef STANDIN_NO_TRACK_INFO
extern "C" __declspec(dllexport) unsigned char __cdecl GetTrackInfo(const char* path, uint16_t* infoValue1,
                                                                    uint32_t* infoValue2, uint8_t* infoValue3,
                                                                    uint32_t* lengthMs, uint32_t* infoValue4,
                                                                    char* artist, char* title, char* album,
                                                                    int32_t* trackAndYear, uint8_t* infoFlag,
                                                                    char* genre)
{
    standin::Log("GetTrackInfo %s", path ? path : "");
    *infoValue1 = 1;
    *infoValue2 = 2;
    *infoValue3 = 3;
    *lengthMs = 187999;
    *infoValue4 = 4;
    Copy(artist, 100, "Stand-in Artist");
    Copy(title, 100, "Stand-in Title");
    Copy(album, 100, "Stand-in Album");
    *trackAndYear = (7 << 16) | 2001;
    *infoFlag = 1;
    Copy(genre, 260, "Pop");
    return 1;
}
#endif

extern "C" __declspec(dllexport) void* __cdecl CreateANewDecoderObject(const char* path, uint32_t* out1,
                                                                       uint32_t* out2, uint32_t* out3,
                                                                       uint32_t* out4)
{
    standin::Log("CreateANewDecoderObject %s", path ? path : "");
    *out1 = 44100;
    *out2 = 2;
    *out3 = 16;
    *out4 = 0;
    auto* object = new DecoderObject;
    Copy(object->path, sizeof object->path, path);
    return object;
}

extern "C" __declspec(dllexport) void __cdecl DeleteADecoderObject(void* object)
{
    auto* decoder = static_cast<DecoderObject*>(object);
    const bool ours = decoder && decoder->magic == 0x41555844;
    standin::Log("DeleteADecoderObject %s", ours ? decoder->path : "(not an object of this decoder)");
    if (ours) {
        decoder->magic = 0;
        delete decoder;
    }
}
