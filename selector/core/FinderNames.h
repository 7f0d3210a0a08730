// Names the game-directory finder works with: which drive roots it visits, in
// which order, and which directory entry counts as the game's marker file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cb {

// The file whose presence marks a game directory.
inline constexpr const char* kMarkerFile = "WONAuth.dll";

// Root paths ("A:\" ... "Z:\") of the drive letters set in `mask` (bit 0 is A,
// bit 25 is Z), in letter order. Bits above 25 are ignored.
std::vector<std::string> DriveRootsInOrder(std::uint32_t mask);

// True when `entryName`, with the letters a to z turned to upper case, equals
// `upperTarget` (the marker's name already in upper case). Other bytes are
// compared as they are.
bool IsMarkerEntry(std::string_view entryName, std::string_view upperTarget);

} // namespace cb
