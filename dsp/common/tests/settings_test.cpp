// The registry store against Wine's registry, under a key of its own.
#include "settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

namespace settings = dsp::settings;

constexpr const char* kBase = "Software\\DspFrameworkTests";
constexpr const char* kKey = "Software\\DspFrameworkTests\\Store";

class SettingsStore : public testing::Test
{
protected:
    void SetUp() override
    {
        settings::DeleteKeyTree(HKEY_CURRENT_USER, kBase, "Store");
        ASSERT_FALSE(settings::KeyExists(HKEY_CURRENT_USER, kKey));
    }
    void TearDown() override
    {
        settings::DeleteKeyTree(HKEY_CURRENT_USER, kBase, "Store");
        settings::SetDefault(HKEY_CURRENT_USER, settings::kPluginKey);
    }

    static std::string ClassOf(const char* path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "<no key>";
        char cls[64] = {};
        DWORD n = sizeof cls;
        RegQueryInfoKeyA(key, cls, &n, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr);
        RegCloseKey(key);
        return cls;
    }

    static DWORD RawType(const char* name, std::vector<uint8_t>* data = nullptr)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return REG_NONE;
        DWORD type = REG_NONE, size = 0;
        RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
        if (data) {
            data->assign(size, 0);
            RegQueryValueExA(key, name, nullptr, &type, data->data(), &size);
        }
        RegCloseKey(key);
        return type;
    }
};

TEST_F(SettingsStore, ReadingAMissingNumberCreatesTheKeyWithItsClass)
{
    EXPECT_FALSE(settings::ValueExists("Nothing", HKEY_CURRENT_USER, kKey));
    EXPECT_FALSE(settings::KeyExists(HKEY_CURRENT_USER, kKey)); // value-exists never creates
    EXPECT_EQ(settings::ReadNumber("Nothing", HKEY_CURRENT_USER, kKey), 0u);
    EXPECT_TRUE(settings::KeyExists(HKEY_CURRENT_USER, kKey));
    EXPECT_EQ(ClassOf(kKey), "REG_DWORD");
    EXPECT_FALSE(settings::ValueExists("Nothing", HKEY_CURRENT_USER, kKey));

    settings::WriteText("Name", "x", HKEY_CURRENT_USER, "Software\\DspFrameworkTests\\Store\\Texts");
    EXPECT_EQ(ClassOf("Software\\DspFrameworkTests\\Store\\Texts"), "REG_SZ");
    uint32_t size = 0;
    settings::BinarySize("B", &size, HKEY_CURRENT_USER, "Software\\DspFrameworkTests\\Store\\Bytes");
    EXPECT_EQ(ClassOf("Software\\DspFrameworkTests\\Store\\Bytes"), "REG_BINARY");
}

TEST_F(SettingsStore, NumbersAndTruthValuesAsDoubleWords)
{
    settings::WriteNumber("Length", 6000, HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(settings::ReadNumber("Length", HKEY_CURRENT_USER, kKey), 6000u);
    std::vector<uint8_t> raw;
    EXPECT_EQ(RawType("Length", &raw), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw, (std::vector<uint8_t>{0x70, 0x17, 0, 0}));

    settings::WriteBool("On", true, HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(settings::ReadNumber("On", HKEY_CURRENT_USER, kKey), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<int32_t>(settings::ReadNumber("On", HKEY_CURRENT_USER, kKey)), -1);
    EXPECT_TRUE(settings::ReadBool("On", HKEY_CURRENT_USER, kKey));
    settings::WriteBool("On", false, HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(settings::ReadNumber("On", HKEY_CURRENT_USER, kKey), 0u);
    EXPECT_FALSE(settings::ReadBool("On", HKEY_CURRENT_USER, kKey));
    settings::WriteNumber("On", 2, HKEY_CURRENT_USER, kKey);
    EXPECT_TRUE(settings::ReadBool("On", HKEY_CURRENT_USER, kKey)); // any non-zero is true

    // A text under a number's name is no number.
    settings::WriteText("Text", "12", HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(settings::ReadNumber("Text", HKEY_CURRENT_USER, kKey), 0u);
}

TEST_F(SettingsStore, TextsKeepTheirTerminatorAndDoNotOverflowTheBuffer)
{
    settings::WriteText("Greeting", "hello", HKEY_CURRENT_USER, kKey);
    std::vector<uint8_t> raw;
    EXPECT_EQ(RawType("Greeting", &raw), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw, (std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', 0}));

    char exact[6];
    std::memset(exact, 'Z', sizeof exact);
    settings::ReadText("Greeting", exact, sizeof exact, HKEY_CURRENT_USER, kKey);
    EXPECT_STREQ(exact, "hello");

    char small[5];
    std::memset(small, 'Z', sizeof small);
    settings::ReadText("Greeting", small, sizeof small, HKEY_CURRENT_USER, kKey);
    EXPECT_STREQ(small, ""); // longer than the buffer: not read

    char missing[8] = "junk";
    settings::ReadText("NoSuchText", missing, sizeof missing, HKEY_CURRENT_USER, kKey);
    EXPECT_STREQ(missing, "");
    EXPECT_EQ(settings::ReadText("Greeting", HKEY_CURRENT_USER, kKey), "hello");
    settings::WriteText("Empty", "", HKEY_CURRENT_USER, kKey);
    EXPECT_TRUE(settings::ValueExists("Empty", HKEY_CURRENT_USER, kKey));
    EXPECT_EQ(settings::ReadText("Empty", HKEY_CURRENT_USER, kKey), "");
}

TEST_F(SettingsStore, BinaryValuesAndFloats)
{
    const uint8_t bytes[] = {0, 1, 2, 250, 255};
    EXPECT_TRUE(settings::WriteBinary("Blob", bytes, sizeof bytes, HKEY_CURRENT_USER, kKey));
    EXPECT_EQ(RawType("Blob"), static_cast<DWORD>(REG_BINARY));
    uint32_t size = 0;
    EXPECT_TRUE(settings::BinarySize("Blob", &size, HKEY_CURRENT_USER, kKey));
    EXPECT_EQ(size, sizeof bytes);
    uint8_t back[5] = {};
    EXPECT_TRUE(settings::ReadBinary("Blob", back, sizeof back, HKEY_CURRENT_USER, kKey));
    EXPECT_EQ(std::memcmp(back, bytes, sizeof bytes), 0);
    uint8_t tooSmall[2];
    EXPECT_FALSE(settings::ReadBinary("Blob", tooSmall, sizeof tooSmall, HKEY_CURRENT_USER, kKey));
    EXPECT_FALSE(settings::BinarySize("NoBlob", &size, HKEY_CURRENT_USER, kKey));

    settings::WriteFloat("Gain", -2.5f, HKEY_CURRENT_USER, kKey);
    std::vector<uint8_t> raw;
    EXPECT_EQ(RawType("Gain", &raw), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw, (std::vector<uint8_t>{0x00, 0x00, 0x20, 0xC0}));
    EXPECT_EQ(settings::ReadFloat("Gain", HKEY_CURRENT_USER, kKey), -2.5f);
    EXPECT_EQ(settings::ReadFloat("NoGain", HKEY_CURRENT_USER, kKey), 0.0f);
}

TEST_F(SettingsStore, DeletesValuesKeysAndTreesAndListsThem)
{
    const std::string a = std::string(kKey) + "\\A";
    settings::WriteNumber("One", 1, HKEY_CURRENT_USER, kKey);
    settings::WriteText("Two", "t", HKEY_CURRENT_USER, kKey);
    settings::WriteNumber("x", 1, HKEY_CURRENT_USER, (a + "\\Deep\\Deeper").c_str());
    settings::WriteNumber("x", 1, HKEY_CURRENT_USER, (std::string(kKey) + "\\B").c_str());

    std::vector<std::string> names = {"stale"};
    std::vector<DWORD> types = {99};
    ASSERT_TRUE(settings::ListValues(kKey, names, &types, HKEY_CURRENT_USER));
    std::vector<std::pair<std::string, DWORD>> pairs;
    for (size_t i = 0; i < names.size(); ++i)
        pairs.emplace_back(names[i], types[i]);
    std::sort(pairs.begin(), pairs.end());
    EXPECT_EQ(pairs, (std::vector<std::pair<std::string, DWORD>>{{"One", REG_DWORD}, {"Two", REG_SZ}}));
    ASSERT_TRUE(settings::ListSubkeys(kKey, names, HKEY_CURRENT_USER));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
    EXPECT_FALSE(settings::ListSubkeys("Software\\DspFrameworkTests\\Store\\None", names, HKEY_CURRENT_USER));
    EXPECT_TRUE(names.empty());

    settings::DeleteValue("One", HKEY_CURRENT_USER, kKey);
    EXPECT_FALSE(settings::ValueExists("One", HKEY_CURRENT_USER, kKey));
    EXPECT_TRUE(settings::ValueExists("Two", HKEY_CURRENT_USER, kKey));

    settings::DeleteKey(HKEY_CURRENT_USER, kKey, "A"); // has subkeys: stays
    EXPECT_TRUE(settings::KeyExists(HKEY_CURRENT_USER, a.c_str()));
    settings::DeleteKey(HKEY_CURRENT_USER, kKey, "B");
    EXPECT_FALSE(settings::KeyExists(HKEY_CURRENT_USER, (std::string(kKey) + "\\B").c_str()));
    settings::DeleteKeyTree(HKEY_CURRENT_USER, kKey, "A");
    EXPECT_FALSE(settings::KeyExists(HKEY_CURRENT_USER, a.c_str()));
    EXPECT_TRUE(settings::KeyExists(HKEY_CURRENT_USER, kKey));
    // A parent given with its trailing backslash works the same.
    settings::WriteNumber("x", 1, HKEY_CURRENT_USER, (a + "\\Deep").c_str());
    settings::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\DspFrameworkTests\\Store\\", "A");
    EXPECT_FALSE(settings::KeyExists(HKEY_CURRENT_USER, a.c_str()));
}

TEST_F(SettingsStore, CallsWithoutRootOrPathUseTheDefault)
{
    settings::SetDefault(HKEY_CURRENT_USER, kKey);
    EXPECT_STREQ(settings::DefaultPath(), kKey);
    settings::WriteNumber("Defaulted", 77);
    EXPECT_EQ(settings::ReadNumber("Defaulted", HKEY_CURRENT_USER, kKey), 77u);
    EXPECT_EQ(settings::ReadNumber("Defaulted"), 77u);
    EXPECT_TRUE(settings::ValueExists("Defaulted"));
    settings::DeleteValue("Defaulted");
    EXPECT_FALSE(settings::ValueExists("Defaulted", HKEY_CURRENT_USER, kKey));
    // A path longer than 259 characters is cut, not overrun.
    const std::string longPath(400, 'k');
    settings::SetDefault(HKEY_CURRENT_USER, longPath.c_str());
    EXPECT_EQ(std::strlen(settings::DefaultPath()), 259u);
}

} // namespace
