// The voice-file replacer: holds the game's voice input file open for writing
// (shared for reading and writing, so the game can read it meanwhile) and
// overwrites it in place with the bytes of a chosen WAV file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class TReplacer
{
public:
    static constexpr std::uint32_t DefaultBufferSize = 131072;

    TReplacer();
    ~TReplacer();
    TReplacer(const TReplacer&) = delete;
    TReplacer& operator=(const TReplacer&) = delete;

    // Replaces the copy buffer with one of `size` bytes (at least 1). Keeps the
    // present buffer and returns false when the new one cannot be allocated.
    bool SetBufferSize(std::uint32_t size);
    // Applies the BufferSize setting (kilobytes times 1024). Values outside
    // 1 to 2048 KB fall back to the default 128 KB. Called at each activation,
    // so no hotkey press ever allocates.
    bool ApplyBufferSizeSetting(int kilobytes);

    // Chooses the target: closes the previous one, creates a missing file
    // (logged), clears read-only, hidden and system, and opens it for writing.
    void SetFilename(const std::string& name);
    // Overwrites the target with the contents of `source`. A target that
    // could not be opened at activation, or whose file was removed since, is
    // opened once more first. False, with a log line, when the source is
    // missing or cannot be opened, the target is still not open, or a read or
    // write fails.
    bool Replace(const std::string& source);
    // Cuts the target to zero length.
    bool Truncate();
    // Closes the target; false when none was open.
    bool Close();

    const std::string& Filename() const { return m_Filename; }
    std::uint32_t BufferSize() const { return m_BufferSize; }
    // True while a target is open.
    bool IsOpen() const { return m_hFile != nullptr && m_hFile != INVALID_HANDLE_VALUE; }

private:
    // Creates a missing target (logged), clears its attributes and opens it.
    void OpenTarget();
    // False when the target could not be opened or its file has been removed.
    bool TargetUsable() const;
    // At a press: a target that is unusable is opened once more.
    void ReopenWhenUnusable();

    HANDLE m_hFile = nullptr;
    std::string m_Filename;
    std::unique_ptr<char[]> m_pBuffer;
    std::uint32_t m_BufferSize = 0;
};

// The program's one replacer, created on first use.
TReplacer& Replacer();
