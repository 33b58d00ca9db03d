// The drawing device on Direct2D: a window render target, one solid brush, bitmaps for
// textures and compatible bitmap targets for drawable ones, DirectWrite for text, WIC for
// PNG files, and a GDI copy of the window for reading a frame back.

#include "platform/image_header.h"
#include "platform/win32/d2d_renderer_impl.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_window_impl.h"

#include <algorithm>
#include <cmath>

namespace grumbo {
namespace {

// Bold monospaced text; where the face is missing the system substitutes its own.
constexpr wchar_t TEXT_FACE[] = L"Consolas";

template <typename T> void releaseCom(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

D2D1_COLOR_F colour(std::uint32_t rgb, float opacity) {
    return D2D1::ColorF(static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
                        static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
                        static_cast<float>(rgb & 0xFF) / 255.0f, opacity);
}

D2D1_RECT_F rectOf(const FRect& r) {
    return D2D1::RectF(r.x, r.y, r.x + r.w, r.y + r.h);
}

// Everything is laid out in pixels: 96 DPI makes one device-independent unit one pixel.
D2D1_BITMAP_PROPERTIES bitmapProperties() {
    return D2D1::BitmapProperties(
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
}

using win32::widen;

void releaseSlot(D2dSlot& slot);

D2dSlot makeSlot(ID2D1Bitmap* bitmap, ID2D1BitmapRenderTarget* target, int width, int height) {
    D2dSlot slot;
    slot.bitmap = bitmap;
    slot.target = target;
    slot.width = width;
    slot.height = height;
    return slot;
}

void popClip(Renderer::Impl& impl) {
    if (impl.clipPushed && impl.current != nullptr) {
        impl.current->PopAxisAlignedClip();
    }
    impl.clipPushed = false;
}

// Ends drawing into a slot's target, if that is where drawing goes.
void endSlotDrawing(Renderer::Impl& impl) {
    if (impl.currentSlot < 0) {
        return;
    }
    popClip(impl);
    if (impl.current != nullptr) {
        impl.current->EndDraw();
    }
    impl.current = nullptr;
    impl.currentSlot = -1;
}

void dropDeviceResources(Renderer::Impl& impl) {
    endSlotDrawing(impl);
    if (impl.windowDrawing && impl.windowTarget != nullptr) {
        popClip(impl);
        impl.windowTarget->EndDraw();
    }
    impl.windowDrawing = false;
    impl.clipPushed = false;
    impl.current = nullptr;
    for (D2dSlot& slot : impl.slots) {
        releaseSlot(slot);
    }
    impl.slots.clear();
    impl.freeSlots.clear();
    releaseCom(impl.brush);
    releaseCom(impl.windowTarget);
    // Every handle handed out so far now names nothing.
    ++impl.epoch;
}

void clientPixels(HWND hwnd, UINT& width, UINT& height) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    width = static_cast<UINT>(std::max<LONG>(client.right - client.left, 1));
    height = static_cast<UINT>(std::max<LONG>(client.bottom - client.top, 1));
}

bool ensureWindowTarget(Renderer::Impl& impl) {
    if (impl.factory == nullptr || impl.hwnd == nullptr) {
        return false;
    }
    UINT width = 0;
    UINT height = 0;
    clientPixels(impl.hwnd, width, height);
    if (impl.windowTarget == nullptr) {
        const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT,
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE), 96.0f, 96.0f);
        const D2D1_HWND_RENDER_TARGET_PROPERTIES windowProperties = D2D1::HwndRenderTargetProperties(
            impl.hwnd, D2D1::SizeU(width, height), D2D1_PRESENT_OPTIONS_IMMEDIATELY);
        if (FAILED(impl.factory->CreateHwndRenderTarget(properties, windowProperties, &impl.windowTarget))) {
            impl.windowTarget = nullptr;
            return false;
        }
        if (FAILED(impl.windowTarget->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1), &impl.brush))) {
            impl.brush = nullptr;
            releaseCom(impl.windowTarget);
            return false;
        }
        return true;
    }
    const D2D1_SIZE_U size = impl.windowTarget->GetPixelSize();
    if (!impl.windowDrawing && (size.width != width || size.height != height)) {
        impl.windowTarget->Resize(D2D1::SizeU(width, height));
    }
    return true;
}

// The target drawing calls go to, with BeginDraw done; null when there is none.
ID2D1RenderTarget* drawingTarget(Renderer::Impl& impl) {
    if (impl.current != nullptr) {
        return impl.current;
    }
    if (!ensureWindowTarget(impl)) {
        return nullptr;
    }
    if (!impl.windowDrawing) {
        impl.windowTarget->BeginDraw();
        impl.windowTarget->SetTransform(D2D1::Matrix3x2F::Identity());
        impl.windowDrawing = true;
    }
    impl.current = impl.windowTarget;
    impl.currentSlot = -1;
    return impl.current;
}

D2dSlot* slotOf(Renderer::Impl& impl, const Texture& texture) {
    if (!texture.valid() || texture.epoch != impl.epoch ||
        texture.id >= static_cast<int>(impl.slots.size())) {
        return nullptr;
    }
    D2dSlot& slot = impl.slots[static_cast<std::size_t>(texture.id)];
    return slot.bitmap != nullptr ? &slot : nullptr;
}

Texture addSlot(Renderer::Impl& impl, const D2dSlot& slot) {
    int id = 0;
    if (!impl.freeSlots.empty()) {
        id = impl.freeSlots.back();
        impl.freeSlots.pop_back();
        impl.slots[static_cast<std::size_t>(id)] = slot;
    } else {
        id = static_cast<int>(impl.slots.size());
        impl.slots.push_back(slot);
    }
    return Texture{id, impl.epoch, slot.width, slot.height};
}

IDWriteTextFormat* textFormat(Renderer::Impl& impl, int pixelSize) {
    if (auto found = impl.textFormats.find(pixelSize); found != impl.textFormats.end()) {
        return found->second;
    }
    IDWriteTextFormat* format = nullptr;
    if (impl.writeFactory == nullptr ||
        FAILED(impl.writeFactory->CreateTextFormat(TEXT_FACE, nullptr, DWRITE_FONT_WEIGHT_BOLD,
                                                   DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL,
                                                   static_cast<float>(pixelSize), L"en-us", &format))) {
        return nullptr;
    }
    format->SetWordWrapping(DWRITE_WORD_WRAPPING_WRAP);
    format->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_NEAR);
    impl.textFormats.emplace(pixelSize, format);
    return format;
}

// Paints a text layout in `rgb` on transparency.
void paintText(ID2D1BitmapRenderTarget* target, IDWriteTextLayout* layout, float left, std::uint32_t rgb) {
    ID2D1SolidColorBrush* ink = nullptr;
    if (FAILED(target->CreateSolidColorBrush(colour(rgb, 1), &ink))) {
        return;
    }
    target->BeginDraw();
    target->SetTransform(D2D1::Matrix3x2F::Identity());
    target->Clear(D2D1::ColorF(0, 0, 0, 0));
    target->SetTextAntialiasMode(D2D1_TEXT_ANTIALIAS_MODE_GRAYSCALE);
    target->DrawTextLayout(D2D1::Point2F(-left, 0), layout, ink, D2D1_DRAW_TEXT_OPTIONS_CLIP);
    target->EndDraw();
    ink->Release();
}

void releaseSlot(D2dSlot& slot) {
    for (D2dInk& ink : slot.inks) {
        releaseCom(ink.bitmap);
        releaseCom(ink.target);
    }
    slot.inks.clear();
    releaseCom(slot.bitmap);
    releaseCom(slot.target);
    releaseCom(slot.layout);
}

// Few texts are shown in more than one colour; beyond this many the oldest colour goes.
constexpr std::size_t MAX_INKS = 4;

// The bitmap of a text slot in `rgb`, painted the first time that colour is asked for.
ID2D1Bitmap* inkedText(Renderer::Impl& impl, D2dSlot& slot, std::uint32_t rgb) {
    if (rgb == 0xFFFFFF) {
        return slot.bitmap;
    }
    for (const D2dInk& ink : slot.inks) {
        if (ink.rgb == rgb) {
            return ink.bitmap;
        }
    }
    D2dInk ink;
    ink.rgb = rgb;
    const D2D1_PIXEL_FORMAT format =
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED);
    const D2D1_SIZE_F size = D2D1::SizeF(static_cast<float>(slot.width), static_cast<float>(slot.height));
    if (impl.windowTarget == nullptr ||
        FAILED(impl.windowTarget->CreateCompatibleRenderTarget(
            &size, nullptr, &format, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, &ink.target)) ||
        FAILED(ink.target->GetBitmap(&ink.bitmap))) {
        releaseCom(ink.target);
        return slot.bitmap;
    }
    paintText(ink.target, slot.layout, slot.layoutLeft, rgb);
    if (slot.inks.size() >= MAX_INKS) {
        releaseCom(slot.inks.front().bitmap);
        releaseCom(slot.inks.front().target);
        slot.inks.erase(slot.inks.begin());
    }
    slot.inks.push_back(ink);
    return ink.bitmap;
}

// A GDI copy of the window's client area as top-down BGRX rows.
bool captureWindow(HWND hwnd, std::vector<std::uint8_t>& bgra, int& width, int& height) {
    UINT w = 0;
    UINT h = 0;
    clientPixels(hwnd, w, h);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    HDC windowDc = ::GetDC(hwnd);
    if (windowDc == nullptr) {
        return false;
    }
    HDC memoryDc = ::CreateCompatibleDC(windowDc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(windowDc, width, height);
    bool copied = false;
    if (memoryDc != nullptr && bitmap != nullptr) {
        HGDIOBJ previous = ::SelectObject(memoryDc, bitmap);
        copied = ::BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
        ::SelectObject(memoryDc, previous);
        if (copied) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = width;
            // Negative height asks for rows top to bottom.
            info.bmiHeader.biHeight = -height;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            bgra.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
            copied = ::GetDIBits(memoryDc, bitmap, 0, h, bgra.data(), &info, DIB_RGB_COLORS) ==
                     static_cast<int>(h);
        }
    }
    if (bitmap != nullptr) {
        ::DeleteObject(bitmap);
    }
    if (memoryDc != nullptr) {
        ::DeleteDC(memoryDc);
    }
    ::ReleaseDC(hwnd, windowDc);
    return copied;
}

// Ends the window's frame; a lost target drops every device resource.
void endWindowFrame(Renderer::Impl& impl) {
    endSlotDrawing(impl);
    if (!impl.windowDrawing || impl.windowTarget == nullptr) {
        impl.current = nullptr;
        return;
    }
    popClip(impl);
    HRESULT result = impl.windowTarget->EndDraw();
    impl.windowDrawing = false;
    impl.current = nullptr;
    if (impl.failNextEndDraw) {
        impl.failNextEndDraw = false;
        result = static_cast<HRESULT>(D2DERR_RECREATE_TARGET);
    }
    if (result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        dropDeviceResources(impl);
        impl.lossPending = true;
    }
}

} // namespace

void simulateTargetLoss(Renderer& renderer) {
    renderer.impl().failNextEndDraw = true;
}

Renderer::Renderer() : state(std::make_unique<Impl>()) {}

Renderer::~Renderer() {
    destroy();
}

bool Renderer::create(Window& window) {
    destroy();
    state->hwnd = window.impl().hwnd;
    if (state->hwnd == nullptr) {
        return false;
    }
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    state->comStarted = SUCCEEDED(com);
    if (FAILED(::D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                   reinterpret_cast<void**>(&state->factory)))) {
        state->factory = nullptr;
        destroy();
        return false;
    }
    if (FAILED(::DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                     reinterpret_cast<IUnknown**>(&state->writeFactory)))) {
        state->writeFactory = nullptr;
    }
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  __uuidof(IWICImagingFactory), reinterpret_cast<void**>(&state->imaging)))) {
        state->imaging = nullptr;
    }
    if (!ensureWindowTarget(*state)) {
        destroy();
        return false;
    }
    return true;
}

void Renderer::destroy() {
    dropDeviceResources(*state);
    for (auto& entry : state->textFormats) {
        entry.second->Release();
    }
    state->textFormats.clear();
    releaseCom(state->imaging);
    releaseCom(state->writeFactory);
    releaseCom(state->factory);
    if (state->comStarted) {
        ::CoUninitialize();
        state->comStarted = false;
    }
    state->hwnd = nullptr;
    state->lossPending = false;
}

bool Renderer::ready() const {
    return state->factory != nullptr;
}

bool Renderer::takeDeviceLoss() {
    const bool lost = state->lossPending;
    state->lossPending = false;
    return lost;
}

void Renderer::outputSize(int& width, int& height) const {
    width = 0;
    height = 0;
    if (state->hwnd != nullptr) {
        UINT w = 0;
        UINT h = 0;
        clientPixels(state->hwnd, w, h);
        width = static_cast<int>(w);
        height = static_cast<int>(h);
    }
}

// Direct2D blends an opaque bitmap as cheaply as it copies one.
Texture Renderer::loadImage(const std::string& path, bool) {
    const std::wstring file = widen(path);
    int width = 0;
    int height = 0;
    if (state->imaging == nullptr || !ensureWindowTarget(*state) || !readPngSize(file, width, height) ||
        !imageSizeUsable(width, height, static_cast<int>(state->windowTarget->GetMaximumBitmapSize()))) {
        return {};
    }
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    ID2D1Bitmap* bitmap = nullptr;
    bool loaded =
        SUCCEEDED(state->imaging->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                            WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(state->imaging->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                        nullptr, 0.0, WICBitmapPaletteTypeCustom));
    const D2D1_BITMAP_PROPERTIES properties = bitmapProperties();
    loaded =
        loaded && SUCCEEDED(state->windowTarget->CreateBitmapFromWicBitmap(converter, &properties, &bitmap));
    releaseCom(converter);
    releaseCom(frame);
    releaseCom(decoder);
    if (!loaded) {
        releaseCom(bitmap);
        return {};
    }
    const D2D1_SIZE_U size = bitmap->GetPixelSize();
    return addSlot(*state,
                   makeSlot(bitmap, nullptr, static_cast<int>(size.width), static_cast<int>(size.height)));
}

Texture Renderer::createImage(int width, int height, const std::uint32_t* argb) {
    if (width <= 0 || height <= 0 || argb == nullptr || !ensureWindowTarget(*state)) {
        return {};
    }
    // Direct2D takes premultiplied blue, green, red, alpha bytes.
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    for (std::size_t i = 0; i < pixels.size() / 4; ++i) {
        const std::uint32_t p = argb[i];
        const std::uint32_t a = p >> 24;
        pixels[i * 4 + 0] = static_cast<std::uint8_t>((p & 0xFF) * a / 255);
        pixels[i * 4 + 1] = static_cast<std::uint8_t>(((p >> 8) & 0xFF) * a / 255);
        pixels[i * 4 + 2] = static_cast<std::uint8_t>(((p >> 16) & 0xFF) * a / 255);
        pixels[i * 4 + 3] = static_cast<std::uint8_t>(a);
    }
    ID2D1Bitmap* bitmap = nullptr;
    if (FAILED(state->windowTarget->CreateBitmap(
            D2D1::SizeU(static_cast<UINT>(width), static_cast<UINT>(height)), pixels.data(),
            static_cast<UINT>(width) * 4, bitmapProperties(), &bitmap))) {
        return {};
    }
    return addSlot(*state, makeSlot(bitmap, nullptr, width, height));
}

Texture Renderer::createTarget(int width, int height, bool opaque) {
    if (width <= 0 || height <= 0 || !ensureWindowTarget(*state)) {
        return {};
    }
    ID2D1BitmapRenderTarget* target = nullptr;
    const D2D1_PIXEL_FORMAT format = D2D1::PixelFormat(
        DXGI_FORMAT_B8G8R8A8_UNORM, opaque ? D2D1_ALPHA_MODE_IGNORE : D2D1_ALPHA_MODE_PREMULTIPLIED);
    const D2D1_SIZE_F size = D2D1::SizeF(static_cast<float>(width), static_cast<float>(height));
    if (FAILED(state->windowTarget->CreateCompatibleRenderTarget(
            &size, nullptr, &format, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, &target))) {
        return {};
    }
    ID2D1Bitmap* bitmap = nullptr;
    if (FAILED(target->GetBitmap(&bitmap))) {
        target->Release();
        return {};
    }
    return addSlot(*state, makeSlot(bitmap, target, width, height));
}

void Renderer::release(Texture& texture) {
    if (D2dSlot* slot = slotOf(*state, texture)) {
        if (state->currentSlot == texture.id) {
            endSlotDrawing(*state);
        }
        releaseSlot(*slot);
        state->freeSlots.push_back(texture.id);
    }
    texture = Texture{};
}

void Renderer::setTarget(const Texture* target) {
    endSlotDrawing(*state);
    if (target == nullptr) {
        popClip(*state);
        state->current = nullptr;
        drawingTarget(*state);
        return;
    }
    D2dSlot* slot = slotOf(*state, *target);
    if (slot == nullptr || slot->target == nullptr) {
        drawingTarget(*state);
        return;
    }
    // The window keeps its frame open; only its clip is lifted while the slot is drawn.
    popClip(*state);
    slot->target->BeginDraw();
    slot->target->SetTransform(D2D1::Matrix3x2F::Identity());
    state->current = slot->target;
    state->currentSlot = target->id;
}

void Renderer::setClip(const FRect* clip) {
    ID2D1RenderTarget* target = drawingTarget(*state);
    if (target == nullptr) {
        return;
    }
    popClip(*state);
    if (clip != nullptr) {
        target->PushAxisAlignedClip(rectOf(*clip), D2D1_ANTIALIAS_MODE_ALIASED);
        state->clipPushed = true;
    }
}

void Renderer::clear(std::uint32_t rgb, float opacity) {
    if (ID2D1RenderTarget* target = drawingTarget(*state)) {
        target->Clear(colour(rgb, opacity));
    }
}

void Renderer::fillRect(const FRect& rect, std::uint32_t rgb, float opacity) {
    ID2D1RenderTarget* target = drawingTarget(*state);
    if (target == nullptr || state->brush == nullptr) {
        return;
    }
    state->brush->SetColor(colour(rgb, 1));
    state->brush->SetOpacity(opacity);
    target->FillRectangle(rectOf(rect), state->brush);
}

void Renderer::fillQuad(const float* xy, std::uint32_t rgb, float opacity) {
    ID2D1RenderTarget* target = drawingTarget(*state);
    if (target == nullptr || state->brush == nullptr) {
        return;
    }
    ID2D1PathGeometry* path = nullptr;
    ID2D1GeometrySink* sink = nullptr;
    if (FAILED(state->factory->CreatePathGeometry(&path)) || FAILED(path->Open(&sink))) {
        releaseCom(path);
        return;
    }
    sink->BeginFigure(D2D1::Point2F(xy[0], xy[1]), D2D1_FIGURE_BEGIN_FILLED);
    for (int i = 1; i < 4; ++i) {
        sink->AddLine(D2D1::Point2F(xy[i * 2], xy[i * 2 + 1]));
    }
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
    const bool closed = SUCCEEDED(sink->Close());
    releaseCom(sink);
    if (closed) {
        state->brush->SetColor(colour(rgb, 1));
        state->brush->SetOpacity(opacity);
        target->FillGeometry(path, state->brush);
    }
    releaseCom(path);
}

void Renderer::drawImage(const Texture& texture, const FRect& source, const FRect& dest, bool mirror,
                         float degrees, float opacity, std::uint32_t tint) {
    D2dSlot* slot = slotOf(*state, texture);
    ID2D1RenderTarget* target = drawingTarget(*state);
    if (slot == nullptr || target == nullptr || state->currentSlot == texture.id) {
        return;
    }
    const D2D1_POINT_2F centre = D2D1::Point2F(dest.x + dest.w * 0.5f, dest.y + dest.h * 0.5f);
    const bool transformed = mirror || degrees != 0.0f;
    if (transformed) {
        D2D1::Matrix3x2F matrix = D2D1::Matrix3x2F::Identity();
        if (mirror) {
            matrix = D2D1::Matrix3x2F::Scale(-1.0f, 1.0f, centre);
        }
        if (degrees != 0.0f) {
            matrix = matrix * D2D1::Matrix3x2F::Rotation(degrees, centre);
        }
        target->SetTransform(matrix);
    }
    const D2D1_RECT_F destRect = rectOf(dest);
    const D2D1_RECT_F sourceRect = rectOf(source);
    tint &= 0xFFFFFF;
    // White text multiplied by a tint is the same text painted in that colour.
    ID2D1Bitmap* bitmap = slot->layout != nullptr ? inkedText(*state, *slot, tint) : slot->bitmap;
    if (slot->layout == nullptr && tint != 0xFFFFFF && state->brush != nullptr) {
        // Other tinted pictures are taken as white shapes: the tint painted through their alpha.
        state->brush->SetColor(colour(tint, 1));
        state->brush->SetOpacity(opacity);
        const D2D1_ANTIALIAS_MODE previous = target->GetAntialiasMode();
        target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
        target->FillOpacityMask(bitmap, state->brush, D2D1_OPACITY_MASK_CONTENT_GRAPHICS, &destRect,
                                &sourceRect);
        target->SetAntialiasMode(previous);
    } else {
        target->DrawBitmap(bitmap, destRect, opacity, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR,
                           &sourceRect);
    }
    if (transformed) {
        target->SetTransform(D2D1::Matrix3x2F::Identity());
    }
}

void Renderer::present() {
    endWindowFrame(*state);
}

bool Renderer::readPixels(std::vector<std::uint8_t>& bgra, int& width, int& height) {
    if (state->hwnd == nullptr || state->currentSlot >= 0) {
        return false;
    }
    // Direct2D cannot hand back the window's pixels, so the frame is finished here and the
    // window copied through GDI; the following `present` has nothing left to do.
    endWindowFrame(*state);
    return captureWindow(state->hwnd, bgra, width, height);
}

// Text uses the system's monospaced face; the font file beside the game is for other systems.
bool Renderer::openFont(const std::string&) {
    return state->writeFactory != nullptr;
}

Texture Renderer::renderText(const std::string& text, int pixelSize, int wrapWidth, bool centred) {
    if (text.empty() || pixelSize <= 0 || !ensureWindowTarget(*state)) {
        return {};
    }
    IDWriteTextFormat* format = textFormat(*state, pixelSize);
    if (format == nullptr) {
        return {};
    }
    const std::wstring wide = widen(text);
    IDWriteTextLayout* layout = nullptr;
    const float maxWidth = wrapWidth > 0 ? static_cast<float>(wrapWidth) : 100000.0f;
    if (FAILED(state->writeFactory->CreateTextLayout(wide.c_str(), static_cast<UINT32>(wide.size()), format,
                                                     maxWidth, 100000.0f, &layout))) {
        return {};
    }
    layout->SetTextAlignment(centred ? DWRITE_TEXT_ALIGNMENT_CENTER : DWRITE_TEXT_ALIGNMENT_LEADING);
    DWRITE_TEXT_METRICS metrics{};
    layout->GetMetrics(&metrics);
    // The picture is as wide as the widest line; centred lines stay centred within it.
    const int width = static_cast<int>(std::ceil(metrics.widthIncludingTrailingWhitespace));
    const int height = static_cast<int>(std::ceil(metrics.height));
    const float left = centred ? metrics.left : 0.0f;
    Texture texture;
    if (width > 0 && height > 0) {
        texture = createTarget(width, height, false);
    }
    D2dSlot* slot = slotOf(*state, texture);
    if (slot == nullptr) {
        releaseCom(layout);
        return {};
    }
    slot->layout = layout;
    slot->layoutLeft = left;
    paintText(slot->target, layout, left, 0xFFFFFF);
    return texture;
}

std::string Renderer::deviceName() const {
    return "direct2d";
}

} // namespace grumbo
