// The review window's caption, closing, the stored size and position, the developer aids on the picture
// and the overlay's texts and dormant drawings.
#include "Heat_fixture.h"
#include "Review_fixture.h"
#include "Test_dialogs.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "resources/Resources.h"
#include "results/Frm_results.h"
#include "review/Field_time.h"
#include "review/Frm_kanot_2.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_overlay.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace Module_Vantorel;

class Review_members : public Review_fixture {
protected:
    void SetUp() override {
        Review_fixture::SetUp();
    }
    void TearDown() override {
        Window().item_close_Click();
        Window().item_display_sample_data.Set_Checked(false);
        Window().item_use_size.Set_Checked(false);
        Window().item_disp_xy.Set_Checked(false);
        Run_Mode = 0;
        Review_fixture::TearDown();
    }
    Frm_kanot_2& Window() { return Frm_kanot_2::Instance(); }
    std::string Heat(const std::string& name, Heat_layout layout = {}) {
        if (layout.frames.empty()) layout.frames = Regular_Frames(12, layout.start_tick, layout.start_events, 60);
        const std::string path = heats + "/" + name;
        Write_Heat(path, layout);
        return path;
    }
    void Show_Field(int32_t field) {
        Window().Set_Slider_Value(field);
        Window().Slider_play_Scroll();
    }
    static std::string Text(QLabel* label) { return label->text().toStdString(); }
    // Whether a pixel of the colour (red, green, blue) lies in the rectangle of the context's surface.
    static bool Any(gdi::Device_context* dc, int x1, int y1, int x2, int y2, int r, int g, int b) {
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                if (gdi::GetPixel(dc, x, y) == static_cast<gdi::COLORREF>(r | g << 8 | b << 16)) return true;
        return false;
    }
};

TEST(Interval_text, Significant_digits_from_the_largest_part) {
    struct Case {
        uint32_t milliseconds;
        int32_t digits;
        const char* text;
    } cases[] = {{34000, 3, "34 sec"},        {34000, 2, "34 sec"},         {34000, 1, "30 sec"},
                 {74000, 3, "1 min 14 sec"},  {74000, 2, "1 min 10 sec"},   {74000, 1, "1 min"},
                 {3723000, 6, "1 hr 2 min 3 sec"}, {3723000, 1, "1 hr"}, {3600000, 3, "1 hr 0 sec"},
                 {499, 3, "0 sec"},           {500, 3, "1 sec"},            {74000, 0, ""},
                 {4294967295u, 9, "1193 hr 2 min 47 sec"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.milliseconds) + " ms, " + std::to_string(c.digits) + " digits");
        EXPECT_EQ(Field_time::Interval_Text(c.milliseconds, c.digits), c.text);
    }
}

// The cursors and bitmaps are found by the names the program asks for.
TEST(Resources, Cursors_and_the_intro_bitmap_by_their_names) {
    for (const auto& [kind, name] : {std::pair{"cursor", "MAGNIFY"}, {"cursor", "FRAME"}, {"bitmap", "INTRO"},
                                     {"bitmap", "VANTOREL_LOGGA"}}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(resources::Load_Res_Data(kind, name).empty());
    }
}

TEST_F(Review_members, Caption_names_the_open_file_and_closing_empties_the_heat) {
    Frm_kanot_2& w = Window();
    Frm_results& results = Frm_results::Instance();
    Non_dependant::Write_Ini("Canoe", "event_name", "Program regatta", Ini_file_path);
    Event_Name = "Program regatta";
    const std::string path = Heat("final.kd3");
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    EXPECT_EQ(w.Caption(), "Vantorel Video Replay final.kd3");
    EXPECT_EQ(Text(results.Lbl_heat), "K1 Final A");
    EXPECT_EQ(Text(results.lbl_event_name), "nnn");
    Show_Field(5);
    w.Attach_Time(2, 0, false);
    ASSERT_TRUE(w.Shown_Field_Time_Known);
    ASSERT_EQ(Lane_all_Heats_Array[2].Heat_result, w.Shown_Field_Time);

    w.item_close_Click();
    EXPECT_EQ(w.Caption(), "Vantorel Video Replay ");
    EXPECT_EQ(Lane_all_Heats_Array[2].Heat_result, 0);
    EXPECT_EQ(Text(results.Lbl_heat), "");
    EXPECT_EQ(Text(results.lbl_event_name), "Program regatta");
    EXPECT_EQ(results.orig_Start_Local_Time, 0);

    // A name without a folder is its own file name.
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(heats);
    w.Handle_Open_File("final.kd3");
    std::filesystem::current_path(here);
    EXPECT_EQ(w.Caption(), "Vantorel Video Replay final.kd3");
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());

    // Emptying the rows empties the heat label too.
    ASSERT_EQ(Text(results.Lbl_heat), "K1 Final A");
    w.Clear_Results();
    EXPECT_EQ(Text(results.Lbl_heat), "");
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_members, Use_this_size_position_is_restored_when_a_file_opens) {
    Frm_kanot_2& w = Window();
    const std::string path = Heat("size.kd3");
    struct Case {
        const char* stored;
        bool moves;
    } cases[] = {{"150,345,8400", true}, {"N/A", false}, {"150,x,8400", false}, {"150,345", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        w.Move(0, 0);
        Non_dependant::Write_Ini("settings", "lastformpos", c.stored, ini);
        w.item_use_size.Set_Checked(true);
        w.Handle_Open_File(path);
        ASSERT_TRUE(w.Replay_File.File_open());
        EXPECT_EQ(w.Top(), c.moves ? 150 : 0);
        EXPECT_EQ(w.Left(), c.moves ? 345 : 0);
        if (c.moves) {
            EXPECT_EQ(w.Height(), 8400);
        }
    }
    // Unchecked, the stored position is not used.
    Non_dependant::Write_Ini("settings", "lastformpos", "150,345,8400", ini);
    w.item_use_size.Set_Checked(false);
    w.Move(0, 0);
    w.Handle_Open_File(path);
    EXPECT_EQ(w.Top(), 0);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_members, Display_XY_shows_the_mouse_position_in_the_caption_and_Rotated_turns_the_view) {
    Frm_kanot_2& w = Window();
    auto move = [&](QPointF at) {
        QMouseEvent event(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &event);
    };
    move({5, 7});
    EXPECT_EQ(w.Caption(), "Vantorel Video Replay ");
    w.Menu_items.at("item_disp_xy").Click();
    ASSERT_TRUE(w.item_disp_xy.Checked());
    move({5, 7});
    EXPECT_EQ(w.Caption(), "X,Y = 5,7");
    w.Menu_items.at("item_disp_xy").Click();
    w.Update_Form_Caption();

    ASSERT_TRUE(w.Rotated_View);  // as the load leaves it
    w.Menu_items.at("item_rotated").Click();
    EXPECT_TRUE(w.item_rotated.Checked());
    EXPECT_TRUE(w.Rotated_View);
    w.Menu_items.at("item_rotated").Click();
    EXPECT_FALSE(w.Rotated_View);
}

TEST_F(Review_members, Sample_data_shows_the_records_times_on_the_picture) {
    Frm_kanot_2& w = Window();
    const std::string path = Heat("sample.kd3");
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    w.Replay_File.Last_Capture_time("no time");
    w.Menu_items.at("item_display_sample_data").Click();
    ASSERT_TRUE(w.item_display_sample_data.Checked());
    Show_Field(4);  // the second field of frame 2, captured 100 ms after the start
    const std::vector<std::string> lines = vb::Split(w.Sample_Data_Text(), "\r\n");
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[1], "Last capture = no time");
    EXPECT_EQ(lines[2], "Quality = 85");
    EXPECT_EQ(lines[4], "Start HDMI events = 1000");
    EXPECT_EQ(lines[5], "Start local = " + Non_dependant::Display_Mill_Time(9 * 3600000 + 5 * 60000 + 12340, false));
    EXPECT_EQ(lines[6], "Start mill = 5000000");
    EXPECT_EQ(lines[11], "Elpsd mill = 100");
    EXPECT_EQ(lines[13], "Elpsd mill rounded = 80");
    EXPECT_EQ(lines[15], "Rounding mill = -20");
    EXPECT_EQ(lines[17], "Elapsed HDMI events = 2");
    EXPECT_EQ(lines[18], "HDMI events mill = 80");
    EXPECT_EQ(lines[20], "HDMI events diff = -20");
    EXPECT_EQ(lines[21], "Elpsd mill frm/field = " + Non_dependant::Display_Mill_Time(120, false));
    EXPECT_EQ(lines[23], "HD Frame  = 2");
    EXPECT_EQ(lines[24], "HD Field  = 2");
    // Yellow text in a blue box at the top left of the picture.
    gdi::Device_context* picture = w.Picture_large->hDC();
    EXPECT_TRUE(Any(picture, 0, 0, 200, 60, 255, 255, 0));
    EXPECT_TRUE(Any(picture, 0, 0, 3, 60, 0, 0, 255));
    w.Menu_items.at("item_display_sample_data").Click();
    Show_Field(4);
    EXPECT_FALSE(Any(picture, 0, 0, 200, 60, 255, 255, 0));
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// The tick is 32 bits and wraps: a heat whose frames pass the wrap after its start shows the same
// elapsed times in the sample data as one that does not.
TEST_F(Review_members, Sample_data_times_go_on_across_the_tick_wrap) {
    struct Row {
        const char* what;
        int32_t start_tick;
    } rows[] = {
        {"no wrap", 5000000},
        {"the signed tick wraps between the start and frame 2", INT32_MAX - 79},
        {"the tick wraps to 0 between the start and frame 2", -99},
    };
    Frm_kanot_2& w = Window();
    w.Menu_items.at("item_display_sample_data").Click();
    ASSERT_TRUE(w.item_display_sample_data.Checked());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Heat_layout layout;
        layout.start_tick = r.start_tick;
        for (int32_t n = 1; n <= 12; ++n)
            layout.frames.push_back({sys::Tick_Add(r.start_tick, 60 + 40 * (n - 1)), layout.start_events + n});
        w.Handle_Open_File(Heat("wrap" + std::to_string(r.start_tick) + ".kd3", layout));
        ASSERT_TRUE(w.Replay_File.File_open());
        Show_Field(4);  // the second field of frame 2, captured 100 ms after the start
        const std::vector<std::string> lines = vb::Split(w.Sample_Data_Text(), "\r\n");
        ASSERT_EQ(lines.size(), 25u);
        EXPECT_EQ(lines[11], "Elpsd mill = 100");
        EXPECT_EQ(lines[21], "Elpsd mill frm/field = " + Non_dependant::Display_Mill_Time(120, false));
        w.item_close_Click();
    }
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// Columns 8 pixels wide, black and white in turn.
std::vector<uint8_t> Stripes_JPEG(int32_t width, int32_t height) {
    cDIBSection dib;
    EXPECT_TRUE(dib.Create(width, height));
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib.DIBSectionBitsPtr() + y * dib.BytesPerScanLine();
        for (int32_t x = 0; x < width; ++x) std::memset(row + 3 * x, x % 16 < 8 ? 0 : 255, 3);
    }
    std::vector<uint8_t> out(1000000);
    int32_t size = static_cast<int32_t>(out.size());
    mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, 95);
    out.resize(static_cast<size_t>(size));
    return out;
}

// The magnifier doubles the width with the halftone stretch: a doubled column is a blend of its
// neighbours, not a copy of the one beside it.
TEST_F(Review_members, The_magnifier_stretches_in_halftone) {
    Frm_kanot_2& w = Window();
    Heat_layout layout;
    layout.frames = Regular_Frames(4, layout.start_tick, layout.start_events);
    layout.picture = [&](int32_t) { return Stripes_JPEG(layout.width, layout.height); };
    w.Handle_Open_File(Heat("stripes.kd3", layout));
    ASSERT_TRUE(w.Replay_File.File_open());
    w.Menu_items.at("item_zoom").Click();
    ASSERT_TRUE(w.Zoom_Mode);
    w.Zoom_X = 20;
    w.Zoom_Y = 30;
    w.DO_RGB_Zoom();
    gdi::Device_context* picture = w.Picture_large->hDC();
    const int32_t zoom_width = static_cast<int32_t>(w.Picture_large->ScaleWidth() * 0.5);
    int pairs = 0, blended = 0;
    for (int32_t x = 20 + 8; x + 1 < 20 + zoom_width - 8; x += 2) {
        ++pairs;
        if (gdi::GetPixel(picture, x, 60) != gdi::GetPixel(picture, x + 1, 60)) ++blended;
    }
    EXPECT_GT(pairs, 20);
    EXPECT_GT(blended, pairs / 8);
    w.Menu_items.at("item_zoom").Click();
    EXPECT_FALSE(w.Zoom_Mode);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// Columns 40 pixels wide, each a grey 20 lighter than the one left of it.
std::vector<uint8_t> Grey_Bands_JPEG(int32_t width, int32_t height) {
    cDIBSection dib;
    EXPECT_TRUE(dib.Create(width, height));
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib.DIBSectionBitsPtr() + y * dib.BytesPerScanLine();
        for (int32_t x = 0; x < width; ++x) std::memset(row + 3 * x, 20 * (x / 40), 3);
    }
    std::vector<uint8_t> out(1000000);
    int32_t size = static_cast<int32_t>(out.size());
    mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, 95);
    out.resize(static_cast<size_t>(size));
    return out;
}

// The field is painted stretched over the whole picture, however wide the X-Stretch makes it: the
// magnifier, and the block a display option redraws under it, start with the band under the cursor.
TEST_F(Review_members, The_magnifier_starts_at_the_band_under_the_cursor_at_every_stretch) {
    Frm_kanot_2& w = Window();
    Heat_layout layout;
    layout.width = 440;
    layout.height = 400;
    layout.interlaced = false;
    layout.frames = Regular_Frames(2, layout.start_tick, layout.start_events);
    layout.picture = [&](int32_t) { return Grey_Bands_JPEG(layout.width, layout.height); };
    w.Handle_Open_File(Heat("bands.kd3", layout));
    ASSERT_TRUE(w.Replay_File.File_open());
    struct Case {
        float stretch;
        int16_t screen;  // 304: the picture scaled to 300 of the field's 400 rows
    } cases[] = {{1, 1000}, {1.5f, 1000}, {2, 1000}, {1.5f, 304}, {2, 304}};
    const int16_t screen = Screen_Scale_Height;
    gdi::Device_context* picture = w.Picture_large->hDC();
    const auto grey = [picture](int32_t x, int32_t y) {
        return static_cast<int32_t>(gdi::GetPixel(picture, x, y) & 0xFF);
    };
    for (const Case& c : cases) {
        w.X_Stretch = c.stretch;
        Screen_Scale_Height = c.screen;
        w.Set_Picture_Size();
        // The middles of the third, fourth and sixth band.
        for (int32_t column : {100, 140, 220}) {
            SCOPED_TRACE("stretch " + std::to_string(c.stretch) + ", height " + std::to_string(c.screen) +
                         ", column " + std::to_string(column));
            const auto x = static_cast<float>(column * w.Picture_large->ScaleWidth() / layout.width);
            const float y = 100;
            w.Zoom_Mode = false;
            Show_Field(1);
            const int32_t under = grey(vb::CLng(x), vb::CLng(y));
            ASSERT_NEAR(under, 20 * (column / 40), 8);
            w.Zoom_Mode = true;
            w.Zoom_X = x;
            w.Zoom_Y = y;
            w.DO_RGB_Zoom();
            // Inside the magnifier's frame, 4 columns of the field right of the cursor's.
            EXPECT_NEAR(grey(vb::CLng(x) + 8, vb::CLng(y) + 20), under, 8);
            w.Chk_Option_Click(w.Chk_Show_Goalline);
            EXPECT_NEAR(grey(vb::CLng(x) + 2, vb::CLng(y) + 2), under, 8);
        }
    }
    w.Zoom_Mode = false;
    w.X_Stretch = 1;
    Screen_Scale_Height = screen;
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_members, Show_frame_draws_the_whole_frame_of_the_shown_field) {
    Frm_kanot_2& w = Window();
    Heat_layout layout;
    layout.frames = Regular_Frames(4, layout.start_tick, layout.start_events);
    layout.picture = [&](int32_t) { return Stripes_JPEG(layout.width, layout.height); };
    w.Handle_Open_File(Heat("frame.kd3", layout));
    ASSERT_TRUE(w.Replay_File.File_open());
    w.Set_Slider_Value(5);
    w.Slider_play_Scroll();
    gdi::Device_context* picture = w.Picture_large->hDC();
    for (int32_t x = 0; x < 40; ++x) gdi::SetPixel(picture, x, 60, 0x00FF00);
    w.Menu_items.at("item_show_frame").Click();
    EXPECT_TRUE(reports.empty()) << reports.front();
    int repainted = 0;
    for (int32_t x = 0; x < 40; ++x) repainted += gdi::GetPixel(picture, x, 60) != 0x00FF00;
    EXPECT_EQ(repainted, 40);
}

TEST_F(Review_members, Save_Lanes_gives_the_header_the_marks_positions) {
    Frm_kanot_2& w = Window();
    w.Save_Lanes();  // no file: nothing
    w.Handle_Open_File(Heat("lanes.kd3"));
    ASSERT_TRUE(w.Replay_File.File_open());
    ASSERT_GE(Lane_Collection.size(), 2u);
    Lane_Collection[1].Lane_pos_X(77);
    Lane_Collection[1].Lane_pos_Y(88);
    w.Save_Lanes();
    EXPECT_EQ(w.Replay_File.Header().Lane_pos_X(2), 77);
    EXPECT_EQ(w.Replay_File.Header().Lane_pos_Y(2), 88);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_members, Overlay_texts_and_the_dormant_drawings) {
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(Heat("overlay.kd3"));
    ASSERT_TRUE(w.Replay_File.File_open());
    gdi::Device_context* overlay = Overlay_DIB().hDC();
    const int width = Overlay_DIB().Width(), height = Overlay_DIB().Height();
    // A kd3 heat has no lap count: no lap text.
    w.Draw_Graphics(true, false);
    EXPECT_FALSE(Any(overlay, 0, 0, width - 1, height - 1, 0, 255, 0));
    w.Overlay_Lap(3);
    const int x = static_cast<int>(w.Picture_large->ScaleWidth() * 0.75);
    const int y = static_cast<int>(w.Picture_large->ScaleHeight() * 0.92);
    EXPECT_TRUE(Any(overlay, x, y, width - 1, height - 1, 0, 255, 0));
    EXPECT_FALSE(Any(overlay, 0, 0, width - 1, y - 1, 0, 255, 0));

    // The live preview's mode draws the set-up goal line with its two handle squares.
    Run_Mode = 1;
    Draw_Goalline = true;
    Setup_Goalline = {50, 40, 150, 40};
    w.Draw_Graphics(true, false);
    EXPECT_EQ(gdi::GetPixel(overlay, 44, 34), 0xFF0000u);
    EXPECT_EQ(gdi::GetPixel(overlay, 144, 34), 0xFF0000u);
    w.item_reset_goalline_Click();
    EXPECT_EQ(Setup_Goalline.x1, 100);
    EXPECT_EQ(Setup_Goalline.y2, 400);
    EXPECT_EQ(gdi::GetPixel(overlay, 94, 94), 0xFF0000u);
    Run_Mode = 10;

    w.Flag_Record("REC", 0x0000FF);
    EXPECT_TRUE(Any(w.Picture_large->hDC(), 5, 20, 200, 140, 255, 0, 0));

    ui::Picture_box box;
    box.resize(40, 40);
    w.Draw_waiting_arm(box);  // the arm from the centre towards the right edge, a little downwards
    EXPECT_TRUE(Any(box.hDC(), 30, 19, 30, 23, 0, 0, 255));
    EXPECT_FALSE(Any(box.hDC(), 0, 0, 19, 39, 0, 0, 255));

    w.DV_Events_Count = 5;
    w.wait_timer_Timer();
    EXPECT_EQ(Text(w.Lbl_DVevents), "5");
    w.DV_Events_Count = 12;
    w.wait_timer_Timer();
    EXPECT_EQ(Text(w.Lbl_DVevents), "7");
    EXPECT_TRUE(reports.empty()) << reports.front();
}

}  // namespace
