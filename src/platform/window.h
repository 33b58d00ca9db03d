// The game's one window and what the window system reports between frames.
// The shell reads these events once per loop pass and turns them into its own
// flags; it never sees a backend's native event type.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace grumbo {

enum class WindowEventKind {
    Quit,    // the user closed the window
    Resized, // the client area has a new non-empty size
    Minimized,
    Restored,    // shown again after being minimized
    FocusGained, // the game became the foreground application
    FocusLost,
    Exposed, // the window content must be redrawn
    LeftDown,
    RightDown,
    MiddleDown,
    ButtonUp,   // any mouse button was released
    Wheel,      // `wheel` holds the signed delta, 120 per notch
    TimingsKey, // the frame-timing key went down (never an auto-repeat)
    // The user began or ended dragging or sizing the window in a modal loop of
    // the window system (on systems that run one); no frame runs in between.
    SizeMoveBegan,
    SizeMoveEnded,
};

struct WindowEvent {
    WindowEventKind kind = WindowEventKind::Quit;
    int width = 0;
    int height = 0;
    int wheel = 0;
};

struct WindowOptions {
    std::string title;
    int clientWidth = 1280;
    int clientHeight = 720;
    int minWidth = 0;
    int minHeight = 0;
    std::string iconPath; // optional; a missing file leaves the default icon
};

// The mouse in client pixels and the buttons held now.
struct MouseState {
    int x = 0;
    int y = 0;
    bool left = false;
    bool right = false;
    bool middle = false;
};

class Window {
  public:
    Window();
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window hidden; false when the window system is unavailable.
    bool open(const WindowOptions& options);
    void close();
    bool isOpen() const;
    void show();

    // Takes up to `capacity` waiting events from the system and returns how
    // many of them it stored in `events` (those the game has no use for are dropped).
    int pollEvents(WindowEvent* events, int capacity);
    // Blocks until an event is waiting or `timeoutMs` passed; true when one waits.
    bool waitEvents(int timeoutMs);
    // Blocks until an event is waiting or the frame clock (clock.h) reaches
    // `deadline`, on a precise timer and without spinning; true when one waits.
    bool waitEventsUntil(std::uint64_t deadline);

    void clientSize(int& width, int& height) const;
    // Leaves full screen first, then gives the client area this size.
    void setClientSize(int width, int height);
    // Borderless full screen on the display that holds the window.
    void setFullscreen(bool on);
    bool fullscreen() const;

    MouseState mouse() const;
    // Keeps mouse events coming while a button is held outside the window.
    void captureMouse(bool on);

    // Called while the window system holds the thread in a modal move or size
    // loop, so the picture stays alive; platforms without such loops never call it.
    void setLiveRepaint(std::function<void()> repaint);

    struct Impl;
    Impl& impl() { return *state; }

  private:
    std::unique_ptr<Impl> state;
};

// What the launch error says when the window or its drawing could not start: on this system,
// and after a failed `Window::open`, what is missing.
std::string launchErrorText();

// A modal error box; returns once the user dismissed it (at once when no
// window system is available).
void showErrorBox(Window* owner, const std::string& caption, const std::string& text);

// Makes later windows draw into memory with the software renderer instead of
// appearing on a display (benchmarks and tools that run without a desktop).
void useOffscreenVideo();

// The folder of the running executable without a trailing separator.
std::string executableDirectory();

} // namespace grumbo
