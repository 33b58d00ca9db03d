// Play and the screens around it, in their first form: the pause, sign and
// completion cards with keyboard and controller, the cursor in canvas units,
// the health box and bottom bar of the HUD, and the sound queue drained each
// frame until the mixer takes it.
#include "app/app.h"

#include <algorithm>
#include <string>

namespace grumbo {

void App::mouseInput(Control& control) {
    const MouseState mouse = window.mouse();
    mouseX = static_cast<float>(mouse.x) / viewScale;
    mouseY = (static_cast<float>(mouse.y) - viewOffsetY) / viewScale;
    if (game.state == SignCard || game.state == WorldComplete || game.state == Finale) {
        control.confirm = control.confirm || (leftClickPending && active);
    }
    leftClickPending = false;
    rightClickPending = false;
    wheelDelta %= 120;
}

void App::controls(Control& control) {
    if (control.toggleFullscreen) {
        toggleFullscreen();
    }
    switch (game.state) {
    case Paused:
        if (control.confirm || control.back || control.pause) {
            game.state = Playing;
        }
        control.pause = false;
        break;
    case SignCard:
        if (control.confirm || control.back || control.interact) {
            game.state = Playing;
            control.interact = false;
        }
        break;
    case WorldComplete:
        if (control.confirm) {
            game.advanceLevel();
            resetLevelPresentation();
        }
        break;
    case Finale:
        if (control.confirm) {
            game.start(0);
            game.state = Playing;
            resetLevelPresentation();
        }
        break;
    case Playing:
        if (control.restartCheckpoint) {
            game.restartCheckpoint();
        }
        if (control.weaponSlot >= 0 && control.weaponSlot < WEAPON_COUNT &&
            game.player.ownedWeapons[static_cast<std::size_t>(control.weaponSlot)]) {
            game.player.weapon = static_cast<Weapon>(control.weaponSlot);
        }
        if (control.pause) {
            game.state = Paused;
            menuScreen = 0;
            menuSelection = 0;
        }
        break;
    default:
        break;
    }
}

void App::menuRender() {
    const float cx = viewWidth / 2;
    if (game.state == Paused) {
        world();
        rect(0, 0, viewWidth, CANVAS_HEIGHT, 0x0A0C20, 0.78f);
        panel(cx - 213, 78, 426, 150, 0xAE79FF);
        text("STREAM PAUSED", cx - 190, 100, 380, 44, 3, 0xB3FF67, true);
        text("ESC  RESUME", cx - 190, 170, 380, 20, 1, 0xF2F3FF, true);
        return;
    }
    if (game.state == SignCard) {
        rect(0, 0, viewWidth, CANVAS_HEIGHT, 0x0A0C20, 0.48f);
        panel(cx - 345, 115, 690, 390, 0xFFCB66);
        text("THE MEGASTREAM", cx - 320, 133, 640, 24, 1, 0xFFCB66, false);
        text(game.signText, cx - 320, 176, 640, 274, 2, 0xF2F3FF, false);
        text(gamepadActive ? "A / B  CONTINUE" : "CLICK / ENTER / E  CONTINUE", cx - 320, 477, 640, 20, 0,
             0xB3FF67, false);
        return;
    }
    if (game.state == WorldComplete || game.state == Finale) {
        const bool finale = game.state == Finale;
        rect(0, 0, viewWidth, CANVAS_HEIGHT, 0x0A0C20, 0.7f);
        panel(cx - 312, 90, 624, 350, 0xB3FF67);
        text(finale ? "ONE BILLION!" : "SIGNAL RESTORED", cx - 280, 116, 560, 70, 4, 0xB3FF67, true);
        text(finale ? "The journey paid off. Chat is going wild."
                    : "World " + std::to_string(game.world + 1) + " complete.",
             cx - 280, 197, 560, 28, 2, 0xF2F3FF, true);
        text("Subscribers: " + std::to_string(game.subscribers), cx - 270, 243, 540, 32, 3, 0xFFCB66, true);
        text(finale ? "CLICK / ENTER / A   RETURN TO MENU" : "CLICK / ENTER / A   NEXT WORLD", cx - 270, 378,
             540, 28, 2, 0xB3FF67, true);
    }
}

void App::hud() {
    const Player& player = game.player;
    panel(16, 14, 224, 59, 0xB3FF67);
    text("LIVE  GRUMBO", 28, 22, 180, 20, 1, 0xB3FF67, false);
    rect(28, 47, 154, 10, 0x363044, 1);
    const float health =
        static_cast<float>(player.health) / static_cast<float>(std::max(player.maxHealth, 1));
    rect(28, 47, 154 * std::clamp(health, 0.0f, 1.0f), 10, player.health >= 31 ? 0xB3FF67u : 0xFF778Au, 1);
    text(std::to_string(player.health), 190, 43, 36, 24, 1, 0xF2F3FF, false);
    rect(0, 470, viewWidth, 70, 0x0A0C20, 0.97f);
    line(0, 470, viewWidth, 471, 0xAE79FF, 1, 0.6f);
}

// Nothing plays the requests yet; dropping them keeps the queue from filling.
void App::soundEvents() {
    game.sounds.clear();
}

} // namespace grumbo
