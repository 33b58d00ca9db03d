// Makes the title screen's demos: the automated player plays a whole journey,
// recorded world by world into one replay file, which is then read back and
// checked. A demo that does not come out the same fails the build.
// Usage: grumbo_demo <output file>
#include "autoplayer.h"
#include "replay/replay.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: grumbo_demo <output file>\n");
        return 2;
    }
    using namespace grumbo;
    constexpr std::int64_t STEPS_PER_WORLD = 20 * 60 * 120;
    Game game;
    game.start(0);
    ReplayRecorder recorder;
    recorder.keepEverySegment(true);
    recorder.beginWorld(game);
    test::AutoPlayer player;
    for (std::int64_t i = 0; i < 10 * STEPS_PER_WORLD && game.state != Finale; ++i) {
        recorder.update(game, player.next(game));
    }
    recorder.endWorld();
    ReplayFile demos;
    demos.segments = recorder.segments();
    if (game.state != Finale || demos.segments.size() != 10) {
        std::fprintf(stderr, "grumbo_demo: the automated player did not finish the journey (world %d)\n",
                     game.world + 1);
        return 1;
    }
    const std::vector<std::uint8_t> bytes = encodeReplay(demos);
    std::ofstream(argv[1], std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> written{std::istreambuf_iterator<char>(in),
                                            std::istreambuf_iterator<char>()};
    ReplayFile back;
    std::string error;
    if (!decodeReplay(written, back, error)) {
        std::fprintf(stderr, "grumbo_demo: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const ReplayCheck check = checkReplay(back);
    if (!check.matches) {
        std::fprintf(stderr, "grumbo_demo: the demo of world %d parts from its recording by step %lld\n",
                     back.segments[static_cast<std::size_t>(check.segment)].start.world + 1,
                     static_cast<long long>(check.partsAtStep));
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
