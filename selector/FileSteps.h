// File steps shared by the selector's units.
#pragma once

#include <windows.h>

#include <cstddef>

// Writes all `size` bytes at the file's position, looping over partial
// writes. False as soon as a write fails or writes nothing.
bool WriteAll(HANDLE file, const void* data, std::size_t size);
