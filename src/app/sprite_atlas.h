#pragma once

// The sprite atlas: every named picture of the one sprite sheet and where it sits.
// The asset forge draws each sprite into exactly these cells and the drawing layer
// cuts them out with the same table, so the two can never disagree.

#include <array>
#include <string_view>

namespace grumbo {

struct SpriteRect {
    float x, y, w, h;
};

struct AtlasEntry {
    std::string_view name;
    SpriteRect rect;
};

inline constexpr int ATLAS_SIZE = 130;
inline constexpr int ATLAS_SHEET_WIDTH = 1024;
inline constexpr int ATLAS_SHEET_HEIGHT = 832;

// Three runs: 94 small cells in rows of 16 from the top, the 20 boss frames in
// 128-pixel cells in rows of 8 from y = 384, and 16 more small cells at y = 768.
inline constexpr std::array<AtlasEntry, ATLAS_SIZE> ATLAS_ENTRIES{{
    {"player_idle", {0, 0, 64, 64}},
    {"player_run_0", {64, 0, 64, 64}},
    {"player_run_1", {128, 0, 64, 64}},
    {"player_run_2", {192, 0, 64, 64}},
    {"player_run_3", {256, 0, 64, 64}},
    {"player_run_4", {320, 0, 64, 64}},
    {"player_run_5", {384, 0, 64, 64}},
    {"player_jump", {448, 0, 64, 64}},
    {"player_fall", {512, 0, 64, 64}},
    {"player_hurt", {576, 0, 64, 64}},
    {"zombie_0", {640, 0, 64, 64}},
    {"zombie_1", {704, 0, 64, 64}},
    {"zombie_2", {768, 0, 64, 64}},
    {"slender_0", {832, 0, 64, 64}},
    {"slender_1", {896, 0, 64, 64}},
    {"cat_0", {960, 0, 64, 64}},
    {"cat_1", {0, 64, 64, 64}},
    {"cat_2", {64, 64, 64, 64}},
    {"letter_A", {128, 64, 64, 64}},
    {"letter_B", {192, 64, 64, 64}},
    {"letter_C", {256, 64, 64, 64}},
    {"letter_D", {320, 64, 64, 64}},
    {"letter_E", {384, 64, 64, 64}},
    {"letter_F", {448, 64, 64, 64}},
    {"letter_G", {512, 64, 64, 64}},
    {"letter_H", {576, 64, 64, 64}},
    {"letter_I", {640, 64, 64, 64}},
    {"letter_J", {704, 64, 64, 64}},
    {"letter_K", {768, 64, 64, 64}},
    {"letter_L", {832, 64, 64, 64}},
    {"letter_M", {896, 64, 64, 64}},
    {"letter_N", {960, 64, 64, 64}},
    {"letter_O", {0, 128, 64, 64}},
    {"letter_P", {64, 128, 64, 64}},
    {"letter_Q", {128, 128, 64, 64}},
    {"letter_R", {192, 128, 64, 64}},
    {"letter_S", {256, 128, 64, 64}},
    {"letter_T", {320, 128, 64, 64}},
    {"letter_U", {384, 128, 64, 64}},
    {"letter_V", {448, 128, 64, 64}},
    {"letter_W", {512, 128, 64, 64}},
    {"letter_X", {576, 128, 64, 64}},
    {"letter_Y", {640, 128, 64, 64}},
    {"letter_Z", {704, 128, 64, 64}},
    {"gift", {768, 128, 64, 64}},
    {"ip", {832, 128, 64, 64}},
    {"water", {896, 128, 64, 64}},
    {"spinner", {960, 128, 64, 64}},
    {"hotdog", {0, 192, 64, 64}},
    {"burger", {64, 192, 64, 64}},
    {"burrito", {128, 192, 64, 64}},
    {"creatine", {192, 192, 64, 64}},
    {"subscriber", {256, 192, 64, 64}},
    {"checkpoint", {320, 192, 64, 64}},
    {"exit", {384, 192, 64, 64}},
    {"fart_0", {448, 192, 64, 64}},
    {"fart_1", {512, 192, 64, 64}},
    {"fart_2", {576, 192, 64, 64}},
    {"fart_3", {640, 192, 64, 64}},
    {"fart_4", {704, 192, 64, 64}},
    {"tile_forest", {768, 192, 64, 64}},
    {"tile_city", {832, 192, 64, 64}},
    {"tile_crypt", {896, 192, 64, 64}},
    {"tile_water", {960, 192, 64, 64}},
    {"tile_space", {0, 256, 64, 64}},
    {"weapon_hammer", {64, 256, 64, 64}},
    {"weapon_raid", {128, 256, 64, 64}},
    {"weapon_snack", {192, 256, 64, 64}},
    {"weapon_rgb", {256, 256, 64, 64}},
    {"power_shield", {320, 256, 64, 64}},
    {"power_energy", {384, 256, 64, 64}},
    {"power_protein", {448, 256, 64, 64}},
    {"power_magnet", {512, 256, 64, 64}},
    {"power_nachos", {576, 256, 64, 64}},
    {"spitter_0", {640, 256, 64, 64}},
    {"spitter_1", {704, 256, 64, 64}},
    {"spitter_2", {768, 256, 64, 64}},
    {"armored_0", {832, 256, 64, 64}},
    {"armored_1", {896, 256, 64, 64}},
    {"armored_2", {960, 256, 64, 64}},
    {"drone_0", {0, 320, 64, 64}},
    {"drone_1", {64, 320, 64, 64}},
    {"drone_2", {128, 320, 64, 64}},
    {"turret_0", {192, 320, 64, 64}},
    {"turret_1", {256, 320, 64, 64}},
    {"turret_2", {320, 320, 64, 64}},
    {"mimic_0", {384, 320, 64, 64}},
    {"mimic_1", {448, 320, 64, 64}},
    {"mimic_2", {512, 320, 64, 64}},
    {"tile_snow", {576, 320, 64, 64}},
    {"tile_reactor", {640, 320, 64, 64}},
    {"tile_snack", {704, 320, 64, 64}},
    {"tile_arcade", {768, 320, 64, 64}},
    {"tile_summit", {832, 320, 64, 64}},
    {"boss_1_0", {0, 384, 128, 128}},
    {"boss_1_1", {128, 384, 128, 128}},
    {"boss_2_0", {256, 384, 128, 128}},
    {"boss_2_1", {384, 384, 128, 128}},
    {"boss_3_0", {512, 384, 128, 128}},
    {"boss_3_1", {640, 384, 128, 128}},
    {"boss_4_0", {768, 384, 128, 128}},
    {"boss_4_1", {896, 384, 128, 128}},
    {"boss_5_0", {0, 512, 128, 128}},
    {"boss_5_1", {128, 512, 128, 128}},
    {"boss_6_0", {256, 512, 128, 128}},
    {"boss_6_1", {384, 512, 128, 128}},
    {"boss_7_0", {512, 512, 128, 128}},
    {"boss_7_1", {640, 512, 128, 128}},
    {"boss_8_0", {768, 512, 128, 128}},
    {"boss_8_1", {896, 512, 128, 128}},
    {"boss_9_0", {0, 640, 128, 128}},
    {"boss_9_1", {128, 640, 128, 128}},
    {"boss_10_0", {256, 640, 128, 128}},
    {"boss_10_1", {384, 640, 128, 128}},
    {"weapon_receipt", {0, 768, 64, 64}},
    {"weapon_onebyone", {64, 768, 64, 64}},
    {"power_soup", {128, 768, 64, 64}},
    {"power_flashlight", {192, 768, 64, 64}},
    {"cart_0", {256, 768, 64, 64}},
    {"cart_1", {320, 768, 64, 64}},
    {"cart_2", {384, 768, 64, 64}},
    {"caretaker_0", {448, 768, 64, 64}},
    {"caretaker_1", {512, 768, 64, 64}},
    {"caretaker_2", {576, 768, 64, 64}},
    {"prop_grocery_shelf", {640, 768, 64, 64}},
    {"prop_bunker_door", {704, 768, 64, 64}},
    {"prop_card_rack", {768, 768, 64, 64}},
    {"hazard_edge_left", {832, 768, 64, 64}},
    {"hazard_edge_right", {896, 768, 64, 64}},
    {"hazard_caution", {960, 768, 64, 64}},
}};

constexpr const SpriteRect* findSprite(std::string_view name) {
    for (const AtlasEntry& entry : ATLAS_ENTRIES) {
        if (entry.name == name) {
            return &entry.rect;
        }
    }
    return nullptr;
}

} // namespace grumbo
