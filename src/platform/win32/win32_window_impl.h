// The Win32 window's state, shared by the window and the Direct2D renderer.
#pragma once

#include "platform/win32/win32_api.h"
#include "platform/window.h"

#include <deque>
#include <functional>

namespace grumbo {

struct Window::Impl {
    HWND hwnd = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    // Filled by the window procedure, drained by `pollEvents`.
    std::deque<WindowEvent> pending;
    std::function<void()> liveRepaint;
    bool minimized = false;
    bool inSizeMove = false;
    bool fullscreen = false;
    // The framed window's style and placement, restored when leaving full screen.
    LONG_PTR savedStyle = 0;
    WINDOWPLACEMENT savedPlacement{};
    int minWidth = 0;
    int minHeight = 0;
};

} // namespace grumbo
