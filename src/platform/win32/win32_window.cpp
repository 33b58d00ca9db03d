// The game's window on Win32: the window class, the window procedure that turns messages
// into `WindowEvent`s, the message pump, sizes, borderless full screen, mouse capture and
// message boxes.

#include "platform/clock.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_timer.h"
#include "platform/win32/win32_window_impl.h"

#include <algorithm>

namespace grumbo {
namespace {

constexpr wchar_t WINDOW_CLASS[] = L"GrumboNativeAdventure";
constexpr DWORD FRAMED_STYLE = WS_OVERLAPPEDWINDOW;
// The icon compiled into the executable.
constexpr int ICON_RESOURCE = 1;
constexpr UINT_PTR LIVE_REPAINT_TIMER = 1;

using win32::widen;

std::string narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(needed, 0)), '\0');
    if (needed > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), needed, nullptr, nullptr);
    }
    return out;
}

void push(Window::Impl& impl, WindowEventKind kind, int width = 0, int height = 0, int wheel = 0) {
    impl.pending.push_back(WindowEvent{kind, width, height, wheel});
}

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* impl = reinterpret_cast<Window::Impl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (impl == nullptr) {
        return ::DefWindowProcW(hwnd, message, wparam, lparam);
    }
    switch (message) {
    case WM_CLOSE:
        // The shell decides when the window goes: it saves first.
        push(*impl, WindowEventKind::Quit);
        return 0;
    case WM_SIZE: {
        const int width = LOWORD(lparam);
        const int height = HIWORD(lparam);
        if (wparam == SIZE_MINIMIZED) {
            impl->minimized = true;
            push(*impl, WindowEventKind::Minimized);
            return 0;
        }
        if (impl->minimized) {
            impl->minimized = false;
            push(*impl, WindowEventKind::Restored);
        }
        if (width > 0 && height > 0) {
            push(*impl, WindowEventKind::Resized, width, height);
            // Inside the modal size loop no frame runs, so the picture is redrawn here.
            if (impl->inSizeMove && impl->liveRepaint) {
                impl->liveRepaint();
            }
        }
        return 0;
    }
    // No frame runs inside the modal move and size loop; a 33 ms timer keeps the picture alive.
    case WM_ENTERSIZEMOVE:
        impl->inSizeMove = true;
        push(*impl, WindowEventKind::SizeMoveBegan);
        ::SetTimer(hwnd, LIVE_REPAINT_TIMER, 33, nullptr);
        return 0;
    case WM_EXITSIZEMOVE:
        ::KillTimer(hwnd, LIVE_REPAINT_TIMER);
        impl->inSizeMove = false;
        push(*impl, WindowEventKind::SizeMoveEnded);
        return 0;
    case WM_TIMER:
        if (wparam != LIVE_REPAINT_TIMER) {
            break;
        }
        if (impl->inSizeMove && impl->liveRepaint) {
            impl->liveRepaint();
        }
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
        RECT frame{0, 0, impl->minWidth, impl->minHeight};
        ::AdjustWindowRectEx(&frame, FRAMED_STYLE, FALSE, 0);
        if (impl->minWidth > 0 && impl->minHeight > 0 && !impl->fullscreen) {
            info->ptMinTrackSize.x = frame.right - frame.left;
            info->ptMinTrackSize.y = frame.bottom - frame.top;
        }
        return 0;
    }
    case WM_ACTIVATEAPP:
        push(*impl, wparam != 0 ? WindowEventKind::FocusGained : WindowEventKind::FocusLost);
        return 0;
    case WM_ERASEBKGND:
        // Every frame covers the whole client area; erasing would only flicker.
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        ::BeginPaint(hwnd, &paint);
        ::EndPaint(hwnd, &paint);
        push(*impl, WindowEventKind::Exposed);
        if (impl->inSizeMove && impl->liveRepaint) {
            impl->liveRepaint();
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
        push(*impl, WindowEventKind::LeftDown);
        return 0;
    case WM_RBUTTONDOWN:
        push(*impl, WindowEventKind::RightDown);
        return 0;
    case WM_MBUTTONDOWN:
        push(*impl, WindowEventKind::MiddleDown);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        push(*impl, WindowEventKind::ButtonUp);
        return 0;
    case WM_MOUSEWHEEL:
        push(*impl, WindowEventKind::Wheel, 0, 0, GET_WHEEL_DELTA_WPARAM(wparam));
        return 0;
    case WM_KEYDOWN:
        // Bit 30 is set on auto-repeat.
        if (wparam == VK_F3 && (lparam & (1 << 30)) == 0) {
            push(*impl, WindowEventKind::TimingsKey);
        }
        return 0;
    case WM_SYSKEYDOWN:
        // F10 would otherwise open the absent menu and freeze the loop; Alt+F4 still closes.
        if (wparam == VK_F10) {
            return 0;
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

bool registerClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, WINDOW_CLASS, &existing)) {
        return true;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(ICON_RESOURCE));
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = WINDOW_CLASS;
    return ::RegisterClassExW(&windowClass) != 0;
}

// The shell names "icon.png"; Windows takes the .ico beside it.
std::wstring iconFile(const std::string& path) {
    std::wstring file = widen(path);
    const std::size_t dot = file.find_last_of(L'.');
    if (dot != std::wstring::npos && file.find_first_of(L"/\\", dot) == std::wstring::npos) {
        file.resize(dot);
    }
    return file + L".ico";
}

HMONITOR monitorOf(HWND hwnd, MONITORINFO& info) {
    HMONITOR monitor = ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(monitor, &info);
    return monitor;
}

} // namespace

Window::Window() : state(std::make_unique<Impl>()) {}

Window::~Window() {
    close();
}

bool Window::open(const WindowOptions& options) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!registerClass(instance)) {
        return false;
    }
    state->minWidth = options.minWidth;
    state->minHeight = options.minHeight;
    RECT frame{0, 0, options.clientWidth, options.clientHeight};
    ::AdjustWindowRectEx(&frame, FRAMED_STYLE, FALSE, 0);
    const std::wstring title = widen(options.title);
    state->hwnd = ::CreateWindowExW(0, WINDOW_CLASS, title.c_str(), FRAMED_STYLE, CW_USEDEFAULT,
                                    CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                    nullptr, nullptr, instance, state.get());
    if (state->hwnd == nullptr) {
        return false;
    }
    if (!options.iconPath.empty()) {
        const std::wstring file = iconFile(options.iconPath);
        state->bigIcon =
            static_cast<HICON>(::LoadImageW(nullptr, file.c_str(), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                            ::GetSystemMetrics(SM_CYICON), LR_LOADFROMFILE));
        state->smallIcon = static_cast<HICON>(::LoadImageW(nullptr, file.c_str(), IMAGE_ICON,
                                                           ::GetSystemMetrics(SM_CXSMICON),
                                                           ::GetSystemMetrics(SM_CYSMICON), LR_LOADFROMFILE));
        if (state->bigIcon != nullptr) {
            ::SendMessageW(state->hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state->bigIcon));
        }
        if (state->smallIcon != nullptr) {
            ::SendMessageW(state->hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state->smallIcon));
        }
    }
    return true;
}

void Window::close() {
    if (state->hwnd != nullptr) {
        // The procedure must not reach this state once the window starts going away.
        ::SetWindowLongPtrW(state->hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(state->hwnd);
        state->hwnd = nullptr;
    }
    for (HICON* icon : {&state->bigIcon, &state->smallIcon}) {
        if (*icon != nullptr) {
            ::DestroyIcon(*icon);
            *icon = nullptr;
        }
    }
    state->pending.clear();
}

bool Window::isOpen() const {
    return state->hwnd != nullptr;
}

void Window::show() {
    if (state->hwnd != nullptr) {
        ::ShowWindow(state->hwnd, SW_SHOW);
        ::UpdateWindow(state->hwnd);
        ::SetForegroundWindow(state->hwnd);
    }
}

int Window::pollEvents(WindowEvent* events, int capacity) {
    MSG message{};
    // Every message taken counts against the limit, so a flood of mouse motion cannot hold
    // a pass in the pump.
    for (int taken = 0; taken < capacity && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++taken) {
        if (message.message == WM_QUIT) {
            push(*state, WindowEventKind::Quit);
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    int count = 0;
    while (count < capacity && !state->pending.empty()) {
        events[count++] = state->pending.front();
        state->pending.pop_front();
    }
    return count;
}

bool Window::waitEvents(int timeoutMs) {
    if (!state->pending.empty()) {
        return true;
    }
    const DWORD result = ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::max(timeoutMs, 0)),
                                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return result == WAIT_OBJECT_0;
}

bool Window::waitEventsUntil(std::uint64_t deadline) {
    if (!state->pending.empty()) {
        return true;
    }
    const std::uint64_t now = clockTicks();
    if (now >= deadline) {
        return false;
    }
    // One wait, on the pacing timer and the message queue together, so a key
    // press ends it at once and the deadline is kept to the timer's precision.
    win32::PacingTimer& timer = win32::threadPacingTimer();
    if (timer.arm(now, deadline, clockFrequency())) {
        const DWORD result =
            ::MsgWaitForMultipleObjectsEx(1, &timer.handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        return result == WAIT_OBJECT_0 + 1;
    }
    const DWORD result =
        ::MsgWaitForMultipleObjectsEx(0, nullptr, win32::waitMilliseconds(now, deadline, clockFrequency()),
                                      QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return result == WAIT_OBJECT_0;
}

void Window::clientSize(int& width, int& height) const {
    width = 0;
    height = 0;
    RECT client{};
    if (state->hwnd != nullptr && ::GetClientRect(state->hwnd, &client)) {
        width = client.right - client.left;
        height = client.bottom - client.top;
    }
}

void Window::setClientSize(int width, int height) {
    if (state->hwnd == nullptr) {
        return;
    }
    setFullscreen(false);
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, FRAMED_STYLE, FALSE, 0);
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    // Keep the window on its monitor's work area when the new size allows it.
    MONITORINFO info{};
    monitorOf(state->hwnd, info);
    RECT current{};
    ::GetWindowRect(state->hwnd, &current);
    const RECT& work = info.rcWork;
    int left = std::clamp<int>(current.left, work.left, std::max<int>(work.left, work.right - frameWidth));
    int top = std::clamp<int>(current.top, work.top, std::max<int>(work.top, work.bottom - frameHeight));
    ::SetWindowPos(state->hwnd, nullptr, left, top, frameWidth, frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::setFullscreen(bool on) {
    if (state->hwnd == nullptr || state->fullscreen == on) {
        return;
    }
    if (on) {
        state->savedStyle = ::GetWindowLongPtrW(state->hwnd, GWL_STYLE);
        state->savedPlacement.length = sizeof(state->savedPlacement);
        ::GetWindowPlacement(state->hwnd, &state->savedPlacement);
        MONITORINFO info{};
        monitorOf(state->hwnd, info);
        state->fullscreen = true;
        ::SetWindowLongPtrW(state->hwnd, GWL_STYLE, (state->savedStyle & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
        const RECT& area = info.rcMonitor;
        ::SetWindowPos(state->hwnd, HWND_TOP, area.left, area.top, area.right - area.left,
                       area.bottom - area.top, SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    } else {
        state->fullscreen = false;
        ::SetWindowLongPtrW(state->hwnd, GWL_STYLE, state->savedStyle);
        ::SetWindowPlacement(state->hwnd, &state->savedPlacement);
        ::SetWindowPos(state->hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    }
}

bool Window::fullscreen() const {
    return state->fullscreen;
}

MouseState Window::mouse() const {
    MouseState mouse;
    POINT point{};
    if (state->hwnd != nullptr && ::GetCursorPos(&point) && ::ScreenToClient(state->hwnd, &point)) {
        mouse.x = point.x;
        mouse.y = point.y;
    }
    // Swapped buttons are swapped back so "left" is always the primary button.
    const bool swapped = ::GetSystemMetrics(SM_SWAPBUTTON) != 0;
    const bool primary = (::GetAsyncKeyState(swapped ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0;
    const bool secondary = (::GetAsyncKeyState(swapped ? VK_LBUTTON : VK_RBUTTON) & 0x8000) != 0;
    mouse.left = primary;
    mouse.right = secondary;
    mouse.middle = (::GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0;
    return mouse;
}

void Window::captureMouse(bool on) {
    if (on && state->hwnd != nullptr) {
        ::SetCapture(state->hwnd);
    } else if (!on && ::GetCapture() == state->hwnd) {
        ::ReleaseCapture();
    }
}

void Window::setLiveRepaint(std::function<void()> repaint) {
    state->liveRepaint = std::move(repaint);
}

std::string launchErrorText() {
    return "The graphics system could not start. This game needs Windows 10/11 with Direct2D support.";
}

void showErrorBox(Window* owner, const std::string& caption, const std::string& text) {
    HWND parent = owner != nullptr ? owner->impl().hwnd : nullptr;
    ::MessageBoxW(parent, widen(text).c_str(), widen(caption).c_str(),
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

// Direct2D already falls back to software where no device exists; nothing to switch.
void useOffscreenVideo() {}

std::string executableDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return ".";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return ".";
    }
    path.resize(slash);
    return narrow(path);
}

} // namespace grumbo
