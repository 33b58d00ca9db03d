// The save file's schema: where save.ini lives, the journey and settings it
// mirrors, how they are read at start-up, turned into INI text, and how a
// continued journey is put back into a freshly started world.
#pragma once

#include "game/game.h"
#include "input/bindings.h"
#include "save/ini_snapshot.h"

#include <cstdint>
#include <string>

namespace grumbo {

// Layout version of the Collected and Defeated strings; older files restore
// neither, because their pickup and enemy order differs.
inline constexpr int CAMPAIGN_VERSION = 4;
inline constexpr int RESOLUTION_COUNT = 4;
inline constexpr int MIN_MAX_HEALTH = 100;
inline constexpr int MAX_MAX_HEALTH = 125;

// The settings as the game uses them; the defaults are those of a missing file.
struct Settings {
    bool muted = false;
    bool voiceClips = true;
    bool screenShake = true;
    float musicVolume = 0.28f;
    float effectsVolume = 0.85f;
    bool autoFullscreen = false;
    bool ipJokes = true;
    int resolutionIndex = 0;
    // The persona's words on screen while a voice clip plays.
    bool captions = false;
    // The running timer on the HUD: 0 none, 1 the world's, 2 the journey's.
    int timer = 0;
    // Beside the settings every version had: the player's keys and buttons,
    // and the assists a world starts with.
    Bindings controls;
    Assists assists;
};

// The journey as the title screen sees it: the world to continue (-1 none),
// its subscriber count and the highest world ever started.
struct Progress {
    int savedLevel = -1;
    int savedSubscribers = 0;
    int highestLevel = 0;
};

// The save file's full path: dataFolder + "/LanternFox/GrumboMegastream/save.ini",
// creating both folders; when dataFolder is empty or the folders cannot be
// made, "save.ini" in exeFolder instead.
std::wstring saveFilePath(const std::wstring& dataFolder, const std::wstring& exeFolder);

// An integer the way the start-up reader takes it: the key's value (section
// and key matched regardless of case), leading blanks skipped, an optional
// sign, then the leading digits; trailing text is ignored. The fallback when
// the key is missing or holds no digits; values beyond 32 bits saturate.
std::int32_t profileInteger(const IniSnapshot& file, const std::wstring& section, const std::wstring& key,
                            std::int32_t fallback);

// Reads the progress and settings keys from save-file text; absent keys keep
// their defaults and out-of-range values are clamped.
void loadSaveText(const std::wstring& text, Progress& progress, Settings& settings);

// Reads the save file on disk. A missing, unreadable or undecodable file, or
// one larger than the reader accepts, leaves every default in place.
void loadSaveFile(const std::wstring& path, Progress& progress, Settings& settings);

// Builds the next save from the last saved text: the journey (its detail
// only while a world is in progress, paused or finished) and the settings.
// While a world runs, progress first takes the game's world and subscribers.
// Keys the game does not write keep their stored values.
std::wstring saveSnapshotText(const std::wstring& lastText, const Game& game, Progress& progress,
                              const Settings& settings);

// Puts the saved detail of a continued journey back into a world that has
// just been started: health limit, checkpoint, weapons, collected pickups,
// defeated enemies, completion, and with them the exit and the state.
void restoreJourney(Game& game, const IniSnapshot& snapshot);

// The exit and state of a world that was just started (or restored) with
// completion 0 (none), 1 (world complete) or 2 (journey complete).
void applyCompletion(Game& game, int completion);

} // namespace grumbo
