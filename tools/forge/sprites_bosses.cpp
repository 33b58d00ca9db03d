#include "sprites.h"

#include <cmath>
#include <string>

namespace grumbo::forge {

namespace {

constexpr float PI = 3.14159265f;

// Frame 1 is the windup: every boss shows it with a hot glow and an opened stance.
void windupAura(Image& c, Colour glow) {
    Image aura(c.width, c.height);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            if (alphaOf(c.get(x, y)) != 0) {
                continue;
            }
            bool near = false;
            for (int d = 1; d <= 3 && !near; ++d) {
                near = (c.inside(x + d, y) && alphaOf(c.get(x + d, y))) ||
                       (c.inside(x - d, y) && alphaOf(c.get(x - d, y))) ||
                       (c.inside(x, y + d) && alphaOf(c.get(x, y + d))) ||
                       (c.inside(x, y - d) && alphaOf(c.get(x, y - d)));
            }
            if (near) {
                aura.set(x, y, withAlpha(glow, 0.55f));
            }
        }
    }
    blit(c, aura, 0, 0);
}

void glowEyes(Image& l, float x, float y, float spacing, float r, Colour colour) {
    for (int i = 0; i < 2; ++i) {
        fillEllipse(l, x + i * spacing, y, r + 1.5f, r + 1.5f, withAlpha(colour, 0.4f));
        fillEllipse(l, x + i * spacing, y, r, r, colour);
        fillEllipse(l, x + i * spacing - r * 0.3f, y - r * 0.3f, r * 0.35f, r * 0.35f, rgb(0xFFFFFF));
    }
}

void rootOfAllLag(Image& c, bool windup) {
    const Ramp bark = rampOf(0x6A4A30);
    const Ramp moss = rampOf(0x4ED868);
    part(c, [&](Image& l) {
        for (int i = 0; i < 6; ++i) {
            float bx = 20 + i * 17.0f;
            shadedLimb(l, 64, 100, bx, 124, 9 - (i % 2) * 2, bark);
        }
    });
    part(c, [&](Image& l) {
        shadedPolygon(l, {34, 110, 94, 110, 90, 50, 78, 26, 50, 26, 38, 50}, bark);
        for (int i = 0; i < 5; ++i) {
            drawLine(l, 44.0f + i * 9, 40, 46.0f + i * 8, 104, 1.5f, bark.dark);
        }
    });
    part(c, [&](Image& l) {
        // Branch arms, raised high in the windup.
        float lift = windup ? -22.0f : 0.0f;
        shadedLimb(l, 40, 58, 14, 44 + lift, 9, bark);
        shadedLimb(l, 14, 44 + lift, 8, 28 + lift, 6, bark);
        shadedLimb(l, 88, 58, 114, 44 + lift, 9, bark);
        shadedLimb(l, 114, 44 + lift, 120, 28 + lift, 6, bark);
        fillEllipse(l, 8, 26 + lift, 6, 5, moss.mid);
        fillEllipse(l, 120, 26 + lift, 6, 5, moss.mid);
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 64, 24, 28, 16, moss);
        for (int i = 0; i < 7; ++i) {
            fillEllipse(l, 42 + i * 7.0f, 16 + (i % 2) * 4.0f, 2, 2, rgb(0xE8FF60));
        }
        glowEyes(l, 54, 60, 20, windup ? 6.0f : 5.0f, windup ? rgb(0xFF60FF) : rgb(0x60FFB0));
        fillRect(l, 50, 78, 28, windup ? 12 : 5, rgb(0x1A0A08));
        for (int i = 0; i < 5; ++i) {
            fillRect(l, 52 + i * 5, 78, 3, 3, rgb(0xE8E0C0));
        }
    });
}

void bufferingBrute(Image& c, bool windup) {
    const Ramp skin = rampOf(0x8A8EA8);
    const Ramp jacket = rampOf(0x4A3A6A);
    float stomp = windup ? 6.0f : 0.0f;
    part(c, [&](Image& l) {
        shadedLimb(l, 48, 92, 42 - stomp, 122, 16, rampOf(0x2E3048));
        shadedLimb(l, 80, 92, 86 + stomp, 122, 16, rampOf(0x2E3048));
        shadedRoundRect(l, static_cast<int>(28 - stomp), 116, 24, 10, 3, rampOf(0x1E1E28));
        shadedRoundRect(l, static_cast<int>(76 + stomp), 116, 24, 10, 3, rampOf(0x1E1E28));
    });
    part(c, [&](Image& l) {
        shadedPolygon(l, {24, 40, 104, 40, 96, 98, 32, 98}, jacket);
        fillRect(l, 60, 44, 8, 52, jacket.dark);
    });
    part(c, [&](Image& l) {
        // Huge fists; slammed together overhead in the windup.
        float fy = windup ? 18.0f : 86.0f;
        float fx = windup ? 20.0f : 0.0f;
        shadedLimb(l, 28, 48, 14 + fx, fy, 14, jacket);
        shadedLimb(l, 100, 48, 114 - fx, fy, 14, jacket);
        shadedEllipse(l, 14 + fx, fy, 12, 11, skin);
        shadedEllipse(l, 114 - fx, fy, 12, 11, skin);
    });
    part(c, [&](Image& l) {
        shadedRoundRect(l, 44, 12, 40, 34, 8, skin);
        fillRect(l, 48, 24, 32, 8, rgb(0x101018));
        glowEyes(l, 56, 28, 16, 3, windup ? rgb(0xFF4040) : rgb(0xFFD040));
        fillRect(l, 54, 38, 20, 3, skin.dark);
    });
    // The buffering wheel on its chest.
    part(c, [&](Image& l) {
        fillEllipse(l, 64, 68, 14, 14, rgb(0x101828));
        for (int i = 0; i < 10; ++i) {
            float a = i * PI / 5 + (windup ? PI / 10 : 0.0f);
            fillEllipse(l, 64 + 9 * std::cos(a), 68 + 9 * std::sin(a), 2.2f, 2.2f,
                        mix(rgb(0x203050), rgb(0x68E6FF), i / 9.0f));
        }
    });
}

void tallViewer(Image& c, bool windup) {
    const Ramp suit = rampOf(0x24222E);
    const Ramp face = rampOf(0xECE8F2);
    part(c, [&](Image& l) {
        for (int t = 0; t < 6; ++t) {
            float side = t < 3 ? -1.0f : 1.0f;
            float px = 64, py = 34 + (t % 3) * 8;
            for (int k = 1; k <= 14; ++k) {
                float spread = windup ? 4.2f : 3.0f;
                float nx = 64 + side * k * spread;
                float ny = 34 + (t % 3) * 8 + std::sin(k * 0.6f + t) * 6 - k * (windup ? 1.6f : 0.4f);
                drawLine(l, px, py, nx, ny, 4.0f - k * 0.22f, rgb(0x121018));
                px = nx;
                py = ny;
            }
        }
    });
    part(c, [&](Image& l) {
        shadedLimb(l, 58, 80, 54, 124, 6, suit);
        shadedLimb(l, 70, 80, 74, 124, 6, suit);
        shadedPolygon(l, {50, 24, 78, 24, 76, 84, 52, 84}, suit);
        fillPolygon(l, {60, 24, 68, 24, 64, 42}, rgb(0xF4F4F8));
        fillPolygon(l, {62, 28, 66, 28, 66, 46, 64, 50, 62, 46}, rgb(0xB01830));
        float reach = windup ? 20.0f : 0.0f;
        shadedLimb(l, 52, 28, 40 - reach, 90 - reach * 2, 5, suit);
        shadedLimb(l, 76, 28, 88 + reach, 90 - reach * 2, 5, suit);
        fillEllipse(l, 40 - reach, 92 - reach * 2, 3, 6, face.mid);
        fillEllipse(l, 88 + reach, 92 - reach * 2, 3, 6, face.mid);
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 64, 13, 9, 11, face);
        if (windup) {
            // The blank face tears open into a static-filled void.
            Rng rng{77};
            fillEllipse(l, 65, 15, 4, 6, rgb(0x08060C));
            for (int i = 0; i < 12; ++i) {
                l.set(static_cast<int>(rng.range(62, 68)), static_cast<int>(rng.range(10, 20)),
                      rgb(0xE0E0FF));
            }
        }
    });
}

void captainSplash(Image& c, bool windup) {
    const Ramp body = rampOf(0x2E8AD8);
    const Ramp coat = rampOf(0xC83A3A);
    part(c, [&](Image& l) {
        for (int i = 0; i < 6; ++i) {
            float bx = 30 + i * 13.0f;
            float curl = (i % 2 ? 1.0f : -1.0f) * (windup ? 10.0f : 5.0f);
            shadedLimb(l, bx + 4, 96, bx + curl, 114, 8, body);
            shadedLimb(l, bx + curl, 114, bx + curl * 1.6f + 4, 122, 6, body);
        }
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 64, 70, 34, 32, body);
        for (int i = 0; i < 5; ++i) {
            fillEllipse(l, 44 + i * 10.0f, 92, 3, 3, body.light);
        }
    });
    part(c, [&](Image& l) {
        shadedPolygon(l, {40, 78, 88, 78, 94, 104, 34, 104}, coat);
        for (int i = 0; i < 3; ++i) {
            fillEllipse(l, 64, 84 + i * 7.0f, 2, 2, rgb(0xFFD050));
        }
    });
    part(c, [&](Image& l) {
        // Captain's hat with skull badge.
        shadedPolygon(l, {20, 40, 108, 40, 96, 26, 64, 14, 32, 26}, rampOf(0x242030));
        fillRect(l, 24, 38, 80, 3, rgb(0xFFD050));
        fillEllipse(l, 64, 28, 6, 5, rgb(0xF0F0E0));
        fillRect(l, 61, 27, 2, 2, INK);
        fillRect(l, 66, 27, 2, 2, INK);
    });
    part(c, [&](Image& l) {
        drawEyes(l, 52, 58, 24, 7, 90, true);
        if (windup) {
            fillEllipse(l, 64, 76, 8, 6, rgb(0x201040));
        } else {
            drawLine(l, 54, 74, 74, 72, 2, INK);
        }
    });
    part(c, [&](Image& l) {
        // A brass water cannon under one arm.
        shadedRoundRect(l, 84, 62, 38, 12, 4, rampOf(0xD8A040));
        fillEllipse(l, 122, 68, 4, 7, rgb(0x2A1A10));
        if (windup) {
            fillEllipse(l, 124, 68, 3, 5, rgb(0x9AF0FF));
        }
    });
}

void tileKing(Image& c, bool windup) {
    const Ramp tile = rampOf(0xF0D090);
    const Ramp gold = rampOf(0xF2C040);
    part(c, [&](Image& l) {
        shadedLimb(l, 46, 104, 42, 124, 7, rampOf(0x4A2E22));
        shadedLimb(l, 82, 104, 86, 124, 7, rampOf(0x4A2E22));
        float lift = windup ? -30.0f : 0.0f;
        shadedLimb(l, 22, 70, 6, 90 + lift, 7, rampOf(0x4A2E22));
        shadedLimb(l, 106, 70, 122, 90 + lift, 7, rampOf(0x4A2E22));
        drawLine(l, 122, 94 + lift, 122, 44 + lift, 3, gold.mid);
        fillEllipse(l, 122, 42 + lift, 5, 5, rgb(0xE04080));
    });
    part(c, [&](Image& l) {
        shadedRoundRect(l, 20, 30, 88, 78, 8, tile);
        fillRect(l, 22, 100, 84, 7, shade(tile.dark, 0.85f));
        drawEyes(l, 46, 48, 36, 7, 64, true);
        const int scale = 6;
        for (int row = 0; row < 7; ++row) {
            for (int col = 0; col < 5; ++col) {
                if (glyphPixel('K', col, row)) {
                    fillRect(l, 49 + col * scale, 60 + row * 5, scale, 5, rgb(0x4A1E1A));
                }
            }
        }
        fillRect(l, 94, 92, 3, 6, rgb(0x4A1E1A));
        fillRect(l, 98, 92, 3, 6, rgb(0x4A1E1A));
    });
    part(c, [&](Image& l) {
        shadedPolygon(l, {34, 32, 94, 32, 100, 8, 84, 20, 64, 4, 44, 20, 28, 8}, gold);
        fillEllipse(l, 64, 20, 4, 4, rgb(0xE04080));
        fillEllipse(l, 46, 24, 3, 3, rgb(0x40A0FF));
        fillEllipse(l, 82, 24, 3, 3, rgb(0x40E080));
    });
}

void peakDrone(Image& c, bool windup) {
    const Ramp shell = rampOf(0xD8E8F4);
    const Ramp core = rampOf(0x3A6A9A);
    part(c, [&](Image& l) {
        for (int side = 0; side < 2; ++side) {
            float ax = side == 0 ? 14.0f : 114.0f;
            drawLine(l, 64, 56, ax, 30, 6, core.dark);
            fillEllipse(l, ax, 28, 20, 4, withAlpha(rgb(0xE8F4FF), 0.6f));
            float a = windup ? 0.8f : 0.2f;
            drawLine(l, ax - 18 * std::cos(a), 28, ax + 18 * std::cos(a), 28, 2, rgb(0xFFFFFF));
            fillRect(l, static_cast<int>(ax) - 3, 26, 6, 6, core.mid);
        }
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 64, 64, 38, 26, shell);
        fillRect(l, 30, 70, 68, 4, shell.dark);
        // Snow cap on top.
        fillEllipse(l, 64, 44, 26, 7, rgb(0xFFFFFF));
        fillEllipse(l, 52, 48, 6, 3, rgb(0xFFFFFF));
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 64, 66, 16, 14, core);
        Colour eye = windup ? rgb(0xFF4060) : rgb(0x60E0FF);
        fillEllipse(l, 64, 66, 9, 9, withAlpha(eye, 0.5f));
        fillEllipse(l, 64, 66, 6, 6, eye);
        fillEllipse(l, 61, 63, 2, 2, rgb(0xFFFFFF));
    });
    part(c, [&](Image& l) {
        // Icicle legs and a hanging gun pod.
        for (int i = 0; i < 5; ++i) {
            fillPolygon(l, {40.0f + i * 12, 86, 46.0f + i * 12, 86, 43.0f + i * 12, 98.0f + (i % 2) * 8},
                        rgb(0xBFE8FF));
        }
        shadedRoundRect(l, 54, 88, 20, 14, 4, core);
        fillRect(l, 60, 100, 8, windup ? 16 : 8, core.dark);
    });
}

void overclockedCore(Image& c, bool windup) {
    const Ramp casing = rampOf(0x4A5064);
    part(c, [&](Image& l) {
        shadedPolygon(l, {24, 124, 104, 124, 96, 100, 32, 100}, casing);
        for (int i = 0; i < 6; ++i) {
            fillRect(l, 34 + i * 11, 110, 6, 3, rgb(0xFF8030));
        }
    });
    part(c, [&](Image& l) {
        // Rings around the core, tilted.
        for (int r = 0; r < 2; ++r) {
            float rx = 54 - r * 8.0f;
            for (int i = 0; i < 180; ++i) {
                float a = i * 2 * PI / 180;
                float x = 64 + rx * std::cos(a);
                float y = 56 + rx * 0.3f * std::sin(a) + (r == 0 ? 1 : -1) * rx * 0.25f * std::cos(a);
                fillRect(l, static_cast<int>(x), static_cast<int>(y), 2, 2,
                         r == 0 ? rgb(0x71FF9B) : rgb(0xF776EF));
            }
        }
    });
    part(c, [&](Image& l) {
        Colour hot = windup ? rgb(0xFF4030) : rgb(0x71FF9B);
        fillEllipse(l, 64, 56, 34, 34, withAlpha(hot, 0.25f));
        shadedEllipse(l, 64, 56, 28, 28, rampOf(windup ? 0xFF7040 : 0x40C870));
        fillEllipse(l, 64, 56, 16, 16, mix(hot, rgb(0xFFFFFF), 0.5f));
        fillEllipse(l, 64, 56, 7, 7, rgb(0xFFFFFF));
        drawEyes(l, 54, 48, 20, 4, 80, true);
    });
    part(c, [&](Image& l) {
        // Heat pipes and clamps.
        shadedRoundRect(l, 8, 46, 22, 20, 4, casing);
        shadedRoundRect(l, 98, 46, 22, 20, 4, casing);
        fillRect(l, 12, 52, 14, 3, rgb(windup ? 0xFF5030 : 0xFFB040));
        fillRect(l, 102, 52, 14, 3, rgb(windup ? 0xFF5030 : 0xFFB040));
        shadedLimb(l, 64, 86, 64, 100, 12, casing);
    });
}

void snackzilla(Image& c, bool windup) {
    const Ramp scales = rampOf(0x5FAE3A);
    const Ramp belly = rampOf(0xE8D070);
    part(c, [&](Image& l) {
        shadedLimb(l, 30, 90, 6, 112, 12, scales);
        shadedLimb(l, 6, 112, 4, 100, 8, scales);
        shadedLimb(l, 50, 96, 44, 122, 14, scales);
        shadedLimb(l, 74, 96, 80, 122, 14, scales);
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 60, 78, 30, 30, scales);
        shadedEllipse(l, 68, 84, 18, 20, belly);
        for (int i = 0; i < 4; ++i) {
            drawLine(l, 56, 72.0f + i * 7, 80, 72.0f + i * 7, 1, belly.dark);
        }
        // Dorsal plates shaped like tortilla chips.
        for (int i = 0; i < 5; ++i) {
            float bx = 26 + i * 7.0f;
            float by = 40 + i * 8.0f;
            fillPolygon(l, {bx, by, bx - 10, by + 6, bx - 2, by + 10}, rgb(0xF2B040));
        }
    });
    part(c, [&](Image& l) {
        float jaw = windup ? 14.0f : 4.0f;
        shadedRoundRect(l, 50, 14, 54, 26, 10, scales);
        shadedRoundRect(l, 56, static_cast<int>(38 + jaw - 4), 46, 12, 5, scales);
        fillRect(l, 58, 38, 44, static_cast<int>(jaw), rgb(0x501018));
        for (int i = 0; i < 7; ++i) {
            fillPolygon(l, {60.0f + i * 6, 38, 65.0f + i * 6, 38, 62.5f + i * 6, 43}, rgb(0xFFFFF0));
        }
        drawEyes(l, 72, 24, 16, 5, 110, true);
        fillEllipse(l, 98, 28, 2, 2, scales.dark);
    });
    part(c, [&](Image& l) {
        // Clutching a snack bag.
        shadedRoundRect(l, 84, 66, 22, 28, 3, rampOf(0xE83A3A));
        fillRect(l, 88, 76, 14, 8, rgb(0xFFD050));
        shadedLimb(l, 70, 66, 88, 76, 8, scales);
    });
    if (windup) {
        part(c, [&](Image& l) {
            for (int i = 0; i < 5; ++i) {
                fillPolygon(l,
                            {108.0f + i * 3, 40.0f + i * 4, 118.0f + i * 2, 36.0f + i * 5, 114.0f + i * 2,
                             46.0f + i * 4},
                            rgb(0xF2B040));
            }
        });
    }
}

void cabinetMimic(Image& c, bool windup) {
    const Ramp wood = rampOf(0x6A2A9A);
    const Ramp trim = rampOf(0xFF4FD8);
    float gape = windup ? 18.0f : 6.0f;
    part(c, [&](Image& l) {
        // Joystick arms.
        float lift = windup ? -20.0f : 0.0f;
        shadedLimb(l, 24, 70, 6, 96 + lift, 6, rampOf(0x303040));
        shadedLimb(l, 104, 70, 122, 96 + lift, 6, rampOf(0x303040));
        fillEllipse(l, 6, 94 + lift, 6, 6, rgb(0xE83A3A));
        fillEllipse(l, 122, 94 + lift, 6, 6, rgb(0x3AA8E8));
    });
    part(c, [&](Image& l) {
        shadedPolygon(l, {24, 8, 104, 8, 108, 124, 20, 124}, wood);
        fillRect(l, 28, 12, 72, 14, trim.mid);
        for (int i = 0; i < 6; ++i) {
            fillRect(l, 34 + i * 11, 16, 7, 6, rgb(0xFFE870));
        }
        fillRect(l, 30, 30, 68, 30, rgb(0x0A1028));
    });
    part(c, [&](Image& l) {
        fillEllipse(l, 50, 45, 10, windup ? 9.0f : 6.0f, rgb(0xFFFFFF));
        fillEllipse(l, 78, 45, 10, windup ? 9.0f : 6.0f, rgb(0xFFFFFF));
        fillEllipse(l, 53, 46, 4, 4, rgb(0xE02040));
        fillEllipse(l, 81, 46, 4, 4, rgb(0xE02040));
        drawLine(l, 36, 34, 58, 40, 3, trim.light);
        drawLine(l, 92, 34, 70, 40, 3, trim.light);
    });
    part(c, [&](Image& l) {
        fillRect(l, 24, 64, 80, static_cast<int>(10 + gape), rgb(0x3A0414));
        fillEllipse(l, 64, 72 + gape, 18, 6, rgb(0xE04870));
        for (int i = 0; i < 9; ++i) {
            fillPolygon(l, {26.0f + i * 8.6f, 64, 33.0f + i * 8.6f, 64, 29.5f + i * 8.6f, 72}, rgb(0xF4F0E0));
            fillPolygon(
                l, {26.0f + i * 8.6f, 74 + gape, 33.0f + i * 8.6f, 74 + gape, 29.5f + i * 8.6f, 67 + gape},
                rgb(0xF4F0E0));
        }
        shadedRect(l, 26, static_cast<int>(76 + gape), 76, 10, wood);
        fillRect(l, 56, static_cast<int>(98 + gape * 0.4f), 16, 5, rgb(0x101010));
        drawText(l, 52, static_cast<int>(104 + gape * 0.3f), "25", 1, rgb(0xFFE870));
    });
}

void raidSovereign(Image& c, bool windup) {
    const Ramp cape = rampOf(0x7B3FD0);
    const Ramp gold = rampOf(0xF2C040);
    const Ramp skin = rampOf(0xC8A8F0);
    part(c, [&](Image& l) {
        float spread = windup ? 14.0f : 0.0f;
        shadedPolygon(l, {40, 34, 88, 34, 112 + spread, 124, 16 - spread, 124}, cape);
        fillRect(l, static_cast<int>(18 - spread), 118, static_cast<int>(92 + spread * 2), 5, rgb(0xF0F0FF));
        for (int i = 0; i < 8; ++i) {
            fillRect(l, static_cast<int>(22 - spread + i * (12 + spread / 4)), 119, 3, 3, INK);
        }
    });
    part(c, [&](Image& l) {
        shadedRoundRect(l, 44, 40, 40, 60, 6, rampOf(0x2A2A48));
        fillRect(l, 60, 40, 8, 60, gold.mid);
        fillEllipse(l, 64, 56, 7, 7, rgb(0xB3FF67));
        fillPolygon(l, {61, 52, 61, 60, 68, 56}, rgb(0x204010));
    });
    part(c, [&](Image& l) {
        float raise = windup ? -12.0f : 0.0f;
        shadedLimb(l, 84, 46, 104, 68 + raise, 9, cape);
        fillEllipse(l, 104, 68 + raise, 5, 5, skin.mid);
        drawLine(l, 104, 90 + raise, 108, 20 + raise, 3, gold.dark);
        shadedEllipse(l, 108, 18 + raise, 8, 8, rampOf(0xB3FF67));
        shadedLimb(l, 44, 46, 26, 72, 9, cape);
        fillEllipse(l, 26, 73, 5, 5, skin.mid);
    });
    part(c, [&](Image& l) {
        shadedEllipse(l, 64, 30, 15, 15, skin);
        glowEyes(l, 58, 28, 13, 2.5f, windup ? rgb(0xFF3050) : rgb(0xB3FF67));
        drawLine(l, 57, 38, 71, 38, 2, INK);
        // A beard of subscriber gold.
        fillPolygon(l, {52, 36, 76, 36, 70, 50, 64, 54, 58, 50}, gold.light);
    });
    part(c, [&](Image& l) {
        shadedPolygon(l, {46, 18, 82, 18, 88, 0 + 2, 76, 10, 64, 1, 52, 10, 40, 2}, gold);
        fillEllipse(l, 64, 12, 3, 3, rgb(0xE04080));
        fillEllipse(l, 52, 14, 2, 2, rgb(0x40A0FF));
        fillEllipse(l, 76, 14, 2, 2, rgb(0x40A0FF));
    });
}

} // namespace

bool paintBossSprite(std::string_view name, Image& cell) {
    if (name.substr(0, 5) != "boss_" || name.size() < 8) {
        return false;
    }
    std::string digits(name.substr(5, name.size() - 7));
    int index = std::stoi(digits) - 1;
    bool windup = name.back() == '1';
    using Painter = void (*)(Image&, bool);
    static constexpr Painter BOSSES[10] = {rootOfAllLag, bufferingBrute, tallViewer,      captainSplash,
                                           tileKing,     peakDrone,      overclockedCore, snackzilla,
                                           cabinetMimic, raidSovereign};
    static constexpr Colour GLOWS[10] = {0xFFB3FF67, 0xFFFF6E8D, 0xFFE0E0FF, 0xFF68E6FF, 0xFFFFCB66,
                                         0xFFFF4060, 0xFFF776EF, 0xFFFFAB70, 0xFFFC76DB, 0xFFFFE395};
    if (index < 0 || index > 9) {
        return false;
    }
    BOSSES[index](cell, windup);
    if (windup) {
        windupAura(cell, GLOWS[index]);
    }
    return true;
}

} // namespace grumbo::forge
