#include "recording.h"

#include "disk_file.h"
#include "file_template.h"
#include "prompts.h"
#include "recorder_settings.h"
#include "settings_store.h"
#include "shared_value.h"
#include "temp_file.h"
#include "template_store.h"

#include <cstring>

namespace auxiliary {

namespace {

namespace store = dsp::settings;

constexpr const char* kSuiteKey = dsp::settings::kSuiteKey;
constexpr DWORD kWaitStepMs = 25;

// True when the named event exists and is signalled now; a missing event
// tests as not signalled.
bool IsEventSignalled(const char* name)
{
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name);
    if (!event)
        return false;
    const bool signalled = WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
    CloseHandle(event);
    return signalled;
}

bool WriteRecords(dsp::DiskFile& file, const std::vector<JobRecord>& records)
{
    for (const JobRecord& record : records) {
        if (!file.Write(record.data(), static_cast<uint32_t>(record.size())))
            return false;
    }
    return true;
}

struct JobFiles
{
    std::string input;
    std::string output;

    void Delete() const
    {
        DeleteFileA(input.c_str());
        DeleteFileA(output.c_str());
    }
};

// Both job files, created afresh. A file that cannot be created ends the
// run, and so does a record that cannot be written; either way neither file
// is left behind (not even the first one, empty, when only the second cannot
// be made), so a converter that waits for work never finds half a job.
bool WriteJobFiles(const RecordingRequest& request, const JobFiles& paths)
{
    dsp::DiskFile input, output;
    if (!input.Open(paths.input.c_str(), GENERIC_WRITE, CREATE_ALWAYS, false, true))
        return false;
    if (!output.Open(paths.output.c_str(), GENERIC_WRITE, CREATE_ALWAYS, false, true)) {
        input.Close();
        DeleteFileA(paths.input.c_str());
        return false;
    }

    std::string nameTemplate = store::ReadText(settings::kFileCreation, HKEY_CURRENT_USER, kSuiteKey);
    if (nameTemplate.empty())
        nameTemplate = settings::kDefaultFileCreation;
    TemplateStore unique;
    const RecordingJob job = BuildRecordingJob(request.tracks, request.album,
                                               [&](const TrackRecord& track, std::string_view genre) {
                                                   return ExpandTemplate(nameTemplate, track, genre, unique);
                                               });

    if (!WriteRecords(input, job.inputs) || !WriteRecords(output, job.outputs)) {
        input.Close();
        output.Close();
        paths.Delete();
        return false;
    }
    return true;
}

// The album fields and every track of the list, for the decoder.
void WriteTrackValues(const RecordingRequest& request)
{
    const char* key = settings::kRunDataKey;
    const AlbumFields& a = request.album;
    store::WriteText("Artist", a.artist.c_str(), HKEY_CURRENT_USER, key);
    store::WriteText("Album", a.album.c_str(), HKEY_CURRENT_USER, key);
    store::WriteText("Genre", a.genre.c_str(), HKEY_CURRENT_USER, key);
    store::WriteText("Comment", a.comment.c_str(), HKEY_CURRENT_USER, key);
    store::WriteText("Year", a.year.c_str(), HKEY_CURRENT_USER, key);
    const size_t count = request.tracks.size() < static_cast<size_t>(kMaxTracks)
                             ? request.tracks.size()
                             : static_cast<size_t>(kMaxTracks);
    for (size_t i = 0; i < count; ++i) {
        const int number = static_cast<int>(i) + 1;
        const RecordingTrack& track = request.tracks[i];
        store::WriteText(TrackValueName(number).c_str(), track.name.c_str(), HKEY_CURRENT_USER, key);
        store::WriteNumber(SmartLengthValueName(number).c_str(), SmartLengthSeconds(track.smartLength),
                           HKEY_CURRENT_USER, key);
    }
}

// Keeps the window alive until the converter's process has ended: pending
// messages are dispatched every 25 ms. The window hides once, at the first
// look when the run uses the last settings, otherwise as soon as the
// converter says it waits to convert (its options step is over).
void WaitForConverter(const RecordingRequest& request, HANDLE process, bool useLastSettings)
{
    bool hidden = false;
    bool quit = false;
    WPARAM quitCode = 0;
    while (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Handed on after the wait, so the program's own loop still ends.
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(kWaitStepMs);
        if (!hidden && (useLastSettings || IsEventSignalled(kWaitingToConvertEvent))) {
            if (request.window)
                ShowWindow(request.window, SW_HIDE);
            hidden = true;
        }
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
}

// Starts the converter with the log file and value and waits for it; then
// the playlist of what its log names.
RecordingOutcome RunConverter(const RecordingRequest& request, const JobFiles& jobFiles, bool useLastSettings)
{
    if (request.window)
        EnableWindow(request.window, FALSE);
    store::WriteText(settings::kLastCodec, request.codec.c_str(), HKEY_CURRENT_USER, kSuiteKey);
    std::string commandLine = ConverterCommandLine(request.programFolder, useLastSettings, request.codec);

    dsp::TempFileName log;
    log.Make("LOG");
    if (!log.Path()[0] || GetFileAttributesA(log.Path()) == INVALID_FILE_ATTRIBUTES) {
        // Without a log file the run is not started; the job goes with it.
        log.Delete();
        jobFiles.Delete();
        return RecordingOutcome::JobNotWritten;
    }
    char logValue[kConversionLogValueSize] = {};
    std::memcpy(logValue, log.Path(), strnlen(log.Path(), sizeof logValue - 1));
    dsp::SharedValue value(kConversionLogValue, kConversionLogValueSize);
    value.Write(logValue);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    RecordingOutcome outcome;
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &startup, &process)) {
        WaitForConverter(request, process.hProcess, useLastSettings);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        outcome = RecordingOutcome::ConverterRan;
    } else {
        dsp::CurrentPrompts().Message(request.window, kNotInstalledText, kNotInstalledCaption,
                                      MB_OK | MB_ICONERROR);
        jobFiles.Delete();
        outcome = RecordingOutcome::ConverterMissing;
    }

    if (dsp::FileSize(log.Path()) > 0) {
        TemplateStore unique;
        WriteRecordingPlaylist(request.album, request.playlist, log.Path(), request.decoders, unique);
    }
    value.Close();
    log.Delete();
    return outcome;
}

} // namespace

RecordingOutcome StartRecording(const RecordingRequest& request, bool useLastSettings)
{
    if (request.artistField)
        SetFocus(request.artistField);
    if (request.saveSettings)
        request.saveSettings();

    const std::string codecKey = settings::CodecKey(request.codec);
    store::WriteNumber(settings::kOutputFolderFlag, 0xFFFFFFFFu, HKEY_CURRENT_USER, codecKey.c_str());
    store::WriteText(settings::kOutputFolder, request.outputFolder.c_str(), HKEY_CURRENT_USER,
                     codecKey.c_str());

    const JobFiles jobFiles{request.programFolder + kJobFileName, request.programFolder + kJobOutputFileName};
    RecordingOutcome outcome = RecordingOutcome::JobNotWritten;
    if (WriteJobFiles(request, jobFiles)) {
        WriteTrackValues(request);
        if (IsEventSignalled(kWaitingToConvertEvent))
            outcome = RecordingOutcome::ConverterWaiting;
        else
            outcome = RunConverter(request, jobFiles, useLastSettings);
    }

    if (request.window) {
        ShowWindow(request.window, SW_SHOW);
        EnableWindow(request.window, TRUE);
        SetForegroundWindow(request.window);
    }
    return outcome;
}

bool OpenAndCloseLevelTest(const DecoderPlugin* decoder)
{
    if (!decoder)
        return false;
    void* object = CreateDecoderObject(*decoder, "\\Aux\\AuxTest.aux");
    if (!object)
        return false;
    DeleteDecoderObject(*decoder, object);
    return true;
}

void InputLevelTest(HWND window)
{
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const DecoderPlugin* decoder = FindDecoder(".aux");
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    OpenAndCloseLevelTest(decoder);
    if (window) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
}

} // namespace auxiliary
