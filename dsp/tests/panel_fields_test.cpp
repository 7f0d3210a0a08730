// Every number field of every plug-in panel against entries its setting
// cannot hold, typed into the real panel: the field shows its last valid
// text again and the stored settings are as that valid text left them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/plugin_support.h"

namespace {

using namespace dsp::testing;

// Refused by every field: numbers that are not finite, and numbers no
// setting of these panels can hold.
const std::vector<std::string> kNeverNumbers = {"nan", "inf", "-inf", "1e999", "99999999999999999999"};

struct FieldRow
{
    const char* dll;
    int field;
    const char* valid;                // taken first
    std::vector<std::string> refused; // besides kNeverNumbers
    std::vector<const char*> settings;
    int reset = 0; // a button pressed before each entry
    int apply = 0; // a button pressed after each entry
};

const char* const kFaderIn = "Vol-Fade-InLength";
const char* const kFaderOut = "Vol-Fade-OutLength";
const char* const kInsertStart = "Silence-LenStart-mSec";
const char* const kInsertEnd = "Silence-Len-mSec";
const char* const kMinLength = "Min-Len-mSec";
const char* const kGrabLength = "Sound-Grabber-Len";
const char* const kGrabPosition = "Sound-Grabber-Position";
const char* const kTrimBegin = "Trim-Begin-Len";
const char* const kTrimEnd = "Trim-End-Len";
const char* const kQuieten = "Vol-Quiet-PCLessenBy";
const char* const kLevel = "Silence-Remove-Level";
const char* const kWindow = "Silence-DetectionThresholdms";
const char* const kMoveFrom = "ChannelMove-ch-from-0";
const char* const kMoveTo = "ChannelMove-ch-to-0";
const char* const kMoveEnd = "ChannelMove-ch-from-1";

// A row of minutes, seconds and milliseconds edits (consecutive
// identifiers): negative fields and totals past 4294967295 ms are refused.
void AddClockRow(std::vector<FieldRow>& rows, const char* dll, int minutes, std::vector<const char*> settings)
{
    rows.push_back({dll, minutes, "3", {"-5", "71583"}, settings});
    rows.push_back({dll, minutes + 1, "75", {"-1", "4294968"}, settings});
    rows.push_back({dll, minutes + 2, "5", {"-5", "4294967296"}, settings});
}

std::vector<FieldRow> AllFields()
{
    std::vector<FieldRow> rows = {
        {"Fader.dll", 1004, "1234", {"-5", "2147483648"}, {kFaderIn, kFaderOut}},
        {"Fader.dll", 1005, "99", {"-1", "4294967295"}, {kFaderIn, kFaderOut}},
        {"MinLength.dll", 1006, "71582", {"71583"}, {kMinLength}}, // the most minutes
        {"MinLength.dll", 1008, "4294967295", {"4294967296"}, {kMinLength}},
        {"Quietener.dll", 1004, "35", {"-5", "101", "150"}, {kQuieten}},
        {"Quietener.dll", 1009, "-6", {"12", "0.09"}, {kQuieten}},
        {"SilenceRemover.dll", 1004, "2.25", {"21474836.48", "-21474836.48"}, {kLevel, kWindow}},
        {"SilenceRemover.dll", 1005, "-33.0", {"200"}, {kLevel, kWindow}},
        // Any 32-bit number is a window (0 or less gives 50, above 750 gives 750).
        {"SilenceRemover.dll", 1012, "900", {"2147483648", "-2147483649"}, {kLevel, kWindow}},
        // The moves are stored by "Add" (1014); "Clear All" (1015) comes first.
        {"ChannelMover.dll", 1016, "3", {"-5", "2147483648"}, {kMoveFrom, kMoveTo, kMoveEnd}, 1015, 1014},
        {"ChannelMover.dll", 1017, "4", {"-1", "2147483648"}, {kMoveFrom, kMoveTo, kMoveEnd}, 1015, 1014},
    };
    AddClockRow(rows, "SilenceInserter.dll", 1012, {kInsertStart, kInsertEnd});
    AddClockRow(rows, "SilenceInserter.dll", 1006, {kInsertStart, kInsertEnd});
    AddClockRow(rows, "MinLength.dll", 1006, {kMinLength});
    AddClockRow(rows, "Grabber.dll", 1011, {kGrabLength, kGrabPosition});
    AddClockRow(rows, "Grabber.dll", 1016, {kGrabLength, kGrabPosition});
    AddClockRow(rows, "Trimmer.dll", 1011, {kTrimBegin, kTrimEnd});
    AddClockRow(rows, "Trimmer.dll", 1016, {kTrimBegin, kTrimEnd});
    return rows;
}

void Press(HWND panel, int id)
{
    if (id != 0)
        SendMessageA(panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(panel, id)));
}

// Types `text` the way a user's entry reaches the panel (the edit reports the
// change), with the row's buttons around it; returns the stored settings.
std::vector<uint32_t> Enter(HWND panel, const FieldRow& row, const std::string& text)
{
    Press(panel, row.reset);
    SetDlgItemTextA(panel, row.field, text.c_str());
    Press(panel, row.apply);
    std::vector<uint32_t> stored;
    for (const char* name : row.settings)
        stored.push_back(GetNumber(name));
    return stored;
}

TEST(PanelFields, EveryNumberFieldRefusesWhatItsSettingCannotHold)
{
    for (const FieldRow& row : AllFields()) {
        SCOPED_TRACE(std::string(row.dll) + " field " + std::to_string(row.field));
        RegistryScope reg(std::vector<std::string>(row.settings.begin(), row.settings.end()));
        PluginUnderTest plugin(row.dll);
        HostWindow host;
        HWND panel = plugin.Show(host.Handle());
        ASSERT_NE(panel, nullptr);

        const std::vector<uint32_t> valid = Enter(panel, row, row.valid);
        ASSERT_EQ(Text(panel, row.field), row.valid);
        std::vector<std::string> refused = kNeverNumbers;
        refused.insert(refused.end(), row.refused.begin(), row.refused.end());
        for (const std::string& text : refused) {
            SCOPED_TRACE(text);
            EXPECT_EQ(Enter(panel, row, text), valid);
            EXPECT_EQ(Text(panel, row.field), row.valid);
        }
        plugin.Remove();
    }
}

// What the valid entries above store, so that the comparison cannot pass
// with nothing stored.
TEST(PanelFields, ValidEntriesAreStoredAsBefore)
{
    struct Case
    {
        const char* dll;
        int field;
        const char* text;
        const char* setting;
        uint32_t stored;
    } cases[] = {
        {"Fader.dll", 1004, "2147483647", kFaderIn, 2147483647u},
        {"MinLength.dll", 1006, "71582", kMinLength, 71582u * 60000u},
        {"Trimmer.dll", 1018, "4294967295", kTrimEnd, 4294967295u},
        {"Grabber.dll", 1012, "+75", kGrabLength, 75000u},
        {"SilenceInserter.dll", 1008, " 12abc", kInsertEnd, 12u},
        {"Quietener.dll", 1004, "100", kQuieten, 100u},
        {"Quietener.dll", 1009, "0.08", kQuieten, 100u},
        {"SilenceRemover.dll", 1012, "-5", kWindow, 50u},
        {"SilenceRemover.dll", 1012, "2147483647", kWindow, 750u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dll) + " " + c.text);
        RegistryScope reg({c.setting});
        PluginUnderTest plugin(c.dll);
        HostWindow host;
        HWND panel = plugin.Show(host.Handle());
        ASSERT_NE(panel, nullptr);
        SetDlgItemTextA(panel, c.field, c.text);
        EXPECT_EQ(Text(panel, c.field), c.text);
        EXPECT_EQ(GetNumber(c.setting), c.stored);
        plugin.Remove();
    }
}

} // namespace
