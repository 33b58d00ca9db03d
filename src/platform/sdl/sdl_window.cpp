// The window on SDL2: creation, the event pump translated into `WindowEvent`s,
// sizes and borderless full screen, mouse capture and the error box.
#include "platform/clock.h"
#include "platform/sdl/sdl_input_events.h"
#include "platform/sdl/sdl_window_impl.h"

#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <cstring>

namespace grumbo {

namespace {

// The last window open found no display, only a driver that draws into memory.
bool noDisplay = false;

// SDL calls this synchronously whenever an event is queued, including from
// inside a modal size loop on systems that run one; that is the only moment a
// repaint can keep the picture alive while the user drags the frame.
int liveRepaintWatch(void* userdata, SDL_Event* event) {
    auto* impl = static_cast<Window::Impl*>(userdata);
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
        impl->liveRepaint) {
        impl->liveRepaint();
    }
    return 0;
}

bool translate(const SDL_Event& event, WindowEvent& out) {
    switch (event.type) {
    case SDL_QUIT:
        out.kind = WindowEventKind::Quit;
        return true;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            out.kind = WindowEventKind::Resized;
            out.width = event.window.data1;
            out.height = event.window.data2;
            return true;
        // A hidden window is as unseen as a minimised one: nothing is drawn
        // and the loop waits on events until it shows again.
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            out.kind = WindowEventKind::Minimized;
            return true;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SHOWN:
            out.kind = WindowEventKind::Restored;
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out.kind = WindowEventKind::FocusGained;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            out.kind = WindowEventKind::FocusLost;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            out.kind = WindowEventKind::Exposed;
            return true;
        default:
            return false;
        }
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) {
            out.kind = WindowEventKind::LeftDown;
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
            out.kind = WindowEventKind::RightDown;
        } else if (event.button.button == SDL_BUTTON_MIDDLE) {
            out.kind = WindowEventKind::MiddleDown;
        } else {
            return false;
        }
        return true;
    case SDL_MOUSEBUTTONUP:
        out.kind = WindowEventKind::ButtonUp;
        return true;
    case SDL_MOUSEWHEEL:
        out.kind = WindowEventKind::Wheel;
        out.wheel = (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y) * 120;
        return out.wheel != 0;
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_F3 && event.key.repeat == 0) {
            out.kind = WindowEventKind::TimingsKey;
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace

Window::Window() : state(std::make_unique<Impl>()) {}

Window::~Window() {
    close();
}

bool Window::open(const WindowOptions& options) {
    noDisplay = false;
    if (!state->videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return false;
        }
        state->videoStarted = true;
    }
    // Without a display SDL falls back to drawing into memory, and the game would run unseen
    // for ever; only a run that asked for such a driver (tests, tools) may have one.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
        (asked == nullptr || std::strstr(asked, driver) == nullptr)) {
        noDisplay = true;
        close();
        return false;
    }
    state->window = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                     options.clientWidth, options.clientHeight,
                                     SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (state->window == nullptr) {
        return false;
    }
    SDL_SetWindowMinimumSize(state->window, options.minWidth, options.minHeight);
    if (!options.iconPath.empty()) {
        if (SDL_Surface* icon = IMG_Load(options.iconPath.c_str())) {
            SDL_SetWindowIcon(state->window, icon);
            SDL_FreeSurface(icon);
        }
    }
    SDL_AddEventWatch(liveRepaintWatch, state.get());
    return true;
}

void Window::close() {
    if (state->window != nullptr) {
        SDL_DelEventWatch(liveRepaintWatch, state.get());
        SDL_DestroyWindow(state->window);
        state->window = nullptr;
    }
    if (state->videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        state->videoStarted = false;
        // The last subsystem out also releases SDL's process-wide helpers.
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
            SDL_Quit();
        }
    }
}

bool Window::isOpen() const {
    return state->window != nullptr;
}

void Window::show() {
    if (state->window != nullptr) {
        SDL_ShowWindow(state->window);
    }
}

int Window::pollEvents(WindowEvent* events, int capacity) {
    int count = 0;
    SDL_Event event;
    // Every event taken counts against the limit, the ones the window ignores
    // too, so a flood of mouse motion cannot hold a pass in the pump.
    for (int taken = 0; taken < capacity && SDL_PollEvent(&event) != 0; ++taken) {
        // Controller hot-plug is handled by the input layer, whatever the window does.
        sdl::handleInputEvent(event);
        WindowEvent translated;
        if (translate(event, translated)) {
            // On a high-density display the event counts window points; the
            // game draws and lays out in pixels of the drawable.
            if (translated.kind == WindowEventKind::Resized) {
                clientSize(translated.width, translated.height);
            }
            events[count++] = translated;
        }
    }
    return count;
}

bool Window::waitEvents(int timeoutMs) {
    return SDL_WaitEventTimeout(nullptr, timeoutMs) != 0;
}

bool Window::waitEventsUntil(std::uint64_t deadline) {
    const std::uint64_t now = clockTicks();
    const std::uint64_t frequency = clockFrequency();
    const std::uint64_t remaining = deadline > now ? deadline - now : 0;
    // SDL waits for events in whole milliseconds and may wake a little late, so
    // it waits all but the last two; those are slept on the precise clock, where
    // input waits at most that long.
    const auto wholeMs = static_cast<int>(remaining * 1000 / frequency);
    if (wholeMs > 2 && SDL_WaitEventTimeout(nullptr, wholeMs - 2) != 0) {
        return true;
    }
    sleepUntilTicks(deadline);
    return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE;
}

void Window::clientSize(int& width, int& height) const {
    width = 0;
    height = 0;
    if (state->window != nullptr) {
        SDL_GetWindowSizeInPixels(state->window, &width, &height);
    }
}

void Window::setClientSize(int width, int height) {
    if (state->window == nullptr) {
        return;
    }
    setFullscreen(false);
    SDL_SetWindowSize(state->window, width, height);
}

void Window::setFullscreen(bool on) {
    if (state->window == nullptr || state->fullscreen == on) {
        return;
    }
    if (SDL_SetWindowFullscreen(state->window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) {
        state->fullscreen = on;
    }
}

bool Window::fullscreen() const {
    return state->fullscreen;
}

MouseState Window::mouse() const {
    MouseState mouse;
    const Uint32 buttons = SDL_GetMouseState(&mouse.x, &mouse.y);
    // The pointer comes in window points; the game needs drawable pixels.
    if (state->window != nullptr) {
        int points = 0;
        int pointsHigh = 0;
        int pixels = 0;
        int pixelsHigh = 0;
        SDL_GetWindowSize(state->window, &points, &pointsHigh);
        SDL_GetWindowSizeInPixels(state->window, &pixels, &pixelsHigh);
        if (points > 0 && pointsHigh > 0) {
            mouse.x = mouse.x * pixels / points;
            mouse.y = mouse.y * pixelsHigh / pointsHigh;
        }
    }
    mouse.left = (buttons & SDL_BUTTON_LMASK) != 0;
    mouse.right = (buttons & SDL_BUTTON_RMASK) != 0;
    mouse.middle = (buttons & SDL_BUTTON_MMASK) != 0;
    return mouse;
}

void Window::captureMouse(bool on) {
    SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

void Window::setLiveRepaint(std::function<void()> repaint) {
    state->liveRepaint = std::move(repaint);
}

std::string launchErrorText() {
    if (noDisplay) {
        return "no display: set DISPLAY or run under a desktop session";
    }
    return "The graphics system could not start. This game needs an X11 or Wayland desktop with "
           "SDL2 video.";
}

void showErrorBox(Window* owner, const std::string& caption, const std::string& text) {
    // The same words go to standard error, so a run without a desktop still says why it stopped.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    SDL_Window* parent = owner != nullptr ? owner->impl().window : nullptr;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), parent);
}

void useOffscreenVideo() {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
}

std::string executableDirectory() {
    std::string folder;
    if (char* base = SDL_GetBasePath()) {
        folder = base;
        SDL_free(base);
    }
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
    }
    return folder.empty() ? "." : folder;
}

} // namespace grumbo
