// Render cost of whole frames through the real drawing layer: SDL's software
// renderer into an offscreen 1280 x 720 window, with the generated artwork.
#include "app/app.h"
#include "platform/clock.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <vector>

namespace grumbo {
namespace {

// Starts the smoke world `worldIndex` offscreen; null when there is no
// graphics system or artwork (the benchmark then reports why it skipped).
std::unique_ptr<App> startWorld(int worldIndex) {
    useOffscreenVideo();
    auto app = std::make_unique<App>();
    if (!app->startUp("--smoke " + std::to_string(worldIndex))) {
        return nullptr;
    }
    app->render();
    return app;
}

// The boss arena in mid-fight: the boss engaged, the shared projectile list
// and the particle list full, every kind of shot and particle on screen.
void fillBossFight(App& app) {
    Game& game = app.game;
    game.player.pos.x = game.level.bossArenaX + 120;
    game.player.shield = 20;
    game.player.flashlight = 5;
    const Input idle;
    for (int i = 0; i < 240; ++i) {
        game.update(idle, SIMULATION_STEP);
        game.player.health = game.player.maxHealth;
        game.state = Playing;
    }
    game.cameraX = std::max(game.player.pos.x - 0.35f * app.viewWidth, 0.0f);
    game.projectiles.clear();
    for (int i = 0; i < MAX_PROJECTILES; ++i) {
        Projectile shot;
        shot.hostile = i % 2 == 1;
        shot.weapon = static_cast<Weapon>(i % WEAPON_COUNT);
        shot.pos = {game.cameraX + static_cast<float>((i * 37) % 940),
                    120 + static_cast<float>((i * 53) % 330)};
        shot.size = i % 7 == 0 ? Vec2{34, 34} : Vec2{16, 12};
        shot.spin = static_cast<float>(i * 11);
        shot.dir = i % 3 == 0 ? -1 : 1;
        game.projectiles.push_back(shot);
    }
    game.particles.clear();
    for (int i = 0; i < MAX_PARTICLES; ++i) {
        Particle particle;
        particle.pos = {game.cameraX + static_cast<float>((i * 29) % 950),
                        90 + static_cast<float>((i * 41) % 380)};
        particle.life = 0.2f + static_cast<float>(i % 10) * 0.05f;
        particle.maxLife = 0.8f;
        particle.size = 3 + static_cast<float>(i % 6);
        particle.color = 0xFFB3FF67u ^ static_cast<std::uint32_t>(i * 2654435761u);
        particle.kind = i % 4;
        game.particles.push_back(particle);
    }
    app.shakeTimer = 0.4f;
}

void BM_BusyBossFrame(benchmark::State& state) {
    std::unique_ptr<App> app = startWorld(8);
    if (!app) {
        state.SkipWithError("no graphics system or artwork");
        return;
    }
    fillBossFight(*app);
    for (auto _ : state) {
        app->presentationClock += 1.0f / 60.0f;
        app->render();
    }
    state.counters["projectiles"] = static_cast<double>(app->game.projectiles.size());
    state.counters["particles"] = static_cast<double>(app->game.particles.size());
}
BENCHMARK(BM_BusyBossFrame)->Unit(benchmark::kMillisecond);

void BM_OrdinaryWorldFrame(benchmark::State& state) {
    std::unique_ptr<App> app = startWorld(0);
    if (!app) {
        state.SkipWithError("no graphics system or artwork");
        return;
    }
    for (auto _ : state) {
        app->presentationClock += 1.0f / 60.0f;
        app->render();
    }
}
BENCHMARK(BM_OrdinaryWorldFrame)->Unit(benchmark::kMillisecond);

// How late the frame clock wakes from a sleep to a deadline 2 ms ahead, the
// last stretch of every frame's wait.
void BM_SleepToDeadline(benchmark::State& state) {
    std::vector<double> lateMs;
    const std::uint64_t ahead = clockFrequency() / 500;
    for (auto _ : state) {
        const std::uint64_t deadline = clockTicks() + ahead;
        sleepUntilTicks(deadline);
        lateMs.push_back(static_cast<double>(clockTicks() - deadline) * 1000.0 /
                         static_cast<double>(clockFrequency()));
    }
    std::sort(lateMs.begin(), lateMs.end());
    state.counters["median_late_ms"] = lateMs[lateMs.size() / 2];
    state.counters["worst_late_ms"] = lateMs.back();
}
BENCHMARK(BM_SleepToDeadline)->Unit(benchmark::kMillisecond)->Iterations(500);

} // namespace
} // namespace grumbo
