#include "app/save_schema.h"
#include "flow_test_support.h"
#include "platform/user_paths.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace grumbo {
namespace {

using test::TempFolder;

Game startedGame(int world) {
    Game game;
    game.start(world);
    return game;
}

std::wstring journeyText(const Game& game) {
    Progress progress;
    Settings settings;
    return saveSnapshotText(L"", game, progress, settings);
}

// Continues a saved world the way the title menu does: a freshly started
// world, then the saved detail on top.
Game continued(int world, const std::wstring& saved) {
    Game game = startedGame(world);
    IniSnapshot snapshot;
    snapshot.parse(saved);
    restoreJourney(game, snapshot);
    return game;
}

TEST(SaveSchemaTest, FirstJourneySaveHasExactKeysOrderAndLineEnds) {
    Game game = startedGame(0);
    game.subscribers = 12;
    Progress progress;
    Settings settings;
    const std::wstring text = saveSnapshotText(L"", game, progress, settings);
    std::wstring collected(game.level.pickups.size(), L'0');
    std::wstring defeated(game.level.enemies.size(), L'0');
    const std::wstring expected =
        L"[Journey]\r\nLevel=0\r\nSubscribers=12\r\nCompletion=0\r\nCheckpoint=-1\r\n"
        L"Weapons=1\r\nEquipped=0\r\nMaxHealth=100\r\nCollected=" +
        collected + L"\r\nDefeated=" + defeated +
        L"\r\nCampaignVersion=4\r\nHighestLevel=0\r\n\r\n"
        L"[Settings]\r\nVoiceClips=1\r\nMusic=28\r\nEffects=85\r\nMuted=0\r\nShake=1\r\n"
        L"AutoFullscreen=0\r\nIPJokes=1\r\nResolution=0\r\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(progress.savedLevel, 0);
    EXPECT_EQ(progress.savedSubscribers, 12);
}

TEST(SaveSchemaTest, SettingChangeOnTitleWithoutJourneyWritesNoLevel) {
    Game game; // never started: the title screen
    Progress progress;
    progress.highestLevel = 3;
    Settings settings;
    settings.musicVolume = 0.42f; // reached from 0.28 by one step
    const std::wstring text = saveSnapshotText(L"", game, progress, settings);
    EXPECT_EQ(text.find(L"Level="), text.find(L"HighestLevel=") + 7);
    EXPECT_EQ(text.find(L"Completion"), std::wstring::npos);
    EXPECT_NE(text.find(L"HighestLevel=3\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Music=42\r\n"), std::wstring::npos);
}

// Captions and the HUD timer are off until chosen, and written only once they
// were, so an older player's file stays as it was; a timer out of range is clamped.
TEST(SaveSchemaTest, CaptionsAndTimerAreOffUntilChosenAndWrittenOnlyOnceTheyWere) {
    Progress progress;
    Settings settings;
    loadSaveText(L"[Settings]\r\nMusic=40\r\n", progress, settings);
    EXPECT_FALSE(settings.captions);
    EXPECT_EQ(settings.timer, 0);
    Game title;
    std::wstring text = saveSnapshotText(L"", title, progress, settings);
    EXPECT_EQ(text.find(L"Captions"), std::wstring::npos);
    EXPECT_EQ(text.find(L"Timer"), std::wstring::npos);
    settings.captions = true;
    settings.timer = 2;
    text = saveSnapshotText(text, title, progress, settings);
    EXPECT_NE(text.find(L"Captions=1\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Timer=2\r\n"), std::wstring::npos);
    Settings reloaded;
    loadSaveText(text, progress, reloaded);
    EXPECT_TRUE(reloaded.captions);
    EXPECT_EQ(reloaded.timer, 2);
    settings.captions = false;
    settings.timer = 0;
    text = saveSnapshotText(text, title, progress, settings);
    EXPECT_NE(text.find(L"Captions=0\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Timer=0\r\n"), std::wstring::npos);
    loadSaveText(L"[Settings]\r\nTimer=7\r\n", progress, reloaded);
    EXPECT_EQ(reloaded.timer, 2);
}

TEST(SaveSchemaTest, UnknownKeysAndSectionsSurviveASave) {
    const std::wstring stored = L"[Journey]\r\nLevel=2\r\nFutureKey=keep me\r\n[Mods]\r\nColour=teal\r\n";
    Game game = startedGame(1);
    Progress progress;
    Settings settings;
    const std::wstring text = saveSnapshotText(stored, game, progress, settings);
    IniSnapshot snapshot;
    snapshot.parse(text);
    EXPECT_EQ(snapshot.get(L"Journey", L"FutureKey", L""), L"keep me");
    EXPECT_EQ(snapshot.get(L"Mods", L"Colour", L""), L"teal");
    EXPECT_EQ(snapshot.integer(L"Journey", L"Level", -1), 1);
    // The stored key keeps its place: Level stays first.
    EXPECT_EQ(text.find(L"[Journey]\r\nLevel=1\r\nFutureKey"), 0u);
}

TEST(SaveSchemaTest, ContinueRestoresTheSavedJourney) {
    Game game = startedGame(3);
    ASSERT_GE(game.level.checkpoints.size(), 2u);
    ASSERT_GE(game.level.pickups.size(), 3u);
    ASSERT_GE(game.level.enemies.size(), 3u);
    game.subscribers = 4321;
    game.checkpoint = 1;
    for (std::size_t weapon : {4, 7, 8, 9}) {
        game.player.ownedWeapons[weapon] = true;
    }
    game.player.weapon = OneByOne;
    game.player.maxHealth = 115;
    game.level.pickups[0].collected = true;
    game.level.pickups[2].collected = true;
    game.level.enemies[1].alive = false;
    const std::wstring saved = journeyText(game);
    EXPECT_NE(saved.find(L"\r\nWeapons=913\r\nEquipped=9\r\n"), std::wstring::npos);

    Game restored = continued(3, saved);
    const Checkpoint& cp = restored.level.checkpoints[1];
    EXPECT_EQ(restored.checkpoint, 1);
    EXPECT_FLOAT_EQ(restored.player.pos.x, cp.pos.x);
    EXPECT_FLOAT_EQ(restored.player.pos.y, GROUND_Y - restored.player.size.y);
    EXPECT_FLOAT_EQ(restored.player.invulnerable, 2.0f);
    EXPECT_TRUE(restored.level.checkpoints[0].reached);
    EXPECT_TRUE(restored.level.checkpoints[1].reached);
    for (std::size_t i = 2; i < restored.level.checkpoints.size(); ++i) {
        EXPECT_FALSE(restored.level.checkpoints[i].reached);
    }
    for (std::size_t weapon = 0; weapon < WEAPON_COUNT; ++weapon) {
        EXPECT_EQ(restored.player.ownedWeapons[weapon], weapon == 0 || weapon == 4 || weapon >= 7) << weapon;
    }
    EXPECT_EQ(restored.player.weapon, OneByOne);
    EXPECT_EQ(restored.player.maxHealth, 115);
    EXPECT_EQ(restored.player.health, 115);
    EXPECT_TRUE(restored.level.pickups[0].collected);
    EXPECT_FALSE(restored.level.pickups[1].collected);
    EXPECT_TRUE(restored.level.pickups[2].collected);
    EXPECT_FALSE(restored.level.enemies[1].alive);
    EXPECT_EQ(restored.level.enemies[1].hp, 0);
    EXPECT_TRUE(restored.level.enemies[0].alive);
    EXPECT_EQ(restored.state, Playing);
    EXPECT_FALSE(restored.exitOpen);
}

TEST(SaveSchemaTest, CompletionDecidesHowTheWorldOpens) {
    Game finished = startedGame(4);
    finished.state = WorldComplete;
    Game world4 = continued(4, journeyText(finished));
    EXPECT_EQ(world4.state, WorldComplete);
    EXPECT_TRUE(world4.exitOpen);
    for (const Enemy& enemy : world4.level.enemies) {
        if (enemy.kind == EnemyKind::Boss) {
            EXPECT_FALSE(enemy.alive);
            EXPECT_EQ(enemy.hp, 0);
        }
    }
    // The journey's end only counts on the last world.
    EXPECT_EQ(continued(4, L"[Journey]\nCompletion=2\n").state, WorldComplete);
    Game journeyDone = startedGame(9);
    journeyDone.state = Finale;
    EXPECT_EQ(continued(9, journeyText(journeyDone)).state, Finale);
    // A beaten boss alone opens the gate in a world still in play.
    Game bossDown = startedGame(2);
    for (Enemy& enemy : bossDown.level.enemies) {
        enemy.alive = enemy.kind != EnemyKind::Boss;
    }
    Game resumed = continued(2, journeyText(bossDown));
    EXPECT_EQ(resumed.state, Playing);
    EXPECT_TRUE(resumed.exitOpen);
}

TEST(SaveSchemaTest, OutOfRangeAndOldValuesAreClampedOrIgnored) {
    Game low = continued(1, L"[Journey]\nMaxHealth=90\nCheckpoint=-5\nWeapons=0\n");
    EXPECT_EQ(low.player.maxHealth, 100);
    EXPECT_EQ(low.checkpoint, -1);
    EXPECT_TRUE(low.player.ownedWeapons[0]);
    EXPECT_EQ(low.player.pos.x, low.level.spawn.x);

    Game high = continued(1, L"[Journey]\nMaxHealth=200\nCheckpoint=70\nWeapons=1\nEquipped=5\n");
    EXPECT_EQ(high.player.maxHealth, 125);
    EXPECT_EQ(high.checkpoint, static_cast<int>(high.level.checkpoints.size()) - 1);
    EXPECT_EQ(high.player.weapon, GiftedSubs); // weapon 5 is not owned

    Game oldLayout = continued(1, L"[Journey]\nCampaignVersion=3\nCollected=1111\nDefeated=1111\n");
    EXPECT_FALSE(oldLayout.level.pickups[0].collected);
    EXPECT_TRUE(oldLayout.level.enemies[0].alive);

    // Short strings touch only their first entries; other characters mean "not".
    Game partial = continued(1, L"[Journey]\nCampaignVersion=4\nCollected=1x1\nDefeated=01\n");
    EXPECT_TRUE(partial.level.pickups[0].collected);
    EXPECT_FALSE(partial.level.pickups[1].collected);
    EXPECT_TRUE(partial.level.pickups[2].collected);
    EXPECT_TRUE(partial.level.enemies[0].alive);
    EXPECT_FALSE(partial.level.enemies[1].alive);
}

TEST(SaveSchemaTest, StartupReaderHonoursDefaultsCaseAndClamps) {
    Progress progress;
    Settings settings;
    loadSaveText(L"", progress, settings);
    EXPECT_EQ(progress.savedLevel, -1);
    EXPECT_EQ(progress.savedSubscribers, 0);
    EXPECT_EQ(progress.highestLevel, 0);
    EXPECT_FALSE(settings.muted);
    EXPECT_TRUE(settings.voiceClips);
    EXPECT_TRUE(settings.screenShake);
    EXPECT_FLOAT_EQ(settings.musicVolume, 0.28f);
    EXPECT_FLOAT_EQ(settings.effectsVolume, 0.85f);
    EXPECT_FALSE(settings.autoFullscreen);
    EXPECT_TRUE(settings.ipJokes);
    EXPECT_EQ(settings.resolutionIndex, 0);

    loadSaveText(
        L"\uFEFF[JOURNEY]\r\nlevel=5\r\nSUBSCRIBERS=77 subs\r\n[settings]\r\nmusic=250\r\nEffects=-3\r\n"
        L"Muted=2\r\nShake=0\r\nResolution=9\r\nVoiceClips=off\r\n",
        progress, settings);
    EXPECT_EQ(progress.savedLevel, 5);
    EXPECT_EQ(progress.savedSubscribers, 77);
    EXPECT_FLOAT_EQ(settings.musicVolume, 1.0f);
    EXPECT_FLOAT_EQ(settings.effectsVolume, 1.0f);
    EXPECT_TRUE(settings.muted);
    EXPECT_FALSE(settings.screenShake);
    EXPECT_EQ(settings.resolutionIndex, 3);
    EXPECT_TRUE(settings.voiceClips); // no digits: the default

    // Music=250 comes back as 100.
    Game title;
    const std::wstring text = saveSnapshotText(L"", title, progress, settings);
    EXPECT_NE(text.find(L"Music=100\r\n"), std::wstring::npos);
}

TEST(SaveSchemaTest, EveryVolumePercentSurvivesLoadAndSave) {
    Game title;
    for (int percent = 0; percent <= 100; ++percent) {
        Progress progress;
        Settings settings;
        loadSaveText(L"[Settings]\nMusic=" + std::to_wstring(percent) + L"\nEffects=" +
                         std::to_wstring(percent),
                     progress, settings);
        IniSnapshot saved;
        saved.parse(saveSnapshotText(L"", title, progress, settings));
        EXPECT_EQ(saved.integer(L"Settings", L"Music", -1), percent);
        EXPECT_EQ(saved.integer(L"Settings", L"Effects", -1), percent);
    }
}

TEST(SaveSchemaTest, ACorruptFileStartsFromTheDefaults) {
    TempFolder folder;
    const auto corrupt = folder.path / "corrupt.ini";
    // A UTF-8 mark followed by bytes that are not UTF-8.
    test::writeBytes(corrupt, {0xEF, 0xBB, 0xBF, '[', 0xFF, 0xFE, 0xC0, ']'});
    Progress progress;
    progress.savedLevel = 4;
    Settings settings;
    loadSaveFile(corrupt.wstring(), progress, settings);
    EXPECT_EQ(progress.savedLevel, -1);
    EXPECT_FLOAT_EQ(settings.musicVolume, 0.28f);
}

TEST(SaveSchemaTest, DataFolderFollowsXdgDataHome) {
    const auto kept = [](const char* name) {
        return std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt;
    };
    const std::optional<std::string> data = kept("XDG_DATA_HOME"), home = kept("HOME");
    setenv("XDG_DATA_HOME", "/tmp/grumbo data/", 1);
    EXPECT_EQ(userDataFolder(), L"/tmp/grumbo data");
    // A relative value is not a valid XDG folder.
    setenv("XDG_DATA_HOME", "relative/share", 1);
    setenv("HOME", "/home/streamer", 1);
    EXPECT_EQ(userDataFolder(), L"/home/streamer/.local/share");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(userDataFolder(), L"/home/streamer/.local/share");
    for (const auto& [name, value] : {std::pair{"XDG_DATA_HOME", data}, std::pair{"HOME", home}}) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
}

} // namespace
} // namespace grumbo
