#include "sprites.h"

#include <cmath>
#include <string>

namespace grumbo::forge {

namespace {

constexpr float PI = 3.14159265f;

void gift(Image& c) {
    part(c, [](Image& l) {
        shadedRect(l, 10, 26, 44, 32, rampOf(0x8A4AE0));
        shadedRect(l, 7, 18, 50, 11, rampOf(0xA060F0));
        fillRect(l, 28, 18, 8, 40, rgb(0xB3FF67));
        fillRect(l, 28, 18, 3, 40, rgb(0xE0FFB0));
    });
    part(c, [](Image& l) {
        shadedEllipse(l, 24, 13, 8, 6, rampOf(0xB3FF67));
        shadedEllipse(l, 40, 13, 8, 6, rampOf(0xB3FF67));
        shadedEllipse(l, 32, 16, 4, 4, rampOf(0x8AE040));
    });
}

void ipPacket(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 6, 16, 52, 32, 5, rampOf(0x1E5A8A));
        fillRect(l, 10, 20, 44, 24, rgb(0x0A1830));
        drawText(l, 14, 24, "IP", 3, rgb(0x82EDFF));
        for (int i = 0; i < 4; ++i) {
            fillRect(l, 12 + i * 11, 46, 6, 4, rgb(0xFFCB66));
        }
        fillRect(l, 48, 23, 3, 3, rgb(0xB3FF67));
    });
}

void waterDrop(Image& c) {
    part(c, [](Image& l) {
        shadedEllipse(l, 32, 38, 17, 17, rampOf(0x3AA8F0));
        shadedPolygon(l, {32, 6, 47, 30, 17, 30}, rampOf(0x3AA8F0));
        fillEllipse(l, 32, 38, 15, 15, rgb(0x3AA8F0));
        fillPolygon(l, {32, 9, 45, 31, 19, 31}, rgb(0x3AA8F0));
        fillEllipse(l, 37, 44, 9, 8, rampOf(0x3AA8F0).dark);
        fillEllipse(l, 32, 38, 11, 11, rgb(0x4AB8FF));
        fillEllipse(l, 25, 32, 4, 6, rgb(0xD8F4FF));
        fillEllipse(l, 27, 44, 2, 2, rgb(0xD8F4FF));
    });
}

void spinner(Image& c) {
    const Ramp body = rampOf(0xFF5FA8);
    part(c, [&](Image& l) {
        for (int i = 0; i < 3; ++i) {
            float a = i * 2 * PI / 3 - PI / 2;
            shadedLimb(l, 32, 32, 32 + 16 * std::cos(a), 32 + 16 * std::sin(a), 12, body);
        }
        for (int i = 0; i < 3; ++i) {
            float a = i * 2 * PI / 3 - PI / 2;
            shadedEllipse(l, 32 + 18 * std::cos(a), 32 + 18 * std::sin(a), 10, 10, body);
            fillEllipse(l, 32 + 18 * std::cos(a), 32 + 18 * std::sin(a), 5, 5, rgb(0x404050));
            fillEllipse(l, 31 + 18 * std::cos(a), 31 + 18 * std::sin(a), 2, 2, rgb(0xC0C0D0));
        }
        shadedEllipse(l, 32, 32, 7, 7, rampOf(0xF0F0FA));
    });
}

void hotdog(Image& c) {
    part(c, [](Image& l) { shadedRoundRect(l, 6, 28, 52, 18, 9, rampOf(0xE8A860)); });
    part(c, [](Image& l) {
        shadedRoundRect(l, 3, 24, 58, 11, 5, rampOf(0xC8503A));
        for (int i = 0; i < 6; ++i) {
            float x = 10 + i * 8.0f;
            drawLine(l, x, 27, x + 4, 31, 1.5f, rgb(0xFFE040));
            drawLine(l, x + 4, 31, x + 8, 27, 1.5f, rgb(0xFFE040));
        }
    });
    part(c, [](Image& l) { shadedRoundRect(l, 8, 34, 48, 14, 7, rampOf(0xF0B870)); });
}

void burger(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 8, 42, 48, 10, 4, rampOf(0xE0A050));
        shadedRoundRect(l, 6, 34, 52, 9, 4, rampOf(0x7A4428));
        fillPolygon(l, {6, 32, 58, 32, 54, 38, 46, 34, 38, 39, 30, 34, 22, 39, 14, 34, 10, 38},
                    rgb(0xFFD040));
        fillRect(l, 6, 30, 52, 3, rgb(0x6AD040));
    });
    part(c, [](Image& l) {
        shadedEllipse(l, 32, 26, 26, 14, rampOf(0xEBA655));
        fillRect(l, 5, 28, 54, 3, 0);
        for (int i = 0; i < 7; ++i) {
            fillEllipse(l, 16 + i * 5.0f, 17 + (i % 2) * 3.0f, 1.2f, 0.8f, rgb(0xFFF4D0));
        }
    });
}

void burrito(Image& c) {
    part(c, [](Image& l) {
        shadedLimb(l, 12, 44, 50, 22, 24, rampOf(0xEED49A));
        for (int i = 0; i < 4; ++i) {
            drawLine(l, 18.0f + i * 9, 46.0f - i * 5, 24.0f + i * 9, 30.0f - i * 5, 1, rampOf(0xEED49A).dark);
        }
    });
    part(c, [](Image& l) {
        shadedEllipse(l, 50, 22, 9, 9, rampOf(0x8A5A30));
        fillEllipse(l, 48, 20, 3, 3, rgb(0x6AD040));
        fillEllipse(l, 53, 24, 3, 2, rgb(0xE04030));
        fillEllipse(l, 49, 26, 2, 2, rgb(0xFFE060));
    });
}

void creatine(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 14, 16, 36, 44, 5, rampOf(0xF0F0F8));
        shadedRoundRect(l, 12, 8, 40, 10, 3, rampOf(0x3A3A4A));
        fillRect(l, 14, 28, 36, 18, rgb(0xE83A5A));
        drawText(l, 20, 30, "CR", 2, rgb(0xFFFFFF));
        fillRect(l, 18, 49, 28, 2, rgb(0xB0B0C0));
    });
}

void subscriber(Image& c) {
    part(c, [](Image& l) {
        shadedEllipse(l, 32, 32, 26, 26, rampOf(0x6ACD3A));
        fillEllipse(l, 32, 32, 20, 20, rgb(0xB3FF67));
        fillEllipse(l, 34, 34, 17, 17, rampOf(0x6ACD3A).mid);
        fillEllipse(l, 32, 32, 17, 17, rgb(0x94E85A));
        fillPolygon(l, {26, 20, 26, 44, 45, 32}, rgb(0xF8FFF0));
        fillEllipse(l, 20, 18, 4, 3, rgb(0xF8FFF0));
    });
}

void checkpointFlag(Image& c) {
    part(c, [](Image& l) {
        shadedRect(l, 14, 6, 4, 54, rampOf(0x99B5C6));
        shadedRoundRect(l, 8, 56, 16, 6, 2, rampOf(0x5A6A78));
    });
    part(c, [](Image& l) {
        std::vector<float> flag;
        for (int i = 0; i <= 8; ++i) {
            flag.push_back(18 + i * 4.5f);
            flag.push_back(8 + 3 * std::sin(i * 0.8f));
        }
        for (int i = 8; i >= 0; --i) {
            flag.push_back(18 + i * 4.5f);
            flag.push_back(30 + 3 * std::sin(i * 0.8f));
        }
        shadedPolygon(l, flag, rampOf(0x8AE04A));
        fillPolygon(l, {28, 14, 28, 26, 38, 20}, rgb(0xF8FFF0));
    });
}

void exitGate(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 8, 4, 48, 58, 8, rampOf(0x4A4A6A));
        fillRect(l, 14, 12, 36, 50, rgb(0x10102A));
        for (int y = 12; y < 62; ++y) {
            float t = (y - 12) / 50.0f;
            fillRect(l, 16, y, 32, 1, mix(rgb(0xB3FF67), rgb(0x2A8AFF), t));
        }
        fillEllipse(l, 32, 36, 9, 12, rgb(0xF0FFF0));
        fillPolygon(l, {28, 28, 28, 44, 38, 36}, rgb(0x3A8A2A));
        fillRect(l, 12, 4, 40, 5, rgb(0xFF4060));
        drawText(l, 18, -1 + 4, "LIVE", 1, rgb(0xFFFFFF));
    });
}

void banHammer(Image& c) {
    part(c, [](Image& l) {
        shadedLimb(l, 14, 56, 36, 26, 7, rampOf(0x9A6A3A));
        fillRect(l, 10, 54, 8, 6, rampOf(0x5A3A1A).mid);
    });
    part(c, [](Image& l) {
        std::vector<float> head = {22, 14, 44, 2, 60, 24, 38, 38};
        shadedPolygon(l, head, rampOf(0x9AA4B8));
        fillPolygon(l, {30, 18, 44, 10, 52, 24, 38, 32}, rgb(0xE83A4A));
        drawLine(l, 34, 22, 46, 20, 1.5f, rgb(0xFFFFFF));
        drawLine(l, 36, 27, 48, 23, 1.5f, rgb(0xFFFFFF));
    });
}

void raidRocket(Image& c) {
    part(c, [](Image& l) {
        fillPolygon(l, {8, 24, 4, 32, 8, 40, 16, 32}, rgb(0xFFB040));
        fillPolygon(l, {12, 28, 10, 32, 12, 36, 18, 32}, rgb(0xFFF0A0));
    });
    part(c, [](Image& l) {
        shadedPolygon(l, {16, 20, 26, 26, 26, 38, 16, 44}, rampOf(0xC83A5A));
        shadedRoundRect(l, 18, 24, 32, 16, 6, rampOf(0xE8E8F4));
        shadedPolygon(l, {48, 24, 60, 32, 48, 40}, rampOf(0xC83A5A));
        fillEllipse(l, 38, 32, 4, 4, rgb(0x3A8AE8));
        fillEllipse(l, 37, 31, 1.5f, 1.5f, rgb(0xD0F0FF));
        fillRect(l, 24, 30, 6, 4, rgb(0x7B3FD0));
    });
}

void snackShotgun(Image& c) {
    part(c, [](Image& l) {
        shadedPolygon(l, {14, 8, 50, 8, 54, 56, 10, 56}, rampOf(0xF0A030));
        fillPolygon(l, {14, 8, 50, 8, 48, 14, 16, 14}, rgb(0xE83A3A));
        fillPolygon(l, {12, 50, 52, 50, 54, 56, 10, 56}, rgb(0xE83A3A));
        shadedEllipse(l, 32, 32, 13, 11, rampOf(0xE83A3A));
        drawText(l, 21, 28, "CHIP", 1, rgb(0xFFF4C0));
    });
    part(c, [](Image& l) {
        fillPolygon(l, {46, 10, 58, 4, 56, 16}, rgb(0xF2C040));
        fillPolygon(l, {4, 16, 14, 10, 12, 22}, rgb(0xF2C040));
    });
}

void rgbLaser(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 6, 22, 40, 16, 5, rampOf(0x3A3A52));
        shadedPolygon(l, {12, 36, 24, 36, 20, 54, 10, 54}, rampOf(0x3A3A52));
        shadedRoundRect(l, 44, 26, 16, 8, 2, rampOf(0x5A5A72));
        fillRect(l, 10, 26, 10, 3, rgb(0xFF4060));
        fillRect(l, 20, 26, 10, 3, rgb(0x40FF80));
        fillRect(l, 30, 26, 10, 3, rgb(0x4080FF));
        fillEllipse(l, 58, 30, 3, 3, rgb(0xFE83E8));
    });
}

void receiptCannon(Image& c) {
    part(c, [](Image& l) {
        std::vector<float> strip;
        for (int i = 0; i <= 10; ++i) {
            strip.push_back(10 + i * 4.6f + 2 * std::sin(i * 0.9f));
            strip.push_back(6 + i * 5.0f);
        }
        for (int i = 10; i >= 0; --i) {
            strip.push_back(24 + i * 4.6f + 2 * std::sin(i * 0.9f));
            strip.push_back(6 + i * 5.0f - 4);
        }
        shadedPolygon(l, strip, rampOf(0xF4F2EA));
        for (int i = 1; i < 9; ++i) {
            drawLine(l, 14 + i * 4.6f, 8 + i * 5.0f, 22 + i * 4.6f, 6 + i * 5.0f, 1, rgb(0x8A8A9A));
        }
    });
    part(c, [](Image& l) {
        shadedRoundRect(l, 4, 2, 22, 14, 4, rampOf(0x3A3A4A));
        fillRect(l, 8, 6, 14, 3, rgb(0xB3FF67));
    });
}

void oneByOne(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 8, 8, 48, 48, 6, rampOf(0xFFCB66));
        fillRect(l, 14, 14, 36, 36, rgb(0x2A1A40));
        drawText(l, 18, 21, "1", 3, rgb(0xFFE395));
        drawText(l, 36, 27, "1", 2, rgb(0xB3FF67));
        drawLine(l, 30, 40, 36, 24, 1.5f, rgb(0xFFFFFF));
    });
}

void shield(Image& c) {
    part(c, [](Image& l) {
        shadedPolygon(l, {10, 10, 32, 4, 54, 10, 52, 34, 32, 60, 12, 34}, rampOf(0x4A9AF0));
        fillPolygon(l, {18, 15, 32, 11, 46, 15, 44, 32, 32, 50, 20, 32}, rgb(0x79CFFF));
        fillPolygon(l, {24, 20, 32, 17, 32, 42, 25, 31}, rgb(0xD8F4FF));
    });
}

void energy(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 18, 8, 28, 52, 5, rampOf(0x2A2A3A));
        fillRect(l, 20, 8, 24, 4, rgb(0xC0C0D0));
        fillPolygon(l, {34, 16, 24, 36, 32, 36, 28, 54, 42, 30, 34, 30, 38, 16}, rgb(0x6BE3FF));
        fillPolygon(l, {34, 18, 27, 34, 32, 34}, rgb(0xE0FFFF));
    });
}

void protein(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 16, 18, 32, 42, 6, rampOf(0xF4E8D8));
        shadedRoundRect(l, 20, 6, 24, 14, 4, rampOf(0xE85A8A));
        fillRect(l, 16, 32, 32, 14, rgb(0x6A3A2A));
        drawText(l, 21, 36, "PRO", 1, rgb(0xFFFFFF));
    });
}

void magnet(Image& c) {
    part(c, [](Image& l) {
        for (int i = 0; i <= 24; ++i) {
            float a = PI * i / 24;
            shadedEllipse(l, 32 - 16 * std::cos(a), 30 + 16 * std::sin(a), 7, 7, rampOf(0xE83A3A));
        }
        shadedRect(l, 9, 8, 14, 22, rampOf(0xE83A3A));
        shadedRect(l, 41, 8, 14, 22, rampOf(0xE83A3A));
        shadedRect(l, 9, 6, 14, 8, rampOf(0xE8E8F0));
        shadedRect(l, 41, 6, 14, 8, rampOf(0xE8E8F0));
    });
}

void nachos(Image& c) {
    part(c, [](Image& l) { shadedEllipse(l, 32, 48, 28, 10, rampOf(0xD84A3A)); });
    part(c, [](Image& l) {
        Rng rng{311};
        for (int i = 0; i < 8; ++i) {
            float x = 12 + i * 5.5f;
            float y = 36 - (i % 3) * 6.0f;
            fillPolygon(l, {x, y + 14, x + 12, y + 14, x + 6 + rng.range(-3, 3), y}, rgb(0xF2C040));
        }
        for (int i = 0; i < 5; ++i) {
            fillEllipse(l, 16 + i * 8.0f, 38 + (i % 2) * 3.0f, 4, 2.5f, rgb(0xFFE060));
        }
        fillEllipse(l, 24, 34, 2, 2, rgb(0x4AB040));
        fillEllipse(l, 40, 36, 2, 2, rgb(0x4AB040));
    });
}

void soup(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 14, 10, 36, 48, 3, rampOf(0xE8E8F0));
        fillRect(l, 14, 22, 36, 24, rgb(0xD8283A));
        fillRect(l, 14, 22, 36, 3, rgb(0xF0F0F8));
        drawText(l, 18, 29, "SOUP", 1, rgb(0xFFFFFF));
        fillEllipse(l, 32, 42, 4, 2, rgb(0xFFD050));
        fillRect(l, 14, 10, 36, 3, rgb(0xB0B0C0));
    });
}

void flashlight(Image& c) {
    part(c, [](Image& l) {
        shadedRoundRect(l, 6, 26, 36, 14, 4, rampOf(0x3A3A4A));
        shadedPolygon(l, {40, 22, 52, 18, 52, 48, 40, 44}, rampOf(0xFFCB66));
        fillRect(l, 52, 20, 4, 26, rgb(0xFFF6C0));
        fillRect(l, 18, 29, 6, 3, rgb(0xE83A3A));
    });
}

struct Item {
    std::string_view name;
    void (*paint)(Image&);
};

constexpr Item ITEMS[] = {
    {"gift", gift},
    {"ip", ipPacket},
    {"water", waterDrop},
    {"spinner", spinner},
    {"hotdog", hotdog},
    {"burger", burger},
    {"burrito", burrito},
    {"creatine", creatine},
    {"subscriber", subscriber},
    {"checkpoint", checkpointFlag},
    {"exit", exitGate},
    {"weapon_hammer", banHammer},
    {"weapon_raid", raidRocket},
    {"weapon_snack", snackShotgun},
    {"weapon_rgb", rgbLaser},
    {"weapon_receipt", receiptCannon},
    {"weapon_onebyone", oneByOne},
    {"power_shield", shield},
    {"power_energy", energy},
    {"power_protein", protein},
    {"power_magnet", magnet},
    {"power_nachos", nachos},
    {"power_soup", soup},
    {"power_flashlight", flashlight},
};

} // namespace

bool paintItemSprite(std::string_view name, Image& cell) {
    for (const Item& item : ITEMS) {
        if (item.name == name) {
            item.paint(cell);
            return true;
        }
    }
    return false;
}

} // namespace grumbo::forge
