#pragma once
// The drawing objects of a device context: 24-bit bitmaps, pens, brushes and fonts. They are made by
// the Create functions and released with DeleteObject; an object still selected into a context is
// not deleted (DeleteObject answers false), so a context never points at freed memory.
#include <cstdint>
#include <memory>
#include <string>

namespace gdi {

using COLORREF = uint32_t;  // 0x00BBGGRR, red in the low byte

inline constexpr uint8_t Red_Of(COLORREF c) { return static_cast<uint8_t>(c & 0xFF); }
inline constexpr uint8_t Green_Of(COLORREF c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
inline constexpr uint8_t Blue_Of(COLORREF c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
inline constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}

// Pen styles and brush styles the callers use.
enum : int32_t { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };
enum : int32_t { BS_SOLID = 0, BS_HOLLOW = 1 };

class Gdi_object {
public:
    enum class Kind { bitmap, pen, brush, font };
    explicit Gdi_object(Kind kind) : kind_(kind) {}
    virtual ~Gdi_object() = default;
    Gdi_object(const Gdi_object&) = delete;
    Gdi_object& operator=(const Gdi_object&) = delete;

    Kind Object_Kind() const { return kind_; }
    // How many contexts have the object selected; kept by the context.
    int32_t selections = 0;
    // Stock objects live for the whole run and are never deleted.
    bool stock = false;

private:
    Kind kind_;
};

// A 24-bit picture, rows bottom-up, each row padded to a multiple of 4 bytes, pixels blue-green-red.
class Bitmap final : public Gdi_object {
public:
    // Zeroed pixels; nullptr when the size is not positive or the memory cannot be had.
    static Bitmap* Create(int32_t width, int32_t height);
    ~Bitmap() override;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Stride() const { return stride_; }
    uint8_t* Bits() const { return bits_; }
    int64_t Size_Image() const { return static_cast<int64_t>(stride_) * height_; }

    // The row that holds picture line y counted from the top.
    uint8_t* Line(int32_t y) const { return bits_ + static_cast<int64_t>(height_ - 1 - y) * stride_; }

private:
    Bitmap(int32_t width, int32_t height, int32_t stride, uint8_t* bits);
    int32_t width_, height_, stride_;
    uint8_t* bits_;
};

class Pen final : public Gdi_object {
public:
    Pen(int32_t style, int32_t width, COLORREF colour)
        : Gdi_object(Kind::pen), style(style), width(width < 1 ? 1 : width), colour(colour) {}
    int32_t style;
    int32_t width;
    COLORREF colour;
};

class Brush final : public Gdi_object {
public:
    Brush(int32_t style, COLORREF colour, int32_t hatch) : Gdi_object(Kind::brush), style(style), colour(colour), hatch(hatch) {}
    int32_t style;
    COLORREF colour;
    int32_t hatch;
};

class Font final : public Gdi_object {
public:
    Font() : Gdi_object(Kind::font) {}
    int32_t height = 0;        // < 0: character height in pixels; > 0: cell height; 0: default
    int32_t width = 0;         // average character width; 0: the face's own
    int32_t escapement = 0;    // tenths of a degree, counter-clockwise
    int32_t weight = 0;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    std::string face;
};

// The bits of a new 24-bit bottom-up bitmap; nullptr and no bits when it cannot be made.
Bitmap* CreateDIBSection(int32_t width, int32_t height, uint8_t** bits);
Pen* CreatePen(int32_t style, int32_t width, COLORREF colour);
Brush* CreateBrushIndirect(int32_t style, COLORREF colour, int32_t hatch);
Brush* CreateSolidBrush(COLORREF colour);
Font* CreateFontA(int32_t height, int32_t width, int32_t escapement, int32_t orientation, int32_t weight,
                  bool italic, bool underline, bool strike_out, int32_t charset, int32_t out_precision,
                  int32_t clip_precision, int32_t quality, int32_t pitch_and_family, const std::string& face);
// False for a null, stock or still selected object.
bool DeleteObject(Gdi_object* object);

// The objects a new context holds: black 1-pixel pen, white brush, the default font, a 1 x 1 bitmap.
Pen* Stock_Pen();
Brush* Stock_Brush();
Font* Stock_Font();
Bitmap* Stock_Bitmap();

}  // namespace gdi
