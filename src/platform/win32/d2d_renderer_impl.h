// The Direct2D renderer's state. Device-dependent resources (the window target, the brush
// and every bitmap) are dropped together when Direct2D reports the target lost and are
// remade lazily on the next call that needs them.
#pragma once

#include "platform/renderer.h"

#include <d2d1.h>
#include <dwrite.h>
#include <map>
#include <vector>
#include <wincodec.h>
#include <windows.h>

namespace grumbo {

struct D2dSlot {
    ID2D1Bitmap* bitmap = nullptr;
    // Set for textures that can be drawn into; the bitmap is its surface.
    ID2D1BitmapRenderTarget* target = nullptr;
    int width = 0;
    int height = 0;
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
