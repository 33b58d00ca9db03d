// How long one simulation step takes at its heaviest, and how fast a whole
// game runs when nothing but the simulation is stepped.
#include "autoplayer.h"
#include "game/game.h"

#include <benchmark/benchmark.h>

namespace grumbo {
namespace {

constexpr float STEP = 1.0f / 120.0f;

// World 9's boss fight with every list at its cap: all the world's enemies
// alive and brought into the arena (so none is skipped as far away), 160
// projectiles of both sides in flight, 700 particles, and the boss in phase 3
// about to attack. The player cannot be hurt, so no respawn empties a list.
Game heaviestBossFight() {
    Game game;
    game.start(9);
    Player& player = game.player;
    player.ownedWeapons.fill(true);
    player.weapon = RgbLaser;
    player.invulnerable = 1000;
    const float arena = game.level.bossArenaX;
    player.pos = {arena + 80, GROUND_Y - player.size.y};

    float x = arena - 600;
    for (Enemy& e : game.level.enemies) {
        if (e.kind == EnemyKind::Boss) {
            e.hp = e.maxHp / 3;
            e.phase = 3;
            e.attackCooldown = 0;
            e.windupTimer = STEP / 2;
            e.aimPoint = {player.pos.x + 21, player.pos.y + 32};
            continue;
        }
        // Spread out, skipping the ground the player stands on.
        if (x > arena && x < arena + 200) {
            x = arena + 200;
        }
        e.pos.x = x;
        e.home.x = x;
        e.patrolMin = x - 120;
        e.patrolMax = x + 120 + e.size.x;
        e.attackCooldown = 0;
        x += 70;
    }

    for (int i = 0; i < MAX_PROJECTILES; ++i) {
        Projectile p;
        const bool hostile = i % 3 == 0;
        p.hostile = hostile;
        p.weapon = hostile ? GiftedSubs : RgbLaser;
        p.pos = {arena - 500 + 9.0f * static_cast<float>(i), 200 + static_cast<float>((i * 37) % 260)};
        p.vel = hostile ? Vec2{-210, 40} : Vec2{1800, 0};
        p.size = hostile ? Vec2{20, 20} : Vec2{76, 10};
        p.life = 0.8f;
        p.damage = hostile ? 13 : 4;
        p.pierce = hostile ? 1 : 3;
        p.gravity = hostile ? 300 : 0;
        game.projectiles.push_back(p);
    }
    for (int i = 0; i < MAX_PARTICLES; ++i) {
        Particle p;
        p.pos = {arena + static_cast<float>(i), 300};
        p.vel = {30, -60};
        p.life = p.maxLife = 1;
        p.size = 6;
        p.color = 0xffffffff;
        p.kind = i % 4;
        game.particles.push_back(p);
    }
    return game;
}

void BM_HeaviestStep(benchmark::State& state) {
    const Game prepared = heaviestBossFight();
    Input fire;
    fire.fireHeld = true;
    fire.right = true;
    Game game = prepared;
    for (auto _ : state) {
        state.PauseTiming();
        game = prepared;
        state.ResumeTiming();
        game.update(fire, STEP);
        benchmark::DoNotOptimize(game.projectiles.data());
        benchmark::ClobberMemory();
    }
    // What the measured step did: lists after it, and that nobody respawned.
    state.counters["projectiles"] = static_cast<double>(game.projectiles.size());
    state.counters["particles"] = static_cast<double>(game.particles.size());
    state.counters["deaths"] = game.deaths;
}
BENCHMARK(BM_HeaviestStep)->Unit(benchmark::kMicrosecond);

void BM_WholeGamePlaythrough(benchmark::State& state) {
    std::int64_t steps = 0;
    int finished = 0;
    for (auto _ : state) {
        Game game;
        game.start(0);
        test::AutoPlayer player;
        const test::Playthrough run = test::playThrough(game, player, 20 * 60 * 120);
        steps += run.totalSteps;
        finished = run.worldsFinished;
        benchmark::DoNotOptimize(game.subscribers);
    }
    state.counters["worlds"] = finished;
    state.counters["steps_per_run"] = static_cast<double>(steps) / static_cast<double>(state.iterations());
    state.counters["steps_per_second"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeGamePlaythrough)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace grumbo
