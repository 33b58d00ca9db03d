// Whole-game runs by the automated player: every world can be finished from
// its start within twenty simulated minutes, a full run reaches the finale
// with a billion subscribers, and a full run replays identically.
#include "autoplayer.h"
#include "game_test_support.h"

#include <gtest/gtest.h>

namespace grumbo::test {
namespace {

constexpr std::int64_t TWENTY_MINUTES = 20 * 60 * 120;

class EveryWorld : public ::testing::TestWithParam<int> {};

TEST_P(EveryWorld, CanBeFinishedFromItsStart) {
    const int world = GetParam();
    Game game;
    game.start(world);
    AutoPlayer player;
    const std::int64_t steps = playWorld(game, player, TWENTY_MINUTES);
    EXPECT_EQ(game.state, world == 9 ? Finale : WorldComplete)
        << "stuck at x " << game.player.pos.x << " after " << steps << " steps, " << game.deaths << " deaths";
    EXPECT_EQ(game.world, world);
    EXPECT_LT(steps, TWENTY_MINUTES);
    EXPECT_TRUE(game.exitOpen);
}

INSTANTIATE_TEST_SUITE_P(Worlds, EveryWorld, ::testing::Range(0, 10));

Playthrough fullRun(Game& game) {
    game.start(0);
    AutoPlayer player;
    return playThrough(game, player, TWENTY_MINUTES);
}

TEST(Playthrough, AWholeRunReachesTheFinaleWithABillionSubscribersAndReplaysIdentically) {
    Game game;
    Game again;
    const Playthrough run = fullRun(game);
    const Playthrough replay = fullRun(again);
    ASSERT_EQ(run.worldsFinished, 10);
    for (std::size_t w = 0; w < run.steps.size(); ++w) {
        EXPECT_LT(run.steps[w], TWENTY_MINUTES) << "world " << w;
    }
    EXPECT_EQ(game.state, Finale);
    EXPECT_EQ(game.world, 9);
    EXPECT_GE(game.subscribers, 1000000000);

    EXPECT_EQ(run.totalSteps, replay.totalSteps);
    EXPECT_EQ(run.steps, replay.steps);
    EXPECT_EQ(game.deaths, again.deaths);
    EXPECT_EQ(game.subscribers, again.subscribers);
    EXPECT_EQ(stateHash(game), stateHash(again));
    // The digest notices a one-unit move of the player.
    again.player.pos.x += 1;
    EXPECT_NE(stateHash(game), stateHash(again));
}

// The recorded outcome of the whole run. Any change to how the game plays
// moves these numbers; when a change is meant, record the new ones here.
// Golden tests only say that something changed, so the mutation tool never
// counts them as catching a fault.
TEST(Golden, AWholeRunMatchesItsRecording) {
    Game game;
    const Playthrough run = fullRun(game);
    const std::array<std::int64_t, 10> recordedSteps = {2374, 2464, 2554, 2947, 3016,
                                                        3225, 3128, 2940, 3373, 3509};
    EXPECT_EQ(run.steps, recordedSteps);
    EXPECT_EQ(game.deaths, 0);
    EXPECT_EQ(stateHash(game), 11699341081608810454ull);
}

} // namespace
} // namespace grumbo::test
