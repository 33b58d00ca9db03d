// What the player hears and feels: the policy that turns the simulation's
// sound requests into clips with volume and pan, controller rumble, screen
// shake, toasts and progress saves, watches the running game for boss
// fights, dangerous crowds and chapter entries, and speaks the persona's
// voice lines sparingly. It only produces requests; the app carries them out.
#pragma once

#include "game/game.h"

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace grumbo {

inline constexpr float SHAKE_SECONDS = 0.18f;
inline constexpr float CHASE_MUSIC_SECONDS = 12;
inline constexpr double VOICE_REPEAT_SECONDS = 120;
inline constexpr std::size_t VOICE_RECENT_LIMIT = 4;
inline constexpr double VOICE_LEVEL_QUIET_SECONDS = 7;
inline constexpr float VOICE_VOLUME = 0.84f;

struct ClipRequest {
    std::string clip;
    float volume = 1;
    float pan = 0;
};

struct RumbleRequest {
    float strength = 0;
    float seconds = 0;
};

// One frame's requests, in the order they arose.
struct PolicyRequests {
    std::vector<ClipRequest> clips;
    std::vector<RumbleRequest> rumbles;
    std::vector<std::string> toasts;
    // Start the screen shake (when the setting allows it).
    bool shake = false;
    // Save the journey at the current world.
    bool saveProgress = false;
    // The battle music changed to these values.
    bool battleMusicChanged = false;
    bool battleBoss = false;
    bool battleChase = false;
    int battleTheme = 0;
};

// What the policy needs to know about the presentation.
struct PolicyContext {
    double now = 0; // presentation seconds
    float viewWidth = DEFAULT_VIEW_WIDTH;
    bool voiceClips = true;
    bool muted = false;
};

// The voice lines of one group, in rotation order; null for an unknown group.
const std::vector<std::string>* voiceGroup(std::string_view group);

class SoundPolicy {
  public:
    // Turns every queued request of the game into clips and effects; the
    // caller empties the game's queue afterwards.
    void soundEvents(const Game& game, const PolicyContext& context, PolicyRequests& out);
    // Once per frame: the battle music and the one-shot announcements.
    void encounterReactions(const Game& game, const PolicyContext& context, PolicyRequests& out);
    // Tries to speak one line of the group; true when a clip was requested.
    bool reaction(std::string_view group, VoiceMoment moment, float chance, float pan,
                  const PolicyContext& context, PolicyRequests& out);
    // Runs the chase music down.
    void tick(float dt);
    // A level start or respawn: announcements may come again, the battle music
    // is off, and the persona keeps quiet for a few seconds.
    void resetLevel(double now);

    std::array<double, SOUND_COUNT> soundReadyAt{};
    int fartCounter = 0;
    double voiceQuietUntil = VOICE_LEVEL_QUIET_SECONDS;
    std::array<double, VOICE_MOMENT_COUNT> momentReadyAt{};
    std::map<std::string, unsigned, std::less<>> voiceCursor;
    std::map<std::string, double, std::less<>> voiceLastPlayed;
    std::deque<std::string> voiceRecent;
    std::uint32_t voiceRng = 0x6A09E667u;
    bool battleBoss = false;
    bool battleChase = false;
    int battleTheme = 0;
    float chaseMusicTimer = 0;
    bool bossAnnounced = false;
    bool bossDefeatAnnounced = false;
    bool chapterAnnounced = false;

  private:
    float voiceDraw();
};

} // namespace grumbo
