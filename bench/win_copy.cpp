// The plainest copy a Windows program can make: ReadFile and WriteFile in
// pieces of 1 MiB, the piece size dsphost uses. bench/run-all.sh times it
// under Wine as the floor for dsphost's conversions, beside `cp`, which
// copies inside the Linux kernel and has no Windows equivalent.
//
//   win_copy FROM TO    prints "copy <seconds> s" (wall time of the copy
//                       alone, Wine's start-up left out)
#include <windows.h>

#include <cstdio>
#include <vector>

#include "seconds_clock.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: win_copy FROM TO\n");
        return 1;
    }
    const double start = Now();
    HANDLE in = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE out = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "win_copy: cannot open the files (error %lu)\n", GetLastError());
        return 1;
    }
    std::vector<char> piece(1 << 20);
    DWORD got = 0, put = 0;
    bool ok = true;
    while (ok && ReadFile(in, piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr) && got)
        ok = WriteFile(out, piece.data(), got, &put, nullptr) && put == got;
    CloseHandle(in);
    CloseHandle(out);
    if (!ok) {
        std::fprintf(stderr, "win_copy: a write failed (error %lu)\n", GetLastError());
        return 1;
    }
    std::printf("copy %.3f s\n", Now() - start);
    return 0;
}
