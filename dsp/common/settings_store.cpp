#include "settings_store.h"

#include <cstring>

namespace dsp::settings {

namespace {

HKEY g_root = HKEY_CURRENT_USER;
char g_path[MAX_PATH] = "Software\\Marrowby\\Tonvask\\tVC-DSP";

HKEY RootOr(HKEY root)
{
    return root ? root : g_root;
}

const char* PathOr(const char* path)
{
    return path ? path : g_path;
}

// Creates the key when it is missing; the class string names the value kind.
HKEY CreateOrOpen(HKEY root, const char* path, REGSAM rights, const char* kind)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(RootOr(root), PathOr(path), 0, const_cast<char*>(kind), REG_OPTION_NON_VOLATILE,
                        rights, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY OpenOnly(HKEY root, const char* path, REGSAM rights)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootOr(root), PathOr(path), 0, rights, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

std::string Join(const char* parent, const char* child)
{
    std::string p = parent ? parent : "";
    if (!p.empty() && p.back() != '\\')
        p += '\\';
    return p + (child ? child : "");
}

} // namespace

void SetDefault(HKEY root, const char* path)
{
    g_root = root ? root : HKEY_CURRENT_USER;
    const char* p = path ? path : "";
    const size_t n = std::strlen(p) < sizeof g_path - 1 ? std::strlen(p) : sizeof g_path - 1;
    std::memcpy(g_path, p, n);
    g_path[n] = '\0';
}

const char* DefaultPath()
{
    return g_path;
}

uint32_t ReadNumber(const char* name, HKEY root, const char* path)
{
    HKEY key = CreateOrOpen(root, path, KEY_QUERY_VALUE, "REG_DWORD");
    if (!key)
        return 0;
    DWORD value = 0, type = 0, size = sizeof value;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? value : 0;
}

void WriteNumber(const char* name, uint32_t value, HKEY root, const char* path)
{
    HKEY key = CreateOrOpen(root, path, KEY_SET_VALUE, "REG_DWORD");
    if (!key)
        return;
    const DWORD v = value;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(key);
}

bool ReadBool(const char* name, HKEY root, const char* path)
{
    return ReadNumber(name, root, path) != 0;
}

void WriteBool(const char* name, bool value, HKEY root, const char* path)
{
    WriteNumber(name, value ? 0xFFFFFFFFu : 0u, root, path);
}

void ReadText(const char* name, char* buffer, uint32_t size, HKEY root, const char* path)
{
    if (!buffer || size == 0)
        return;
    buffer[0] = '\0';
    HKEY key = CreateOrOpen(root, path, KEY_QUERY_VALUE, "REG_SZ");
    if (!key)
        return;
    DWORD type = 0, got = size;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &got);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = '\0';
        return;
    }
    // Stored texts carry their terminator; one that fills the buffer without it
    // did not fit.
    if (got == 0 || std::memchr(buffer, '\0', got) == nullptr) {
        if (got < size)
            buffer[got] = '\0';
        else
            buffer[0] = '\0';
    }
}

std::string ReadText(const char* name, HKEY root, const char* path)
{
    char buffer[MAX_PATH] = {};
    ReadText(name, buffer, sizeof buffer, root, path);
    return buffer;
}

void WriteText(const char* name, const char* text, HKEY root, const char* path)
{
    HKEY key = CreateOrOpen(root, path, KEY_SET_VALUE, "REG_SZ");
    if (!key)
        return;
    const char* t = text ? text : "";
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(t),
                   static_cast<DWORD>(std::strlen(t) + 1));
    RegCloseKey(key);
}

bool BinarySize(const char* name, uint32_t* size, HKEY root, const char* path)
{
    HKEY key = CreateOrOpen(root, path, KEY_QUERY_VALUE, "REG_BINARY");
    if (!key)
        return false;
    DWORD got = 0;
    const LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &got);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return false;
    if (size)
        *size = got;
    return true;
}

bool ReadBinary(const char* name, void* buffer, uint32_t size, HKEY root, const char* path)
{
    HKEY key = CreateOrOpen(root, path, KEY_QUERY_VALUE, "REG_BINARY");
    if (!key)
        return false;
    DWORD got = size;
    const LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &got);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool WriteBinary(const char* name, const void* data, uint32_t size, HKEY root, const char* path)
{
    HKEY key = CreateOrOpen(root, path, KEY_SET_VALUE, "REG_BINARY");
    if (!key)
        return false;
    const LONG rc = RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

float ReadFloat(const char* name, HKEY root, const char* path)
{
    uint32_t size = 0;
    if (!BinarySize(name, &size, root, path) || size != sizeof(float))
        return 0.0f;
    float value = 0.0f;
    return ReadBinary(name, &value, sizeof value, root, path) ? value : 0.0f;
}

bool WriteFloat(const char* name, float value, HKEY root, const char* path)
{
    return WriteBinary(name, &value, sizeof value, root, path);
}

bool ValueExists(const char* name, HKEY root, const char* path)
{
    HKEY key = OpenOnly(root, path, KEY_QUERY_VALUE);
    if (!key)
        return false;
    const LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const char* path)
{
    HKEY key = OpenOnly(root, path, KEY_QUERY_VALUE);
    if (!key)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteValue(const char* name, HKEY root, const char* path)
{
    HKEY key = OpenOnly(root, path, KEY_ALL_ACCESS);
    if (!key)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

void DeleteKey(HKEY root, const char* parent, const char* child)
{
    HKEY key = OpenOnly(root, parent, KEY_ALL_ACCESS);
    if (!key)
        return;
    RegDeleteKeyA(key, child ? child : "");
    RegCloseKey(key);
}

void DeleteKeyTree(HKEY root, const char* parent, const char* child)
{
    const char* base = PathOr(parent);
    const std::string path = Join(base, child);
    std::vector<std::string> subkeys;
    ListSubkeys(path.c_str(), subkeys, root);
    for (const std::string& sub : subkeys)
        DeleteKeyTree(root, path.c_str(), sub.c_str());
    DeleteKey(root, base, child);
}

bool ListSubkeys(const char* path, std::vector<std::string>& names, HKEY root)
{
    names.clear();
    HKEY key = OpenOnly(root, path, KEY_READ);
    if (!key)
        return false;
    for (DWORD i = 0;; ++i) {
        char name[MAX_PATH] = {};
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return true;
}

bool ListValues(const char* path, std::vector<std::string>& names, std::vector<DWORD>* types, HKEY root)
{
    names.clear();
    if (types)
        types->clear();
    HKEY key = OpenOnly(root, path, KEY_READ);
    if (!key)
        return false;
    for (DWORD i = 0;; ++i) {
        char name[MAX_PATH] = {};
        DWORD length = sizeof name, type = 0;
        if (RegEnumValueA(key, i, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
        if (types)
            types->push_back(type);
    }
    RegCloseKey(key);
    return true;
}

} // namespace dsp::settings
