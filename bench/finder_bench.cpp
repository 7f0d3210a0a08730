// Times PathFinder over the fixed drives of the prefix it runs in (see
// bench/finder.sh) with its label on the screen, and measures how long a
// stop request, arriving as a window message as Cancel's click does, takes to
// end the search. Prints key=value lines for the script.
#include "seconds_clock.h"
#include "Tpathfinder.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <string>
#include <thread>

namespace {

// The least any walk of the drives must do under this system: list every
// directory once, with no label, no messages and no name checks.
unsigned long long BareWalk(std::string& dir)
{
    unsigned long long count = 1;
    std::size_t length = dir.size();
    dir += "*.*";
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(dir.c_str(), &fd);
    dir.resize(length);
    if (h == INVALID_HANDLE_VALUE)
        return count;
    do {
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::strcmp(fd.cFileName, ".") != 0 &&
            std::strcmp(fd.cFileName, "..") != 0) {
            dir += fd.cFileName;
            dir += '\\';
            count += BareWalk(dir);
            dir.resize(length);
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return count;
}

LRESULT CALLBACK StopperProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP) {
        Finder().Stop();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

int main(int argc, char** argv)
{
    // argv[1]: the drive the bare walk lists.
    std::string bareRoot = argc > 1 ? argv[1] : "D:\\";
    HWND frame = CreateWindowExA(0, "STATIC", "finder_bench", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 500,
                                 30, nullptr, nullptr, nullptr, nullptr);
    HWND label = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 4, 4, 490, 20, frame, nullptr,
                                 nullptr, nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = StopperProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FinderBenchStopper";
    RegisterClassA(&wc);
    HWND stopper = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    if (!label || !stopper) {
        std::fprintf(stderr, "no windows (is there a display?)\n");
        return 2;
    }

    PathFinder& finder = Finder();
    finder.SetStatusLabel(label);
    long updates = 0;
    double last = 0, longestGap = 0;
    finder.SetProgressCallback([&](const std::string&) {
        double t = Now();
        if (updates++ > 0)
            longestGap = std::max(longestGap, t - last);
        last = t;
    });

    // The bare walk and the whole search take turns, twice, and the faster
    // run of each counts: the machine's load moves between runs.
    double seconds = 0, bareSeconds = 0;
    unsigned long long bare = 0;
    for (int round = 0; round < 2; ++round) {
        double start = Now();
        std::string root = bareRoot;
        bare = BareWalk(root);
        double took = Now() - start;
        bareSeconds = round == 0 ? took : std::min(bareSeconds, took);

        updates = 0;
        start = Now();
        finder.Find();
        took = Now() - start;
        seconds = round == 0 ? took : std::min(seconds, took);
    }
    std::printf("directories=%llu\n", static_cast<unsigned long long>(finder.DirectoriesSearched()));
    std::printf("seconds=%.3f\n", seconds);
    std::printf("results=%zu\n", finder.ResultList() ? finder.ResultList()->size() : 0);
    if (finder.ResultList())
        for (const std::string& r : *finder.ResultList())
            std::printf("result=%s\n", r.c_str());
    std::printf("label_updates=%ld\n", updates);
    std::printf("longest_gap_ms=%.1f\n", longestGap * 1000);
    std::printf("bare_directories=%llu\n", bare);
    std::printf("bare_seconds=%.3f\n", bareSeconds);

    // Stop requests posted at different moments early in a search.
    double worst = 0;
    const DWORD delays[] = {100, 400, 900};
    for (int i = 0; i < 3; ++i) {
        double posted = 0;
        DWORD delay = delays[i];
        std::thread poster([&] {
            Sleep(delay);
            posted = Now();
            PostMessageA(stopper, WM_APP, 0, 0);
        });
        finder.Find();
        double ended = Now();
        poster.join();
        if (posted > 0 && ended >= posted)
            worst = std::max(worst, ended - posted);
        else
            std::printf("note=search %d ended before its stop request\n", i);
    }
    std::printf("worst_stop_ms=%.1f\n", worst * 1000);
    DestroyWindow(stopper);
    DestroyWindow(frame);
    return 0;
}
