#include "Test_dialogs.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"
#include "platform/vb/VbError.h"
#include "shell/Module_dependant_windows.h"
#include "shell/Non_dependant.h"
#include "shell/Non_dependant_windows.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(Print_Wrapped, Lines_break_where_the_width_reaches_the_limit) {
    // Every character 10 wide, "W" 20; characters, not bytes, count.
    const auto width_of = [](const std::string& s) {
        int32_t w = 0;
        for (size_t i = 0; i < s.size(); ++i)
            if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) w += s[i] == 'W' ? 20 : 10;
        return w;
    };
    const struct { const char* text; int32_t limit; const char* lines; } rows[] = {
        {"abcdef", 30, "abc\r\ndef\r\n"},
        {"abcdefg", 30, "abc\r\ndef\r\ng\r\n"},
        {"ab", 30, "ab\r\n"},                    // no part reaches: the whole rest
        {"aWbc", 25, "aW\r\nbc\r\n"},            // the character that reaches the limit stays on the line
        {"Wa", 5, "W\r\na\r\n"},                 // one character wider than the limit
        {"/mnt/åäö", 40, "/mnt\r\n/åäö\r\n"},
        // A path breaks after a folder's name, a text between words; a leading "/" is no place to break.
        {"/home/operator/exports", 90, "/home/\r\noperator/\r\nexports\r\n"},
        {"C:\\Race results\\x", 90, "C:\\Race \r\nresults\\x\r\n"},
        {"/verylongname", 40, "/ver\r\nylon\r\ngnam\r\ne\r\n"},  // a name longer than a line still breaks
        {"", 30, ""},
        {"abc", 1, "a\r\nb\r\nc\r\n"},
        {"abc", 0, ""},                           // no width: nothing, and no endless loop
        {"abc", -7, ""},
    };
    for (const auto& r : rows) EXPECT_EQ(Non_dependant::Wrap_Text(r.text, r.limit, width_of), r.lines) << r.text << " " << r.limit;
}

TEST(Print_Wrapped, Prints_in_small_bold_type_on_a_cleared_box) {
    ui::Picture_box box;
    box.resize(100, 200);
    box.BackColor(0xFFFFFF);
    box.Picture(QImage(20, 20, QImage::Format_RGB32));
    box.CurrentY(150);

    const std::string path = "/media/operator/Regatta 2026/exports/heats";
    Non_dependant::Print_Wrapped(box, path);
    EXPECT_EQ(box.FontName(), "Ms Sans Serif");
    EXPECT_EQ(box.FontSize(), 8);
    EXPECT_TRUE(box.FontBold());
    EXPECT_TRUE(box.Picture().isNull());
    const auto lines = static_cast<int>(box.CurrentY() / box.TextHeight("x"));
    EXPECT_GE(lines, 4);  // several lines of the path and the closing line break
    int printed = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 100; ++x) printed += gdi::GetPixel(box.hDC(), x, y) != 0xFFFFFFu;
    EXPECT_GT(printed, 0);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 5, 190), 0xFFFFFFu);

    // No width: the box is cleared and nothing is printed. One pixel: a character on each line.
    ui::Picture_box none;
    none.resize(0, 40);
    none.CurrentY(7);
    Non_dependant::Print_Wrapped(none, path);
    EXPECT_EQ(none.CurrentY(), 0);
    ui::Picture_box thin;
    thin.resize(1, 40);
    Non_dependant::Print_Wrapped(thin, "abc");
    EXPECT_EQ(thin.CurrentY(), 4 * thin.TextHeight("x"));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST(Clear_Picture, Removes_drawing_and_picture) {
    ui::Picture_box box;
    box.resize(30, 30);
    box.BackColor(0x00FF00);
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    box.Picture(picture);
    gdi::SetPixel(box.hDC(), 20, 20, 0x0000FF);
    box.CurrentX(5);
    box.CurrentY(9);
    Non_dependant::Clear_Picture(box);
    EXPECT_TRUE(box.Picture().isNull());
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 2, 2), 0x00FF00u);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 20, 20), 0x00FF00u);
    EXPECT_EQ(box.CurrentX(), 0);
    EXPECT_EQ(box.CurrentY(), 0);
}

TEST(Max_Font, Gives_the_largest_Arial_size_that_fits_else_8) {
    const struct { int width, height; const char* text; } rows[] = {
        {2000, 1000, "A"},                              // the largest size fits
        {300, 60, "Heat 12"},                           // somewhere between
        {150, 400, "FINAL A"},                          // the width decides
        {600, 25, "Heat"},                              // the height decides
        {10, 10, "This text fits no box of this size"},  // never fits
        {0, 0, ""},
    };
    for (const auto& r : rows) {
        ui::Picture_box box;
        box.resize(r.width, r.height);
        const int16_t size = Module_dependant::Max_Font(box, r.text);
        EXPECT_EQ(box.FontName(), "Arial");
        EXPECT_EQ(box.FontSize(), size) << r.text;
        const auto fits = [&](int16_t s) {
            box.FontSize(s);
            return std::lround(box.TextWidth(r.text)) < r.width && std::lround(box.TextHeight(r.text)) < r.height;
        };
        ASSERT_GE(size, 8) << r.text;
        ASSERT_LE(size, 110) << r.text;
        EXPECT_EQ(size % 2, 0);
        if (size > 8) {
            EXPECT_TRUE(fits(size)) << r.text;
        }
        if (size < 110) {
            EXPECT_FALSE(fits(static_cast<int16_t>(size + 2))) << r.text;
        }
    }
    ui::Picture_box box;
    box.resize(2000, 1000);
    EXPECT_EQ(Module_dependant::Max_Font(box, "A"), 110);
    box.resize(10, 10);
    EXPECT_EQ(Module_dependant::Max_Font(box, "This text fits no box of this size"), 8);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST(Create_Rotated_Font, Height_from_points_at_the_screens_resolution_and_angle_in_tenths) {
    ASSERT_EQ(ui::Twips_Per_Pixel_Y(), 15);  // 96 dots per inch on the test screen
    const struct { int16_t points; int32_t angle; int32_t height, escapement; } rows[] = {
        {8, 0, -11, 0}, {9, 90, -12, 900}, {12, -45, -16, -450}, {10, 270, -13, 2700}, {0, 0, 0, 0},
    };
    for (const auto& r : rows) {
        gdi::Font* font = Non_dependant::Create_Rotated_Font(r.points, r.angle, true, "Arial", 700);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->height, r.height) << r.points;
        EXPECT_EQ(font->escapement, r.escapement) << r.angle;
        EXPECT_EQ(font->width, 0);
        EXPECT_TRUE(font->italic);
        EXPECT_FALSE(font->underline);
        EXPECT_EQ(font->weight, 700);
        EXPECT_EQ(font->face, "Arial");
        EXPECT_TRUE(gdi::DeleteObject(font));  // the caller's to delete
    }
    try {
        Non_dependant::Create_Rotated_Font(10, 300000000, false, "Arial", 400);
        ADD_FAILURE() << "no overflow";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

}  // namespace
