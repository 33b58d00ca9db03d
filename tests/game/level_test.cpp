// World construction: the content a player would notice in each world.
#include "game/game.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

int countIf(const auto& list, auto pred) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), pred));
}

bool isStaticLedge(const Platform& p) {
    return !p.groundBlock && !p.moving && !p.crumbling;
}

const Enemy& bossOf(const Level& level) {
    auto it = std::find_if(level.enemies.begin(), level.enemies.end(),
                           [](const Enemy& e) { return e.kind == EnemyKind::Boss; });
    EXPECT_NE(it, level.enemies.end());
    return *it;
}

TEST(LevelContent, WorldZeroLayout) {
    const Level level = Game::makeLevel(0);
    EXPECT_EQ(level.name, "NEON WOODLAND");
    EXPECT_FLOAT_EQ(level.length, 6000);
    EXPECT_FLOAT_EQ(level.bossArenaX, 4950);
    EXPECT_FLOAT_EQ(level.exitGate.x, 5850);
    EXPECT_FLOAT_EQ(level.exitGate.y, 310);

    ASSERT_EQ(level.pits.size(), 3u);
    EXPECT_FLOAT_EQ(level.pits[0].left, 1370);
    EXPECT_FLOAT_EQ(level.pits[0].right, 1480);

    // Four ground blocks cover everything but the three pits, end to end.
    std::vector<Platform> ground;
    std::copy_if(level.platforms.begin(), level.platforms.end(), std::back_inserter(ground),
                 [](const Platform& p) { return p.groundBlock; });
    ASSERT_EQ(ground.size(), 4u);
    EXPECT_FLOAT_EQ(ground[0].rect.x, 0);
    EXPECT_FLOAT_EQ(ground[0].rect.w, 1370);
    EXPECT_FLOAT_EQ(ground[3].rect.x + ground[3].rect.w, 6000);
    for (const Platform& g : ground) {
        EXPECT_FLOAT_EQ(g.rect.y, 470);
        EXPECT_FLOAT_EQ(g.rect.h, 170);
    }

    // Eleven of the twelve fixed ledges (5140 is inside the arena) plus the two arena ledges.
    EXPECT_EQ(countIf(level.platforms, isStaticLedge), 13);
    EXPECT_EQ(countIf(level.platforms, [](const Platform& p) { return p.rect.x == 5140; }), 0);
    EXPECT_EQ(countIf(level.platforms, [](const Platform& p) { return p.moving; }), 2);
    EXPECT_EQ(countIf(level.platforms, [](const Platform& p) { return p.crumbling; }), 2);

    const Enemy& boss = bossOf(level);
    EXPECT_FLOAT_EQ(boss.pos.x, 5480);
    EXPECT_FLOAT_EQ(boss.pos.y, 344);
    EXPECT_FLOAT_EQ(boss.size.x, 108);
    EXPECT_FLOAT_EQ(boss.size.y, 126);
    EXPECT_EQ(boss.hp, 24);
    EXPECT_EQ(boss.bossIndex, 0);
    EXPECT_FLOAT_EQ(boss.patrolMin, 5250);
    EXPECT_FLOAT_EQ(boss.patrolMax, 5830);
    // Fourteen common enemies and the boss; no late patrol fits before the arena.
    EXPECT_EQ(level.enemies.size(), 15u);

    ASSERT_EQ(level.checkpoints.size(), 3u);
    EXPECT_FLOAT_EQ(level.checkpoints[2].pos.x, 5750);
    ASSERT_EQ(level.signs.size(), 5u);
    EXPECT_EQ(level.signs[0].text.rfind("GRUMBOS MEGASTREAM\n\nNEON WOODLAND\nThe subscriber trail", 0), 0u);
    EXPECT_EQ(level.signs[4].text.rfind("BOSS BROADCAST: ROOT OF ALL LAG\n\n", 0), 0u);
    EXPECT_NE(level.signs[4].text.find("Win this duel to bring the stream to the next world."),
              std::string::npos);
    EXPECT_TRUE(level.chapters.empty());
}

TEST(LevelContent, GroundTokensSkipPitEdges) {
    const Level level = Game::makeLevel(0);
    std::vector<Pickup> trail;
    std::copy_if(level.pickups.begin(), level.pickups.end(), std::back_inserter(trail),
                 [](const Pickup& p) { return p.kind == PickupKind::SubscriberTokens && p.value == 100; });
    for (const Pickup& t : trail) {
        for (const Pit& pit : level.pits) {
            EXPECT_FALSE(pit.left - 10 < t.pos.x && t.pos.x < pit.right + 10) << t.pos.x;
        }
    }
    // The group at 1310 keeps 1310 and 1349 but loses 1388, inside the first pit's margin.
    const auto at = [&](float x) {
        return std::any_of(trail.begin(), trail.end(), [x](const Pickup& p) { return p.pos.x == x; });
    };
    EXPECT_TRUE(at(1310));
    EXPECT_TRUE(at(1349));
    EXPECT_FALSE(at(1388));
    // The middle token of every group rises to 397.
    EXPECT_TRUE(std::any_of(trail.begin(), trail.end(), [](const Pickup& p) {
        return p.pos.x == 389 && std::abs(p.pos.y - 397) < 0.01f;
    }));
    // Static and crumbling ledges carry 200-value rows; moving platforms do not.
    const int ledgeTokens = countIf(level.pickups, [](const Pickup& p) { return p.value == 200; });
    EXPECT_EQ(ledgeTokens, 3 * 15);
}

TEST(LevelContent, WorldFiveIceRoute) {
    const Level level = Game::makeLevel(5);
    EXPECT_EQ(level.pits.size(), 4u);
    EXPECT_FLOAT_EQ(level.length, 7200);
    // Two common movers, the third one of late worlds, and six ice ledges with staggered phases.
    EXPECT_EQ(countIf(level.platforms, [](const Platform& p) { return p.moving; }), 9);
    const auto ice = std::find_if(level.platforms.begin(), level.platforms.end(),
                                  [](const Platform& p) { return p.moving && p.rect.x == 1620 + 230 * 3; });
    ASSERT_NE(ice, level.platforms.end());
    EXPECT_FLOAT_EQ(ice->rect.y, 355);
    EXPECT_FLOAT_EQ(ice->travel.x, -65);
    EXPECT_FLOAT_EQ(ice->phase, 0.6f * 3);

    const Enemy& boss = bossOf(level);
    EXPECT_FLOAT_EQ(boss.size.y, 78);
    EXPECT_FLOAT_EQ(boss.pos.y, 280);
    EXPECT_EQ(boss.hp, 49);
    ASSERT_EQ(level.signs.size(), 6u);
    EXPECT_EQ(level.signs[5].text.rfind("PIXEL PEAK: THE ICE ROUTE", 0), 0u);
    // Hazard chain: common four, the spikes of world 2+, the geyser of 3+ and the flame of 5+.
    EXPECT_EQ(level.hazards.size(), 7u);
}

TEST(LevelContent, WorldSixBunkerRun) {
    const Level level = Game::makeLevel(6);
    ASSERT_EQ(level.checkpoints.size(), 4u);
    // The bunker is appended after the regular three, so the list is not sorted by x.
    EXPECT_FLOAT_EQ(level.checkpoints[2].pos.x, 7190);
    EXPECT_FLOAT_EQ(level.checkpoints[3].pos.x, 2820);
    ASSERT_EQ(level.chapters.size(), 1u);
    EXPECT_EQ(level.chapters[0].title, "SIXTY-SECOND SUPPLY RUN");
    EXPECT_EQ(level.chapters[0].theme, 2);
    EXPECT_EQ(countIf(level.hazards, [](const Hazard& h) { return h.kind == HazardKind::Laser; }), 6);
    EXPECT_EQ(countIf(level.pickups, [](const Pickup& p) { return p.kind == PickupKind::SoupCan; }), 2);
    const Enemy& boss = bossOf(level);
    EXPECT_FLOAT_EQ(boss.size.x, 126);
    // The hazards hurt by world + 18; the fourth laser gate starts mid-cycle.
    EXPECT_EQ(level.hazards[0].damage, 24);
    const auto gate = std::find_if(level.hazards.begin(), level.hazards.end(),
                                   [](const Hazard& h) { return h.rect.x == 2080 + 125 * 3; });
    ASSERT_NE(gate, level.hazards.end());
    EXPECT_NEAR(gate->clock, 3.3f, 1e-5);
    EXPECT_FALSE(gate->active);
}

TEST(LevelContent, WorldEightArcade) {
    const Level level = Game::makeLevel(8);
    EXPECT_EQ(countIf(level.enemies, [](const Enemy& e) { return e.kind == EnemyKind::Mimic; }), 4 + 1);
    // Two common crumbling ledges and the five-ledge chain rising to 272 in the middle.
    EXPECT_EQ(countIf(level.platforms, [](const Platform& p) { return p.crumbling; }), 7);
    EXPECT_EQ(countIf(level.platforms, [](const Platform& p) { return p.crumbling && p.rect.y == 272; }), 1);
    const Enemy& boss = bossOf(level);
    EXPECT_FLOAT_EQ(boss.size.x, 102);
    EXPECT_EQ(boss.tier, 2);
    const auto caretaker = std::find_if(level.enemies.begin(), level.enemies.end(),
                                        [](const Enemy& e) { return e.kind == EnemyKind::Caretaker; });
    ASSERT_NE(caretaker, level.enemies.end());
    EXPECT_FLOAT_EQ(caretaker->size.y, 78);
    EXPECT_FLOAT_EQ(caretaker->pos.y, 392);
    EXPECT_EQ(caretaker->hp, 9);
    EXPECT_EQ(level.chapters.at(0).title, "CARD-SHOP AFTER DARK");
}

TEST(LevelContent, WorldNineSummit) {
    const Level level = Game::makeLevel(9);
    EXPECT_FLOAT_EQ(level.length, 8160);
    EXPECT_FLOAT_EQ(level.bossArenaX, 7110);
    EXPECT_EQ(level.pits.size(), 4u);
    for (float x : {5480.0f, 5960.0f, 6440.0f, 6920.0f}) {
        EXPECT_EQ(
            countIf(level.platforms, [x](const Platform& p) { return p.rect.x == x && p.rect.y == 290; }), 1)
            << x;
    }
    EXPECT_EQ(countIf(level.platforms, [](const Platform& p) { return p.rect.x == 7400; }), 0);

    // Late patrols at 5200, 5640, 6080 and 6520, cycling through the tougher kinds.
    std::vector<EnemyKind> late;
    for (const Enemy& e : level.enemies) {
        if (e.home.x >= 5200 && e.kind != EnemyKind::Boss) {
            late.push_back(e.kind);
        }
    }
    EXPECT_EQ(late, (std::vector<EnemyKind>{EnemyKind::Spitter, EnemyKind::Armored, EnemyKind::Drone,
                                            EnemyKind::Turret}));
    const Enemy& boss = bossOf(level);
    EXPECT_EQ(boss.hp, 69);
    EXPECT_EQ(boss.maxHp, 69);
    EXPECT_EQ(level.signs[4].text.rfind("BOSS BROADCAST: THE RAID SOVEREIGN", 0), 0u);
    EXPECT_NE(level.signs[4].text.find("billion-subscriber raid."), std::string::npos);
    EXPECT_EQ(level.hazards.size(), 4u + 5 + 7);
    EXPECT_EQ(countIf(level.enemies, [](const Enemy& e) { return e.kind == EnemyKind::Drone; }), 2);
}

TEST(LevelContent, HazardsStartActiveOnlyInsideTheirWindow) {
    const Level level = Game::makeLevel(0);
    ASSERT_EQ(level.hazards.size(), 4u);
    EXPECT_TRUE(level.hazards[0].active);  // spikes: always
    EXPECT_TRUE(level.hazards[1].active);  // flame: 1.05 > 0.4
    EXPECT_FALSE(level.hazards[2].active); // laser: 1.0 > 2.1 fails
    EXPECT_FALSE(level.hazards[3].active);
}

TEST(LevelContent, BuildingTwiceGivesTheSameWorldAndIndicesClamp) {
    for (int w = 0; w < 10; ++w) {
        const Level a = Game::makeLevel(w);
        const Level b = Game::makeLevel(w);
        ASSERT_EQ(a.platforms.size(), b.platforms.size());
        ASSERT_EQ(a.pickups.size(), b.pickups.size());
        ASSERT_EQ(a.enemies.size(), b.enemies.size());
        for (size_t i = 0; i < a.pickups.size(); ++i) {
            EXPECT_EQ(a.pickups[i].pos.x, b.pickups[i].pos.x);
        }
        // Every world's boss name appears on its arena sign.
        EXPECT_NE(a.signs[4].text.find(Game::bossName(w)), std::string::npos);
    }
    EXPECT_EQ(Game::makeLevel(-4).name, "NEON WOODLAND");
}

} // namespace
} // namespace grumbo
