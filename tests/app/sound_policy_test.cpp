#include "app/sound_policy.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace grumbo {
namespace {

// A game in play with the player at x = 1000 (centre 1021) and no enemies.
Game playingGame() {
    Game game;
    game.start(0);
    game.level.enemies.clear();
    game.level.chapters.clear();
    game.player.pos = {1000, 406};
    game.exitOpen = false;
    return game;
}

PolicyContext at(double now) {
    PolicyContext context;
    context.now = now;
    return context;
}

void queue(Game& game, Sound sound, float x, float volume = 1, Weapon weapon = GiftedSubs) {
    game.sounds.push_back({sound, volume, x, weapon});
}

PolicyRequests drain(SoundPolicy& policy, Game& game, double now) {
    PolicyRequests out;
    policy.soundEvents(game, at(now), out);
    game.sounds.clear();
    return out;
}

bool isVoice(const ClipRequest& clip) {
    return clip.clip.rfind("grumbo_", 0) == 0;
}

int voiceCount(const PolicyRequests& out) {
    return static_cast<int>(std::count_if(out.clips.begin(), out.clips.end(), isVoice));
}

TEST(SoundPolicyTest, IntervalsSilenceRepeatsButNotTheEvents) {
    SoundPolicy policy;
    Game game = playingGame();
    queue(game, Sound::Shoot, 1021, 1, WaterSlides);
    auto first = drain(policy, game, 10.0);
    ASSERT_EQ(first.clips.size(), 1u);
    EXPECT_EQ(first.clips[0].clip, "shoot_water");
    EXPECT_FLOAT_EQ(first.clips[0].volume, 0.48f);
    EXPECT_FLOAT_EQ(first.clips[0].pan, 0.0f);

    queue(game, Sound::Shoot, 1021);
    EXPECT_TRUE(drain(policy, game, 10.1).clips.empty());
    queue(game, Sound::Shoot, 1021);
    EXPECT_EQ(drain(policy, game, 10.2).clips.size(), 1u);

    // A checkpoint too soon after the last still saves and shows its toast.
    queue(game, Sound::Checkpoint, 1021);
    EXPECT_EQ(drain(policy, game, 20.0).clips.size(), 1u);
    queue(game, Sound::Checkpoint, 1021);
    auto repeat = drain(policy, game, 20.05);
    EXPECT_TRUE(repeat.clips.empty());
    EXPECT_TRUE(repeat.saveProgress);
    ASSERT_EQ(repeat.toasts.size(), 1u);
    EXPECT_EQ(repeat.toasts[0], "CHECKPOINT SAVED");

    // The jump rumble survives a suppressed clip; the counter moves only with a clip.
    queue(game, Sound::FartJump, 1021);
    queue(game, Sound::FartJump, 1021);
    auto jumps = drain(policy, game, 30.0);
    ASSERT_EQ(jumps.clips.size(), 1u);
    EXPECT_EQ(jumps.clips[0].clip, "fart_jump_1");
    EXPECT_EQ(jumps.rumbles.size(), 2u);
    queue(game, Sound::FartJump, 1021);
    EXPECT_EQ(drain(policy, game, 31.0).clips[0].clip, "fart_jump_2");
}

TEST(SoundPolicyTest, EarshotAndPan) {
    SoundPolicy policy;
    Game game = playingGame();
    // 1500 units away in a 960-wide view: nothing at all.
    queue(game, Sound::EnemyDefeated, 1021 + 1500);
    auto far = drain(policy, game, 5.0);
    EXPECT_TRUE(far.clips.empty());
    EXPECT_TRUE(far.rumbles.empty());
    EXPECT_FALSE(far.shake);

    // Just inside earshot (480 + 140), panned hard right but clamped.
    queue(game, Sound::EnemyDefeated, 1021 + 619);
    auto near = drain(policy, game, 6.0);
    ASSERT_EQ(near.clips.size(), 1u);
    EXPECT_FLOAT_EQ(near.clips[0].pan, 0.85f);
    EXPECT_FLOAT_EQ(near.clips[0].volume, 0.55f);

    queue(game, Sound::Pickup, 1021 - 240, 0.5f);
    auto left = drain(policy, game, 7.0);
    ASSERT_EQ(left.clips.size(), 1u);
    EXPECT_FLOAT_EQ(left.clips[0].pan, -0.5f);
    EXPECT_FLOAT_EQ(left.clips[0].volume, 0.3f);

    // Victory always plays centred.
    queue(game, Sound::WorldComplete, 1021 + 300);
    auto victory = drain(policy, game, 8.0);
    ASSERT_FALSE(victory.clips.empty());
    EXPECT_EQ(victory.clips[0].clip, "victory");
    EXPECT_FLOAT_EQ(victory.clips[0].pan, 0.0f);
    EXPECT_TRUE(victory.saveProgress);
}

TEST(SoundPolicyTest, HurtShakesRumblesAndSpeaksOnlyWhenLow) {
    SoundPolicy policy;
    Game game = playingGame();
    game.player.health = 80;
    for (int i = 0; i < 50; ++i) {
        queue(game, Sound::Hurt, 1021);
        auto out = drain(policy, game, 100.0 + i);
        EXPECT_EQ(out.clips.size(), 1u);
        EXPECT_EQ(out.clips[0].clip, "hurt");
        EXPECT_TRUE(out.shake);
        ASSERT_EQ(out.rumbles.size(), 1u);
        EXPECT_FLOAT_EQ(out.rumbles[0].strength, 0.6f);
    }
    // Low health: lines come with some probability, never more often than the gates allow.
    game.player.health = 30;
    int voices = 0;
    for (int i = 0; i < 400; ++i) {
        queue(game, Sound::Hurt, 1021);
        voices += voiceCount(drain(policy, game, 200.0 + i));
    }
    EXPECT_GT(voices, 0);
    EXPECT_LE(voices, 400 / 28 + 1);

    // A rocket blast is its own sound and does nothing else.
    queue(game, Sound::Hurt, 1021, 1, RaidRocket);
    auto blast = drain(policy, game, 1000.0);
    ASSERT_EQ(blast.clips.size(), 1u);
    EXPECT_EQ(blast.clips[0].clip, "shoot_raid");
    EXPECT_FALSE(blast.shake);
    EXPECT_TRUE(blast.rumbles.empty());
}

TEST(SoundPolicyTest, VoiceGatesQuietPeriodsAndRepeats) {
    SoundPolicy policy;
    PolicyRequests out;
    // Nothing before the opening quiet period ends.
    EXPECT_FALSE(policy.reaction("death", VoiceMoment::Death, 1, 0, at(3.0), out));
    EXPECT_TRUE(policy.reaction("death", VoiceMoment::Death, 1, 0.9f, at(8.0), out));
    ASSERT_EQ(out.clips.size(), 1u);
    EXPECT_EQ(out.clips[0].clip, "grumbo_im_done"); // the cursor moved past the first try
    EXPECT_FLOAT_EQ(out.clips[0].volume, 0.84f);
    EXPECT_FLOAT_EQ(out.clips[0].pan, 0.5f);
    EXPECT_GE(policy.voiceQuietUntil, 8.0 + 14);
    EXPECT_LE(policy.voiceQuietUntil, 8.0 + 20);

    // Any two lines at least 14 s apart; deaths at least 40 s apart.
    EXPECT_FALSE(policy.reaction("victory", VoiceMoment::WorldComplete, 1, 0, at(21.9), out));
    EXPECT_FALSE(policy.reaction("death", VoiceMoment::Death, 1, 0, at(47.9), out));
    EXPECT_TRUE(policy.reaction("death", VoiceMoment::Death, 1, 0, at(48.0), out));

    // Muted or switched off: silence, and the rotation does not move.
    PolicyContext muted = at(500);
    muted.muted = true;
    const unsigned cursor = policy.voiceCursor["death"];
    EXPECT_FALSE(policy.reaction("death", VoiceMoment::Death, 1, 0, muted, out));
    EXPECT_EQ(policy.voiceCursor["death"], cursor);
    EXPECT_FALSE(policy.reaction("no_such_group", VoiceMoment::Death, 1, 0, at(500), out));
    EXPECT_FALSE(policy.reaction("death", VoiceMoment::Death, 0, 0, at(500), out));
}

TEST(SoundPolicyTest, ClipsNeverRepeatWithinTwoMinutesOrAmongTheLastFour) {
    SoundPolicy policy;
    PolicyRequests out;
    // "theme_grocery" has three clips; play all three, spaced past every gate.
    double now = 10;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(policy.reaction("theme_grocery", VoiceMoment::ChapterEntry, 1, 0, at(now), out));
        now += 30;
    }
    const unsigned cursor = policy.voiceCursor["theme_grocery"];
    EXPECT_FALSE(policy.reaction("theme_grocery", VoiceMoment::ChapterEntry, 1, 0, at(now), out));
    EXPECT_EQ(policy.voiceCursor["theme_grocery"], cursor);

    // The rotation skips clips heard lately in any group: "grumbo_well_ill_be"
    // is still among the last four when its turn comes, "grumbo_food" is not.
    std::vector<std::string> spoken;
    for (int i = 0; i < 6; ++i) {
        now += 30;
        ASSERT_TRUE(policy.reaction("rare_weapon", VoiceMoment::RareWeapon, 1, 0, at(now), out));
        spoken.push_back(out.clips.back().clip);
    }
    const std::vector<std::string> expected{"grumbo_knuckle_sandwich", "grumbo_watch_this",
                                            "grumbo_one_by_one",       "grumbo_food",
                                            "grumbo_what_is_this",     "grumbo_lets_go"};
    EXPECT_EQ(spoken, expected);
    EXPECT_LE(policy.voiceRecent.size(), VOICE_RECENT_LIMIT);
}

TEST(SoundPolicyTest, ChaseMusicFollowsDangerAndLastsTwelveSeconds) {
    SoundPolicy policy;
    Game game = playingGame();
    Enemy armored;
    armored.kind = EnemyKind::Armored;
    for (int i = 0; i < 3; ++i) {
        armored.pos = {1100.0f + 50 * static_cast<float>(i), 400};
        game.level.enemies.push_back(armored);
    }
    PolicyRequests out;
    policy.encounterReactions(game, at(10), out);
    EXPECT_TRUE(out.battleMusicChanged);
    EXPECT_TRUE(out.battleChase);
    EXPECT_FALSE(out.battleBoss);

    for (Enemy& enemy : game.level.enemies) {
        enemy.alive = false;
    }
    policy.tick(11.9f);
    PolicyRequests still;
    policy.encounterReactions(game, at(22), still);
    EXPECT_FALSE(still.battleMusicChanged);
    policy.tick(0.2f);
    PolicyRequests over;
    policy.encounterReactions(game, at(23), over);
    EXPECT_TRUE(over.battleMusicChanged);
    EXPECT_FALSE(over.battleChase);

    // One armored enemy (score 2) is no danger.
    game.level.enemies.resize(1);
    game.level.enemies[0].alive = true;
    PolicyRequests one;
    policy.encounterReactions(game, at(40), one);
    EXPECT_FALSE(one.battleMusicChanged);

    // The title screen turns all battle music off.
    policy.chaseMusicTimer = 5;
    policy.battleChase = true;
    game.state = Title;
    PolicyRequests title;
    policy.encounterReactions(game, at(50), title);
    EXPECT_TRUE(title.battleMusicChanged);
    EXPECT_FALSE(title.battleChase);
}

TEST(SoundPolicyTest, BossDownAndChapterAnnouncedOncePerLevel) {
    SoundPolicy policy;
    Game game = playingGame();
    Chapter chapter;
    chapter.startX = 900;
    chapter.endX = 1500;
    chapter.theme = 2;
    game.level.chapters.push_back(chapter);
    game.exitOpen = true;

    PolicyRequests first;
    policy.encounterReactions(game, at(30), first);
    EXPECT_EQ(first.battleTheme, 3);
    ASSERT_EQ(first.toasts.size(), 2u);
    EXPECT_EQ(first.toasts[0], "BOSS DOWN - BROADCAST GATE OPEN");
    EXPECT_EQ(first.toasts[1], "BUNKER SUPPLY RUN");

    PolicyRequests again;
    policy.encounterReactions(game, at(90), again);
    EXPECT_TRUE(again.toasts.empty());
    EXPECT_EQ(voiceCount(again), 0);

    // A respawn allows them again, after a quiet spell for the voice.
    policy.resetLevel(100);
    EXPECT_FALSE(policy.bossDefeatAnnounced);
    EXPECT_GE(policy.voiceQuietUntil, 107.0);
    PolicyRequests respawned;
    policy.encounterReactions(game, at(101), respawned);
    EXPECT_EQ(respawned.toasts.size(), 2u);
    EXPECT_EQ(voiceCount(respawned), 0);
    EXPECT_TRUE(respawned.battleMusicChanged);
}

} // namespace
} // namespace grumbo
