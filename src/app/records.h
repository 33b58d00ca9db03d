// Records: for each world the best clear time, the fewest deaths and the most
// subscribers on leaving it, the journey timer, and the HUD timer setting, all
// kept in the save file's "Records" section (and "Timer" among the settings).
#pragma once

#include "save/ini_snapshot.h"

#include <array>
#include <string>

namespace grumbo {

// The HUD's running timer: none, the world's time, or the journey's.
enum TimerMode : int { TimerOff = 0, TimerWorld = 1, TimerJourney = 2 };

struct WorldRecord {
    // Hundredths of a second from the world's start to its gate; -1 none yet.
    int clearCentis = -1;
    int fewestDeaths = -1;
    int mostSubscribers = -1;
    // Which of the three were set with an assist on: bit 0 time, 1 deaths, 2 subscribers.
    int assisted = 0;
};

struct Records {
    std::array<WorldRecord, 10> worlds{};
    // The fastest journey through all ten worlds, hundredths; -1 none yet.
    int bestJourneyCentis = -1;
    // The journey in progress: the time of its finished worlds, and whether
    // every one of them was played from its start since a new journey began.
    int journeyCentis = 0;
    bool journeyTimed = false;
};

// One clear of a world and what it bettered.
struct ClearResult {
    int world = -1;
    int centis = 0;
    int deaths = 0;
    int subscribers = 0;
    // Time and deaths count only for a world played from its start.
    bool fromStart = false;
    bool newTime = false;
    bool newDeaths = false;
    bool newSubscribers = false;
    bool newJourney = false;
    bool assisted = false;
};

// Hundredths of a second, rounded to the nearest.
int centisOf(float seconds);
// "M:SS.cc", minutes growing as needed.
std::string clearTimeText(int centis);

// A world reached its gate: records only ever get better. `finale` marks the
// last world of a journey, whose timed total may be the best journey.
// `assisted` marks a clear played with an assist on; a record it sets carries the mark.
ClearResult noteClear(Records& records, int world, float seconds, int deaths, int subscribers, bool fromStart,
                      bool finale, bool assisted = false);

// Missing or malformed keys read as no record; the timer as off.
void readRecords(const IniSnapshot& file, Records& records);
void writeRecords(IniSnapshot& file, const Records& records);

// The records of a world in one line for the level-select screen; a record
// set with an assist on is followed by "(ASSIST)".
std::string worldRecordLine(const WorldRecord& record);

} // namespace grumbo
