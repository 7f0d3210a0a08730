// The equaliser plug-in's settings: the 18 band positions, their registry
// values "EQ-Pos0" to "EQ-Pos17", and the position files the panel loads and saves.
#pragma once

#include <string>

#include "core/bands.h"

namespace equaliser {

// Band positions, -200 to 200, 0 flat, positive boost.
extern eq::Positions g_positions;

// "EQ-Pos" followed by the band number.
std::string PositionValueName(int band);
// Makes `positions` the current ones and writes all 18 to the settings store.
// The store is written from the caller's copy: the library re-reads the
// globals whenever a thread attaches, which may happen at any moment.
void StoreAllPositions(const eq::Positions& positions);

// Reads a position file (".eqf" in any case: an EQF preset file; anything
// else: our own 88-byte band record). False, leaving `positions` alone, when
// the file cannot be opened or is too short.
bool LoadPositionFile(const char* path, eq::Positions& positions);
// Writes the 88-byte band record of `positions` to `path`.
bool SavePositionFile(const char* path, const eq::Positions& positions);

} // namespace equaliser
