// The review window opens capture files of the older kinds by every road and steps through their
// fields with each field's time.
#include "Dv_test_files.h"
#include "Test_dialogs.h"
#include "platform/vb/Error_trap.h"
#include "review/Frm_kanot_2.h"
#include "shell/Module_Vantorel.h"
#include "Review_fixture.h"
#include "shell/Non_dependant.h"
#include "store/Dv_format.h"

#include <QLabel>
#include <QSlider>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace Module_Vantorel;

class Review_older_kinds : public Review_fixture {
protected:
    void SetUp() override {
        Review_fixture::SetUp();
        Vantorel_Mode = true;
    }
    void TearDown() override {
        Vantorel_Mode = false;
        Review_fixture::TearDown();
    }
    std::string Text(QLabel* label) { return label->text().toStdString(); }
    void Show_Field(int32_t field) {
        Frm_kanot_2& w = Frm_kanot_2::Instance();
        w.Set_Slider_Value(field);
        w.Slider_play_Scroll();
    }
};

TEST_F(Review_older_kinds, Dv_files_open_by_every_road_and_show_each_field_with_its_time) {
    const auto clip = dv_test::Encode_Frames(3);
    const std::string dv = heats + "/clip.dv";
    // The store opens no AVI file (Open_File accepts "avi" and opens nothing).
    dv_test::Mux(dv, "dv", clip);
    Frm_kanot_2& w = Frm_kanot_2::Instance();

    auto expect_open = [&](const std::string& path) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(w.Replay_File.File_open());
        EXPECT_EQ(w.Current_File_Name, path);
        EXPECT_EQ(Text(w.Lbl_Frame_size), "720*576");
        EXPECT_EQ(w.Slider_play->maximum(), 6);
        EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,00");
        EXPECT_EQ(Run_Mode, 10);
        // Field 4 is the second field of frame 2: one frame and half a frame after the first.
        Show_Field(4);
        EXPECT_EQ(Text(w.Lbl_frameno), "0004");
        EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,06");
        EXPECT_TRUE(reports.empty()) << reports.front();
    };

    Test_dialogs::Instance().Answer_File(dv);
    w.item_open_Click();
    expect_open(dv);
    const auto& shown = Test_dialogs::Instance().Shown_Dialogs();
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown.back().filter.find("*.kd2;*.kd1;*.sdv;*.dv;*.avi"), std::string::npos);

    w.Command_Line = "\"" + dv + "\"";
    w.Start_Association();
    expect_open(dv);

    w.item_close_Click();
    w.Form_OLEDragDrop({dv});
    expect_open(dv);

    w.item_close_Click();
    Last_Captured_File = dv;
    w.item_open_last_Click();
    expect_open(dv);
    w.item_close_Click();
}

TEST_F(Review_older_kinds, A_kd2_file_shows_its_recorded_capture_times_from_the_heat_start) {
    auto clip = dv_test::Encode_Frames(2);
    for (int32_t k = 0; k < 2; ++k) dv_test::Put_Extra_Data(clip[static_cast<size_t>(k)], 7000000 + 200 + 40 * k);
    const std::string path = heats + "/heat.kd2";
    {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Create_File();
        Cls_XML_header& h = store.Header();
        h.rgb(true);
        h.Create_Header();
        h.Streams_no(1);
        h.Heat_ID(1, "K2 Heat 3");
        h.Start_PC_mill(1, 7000000);
        store.Write_KDR_header();
        store.Write_XML_Header();
        store.Add_Header_padding();
        store.Close_File();
        store.File_name(path);
        for (const auto& frame : clip) store.Append_DV_frame(frame.data());
        store.Close_File();
    }
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    w.Set_Timing_Frametimestamp();
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    EXPECT_EQ(Text(w.Label_heatID), "K2 Heat 3");
    EXPECT_EQ(Text(w.Lbl_Frame_size), "720*576");
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,20");
    Show_Field(3);
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,24");
    EXPECT_TRUE(reports.empty()) << reports.front();
    w.item_close_Click();
}

}  // namespace
