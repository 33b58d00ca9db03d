// The replay options of the command line.
#pragma once

#include <string>
#include <string_view>

namespace grumbo {

struct ReplayOptions {
    // `--record FILE`: every world played in this run goes into FILE.
    std::string recordPath;
    // `--replay FILE`: watch FILE instead of playing; with `--verify`, check it
    // without a window and exit.
    std::string replayPath;
    bool verify = false;
};

// Words are separated by blanks; a path is the word after its option.
ReplayOptions parseReplayOptions(std::string_view commandLine);

} // namespace grumbo
