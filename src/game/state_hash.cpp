// The digest of a game's state, byte by byte over the fields that matter.
#include "game/state_hash.h"

#include <cstring>

namespace grumbo {
namespace {

class Fnv1a {
  public:
    template <typename T> void add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) {
            hash_ = (hash_ ^ b) * 1099511628211ull;
        }
    }
    std::uint64_t value() const { return hash_; }

  private:
    std::uint64_t hash_ = 1469598103934665603ull;
};

} // namespace

std::uint64_t stateHash(const Game& g) {
    Fnv1a h;
    h.add(g.state);
    h.add(g.world);
    h.add(g.subscribers);
    h.add(g.deaths);
    h.add(g.cameraX);
    h.add(g.levelTime);
    h.add(g.checkpoint);
    h.add(g.exitOpen);
    h.add(g.rng);
    const Player& p = g.player;
    for (float f : {p.pos.x, p.pos.y, p.vel.x, p.vel.y, p.invulnerable, p.dashTime, p.dashCooldown}) {
        h.add(f);
    }
    h.add(p.health);
    h.add(p.shield);
    h.add(p.jumpsUsed);
    h.add(static_cast<int>(p.weapon));
    for (const Enemy& e : g.level.enemies) {
        h.add(e.pos.x);
        h.add(e.pos.y);
        h.add(e.hp);
        h.add(e.alive);
    }
    for (const Platform& pl : g.level.platforms) {
        h.add(pl.rect.x);
        h.add(pl.rect.y);
        h.add(pl.present);
    }
    for (const Pickup& pk : g.level.pickups) {
        h.add(pk.pos.x);
        h.add(pk.pos.y);
        h.add(pk.collected);
    }
    for (const Projectile& pr : g.projectiles) {
        h.add(pr.pos.x);
        h.add(pr.pos.y);
        h.add(pr.life);
    }
    for (const Particle& pa : g.particles) {
        h.add(pa.pos.x);
        h.add(pa.pos.y);
        h.add(pa.life);
    }
    for (const SoundEvent& s : g.sounds) {
        h.add(static_cast<int>(s.sound));
        h.add(s.x);
    }
    return h.value();
}

} // namespace grumbo
