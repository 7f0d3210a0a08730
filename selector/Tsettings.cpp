#include "Tsettings.h"

#include "core/SettingsValues.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

const char* const kWindow = "Window";
const char* const kGame = "Game";
const char* const kApp = "App";
const char* const kColumnKeys[3] = {"ColumnWidth0", "ColumnWidth1", "ColumnWidth2"};

// Size of a file in bytes; 0 when it is missing or cannot be asked.
unsigned long long FileSize(const std::string& fileName)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

EIniWriteError::EIniWriteError(const std::string& fileName)
    : std::runtime_error("Unable to write to " + fileName), m_FileName(fileName)
{}

void WriteProfileValue(const std::string& fileName, const char* section, const char* key, const char* value)
{
    if (!WritePrivateProfileStringA(section, key, value, fileName.c_str()))
        throw EIniWriteError(fileName);
}

std::string ReadProfileValue(const std::string& fileName, const char* section, const char* key,
                             const char* fallback)
{
    char buffer[2048] = {};
    DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer, fileName.c_str());
    return std::string(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
}

std::string ReadProfileSection(const std::string& fileName, const char* section)
{
    std::vector<char> buffer(65536);
    for (;;) {
        DWORD n = GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()),
                                            fileName.c_str());
        // A section that does not fit comes back cut, its length the buffer's less two.
        if (n + 2 < buffer.size() || buffer.size() >= 256u * 1024 * 1024)
            return std::string(buffer.data(), std::min<std::size_t>(n + 1, buffer.size()));
        buffer.resize(buffer.size() * 4);
    }
}

std::string ProgramPath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return std::string();
        if (n < path.size())
            return std::string(path.data(), n);
        path.resize(path.size() * 2);
    }
}

TSettings::TSettings() : m_FileName(cb::SettingsFileForProgram(ProgramPath())) {}

TSettings::TSettings(std::string fileName) : m_FileName(std::move(fileName)) {}

void TSettings::Load()
{
    auto readInt = [this](const char* section, const char* key, int fallback) {
        return cb::ParseSettingInteger(ReadProfileValue(m_FileName, section, key), fallback);
    };
    auto readBool = [this](const char* section, const char* key, bool fallback) {
        return cb::ParseSettingBool(ReadProfileValue(m_FileName, section, key), fallback);
    };

    int width = readInt(kWindow, "iW", 470);
    int height = readInt(kWindow, "iH", 312);
    int left = readInt(kWindow, "iX", cb::CentredEdge(GetSystemMetrics(SM_CXSCREEN), width));
    int top = readInt(kWindow, "iY", cb::CentredEdge(GetSystemMetrics(SM_CYSCREEN), height));
    m_WindowBounds = {left, top, left + width, top + height};
    // A width below one pixel is no width: the list keeps its design width.
    for (int i = 0; i < 3; ++i)
        m_ColumnWidths[i] = std::max(0, readInt(kWindow, kColumnKeys[i], 0));
    m_InstallPath = ReadProfileValue(m_FileName, kGame, "InstallPath");
    m_LastFile = ReadProfileValue(m_FileName, kApp, "LastFile");
    m_BufferSize = readInt(kApp, "BufferSize", 128);
    m_MinWhenActivated = readBool(kApp, "MinWhenActivated", true);
    m_LoadLastAtStart = readBool(kApp, "LoadLastAtStart", true);
    m_BarAlign = readInt(kGame, "BarAlign", 0);

    if (cb::SettingsFileOversized(FileSize(m_FileName)))
        SetAsideOversizedFile();
}

void TSettings::SetAsideOversizedFile()
{
    // The small file is written beside the big one first, so that a failure
    // (a read-only folder, a full disk) leaves the big file as it was.
    TSettings fresh(*this);
    fresh.m_FileName = m_FileName + "-Tmp";
    SetFileAttributesA(fresh.m_FileName.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(fresh.m_FileName.c_str());
    try {
        fresh.Save();
    } catch (const EIniWriteError&) {
        DeleteFileA(fresh.m_FileName.c_str());
        return;
    }
    // The system's cached copy of the big file is dropped (nothing in it is
    // unwritten), so the next read sees the small file whatever its time stamp.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_FileName.c_str());
    // The big file is kept whole under a name of its own; a name already
    // taken by an earlier copy is not overwritten.
    std::string keptAs;
    for (int attempt = 0; attempt < 100 && keptAs.empty(); ++attempt) {
        const std::string name = cb::SetAsideName(m_FileName, attempt);
        if (MoveFileExA(m_FileName.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH))
            keptAs = name;
        else if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (keptAs.empty()) {
        DeleteFileA(fresh.m_FileName.c_str());
        return;
    }
    if (!MoveFileExA(fresh.m_FileName.c_str(), m_FileName.c_str(), MOVEFILE_WRITE_THROUGH)) {
        MoveFileExA(keptAs.c_str(), m_FileName.c_str(), MOVEFILE_WRITE_THROUGH);
        DeleteFileA(fresh.m_FileName.c_str());
    }
}

void TSettings::Save()
{
    // A key that already holds its text is not written again: the system
    // rewrites the whole file for every key written, which makes each resize
    // slow on a large file, and a file that needs no change is not touched.
    auto write = [this](const char* section, const char* key, const std::string& value) {
        if (ReadProfileValue(m_FileName, section, key, "\n") != value)
            WriteProfileValue(m_FileName, section, key, value.c_str());
    };
    auto writeInt = [&write](const char* section, const char* key, int value) {
        write(section, key, cb::SettingIntegerText(value));
    };
    auto writeBool = [&write](const char* section, const char* key, bool value) {
        write(section, key, cb::SettingBoolText(value));
    };

    const TWindowBounds& b = m_WindowBounds;
    writeInt(kWindow, "iX", b.Left);
    writeInt(kWindow, "iY", b.Top);
    writeInt(kWindow, "iW", b.Right - b.Left);
    writeInt(kWindow, "iH", b.Bottom - b.Top);
    writeInt(kGame, "BarAlign", m_BarAlign);
    for (int i = 0; i < 3; ++i)
        writeInt(kWindow, kColumnKeys[i], m_ColumnWidths[i]);
    write(kGame, "InstallPath", m_InstallPath);
    write(kApp, "LastFile", m_LastFile);
    writeInt(kApp, "BufferSize", m_BufferSize);
    writeBool(kApp, "MinWhenActivated", m_MinWhenActivated);
    writeBool(kApp, "LoadLastAtStart", m_LoadLastAtStart);
}

void TSettings::SetWindowBounds(int left, int top, int right, int bottom)
{
    m_WindowBounds = {left, top, right, bottom};
}

int TSettings::GetColumnWidth(int column) const
{
    return (column >= 0 && column < 3) ? m_ColumnWidths[column] : 0;
}

void TSettings::SetColumnWidth(int column, int width)
{
    if (column >= 0 && column < 3)
        m_ColumnWidths[column] = width;
}

std::string TSettings::GetInstallPath() const
{
    return cb::WithTrailingBackslash(m_InstallPath);
}

TSettings& Settings()
{
    static TSettings settings;
    return settings;
}
