#include "Tpathfinder.h"

#include "core/FinderNames.h"

#include <cstring>

namespace {

// Entries are read until this many have been seen before the clock is looked
// at again inside one directory, so a folder of many thousand files neither
// freezes the window nor delays Stop.
constexpr unsigned kEntriesPerCheck = 512;

} // namespace

PathFinder::PathFinder() = default;
PathFinder::~PathFinder() = default;

void PathFinder::ShowCurrentDirectory(const std::string& path)
{
    if (m_StatusLabel)
        SetWindowTextA(m_StatusLabel, path.c_str());
}

bool PathFinder::Find()
{
    if (m_Searching)
        return false;
    // Cleared however the search ends, a throw included.
    struct Searching
    {
        bool& flag;
        ~Searching() { flag = false; }
    } searching{m_Searching = true};
    auto list = std::make_unique<std::vector<std::string>>();
    DWORD drives = GetLogicalDrives();
    m_Results.reset();
    m_Stop.store(false, std::memory_order_relaxed);
    m_Directories = 0;

    std::string upperTarget = cb::kMarkerFile;
    CharUpperBuffA(upperTarget.data(), static_cast<DWORD>(upperTarget.size()));

    std::string dir;
    dir.reserve(MAX_PATH * 2);
    for (const std::string& root : cb::DriveRootsInOrder(drives)) {
        if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED)
            continue;
        Progress(root, true);
        dir = root;
        SearchDirectory(dir, upperTarget, *list);
    }
    m_Results = std::move(list);
    return true;
}

void PathFinder::SearchDirectory(std::string& dir, const std::string& upperTarget,
                                 std::vector<std::string>& list)
{
    if (m_Stop.load(std::memory_order_relaxed))
        return;
    ++m_Directories;
    const std::size_t length = dir.size();
    dir += "*.*";
    WIN32_FIND_DATAA fd;
    HANDLE listing = FindFirstFileExA(dir.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                                      FIND_FIRST_EX_LARGE_FETCH);
    dir.resize(length);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    unsigned sinceCheck = 0;
    do {
        const char* name = fd.cFileName;
        if (cb::IsMarkerEntry(name, upperTarget)) {
            // A hit names its directory; the entry itself is never descended
            // into, even when it is a folder.
            list.push_back(dir);
        } else if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                   !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && std::strcmp(name, ".") != 0 &&
                   std::strcmp(name, "..") != 0) {
            // Junctions and symbolic links are not followed: one that points
            // back up the tree would otherwise keep the walk going forever.
            dir += name;
            dir += '\\';
            Progress(dir, false);
            SearchDirectory(dir, upperTarget, list);
            dir.resize(length);
            sinceCheck = 0;
        } else if (++sinceCheck >= kEntriesPerCheck) {
            sinceCheck = 0;
            Progress(dir, false);
        }
        if (m_Stop.load(std::memory_order_relaxed))
            break;
    } while (FindNextFileA(listing, &fd));
    FindClose(listing);
}

void PathFinder::Progress(const std::string& dir, bool force)
{
    std::uint64_t now = GetTickCount64();
    if (!force && m_UpdateInterval != 0 && now - m_LastUpdate < m_UpdateInterval)
        return;
    m_LastUpdate = now;
    ShowCurrentDirectory(dir);
    if (m_Progress)
        m_Progress(dir);
    ProcessMessages();
}

void PathFinder::ProcessMessages()
{
    // The window that holds the label gets its dialog keys (Tab, Enter,
    // Escape) as its own modal loop would give them.
    HWND dialog = m_StatusLabel ? GetAncestor(m_StatusLabel, GA_ROOT) : nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is ending: stop, and leave the quit request for the
            // message loop that called us.
            Stop();
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

PathFinder& Finder()
{
    static PathFinder finder;
    return finder;
}
