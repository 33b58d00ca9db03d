// The SDL state behind `Window`, shared with the renderer, which draws into it.
#pragma once

#include "platform/window.h"

#include <SDL.h>
#include <functional>

namespace grumbo {

struct Window::Impl {
    SDL_Window* window = nullptr;
    bool videoStarted = false;
    bool fullscreen = false;
    std::function<void()> liveRepaint;
};

} // namespace grumbo
