// The review window opens capture files (kd3) only: a file of an older kind is refused by every road
// that opens a file, and is left as it was.
#include "Dv_test_files.h"
#include "Heat_fixture.h"
#include "Test_dialogs.h"
#include "review/Frm_kanot_2.h"
#include "shell/Module_Vantorel.h"
#include "Review_fixture.h"
#include "shell/Non_dependant.h"

#include <QLabel>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using namespace Module_Vantorel;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class Review_older_kinds : public Review_fixture {
protected:
    void SetUp() override {
        Review_fixture::SetUp();
        Vantorel_Mode = true;  // the heat's header is the program's own
    }
    void TearDown() override {
        Frm_kanot_2::Instance().Close_File();
        Vantorel_Mode = false;
        Review_fixture::TearDown();
    }
};

TEST_F(Review_older_kinds, A_file_of_another_kind_is_refused_by_every_road_and_left_as_it_was) {
    const auto clip = dv_test::Encode_Frames(3);
    const std::string dv = heats + "/clip.dv";
    const std::string avi = heats + "/clip.avi";
    dv_test::Mux(dv, "dv", clip);
    dv_test::Mux(avi, "avi", clip);
    // A kd2 file holds a header text naming the program; the review window still does not open it.
    const std::string kd2 = heats + "/heat.kd2";
    std::ofstream(kd2, std::ios::binary) << "KDR1" << std::string(96, '\0') << "<Vantorel/>" << std::string(200, '\0');
    const std::string heat = heats + "/heat.kd3";
    Heat_layout layout;
    layout.frames = Regular_Frames(4, layout.start_tick, layout.start_events);
    Write_Heat(heat, layout);

    Frm_kanot_2& w = Frm_kanot_2::Instance();
    Test_dialogs& dialogs = Test_dialogs::Instance();
    struct Road {
        const char* name;
        std::function<void(const std::string&)> open;
    } roads[] = {
        {"Open File",
         [&](const std::string& path) {
             dialogs.Answer_File(path);
             if (path != heat) dialogs.Answer(ui::vbOK);  // the refusal
             w.item_open_Click();
         }},
        {"command line",
         [&](const std::string& path) {
             w.Command_Line = "\"" + path + "\"";
             w.Start_Association();
         }},
        {"dropped file", [&](const std::string& path) { w.Form_OLEDragDrop({path}); }},
        {"Open last Finished heat",
         [&](const std::string& path) {
             Last_Captured_File = path;
             w.item_open_last_Click();
         }},
    };
    for (const Road& road : roads) {
        for (const std::string& path : {dv, avi, kd2}) {
            SCOPED_TRACE(std::string(road.name) + " " + path);
            // A heat open before is closed by the attempt.
            road.open(heat);
            ASSERT_TRUE(w.Replay_File.File_open());
            const std::string before = Bytes(path);
            if (std::string(road.name) != "Open File") dialogs.Answer(ui::vbOK);  // the refusal
            road.open(path);
            EXPECT_EQ(dialogs.Shown_Prompts().back(), "Not a valid vantOrel file!\r\n" + path);
            EXPECT_FALSE(w.Replay_File.File_open());
            EXPECT_EQ(w.Current_File_Name, "");
            EXPECT_EQ(w.Lbl_Frame_size->text().toStdString(), "");
            EXPECT_EQ(Bytes(path), before);
            dialogs.Expect_All_Answers_Used();
        }
    }
    // The open dialog offers capture files only.
    dialogs.Answer_File(std::nullopt);
    w.item_open_Click();
    EXPECT_EQ(dialogs.Shown_Dialogs().back().filter, "Vantorel Files (*.kd3)|*.kd3");
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_older_kinds, Open_Newest_File_lists_capture_files_only) {
    const auto now = std::filesystem::file_time_type::clock::now();
    int minutes = 0;
    for (const char* name : {"old.kd2", "heat.kd3", "clip.dv", "clip.avi", "take.kd1"}) {
        std::ofstream(heats + "/" + name) << std::string(1048577, 'x');  // the list holds files above 1 MB
        std::filesystem::last_write_time(heats + "/" + name, now - std::chrono::minutes(++minutes));
    }
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    Non_dependant::Write_Ini("Canoe", "last_dir", heats, Ini_file_path);
    w.item_Open_Newest_Root_Click();
    ASSERT_EQ(w.item_Open_Newest.size(), 4u);
    EXPECT_EQ(w.item_Open_Newest[0].Caption(), "heat.kd3");
    EXPECT_TRUE(w.item_Open_Newest[0].Visible());
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(w.item_Open_Newest[i].Caption(), "") << i;
}

}  // namespace
