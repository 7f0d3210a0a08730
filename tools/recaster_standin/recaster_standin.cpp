// RecasterStandin: a stand-in for the suite's converter, Recaster.exe, which
// is not part of this system. It does what the recorder expects of the real
// one when it runs a recording job, so the recorder can be tested without it.
// Copy it into a program folder as "Recaster.exe"; started by the recorder it
//
//   1. appends its whole command line and a CR LF to "RecasterStandin-calls.txt"
//      in its own folder;
//   2. signals the event "evtTVCCWaitingToConvert" when told to (below);
//   3. reads the job files "AddThis.Bin" and "AddThisOuputTo.Bin" of its own
//      folder, 260-byte records, and for record i writes the file
//      <output folder><output name i>.<extension>, holding the pseudo path of
//      record i and a CR LF, creating missing folders. The codec is the text after
//      "<ConvertTo>" on the command line, else the registry's "tVCLastCodec";
//      the output folder is that codec's "TVCUserFolderStr";
//   4. appends one line per record to the log file whose path the shared value
//      "tVCWriteConvLog" holds: the full path of the file written, or
//      "[ERROR] Could not convert <pseudo path>" for a track it is told to fail;
//   5. waits as long as it is told to, resets the event it signalled, and exits 0.
//
// What it is told comes from "RecasterStandin.ini" in its own folder, section
// [Standin]: Extension (default mp3), ErrorTracks (track numbers of the pseudo
// paths to fail, separated by commas), SignalWaiting (1: signal the event),
// StayMs (milliseconds to wait before exiting).
//
// For the recorder's fault tests it can also misbehave, right after step 1:
// ExitCode (not 0: exit at once with that code, doing nothing else), Crash
// (1: die of an access violation, without the system's error box); and
// instead of its own log lines, LogFrom (the log gets that file's bytes) or
// DeleteLog (1: the log file is deleted); and before exiting, HoldUntil
// (a path: keep running until that file exists).
#include <windows.h>

#include "settings_store.h"
#include "shared_value.h"
#include "temp_file.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kRecordSize = 260;

std::string OwnFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

// Writes `text` through a handle opened with `access` and `disposition`:
// FILE_APPEND_DATA with OPEN_ALWAYS appends, GENERIC_WRITE with CREATE_ALWAYS
// writes a new file.
bool WriteText(const std::string& path, const std::string& text, DWORD access, DWORD disposition)
{
    HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok;
}

bool AppendToFile(const std::string& path, const std::string& text)
{
    return WriteText(path, text, FILE_APPEND_DATA, OPEN_ALWAYS);
}

// The NUL-terminated texts of a job file's 260-byte records.
std::vector<std::string> ReadRecords(const std::string& path)
{
    std::vector<std::string> records;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return records;
    char record[kRecordSize];
    DWORD got = 0;
    while (ReadFile(file, record, kRecordSize, &got, nullptr) && got == kRecordSize)
        records.emplace_back(record, strnlen(record, kRecordSize));
    CloseHandle(file);
    return records;
}

std::string IniText(const std::string& ini, const char* key, const char* fallback)
{
    char text[1024] = {};
    GetPrivateProfileStringA("Standin", key, fallback, text, sizeof text, ini.c_str());
    return text;
}

// The track number of a pseudo path "\\Aux\TrackNN.aux" (0 when it has none).
int TrackNumberOf(const std::string& pseudoPath)
{
    const size_t at = pseudoPath.rfind("Track");
    return at == std::string::npos ? 0 : std::atoi(pseudoPath.c_str() + at + 5);
}

bool IsListed(const std::string& list, int number)
{
    size_t at = 0;
    while (at < list.size()) {
        size_t comma = list.find(',', at);
        if (comma == std::string::npos)
            comma = list.size();
        if (std::atoi(list.substr(at, comma - at).c_str()) == number)
            return true;
        at = comma + 1;
    }
    return false;
}

std::string CodecFrom(const std::string& commandLine)
{
    const char* kTag = "<ConvertTo>";
    const size_t at = commandLine.find(kTag);
    if (at != std::string::npos)
        return commandLine.substr(at + std::strlen(kTag));
    return dsp::settings::ReadText("tVCLastCodec", HKEY_CURRENT_USER, dsp::settings::kSuiteKey);
}

// Ends the process with the fault's code instead of calling a debugger.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS*)
{
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::string folder = OwnFolder();
    const std::string commandLine = GetCommandLineA();
    AppendToFile(folder + "RecasterStandin-calls.txt", commandLine + "\r\n");

    const std::string ini = folder + "RecasterStandin.ini";
    if (const int exitCode = GetPrivateProfileIntA("Standin", "ExitCode", 0, ini.c_str()))
        return exitCode;
    if (GetPrivateProfileIntA("Standin", "Crash", 0, ini.c_str())) {
        // Ends with the fault's code, as a crash does, without a debugger.
        SetErrorMode(SEM_NOGPFAULTERRORBOX);
        SetUnhandledExceptionFilter(EndOnFault);
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    const std::string extension = IniText(ini, "Extension", "mp3");
    const std::string errorTracks = IniText(ini, "ErrorTracks", "");
    const bool signalWaiting = GetPrivateProfileIntA("Standin", "SignalWaiting", 0, ini.c_str()) != 0;
    const int stayMs = GetPrivateProfileIntA("Standin", "StayMs", 0, ini.c_str());

    HANDLE waiting = nullptr;
    if (signalWaiting) {
        waiting = OpenEventA(EVENT_MODIFY_STATE, FALSE, "evtTVCCWaitingToConvert");
        if (waiting)
            SetEvent(waiting);
    }

    char logPath[kRecordSize] = {};
    {
        dsp::SharedValue logValue("tVCWriteConvLog", kRecordSize);
        logValue.Read(logPath);
        logPath[kRecordSize - 1] = '\0';
    }

    const std::string codec = CodecFrom(commandLine);
    std::string outputFolder =
        dsp::settings::ReadText("TVCUserFolderStr", HKEY_CURRENT_USER,
                                (std::string(dsp::settings::kSuiteKey) + "\\tVCCodec\\" + codec).c_str());
    if (outputFolder.empty())
        outputFolder = "C:\\Converted Music\\";
    outputFolder = dsp::AddTrailingBackslash(outputFolder);

    const std::vector<std::string> inputs = ReadRecords(folder + "AddThis.Bin");
    const std::vector<std::string> outputs = ReadRecords(folder + "AddThisOuputTo.Bin");
    std::string log;
    for (size_t i = 0; i < inputs.size() && i < outputs.size(); ++i) {
        if (IsListed(errorTracks, TrackNumberOf(inputs[i]))) {
            log += "[ERROR] Could not convert " + inputs[i] + "\r\n";
            continue;
        }
        const std::string path = outputFolder + outputs[i] + "." + extension;
        const size_t slash = path.find_last_of('\\');
        dsp::CreateAllDirectories(path.substr(0, slash + 1).c_str());
        if (WriteText(path, inputs[i] + "\r\n", GENERIC_WRITE, CREATE_ALWAYS))
            log += path + "\r\n";
        else
            log += "[ERROR] Could not write " + path + "\r\n";
    }
    const std::string logFrom = IniText(ini, "LogFrom", "");
    if (!logFrom.empty())
        CopyFileA(logFrom.c_str(), logPath, FALSE);
    else if (GetPrivateProfileIntA("Standin", "DeleteLog", 0, ini.c_str()))
        DeleteFileA(logPath);
    else if (logPath[0])
        AppendToFile(logPath, log);
    const std::string holdUntil = IniText(ini, "HoldUntil", "");
    while (!holdUntil.empty() && GetFileAttributesA(holdUntil.c_str()) == INVALID_FILE_ATTRIBUTES)
        Sleep(50);

    if (stayMs > 0)
        Sleep(static_cast<DWORD>(stayMs));
    if (waiting) {
        ResetEvent(waiting);
        CloseHandle(waiting);
    }
    return 0;
}
