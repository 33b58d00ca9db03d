// The pure rules of the presentation: the sprite cull,
// sprite choices, the text cache, the smoke option, the screenshot header and
// the atlas table the drawing layer cuts sprites with.
#include "app/render_math.h"
#include "app/screenshot.h"
#include "app/sprite_atlas.h"
#include "app/text_cache.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace grumbo {
namespace {

TEST(SpriteCull, SixteenUnitMarginOnEverySide) {
    EXPECT_FALSE(spriteCulled(-70, 100, 64, 64, 960));
    EXPECT_TRUE(spriteCulled(-81, 100, 64, 64, 960));
    EXPECT_FALSE(spriteCulled(976, 100, 64, 64, 960));
    EXPECT_TRUE(spriteCulled(977, 100, 64, 64, 960));
    EXPECT_TRUE(spriteCulled(100, 557, 64, 64, 960));
    EXPECT_TRUE(spriteCulled(100, -81, 64, 64, 960));
    EXPECT_FALSE(spriteCulled(1200, 100, 64, 64, 1290));
}

TEST(SpriteChoice, PlayerFollowsMotionAndEnemiesTheirKind) {
    Player player;
    player.vel.y = -10;
    EXPECT_EQ(playerSpriteName(player, 0), "player_jump");
    player.vel.y = 10;
    EXPECT_EQ(playerSpriteName(player, 0), "player_fall");

    Enemy enemy;
    enemy.kind = EnemyKind::Letter;
    enemy.letter = 'q';
    EXPECT_EQ(enemySpriteName(enemy, 0, false), "letter_Q");
    EXPECT_EQ(enemySpriteName(enemy, 0, true), "prop_card_rack");
    enemy.kind = EnemyKind::Turret;
    enemy.windupTimer = 0.2f;
    EXPECT_EQ(enemySpriteName(enemy, 0.7f, false), "turret_2");
    enemy.kind = EnemyKind::Boss;
    enemy.bossIndex = 9;
    EXPECT_EQ(enemySpriteName(enemy, 0, false), "boss_10_1");
    enemy.windupTimer = 0;
    EXPECT_EQ(enemySpriteName(enemy, 0.4f, false), "boss_10_1");
    EXPECT_EQ(enemySpriteName(enemy, 0.1f, false), "boss_10_0");

    enemy.kind = EnemyKind::Letter;
    enemy.facing = -1;
    EXPECT_FALSE(enemyMirrored(enemy));
}

TEST(SmokeOption, WorldNumberFollowsTheOptionAndIsClamped) {
    struct Case {
        const char* line;
        bool smoke;
        int level;
    };
    const Case cases[] = {
        {"", false, 0},          {"--smoke", true, 0},     {"--smoke 3", true, 3},
        {"--smoke3", true, 3},   {"--smoke 12", true, 9},  {"--smoke -4", true, 0},
        {"--smoke x5", true, 0}, {"a--smokey 7", true, 0}, {"x --smoke   6 --smoke 2", true, 6}};
    for (const Case& c : cases) {
        bool smoke = false;
        int level = 0;
        parseSmokeOption(c.line, smoke, level);
        EXPECT_EQ(smoke, c.smoke) << c.line;
        EXPECT_EQ(level, c.level) << c.line;
    }
}

TEST(TextCache, BoxesRoundUpAndAlignmentMakesItsOwnEntry) {
    EXPECT_EQ(TextCache::makeKey("HP", 1, 99.2f, 20, false), TextCache::makeKey("HP", 1, 99.9f, 20, false));
    EXPECT_NE(TextCache::makeKey("HP", 1, 99.2f, 20, false), TextCache::makeKey("HP", 1, 99.2f, 20, true));
    EXPECT_EQ(TextCache::makeKey("HP", 1, 100.0f, 20, false).width, 100);
}

TEST(TextCache, FullCacheEvictsTheLeastRecentlyDrawnEntry) {
    TextCache cache;
    for (int i = 0; i < 384; ++i) {
        EXPECT_FALSE(cache.makeRoom().has_value());
        cache.insert(TextCache::makeKey(std::to_string(i), 0, 50, 10, false), Texture{i, 1, 8, 8});
    }
    // Redrawing the oldest text protects it; the next oldest goes instead.
    ASSERT_NE(cache.use(TextCache::makeKey("0", 0, 50, 10, false)), nullptr);
    const std::optional<Texture> evicted = cache.makeRoom();
    ASSERT_TRUE(evicted.has_value());
    EXPECT_EQ(evicted->id, 1);
    EXPECT_EQ(cache.size(), 383u);
    EXPECT_TRUE(cache.contains(TextCache::makeKey("0", 0, 50, 10, false)));
    EXPECT_FALSE(cache.contains(TextCache::makeKey("1", 0, 50, 10, false)));

    int released = 0;
    cache.clear([&](Texture&) { ++released; });
    EXPECT_EQ(released, 383);
    EXPECT_EQ(cache.size(), 0u);
}

TEST(Screenshot, HeaderOfA1280By720Capture) {
    const std::vector<std::uint8_t> header = bmpHeader(1280, 720);
    ASSERT_EQ(header.size(), 54u);
    auto read32 = [&](int at) {
        return static_cast<std::int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                         static_cast<std::uint32_t>(header[at + 3]) << 24);
    };
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[1], 'M');
    EXPECT_EQ(read32(2), 3686454);
    EXPECT_EQ(read32(6), 0);
    EXPECT_EQ(read32(10), 54);
    EXPECT_EQ(read32(14), 40);
    EXPECT_EQ(read32(18), 1280);
    EXPECT_EQ(read32(22), -720);
    EXPECT_EQ(header[26] | header[27] << 8, 1);
    EXPECT_EQ(header[28] | header[29] << 8, 32);
    for (int at = 30; at < 54; ++at) {
        EXPECT_EQ(header[at], 0) << at;
    }
}

TEST(Screenshot, WritingReplacesAnExistingFile) {
    const std::string path = testing::TempDir() + "grumbo_shot.bmp";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000000, 'x');
    }
    std::vector<std::uint8_t> pixels(4 * 4 * 3, 0x7F);
    ASSERT_TRUE(writeBmp(path, 4, 3, pixels));
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    EXPECT_EQ(static_cast<long>(file.tellg()), 54 + 48);
}

TEST(SpriteAtlas, OneHundredThirtyUniqueCellsInThreeRuns) {
    std::set<std::string_view> names;
    for (const AtlasEntry& entry : ATLAS_ENTRIES) {
        names.insert(entry.name);
        EXPECT_LE(entry.rect.x + entry.rect.w, 1024) << entry.name;
        EXPECT_LE(entry.rect.y + entry.rect.h, 832) << entry.name;
    }
    EXPECT_EQ(names.size(), 130u);
    struct Spot {
        const char* name;
        float x, y, size;
    };
    const Spot spots[] = {{"player_idle", 0, 0, 64},      {"cat_1", 0, 64, 64},
                          {"gift", 768, 128, 64},         {"tile_summit", 832, 320, 64},
                          {"boss_1_0", 0, 384, 128},      {"boss_10_1", 384, 640, 128},
                          {"weapon_receipt", 0, 768, 64}, {"hazard_caution", 960, 768, 64}};
    for (const Spot& spot : spots) {
        const SpriteRect* rect = findSprite(spot.name);
        ASSERT_NE(rect, nullptr) << spot.name;
        EXPECT_EQ(rect->x, spot.x) << spot.name;
        EXPECT_EQ(rect->y, spot.y) << spot.name;
        EXPECT_EQ(rect->w, spot.size) << spot.name;
        EXPECT_EQ(rect->h, spot.size) << spot.name;
    }
    EXPECT_EQ(findSprite("player_dance"), nullptr);
}

} // namespace
} // namespace grumbo
