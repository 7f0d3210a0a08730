#include "shared_value.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace dsp {

NamedMutex::NamedMutex(const char* name, bool* existed)
{
    Create(name, existed);
}

NamedMutex::~NamedMutex()
{
    Close();
}

bool NamedMutex::Create(const char* name, bool* existed)
{
    Close();
    handle_ = CreateMutexA(nullptr, FALSE, name);
    if (existed)
        *existed = handle_ && GetLastError() == ERROR_ALREADY_EXISTS;
    return handle_ != nullptr;
}

bool NamedMutex::Lock()
{
    if (!handle_)
        return false;
    const DWORD rc = WaitForSingleObject(handle_, INFINITE);
    held_ = rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
    return held_;
}

bool NamedMutex::TryLock()
{
    if (!handle_)
        return false;
    const DWORD rc = WaitForSingleObject(handle_, 0);
    if (rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED) {
        held_ = true;
        return true;
    }
    return false;
}

void NamedMutex::Unlock()
{
    if (handle_ && held_)
        ReleaseMutex(handle_);
    held_ = false;
}

void NamedMutex::Close()
{
    if (handle_) {
        if (held_)
            ReleaseMutex(handle_);
        CloseHandle(handle_);
    }
    handle_ = nullptr;
    held_ = false;
}

SharedValue::SharedValue(const char* name, uint32_t size, bool* usable)
{
    Create(name, size, usable);
}

SharedValue::~SharedValue()
{
    Close();
}

bool SharedValue::Create(const char* name, uint32_t size, bool* usable)
{
    Close();
    size_ = size;
    char formatted[100];
    std::snprintf(formatted, sizeof formatted, "SMutex_%s", name ? name : "");
    mutex_ = new (std::nothrow) NamedMutex(formatted);
    std::snprintf(formatted, sizeof formatted, "SSharedData_%s", name ? name : "");
    mapping_ = size ? CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, formatted)
                    : nullptr;
    if (mapping_)
        view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (usable)
        *usable = IsUsable();
    return IsUsable();
}

template <class Copy>
bool SharedValue::Guarded(Copy copy)
{
    const bool locking = !held_;
    if (locking)
        Lock();
    const bool ok = view_ != nullptr;
    if (ok)
        copy();
    if (locking)
        Unlock();
    return ok;
}

bool SharedValue::Write(const void* source)
{
    return Guarded([&] { std::memcpy(view_, source, size_); });
}

bool SharedValue::Read(void* target)
{
    return Guarded([&] { std::memcpy(target, view_, size_); });
}

void SharedValue::Lock()
{
    if (mutex_)
        mutex_->Lock();
    held_ = true;
}

void SharedValue::Unlock()
{
    if (mutex_)
        mutex_->Unlock();
    held_ = false;
}

void SharedValue::Close()
{
    if (view_)
        UnmapViewOfFile(view_);
    view_ = nullptr;
    if (mapping_)
        CloseHandle(mapping_);
    mapping_ = nullptr;
    delete mutex_;
    mutex_ = nullptr;
    held_ = false;
}

} // namespace dsp
