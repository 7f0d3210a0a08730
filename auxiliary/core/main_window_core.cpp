#include "main_window_core.h"

#include "leading_number.h"
#include "recording_job.h"

#include <cstdio>

namespace auxiliary {

const char* const kGenres[kGenreCount] = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "AlternRock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A capella",
    "Euro-House",
    "Dance Hall",
    "Undefined",
    "Undefined",
};

std::string TrackName(int number)
{
    char text[16];
    std::snprintf(text, sizeof text, "Track%02d", number);
    return text;
}

int TrackCountFromText(std::string_view text)
{
    const long count = LeadingNumber(text);
    if (count < 0)
        return 0;
    return count > kMaxTracks ? kMaxTracks : static_cast<int>(count);
}

std::vector<std::string> YearChoices(int currentYear)
{
    std::vector<std::string> years;
    for (int year = currentYear; year >= 1995 || year == currentYear; --year)
        years.push_back(std::to_string(year));
    return years;
}

SmartLengthFields SmartLengthToFields(std::string_view text)
{
    long minutes = 0, seconds = 0;
    const size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        minutes = LeadingNumber(text.substr(0, colon));
        seconds = LeadingNumber(text.substr(colon + 1));
    } else {
        seconds = LeadingNumber(text);
    }
    SmartLengthFields fields;
    if (minutes != 0)
        fields.minutes = std::to_string(minutes);
    if (minutes != 0 || seconds != 0)
        fields.seconds = std::to_string(seconds);
    return fields;
}

std::string SmartLengthFromFields(std::string_view minutesText, std::string_view secondsText)
{
    const long minutes = LeadingNumber(minutesText);
    const long seconds = LeadingNumber(secondsText);
    char text[48];
    if (minutes != 0)
        std::snprintf(text, sizeof text, "%ld:%02ld", minutes, seconds);
    else if (seconds != 0)
        std::snprintf(text, sizeof text, "%ld", seconds);
    else
        text[0] = '\0';
    return text;
}

int ScaleX(int a, int dpi)
{
    if (dpi == 96)
        return a;
    return dpi * (a * 106 / 100) / 96;
}

int ScaleY(int b, int dpi)
{
    return b * dpi / 96;
}

int HeaderHeight(int dpi)
{
    return ScaleX(45, dpi);
}

MainLayout LayoutMainWindow(int clientWidth, int clientHeight, int dpi)
{
    auto notNegative = [](int v) { return v < 0 ? 0 : v; };
    MainLayout layout;
    const int top = HeaderHeight(dpi) + ScaleY(22, dpi) + 13;
    // The status band's pixel sizes are those of 96 dpi; above it they grow
    // with the text, which the system draws larger.
    layout.list = {7, top, notNegative(clientWidth - 14), notNegative(clientHeight - top - ScaleY(24, dpi))};
    layout.statusFrame = {2, clientHeight - ScaleY(20, dpi), notNegative(clientWidth - 4), ScaleY(18, dpi)};
    layout.statusText = {6, clientHeight - ScaleY(18, dpi), ScaleX(200, dpi), ScaleY(14, dpi)};
    return layout;
}

} // namespace auxiliary
