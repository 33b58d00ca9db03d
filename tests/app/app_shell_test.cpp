// The shell driven through the headless backend: a clock that moves only when
// the loop waits, scripted window events and keys, and a renderer that records
// its draw calls.
#include "headless_app.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

// Scenes name only the fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace grumbo {
namespace {

namespace fs = std::filesystem;

// The game opens on the title; these tests play, as after "New journey".
class Shell : public test::HeadlessAppTest {
  protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(app->game.state, Title);
        app->start(0, false);
        app->pacer.restart(clockTicks());
    }

    int stepsTaken() const { return static_cast<int>(std::lround(app->game.levelTime / SIMULATION_STEP)); }

    void send(WindowEventKind kind) { headless::pushEvent(app->window, WindowEvent{kind, 0, 0, 0}); }
};

TEST_F(Shell, ANewJourneyPlaysTheFirstWorldAtSixtyFramesPerSecond) {
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

// A drag of the window holds the loop in the system's modal loop; afterwards
// play goes on where it stopped, without catching up the time held, and a
// drag that ended with the focus elsewhere leaves the game paused.
TEST_F(Shell, DraggingTheWindowPausesAndResumesWithoutCatchingUp) {
    runFrames(2);
    ASSERT_EQ(app->game.state, Playing);
    const int steps = stepsTaken();
    auto handle = [&](WindowEventKind kind) { app->handleWindowEvent(WindowEvent{kind, 0, 0, 0}); };
    handle(WindowEventKind::SizeMoveBegan);
    EXPECT_EQ(app->game.state, Paused);
    EXPECT_EQ(app->menu.screen, MainListScreen);
    headless::setTicks(clockTicks() + 3 * headless::TICKS_PER_SECOND);
    app->mouse.leftClickPending = true;
    handle(WindowEventKind::SizeMoveEnded);
    EXPECT_EQ(app->game.state, Playing);
    EXPECT_FALSE(app->mouse.leftClickPending);
    runFrames(1);
    EXPECT_EQ(stepsTaken(), steps);
    runFrames(1);
    EXPECT_EQ(stepsTaken(), steps + 2);

    handle(WindowEventKind::SizeMoveBegan);
    handle(WindowEventKind::FocusLost);
    handle(WindowEventKind::SizeMoveEnded);
    EXPECT_EQ(app->game.state, Paused);
}

TEST_F(Shell, FocusLossPausesRegainingFocusDoesNotResumeAndQuitEnds) {
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
    // F3 shows the frame timings; closing the window ends the loop.
    send(WindowEventKind::TimingsKey);
    runFrames(1);
    EXPECT_TRUE(app->showTimings);
    send(WindowEventKind::Quit);
    app->runPass();
    EXPECT_FALSE(app->running);
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

// A resize lays the canvas out anew and rasterises its texts at the new
// size; the pictures of the old size stay cached for a return to it.
TEST_F(Shell, ResizeRecomputesTheCanvasAndKeepsTheOldSizesTexts) {
    runFrames(1);
    const std::size_t texts = app->textCache.size();
    auto resize = [&](int width, int height) {
        headless::pushEvent(app->window, WindowEvent{WindowEventKind::Resized, width, height, 0});
        app->window.setClientSize(width, height);
        runFrames(1);
    };
    resize(3440, 1440);
    EXPECT_EQ(app->clientWidth, 3440);
    EXPECT_NEAR(app->viewWidth, 1290, 0.01);
    EXPECT_NEAR(app->game.viewWidth, 1290, 0.01);
    const std::size_t both = app->textCache.size();
    EXPECT_GE(both, 2 * texts);
    resize(1280, 720);
    EXPECT_EQ(app->textCache.size(), both);
    // A window taller than 16:9 shows bands above and below the canvas; the cursor is read inside it.
    resize(1280, 960);
    headless::setMouse(app->window, MouseState{400, 520});
    runFrames(1);
    EXPECT_FLOAT_EQ(app->mouse.mouseX, 300);
    EXPECT_FLOAT_EQ(app->mouse.mouseY, 300);
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

// Every world's platforms: the top stripe in the world's colour over a second
// one at 0.32, and the world's body colour where its terrain picture is missing.
TEST_F(Shell, EachWorldsPlatformsWearItsStripeAndItsBodyColour) {
    const std::uint32_t stripes[WORLD_COUNT] = {0x8AFA73, 0xDD79FA, 0xB2C66C, 0x67E4FF, 0xF5C26F,
                                                0xA9EAFF, 0x71FF9B, 0xFFAB70, 0xFC76DB, 0xFFE395};
    const std::uint32_t bodies[WORLD_COUNT] = {0x173A34, 0x36283E, 0x283326, 0x1B4F67, 0x353153,
                                               0x244754, 0x233746, 0x50332D, 0x30204F, 0x423949};
    for (int w = 0; w < WORLD_COUNT; ++w) {
        app->game.world = w;
        app->game.cameraX = 0;
        app->game.level.platforms = {Platform{.rect = {200, 300, 120, 40}}};
        app->loadWorldArt(static_cast<std::size_t>(w));
        app->renderer.release(app->terrain[static_cast<std::size_t>(w)]);
        const std::vector<test::Look> frame = test::drawFrame(*app);
        test::expectInOrder(frame, {{"", bodies[w], 200, test::band(300), 120, test::squash(40), 1},
                                    {"", stripes[w], 200, test::band(300), 120, test::squash(5), 1},
                                    {"", stripes[w], 200, test::band(305), 120, test::squash(5), 0.32f}});
    }
}

// Each kind of hazard over its rectangle (400, 300, 40 x 100): its warning look, then its own art idle
// and firing, and nothing else in the level band. A crusher hangs from a chain 40 above its home.
TEST_F(Shell, EachHazardKindDrawsItsWarningAndItsArtIdleAndFiring) {
    Game& g = app->game;
    g.level = Level{};
    g.particles.clear();
    g.cameraX = 0;
    g.player.pos = {5000, 300};
    const float c = app->presentationClock = 0.05f;
    const auto at = [](std::uint32_t colour, float x, float y, float w, float h, float opacity = 1) {
        return test::Look{"", colour, x, test::band(y), w, test::squash(h), opacity};
    };
    std::vector<test::Look> spikes, flames, geyser;
    for (int k = 0; k < 3; ++k) {
        const float left = 400 + 14.0f * k, half = std::min(14.0f, 40 - 14.0f * k) / 2;
        spikes.push_back(at(0xD3DCE8, left, 300, half, 100));
        spikes.push_back(at(0x7D8797, left + half, 300, half, 100));
        geyser.push_back(at(0xD9FAFF, 409 + 10.0f * k + 3 * std::sin(12 * c + 2.0f * k), 304, 2, 87, 0.45f));
    }
    for (int i = 0; i < 5; ++i) {
        const float h = (1 - 0.14f * i) * 92 * (0.65f + 0.07f * std::sin(28 * c + i)), w = 40 - 6.0f * i;
        flames.push_back(at(i % 2 == 0 ? 0xFF7D42 : 0xFFE676, 420 - w / 2, 392 - h, w, h, 0.75f));
    }
    const std::vector<test::Look> flameBase = {at(0x2B2230, 400, 392, 40, 8), at(0xFFCB66, 400, 392, 40, 2)};
    const std::vector<test::Look> emitters = {at(0x3A3550, 395, 296, 50, 10), at(0x3A3550, 395, 394, 50, 10),
                                              at(0xFF6CEB, 395, 305, 50, 1, 0.8f),
                                              at(0xFF6CEB, 395, 394, 50, 1, 0.8f)};
    const std::vector<test::Look> beam = {at(0xFF6CEB, 392, 306, 56, 88, 0.13f),
                                          at(0xFF6CEB, 400, 306, 40, 88, 0.65f),
                                          at(0xF2F3FF, 416, 306, 8, 88, 0.8f)};
    const std::vector<test::Look> crusher = {at(0x8A8FA0, 418, 210, 4, 90), at(0x6E7386, 400, 300, 40, 100),
                                             at(0x4A4E5E, 406, 306, 28, 81)};
    const std::vector<test::Look> nozzle = {at(0x4F6275, 396, 391, 48, 9), at(0x69E4FF, 396, 391, 48, 2)};
    const auto plus = [](std::vector<test::Look> a, const std::vector<test::Look>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct {
        HazardKind kind;
        std::uint32_t warning;
        std::vector<test::Look> idle, firing;
    } arts[] = {
        {HazardKind::Spikes, 0xFFA36C, spikes, spikes},
        {HazardKind::Flame, 0xFFA36C, flameBase, plus(flameBase, flames)},
        {HazardKind::Laser, 0xFF6CEB, emitters, plus(emitters, beam)},
        {HazardKind::Crusher, 0xFFA36C, plus(crusher, {at(0xFFCB66, 400, 393, 40, 7)}),
         plus(crusher, {at(0xFF696B, 400, 393, 40, 7)})},
        {HazardKind::Geyser, 0x69E4FF, nozzle,
         plus(plus({at(0x69E4FF, 400, 300, 40, 91, 0.22f)}, geyser), nozzle)},
    };
    for (const auto& art : arts) {
        for (const bool active : {false, true}) {
            g.level.hazards = {Hazard{.rect = {400, 300, 40, 100},
                                      .kind = art.kind,
                                      .active = active,
                                      .home = {400, 250, 40, 100},
                                      .warning = !active}};
            std::vector<test::Look> band;
            for (const test::Look& l : test::drawFrame(*app)) {
                if (std::fabs(l.clip.y - 76) < 0.01f && std::fabs(l.clip.h - 394) < 0.01f) {
                    band.push_back(l);
                }
            }
            const std::vector<test::Look> warning = {
                at(art.warning, 400, 300, 40, 100, 0.12f + 0.08f * std::sin(24 * c)),
                at(art.warning, 400, 299, 40, 2, 0.8f)};
            const std::vector<test::Look> wanted = active ? art.firing : plus(warning, art.idle);
            EXPECT_EQ(band.size(), wanted.size()) << static_cast<int>(art.kind) << " active " << active;
            test::expectInOrder(band, wanted);
        }
    }
}

// One of every kind of level content in view, drawn back to front in the
// level band: clipped between the HUD bars and squashed to fit between them.
TEST_F(Shell, TheLevelBandDrawsEveryLayerInOrderSquashedAndClipped) {
    using test::band;
    using test::squash;
    const float any = NAN;
    const std::uint32_t anyColour = test::ANY_COLOUR;
    Game& g = app->game;
    Level& level = g.level;
    g.cameraX = 100;
    g.exitOpen = false;
    app->presentationClock = 0.05f;
    // The world's terrain picture is lost: platforms fall back to flat fills.
    app->loadWorldArt(0);
    app->renderer.release(app->terrain[0]);
    level.pits = {Pit{200, 320, 470}, Pit{400, 454, 470}};
    level.chapters = {Chapter{-100, 500, "", 2}, Chapter{-1000, 700, "", 0}, Chapter{800, 1700, "", 3}};
    level.platforms = {Platform{.rect = {350, 400, 120, 40}, .moving = true},
                       Platform{.rect = {480, 420, 60, 30}, .crumbling = true, .crumbleTimer = 0.5f},
                       Platform{.rect = {100, 300, 100, 20}, .beltSpeed = 50},
                       Platform{.rect = {700, 500, 100, 100}, .beltSpeed = -50},
                       Platform{.rect = {560, 440, 30, 20}, .crumbling = true},
                       Platform{.rect = {600, 350, 50, 20}, .present = false}};
    level.hazards = {Hazard{.rect = {150, 450, 28, 20}}};
    level.checkpoints = {Checkpoint{{550, 470}, false}, Checkpoint{{580, 470}, true}};
    level.signs = {Sign{{620, 470}, "", false}, Sign{{660, 470}, "", true}};
    level.pickups = {Pickup{PickupKind::SubscriberTokens, {700, 250}},
                     Pickup{PickupKind::Hamburger, {740, 250}}};
    level.exitGate = {800, 330, 80, 140};
    level.enemies = {Enemy{.pos = {400, 200}, .size = {30, 40}, .hp = 2, .facing = 1, .maxHp = 5},
                     Enemy{.kind = EnemyKind::Drone, .pos = {500, 150}, .size = {50, 30}},
                     Enemy{.kind = EnemyKind::Boss, .pos = {920, 250}, .size = {80, 120}, .bossIndex = 0},
                     Enemy{.kind = EnemyKind::Mimic, .pos = {1030.5f, 430}, .size = {40, 40}, .facing = 1}};
    Enemy& zombie = level.enemies[0];
    zombie.hitFlash = zombie.windupTimer = zombie.slowTimer = zombie.stunTimer = 0.2f;
    level.enemies[1].maxHp = 3;
    level.enemies[2].windupTimer = 0.3f;
    level.enemies[2].aimPoint = {950, 200};
    auto shot = [](Weapon weapon, Vec2 pos, Vec2 size, bool hostile, int dir) {
        return Projectile{
            .weapon = weapon, .pos = pos, .size = size, .spin = 30, .dir = dir, .hostile = hostile};
    };
    g.projectiles = {shot(IpAddresses, {250, 100}, {10, 10}, true, 1),
                     shot(RgbLaser, {300, 120}, {40, 20}, true, 1),
                     shot(WaterSlides, {270, 100}, {26, 10}, true, 1),
                     shot(GiftedSubs, {290, 100}, {10, 10}, true, 1),
                     shot(WaterSlides, {350, 150}, {12, 12}, false, -1),
                     shot(RgbLaser, {400, 160}, {20, 6}, false, 1),
                     shot(IpAddresses, {253.9f, 180}, {10, 10}, false, 1),
                     shot(IpAddresses, {254, 190}, {10, 10}, false, 1),
                     shot(GiftedSubs, {-25, 100}, {10, 10}, true, 1),
                     shot(GiftedSubs, {500, -35}, {10, 10}, true, 1),
                     shot(GiftedSubs, {500, 100}, {10, 10}, true, 1)};
    g.projectiles.back().alive = false;
    // Particles just inside (0xCC) and just outside (0xBB) the view grown by twice their size.
    g.particles = {Particle{{600, 100}, {}, 1, 2, 20, 0xFF112233, 0},
                   Particle{{620, 100}, {}, 0.5f, 2, 6, 0xFF123456, 1},
                   Particle{{80, 100}, {}, 1, 1, 10, 0xAA, 1}, Particle{{700, 100}, {}, 1, 0, 10, 0xDD, 1}};
    for (const Vec2 at :
         {Vec2{79, 100}, {500, -21}, {1081, 100}, {500, 561}, {500, -20}, {1080, 100}, {500, 560}}) {
        g.particles.push_back(Particle{at, {}, 1, 1, 10, g.particles.size() < 8 ? 0xBBu : 0xCCu, 1});
    }
    g.player = Player{.pos = {800, 300}, .facing = -1, .shield = 5, .grounded = true};
    g.player.dashTime = g.player.speedBoost = g.player.flashlight = 0.5f;
    const float bob = 4 * std::sin(3 * 0.05f + 740);
    const float tokenY = 250 + 4 * std::sin(3 * 0.05f + 700);

    const std::vector<test::Look> frame = test::drawFrame(*app);
    const std::vector<int> found = test::expectInOrder(
        frame, {{"", 0x07060F, 100, band(470), 120, squash(90), 1},
                {"", 0x241433, 108, band(486), 104, squash(90), 0.55f},
                {"", 0xFF6C8A, 100, band(470), 2, squash(70), 0.55f},
                {"", 0xFF6C8A, 218, band(470), 2, squash(70), 0.55f},
                {"DROP", 0xC88293, 133, band(492), 54, 0, 1, test::CENTRED},
                {"", 0x07060F, 300, band(470), 54, squash(90), 1},
                {"", 0x241433, 308, band(486), 38, squash(90), 0.55f},
                {"", 0xFF6C8A, 352, band(470), 2, squash(70), 0.55f},
                {"prop_bunker_door", 0, -10, band(368), 96, squash(102), 0.9f},
                {"prop_grocery_shelf", 0, -90, band(370), 82, squash(100), 0.72f},
                {"prop_card_rack", 0, 890, band(370), 82, squash(100), 0.8f},
                {"", 0x173A34, 250, band(400), 120, squash(40), 1},
                {"", 0x8AFA73, 250, band(400), 120, squash(5), 1},
                {"", 0x8AFA73, 250, band(405), 120, squash(5), 0.32f},
                {"", anyColour, 254, band(411), 112, squash(2), any},
                {"", 0xFFCB66, 380, any, 60, any, 0.4f + 0.4f * std::sin(26 * 0.05f)},
                {">>>", 0xFFCB66, 26, band(281), 48, 0, 1, test::CENTRED},
                {"", 0x173A34, 600, band(500), 100, squash(40), 1},
                {"<<<", 0xFFCB66, 626, band(481), 48, 0, 1, test::CENTRED},
                {"", 0xFFCB66, 94, band(470), 6, squash(12), 0.9f},
                {"", 0xFFCB66, 220, band(470), 6, squash(12), 0.9f},
                {"", 0x0A0C20, 94, band(482), 6, squash(4), 0.9f},
                {"", 0x0A0C20, 220, band(482), 6, squash(4), 0.9f},
                {"", anyColour, 50, band(450), 7, squash(20), any},
                {"", anyColour, 64, band(450), 7, squash(20), any},
                {"", 0x99B5C6, 448.5f, band(412), 3, squash(58), 1},
                {"", 0x666582, any, band(412), 28, squash(18), 1},
                {"", 0xB3FF67, any, band(412), 28, squash(18), 1},
                {"", 0x7E593F, 517, band(440), 6, squash(30), 1},
                {"", 0xFFCB66, 496, band(412), 48, squash(2), 1},
                {"?", 0xFFCB66, 496, band(409), 48, 3, 1, test::CENTRED},
                {"", 0xB3FF67, 536, band(412), 48, squash(2), 1},
                {"?", 0xFFCB66, 536, band(409), 48, 3, 1, test::CENTRED},
                {"", 0xB3FF67, 584, band(tokenY - 16), 32, squash(32), 0.5f},
                {"", 0xB3FF67, 594, band(tokenY - 1.5f), 12, squash(3), 1},
                {"", 0xB3FF67, 598.5f, band(tokenY - 6), 3, squash(12), 1},
                {"", 0xAE79FF, 606, band(216 + bob), 68, squash(68), 0.45f},
                {"burger", 0, 616, band(226 + bob), 48, squash(48), 1},
                {"", 0xFF6C8A, 706, band(336), 68, squash(134), 0.1f},
                {"", 0x3B3F5C, 700, band(330), 8, squash(140), 1},
                {"", 0x3B3F5C, 772, band(330), 8, squash(140), 1},
                {"", 0x3B3F5C, 700, band(330), 80, squash(8), 1},
                {"", 0xFFCB66, 700, band(330), 80, squash(2), 1},
                {"BOSS LOCK", 0xFFCB66, 672, band(303), 136, 1, 1, test::CENTRED},
                {"X", 0xF2F3FF, 700, band(383.2f), 80, 3, 1, test::CENTRED},
                {"zombie_1", 0, 291, band(192), 48, squash(48), 0.55f, test::MIRRORED},
                {"", 0xFF728B, 291, band(191), 48, squash(2), 0.7f},
                {"", 0xFF728B, 291, band(239), 48, squash(2), 0.7f},
                {"", 0xFF728B, 290, band(192), 2, squash(48), 0.7f},
                {"", 0xFF728B, 338, band(192), 2, squash(48), 0.7f},
                {"", 0x3FD8C6, 288, band(162), 54, squash(13), 0.85f},
                {"TAGGED", 0x0A0C20, 288, band(162), 54, 0, 1, test::CENTRED},
                {"* * *", 0xFFCB66, 291, band(175), 48, 0, 1, test::CENTRED},
                {"", 0x2B2233, 295, band(185), 40, squash(4), 0.9f},
                {"", 0xFF778A, 295, band(185), 16, squash(4), 1},
                {"drone_0", 0, 392, band(132), 66, squash(48), 1, test::MIRRORED},
                {"boss_1_1", 0, 785, band(210), 150, squash(160), 1, test::MIRRORED},
                {"", 0xFFCB66, 834, band(199), 9, squash(2), 0.6f},
                {"", 0xFFCB66, 857, band(199), 9, squash(2), 0.6f},
                {"", 0xFFCB66, 849, band(184), 2, squash(9), 0.6f},
                {"", 0xFFCB66, 849, band(207), 2, squash(9), 0.6f},
                {"prop_card_rack", 0, 922.5f, band(422), 56, squash(48), 1},
                {"", 0xFF6E8D, 147, band(97), 16, squash(16), 0.13f},
                {"", 0xFF6E8D, 150, band(100), 10, squash(10), 0.85f},
                {"", 0xF2F3FF, 153, band(103), 4, squash(4), 0.5f},
                {"", 0xF776EF, 197, band(117), 46, squash(26), 0.13f},
                {"letter_X", 0, 200, band(120), 40, squash(20), 0.85f, 0, 30},
                {"", 0x68E6FF, 167, band(97), 32, squash(16), 0.13f},
                {"", 0x68E6FF, 170, band(100), 26, squash(10), 0.85f},
                {"", 0xA5F270, 187, band(97), 16, squash(16), 0.13f},
                {"", 0x6BE1FF, 270, band(158), 25, squash(5), 0.35f},
                {"water", 0, 245, band(145), 22, squash(22), 1, test::MIRRORED, 30},
                {"", 0xFE83E8, 272, band(163), 32, squash(3), 0.5f},
                {"weapon_rgb", 0, 295, band(155), 30, squash(16), 1, 0, 30},
                {"192.0.2.254", 0x82EDFF, 139.9f, band(166), 105, 0, 1},
                {"192.0.2.1", 0x82EDFF, 140, band(176), 105, 0, 1},
                {"fart_2", 0, 490, band(90), 36, squash(32), 0.35f},
                {"", 0x123456, 520, band(100), 6, squash(6), 0.25f},
                {"player_idle", 0, 689, band(292), 64, squash(72), 1, test::MIRRORED},
                {"", 0x79CFFF, 692, band(304), 2, squash(56), 0.55f},
                {"", 0x79CFFF, 748, band(304), 2, squash(56), 0.55f},
                {"", 0x82F7FF, 734, band(312), 35, squash(40), 0.18f},
                {"", 0x6BE3FF, 747, band(361), 13, squash(2), 0.45f},
                {"power_flashlight", 0, 678, band(325), 27, squash(20), 1, test::MIRRORED},
                {"", 0xFFCB66, 575.79f, band(309.02f), 115.42f, squash(26.95f), 0.2f},
                {"", 0xFFCB66, 575.8f, band(334.02f), 115.41f, squash(25.96f), 0.2f}});
    // A chapter has three props at most; a crumbling platform shows its warning only while it crumbles;
    // a platform gone is not drawn; a particle without a lifetime is spent; only the drone's three hit points
    // carry no bar.
    EXPECT_EQ(test::find(frame, {"prop_grocery_shelf", 0, 320, any, any, any, any}), -1);
    EXPECT_EQ(test::find(frame, {"", 0xFFCB66, 460, any, 30, any, any}), -1);
    EXPECT_EQ(test::find(frame, {"", anyColour, 500, band(350), 50, any, any}), -1);
    EXPECT_GE(test::find(frame, {"", 0xAA, -20, band(100), 10, squash(10)}), 0);
    EXPECT_GE(test::find(frame, {"", 0xDD, 600, band(100), 10, squash(10), 0}), 0);
    const auto drawnIn = [&](std::uint32_t colour) {
        return std::count_if(frame.begin(), frame.end(),
                             [&](const test::Look& l) { return l.colour == colour; });
    };
    EXPECT_EQ(drawnIn(0xCC), 3);
    EXPECT_EQ(drawnIn(0xBB), 0);
    EXPECT_EQ(drawnIn(0x2B2233), 2);
    // Shots off the view or spent are not drawn: one enemy shot's glow and core.
    EXPECT_EQ(drawnIn(0xA5F270), 2);
    // Everything of the band stays between the HUD bars.
    for (const int at : found) {
        const FRect clip = at >= 0 ? frame[at].clip : FRect{};
        EXPECT_NEAR(clip.x, 0, 0.01) << at;
        EXPECT_NEAR(clip.y, 76, 0.01) << at;
        EXPECT_NEAR(clip.w, 960, 0.01) << at;
        EXPECT_NEAR(clip.h, 394, 0.01) << at;
    }
    // The narrow pit carries no "DROP".
    EXPECT_EQ(std::count_if(frame.begin(), frame.end(), [](const test::Look& l) { return l.what == "DROP"; }),
              1);
    // A world without a backdrop: a flat fill, with specks of its own colour in the water world.
    g.world = 3;
    const std::vector<test::Look> water = test::drawFrame(*app);
    EXPECT_GE(test::find(water, {"", 0x181536, 0, 0, 960, 540}), 0);
    EXPECT_GE(test::find(water, {"", 0x9FDDFF, any, any, 2, 2, any}), 0);
    g.world = 0;
    level.exitGate.w = 0;
    EXPECT_EQ(test::find(test::drawFrame(*app), {"BOSS LOCK", 0xFFCB66, any, any, any, 1, 1, test::CENTRED}),
              -1);
    level.exitGate.w = 80;
    // Facing right, running, and blinking after a hit; the gate opens.
    g.player.facing = 1;
    g.player.vel.x = 200;
    g.player.invulnerable = 1;
    g.player.shield = 0;
    g.exitOpen = true;
    app->presentationClock = 0.1f;
    const std::vector<test::Look> right = test::drawFrame(*app);
    EXPECT_EQ(test::find(right, {"", 0x79CFFF, any, any, any, any, any}), -1);
    // The gate's label lies under the player standing in front of it.
    test::expectInOrder(right, {{"", 0xB3FF67, 706, band(336), 68, squash(134), 0.22f},
                                {"", 0xB3FF67, 700, band(330), 80, squash(2), 1},
                                {"GO LIVE", 0xB3FF67, 672, band(303), 136, 1, 1, test::CENTRED},
                                {">>", 0xF2F3FF, 700, band(383.2f), 80, 3, 1, test::CENTRED},
                                {"player_run_1", 0, 689, band(292), 64, squash(72), 0.45f},
                                {"", 0x82F7FF, 666, band(312), 35, squash(40), 0.18f},
                                {"", 0x6BE3FF, 674, band(361), 13, squash(2), 0.45f},
                                {"power_flashlight", 0, 739, band(325), 27, squash(20), 1},
                                {"", 0xFFCB66, 751.79f, band(309.02f), 115.42f, squash(26.95f), 0.2f},
                                {"", 0xFFCB66, 751.8f, band(334.02f), 115.41f, squash(25.96f), 0.2f}});
}

// The HUD of two moments of play, drawn after the world in its fixed
// order: on the way with a keyboard, then at the boss with a controller.
TEST_F(Shell, TheHudShowsTheWayOrTheBossAndTheDeviceInUse) {
    Game& g = app->game;
    auto buttons = [](int hovered) {
        std::vector<test::Look> looks;
        const float offsets[7] = {0, 46, 92, 146, 200, 254, 308};
        const float widths[7] = {40, 40, 48, 48, 48, 48, 40};
        const char* labels[7] = {"<", ">", "JUMP", "FIRE", "READ", "DASH", "II"};
        for (int i = 0; i < 7; ++i) {
            const float x = 306 + offsets[i];
            looks.push_back({"", i == hovered ? 0x28413Cu : 0x161C32u, x, 493, widths[i], 35, 0.95f});
            looks.push_back({"", i == hovered ? 0xB3FF67u : 0xAE79FFu, x, 493, widths[i], 2, 0.8f});
            looks.push_back(
                {labels[i], i == hovered ? 0xB3FF67u : 0xF2F3FFu, x, 503, widths[i], 0, 1, test::CENTRED});
        }
        return looks;
    };
    g.level.pits = {Pit{1200, 1320, 470}};
    g.level.signs = {Sign{{1000, 470}, "", false}};
    g.player.pos = {1050, GROUND_Y - g.player.size.y};
    g.player.facing = 1;
    g.player.health = 30;
    g.player.shield = 12;
    g.player.magnet = 3;
    g.cameraX = 900;
    g.subscribers = 1234;
    g.exitOpen = true;
    app->mouse.mouseX = 400;
    app->mouse.mouseY = 300;
    std::vector<test::Look> way = {{"", 0xFFCB66, 8, 332, 224, 2},
                                   {"", 0xFFCB66, 8, 362, 224, 2, 0.3f},
                                   {"E  READ JOURNEY SIGN", 0xFFCB66, 16, 340, 208, 1, 1, test::CENTRED},
                                   {"", 0xB3FF67, 16, 14, 224, 2},
                                   {"", 0xB3FF67, 16, 71, 224, 2, 0.3f},
                                   {"LIVE  GRUMBO", 0xB3FF67, 28, 22, 180, 1},
                                   {"", 0x363044, 28, 47, 154, 10},
                                   {"", 0xFF778A, 28, 47, 154 * 0.3f, 10},
                                   {"30", 0xF2F3FF, 190, 43, 36, 1},
                                   {"", 0xAE79FF, 714, 14, 230, 2},
                                   {"", 0xAE79FF, 714, 71, 230, 2, 0.3f},
                                   {"SUBSCRIBERS", 0xA3A7C0, 729, 23, 165, 0},
                                   {"1234 / 1 BILLION", 0xF2F3FF, 729, 42, 206, 1},
                                   {"01  " + g.level.name, 0xF2F3FF, 300, 19, 360, 1, 1, test::CENTRED},
                                   {"", 0x555366, 366, 50, 228, 3, 0.8f},
                                   {"", 0xB3FF67, 366, 50, 228 * 1050 / g.level.length, 3},
                                   {"", 0x0A0C20, 0, 470, 960, 70, 0.97f},
                                   {"", 0xAE79FF, 0, 470, 960, 1, 0.6f},
                                   {"", 0xAE79FF, 16, 488, 265, 2},
                                   {"", 0xAE79FF, 16, 523, 265, 2, 0.3f},
                                   {"gift", 0, 23, 487, 36, 36},
                                   {Game::weaponName(GiftedSubs), 0xF2F3FF, 62, 494, 204, 1},
                                   {"SHIELD 12  MAGNET", 0xB3FF67, 23, 474, 275, 0},
                                   {"R CLICK JUMP  WHEEL SWITCH  SHIFT DASH", 0xD1CEE5, 662, 474, 282, 0},
                                   {"", 0x5D5682, 662, 490, 282, 2},
                                   {"", 0x5D5682, 662, 524, 282, 2, 0.3f},
                                   {"BOSS DOWN / GATE OPEN", 0xA9A4C2, 673, 494, 260, 0},
                                   {"The next audience is waiting.", 0xF2F3FF, 673, 508, 260, 0}};
    const std::vector<test::Look> idle = buttons(-1);
    way.insert(way.end(), idle.begin(), idle.end());
    way.insert(way.end(), {{"", 0xB3FF67, 394, 299.5f, 4, 1, 0.75f},
                           {"", 0xB3FF67, 402, 299.5f, 4, 1, 0.75f},
                           {"", 0xB3FF67, 399.5f, 294, 1, 4, 0.75f},
                           {"", 0xB3FF67, 399.5f, 302, 1, 4, 0.75f},
                           {"GAP AHEAD  >>  JUMP", 0xFFCB66, 208, 441, 184, 0, 1, test::CENTRED}});
    test::expectInOrder(test::drawFrame(*app), way);

    const float arena = g.level.bossArenaX;
    g.level.pits = {Pit{arena - 200, arena - 100, 470}};
    g.level.signs = {Sign{{arena + 81, 470}, "", false}};
    g.level.enemies = {Enemy{.kind = EnemyKind::Boss,
                             .pos = {arena + 300, 300},
                             .hp = 50,
                             .maxHp = 200,
                             .bossIndex = 0,
                             .phase = 3}};
    g.exitOpen = false;
    g.player = Player{};
    g.player.pos = {arena, GROUND_Y - g.player.size.y};
    g.player.facing = -1;
    g.player.health = 31;
    g.player.maxHealth = 0;
    g.cameraX = arena - 800;
    app->gamepadActive = true;
    app->settings.ipJokes = true;
    app->ipJokeTimer = 1;
    app->ipText = "301.302.303.304";
    app->presentationClock = 0.45f;
    app->toastTimer = 1;
    app->toastText = "BURRITO";
    app->mouse.mouseX = 399;
    app->mouse.mouseY = 494;
    g.assists.noDamage = true;
    std::vector<test::Look> boss = {{"", 0xFFCB66, 728, 332, 224, 2},
                                    {"B  READ JOURNEY SIGN", 0xFFCB66, 736, 340, 208, 1, 1, test::CENTRED},
                                    {"", 0xB3FF67, 28, 47, 154, 10},
                                    {"", 0x0A0C20, 246, 18, 48, 16, 0.85f},
                                    {"ASSIST", 0xFFCB66, 246, 21, 48, 0, 1, test::CENTRED},
                                    {"YOUR IP ADDRESS", 0xF2F3FF, 729, 21, 206, 0},
                                    {"301.302.303.304", 0xF2F3FF, 729, 36, 206, 1},
                                    {"MADE UP BY CHAT", 0xADA4C0, 729, 57, 206, 0},
                                    {Game::bossName(0), 0xFFCB66, 300, 17, 360, 1, 1, test::CENTRED},
                                    {"BOSS PHASE 3", 0xD8C2ED, 300, 36, 360, 0, 1, test::CENTRED},
                                    {"", 0x422B47, 366, 56, 228, 7},
                                    {"", 0xFFCB66, 366, 56, 57, 7},
                                    {"TEN WEAPONS. PICK YOUR MOMENT.", 0xAAA3BD, 23, 474, 275, 0},
                                    {"A JUMP  X FIRE  B READ  BACK DASH", 0xD1CEE5, 662, 474, 282, 0},
                                    {"", 0xFFCB66, 662, 490, 282, 2},
                                    {"COLLECTED", 0xFFCB66, 673, 494, 260, 0},
                                    {"BURRITO", 0xF2F3FF, 673, 508, 260, 0}};
    const std::vector<test::Look> hovered = buttons(2);
    boss.insert(boss.end(), hovered.begin(), hovered.end());
    boss.push_back({"JUMP  <<  GAP AHEAD", 0xFFCB66, 608, 441, 184, 0, 1, test::CENTRED});
    const std::vector<test::Look> frame = test::drawFrame(*app);
    test::expectInOrder(frame, boss);
    // The boss bar replaces the world's title, and the crosshair stays off the HUD.
    EXPECT_EQ(test::find(frame, {"01  " + g.level.name, 0xF2F3FF, 300, 19, 360, 1, 1, test::CENTRED}), -1);
    EXPECT_EQ(test::find(frame, {"", 0xB3FF67, 393, 493.5f, 4, 1, 0.75f}), -1);
}

// Every page and card laid out as designed: its texts, sprites and button rectangles.
TEST_F(Shell, EveryPageAndCardShowsItsOwnLayout) {
    // Each page's looks, then its first button's rectangle and the step down to the next.
    struct Page {
        int state, screen;
        std::vector<test::Look> looks;
        FRect button;
        float step;
    };
    const char* keys = "ARROWS SELECT  |  ENTER CONFIRM  |  ESC BACK";
    const Page pages[] = {
        {Title,
         MainListScreen,
         {{"", 0x0A0C20, 0, 0, 960, 540, 0.45f},
          {"LANTERN FOX  /  UNOFFICIAL FAN ADVENTURE", 0xB4AECB, 86, 34, 760, 0},
          {"GRUMBOS", 0xAE79FF, 90, 70, 620, 5},
          {"GRUMBOS", 0xF2F3FF, 86, 66, 620, 5},
          {"MEGASTREAM", 0xB3FF67, 89, 148, 580, 3},
          {"Ten worlds. Ten bosses. Chat demands a harder journey.", 0xD8CCEA, 89, 192, 540, 0},
          {"", 0x243B39, 89, 229, 320, 37, 0.96f},
          {"> Continue journey (no save yet)", 0xB3FF67, 106, 236, 290, 1},
          {"", 0x13172F, 89, 271, 320, 37, 0.96f},
          {"New journey", 0xF2F3FF, 106, 278, 290, 1},
          {"Quit", 0xF2F3FF, 106, 446, 290, 1},
          {"", 0x85DC6B, 584, 436, 242, 9, 0.4f},
          {"player_run_1", 0, 573, 194, 252, 252},
          {"fart_4", 0, 513, 335, 95, 80, 0.6f},
          {"gift", 0, 538, 193, 68, 68, 1, 0, -12},
          {"spinner", 0, 754, 259, 66, 66, 1, 0, 135},
          {"burger", 0, 745, 387, 68, 68},
          {"letter_W", 0, 701, 174, 54, 54, 0.85f},
          {"10 WORLDS  /  10 WEAPONS", 0xFFCB66, 548, 476, 295, 1, 1, test::CENTRED},
          {"FART-POWERED PLATFORMING", 0xF2F3FF, 530, 501, 320, 0, 1, test::CENTRED},
          {keys, 0xC0B5D9, 18, 519, 924, 0, 1, test::CENTRED}},
         {89, 229, 320, 37},
         42},
        {Paused,
         MainListScreen,
         {{"", 0x0A0C20, 0, 0, 960, 540, 0.78f},
          {"", 0xAE79FF, 267, 78, 426, 2},
          {"", 0xAE79FF, 267, 458, 426, 2, 0.3f},
          {"STREAM PAUSED", 0xB3FF67, 290, 100, 380, 3, 1, test::CENTRED},
          {"Resume", 0xF2F3FF, 337, 171, 290, 1},
          {"> Restart checkpoint", 0xB3FF67, 337, 218, 290, 1},
          {"Main menu", 0xF2F3FF, 337, 359, 290, 1},
          {"CONTROLLER CONNECTED  |  A SELECT  B BACK", 0xC0B5D9, 18, 519, 924, 0, 1, test::CENTRED}},
         {320, 164, 320, 37},
         47},
        {Title,
         LevelSelectScreen,
         {{"", 0xAE79FF, 40, 24, 880, 2},
          {"", 0xAE79FF, 40, 500, 880, 2, 0.3f},
          {"CHOOSE YOUR WORLD", 0xB3FF67, 100, 43, 760, 3, 1, test::CENTRED},
          {"01  Neon Woodland", 0xF2F3FF, 77, 116, 378, 1},
          {"Roots, spikes, and the first broadcast.", 0xB9B7D1, 75, 149, 382, 0},
          {"10  Subscriber Summit", 0xF2F3FF, 509, 368, 378, 1},
          {"The final raid waits above the clouds.", 0xB9B7D1, 507, 401, 382, 0},
          {"> Back", 0xB3FF67, 337, 457, 290, 1}},
         {60, 109, 408, 37},
         63},
        {Title,
         ControlsScreen,
         {{"", 0xAE79FF, 115, 24, 730, 2},
          {"", 0xAE79FF, 115, 502, 730, 2, 0.3f},
          {"HOW TO GO LIVE", 0xB3FF67, 150, 42, 660, 3, 1, test::CENTRED},
          {"ACTION", 0xFFCB66, 155, 101, 165, 1},
          {"KEYBOARD", 0xFFCB66, 350, 101, 195, 1},
          {"CONTROLLER", 0xFFCB66, 580, 101, 220, 1},
          {"Move", 0xF2F3FF, 155, 134, 182, 0},
          {"A / D or Left / Right", 0xF2F3FF, 350, 134, 220, 0},
          {"Left stick / D-pad", 0xF2F3FF, 580, 134, 230, 0},
          {"", 0x655183, 154, 155.5f, 652, 1, 0.3f},
          {"Fullscreen / mute", 0xF2F3FF, 155, 330, 182, 0},
          {"Settings", 0xF2F3FF, 580, 330, 230, 0},
          {"", 0x655183, 154, 351.5f, 652, 1, 0.3f},
          {CONTROLS_MOUSE_HELP, 0xB9B7D1, 155, 364, 650, 0},
          {"> Got it", 0xB3FF67, 337, 451, 290, 1}},
         {320, 444, 320, 37},
         0},
        {Title,
         SettingsScreen,
         {{"", 0xAE79FF, 175, 24, 610, 2},
          {"", 0xAE79FF, 175, 500, 610, 2, 0.3f},
          {"STREAM SETTINGS", 0xB3FF67, 200, 40, 560, 3, 1, test::CENTRED},
          {"> Window: 1280 x 720", 0xB3FF67, 222, 108, 520, 1},
          {"Fullscreen now: OFF", 0xF2F3FF, 222, 137, 520, 1},
          {"[ ] Fullscreen auto-commit on startup", 0xF2F3FF, 222, 166, 520, 1},
          {"Music: 28%", 0xF2F3FF, 222, 195, 520, 1},
          {"Sound effects: 85%", 0xF2F3FF, 222, 224, 520, 1},
          {"Grumbo voice clips: ON", 0xF2F3FF, 222, 253, 520, 1},
          {"Screen shake: ON", 0xF2F3FF, 222, 282, 520, 1},
          {"[X] Occasional fake IP-address joke", 0xF2F3FF, 222, 311, 520, 1},
          {"VSYNC: does absolutely nothing (honest)", 0xF2F3FF, 222, 340, 520, 1},
          {"Captions: OFF", 0xF2F3FF, 222, 369, 520, 1},
          {"Timer: OFF", 0xF2F3FF, 222, 398, 520, 1},
          {"Back", 0xF2F3FF, 222, 427, 520, 1},
          {"Assist", 0xF2F3FF, 632, 53, 110, 1},
          {SETTINGS_NOTE, 0xC9BBDA, 200, 459, 560, 0, 1, test::CENTRED}},
         {205, 101, 550, 25},
         29},
    };
    // Behind the title, the first world's backdrop scrolls by 15 units a second under 38 specks.
    app->presentationClock = 1.5f;
    app->progress.savedLevel = -1;
    std::vector<test::Look> backdrop = {{"#image", test::ANY_COLOUR, -0.14f * 22.5f, 0, 960, 540},
                                        {"#image", test::ANY_COLOUR, 960 - 0.14f * 22.5f, 0, 960, 540}};
    for (int i = 0; i < 38; ++i) {
        const float fi = static_cast<float>(i);
        const float side = i % 2 == 0 ? 2 : 3;
        backdrop.push_back({"", 0xB3FF67,
                            std::fmod((i % 5 + 8) * 1.5f + 157 * fi - 0.32f * 22.5f + 90000, 960.0f),
                            100 + std::fmod(73 * fi + 12 * std::sin(0.45f + fi), 310.0f), side, side,
                            0.15f + 0.1f * std::sin(fi + 1.5f)});
    }
    for (const Page& page : pages) {
        app->game.state = page.state;
        app->menu.screen = page.screen;
        app->menu.selection = page.screen == LevelSelectScreen ? 10 : page.state == Paused ? 1 : 0;
        app->gamepadActive = page.state == Paused;
        const std::vector<test::Look> frame = test::drawFrame(*app);
        if (&page == pages) {
            test::expectInOrder(frame, backdrop);
            EXPECT_EQ(std::count_if(
                          frame.begin(), frame.end(),
                          [](const test::Look& l) { return l.colour == 0xB3FF67 && l.w == l.h && l.w <= 3; }),
                      38);
        }
        test::expectInOrder(frame, page.looks);
        const FRect& first = app->clickRegions.at(0);
        EXPECT_TRUE(first.x == page.button.x && first.y == page.button.y && first.w == page.button.w &&
                    first.h == page.button.h)
            << page.screen;
        EXPECT_EQ(app->clickRegions.size() > 1 ? app->clickRegions[1].y - first.y : 0, page.step);
    }
    // Twelve settings, and the corner button to the assist page.
    EXPECT_EQ(app->clickRegions.size(), 13u);
    // The spinner turns a quarter turn a second, round and round.
    app->game.state = Title;
    app->menu.screen = MainListScreen;
    app->presentationClock = 6.5f;
    EXPECT_GE(test::find(test::drawFrame(*app), {"spinner", 0, 754, 259, 66, 66, 1, 0, 225}), 0);
    // The cards over the world: the sign's words, then the two completions.
    app->game.signText = "Read me";
    app->game.subscribers = 77;
    const struct {
        int state;
        std::vector<test::Look> looks;
    } cards[] = {
        {SignCard,
         {{"LIVE  GRUMBO", 0xB3FF67, 28, 22, 180, 1},
          {"", 0x0A0C20, 0, 0, 960, 540, 0.48f},
          {"", 0xFFCB66, 135, 115, 690, 2},
          {"", 0xFFCB66, 135, 503, 690, 2, 0.3f},
          {"THE MEGASTREAM", 0xFFCB66, 160, 133, 640, 1},
          {"Read me", 0xF2F3FF, 160, 176, 640, 2},
          {"CLICK / ENTER / E  CONTINUE", 0xB3FF67, 160, 477, 640, 0}}},
        {WorldComplete,
         {{"", 0x0A0C20, 0, 0, 960, 540, 0.7f},
          {"", 0xB3FF67, 168, 90, 624, 2},
          {"", 0xB3FF67, 168, 438, 624, 2, 0.3f},
          {"SIGNAL RESTORED", 0xB3FF67, 200, 116, 560, 4, 1, test::CENTRED},
          {"World 1 complete.", 0xF2F3FF, 200, 197, 560, 2, 1, test::CENTRED},
          {"Subscribers: 77", 0xFFCB66, 210, 243, 540, 3, 1, test::CENTRED},
          {"Your next audience is waiting beyond the portal.", 0xC9BADB, 220, 301, 520, 1, 1, test::CENTRED},
          {"CLICK / ENTER / A   NEXT WORLD", 0xB3FF67, 210, 378, 540, 2, 1, test::CENTRED}}},
        {Finale,
         {{"ONE BILLION!", 0xB3FF67, 200, 116, 560, 4, 1, test::CENTRED},
          {"The journey paid off. Chat is going wild.", 0xF2F3FF, 200, 197, 560, 2, 1, test::CENTRED},
          {"Subscribers: 77", 0xFFCB66, 210, 243, 540, 3, 1, test::CENTRED},
          {"Zombies, cats, static, and spelling could not stop the stream.", 0xC9BADB, 220, 301, 520, 1, 1,
           test::CENTRED},
          {"CLICK / ENTER / A   RETURN TO MENU", 0xB3FF67, 210, 378, 540, 2, 1, test::CENTRED}}},
    };
    for (const auto& card : cards) {
        app->game.state = card.state;
        const std::vector<test::Look> frame = test::drawFrame(*app);
        test::expectInOrder(frame, card.looks);
        EXPECT_EQ(test::find(frame, {"THE MEGASTREAM", 0xFFCB66, 160, 133, 640, 1}) >= 0,
                  card.state == SignCard);
        EXPECT_EQ(test::find(frame, {"Subscribers: 77", 0xFFCB66, 210, 243, 540, 3, 1, test::CENTRED}) >= 0,
                  card.state != SignCard);
    }
    app->gamepadActive = true;
    app->game.state = SignCard;
    EXPECT_GE(test::find(test::drawFrame(*app), {"A / B  CONTINUE", 0xB3FF67, 160, 477, 640, 0}), 0);
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
    app->ipJokeCountdown = 0.5f;
    runFrames(1);
    EXPECT_EQ(app->ipJokeTimer, 0);
    // Four numbers of 300 to 999 from the app's own generator; the next joke 24 to 34 seconds on.
    std::uint32_t state = app->ipJokeRng = 12345;
    std::string words;
    for (int part = 0; part < 4; ++part) {
        state = state * 1664525u + 1013904223u;
        words += (part > 0 ? "." : "") + std::to_string((state >> 16) % 700 + 300);
    }
    app->ipJokeCountdown = 0.001f;
    app->toastQueue.push_back("BURRITO");
    runFrames(1);
    EXPECT_EQ(app->ipText, words);
    EXPECT_FLOAT_EQ(app->ipJokeTimer, 2.2f);
    EXPECT_FLOAT_EQ(app->ipJokeCountdown, static_cast<float>(state % 11 + 24));
    EXPECT_EQ(app->toastText, "BURRITO");
    EXPECT_GT(app->toastTimer, 2.3f);

    // A notice shows its full time before the next one.
    app->toastTimer = 0.5f;
    app->toastQueue.push_back("HOT DOG");
    runFrames(1);
    EXPECT_EQ(app->toastText, "BURRITO");

    // Only play counts down to the next joke.
    app->game.state = Paused;
    const float countdown = app->ipJokeCountdown;
    runFrames(3);
    EXPECT_EQ(app->ipJokeCountdown, countdown);
}

// The sheet vanished while the game ran, then the device was lost: the
// message is shown once, not on every frame, and the loop ends.
TEST_F(Shell, ArtworkGoneAfterADeviceLossIsToldOnceAndEndsTheGame) {
    runFrames(1);
    fs::remove(folder / "assets" / "sprites.png");
    headless::loseDevice(app->renderer);
    for (int i = 0; i < 20 && app->running; ++i) {
        app->runPass();
    }
    EXPECT_FALSE(app->running);
    ASSERT_EQ(headless::errorBoxes().size(), 1u);
    EXPECT_EQ(headless::errorBoxes()[0], std::string(ARTWORK_ERROR_CAPTION) + ": " + ARTWORK_ERROR_TEXT);
    EXPECT_FALSE(app->spriteSheet.valid());
    EXPECT_FALSE(app->glowImage.valid());
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
    EXPECT_EQ(headless::errorBoxes()[0], std::string(LAUNCH_ERROR_CAPTION) + ": " + launchErrorText());
}

} // namespace
} // namespace grumbo
