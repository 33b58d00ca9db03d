#include "app/records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace grumbo {
namespace {

const std::wstring RECORDS = L"Records";

std::wstring worldKey(std::size_t world, const wchar_t* what) {
    return L"World" + std::to_wstring(world + 1) + what;
}

} // namespace

int centisOf(float seconds) {
    return static_cast<int>(std::lround(std::clamp(static_cast<double>(seconds), 0.0, 2.0e7) * 100.0));
}

std::string clearTimeText(int centis) {
    const int total = std::max(centis, 0);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%02d", total / 6000, total / 100 % 60, total % 100);
    return text;
}

ClearResult noteClear(Records& records, int world, float seconds, int deaths, int subscribers, bool fromStart,
                      bool finale, bool assisted) {
    ClearResult result;
    result.world = std::clamp(world, 0, static_cast<int>(records.worlds.size()) - 1);
    result.centis = centisOf(seconds);
    result.deaths = deaths;
    result.subscribers = subscribers;
    result.fromStart = fromStart;
    result.assisted = assisted;
    WorldRecord& best = records.worlds[static_cast<std::size_t>(result.world)];
    const auto mark = [&best, assisted](bool bettered, int bit) {
        if (bettered) {
            best.assisted = assisted ? best.assisted | bit : best.assisted & ~bit;
        }
    };
    if (fromStart) {
        result.newTime = best.clearCentis < 0 || result.centis < best.clearCentis;
        result.newDeaths = best.fewestDeaths < 0 || deaths < best.fewestDeaths;
        best.clearCentis = result.newTime ? result.centis : best.clearCentis;
        best.fewestDeaths = result.newDeaths ? deaths : best.fewestDeaths;
        records.journeyCentis += result.centis;
    } else {
        records.journeyTimed = false;
    }
    result.newSubscribers = subscribers > best.mostSubscribers;
    best.mostSubscribers = std::max(best.mostSubscribers, subscribers);
    mark(result.newTime, 1);
    mark(result.newDeaths, 2);
    mark(result.newSubscribers, 4);
    if (finale && records.journeyTimed &&
        (records.bestJourneyCentis < 0 || records.journeyCentis < records.bestJourneyCentis)) {
        records.bestJourneyCentis = records.journeyCentis;
        result.newJourney = true;
    }
    return result;
}

void readRecords(const IniSnapshot& file, Records& records) {
    records = Records{};
    for (std::size_t w = 0; w < records.worlds.size(); ++w) {
        WorldRecord& r = records.worlds[w];
        r.clearCentis = std::max(file.integer(RECORDS, worldKey(w, L"Time"), -1), -1);
        r.fewestDeaths = std::max(file.integer(RECORDS, worldKey(w, L"Deaths"), -1), -1);
        r.mostSubscribers = std::max(file.integer(RECORDS, worldKey(w, L"Subscribers"), -1), -1);
        r.assisted = std::clamp(file.integer(RECORDS, worldKey(w, L"Assisted"), 0), 0, 7);
    }
    records.bestJourneyCentis = std::max(file.integer(RECORDS, L"BestJourney", -1), -1);
    records.journeyCentis = std::max(file.integer(RECORDS, L"JourneyTime", 0), 0);
    records.journeyTimed = file.integer(RECORDS, L"JourneyTimed", 0) != 0;
}

// Nothing is written until there is something to keep, so a player who never
// finishes a world keeps a save of the usual two sections.
void writeRecords(IniSnapshot& file, const Records& records) {
    const std::wstring absent = L"\n";
    bool any = records.bestJourneyCentis >= 0 || records.journeyCentis > 0 || records.journeyTimed ||
               file.get(RECORDS, L"JourneyTime", absent) != absent;
    for (std::size_t w = 0; w < records.worlds.size(); ++w) {
        const WorldRecord& r = records.worlds[w];
        if (r.mostSubscribers < 0 && r.clearCentis < 0) {
            continue;
        }
        any = true;
        file.set(RECORDS, worldKey(w, L"Time"), std::to_wstring(r.clearCentis));
        file.set(RECORDS, worldKey(w, L"Deaths"), std::to_wstring(r.fewestDeaths));
        file.set(RECORDS, worldKey(w, L"Subscribers"), std::to_wstring(r.mostSubscribers));
        if (r.assisted != 0 || file.get(RECORDS, worldKey(w, L"Assisted"), absent) != absent) {
            file.set(RECORDS, worldKey(w, L"Assisted"), std::to_wstring(r.assisted));
        }
    }
    if (any) {
        file.set(RECORDS, L"BestJourney", std::to_wstring(records.bestJourneyCentis));
        file.set(RECORDS, L"JourneyTime", std::to_wstring(records.journeyCentis));
        file.set(RECORDS, L"JourneyTimed", records.journeyTimed ? L"1" : L"0");
    }
}

std::string worldRecordLine(const WorldRecord& record) {
    if (record.mostSubscribers < 0 && record.clearCentis < 0) {
        return "NO RECORDS YET. CLEAR IT TO SET ONE.";
    }
    const auto mark = [&record](int bit) { return (record.assisted & bit) != 0 ? " (ASSIST)" : ""; };
    std::string line = "BEST TIME " +
                       (record.clearCentis < 0 ? std::string("-") : clearTimeText(record.clearCentis)) +
                       mark(1);
    line += "   FEWEST DEATHS " +
            (record.fewestDeaths < 0 ? std::string("-") : std::to_string(record.fewestDeaths)) + mark(2);
    line += "   MOST SUBSCRIBERS " + std::to_string(std::max(record.mostSubscribers, 0)) + mark(4);
    return line;
}

} // namespace grumbo
