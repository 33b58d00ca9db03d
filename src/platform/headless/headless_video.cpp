#include "platform/headless/headless_video.h"

#include "platform/clock.h"
#include "platform/image_header.h"

#include <algorithm>
#include <deque>
#include <fstream>

namespace grumbo {

namespace {

std::uint64_t fakeTicks = 0;
bool failOpen = false;
std::vector<std::string> shownErrors;

} // namespace

struct Window::Impl {
    bool open = false;
    bool fullscreen = false;
    int width = 0;
    int height = 0;
    std::deque<WindowEvent> queue;
    MouseState mouse;
    std::function<void()> liveRepaint;
};

struct Renderer::Impl {
    Window* window = nullptr;
    std::vector<Texture> textures;
    std::uint32_t epoch = 1;
    bool lost = false;
    bool fontOpen = false;
    int target = -1;
    int presents = 0;
    bool clipped = false;
    FRect clip;
    std::vector<headless::DrawCall> log;
    // Per texture id, the text it was rasterised from (a call with its text fields set).
    std::vector<headless::DrawCall> texts;

    bool known(const Texture& texture) const {
        return texture.id >= 0 && texture.epoch == epoch && texture.id < static_cast<int>(textures.size()) &&
               textures[static_cast<std::size_t>(texture.id)].valid();
    }

    Texture make(int width, int height) {
        Texture texture{static_cast<int>(textures.size()), epoch, width, height};
        textures.push_back(texture);
        texts.resize(textures.size());
        texts.back() = {};
        return texture;
    }

    void record(headless::DrawKind kind, const FRect& rect, std::uint32_t colour, float opacity,
                int texture = -1, bool mirror = false, float degrees = 0, const FRect& source = {}) {
        headless::DrawCall call =
            texture >= 0 ? texts[static_cast<std::size_t>(texture)] : headless::DrawCall{};
        call.kind = kind;
        call.rect = rect;
        call.colour = colour;
        call.opacity = opacity;
        call.texture = texture;
        call.mirror = mirror;
        call.degrees = degrees;
        call.toTarget = target >= 0;
        call.source = source;
        call.clipped = clipped;
        call.clip = clip;
        log.push_back(std::move(call));
    }
};

std::uint64_t clockTicks() {
    return fakeTicks;
}

std::uint64_t clockFrequency() {
    return headless::TICKS_PER_SECOND;
}

void sleepUntilTicks(std::uint64_t deadline) {
    fakeTicks = std::max(fakeTicks, deadline);
}

Window::Window() : state(std::make_unique<Impl>()) {}

Window::~Window() = default;

bool Window::open(const WindowOptions& options) {
    if (failOpen) {
        failOpen = false;
        return false;
    }
    state->open = true;
    state->width = options.clientWidth;
    state->height = options.clientHeight;
    return true;
}

void Window::close() {
    state->open = false;
}

bool Window::isOpen() const {
    return state->open;
}

void Window::show() {}

int Window::pollEvents(WindowEvent* events, int capacity) {
    int count = 0;
    while (count < capacity && !state->queue.empty()) {
        events[count++] = state->queue.front();
        state->queue.pop_front();
    }
    return count;
}

bool Window::waitEvents(int timeoutMs) {
    if (!state->queue.empty()) {
        return true;
    }
    fakeTicks += static_cast<std::uint64_t>(std::max(timeoutMs, 0)) * (headless::TICKS_PER_SECOND / 1000);
    return false;
}

bool Window::waitEventsUntil(std::uint64_t deadline) {
    if (!state->queue.empty()) {
        return true;
    }
    fakeTicks = std::max(fakeTicks, deadline);
    return false;
}

void Window::clientSize(int& width, int& height) const {
    width = state->width;
    height = state->height;
}

void Window::setClientSize(int width, int height) {
    state->fullscreen = false;
    state->width = width;
    state->height = height;
}

void Window::setFullscreen(bool on) {
    state->fullscreen = on;
}

bool Window::fullscreen() const {
    return state->fullscreen;
}

MouseState Window::mouse() const {
    return state->mouse;
}

void Window::captureMouse(bool) {}

void Window::setLiveRepaint(std::function<void()> repaint) {
    state->liveRepaint = std::move(repaint);
}

std::string launchErrorText() {
    return "The graphics system could not start.";
}

void showErrorBox(Window*, const std::string& caption, const std::string& text) {
    shownErrors.push_back(caption + ": " + text);
}

std::string executableDirectory() {
    return ".";
}

Renderer::Renderer() : state(std::make_unique<Impl>()) {}

Renderer::~Renderer() = default;

bool Renderer::create(Window& window) {
    if (!window.isOpen()) {
        return false;
    }
    state->window = &window;
    return true;
}

void Renderer::destroy() {
    state->window = nullptr;
    state->textures.clear();
    state->texts.clear();
    ++state->epoch;
}

bool Renderer::ready() const {
    return state->window != nullptr;
}

bool Renderer::takeDeviceLoss() {
    if (!state->lost) {
        return false;
    }
    state->lost = false;
    state->textures.clear();
    state->texts.clear();
    ++state->epoch;
    return true;
}

void Renderer::outputSize(int& width, int& height) const {
    width = 0;
    height = 0;
    if (state->window != nullptr) {
        state->window->clientSize(width, height);
    }
}

Texture Renderer::loadImage(const std::string& path, bool) {
    int width = 0;
    int height = 0;
    if (!ready() || !readPngSize(path, width, height) || !imageSizeUsable(width, height)) {
        return {};
    }
    return state->make(width, height);
}

Texture Renderer::createImage(int width, int height, const std::uint32_t*) {
    return ready() && width > 0 && height > 0 ? state->make(width, height) : Texture{};
}

Texture Renderer::createTarget(int width, int height, bool) {
    return ready() && width > 0 && height > 0 ? state->make(width, height) : Texture{};
}

void Renderer::release(Texture& texture) {
    if (state->known(texture)) {
        state->textures[static_cast<std::size_t>(texture.id)] = Texture{};
    }
    texture = {};
}

void Renderer::setTarget(const Texture* target) {
    state->target = target != nullptr && state->known(*target) ? target->id : -1;
}

void Renderer::setClip(const FRect* clip) {
    state->clipped = clip != nullptr;
    state->clip = clip != nullptr ? *clip : FRect{};
}

void Renderer::clear(std::uint32_t rgb, float opacity) {
    state->record(headless::DrawKind::Clear, {}, rgb, opacity);
}

void Renderer::fillRect(const FRect& rect, std::uint32_t rgb, float opacity) {
    state->record(headless::DrawKind::Fill, rect, rgb, opacity);
}

void Renderer::fillQuad(const float* xy, std::uint32_t rgb, float opacity) {
    const float left = std::min({xy[0], xy[2], xy[4], xy[6]});
    const float top = std::min({xy[1], xy[3], xy[5], xy[7]});
    const float right = std::max({xy[0], xy[2], xy[4], xy[6]});
    const float bottom = std::max({xy[1], xy[3], xy[5], xy[7]});
    state->record(headless::DrawKind::Quad, FRect{left, top, right - left, bottom - top}, rgb, opacity);
}

void Renderer::drawImage(const Texture& texture, const FRect& source, const FRect& dest, bool mirror,
                         float degrees, float opacity, std::uint32_t tint) {
    if (!state->known(texture)) {
        return;
    }
    state->record(headless::DrawKind::Image, dest, tint, opacity, texture.id, mirror, degrees, source);
}

void Renderer::present() {
    ++state->presents;
}

bool Renderer::readPixels(std::vector<std::uint8_t>& bgra, int& width, int& height) {
    outputSize(width, height);
    bgra.assign(
        static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)) * 4, 0);
    return width > 0 && height > 0;
}

bool Renderer::openFont(const std::string& path) {
    state->fontOpen = static_cast<bool>(std::ifstream(path));
    return state->fontOpen;
}

Texture Renderer::renderText(const std::string& text, int pixelSize, int wrapWidth, bool centred) {
    if (!ready() || !state->fontOpen || text.empty() || pixelSize <= 0) {
        return {};
    }
    // A monospaced face is about 0.6 em wide per character.
    const int width = static_cast<int>(text.size()) * pixelSize * 3 / 5;
    const Texture texture =
        state->make(wrapWidth > 0 ? std::min(width, wrapWidth) : width, pixelSize * 6 / 5);
    headless::DrawCall& words = state->texts.back();
    words.text = text;
    words.textPixels = pixelSize;
    words.wrapWidth = wrapWidth;
    words.centred = centred;
    return texture;
}

std::string Renderer::deviceName() const {
    return "headless";
}

namespace headless {

void setTicks(std::uint64_t value) {
    fakeTicks = value;
}

std::uint64_t ticks() {
    return fakeTicks;
}

void pushEvent(Window& window, const WindowEvent& event) {
    window.impl().queue.push_back(event);
}

void setMouse(Window& window, const MouseState& mouse) {
    window.impl().mouse = mouse;
}

void failNextOpen(bool fail) {
    failOpen = fail;
}

const std::vector<DrawCall>& drawLog(Renderer& renderer) {
    return renderer.impl().log;
}

void clearDrawLog(Renderer& renderer) {
    renderer.impl().log.clear();
}

void loseDevice(Renderer& renderer) {
    renderer.impl().lost = true;
}

int presentCount(Renderer& renderer) {
    return renderer.impl().presents;
}

const std::vector<std::string>& errorBoxes() {
    return shownErrors;
}

void clearErrorBoxes() {
    shownErrors.clear();
}

} // namespace headless

} // namespace grumbo
