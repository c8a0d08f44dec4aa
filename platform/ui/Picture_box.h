#pragma once
// The picture box: a child window with a persistent backing bitmap that the program draws into at any
// time through its device context; the widget paints the backing bitmap. Its scale is the pixel.
#include "platform/gdi/Device_context.h"
#include "platform/gdi/Picture_surface.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

namespace ui {

class Picture_box : public QWidget, public gdi::Picture_surface {
public:
    explicit Picture_box(QWidget* parent = nullptr);
    ~Picture_box() override;

    gdi::Device_context* hDC() override;
    double ScaleWidth() const override { return width(); }
    double ScaleHeight() const override { return height(); }

    // The colour `Cls` fills with (a Windows colour value).
    int32_t BackColor() const { return back_colour_; }
    void BackColor(int32_t colour);
    // Clears the drawing to the background colour.
    void Cls() override;
    // Has the backing bitmap painted, once, when the window's events run next.
    void Refresh() override;

    // The picture under the drawing, at the top-left corner; a null image is none. Setting it starts
    // the drawing afresh from the background colour and the picture.
    const QImage& Picture() const { return picture_; }
    void Picture(const QImage& picture);

    // The box's font, made for it and selected into its context. Sizes in points.
    const std::string& FontName() const { return font_name_; }
    void FontName(const std::string& name);
    float FontSize() const { return font_size_; }
    void FontSize(float points);
    bool FontBold() const { return font_bold_; }
    void FontBold(bool bold);

    // The size of a text in the box's font, in pixels: the widest of its lines (broken at CR LF), and
    // the height of all its lines.
    double TextWidth(const std::string& text) const;
    double TextHeight(const std::string& text) const;

    // Where `Print` writes next; `Cls` sets both to 0.
    double CurrentX() const { return current_x_; }
    void CurrentX(double x) { current_x_ = x; }
    double CurrentY() const { return current_y_; }
    void CurrentY(double y) { current_y_ = y; }
    // Draws the text in the box's font and the context's text colour, over what is there: the first
    // line at CurrentX, CurrentY, each further line (after CR LF) at the left edge. Afterwards CurrentX is
    // 0 and CurrentY is one line below the last line.
    void Print(const std::string& text);

    // Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in pixels.
    std::function<void(int16_t button, int16_t shift, float x, float y)> MouseDown, MouseMove, MouseUp;
    std::function<void()> Click, DblClick;
    // Key codes are the Windows virtual-key codes ("A" 65, Left 37, F1 112 ...).
    std::function<void(int16_t key_code, int16_t shift)> KeyDown, KeyUp;
    std::function<void(int16_t key_ascii)> KeyPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // Keeps the backing bitmap at the window's size, also while the window is hidden.
    void Follow_Size();
    void Make_Backing(int32_t width, int32_t height);
    void Fill(gdi::Bitmap& bitmap) const;

    gdi::Device_context* dc_;
    gdi::Bitmap* backing_ = nullptr;
    QImage screen_;  // the backing bitmap as painted: top-down, 32-bit
    int32_t back_colour_ = 0xFFFFFF;

    // Makes the font for the name, size and weight set, and selects it into the context.
    void Make_Font();
    QImage picture_;
    std::string font_name_ = "MS Sans Serif";
    float font_size_ = 8;
    bool font_bold_ = false;
    gdi::Font* font_ = nullptr;
    double current_x_ = 0;
    double current_y_ = 0;
};

}  // namespace ui
