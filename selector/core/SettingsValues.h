// Value rules of the settings file: how integers, truth values and paths are
// read and written, and where the window goes when nothing is stored.
#pragma once

#include <string>

namespace cb {

// Reads an integer value as stored in the settings file. Decimal with an
// optional sign; a value longer than two characters that starts with "0x" or
// "0X" is hexadecimal (up to 32 bits, taken as a signed 32-bit number). An
// empty value, anything that is not a number, or a number outside the 32-bit
// range gives `fallback`.
int ParseSettingInteger(const std::string& text, int fallback);

// Truth values are stored as integers: any non-zero number is true.
bool ParseSettingBool(const std::string& text, bool fallback);

// "1" or "0".
std::string SettingBoolText(bool value);

// Decimal text of an integer.
std::string SettingIntegerText(int value);

// Left (or top) edge that centres a window of `size` on a screen of `screen`
// pixels; the halving truncates toward zero, so an oversized window gets a
// negative edge.
int CentredEdge(int screen, int size);

// The settings file of a program: its path with the extension replaced by
// ".ini". The extension is the text from the last "." after the last "\",
// "/" or ":"; a name without one gets ".ini" appended.
std::string SettingsFileForProgram(const std::string& programPath);

// The game directory as its users need it: empty stays empty, otherwise one
// "\" is appended when the path does not already end in "\".
std::string WithTrailingBackslash(const std::string& path);

// The folder part of a path without its trailing separator
// ("C:\Prog\Cuebinder.exe" -> "C:\Prog"); empty when there is none.
std::string FolderOf(const std::string& path);

// The largest settings file taken as healthy. The program's own keys fill a
// few hundred bytes, and a few kilobytes even with the longest paths; a file
// beyond this limit is junk, and every value the system writes rewrites all
// of it.
constexpr unsigned long long kLargestSettingsFile = 1024 * 1024;

// True for a settings file of `size` bytes that is set aside after its values
// are read, so that a small file replaces it.
bool SettingsFileOversized(unsigned long long size);

// The name under which an oversized settings file is kept beside itself:
// "<file>.damaged" on the first try, then "<file>.damaged2", "<file>.damaged3"
// and so on, so an earlier kept copy is never overwritten.
std::string SetAsideName(const std::string& settingsFile, int attempt);

} // namespace cb
