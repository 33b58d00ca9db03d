#include "sprites.h"

#include <cmath>
#include <string>

namespace grumbo::forge {

namespace {

constexpr float PI = 3.14159265f;

int frameOf(std::string_view name) {
    return name.back() - '0';
}

void droneHull(Image& c, int f, const Ramp& shell, const Ramp& glass);

void zombie(Image& c, int f) {
    const Ramp skin = rampOf(0x7FB65A);
    const Ramp shirt = rampOf(0x3E7C8A);
    const Ramp pants = rampOf(0x5A4636);
    float step = (f - 1) * 6.0f;
    float sway = (f == 1) ? -1.0f : 1.0f;
    part(c, [&](Image& l) { shadedLimb(l, 30, 46, 30 - step, 61, 7, pants); });
    part(c, [&](Image& l) { shadedLimb(l, 36, 46, 36 + step, 61, 7, pants); });
    part(c, [&](Image& l) {
        shadedLimb(l, 30 - step - 2, 61, 30 - step + 4, 61, 4, rampOf(0x3A2E28));
        shadedLimb(l, 36 + step - 2, 61, 36 + step + 4, 61, 4, rampOf(0x3A2E28));
    });
    part(c, [&](Image& l) { shadedLimb(l, 28, 29, 47, 31 + sway * 2, 6, skin); });
    part(c, [&](Image& l) {
        shadedPolygon(l, {23, 27, 42, 26, 43, 47, 38, 44, 33, 48, 28, 44, 23, 47}, shirt);
        drawLine(l, 30, 31, 35, 38, 1, shirt.dark);
        fillRect(l, 36, 33, 3, 3, rgb(0x8A2030));
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 34 + sway, 17, 9, 10, skin);
        fillRect(l, static_cast<int>(28 + sway), 7, 10, 3, rampOf(0x3C3A2A).mid);
        fillEllipse(l, 37 + sway, 15, 2.4f, 2.6f, rgb(0xFFF3A0));
        fillRect(l, static_cast<int>(37 + sway), 15, 1, 1, rgb(0xC02020));
        fillEllipse(l, 31 + sway, 15, 1.6f, 1.8f, rgb(0xFFF3A0));
        drawLine(l, 31 + sway, 22, 39 + sway, 21, 1.4f, rgb(0x3A1020));
        for (int i = 0; i < 3; ++i) {
            l.set(static_cast<int>(33 + sway + 2 * i), 21, rgb(0xF0F0D0));
        }
        l.set(static_cast<int>(29 + sway), 19, skin.dark);
        l.set(static_cast<int>(30 + sway), 20, skin.dark);
    });
    part(c, [&](Image& l) {
        shadedLimb(l, 36, 30, 54, 29 - sway * 2, 6, skin);
        fillEllipse(l, 55, 29 - sway * 2, 3, 3, skin.mid);
    });
    mirrorCell(c);
}

void slender(Image& c, int f) {
    const Ramp suit = rampOf(0x2A2838);
    const Ramp face = rampOf(0xE8E6EE);
    float reach = f == 0 ? 0.0f : 4.0f;
    part(c, [&](Image& l) {
        shadedLimb(l, 30, 40, 28, 62, 4, suit);
        shadedLimb(l, 34, 40, 37, 62, 4, suit);
    });
    // Tendrils from the back, writhing between the two frames.
    part(c, [&](Image& l) {
        for (int t = 0; t < 4; ++t) {
            float px = 28, py = 18 + t * 4;
            for (int k = 1; k <= 10; ++k) {
                float nx = 28 - k * 2.1f;
                float ny = 18 + t * 4 + std::sin(k * 0.7f + t + f * 1.7f) * 4 - k * 0.6f;
                drawLine(l, px, py, nx, ny, 2.2f - k * 0.12f, rgb(0x17141F));
                px = nx;
                py = ny;
            }
        }
    });
    part(c, [&](Image& l) {
        shadedPolygon(l, {25, 14, 39, 14, 38, 42, 26, 42}, suit);
        fillPolygon(l, {30, 14, 34, 14, 32, 24}, rgb(0xF4F4F8));
        fillPolygon(l, {31, 16, 33, 16, 33, 26, 32, 28, 31, 26}, rgb(0xB02030));
    });
    part(c, [&](Image& l) {
        shadedLimb(l, 26, 16, 22 - reach, 44, 3.5f, suit);
        shadedLimb(l, 38, 16, 46 + reach, 40 - reach * 2, 3.5f, suit);
        fillEllipse(l, 46 + reach, 41 - reach * 2, 1.6f, 3, face.mid);
        fillEllipse(l, 22 - reach, 45, 1.6f, 3, face.mid);
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 32, 7, 5.5f, 6.5f, face);
        // No face at all: only a faint shadow where one should be.
        fillRect(l, 31, 6, 4, 3, face.dark);
    });
    mirrorCell(c);
}

void cat(Image& c, int f) {
    const Ramp fur = rampOf(0xE8913A);
    const Ramp belly = rampOf(0xF6D3A0);
    float leg = (f - 1) * 4.0f;
    part(c, [&](Image& l) {
        float tail = f * 3.0f;
        shadedLimb(l, 16, 44, 8, 34 - tail, 4, fur);
        shadedLimb(l, 8, 34 - tail, 10, 26 - tail, 4, fur);
    });
    part(c, [&](Image& l) {
        shadedLimb(l, 20, 50, 18 - leg, 61, 4, fur);
        shadedLimb(l, 40, 50, 42 + leg, 61, 4, fur);
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 30, 47, 15, 8, fur);
        fillEllipse(l, 32, 51, 9, 3, belly.mid);
        for (int i = 0; i < 3; ++i) {
            drawLine(l, 22 + i * 6, 40, 24 + i * 6, 45, 1.5f, fur.dark);
        }
    });
    part(c, [&](Image& l) {
        shadedLimb(l, 24, 50, 24 + leg, 61, 4, fur);
        shadedLimb(l, 36, 50, 36 - leg, 61, 4, fur);
    });
    part(c, [&](Image& l) {
        fillPolygon(l, {38, 30, 41, 20, 45, 29}, fur.mid);
        fillPolygon(l, {48, 29, 53, 20, 55, 31}, fur.mid);
        fillPolygon(l, {40, 28, 41, 23, 43, 28}, rgb(0xF4A0B0));
        shadedEllipse(l, 47, 37, 10, 9, fur);
        fillEllipse(l, 50, 41, 4.5f, 3, belly.light);
        // Angry slit eyes.
        fillRect(l, 43, 34, 3, 3, rgb(0xD8FF40));
        fillRect(l, 50, 34, 3, 3, rgb(0xD8FF40));
        fillRect(l, 44, 34, 1, 3, INK);
        fillRect(l, 51, 34, 1, 3, INK);
        drawLine(l, 42, 31, 46, 33, 1.3f, INK);
        drawLine(l, 54, 31, 50, 33, 1.3f, INK);
        fillPolygon(l, {48, 42, 52, 42, 50, 46}, rgb(0x702030));
        l.set(49, 44, rgb(0xFFFFFF));
        drawLine(l, 53, 40, 59, 38, 1, rgb(0xF8F0E0));
        drawLine(l, 53, 42, 59, 43, 1, rgb(0xF8F0E0));
    });
    mirrorCell(c);
}

void spitter(Image& c, int f) {
    const Ramp slime = rampOf(0x6CCB3A);
    const Ramp inner = rampOf(0x9A2A5A);
    float open = f * 2.5f;
    part(c, [&](Image& l) {
        shadedEllipse(l, 28, 46, 19, 15 - f, slime);
        for (int i = 0; i < 4; ++i) {
            fillEllipse(l, 16 + i * 7, 38 + (i % 2) * 5, 2.5f, 2.5f, slime.light);
        }
        fillRect(l, 10, 58, 36, 3, slime.dark);
    });
    part(c, [&](Image& l) {
        // A long neck leans forward into a gaping mouth.
        shadedLimb(l, 34, 40, 44, 30, 10, slime);
        shadedEllipse(l, 46, 27, 10, 8 + open * 0.3f, slime);
        fillEllipse(l, 52, 29, 4 + open * 0.5f, 2 + open, inner.mid);
        fillEllipse(l, 53, 30, 2 + open * 0.3f, 1 + open * 0.6f, rgb(0x300818));
        fillRect(l, 41, 22, 4, 4, rgb(0xFFFF80));
        fillRect(l, 42, 23, 2, 2, INK);
        drawLine(l, 39, 19, 46, 22, 1.4f, INK);
    });
    if (f > 0) {
        part(c, [&](Image& l) {
            fillEllipse(l, 58 - (2 - f) * 2, 30, 2.5f + f * 0.7f, 2.5f + f * 0.7f, rgb(0xB4FF3A));
            fillEllipse(l, 56, 36, 1.5f, 1.5f, rgb(0x8AE02A));
        });
    }
}

void armored(Image& c, int f) {
    const Ramp steel = rampOf(0x8B98B0);
    const Ramp plate = rampOf(0x5C6A86);
    const Ramp visor = rampOf(0xFF4A4A);
    float step = (f - 1) * 5.0f;
    part(c, [&](Image& l) {
        shadedLimb(l, 26, 44, 25 - step, 61, 8, plate);
        shadedLimb(l, 36, 44, 37 + step, 61, 8, plate);
        fillRect(l, static_cast<int>(21 - step), 58, 10, 4, plate.dark);
        fillRect(l, static_cast<int>(33 + step), 58, 10, 4, plate.dark);
    });
    part(c, [&](Image& l) {
        shadedRoundRect(l, 17, 22, 28, 25, 5, steel);
        fillRect(l, 19, 33, 24, 2, steel.dark);
        for (int i = 0; i < 3; ++i) {
            l.set(21 + i * 8, 25, rgb(0xF0F4FF));
        }
    });
    part(c, [&](Image& l) {
        shadedRoundRect(l, 20, 5, 22, 19, 7, steel);
        fillRect(l, 27, 12, 14, 4, rgb(0x200A10));
        fillRect(l, 28, 13, 12, 2, visor.mid);
        fillRect(l, 34, 13, 3, 1, visor.light);
        fillRect(l, 28, 3, 6, 4, rgb(0xD03040));
    });
    // Riot shield held in front.
    part(c, [&](Image& l) {
        shadedRoundRect(l, 43, 18 + f, 13, 36, 3, rampOf(0x3A6EA8));
        fillRect(l, 46, 26 + f, 7, 2, rgb(0xE0F0FF));
        fillRect(l, 46, 30 + f, 7, 1, rgb(0x9AC0E8));
    });
}

void drone(Image& c, int f) {
    const Ramp shell = rampOf(0x5A6478);
    const Ramp glass = rampOf(f == 1 ? 0xFF9050 : 0xFF5050);
    // The hull bobs on its rotors: drawn into a layer and shifted per frame.
    Image hull(c.width, c.height);
    droneHull(hull, f, shell, glass);
    blit(c, hull, 0, f == 1 ? -2 : (f == 2 ? 2 : 0));
}

void droneHull(Image& c, int f, const Ramp& shell, const Ramp& glass) {
    part(c, [&](Image& l) {
        drawLine(l, 18, 28, 10, 20, 3, shell.dark);
        drawLine(l, 46, 28, 54, 20, 3, shell.dark);
        shadedEllipse(l, 32, 32, 16, 10, shell);
        fillRect(l, 20, 37, 24, 2, shell.dark);
        shadedEllipse(l, 32, 33, 6, 6, rampOf(0x202030));
        fillEllipse(l, 32, 33, 3.5f, 3.5f, glass.mid);
        fillEllipse(l, 31, 32, 1.5f, 1.5f, glass.light);
        drawLine(l, 24, 43, 20, 50, 2, shell.dark);
        drawLine(l, 40, 43, 44, 50, 2, shell.dark);
        fillRect(l, 17, 50, 8, 2, shell.mid);
        fillRect(l, 39, 50, 8, 2, shell.mid);
    });
    // Rotor blur: each frame shows the blades at a new angle.
    part(c, [&](Image& l) {
        for (int side = 0; side < 2; ++side) {
            float cx = side == 0 ? 10.0f : 54.0f;
            fillEllipse(l, cx, 17, 9, 2.2f, withAlpha(rgb(0xC8D4E8), 0.55f));
            float a = f * PI / 3 + side;
            float dx = 9 * std::cos(a);
            drawLine(l, cx - dx, 17, cx + dx, 17, 1.5f, rgb(0xE8F0FF));
            fillRect(l, static_cast<int>(cx) - 1, 16, 3, 3, shell.dark);
        }
    });
    if (f == 2) {
        part(c, [&](Image& l) { fillEllipse(l, 32, 33, 2, 2, rgb(0xFFFFFF)); });
    }
}

void turret(Image& c, int f) {
    const Ramp base = rampOf(0x6A7088);
    const Ramp barrel = rampOf(0x3E4458);
    float recoil = f == 1 ? -3.0f : 0.0f;
    part(c, [&](Image& l) {
        shadedPolygon(l, {12, 61, 52, 61, 46, 46, 18, 46}, base);
        fillRect(l, 14, 55, 36, 2, base.dark);
        for (int i = 0; i < 4; ++i) {
            fillRect(l, 17 + i * 9, 58, 3, 2, rgb(0xF0C040));
        }
    });
    part(c, [&](Image& l) {
        shadedRoundRect(l, static_cast<int>(34 + recoil), 29, 24, 8, 2, barrel);
        fillRect(l, static_cast<int>(55 + recoil), 28, 4, 10, barrel.dark);
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 30, 38, 14, 11, base);
        fillEllipse(l, 34, 35, 5, 4, rgb(0x201018));
        Colour eye = f == 2 ? rgb(0xFFE060) : rgb(0xFF3040);
        fillEllipse(l, 35, 35, 3, 2.5f, eye);
        fillRect(l, 34, 34, 1, 1, rgb(0xFFFFFF));
    });
    if (f == 2) {
        // Windup: the muzzle glows hot.
        part(c, [&](Image& l) {
            fillEllipse(l, 60, 33, 4, 4, rgb(0xFFB040));
            fillEllipse(l, 60, 33, 2, 2, rgb(0xFFFFC0));
        });
    }
    if (f == 1) {
        part(c, [&](Image& l) { fillEllipse(l, 61, 33, 2.5f, 3.5f, rgb(0xFFF080)); });
    }
}

void mimic(Image& c, int f) {
    const Ramp wood = rampOf(0x7A2E9A);
    const Ramp trim = rampOf(0x2AD8E8);
    float gape = f * 3.0f;
    part(c, [&](Image& l) {
        // Cabinet body with marquee and screen.
        shadedPolygon(l, {14, 6, 46, 6, 48, 62, 12, 62}, wood);
        fillRect(l, 16, 8, 28, 6, trim.mid);
        fillRect(l, 18, 9, 24, 4, rgb(0xFFE070));
        fillRect(l, 17, 17, 26, static_cast<int>(14 - gape * 0.3f), rgb(0x101830));
        fillRect(l, 13, 60, 36, 2, wood.dark);
    });
    part(c, [&](Image& l) {
        // The screen is an eye.
        fillEllipse(l, 30, 24, 7, 4 - f * 0.5f, rgb(0xFFFFFF));
        fillEllipse(l, 33, 24, 3, 3 - f * 0.5f, rgb(0xE02040));
        drawLine(l, 20, 18, 28, 21, 1.5f, trim.light);
        drawLine(l, 40, 18, 33, 21, 1.5f, trim.light);
    });
    part(c, [&](Image& l) {
        // The control deck is a jaw of teeth that opens.
        fillRect(l, 14, static_cast<int>(33), 34, static_cast<int>(6 + gape), rgb(0x400818));
        fillEllipse(l, 31, 38 + gape * 0.6f, 7, 2 + gape * 0.3f, rgb(0xE04870));
        for (int i = 0; i < 6; ++i) {
            fillPolygon(l, {15.0f + i * 5.5f, 33, 20.0f + i * 5.5f, 33, 17.5f + i * 5.5f, 37}, rgb(0xF4F0E0));
            fillPolygon(
                l, {15.0f + i * 5.5f, 39 + gape, 20.0f + i * 5.5f, 39 + gape, 17.5f + i * 5.5f, 35 + gape},
                rgb(0xF4F0E0));
        }
        shadedRect(l, 16, static_cast<int>(40 + gape), 30, static_cast<int>(5), wood);
        fillEllipse(l, 24, 42 + gape, 2, 2, rgb(0xFF4040));
        fillEllipse(l, 36, 42 + gape, 2, 2, rgb(0x40E040));
    });
}

void cart(Image& c, int f) {
    const Ramp metal = rampOf(0xB8C4D8);
    const Ramp handle = rampOf(0xE04848);
    // Rattling over the floor: the basket jolts while the wheels turn.
    const int jolt = f == 1 ? -2 : (f == 2 ? -1 : 0);
    Image basket(c.width, c.height);
    part(basket, [&](Image& l) {
        drawLine(l, 6, 18, 14, 20, 3, handle.mid);
        shadedPolygon(l, {12, 20, 58, 20, 52, 44, 18, 44}, metal);
        for (int i = 0; i < 6; ++i) {
            drawLine(l, 18.0f + i * 7, 22, 21.0f + i * 6, 42, 1, metal.dark);
        }
        drawLine(l, 14, 30, 56, 30, 1, metal.dark);
        drawLine(l, 18, 44, 22, 52, 2, metal.dark);
        drawLine(l, 50, 44, 48, 52, 2, metal.dark);
        fillRect(l, 18, 51, 34, 2, metal.dark);
    });
    part(basket, [&](Image& l) {
        // Groceries piled up, with angry eyes peeking out.
        shadedRoundRect(l, 22, 10, 10, 12, 2, rampOf(0xE8C058));
        shadedRoundRect(l, 34, 6, 8, 16, 2, rampOf(0x58A8E8));
        shadedEllipse(l, 48, 17, 6, 5, rampOf(0x78D050));
        drawEyes(l, 35, 27, 11, 3, f == 2 ? 30.0f : 60.0f, true);
    });
    blit(c, basket, 0, jolt);
    part(c, [&](Image& l) {
        for (int w = 0; w < 2; ++w) {
            float wx = w == 0 ? 22.0f : 48.0f;
            shadedEllipse(l, wx, 57, 4.5f, 4.5f, rampOf(0x40404C));
            float a = f * 2 * PI / 3;
            drawLine(l, wx - 3 * std::cos(a), 57 - 3 * std::sin(a), wx + 3 * std::cos(a),
                     57 + 3 * std::sin(a), 1, rgb(0xC0C0D0));
        }
    });
}

void caretaker(Image& c, int f) {
    const Ramp coat = rampOf(0x5E5A48);
    const Ramp skin = rampOf(0xC8C8B0);
    float step = (f - 1) * 4.0f;
    part(c, [&](Image& l) {
        shadedLimb(l, 26, 46, 24 - step, 61, 6, rampOf(0x3A3640));
        shadedLimb(l, 32, 46, 34 + step, 61, 6, rampOf(0x3A3640));
    });
    part(c, [&](Image& l) {
        // A hunched, long-coated old keeper.
        shadedPolygon(l, {20, 22, 36, 18, 42, 30, 40, 50, 18, 50, 16, 34}, coat);
        for (int i = 0; i < 3; ++i) {
            l.set(36, 30 + i * 6, rgb(0xD0B060));
        }
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 38, 15, 7, 7, skin);
        fillRect(l, 32, 8, 12, 3, rampOf(0x2A2A30).mid);
        fillRect(l, 30, 10, 16, 2, rampOf(0x2A2A30).dark);
        fillRect(l, 40, 14, 3, 2, rgb(0xFFE090));
        drawLine(l, 38, 20, 44, 19, 1, INK);
    });
    // Lantern swinging from the front hand, broom over the back.
    part(c, [&](Image& l) {
        drawLine(l, 18, 12, 14, 58, 2, rgb(0x8A6A40));
        fillPolygon(l, {10, 56, 18, 56, 20, 62, 8, 62}, rgb(0xC8A050));
    });
    part(c, [&](Image& l) {
        float sway = (f - 1) * 3.0f;
        shadedLimb(l, 36, 27, 48, 36, 5, coat);
        drawLine(l, 48, 36, 50 + sway, 40, 1, INK);
        shadedRoundRect(l, static_cast<int>(46 + sway), 40, 8, 10, 2, rampOf(0x8A7038));
        fillRect(l, static_cast<int>(48 + sway), 42, 4, 6, rgb(0xFFD860));
    });
}

} // namespace

bool paintEnemySprite(std::string_view name, Image& cell) {
    struct Family {
        std::string_view prefix;
        void (*paint)(Image&, int);
    };
    static constexpr Family FAMILIES[] = {
        {"zombie_", zombie},   {"slender_", slender},     {"cat_", cat},       {"spitter_", spitter},
        {"armored_", armored}, {"drone_", drone},         {"turret_", turret}, {"mimic_", mimic},
        {"cart_", cart},       {"caretaker_", caretaker},
    };
    for (const Family& family : FAMILIES) {
        if (name.size() == family.prefix.size() + 1 &&
            name.substr(0, family.prefix.size()) == family.prefix) {
            family.paint(cell, frameOf(name));
            return true;
        }
    }
    return false;
}

} // namespace grumbo::forge
