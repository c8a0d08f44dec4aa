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

TEST_F(Review_paint, The_painted_field_equals_the_plain_drawing_plain_rotated_stretched_and_zoomed) {
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
        w.Zoom_Mode = c.zoom;
        w.Zoom_X = 120;
        w.Zoom_Y = 300;
        for (int32_t field : {3, 4}) {
            SCOPED_TRACE(field);
            // Looked up at each use: a change of the box's size makes a new one.
            const auto backing_of = [&]() -> gdi::Bitmap& { return *w.Picture_large->hDC()->Surface(); };
            if (!c.zoom) {
                // The field as the store draws it, then the course over it with a transparent copy.
                w.Replay_File.Draw_RGB_Field(field, *w.Picture_large);
                const gdi::Bitmap& backing = backing_of();
                Canvas expected(backing.Width(), backing.Height());
                std::memcpy(expected.bitmap->Bits(), backing.Bits(), expected.Bytes());
                gdi::TransparentBlt(expected.dc, 0, 0, backing.Width(), backing.Height(), Overlay_DIB().hDC(), 0, 0,
                                    Overlay_DIB().Width(), Overlay_DIB().Height(),
                                    static_cast<gdi::COLORREF>(Transparent_Color));
                w.Set_Slider_Value(field);
                w.Slider_play_Scroll();
                ASSERT_EQ(Bits_Of(backing_of()), Bits_Of(*expected.bitmap));
            } else {
                w.Set_Slider_Value(field);
                w.DO_RGB_Zoom();
            }
            // The field in both orders, made the long way.
            cDIBSection& frame = w.Replay_File.Frame_Image();
            const int16_t mode = field % 2 == 1 ? 2 : 1;
            Canvas upright(frame.Width(), frame.Height()), turned(frame.Height(), frame.Width());
            graphics::deinterlaceFrame2(frame.DIBSectionBitsPtr(), upright.bitmap->Bits(), static_cast<int16_t>(frame.Width()),
                                        static_cast<int16_t>(frame.Height()), mode);
            ASSERT_EQ(std::memcmp(w.Replay_File.Field_Image().DIBSectionBitsPtr(), upright.bitmap->Bits(), upright.Bytes()), 0);
            if (c.rotated) {
                graphics::Rotate90(upright.bitmap->Bits(), turned.bitmap->Bits(), frame.Width(), frame.Height(), 0);
                ASSERT_EQ(std::memcmp(w.Replay_File.Rotated_Image().DIBSectionBitsPtr(), turned.bitmap->Bits(), turned.Bytes()), 0);
            }
            // On the screen: the backing bitmap, upright, every pixel.
            const QImage painted = w.Picture_large->grab().toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(painted, Flipped_Paint(backing_of()));
        }
        w.Close_File();
        w.Picture_large->resize(own_size);
    }
}

}  // namespace
