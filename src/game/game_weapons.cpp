// Firing, projectile flight and hits, damage to enemies, and particles.
#include <algorithm>

#include "game/game.h"

namespace grumbo {

void Game::shoot(const Input&) {}

void Game::updateProjectiles(float) {}

void Game::damageEnemy(Enemy&, int) {}

void Game::burst(Vec2 at, int count, unsigned color, int kind) {
    for (int i = 0; i < count; ++i) {
        const float r1 = random(0, 1);
        const float r2 = random(0, 1);
        const float r3 = random(0, 1);
        const float r4 = random(0, 1);
        Particle p;
        p.pos = at;
        p.vel = {220 * r1 - 110, 200 * r2 - 165};
        p.life = p.maxLife = 0.35f + 0.55f * r3;
        p.size = kind == 0 ? 12 + 15 * r4 : 4 + 6 * r4;
        p.color = color;
        p.kind = kind;
        particles.push_back(p);
    }
}

void Game::updateParticles(float dt) {
    for (Particle& p : particles) {
        p.life -= dt;
        p.pos.x += p.vel.x * dt;
        p.pos.y += p.vel.y * dt;
        // Clouds and trails drift: they slow down, rise and swell.
        if (p.kind == 0 || p.kind == 3) {
            p.vel.x *= std::max(1 - 2.5f * dt, 0.0f);
            p.vel.y -= 55 * dt;
            p.size += 14 * dt;
        } else {
            p.vel.y += 400 * dt;
        }
    }
    std::erase_if(particles, [](const Particle& p) { return p.life <= 0; });
    if (particles.size() > static_cast<size_t>(MAX_PARTICLES)) {
        particles.erase(particles.begin(), particles.end() - MAX_PARTICLES);
    }
}

} // namespace grumbo
