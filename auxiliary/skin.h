// The main window's backdrop and label colours, from the skin folder.
#pragma once

#include <windows.h>

#include <string>

#include "skin_core.h"

namespace auxiliary {

// A memory bitmap as large as the desktop, selected into its own device
// context for as long as the object lives.
class Backdrop
{
public:
    Backdrop() = default;
    ~Backdrop();
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    // Makes the bitmap and tiles the picture of `jpegPath` over it from the
    // top-left corner; when the file is missing, empty or cannot be decoded,
    // paints the gradient instead.
    void Build(const std::string& jpegPath);

    HDC Dc() const { return dc_; }
    HBITMAP Bitmap() const { return bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // True when the picture was decoded and tiled.
    bool FromPicture() const { return fromPicture_; }

private:
    void PaintGradient();
    bool TilePicture(const std::string& path);

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    int width_ = 0, height_ = 0;
    bool fromPicture_ = false;
};

// The colours file ("aux-colors.txt"); both colours black without it.
LabelColours ReadLabelColours(const std::string& path);

// The whole of a small text file (up to `limit` bytes); empty when missing.
std::string ReadSmallFile(const std::string& path, size_t limit = 65536);

} // namespace auxiliary
