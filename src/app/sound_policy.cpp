// The sound table, earshot and pan, the voice bank with its rotation and
// gates, and the per-frame encounter watcher.

#include "app/sound_policy.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace grumbo {
namespace {

struct VoiceBankGroup {
    std::string_view name;
    std::vector<std::string> clips;
};

const std::vector<VoiceBankGroup>& voiceBankGroups() {
    static const std::vector<VoiceBankGroup> groups{
        {"rare_weapon",
         {"grumbo_knuckle_sandwich", "grumbo_watch_this", "grumbo_well_ill_be", "grumbo_one_by_one",
          "grumbo_food", "grumbo_what_is_this", "grumbo_lets_go"}},
        {"hurt",
         {"grumbo_shots_fired", "grumbo_didnt_do_nothing", "grumbo_please_dont_kill", "grumbo_ew",
          "grumbo_help"}},
        {"death", {"grumbo_how_did_die", "grumbo_im_done", "grumbo_its_over", "grumbo_no", "grumbo_banned"}},
        {"boss",
         {"grumbo_got_runner", "grumbo_where_is_he", "grumbo_granny", "grumbo_spooky_time",
          "grumbo_what_is_that", "grumbo_oh_my_goodness"}},
        {"victory",
         {"grumbo_got_kill", "grumbo_gg_buddy", "grumbo_good_night", "grumbo_new_king", "grumbo_too_easy",
          "grumbo_yeah", "grumbo_laugh", "grumbo_lets_go"}},
        {"theme_grocery", {"grumbo_health_department", "grumbo_food", "grumbo_well_ill_be"}},
        {"theme_granny",
         {"grumbo_granny", "grumbo_where_is_he", "grumbo_spooky_time", "grumbo_please_dont_kill"}},
        {"theme_bunker", {"grumbo_open_door", "grumbo_its_over", "grumbo_please_dont_kill"}},
        {"theme_cards", {"grumbo_new_king", "grumbo_watch_this", "grumbo_well_ill_be"}},
    };
    return groups;
}

constexpr std::array<const char*, WEAPON_COUNT> SHOOT_CLIPS{
    "shoot_gift", "shoot_ip",    "shoot_water", "shoot_spinner", "shoot_hammer",
    "shoot_raid", "shoot_snack", "shoot_rgb",   "shoot_receipt", "shoot_onebyone",
};

// Minimum seconds between two clips of the same sound, by `Sound`.
constexpr std::array<double, SOUND_COUNT> SOUND_INTERVALS{
    0.12, // FartJump
    0.19, // Shoot
    0.2,  // Hurt
    0.24, // Pickup
    0.12, // Death
    0.12, // Checkpoint
    0.12, // SignOpen
    0.12, // WorldComplete
    0.12, // GameComplete
    0.25, // Stomp
    0.24, // EnemyDefeated
    2.2,  // BossAttack
    1.1,  // HazardWarning
    0.12, // ShieldBreak
    0.12, // Dash
    1.0,  // BossPhase
};

constexpr std::array<const char*, 4> CHAPTER_TOASTS{"CHECKOUT CHAOS", "SPOOKY-TIME CHASE",
                                                    "BUNKER SUPPLY RUN", "CARD-SHOP AFTER DARK"};
constexpr std::array<const char*, 4> CHAPTER_VOICES{"theme_grocery", "theme_granny", "theme_bunker",
                                                    "theme_cards"};

constexpr int HURT_VOICE_HEALTH = 35;
constexpr float THREAT_RANGE = 330;
constexpr int THREAT_CHASE_SCORE = 3;

int threatOf(const Enemy& enemy) {
    switch (enemy.kind) {
    case EnemyKind::Caretaker:
        return 3;
    case EnemyKind::Turret:
    case EnemyKind::Mimic:
    case EnemyKind::Armored:
        return 2;
    default:
        return enemy.tier >= 2 ? 2 : 0;
    }
}

} // namespace

const std::vector<std::string>* voiceGroup(std::string_view group) {
    for (const VoiceBankGroup& entry : voiceBankGroups()) {
        if (entry.name == group) {
            return &entry.clips;
        }
    }
    return nullptr;
}

float SoundPolicy::voiceDraw() {
    voiceRng = voiceRng * 1664525u + 1013904223u;
    return static_cast<float>(voiceRng >> 8) / 16777216.0f;
}

void SoundPolicy::soundEvents(const Game& game, const PolicyContext& context, PolicyRequests& out) {
    const Player& player = game.player;
    const float centre = player.pos.x + player.size.x / 2;
    const float half = context.viewWidth / 2;
    for (const SoundEvent& event : game.sounds) {
        const float d = event.x - centre;
        const float pan = std::clamp(d / std::max(half, 240.0f), -0.85f, 0.85f);
        const bool inEarshot = std::fabs(d) < half + 140;
        const auto index = static_cast<std::size_t>(event.sound);
        if (index >= SOUND_COUNT) {
            continue;
        }
        const bool audible = inEarshot && context.now >= soundReadyAt[index];
        if (audible) {
            soundReadyAt[index] = context.now + SOUND_INTERVALS[index];
        }
        const float v = event.volume;
        auto play = [&](std::string clip, float volume, float clipPan) {
            if (audible) {
                out.clips.push_back({std::move(clip), volume, clipPan});
            }
        };
        switch (event.sound) {
        case Sound::FartJump:
            if (audible) {
                play("fart_jump_" + std::to_string(fartCounter % 3 + 1), 0.85f * v, pan);
                fartCounter += 1;
            }
            out.rumbles.push_back({0.22f, 0.12f});
            break;
        case Sound::Shoot: {
            const auto weapon = static_cast<std::size_t>(std::clamp<int>(event.weapon, 0, WEAPON_COUNT - 1));
            play(SHOOT_CLIPS[weapon], 0.48f * v, pan);
            break;
        }
        case Sound::Hurt:
            // A rocket's blast reports itself as a hurt sound of its own.
            if (event.weapon == RaidRocket) {
                play("shoot_raid", 0.4f * v, pan);
                break;
            }
            play("hurt", 0.8f * v, pan);
            if (player.health <= HURT_VOICE_HEALTH) {
                reaction("hurt", VoiceMoment::Hurt, 0.28f, 0, context, out);
            }
            out.rumbles.push_back({0.6f, 0.2f});
            out.shake = true;
            break;
        case Sound::Pickup:
            play("pickup", 0.6f * v, pan);
            break;
        case Sound::Death:
            play("hurt", 0.8f * v, pan);
            reaction("death", VoiceMoment::Death, 1, 0, context, out);
            out.rumbles.push_back({0.6f, 0.2f});
            break;
        case Sound::Checkpoint:
            play("pickup", 0.6f, pan);
            out.saveProgress = true;
            out.toasts.emplace_back("CHECKPOINT SAVED");
            break;
        case Sound::SignOpen:
            play("ui_confirm", 0.5f * v, pan);
            break;
        case Sound::WorldComplete:
        case Sound::GameComplete:
            play("victory", 0.8f * v, 0);
            reaction("victory", VoiceMoment::WorldComplete, 1, 0, context, out);
            out.saveProgress = true;
            break;
        case Sound::Stomp:
            play("ui_confirm", 0.5f * v, pan);
            break;
        case Sound::EnemyDefeated:
            play("enemy_death", 0.55f * v, pan);
            break;
        case Sound::BossAttack:
        case Sound::BossPhase:
            play("boss_phase", 0.6f * v, pan);
            break;
        case Sound::HazardWarning:
            play("hazard_warn", 0.7f * v, pan);
            break;
        case Sound::ShieldBreak:
            play("shield_break", 0.8f * v, pan);
            break;
        case Sound::Dash:
            play("dash", 0.65f * v, pan);
            break;
        }
    }
}

bool SoundPolicy::reaction(std::string_view group, VoiceMoment moment, float chance, float pan,
                           const PolicyContext& context, PolicyRequests& out) {
    const std::vector<std::string>* clips = voiceGroup(group);
    if (!context.voiceClips || context.muted || clips == nullptr || clips->empty()) {
        return false;
    }
    const double now = context.now;
    auto cursor = voiceCursor.find(group);
    if (cursor == voiceCursor.end()) {
        cursor = voiceCursor.emplace(std::string(group), 0u).first;
    }
    const auto n = static_cast<unsigned>(clips->size());
    const std::string* chosen = nullptr;
    for (unsigned k = 0; k < n && chosen == nullptr; ++k) {
        const std::string& clip = (*clips)[(cursor->second + k) % n];
        const auto last = voiceLastPlayed.find(clip);
        const bool playedLately = last != voiceLastPlayed.end() && now - last->second < VOICE_REPEAT_SECONDS;
        const bool recent = std::find(voiceRecent.begin(), voiceRecent.end(), clip) != voiceRecent.end();
        if (!playedLately && !recent) {
            chosen = &clip;
            cursor->second += k + 1;
        }
    }
    if (chosen == nullptr) {
        return false;
    }
    const auto momentIndex = static_cast<std::size_t>(moment);
    if (momentIndex >= VOICE_MOMENT_COUNT || now < voiceQuietUntil || now < momentReadyAt[momentIndex] ||
        chance <= 0 || voiceDraw() > std::min(chance, 1.0f)) {
        return false;
    }
    voiceQuietUntil = now + 14 + 6 * static_cast<double>(voiceDraw());
    momentReadyAt[momentIndex] = now + (moment == VoiceMoment::Death ? 40 : 28);
    voiceLastPlayed[*chosen] = now;
    voiceRecent.push_back(*chosen);
    if (voiceRecent.size() > VOICE_RECENT_LIMIT) {
        voiceRecent.pop_front();
    }
    out.clips.push_back({*chosen, VOICE_VOLUME, std::clamp(pan, -0.5f, 0.5f)});
    return true;
}

void SoundPolicy::encounterReactions(const Game& game, const PolicyContext& context, PolicyRequests& out) {
    bool boss = false;
    bool chase = false;
    int theme = 0;
    const Player& player = game.player;
    if (game.state != Title) {
        boss = game.bossEncounterActive();
        if (game.state == Playing) {
            int score = 0;
            for (const Enemy& enemy : game.level.enemies) {
                if (enemy.alive && enemy.kind != EnemyKind::Boss &&
                    std::fabs(enemy.pos.x - player.pos.x) <= THREAT_RANGE) {
                    score += threatOf(enemy);
                }
            }
            if (score > THREAT_CHASE_SCORE) {
                chaseMusicTimer = CHASE_MUSIC_SECONDS;
                chase = true;
            }
        }
        chase = chase || chaseMusicTimer > 0;
        for (const Chapter& chapter : game.level.chapters) {
            if (chapter.startX <= player.pos.x && player.pos.x <= chapter.endX) {
                theme = 1 + chapter.theme;
                break;
            }
        }
    }
    if (boss != battleBoss || chase != battleChase || theme != battleTheme) {
        battleBoss = boss;
        battleChase = chase;
        battleTheme = theme;
        out.battleMusicChanged = true;
        out.battleBoss = boss;
        out.battleChase = chase;
        out.battleTheme = theme;
    }
    if (game.state != Playing) {
        return;
    }
    if (boss && !bossAnnounced) {
        bossAnnounced = true;
        reaction("boss", VoiceMoment::BossEncounter, 0.85f, 0, context, out);
    }
    if (game.exitOpen && !bossDefeatAnnounced) {
        bossDefeatAnnounced = true;
        reaction("victory", VoiceMoment::BossDefeated, 1, 0, context, out);
        out.toasts.emplace_back("BOSS DOWN - BROADCAST GATE OPEN");
    }
    if (theme != 0 && !chapterAnnounced) {
        chapterAnnounced = true;
        const auto chapter = static_cast<std::size_t>(std::clamp(theme - 1, 0, 3));
        out.toasts.emplace_back(CHAPTER_TOASTS[chapter]);
        reaction(CHAPTER_VOICES[chapter], VoiceMoment::ChapterEntry, 0.85f, 0, context, out);
    }
}

void SoundPolicy::tick(float dt) {
    chaseMusicTimer = std::max(chaseMusicTimer - dt, 0.0f);
}

void SoundPolicy::resetLevel(double now) {
    bossAnnounced = false;
    bossDefeatAnnounced = false;
    chapterAnnounced = false;
    chaseMusicTimer = 0;
    battleBoss = false;
    battleChase = false;
    battleTheme = 0;
    voiceQuietUntil = std::max(voiceQuietUntil, now + VOICE_LEVEL_QUIET_SECONDS);
}

} // namespace grumbo
