// The shell driven through the headless backend: a clock that moves only when
// the loop waits, scripted window events and keys, and a renderer that records
// its draw calls.
#include "headless_app.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

namespace fs = std::filesystem;

class Shell : public testing::Test {
  protected:
    void SetUp() override {
        // Every test runs in a process of its own, maybe beside the others.
        folder = fs::path(testing::TempDir()) /
                 ("grumbo_app_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        test::writeStandInAssets(folder);
        headless::setTicks(1000000);
        headless::clearErrorBoxes();
        fs::remove(folder / "save.ini");
        test::openHeadlessApp(app, folder, folder / "save.ini", script);
        if (HasFatalFailure()) {
            return;
        }
        // The game opens on the title; these tests play, as after "New journey".
        ASSERT_EQ(app->game.state, Title);
        app->start(0, false);
        app->pacer.restart(clockTicks());
    }

    void TearDown() override {
        app.reset();
        fs::remove_all(folder);
    }

    void runFrames(int frames) { test::runFrames(*app, frames); }

    int stepsTaken() const { return static_cast<int>(std::lround(app->game.levelTime / SIMULATION_STEP)); }

    void send(WindowEventKind kind) { headless::pushEvent(app->window, WindowEvent{kind, 0, 0, 0}); }

    fs::path folder;
    std::shared_ptr<InputScript> script = std::make_shared<InputScript>();
    std::unique_ptr<App> app;
};

TEST_F(Shell, ANewJourneyPlaysTheFirstWorldAtSixtyFramesPerSecond) {
    EXPECT_EQ(app->game.state, Playing);
    EXPECT_EQ(app->game.world, 0);
    const std::uint64_t start = clockTicks();
    runFrames(61);
    const double seconds = static_cast<double>(clockTicks() - start) / headless::TICKS_PER_SECOND;
    EXPECT_NEAR(seconds, 1.0, 0.02);
    EXPECT_NEAR(stepsTaken(), 120, 2);
}

TEST_F(Shell, AStallRunsOneFrameOfSixStepsAndNoBurst) {
    runFrames(3);
    const int before = stepsTaken();
    const float clockBefore = app->presentationClock;
    headless::setTicks(clockTicks() + headless::TICKS_PER_SECOND);
    runFrames(1);
    EXPECT_EQ(stepsTaken() - before, 6);
    EXPECT_FLOAT_EQ(app->presentationClock - clockBefore, MAX_FRAME_SECONDS);
    // The next frame waits for the next boundary rather than catching up.
    const std::uint64_t afterStall = clockTicks();
    runFrames(1);
    EXPECT_GT(clockTicks(), afterStall);
}

TEST_F(Shell, FocusLossPausesAndRegainingFocusDoesNotResume) {
    runFrames(2);
    send(WindowEventKind::FocusLost);
    app->runPass();
    EXPECT_FALSE(app->active);
    EXPECT_EQ(app->game.state, Paused);
    const int steps = stepsTaken();
    for (int i = 0; i < 30; ++i) {
        app->runPass();
    }
    EXPECT_EQ(stepsTaken(), steps);

    send(WindowEventKind::FocusGained);
    runFrames(5);
    EXPECT_TRUE(app->active);
    EXPECT_EQ(app->game.state, Paused);
    EXPECT_EQ(stepsTaken(), steps);
}

TEST_F(Shell, NoInputReachesTheGameWhilePaused) {
    runFrames(2);
    app->game.state = Paused;
    const float x = app->game.player.pos.x;
    script->setKey(Key::Right, true);
    script->setKey(Key::J, true);
    runFrames(20);
    EXPECT_EQ(app->game.player.pos.x, x);
    EXPECT_TRUE(app->game.projectiles.empty());
}

TEST_F(Shell, MinimisingStopsTheSimulationAndRestoringResumesWithoutATimeJump) {
    runFrames(2);
    send(WindowEventKind::Minimized);
    const int steps = stepsTaken();
    const int presents = headless::presentCount(app->renderer);
    const float clock = app->presentationClock;
    for (int i = 0; i < 50; ++i) {
        app->runPass(); // each idle pass waits 100 ms
    }
    EXPECT_EQ(stepsTaken(), steps);
    EXPECT_EQ(headless::presentCount(app->renderer), presents);

    send(WindowEventKind::Restored);
    runFrames(1);
    EXPECT_EQ(stepsTaken(), steps);
    EXPECT_FLOAT_EQ(app->presentationClock, clock);
    runFrames(1);
    EXPECT_EQ(stepsTaken(), steps + 2);
}

TEST_F(Shell, TimingKeyTogglesTheOverlayAndQuitEndsTheLoop) {
    send(WindowEventKind::TimingsKey);
    runFrames(1);
    EXPECT_TRUE(app->showTimings);
    send(WindowEventKind::Quit);
    app->runPass();
    EXPECT_FALSE(app->running);
}

TEST_F(Shell, ResizeRecomputesTheCanvas) {
    headless::pushEvent(app->window, WindowEvent{WindowEventKind::Resized, 3440, 1440, 0});
    app->window.setClientSize(3440, 1440);
    runFrames(1);
    EXPECT_EQ(app->clientWidth, 3440);
    EXPECT_NEAR(app->viewWidth, 1290, 0.01);
    EXPECT_NEAR(app->game.viewWidth, 1290, 0.01);
}

TEST_F(Shell, DeviceLossReleasesEverythingAndTheNextFrameRecreatesIt) {
    runFrames(1);
    ASSERT_GT(app->textCache.size(), 0u);
    const std::uint32_t creates = app->graphicsCreates;
    headless::loseDevice(app->renderer);
    runFrames(1);
    EXPECT_EQ(app->graphicsCreates, creates + 1);
    EXPECT_TRUE(app->spriteSheet.valid());
    // Every text drawn after the loss is a fresh texture of the new device.
    headless::clearDrawLog(app->renderer);
    runFrames(1);
    int images = 0;
    for (const headless::DrawCall& call : headless::drawLog(app->renderer)) {
        images += call.kind == headless::DrawKind::Image ? 1 : 0;
    }
    EXPECT_GT(images, 5);
}

TEST_F(Shell, TheWorldLayerDrawsWhatDirectDrawingDrawsAndScalesItOnce) {
    runFrames(2);
    auto count = [&](headless::DrawKind kind, bool toTarget) {
        int n = 0;
        for (const headless::DrawCall& call : headless::drawLog(app->renderer)) {
            n += call.kind == kind && call.toTarget == toTarget ? 1 : 0;
        }
        return n;
    };
    headless::clearDrawLog(app->renderer);
    app->render();
    const int layerImages = count(headless::DrawKind::Image, true);
    const int layerFills = count(headless::DrawKind::Fill, true);
    const int windowImages = count(headless::DrawKind::Image, false);
    ASSERT_GT(layerImages, 10);

    app->useWorldLayer = false;
    headless::clearDrawLog(app->renderer);
    app->render();
    EXPECT_EQ(count(headless::DrawKind::Image, true), 0);
    // The layer's own composite is the one window image the direct frame lacks.
    EXPECT_EQ(count(headless::DrawKind::Image, false), layerImages + windowImages - 1);
    EXPECT_GE(count(headless::DrawKind::Fill, false), layerFills);
}

TEST_F(Shell, SpritesOffTheCanvasAreNotDrawn) {
    headless::clearDrawLog(app->renderer);
    app->sprite("player_idle", -70, 100, 64, 64, false, 1, 0);
    app->sprite("player_idle", -81, 100, 64, 64, false, 1, 0);
    app->sprite("no_such_sprite", 100, 100, 64, 64, false, 1, 0);
    ASSERT_EQ(headless::drawLog(app->renderer).size(), 1u);
    EXPECT_EQ(headless::drawLog(app->renderer)[0].texture, app->spriteSheet.id);
}

TEST_F(Shell, GateTextSwitchesInTheFrameTheExitOpens) {
    app->game.cameraX = std::max(app->game.level.exitGate.x - 400, 0.0f);
    app->game.exitOpen = false;
    app->render();
    EXPECT_TRUE(app->textCache.contains(
        TextCache::makeKey("BOSS LOCK", 1, app->game.level.exitGate.w + 56, 25, true)));
    app->game.exitOpen = true;
    app->render();
    EXPECT_TRUE(
        app->textCache.contains(TextCache::makeKey("GO LIVE", 1, app->game.level.exitGate.w + 56, 25, true)));
}

TEST_F(Shell, PickupNoticesQueueAtMostFourBehindTheShownOne) {
    std::vector<Pickup>& pickups = app->game.level.pickups;
    pickups.clear();
    for (int i = 0; i < 7; ++i) {
        Pickup pickup;
        pickup.kind = i == 0 ? PickupKind::SubscriberTokens : PickupKind::HotDog;
        pickup.pos = {-5000, 300};
        pickups.push_back(pickup);
    }
    app->resetLevelPresentation();
    for (Pickup& pickup : pickups) {
        pickup.collected = true;
    }
    runFrames(1);
    EXPECT_EQ(app->toastText, Game::pickupName(PickupKind::HotDog));
    EXPECT_EQ(app->toastQueue.size(), 4u);
}

TEST_F(Shell, ALevelWithADifferentPickupCountAnnouncesNothingAlreadyCollected) {
    runFrames(1);
    std::vector<Pickup>& pickups = app->game.level.pickups;
    Pickup taken;
    taken.kind = PickupKind::Burrito;
    taken.collected = true;
    taken.pos = {-5000, 300};
    pickups.push_back(taken);
    runFrames(1);
    EXPECT_EQ(app->pickupSeen.size(), pickups.size());
    EXPECT_EQ(app->toastTimer, 0);
    EXPECT_TRUE(app->toastQueue.empty());
}

TEST_F(Shell, TheAddressJokeAndWaitingToastsComeFromThePresentationTick) {
    app->ipJokeCountdown = 0.001f;
    app->toastQueue.push_back("BURRITO");
    runFrames(2);
    ASSERT_FALSE(app->ipText.empty());
    int parts = 0;
    std::size_t at = 0;
    while (at <= app->ipText.size()) {
        const std::size_t dot = std::min(app->ipText.find('.', at), app->ipText.size());
        const int number = std::stoi(app->ipText.substr(at, dot - at));
        EXPECT_GE(number, 300);
        EXPECT_LE(number, 999);
        ++parts;
        at = dot + 1;
    }
    EXPECT_EQ(parts, 4);
    EXPECT_GT(app->ipJokeTimer, 2.1f);
    EXPECT_GE(app->ipJokeCountdown, 24);
    EXPECT_LE(app->ipJokeCountdown, 34);
    EXPECT_EQ(app->toastText, "BURRITO");
    EXPECT_GT(app->toastTimer, 2.3f);

    // Only play counts down to the next joke.
    app->game.state = Paused;
    const float countdown = app->ipJokeCountdown;
    runFrames(3);
    EXPECT_EQ(app->ipJokeCountdown, countdown);
}

TEST(ShellStartUp, MissingSpriteSheetShowsTheArtworkMessageThenFails) {
    headless::clearErrorBoxes();
    const fs::path empty = fs::path(testing::TempDir()) / "grumbo_no_assets";
    fs::create_directories(empty);
    App app(std::make_unique<HeadlessInputDevices>(std::make_shared<InputScript>()));
    app.baseDirectory = empty.string();
    app.savePath = (empty / "save.ini").wstring();
    ASSERT_TRUE(app.window.open(WindowOptions{}));
    EXPECT_FALSE(app.init());
    ASSERT_EQ(headless::errorBoxes().size(), 1u);
    EXPECT_EQ(headless::errorBoxes()[0], std::string(ARTWORK_ERROR_CAPTION) + ": " + ARTWORK_ERROR_TEXT);
}

TEST(ShellStartUp, NoWindowSystemIsTheLaunchError) {
    headless::clearErrorBoxes();
    headless::failNextOpen(true);
    App app(std::make_unique<HeadlessInputDevices>(std::make_shared<InputScript>()));
    EXPECT_EQ(app.launch(""), 1);
    ASSERT_EQ(headless::errorBoxes().size(), 1u);
    EXPECT_EQ(headless::errorBoxes()[0], std::string(LAUNCH_ERROR_CAPTION) + ": " + LAUNCH_ERROR_TEXT);
}

} // namespace
} // namespace grumbo
