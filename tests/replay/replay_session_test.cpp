// The app records what is played: a continued journey, keys, a weapon number
// key, a restart from a checkpoint, pausing and a second world all come out the
// same from the replay, kept as last.replay beside the save and in the file of
// --record; a demo plays on a title left alone.
#include "../audio/temp_folder.h"
#include "game/state_hash.h"
#include "headless_app.h"
#include "replay/replay.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

namespace fs = std::filesystem;

// A headless app over stand-in assets in a scratch folder of its own.
class Session : public testing::Test {
  protected:
    void SetUp() override {
        test::writeStandInAssets(folder);
        headless::setTicks(1000000);
        test::openHeadlessApp(app, folder, folder / "save.ini", script);
    }
    test::TempFolder scratch;
    const fs::path& folder = scratch.path;
    std::shared_ptr<InputScript> script = std::make_shared<InputScript>();
    std::unique_ptr<App> app;
};

TEST_F(Session, WhatIsPlayedIsKeptAndChecksOut) {
    app->replayOptions.recordPath = (folder / "run.replay").string();

    const auto hold = [&](Key key, int frames) {
        script->setKey(key, true);
        test::runFrames(*app, frames);
        script->setKey(key, false);
    };
    // A continued journey that owns weapons 1 and 3, from its first checkpoint.
    app->saver.enqueue(L"[Journey]\r\nLevel=0\r\nWeapons=5\r\nCheckpoint=0\r\nCampaignVersion=4\r\n");
    app->progress.savedLevel = 0;
    app->start(0, true);
    for (int i = 0; i < 6; ++i) {
        script->setKey(Key::D, true);
        hold(Key::Space, 3);
        hold(Key::J, 40);
    }
    hold(Key::Digit3, 1);
    EXPECT_EQ(app->game.player.weapon, WaterSlides);
    hold(Key::R, 1);
    hold(Key::Escape, 1);
    test::runFrames(*app, 20);
    hold(Key::Escape, 1);
    hold(Key::D, 90);
    const int firstDeaths = app->game.deaths;
    app->start(1, false);
    hold(Key::D, 120);
    app->shutdown();
    app->replayWriter.flush();

    ReplayFile run;
    ReplayFile last;
    std::string error;
    ASSERT_TRUE(loadReplay((folder / "run.replay").wstring(), run, error)) << error;
    ASSERT_TRUE(loadReplay((folder / "last.replay").wstring(), last, error)) << error;
    ASSERT_EQ(run.segments.size(), 2u);
    ASSERT_EQ(last.segments.size(), 1u);
    EXPECT_EQ(last.segments[0].start.world, 1);
    EXPECT_GE(firstDeaths, 1);
    const ReplayCheck both = checkReplay(run);
    EXPECT_TRUE(both.matches) << "segment " << both.segment << " step " << both.partsAtStep;
    EXPECT_EQ(both.game.player.pos.x, app->game.player.pos.x);
    EXPECT_TRUE(checkReplay(last).matches);

    // Watched in the window at four times the speed, paused, the world stands
    // where the recording was at that step; at its end the replay returns to the
    // title, and so does Esc. Nothing is saved meanwhile.
    const fs::file_time_type saveTime = fs::last_write_time(folder / "save.ini");
    ReplayFile first = run;
    first.segments.resize(1);
    app->watchReplay(first);
    const auto press = [&](Key key) {
        hold(key, 1);
        test::runFrames(*app, 1);
    };
    press(Key::Digit4);
    const std::vector<test::Look> looks = test::drawFrame(*app);
    EXPECT_TRUE(
        std::any_of(looks.begin(), looks.end(), [](const test::Look& l) { return l.what == "REPLAY  x4"; }));
    while (app->watchStep < first.segments[0].steps.size() / 2) {
        test::runFrames(*app, 1);
    }
    press(Key::Space);
    ASSERT_TRUE(app->watchPaused);
    first.segments[0].steps.resize(app->watchStep);
    EXPECT_EQ(stateHash(app->game), stateHash(checkReplay(first).game));
    press(Key::Space);
    test::runFrames(*app, 120);
    EXPECT_FALSE(app->watching);
    EXPECT_EQ(app->game.state, Title);
    app->watchReplay(last);
    press(Key::Escape);
    EXPECT_FALSE(app->watching);

    // Thirty seconds untouched on the title, a demo plays; a key ends it at once
    // and does nothing on the title itself.
    test::writeBytes(folder / "assets" / "demo.replay", encodeReplay(run));
    test::runFrames(*app, 60 * 29);
    EXPECT_FALSE(app->watching);
    test::runFrames(*app, 70);
    ASSERT_TRUE(app->attract);
    EXPECT_EQ(app->game.state, Playing);
    press(Key::Enter);
    EXPECT_FALSE(app->watching);
    EXPECT_EQ(app->game.state, Title);
    EXPECT_EQ(app->menu.screen, MainListScreen);
    app->shutdown();
    app->saver.flush();
    EXPECT_EQ(fs::last_write_time(folder / "save.ini"), saveTime);
}

// The gate reached in play sets the world's records, shown on its card with
// NEW BEST and kept over a restart; continuing the finished world from the
// save opens on its card again but is no clear, and a slower clear betters nothing.
TEST_F(Session, OnlyARealClearCountsForTheRecordsAndTheyAreKept) {
    const auto clearFromBeforeTheGate = [&](float distance) {
        Game& game = app->game;
        for (Enemy& e : game.level.enemies) {
            e.alive = e.kind != EnemyKind::Boss && e.alive;
        }
        game.exitOpen = true;
        game.player.pos = {game.level.exitGate.x - distance, GROUND_Y - game.player.size.y};
        script->setKey(Key::D, true);
        for (int i = 0; i < 600 && game.state == Playing; ++i) {
            test::runFrames(*app, 1);
        }
        script->setKey(Key::D, false);
    };
    app->start(0, false);
    test::runFrames(*app, 30);
    clearFromBeforeTheGate(100);
    ASSERT_EQ(app->game.state, WorldComplete);
    const int best = app->records.worlds[0].clearCentis;
    EXPECT_EQ(best, centisOf(app->game.levelTime));
    EXPECT_EQ(app->records.worlds[0].fewestDeaths, 0);
    const auto shows = [this](const std::string& words) {
        const std::vector<test::Look> looks = test::drawFrame(*app);
        return std::any_of(looks.begin(), looks.end(),
                           [&words](const test::Look& l) { return l.what.find(words) != std::string::npos; });
    };
    EXPECT_TRUE(shows("NEW BEST TIME"));
    app->shutdown();
    app.reset();

    test::openHeadlessApp(app, folder, folder / "save.ini", script);
    EXPECT_EQ(app->records.worlds[0].clearCentis, best);
    app->start(0, true);
    ASSERT_EQ(app->game.state, WorldComplete);
    test::runFrames(*app, 5);
    EXPECT_FALSE(shows("NEW BEST"));
    EXPECT_EQ(app->records.worlds[0].clearCentis, best);

    app->start(0, false);
    test::runFrames(*app, 30);
    clearFromBeforeTheGate(400);
    ASSERT_EQ(app->game.state, WorldComplete);
    EXPECT_EQ(app->records.worlds[0].clearCentis, best);
    EXPECT_FALSE(shows("NEW BEST TIME"));
}

} // namespace
} // namespace grumbo
