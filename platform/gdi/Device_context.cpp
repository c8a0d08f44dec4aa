#include "Device_context.h"

#include <QImage>
#include <QPainter>

namespace gdi {

namespace {
// Stock objects are shared by every context on every thread and never deleted: not counted.
void Take(Gdi_object* object) {
    if (!object->stock) ++object->selections;
}
void Release(Gdi_object* object) {
    if (!object->stock) --object->selections;
}
}  // namespace

Device_context::Device_context(Kind kind)
    : kind_(kind), pen_(Stock_Pen()), brush_(Stock_Brush()), font_(Stock_Font()),
      bitmap_(kind == Kind::memory ? Stock_Bitmap() : nullptr),
      deferral_(kind == Kind::window ? std::make_shared<Deferral>() : nullptr) {
    Take(pen_);
    Take(brush_);
    Take(font_);
    if (bitmap_) Take(bitmap_);
}

Device_context::~Device_context() {
    Release(pen_);
    Release(brush_);
    Release(font_);
    if (bitmap_) Release(bitmap_);
    if (deferral_) {
        // Whoever still holds the deferral finds nothing to draw and no bitmap to draw on.
        deferral_->Drop();
        deferral_->surface_ = nullptr;
    }
}

Bitmap* Device_context::Surface() const {
    if (kind_ == Kind::memory) return static_cast<Bitmap*>(bitmap_);
    Settle_Deferred();
    return window_surface_;
}

const Bitmap* Device_context::Surface_For_Size() const {
    return kind_ == Kind::memory ? static_cast<Bitmap*>(bitmap_) : window_surface_;
}

void Device_context::Set_Window_Surface(Bitmap* surface, std::function<void()> on_drawn) {
    window_surface_ = surface;
    on_drawn_ = std::move(on_drawn);
    if (!deferral_) return;
    deferral_->Drop();
    deferral_->surface_ = surface;
}

void Device_context::Draw_Now(const Deferral::Layer& layer) {
    Bitmap* surface = Surface();
    if (!surface) return;
    layer(Rows_Of(*surface));
    Drawn();
}

void Device_context::Defer_Cover(Deferral::Layer layer) {
    if (kind_ == Kind::memory || !window_surface_) return Draw_Now(layer);
    deferral_->Cover(std::move(layer));
    Drawn();
}

void Device_context::Defer_Over(Deferral::Layer layer) {
    if (!Deferred_Pending()) return Draw_Now(layer);
    deferral_->Over(std::move(layer));
    Drawn();
}

void Device_context::Drawn() const {
    if (on_drawn_) on_drawn_();
}

bool Device_context::Paint(const std::function<void(QPainter&)>& paint) {
    Bitmap* surface = Surface();
    if (!surface) return false;
    QImage image(surface->Bits(), surface->Width(), surface->Height(), surface->Stride(), QImage::Format_BGR888);
    {
        QPainter painter(&image);
        painter.setTransform(QTransform(1, 0, 0, -1, 0, surface->Height()));
        paint(painter);
    }
    Drawn();
    return true;
}

Gdi_object* Device_context::Select(Gdi_object* object) {
    Gdi_object** slot = nullptr;
    switch (object->Object_Kind()) {
    case Gdi_object::Kind::pen: slot = &pen_; break;
    case Gdi_object::Kind::brush: slot = &brush_; break;
    case Gdi_object::Kind::font: slot = &font_; break;
    case Gdi_object::Kind::bitmap:
        if (kind_ != Kind::memory) return nullptr;
        slot = &bitmap_;
        break;
    }
    Gdi_object* previous = *slot;
    Take(object);
    Release(previous);
    *slot = object;
    return previous;
}

void Device_context::Reset_State() {
    Select(Stock_Pen());
    Select(Stock_Brush());
    Select(Stock_Font());
    bk_mode = OPAQUE;
    bk_colour = 0xFFFFFF;
    text_colour = 0;
    stretch_mode = BLACKONWHITE;
    current_x = 0;
    current_y = 0;
}

Device_context* CreateCompatibleDC(Device_context*) { return new Device_context(Device_context::Kind::memory); }

bool DeleteDC(Device_context* dc) {
    if (!dc || dc->Context_Kind() != Device_context::Kind::memory) return false;
    delete dc;
    return true;
}

Gdi_object* SelectObject(Device_context* dc, Gdi_object* object) {
    if (!dc || !object) return nullptr;
    return dc->Select(object);
}

int32_t SetBkMode(Device_context* dc, int32_t mode) {
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int32_t previous = dc->bk_mode;
    dc->bk_mode = mode;
    return previous;
}

COLORREF SetBkColor(Device_context* dc, COLORREF colour) {
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->bk_colour;
    dc->bk_colour = colour & 0xFFFFFF;
    return previous;
}

COLORREF SetTextColor(Device_context* dc, COLORREF colour) {
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->text_colour;
    dc->text_colour = colour & 0xFFFFFF;
    return previous;
}

int32_t SetStretchBltMode(Device_context* dc, int32_t mode) {
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    int32_t previous = dc->stretch_mode;
    dc->stretch_mode = mode;
    return previous;
}

namespace {
uint8_t* Pixel_At(Device_context* dc, int32_t x, int32_t y) {
    Bitmap* surface = dc ? dc->Surface() : nullptr;
    if (!surface || x < 0 || y < 0 || x >= surface->Width() || y >= surface->Height()) return nullptr;
    return surface->Line(y) + 3 * static_cast<int64_t>(x);
}
}  // namespace

COLORREF GetPixel(Device_context* dc, int32_t x, int32_t y) {
    const uint8_t* p = Pixel_At(dc, x, y);
    return p ? RGB(p[2], p[1], p[0]) : CLR_INVALID;
}

int32_t SetPixel(Device_context* dc, int32_t x, int32_t y, COLORREF colour) {
    return SetPixelV(dc, x, y, colour) ? static_cast<int32_t>(colour & 0xFFFFFF) : -1;
}

bool SetPixelV(Device_context* dc, int32_t x, int32_t y, COLORREF colour) {
    uint8_t* p = Pixel_At(dc, x, y);
    if (!p) return false;
    p[0] = Blue_Of(colour);
    p[1] = Green_Of(colour);
    p[2] = Red_Of(colour);
    dc->Drawn();
    return true;
}

}  // namespace gdi
