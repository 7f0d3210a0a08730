// The playlist of a recording as text: log lines, names, relative entry paths
// and the M3U and PLS layouts byte for byte, line breaks in tags and names
// included.
#include "playlist_text.h"

#include "file_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace auxiliary;
using Files = std::vector<std::string>;

TEST(AuxPlaylistText, LogLinesNameTheWrittenFilesAndErrorOrEmptyLinesAreSkipped)
{
    struct Case
    {
        const char* name;
        std::string log;
        Files files;
    } cases[] = {
        {"empty log", "", {}},
        {"CR LF", "C:\\a.mp3\r\nC:\\b.mp3\r\n", {"C:\\a.mp3", "C:\\b.mp3"}},
        {"LF only, no final end", "C:\\a.mp3\nC:\\b.mp3", {"C:\\a.mp3", "C:\\b.mp3"}},
        {"CR only", "C:\\a.mp3\rC:\\b.mp3\r", {"C:\\a.mp3", "C:\\b.mp3"}},
        {"error anywhere", "[ERROR] track 1\r\nC:\\b.mp3\r\nC:\\c.mp3 [ERROR]\r\n", {"C:\\b.mp3"}},
        {"error mark is case-sensitive", "[error] C:\\x.mp3\r\n", {"[error] C:\\x.mp3"}},
        {"blank lines", "\r\n\r\nC:\\a.mp3\r\n\r\n", {"C:\\a.mp3"}},
        {"only errors", "[ERROR]\r\n[ERROR] again\r\n", {}},
        {"long line cut at 520",
         std::string(600, 'x') + "\r\nC:\\b.mp3",
         {std::string(520, 'x'), "C:\\b.mp3"}},
        {"a NUL ends its line",
         std::string("C:\\a.mp3\0garbage\r\n\0\0\r\nC:\\b.mp3", 30),
         {"C:\\a.mp3", "C:\\b.mp3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ConvertedFiles(c.log), c.files);
    }
}

TEST(AuxPlaylistText, EntryPathsAreMadeRelativeToThePlaylistFolder)
{
    struct Case
    {
        const char* folder;
        const char* path;
        const char* written;
    } cases[] = {
        {"C:\\Music\\Lists\\", "C:\\Music\\Lists\\Album\\01.mp3", "Album\\01.mp3"},
        {"C:\\Music\\Lists\\", "C:\\Music\\Lists\\01.mp3", "01.mp3"},
        {"C:\\Music\\Lists\\", "C:\\Rec\\01.mp3", "\\Rec\\01.mp3"},
        {"C:\\Music\\Lists\\", "C:\\Music\\Other\\01.mp3", "\\Music\\Other\\01.mp3"},
        {"C:\\Music\\Lists\\", "D:\\Rec\\01.mp3", "D:\\Rec\\01.mp3"},
        {"C:\\Music\\Lists\\", "c:\\music\\lists\\01.mp3", "c:\\music\\lists\\01.mp3"},
        {"\\\\srv\\share\\Lists\\", "\\\\srv\\share\\Rec\\01.mp3", "\\\\srv\\share\\Rec\\01.mp3"},
        {"C:\\Music\\Lists\\", "C:01.mp3", "C:01.mp3"},
        {"", "C:\\Rec\\01.mp3", "C:\\Rec\\01.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RelativeEntryPath(c.folder, c.path), c.written);
    }
}

TEST(AuxPlaylistText, ArtistAndTitleComeFromTheFileNameOnlyWhenBothAreEmpty)
{
    struct Case
    {
        const char* path;
        const char* artistBefore;
        const char* artist;
        const char* title;
    } cases[] = {
        {"C:\\Out\\Artist - Song.mp3", "", "Artist", "Song"},
        {"C:\\Out\\Artist-Song-Remix.mp3", "", "Artist", "Song-Remix"},
        {"C:\\Out\\Just a name.ogg", "", "", "Just a name"},
        {"C:\\Out.d\\  Spaced  -  Out  ", "", "Spaced", "Out"},
        {"C:\\Out\\Artist - Song.mp3", "Tagged", "Tagged", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TrackRecord r{};
        SetField(r.artist, c.artistBefore);
        TrackDataFromFileName(r, c.path);
        EXPECT_EQ(FieldText(r.artist), c.artist);
        EXPECT_EQ(FieldText(r.title), c.title);
    }

    TrackRecord r{};
    TrackDataFromFileName(r, "C:\\" + std::string(150, 'a') + " - " + std::string(150, 'b') + ".mp3");
    EXPECT_EQ(FieldText(r.artist), std::string(99, 'a'));
    EXPECT_EQ(FieldText(r.title), std::string(98, 'b')) << "cut at 99 characters, then the blank trimmed";
}

const std::vector<PlaylistEntry> kEntries = {
    {"C:\\Lists\\Album\\01.mp3", "X - One", 187999},
    {"D:\\Rec\\02.mp3", "X - Two", 999},
};

TEST(AuxPlaylistText, M3uAndPlsLayoutsByteForByte)
{
    EXPECT_EQ(M3uText("C:\\Lists\\", kEntries), "#EXTM3U\r\n"
                                                "#EXTINF:187,X - One\r\n"
                                                "Album\\01.mp3\r\n"
                                                "#EXTINF:0,X - Two\r\n"
                                                "D:\\Rec\\02.mp3\r\n");
    EXPECT_EQ(PlsText("C:\\Lists\\", kEntries), "[playlist]\r\n"
                                                "File1=Album\\01.mp3\r\n"
                                                "Title1=X - One\r\n"
                                                "Length1=187\r\n"
                                                "File2=D:\\Rec\\02.mp3\r\n"
                                                "Title2=X - Two\r\n"
                                                "Length2=0\r\n"
                                                "NumberOfEntries=2\r\n"
                                                "Version=2\r\n");
    EXPECT_EQ(PlaylistText("C:\\Lists\\x.m3u", {}), "#EXTM3U\r\n");
    EXPECT_EQ(PlaylistText("C:\\Lists\\x.pls", {}), "[playlist]\r\nNumberOfEntries=0\r\nVersion=2\r\n");
    EXPECT_EQ(PlaylistText("C:\\Lists\\x.M3u", kEntries), M3uText("C:\\Lists\\", kEntries));
    EXPECT_EQ(PlaylistText("C:\\Lists\\x.lst", kEntries), PlsText("C:\\Lists\\", kEntries));
    EXPECT_EQ(PlaylistRawName("C:\\Lists", "%a - %l", kPlaylistM3u), "C:\\Lists\\%a - %l.m3u");
    EXPECT_EQ(PlaylistRawName("C:\\Lists\\", "%a", kPlaylistPls), "C:\\Lists\\%a.pls");
}

// The bytes of a one-entry playlist in "C:\Lists\" whose entry is written
// with these title and path texts and a length of 61 seconds.
std::string OneEntryM3u(const std::string& title, const std::string& path)
{
    return "#EXTM3U\r\n#EXTINF:61," + title + "\r\n" + path + "\r\n";
}

std::string OneEntryPls(const std::string& title, const std::string& path)
{
    return "[playlist]\r\nFile1=" + path + "\r\nTitle1=" + title +
           "\r\nLength1=61\r\nNumberOfEntries=1\r\nVersion=2\r\n";
}

TEST(AuxPlaylistText, EachCrOrLfInATitleOrPathIsWrittenAsASpaceInBothLayouts)
{
    struct Case
    {
        const char* name;
        PlaylistEntry entry;
        std::string title; // as written
        std::string path;  // as written
    } cases[] = {
        {"no break", {"C:\\Lists\\01.mp3", "X - One", 61000}, "X - One", "01.mp3"},
        {"CR in the title", {"C:\\Lists\\01.mp3", "X - O\rne", 61000}, "X - O ne", "01.mp3"},
        {"LF in the title", {"C:\\Lists\\01.mp3", "X - O\nne", 61000}, "X - O ne", "01.mp3"},
        {"CR LF in the title", {"C:\\Lists\\01.mp3", "X - O\r\nne", 61000}, "X - O  ne", "01.mp3"},
        {"breaks at both ends of the title", {"C:\\Lists\\01.mp3", "\r\nX\n\r", 61000}, "  X  ", "01.mp3"},
        {"a title of breaks only", {"C:\\Lists\\01.mp3", "\n\r\n", 61000}, "   ", "01.mp3"},
        {"CR in the path", {"C:\\Lists\\Al\rbum\\01.mp3", "T", 61000}, "T", "Al bum\\01.mp3"},
        {"LF in the path", {"C:\\Lists\\Al\nbum\\01.mp3", "T", 61000}, "T", "Al bum\\01.mp3"},
        {"CR LF in the path", {"C:\\Lists\\Al\r\nbum\\01.mp3", "T", 61000}, "T", "Al  bum\\01.mp3"},
        {"CR LF in a path outside the folder",
         {"D:\\Re\r\nc\\0\r2.mp3", "T", 61000},
         "T",
         "D:\\Re  c\\0 2.mp3"},
        {"CR LF in a folder that differs from the playlist's",
         {"C:\\Li\r\nsts\\01.mp3", "T", 61000},
         "T",
         "\\Li  sts\\01.mp3"},
        {"breaks in both", {"C:\\Lists\\0\n1.mp3", "A\r- B\n", 61000}, "A - B ", "0 1.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(M3uText("C:\\Lists\\", {c.entry}), OneEntryM3u(c.title, c.path));
        EXPECT_EQ(PlsText("C:\\Lists\\", {c.entry}), OneEntryPls(c.title, c.path));
        EXPECT_EQ(PlaylistText("C:\\Lists\\x.m3u", {c.entry}), OneEntryM3u(c.title, c.path));
        EXPECT_EQ(PlaylistText("C:\\Lists\\x.pls", {c.entry}), OneEntryPls(c.title, c.path));
    }
}

TEST(AuxPlaylistText, BreaksInTaggedArtistsAndTitlesLeaveEveryEntryOnItsOwnLines)
{
    // The recorder's own way to an entry title: the track's tags expanded
    // with the entry template, then the playlist written from the entries.
    struct Case
    {
        const char* name;
        const char* artist;
        const char* title;
        const char* written;
    } cases[] = {
        {"CR in the artist", "Var\rnette", "Rain", "Var nette - Rain"},
        {"LF in the artist", "Var\nnette", "Rain", "Var nette - Rain"},
        {"CR LF in the artist", "Var\r\nnette", "Rain", "Var  nette - Rain"},
        {"CR in the title", "Varnette", "Ra\rin", "Varnette - Ra in"},
        {"LF in the title", "Varnette", "Ra\nin", "Varnette - Ra in"},
        {"CR LF in the title", "Varnette", "Ra\r\nin", "Varnette - Ra  in"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrackRecord track{};
        SetField(track.artist, c.artist);
        SetField(track.title, c.title);
        MemoryUniqueSource unique;
        const std::vector<PlaylistEntry> entries = {
            {"C:\\Lists\\01.mp3", ExpandTemplate(kEntryTitleTemplate, track, "", unique), 61000},
            {"C:\\Lists\\02.mp3", "X - Two", 2000},
        };
        const std::string written = c.written;
        EXPECT_EQ(M3uText("C:\\Lists\\", entries), "#EXTM3U\r\n"
                                                   "#EXTINF:61," +
                                                       written +
                                                       "\r\n"
                                                       "01.mp3\r\n"
                                                       "#EXTINF:2,X - Two\r\n"
                                                       "02.mp3\r\n");
        EXPECT_EQ(PlsText("C:\\Lists\\", entries), "[playlist]\r\n"
                                                   "File1=01.mp3\r\n"
                                                   "Title1=" +
                                                       written +
                                                       "\r\n"
                                                       "Length1=61\r\n"
                                                       "File2=02.mp3\r\n"
                                                       "Title2=X - Two\r\n"
                                                       "Length2=2\r\n"
                                                       "NumberOfEntries=2\r\n"
                                                       "Version=2\r\n");
    }
}

} // namespace
