// Builds the content of each of the ten worlds. Every world shares one fixed
// layout; comparisons of the world index switch on the additions, and a few
// loops follow from the level length. Building the same world twice gives
// identical content, and no randomness is involved.
#include "game/game.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

namespace grumbo {

namespace {

struct LedgeSpec {
    float x, y, w;
};

constexpr std::array<LedgeSpec, 12> FIXED_LEDGES = {{
    {670, 357, 190},
    {975, 290, 150},
    {1300, 338, 260},
    {1860, 364, 180},
    {2180, 285, 200},
    {2500, 350, 190},
    {2970, 340, 250},
    {3480, 362, 180},
    {3780, 282, 210},
    {4340, 332, 250},
    {4800, 358, 200},
    {5140, 283, 180},
}};

struct ItemSpec {
    PickupKind kind;
    float x; // absolute, or relative to the arena start / level end below
    float y;
    enum Anchor { Absolute, Arena, End } anchor;
};

constexpr std::array<ItemSpec, 21> ITEMS = {{
    {PickupKind::GiftedSubs, 550, 437, ItemSpec::Absolute},
    {PickupKind::IpAddresses, 1760, 437, ItemSpec::Absolute},
    {PickupKind::WaterSlides, 3370, 437, ItemSpec::Absolute},
    {PickupKind::FidgetSpinners, 4650, 437, ItemSpec::Absolute},
    {PickupKind::BanHammer, 2030, 437, ItemSpec::Absolute},
    {PickupKind::RaidRocket, 3550, 437, ItemSpec::Absolute},
    {PickupKind::SnackShotgun, 4120, 437, ItemSpec::Absolute},
    {PickupKind::RgbLaser, -180, 437, ItemSpec::Arena},
    {PickupKind::HotDog, 1110, 258, ItemSpec::Absolute},
    {PickupKind::Hamburger, 2350, 253, ItemSpec::Absolute},
    {PickupKind::Burrito, 2760, 437, ItemSpec::Absolute},
    {PickupKind::Creatine, 3650, 437, ItemSpec::Absolute},
    {PickupKind::Shield, 1180, 437, ItemSpec::Absolute},
    {PickupKind::EnergyDrink, 2250, 437, ItemSpec::Absolute},
    {PickupKind::ProteinShake, 3820, 437, ItemSpec::Absolute},
    {PickupKind::Magnet, 1650, 437, ItemSpec::Absolute},
    {PickupKind::Nachos, -100, 437, ItemSpec::Arena},
    {PickupKind::Shield, 35, 437, ItemSpec::Arena},
    {PickupKind::Hamburger, 200, 437, ItemSpec::Arena},
    {PickupKind::Burrito, 370, 437, ItemSpec::Arena},
    {PickupKind::HotDog, -220, 437, ItemSpec::End},
}};

constexpr std::array<const char*, 5> ROUTE_TIPS = {
    "PIXEL PEAK: THE ICE ROUTE\n\nSix moving ice ledges form a high route above the snow. Their different "
    "rhythms let you ride a ledge, jump to the next, and gather bonus tokens. The ground route remains open "
    "below.",
    "RETRO REACTOR: READ THE SEQUENCE\n\nFour laser gates pulse in order. Watch their warning flashes and "
    "move "
    "through the open intervals, or jump over the beams. The reactor rewards timing more than speed.",
    "SNACKWORKS: FOLLOW THE BELT ARROWS\n\nConveyor belts move you while you stand on them. Some help your "
    "run; others push against you. Jump to break contact with a belt. Three crushers guard the next "
    "processing section.",
    "MIDNIGHT ARCADE: THE CABINET AMBUSH\n\nMimics hide among the arcade scenery. A chain of crumbling "
    "ledges "
    "offers an upper escape route, but keep jumping before each ledge disappears. Every ledge rebuilds after "
    "a short pause.",
    "SUBSCRIBER SUMMIT: THE FINAL GAUNTLET\n\nSpikes, flames, crushers, geysers and laser gates alternate "
    "across the last ascent. Moving ledges offer bonus routes. Watch each rhythm, save your dash for danger, "
    "and bring all ten weapons to the final boss.",
};

constexpr const char* INTRO_SIGN_TAIL = "\n\nFollow the subscriber trail, collect all ten weapons, and "
                                        "defeat the world boss to open its broadcast "
                                        "gate. Jump twice for fart-powered flight. Read signs for clues.";

constexpr const char* ROUTE_SIGN =
    "CHAT TIP: TAKE THE HIGH ROUTE\n\nTwo jumps clear every gap. Moving platforms carry you across optional "
    "routes. Crumbling ledges disappear shortly after you land, then rebuild.\n\nRed hazards flash before "
    "activating. Watch their rhythm, jump spikes, and dash through trouble when your cooldown is ready.";

constexpr const char* FOOD_SIGN =
    "FEED THE STREAM\n\nFood restores health. Burritos add a third jump. Creatine and energy drinks boost "
    "speed. Protein shakes add health capacity and bonus damage.\n\nShields absorb hits. Magnets pull "
    "subscriber tokens toward you. Nachos heal and boost damage. Chat supplies unlimited ammunition.";

constexpr const char* ARSENAL_SIGN =
    "THE UPGRADE ARSENAL\n\nBan Hammer: a huge close-range strike. Raid Rocket: an explosive area blast. "
    "Snack Shotgun: five spreading pellets. RGB Laser: a quick piercing beam.\n\nCycle your weapons to match "
    "the encounter. Aim with the mouse, or jump and face a target with keyboard or controller.";

constexpr const char* BOSS_SIGN_BODY =
    "\n\nThe gate stays locked until this boss is defeated. Each boss has three phases and a distinct attack "
    "rhythm. Bright windup flashes mark the next attack. Keep moving and fire during openings.\n\nYour "
    "checkpoint preserves boss damage on a retry. ";

constexpr const char* GROCERY_SIGN =
    "GROCERY SHIFT\n\nKeep the shelves stocked and the carts under control. Receipt Cannon fires three "
    "price-tag receipts that slow a target. Tagged enemies glow while the slowdown lasts.\n\nCollect the "
    "upper shelf tokens, then follow the aisle to the next checkpoint. Shopping carts wind up before "
    "rushing.";

constexpr const char* GRANNY_SIGN =
    "GRANNY AFTER DARK\n\nThe caretakers react to running, jumping and firing. A warning flash gives you "
    "time "
    "before they chase the noise. Slow steps keep the hallway quieter.\n\nThe flashlight shines forward for "
    "fifteen seconds and stuns a nearby caretaker. Face the danger, or take the balcony route.";

constexpr const char* BUNKER_SIGN =
    "SIXTY-SECOND SUPPLY RUN\n\nThe containment system is failing. Gather supplies and reach the bunker "
    "checkpoint between the warning pulses.\n\nSoup restores health and grants a brief safe window. The "
    "bunker also gives a small recovery boost. You can retry the route without losing your subscriber "
    "progress.";

constexpr const char* CARDS_SIGN =
    "CARD-SHOP AFTER DARK\n\nClose the card shop before the last customer escapes. Card-rack mimics and a "
    "wandering caretaker guard the aisle. Launch the One by One brick: it arcs, bounces along the floor, and "
    "can hit several different enemies.\n\nThe brick can ricochet through low routes while Receipt Cannon "
    "slows the next troublemaker. Repeated weaker pickups keep your stronger selected weapon equipped.";

Vec2 enemySize(EnemyKind kind) {
    switch (kind) {
    case EnemyKind::Slender:
        return {38, 100};
    case EnemyKind::Cat:
        return {42, 30};
    case EnemyKind::Letter:
        return {40, 44};
    case EnemyKind::Armored:
        return {50, 54};
    case EnemyKind::Drone:
        return {40, 34};
    case EnemyKind::Turret:
        return {48, 44};
    default:
        return {40, 54};
    }
}

int enemyHealth(EnemyKind kind, int tier) {
    switch (kind) {
    case EnemyKind::Slender:
    case EnemyKind::Mimic:
        return tier + 4;
    case EnemyKind::Letter:
    case EnemyKind::Spitter:
    case EnemyKind::Drone:
        return tier + 3;
    case EnemyKind::Armored:
        return 2 * tier + 6;
    case EnemyKind::Turret:
        return tier + 5;
    default:
        return tier + 2;
    }
}

// The builders capture the world index and the level under construction.
struct LevelBuilder {
    int w;
    Level& level;

    Platform& ledge(float x, float y, float width, float height = 20) {
        Platform p;
        p.rect = {x, y, width, height};
        level.platforms.push_back(p);
        return level.platforms.back();
    }

    Platform& movingPlatform(float x, float y, Vec2 travel, float speed) {
        Platform& p = ledge(x, y, 150);
        p.moving = true;
        p.home = {x, y};
        p.travel = travel;
        p.speed = speed;
        return p;
    }

    Platform& crumblingLedge(float x, float y, float width) {
        Platform& p = ledge(x, y, width);
        p.crumbling = true;
        p.home = {x, y};
        return p;
    }

    void hazard(HazardKind kind, float x, float y, float width, float height, float period, float activeTime,
                float timer) {
        Hazard h;
        h.rect = h.home = {x, y, width, height};
        h.kind = kind;
        h.clock = timer;
        h.period = period;
        h.activeTime = activeTime;
        h.damage = w + 18;
        h.active = period <= 0 || activeTime > timer;
        level.hazards.push_back(h);
    }

    Enemy& enemy(EnemyKind kind, float x, float patrolLeft, float patrolRight, char glyph = 'A') {
        const int tier = w / 3;
        const int n = static_cast<int>(level.enemies.size());
        Enemy e;
        e.kind = kind;
        e.size = enemySize(kind);
        e.pos = {x, kind == EnemyKind::Drone ? 230.0f : GROUND_Y - e.size.y};
        e.home = e.pos;
        e.patrolMin = patrolLeft;
        e.patrolMax = patrolRight;
        e.hp = e.maxHp = enemyHealth(kind, tier);
        e.tier = tier;
        e.letter = glyph;
        // Consecutive enemies are staggered so they do not act in unison.
        e.actionTimer = 1.7f + 0.6f * static_cast<float>(n % 4);
        e.attackCooldown = 2.3f - 0.05f * static_cast<float>(w);
        level.enemies.push_back(e);
        return level.enemies.back();
    }

    void cart(float x, float patrolLeft, float patrolRight) {
        Enemy& e = enemy(EnemyKind::Cart, x, patrolLeft, patrolRight);
        e.size = {58, 38};
        e.pos.y = 432;
        e.hp = e.maxHp = w / 3 + 5;
        e.home = e.pos;
    }

    void caretaker(float x, float patrolLeft, float patrolRight) {
        Enemy& e = enemy(EnemyKind::Caretaker, x, patrolLeft, patrolRight);
        e.size = {42, 78};
        e.pos.y = 392;
        e.hp = e.maxHp = w / 3 + 7;
        e.home = e.pos;
    }

    void item(PickupKind kind, float x, float y = 437, int value = 1) {
        Pickup p;
        p.kind = kind;
        p.pos = {x, y};
        p.value = value;
        level.pickups.push_back(p);
    }

    void sign(float x, std::string text) {
        level.signs.push_back(Sign{{x, GROUND_Y}, std::move(text), false});
    }

    void checkpoint(float x) { level.checkpoints.push_back(Checkpoint{{x, GROUND_Y}, false}); }
};

} // namespace

Level Game::makeLevel(int worldIndex) {
    const int w = worldIndex;
    const int c = std::clamp(worldIndex, 0, 9);
    Level level;
    LevelBuilder b{w, level};

    const float L = 6000.0f + 240.0f * static_cast<float>(c);
    const float A = L - 1050;
    level.name = levelName(c);
    level.subtitle = levelSubtitle(c);
    level.world = w;
    level.length = L;
    level.bossArenaX = A;
    level.spawn = {110, 406};
    level.exitGate = {L - 150, 310, 92, 160};

    std::vector<Pit> spans = {{1370, 1480, GROUND_Y}, {3030, 3150, GROUND_Y}, {4400, 4530, GROUND_Y}};
    if (w > 4) {
        spans.push_back({5600, 5730, GROUND_Y});
    }
    level.pits = spans;

    float groundStart = 0;
    for (const Pit& span : spans) {
        Platform& ground = b.ledge(groundStart, GROUND_Y, span.left - groundStart, 170);
        ground.groundBlock = true;
        groundStart = span.right;
    }
    b.ledge(groundStart, GROUND_Y, L - groundStart, 170).groundBlock = true;

    for (const LedgeSpec& l : FIXED_LEDGES) {
        if (l.x < A - 100) {
            b.ledge(l.x, l.y, l.w);
        }
    }
    for (int x = 5480; static_cast<float>(x) < A - 180; x += 480) {
        b.ledge(static_cast<float>(x), static_cast<float>(330 - 20 * (x % 3)), 220);
    }
    b.ledge(A + 115, 350, 160);
    b.ledge(L - 450, 335, 150);

    b.movingPlatform(1570, 345, {135, 0}, 0.9f + 0.035f * static_cast<float>(w));
    b.movingPlatform(3260, 335, {0, 55}, 1.0f + 0.045f * static_cast<float>(w));
    if (w > 4) {
        b.movingPlatform(5630, 330, {100, 35}, 1.3f);
    }
    b.crumblingLedge(2390, 258, 140);
    b.crumblingLedge(4010, 258, 140);

    if (w == 5) {
        // The ice route: six ledges with different rhythms above the snow.
        for (int i = 0; i < 6; ++i) {
            const float x = 1620.0f + 230.0f * static_cast<float>(i);
            const float y = 355.0f - 38.0f * static_cast<float>(i % 3);
            Platform& p = b.movingPlatform(x, y, {i % 2 == 0 ? 65.0f : -65.0f, 24},
                                           1.05f + 0.11f * static_cast<float>(i));
            p.phase = 0.6f * static_cast<float>(i);
        }
    } else if (w == 7) {
        for (Platform& p : level.platforms) {
            if (p.groundBlock && p.rect.x == 1480) {
                p.beltSpeed = 75;
            } else if (p.groundBlock && p.rect.x == 3150) {
                p.beltSpeed = -55;
            }
        }
        b.ledge(2170, 320, 220).beltSpeed = 95;
        b.ledge(3560, 294, 220).beltSpeed = -110;
    } else if (w == 8) {
        for (int i = 0; i < 5; ++i) {
            const float y = 352.0f - 40.0f * static_cast<float>(2 - std::abs(2 - i));
            b.crumblingLedge(1820.0f + 185.0f * static_cast<float>(i), y, 135);
        }
    } else if (w == 9) {
        b.movingPlatform(2110, 310, {100, 45}, 1.4f);
        b.movingPlatform(3670, 290, {-110, 40}, 1.55f);
        b.movingPlatform(6000, 300, {135, 50}, 1.65f);
    }

    // The subscriber trail along the ground, broken where it would hang over a pit.
    for (int base = 350; static_cast<float>(base) < A - 150; base += 320) {
        for (int i = 0; i < 3; ++i) {
            const float x = static_cast<float>(base + 39 * i);
            const bool nearPit = std::any_of(spans.begin(), spans.end(), [x](const Pit& s) {
                return s.left - 10 < x && x < s.right + 10;
            });
            if (!nearPit) {
                b.item(PickupKind::SubscriberTokens, x,
                       413.0f - 16.0f * std::sin(static_cast<float>(i) * 1.5708f), 100);
            }
        }
    }

    // Static and crumbling ledges each carry a row of tokens; moving ones do not.
    const size_t ledgeCount = level.platforms.size();
    for (size_t i = 0; i < ledgeCount; ++i) {
        const Platform p = level.platforms[i];
        if (p.groundBlock || p.moving) {
            continue;
        }
        for (int j = 0; j < 3; ++j) {
            b.item(PickupKind::SubscriberTokens, p.rect.x + 30 + 38.0f * static_cast<float>(j), p.rect.y - 35,
                   200);
        }
    }

    for (const ItemSpec& it : ITEMS) {
        const float x = it.anchor == ItemSpec::Arena ? A + it.x
                        : it.anchor == ItemSpec::End ? L + it.x
                                                     : it.x;
        b.item(it.kind, x, it.y);
    }

    const float fw = static_cast<float>(w);
    b.hazard(HazardKind::Spikes, 910, 452, 70 + 3 * fw, 18, 0, 0, 0);
    b.hazard(HazardKind::Flame, 1980, 386, 38, 84, 3.6f - 0.06f * fw, 1.05f, 0.4f);
    b.hazard(HazardKind::Laser, 3530, 326, 18, 144, 3.8f - 0.07f * fw, 1.0f, 2.1f);
    b.hazard(HazardKind::Crusher, 4890, 254, 70, 70, 4.0f - 0.06f * fw, 1.4f, 2.2f);
    // Each world adds to the hazards of the one before, up to its own stopping point.
    if (w > 1) {
        b.hazard(HazardKind::Spikes, 3900, 452, 88, 18, 0, 0, 0);
        if (w != 2) {
            b.hazard(HazardKind::Geyser, 2540, 380, 45, 90, 3.4f, 1.1f, 1.5f);
            if (w > 4) {
                b.hazard(HazardKind::Flame, 5950, 382, 46, 88, 3.0f, 1.2f, 1.8f);
                if (w != 5) {
                    b.hazard(HazardKind::Laser, 6400, 338, 20, 132, 2.9f, 1.0f, 0.6f);
                    if (w == 6) {
                        for (int i = 0; i < 4; ++i) {
                            b.hazard(HazardKind::Laser, 2080.0f + 125.0f * static_cast<float>(i), 344, 22,
                                     126, 4.4f, 1.0f, 1.1f * static_cast<float>(i));
                        }
                    } else if (w == 7) {
                        for (int i = 0; i < 3; ++i) {
                            b.hazard(HazardKind::Crusher, 4710.0f + 220.0f * static_cast<float>(i), 250, 78,
                                     74, 4.2f, 1.35f, 1.25f * static_cast<float>(i));
                        }
                    } else {
                        b.hazard(HazardKind::Crusher, 6750, 254, 84, 74, 3.3f, 1.5f, 1.6f);
                        if (w != 8) {
                            b.hazard(HazardKind::Spikes, 1750, 452, 85, 18, 0, 0, 0);
                            b.hazard(HazardKind::Flame, 2180, 392, 52, 78, 3.6f, 1.1f, 0.8f);
                            b.hazard(HazardKind::Crusher, 2600, 250, 82, 74, 3.8f, 1.35f, 2.2f);
                            b.hazard(HazardKind::Geyser, 3560, 385, 54, 85, 3.3f, 1.15f, 1.7f);
                            b.hazard(HazardKind::Laser, 4020, 340, 24, 130, 3.5f, 1.15f, 2.4f);
                            b.hazard(HazardKind::Crusher, 4920, 250, 82, 74, 3.9f, 1.4f, 0.6f);
                            b.hazard(HazardKind::Geyser, 5940, 380, 58, 90, 3.4f, 1.25f, 2.0f);
                        }
                    }
                }
            }
        }
    }

    b.enemy(EnemyKind::Zombie, 710, 560, 1040);
    b.enemy(EnemyKind::Cat, 1140, 1030, 1280);
    b.enemy(EnemyKind::Letter, 1690, 1560, 1910, 'W');
    b.enemy(w > 1 ? EnemyKind::Slender : EnemyKind::Zombie, 2110, 1960, 2410);
    b.enemy(EnemyKind::Cat, 2650, 2530, 2930);
    b.enemy(EnemyKind::Zombie, 3280, 3180, 3520);
    b.enemy(EnemyKind::Slender, 3620, 3490, 3990);
    b.enemy(EnemyKind::Letter, 4120, 4010, 4300, 'E');
    b.enemy(EnemyKind::Cat, 4680, 4560, 4860);
    b.enemy(EnemyKind::Spitter, 1030, 1000, 1270);
    b.enemy(EnemyKind::Armored, 2290, 2200, 2470);
    b.enemy(EnemyKind::Drone, 2850, 2710, 2960);
    b.enemy(EnemyKind::Turret, 3830, 3790, 3900);
    b.enemy(EnemyKind::Mimic, 4210, 4140, 4340);
    if (w == 8) {
        b.enemy(EnemyKind::Mimic, 1860, 1810, 2000);
        b.enemy(EnemyKind::Mimic, 2090, 2030, 2240);
        b.enemy(EnemyKind::Mimic, 2480, 2420, 2630);
    }
    // Late-level patrols cycle through the tougher kinds.
    for (int x = 5200; static_cast<float>(x) < A - 220; x += 440) {
        const int kind = static_cast<int>(EnemyKind::Spitter) + (x / 440 + w) % 5;
        const float fx = static_cast<float>(x);
        b.enemy(static_cast<EnemyKind>(kind), fx, fx - 90, fx + 160);
    }

    Enemy& boss = b.enemy(EnemyKind::Boss, L - 520, A + 300, L - 170, 'W');
    boss.bossIndex = w;
    boss.phase = 1;
    boss.hp = boss.maxHp = 5 * w + 24;
    boss.attackCooldown = 1.6f;
    boss.actionTimer = 0;
    boss.facing = -1;
    switch (w) {
    case 2:
        boss.size = {108, 135};
        boss.pos.y = 335;
        break;
    case 5:
        boss.size = {108, 78};
        boss.pos.y = 280;
        break;
    case 6:
        boss.size = {126, 126};
        boss.pos.y = 344;
        break;
    case 8:
        boss.size = {102, 126};
        boss.pos.y = 344;
        break;
    default:
        boss.size = {108, 126};
        boss.pos.y = 344;
        break;
    }
    boss.home = boss.pos;

    b.sign(260, std::string("GRUMBOS MEGASTREAM\n\n") + level.name + "\n" + level.subtitle + INTRO_SIGN_TAIL);
    b.sign(1250, ROUTE_SIGN);
    b.sign(2860, FOOD_SIGN);
    b.sign(4250, ARSENAL_SIGN);
    b.sign(A - 130, std::string("BOSS BROADCAST: ") + bossName(c) + BOSS_SIGN_BODY +
                        (w < 9 ? "Win this duel to bring the stream to the next world."
                               : "Defeat the Raid Sovereign and cross the gold gate to trigger the "
                                 "billion-subscriber raid."));
    if (w >= 5) {
        b.sign(1570, ROUTE_TIPS[std::clamp(w - 5, 0, 4)]);
    }

    b.checkpoint(1810);
    b.checkpoint(3350);
    b.checkpoint(L - 250);

    b.item(PickupKind::ReceiptCannon, w == 1 ? 1730 : 2800);
    b.item(PickupKind::OneByOne, 4690);
    b.item(PickupKind::SoupCan, w == 6 ? 2780 : 3320);
    b.item(PickupKind::Flashlight, w == 2 ? 1940 : 3560);

    if (w == 1) {
        level.chapters.push_back(Chapter{1620, 3150, "GROCERY SHIFT", 0});
        for (int i = 0; i < 3; ++i) {
            const float fi = static_cast<float>(i);
            const float shelfX = 1880 + 350 * fi;
            const float shelfY = 347.0f - 48.0f * static_cast<float>(i % 2);
            b.ledge(shelfX, shelfY, 210);
            for (int j = 0; j < 3; ++j) {
                b.item(PickupKind::SubscriberTokens, shelfX + 35 + 48.0f * static_cast<float>(j), shelfY - 34,
                       300);
            }
            b.cart(2040 + 345 * fi, 1930 + 345 * fi, 2220 + 345 * fi);
        }
        b.sign(1660, GROCERY_SIGN);
    } else if (w == 2) {
        level.chapters.push_back(Chapter{1880, 3360, "GRANNY AFTER DARK", 1});
        b.caretaker(2240, 2160, 2460);
        b.caretaker(2850, 2710, 2980);
        b.ledge(2310, 324, 245);
        b.hazard(HazardKind::Crusher, 2630, 254, 68, 70, 4.4f, 1.1f, 2.2f);
        b.sign(1900, GRANNY_SIGN);
    } else if (w == 6) {
        level.chapters.push_back(Chapter{2620, 3960, "SIXTY-SECOND SUPPLY RUN", 2});
        // The bunker checkpoint comes after the regular three, so this list is not sorted by x.
        b.checkpoint(2820);
        b.item(PickupKind::SoupCan, 3040, 305);
        b.ledge(2940, 339, 220);
        b.hazard(HazardKind::Flame, 3200, 388, 46, 82, 3.6f, 1.1f, 1.8f);
        b.cart(2910, 2790, 3020);
        b.sign(2660, BUNKER_SIGN);
    } else if (w == 8) {
        level.chapters.push_back(Chapter{2920, 4700, "CARD-SHOP AFTER DARK", 3});
        b.item(PickupKind::OneByOne, 3130, 437);
        b.cart(3520, 3390, 3650);
        b.caretaker(4260, 4170, 4380);
        b.sign(2980, CARDS_SIGN);
    }
    return level;
}

} // namespace grumbo
