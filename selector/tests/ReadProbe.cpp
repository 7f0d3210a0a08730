// Stands in for the game engine reading its voice input file: opens the file
// for reading while another program holds it open for writing, and copies
// what it reads into a second file.
// Usage: read_probe SOURCE OUTPUT   (exit 0 copied, 2 cannot open, 3 cannot write)
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 1;
    HANDLE in = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return 2;
    std::string data;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(in, buf, sizeof buf, &got, nullptr) && got > 0)
        data.append(buf, got);
    CloseHandle(in);
    HANDLE out =
        CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    BOOL ok = data.empty() || WriteFile(out, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(out);
    return ok && written == data.size() ? 0 : 3;
}
