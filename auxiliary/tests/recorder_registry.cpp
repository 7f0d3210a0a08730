#include "recorder_registry.h"

#include "recorder_settings.h"
#include "settings_store.h"

namespace auxiliary::testing {

RecorderRegistryScope::RecorderRegistryScope()
{
    Clear();
}

RecorderRegistryScope::~RecorderRegistryScope()
{
    Clear();
}

void RecorderRegistryScope::Clear()
{
    using namespace auxiliary::settings;
    for (const char* name :
         {kRecordUsing, kRecordRate, kRecordBits, kRecordChannels, kAutoStart, kAutoStartPercent,
          kAutoStartFor, kAutoEnd, kAutoEndPercent, kAutoEndFor, kFileCreation, kCodec})
        dsp::settings::DeleteValue(name, HKEY_CURRENT_USER, kSuiteKey);
    dsp::settings::DeleteKeyTree(HKEY_CURRENT_USER, kSuiteKey, "Boostkit");
    dsp::settings::DeleteKeyTree(HKEY_CURRENT_USER, kSuiteKey, "tVCCodec");
}

StoredValue Stored(const char* key, const char* name)
{
    StoredValue value;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return value;
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(handle, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
        value.exists = true;
        if (value.type == REG_SZ) {
            value.text.assign(data, size);
            while (!value.text.empty() && value.text.back() == '\0')
                value.text.pop_back();
        } else if (value.type == REG_DWORD && size == 4) {
            value.number = *reinterpret_cast<const uint32_t*>(data);
        }
    }
    RegCloseKey(handle);
    return value;
}

} // namespace auxiliary::testing
