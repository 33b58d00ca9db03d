// The Direct2D renderer's state. Device-dependent resources (the window target, the brush
// and every bitmap) are dropped together when Direct2D reports the target lost and are
// remade lazily on the next call that needs them.
#pragma once

#include "platform/renderer.h"
#include "platform/win32/win32_api.h"

#include <d2d1.h>
#include <dwrite.h>
#include <map>
#include <vector>
#include <wincodec.h>

namespace grumbo {

// Text shown in a colour other than white: the same layout painted in that colour.
struct D2dInk {
    std::uint32_t rgb = 0xFFFFFF;
    ID2D1BitmapRenderTarget* target = nullptr;
    ID2D1Bitmap* bitmap = nullptr;
};

struct D2dSlot {
    ID2D1Bitmap* bitmap = nullptr;
    // Set for textures that can be drawn into; the bitmap is its surface.
    ID2D1BitmapRenderTarget* target = nullptr;
    int width = 0;
    int height = 0;
    // Text keeps its layout, so it can be painted again in each colour it is shown in.
    IDWriteTextLayout* layout = nullptr;
    float layoutLeft = 0;
    std::vector<D2dInk> inks;
};

struct Renderer::Impl {
    HWND hwnd = nullptr;
    bool comStarted = false;
    ID2D1Factory* factory = nullptr;
    IDWriteFactory* writeFactory = nullptr;
    IWICImagingFactory* imaging = nullptr;
    ID2D1HwndRenderTarget* windowTarget = nullptr;
    ID2D1SolidColorBrush* brush = nullptr;
    std::map<int, IDWriteTextFormat*> textFormats;

    std::vector<D2dSlot> slots;
    std::vector<int> freeSlots;
    std::uint32_t epoch = 1;

    // The target drawing goes to: the window, or a slot's bitmap target.
    ID2D1RenderTarget* current = nullptr;
    int currentSlot = -1;
    bool windowDrawing = false;
    bool clipPushed = false;

    bool lossPending = false;
    // Test seam: the next window EndDraw reports the target lost.
    bool failNextEndDraw = false;
};

// Makes the next presented frame fail as a lost device would, so the recovery path can be
// exercised without a real device reset.
void simulateTargetLoss(Renderer& renderer);

} // namespace grumbo
