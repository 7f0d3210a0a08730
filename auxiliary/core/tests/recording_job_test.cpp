// The recording job: job-file records, the list bound, the track record,
// smart lengths, years and the converter's command lines. (The job of a
// partly checked list is checked byte for byte with the converter stand-in.)
#include "recording_job.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace auxiliary;

std::string Record(std::string_view text)
{
    std::string r(text);
    r.resize(kJobRecordSize, '\0');
    return r;
}

TEST(AuxRecordingJob, RecordsAreTerminatedZeroPaddedAndCutAt259Characters)
{
    struct Case
    {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"", std::string(260, '\0')},
        {"\\\\Aux\\Track01.aux", Record("\\\\Aux\\Track01.aux")},
        {std::string(259, 'a'), std::string(259, 'a') + '\0'},
        {std::string(400, 'b'), std::string(259, 'b') + '\0'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        const JobRecord r = MakeJobRecord(c.text);
        EXPECT_EQ(std::string(r.data(), r.size()), c.bytes);
    }
}

TEST(AuxRecordingJob, NoCheckedTrackGivesEmptyFilesOnlyNinetyNinePositionsCountAndNamesAreCutAt250)
{
    const AlbumFields album;
    auto name = [](const TrackRecord& r, std::string_view) { return std::string(300, r.title[0]); };
    std::vector<RecordingTrack> none(3, RecordingTrack{"x", "", false});
    const RecordingJob empty = BuildRecordingJob(none, album, name);
    EXPECT_TRUE(JobFileBytes(empty.inputs).empty());
    EXPECT_TRUE(JobFileBytes(empty.outputs).empty());

    std::vector<RecordingTrack> many(120, RecordingTrack{"t", "", true});
    const RecordingJob job = BuildRecordingJob(many, album, name);
    ASSERT_EQ(job.trackNumbers.size(), 99u);
    EXPECT_EQ(job.trackNumbers.back(), 99);
    EXPECT_EQ(std::string(job.inputs.back().data()), "\\\\Aux\\Track99.aux");
    EXPECT_EQ(std::string(job.outputs[0].data(), job.outputs[0].size()), Record(std::string(250, 't')));
}

TEST(AuxRecordingJob, TrackRecordCarriesTheFieldsAtTheirOffsetsAndZeroesTheRest)
{
    const AlbumFields album{"Artist", "Album", "Genre", "Comment", "2001"};
    const TrackRecord r = TrackRecordFor(RecordingTrack{"Name", "1:00", true}, 7, album);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    std::string expected(648, '\0');
    expected.replace(0, 6, "Artist");
    expected.replace(100, 4, "Name");
    expected.replace(200, 5, "Album");
    expected.replace(300, 4, "Name");
    expected[610] = static_cast<char>(2001 & 0xFF);
    expected[611] = static_cast<char>(2001 >> 8);
    expected[644] = 7;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), 648), expected);
}

TEST(AuxRecordingJob, SmartLengthsAreMinutesTimesSixtyPlusSeconds)
{
    struct Case
    {
        const char* text;
        uint32_t seconds;
    } cases[] = {
        {"3:07", 187},
        {"45", 45},
        {"", 0},
        {"2:00", 120},
        {":30", 30},
        {"7:", 420},
        {"abc", 0},
        {"1:2x", 62},
        {"99999999999", 0xFFFFFFFFu},
        {"71582789:0", 0xFFFFFFFFu},
        {"0:0", 0},
        {"12:345", 1065},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SmartLengthSeconds(c.text), c.seconds);
    }
}

TEST(AuxRecordingJob, YearIsADecimalNumberThatFitsSixteenBitsOrZero)
{
    struct Case
    {
        const char* text;
        int16_t year;
    } cases[] = {
        {"1992", 1992},  {"", 0},    {"abc", 0},   {"2001a", 2001},
        {" 1980", 1980}, {"-5", -5}, {"70000", 0}, {"32767", 32767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(YearFromText(c.text), c.year);
    }
}

TEST(AuxRecordingJob, YearsAtTheEdgesOfSixteenBitsAndAroundTheSignKeepOrLoseTheirValue)
{
    struct Case
    {
        const char* text;
        int16_t year;
    } cases[] = {
        {"-32769", 0},
        {"-32768", -32768},
        {"-32767", -32767},
        {"-1", -1},
        {"0", 0},
        {"-0", 0},
        {"+0", 0},
        {"1", 1},
        {"32767", 32767},
        {"+32767", 32767},
        {"32768", 0},
        {"+32768", 0},
        {"-65536", 0},
        {"65535", 0},
        {"-99999999999999999999", 0},
        {"99999999999999999999", 0},
        {"-0032768", -32768},
        {"000032767", 32767},
        {"  -32768", -32768},
        {" +1992", 1992},
        {"-32768 AD", -32768},
        {"1992 ", 1992},
        {"", 0},
        {"   ", 0},
        {"-", 0},
        {"+", 0},
        {"- 5", 0},
        {"+-5", 0},
        {"-+5", 0},
        {"--5", 0},
        {"\t5", 0},
        {"x-5", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(YearFromText(c.text), c.year);
    }
}

TEST(AuxRecordingJob, EverySixteenBitYearReachesTheTrackRecordAsItself)
{
    for (int year = -32768; year <= 32767; ++year) {
        ASSERT_EQ(YearFromText(std::to_string(year)), year) << year;
        if (year >= 0) {
            ASSERT_EQ(YearFromText("+" + std::to_string(year)), year) << year;
        }
    }
    AlbumFields album;
    album.year = "-32768";
    EXPECT_EQ(TrackRecordFor({"Song", "", true}, 1, album).year, -32768);
    album.year = "32767";
    EXPECT_EQ(TrackRecordFor({"Song", "", true}, 1, album).year, 32767);
}

TEST(AuxRecordingJob, CommandLinesQuoteTheConverterAndAppendTheCodecWithoutABlank)
{
    EXPECT_EQ(ConverterCommandLine("C:\\PROG\\", true, "Mp3 (Lame)"),
              "\"C:\\PROG\\Recaster.exe\" <Profile>AuxInput <UseLastSettings>");
    EXPECT_EQ(ConverterCommandLine("C:\\PROG\\", false, "Mp3 (Lame)"),
              "\"C:\\PROG\\Recaster.exe\" <Profile>AuxInput <ConvertTo>Mp3 (Lame)");
}

} // namespace
