// How the Options window shows the settings and reads them back: the copy
// buffer's track bar positions and the status bar's list items.
#pragma once

namespace cb {

// The buffer sizes the track bar offers, in KB, at positions 0 to 6.
inline constexpr int kBufferSizes[] = {32, 64, 128, 256, 512, 1024, 2048};

// Track bar position of a stored buffer size: the position of one of the
// offered sizes; 5 (1 MB) for any other value.
int BufferSizePosition(int kilobytes);
// Buffer size of a track bar position; 1024 for a position outside 0 to 6.
int BufferSizeAtPosition(int position);

// List item of a stored status bar alignment (0 Top, 1 Bottom, 2 Hidden):
// any value other than 1 and 2 shows as item 0.
int BarAlignItem(int barAlign);
// Alignment of a list item: 1 and 2 as they are, anything else 0.
int BarAlignOfItem(int item);

} // namespace cb
