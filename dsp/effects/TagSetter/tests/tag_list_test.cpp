#include "tag_list.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using tagset::AssignmentList;

// An in-memory settings store that behaves like the registry reads: a text
// that does not fit the caller's buffer is not read at all.
struct MemoryStore
{
    std::map<std::string, std::string> values;
    tagset::TextReader reader()
    {
        return [this](const std::string& name, size_t buffer) {
            auto it = values.find(name);
            if (it == values.end() || it->second.size() + 1 > buffer)
                return std::string();
            return it->second;
        };
    }
    tagset::TextWriter writer()
    {
        return [this](const std::string& name, const std::string& text) { values[name] = text; };
    }
};

TEST(TagStorage, NamesUseAtLeastTwoDigits)
{
    EXPECT_EQ(tagset::ElementValueName(0), "Tag-SetVal-Element-00");
    EXPECT_EQ(tagset::ValueValueName(7), "Tag-SetVal-Value-07");
    EXPECT_EQ(tagset::ElementValueName(99), "Tag-SetVal-Element-99");
    EXPECT_EQ(tagset::ElementValueName(100), "Tag-SetVal-Element-100");
    EXPECT_EQ(tagset::ValueValueName(123), "Tag-SetVal-Value-123");
}

TEST(TagStorage, EmptyStoreAndClearWriteOnlyTheEndMark)
{
    MemoryStore store;
    EXPECT_TRUE(tagset::LoadAssignments(store.reader()).empty());
    tagset::SaveAssignments({}, store.writer());
    EXPECT_EQ(store.values, (std::map<std::string, std::string>{{"Tag-SetVal-Element-00", ""}}));
}

TEST(TagStorage, SaveThenLoadKeepsOrderAndLeavesOldValuesUnread)
{
    MemoryStore store;
    AssignmentList three = {{"TITLE", "Song"}, {"ARTIST", "Band"}, {"YEAR", "1999"}};
    tagset::SaveAssignments(three, store.writer());
    EXPECT_EQ(store.values["Tag-SetVal-Element-00"], "TITLE");
    EXPECT_EQ(store.values["Tag-SetVal-Value-01"], "Band");
    EXPECT_EQ(store.values["Tag-SetVal-Element-03"], "");

    // The top row removed: the others move up, entry 02's element becomes the
    // end mark and its old value stays behind, unread.
    AssignmentList two(three.begin() + 1, three.end());
    tagset::SaveAssignments(two, store.writer());
    EXPECT_EQ(store.values["Tag-SetVal-Element-00"], "ARTIST");
    EXPECT_EQ(store.values["Tag-SetVal-Value-01"], "1999");
    EXPECT_EQ(store.values["Tag-SetVal-Element-02"], "");
    EXPECT_EQ(store.values["Tag-SetVal-Value-02"], "1999");
    const auto loaded = tagset::LoadAssignments(store.reader());
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0].element, "ARTIST");
    EXPECT_EQ(loaded[1].value, "1999");
}

TEST(TagStorage, AHundredAndMoreEntriesRoundTrip)
{
    MemoryStore store;
    AssignmentList many;
    for (int i = 0; i < 105; ++i)
        many.push_back({"E" + std::to_string(i), "V" + std::to_string(i)});
    tagset::SaveAssignments(many, store.writer());
    EXPECT_EQ(store.values["Tag-SetVal-Element-100"], "E100");
    EXPECT_EQ(store.values["Tag-SetVal-Value-104"], "V104");
    EXPECT_EQ(store.values["Tag-SetVal-Element-105"], "");
    const auto loaded = tagset::LoadAssignments(store.reader());
    ASSERT_EQ(loaded.size(), 105u);
    EXPECT_EQ(loaded[103].element, "E103");
    EXPECT_EQ(loaded[103].value, "V103");
}

TEST(TagStorage, TextsAreCutToTheReadBuffers)
{
    MemoryStore store;
    const std::string longElement(300, 'E'), longValue(1200, 'v');
    tagset::SaveAssignments({{longElement, longValue}}, store.writer());
    EXPECT_EQ(store.values["Tag-SetVal-Element-00"].size(), 259u);
    EXPECT_EQ(store.values["Tag-SetVal-Value-00"].size(), 999u);
    const auto loaded = tagset::LoadAssignments(store.reader());
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].value, std::string(999, 'v'));
}

TEST(TagStorage, EditsNeedARowAndText)
{
    EXPECT_TRUE(tagset::EditAccepted(0, "x"));
    EXPECT_FALSE(tagset::EditAccepted(0, ""));
    EXPECT_FALSE(tagset::EditAccepted(0, nullptr)); // cancelled
    EXPECT_FALSE(tagset::EditAccepted(-1, "x"));
}

} // namespace
