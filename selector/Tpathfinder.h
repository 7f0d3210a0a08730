// PathFinder: looks for game directories by walking every fixed drive for the
// game's marker file, on the user-interface thread, keeping the windows alive
// while it walks.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class PathFinder
{
public:
    PathFinder();
    ~PathFinder();
    PathFinder(const PathFinder&) = delete;
    PathFinder& operator=(const PathFinder&) = delete;

    // The label that shows the directory being searched (not owned; may be
    // null). It stays attached until another one replaces it.
    void SetStatusLabel(HWND label) { m_StatusLabel = label; }
    HWND StatusLabel() const { return m_StatusLabel; }
    // Sets the label's caption to `path`; does nothing without a label.
    void ShowCurrentDirectory(const std::string& path);

    // Searches every fixed drive, A to Z, for directories that directly hold
    // the marker file (any letter case) and keeps them as the result list.
    // Returns when the search is complete or stopped. Returns false, changing
    // nothing, when called while a search is already running (from a message
    // handled during that search).
    bool Find();

    // The directories found by the last finished search, each ending in "\",
    // in the order found; null before the first search and while one runs.
    // The list stays owned by the finder.
    const std::vector<std::string>* ResultList() const { return m_Results.get(); }

    // Asks a running search to end; it keeps what it found so far. Safe to
    // call from a message handler during Find, or from another thread.
    void Stop() { m_Stop.store(true, std::memory_order_relaxed); }
    bool Searching() const { return m_Searching; }

    // The label is updated and pending messages are processed when a drive is
    // started and then at most every `ms` milliseconds (and always on entering
    // a directory when 0), so a long walk does not spend its time repainting.
    void SetUpdateInterval(unsigned ms) { m_UpdateInterval = ms; }
    unsigned UpdateInterval() const { return m_UpdateInterval; }

    // Called with the directory being searched each time the label is updated,
    // before messages are processed (tests and the benchmark watch the walk here).
    void SetProgressCallback(std::function<void(const std::string&)> callback)
    {
        m_Progress = std::move(callback);
    }

    // Directories entered by the last (or the running) search, roots included.
    std::uint64_t DirectoriesSearched() const { return m_Directories; }

private:
    void SearchDirectory(std::string& dir, const std::string& upperTarget, std::vector<std::string>& list);
    // Updates the label and processes messages if the interval has passed (or `force`).
    void Progress(const std::string& dir, bool force);
    void ProcessMessages();

    HWND m_StatusLabel = nullptr;
    std::unique_ptr<std::vector<std::string>> m_Results;
    std::atomic<bool> m_Stop{false};
    bool m_Searching = false;
    unsigned m_UpdateInterval = 25;
    std::uint64_t m_LastUpdate = 0;
    std::uint64_t m_Directories = 0;
    std::function<void(const std::string&)> m_Progress;
};

// The program's one finder, created on first use and kept to the end.
PathFinder& Finder();
