#include "sprites.h"

#include <cmath>
#include <string>

namespace grumbo::forge {

namespace {

constexpr float PI = 3.14159265f;

const Ramp HOODIE = rampOf(0x7B3FD0);
const Ramp HOODIE_DEEP = rampOf(0x55289A);
const Ramp JEANS = rampOf(0x34406E);
const Ramp SKIN = rampOf(0xF2B38A);
const Ramp HAIR = rampOf(0x5A3522);
const Ramp HEADSET = rampOf(0x3A3F4E);
const Ramp SHOE = rampOf(0xE9E6F2);

// One pose of the streamer: everything the frames vary.
struct Pose {
    float bob = 0;  // whole body vertical offset
    float lean = 0; // head and torso lean forward (+) or back (-)
    float frontFootX = 0, frontFootY = 0;
    float backFootX = 0, backFootY = 0;
    float frontHandX = 0, frontHandY = 0;
    float backHandX = 0, backHandY = 0;
    bool hurt = false;
    bool mouthOpen = false;
};

void drawLeg(Image& cell, float hipX, float hipY, float footX, float footY) {
    part(cell, [&](Image& l) {
        float kneeX = (hipX + footX) * 0.5f + 2.0f;
        float kneeY = (hipY + footY) * 0.5f;
        shadedLimb(l, hipX, hipY, kneeX, kneeY, 8, JEANS);
        shadedLimb(l, kneeX, kneeY, footX, footY - 2, 7, JEANS);
    });
    part(cell, [&](Image& l) {
        shadedRoundRect(l, static_cast<int>(footX) - 4, static_cast<int>(footY) - 4, 11, 5, 2, SHOE);
        fillRect(l, static_cast<int>(footX) - 4, static_cast<int>(footY), 11, 1, rgb(0xC8384E));
    });
}

void drawArm(Image& cell, float shoulderX, float shoulderY, float handX, float handY, const Ramp& sleeve) {
    part(cell, [&](Image& l) {
        float elbowX = (shoulderX + handX) * 0.5f - 1.0f;
        float elbowY = (shoulderY + handY) * 0.5f + 1.5f;
        shadedLimb(l, shoulderX, shoulderY, elbowX, elbowY, 8, sleeve);
        shadedLimb(l, elbowX, elbowY, handX, handY, 7, sleeve);
    });
    part(cell, [&](Image& l) { shadedEllipse(l, handX, handY, 3.2f, 3.2f, SKIN); });
}

void drawStreamer(Image& cell, const Pose& p) {
    const float b = p.bob;
    const float hipY = 44 + b;
    // Far limbs first so the body covers their roots.
    drawArm(cell, 27 + p.lean * 0.5f, 33 + b, p.backHandX, p.backHandY + b, HOODIE_DEEP);
    drawLeg(cell, 28, hipY, p.backFootX, p.backFootY);
    drawLeg(cell, 35, hipY, p.frontFootX, p.frontFootY);

    // Stocky hoodie torso with a kangaroo pocket and drawstrings.
    part(cell, [&](Image& l) {
        float tx = 16 + p.lean;
        std::vector<float> torso = {tx + 4,  28 + b, tx + 28, 28 + b, tx + 31, 40 + b,
                                    tx + 29, 48 + b, tx + 1,  48 + b, tx,      38 + b};
        shadedPolygon(l, torso, HOODIE);
        fillRect(l, static_cast<int>(tx + 10), static_cast<int>(40 + b), 14, 5, HOODIE.dark);
        fillRect(l, static_cast<int>(tx + 10), static_cast<int>(40 + b), 14, 1, shade(HOODIE.dark, 0.8f));
        fillRect(l, static_cast<int>(tx + 2), static_cast<int>(46 + b), 28, 2, HOODIE_DEEP.mid);
        drawLine(l, tx + 20, 30 + b, tx + 19, 37 + b, 1, rgb(0xF0E8FF));
        drawLine(l, tx + 24, 30 + b, tx + 24, 36 + b, 1, rgb(0xF0E8FF));
        // The channel logo: a small green play mark on the chest.
        fillPolygon(l, {tx + 9, 32 + b, tx + 9, 38 + b, tx + 14, 35 + b}, rgb(0xB3FF67));
    });

    // Head with hood behind it, hair, headset.
    const float hx = 32 + p.lean * 1.3f;
    const float hy = 19 + b;
    part(cell, [&](Image& l) { shadedEllipse(l, hx - 4, hy + 6, 12, 9, HOODIE_DEEP); });
    part(cell, [&](Image& l) {
        shadedEllipse(l, hx, hy, 11, 11, SKIN);
        // Messy hair cap with a forward tuft.
        shadedPolygon(l,
                      {hx - 11, hy - 1, hx - 9, hy - 9, hx - 2, hy - 12, hx + 6, hy - 11, hx + 12, hy - 6,
                       hx + 9, hy - 5, hx + 4, hy - 6, hx - 3, hy - 5, hx - 8, hy + 1},
                      HAIR);
        // Stubble along the jaw.
        for (int i = 0; i < 6; ++i) {
            l.set(static_cast<int>(hx + 2 + i), static_cast<int>(hy + 8 - (i % 2)), SKIN.dark);
        }
        if (p.hurt) {
            drawLine(l, hx + 3, hy - 3, hx + 7, hy + 1, 1.2f, INK);
            drawLine(l, hx + 7, hy - 3, hx + 3, hy + 1, 1.2f, INK);
            fillEllipse(l, hx + 6, hy + 6, 2.5f, 2.0f, rgb(0x5A1020));
        } else {
            fillRect(l, static_cast<int>(hx + 4), static_cast<int>(hy - 3), 3, 4, rgb(0xFFFFFF));
            fillRect(l, static_cast<int>(hx + 5), static_cast<int>(hy - 2), 2, 3, INK);
            drawLine(l, hx + 2, hy - 5, hx + 8, hy - 6, 1.2f, HAIR.dark);
            if (p.mouthOpen) {
                fillEllipse(l, hx + 6, hy + 5, 2.5f, 2.2f, rgb(0x5A1020));
            } else {
                drawLine(l, hx + 3, hy + 5, hx + 8, hy + 4, 1, rgb(0x8A3A2A));
            }
        }
        // Nose.
        l.set(static_cast<int>(hx + 10), static_cast<int>(hy + 1), SKIN.dark);
        l.set(static_cast<int>(hx + 11), static_cast<int>(hy + 1), SKIN.mid);
    });
    // Headset: band over the hair, ear cup, boom mic to the mouth.
    part(cell, [&](Image& l) {
        for (int a = 0; a <= 60; ++a) {
            float t = PI * (1.05f + 0.9f * a / 60.0f);
            l.set(static_cast<int>(hx - 2 + 11.5f * std::cos(t)),
                  static_cast<int>(hy - 1 + 11.5f * std::sin(t)), HEADSET.light);
            l.set(static_cast<int>(hx - 2 + 12.5f * std::cos(t)),
                  static_cast<int>(hy - 1 + 12.5f * std::sin(t)), HEADSET.mid);
        }
        shadedRoundRect(l, static_cast<int>(hx - 7), static_cast<int>(hy - 3), 7, 9, 2, HEADSET);
        fillRect(l, static_cast<int>(hx - 5), static_cast<int>(hy), 3, 3, HEADSET.dark);
        fillRect(l, static_cast<int>(hx - 4), static_cast<int>(hy + 1), 1, 1, rgb(0x55FF9A));
        drawLine(l, hx - 2, hy + 4, hx + 6, hy + 8, 1.5f, HEADSET.mid);
        fillRect(l, static_cast<int>(hx + 6), static_cast<int>(hy + 7), 3, 2, rgb(0x55FF9A));
    });
    drawArm(cell, 34 + p.lean, 33 + b, p.frontHandX, p.frontHandY + b, HOODIE);
}

Pose runPose(int frame) {
    Pose p;
    float t = 2 * PI * frame / 6.0f;
    p.bob = -std::fabs(std::sin(t)) * 2.0f + 1.0f;
    p.lean = 2;
    float swing = std::cos(t);
    p.frontFootX = 32 + 14 * swing;
    p.frontFootY = 62 - std::max(0.0f, std::sin(t)) * 6;
    p.backFootX = 30 - 14 * swing;
    p.backFootY = 62 - std::max(0.0f, -std::sin(t)) * 6;
    p.frontHandX = 37 - 9 * swing;
    p.frontHandY = 43 - std::fabs(swing) * 2;
    p.backHandX = 26 + 9 * swing;
    p.backHandY = 42 - std::fabs(swing) * 2;
    return p;
}

Pose namedPose(std::string_view name) {
    Pose p;
    if (name == "player_idle") {
        p.frontFootX = 37, p.frontFootY = 62, p.backFootX = 26, p.backFootY = 62;
        p.frontHandX = 40, p.frontHandY = 45, p.backHandX = 23, p.backHandY = 44;
    } else if (name == "player_jump") {
        p.bob = -4, p.lean = 1, p.mouthOpen = true;
        p.frontFootX = 42, p.frontFootY = 53, p.backFootX = 24, p.backFootY = 58;
        p.frontHandX = 46, p.frontHandY = 22, p.backHandX = 20, p.backHandY = 30;
    } else if (name == "player_fall") {
        p.bob = -2, p.lean = -1, p.mouthOpen = true;
        p.frontFootX = 38, p.frontFootY = 62, p.backFootX = 24, p.backFootY = 60;
        p.frontHandX = 47, p.frontHandY = 26, p.backHandX = 17, p.backHandY = 25;
    } else {
        p.bob = 0, p.lean = -4, p.hurt = true;
        p.frontFootX = 36, p.frontFootY = 62, p.backFootX = 22, p.backFootY = 61;
        p.frontHandX = 44, p.frontHandY = 32, p.backHandX = 15, p.backHandY = 33;
    }
    return p;
}

void paintFart(Image& cell, int frame) {
    // A puff that grows, thins and fades across five frames.
    Rng rng{0x9E3779B9u + static_cast<std::uint32_t>(frame) * 7919u};
    float grow = 1.0f + 0.14f * frame;
    float alpha = 1.0f - 0.19f * frame;
    Colour light = withAlpha(rgb(0xE9FF9A), alpha);
    Colour mid = withAlpha(rgb(0xB5DB4E), alpha);
    Colour dark = withAlpha(rgb(0x7C9A2E), alpha);
    Colour edge = withAlpha(rgb(0x3E5418), alpha);
    Image layer(cell.width, cell.height);
    const float blobs[7][3] = {{32, 36, 13}, {20, 38, 9}, {44, 38, 9}, {26, 27, 9},
                               {39, 27, 10}, {32, 44, 8}, {14, 30, 5}};
    for (const auto& blob : blobs) {
        float bx = 32 + (blob[0] - 32) * grow + rng.range(-1, 1);
        float by = 36 + (blob[1] - 36) * grow;
        float r = blob[2] * (1.0f - 0.06f * frame);
        fillEllipse(layer, bx, by, r, r * 0.9f, dark);
        fillEllipse(layer, bx - 1, by - 1, r - 1.5f, r * 0.9f - 1.5f, mid);
        fillEllipse(layer, bx - r * 0.3f, by - r * 0.35f, r * 0.45f, r * 0.35f, light);
    }
    // Later frames break up: punch holes so the cloud dissolves.
    for (int i = 0; i < frame * 9; ++i) {
        int hx = static_cast<int>(rng.range(6, 58));
        int hy = static_cast<int>(rng.range(12, 58));
        fillRect(layer, hx, hy, 2 + frame / 2, 2 + frame / 2, 0);
        for (int yy = hy; yy < hy + 2 + frame / 2; ++yy) {
            for (int xx = hx; xx < hx + 2 + frame / 2; ++xx) {
                layer.set(xx, yy, 0);
            }
        }
    }
    outline(layer, edge);
    // Stink lines over the young cloud.
    if (frame < 3) {
        for (int i = 0; i < 3; ++i) {
            float sx = 22 + 10 * i;
            for (int k = 0; k < 8; ++k) {
                layer.set(static_cast<int>(sx + 2 * std::sin(k * 0.9f + i)), 14 - k + frame * 2,
                          withAlpha(rgb(0xC9E86A), alpha));
            }
        }
    }
    blit(cell, layer, 0, 0);
}

} // namespace

bool paintPlayerSprite(std::string_view name, Image& cell) {
    if (name.rfind("player_run_", 0) == 0) {
        drawStreamer(cell, runPose(name.back() - '0'));
        return true;
    }
    if (name == "player_idle" || name == "player_jump" || name == "player_fall" || name == "player_hurt") {
        drawStreamer(cell, namedPose(name));
        if (name == "player_hurt") {
            // A red flash rim makes the hit frame pop even at small size.
            for (Colour& c : cell.pixels) {
                if (alphaOf(c) != 0) {
                    c = mix(c, rgb(0xFF4060), 0.28f);
                }
            }
        }
        return true;
    }
    if (name.rfind("fart_", 0) == 0 && name.size() == 6) {
        paintFart(cell, name.back() - '0');
        return true;
    }
    return false;
}

} // namespace grumbo::forge
