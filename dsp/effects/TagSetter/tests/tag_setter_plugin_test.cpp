// TagSetter.dll: the file is never touched, and the panel's list is driven
// through list-view messages and the element chooser.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "settings_store.h"
#include "testing/plugin_under_test.h"

namespace {

using dsp::testing::PluginUnderTest;
using dsp::testing::ReadFileBytes;
using dsp::testing::ScratchFile;
using dsp::testing::WriteFileBytes;

std::string Name(const char* kind, int n)
{
    char name[64];
    snprintf(name, sizeof name, "Tag-SetVal-%s-%02d", kind, n);
    return name;
}

std::string Numbered(const char* prefix, int n)
{
    char text[32];
    snprintf(text, sizeof text, "%s%d", prefix, n);
    return text;
}

std::vector<std::string> AllNames()
{
    std::vector<std::string> names;
    for (int n = 0; n <= 110; ++n) {
        names.push_back(Name("Element", n));
        names.push_back(Name("Value", n));
    }
    return names;
}

bool Exists(const std::string& name)
{
    return dsp::settings::ValueExists(name.c_str(), HKEY_CURRENT_USER, dsp::settings::kPluginKey);
}
std::string Stored(const std::string& name)
{
    return dsp::settings::ReadText(name.c_str(), HKEY_CURRENT_USER, dsp::settings::kPluginKey);
}
void Store(const std::string& name, const std::string& text)
{
    dsp::settings::WriteText(name.c_str(), text.c_str(), HKEY_CURRENT_USER, dsp::settings::kPluginKey);
}

struct Row
{
    std::string value, element;
    bool operator==(const Row&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Row& row)
{
    return out << "{" << row.value << ", " << row.element << "}";
}

class TagSetterTest : public ::testing::Test
{
protected:
    dsp::testing::RegistryScope registry{AllNames()};
    PluginUnderTest tags{"TagSetter.dll"};
    dsp::testing::HostWindow host;
    HWND panel = nullptr;

    void Open()
    {
        panel = tags.Show(host.Handle());
        ASSERT_NE(panel, nullptr);
    }
    void TearDown() override
    {
        if (panel)
            tags.Remove();
    }
    HWND List() const { return GetDlgItem(panel, 1011); }

    std::vector<Row> Rows() const
    {
        std::vector<Row> rows;
        const int count = static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            rows.push_back({Cell(i, 0), Cell(i, 1)});
        return rows;
    }
    std::string Cell(int row, int column) const
    {
        char text[1000] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(List(), LVM_GETITEMTEXTA, row, (LPARAM)&item);
        return text;
    }
    void Click(int id) { SendDlgItemMessageA(panel, id, BM_CLICK, 0, 0); }

    // Presses "&Add" and answers the chooser from another thread: sets its
    // text (unless null) and ends it with `command` (IDOK or WM_CLOSE).
    std::vector<std::string> AddThroughChooser(const char* text, bool close = false)
    {
        std::vector<std::string> seen;
        std::thread answer([&] {
            HWND chooser = nullptr;
            for (int i = 0; i < 600 && !chooser; ++i, Sleep(25))
                chooser = FindWindowA(nullptr, "Element To Add");
            if (!chooser)
                return;
            char shown[64] = {};
            GetDlgItemTextA(chooser, 1013, shown, sizeof shown);
            seen.push_back(shown);
            const int count = static_cast<int>(SendDlgItemMessageA(chooser, 1013, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char item[64] = {};
                SendDlgItemMessageA(chooser, 1013, CB_GETLBTEXT, i, (LPARAM)item);
                seen.push_back(item);
            }
            // Escape does not end the chooser.
            SendMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
            seen.push_back(IsWindow(chooser) ? "still open" : "closed");
            if (text)
                SetDlgItemTextA(chooser, 1013, text);
            if (close)
                PostMessageA(chooser, WM_CLOSE, 0, 0);
            else
                PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        });
        Click(1012); // runs the chooser modally until the thread ends it
        answer.join();
        return seen;
    }

    LRESULT EndEdit(int row, const char* text)
    {
        NMLVDISPINFOA info{};
        info.hdr.hwndFrom = List();
        info.hdr.idFrom = 1011;
        info.hdr.code = LVN_ENDLABELEDITA;
        info.item.iItem = row;
        info.item.pszText = const_cast<char*>(text);
        return SendMessageA(panel, WM_NOTIFY, 1011, (LPARAM)&info);
    }
};

TEST_F(TagSetterTest, WorkOnFileTouchesNothingAndSucceeds)
{
    const std::string path = ScratchFile("song.raw");
    const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5};
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    WAVEFORMATEX format = dsp::testing::MakeFormat(2, 44100, 16);
    const WAVEFORMATEX before = format;
    EXPECT_EQ(tags.Work(path, format), 1);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(0, memcmp(&format, &before, sizeof format));
    WAVEFORMATEX nothing = dsp::testing::MakeFormat(0, 0, 0);
    EXPECT_EQ(tags.Work(ScratchFile("missing.raw"), nothing), 1); // not even opened
}

TEST_F(TagSetterTest, EmptyStoreGivesEmptyListAndClearWritesOnlyTheEndMark)
{
    Open();
    EXPECT_TRUE(Rows().empty());
    char title[32] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    ASSERT_TRUE(SendMessageA(List(), LVM_GETCOLUMNA, 0, (LPARAM)&column));
    EXPECT_STREQ(title, "Value");
    EXPECT_EQ(column.cx, 240);
    ASSERT_TRUE(SendMessageA(List(), LVM_GETCOLUMNA, 1, (LPARAM)&column));
    EXPECT_STREQ(title, "Tag Element");
    EXPECT_EQ(column.cx, 75);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_FALSE(Exists(Name("Element", 0))); // opening the panel stores nothing

    Click(1014);
    EXPECT_TRUE(Exists(Name("Element", 0)));
    EXPECT_EQ(Stored(Name("Element", 0)), "");
    EXPECT_FALSE(Exists(Name("Value", 0)));
    EXPECT_FALSE(Exists(Name("Element", 1)));
}

TEST_F(TagSetterTest, AddPutsTheNewElementOnTopAndStartsEditingIt)
{
    Open();
    const auto seen = AddThroughChooser("ARTIST");
    EXPECT_EQ(seen, (std::vector<std::string>{"COMMENT", "ALBUM", "ARTIST", "COMMENT", "GENRE", "TITLE",
                                              "TRACK", "YEAR", "still open"}));
    EXPECT_NE(SendMessageA(List(), LVM_GETEDITCONTROL, 0, 0), 0); // typing over the placeholder
    AddThroughChooser("TITLE");
    EXPECT_EQ(Rows(), (std::vector<Row>{{"Type Value Here", "TITLE"}, {"Type Value Here", "ARTIST"}}));
    EXPECT_EQ(Stored(Name("Element", 0)), "TITLE");
    EXPECT_EQ(Stored(Name("Element", 1)), "ARTIST");
    EXPECT_EQ(Stored(Name("Value", 1)), "Type Value Here");
    EXPECT_EQ(Stored(Name("Element", 2)), "");

    // Closing the chooser from its title bar adds what it shows; a name typed
    // in is kept as typed; an emptied text adds nothing.
    AddThroughChooser(nullptr, true);
    AddThroughChooser("MyOwnTag");
    AddThroughChooser("");
    ASSERT_EQ(Rows().size(), 4u);
    EXPECT_EQ(Rows()[0].element, "MyOwnTag");
    EXPECT_EQ(Rows()[1].element, "COMMENT");
    EXPECT_EQ(Stored(Name("Element", 3)), "ARTIST");
}

TEST_F(TagSetterTest, LabelEditsKeepTheValueUnlessTextIsGiven)
{
    Store(Name("Element", 0), "ARTIST");
    Store(Name("Value", 0), "Band");
    Open();
    EXPECT_TRUE(EndEdit(0, "The Band"));
    EXPECT_EQ(Cell(0, 0), "The Band");
    EXPECT_EQ(Stored(Name("Value", 0)), "The Band");
    EXPECT_FALSE(EndEdit(0, ""));      // emptied: the value stays
    EXPECT_FALSE(EndEdit(0, nullptr)); // cancelled
    EXPECT_FALSE(EndEdit(-1, "x"));    // no row
    EXPECT_EQ(Cell(0, 0), "The Band");
    EXPECT_EQ(Stored(Name("Value", 0)), "The Band");

    // F2 edits the row at the selection mark.
    SendMessageA(List(), LVM_SETSELECTIONMARK, 0, 0);
    NMLVKEYDOWN key{};
    key.hdr.hwndFrom = List();
    key.hdr.idFrom = 1011;
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = VK_F2;
    SendMessageA(panel, WM_NOTIFY, 1011, (LPARAM)&key);
    EXPECT_NE(SendMessageA(List(), LVM_GETEDITCONTROL, 0, 0), 0);
}

TEST_F(TagSetterTest, RemovingTheTopRowRenumbersAndLeavesTheOldValueUnread)
{
    const char* elements[] = {"TITLE", "ARTIST", "YEAR"};
    const char* values[] = {"Song", "Band", "1999"};
    for (int n = 0; n < 3; ++n) {
        Store(Name("Element", n), elements[n]);
        Store(Name("Value", n), values[n]);
    }
    Open();
    EXPECT_EQ(Rows(), (std::vector<Row>{{"Song", "TITLE"}, {"Band", "ARTIST"}, {"1999", "YEAR"}}));
    SendMessageA(List(), LVM_SETSELECTIONMARK, 0, 0);
    Click(1013);
    EXPECT_EQ(Rows(), (std::vector<Row>{{"Band", "ARTIST"}, {"1999", "YEAR"}}));
    EXPECT_EQ(Stored(Name("Element", 0)), "ARTIST");
    EXPECT_EQ(Stored(Name("Value", 1)), "1999");
    EXPECT_EQ(Stored(Name("Element", 2)), "");
    EXPECT_EQ(Stored(Name("Value", 2)), "1999");
    tags.Remove();
    panel = nullptr;
    Open();
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(TagSetterTest, AHundredAndMoreEntriesUseThreeDigits)
{
    for (int n = 0; n < 105; ++n) {
        Store(Name("Element", n), Numbered("E", n));
        Store(Name("Value", n), Numbered("V", n));
    }
    Open();
    ASSERT_EQ(Rows().size(), 105u);
    EXPECT_EQ(Rows()[104], (Row{"V104", "E104"}));
    AddThroughChooser("GENRE");
    EXPECT_EQ(Stored("Tag-SetVal-Element-105"), "E104");
    EXPECT_EQ(Stored("Tag-SetVal-Element-106"), "");
    EXPECT_EQ(Stored("Tag-SetVal-Element-00"), "GENRE");
}

} // namespace
