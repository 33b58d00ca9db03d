#include "app/sprite_atlas.h"
#include "sprites.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <string>

namespace grumbo::forge {
namespace {

Image cellOf(const Image& sheet, const SpriteRect& r) {
    Image cell(static_cast<int>(r.w), static_cast<int>(r.h));
    for (int y = 0; y < cell.height; ++y) {
        for (int x = 0; x < cell.width; ++x) {
            cell.set(x, y, sheet.get(static_cast<int>(r.x) + x, static_cast<int>(r.y) + y));
        }
    }
    return cell;
}

// The pixels of the cell that are not fully transparent, and the sum of their opacities.
long paintedCount(const Image& img) {
    return std::count_if(img.pixels.begin(), img.pixels.end(), [](Colour c) { return alphaOf(c) != 0; });
}
long ink(const Image& img) {
    return std::accumulate(img.pixels.begin(), img.pixels.end(), 0L,
                           [](long sum, Colour c) { return sum + alphaOf(c); });
}

const Image& sheet() {
    static const Image SHEET = buildSpriteSheet();
    return SHEET;
}

// The names, bounds and landmark cells are checked with the app's drawing; here, that no two
// cells share a pixel and that names are matched exactly.
TEST(Atlas, CellsAreDisjointAndNamesExact) {
    for (size_t i = 0; i < ATLAS_ENTRIES.size(); ++i) {
        for (size_t j = i + 1; j < ATLAS_ENTRIES.size(); ++j) {
            const SpriteRect& a = ATLAS_ENTRIES[i].rect;
            const SpriteRect& b = ATLAS_ENTRIES[j].rect;
            bool overlap = a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
            EXPECT_FALSE(overlap) << ATLAS_ENTRIES[i].name << " and " << ATLAS_ENTRIES[j].name;
        }
    }
    EXPECT_NE(findSprite("boss_10_1"), nullptr);
    EXPECT_EQ(findSprite("boss_11_0"), nullptr);
    EXPECT_EQ(findSprite("Player_idle"), nullptr);
    EXPECT_EQ(findSprite(""), nullptr);
}

TEST(SpriteSheet, EveryCellIsPaintedAndStaysInsideItsBorder) {
    const Image& s = sheet();
    ASSERT_EQ(s.width, 1024);
    ASSERT_EQ(s.height, 832);
    Image covered(s.width, s.height);
    for (const AtlasEntry& e : ATLAS_ENTRIES) {
        Image cell = cellOf(s, e.rect);
        // A sprite that is barely there would vanish at 36 units.
        EXPECT_GT(paintedCount(cell), cell.width * cell.height / 12) << e.name;
        for (int i = 0; i < cell.width; ++i) {
            EXPECT_EQ(alphaOf(cell.get(i, 0)), 0) << e.name << " touches its top edge";
            EXPECT_EQ(alphaOf(cell.get(i, cell.height - 1)), 0) << e.name << " touches its bottom edge";
            EXPECT_EQ(alphaOf(cell.get(0, i)), 0) << e.name << " touches its left edge";
            EXPECT_EQ(alphaOf(cell.get(cell.width - 1, i)), 0) << e.name << " touches its right edge";
        }
        fillRect(covered, static_cast<int>(e.rect.x), static_cast<int>(e.rect.y), cell.width, cell.height,
                 rgb(0));
    }
    // Outside every cell the sheet stays transparent.
    int stray = 0;
    for (size_t i = 0; i < s.pixels.size(); ++i) {
        if (alphaOf(covered.pixels[i]) == 0 && alphaOf(s.pixels[i]) != 0) {
            ++stray;
        }
    }
    EXPECT_EQ(stray, 0);
}

// Fraction of pixels that differ between two cells.
double difference(const Image& a, const Image& b) {
    int changed = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        changed += a.pixels[i] != b.pixels[i] ? 1 : 0;
    }
    return static_cast<double>(changed) / static_cast<double>(a.pixels.size());
}

TEST(SpriteSheet, AnimationFramesDifferVisibly) {
    const Image& s = sheet();
    const std::pair<const char*, int> families[] = {
        {"player_run_", 6}, {"zombie_", 3}, {"slender_", 2}, {"cat_", 3},  {"spitter_", 3},   {"armored_", 3},
        {"drone_", 3},      {"turret_", 3}, {"mimic_", 3},   {"cart_", 3}, {"caretaker_", 3}, {"fart_", 5}};
    for (const auto& [prefix, count] : families) {
        for (int i = 0; i < count; ++i) {
            for (int j = i + 1; j < count; ++j) {
                std::string a = prefix + std::to_string(i);
                std::string b = prefix + std::to_string(j);
                EXPECT_GT(difference(cellOf(s, *findSprite(a)), cellOf(s, *findSprite(b))), 0.01)
                    << a << " vs " << b;
            }
        }
    }
    for (int boss = 1; boss <= 10; ++boss) {
        std::string a = "boss_" + std::to_string(boss) + "_0";
        std::string b = "boss_" + std::to_string(boss) + "_1";
        EXPECT_GT(difference(cellOf(s, *findSprite(a)), cellOf(s, *findSprite(b))), 0.03) << a;
    }
    // The puff fades: each cloud frame holds less ink than the one before.
    for (int i = 0; i + 1 < 5; ++i) {
        const auto frame = [&](int f) { return cellOf(s, *findSprite("fart_" + std::to_string(f))); };
        EXPECT_GT(ink(frame(i)), ink(frame(i + 1))) << "fart_" << i;
    }
}

TEST(SpriteSheet, DistinctNamesGetDistinctArt) {
    const Image& s = sheet();
    for (size_t i = 0; i < ATLAS_ENTRIES.size(); ++i) {
        for (size_t j = i + 1; j < ATLAS_ENTRIES.size(); ++j) {
            if (ATLAS_ENTRIES[i].rect.w != ATLAS_ENTRIES[j].rect.w) {
                continue;
            }
            EXPECT_GT(difference(cellOf(s, ATLAS_ENTRIES[i].rect), cellOf(s, ATLAS_ENTRIES[j].rect)), 0.005)
                << ATLAS_ENTRIES[i].name << " looks like " << ATLAS_ENTRIES[j].name;
        }
    }
}

} // namespace
} // namespace grumbo::forge
