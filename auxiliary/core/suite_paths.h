// Where the recorder finds the suite's files: the program folder rule and the
// places below the program folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace auxiliary {

// Used when the program's own path is unknown or lies in a source tree.
constexpr const char* kDefaultProgramFolder = "c:\\Program files\\Marrowby\\Tonvask\\";

// Below the program folder.
constexpr const char* kEncoderFolder = "Compression\\"; // "<codec>.dll", one per codec
constexpr const char* kSkinFolder = "Compression\\skin\\";
constexpr const char* kDecoderFolder = "Multiplayer\\Input\\"; // "*.dll"
constexpr const char* kHelpBitmap = "help\\Help.bmp";
constexpr const char* kHelpPage = "Help\\tVC\\Auxiliary.htm";
constexpr const char* kOptionsHelpPage = "Help\\tVC\\AuxiliaryOptions.htm";
constexpr const char* kBoostkitHelpPage = "Help\\tVC\\AuxiliaryBK.htm";
constexpr const char* kJobFile = "AddThis.Bin";
constexpr const char* kJobOutputFile = "AddThisOuputTo.Bin";
constexpr const char* kCustomGenreFile = "CustomGenre.txt";
constexpr const char* kConverterProgram = "Recaster.exe";

// Code page 1252 upper case (the letters with accents included).
char UpperCase1252(char c);
std::string UpperCase1252(std::string_view text);
// Equal when upper-cased alike, as extensions and codec names are compared.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// The system's code page, as the program folder rule needs it: its upper
// case of a text, and which bytes begin a two-byte character (whose second
// byte may look like a backslash or a small letter, and is neither).
struct CodePageText
{
    std::function<std::string(std::string_view)> upper;
    std::function<bool(unsigned char)> isLeadByte;
};

// The program folder for the program's own module path: the path in the
// code page's upper case, cut after its last backslash (a leading double
// quote dropped). An empty path, one containing "SOURCE CODE" in any case, or
// one without a backslash gives kDefaultProgramFolder. The result always
// ends with a backslash.
std::string ProgramFolderFromModulePath(std::string_view modulePath, const CodePageText& codePage);

} // namespace auxiliary
