#pragma once
// The picture box: a child window with a persistent backing bitmap that the program draws into at any
// time through its device context; the widget paints the backing bitmap. Its scale is the pixel.
#include "platform/gdi/Device_context.h"
#include "platform/gdi/Picture_surface.h"

#include <QWidget>
#include <cstdint>
#include <functional>

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
    void Cls();
    // Paints the backing bitmap now.
    void Refresh();

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
    int32_t back_colour_ = 0xFFFFFF;
};

}  // namespace ui
