#include "Gdi_objects.h"

#include <cstdlib>
#include <limits>

namespace gdi {

Bitmap::Bitmap(int32_t width, int32_t height, int32_t stride, uint8_t* bits)
    : Gdi_object(Kind::bitmap), width_(width), height_(height), stride_(stride), bits_(bits) {}

Bitmap::~Bitmap() { std::free(bits_); }

Bitmap* Bitmap::Create(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return nullptr;
    int64_t stride = (3 * static_cast<int64_t>(width) + 3) & ~int64_t{3};
    int64_t size = stride * height;
    if (size > std::numeric_limits<int32_t>::max()) return nullptr;
    auto* bits = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
    if (!bits) return nullptr;
    return new Bitmap(width, height, static_cast<int32_t>(stride), bits);
}

Bitmap* CreateDIBSection(int32_t width, int32_t height, uint8_t** bits) {
    Bitmap* bitmap = Bitmap::Create(width, height);
    if (bits) *bits = bitmap ? bitmap->Bits() : nullptr;
    return bitmap;
}

Pen* CreatePen(int32_t style, int32_t width, COLORREF colour) { return new Pen(style, width, colour & 0xFFFFFF); }

Brush* CreateBrushIndirect(int32_t style, COLORREF colour, int32_t hatch) {
    return new Brush(style, colour & 0xFFFFFF, hatch);
}

Brush* CreateSolidBrush(COLORREF colour) { return CreateBrushIndirect(BS_SOLID, colour, 0); }

Font* CreateFontA(int32_t height, int32_t width, int32_t escapement, int32_t, int32_t weight, bool italic,
                  bool underline, bool strike_out, int32_t, int32_t, int32_t, int32_t, int32_t,
                  const std::string& face) {
    auto* font = new Font;
    font->height = height;
    font->width = width;
    font->escapement = escapement;
    font->weight = weight;
    font->italic = italic;
    font->underline = underline;
    font->strike_out = strike_out;
    font->face = face;
    return font;
}

bool DeleteObject(Gdi_object* object) {
    if (!object || object->stock || object->selections > 0) return false;
    delete object;
    return true;
}

namespace {
template <class T>
T* Make_Stock(T* object) {
    object->stock = true;
    return object;
}
}  // namespace

Pen* Stock_Pen() {
    static Pen* pen = Make_Stock(new Pen(PS_SOLID, 1, 0));
    return pen;
}

Brush* Stock_Brush() {
    static Brush* brush = Make_Stock(new Brush(BS_SOLID, 0xFFFFFF, 0));
    return brush;
}

Font* Stock_Font() {
    static Font* font = Make_Stock(new Font);
    return font;
}

Bitmap* Stock_Bitmap() {
    static Bitmap* bitmap = Make_Stock(Bitmap::Create(1, 1));
    return bitmap;
}

}  // namespace gdi
