// A whole session as a player would have it, driven through scripted keys on
// the headless backend: the title, a new journey, a checkpoint, the pause
// menu, back to the title, continue, settings, and quitting, with the save
// file checked along the way.
#include "../audio/temp_folder.h"
#include "../audio/wav_builder.h"
#include "app/hud_layout.h"
#include "app/player_options.h"
#include "app/voice_lines.h"
#include "headless_app.h"
#include "save/ini_snapshot.h"
#include "save/save_text.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

namespace fs = std::filesystem;

class Session : public test::HeadlessAppTest {
  protected:
    // Each key pressed for a frame and let go for a frame, in turn.
    void press(std::initializer_list<Key> keys) {
        for (const Key key : keys) {
            script->setKey(key, true);
            runFrames(1);
            script->setKey(key, false);
            runFrames(1);
        }
    }

    // A fresh start over a save file holding `text`; its bytes.
    std::vector<std::uint8_t> bootWithSave(const std::wstring& text) {
        app.reset();
        const std::vector<std::uint8_t> bytes = encodeSaveText(text);
        test::writeBytes(savePath, bytes);
        boot();
        return bytes;
    }

    // The file on disk once the writer has caught up.
    IniSnapshot saved() {
        app->saver.flush();
        const std::vector<std::uint8_t> bytes = test::readBytes(savePath);
        std::wstring text;
        EXPECT_EQ(decodeSaveText(bytes.data(), bytes.size(), text), 0u);
        IniSnapshot snapshot;
        snapshot.parse(text);
        return snapshot;
    }
};

TEST_F(Session, TitleNewJourneyCheckpointPauseContinueSettingsQuit) {
    // A first start opens on the title with nothing to continue.
    runFrames(2);
    EXPECT_EQ(app->game.state, Title);
    EXPECT_EQ(app->progress.savedLevel, -1);
    press({Key::Enter}); // "Continue journey (no save yet)" does nothing
    EXPECT_EQ(app->game.state, Title);
    EXPECT_FALSE(fs::exists(savePath));

    press({Key::Down, Key::Enter}); // New journey
    ASSERT_EQ(app->game.state, Playing);
    EXPECT_EQ(app->game.world, 0);
    EXPECT_EQ(saved().integer(L"Journey", L"Level", -1), 0);

    // Walk onto the first checkpoint.
    ASSERT_FALSE(app->game.level.checkpoints.empty());
    const float flagX = app->game.level.checkpoints[0].pos.x;
    app->game.player.pos = {flagX - 21, GROUND_Y - app->game.player.size.y};
    app->game.player.vel = {0, 0};
    runFrames(3);
    ASSERT_EQ(app->game.checkpoint, 0);
    EXPECT_EQ(app->toastText, "CHECKPOINT SAVED");
    app->game.subscribers = 37;
    EXPECT_EQ(saved().integer(L"Journey", L"Checkpoint", -1), 0);

    // Pause, then leave for the title: the journey is kept.
    press({Key::Escape});
    ASSERT_EQ(app->game.state, Paused);
    press({Key::Down, Key::Down, Key::Down, Key::Down, Key::Enter}); // Main menu
    ASSERT_EQ(app->game.state, Title);
    IniSnapshot atTitle = saved();
    EXPECT_EQ(atTitle.integer(L"Journey", L"Subscribers", -1), 37);
    EXPECT_EQ(atTitle.integer(L"Journey", L"Checkpoint", -1), 0);

    // Continue puts the player back at the checkpoint with the score.
    app->game.player.pos = {0, 0};
    press({Key::Enter});
    ASSERT_EQ(app->game.state, Playing);
    EXPECT_EQ(app->game.subscribers, 37);
    EXPECT_EQ(app->game.checkpoint, 0);
    EXPECT_NEAR(app->game.player.pos.x, flagX, 40);

    // Settings from the pause menu: the music volume steps and is saved at once.
    press({Key::Escape, Key::Down, Key::Down, Key::Down, Key::Enter}); // Settings
    ASSERT_EQ(app->menu.screen, SettingsScreen);
    press({Key::Down, Key::Down, Key::Down, Key::Enter}); // Music
    EXPECT_EQ(saved().integer(L"Settings", L"Music", -1), 42);
    press({Key::Escape});
    EXPECT_EQ(app->menu.screen, MainListScreen);
    press({Key::Escape});
    EXPECT_EQ(app->game.state, Playing);

    // Closing the window saves the journey in progress.
    app->game.subscribers = 55;
    headless::pushEvent(app->window, WindowEvent{WindowEventKind::Quit, 0, 0, 0});
    app->runPass();
    EXPECT_FALSE(app->running);
    app->shutdown();
    EXPECT_EQ(saved().integer(L"Journey", L"Subscribers", -1), 55);

    // The next start reads the journey and the settings back.
    app.reset();
    boot();
    EXPECT_EQ(app->progress.savedLevel, 0);
    EXPECT_FLOAT_EQ(app->settings.musicVolume, 0.42f);
    EXPECT_EQ(app->game.state, Title);
}

// Around play: a world from the level select is a fresh start, a sign card
// closes on any of its keys without reopening, and "Restart checkpoint" puts
// the player back at the flag.
TEST_F(Session, LevelSelectSignCardAndRestartCheckpoint) {
    runFrames(1);
    app->game.subscribers = 500;
    app->game.deaths = 3;
    app->game.player.ownedWeapons.fill(true);
    app->game.player.weapon = BanHammer;
    app->weaponAnnounced.fill(true);
    press({Key::Down, Key::Down, Key::Enter, Key::Down, Key::Enter});
    ASSERT_EQ(app->game.state, Playing);
    EXPECT_EQ(app->game.world, 1);
    EXPECT_EQ(app->game.subscribers, 0);
    EXPECT_EQ(app->game.deaths, 0);
    EXPECT_EQ(app->game.player.weapon, GiftedSubs);
    EXPECT_FALSE(app->weaponAnnounced[5]);
    EXPECT_EQ(std::count(app->game.player.ownedWeapons.begin(), app->game.player.ownedWeapons.end(), true),
              1);
    // Number keys pick an owned weapon only.
    app->game.player.ownedWeapons[3] = true;
    press({Key::Digit4, Key::Digit6});
    EXPECT_EQ(app->game.player.weapon, FidgetSpinners);
    press({Key::Digit1});
    EXPECT_EQ(app->game.player.weapon, GiftedSubs);

    Game& game = app->game;
    game.level.signs = {Sign{{game.player.pos.x + game.player.size.x / 2, GROUND_Y}, "Hi", false}};
    for (Key key : {Key::Enter, Key::E, Key::Escape}) {
        game.state = SignCard;
        press({key});
        EXPECT_EQ(game.state, Playing) << static_cast<int>(key);
    }
    // A click on the top edge of the prompt opens the sign.
    const float promptX = std::clamp(game.level.signs[0].pos.x - game.cameraX - 112, 8.0f, 960 - 232.0f);
    headless::setMouse(app->window, MouseState{static_cast<int>((promptX + 5) * 4 / 3), 443});
    headless::pushEvent(app->window, WindowEvent{WindowEventKind::LeftDown, 0, 0, 0});
    runFrames(1);
    EXPECT_EQ(game.state, SignCard);
    press({Key::Enter});

    game.checkpoint = 0;
    game.player.pos.x = game.level.checkpoints[0].pos.x + 900;
    app->toastQueue.push_back("OLD NEWS");
    press({Key::Escape, Key::Down, Key::Enter});
    EXPECT_EQ(game.state, Playing);
    EXPECT_FLOAT_EQ(game.player.pos.x, game.level.checkpoints[0].pos.x);
    EXPECT_TRUE(app->toastQueue.empty());
    game.player.pos.x += 700;
    press({Key::R});
    EXPECT_FLOAT_EQ(game.player.pos.x, game.level.checkpoints[0].pos.x);

    // Continuing a journey saved past the last world plays the last world.
    app->progress.savedLevel = 12;
    game.state = Title;
    app->menu = MenuState{};
    app->action();
    EXPECT_EQ(game.world, 9);
}

// The remap page by keyboard, mouse and controller: Esc cancels; a new jump
// key drives the game and the old one no longer does; a key in use swaps
// places; the choice is saved and read back; "Reset to defaults" restores the
// game's own map.
TEST_F(Session, RemappedKeysDrivePlayAndSurviveARestart) {
    runFrames(1);
    press({Key::Down, Key::Down, Key::Down, Key::Enter, Key::Down, Key::Enter}); // Controls, then Remap
    ASSERT_EQ(app->menu.screen, RemapScreen);
    // Jump's first key, listening, then Esc.
    press({Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Enter,
           Key::Escape});
    EXPECT_EQ(app->menu.screen, RemapScreen);
    EXPECT_EQ(app->settings.controls, Bindings{});
    press(
        {Key::Enter, Key::K, Key::Enter, Key::J}); // jump takes K for Space, then J: fire takes K in exchange
    EXPECT_EQ(keyList(app->settings.controls[Action::Jump], " "), "J W Up");
    EXPECT_EQ(keyList(app->settings.controls[Action::Fire], " "), "K X");

    // A click on read's first button (canvas x 560, y 242; 4/3 pixels a unit), then Y on the controller.
    headless::setMouse(app->window, MouseState{600 * 4 / 3, 255 * 4 / 3});
    headless::pushEvent(app->window, WindowEvent{WindowEventKind::LeftDown, 0, 0, 0});
    runFrames(1);
    EXPECT_EQ(app->menu.listening, 4 * REMAP_CELLS + 2);
    script->setPad(0, PadState{pad::Y, 0, 0});
    script->advance(1000); // the controller thread looks for a pad once a second
    ASSERT_TRUE(script->waitForPasses(script->passes() + 2));
    runFrames(1);
    script->removePad(0);
    EXPECT_EQ(buttonList(app->settings.controls[Action::Read], " "), "Y");
    EXPECT_EQ(buttonList(app->settings.controls[Action::SwitchWeapon], " "), "B LB RB");
    const Bindings remapped = app->settings.controls;

    press({Key::Escape, Key::Escape, Key::Down, Key::Enter}); // the sheet, the title, New journey
    ASSERT_EQ(app->game.state, Playing);
    runFrames(3);
    Game& game = app->game;
    press({Key::Space});
    EXPECT_EQ(game.player.jumpsUsed, 0);
    EXPECT_TRUE(game.projectiles.empty());
    press({Key::J});
    EXPECT_EQ(game.player.jumpsUsed, 1);
    EXPECT_TRUE(game.projectiles.empty());
    press({Key::K});
    EXPECT_FALSE(game.projectiles.empty());

    EXPECT_EQ(saved().get(L"Controls", L"Jump", L""), L"J,W,Up");
    app.reset();
    boot();
    EXPECT_EQ(app->settings.controls, remapped);
    app->menu.screen = RemapScreen;
    app->menu.selection = REMAP_RESET_ENTRY;
    app->action();
    EXPECT_EQ(app->settings.controls, Bindings{});
    EXPECT_EQ(saved().get(L"Controls", L"PadSwitchWeapon", L""), L"Y,LB,RB");
}

// Screen shake moves the level band only with its setting on; the address
// joke's setting hides a joke on screen at once.
TEST_F(Session, ShakeAndAddressJokeFollowTheirSettings) {
    app->start(0, false);
    app->presentationClock = 0.1f;
    app->settings.screenShake = false;
    app->menu.screen = SettingsScreen;
    const Player& p = app->game.player;
    auto playerAt = [&](float dx, float dy) {
        app->shakeTimer = 0.5f;
        return test::find(test::drawFrame(*app), {"player_idle", 0, p.pos.x - app->game.cameraX - 11 + dx,
                                                  test::band(p.pos.y - 8) + dy, 64, test::squash(72)});
    };
    EXPECT_GE(playerAt(0, 0), 0);
    app->menu.selection = 6;
    app->action();
    EXPECT_GE(playerAt(6 * std::sin(140 * 0.1f), 6 * std::cos(125 * 0.1f)), 0);

    app->settings.ipJokes = true;
    app->ipJokeTimer = 1;
    app->ipText = "400.500.600.700";
    EXPECT_GE(test::find(test::drawFrame(*app), {"400.500.600.700", 0xF2F3FF, 729, 36, 206, 1}), 0);
    app->menu.selection = 7;
    app->action();
    EXPECT_FALSE(app->settings.ipJokes);
    EXPECT_GE(test::find(test::drawFrame(*app), {"SUBSCRIBERS", 0xA3A7C0, 729, 23, 165, 0}), 0);
    app->action();
    EXPECT_TRUE(app->settings.ipJokes);
    EXPECT_EQ(test::find(test::drawFrame(*app), {"YOUR IP ADDRESS", 0xF2F3FF, 729, 21, 206, 0}), -1);
}

// A caption shows the words of exactly the voice line that starts playing, for as long as it lasts,
// and only with its setting on.
TEST_F(Session, CaptionsFollowExactlyTheVoiceLinesThatPlay) {
    // Half a second each of the victory's first line and of an effect; no other clip exists.
    app.reset();
    fs::create_directories(folder / "assets" / "audio");
    const std::vector<std::uint8_t> half =
        test::WavBuilder::pcm16(2, 44100, std::vector<std::int16_t>(44100, 900));
    for (const char* clip : {"grumbo_got_kill", "hurt"}) {
        test::writeBytes(folder / "assets" / "audio" / (std::string(clip) + ".wav"), half);
    }
    boot();
    app->start(0, false);
    const auto caption = [&] {
        for (const test::Look& look : test::drawFrame(*app)) {
            for (const VoiceLine& line : VOICE_LINES) {
                if (look.what == line.words) {
                    return look.what;
                }
            }
        }
        return std::string();
    };
    app->presentationTime = 100;
    app->reaction("victory", VoiceMoment::BossDefeated, 1, 0);
    EXPECT_EQ(caption(), ""); // captions are off by default

    app->settings.captions = true;
    app->playClip("grumbo_no", 1, 0); // a voice line without a clip plays nothing
    app->playClip("hurt", 1, 0);      // an effect has no words
    EXPECT_EQ(caption(), "");
    app->sounds = SoundPolicy{};
    app->reaction("victory", VoiceMoment::BossDefeated, 1, 0);
    const Rect box = captionBox("Got a kill!", app->viewWidth);
    EXPECT_GE(test::find(test::drawFrame(*app), {"Got a kill!", 0xF2F3FF, box.x, box.y + 5, box.w,
                                                 CAPTION_TEXT_SIZE, 1, test::CENTRED}),
              0);
    app->presentationTime += 0.49;
    EXPECT_EQ(caption(), "Got a kill!");
    app->settings.captions = false; // hidden at once, and back while the line still plays
    EXPECT_EQ(caption(), "");
    app->settings.captions = true;
    app->presentationTime += 0.02;
    EXPECT_EQ(caption(), "");

    // With the voice switched off the line does not play, so it has no caption either.
    app->menu.screen = SettingsScreen;
    app->menu.selection = 5;
    app->action();
    app->playClip("grumbo_got_kill", 1, 0);
    EXPECT_EQ(caption(), "");
}

TEST_F(Session, FullScreenAutoCommitAndWindowSizes) {
    app->menu.screen = SettingsScreen;
    app->menu.selection = 2; // auto-commit, while windowed: full screen at once
    app->action();
    EXPECT_TRUE(app->settings.autoFullscreen);
    EXPECT_TRUE(app->fullscreen);
    EXPECT_TRUE(app->window.fullscreen());
    app->action(); // off again: the mode stays
    EXPECT_FALSE(app->settings.autoFullscreen);
    EXPECT_TRUE(app->fullscreen);

    // A new window size leaves full screen first.
    app->menu.selection = 0;
    app->action();
    EXPECT_EQ(app->settings.resolutionIndex, 1);
    EXPECT_FALSE(app->fullscreen);
    EXPECT_FALSE(app->window.fullscreen());
    IniSnapshot file = saved();
    EXPECT_EQ(file.integer(L"Settings", L"Resolution", -1), 1);
    EXPECT_EQ(file.integer(L"Settings", L"AutoFullscreen", -1), 0);
    EXPECT_EQ(file.get(L"Journey", L"Level", L"none"), L"none");
}

TEST_F(Session, ContinuingACompletedWorldOpensOnItsCardAndMovesOn) {
    bootWithSave(L"[Journey]\r\nLevel=4\r\nSubscribers=900\r\nCompletion=1\r\nWeapons=17\r\nEquipped=4\r\n"
                 L"CampaignVersion=4\r\n");
    EXPECT_EQ(app->progress.savedLevel, 4);
    runFrames(1);
    press({Key::Enter}); // Continue journey
    ASSERT_EQ(app->game.state, WorldComplete);
    EXPECT_EQ(app->game.world, 4);
    EXPECT_EQ(app->game.subscribers, 900);
    EXPECT_EQ(app->game.player.weapon, BanHammer);
    press({Key::Enter}); // next world
    EXPECT_EQ(app->game.state, Playing);
    EXPECT_EQ(app->game.world, 5);
    IniSnapshot file = saved();
    EXPECT_EQ(file.integer(L"Journey", L"Level", -1), 5);
    EXPECT_EQ(file.integer(L"Journey", L"HighestLevel", -1), 5);
    EXPECT_EQ(file.integer(L"Journey", L"Completion", -1), 0);
}

TEST_F(Session, AnOversizedSaveStillLoadsAndIsNeverOverwritten) {
    const std::vector<std::uint8_t> bytes =
        bootWithSave(L"[Journey]\r\nLevel=2\r\nSubscribers=5\r\n[Settings]\r\nMusic=70\r\n; " +
                     std::wstring(AsyncSave::MAX_FILE_BYTES / 2, L'x'));
    EXPECT_EQ(app->progress.savedLevel, 2);
    EXPECT_FLOAT_EQ(app->settings.musicVolume, 0.7f);
    runFrames(1);
    press({Key::Enter}); // Continue: playable, with no detail restored
    ASSERT_EQ(app->game.state, Playing);
    EXPECT_EQ(app->game.world, 2);
    EXPECT_EQ(app->game.checkpoint, -1);
    runFrames(10);
    app->shutdown();
    app->saver.flush();
    EXPECT_TRUE(test::readBytes(savePath) == bytes);
}

// A smoke run plays with the player's settings but never writes the save.
TEST_F(Session, ASmokeRunReadsTheSettingsAndNeverSaves) {
    app.reset();
    const std::vector<std::uint8_t> bytes =
        encodeSaveText(L"[Journey]\r\nLevel=3\r\n[Settings]\r\nMusic=40\r\nMuted=1\r\n");
    test::writeBytes(savePath, bytes);
    app = std::make_unique<App>(std::make_unique<HeadlessInputDevices>(script),
                                std::make_unique<HeadlessAudioOutput>());
    app->smoke = true;
    app->smokeLevel = 1;
    app->baseDirectory = folder.string();
    app->savePath = savePath.wstring();
    ASSERT_TRUE(app->window.open(WindowOptions{}));
    ASSERT_TRUE(app->init());
    EXPECT_FLOAT_EQ(app->settings.musicVolume, 0.4f);
    EXPECT_TRUE(app->settings.muted);
    app->persist();
    app->shutdown();
    app->saver.flush();
    EXPECT_TRUE(test::readBytes(savePath) == bytes);
}

// A death inside the world starts its presentation over, as a restart does:
// the voice keeps seven quiet seconds from the respawn.
TEST_F(Session, ADeathStartsThePresentationOver) {
    runFrames(1);
    press({Key::Down, Key::Enter});
    ASSERT_EQ(app->game.state, Playing);
    runFrames(30);
    app->game.player.pos.y = 800;
    app->game.player.grounded = false;
    runFrames(1);
    ASSERT_EQ(app->game.deaths, 1);
    EXPECT_GE(app->sounds.voiceQuietUntil, app->presentationTime + 6.9);
}

} // namespace
} // namespace grumbo
