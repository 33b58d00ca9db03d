// World construction: every world's content against the shared layout and the
// table of what each world adds, record by record and in creation order.
#include "game/game.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace grumbo {
namespace {

// Name, subtitle and boss of each world.
constexpr std::array<std::array<const char*, 3>, 10> WORLDS = {{
    {"NEON WOODLAND", "The subscriber trail begins under the glowing trees.", "ROOT OF ALL LAG"},
    {"DEAD SIGNAL CITY", "The city is offline. Its armored viewers are not.", "THE BUFFERING BRUTE"},
    {"SLENDER STATIC FOREST", "Static whispers between the trees. Keep moving.", "THE TALL VIEWER"},
    {"SPLASH ZONE", "Ride the current and watch the geysers.", "CAPTAIN SPLASH"},
    {"ALPHABET CITADEL", "Five letters guard a fortress of terrible guesses.", "TILE KING"},
    {"PIXEL PEAK", "Climb the clouds above a frozen pixel wilderness.", "THE PEAK DRONE"},
    {"RETRO REACTOR", "Cross the laser lines before the core overheats.", "THE OVERCLOCKED CORE"},
    {"SNACKWORKS FACTORY", "The snack conveyor never stops for hungry streamers.", "SNACKZILLA"},
    {"MIDNIGHT ARCADE", "Every cabinet wants one more quarter of your health.", "THE CABINET MIMIC"},
    {"SUBSCRIBER SUMMIT", "Bring the broadcast to the sky. The final raid awaits.", "THE RAID SOVEREIGN"},
}};

// Enemy kinds in order: Zombie, Slender, Cat, Letter, Boss, Spitter, Armored, Drone, Turret, Mimic, Cart,
// Caretaker. Carts and caretakers as the chapters reshape them; health = tier + base (Armored: 2 tier + 6).
constexpr std::array<float, 12> KIND_W = {40, 38, 42, 40, 40, 40, 50, 40, 48, 40, 58, 42};
constexpr std::array<float, 12> KIND_H = {54, 100, 30, 44, 54, 54, 54, 34, 44, 54, 38, 78};
constexpr std::array<int, 12> KIND_HP = {2, 4, 2, 3, 2, 3, 6, 3, 5, 4, 5, 7};
// The boss's width, height and y by world.
constexpr std::array<float, 10> BOSS_W = {108, 108, 108, 108, 108, 108, 126, 108, 102, 108};
constexpr std::array<float, 10> BOSS_H = {126, 126, 135, 126, 126, 78, 126, 126, 126, 126};
constexpr std::array<float, 10> BOSS_Y = {344, 344, 335, 344, 344, 280, 344, 344, 344, 344};

// One line of numbers per record, so a whole list compares at once.
template <class... T> std::string rec(T... v) {
    std::string s;
    for (double d : {static_cast<double>(v)...}) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.3f ", d);
        s += buf;
    }
    return s;
}

struct Show {
    static std::string line(const Pit& p) { return rec(p.left, p.right, p.y); }
    static std::string line(const Checkpoint& c) { return rec(c.pos.x, c.pos.y, c.reached); }
    static std::string line(const Sign& s) { return rec(s.pos.x, s.pos.y, s.read); }
    static std::string line(const Chapter& c) { return rec(c.startX, c.endX, c.theme) + c.title; }
    static std::string line(const Pickup& p) { return rec(p.kind, p.pos.x, p.pos.y, p.collected, p.value); }
    static std::string line(const Platform& p) {
        return rec(p.rect.x, p.rect.y, p.rect.w, p.rect.h, p.groundBlock, p.moving, p.crumbling, p.present,
                   p.home.x, p.home.y, p.travel.x, p.travel.y, p.speed, p.phase, p.crumbleTimer, p.beltSpeed);
    }
    static std::string line(const Hazard& h) {
        return rec(h.kind, h.rect.x, h.rect.y, h.rect.w, h.rect.h, h.home.x, h.home.y, h.home.w, h.home.h,
                   h.clock, h.period, h.activeTime, h.damage, h.active);
    }
    static std::string line(const Enemy& e) {
        return rec(e.kind, e.pos.x, e.pos.y, e.vel.x, e.vel.y, e.size.x, e.size.y, e.patrolMin, e.patrolMax,
                   e.hp, e.maxHp, e.facing, e.tier, e.bossIndex, e.phase, e.attackCount, e.alive, e.letter,
                   e.actionTimer, e.hitFlash, e.attackCooldown, e.windupTimer, e.chaseTimer, e.slowTimer,
                   e.stunTimer, e.home.x);
    }
};

// Reports the first record of a list that differs, with both lines.
template <class T>
void expectList(const char* what, int w, const std::vector<T>& got, const std::vector<T>& want) {
    EXPECT_EQ(got.size(), want.size()) << what << "s of world " << w;
    for (size_t i = 0; i < std::min(got.size(), want.size()); ++i) {
        if (Show::line(got[i]) != Show::line(want[i])) {
            ADD_FAILURE() << what << " " << i << " of world " << w << "\n got  " << Show::line(got[i])
                          << "\n want " << Show::line(want[i]);
            return;
        }
    }
}

template <class T> void put(std::vector<T>& list, bool when, const T& item) {
    if (when) {
        list.push_back(item);
    }
}

// Platforms as built, with the defaults every one gets: present, speed 1, crumble timer idle at -1.
Platform ground(float x0, float x1, float belt = 0) {
    return {{x0, 470, x1 - x0, 170}, true, false, false, true, {0, 0}, {0, 0}, {0, 0}, 1, 0, -1, 0, belt};
}
Platform ledge(float x, float y, float width, float belt = 0) {
    return {{x, y, width, 20}, false, false, false, true, {0, 0}, {0, 0}, {0, 0}, 1, 0, -1, 0, belt};
}
Platform crumbler(float x, float y, float width) {
    return {{x, y, width, 20}, false, false, true, true, {x, y}, {0, 0}, {0, 0}, 1, 0, -1, 0, 0};
}
Platform mover(float x, float y, Vec2 travel, float speed, float phase = 0) {
    return {{x, y, 150, 20}, false, true, false, true, {x, y}, travel, {0, 0}, speed, phase, -1, 0, 0};
}
Pickup item(PickupKind kind, float x, float y = 437, int value = 1) {
    return {kind, {x, y}, false, value};
}

// The content of world w as the layout table describes it, each list in creation order.
Level wanted(int w) {
    using enum EnemyKind;
    using enum PickupKind;
    using enum HazardKind;
    const float L = 6000 + 240.0f * w, A = L - 1050, fw = static_cast<float>(w);
    const int t = w / 3;
    Level v;
    auto& plat = v.platforms;
    v.pits = {{1370, 1480, 470}, {3030, 3150, 470}, {4400, 4530, 470}};
    put(v.pits, w > 4, {5600, 5730, 470});

    put(plat, true, ground(0, 1370));
    put(plat, true, ground(1480, 3030, w == 7 ? 75 : 0));
    put(plat, true, ground(3150, 4400, w == 7 ? -55 : 0));
    put(plat, true, ground(4530, w > 4 ? 5600 : L));
    put(plat, w > 4, ground(5730, L));
    const Platform fixed[] = {ledge(670, 357, 190),  ledge(975, 290, 150),  ledge(1300, 338, 260),
                              ledge(1860, 364, 180), ledge(2180, 285, 200), ledge(2500, 350, 190),
                              ledge(2970, 340, 250), ledge(3480, 362, 180), ledge(3780, 282, 210),
                              ledge(4340, 332, 250), ledge(4800, 358, 200), ledge(5140, 283, 180)};
    for (const Platform& p : fixed) {
        put(plat, p.rect.x < A - 100, p);
    }
    for (float x = 5480; x < A - 180; x += 480) {
        put(plat, true, ledge(x, 290, 220));
    }
    put(plat, true, ledge(A + 115, 350, 160));
    put(plat, true, ledge(L - 450, 335, 150));
    put(plat, true, mover(1570, 345, {135, 0}, 0.9f + 0.035f * fw));
    put(plat, true, mover(3260, 335, {0, 55}, 1.0f + 0.045f * fw));
    put(plat, w > 4, mover(5630, 330, {100, 35}, 1.3f));
    put(plat, true, crumbler(2390, 258, 140));
    put(plat, true, crumbler(4010, 258, 140));
    for (int i = 0; i < 6; ++i) {
        put(plat, w == 5,
            mover(1620 + 230.0f * i, 355 - 38.0f * (i % 3), {i % 2 ? -65.0f : 65.0f, 24}, 1.05f + 0.11f * i,
                  0.6f * i));
    }
    put(plat, w == 7, ledge(2170, 320, 220, 95));
    put(plat, w == 7, ledge(3560, 294, 220, -110));
    for (int i = 0; i < 5; ++i) {
        put(plat, w == 8, crumbler(1820 + 185.0f * i, std::array{352, 312, 272, 312, 352}[i], 135));
    }
    put(plat, w == 9, mover(2110, 310, {100, 45}, 1.4f));
    put(plat, w == 9, mover(3670, 290, {-110, 40}, 1.55f));
    put(plat, w == 9, mover(6000, 300, {135, 50}, 1.65f));
    const std::vector<Platform> ledges = plat;
    // Chapter platforms come last: the grocery shelves, the balcony and the bunker ledge.
    for (int i = 0; i < 3; ++i) {
        put(plat, w == 1, ledge(1880 + 350.0f * i, 347 - 48.0f * (i % 2), 210));
    }
    put(plat, w == 2, ledge(2310, 324, 245));
    put(plat, w == 6, ledge(2940, 339, 220));

    // The ground trail rises in the middle of each group and breaks near pits.
    for (float base = 350; base < A - 150; base += 320) {
        for (int i = 0; i < 3; ++i) {
            const float x = base + 39.0f * i;
            put(v.pickups,
                std::none_of(v.pits.begin(), v.pits.end(),
                             [x](const Pit& p) { return p.left - 10 < x && x < p.right + 10; }),
                item(SubscriberTokens, x, i == 1 ? 397 : 413, 100));
        }
    }
    for (const Platform& p : ledges) {
        for (int j = 0; j < 3; ++j) {
            put(v.pickups, !p.groundBlock && !p.moving,
                item(SubscriberTokens, p.rect.x + 30 + 38.0f * j, p.rect.y - 35, 200));
        }
    }
    const Pickup items[] = {item(GiftedSubs, 550),      item(IpAddresses, 1760), item(WaterSlides, 3370),
                            item(FidgetSpinners, 4650), item(BanHammer, 2030),   item(RaidRocket, 3550),
                            item(SnackShotgun, 4120),   item(RgbLaser, A - 180), item(HotDog, 1110, 258),
                            item(Hamburger, 2350, 253), item(Burrito, 2760),     item(Creatine, 3650),
                            item(Shield, 1180),         item(EnergyDrink, 2250), item(ProteinShake, 3820),
                            item(Magnet, 1650),         item(Nachos, A - 100),   item(Shield, A + 35),
                            item(Hamburger, A + 200),   item(Burrito, A + 370),  item(HotDog, L - 220)};
    const Pickup tools[] = {item(ReceiptCannon, w == 1 ? 1730 : 2800), item(OneByOne, 4690),
                            item(SoupCan, w == 6 ? 2780 : 3320), item(Flashlight, w == 2 ? 1940 : 3560)};
    v.pickups.insert(v.pickups.end(), std::begin(items), std::end(items));
    v.pickups.insert(v.pickups.end(), std::begin(tools), std::end(tools));
    for (int i = 0; i < 9; ++i) {
        const Platform& shelf = plat[plat.size() - 3 + i / 3]; // the shelves come last in world 1
        put(v.pickups, w == 1,
            item(SubscriberTokens, shelf.rect.x + 35 + 48.0f * (i % 3), shelf.rect.y - 34, 300));
    }
    put(v.pickups, w == 6, item(SoupCan, 3040, 305));
    put(v.pickups, w == 8, item(OneByOne, 3130));

    // Hazards start active when always on or when their window covers the starting clock.
    auto hazard = [&](bool when, HazardKind k, float x, float y, float wd, float h, float clock, float period,
                      float on) {
        const Rect r{x, y, wd, h};
        put(v.hazards, when, {r, k, period <= 0 || on > clock, clock, period, on, w + 18, r, false});
    };
    hazard(true, Spikes, 910, 452, 70 + 3 * fw, 18, 0, 0, 0);
    hazard(true, Flame, 1980, 386, 38, 84, 0.4f, 3.6f - 0.06f * fw, 1.05f);
    hazard(true, Laser, 3530, 326, 18, 144, 2.1f, 3.8f - 0.07f * fw, 1.0f);
    hazard(true, Crusher, 4890, 254, 70, 70, 2.2f, 4.0f - 0.06f * fw, 1.4f);
    hazard(w > 1, Spikes, 3900, 452, 88, 18, 0, 0, 0);
    hazard(w > 2, Geyser, 2540, 380, 45, 90, 1.5f, 3.4f, 1.1f);
    hazard(w > 4, Flame, 5950, 382, 46, 88, 1.8f, 3.0f, 1.2f);
    hazard(w > 5, Laser, 6400, 338, 20, 132, 0.6f, 2.9f, 1.0f);
    for (int i = 0; i < 4; ++i) {
        hazard(w == 6, Laser, 2080 + 125.0f * i, 344, 22, 126, 1.1f * i, 4.4f, 1.0f);
    }
    for (int i = 0; i < 3; ++i) {
        hazard(w == 7, Crusher, 4710 + 220.0f * i, 250, 78, 74, 1.25f * i, 4.2f, 1.35f);
    }
    hazard(w > 7, Crusher, 6750, 254, 84, 74, 1.6f, 3.3f, 1.5f);
    hazard(w == 9, Spikes, 1750, 452, 85, 18, 0, 0, 0);
    hazard(w == 9, Flame, 2180, 392, 52, 78, 0.8f, 3.6f, 1.1f);
    hazard(w == 9, Crusher, 2600, 250, 82, 74, 2.2f, 3.8f, 1.35f);
    hazard(w == 9, Geyser, 3560, 385, 54, 85, 1.7f, 3.3f, 1.15f);
    hazard(w == 9, Laser, 4020, 340, 24, 130, 2.4f, 3.5f, 1.15f);
    hazard(w == 9, Crusher, 4920, 250, 82, 74, 0.6f, 3.9f, 1.4f);
    hazard(w == 9, Geyser, 5940, 380, 58, 90, 2.0f, 3.4f, 1.25f);
    hazard(w == 2, Crusher, 2630, 254, 68, 70, 2.2f, 4.4f, 1.1f);
    hazard(w == 6, Flame, 3200, 388, 46, 82, 1.8f, 3.6f, 1.1f);

    // Enemies are staggered by their place in the list.
    auto enemy = [&](bool when, EnemyKind k, float x, float lo, float hi, char glyph = 'A') {
        const size_t i = static_cast<size_t>(k);
        const int hp = (k == Armored ? 2 : 1) * t + KIND_HP[i];
        const Vec2 size{KIND_W[i], KIND_H[i]}, pos{x, k == Drone ? 230 : 470 - size.y}, still{0, 0};
        const float stagger = 1.7f + 0.6f * static_cast<float>(v.enemies.size() % 4),
                    cooldown = 2.3f - 0.05f * fw;
        // Fields in order: kind, pos, vel, size, patrol, hp, facing, maxHp, tier, boss index, phase, attacks,
        // alive, grounded, glyph, then the action, flash, attack, windup, chase, slow and stun timers, home,
        // aim.
        const Enemy e{k,    pos,   still, size,    lo, hi,       hp, -1, hp, t, -1,  1,    0,
                      true, false, glyph, stagger, 0,  cooldown, 0,  0,  0,  0, pos, still};
        put(v.enemies, when, e);
    };
    enemy(true, Zombie, 710, 560, 1040);
    enemy(true, Cat, 1140, 1030, 1280);
    enemy(true, Letter, 1690, 1560, 1910, 'W');
    enemy(true, w > 1 ? Slender : Zombie, 2110, 1960, 2410);
    enemy(true, Cat, 2650, 2530, 2930);
    enemy(true, Zombie, 3280, 3180, 3520);
    enemy(true, Slender, 3620, 3490, 3990);
    enemy(true, Letter, 4120, 4010, 4300, 'E');
    enemy(true, Cat, 4680, 4560, 4860);
    enemy(true, Spitter, 1030, 1000, 1270);
    enemy(true, Armored, 2290, 2200, 2470);
    enemy(true, Drone, 2850, 2710, 2960);
    enemy(true, Turret, 3830, 3790, 3900);
    enemy(true, Mimic, 4210, 4140, 4340);
    enemy(w == 8, Mimic, 1860, 1810, 2000);
    enemy(w == 8, Mimic, 2090, 2030, 2240);
    enemy(w == 8, Mimic, 2480, 2420, 2630);
    for (int x = 5200; x < A - 220; x += 440) {
        enemy(true, static_cast<EnemyKind>(static_cast<int>(Spitter) + (x / 440 + w) % 5), x, x - 90,
              x + 160);
    }
    enemy(true, Boss, L - 520, A + 300, L - 170, 'W');
    Enemy& boss = v.enemies.back();
    boss.size = {BOSS_W[w], BOSS_H[w]};
    boss.pos.y = BOSS_Y[w];
    boss.hp = boss.maxHp = 5 * w + 24;
    boss.bossIndex = w;
    boss.attackCooldown = 1.6f;
    boss.actionTimer = 0;
    for (int i = 0; i < 3; ++i) {
        enemy(w == 1, Cart, 2040 + 345.0f * i, 1930 + 345.0f * i, 2220 + 345.0f * i);
    }
    enemy(w == 2, Caretaker, 2240, 2160, 2460);
    enemy(w == 2, Caretaker, 2850, 2710, 2980);
    enemy(w == 6, Cart, 2910, 2790, 3020);
    enemy(w == 8, Cart, 3520, 3390, 3650);
    enemy(w == 8, Caretaker, 4260, 4170, 4380);

    // Each text is given by its opening and its closing, joined by '~'.
    auto sign = [&](bool when, float x, std::string text) { put(v.signs, when, {{x, 470}, text, false}); };
    sign(true, 260,
         std::string("GRUMBOS MEGASTREAM\n\n") + WORLDS[w][0] + "\n" + WORLDS[w][1] +
             "\n\nFollow the subscriber trail~Jump twice for fart-powered flight. Read signs for clues.");
    sign(true, 1250, "CHAT TIP: TAKE THE HIGH ROUTE\n\nTwo jumps clear every gap.~your cooldown is ready.");
    sign(true, 2860, "FEED THE STREAM\n\nFood restores health.~Chat supplies unlimited ammunition.");
    sign(true, 4250, "THE UPGRADE ARSENAL\n\nBan Hammer: a huge~face a target with keyboard or controller.");
    sign(true, A - 130,
         std::string("BOSS BROADCAST: ") + WORLDS[w][2] +
             "\n\nThe gate stays locked~Your checkpoint preserves boss damage on a retry. " +
             (w < 9 ? "Win this duel to bring the stream to the next world."
                    : "Defeat the Raid Sovereign and cross the gold gate to trigger the billion-subscriber "
                      "raid."));
    sign(w == 5, 1570,
         "PIXEL PEAK: THE ICE ROUTE\n\nSix moving ice ledges~The ground route remains open below.");
    sign(w == 6, 1570,
         "RETRO REACTOR: READ THE SEQUENCE\n\nFour laser gates~rewards timing more than speed.");
    sign(w == 7, 1570,
         "SNACKWORKS: FOLLOW THE BELT ARROWS\n\nConveyor belts~guard the next processing section.");
    sign(w == 8, 1570, "MIDNIGHT ARCADE: THE CABINET AMBUSH\n\nMimics hide~rebuilds after a short pause.");
    sign(w == 9, 1570,
         "SUBSCRIBER SUMMIT: THE FINAL GAUNTLET\n\nSpikes, flames~ten weapons to the final boss.");
    sign(w == 1, 1660, "GROCERY SHIFT\n\nKeep the shelves stocked~Shopping carts wind up before rushing.");
    sign(w == 2, 1900,
         "GRANNY AFTER DARK\n\nThe caretakers react~Face the danger, or take the balcony route.");
    sign(w == 6, 2660, "SIXTY-SECOND SUPPLY RUN\n\nThe containment~without losing your subscriber progress.");
    sign(w == 8, 2980, "CARD-SHOP AFTER DARK\n\nClose the card shop~your stronger selected weapon equipped.");

    // The bunker checkpoint is appended after the regular three.
    v.checkpoints = {{{1810, 470}, false}, {{3350, 470}, false}, {{L - 250, 470}, false}};
    put(v.checkpoints, w == 6, {{2820, 470}, false});
    put(v.chapters, w == 1, {1620, 3150, "GROCERY SHIFT", 0});
    put(v.chapters, w == 2, {1880, 3360, "GRANNY AFTER DARK", 1});
    put(v.chapters, w == 6, {2620, 3960, "SIXTY-SECOND SUPPLY RUN", 2});
    put(v.chapters, w == 8, {2920, 4700, "CARD-SHOP AFTER DARK", 3});
    return v;
}

TEST(LevelContent, EveryWorldMatchesTheLayoutTable) {
    for (int w = 0; w < 10; ++w) {
        const Level got = Game::makeLevel(w), want = wanted(w);
        const float L = 6000 + 240.0f * w;
        EXPECT_EQ(got.name, WORLDS[w][0]);
        EXPECT_EQ(got.subtitle, WORLDS[w][1]);
        EXPECT_EQ(rec(got.world, got.length, got.bossArenaX, got.spawn.x, got.spawn.y),
                  rec(w, L, L - 1050, 110, 406));
        EXPECT_EQ(rec(got.exitGate.x, got.exitGate.y, got.exitGate.w, got.exitGate.h),
                  rec(L - 150, 310, 92, 160));
        expectList("pit", w, got.pits, want.pits);
        expectList("platform", w, got.platforms, want.platforms);
        expectList("pickup", w, got.pickups, want.pickups);
        expectList("hazard", w, got.hazards, want.hazards);
        expectList("enemy", w, got.enemies, want.enemies);
        expectList("checkpoint", w, got.checkpoints, want.checkpoints);
        expectList("chapter", w, got.chapters, want.chapters);
        expectList("sign", w, got.signs, want.signs);
        for (size_t i = 0; i < std::min(got.signs.size(), want.signs.size()); ++i) {
            const std::string& text = want.signs[i].text;
            const size_t cut = text.find('~');
            EXPECT_TRUE(got.signs[i].text.starts_with(text.substr(0, cut)) &&
                        got.signs[i].text.ends_with(text.substr(cut + 1)))
                << "sign " << i << " of world " << w << ": " << got.signs[i].text;
        }
    }
}

TEST(LevelContent, WorldIndexIsClampedForTheTables) {
    EXPECT_EQ(Game::makeLevel(-4).name, "NEON WOODLAND");
    const Level beyond = Game::makeLevel(12);
    EXPECT_EQ(beyond.name, "SUBSCRIBER SUMMIT");
    ASSERT_GE(beyond.signs.size(), 6u);
    EXPECT_TRUE(beyond.signs[5].text.starts_with("SUBSCRIBER SUMMIT: THE FINAL GAUNTLET"));
}

} // namespace
} // namespace grumbo
