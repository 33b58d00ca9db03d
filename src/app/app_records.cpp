// Records in the app: noting a world's clear, and showing the records on the
// level-select screen, on the world-complete card and as the HUD's timer.
#include "app/app.h"
#include "app/palette.h"
#include "app/player_options.h"

#include <algorithm>

namespace grumbo {

using namespace palette;

void App::clearedWorld() {
    lastClear = noteClear(records, game.world, game.levelTime, game.deaths - worldStartDeaths,
                          game.subscribers, worldFromStart, game.state == Finale, assistsOn(game.assists));
}

void App::worldRecordsLine(float cx) {
    const int selected = menu.selection;
    std::string line;
    if (selected >= 0 && selected < WORLD_COUNT) {
        line = worldRecordLine(records.worlds[static_cast<std::size_t>(selected)]);
    } else if (records.bestJourneyCentis >= 0) {
        line = "BEST JOURNEY " + clearTimeText(records.bestJourneyCentis);
    }
    // Between the last row's tag and the Back button.
    text(line, cx - 420, 424, 840, 20, 1, GOLD, true);
}

void App::clearRecordsLines(float cx) {
    if (lastClear.world != game.world) {
        return;
    }
    std::string run = "SUBSCRIBERS " + std::to_string(lastClear.subscribers);
    std::string news = lastClear.newSubscribers ? "NEW BEST SUBSCRIBERS" : "";
    if (lastClear.fromStart) {
        run = "TIME " + clearTimeText(lastClear.centis) + "   DEATHS " + std::to_string(lastClear.deaths) +
              "   " + run;
        const auto add = [&news](bool beaten, const char* what) {
            if (beaten) {
                news += (news.empty() ? "NEW BEST " : "  NEW BEST ") + std::string(what);
            }
        };
        news.clear();
        add(lastClear.newTime, "TIME");
        add(lastClear.newDeaths, "DEATHS");
        add(lastClear.newSubscribers, "SUBSCRIBERS");
        add(lastClear.newJourney, "JOURNEY");
    }
    if (lastClear.assisted && !news.empty()) {
        news += "  (ASSIST)";
    }
    // Between the flavour line and the prompt.
    text(run, cx - 270, 346, 540, 14, 0, WHITE, true);
    text(news, cx - 270, 361, 540, 14, 0, GOLD, true);
}

void App::hudTimer(float cx) {
    if (settings.timer == TimerOff) {
        return;
    }
    const bool inWorld = game.state == Playing || game.state == Paused || game.state == SignCard;
    const int world = centisOf(game.levelTime);
    const std::string line = settings.timer == TimerWorld
                                 ? "WORLD " + clearTimeText(world)
                                 : "JOURNEY " + clearTimeText(records.journeyCentis + (inWorld ? world : 0));
    // Under the world title or the boss bar, above the level band.
    text(line, cx - 80, 64, 160, 12, 0, GOLD, true);
}

} // namespace grumbo
