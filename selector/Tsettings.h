// The sound selector's settings: one process-wide object, kept in an INI file
// beside the program and rewritten whole whenever a value changes.
#pragma once

#include <stdexcept>
#include <string>

// A profile (INI) file could not be written. The text is "Unable to write to "
// followed by the file's path; callers show it or log their own line.
class EIniWriteError : public std::runtime_error
{
public:
    explicit EIniWriteError(const std::string& fileName);
    const std::string& FileName() const { return m_FileName; }

private:
    std::string m_FileName;
};

// WritePrivateProfileStringA that raises EIniWriteError when the system refuses.
// A null key erases the whole section.
void WriteProfileValue(const std::string& fileName, const char* section, const char* key, const char* value);

// GetPrivateProfileStringA into a 2048-byte buffer: at most 2047 characters;
// `fallback` when the key is missing.
std::string ReadProfileValue(const std::string& fileName, const char* section, const char* key,
                             const char* fallback = "");

// GetPrivateProfileSectionA: the whole section as the system hands it over
// (lines "key=value", each ended by a NUL); empty when it is missing.
std::string ReadProfileSection(const std::string& fileName, const char* section);

// Outer rectangle of the main window in screen pixels.
struct TWindowBounds
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

class TSettings
{
public:
    // The settings file beside the program, named after it ("Cuebinder.ini").
    TSettings();
    // An explicit settings file (tests and tools).
    explicit TSettings(std::string fileName);

    const std::string& FileName() const { return m_FileName; }

    // Reads every key; missing or unreadable values take their defaults.
    // A file too large to be one this program wrote is then kept whole as
    // "<file>.damaged" and replaced by a small file with the values read, so
    // that later saves do not rewrite megabytes; where it cannot be moved (a
    // read-only folder) it stays and is used as it is.
    void Load();
    // Writes every key; throws EIniWriteError at the first refused write (the
    // keys written before it stay written).
    void Save();

    TWindowBounds GetWindowBounds() const { return m_WindowBounds; }
    void SetWindowBounds(int left, int top, int right, int bottom);

    // Column 0 "Filename", 1 "Size", 2 "Shortcut"; 0 means no stored width.
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // The game directory with one "\" appended when it lacks one; empty when none is set.
    std::string GetInstallPath() const;
    // Stores the text exactly as given.
    void SetInstallPath(const std::string& path) { m_InstallPath = path; }
    // True when a game directory is set.
    bool HasInstallPath() const { return !m_InstallPath.empty(); }

    std::string GetLastFile() const { return m_LastFile; }
    void SetLastFile(const std::string& file) { m_LastFile = file; }

    bool GetMinWhenActivated() const { return m_MinWhenActivated; }
    void SetMinWhenActivated(bool value) { m_MinWhenActivated = value; }

    bool GetLoadLastAtStart() const { return m_LoadLastAtStart; }
    void SetLoadLastAtStart(bool value) { m_LoadLastAtStart = value; }

    // Copy-buffer size of the voice-file replacer in kilobytes.
    int GetBufferSize() const { return m_BufferSize; }
    void SetBufferSize(int kilobytes) { m_BufferSize = kilobytes; }

    // In-game status bar: 0 top, 1 bottom, 2 hidden.
    int GetBarAlign() const { return m_BarAlign; }
    void SetBarAlign(int value) { m_BarAlign = value; }

private:
    void SetAsideOversizedFile();

    std::string m_FileName;
    TWindowBounds m_WindowBounds;
    int m_ColumnWidths[3] = {0, 0, 0};
    std::string m_InstallPath;
    std::string m_LastFile;
    bool m_MinWhenActivated = false;
    bool m_LoadLastAtStart = false;
    int m_BufferSize = 0;
    int m_BarAlign = 0;
};

// The program's one settings object, created on first use (the program touches
// it before it creates any window).
TSettings& Settings();

// Full path of the running program (GetModuleFileNameA).
std::string ProgramPath();
