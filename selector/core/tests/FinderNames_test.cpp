#include "core/FinderNames.h"

#include <gtest/gtest.h>

using namespace cb;

TEST(FinderNames, DriveRootsComeInLetterOrderFromTheMask)
{
    struct Case
    {
        std::uint32_t mask;
        std::vector<std::string> roots;
    };
    const Case cases[] = {
        {0, {}},
        {1u << 0, {"A:\\"}},
        {1u << 25, {"Z:\\"}},
        {(1u << 3) | (1u << 2), {"C:\\", "D:\\"}},
        {(1u << 25) | (1u << 4) | (1u << 1), {"B:\\", "E:\\", "Z:\\"}},
        {0xFC000000u | (1u << 2), {"C:\\"}}, // bits above Z are no drives
    };
    for (const Case& c : cases)
        EXPECT_EQ(DriveRootsInOrder(c.mask), c.roots) << "mask " << std::hex << c.mask;
}

TEST(FinderNames, TheMarkerMatchesInAnyLetterCaseAndNothingElse)
{
    struct Case
    {
        const char* name;
        bool marker;
    };
    const Case cases[] = {
        {"WONAuth.dll", true},
        {"wonauth.dll", true},
        {"WONAUTH.DLL", true},
        {"wOnAuTh.DlL", true},
        {"WONAuth.dl", false},
        {"WONAuth.dll ", false},
        {"WONAuth_dll", false},
        {"XWONAuth.dll", false},
        {"WONAuth.dll.bak", false},
        {"", false},
        {".", false},
    };
    const std::string upper = "WONAUTH.DLL";
    for (const Case& c : cases)
        EXPECT_EQ(IsMarkerEntry(c.name, upper), c.marker) << "name \"" << c.name << "\"";
    // Only a to z are folded: a byte outside them must match exactly.
    EXPECT_TRUE(IsMarkerEntry("caf\xe9", "CAF\xe9"));
    EXPECT_FALSE(IsMarkerEntry("caf\xe9", "CAF\xc9"));
}
