// The review window's picture as painted on the screen: the field, drawn at the window's scale, with the
// course laid over it, equals what the plain drawing routines make of the same field, pixel for pixel.
#include "Heat_fixture.h"
#include "Review_initialization.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/graphics/Graphics.h"
#include "platform/ui/Picture_box.h"
#include "review/Frm_kanot_2.h"
#include "review/Module_Vantorel_overlay.h"
#include "shell/Module_Vantorel.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using namespace Module_Vantorel;

// A bottom-up bitmap of its own in a memory context.
struct Canvas {
    Canvas(int32_t w, int32_t h) : dc(gdi::CreateCompatibleDC(nullptr)), bitmap(gdi::Bitmap::Create(w, h)) {
        previous = gdi::SelectObject(dc, bitmap);
    }
    ~Canvas() {
        gdi::SelectObject(dc, previous);
        gdi::DeleteObject(bitmap);
        gdi::DeleteDC(dc);
    }
    size_t Bytes() const { return static_cast<size_t>(bitmap->Stride()) * bitmap->Height(); }
    gdi::Device_context* dc;
    gdi::Bitmap* bitmap;
    gdi::Gdi_object* previous;
};

std::vector<uint8_t> Bits_Of(const gdi::Bitmap& b) {
    return {b.Bits(), b.Bits() + static_cast<size_t>(b.Stride()) * b.Height()};
}

// The backing bitmap painted as a 24-bit picture through a vertical flip.
QImage Flipped_Paint(const gdi::Bitmap& b) {
    QImage screen(b.Width(), b.Height(), QImage::Format_RGB32);
    const QImage view(b.Bits(), b.Width(), b.Height(), b.Stride(), QImage::Format_BGR888);
    QPainter painter(&screen);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, b.Height()));
    painter.drawImage(0, 0, view);
    return screen;
}

class Review_paint : public testing::Test {
protected:
    void SetUp() override {
        Install_Review_Initialization();
        Vantorel_Mode = true;
        const std::string folder = Test_folder() + "/data/vantorel";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/Vantorel_HDMI.ini") << "[Canoe]\r\nLane_num=3\r\n";
        std::filesystem::create_directories(Test_folder() + "/heats");
    }
    void TearDown() override {
        Frm_kanot_2& w = Frm_kanot_2::Instance();
        w.Zoom_Mode = false;
        w.Close_File();
        Vantorel_Mode = false;
    }
};

// The window painted as the screen paints it: into the screen's 32-bit picture, at one pixel a pixel.
QImage Screen_Paint(QWidget& widget) {
    QImage screen(widget.size(), QImage::Format_ARGB32_Premultiplied);
    screen.fill(Qt::black);
    widget.render(&screen);
    return screen.convertToFormat(QImage::Format_RGB32);
}

TEST_F(Review_paint, The_painted_field_equals_the_old_drawing_plain_rotated_stretched_and_zoomed) {
    struct Case {
        const char* what;
        bool rotated;
        QSize box;  // invalid: the window's own
        bool zoom;
    } cases[] = {
        {"plain", false, {}, false},
        {"rotated", true, {}, false},
        {"stretched", false, {301, 917}, false},
        {"zoomed", false, {}, true},
    };
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    const QSize own_size = w.Picture_large->size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Heat_layout layout;
        layout.rotated = c.rotated;
        layout.frames = Regular_Frames(4, layout.start_tick, layout.start_events);
        const std::string path = Test_folder() + "/heats/" + c.what + ".kd3";
        Write_Heat(path, layout);
        w.Handle_Open_File(path);
        ASSERT_TRUE(w.Replay_File.File_open());
        if (c.box.isValid()) {
            w.Picture_large->resize(c.box);
            w.New_Graphics();
        }
        if (c.rotated) {
            // A turned field is shown pixel for pixel.
            w.Picture_large->resize(layout.height, layout.width);
            w.New_Graphics();
        }
        // A window never shown takes its first resize (and writes its scale over the picture) at its first paint.
        Screen_Paint(*w.Picture_large);
        w.Zoom_Mode = c.zoom;
        w.Zoom_X = 120;
        w.Zoom_Y = 300;
        // Fields 3 and 4 are one frame, 5 the next, read while field 4 is still left for the paint.
        for (int32_t field : {3, 4, 5}) {
            SCOPED_TRACE(field);
            gdi::Device_context* dc = w.Picture_large->hDC();
            w.Set_Slider_Value(field);
            w.Slider_play_Scroll();
            if (c.zoom) w.DO_RGB_Zoom();
            EXPECT_EQ(dc->Deferred_Pending(), !c.zoom);  // the zoom's block is drawn over the bitmap
            const QImage painted = Screen_Paint(*w.Picture_large);
            EXPECT_EQ(dc->Deferred_Pending(), !c.zoom);  // kept for whoever reads the bitmap later

            // The field in both orders, made the long way from its frame.
            cDIBSection& frame = w.Replay_File.Frame_Image();
            const int16_t mode = field % 2 == 1 ? 2 : 1;
            Canvas upright(frame.Width(), frame.Height()), turned(frame.Height(), frame.Width());
            graphics::deinterlaceFrame2(frame.DIBSectionBitsPtr(), upright.bitmap->Bits(), static_cast<int16_t>(frame.Width()),
                                        static_cast<int16_t>(frame.Height()), mode);
            ASSERT_EQ(std::memcmp(w.Replay_File.Field_Image().DIBSectionBitsPtr(), upright.bitmap->Bits(), upright.Bytes()), 0);
            graphics::Rotate90(upright.bitmap->Bits(), turned.bitmap->Bits(), frame.Width(), frame.Height(), 0);
            if (c.rotated)
                ASSERT_EQ(std::memcmp(w.Replay_File.Rotated_Image().DIBSectionBitsPtr(), turned.bitmap->Bits(), turned.Bytes()), 0);
            // Stretched to the box, the course over it with a transparent copy.
            const Canvas& shown = c.rotated ? turned : upright;
            const int32_t bw = w.Picture_large->width(), bh = w.Picture_large->height();
            Canvas expected(bw, bh);
            gdi::StretchBlt(expected.dc, 0, 0, bw, bh, shown.dc, 0, 0, shown.bitmap->Width(), shown.bitmap->Height(),
                            gdi::SRCCOPY);
            gdi::TransparentBlt(expected.dc, 0, 0, bw, bh, Overlay_DIB().hDC(), 0, 0, Overlay_DIB().Width(),
                                Overlay_DIB().Height(), static_cast<gdi::COLORREF>(Transparent_Color));
            const QImage old_way = Flipped_Paint(*expected.bitmap);
            if (!c.zoom) {
                ASSERT_EQ(painted, old_way);
            } else {
                // The same outside the magnifier's block and its frame.
                const QRect block(w.Zoom_Rect.Left - 2, w.Zoom_Rect.Top - 2, w.Zoom_Rect.Width + 4, w.Zoom_Rect.Height + 4);
                int32_t differing = 0;
                for (int32_t y = 0; y < bh; ++y)
                    for (int32_t x = 0; x < bw; ++x)
                        if (!block.contains(x, y) && painted.pixel(x, y) != old_way.pixel(x, y)) ++differing;
                EXPECT_EQ(differing, 0);
                EXPECT_NE(painted, old_way);
            }
            // What the drawing code reads is what was painted: the bitmap, a pixel, a paint from the bitmap.
            const QRgb centre = painted.pixel(painted.width() / 2, painted.height() / 2);
            EXPECT_EQ(gdi::GetPixel(dc, painted.width() / 2, painted.height() / 2),
                      static_cast<gdi::COLORREF>(qRed(centre) | qGreen(centre) << 8 | qBlue(centre) << 16));
            EXPECT_FALSE(dc->Deferred_Pending());
            ASSERT_EQ(painted, Flipped_Paint(*dc->Surface()));
            ASSERT_EQ(w.Picture_large->grab().toImage().convertToFormat(QImage::Format_RGB32), painted);
        }
        w.Close_File();
        w.Picture_large->resize(own_size);
    }
}

TEST_F(Review_paint, A_field_left_for_the_paint_is_drawn_before_its_frame_changes) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    Heat_layout layout;
    layout.frames = Regular_Frames(4, layout.start_tick, layout.start_events);
    const std::string path = Test_folder() + "/heats/settle.kd3";
    Write_Heat(path, layout);
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    Screen_Paint(*w.Picture_large);
    w.Set_Slider_Value(3);
    w.Slider_play_Scroll();
    ASSERT_TRUE(w.Picture_large->hDC()->Deferred_Pending());
    const QImage before = Screen_Paint(*w.Picture_large);
    // The next frame read without drawing it, as the finish detection reads frames.
    w.Replay_File.Read_RGB_Field(5);
    EXPECT_FALSE(w.Picture_large->hDC()->Deferred_Pending());
    EXPECT_EQ(Screen_Paint(*w.Picture_large), before);
    // And a store that goes leaves the box its picture.
    QImage field_7;
    {
        cls_VideoFile_handler other;
        other.File_name(path);
        other.Open_RGB_File();
        other.Draw_RGB_Field(7, *w.Picture_large);
        ASSERT_TRUE(w.Picture_large->hDC()->Deferred_Pending());
        field_7 = Screen_Paint(*w.Picture_large);
        EXPECT_NE(field_7, before);
        other.Close_File();
    }
    EXPECT_FALSE(w.Picture_large->hDC()->Deferred_Pending());
    EXPECT_EQ(Screen_Paint(*w.Picture_large), field_7);
}

}  // namespace
