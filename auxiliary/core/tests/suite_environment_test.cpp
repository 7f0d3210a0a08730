// The suite environment's portable rules: the program folder and the decoder
// table (collection through WhatFormats and the lookup by extension).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "decoder_formats.h"
#include "suite_paths.h"

namespace {

using auxiliary::kDefaultProgramFolder;

// Models of two code pages the way the system treats them: 1251 (Cyrillic,
// one byte a character: small letters 0xE0-0xFF have capitals 0xC0-0xDF, and
// small yo 0xB8 has 0xA8) and 932 (Japanese: bytes 0x81-0x9F and 0xE0-0xFC
// begin two-byte characters, which upper case leaves whole; their second
// byte can be a backslash or a small letter).
const auxiliary::CodePageText kCodePage1251{[](std::string_view text) {
                                                std::string upper(text);
                                                for (char& c : upper) {
                                                    const unsigned char u = static_cast<unsigned char>(c);
                                                    if ((u >= 'a' && u <= 'z') || u >= 0xE0)
                                                        c = static_cast<char>(u - 0x20);
                                                    else if (u == 0xB8)
                                                        c = static_cast<char>(0xA8);
                                                }
                                                return upper;
                                            },
                                            [](unsigned char) { return false; }};
bool Lead932(unsigned char u)
{
    return (u >= 0x81 && u <= 0x9F) || (u >= 0xE0 && u <= 0xFC);
}
const auxiliary::CodePageText kCodePage932{[](std::string_view text) {
                                               std::string upper(text);
                                               for (size_t i = 0; i < upper.size(); ++i) {
                                                   const unsigned char u =
                                                       static_cast<unsigned char>(upper[i]);
                                                   if (Lead932(u))
                                                       ++i;
                                                   else if (u >= 'a' && u <= 'z')
                                                       upper[i] = static_cast<char>(u - 0x20);
                                               }
                                               return upper;
                                           },
                                           Lead932};

TEST(AuxProgramFolder, IsTheUpperCaseFolderOfTheProgramOrTheDefaultFolder)
{
    const struct
    {
        const char* modulePath;
        std::string folder;
    } cases[] = {
        {"C:\\Program Files\\Marrowby\\Tonvask\\Auxiliary.exe", "C:\\PROGRAM FILES\\MARROWBY\\TONVASK\\"},
        {"\"c:\\tonvask\\auxiliary.exe", "C:\\TONVASK\\"},
        {"d:\\sourcecode\\aux.exe", "D:\\SOURCECODE\\"},
        {"d:\\work\\Source Code\\aux\\Debug\\Auxiliary.exe", kDefaultProgramFolder},
        {"d:\\SOURCE CODE\\Auxiliary.exe", kDefaultProgramFolder},
        {"d:\\my source code\\Auxiliary.exe", kDefaultProgramFolder},
        {"d:\\SoUrCe cOdE.old\\Auxiliary.exe", kDefaultProgramFolder},
        {"", kDefaultProgramFolder},
        {"Auxiliary.exe", kDefaultProgramFolder},
    };
    for (const auto* codePage : {&kCodePage1251, &kCodePage932}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.modulePath);
            EXPECT_EQ(auxiliary::ProgramFolderFromModulePath(c.modulePath, *codePage), c.folder);
        }
    }
    EXPECT_EQ(std::string(kDefaultProgramFolder), "c:\\Program files\\Marrowby\\Tonvask\\");
}

TEST(AuxProgramFolder, NamesInOtherCodePagesKeepTheirLettersAndTheirTwoByteCharacters)
{
    const struct
    {
        const char* what;
        const auxiliary::CodePageText* codePage;
        const char* modulePath;
        std::string folder;
    } cases[] = {
        // "c:\\музыка\\aux.exe": the capitals of 1251, not letters of another alphabet
        {"1251 small letters", &kCodePage1251, "c:\\\xEC\xF3\xE7\xFB\xEA\xE0\\aux.exe",
         "C:\\\xCC\xD3\xC7\xDB\xCA\xC0\\"},
        {"1251 small yo", &kCodePage1251, "c:\\\xB8\xEB\xEA\xE0\\aux.exe", "C:\\\xA8\xCB\xCA\xC0\\"},
        // "c:\\ソフト\\aux.exe": ソ is 0x83 0x5C, its second byte a backslash
        {"932 with a backslash inside a character", &kCodePage932, "c:\\\x83\x5C\x83\x74\x83\x67\\aux.exe",
         "C:\\\x83\x5C\x83\x74\x83\x67\\"},
        // the file name's ソ must not be taken for the folder's end
        {"932 in the file name", &kCodePage932, "c:\\tonvask\\\x83\x5C.exe", "C:\\TONVASK\\"},
        // "ャ" is 0x83 0x61: its second byte is a small "a" that stays as it is
        {"932 with a small letter inside a character", &kCodePage932,
         "c:\\\x83\x61"
         "dir\\aux.exe",
         "C:\\\x83\x61"
         "DIR\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(auxiliary::ProgramFolderFromModulePath(c.modulePath, *c.codePage), c.folder);
    }
}

// A stand-in for a decoder's WhatFormats answering from a list and noting
// the indexes it was asked for.
struct ListedFormats
{
    std::vector<std::pair<std::string, std::string>> answers;
    std::vector<int> asked;
    void operator()(int index, char* extension, char* description)
    {
        asked.push_back(index);
        if (index < static_cast<int>(answers.size())) {
            snprintf(extension, 260, "%s", answers[index].first.c_str());
            snprintf(description, 260, "%s", answers[index].second.c_str());
        }
    }
};

TEST(AuxDecoderFormats, AreCollectedUntilTheFirstEmptyExtensionAndCutToTheirFields)
{
    ListedFormats decoder{{{".aux", "Auxiliary input"}, {".AUX2", ""}, {"", "never read"}, {".late", "x"}},
                          {}};
    std::vector<auxiliary::DecoderFormat> formats;
    EXPECT_EQ(auxiliary::CollectDecoderFormats(std::ref(decoder), "C:\\T\\A.DLL", formats), 2);
    EXPECT_EQ(decoder.asked, (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_STREQ(formats[0].extension, ".aux");
    EXPECT_STREQ(formats[0].description, "Auxiliary input");
    EXPECT_STREQ(formats[0].library, "C:\\T\\A.DLL");
    EXPECT_STREQ(formats[1].extension, ".AUX2");
    EXPECT_STREQ(formats[1].description, "");

    // Texts longer than their fields are cut; buffers filled to the last byte
    // without a terminator are read to 259 characters only.
    std::vector<auxiliary::DecoderFormat> cut;
    auxiliary::CollectDecoderFormats(
        [](int index, char* extension, char* description) {
            if (index > 0)
                return;
            memset(extension, 'e', 260);
            memset(description, 'd', 260);
        },
        std::string(300, 'p'), cut);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(std::string(cut[0].extension), std::string(99, 'e'));
    EXPECT_EQ(std::string(cut[0].description), std::string(259, 'd'));
    EXPECT_EQ(std::string(cut[0].library), std::string(259, 'p'));

    // A library that never reports an empty extension cannot hang the table.
    std::vector<auxiliary::DecoderFormat> endless;
    EXPECT_EQ(auxiliary::CollectDecoderFormats([](int, char* extension, char*) { extension[0] = '.'; },
                                               "E.DLL", endless),
              auxiliary::kMaxFormatsPerDecoder);
}

TEST(AuxDecoderLookup, FindsTheFirstFormatIgnoringCaseThenTheLibraryWithExactlyThatPath)
{
    const std::vector<auxiliary::DecoderFormat> formats = {
        auxiliary::MakeDecoderFormat(".mp3", "", "C:\\IN\\FIRST.DLL"),
        auxiliary::MakeDecoderFormat(".AUX", "", "C:\\IN\\FIRST.DLL"),
        auxiliary::MakeDecoderFormat(".aux", "", "C:\\IN\\SECOND.DLL"),
        auxiliary::MakeDecoderFormat(".ogg", "", "C:\\IN\\second.dll"),
        auxiliary::MakeDecoderFormat(".wma", "", "C:\\IN\\GONE.DLL"),
        auxiliary::MakeDecoderFormat(".wma", "", "C:\\IN\\SECOND.DLL"),
    };
    const std::vector<std::string> libraries = {"C:\\IN\\FIRST.DLL", "C:\\IN\\SECOND.DLL"};
    const struct
    {
        const char* extension;
        int library;
    } cases[] = {
        {".aux", 0}, // ".AUX" of the first library, listed before ".aux" of the second
        {".Aux", 0},  {".MP3", 0}, {".ogg", -1}, // the library path differs in case: no library
        {".wma", -1}, // the first ".wma" names a library that is not loaded; the lookup stops there
        {".au", -1},  {"aux", -1}, {"", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extension);
        EXPECT_EQ(auxiliary::FindDecoderIndex(formats, libraries, c.extension), c.library);
    }
    EXPECT_EQ(auxiliary::FindDecoderIndex({}, libraries, ".aux"), -1);
}

} // namespace
