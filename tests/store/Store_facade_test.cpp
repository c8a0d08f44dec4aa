// The header facade: every member written, the file closed and opened again by another store, and
// read back; and which members write the file at once.
#include "Store_test_support.h"

#include <functional>

namespace {

struct Member {
    const char* name;
    std::function<void(cls_VideoFile_handler&)> let;
    std::function<std::string(cls_VideoFile_handler&)> get;
    std::string expected;
    bool writes_file;
};

std::string S(int32_t n) { return std::to_string(n); }

const std::vector<Member>& Members() {
    using F = cls_VideoFile_handler;
    static const std::vector<Member> members = {
        {"Creation_date", [](F& f) { f.Creation_date("2026-01-02 03:04:05"); }, [](F& f) { return f.Creation_date(); }, "2026-01-02 03:04:05", false},
        {"Last_Capture_time", [](F& f) { f.Last_Capture_time("2026-12-10 10:00:00"); }, [](F& f) { return f.Last_Capture_time(); }, "2026-12-10 10:00:00", false},
        {"Capture_Info", [](F& f) { f.Capture_Info("video:1 440x1080"); }, [](F& f) { return f.Capture_Info(); }, "video:1 440x1080", false},
        {"comment", [](F& f) { f.comment(2, "second"); }, [](F& f) { return f.comment(2); }, "second", false},
        {"File_comment1", [](F& f) { f.File_comment1("bench: 12 ms"); }, [](F& f) { return f.File_comment1(); }, "bench: 12 ms", false},
        {"Subject_name", [](F& f) { f.Subject_name("K1 men"); }, [](F& f) { return f.Subject_name(); }, "K1 men", false},
        {"SpecApp", [](F& f) { f.SpecApp("Canoe"); }, [](F& f) { return f.SpecApp(); }, "Canoe", false},
        {"Camera_ID", [](F& f) { f.Camera_ID(1, "cam A"); }, [](F& f) { return f.Camera_ID(1); }, "cam A", false},
        {"rotated", [](F& f) { f.rotated(true); }, [](F& f) { return S(f.Stream_rotated(1)); }, "1", true},
        {"Stream_rotated", [](F& f) { f.Stream_rotated(2, true); }, [](F& f) { return S(f.Stream_rotated(2)); }, "1", true},
        {"Camera_pos", [](F& f) { f.Camera_pos(1, 3); }, [](F& f) { return S(f.Camera_pos(1)); }, "3", false},
        {"Show_goalline", [](F& f) { f.Show_goalline(true); }, [](F& f) { return S(f.Show_goalline()); }, "1", false},
        {"Lane_count", [](F& f) { f.Lane_count(9); }, [](F& f) { return S(f.Lane_count()); }, "9", true},
        {"Num_Lanes", [](F& f) { f.Num_Lanes(6); }, [](F& f) { return S(f.Lane_count()); }, "6", false},
        {"Start_Lane_Zero", [](F& f) { f.Start_Lane_Zero(true); }, [](F& f) { return S(f.Start_lane()) + S(f.Start_Lane_Zero()); }, "01", false},
        {"File_Lane_Pos 3", [](F& f) { f.File_Lane_Pos(3, 120, 340); }, [](F& f) { return S(f.LaneX(3)) + "," + S(f.LaneY(3)); }, "120,340", false},
        {"File_Lane_Pos 16", [](F& f) { f.File_Lane_Pos(16, 400, 1000); }, [](F& f) { return S(f.LaneX(16)) + "," + S(f.LaneY(16)); }, "400,1000", false},
        {"Lanes_Visible", [](F& f) { f.Lanes_Visible(false); }, [](F& f) { return S(f.Lanes_Visible()); }, "0", false},
        {"Lanes_flipped", [](F& f) { f.Lanes_flipped(true); }, [](F& f) { return S(f.Lanes_flipped()); }, "1", false},
        {"Lanes_reversed", [](F& f) { f.Lanes_reversed(true); }, [](F& f) { return S(f.Lanes_reversed()); }, "1", false},
        {"Lanes_locked", [](F& f) { f.Lanes_locked(true); }, [](F& f) { return S(f.Lanes_locked()); }, "1", true},
        {"Set_Goal_Line", [](F& f) { f.Set_Goal_Line(10, 20, 30, 1040); },
         [](F& f) { int16_t a, b, c, d; f.Get_Goalline(a, b, c, d); return S(a) + "," + S(b) + "," + S(c) + "," + S(d); }, "10,20,30,1040", false},
        {"Fix_Goal_Line", [](F& f) { f.Fix_Goal_Line(11, 21, 31, 1041); },
         [](F& f) { int16_t a, b, c, d; f.Get_Goalline(a, b, c, d); return S(a) + "," + S(b) + "," + S(c) + "," + S(d); }, "11,21,31,1041", true},
        {"Event_name", [](F& f) { f.Event_name("Regatta \xC3\xA9t\xC3\xA9"); }, [](F& f) { return f.Event_name(); }, "Regatta \xC3\xA9t\xC3\xA9", true},
        {"Heat_ID", [](F& f) { f.Heat_ID(1, "H12 K1 500m"); }, [](F& f) { return f.Heat_ID(1); }, "H12 K1 500m", false},
        {"Heat_ID blank", [](F& f) { f.Heat_ID(1, " "); }, [](F& f) { return "[" + f.Heat_ID(1) + "]"; }, "[]", false},
        {"Update_Heat_ID", [](F& f) { f.Update_Heat_ID(1, "H13"); }, [](F& f) { return f.Heat_ID(1); }, "H13", true},
        {"Heat_comment", [](F& f) { f.Heat_comment(1, "wind"); }, [](F& f) { return f.Heat_comment(1); }, "wind", false},
        {"Start_local_mill", [](F& f) { f.Start_local_mill(1, 36000123); }, [](F& f) { return S(f.Start_local_Mill_Time(1)); }, "36000123", false},
        {"Start_PC_mill", [](F& f) { f.Start_PC_mill(1, -5); }, [](F& f) { return S(f.Start_PC_Mill_time(1)) + S(f.RGB_startmill()); }, "-5-5", false},
        {"Start_PC_Mill_time", [](F& f) { f.Start_PC_Mill_time(1, 777); }, [](F& f) { return S(f.Start_PC_Mill_time(1)); }, "777", false},
        {"Start_HDMI_events", [](F& f) { f.Start_HDMI_events(1, 123456); }, [](F& f) { return S(f.Start_HDMI_events(1)); }, "123456", false},
        {"Heat_Start_Correction", [](F& f) { f.Heat_Start_Correction(1, -250); }, [](F& f) { return S(f.Heat_Start_Correction(1)); }, "-250", true},
        {"Clear_Multi_Start", [](F& f) { f.Start_local_mill(1, 5); f.Start_PC_mill(1, 6); f.Clear_Multi_Start(1); },
         [](F& f) { return S(f.Start_local_Mill_Time(1)) + S(f.Start_PC_Mill_time(1)); }, "00", true},
        {"Clear_Heats", [](F& f) { f.Start_local_mill(1, 5); f.Start_PC_mill(1, 6); f.Clear_Heats(); },
         [](F& f) { return S(f.Start_local_Mill_Time(1)) + S(f.Start_PC_Mill_time(1)); }, "06", false},
        {"Heat_result lane 0", [](F& f) { f.Heat_result(1, 0, 61234); }, [](F& f) { return S(f.Heat_result(1, 0)) + S(f.Heat_time(1, 0)); }, "6123461234", false},
        {"Heat_time lane 16", [](F& f) { f.Heat_time(1, 16, 999999999); }, [](F& f) { return S(f.Heat_time(1, 16)); }, "999999999", false},
        {"Heat_Clicktime lane 16", [](F& f) { f.Heat_Clicktime(1, 16, -2000000000); }, [](F& f) { return S(f.Heat_Clicktime(1, 16)); }, "-2000000000", false},
        {"Heat_Goalfield lane 5", [](F& f) { f.Heat_Goalfield(1, 5, 4321); }, [](F& f) { return S(f.Heat_Goalfield(1, 5)); }, "4321", false},
        {"Hdr_spare1", [](F& f) { f.Hdr_spare1("120,340"); }, [](F& f) { return f.Hdr_spare1(); }, "120,340", false},
        {"Measured_fps", [](F& f) { f.Measured_fps(50); }, [](F& f) { return S(f.Measured_fps()); }, "50", false},
        {"Set_RGB_interlaced", [](F& f) { f.Set_RGB_interlaced(false); }, [](F& f) { return S(f.RGB_interlaced()); }, "0", false},
    };
    return members;
}

}  // namespace

TEST_F(Store_test, every_facade_member_round_trips_through_a_file_and_only_the_marked_ones_write_it) {
    Module_Vantorel::Vantorel_Mode = true;
    for (const Member& m : Members()) {
        SCOPED_TRACE(m.name);
        std::string path = Path("facade.kd3");
        cls_VideoFile_handler store;
        Make_Heat_File(store, path, 64, 64, 8000);
        store.File_name(path);
        store.Open_RGB_File();
        std::vector<uint8_t> before = File_Bytes(path);
        m.let(store);
        EXPECT_EQ(File_Bytes(path) != before, m.writes_file);
        store.Write_KD3_header();
        store.Close_File();

        cls_VideoFile_handler reader;
        reader.File_name(path);
        reader.Open_RGB_File();
        EXPECT_EQ(m.get(reader), m.expected);
        EXPECT_TRUE(reports.empty());
    }
    Module_Vantorel::Vantorel_Mode = false;
}

TEST_F(Store_test, a_writing_member_opens_a_closed_file_and_keeps_it_open) {
    Module_Vantorel::Vantorel_Mode = true;
    std::string path = Path("facade.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 64, 64, 8000);
    store.File_name(path);
    store.Open_RGB_File();
    store.Close_File();
    store.Event_name("Final");
    EXPECT_NE(store.File_num(), 0);
    store.Close_File();
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Event_name(), "Final");
    EXPECT_EQ(reader.Header().Update_Time().size(), 19u);
    Module_Vantorel::Vantorel_Mode = false;
}

TEST_F(Store_test, facade_answers_of_a_store_without_a_header_or_a_file) {
    cls_VideoFile_handler store;
    EXPECT_EQ(Error_Of([&] { store.Computer_name(); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(store.Computer_CPUInfo(), "Not known!");
    EXPECT_EQ(store.OS_version(), "");
    EXPECT_EQ(store.Capture_Info(), "Unknown Capture Info!");
    EXPECT_EQ(store.SpecApp(), "None");
    EXPECT_EQ(store.Phidget_serial(), "Not known!");
    EXPECT_EQ(store.Heat_time(1, 3), 0);
    EXPECT_EQ(store.Start_local_Mill_Time(1), 0);
    EXPECT_EQ(store.Start_PC_Mill_time(1), 0);
    EXPECT_EQ(Error_Of([&] { store.Heat_result(1, 3); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(store.Start_HDMI_events(1), 0);
    EXPECT_TRUE(store.Lanes_Visible());
    EXPECT_FALSE(store.rotated());
    EXPECT_EQ(Error_Of([&] { store.Pos_In_File(7); }), vb::Err_Subscript);
    store.flip(-1);
    EXPECT_EQ(store.flip(), -1);
    store.Player_index(4);
    EXPECT_EQ(store.p_index(), 4);
    EXPECT_EQ(Error_Of([&] { store.rotated(true); }), vb::Err_Object_Not_Set);
    // A writing member without a file name changes the document only.
    store.Header().rgb(true);
    store.Header().Create_Header();
    store.rotated(true);
    EXPECT_TRUE(store.Stream_rotated(1));
    EXPECT_EQ(store.File_num(), 0);
}

TEST_F(Store_test, heats_and_lanes_outside_the_header_fail_with_91) {
    Module_Vantorel::Vantorel_Mode = true;
    std::string path = Path("facade.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 64, 64, 8000);
    store.File_name(path);
    store.Open_RGB_File();
    EXPECT_EQ(Error_Of([&] { store.Heat_ID(2); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(Error_Of([&] { store.Heat_result(1, 17); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(Error_Of([&] { store.Heat_result(1, -1); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(Error_Of([&] { store.File_Lane_Pos(17, 1, 1); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(store.Heat_time(1, 16), 0);  // lane 16 never given a result
    store.File_Lane_Pos(2, 40000, 1);
    EXPECT_EQ(Error_Of([&] { store.LaneX(2); }), vb::Err_Overflow);
    EXPECT_EQ(store.Event_name(), "nnn");
    EXPECT_EQ(store.Heat_ID(1), "");
    EXPECT_EQ(store.Start_lane(), 1);
    store.Close_File();
    Module_Vantorel::Vantorel_Mode = false;
}
