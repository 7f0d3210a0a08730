#include "Tsettings.h"

#include "core/SettingsValues.h"

#include <windows.h>

#include <vector>

namespace {

const char* const kWindow = "Window";
const char* const kGame = "Game";
const char* const kApp = "App";
const char* const kColumnKeys[3] = {"ColumnWidth0", "ColumnWidth1", "ColumnWidth2"};

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
    for (int i = 0; i < 3; ++i)
        m_ColumnWidths[i] = readInt(kWindow, kColumnKeys[i], 0);
    m_InstallPath = ReadProfileValue(m_FileName, kGame, "InstallPath");
    m_LastFile = ReadProfileValue(m_FileName, kApp, "LastFile");
    m_BufferSize = readInt(kApp, "BufferSize", 128);
    m_MinWhenActivated = readBool(kApp, "MinWhenActivated", true);
    m_LoadLastAtStart = readBool(kApp, "LoadLastAtStart", true);
    m_BarAlign = readInt(kGame, "BarAlign", 0);
}

void TSettings::Save()
{
    auto writeInt = [this](const char* section, const char* key, int value) {
        WriteProfileValue(m_FileName, section, key, cb::SettingIntegerText(value).c_str());
    };
    auto writeBool = [this](const char* section, const char* key, bool value) {
        WriteProfileValue(m_FileName, section, key, cb::SettingBoolText(value).c_str());
    };

    const TWindowBounds& b = m_WindowBounds;
    writeInt(kWindow, "iX", b.Left);
    writeInt(kWindow, "iY", b.Top);
    writeInt(kWindow, "iW", b.Right - b.Left);
    writeInt(kWindow, "iH", b.Bottom - b.Top);
    writeInt(kGame, "BarAlign", m_BarAlign);
    for (int i = 0; i < 3; ++i)
        writeInt(kWindow, kColumnKeys[i], m_ColumnWidths[i]);
    WriteProfileValue(m_FileName, kGame, "InstallPath", m_InstallPath.c_str());
    WriteProfileValue(m_FileName, kApp, "LastFile", m_LastFile.c_str());
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
