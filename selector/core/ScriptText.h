// The console script that Script Setup appends to the game's configuration
// files, and the mod folders it can be installed into.
#pragma once

#include <string>
#include <vector>

namespace cb {

// The ten pieces appended to autoexec.cfg, in order, each written with its
// exact length.
const std::vector<std::string>& AutoexecScriptPieces();

// The two key bindings appended to config.cfg, in order.
const std::vector<std::string>& ConfigBindingPieces();

// Concatenations of the pieces above: the bytes one run appends to each file.
std::string AutoexecScriptText();
std::string ConfigBindingText();

// The mod choices of the Script Setup window in the order they are shown.
enum class ModChoice { Mainline, Skarrow, Harrowkeep, Ironmarch, Rebound, Other };

// Captions of the choices, in the order of ModChoice.
const std::vector<std::string>& ModChoiceCaptions();

// The folder of a choice below the game directory, ending in "\". "Other"
// takes the typed text as it stands, so an empty text gives "\".
std::string ModFolderFor(ModChoice choice, const std::string& otherText);

} // namespace cb
