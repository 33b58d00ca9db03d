// The arithmetic and texts of the heads-up display: bar widths and colours,
// the world title, the power-up line, the quest box, the on-screen play
// buttons, the crosshair and the gap warning. Drawing them is the app's job;
// deciding what they show is done here, so it can be checked without a window.
#pragma once

#include "game/game.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace grumbo {

inline constexpr float TOAST_SHOW_SECONDS = 2.4f;
inline constexpr std::size_t TOAST_WAIT_LIMIT = 4;

inline constexpr int PLAY_BUTTON_COUNT = 7;
inline constexpr float PLAY_BUTTON_Y = 493;
inline constexpr float PLAY_BUTTON_HEIGHT = 35;
inline constexpr std::array<float, PLAY_BUTTON_COUNT> PLAY_BUTTON_OFFSETS{0, 46, 92, 146, 200, 254, 308};
inline constexpr std::array<float, PLAY_BUTTON_COUNT> PLAY_BUTTON_WIDTHS{40, 40, 48, 48, 48, 48, 40};
inline constexpr std::array<const char*, PLAY_BUTTON_COUNT> PLAY_BUTTON_LABELS{"<",    ">",    "JUMP", "FIRE",
                                                                               "READ", "DASH", "II"};
enum PlayButton : int {
    MoveLeftButton,
    MoveRightButton,
    JumpButton,
    FireButton,
    ReadButton,
    DashButton,
    PauseButton
};

// Shows a toast at once when none is up, else queues it behind the others,
// dropping the oldest waiting one when the queue is full.
void pushToast(std::string& text, float& timer, std::deque<std::string>& queue, std::string message);

// Left edge (x), top, width and height of an on-screen play button.
Rect playButtonRect(int button, float viewWidth);
// The play button under a canvas point (left and top edges inclusive), or -1.
int playButtonAt(float x, float y, float viewWidth);

// 154 units at full health; a health limit of 0 counts as 1.
float healthBarWidth(int health, int maxHealth);
std::uint32_t healthBarColour(int health);
// Within 0..228 units whatever the boss's hit points.
float bossBarWidth(int hp, int maxHp);
std::uint32_t bossBarColour(int phase);
// The first living boss of the level, or null.
const Enemy* hudBoss(const Game& game);

// "01" to "10".
std::string worldNumber(int world);
// The world number, two spaces and the level's name.
std::string worldTitle(int world, const std::string& name);
// 228 units once the player reaches the level's end.
float progressWidth(float playerX, float levelLength);
std::string subscriberLine(int subscribers);

// The active power-ups in a fixed order, or empty when none runs.
std::string powerUpLine(const Player& player);
inline constexpr const char* IDLE_POWER_UP_LINE = "TEN WEAPONS. PICK YOUR MOMENT.";

struct QuestBox {
    std::string title;
    std::string body;
    std::uint32_t accent = 0;
    std::uint32_t titleColour = 0;
};
QuestBox questBox(bool noticeShowing, const std::string& notice, bool exitOpen);

// The mouse crosshair shows only in play and over the level band.
bool crosshairVisible(int state, float mouseX, float mouseY, float viewWidth);

// The caption of a voice line: a box centred at the bottom of the level band,
// above the gap warning and clear of every HUD box, as wide as its words in
// the text size CAPTION_TEXT_SIZE.
inline constexpr int CAPTION_TEXT_SIZE = 2;
Rect captionBox(std::string_view words, float viewWidth);

struct GapWarning {
    bool shown = false;
    float x = 0;
    std::string text;
};
// The warning before a gap ahead of the player, placed in canvas units.
GapWarning gapWarning(const Game& game, float viewWidth);

} // namespace grumbo
