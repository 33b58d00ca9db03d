// Light effects the game tints as it draws them: a soft round glow and a
// flame tongue, both white so one picture serves every colour.

#include "sprites.h"

#include <algorithm>
#include <cmath>

namespace grumbo::forge {

namespace {

Colour whiteWithAlpha(float alpha) {
    const auto a = static_cast<std::uint32_t>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
    return (a << 24) | 0xFFFFFFu;
}

} // namespace

Image buildGlow(int size) {
    Image glow(size, size);
    const float centre = static_cast<float>(size) * 0.5f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - centre) / centre;
            const float dy = (static_cast<float>(y) + 0.5f - centre) / centre;
            const float r = std::min(std::sqrt(dx * dx + dy * dy), 1.0f);
            // A bright middle that fades smoothly to nothing at the rim, so the
            // glow has no edge against any backdrop.
            const float falloff = (1 - r) * (1 - r);
            glow.set(x, y, whiteWithAlpha(falloff * (0.55f + 0.45f * (1 - r))));
        }
    }
    return glow;
}

Image buildFlame(int width, int height) {
    // Three tongues rise from one body: a tall one in the middle and two
    // shorter ones leaning out, each full near the base and curling to a tip.
    struct Tongue {
        float centre;
        float tall;
        float wide;
        float lean;
    };
    const Tongue tongues[3] = {
        {0.0f, 1.0f, 0.62f, 0.10f}, {-0.38f, 0.68f, 0.48f, -0.30f}, {0.36f, 0.8f, 0.5f, 0.26f}};
    Image flame(width, height);
    const float half = static_cast<float>(width) * 0.5f;
    for (int y = 0; y < height; ++y) {
        // v runs from 0 at the base to 1 at the top of the picture.
        const float v = 1 - (static_cast<float>(y) + 0.5f) / static_cast<float>(height);
        for (int x = 0; x < width; ++x) {
            const float u = (static_cast<float>(x) + 0.5f - half) / half;
            float alpha = 0;
            for (const Tongue& tongue : tongues) {
                const float t = v / tongue.tall;
                if (t >= 1) {
                    continue;
                }
                // Round below, narrowing into a curled point above.
                const float reach = tongue.wide *
                                    std::sqrt(std::sin(3.14159265f * (0.18f + 0.82f * (1 - t)) * 0.5f)) *
                                    std::pow(1 - t, 0.45f);
                const float middle = tongue.centre * std::min(1.0f, t * 1.6f) + tongue.lean * t * t;
                const float across = std::fabs(u - middle) / reach;
                if (across < 1) {
                    alpha = std::max(alpha, (1 - across * across) * (1 - 0.35f * t));
                }
            }
            if (alpha > 0) {
                flame.set(x, y, whiteWithAlpha(std::pow(alpha, 0.6f)));
            }
        }
    }
    return flame;
}

} // namespace grumbo::forge
