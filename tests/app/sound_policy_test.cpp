#include "app/sound_policy.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace grumbo {
namespace {

// A game in play with the player at x = 1000, healthy, and nothing around it.
Game playingGame() {
    Game game;
    game.start(0);
    game.level.enemies.clear();
    game.level.chapters.clear();
    game.player.pos = {1000, 406};
    game.player.health = 80;
    game.exitOpen = false;
    return game;
}

PolicyContext at(double now, float viewWidth = 960, bool voiceClips = true, bool muted = false) {
    return {now, viewWidth, voiceClips, muted};
}

// Queues one request `d` units right of the player's centre and drains the queue at `now`.
PolicyRequests hear(SoundPolicy& policy, Game& game, double now, Sound sound, float d = 0, float volume = 1,
                    Weapon weapon = GiftedSubs, float viewWidth = 960) {
    game.sounds.push_back({sound, volume, game.player.pos.x + game.player.size.x / 2 + d, weapon});
    PolicyRequests out;
    policy.soundEvents(game, at(now, viewWidth), out);
    game.sounds.clear();
    return out;
}

PolicyRequests speak(SoundPolicy& policy, std::string_view group, VoiceMoment moment, float chance,
                     const PolicyContext& context, float pan = 0) {
    PolicyRequests out;
    const bool spoke = policy.reaction(group, moment, chance, pan, context, out);
    EXPECT_EQ(spoke, !out.clips.empty());
    return out;
}

// The persona's line ends the requests, at its volume and centred.
void expectLine(const PolicyRequests& out, const char* clip) {
    ASSERT_FALSE(out.clips.empty());
    EXPECT_EQ(out.clips.back().clip, clip);
    EXPECT_FLOAT_EQ(out.clips.back().volume, 0.84f);
    EXPECT_FLOAT_EQ(out.clips.back().pan, 0.0f);
}

PolicyRequests watch(SoundPolicy& policy, const Game& game, double now) {
    PolicyRequests out;
    policy.encounterReactions(game, at(now), out);
    return out;
}

// The voice generator's second draw after `state`.
float secondDraw(std::uint32_t state) {
    state = (state * 1664525u + 1013904223u) * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 16777216.0f;
}

// The voice generator's state whose next draw is r (the multiplier is odd, so it has an inverse).
std::uint32_t seedFor(double r) {
    std::uint32_t inverse = 1664525u;
    for (int i = 0; i < 5; ++i) {
        inverse *= 2u - 1664525u * inverse;
    }
    return (static_cast<std::uint32_t>(r * 4294967296.0) - 1013904223u) * inverse;
}

constexpr float V = 0.5f;

struct Cue {
    Sound sound;
    const char* clip;
    float volume; // for a request of volume V
    double interval;
    bool actsWhenSilent = false;
    float rumble = 0, rumbleSeconds = 0;
    bool shake = false, save = false;
    const char* toast = "";
    // The first line of the voice group, and how long its moment then waits.
    const char* voice = "";
    double momentWait = 0;
    bool centred = false;
    Weapon weapon = GiftedSubs;
};

constexpr Cue CUES[] = {
    {Sound::FartJump, "fart_jump_1", 0.85f * V, 0.12, true, 0.22f, 0.12f},
    {Sound::Shoot, "shoot_gift", 0.48f * V, 0.19},
    {Sound::Hurt, "shoot_raid", 0.4f * V, 0.2, false, 0, 0, false, false, "", "", 0, false, RaidRocket},
    {Sound::Hurt, "hurt", 0.8f * V, 0.2, true, 0.6f, 0.2f, true},
    {Sound::Pickup, "pickup", 0.6f * V, 0.24},
    {Sound::Death, "hurt", 0.8f * V, 0.12, true, 0.6f, 0.2f, false, false, "", "grumbo_how_did_die", 40},
    {Sound::Checkpoint, "pickup", 0.6f, 0.12, true, 0, 0, false, true, "CHECKPOINT SAVED"},
    {Sound::SignOpen, "ui_confirm", 0.5f * V, 0.12},
    {Sound::WorldComplete, "victory", 0.8f * V, 0.12, true, 0, 0, false, true, "", "grumbo_got_kill", 28,
     true},
    {Sound::GameComplete, "victory", 0.8f * V, 0.12, true, 0, 0, false, true, "", "grumbo_got_kill", 28,
     true},
    {Sound::Stomp, "ui_confirm", 0.5f * V, 0.25},
    {Sound::EnemyDefeated, "enemy_death", 0.55f * V, 0.24},
    {Sound::BossAttack, "boss_phase", 0.6f * V, 2.2},
    {Sound::HazardWarning, "hazard_warn", 0.7f * V, 1.1},
    {Sound::ShieldBreak, "shield_break", 0.8f * V, 0.12},
    {Sound::Dash, "dash", 0.65f * V, 0.12},
    {Sound::BossPhase, "boss_phase", 0.6f * V, 1.0},
};

TEST(SoundPolicyTest, EveryCuePlaysItsClipAtMostOncePerIntervalAndActs) {
    for (const Cue& cue : CUES) {
        SCOPED_TRACE(cue.clip);
        SoundPolicy policy;
        Game game = playingGame();
        const auto expectEffects = [&](const PolicyRequests& out, bool happen) {
            ASSERT_EQ(out.rumbles.size(), happen && cue.rumble > 0 ? 1u : 0u);
            for (const RumbleRequest& rumble : out.rumbles) {
                EXPECT_FLOAT_EQ(rumble.strength, cue.rumble);
                EXPECT_FLOAT_EQ(rumble.seconds, cue.rumbleSeconds);
            }
            EXPECT_EQ(out.shake, happen && cue.shake);
            EXPECT_EQ(out.saveProgress, happen && cue.save);
            EXPECT_EQ(out.toasts, happen && *cue.toast ? std::vector<std::string>{cue.toast}
                                                       : std::vector<std::string>{});
        };
        // 120 units right of the centre in a 960-wide view pans to 120 / 480.
        const double t = 100;
        const PolicyRequests first = hear(policy, game, t, cue.sound, 120, V, cue.weapon);
        ASSERT_EQ(first.clips.size(), *cue.voice ? 2u : 1u);
        EXPECT_EQ(first.clips[0].clip, cue.clip);
        EXPECT_FLOAT_EQ(first.clips[0].volume, cue.volume);
        EXPECT_FLOAT_EQ(first.clips[0].pan, cue.centred ? 0.0f : 0.25f);
        expectEffects(first, true);
        if (*cue.voice) {
            expectLine(first, cue.voice);
            EXPECT_DOUBLE_EQ(*std::max_element(policy.momentReadyAt.begin(), policy.momentReadyAt.end()),
                             t + cue.momentWait);
        }
        // Too soon, or out of earshot (480 + 140 away): no clip, and only some cues still act.
        const PolicyRequests soon =
            hear(policy, game, t + cue.interval - 0.01, cue.sound, 120, V, cue.weapon);
        EXPECT_TRUE(soon.clips.empty());
        expectEffects(soon, cue.actsWhenSilent);
        EXPECT_EQ(hear(policy, game, t + cue.interval, cue.sound, -120, V, cue.weapon).clips.size(), 1u);
        const PolicyRequests far = hear(policy, game, t + 3 * cue.interval, cue.sound, -620, V, cue.weapon);
        EXPECT_TRUE(far.clips.empty());
        expectEffects(far, cue.actsWhenSilent);
    }
}

TEST(SoundPolicyTest, ShotsByWeaponAndJumpsInTurn) {
    const std::vector<std::string> shots{"shoot_gift",    "shoot_ip",      "shoot_water", "shoot_spinner",
                                         "shoot_hammer",  "shoot_raid",    "shoot_snack", "shoot_rgb",
                                         "shoot_receipt", "shoot_onebyone"};
    SoundPolicy policy;
    Game game = playingGame();
    // A weapon out of range counts as the nearest one.
    for (int w = -1; w <= WEAPON_COUNT; ++w) {
        EXPECT_EQ(hear(policy, game, 10 + w, Sound::Shoot, 0, 1, static_cast<Weapon>(w)).clips.at(0).clip,
                  shots[static_cast<std::size_t>(std::clamp(w, 0, WEAPON_COUNT - 1))]);
    }
    // A jump whose clip is suppressed does not take its turn.
    std::vector<std::string> jumps;
    for (const double now : {30.0, 30.05, 31.0, 32.0, 33.0}) {
        for (const ClipRequest& clip : hear(policy, game, now, Sound::FartJump).clips) {
            jumps.push_back(clip.clip);
        }
    }
    EXPECT_EQ(jumps, (std::vector<std::string>{"fart_jump_1", "fart_jump_2", "fart_jump_3", "fart_jump_1"}));
}

TEST(SoundPolicyTest, PanFollowsTheViewAndEarshotEndsPastItsEdge) {
    struct Case {
        float viewWidth, d, pan;
        bool heard;
    };
    // The pan divides by half the view but by no less than 240; earshot reaches 140 past the edge.
    const Case cases[] = {{960, 619, 0.85f, true},  {960, -619, -0.85f, true}, {960, 620, 0, false},
                          {960, -240, -0.5f, true}, {300, 60, 0.25f, true},    {300, -289, -0.85f, true},
                          {300, 290, 0, false},     {1600, 400, 0.5f, true}};
    for (const Case& c : cases) {
        SoundPolicy policy;
        Game game = playingGame();
        const PolicyRequests out =
            hear(policy, game, 5, Sound::EnemyDefeated, c.d, 1, GiftedSubs, c.viewWidth);
        ASSERT_EQ(out.clips.size(), c.heard ? 1u : 0u) << c.viewWidth << " " << c.d;
        if (c.heard) {
            EXPECT_FLOAT_EQ(out.clips[0].pan, c.pan) << c.viewWidth << " " << c.d;
        }
    }
}

TEST(SoundPolicyTest, LowHealthHurtSpeaksWithItsChance) {
    // Health, the voice's draw, and whether the line is spoken.
    for (const auto& [health, draw, speaks] :
         {std::tuple{36, 0.0, false}, {35, 0.28, true}, {35, 0.29, false}}) {
        SoundPolicy policy;
        policy.voiceRng = seedFor(draw);
        Game game = playingGame();
        game.player.health = health;
        const PolicyRequests out = hear(policy, game, 100, Sound::Hurt);
        ASSERT_EQ(out.clips.size(), speaks ? 2u : 1u) << health << " " << draw;
        if (speaks) {
            expectLine(out, "grumbo_shots_fired");
            EXPECT_DOUBLE_EQ(policy.momentReadyAt[static_cast<std::size_t>(VoiceMoment::Hurt)], 128.0);
        }
    }
}

TEST(SoundPolicyTest, VoiceGates) {
    struct Case {
        bool voiceClips, muted;
        const char* group;
        double quietUntil, momentReady, chance, draw;
        bool speaks;
    };
    // Each gate on its own, at its boundary, at t = 100.
    const Case cases[] = {
        {true, false, "death", 100, 100, 0.5f, 0.5, true},
        {false, false, "death", 0, 0, 1, 0, false},
        {true, true, "death", 0, 0, 1, 0, false},
        {true, false, "no_such_group", 0, 0, 1, 0, false},
        {true, false, "death", 100.01, 0, 1, 0, false},
        {true, false, "death", 0, 100.01, 1, 0, false},
        {true, false, "death", 0, 0, 0, 0, false},
        {true, false, "death", 0, 0, -1, 0, false},
        {true, false, "death", 0, 0, 0.5f, 0.5 + 1.0 / (1 << 24), false},
        {true, false, "death", 0, 0, 2, 0.99, true},
    };
    for (const Case& c : cases) {
        SoundPolicy policy;
        policy.voiceQuietUntil = c.quietUntil;
        policy.momentReadyAt[static_cast<std::size_t>(VoiceMoment::Death)] = c.momentReady;
        policy.voiceRng = seedFor(c.draw);
        const PolicyRequests out =
            speak(policy, c.group, VoiceMoment::Death, c.chance, at(100, 960, c.voiceClips, c.muted));
        EXPECT_EQ(out.clips.size(), c.speaks ? 1u : 0u)
            << c.group << " " << c.quietUntil << " " << c.momentReady << " " << c.chance << " " << c.draw;
    }
}

TEST(SoundPolicyTest, ASpokenLineSetsTheQuietSpellAndItsMomentsWait) {
    SoundPolicy policy;
    // Nothing before the opening quiet spell ends, though the rotation moves on.
    EXPECT_TRUE(speak(policy, "death", VoiceMoment::Death, 1, at(6.99)).clips.empty());
    const std::uint32_t state = policy.voiceRng;
    const PolicyRequests out = speak(policy, "death", VoiceMoment::Death, 1, at(7), 0.9f);
    ASSERT_EQ(out.clips.size(), 1u);
    EXPECT_EQ(out.clips[0].clip, "grumbo_im_done");
    EXPECT_FLOAT_EQ(out.clips[0].volume, 0.84f);
    EXPECT_FLOAT_EQ(out.clips[0].pan, 0.5f);
    EXPECT_DOUBLE_EQ(policy.voiceQuietUntil, 7 + 14 + 6 * static_cast<double>(secondDraw(state)));
    EXPECT_DOUBLE_EQ(policy.momentReadyAt[static_cast<std::size_t>(VoiceMoment::Death)], 47.0);
    EXPECT_EQ(speak(policy, "death", VoiceMoment::Death, 1, at(100), -3).clips.at(0).pan, -0.5f);

    const PolicyRequests boss = speak(policy, "boss", VoiceMoment::BossEncounter, 1, at(130));
    ASSERT_EQ(boss.clips.size(), 1u);
    EXPECT_DOUBLE_EQ(policy.momentReadyAt[static_cast<std::size_t>(VoiceMoment::BossEncounter)], 158.0);

    // A new level keeps the persona quiet for 7 s, but never shortens a longer spell.
    policy.voiceQuietUntil = 0;
    policy.resetLevel(200);
    EXPECT_DOUBLE_EQ(policy.voiceQuietUntil, 207.0);
    policy.resetLevel(150);
    EXPECT_DOUBLE_EQ(policy.voiceQuietUntil, 207.0);
}

TEST(SoundPolicyTest, ClipsNeverRepeatWithinTwoMinutesOrAmongTheLastFour) {
    SoundPolicy policy;
    policy.voiceRecent = {"grumbo_didnt_do_nothing", "grumbo_please_dont_kill", "grumbo_ew", "grumbo_help"};
    policy.voiceLastPlayed["grumbo_shots_fired"] = 10;
    EXPECT_TRUE(speak(policy, "hurt", VoiceMoment::Hurt, 1, at(129.99)).clips.empty());
    EXPECT_EQ(policy.voiceCursor["hurt"], 0u);
    EXPECT_EQ(speak(policy, "hurt", VoiceMoment::Hurt, 1, at(130)).clips.at(0).clip, "grumbo_shots_fired");
    EXPECT_EQ(policy.voiceRecent, (std::deque<std::string>{"grumbo_please_dont_kill", "grumbo_ew",
                                                           "grumbo_help", "grumbo_shots_fired"}));

    // The rotation walks the group in turn, skipping a clip heard lately.
    policy.voiceLastPlayed["grumbo_well_ill_be"] = 190;
    std::vector<std::string> spoken;
    for (int i = 0; i < 7; ++i) {
        const PolicyRequests out = speak(policy, "rare_weapon", VoiceMoment::RareWeapon, 1, at(200 + 30 * i));
        spoken.push_back(out.clips.empty() ? "" : out.clips[0].clip);
    }
    const std::vector<std::string> expected{
        "grumbo_knuckle_sandwich", "grumbo_watch_this", "grumbo_one_by_one",      "grumbo_food",
        "grumbo_what_is_this",     "grumbo_lets_go",    "grumbo_knuckle_sandwich"};
    EXPECT_EQ(spoken, expected);
}

// Two enemies of a kind side by side near the player.
struct Threat {
    EnemyKind first, second;
    int tier;
    float offset;
    bool alive, chase;
};

TEST(SoundPolicyTest, ThreatScoreAboveThreeStartsTheChaseMusic) {
    using K = EnemyKind;
    // Caretaker 3; Turret, Mimic and Armored 2; any other kind 2 from tier 2, else 0; never bosses.
    const Threat threats[] = {
        {K::Caretaker, K::Zombie, 1, 0, true, false},  {K::Turret, K::Turret, 0, 0, true, true},
        {K::Mimic, K::Mimic, 0, 0, true, true},        {K::Armored, K::Armored, 0, 330, true, true},
        {K::Armored, K::Armored, 0, -330, true, true}, {K::Armored, K::Armored, 0, 331, true, false},
        {K::Armored, K::Armored, 0, 0, false, false},  {K::Zombie, K::Cart, 2, 0, true, true},
        {K::Zombie, K::Zombie, 1, 0, true, false},     {K::Boss, K::Boss, 3, 0, true, false},
    };
    for (const Threat& threat : threats) {
        SoundPolicy policy;
        Game game = playingGame();
        for (const EnemyKind kind : {threat.first, threat.second}) {
            Enemy enemy;
            enemy.kind = kind;
            enemy.tier = threat.tier;
            enemy.alive = threat.alive;
            enemy.pos = {game.player.pos.x + threat.offset, 400};
            game.level.enemies.push_back(enemy);
        }
        game.level.bossArenaX = 99999;
        const PolicyRequests out = watch(policy, game, 10);
        EXPECT_EQ(out.battleChase, threat.chase)
            << static_cast<int>(threat.first) << " " << threat.tier << " " << threat.offset;
        EXPECT_EQ(out.battleMusicChanged, threat.chase);
    }
}

TEST(SoundPolicyTest, ChaseMusicLastsTwelveSecondsAndTheTitleStopsIt) {
    SoundPolicy policy;
    Game game = playingGame();
    Enemy caretaker;
    caretaker.kind = EnemyKind::Caretaker;
    caretaker.pos = game.player.pos;
    game.level.enemies = {caretaker, caretaker};
    EXPECT_TRUE(watch(policy, game, 10).battleChase);
    // Once the danger is gone it runs down, paused or not.
    game.level.enemies.clear();
    game.state = Paused;
    policy.tick(11.9f);
    EXPECT_FALSE(watch(policy, game, 22).battleMusicChanged);
    policy.tick(0.2f);
    EXPECT_FLOAT_EQ(policy.chaseMusicTimer, 0.0f);
    const PolicyRequests over = watch(policy, game, 23);
    EXPECT_TRUE(over.battleMusicChanged && !over.battleChase);

    // The title screen turns all battle music off.
    policy.chaseMusicTimer = 5;
    policy.battleBoss = true;
    game.state = Title;
    const PolicyRequests title = watch(policy, game, 50);
    EXPECT_TRUE(title.battleMusicChanged && !title.battleBoss && !title.battleChase);
}

TEST(SoundPolicyTest, ChaptersSetTheThemeAndAreAnnouncedOncePerLevel) {
    struct Entry {
        int theme;
        const char *toast, *voice;
        double luck = 0.85;
    };
    // The line comes with chance 0.85.
    const Entry entries[] = {{0, "CHECKOUT CHAOS", "grumbo_health_department"},
                             {1, "SPOOKY-TIME CHASE", "grumbo_granny"},
                             {2, "BUNKER SUPPLY RUN", "grumbo_open_door"},
                             {3, "CARD-SHOP AFTER DARK", "grumbo_new_king"},
                             {3, "CARD-SHOP AFTER DARK", "", 0.86}};
    for (const Entry& entry : entries) {
        SoundPolicy policy;
        policy.voiceRng = seedFor(entry.luck);
        Game game = playingGame();
        // The chapter holds both its ends; the first one in the list wins.
        Chapter chapter;
        chapter.theme = entry.theme;
        chapter.startX = entry.theme % 2 == 0 ? 1000 : 400;
        chapter.endX = entry.theme % 2 == 0 ? 1500 : 1000;
        Chapter later = chapter;
        later.theme = (entry.theme + 1) % 4;
        game.level.chapters = {chapter, later};
        const PolicyRequests first = watch(policy, game, 30);
        EXPECT_TRUE(first.battleMusicChanged);
        EXPECT_EQ(first.battleTheme, entry.theme + 1);
        EXPECT_EQ(first.toasts, std::vector<std::string>{entry.toast});
        if (*entry.voice) {
            expectLine(first, entry.voice);
            EXPECT_DOUBLE_EQ(policy.momentReadyAt[static_cast<std::size_t>(VoiceMoment::ChapterEntry)], 58.0);
        } else {
            EXPECT_TRUE(first.clips.empty());
        }

        game.player.pos.x = 1200;
        const PolicyRequests again = watch(policy, game, 90);
        EXPECT_TRUE(again.toasts.empty() && again.clips.empty());
        EXPECT_EQ(again.battleMusicChanged, entry.theme % 2 == 1);
    }
}

TEST(SoundPolicyTest, BossFightAndBossDownAreAnnouncedOncePerLevel) {
    SoundPolicy policy;
    Game game = playingGame();
    Enemy boss;
    boss.kind = EnemyKind::Boss;
    boss.pos = {game.level.bossArenaX + 400, 300};
    game.level.enemies = {boss};
    game.player.pos.x = game.level.bossArenaX;
    // Paused in the arena: the boss music starts, the announcement waits for play.
    game.state = Paused;
    const PolicyRequests paused = watch(policy, game, 30);
    EXPECT_TRUE(paused.battleBoss);
    EXPECT_TRUE(paused.clips.empty());
    game.state = Playing;
    // The boss line comes with chance 0.85, once per level.
    SoundPolicy unlucky;
    unlucky.voiceRng = seedFor(0.86);
    EXPECT_TRUE(watch(unlucky, game, 31).clips.empty());
    policy.voiceRng = seedFor(0.85);
    const PolicyRequests fight = watch(policy, game, 31);
    EXPECT_FALSE(fight.battleMusicChanged);
    expectLine(fight, "grumbo_got_runner");
    policy.voiceRng = seedFor(0);
    EXPECT_TRUE(watch(policy, game, 90).clips.empty());

    game.exitOpen = true;
    const PolicyRequests down = watch(policy, game, 120);
    EXPECT_TRUE(down.battleMusicChanged);
    EXPECT_FALSE(down.battleBoss);
    EXPECT_EQ(down.toasts, std::vector<std::string>{"BOSS DOWN - BROADCAST GATE OPEN"});
    expectLine(down, "grumbo_got_kill");
    const PolicyRequests later = watch(policy, game, 200);
    EXPECT_TRUE(later.toasts.empty() && later.clips.empty());

    // A respawn allows it again, after a quiet spell for the voice.
    policy.chaseMusicTimer = 5;
    policy.resetLevel(300);
    EXPECT_EQ(policy.chaseMusicTimer, 0.0f);
    EXPECT_FALSE(policy.battleBoss || policy.battleChase || policy.battleTheme != 0);
    EXPECT_FALSE(policy.bossAnnounced || policy.bossDefeatAnnounced || policy.chapterAnnounced);
    const PolicyRequests respawned = watch(policy, game, 301);
    EXPECT_EQ(respawned.toasts.size(), 1u);
    EXPECT_TRUE(respawned.clips.empty());
}

} // namespace
} // namespace grumbo
