#pragma once
// A device context: the drawing state (pen, brush, font, text colours, current position) over a
// 24-bit bottom-up surface. A memory context draws on the bitmap selected into it; a window's
// context draws on the window's backing bitmap, which the window sets, and tells the window when
// something was drawn. Handles are plain pointers, as the callers pass them around.
#include "Deferral.h"
#include "Gdi_objects.h"

#include <functional>
#include <memory>

class QPainter;

namespace gdi {

enum : int32_t { TRANSPARENT = 1, OPAQUE = 2 };
enum : int32_t { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

class Device_context {
public:
    enum class Kind { memory, window };
    explicit Device_context(Kind kind);
    ~Device_context();
    Device_context(const Device_context&) = delete;
    Device_context& operator=(const Device_context&) = delete;

    Kind Context_Kind() const { return kind_; }

    // The surface drawn on: the selected bitmap, or the window's backing bitmap (nullptr when none),
    // with the window's deferred picture drawn into it.
    Bitmap* Surface() const;
    // The same bitmap for its size only: a deferred picture is not drawn.
    const Bitmap* Surface_For_Size() const;
    // The window sets its backing bitmap (not owned) and is told of every drawing on it. A picture
    // deferred for the bitmap before is dropped: it was made for that bitmap.
    void Set_Window_Surface(Bitmap* surface, std::function<void()> on_drawn);

    // A window's picture left for its paint (see Deferral): a layer that draws the whole surface, and
    // layers over it. A memory context, a window without a bitmap, and a layer over a picture that is
    // not deferred draw at once.
    void Defer_Cover(Deferral::Layer layer);
    void Defer_Over(Deferral::Layer layer);
    // The window's deferral (none for a memory context), for a paint that draws it and for whoever
    // must settle it before changing what its layers read. It ends with the context.
    std::weak_ptr<Deferral> Deferred() const { return deferral_; }
    bool Deferred_Pending() const { return deferral_ && deferral_->Pending(); }
    void Settle_Deferred() const {
        if (deferral_) deferral_->Settle();
    }
    void Drop_Deferred() const {
        if (deferral_) deferral_->Drop();
    }
    // Drawing functions call this after they changed the surface.
    void Drawn() const;

    // Runs `paint` with a QPainter on the surface, set up so that (0, 0) is the top-left corner of the
    // picture although the rows are stored bottom-up. Nothing happens without a surface.
    bool Paint(const std::function<void(QPainter&)>& paint);

    Gdi_object* Select(Gdi_object* object);
    // Back to the state of a new context: stock pen, brush and font, default colours and modes, the
    // current position at (0, 0). The selected bitmap stays.
    void Reset_State();

    Pen* Current_Pen() const { return static_cast<Pen*>(pen_); }
    Brush* Current_Brush() const { return static_cast<Brush*>(brush_); }
    Font* Current_Font() const { return static_cast<Font*>(font_); }

    int32_t bk_mode = OPAQUE;
    COLORREF bk_colour = 0xFFFFFF;
    COLORREF text_colour = 0;
    int32_t stretch_mode = BLACKONWHITE;
    int32_t current_x = 0;
    int32_t current_y = 0;

private:
    Kind kind_;
    Gdi_object* pen_;
    Gdi_object* brush_;
    Gdi_object* font_;
    Gdi_object* bitmap_;  // memory context only
    Bitmap* window_surface_ = nullptr;
    std::function<void()> on_drawn_;
    std::shared_ptr<Deferral> deferral_;  // window context only

    void Draw_Now(const Deferral::Layer& layer);
};

// A new memory context holding a 1 x 1 stock bitmap until a bitmap is selected into it. The
// reference context is not needed: every surface is 24-bit.
Device_context* CreateCompatibleDC(Device_context* reference);
// Deletes a memory context; the objects selected into it are deselected, not deleted.
bool DeleteDC(Device_context* dc);

// The object it displaced; nullptr when the object cannot be selected (a bitmap into a window's
// context, a null context or object).
Gdi_object* SelectObject(Device_context* dc, Gdi_object* object);

// Each returns the previous value (0 for a null context).
int32_t SetBkMode(Device_context* dc, int32_t mode);
COLORREF SetBkColor(Device_context* dc, COLORREF colour);
COLORREF SetTextColor(Device_context* dc, COLORREF colour);
int32_t SetStretchBltMode(Device_context* dc, int32_t mode);

// Pixels addressed from the top-left corner. GetPixel answers CLR_INVALID outside the surface;
// writes outside it are ignored (SetPixel answers -1, SetPixelV false).
COLORREF GetPixel(Device_context* dc, int32_t x, int32_t y);
int32_t SetPixel(Device_context* dc, int32_t x, int32_t y, COLORREF colour);
bool SetPixelV(Device_context* dc, int32_t x, int32_t y, COLORREF colour);

}  // namespace gdi
