#pragma once
// What every printout draws on: a page measured in twips from its top-left corner, with a font, a
// current position that `Print` advances line by line, text sizes, a line width, rectangle outlines and
// pictures. The system printer and the preview's page picture are both print targets, so one drawing
// routine makes the page for either.
#include <QFont>
#include <QImage>

#include <cstdint>
#include <string>

class QPainter;

namespace printer {

// A page size in twips; 32-bit, since a large paper size has more twips than 16 bits hold.
struct Page_size {
    int32_t Width = 0;
    int32_t Height = 0;
};

class Print_target {
public:
    virtual ~Print_target();

    // The page's width and height in twips.
    virtual int32_t ScaleWidth() const = 0;
    virtual int32_t ScaleHeight() const = 0;

    const std::string& FontName() const { return font_name_; }
    void FontName(const std::string& name) { font_name_ = name; }
    float FontSize() const { return font_size_; }
    void FontSize(float points) { font_size_ = points; }
    bool FontBold() const { return font_bold_; }
    void FontBold(bool bold) { font_bold_ = bold; }
    bool FontUnderline() const { return font_underline_; }
    void FontUnderline(bool underline) { font_underline_ = underline; }
    // Text and outline colour, a Windows colour value (red + 256 * green + 65536 * blue).
    int32_t ForeColor() const { return fore_colour_; }
    void ForeColor(int32_t colour) { fore_colour_ = colour & 0xFFFFFF; }

    double CurrentX() const { return current_x_; }
    void CurrentX(double x) { current_x_ = x; }
    double CurrentY() const { return current_y_; }
    void CurrentY(double y) { current_y_ = y; }

    // Draws the text: its first line at CurrentX, CurrentY, every further line (after CR LF) at the left
    // edge. Afterwards CurrentX is 0 and CurrentY one line below the last line, so an empty text or a
    // lone CR LF moves down one or two lines.
    void Print(const std::string& text);
    // The widest line and the height of all lines of the text in the present font, in twips.
    double TextWidth(const std::string& text) const;
    double TextHeight(const std::string& text) const;

    // Outline width in screen pixels, so that the page shows the same on paper and in the preview.
    int16_t DrawWidth() const { return draw_width_; }
    void DrawWidth(int16_t pixels) { draw_width_ = pixels; }
    // The outline of the rectangle with corners (x1, y1) and (x2, y2).
    void Box(double x1, double y1, double x2, double y2);
    // The picture at (x, y) at its own size: each pixel measures the screen's twips per pixel.
    void PaintPicture(const QImage& picture, double x, double y);
    // The picture stretched to width x height twips at (x, y).
    void PaintPicture(const QImage& picture, double x, double y, double width, double height);

    // The page picture starts blank again; the printer, whose page is on its way, keeps it.
    virtual void Cls();

    // Twips per screen pixel: the size of a picture's pixel and of a line width's unit.
    double Twips_Per_Pixel() const { return twips_per_pixel_; }
    void Twips_Per_Pixel(double twips) { twips_per_pixel_ = twips; }

    // The present font as drawn on the page: its pixel size is in twips.
    QFont Font() const;

protected:
    // The painter of the page, set to twips; a printer starts its document here.
    virtual QPainter& Painter() = 0;

private:
    std::string font_name_ = "Arial";
    float font_size_ = 10;
    bool font_bold_ = false;
    bool font_underline_ = false;
    int32_t fore_colour_ = 0;
    double current_x_ = 0;
    double current_y_ = 0;
    int16_t draw_width_ = 1;
    double twips_per_pixel_ = 15;
};

// A Windows colour value as a Qt colour.
QColor Colour_Of(int32_t colour);

}  // namespace printer
