// The recorder's settings in the registry as tests see them: a scope that
// removes them before and after a test, and the exact stored form of a value.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace auxiliary::testing {

// Removes the recorder's option values from the suite key, and the Boostkit
// and codec keys, when made and again when destroyed.
class RecorderRegistryScope
{
public:
    RecorderRegistryScope();
    ~RecorderRegistryScope();
    RecorderRegistryScope(const RecorderRegistryScope&) = delete;
    RecorderRegistryScope& operator=(const RecorderRegistryScope&) = delete;

private:
    static void Clear();
};

// One value under HKEY_CURRENT_USER\<key> as stored.
struct StoredValue
{
    bool exists = false;
    DWORD type = REG_NONE;
    std::string text;    // REG_SZ, without the terminator
    uint32_t number = 0; // REG_DWORD
};
StoredValue Stored(const char* key, const char* name);

} // namespace auxiliary::testing
