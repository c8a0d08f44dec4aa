#include "platform/gdi/Gdi_draw.h"
#include "platform/ui/Picture_box.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

// Pixels of the colour in the rows [top, bottom) of the box's drawing.
int Count_In_Rows(ui::Picture_box& box, gdi::COLORREF colour, int top, int bottom, int left = 0) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < static_cast<int>(box.ScaleWidth()); ++x)
            if (gdi::GetPixel(box.hDC(), x, y) == colour) ++n;
    return n;
}

TEST(Picture_box_text, Sizes_follow_the_font_and_the_lines) {
    ui::Picture_box box;
    EXPECT_EQ(box.FontName(), "MS Sans Serif");
    EXPECT_EQ(box.FontSize(), 8);
    EXPECT_FALSE(box.FontBold());

    box.FontName("Arial");
    box.FontSize(10);
    const double width = box.TextWidth("Heat 12"), height = box.TextHeight("Heat 12");
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    EXPECT_EQ(box.TextWidth(""), 0);
    EXPECT_EQ(box.TextHeight(""), height);  // one empty line
    EXPECT_EQ(box.TextWidth("Heat\r\nHeat 12\r\nH"), width);  // the widest line
    EXPECT_EQ(box.TextHeight("Heat\r\nHeat 12\r\nH"), 3 * height);

    box.FontSize(20);
    EXPECT_GT(box.TextWidth("Heat 12"), 1.7 * width);
    EXPECT_GT(box.TextHeight("Heat 12"), 1.7 * height);
    box.FontSize(10);
    box.FontBold(true);
    EXPECT_GE(box.TextWidth("Heat 12"), width);
    box.FontBold(false);
    EXPECT_EQ(box.TextWidth("Heat 12"), width);
}

TEST(Picture_box_text, Print_draws_over_the_drawing_and_moves_down_a_line_per_line) {
    ui::Picture_box box;
    box.resize(200, 100);
    box.BackColor(0x0000FF);  // red
    gdi::SetTextColor(box.hDC(), 0xFF0000);  // blue
    box.FontName("Arial");
    box.FontSize(12);
    const int line = static_cast<int>(box.TextHeight("x"));

    box.CurrentX(50);
    box.CurrentY(10);
    box.Print("MMMM\r\nMMMM");
    EXPECT_EQ(box.CurrentX(), 0);
    EXPECT_EQ(box.CurrentY(), 10 + 2 * line);
    // The first line from CurrentX on, the second from the left edge; the ground stays between glyphs.
    EXPECT_EQ(Count_In_Rows(box, 0xFF0000, 0, 10), 0);
    EXPECT_EQ(Count_In_Rows(box, 0xFF0000, 10, 10 + line) - Count_In_Rows(box, 0xFF0000, 10, 10 + line, 50), 0);
    EXPECT_GT(Count_In_Rows(box, 0xFF0000, 10, 10 + line, 50), 0);
    EXPECT_GT(Count_In_Rows(box, 0xFF0000, 10 + line, 10 + 2 * line), 0);
    EXPECT_GT(Count_In_Rows(box, 0x0000FF, 10, 10 + 2 * line), 0);
    EXPECT_EQ(Count_In_Rows(box, 0xFF0000, 10 + 2 * line, 100), 0);

    // A text that ends with a line break leaves an empty line.
    box.Print("M\r\n");
    EXPECT_EQ(box.CurrentY(), 10 + 4 * line);

    box.Cls();
    EXPECT_EQ(box.CurrentX(), 0);
    EXPECT_EQ(box.CurrentY(), 0);
    EXPECT_EQ(Count_In_Rows(box, 0xFF0000, 0, 100), 0);
}

TEST(Picture_box_text, Print_leaves_the_callers_font_and_mode_in_the_context) {
    ui::Picture_box box;
    box.resize(100, 40);
    gdi::Font* font = gdi::CreateFontA(-30, 0, 0, 0, 400, false, false, false, 0, 0, 0, 0, 0, "Arial");
    gdi::Gdi_object* box_font = gdi::SelectObject(box.hDC(), font);
    gdi::SetBkMode(box.hDC(), gdi::OPAQUE);
    box.Print("M");
    EXPECT_EQ(box.hDC()->Current_Font(), font);
    EXPECT_EQ(box.hDC()->bk_mode, gdi::OPAQUE);
    EXPECT_EQ(box.CurrentY(), box.TextHeight("M"));  // measured and drawn in the box's own font
    gdi::SelectObject(box.hDC(), box_font);
    EXPECT_TRUE(gdi::DeleteObject(font));
}

TEST(Picture_box_text, The_picture_lies_under_the_drawing_until_removed) {
    ui::Picture_box box;
    box.resize(40, 30);
    box.BackColor(0xFFFFFF);
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(QColor(0, 255, 0));
    box.Picture(picture);
    EXPECT_FALSE(box.Picture().isNull());
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 2, 3), 0x00FF00u);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 20, 20), 0xFFFFFFu);

    gdi::SetPixel(box.hDC(), 2, 3, 0x0000FF);
    box.Cls();
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 2, 3), 0x00FF00u);  // the drawing goes, the picture stays
    box.resize(60, 50);
    EXPECT_EQ(box.grab().toImage().pixelColor(2, 3), QColor(0, 255, 0));

    box.Picture(QImage());
    EXPECT_TRUE(box.Picture().isNull());
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 2, 3), 0xFFFFFFu);
}

}  // namespace
