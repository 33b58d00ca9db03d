#include "image.h"

#include <algorithm>
#include <cmath>

namespace grumbo::forge {

namespace {

int channel(Colour c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

Colour pack(int a, int r, int g, int b) {
    auto clamp8 = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return (clamp8(a) << 24) | (clamp8(r) << 16) | (clamp8(g) << 8) | clamp8(b);
}

// Tone index 0 light, 1 mid, 2 dark from a signed position along the light direction.
Colour toneAt(const Ramp& ramp, float along) {
    if (along < -0.32f) {
        return ramp.light;
    }
    if (along > 0.38f) {
        return ramp.dark;
    }
    return ramp.mid;
}

} // namespace

Colour mix(Colour a, Colour b, float t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return pack(lerp(channel(a, 24), channel(b, 24)), lerp(channel(a, 16), channel(b, 16)),
                lerp(channel(a, 8), channel(b, 8)), lerp(channel(a, 0), channel(b, 0)));
}

Colour shade(Colour c, float factor) {
    auto scale = [factor](int v) { return static_cast<int>(std::lround(v * factor)); };
    return pack(channel(c, 24), scale(channel(c, 16)), scale(channel(c, 8)), scale(channel(c, 0)));
}

Colour withAlpha(Colour c, float alpha) {
    return (c & 0xFFFFFFu) |
           (static_cast<std::uint32_t>(std::clamp(alpha, 0.0f, 1.0f) * 255.0f + 0.5f) << 24);
}

Ramp rampOf(std::uint32_t midRgb) {
    Colour mid = rgb(midRgb);
    // Shadows lean cool and highlights lean warm, which reads better than plain darkening.
    Colour dark = mix(shade(mid, 0.62f), rgb(0x2A1850), 0.18f);
    Colour light = mix(mid, rgb(0xFFF4DC), 0.34f);
    Colour edge = mix(shade(mid, 0.22f), rgb(0x0C0818), 0.55f);
    return {dark, mid, light, edge};
}

Image::Image(int w, int h, Colour fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

Colour Image::getWrapped(int x, int y) const {
    x = ((x % width) + width) % width;
    y = ((y % height) + height) % height;
    return get(x, y);
}

void Image::set(int x, int y, Colour c) {
    if (inside(x, y)) {
        pixels[static_cast<size_t>(y) * width + x] = c;
    }
}

void Image::blend(int x, int y, Colour c) {
    if (!inside(x, y)) {
        return;
    }
    Colour& dst = pixels[static_cast<size_t>(y) * width + x];
    int sa = channel(c, 24);
    if (sa == 255) {
        dst = c;
        return;
    }
    if (sa == 0) {
        return;
    }
    int da = channel(dst, 24);
    int outA = sa + da * (255 - sa) / 255;
    if (outA == 0) {
        dst = 0;
        return;
    }
    auto comp = [&](int shift) {
        int s = channel(c, shift);
        int d = channel(dst, shift);
        return (s * sa + d * da * (255 - sa) / 255) / outA;
    };
    dst = pack(outA, comp(16), comp(8), comp(0));
}

void Image::blendWrapped(int x, int y, Colour c) {
    x = ((x % width) + width) % width;
    y = ((y % height) + height) % height;
    blend(x, y, c);
}

void fillRect(Image& img, int x, int y, int w, int h, Colour c) {
    for (int yy = std::max(0, y); yy < std::min(img.height, y + h); ++yy) {
        for (int xx = std::max(0, x); xx < std::min(img.width, x + w); ++xx) {
            img.set(xx, yy, c);
        }
    }
}

void blendRect(Image& img, int x, int y, int w, int h, Colour c) {
    for (int yy = std::max(0, y); yy < std::min(img.height, y + h); ++yy) {
        for (int xx = std::max(0, x); xx < std::min(img.width, x + w); ++xx) {
            img.blend(xx, yy, c);
        }
    }
}

void fillEllipse(Image& img, float cx, float cy, float rx, float ry, Colour c) {
    if (rx <= 0 || ry <= 0) {
        return;
    }
    int x0 = static_cast<int>(std::floor(cx - rx));
    int x1 = static_cast<int>(std::ceil(cx + rx));
    int y0 = static_cast<int>(std::floor(cy - ry));
    int y1 = static_cast<int>(std::ceil(cy + ry));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float nx = (x + 0.5f - cx) / rx;
            float ny = (y + 0.5f - cy) / ry;
            if (nx * nx + ny * ny <= 1.0f) {
                img.blend(x, y, c);
            }
        }
    }
}

namespace {

template <typename Fn> void scanPolygon(Image& img, const std::vector<float>& xy, Fn&& plot) {
    size_t n = xy.size() / 2;
    if (n < 3) {
        return;
    }
    float minY = xy[1];
    float maxY = xy[1];
    for (size_t i = 0; i < n; ++i) {
        minY = std::min(minY, xy[2 * i + 1]);
        maxY = std::max(maxY, xy[2 * i + 1]);
    }
    std::vector<float> crossings;
    for (int y = std::max(0, static_cast<int>(std::floor(minY)));
         y <= std::min(img.height - 1, static_cast<int>(std::ceil(maxY))); ++y) {
        float sy = y + 0.5f;
        crossings.clear();
        for (size_t i = 0; i < n; ++i) {
            float ax = xy[2 * i];
            float ay = xy[2 * i + 1];
            float bx = xy[2 * ((i + 1) % n)];
            float by = xy[2 * ((i + 1) % n) + 1];
            if ((ay <= sy && by > sy) || (by <= sy && ay > sy)) {
                crossings.push_back(ax + (sy - ay) / (by - ay) * (bx - ax));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            for (int x = static_cast<int>(std::ceil(crossings[k] - 0.5f));
                 x <= static_cast<int>(std::floor(crossings[k + 1] - 0.5f)); ++x) {
                plot(x, y);
            }
        }
    }
}

} // namespace

void fillPolygon(Image& img, const std::vector<float>& xy, Colour c) {
    scanPolygon(img, xy, [&](int x, int y) { img.blend(x, y, c); });
}

void drawLine(Image& img, float x0, float y0, float x1, float y1, float width, Colour c) {
    float r = std::max(0.5f, width * 0.5f);
    int bx0 = static_cast<int>(std::floor(std::min(x0, x1) - r));
    int bx1 = static_cast<int>(std::ceil(std::max(x0, x1) + r));
    int by0 = static_cast<int>(std::floor(std::min(y0, y1) - r));
    int by1 = static_cast<int>(std::ceil(std::max(y0, y1) + r));
    float dx = x1 - x0;
    float dy = y1 - y0;
    float len2 = std::max(1e-6f, dx * dx + dy * dy);
    for (int y = by0; y <= by1; ++y) {
        for (int x = bx0; x <= bx1; ++x) {
            float px = x + 0.5f - x0;
            float py = y + 0.5f - y0;
            float t = std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f);
            float ex = px - t * dx;
            float ey = py - t * dy;
            if (ex * ex + ey * ey <= r * r) {
                img.blend(x, y, c);
            }
        }
    }
}

void shadedEllipse(Image& img, float cx, float cy, float rx, float ry, const Ramp& ramp) {
    if (rx <= 0 || ry <= 0) {
        return;
    }
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); ++y) {
        for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            float nx = (x + 0.5f - cx) / rx;
            float ny = (y + 0.5f - cy) / ry;
            if (nx * nx + ny * ny <= 1.0f) {
                img.set(x, y, toneAt(ramp, nx * 0.55f + ny * 0.8f));
            }
        }
    }
}

void shadedRect(Image& img, int x, int y, int w, int h, const Ramp& ramp) {
    int lightBand = std::max(1, h / 6);
    int lightSide = std::max(1, w / 8);
    int darkBand = std::max(1, h / 4);
    int darkSide = std::max(1, w / 6);
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            Colour c = ramp.mid;
            if (yy >= y + h - darkBand || xx >= x + w - darkSide) {
                c = ramp.dark;
            } else if (yy < y + lightBand || xx < x + lightSide) {
                c = ramp.light;
            }
            img.set(xx, yy, c);
        }
    }
}

void shadedRoundRect(Image& img, int x, int y, int w, int h, int radius, const Ramp& ramp) {
    Image tmp(img.width, img.height);
    shadedRect(tmp, x, y, w, h, ramp);
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            if (!img.inside(xx, yy)) {
                continue;
            }
            int dx = std::max({0, x + radius - xx - 1, xx - (x + w - radius)});
            int dy = std::max({0, y + radius - yy - 1, yy - (y + h - radius)});
            if (dx * dx + dy * dy <= radius * radius) {
                img.set(xx, yy, tmp.get(xx, yy));
            }
        }
    }
}

void shadedPolygon(Image& img, const std::vector<float>& xy, const Ramp& ramp) {
    float minX = xy[0], maxX = xy[0], minY = xy[1], maxY = xy[1];
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        minX = std::min(minX, xy[i]);
        maxX = std::max(maxX, xy[i]);
        minY = std::min(minY, xy[i + 1]);
        maxY = std::max(maxY, xy[i + 1]);
    }
    float cx = (minX + maxX) * 0.5f;
    float cy = (minY + maxY) * 0.5f;
    float hx = std::max(1.0f, (maxX - minX) * 0.5f);
    float hy = std::max(1.0f, (maxY - minY) * 0.5f);
    scanPolygon(img, xy, [&](int x, int y) {
        float nx = (x + 0.5f - cx) / hx;
        float ny = (y + 0.5f - cy) / hy;
        img.set(x, y, toneAt(ramp, nx * 0.5f + ny * 0.75f));
    });
}

void shadedLimb(Image& img, float x0, float y0, float x1, float y1, float width, const Ramp& ramp) {
    float r = std::max(0.75f, width * 0.5f);
    float dx = x1 - x0;
    float dy = y1 - y0;
    float len2 = std::max(1e-6f, dx * dx + dy * dy);
    float len = std::sqrt(len2);
    // The side of the limb that faces the upper-left light is the bright one.
    float px = -dy / len;
    float py = dx / len;
    float facing = -(px * 0.55f + py * 0.8f) >= 0 ? 1.0f : -1.0f;
    for (int y = static_cast<int>(std::floor(std::min(y0, y1) - r));
         y <= static_cast<int>(std::ceil(std::max(y0, y1) + r)); ++y) {
        for (int x = static_cast<int>(std::floor(std::min(x0, x1) - r));
             x <= static_cast<int>(std::ceil(std::max(x0, x1) + r)); ++x) {
            float qx = x + 0.5f - x0;
            float qy = y + 0.5f - y0;
            float t = std::clamp((qx * dx + qy * dy) / len2, 0.0f, 1.0f);
            float ex = qx - t * dx;
            float ey = qy - t * dy;
            if (ex * ex + ey * ey > r * r) {
                continue;
            }
            float side = (ex * px + ey * py) / r * facing;
            img.set(x, y, toneAt(ramp, -side * 0.9f));
        }
    }
}

void outline(Image& img, Colour edge) {
    Image src = img;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            if (alphaOf(src.get(x, y)) >= 128) {
                continue;
            }
            bool touches = false;
            const int offsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& o : offsets) {
                int nx = x + o[0];
                int ny = y + o[1];
                if (src.inside(nx, ny) && alphaOf(src.get(nx, ny)) >= 128) {
                    touches = true;
                }
            }
            if (touches) {
                img.set(x, y, edge);
            }
        }
    }
}

void blit(Image& dst, const Image& src, int x, int y, bool flipX) {
    for (int yy = 0; yy < src.height; ++yy) {
        for (int xx = 0; xx < src.width; ++xx) {
            Colour c = src.get(flipX ? src.width - 1 - xx : xx, yy);
            if (alphaOf(c) != 0) {
                dst.blend(x + xx, y + yy, c);
            }
        }
    }
}

Image scaleNearest(const Image& src, int w, int h) {
    Image out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            out.set(x, y, src.get(x * src.width / w, y * src.height / h));
        }
    }
    return out;
}

Image scaleBox(const Image& src, int w, int h) {
    Image out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int sx0 = x * src.width / w;
            int sx1 = std::max(sx0 + 1, (x + 1) * src.width / w);
            int sy0 = y * src.height / h;
            int sy1 = std::max(sy0 + 1, (y + 1) * src.height / h);
            long sum[4] = {0, 0, 0, 0};
            long count = 0;
            for (int sy = sy0; sy < sy1; ++sy) {
                for (int sx = sx0; sx < sx1; ++sx) {
                    Colour c = src.get(sx, sy);
                    long a = channel(c, 24);
                    sum[0] += a;
                    sum[1] += channel(c, 16) * a;
                    sum[2] += channel(c, 8) * a;
                    sum[3] += channel(c, 0) * a;
                    ++count;
                }
            }
            if (sum[0] == 0) {
                continue;
            }
            out.set(x, y,
                    pack(static_cast<int>(sum[0] / count), static_cast<int>(sum[1] / sum[0]),
                         static_cast<int>(sum[2] / sum[0]), static_cast<int>(sum[3] / sum[0])));
        }
    }
    return out;
}

} // namespace grumbo::forge
