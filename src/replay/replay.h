// Replays: a run kept as the worlds it started from and the `Input` of every
// step, so it can be watched again or checked to play out identically.
//
// A replay holds one segment per world played. A segment starts from the
// journey detail the world began with (the keys a continued journey restores,
// plus the deaths so far) and lists each 1/120 s step: the input, the state
// the game was in, the view width, and what the app did to the game between
// steps (a restart from the pause menu, a weapon number key, draining the
// sound queue). Every 1,200 steps and at the end a state digest is kept, so a
// replay that parts from its recording names where. docs/replay-format.md
// describes the file.
#pragma once

#include "game/game.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace grumbo {

inline constexpr int REPLAY_FORMAT_VERSION = 1;
inline constexpr float REPLAY_STEP_SECONDS = 1.0f / 120.0f;
inline constexpr std::int64_t REPLAY_HASH_INTERVAL = 1200;
// Two hours of steps: longer segments are refused before anything is allocated.
inline constexpr std::int64_t REPLAY_MAX_SEGMENT_STEPS = 2LL * 60 * 60 * 120;
inline constexpr int REPLAY_MAX_SEGMENTS = 256;
// Eight hours of steps in one file at most, so what a file may ask to be
// allocated stays bounded.
inline constexpr std::int64_t REPLAY_MAX_FILE_STEPS = 4 * REPLAY_MAX_SEGMENT_STEPS;
// Replay files larger than this are refused unread.
inline constexpr std::uint64_t REPLAY_MAX_FILE_BYTES = 16u * 1024u * 1024u;

// One step as the game received it.
struct ReplayStep {
    Input input;
    // What the game's state was just before the step (the app pauses and
    // resumes by writing it).
    int stateBefore = Playing;
    float viewWidth = DEFAULT_VIEW_WIDTH;
    // Done by the app between the previous step and this one, in this order.
    bool soundsDrained = false;
    bool restartCheckpoint = false;
    int weaponSlot = -1;
};

// Where a segment's world began: the world and the journey detail.
struct ReplayStart {
    int world = 0;
    int subscribers = 0;
    int deaths = 0;
    int completion = 0; // 0 playing, 1 world complete, 2 journey complete
    int checkpoint = -1;
    int weapons = 1; // bit i: weapon i owned
    int equipped = 0;
    int maxHealth = 100;
    bool exitOpen = false;
    std::string collected; // one '0' or '1' per pickup, in level order
    std::string defeated;  // one '0' or '1' per enemy, in level order
    // The assists the world was played with; they never change within it.
    Assists assists;
};

struct ReplaySegment {
    ReplayStart start;
    std::uint64_t startHash = 0;
    std::vector<ReplayStep> steps;
    // The digest after steps 1200, 2400, ... and after the last step.
    std::vector<std::uint64_t> hashes;
    std::uint64_t finalHash = 0;
};

struct ReplayFile {
    std::string gameVersion;
    std::vector<ReplaySegment> segments;
    // Settings that change how the game plays, "Name" -> value. This version
    // knows none, so a file naming one is refused (see the format notes).
    std::vector<std::pair<std::string, std::string>> settings;
};

// The journey detail of the world `game` is in.
ReplayStart replayStartOf(const Game& game);
// Starts the segment's world in `game` exactly as it was recorded.
void startReplayWorld(Game& game, const ReplayStart& start);
// Carries out one recorded step: the app's actions, then `Game::update`.
void applyReplayStep(Game& game, const ReplayStep& step);

// The file's bytes; `encodeReplay` never fails.
std::vector<std::uint8_t> encodeReplay(const ReplayFile& file);
// False with a message for the player when the bytes are not a replay this
// game can play: another format version, damage, truncation, a segment over
// two hours, a setting this version does not know.
bool decodeReplay(const std::vector<std::uint8_t>& bytes, ReplayFile& file, std::string& error);
// Reads and decodes a file through the platform's files; false with a message.
bool loadReplay(const std::wstring& path, ReplayFile& file, std::string& error);

// Records a run as the app or a test plays it. Each world started by the
// caller begins a segment (`beginWorld`); a world started inside a step
// (confirming a world-complete screen) begins one by itself.
class ReplayRecorder {
  public:
    // Closes the current segment, if any, and begins one from `game`'s world.
    void beginWorld(const Game& game);
    // Closes the current segment; nothing is recorded until the next world.
    void endWorld();
    bool recording() const { return active_; }
    // Keeps every closed segment instead of only the last one.
    void keepEverySegment(bool keep) { keepAll_ = keep; }

    // What the app does to the game between steps, noted for the next step.
    void noteSoundsDrained() { pending_.soundsDrained = true; }
    void noteRestartCheckpoint() { pending_.restartCheckpoint = true; }
    void noteWeaponSlot(int slot) { pending_.weaponSlot = slot; }

    // Runs one step of `game` and records it.
    void update(Game& game, const Input& input);

    // The closed segments, oldest first: the last one, or with
    // `keepEverySegment` as many as a file holds (the oldest give way);
    // and the number closed since the last `takeClosed`.
    const std::vector<ReplaySegment>& segments() const { return closed_; }
    int takeClosed();

  private:
    void close();

    bool active_ = false;
    bool keepAll_ = false;
    ReplaySegment current_;
    std::uint64_t lastHash_ = 0;
    ReplayStep pending_;
    std::vector<ReplaySegment> closed_;
    int newlyClosed_ = 0;
};

// What checking a replay found.
struct ReplayCheck {
    bool matches = false;
    std::int64_t steps = 0;
    std::uint64_t stateHash = 0;
    // When it does not match: the first segment and the step within it where
    // the digest differs (a multiple of 1,200 or the segment's last step; 0
    // when the world already starts differently).
    int segment = -1;
    std::int64_t partsAtStep = -1;
    Game game; // the game after the last step played
};

// Plays every segment as fast as the machine goes and compares the digests.
ReplayCheck checkReplay(const ReplayFile& file);

} // namespace grumbo
