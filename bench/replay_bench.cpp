// How fast `--replay FILE --verify` goes over a whole ten-world run recorded
// by the automated player, and how large that run's replay file is.
#include "autoplayer.h"
#include "replay/replay.h"

#include <benchmark/benchmark.h>

namespace grumbo {
namespace {

std::vector<std::uint8_t> tenWorldRun() {
    Game game;
    game.start(0);
    ReplayRecorder recorder;
    recorder.keepEverySegment(true);
    recorder.beginWorld(game);
    test::AutoPlayer player;
    // As in the game: two steps a frame, and the sound queue emptied after each frame.
    for (int i = 0; i < 10 * 20 * 60 * 120 && game.state != Finale; ++i) {
        recorder.update(game, player.next(game));
        if (i % 2 == 1) {
            game.sounds.clear();
            recorder.noteSoundsDrained();
        }
    }
    recorder.endWorld();
    ReplayFile file;
    file.segments = recorder.segments();
    return encodeReplay(file);
}

// Decoding and playing every step, with the digests compared, as the check does.
void BM_VerifyTenWorldRun(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = tenWorldRun();
    std::int64_t steps = 0;
    for (auto _ : state) {
        ReplayFile file;
        std::string error;
        if (!decodeReplay(bytes, file, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        const ReplayCheck check = checkReplay(file);
        if (!check.matches) {
            state.SkipWithError("the run did not check out");
            return;
        }
        steps += check.steps;
        benchmark::DoNotOptimize(check.stateHash);
    }
    state.counters["steps_per_second"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_VerifyTenWorldRun)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace grumbo
