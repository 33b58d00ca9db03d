// Moving, crumbling and conveyor platforms, periodic hazards and pickups.
#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace grumbo {

namespace {

constexpr float CRUMBLE_DELAY = 0.7f;
constexpr float REBUILD_DELAY = 3;
constexpr float RIDE_TOLERANCE = 3;
constexpr float WARNING_LEAD = 0.55f;
constexpr float WARNING_RANGE = 500;
constexpr float CRUSHER_DROP = 146;
constexpr float PICKUP_HALF = 14;
constexpr float MAGNET_RANGE = 210;
constexpr float MAGNET_SPEED = 520;
constexpr int SHIELD_CAP = 120;
constexpr int BOOSTED_MAX_HEALTH = 125;

bool ridesOn(const Player& player, const Rect& top) {
    const float bottom = player.pos.y + player.size.y;
    return player.grounded && std::abs(bottom - top.y) < RIDE_TOLERANCE &&
           player.pos.x + player.size.x > top.x && top.x + top.w > player.pos.x;
}

// The weapon a pickup hands over, or -1 for a pickup that is not a weapon.
int weaponOf(PickupKind kind) {
    const int k = static_cast<int>(kind);
    if (k >= static_cast<int>(PickupKind::GiftedSubs) && k <= static_cast<int>(PickupKind::FidgetSpinners)) {
        return k - 1;
    }
    if (k >= static_cast<int>(PickupKind::BanHammer) && k <= static_cast<int>(PickupKind::RgbLaser)) {
        return k - 5;
    }
    if (k == static_cast<int>(PickupKind::ReceiptCannon) || k == static_cast<int>(PickupKind::OneByOne)) {
        return k - 10;
    }
    return -1;
}

void heal(Player& player, int amount) {
    player.health = std::min(player.health + amount, player.maxHealth);
}

// Timed effects replace whatever time was left rather than adding to it.
void applyPickup(Game& game, const Pickup& pickup) {
    Player& player = game.player;
    switch (pickup.kind) {
    case PickupKind::SubscriberTokens:
        game.addSubscribers(pickup.value);
        return;
    case PickupKind::HotDog:
        heal(player, 20);
        return;
    case PickupKind::Hamburger:
        heal(player, 35);
        return;
    case PickupKind::Burrito:
        player.tripleJump = 18;
        heal(player, 15);
        return;
    case PickupKind::Creatine:
        player.speedBoost = 14;
        return;
    case PickupKind::Shield:
        player.shield = std::min(player.shield + 60, SHIELD_CAP);
        return;
    case PickupKind::EnergyDrink:
        player.speedBoost = 20;
        player.dashCooldown = 0;
        return;
    case PickupKind::ProteinShake:
        player.maxHealth = BOOSTED_MAX_HEALTH;
        player.health = std::min(player.health + 35, BOOSTED_MAX_HEALTH);
        player.powerUp = 12;
        return;
    case PickupKind::Magnet:
        player.magnet = 18;
        return;
    case PickupKind::Nachos:
        player.powerUp = 8;
        heal(player, 45);
        return;
    case PickupKind::SoupCan:
        heal(player, 25);
        player.glow = 3;
        player.invulnerable = std::max(player.invulnerable, 3.0f);
        return;
    case PickupKind::Flashlight:
        player.flashlight = 15;
        return;
    default:
        break;
    }
    const int index = weaponOf(pickup.kind);
    if (index < 0) {
        return;
    }
    // A weaker weapon joins the arsenal without replacing a stronger one in hand.
    const auto weapon = static_cast<Weapon>(index);
    player.ownedWeapons[index] = true;
    if (Game::weaponPower(weapon) > Game::weaponPower(player.weapon)) {
        player.weapon = weapon;
        game.fireCooldown = 0;
    }
}

} // namespace

void Game::updatePlatforms(float dt) {
    for (Platform& p : level.platforms) {
        p.delta = {0, 0};
        const Vec2 before{p.rect.x, p.rect.y};
        const bool riding = ridesOn(player, p.rect);

        if (p.moving) {
            p.phase += p.speed * dt;
            const float s = std::sin(p.phase);
            p.rect.x = p.home.x + s * p.travel.x;
            p.rect.y = p.home.y + s * p.travel.y;
            p.delta = {p.rect.x - before.x, p.rect.y - before.y};
        }

        if (p.crumbling) {
            if (p.present) {
                // Once started the countdown runs on even after the rider has
                // jumped away.
                if (riding && p.crumbleTimer < 0) {
                    p.crumbleTimer = CRUMBLE_DELAY;
                }
                if (p.crumbleTimer >= 0) {
                    p.crumbleTimer -= dt;
                    if (p.crumbleTimer <= 0) {
                        p.present = false;
                        p.rebuildTimer = REBUILD_DELAY;
                        burst({p.rect.x + p.rect.w / 2, p.rect.y}, 12, 0xffbaae9e, 1);
                    }
                }
            } else {
                p.rebuildTimer -= dt;
                if (p.rebuildTimer <= 0) {
                    p.present = true;
                    p.crumbleTimer = -1;
                    p.rect.x = p.home.x;
                    p.rect.y = p.home.y;
                }
            }
        }

        if (riding && p.present) {
            player.pos.x += p.delta.x;
            player.pos.y += p.delta.y;
            // A belt pushes only while the rider's centre is over it.
            const float centre = player.pos.x + player.size.x / 2;
            if (centre >= p.rect.x && centre < p.rect.x + p.rect.w) {
                player.pos.x += p.beltSpeed * dt;
            }
        }
    }
}

void Game::updateHazards(float dt) {
    const Rect playerBox{player.pos.x, player.pos.y, player.size.x, player.size.y};
    for (Hazard& h : level.hazards) {
        const bool wasWarning = h.warning;
        if (h.home.w <= 0) {
            h.home = h.rect;
        }
        if (h.period > 0) {
            h.clock = std::fmod(h.clock + dt, h.period);
            h.active = h.activeTime > h.clock;
            h.warning = h.clock >= h.period - WARNING_LEAD;
            // Only the switch-on of the warning sounds, so each cycle warns once.
            if (h.warning && !wasWarning && std::abs(h.rect.x - player.pos.x) < WARNING_RANGE) {
                emit(Sound::HazardWarning, h.rect.x, 0.5f);
            }
        } else {
            h.active = true;
            h.warning = false;
        }

        if (h.kind == HazardKind::Crusher) {
            h.rect = h.home;
            if (h.active && h.activeTime > 0) {
                const float f = std::clamp(h.clock / h.activeTime, 0.0f, 1.0f);
                h.rect.y += CRUSHER_DROP * std::sin(std::numbers::pi_v<float> * f);
            }
        }

        if (h.active && playerBox.overlaps(h.rect)) {
            damagePlayer(h.damage, h.rect.x + h.rect.w / 2);
        }
    }
}

void Game::updatePickups(float dt) {
    const Rect playerBox{player.pos.x, player.pos.y, player.size.x, player.size.y};
    for (Pickup& p : level.pickups) {
        if (p.collected) {
            continue;
        }
        if (player.magnet > 0 && p.kind == PickupKind::SubscriberTokens) {
            const float dx = player.pos.x + 21 - p.pos.x;
            const float dy = player.pos.y + 30 - p.pos.y;
            const float r = std::hypot(dx, dy);
            if (r > 1 && r < MAGNET_RANGE) {
                const float step = std::min(MAGNET_SPEED * dt, r);
                p.pos.x += dx / r * step;
                p.pos.y += dy / r * step;
            }
        }

        const Rect box{p.pos.x - PICKUP_HALF, p.pos.y - PICKUP_HALF, 2 * PICKUP_HALF, 2 * PICKUP_HALF};
        if (!playerBox.overlaps(box)) {
            continue;
        }
        p.collected = true;
        const bool token = p.kind == PickupKind::SubscriberTokens;
        applyPickup(*this, p);
        emit(Sound::Pickup, p.pos.x, token ? 0.45f : 0.9f);
        if (token) {
            burst(p.pos, 6, 0xffffd367, 1);
        } else {
            burst(p.pos, 18, 0xff91efcb, 1);
        }
    }
}

} // namespace grumbo
