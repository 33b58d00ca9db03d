// The video backend without a display: a clock that only moves when told, a
// window fed from a script of events, and a renderer that records what it was
// asked to draw. Tests drive the frame loop and inspect frames through it.
#pragma once

#include "platform/renderer.h"
#include "platform/window.h"

#include <cstdint>
#include <string>
#include <vector>

namespace grumbo::headless {

// The clock counts microseconds. Waiting advances it: an event wait by its
// whole time-out (unless events are queued), a deadline sleep to the deadline.
inline constexpr std::uint64_t TICKS_PER_SECOND = 1000000;
void setTicks(std::uint64_t ticks);
std::uint64_t ticks();

void pushEvent(Window& window, const WindowEvent& event);
void setMouse(Window& window, const MouseState& mouse);
// Makes the next `open` fail, as on a system without a display.
void failNextOpen(bool fail);

enum class DrawKind { Clear, Fill, Quad, Image, Text };

struct DrawCall {
    DrawKind kind = DrawKind::Fill;
    FRect rect;
    std::uint32_t colour = 0;
    float opacity = 1;
    int texture = -1;
    bool mirror = false;
    float degrees = 0;
    bool toTarget = false; // drawn into a texture rather than the window
    FRect source;          // the part of the texture copied
    bool clipped = false;  // a clip was in force, `clip` in pixels of the target
    FRect clip;
    // A rasterised text: its words, pixel size, layout width and alignment.
    std::string text;
    int textPixels = 0;
    int wrapWidth = 0;
    bool centred = false;
};

const std::vector<DrawCall>& drawLog(Renderer& renderer);
void clearDrawLog(Renderer& renderer);
// Pretends the device was reset, as a lost graphics device reports it.
void loseDevice(Renderer& renderer);
int presentCount(Renderer& renderer);
// Error boxes shown so far, as "caption: text".
const std::vector<std::string>& errorBoxes();
void clearErrorBoxes();

} // namespace grumbo::headless
