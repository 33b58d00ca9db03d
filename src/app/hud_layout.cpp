// Layout and texts of the heads-up display.

#include "app/hud_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace grumbo {
namespace {

constexpr float HEALTH_BAR_WIDTH = 154;
constexpr float BOSS_BAR_WIDTH = 228;
constexpr float PROGRESS_WIDTH = 228;
constexpr int HEALTHY = 31;
constexpr float GAP_LOOK_AHEAD = 240;
// The gap warning's text starts at 441; the caption keeps 7 units above it.
constexpr float CAPTION_BOTTOM = 434;
constexpr float CAPTION_HEIGHT = 30;
// The monospaced font advances a little over 0.6 of its 16-unit size per
// character; the box adds a margin on either side.
constexpr float CAPTION_ADVANCE = 9.7f;
constexpr float CAPTION_MARGIN = 18;

float ratio(float value, float limit) {
    return std::clamp(value / limit, 0.0f, 1.0f);
}

} // namespace

void pushToast(std::string& text, float& timer, std::deque<std::string>& queue, std::string message) {
    if (timer <= 0) {
        text = std::move(message);
        timer = TOAST_SHOW_SECONDS;
        return;
    }
    if (queue.size() >= TOAST_WAIT_LIMIT) {
        queue.pop_front();
    }
    queue.push_back(std::move(message));
}

Rect playButtonRect(int button, float viewWidth) {
    const auto i = static_cast<std::size_t>(std::clamp(button, 0, PLAY_BUTTON_COUNT - 1));
    const float x0 = viewWidth / 2 - 174;
    return {x0 + PLAY_BUTTON_OFFSETS[i], PLAY_BUTTON_Y, PLAY_BUTTON_WIDTHS[i], PLAY_BUTTON_HEIGHT};
}

int playButtonAt(float x, float y, float viewWidth) {
    for (int i = 0; i < PLAY_BUTTON_COUNT; ++i) {
        const Rect r = playButtonRect(i, viewWidth);
        if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) {
            return i;
        }
    }
    return -1;
}

float healthBarWidth(int health, int maxHealth) {
    return HEALTH_BAR_WIDTH * ratio(static_cast<float>(health), static_cast<float>(std::max(maxHealth, 1)));
}

std::uint32_t healthBarColour(int health) {
    return health >= HEALTHY ? 0xB3FF67u : 0xFF778Au;
}

float bossBarWidth(int hp, int maxHp) {
    return BOSS_BAR_WIDTH * ratio(static_cast<float>(hp), static_cast<float>(std::max(maxHp, 1)));
}

std::uint32_t bossBarColour(int phase) {
    return phase == 3 ? 0xFFCB66u : 0xAE79FFu;
}

const Enemy* hudBoss(const Game& game) {
    for (const Enemy& enemy : game.level.enemies) {
        if (enemy.alive && enemy.kind == EnemyKind::Boss) {
            return &enemy;
        }
    }
    return nullptr;
}

std::string worldNumber(int world) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", std::clamp(world, 0, 98) + 1);
    return number;
}

std::string worldTitle(int world, const std::string& name) {
    return worldNumber(world) + "  " + name;
}

float progressWidth(float playerX, float levelLength) {
    return PROGRESS_WIDTH * ratio(playerX, std::max(levelLength, 1.0f));
}

std::string subscriberLine(int subscribers) {
    return std::to_string(subscribers) + " / 1 BILLION";
}

std::string powerUpLine(const Player& player) {
    std::string line;
    if (player.shield > 0) {
        line += "SHIELD " + std::to_string(player.shield) + "  ";
    }
    if (player.tripleJump > 0) {
        line += "3X JUMP  ";
    }
    if (player.speedBoost > 0) {
        line += "SPEED  ";
    }
    if (player.powerUp > 0) {
        line += "DMG BOOST  ";
    }
    if (player.magnet > 0) {
        line += "MAGNET";
    }
    if (player.flashlight > 0) {
        line += " LIGHT";
    }
    if (player.glow > 0) {
        line += " SAFE";
    }
    return line;
}

QuestBox questBox(bool noticeShowing, const std::string& notice, bool exitOpen) {
    if (noticeShowing) {
        return {"COLLECTED", notice, 0xFFCB66, 0xFFCB66};
    }
    if (exitOpen) {
        return {"BOSS DOWN / GATE OPEN", "The next audience is waiting.", 0x5D5682, 0xA9A4C2};
    }
    return {"CHAT'S QUEST", "Follow the trail. Defeat the boss.", 0x5D5682, 0xA9A4C2};
}

bool crosshairVisible(int state, float mouseX, float mouseY, float viewWidth) {
    return state == Playing && mouseX > 0 && mouseX < viewWidth && mouseY > 78 && mouseY < 470;
}

Rect captionBox(std::string_view words, float viewWidth) {
    // An even whole width keeps the centred box on whole units.
    const float width =
        std::min(2 * std::ceil(static_cast<float>(words.size()) * CAPTION_ADVANCE / 2) + 2 * CAPTION_MARGIN,
                 viewWidth - 2 * CAPTION_MARGIN);
    return {(viewWidth - width) / 2, CAPTION_BOTTOM - CAPTION_HEIGHT, width, CAPTION_HEIGHT};
}

GapWarning gapWarning(const Game& game, float viewWidth) {
    GapWarning warning;
    if (game.state != Playing) {
        return warning;
    }
    const int pit = game.pitAhead(GAP_LOOK_AHEAD);
    if (pit < 0 || pit >= static_cast<int>(game.level.pits.size())) {
        return warning;
    }
    const Pit& gap = game.level.pits[static_cast<std::size_t>(pit)];
    const bool facingRight = game.player.facing >= 0;
    const float edge = facingRight ? gap.left : gap.right;
    warning.shown = true;
    warning.x = std::clamp(edge - game.cameraX - 92, 8.0f, std::max(viewWidth - 192, 8.0f));
    warning.text = facingRight ? "GAP AHEAD  >>  JUMP" : "JUMP  <<  GAP AHEAD";
    return warning;
}

} // namespace grumbo
