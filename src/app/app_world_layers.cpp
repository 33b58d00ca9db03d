// The layers of the level band, back to front. Coordinates are world units
// with the camera subtracted; the band transform does the vertical squash.
#include "app/app.h"
#include "app/palette.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace grumbo {

using namespace palette;

namespace {

constexpr std::array<std::uint32_t, WORLD_COUNT> STRIPE{0x8AFA73, 0xDD79FA, 0xB2C66C, 0x67E4FF, 0xF5C26F,
                                                        0xA9EAFF, 0x71FF9B, 0xFFAB70, 0xFC76DB, 0xFFE395};
constexpr std::array<std::uint32_t, WORLD_COUNT> BODY{0x173A34, 0x36283E, 0x283326, 0x1B4F67, 0x353153,
                                                      0x244754, 0x233746, 0x50332D, 0x30204F, 0x423949};
constexpr const char* FART_FRAMES[5] = {"fart_0", "fart_1", "fart_2", "fart_3", "fart_4"};

// True when [left, right) in world units lies wholly outside the view grown by `margin`.
bool offView(float left, float right, float cameraX, float viewWidth, float margin) {
    return right < cameraX - margin || left > cameraX + viewWidth + margin;
}

std::uint32_t hostileColour(Weapon weapon) {
    switch (static_cast<int>(weapon)) {
    case 1:
        return 0xFF6E8D;
    case 2:
        return 0x68E6FF;
    case 7:
        return 0xF776EF;
    default:
        return 0xA5F270;
    }
}

} // namespace

void App::worldLayers(float cameraX) {
    drawPits(cameraX);
    drawProps(cameraX);
    drawPlatforms(cameraX);
    drawPitEdges(cameraX);
    hazards(cameraX);
    drawMarkers(cameraX);
    drawPickups(cameraX);
    drawGate(cameraX);
    drawEnemies(cameraX);
    drawProjectiles(cameraX);
    drawParticles(cameraX);
    drawPlayer(cameraX);
}

void App::drawPits(float cameraX) {
    for (const Pit& pit : game.level.pits) {
        if (offView(pit.left, pit.right, cameraX, viewWidth, 20)) {
            continue;
        }
        const float x = pit.left - cameraX;
        const float width = pit.right - pit.left;
        const float depth = VIEW_HEIGHT - pit.y + 20;
        rect(x, pit.y, width, depth, 0x07060F, 1);
        rect(x + 8, pit.y + 16, std::max(width - 16, 0.0f), depth, 0x241433, 0.55f);
        line(x + 1, pit.y, x + 1, VIEW_HEIGHT, 0xFF6C8A, 2, 0.55f);
        line(x + width - 1, pit.y, x + width - 1, VIEW_HEIGHT, 0xFF6C8A, 2, 0.55f);
        const float visibleLeft = std::max(pit.left, cameraX);
        const float visibleRight = std::min(pit.right, cameraX + viewWidth);
        if (pitLabelShown(visibleRight - visibleLeft)) {
            text("DROP", (visibleLeft + visibleRight) * 0.5f - cameraX - 27, pit.y + 22, 54, 20, 0, 0xC88293,
                 true);
        }
    }
}

void App::drawPitEdges(float cameraX) {
    for (const Pit& pit : game.level.pits) {
        if (offView(pit.left, pit.right, cameraX, viewWidth, 20)) {
            continue;
        }
        const float left = pit.left - cameraX;
        const float right = pit.right - cameraX;
        rect(left - 6, pit.y, 6, 12, GOLD, 0.9f);
        rect(right, pit.y, 6, 12, GOLD, 0.9f);
        rect(left - 6, pit.y + 12, 6, 4, 0x0A0C20, 0.9f);
        rect(right, pit.y + 12, 6, 4, 0x0A0C20, 0.9f);
    }
}

void App::drawProps(float cameraX) {
    for (const Chapter& chapter : game.level.chapters) {
        for (int i = 0; i < 3; ++i) {
            const float at = chapter.startX + 190 + 410 * static_cast<float>(i);
            if (at > chapter.endX - 80) {
                break;
            }
            const float x = at - cameraX;
            if (chapter.theme == 0) {
                sprite("prop_grocery_shelf", x, 370, 82, 100, false, 0.72f, 0);
            } else if (chapter.theme == 2 && i == 0) {
                sprite("prop_bunker_door", x, 368, 96, 102, false, 0.9f, 0);
            } else if (chapter.theme == 3) {
                sprite("prop_card_rack", x, 370, 82, 100, false, 0.8f, 0);
            }
        }
    }
}

void App::drawPlatforms(float cameraX) {
    const auto worldIndex = static_cast<std::size_t>(std::clamp(game.world, 0, WORLD_COUNT - 1));
    const std::uint32_t stripe = STRIPE[worldIndex];
    const Texture& texture = terrain[worldIndex];
    for (const Platform& platform : game.level.platforms) {
        const Rect& r = platform.rect;
        if (!platform.present || offView(r.x, r.x + r.w, cameraX, viewWidth, 20)) {
            continue;
        }
        const float x = r.x - cameraX;
        const float height = std::min(r.h, VIEW_HEIGHT - r.y);
        if (height > 0) {
            if (texture.valid()) {
                tile(texture, x, r.y, r.w, height, -cameraX, 0);
            } else {
                rect(x, r.y, r.w, height, BODY[worldIndex], 1);
            }
        }
        rect(x, r.y, r.w, 5, stripe, 1);
        rect(x, r.y + 5, r.w, 5, stripe, 0.32f);
        if (platform.moving) {
            line(x + 4, r.y + 12, x + r.w - 4, r.y + 12, 0xBDF7FF, 2, 0.7f);
        }
        if (platform.crumbling && platform.crumbleTimer > 0) {
            line(x, r.y + 1, x + r.w, r.y + 1, GOLD, 2, 0.4f + 0.4f * std::sin(26 * presentationClock));
        }
        if (platform.beltSpeed != 0) {
            text(platform.beltSpeed > 0 ? ">>>" : "<<<", x + r.w * 0.5f - 24, r.y - 19, 48, 17, 0, GOLD,
                 true);
        }
    }
}

void App::hazards(float cameraX) {
    const float clock = presentationClock;
    for (const Hazard& hazard : game.level.hazards) {
        const Rect& r = hazard.rect;
        if (offView(r.x, r.x + r.w, cameraX, viewWidth, 40)) {
            continue;
        }
        const float x = r.x - cameraX;
        const float bottom = r.y + r.h;
        if (hazard.warning) {
            const std::uint32_t warn = hazard.kind == HazardKind::Geyser  ? 0x69E4FFu
                                       : hazard.kind == HazardKind::Laser ? 0xFF6CEBu
                                                                          : 0xFFA36Cu;
            rect(x, r.y, r.w, r.h, warn, 0.12f + 0.08f * std::sin(24 * clock));
            line(x, r.y, x + r.w, r.y, warn, 2, 0.8f);
        }
        switch (hazard.kind) {
        case HazardKind::Spikes:
            for (float sx = x; sx + 1 < x + r.w; sx += 14) {
                const float width = std::min(14.0f, x + r.w - sx);
                const float middle = sx + width * 0.5f;
                const float lit[8] = {sx, bottom, middle, r.y, middle, r.y, middle, bottom};
                const float shade[8] = {middle, bottom, middle, r.y, middle, r.y, sx + width, bottom};
                quad(lit, 0xD3DCE8, 1);
                quad(shade, 0x7D8797, 1);
            }
            break;
        case HazardKind::Flame:
            rect(x, bottom - 8, r.w, 8, 0x2B2230, 1);
            rect(x, bottom - 8, r.w, 2, GOLD, 1);
            if (hazard.active) {
                for (int i = 0; i < 5; ++i) {
                    const float fi = static_cast<float>(i);
                    const float height =
                        (1 - 0.14f * fi) * (r.h - 8) * (0.65f + 0.07f * std::sin(28 * clock + fi));
                    const float width = r.w * (1 - 0.15f * fi);
                    // Neighbouring tongues lean opposite ways and swap now and then, so the fire licks.
                    const bool mirrored = (static_cast<int>(9 * clock) + i) % 2 == 1;
                    light(flameImage, x + (r.w - width) * 0.5f, bottom - 8 - height, width, height,
                          i % 2 == 0 ? 0xFF7D42u : 0xFFE676u, 0.75f, mirrored);
                }
            }
            break;
        case HazardKind::Laser:
            rect(x - 5, r.y - 4, r.w + 10, 10, 0x3A3550, 1);
            rect(x - 5, bottom - 6, r.w + 10, 10, 0x3A3550, 1);
            rect(x - 5, r.y + 5, r.w + 10, 1, 0xFF6CEB, 0.8f);
            rect(x - 5, bottom - 6, r.w + 10, 1, 0xFF6CEB, 0.8f);
            if (hazard.active) {
                const float core = std::max(2.0f, 0.2f * r.w);
                rect(x - 8, r.y + 6, r.w + 16, r.h - 12, 0xFF6CEB, 0.13f);
                rect(x, r.y + 6, r.w, r.h - 12, 0xFF6CEB, 0.65f);
                line(x + r.w * 0.5f, r.y + 6, x + r.w * 0.5f, bottom - 6, WHITE, core, 0.8f);
            }
            break;
        case HazardKind::Crusher: {
            const float centre = x + r.w * 0.5f;
            const float homeTop = hazard.home.h > 0 ? hazard.home.y : r.y;
            line(centre, std::min(homeTop, r.y) - 40, centre, r.y, 0x8A8FA0, 4, 1);
            rect(x, r.y, r.w, r.h, 0x6E7386, 1);
            rect(x + 6, r.y + 6, r.w - 12, r.h - 19, 0x4A4E5E, 1);
            rect(x, bottom - 7, r.w, 7, hazard.active ? 0xFF696Bu : GOLD, 1);
            break;
        }
        case HazardKind::Geyser:
            if (hazard.active) {
                rect(x, r.y, r.w, r.h - 9, 0x69E4FF, 0.22f);
                for (int k = 0; k < 3; ++k) {
                    const float fk = static_cast<float>(k);
                    const float wx = x + r.w * (0.25f + 0.25f * fk) + 3 * std::sin(12 * clock + 2 * fk);
                    line(wx, r.y + 4, wx, bottom - 9, 0xD9FAFF, 2, 0.45f);
                }
            }
            rect(x - 4, bottom - 9, r.w + 8, 9, 0x4F6275, 1);
            rect(x - 4, bottom - 9, r.w + 8, 2, 0x69E4FF, 1);
            break;
        }
    }
}

void App::drawMarkers(float cameraX) {
    for (const Checkpoint& checkpoint : game.level.checkpoints) {
        if (offView(checkpoint.pos.x, checkpoint.pos.x + 30, cameraX, viewWidth, 40)) {
            continue;
        }
        const float x = checkpoint.pos.x - cameraX;
        const float y = checkpoint.pos.y;
        line(x, y, x, y - 58, 0x99B5C6, 3, 1);
        rect(x + 1.5f, y - 58, 28, 18, checkpoint.reached ? GREEN : 0x666582u, 1);
    }
    for (const Sign& sign : game.level.signs) {
        if (offView(sign.pos.x - 24, sign.pos.x + 24, cameraX, viewWidth, 32)) {
            continue;
        }
        const float x = sign.pos.x - cameraX;
        const float y = sign.pos.y;
        rect(x - 3, y - 30, 6, 30, 0x7E593F, 1);
        panel(x - 24, y - 58, 48, 31, sign.read ? GREEN : GOLD);
        text("?", x - 24, y - 61, 48, 34, 3, GOLD, true);
    }
}

void App::drawPickups(float cameraX) {
    for (const Pickup& pickup : game.level.pickups) {
        if (pickup.collected || offView(pickup.pos.x, pickup.pos.x, cameraX, viewWidth, 50)) {
            continue;
        }
        const float x = pickup.pos.x - cameraX;
        const float y = pickup.pos.y + 4 * std::sin(3 * presentationClock + pickup.pos.x);
        if (pickup.kind == PickupKind::SubscriberTokens) {
            light(glowImage, x - 16, y - 16, 32, 32, GREEN, 0.5f);
            rect(x - 6, y - 1.5f, 12, 3, GREEN, 1);
            rect(x - 1.5f, y - 6, 3, 12, GREEN, 1);
        } else {
            light(glowImage, x - 34, y - 34, 68, 68, 0xAE79FF, 0.45f);
            sprite(pickupSprite(pickup.kind), x - 24, y - 24, 48, 48, false, 1, 0);
        }
    }
}

void App::drawGate(float cameraX) {
    const Rect& gate = game.level.exitGate;
    if (gate.w <= 0 || offView(gate.x, gate.x + gate.w, cameraX, viewWidth, 60)) {
        return;
    }
    const bool open = game.exitOpen;
    const float x = gate.x - cameraX;
    rect(x + 6, gate.y + 6, gate.w - 12, gate.h - 6, open ? GREEN : 0xFF6C8Au, open ? 0.22f : 0.1f);
    rect(x, gate.y, 8, gate.h, 0x3B3F5C, 1);
    rect(x + gate.w - 8, gate.y, 8, gate.h, 0x3B3F5C, 1);
    rect(x, gate.y, gate.w, 8, 0x3B3F5C, 1);
    rect(x, gate.y, gate.w, 2, open ? GREEN : GOLD, 1);
    text(gateLabel(open), x - 28, gate.y - 27, gate.w + 56, 25, 1, open ? GREEN : GOLD, true);
    text(gateGlyph(open), x, gate.y + 0.38f * gate.h, gate.w, 40, 3, WHITE, true);
}

void App::drawEnemies(float cameraX) {
    const float clock = presentationClock;
    const float playerX = game.player.pos.x;
    for (const Enemy& enemy : game.level.enemies) {
        const bool boss = enemy.kind == EnemyKind::Boss;
        if (!enemy.alive ||
            offView(enemy.pos.x, enemy.pos.x + enemy.size.x, cameraX, viewWidth, boss ? 160 : 60)) {
            continue;
        }
        bool hidden = false;
        if (enemy.kind == EnemyKind::Mimic && std::fabs(enemy.pos.x - playerX) > 230) {
            for (const Chapter& chapter : game.level.chapters) {
                if (chapter.theme == 3 && enemy.pos.x >= chapter.startX && enemy.pos.x < chapter.endX) {
                    hidden = true;
                }
            }
        }
        const float boxWidth =
            boss ? std::max(enemy.size.x + 60, 150.0f) : std::max(enemy.size.x + 16, 48.0f);
        const float boxHeight =
            boss ? std::max(enemy.size.y + 40, 150.0f) : std::max(enemy.size.y + 8, 48.0f);
        const float x = enemy.pos.x + enemy.size.x * 0.5f - boxWidth * 0.5f - cameraX;
        const float y = enemy.pos.y + enemy.size.y - boxHeight;
        sprite(enemySpriteName(enemy, clock, hidden), x, y, boxWidth, boxHeight, enemyMirrored(enemy),
               enemy.hitFlash > 0 ? 0.55f : 1.0f, 0);
        if (hidden) {
            continue;
        }
        if (!boss && enemy.windupTimer > 0) {
            const float pulse = 0.7f;
            line(x, y, x + boxWidth, y, 0xFF728B, 2, pulse);
            line(x, y + boxHeight, x + boxWidth, y + boxHeight, 0xFF728B, 2, pulse);
            line(x, y, x, y + boxHeight, 0xFF728B, 2, pulse);
            line(x + boxWidth, y, x + boxWidth, y + boxHeight, 0xFF728B, 2, pulse);
        }
        if (enemy.slowTimer > 0) {
            rect(x + boxWidth * 0.5f - 27, y - 30, 54, 13, 0x3FD8C6, 0.85f);
            text("TAGGED", x + boxWidth * 0.5f - 27, y - 30, 54, 13, 0, 0x0A0C20, true);
        }
        if (enemy.stunTimer > 0) {
            text("* * *", x, y - 17, boxWidth, 17, 0, GOLD, true);
        }
        if (boss || enemy.maxHp > 3) {
            const float fill = std::clamp(
                static_cast<float>(enemy.hp) / static_cast<float>(std::max(enemy.maxHp, 1)), 0.0f, 1.0f);
            rect(x + 4, y - 7, boxWidth - 8, 4, 0x2B2233, 0.9f);
            rect(x + 4, y - 7, (boxWidth - 8) * fill, 4, boss ? GOLD : 0xFF778Au, 1);
        }
        if (boss && enemy.windupTimer > 0) {
            const float ax = enemy.aimPoint.x - cameraX;
            const float ay = enemy.aimPoint.y;
            line(ax - 16, ay, ax - 7, ay, GOLD, 2, 0.6f);
            line(ax + 7, ay, ax + 16, ay, GOLD, 2, 0.6f);
            line(ax, ay - 16, ax, ay - 7, GOLD, 2, 0.6f);
            line(ax, ay + 7, ax, ay + 16, GOLD, 2, 0.6f);
        }
    }
}

void App::drawProjectiles(float cameraX) {
    for (const Projectile& shot : game.projectiles) {
        const float w = shot.size.x;
        const float h = shot.size.y;
        if (!shot.alive || shot.pos.x + w + 110 < cameraX || shot.pos.x - 110 > cameraX + viewWidth ||
            shot.pos.y + h + 20 < 0 || shot.pos.y - 20 > VIEW_HEIGHT) {
            continue;
        }
        const float x = shot.pos.x - cameraX;
        const float y = shot.pos.y;
        const float dir = static_cast<float>(shot.dir);
        if (shot.hostile) {
            const std::uint32_t tag = hostileColour(shot.weapon);
            rect(x - 3, y - 3, w + 6, h + 6, tag, 0.13f);
            if (w <= 26) {
                rect(x, y, w, h, tag, 0.85f);
                rect(x + 3, y + 3, std::max(w - 6, 2.0f), std::max(h - 6, 2.0f), WHITE, 0.5f);
            } else {
                sprite("letter_X", x, y, w, h, false, 0.85f, shot.spin);
            }
            continue;
        }
        if (shot.weapon == WaterSlides) {
            rect(x - 20 * dir, y + 8, 25, 5, 0x6BE1FF, 0.35f);
        } else if (shot.weapon == RgbLaser) {
            rect(x - 28 * dir, y + h / 2, 32, 3, 0xFE83E8, 0.5f);
        }
        sprite(weaponSprite(shot.weapon), x - 5, y - 5, w + 10, h + 10, shot.dir < 0, 1, shot.spin);
        if (shot.weapon == IpAddresses) {
            text(ipShotLabel(shot.pos.x), x - 14, y - 14, 105, 16, 0, 0x82EDFF, false);
        }
    }
}

void App::drawParticles(float cameraX) {
    for (const Particle& particle : game.particles) {
        const float s = particle.size;
        const float x = particle.pos.x - cameraX;
        const float y = particle.pos.y;
        if (x + 2 * s < 0 || x - 2 * s > viewWidth || y + 2 * s < 0 || y - 2 * s > VIEW_HEIGHT) {
            continue;
        }
        const float t =
            particle.maxLife > 0 ? std::clamp(particle.life / particle.maxLife, 0.0f, 1.0f) : 0.0f;
        if (particle.kind == 0) {
            const int frame = std::min(static_cast<int>((1 - t) * 5), 4);
            sprite(FART_FRAMES[frame], x - s / 2, y - s / 2, 1.8f * s, 1.6f * s, false, 0.7f * t, 0);
        } else {
            rect(x, y, s, s, particle.color & 0xFFFFFFu, t);
        }
    }
}

void App::drawPlayer(float cameraX) {
    const Player& player = game.player;
    const float clock = presentationClock;
    const float x = player.pos.x - cameraX;
    const float y = player.pos.y;
    const float width = player.size.x;
    const float height = player.size.y;
    const bool blink = player.invulnerable > 0 && static_cast<long long>(std::floor(14 * clock)) % 2 != 0;
    sprite(playerSpriteName(player, clock), x - 11, y - 8, 64, 72, player.facing == -1, blink ? 0.45f : 1.0f,
           0);
    if (player.shield > 0) {
        line(x - 7, y + 4, x - 7, y + height - 4, 0x79CFFF, 2, 0.55f);
        line(x + width + 7, y + 4, x + width + 7, y + height - 4, 0x79CFFF, 2, 0.55f);
    }
    const float facing = static_cast<float>(player.facing);
    if (player.dashTime > 0) {
        rect(x - 34 * facing, y + 12, 35, height - 24, 0x82F7FF, 0.18f);
    }
    if (player.speedBoost > 0) {
        if (player.facing >= 0) {
            line(x - 13, y + height - 2, x - 26, y + height - 2, 0x6BE3FF, 2, 0.45f);
        } else {
            line(x + width + 5, y + height - 2, x + width + 18, y + height - 2, 0x6BE3FF, 2, 0.45f);
        }
    }
    if (player.flashlight > 0) {
        const float lampX = player.facing >= 0 ? x + width - 3 : x - 22;
        sprite("power_flashlight", lampX, y + 25, 27, 20, player.facing < 0, 1, 0);
        const float fromX = lampX + 13;
        const float fromY = y + 35;
        line(fromX, fromY, fromX + 115 * facing, y + 10, GOLD, 2, 0.2f);
        line(fromX, fromY, fromX + 115 * facing, y + 59, GOLD, 2, 0.2f);
    }
}

} // namespace grumbo
