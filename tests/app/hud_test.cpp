#include "app/hud_layout.h"
#include "app/voice_lines.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

TEST(HudTest, BarsStayInsideTheirTracksAndPowerUpsKeepTheirOrder) {
    EXPECT_FLOAT_EQ(bossBarWidth(900, 600), 228);
    EXPECT_FLOAT_EQ(bossBarWidth(-20, 600), 0);
    EXPECT_FLOAT_EQ(bossBarWidth(10, 0), 228);
    EXPECT_EQ(bossBarColour(2), 0xAE79FFu);
    EXPECT_FLOAT_EQ(progressWidth(-50, 6000), 0);
    EXPECT_EQ(worldNumber(9), "10");

    Player player;
    EXPECT_EQ(powerUpLine(player), "");
    player.shield = 12;
    player.magnet = 3;
    player.tripleJump = 1;
    player.speedBoost = 1;
    player.powerUp = 1;
    player.flashlight = 1;
    player.glow = 1;
    EXPECT_EQ(powerUpLine(player), "SHIELD 12  3X JUMP  SPEED  DMG BOOST  MAGNET LIGHT SAFE");

    EXPECT_EQ(questBox(false, "", false).title, "CHAT'S QUEST");
    EXPECT_EQ(questBox(false, "", false).accent, 0x5D5682u);
}

TEST(HudTest, PlayButtonsCrosshairAndGapWarning) {
    const float vw = 960;
    EXPECT_EQ(playButtonAt(480 - 174, 493, vw), MoveLeftButton); // left and top edges belong to it
    EXPECT_EQ(playButtonAt(480 - 174 + 40, 500, vw), -1);        // the gap between buttons
    EXPECT_EQ(playButtonAt(480 - 174 + 308 + 39, 527, vw), PauseButton);
    EXPECT_EQ(playButtonAt(480 - 174 + 308, 528, vw), -1);

    EXPECT_FALSE(crosshairVisible(Playing, 400, 78, vw));
    EXPECT_FALSE(crosshairVisible(Playing, 400, 470, vw));
    EXPECT_FALSE(crosshairVisible(Paused, 400, 300, vw));

    Game game;
    game.start(0);
    game.level.pits = {Pit{1200, 1320, 470}};
    game.player.pos = {1050, GROUND_Y - game.player.size.y};
    game.player.facing = 1;
    game.cameraX = 2000; // the near edge clamps into view on either side
    EXPECT_FLOAT_EQ(gapWarning(game, vw).x, 8);
    game.cameraX = 0;
    EXPECT_FLOAT_EQ(gapWarning(game, vw).x, 768);
    game.state = Paused;
    EXPECT_FALSE(gapWarning(game, vw).shown);
}

TEST(HudTest, CaptionsSitCentredAtTheBottomOfTheLevelBandClearOfEveryHudBox) {
    for (const float vw : {960.0f, 1290.0f}) {
        // Health and subscriber panels with their shadows, the world or boss title, and from the
        // gap warning's line down the bottom bar.
        const Rect hud[] = {
            {16, 14, 229, 64}, {vw - 246, 14, 235, 64}, {vw / 2 - 180, 17, 360, 36}, {0, 441, vw, 99}};
        for (const VoiceLine& line : VOICE_LINES) {
            const Rect box = captionBox(line.words, vw);
            EXPECT_FLOAT_EQ(box.x + box.w / 2, vw / 2);
            // The words at 0.6 of the 16-unit size per character fit inside.
            EXPECT_GE(box.w, 9.6f * static_cast<float>(line.words.size()));
            EXPECT_FLOAT_EQ(box.y + box.h, 434); // 7 units above the gap warning's line
            const Rect shadowed{box.x, box.y, box.w + 5, box.h + 5};
            for (const Rect& taken : hud) {
                EXPECT_FALSE(shadowed.overlaps(taken)) << line.words;
            }
        }
    }
}

} // namespace
} // namespace grumbo
