// Replays: whole runs by the automated player recorded and checked again, a
// continued journey, a run that parts from its recording, and files refused.
#include "app/save_schema.h"
#include "autoplayer.h"
#include "replay/replay.h"

#include <gtest/gtest.h>
#include <string>

namespace grumbo {
namespace {

constexpr std::int64_t TWENTY_MINUTES = 20 * 60 * 120;

// Plays with the automated player through the recorder until the journey's
// finale or `maxSteps`, and returns the recording.
ReplayFile recordedRun(Game& game, std::int64_t maxSteps) {
    ReplayRecorder recorder;
    recorder.keepEverySegment(true);
    recorder.beginWorld(game);
    test::AutoPlayer player;
    for (std::int64_t i = 0; i < maxSteps && game.state != Finale; ++i) {
        recorder.update(game, player.next(game));
    }
    recorder.endWorld();
    ReplayFile file;
    file.segments = recorder.segments();
    return file;
}

ReplayFile throughTheFile(const ReplayFile& recorded) {
    ReplayFile file;
    std::string error;
    EXPECT_TRUE(decodeReplay(encodeReplay(recorded), file, error)) << error;
    return file;
}

// The whole journey played once by the automated player: its recording and the game at its finale.
struct WholeRun {
    ReplayFile run;
    Game finale;
};
const WholeRun& wholeRun() {
    static const WholeRun WHOLE = [] {
        Game game;
        game.start(0);
        ReplayFile run = recordedRun(game, 10 * TWENTY_MINUTES);
        return WholeRun{std::move(run), game};
    }();
    return WHOLE;
}

TEST(WholeRun, EveryWorldIsASegmentThatChecksOutAfterTheFile) {
    const auto& [run, finale] = wholeRun();
    ASSERT_EQ(finale.state, Finale);
    ASSERT_EQ(run.segments.size(), 10u);
    for (int w = 0; w < 10; ++w) {
        EXPECT_EQ(run.segments[static_cast<std::size_t>(w)].start.world, w);
    }
    const std::vector<std::uint8_t> bytes = encodeReplay(run);
    EXPECT_LT(bytes.size(), 64u * 1024u);

    const ReplayCheck check = checkReplay(throughTheFile(run));
    EXPECT_TRUE(check.matches) << "segment " << check.segment << " step " << check.partsAtStep;
    EXPECT_EQ(check.game.state, Finale);
    EXPECT_EQ(check.game.subscribers, finale.subscribers);
    EXPECT_EQ(check.game.player.pos.x, finale.player.pos.x);
}

// One pressed jump more where the recording had none: the digests agree up to
// the last one kept before that step and differ from the next one on.
TEST(WholeRun, AChangedStepPartsAtTheNextKeptDigest) {
    ReplayFile changed = wholeRun().run;
    ReplaySegment& world4 = changed.segments[3];
    ASSERT_GT(world4.steps.size(), 1200u);
    world4.steps[1000].input.jumpPressed = true;
    world4.steps[1000].input.jumpHeld = true;
    world4.steps[1000].input.dash = true;
    const ReplayCheck check = checkReplay(throughTheFile(changed));
    EXPECT_FALSE(check.matches);
    EXPECT_EQ(check.segment, 3);
    EXPECT_EQ(check.partsAtStep, 1200);
}

// A journey continued at a checkpoint of world 3 with pickups already taken.
TEST(ContinuedJourney, RecordedFromItsCheckpointChecksOut) {
    Game first;
    first.start(2);
    test::AutoPlayer player;
    while (first.checkpoint < 1 && first.levelTime < 600) {
        first.update(player.next(first), REPLAY_STEP_SECONDS);
    }
    ASSERT_GE(first.checkpoint, 1);
    ASSERT_GT(first.collectedSubscribers(), 0);
    Progress progress;
    Settings settings;
    IniSnapshot saved;
    saved.parse(saveSnapshotText(L"", first, progress, settings));

    Game game;
    game.start(2);
    game.subscribers = progress.savedSubscribers;
    restoreJourney(game, saved);
    const ReplayFile run = recordedRun(game, 3000);
    // The world is finished within these steps, so the next one is a second segment.
    ASSERT_EQ(run.segments.size(), 2u);
    EXPECT_EQ(run.segments[0].start.checkpoint, first.checkpoint);
    const std::wstring collected = saved.get(L"Journey", L"Collected", L"");
    EXPECT_EQ(run.segments[0].start.collected, std::string(collected.begin(), collected.end()));
    const ReplayCheck check = checkReplay(throughTheFile(run));
    EXPECT_TRUE(check.matches) << "step " << check.partsAtStep;
    EXPECT_EQ(check.game.world, 3);
}

// A world played with assists replays with them: walking into the first
// world's dangers without them would cost health, and the run would part.
TEST(AssistedWorld, KeepsItsAssistsThroughTheFile) {
    Game game;
    game.assists = Assists{.speedPercent = 60, .noDamage = true, .extraAirJump = true};
    game.start(0);
    ReplayRecorder recorder;
    recorder.beginWorld(game);
    Input walk;
    walk.right = true;
    for (int i = 0; i < 2400; ++i) {
        recorder.update(game, walk);
    }
    recorder.endWorld();
    ReplayFile recorded;
    recorded.segments = recorder.segments();
    const ReplayFile run = throughTheFile(recorded);
    ASSERT_FALSE(run.segments.empty());
    EXPECT_EQ(run.segments[0].start.assists, game.assists);
    EXPECT_TRUE(checkReplay(run).matches);
    // Played under other rules (hits count again), the run parts at the first
    // kept digest after the first hit: the world starts the same either way.
    ReplayFile stripped = run;
    stripped.segments[0].start.assists = Assists{};
    const ReplayCheck parted = checkReplay(stripped);
    EXPECT_FALSE(parted.matches);
    EXPECT_EQ(parted.segment, 0);
    EXPECT_GT(parted.partsAtStep, 0);
    EXPECT_TRUE(parted.partsAtStep % 1200 == 0 ||
                parted.partsAtStep == static_cast<std::int64_t>(run.segments[0].steps.size()));
}

// Each damaged file is refused with a message that says why.
TEST(ReplayFileRefused, DamagedForeignAndOversizedFiles) {
    Game game;
    game.start(1);
    const ReplayFile run = recordedRun(game, 1500);
    const std::vector<std::uint8_t> good = encodeReplay(run);
    // A step no game could have taken.
    const auto badStep = [&run](int slot, int state) {
        ReplayFile bad = run;
        bad.segments[0].steps[700].weaponSlot = slot;
        bad.segments[0].steps[700].stateBefore = state;
        return encodeReplay(bad);
    };
    const std::string text(good.begin(), good.end());
    const auto edited = [&text](const std::string& from, const std::string& to) {
        std::string copy = text;
        copy.replace(copy.find(from), from.size(), to);
        return std::vector<std::uint8_t>(copy.begin(), copy.end());
    };
    std::vector<std::uint8_t> truncated = good;
    truncated.resize(good.size() - 9);
    std::vector<std::uint8_t> flipped = good;
    flipped[good.size() - 20] ^= 0x5A;
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* message;
    } cases[] = {
        {"empty", {}, "not a replay file"},
        {"truncated", truncated, "the replay is damaged (cut short)"},
        {"flipped byte", flipped, "the replay is damaged"},
        {"newer format", edited("format=1", "format=2"), "format version 2; this game reads version 1"},
        {"over two hours", edited("steps=1500", "steps=864001"), "lasts longer than two hours"},
        {"unknown setting", edited("segments=", "setting.GameSpeed=50\nsegments="), "setting GameSpeed"},
        {"weapon 11", badStep(10, Playing), "the replay is damaged (step data)"},
        {"state 6", badStep(-1, Finale + 1), "the replay is damaged (step data)"},
        {"missing digest", edited("final_hash=", "final_hush="), "the replay is damaged (segment header)"},
    };
    for (const auto& c : cases) {
        ReplayFile file;
        std::string error;
        EXPECT_FALSE(decodeReplay(c.bytes, file, error)) << c.name;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
    }
    ReplayFile file;
    std::string error;
    EXPECT_TRUE(decodeReplay(edited("segments=", "note.by=tester\nsegments="), file, error)) << error;
}

} // namespace
} // namespace grumbo
