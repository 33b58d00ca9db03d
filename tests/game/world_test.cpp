// Platforms that move, crumble and carry; hazards on their cycles; pickups.
#include "game/game.h"
#include "game_test_support.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace grumbo {
namespace {

using namespace test;

Platform ledge(float x, float y, float w) {
    Platform p;
    p.rect = {x, y, w, 20};
    p.home = {x, y};
    return p;
}

void standOn(Game& g, const Platform& p, float x) {
    g.player.pos = {x, p.rect.y - g.player.size.y};
    g.player.vel = {0, 0};
    g.player.grounded = true;
}

Hazard hazard(HazardKind kind, Rect rect, float period, float activeTime, float clock) {
    Hazard h;
    h.kind = kind;
    h.rect = h.home = rect;
    h.period = period;
    h.activeTime = activeTime;
    h.clock = clock;
    h.damage = 18;
    h.active = period <= 0 || activeTime > clock;
    return h;
}

// Collects one pickup of the given kind with a single step of standing still.
void collect(Game& g, PickupKind kind, int value = 1) {
    Pickup p;
    p.kind = kind;
    p.value = value;
    p.pos = {g.player.pos.x + 21, g.player.pos.y + 32};
    g.level.pickups.push_back(p);
    g.update(Input{}, DT);
    ASSERT_TRUE(g.level.pickups.back().collected);
}

TEST(CrumblingPlatform, CollapsesSevenTenthsAfterTheFirstTouchAndRebuildsAndARiderFallsThrough) {
    Game g = sandbox();
    Platform crumbly = ledge(300, 300, 140);
    crumbly.crumbling = true;
    g.level.platforms.push_back(crumbly);
    standOn(g, crumbly, 320);

    float collapsedAt = -1;
    float rebuiltAt = -1;
    for (int step = 1; step <= 600 && rebuiltAt < 0; ++step) {
        const float t = static_cast<float>(step) * DT;
        Input in;
        // Jump off after 0.3 s and run clear: the countdown keeps going.
        in.jumpPressed = step == 36;
        in.jumpHeld = step >= 36 && step < 60;
        in.right = step >= 36;
        g.update(in, DT);
        const Platform& p = g.level.platforms[1];
        if (collapsedAt < 0 && !p.present) {
            collapsedAt = t;
            EXPECT_FLOAT_EQ(p.rebuildTimer, 3);
        }
        if (collapsedAt >= 0 && rebuiltAt < 0 && p.present) {
            rebuiltAt = t;
        }
    }
    EXPECT_NEAR(collapsedAt, 0.7, 0.02);
    EXPECT_NEAR(rebuiltAt - collapsedAt, 3, 0.02);
    const Platform& p = g.level.platforms[1];
    EXPECT_FLOAT_EQ(p.crumbleTimer, -1);
    expectAt({p.rect.x, p.rect.y}, 300, 300);

    // A rider who stays falls through once it collapses.
    g = sandbox();
    g.level.platforms.push_back(crumbly);
    standOn(g, crumbly, 320);
    run(g, Input{}, 180);
    EXPECT_FALSE(g.level.platforms[1].present);
    EXPECT_FLOAT_EQ(g.player.pos.y + g.player.size.y, GROUND_Y);
    // Nothing triggers it again while it is gone, and it stays idle once back.
    run(g, Input{}, 480);
    EXPECT_TRUE(g.level.platforms[1].present);
    EXPECT_FLOAT_EQ(g.level.platforms[1].crumbleTimer, -1);
}

TEST(MovingPlatform, CarriesItsRiderAlongItsPath) {
    Game g = sandbox();
    Platform lift = ledge(300, 300, 150);
    lift.moving = true;
    lift.travel = {0, 80};
    lift.speed = 2;
    g.level.platforms.push_back(lift);
    standOn(g, lift, 350);

    for (int step = 0; step < 480; ++step) {
        g.update(Input{}, DT);
        const Rect& r = g.level.platforms[1].rect;
        // The path follows the sine from home, 80 either way: downwards first for a positive travel.
        EXPECT_NEAR(r.y, 300 + std::sin(2 * DT * static_cast<float>(step + 1)) * 80, 0.01);
        EXPECT_FLOAT_EQ(r.x, 300);
        ASSERT_TRUE(g.player.grounded) << "step " << step;
        EXPECT_NEAR(g.player.pos.y + g.player.size.y, r.y, 0.01);
        EXPECT_NEAR(g.player.pos.x, 350, 0.01);
    }

    // A sideways path takes the rider sideways by the same amount.
    Game side = sandbox();
    Platform shuttle = ledge(1000, 300, 150);
    shuttle.moving = true;
    shuttle.travel = {135, 0};
    side.level.platforms.push_back(shuttle);
    standOn(side, shuttle, 1050);
    for (int step = 0; step < 240; ++step) {
        side.update(Input{}, DT);
        EXPECT_NEAR(side.player.pos.x - side.level.platforms[1].rect.x, 50, 0.01);
        EXPECT_TRUE(side.player.grounded);
    }
    // A rider counts from less than three units off the top.
    for (const float gap : {2.5f, 3.0f}) {
        Game near = sandbox();
        near.level.platforms.push_back(shuttle);
        standOn(near, shuttle, 1050);
        near.player.pos.y -= gap;
        near.updatePlatforms(DT);
        EXPECT_EQ(near.player.pos.x != 1050, gap < 3) << gap;
    }
}

TEST(Conveyor, PushesTheRiderOnlyWhileItsCentreIsOverTheBelt) {
    Game g = sandbox();
    Platform belt = ledge(200, 300, 400);
    belt.beltSpeed = -60;
    g.level.platforms.push_back(belt);
    standOn(g, belt, 380);
    run(g, Input{}, 120);
    EXPECT_NEAR(g.player.pos.x, 320, 0.05);
    EXPECT_TRUE(g.player.grounded);

    // Standing on the belt's very edge, centre outside: no push.
    standOn(g, belt, 170);
    run(g, Input{}, 60);
    EXPECT_FLOAT_EQ(g.player.pos.x, 170);
    EXPECT_TRUE(g.player.grounded);
}

TEST(Hazards, PeriodicHazardIsActiveOnlyInItsWindowAndWarnsOncePerCycleWhenNear) {
    Game g = sandbox();
    g.level.hazards = {hazard(HazardKind::Flame, {500, 386, 38, 84}, 3.6f, 0.8f, 0),
                       hazard(HazardKind::Flame, {700, 386, 38, 84}, 3.6f, 0.8f, 0),
                       hazard(HazardKind::Flame, {650, 386, 38, 84}, 3.6f, 0.8f, 0)};
    // Only the first is within 500 units of the player.
    g.player.pos.x = 100;
    std::vector<float> warnedAt;
    for (int step = 1; step <= 864; ++step) {
        g.sounds.clear();
        g.update(Input{}, DT);
        const Hazard& h = g.level.hazards[0];
        EXPECT_EQ(h.active, h.clock < 0.8f) << "clock " << h.clock;
        EXPECT_EQ(h.warning, h.clock >= 3.6f - 0.55f);
        for (const SoundEvent& e : g.sounds) {
            if (e.sound == Sound::HazardWarning) {
                EXPECT_FLOAT_EQ(e.x, 500);
                EXPECT_FLOAT_EQ(e.volume, 0.5f);
                warnedAt.push_back(h.clock);
            }
        }
    }
    ASSERT_EQ(warnedAt.size(), 2u);
    EXPECT_NEAR(warnedAt[0], 3.05, 0.01);
    EXPECT_NEAR(warnedAt[1], 3.05, 0.01);
}

TEST(Hazards, ContactHurtsWhileActiveAndInvulnerabilityPreventsRepeats) {
    Game g = sandbox();
    const Rect overPlayer{g.player.pos.x, g.player.pos.y, 42, 64};
    // Inactive for the first 1.8 s, then harmful for 0.8 s.
    g.level.hazards = {hazard(HazardKind::Laser, overPlayer, 3.6f, 0.8f, 1.8f)};
    run(g, Input{}, 200);
    EXPECT_EQ(g.player.health, 100);
    for (int step = 0; step < 96; ++step) {
        g.update(Input{}, DT);
        g.player.pos.x = overPlayer.x;
    }
    EXPECT_EQ(g.player.health, 82);
    EXPECT_EQ(countSounds(g, Sound::Hurt), 1);

    // Spikes are always live: one hit, then 1.25 s of immunity.
    Game s = sandbox();
    s.level.hazards = {hazard(HazardKind::Spikes, {s.player.pos.x - 10, 452, 70, 18}, 0, 0, 0)};
    s.level.hazards[0].active = false;
    for (int step = 0; step < 100; ++step) {
        const int health = s.player.health;
        s.update(Input{}, DT);
        // The push is away from the hazard's centre, though its left edge is behind the player.
        if (s.player.health < health) {
            EXPECT_LT(s.player.vel.x, 0);
        }
        s.player.pos.x = 100;
        ASSERT_TRUE(s.level.hazards[0].active);
        ASSERT_FALSE(s.level.hazards[0].warning);
    }
    EXPECT_EQ(s.player.health, 82);
    EXPECT_FLOAT_EQ(s.level.hazards[0].clock, 0);
}

TEST(Hazards, CrusherDropsAndRisesWithinItsActiveTime) {
    Game g = sandbox();
    Hazard crusher = hazard(HazardKind::Crusher, {600, 254, 70, 70}, 4, 1.35f, 0);
    Hazard stuck = hazard(HazardKind::Crusher, {800, 254, 70, 70}, 0, 1, 0.5f);
    // A hazard built without a home takes its rectangle as home.
    stuck.home = {};
    g.level.hazards = {crusher, stuck};
    float deepest = 0;
    float deepestAt = 0;
    for (int step = 1; step <= 480; ++step) {
        g.update(Input{}, DT);
        const Hazard& h = g.level.hazards[0];
        if (h.rect.y - 254 > deepest) {
            deepest = h.rect.y - 254;
            deepestAt = h.clock;
        }
        if (!h.active) {
            EXPECT_FLOAT_EQ(h.rect.y, 254);
        }
        EXPECT_FLOAT_EQ(g.level.hazards[1].rect.y, 254 + 146);
    }
    EXPECT_NEAR(deepest, 146, 0.05);
    EXPECT_NEAR(deepestAt, 0.675, 0.01);
    EXPECT_FLOAT_EQ(g.level.hazards[1].home.y, 254);
}

TEST(Pickups, TokensAddTheirValueWithQuietSoundsAndSmallBursts) {
    Game g = sandbox();
    // A pickup is a 28 unit box: touching its edge is enough.
    Pickup edge;
    edge.pos = {g.player.pos.x + 42 + 13, g.player.pos.y + 32};
    g.level.pickups = {edge};
    g.updatePickups(DT);
    EXPECT_TRUE(g.level.pickups[0].collected);
    g.subscribers = 0;
    g.sounds.clear();
    g.particles.clear();
    collect(g, PickupKind::SubscriberTokens, 100);
    collect(g, PickupKind::SubscriberTokens, 300);
    EXPECT_EQ(g.subscribers, 400);
    ASSERT_EQ(countSounds(g, Sound::Pickup), 2);
    for (const SoundEvent& e : g.sounds) {
        EXPECT_FLOAT_EQ(e.volume, 0.45f);
    }
    EXPECT_EQ(g.particles.size(), 12u);
    EXPECT_EQ(g.particles.back().kind, 1);
    EXPECT_EQ(g.particles.back().color, 0xffffd367u);

    g.sounds.clear();
    g.particles.clear();
    collect(g, PickupKind::Magnet);
    ASSERT_EQ(g.sounds.size(), 1u);
    EXPECT_FLOAT_EQ(g.sounds[0].volume, 0.9f);
    EXPECT_EQ(g.particles.size(), 18u);
    EXPECT_EQ(g.particles.back().kind, 1);
    EXPECT_EQ(g.particles.back().color, 0xff91efcbu);
}

TEST(Pickups, FoodHealsUpToTheMaximum) {
    using enum PickupKind;
    for (const auto& [kind, before, after] :
         {std::tuple{HotDog, 50, 70}, std::tuple{HotDog, 90, 100}, std::tuple{Hamburger, 50, 85},
          std::tuple{Burrito, 50, 65}, std::tuple{Nachos, 50, 95}, std::tuple{SoupCan, 50, 75}}) {
        Game g = sandbox();
        g.player.health = before;
        collect(g, kind);
        EXPECT_EQ(g.player.health, after) << Game::pickupName(kind);
    }
}

TEST(Pickups, TimedEffectsReplaceTheTimeLeft) {
    Game g = sandbox();
    g.player.speedBoost = 16;
    g.player.powerUp = 11;
    g.player.dashCooldown = 1.2f;
    collect(g, PickupKind::Creatine);
    EXPECT_FLOAT_EQ(g.player.speedBoost, 14);
    collect(g, PickupKind::Nachos);
    EXPECT_FLOAT_EQ(g.player.powerUp, 8);
    collect(g, PickupKind::EnergyDrink);
    EXPECT_FLOAT_EQ(g.player.speedBoost, 20);
    EXPECT_FLOAT_EQ(g.player.dashCooldown, 0);
    collect(g, PickupKind::Burrito);
    EXPECT_FLOAT_EQ(g.player.tripleJump, 18);
    collect(g, PickupKind::Magnet);
    EXPECT_FLOAT_EQ(g.player.magnet, 18);
    collect(g, PickupKind::Flashlight);
    EXPECT_FLOAT_EQ(g.player.flashlight, 15);
}

// The shield stacks to 120; the protein shake raises the maximum and powers
// shots; the soup can glows and keeps a longer invulnerability.
TEST(Pickups, ShieldProteinShakeAndSoupCan) {
    Game g = sandbox();
    collect(g, PickupKind::Shield);
    EXPECT_EQ(g.player.shield, 60);
    collect(g, PickupKind::Shield);
    EXPECT_EQ(g.player.shield, 120);
    g.player.shield = 100;
    collect(g, PickupKind::Shield);
    EXPECT_EQ(g.player.shield, 120);

    collect(g, PickupKind::ProteinShake);
    EXPECT_EQ(g.player.maxHealth, 125);
    EXPECT_EQ(g.player.health, 125);
    EXPECT_FLOAT_EQ(g.player.powerUp, 12);
    g.player.health = 60;
    collect(g, PickupKind::Hamburger);
    EXPECT_EQ(g.player.health, 95);
    collect(g, PickupKind::Hamburger);
    EXPECT_EQ(g.player.health, 125);

    collect(g, PickupKind::SoupCan);
    EXPECT_FLOAT_EQ(g.player.invulnerable, 3);
    EXPECT_FLOAT_EQ(g.player.glow, 3);
    g.player.invulnerable = 5;
    collect(g, PickupKind::SoupCan);
    EXPECT_NEAR(g.player.invulnerable, 5 - DT, 1e-5);
}

TEST(Pickups, EveryWeaponPickupGivesItsWeapon) {
    const std::pair<PickupKind, Weapon> pairs[] = {
        {PickupKind::GiftedSubs, GiftedSubs},       {PickupKind::IpAddresses, IpAddresses},
        {PickupKind::WaterSlides, WaterSlides},     {PickupKind::FidgetSpinners, FidgetSpinners},
        {PickupKind::BanHammer, BanHammer},         {PickupKind::RaidRocket, RaidRocket},
        {PickupKind::SnackShotgun, SnackShotgun},   {PickupKind::RgbLaser, RgbLaser},
        {PickupKind::ReceiptCannon, ReceiptCannon}, {PickupKind::OneByOne, OneByOne},
    };
    for (auto [kind, weapon] : pairs) {
        Game g = sandbox();
        collect(g, kind);
        EXPECT_TRUE(g.player.ownedWeapons[weapon]) << Game::pickupName(kind);
        // Every weapon outranks the starting one, which is simply owned again.
        EXPECT_EQ(g.player.weapon, weapon) << Game::pickupName(kind);
        EXPECT_EQ(std::count(g.player.ownedWeapons.begin(), g.player.ownedWeapons.end(), true),
                  weapon == GiftedSubs ? 1 : 2);
    }
}

TEST(Pickups, WeakerWeaponIsOnlyAddedAndStrongerOneIsEquippedReady) {
    Game g = sandbox();
    g.player.weapon = RgbLaser;
    g.player.ownedWeapons[RgbLaser] = true;
    g.fireCooldown = 0.5f;
    collect(g, PickupKind::IpAddresses);
    EXPECT_TRUE(g.player.ownedWeapons[IpAddresses]);
    EXPECT_EQ(g.player.weapon, RgbLaser);
    EXPECT_GT(g.fireCooldown, 0);

    collect(g, PickupKind::OneByOne);
    EXPECT_EQ(g.player.weapon, OneByOne);
    EXPECT_FLOAT_EQ(g.fireCooldown, 0);

    // Power, not list order: spinners (20) never replace addresses (30).
    Game h = sandbox();
    h.player.weapon = IpAddresses;
    collect(h, PickupKind::FidgetSpinners);
    EXPECT_EQ(h.player.weapon, IpAddresses);
}

TEST(Pickups, MagnetPullsNearbyTokensOnly) {
    Game g = sandbox();
    // The magnet's last half second still pulls.
    g.player.magnet = 0.5f;
    const Vec2 hub{g.player.pos.x + 21, g.player.pos.y + 30};
    Pickup near;
    near.pos = {hub.x + 90, hub.y - 120};
    Pickup far = near;
    far.pos = {hub.x + 250, hub.y};
    Pickup burger = near;
    burger.kind = PickupKind::Hamburger;
    g.level.pickups = {near, far, burger};
    g.updatePickups(DT);
    const float step = 520 * DT;
    EXPECT_NEAR(g.level.pickups[0].pos.x, hub.x + 90 - 0.6f * step, 1e-3);
    EXPECT_NEAR(g.level.pickups[0].pos.y, hub.y - 120 + 0.8f * step, 1e-3);
    EXPECT_FLOAT_EQ(g.level.pickups[1].pos.x, hub.x + 250);
    EXPECT_FLOAT_EQ(g.level.pickups[2].pos.x, hub.x + 90);

    // Without the magnet tokens stay put; with it they end up collected.
    g.player.magnet = 0;
    g.updatePickups(DT);
    EXPECT_NEAR(g.level.pickups[0].pos.x, hub.x + 90 - 0.6f * step, 1e-3);
    g.player.magnet = 10;
    for (int i = 0; i < 60; ++i) {
        g.updatePickups(DT);
    }
    EXPECT_TRUE(g.level.pickups[0].collected);
    EXPECT_FALSE(g.level.pickups[1].collected);
    EXPECT_EQ(g.subscribers, 1);
}

} // namespace
} // namespace grumbo
