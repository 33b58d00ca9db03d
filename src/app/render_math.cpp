#include "app/render_math.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace grumbo {

namespace {

int positiveModulo(long long value, int modulus) {
    const long long remainder = value % modulus;
    return static_cast<int>(remainder < 0 ? remainder + modulus : remainder);
}

// An animation frame: floor(rate * clock + phase) wrapped into 0..count-1.
int frameOf(float rate, float clock, int count, float phase = 0) {
    return positiveModulo(static_cast<long long>(std::floor(rate * clock + phase)), count);
}

} // namespace

ViewGeometry viewGeometry(int clientWidth, int clientHeight) {
    const float width = static_cast<float>(std::max(clientWidth, 1));
    const float height = static_cast<float>(std::max(clientHeight, 1));
    ViewGeometry view;
    view.scale = std::min(width / CANVAS_MIN_WIDTH, height / CANVAS_HEIGHT);
    view.width = width / view.scale;
    view.offsetY = (height - CANVAS_HEIGHT * view.scale) * 0.5f;
    return view;
}

bool spriteCulled(float x, float y, float w, float h, float viewWidth) {
    return x + w + SPRITE_CULL_MARGIN < 0 || x - SPRITE_CULL_MARGIN > viewWidth ||
           y + h + SPRITE_CULL_MARGIN < 0 || y - SPRITE_CULL_MARGIN > CANVAS_HEIGHT;
}

float bandY(float worldY) {
    return BAND_OFFSET + BAND_SCALE * worldY;
}

float parallaxOffset(float cameraX) {
    const float offset = std::fmod(0.14f * cameraX, 960.0f);
    return offset < 0 ? offset + 960.0f : offset;
}

Vec2 shakeOffset(bool shakeSetting, float shakeTimer, float clock) {
    if (!shakeSetting || shakeTimer <= 0) {
        return {};
    }
    return {12 * shakeTimer * std::sin(140 * clock), 12 * shakeTimer * std::cos(125 * clock)};
}

bool pitLabelShown(float visibleWidth) {
    return visibleWidth > 54;
}

const char* gateLabel(bool exitOpen) {
    return exitOpen ? "GO LIVE" : "BOSS LOCK";
}

const char* gateGlyph(bool exitOpen) {
    return exitOpen ? ">>" : "X";
}

std::string ipShotLabel(float x) {
    const long long whole = static_cast<long long>(std::floor(x));
    return "192.0.2." + std::to_string(positiveModulo(whole, 254) + 1);
}

std::string playerSpriteName(const Player& player, float clock) {
    if (player.grounded) {
        if (std::fabs(player.vel.x) > 20) {
            return "player_run_" + std::to_string(frameOf(12, clock, 6));
        }
        return "player_idle";
    }
    return player.vel.y < 0 ? "player_jump" : "player_fall";
}

std::string enemySpriteName(const Enemy& enemy, float clock, bool hiddenMimic) {
    if (hiddenMimic) {
        return "prop_card_rack";
    }
    switch (enemy.kind) {
    case EnemyKind::Zombie:
        return "zombie_" + std::to_string(frameOf(5, clock, 3, enemy.pos.x / 100));
    case EnemyKind::Slender:
        return "slender_" + std::to_string(frameOf(2, clock, 2));
    case EnemyKind::Cat:
        return "cat_" + std::to_string(frameOf(8, clock, 3));
    case EnemyKind::Letter:
        return std::string("letter_") +
               static_cast<char>(std::toupper(static_cast<unsigned char>(enemy.letter)));
    case EnemyKind::Spitter:
        return "spitter_" + std::to_string(frameOf(5, clock, 3));
    case EnemyKind::Caretaker:
        return "caretaker_" + std::to_string(frameOf(5, clock, 3));
    case EnemyKind::Armored:
        return "armored_" + std::to_string(frameOf(4, clock, 3));
    case EnemyKind::Mimic:
        return "mimic_" + std::to_string(frameOf(4, clock, 3));
    case EnemyKind::Drone:
        return "drone_" + std::to_string(frameOf(8, clock, 3));
    case EnemyKind::Cart:
        return "cart_" + std::to_string(frameOf(6, clock, 3));
    case EnemyKind::Turret:
        return "turret_" + std::to_string(enemy.windupTimer > 0 ? 2 : frameOf(2, clock, 2));
    case EnemyKind::Boss: {
        const int frame = enemy.windupTimer > 0 ? 1 : frameOf(3, clock, 2);
        return "boss_" + std::to_string(std::clamp(enemy.bossIndex, 0, 9) + 1) + "_" + std::to_string(frame);
    }
    }
    return {};
}

bool enemyMirrored(const Enemy& enemy) {
    switch (enemy.kind) {
    case EnemyKind::Zombie:
    case EnemyKind::Slender:
    case EnemyKind::Cat:
        return enemy.facing == 1;
    case EnemyKind::Letter:
        return false;
    default:
        return enemy.facing == -1;
    }
}

void parseSmokeOption(std::string_view commandLine, bool& smoke, int& smokeLevel) {
    constexpr std::string_view OPTION = "--smoke";
    const std::size_t at = commandLine.find(OPTION);
    if (at == std::string_view::npos) {
        return;
    }
    smoke = true;
    std::string_view rest = commandLine.substr(at + OPTION.size());
    // Leading blanks, an optional sign, then digits; anything else reads as 0.
    std::size_t i = 0;
    while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < rest.size() && (rest[i] == '-' || rest[i] == '+')) {
        negative = rest[i] == '-';
        ++i;
    }
    long long value = 0;
    while (i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i])) != 0 && value < 1000) {
        value = value * 10 + (rest[i] - '0');
        ++i;
    }
    smokeLevel = static_cast<int>(std::clamp(negative ? -value : value, 0LL, 9LL));
}

} // namespace grumbo
