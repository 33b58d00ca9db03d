#pragma once

// Where per-user data lives on this system, found through the environment and the user database
// so that nothing above the platform layer reads either.

#include <string>

namespace grumbo {

// The per-user data folder: $XDG_DATA_HOME when it is an absolute path, else the home folder
// followed by "/.local/share". Empty when neither can be found. No trailing separator.
std::wstring userDataFolder();

// A path as the system spells it (UTF-8 bytes) in the wide text the file layer takes; bytes that
// are not UTF-8 keep their own value.
std::wstring widenPath(const std::string& text);

} // namespace grumbo
