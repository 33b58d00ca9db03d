// The drawing device: textures, filled shapes, bitmaps with mirror, rotation,
// opacity and nearest-neighbour sampling, axis-aligned clips, rasterised text
// and read-back of the finished frame. Coordinates are pixels of the current
// target; the app layer does every canvas-to-pixel mapping itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace grumbo {

class Window;

struct FRect {
    float x = 0;
    float y = 0;
    float w = 0;
    float h = 0;
};

// A texture owned by the renderer. Handles from before a device loss carry an
// old epoch and are ignored by every call, so a stale handle can never draw.
struct Texture {
    int id = -1;
    std::uint32_t epoch = 0;
    int width = 0;
    int height = 0;

    bool valid() const { return id >= 0; }
};

class Renderer {
  public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // The accelerated device when there is one, the software renderer otherwise.
    bool create(Window& window);
    // Releases every texture and the device.
    void destroy();
    bool ready() const;
    // True once after the device dropped its textures; every handle is stale
    // from then on and the owner must recreate what it needs.
    bool takeDeviceLoss();
    void outputSize(int& width, int& height) const;

    // Decodes an image file; an invalid texture when it is missing or unreadable.
    // An opaque picture is copied without blending, which costs much less on
    // software devices when it covers the whole window.
    Texture loadImage(const std::string& path, bool opaque = false);
    // A texture from 0xAARRGGBB pixels, rows top to bottom.
    Texture createImage(int width, int height, const std::uint32_t* argb);
    // A texture that can be drawn into (see `setTarget`). An opaque one is
    // copied without blending, which is cheaper when it covers what lies below.
    Texture createTarget(int width, int height, bool opaque);
    void release(Texture& texture);

    // Later drawing goes into `target`, or into the window when it is null.
    void setTarget(const Texture* target);
    // Restricts drawing to `clip` in pixels of the current target; null lifts it.
    void setClip(const FRect* clip);
    void clear(std::uint32_t rgb, float opacity);
    // Colours are 0xRRGGBB; opacity runs 0 to 1.
    void fillRect(const FRect& rect, std::uint32_t rgb, float opacity);
    // A convex quadrilateral given as four x, y pairs in drawing order.
    void fillQuad(const float* xy, std::uint32_t rgb, float opacity);
    // Copies `source` of the texture into `dest`, mirrored about the vertical
    // centre line of `dest` first and then rotated clockwise about its centre.
    // `tint` multiplies the colour channels (text is drawn white and tinted).
    void drawImage(const Texture& texture, const FRect& source, const FRect& dest, bool mirror, float degrees,
                   float opacity, std::uint32_t tint = 0xFFFFFF);
    void present();
    // The pixels of the current target as blue, green, red, unused bytes,
    // rows top to bottom; call before `present`, which may discard them.
    bool readPixels(std::vector<std::uint8_t>& bgra, int& width, int& height);

    // Text is rasterised white on transparency at a size in pixels, wrapped at
    // `wrapWidth` pixels, each line centred or left-aligned.
    bool openFont(const std::string& path);
    Texture renderText(const std::string& text, int pixelSize, int wrapWidth, bool centred);

    // Which device is drawing ("software", "opengl", ...), for the statistics.
    std::string deviceName() const;

    struct Impl;
    Impl& impl() { return *state; }

  private:
    std::unique_ptr<Impl> state;
};

} // namespace grumbo
