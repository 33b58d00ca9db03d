// The heads-up display over the world: health, subscribers or the IP joke,
// the boss bar or the world title, the bottom bar with weapon, power-ups,
// hint and quest box, the on-screen play buttons, the crosshair, the
// warning before a gap and the caption of a voice line. It reads the game and
// changes nothing.
#include "app/app.h"
#include "app/hud_layout.h"
#include "app/palette.h"
#include "app/player_options.h"

#include <cmath>
#include <string>

namespace grumbo {

using namespace palette;

namespace {

std::uint32_t rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}

} // namespace

void App::hud() {
    const Player& player = game.player;
    const float cx = viewWidth / 2;

    panel(16, 14, 224, 59, GREEN);
    text("LIVE  GRUMBO", 28, 22, 180, 20, 1, GREEN, false);
    rect(28, 47, 154, 10, rgb(54, 48, 68), 1);
    rect(28, 47, healthBarWidth(player.health, player.maxHealth), 10, healthBarColour(player.health), 1);
    text(std::to_string(player.health), 190, 43, 36, 24, 1, WHITE, false);

    // Between the health box and the world title, clear of both.
    if (assistsOn(game.assists)) {
        rect(246, 18, 48, 16, NIGHT, 0.85f);
        text("ASSIST", 246, 21, 48, 12, 0, GOLD, true);
    }

    panel(viewWidth - 246, 14, 230, 59, 0xAE79FF);
    if (settings.ipJokes && ipJokeTimer > 0) {
        const std::uint32_t blink =
            static_cast<long>(std::trunc(presentationClock * 5)) % 2 == 0 ? WHITE : GOLD;
        text("YOUR IP ADDRESS", viewWidth - 231, 21, 206, 16, 0, blink, false);
        text(ipText, viewWidth - 231, 36, 206, 20, 1, blink, false);
        text("MADE UP BY CHAT", viewWidth - 231, 57, 206, 14, 0, 0xADA4C0, false);
    } else {
        text("SUBSCRIBERS", viewWidth - 231, 23, 165, 20, 0, 0xA3A7C0, false);
        text(subscriberLine(game.subscribers), viewWidth - 231, 42, 206, 24, 1, WHITE, false);
    }

    const Enemy* boss = game.bossEncounterActive() ? hudBoss(game) : nullptr;
    if (boss != nullptr) {
        text(Game::bossName(game.world), cx - 180, 17, 360, 19, 1, GOLD, true);
        text("BOSS PHASE " + std::to_string(boss->phase), cx - 180, 36, 360, 15, 0, 0xD8C2ED, true);
        rect(cx - 114, 56, 228, 7, 0x422B47, 1);
        rect(cx - 114, 56, bossBarWidth(boss->hp, boss->maxHp), 7, bossBarColour(boss->phase), 1);
    } else {
        text(worldTitle(game.world, game.level.name), cx - 180, 19, 360, 30, 1, WHITE, true);
        rect(cx - 114, 50, 228, 3, rgb(85, 83, 102), 0.8f);
        rect(cx - 114, 50, progressWidth(player.pos.x, game.level.length), 3, GREEN, 1);
    }

    rect(0, 470, viewWidth, 70, 0x0A0C20, 0.97f);
    line(0, 470.5f, viewWidth, 470.5f, VIOLET, 1, 0.6f);

    panel(16, 488, 265, 37, VIOLET);
    sprite(weaponSprite(player.weapon), 23, 487, 36, 36, false, 1, 0);
    text(Game::weaponName(player.weapon), 62, 494, 204, 20, 1, WHITE, false);

    const std::string powerUps = powerUpLine(player);
    if (powerUps.empty()) {
        text(IDLE_POWER_UP_LINE, 23, 474, 275, 14, 0, 0xAAA3BD, false);
    } else {
        text(powerUps, 23, 474, 275, 14, 0, GREEN, false);
    }
    text(controlHint(gamepadActive, settings.controls), viewWidth - 298, 474, 282, 14, 0, 0xD1CEE5, false);

    const QuestBox quest = questBox(toastTimer > 0, toastText, game.exitOpen);
    panel(viewWidth - 298, 490, 282, 36, quest.accent);
    text(quest.title, viewWidth - 287, 494, 260, 13, 0, quest.titleColour, false);
    text(quest.body, viewWidth - 287, 508, 260, 15, 0, WHITE, false);

    for (int i = 0; i < PLAY_BUTTON_COUNT; ++i) {
        const Rect r = playButtonRect(i, viewWidth);
        const bool hovered = mouse.mouseX >= r.x && mouse.mouseX < r.x + r.w && mouse.mouseY >= r.y &&
                             mouse.mouseY < r.y + r.h;
        rect(r.x, r.y, r.w, r.h, hovered ? rgb(40, 65, 60) : rgb(22, 28, 50), 0.95f);
        rect(r.x, r.y, r.w, 2, hovered ? GREEN : VIOLET, 0.8f);
        text(PLAY_BUTTON_LABELS[static_cast<std::size_t>(i)], r.x, r.y + 10, r.w, r.h - 7, 0,
             hovered ? GREEN : WHITE, true);
    }

    if (crosshairVisible(game.state, mouse.mouseX, mouse.mouseY, viewWidth)) {
        const float mx = mouse.mouseX;
        const float my = mouse.mouseY;
        line(mx - 6, my, mx - 2, my, GREEN, 1, 0.75f);
        line(mx + 2, my, mx + 6, my, GREEN, 1, 0.75f);
        line(mx, my - 6, mx, my - 2, GREEN, 1, 0.75f);
        line(mx, my + 2, mx, my + 6, GREEN, 1, 0.75f);
    }

    const GapWarning gap = gapWarning(game, viewWidth);
    if (gap.shown) {
        text(gap.text, gap.x, 441, 184, 18, 0, GOLD, true);
    }
    hudTimer(cx);
}

void App::caption() {
    if (!settings.captions || captionText.empty() || presentationTime >= captionUntil) {
        return;
    }
    const Rect box = captionBox(captionText, viewWidth);
    panel(box.x, box.y, box.w, box.h, GREEN);
    text(captionText, box.x, box.y + 5, box.w, box.h - 5, CAPTION_TEXT_SIZE, WHITE, true);
}

} // namespace grumbo
