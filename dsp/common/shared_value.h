// A value in named shared memory ("SSharedData_<name>") guarded by a named
// mutex ("SMutex_<name>"). Both names are global kernel-object names, so a
// host and a plug-in (in one process or two) reach the same value; whichever
// side creates first creates the objects.
#pragma once

#include <windows.h>

#include <cstdint>

namespace dsp {

class NamedMutex
{
public:
    NamedMutex() = default;
    // Creates or opens the mutex (not initially owned); *existed tells whether
    // another handle to it existed already.
    explicit NamedMutex(const char* name, bool* existed = nullptr);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    bool Create(const char* name, bool* existed = nullptr);
    // Waits without a time limit (an abandoned mutex counts as acquired).
    bool Lock();
    // Waits 0 ms; true when acquired.
    bool TryLock();
    void Unlock();
    bool IsHeld() const { return held_; }
    void Close();

private:
    HANDLE handle_ = nullptr;
    bool held_ = false;
};

class SharedValue
{
public:
    SharedValue() = default;
    // See Create.
    SharedValue(const char* name, uint32_t size, bool* usable = nullptr);
    ~SharedValue();
    SharedValue(const SharedValue&) = delete;
    SharedValue& operator=(const SharedValue&) = delete;

    // Creates or opens the mutex and a paging-file mapping of `size` bytes and
    // maps a writable view. *usable (and the result) tell whether both the
    // mapping and the view exist. Names are cut to 99 characters after formatting.
    bool Create(const char* name, uint32_t size, bool* usable = nullptr);
    // Copies `size` bytes from `source` into the value, under the mutex unless
    // this object already holds it. False when there is no view.
    bool Write(const void* source);
    // Copies `size` bytes from the value into `target`, the same way.
    bool Read(void* target);
    void Lock();
    void Unlock();
    void Close();
    bool IsUsable() const { return mapping_ && view_; }
    uint32_t Size() const { return size_; }

private:
    template <class Copy>
    bool Guarded(Copy copy);

    HANDLE mapping_ = nullptr;
    NamedMutex* mutex_ = nullptr;
    void* view_ = nullptr;
    uint32_t size_ = 0;
    bool held_ = false;
};

} // namespace dsp
