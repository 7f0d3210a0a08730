#include "skin.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <vector>

namespace auxiliary {

Backdrop::~Backdrop()
{
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_)
        DeleteObject(bitmap_);
}

void Backdrop::Build(const std::string& jpegPath)
{
    width_ = GetSystemMetrics(SM_CXSCREEN);
    height_ = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width_, height_);
    ReleaseDC(nullptr, screen);
    oldBitmap_ = SelectObject(dc_, bitmap_);

    WIN32_FILE_ATTRIBUTE_DATA file{};
    const bool present = GetFileAttributesExA(jpegPath.c_str(), GetFileExInfoStandard, &file) &&
                         !(file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                         (file.nFileSizeLow != 0 || file.nFileSizeHigh != 0);
    // A picture that cannot be decoded is no backdrop either.
    fromPicture_ = present && TilePicture(jpegPath);
    if (!fromPicture_)
        PaintGradient();
}

void Backdrop::PaintGradient()
{
    // One row, then copied down to every other row.
    for (int i = 0; i < width_; ++i) {
        const Rgb c = GradientColour(i, width_);
        SetPixelV(dc_, i, 0, RGB(c.red, c.green, c.blue));
    }
    for (int filled = 1; filled < height_; filled *= 2) {
        const int rows = filled * 2 > height_ ? height_ - filled : filled;
        BitBlt(dc_, 0, filled, width_, rows, dc_, 0, 0, SRCCOPY);
    }
}

// Decodes the picture with the system's OLE picture loader and tiles it.
bool Backdrop::TilePicture(const std::string& path)
{
    const std::string bytes = ReadSmallFile(path, 64u << 20);
    if (bytes.empty())
        return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory)
        return false;
    void* data = GlobalLock(memory);
    if (!data) {
        GlobalFree(memory);
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return false;
    }
    IPicture* picture = nullptr;
    const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || !picture)
        return false;
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    picture->get_Width(&hmWidth);
    picture->get_Height(&hmHeight);
    const int dpiX = GetDeviceCaps(dc_, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(dc_, LOGPIXELSY);
    const int tileWidth = MulDiv(hmWidth, dpiX, 2540);
    const int tileHeight = MulDiv(hmHeight, dpiY, 2540);
    bool drawn = false;
    if (tileWidth > 0 && tileHeight > 0) {
        for (int y = 0; y < height_; y += tileHeight) {
            for (int x = 0; x < width_; x += tileWidth) {
                if (SUCCEEDED(picture->Render(dc_, x, y, tileWidth, tileHeight, 0, hmHeight, hmWidth,
                                              -hmHeight, nullptr)))
                    drawn = true;
            }
        }
    }
    picture->Release();
    return drawn;
}

std::string ReadSmallFile(const std::string& path, size_t limit)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (text.size() < limit && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    if (text.size() > limit)
        text.resize(limit);
    return text;
}

LabelColours ReadLabelColours(const std::string& path)
{
    // Six lines of any length: a line is read as the number it starts with.
    return ParseLabelColours(ReadSmallFile(path, 1u << 20));
}

} // namespace auxiliary
