// Named values in the registry with one process-wide default key. Every
// accessor takes a root (nullptr: the default root) and a key path (nullptr:
// the default path). Each call opens its key, does its one access and closes
// it again. Reads fall back to 0, empty text, 0.0 or false; writes and deletes
// fail silently.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace dsp::settings {

// The key every plug-in keeps its settings under (below HKEY_CURRENT_USER).
constexpr const char* kSuiteKey = "Software\\Marrowby\\Tonvask";
constexpr const char* kPluginKey = "Software\\Marrowby\\Tonvask\\tVC-DSP";

void SetDefault(HKEY root, const char* path);
const char* DefaultPath();

// Numbers (REG_DWORD). A read creates the key when it is missing and gives 0
// when the value is missing or not a double word.
uint32_t ReadNumber(const char* name, HKEY root = nullptr, const char* path = nullptr);
void WriteNumber(const char* name, uint32_t value, HKEY root = nullptr, const char* path = nullptr);

// Truth values as double words: true is stored as 0xFFFFFFFF, any non-zero reads as true.
bool ReadBool(const char* name, HKEY root = nullptr, const char* path = nullptr);
void WriteBool(const char* name, bool value, HKEY root = nullptr, const char* path = nullptr);

// Text (REG_SZ, stored with its terminator). A value that does not fit the
// buffer (terminator included) reads as an empty text.
void ReadText(const char* name, char* buffer, uint32_t size, HKEY root = nullptr, const char* path = nullptr);
std::string ReadText(const char* name, HKEY root = nullptr,
                     const char* path = nullptr); // up to 259 characters
void WriteText(const char* name, const char* text, HKEY root = nullptr, const char* path = nullptr);

// Raw bytes (REG_BINARY).
bool BinarySize(const char* name, uint32_t* size, HKEY root = nullptr, const char* path = nullptr);
bool ReadBinary(const char* name, void* buffer, uint32_t size, HKEY root = nullptr,
                const char* path = nullptr);
// True when the value was written.
bool WriteBinary(const char* name, const void* data, uint32_t size, HKEY root = nullptr,
                 const char* path = nullptr);

// Single-precision numbers as their 4 bytes (REG_BINARY); 0.0 when missing.
float ReadFloat(const char* name, HKEY root = nullptr, const char* path = nullptr);
bool WriteFloat(const char* name, float value, HKEY root = nullptr, const char* path = nullptr);

// Open only, never create.
bool ValueExists(const char* name, HKEY root = nullptr, const char* path = nullptr);
bool KeyExists(HKEY root = nullptr, const char* path = nullptr);

void DeleteValue(const char* name, HKEY root = nullptr, const char* path = nullptr);
// Deletes `child` under `parent` (nullptr: the default path); it must have no subkeys.
void DeleteKey(HKEY root, const char* parent, const char* child);
// Deletes `child` under `parent` with everything below it.
void DeleteKeyTree(HKEY root, const char* parent, const char* child);

// The names of the subkeys / values of `path` (lists cleared first); false
// when the key cannot be opened.
bool ListSubkeys(const char* path, std::vector<std::string>& names, HKEY root = nullptr);
bool ListValues(const char* path, std::vector<std::string>& names, std::vector<DWORD>* types = nullptr,
                HKEY root = nullptr);

} // namespace dsp::settings
