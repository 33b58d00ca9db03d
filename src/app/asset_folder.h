#pragma once

// Where the game's artwork and sound are found.

#include <string>

namespace grumbo {

// The folder holding sprites.png and the sounds, for a game whose executable lies in
// `executableFolder`: "assets" beside it when that folder exists (a build tree, the Windows zip),
// else the installed data folder relative to it (/usr/games → /usr/share/games/grumbos-megastream).
// When neither exists, the one beside the executable, so the failure to load names that place.
// No trailing separator.
std::string findAssetFolder(const std::string& executableFolder);

} // namespace grumbo
