// The drawing device on SDL_Renderer with SDL_image for pictures and SDL_ttf
// for text. Textures live in a slot table; a device loss empties it and bumps
// the epoch, which turns every handle the app still holds stale.
#include "platform/image_header.h"
#include "platform/renderer.h"
#include "platform/sdl/sdl_window_impl.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cmath>
#include <map>

namespace grumbo {

struct Renderer::Impl {
    SDL_Renderer* renderer = nullptr;
    std::vector<SDL_Texture*> slots;
    std::vector<int> freeSlots;
    std::uint32_t epoch = 1;
    bool lost = false;
    bool fontsStarted = false;
    std::string fontPath;
    std::map<int, TTF_Font*> fonts;
    std::string name;
    // The device's largest texture side; 0 when it states none.
    int maxTextureSide = 0;

    SDL_Texture* find(const Texture& texture) const {
        if (texture.id < 0 || texture.epoch != epoch || texture.id >= static_cast<int>(slots.size())) {
            return nullptr;
        }
        return slots[static_cast<std::size_t>(texture.id)];
    }

    Texture adopt(SDL_Texture* sdlTexture) {
        if (sdlTexture == nullptr) {
            return {};
        }
        Texture texture;
        if (!freeSlots.empty()) {
            texture.id = freeSlots.back();
            freeSlots.pop_back();
            slots[static_cast<std::size_t>(texture.id)] = sdlTexture;
        } else {
            texture.id = static_cast<int>(slots.size());
            slots.push_back(sdlTexture);
        }
        texture.epoch = epoch;
        SDL_QueryTexture(sdlTexture, nullptr, nullptr, &texture.width, &texture.height);
        SDL_SetTextureScaleMode(sdlTexture, SDL_ScaleModeNearest);
        return texture;
    }

    void dropTextures() {
        for (SDL_Texture* texture : slots) {
            if (texture != nullptr) {
                SDL_DestroyTexture(texture);
            }
        }
        slots.clear();
        freeSlots.clear();
        ++epoch;
    }

    void closeFonts() {
        for (auto& [size, font] : fonts) {
            TTF_CloseFont(font);
        }
        fonts.clear();
    }

    TTF_Font* font(int pixelSize) {
        auto found = fonts.find(pixelSize);
        if (found != fonts.end()) {
            return found->second;
        }
        TTF_Font* opened = fontPath.empty() ? nullptr : TTF_OpenFont(fontPath.c_str(), pixelSize);
        if (opened != nullptr) {
            fonts.emplace(pixelSize, opened);
        }
        return opened;
    }
};

namespace {

// Device loss arrives as an event; watching for it marks the textures lost
// no matter who pumps the queue.
int deviceLossWatch(void* userdata, SDL_Event* event) {
    auto* impl = static_cast<Renderer::Impl*>(userdata);
    if (event->type == SDL_RENDER_DEVICE_RESET) {
        impl->lost = true;
    }
    return 0;
}

Uint8 alphaOf(float opacity) {
    return static_cast<Uint8>(std::lround(std::clamp(opacity, 0.0f, 1.0f) * 255.0f));
}

SDL_Color colourOf(std::uint32_t rgb, float opacity) {
    return SDL_Color{static_cast<Uint8>((rgb >> 16) & 0xFF), static_cast<Uint8>((rgb >> 8) & 0xFF),
                     static_cast<Uint8>(rgb & 0xFF), alphaOf(opacity)};
}

} // namespace

Renderer::Renderer() : state(std::make_unique<Impl>()) {}

Renderer::~Renderer() {
    destroy();
    state->closeFonts();
    if (state->fontsStarted) {
        TTF_Quit();
    }
}

bool Renderer::create(Window& window) {
    destroy();
    SDL_Window* sdlWindow = window.impl().window;
    if (sdlWindow == nullptr) {
        return false;
    }
    // Batching lets SDL merge the many small fills and copies of a frame.
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    state->renderer =
        SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (state->renderer == nullptr) {
        state->renderer =
            SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    if (state->renderer == nullptr) {
        return false;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(state->renderer, &info);
    state->name = info.name != nullptr ? info.name : "unknown";
    state->maxTextureSide = std::min(info.max_texture_width, info.max_texture_height);
    state->lost = false;
    SDL_AddEventWatch(deviceLossWatch, state.get());
    return true;
}

void Renderer::destroy() {
    if (state->renderer == nullptr) {
        return;
    }
    SDL_DelEventWatch(deviceLossWatch, state.get());
    state->dropTextures();
    SDL_DestroyRenderer(state->renderer);
    state->renderer = nullptr;
}

bool Renderer::ready() const {
    return state->renderer != nullptr;
}

bool Renderer::takeDeviceLoss() {
    if (!state->lost) {
        return false;
    }
    state->lost = false;
    state->dropTextures();
    return true;
}

void Renderer::outputSize(int& width, int& height) const {
    width = 0;
    height = 0;
    if (state->renderer != nullptr) {
        SDL_GetRendererOutputSize(state->renderer, &width, &height);
    }
}

Texture Renderer::loadImage(const std::string& path, bool opaque) {
    int width = 0;
    int height = 0;
    if (state->renderer == nullptr || !readPngSize(path, width, height) ||
        !imageSizeUsable(width, height, state->maxTextureSide)) {
        return {};
    }
    SDL_Texture* texture = IMG_LoadTexture(state->renderer, path.c_str());
    if (texture != nullptr && opaque) {
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    }
    return state->adopt(texture);
}

Texture Renderer::createImage(int width, int height, const std::uint32_t* argb) {
    if (state->renderer == nullptr || width <= 0 || height <= 0) {
        return {};
    }
    SDL_Texture* texture =
        SDL_CreateTexture(state->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
    if (texture == nullptr) {
        return {};
    }
    SDL_UpdateTexture(texture, nullptr, argb, width * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    return state->adopt(texture);
}

Texture Renderer::createTarget(int width, int height, bool opaque) {
    if (state->renderer == nullptr || width <= 0 || height <= 0) {
        return {};
    }
    SDL_Texture* texture =
        SDL_CreateTexture(state->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
    if (texture == nullptr) {
        return {};
    }
    SDL_SetTextureBlendMode(texture, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    return state->adopt(texture);
}

void Renderer::release(Texture& texture) {
    if (SDL_Texture* sdlTexture = state->find(texture)) {
        SDL_DestroyTexture(sdlTexture);
        state->slots[static_cast<std::size_t>(texture.id)] = nullptr;
        state->freeSlots.push_back(texture.id);
    }
    texture = {};
}

void Renderer::setTarget(const Texture* target) {
    if (state->renderer == nullptr) {
        return;
    }
    SDL_SetRenderTarget(state->renderer, target != nullptr ? state->find(*target) : nullptr);
}

void Renderer::setClip(const FRect* clip) {
    if (state->renderer == nullptr) {
        return;
    }
    if (clip == nullptr) {
        SDL_RenderSetClipRect(state->renderer, nullptr);
        return;
    }
    const int left = static_cast<int>(std::floor(clip->x));
    const int top = static_cast<int>(std::floor(clip->y));
    const int right = static_cast<int>(std::ceil(clip->x + clip->w));
    const int bottom = static_cast<int>(std::ceil(clip->y + clip->h));
    const SDL_Rect rect{left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
    SDL_RenderSetClipRect(state->renderer, &rect);
}

void Renderer::clear(std::uint32_t rgb, float opacity) {
    if (state->renderer == nullptr) {
        return;
    }
    const SDL_Color colour = colourOf(rgb, opacity);
    SDL_SetRenderDrawColor(state->renderer, colour.r, colour.g, colour.b, colour.a);
    SDL_RenderClear(state->renderer);
}

void Renderer::fillRect(const FRect& rect, std::uint32_t rgb, float opacity) {
    if (state->renderer == nullptr || rect.w <= 0 || rect.h <= 0 || opacity <= 0) {
        return;
    }
    const SDL_Color colour = colourOf(rgb, opacity);
    SDL_SetRenderDrawBlendMode(state->renderer, colour.a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(state->renderer, colour.r, colour.g, colour.b, colour.a);
    const SDL_FRect sdlRect{rect.x, rect.y, rect.w, rect.h};
    SDL_RenderFillRectF(state->renderer, &sdlRect);
}

void Renderer::fillQuad(const float* xy, std::uint32_t rgb, float opacity) {
    if (state->renderer == nullptr || opacity <= 0) {
        return;
    }
    const SDL_Color colour = colourOf(rgb, opacity);
    SDL_Vertex vertices[4];
    for (int i = 0; i < 4; ++i) {
        vertices[i].position = SDL_FPoint{xy[2 * i], xy[2 * i + 1]};
        vertices[i].color = colour;
        vertices[i].tex_coord = SDL_FPoint{0, 0};
    }
    static constexpr int INDICES[6] = {0, 1, 2, 0, 2, 3};
    SDL_RenderGeometry(state->renderer, nullptr, vertices, 4, INDICES, 6);
}

void Renderer::drawImage(const Texture& texture, const FRect& source, const FRect& dest, bool mirror,
                         float degrees, float opacity, std::uint32_t tint) {
    SDL_Texture* sdlTexture = state->find(texture);
    if (sdlTexture == nullptr || opacity <= 0 || dest.w <= 0 || dest.h <= 0) {
        return;
    }
    SDL_SetTextureAlphaMod(sdlTexture, alphaOf(opacity));
    SDL_SetTextureColorMod(sdlTexture, static_cast<Uint8>((tint >> 16) & 0xFF),
                           static_cast<Uint8>((tint >> 8) & 0xFF), static_cast<Uint8>(tint & 0xFF));
    const SDL_Rect src{static_cast<int>(source.x), static_cast<int>(source.y), static_cast<int>(source.w),
                       static_cast<int>(source.h)};
    const SDL_FRect dst{dest.x, dest.y, dest.w, dest.h};
    if (!mirror && degrees == 0) {
        SDL_RenderCopyF(state->renderer, sdlTexture, &src, &dst);
        return;
    }
    SDL_RenderCopyExF(state->renderer, sdlTexture, &src, &dst, degrees, nullptr,
                      mirror ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
}

void Renderer::present() {
    if (state->renderer != nullptr) {
        SDL_RenderPresent(state->renderer);
    }
}

bool Renderer::readPixels(std::vector<std::uint8_t>& bgra, int& width, int& height) {
    width = 0;
    height = 0;
    if (state->renderer == nullptr) {
        return false;
    }
    if (SDL_Texture* target = SDL_GetRenderTarget(state->renderer)) {
        SDL_QueryTexture(target, nullptr, nullptr, &width, &height);
    } else {
        SDL_GetRendererOutputSize(state->renderer, &width, &height);
    }
    if (width <= 0 || height <= 0) {
        return false;
    }
    bgra.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    // ARGB8888 words in little-endian memory are the bytes blue, green, red, alpha.
    return SDL_RenderReadPixels(state->renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, bgra.data(), width * 4) ==
           0;
}

bool Renderer::openFont(const std::string& path) {
    if (!state->fontsStarted) {
        if (TTF_Init() != 0) {
            return false;
        }
        state->fontsStarted = true;
    }
    state->closeFonts();
    TTF_Font* probe = TTF_OpenFont(path.c_str(), 12);
    if (probe == nullptr) {
        state->fontPath.clear();
        return false;
    }
    state->fontPath = path;
    state->fonts.emplace(12, probe);
    return true;
}

Texture Renderer::renderText(const std::string& text, int pixelSize, int wrapWidth, bool centred) {
    if (state->renderer == nullptr || text.empty() || pixelSize <= 0) {
        return {};
    }
    TTF_Font* font = state->font(pixelSize);
    if (font == nullptr) {
        return {};
    }
    TTF_SetFontWrappedAlign(font, centred ? TTF_WRAPPED_ALIGN_CENTER : TTF_WRAPPED_ALIGN_LEFT);
    SDL_Surface* surface = TTF_RenderUTF8_Blended_Wrapped(font, text.c_str(), SDL_Color{255, 255, 255, 255},
                                                          std::max(wrapWidth, 0));
    if (surface == nullptr) {
        return {};
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(state->renderer, surface);
    SDL_FreeSurface(surface);
    if (texture != nullptr) {
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    }
    return state->adopt(texture);
}

std::string Renderer::deviceName() const {
    return state->name;
}

} // namespace grumbo
