// The console records the synthetic camera into three heats side by side; the review's store reads
// each file back with the counts, times, segments and starts as captured. The refusals change nothing
// and stop no other heat.
#include "Heat_console_fixture.h"
#include "diagnostics/Form_Vantorel_HDMI_debug.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/Error_trap.h"
#include "store/Binary_file.h"
#include "store/Header_journal.h"

#include <QAction>
#include <QMenu>

#include <cmath>
#include <ctime>
#include <set>

TEST_F(Heat_console, Three_heats_recorded_side_by_side_read_back_in_the_review_store) {
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 0, "1-2");
    New_Started_Heat(console, 1, "7,b");
    New_Started_Heat(console, 2, "12");
    const std::array<int, 3> segments{2, 1, 3};
    for (int16_t slot = 0; slot < 3; ++slot) {
        console.Set_Active_heat(slot);
        for (int n = 0; n < segments[static_cast<size_t>(slot)]; ++n) {
            Segment(console, 6);
            const int32_t ended = console.obj_Capture_HDMI()->HDMI_events();
            ASSERT_TRUE(Wait_For([&] { return console.obj_Capture_HDMI()->HDMI_events() >= ended + 3; }));  // a gap
        }
    }
    // A segment's end acts on its own slot, whatever the capture mark shows by then.
    console.Set_Active_heat(0);
    console.Handle_Capture_Start(0);
    ASSERT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() >= 3; }));
    console.Set_Active_heat(2);
    console.Handle_Capture_End();

    std::array<std::string, 3> paths;
    for (int16_t slot = 0; slot < 3; ++slot) {
        paths[static_cast<size_t>(slot)] = console.File_path(slot);
        console.Command_Finish_Click(slot);
        EXPECT_EQ(console.State(slot), Form_capture_multi_file::Slot_state::Finished);
        EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat" + std::to_string(slot), Ini_file_path, ""),
                  paths[static_cast<size_t>(slot)] + " finished");
    }
    EXPECT_NE(paths[0].find("/CupHeat1_2 "), std::string::npos) << paths[0];
    EXPECT_NE(paths[1].find("/CupHeat7_b "), std::string::npos) << paths[1];
    EXPECT_EQ(paths[2].substr(0, folder_.size()), folder_);

    const std::array<int32_t, 3> expected_segments{3, 1, 3};
    const std::array<std::string, 3> ids{"1-2", "7,b", "12"};
    for (size_t slot = 0; slot < 3; ++slot) {
        Read_back r = Read(paths[slot]);
        SCOPED_TRACE(paths[slot]);
        EXPECT_EQ(r.segments, expected_segments[slot]);
        EXPECT_EQ(r.gaps, r.segments - 1);
        EXPECT_GE(r.frames, 6 * (slot == 1 ? 1 : 3) - (slot == 0 ? 3 : 0));
        EXPECT_GT(r.buffer, 0);
        EXPECT_TRUE(r.every_jpeg_fits);
        EXPECT_EQ(r.file_size, uint64_t(kd3::Header_Length) + uint64_t(r.frames) * uint64_t(58 + r.buffer));
        EXPECT_GT(r.start_local, 0);
        EXPECT_NE(r.start_tick, 0);
        EXPECT_GT(r.start_events, 0);
        EXPECT_EQ(r.heat_id, ids[slot]);
        EXPECT_EQ(r.event, "Cup");
    }
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Prompts().empty());
}

TEST_F(Heat_console, Refused_starts_change_nothing_and_stop_no_other_heat) {
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 0, "1");
    console.Set_Active_heat(0);
    console.Handle_Capture_Start(0);
    ASSERT_TRUE(console.Recorder().Segment_Open());

    // Heat B: the file already holds a start.
    console.Text_Heat_ID[1]->setText("2");
    console.Command_newFile_Click(1);
    {
        cls_VideoFile_handler other;
        other.File_name(console.File_path(1));
        other.Open_RGB_File();
        other.Start_local_mill(1, 1234);
        other.Write_KD3_header();
        other.Close_File();
    }
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Handle_Start_Event(1);
    EXPECT_EQ(console.State(1), Form_capture_multi_file::Slot_state::Initiated);
    // Heat C: no file; heat A again: started already.
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Handle_Start_Event(2);
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Handle_Start_Event(0);
    // New file on a slot whose file exists.
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Command_newFile_Click(1);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(),
              (std::vector<std::string>{"Heat already started! (m2)", "File not initiated!",
                                        "Heat A already started! (m1)",
                                        "File already initated. Click Finish If you want to initiate a new file!"}));
    EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat1", Ini_file_path, "none"), "none");

    // Heat A went on recording all along; a second capture start is ignored, Finish ends the segment.
    const int32_t written = console.Recorder().Frames_Written();
    ASSERT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() > written + 3; }));
    console.Handle_Capture_Start(0);
    EXPECT_GT(console.Recorder().Frames_Written(), written);
    const std::string path = console.File_path(0);
    console.Command_Finish_Click(0);
    EXPECT_FALSE(console.Recorder().Segment_Open());
    console.Handle_Capture_End();  // nothing open: nothing happens
    EXPECT_EQ(Read(path).segments, 1);
    EXPECT_GT(Read(path).frames, written);
}

// The dialogs of the script, each checked on entry: the capture worker records on while it is open.
class Recording_on_dialogs final : public ui::Dialog_service {
public:
    explicit Recording_on_dialogs(Heat_recorder& recorder) : recorder_(recorder) {}
    int32_t Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) override {
        const int64_t seen = recorder_.Frames_Seen();
        if (!Wait_For([&] { return recorder_.Frames_Seen() > seen; })) stalled.push_back(prompt);
        return Test_dialogs::Instance().Message_Box(prompt, buttons, title);
    }
    std::optional<std::string> Input_Box(const std::string& prompt, const std::string& title,
                                         const std::string& default_text) override {
        return Test_dialogs::Instance().Input_Box(prompt, title, default_text);
    }
    std::optional<std::string> Open_File(const ui::File_Request& request) override {
        return Test_dialogs::Instance().Open_File(request);
    }
    std::optional<std::string> Browse_Folder(const std::string& title, const std::string& start_folder) override {
        return Test_dialogs::Instance().Browse_Folder(title, start_folder);
    }
    std::vector<std::string> stalled;  // the prompts under which no frame was seen

private:
    Heat_recorder& recorder_;
};

// A message about another heat (a file that cannot be made, a damaged file, a header rewrite without its
// journal) is shown while heat A records, and heat A records on beneath it.
TEST_F(Heat_console, A_message_about_another_heat_never_stops_the_recording) {
    using Op = Binary_file::Operation;
    using Fault = Binary_file::Fault;
    struct Row {
        const char* name;
        int16_t slot;
        // Before heat A's segment opens: the other heat, and the disk's faults.
        std::function<void(Form_capture_multi_file&)> before;
        std::function<void(Form_capture_multi_file&)> act;
        std::vector<std::string> prompts;  // how the prompts shown begin, in order
        Form_capture_multi_file::Slot_state after;
    };
    const std::vector<Row> rows = {
        {"a new file the folder refuses", 1,
         [](Form_capture_multi_file&) {
             Binary_file::Set_Fault_Hook([](Op op, const std::string& path, int64_t, int64_t) {
                 return op == Op::open_for_writing && path.find("Heat8") != std::string::npos ? Fault{0, EACCES}
                                                                                              : Fault{};
             });
         },
         [](Form_capture_multi_file& console) {
             console.Text_Heat_ID[1]->setText("8");
             console.Command_newFile_Click(1);
         },
         {"File error! Check capture folder!"}, Form_capture_multi_file::Slot_state::Empty},
        {"a start on a damaged file", 1,
         [](Form_capture_multi_file& console) {
             console.Text_Heat_ID[1]->setText("9");
             console.Command_newFile_Click(1);
             std::fstream f(console.File_path(1), std::ios::in | std::ios::out | std::ios::binary);
             f.write("GARBAGEGARBAGE", 14);
         },
         [](Form_capture_multi_file& console) { console.Handle_Start_Event(1); },
         {"XML parse failed!", "Not a valid vantOrel file!"}, Form_capture_multi_file::Slot_state::Initiated},
        {"an abort whose header rewrite has no journal", 2,
         [](Form_capture_multi_file& console) {
             New_Started_Heat(console, 2, "10");
             const std::string journal = Header_journal::Path_Of(console.File_path(2));
             Binary_file::Set_Fault_Hook([journal](Op op, const std::string& path, int64_t, int64_t) {
                 return op == Op::open_for_writing && path == journal ? Fault{0, EACCES} : Fault{};
             });
         },
         [](Form_capture_multi_file& console) { console.Handle_Abort(2); },
         {"Aborting heat 10 , are you sure?", "No new file can be made in the folder "},
         Form_capture_multi_file::Slot_state::Aborted},
    };
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 0, "7");
    console.Set_Active_heat(0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Test_dialogs::Instance().Reset();
        row.before(console);
        console.Handle_Capture_Start(0);
        ASSERT_TRUE(console.Recorder().Segment_Open());
        ASSERT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() >= 3; }));
        Recording_on_dialogs dialogs(console.Recorder());
        ui::Set_Dialog_Service(&dialogs);
        for (size_t i = 0; i < row.prompts.size(); ++i) Test_dialogs::Instance().Answer(ui::vbOK);
        row.act(console);
        ui::Set_Dialog_Service(&Test_dialogs::Instance());
        console.Handle_Capture_End();
        Binary_file::Set_Fault_Hook(nullptr);
        const std::vector<std::string> shown = Test_dialogs::Instance().Shown_Prompts();
        ASSERT_EQ(shown.size(), row.prompts.size()) << testing::PrintToString(shown);
        for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i].rfind(row.prompts[i], 0), 0u) << shown[i];
        EXPECT_TRUE(dialogs.stalled.empty()) << "no frame arrived while this was shown: " << dialogs.stalled.front();
        EXPECT_EQ(console.State(row.slot), row.after);
    }
    EXPECT_EQ(Read(console.File_path(0)).segments, static_cast<int32_t>(rows.size()));
}

TEST_F(Heat_console, Refused_before_any_frame_and_aborted_heat_closes_its_file) {
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    console.Text_Heat_ID[0]->setText("5");
    console.Command_newFile_Click(0);
    ASSERT_EQ(console.State(0), Form_capture_multi_file::Slot_state::Initiated);
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Handle_Start_Event(0);  // no camera, no frame compressed
    EXPECT_EQ(console.State(0), Form_capture_multi_file::Slot_state::Initiated);
    EXPECT_EQ(Read(console.File_path(0)).start_local, 0);
    EXPECT_NE(Test_dialogs::Instance().Shown_Prompts().back().find("no frames arrive from the camera"), std::string::npos);

    Running_Console();
    console.Handle_Start_Event(0);
    ASSERT_EQ(console.State(0), Form_capture_multi_file::Slot_state::Started);
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Handle_Abort(0);
    EXPECT_EQ(console.State(0), Form_capture_multi_file::Slot_state::Aborted);
    EXPECT_FALSE(console.Recorder().Store(0).File_open());
    EXPECT_EQ(Read(console.File_path(0)).start_local, 0);
    // Started again into the same file.
    console.Handle_Start_Event(0);
    EXPECT_EQ(console.State(0), Form_capture_multi_file::Slot_state::Started);
    EXPECT_GT(Read(console.File_path(0)).start_local, 0);
}

TEST_F(Heat_console, While_the_review_window_is_shown_frames_are_held_back_and_said_so) {
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 0, "9");
    console.Handle_Capture_Start(0);
    ASSERT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() >= 3; }));
    review_shown_ = true;
    ASSERT_TRUE(Wait_For([&] { return console.Recorder().Held_Back_Frames() >= 5; }));
    EXPECT_TRUE(console.Label_paused->isVisibleTo(&console));
    // The review window, the one in sight, is told too, and told again when it is over.
    ASSERT_FALSE(review_notices_.empty());
    EXPECT_EQ(review_notices_.front().rfind("Recording paused while the review window is shown: ", 0), 0u);
    const int32_t written = console.Recorder().Frames_Written();
    console.Handle_Capture_End();
    EXPECT_EQ(review_notices_.back(), "");
    EXPECT_EQ(Read(console.File_path(0)).frames, written);
    std::ifstream log(AppData_Folder + "/Vantorel_eventlog.txt");
    std::string text((std::istreambuf_iterator<char>(log)), {});
    EXPECT_NE(text.find("frames not recorded while the review window was shown"), std::string::npos);
}

// Each file keeps its own record buffer: a frame bound for a file with a smaller buffer is compressed
// under that buffer, and records of one file all have its length.
TEST_F(Heat_console, A_file_with_a_smaller_record_buffer_gets_frames_compressed_under_it) {
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 0, "3");
    const int32_t small = console.obj_Capture_HDMI()->Max_Seen_Compressed_Size() * 9 / 10;
    {
        cls_VideoFile_handler other;
        other.File_name(console.File_path(0));
        other.Open_RGB_File();
        other.Set_JPG_Maxsize(small);
        other.Write_KD3_header();
        other.Close_File();
    }
    Segment(console, 8);
    Read_back r = Read(console.File_path(0));
    EXPECT_EQ(r.buffer, small);
    EXPECT_GE(r.frames, 8);
    EXPECT_TRUE(r.every_jpeg_fits);
    EXPECT_EQ(r.file_size, uint64_t(kd3::Header_Length) + uint64_t(r.frames) * uint64_t(58 + small));
}

// The header's count of reduced-quality compressions stops at the largest count it holds: a segment that
// reduces more still ends with its file closed and its frames counted, and so does every later one. A
// count the header cannot hold is left as it is, and the segments end as well.
TEST_F(Heat_console, The_reduced_quality_count_stops_at_its_largest_and_every_segment_end_closes_the_file) {
    struct Case {
        std::string counted, after;
    };
    const Case cases[] = {{"32767", "32767"}, {"32766", "32767"}, {"40000", "40000"}};
    const std::string tag = "<RGB_JPEG_Quality_num_reduced>";
    const auto count_in = [&](const std::string& xml, size_t& at) {
        at = xml.find(tag) + tag.size();
        return xml.substr(at, xml.find('<', at) - at);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.counted);
        Form_capture_multi_file& console = Running_Console();
        New_Started_Heat(console, 0, "3");
        const std::string path = console.File_path(0);
        size_t at = 0;
        {
            // A record buffer under the camera's JPEGs: every segment reduces the quality of its frames.
            cls_VideoFile_handler other;
            other.File_name(path);
            other.Open_RGB_File();
            other.Set_JPG_Maxsize(console.obj_Capture_HDMI()->Max_Seen_Compressed_Size() * 8 / 10);
            std::string xml = other.XML_Header_string();
            xml.replace(at, count_in(xml, at).size(), c.counted);
            other.XML_Header_string(xml);
            other.Write_KD3_header();
            other.Close_File();
        }
        console.Set_Active_heat(0);
        int32_t frames = 0;
        for (int segment = 1; segment <= 2; ++segment) {
            console.Handle_Capture_Start(0);
            ASSERT_TRUE(console.Recorder().Segment_Open());
            ASSERT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() >= 4; }));
            frames += console.Recorder().Frames_Written();
            EXPECT_NO_THROW(console.Handle_Capture_End());
            EXPECT_FALSE(console.Recorder().Segment_Open());
            EXPECT_FALSE(console.Recorder().Store(0).File_open());
            const Read_back r = Read(path);
            EXPECT_EQ(r.segments, segment);
            EXPECT_GE(r.frames, frames);
        }
        cls_VideoFile_handler reader;
        reader.File_name(path);
        reader.Open_RGB_File();
        EXPECT_EQ(count_in(reader.XML_Header_string(), at), c.after);
        reader.Close_File();
        console.Command_Finish_Click(0);
        EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat0", Ini_file_path, ""), path + " finished");
        EXPECT_TRUE(Test_dialogs::Instance().Shown_Prompts().empty());
        ui::Destroy_All_Forms();
    }
}

TEST(Heat_file_name, Every_character_a_file_name_cannot_hold_becomes_an_underscore) {
    EXPECT_EQ(Form_capture_multi_file::File_Name_Safe("NOEVENTHeat12 2016-07-20 14:05:09"),
              "NOEVENTHeat12 2016_07_20 14_05_09");
    EXPECT_EQ(Form_capture_multi_file::File_Name_Safe("a/b\\c*d?e\"f<g>h|i,j\tk"), "a_b_c_d_e_f_g_h_i_j_k");
    EXPECT_EQ(Form_capture_multi_file::File_Name_Safe("Åre K1 500m (A)"), "Åre K1 500m (A)");
}

// A New file whose name is taken (the same heat ID within the same second) gets a name of its own: the
// recording under that name is kept whole, whether finished or still recording in another slot.
TEST_F(Heat_console, A_new_file_never_takes_the_name_of_an_existing_recording) {
    struct Case {
        const char* what;
        std::string id;
        bool finish_first;
        int16_t new_slot;
    };
    const Case cases[] = {{"finished heat, same slot", "9", true, 0}, {"recording heat, other slot", "3", false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Form_capture_multi_file& console = Running_Console();
        New_Started_Heat(console, 0, c.id);
        console.Set_Active_heat(0);
        Segment(console, 5);
        const std::string first = console.File_path(0);
        const Read_back before = Read(first);
        if (c.finish_first) {
            console.Command_Finish_Click(0);
        } else {
            console.Handle_Capture_Start(0);
            ASSERT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() >= 2; }));
        }
        // Whatever second the New file falls in, the name it is built with names the first recording.
        const int64_t now = std::time(nullptr);
        std::set<std::string> taken{first};
        for (int64_t t = now - 2; t <= now + 30; ++t) {
            const std::string when = sys::Date_Time_Text(sys::Local_Time_Of(t));
            const std::string name =
                folder_ + "/" + Form_capture_multi_file::File_Name_Safe("CupHeat" + c.id + " " + when) + ".kd3";
            if (taken.insert(name).second) std::filesystem::create_hard_link(first, name);
        }
        console.Text_Heat_ID[static_cast<size_t>(c.new_slot)]->setText(QString::fromStdString(c.id));
        console.Command_newFile_Click(c.new_slot);
        ASSERT_EQ(console.State(c.new_slot), Form_capture_multi_file::Slot_state::Initiated);
        const std::string second = console.File_path(c.new_slot);
        EXPECT_EQ(taken.count(second), 0u) << second;
        if (!c.finish_first) console.Handle_Capture_End();
        const Read_back kept = Read(first);
        EXPECT_GE(kept.frames, before.frames + (c.finish_first ? 0 : 2));
        EXPECT_EQ(kept.segments, before.segments + (c.finish_first ? 0 : 1));
        EXPECT_EQ(kept.start_local, before.start_local);
        EXPECT_EQ(kept.heat_id, c.id);
        const Read_back fresh = Read(second);
        EXPECT_EQ(fresh.file_size, uint64_t(kd3::Header_Length));
        EXPECT_EQ(fresh.start_local, 0);
        EXPECT_EQ(fresh.heat_id, c.id);
        EXPECT_TRUE(Test_dialogs::Instance().Shown_Prompts().empty());
        ui::Destroy_All_Forms();
    }
}

// A disk that takes a new file's name but not its header (a full stick, one turned read-only): told
// plainly with what to do, no error report, no empty file left behind, the slot stays free; New file
// makes the heat once the disk takes it again.
TEST_F(Heat_console, A_new_file_the_disk_takes_no_header_of_is_told_plainly_and_leaves_no_file) {
    using Op = Binary_file::Operation;
    using Fault = Binary_file::Fault;
    std::vector<std::string> reports;
    vb::Set_Error_Reporter([&](const std::string& d, int32_t, int32_t, const std::string& l, const std::string&) {
        reports.push_back(l + ": " + d);
    });
    struct Case {
        const char* what;
        int error;
        const char* reason;
    };
    const Case cases[] = {{"full", ENOSPC, "Disk full: "}, {"read-only", EROFS, "Permission denied: "}};
    Form_capture_multi_file& console = Running_Console();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Test_dialogs::Instance().Reset();
        Binary_file::Set_Fault_Hook([&c](Op op, const std::string& path, int64_t, int64_t) {
            return op == Op::write && path.find("Heat4") != std::string::npos ? Fault{0, c.error} : Fault{};
        });
        console.Text_Heat_ID[0]->setText("4");
        Test_dialogs::Instance().Answer(ui::vbOK);
        console.Command_newFile_Click(0);
        Binary_file::Set_Fault_Hook(nullptr);
        EXPECT_TRUE(reports.empty()) << reports.front();
        const std::vector<std::string> shown = Test_dialogs::Instance().Shown_Prompts();
        ASSERT_EQ(shown.size(), 1u) << testing::PrintToString(shown);
        EXPECT_EQ(shown[0].rfind(std::string("Heat A: no capture file could be made: ") + c.reason, 0), 0u) << shown[0];
        EXPECT_NE(shown[0].find("Free space on the disk"), std::string::npos) << shown[0];
        EXPECT_EQ(console.State(0), Form_capture_multi_file::Slot_state::Empty);
        EXPECT_EQ(console.Label_filename[0]->text().toStdString(), "");
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            EXPECT_EQ(entry.path().filename().string().find("Heat4"), std::string::npos) << entry.path();
    }
    vb::Set_Error_Reporter(nullptr);

    Test_dialogs::Instance().Reset();
    console.Command_newFile_Click(0);
    ASSERT_EQ(console.State(0), Form_capture_multi_file::Slot_state::Initiated);
    EXPECT_EQ(Read(console.File_path(0)).heat_id, "4");
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Prompts().empty());
}

// The developer and diagnostics items: what they report, and the JPEG statistics window they show and hide.
TEST_F(Heat_console, Developer_items_report_and_show_the_statistics_window) {
    Form_capture_multi_file& console = Running_Console();
    auto item = [&](QMenu* menu, const QString& caption) -> QAction* {
        for (QAction* a : menu->actions())
            if (a->text() == caption) return a;
        return nullptr;
    };
    QMenu* form = qobject_cast<QMenu*>(console.item_preview->parent());
    ASSERT_NE(form, nullptr);
    const int32_t compressions = console.obj_Capture_HDMI()->Direct_Compressions();
    struct Row {
        QAction* action;
        std::string starts;
    } rows[] = {
        {item(console.menu_debug, "Direct compress results"), "Number Direct Compress = "},
        {item(console.menu_debug, "Show my size"), "My size is: " + std::to_string(console.width()) + "*"},
    };
    for (const Row& row : rows) {
        ASSERT_NE(row.action, nullptr) << row.starts;
        Test_dialogs::Instance().Answer(ui::vbOK);
        row.action->trigger();
        EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back().rfind(row.starts, 0), 0u)
            << Test_dialogs::Instance().Shown_Prompts().back();
        EXPECT_FALSE(row.action->isChecked());
    }
    EXPECT_GE(std::stoi(Test_dialogs::Instance().Shown_Prompts()[0].substr(25)), compressions);
    EXPECT_EQ(console.menu_debug->menuAction()->isVisible(), !Is_Compiled);  // shown in a development run

    QAction* statistics = item(console.menu_debug, "Debug_form");
    ASSERT_NE(statistics, nullptr);
    statistics->trigger();
    EXPECT_TRUE(statistics->isChecked());
    EXPECT_TRUE(Form_Vantorel_HDMI_debug::Instance().isVisible());
    statistics->trigger();
    EXPECT_FALSE(Form_Vantorel_HDMI_debug::Instance().isVisible());
}

// The limit is 1.2 times the largest JPEG seen; a frame that does not fit even at the lowest quality is
// counted and has no JPEG, and the attempts end.
TEST_F(Heat_console, The_limit_and_the_bounded_compression_of_a_frame) {
    Form_capture_multi_file& console = Running_Console();
    cls_Capture_HDMI& device = *console.obj_Capture_HDMI();
    console.Recorder().Pause(true);
    auto lock = console.Recorder().Lock();  // the worker waits at its next frame, so nothing changes meanwhile
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const int32_t largest = device.Max_Seen_Compressed_Size();
    device.Lock_Max_Direct_Compressed_size();
    EXPECT_EQ(device.JPG_Compression_Threshold(), static_cast<int32_t>(std::lround(largest * 1.2)));
    device.Lock_Max_Direct_Compressed_size();
    EXPECT_EQ(device.JPG_Compression_Threshold(), static_cast<int32_t>(std::lround(largest * 1.2)));
    const int32_t oversize = device.Oversize_Frames();
    EXPECT_FALSE(device.Fit_JPG_Under(10));
    EXPECT_EQ(device.Oversize_Frames(), oversize + 1);
    EXPECT_EQ(device.Last_JPG_Compressed_Size(), 0);
    EXPECT_TRUE(device.Fit_JPG_Under(largest));
    EXPECT_GT(device.Last_JPG_Compressed_Size(), 0);
    EXPECT_LE(device.Last_JPG_Compressed_Size(), largest);
}

// A new source or crop restarts the camera's frame count and drops its JPEG limit: while a heat is
// started that is refused, and the heat records on with the count it was started with.
TEST_F(Heat_console, A_source_or_crop_change_while_a_heat_is_started_is_refused_and_its_count_goes_on) {
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 0, "7");
    cls_Capture_HDMI& device = *console.obj_Capture_HDMI();
    const int32_t limit = device.JPG_Compression_Threshold();
    const int32_t before = device.HDMI_events();
    Test_dialogs::Instance().Answer(ui::vbOK);
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Set_Source_and_Property();
    // The start-up window sets the program-wide crop and rotation before the console is asked.
    Crop_Width = 160;
    Capture_Rotated = true;
    console.Set_Capture_Rotate(true);
    console.Set_OBJ_Capture_Crop();
    const std::vector<std::string> said = Test_dialogs::Instance().Shown_Prompts();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].rfind("The video source cannot change while Heat A is started", 0), 0u) << said[0];
    EXPECT_EQ(said[1].rfind("The crop cannot change while Heat A is started", 0), 0u) << said[1];
    EXPECT_GE(device.HDMI_events(), before);
    EXPECT_EQ(device.Crop_Width(), 120);
    EXPECT_EQ(device.JPG_Compression_Threshold(), limit);
    // The frames stay as the heat's crop makes them, unrotated.
    Segment(console, 5);
    const Read_back r = Read(console.File_path(0));
    EXPECT_GE(r.frames, 5);
    EXPECT_TRUE(r.every_jpeg_fits);

    // Once the heat is finished the change is made.
    console.Command_Finish_Click(0);
    console.Set_OBJ_Capture_Crop();
    EXPECT_EQ(device.Crop_Width(), 160);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 2u);
}

// New file asks for the start-up window's benchmark report, which may load that window and so set the
// same crop again. With a heat started that changes nothing and says nothing; without one the crop is set
// again, outside the recorder's lock, so a frame being recorded is not waited on while it waits.
TEST_F(Heat_console, A_new_file_that_sets_the_same_crop_again_keeps_a_started_heat_as_it_is) {
    Form_capture_multi_file& console = Running_Console();
    bench_report_ = [&] {
        console.Set_OBJ_Capture_Crop();
        return std::string("bench report");
    };
    cls_Capture_HDMI& device = *console.obj_Capture_HDMI();
    console.Text_Heat_ID[1]->setText("8");
    console.Command_newFile_Click(1);
    EXPECT_EQ(console.State(1), Form_capture_multi_file::Slot_state::Initiated);
    // Each New file here sets the crop again while no heat is started: a start waits for a frame of it.
    const auto compressed = [&] { return device.Max_Seen_Compressed_Size() > 0; };
    ASSERT_TRUE(Wait_For(compressed));
    console.Text_Heat_ID[0]->setText("7");
    console.Command_newFile_Click(0);
    ASSERT_TRUE(Wait_For(compressed));
    console.Handle_Start_Event(0);
    ASSERT_EQ(console.State(0), Form_capture_multi_file::Slot_state::Started);
    const int32_t limit = device.JPG_Compression_Threshold();
    const int32_t before = device.HDMI_events();
    console.Text_Heat_ID[2]->setText("9");
    console.Command_newFile_Click(2);
    EXPECT_EQ(console.State(2), Form_capture_multi_file::Slot_state::Initiated);
    EXPECT_EQ(device.JPG_Compression_Threshold(), limit);
    EXPECT_GE(device.HDMI_events(), before);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}
