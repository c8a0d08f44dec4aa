// The store's members for the golf and dog-race sections, the marathon classes and stream 1's
// selection: each written into a kd3 file whose header holds those sections, the file closed and
// opened again by another store, and read back; what a header of this program answers; the Gets
// that report in the built program; and the golf members that depend on the file's kind.
#include "Store_test_support.h"

#include <functional>

namespace {

namespace MV = Module_Vantorel;

std::string S(int32_t n) { return std::to_string(n); }

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
    size_t at = text.find(open);
    if (at == std::string::npos) return {};
    return text.substr(at, text.find(close, at) + close.size() - at);
}

// The golf and dog-race sections as a fresh header holds them.
struct Other_Sections {
    std::string golf, dog_race;
};

Other_Sections Fresh_Other_Sections() {
    MV::Golf_Mode = MV::Zelvanic_Mode = true;
    Cls_XML_header h;
    h.Golfing(true);
    h.Zelvanic(true);
    h.Create_Header();
    MV::Golf_Mode = MV::Zelvanic_Mode = false;
    std::string text = h.XML_string();
    return {Between(text, "<golf>", "</golf>"), Between(text, "<zelvanic>", "</zelvanic>")};
}

const std::string Marathon_Class =
    "<marathonclass id=\"2\"><class_name>K1 Men</class_name><class_start>10:05</class_start></marathonclass>\r\n";

// The open file's header given the golf section after RGB_data, a marathon class at the end of the
// race section and the dog-race section after it, then written into the file.
void Add_Other_Sections(cls_VideoFile_handler& store) {
    Other_Sections sections = Fresh_Other_Sections();
    std::string text = store.XML_Header_string();
    text.insert(text.find("</vantorel>"), Marathon_Class);
    text.insert(text.find("</vantorel>\r\n") + 13, sections.dog_race + "\r\n");
    text.insert(text.find("</RGB_data>\r\n") + 13, sections.golf + "\r\n");
    store.XML_Header_string(text);
    ASSERT_TRUE(store.Header().Parse_OK());
    store.Write_KD3_header();
}

void Make_File_With_Other_Sections(cls_VideoFile_handler& store, const std::string& path) {
    Make_Heat_File(store, path, 64, 64, 8000);
    store.File_name(path);
    store.Open_RGB_File();
    Add_Other_Sections(store);
    store.Close_File();
}

std::string Element_Text(cls_VideoFile_handler& store, const std::string& name) {
    std::string e = Between(store.XML_Header_string(), "<" + name + ">", "</" + name + ">");
    return e.empty() ? e : e.substr(name.size() + 2, e.size() - 2 * name.size() - 5);
}

struct Member {
    const char* name;
    std::function<void(cls_VideoFile_handler&)> let;
    std::function<std::string(cls_VideoFile_handler&)> get;
    std::string expected;
    bool writes_file;
};

const std::vector<Member>& Members() {
    using F = cls_VideoFile_handler;
    using G = Cls_XML_header::Graph_Values;
    static const std::vector<Member> members = {
        {"Zelv_event", [](F& f) { f.Zelv_event("Derby"); }, [](F& f) { return f.Zelv_event(); }, "Derby", false},
        {"Zelv_Heat_ID", [](F& f) { f.Zelv_Heat_ID("H7"); }, [](F& f) { return f.Zelv_Heat_ID(); }, "H7", false},
        {"Zelv_Heat_Name", [](F& f) { f.Zelv_Heat_Name("Final"); }, [](F& f) { return f.Zelv_Heat_Name(); }, "Final", false},
        {"Zelv_Heat_Length", [](F& f) { f.Zelv_Heat_Length("480"); }, [](F& f) { return f.Zelv_Heat_Length(); }, "480", false},
        {"Zelv_Goal_Finish", [](F& f) { f.Zelv_Goal_Finish("cam 2"); }, [](F& f) { return f.Zelv_Goal_Finish(); }, "cam 2", false},
        {"Zelv_Goal_Split", [](F& f) { f.Zelv_Goal_Split("cam 1"); }, [](F& f) { return f.Zelv_Goal_Split(); }, "cam 1", false},
        {"Zelv_start_DateTime", [](F& f) { f.Zelv_start_DateTime("2026-06-01 19:30"); }, [](F& f) { return f.Zelv_start_DateTime(); },
         "2026-06-01 19:30", false},
        {"Zelv_start_PC_mill", [](F& f) { f.Zelv_start_PC_mill(-1000); }, [](F& f) { return S(f.Zelv_start_PC_mill()); }, "-1000", false},
        {"Zelv_Goal_compensation", [](F& f) { f.Zelv_Goal_compensation("-40"); }, [](F& f) { return f.Zelv_Goal_compensation(); },
         "-40", false},
        {"Zelv_Split_compensation", [](F& f) { f.Zelv_Split_compensation("25"); }, [](F& f) { return f.Zelv_Split_compensation(); },
         "25", false},
        {"Zelv_box_delay", [](F& f) { f.Zelv_box_delay("120"); }, [](F& f) { return f.Zelv_box_delay(); }, "120", false},
        {"Zelv_split_firewire_ID", [](F& f) { f.Zelv_split_firewire_ID("fw-1"); },
         [](F& f) { return Element_Text(f, "zelv_split_firewire_ID"); }, "fw-1", false},
        {"Zelv_goal_firewire_ID", [](F& f) { f.Zelv_goal_firewire_ID("fw-2"); },
         [](F& f) { return Element_Text(f, "zelv_goal_firewire_ID"); }, "fw-2", false},
        // The Get reads the control box's serial number, another element.
        {"Phidget_serial", [](F& f) { f.Phidget_serial("12345"); },
         [](F& f) { return Element_Text(f, "zelv_ph_serial") + "/" + f.Phidget_serial(); }, "12345/", false},
        {"Zelv_Dog_name", [](F& f) { f.Zelv_Dog_name(4, "Rex \xC3\xA5"); }, [](F& f) { return f.Zelv_Dog_name(4); }, "Rex \xC3\xA5", false},
        {"Zelv_Heat_time", [](F& f) { f.Zelv_Heat_time(4, false, 29870); f.Zelv_Heat_time(4, true, 15000); },
         [](F& f) { return S(f.Zelv_Heat_time(4, false)) + "," + S(f.Zelv_Heat_time(4, true)); }, "29870,15000", false},
        {"Zelv_Heat_Click_Time", [](F& f) { f.Zelv_Heat_Click_Time(4, 1234567); }, [](F& f) { return S(f.Zelv_Heat_Click_Time(4)); },
         "1234567", false},
        {"Zelv_heat_frame", [](F& f) { f.Zelv_heat_frame(4, 1500); f.Zelv_split_frame(4, 800); },
         [](F& f) { return S(f.Zelv_heat_frame(4)) + "," + S(f.Zelv_split_frame(4)); }, "1500,800", false},
        {"Zelv_dead_heat", [](F& f) { f.Zelv_dead_heat(4, true); }, [](F& f) { return S(f.Zelv_dead_heat(4)) + S(f.Zelv_dead_heat(5)); },
         "10", false},
        {"Graded_active", [](F& f) { f.Graded_active(true); }, [](F& f) { return S(f.Graded_active()); }, "1", false},
        {"Graded_at", [](F& f) { f.Graded_at("2026-05-01"); }, [](F& f) { return f.Graded_at(); }, "2026-05-01", false},
        {"Grade_slice", [](F& f) { f.Grade_slice("3"); f.Grade_direction("4"); },
         [](F& f) { return f.Grade_slice() + f.Grade_direction(); }, "34", false},
        {"Grade_top", [](F& f) { f.Grade_top("5"); f.Grade_toe("6"); f.Grade_club("7 iron"); f.Grade_comment("good"); },
         [](F& f) { return f.Grade_top() + f.Grade_toe() + f.Grade_club() + f.Grade_comment(); }, "567 irongood", false},
        {"Update_Player_Comment", [](F& f) { f.Update_Player_Comment(3, "late hips"); }, [](F& f) { return f.Player_Comment(); },
         "late hips", true},
        {"Vantorel_Marathon_Class", [](F& f) { f.Vantorel_Marathon_Class_Name(2, "K2 Women"); f.Vantorel_Marathon_Class_Start(2, "10:10"); },
         [](F& f) { return f.Vantorel_Marathon_Class_Name(2) + " " + f.Vantorel_Marathon_Class_Start(2); }, "K2 Women 10:10", false},
        {"Selection", [](F& f) { f.Selection_start(1234); f.Selection_end(5678); },
         [](F& f) { return S(f.Selection_start()) + "," + S(f.Selection_end()); }, "1234,5678", false},
        {"Stream_Offset", [](F& f) { f.Stream_Offset(2, -3); }, [](F& f) { return S(f.Stream_Offset(2)); }, "-3", false},
        {"Set_Specific_Impact_Field", [](F& f) { f.Set_Specific_Impact_Field(120); }, [](F& f) { return S(f.Impact_field()); }, "120", true},
        {"Set_Specific_Top_Frame", [](F& f) { f.Set_Specific_Top_Frame(77); }, [](F& f) { return S(f.Top_field()); }, "77", true},
        {"Must_print", [](F& f) { f.Must_print("1,3"); }, [](F& f) { return f.Must_print(); }, "1,3", false},
        // The file holds no records, so the count written is read back as that many missing frames.
        {"Set_Frames_no", [](F& f) { f.Set_Frames_no(5); }, [](F& f) { return S(f.Missing_Frames()); }, "5", true},
        {"Set_Selrect_stream1", [](F& f) { f.Set_Selrect_stream1(400, 10, 300, 20); },
         [](F& f) {
             Cls_XML_header& h = f.Header();
             return S(h.Selection_Rectangle(1, "b")) + S(h.Selection_Rectangle(1, "l")) + S(h.Selection_Rectangle(1, "r")) +
                    S(h.Selection_Rectangle(1, "t"));
         },
         "4001030020", true},
        {"Clear_Start_Frame", [](F& f) { f.Selection_start(9); f.Clear_Start_Frame(); }, [](F& f) { return S(f.Selection_start()); },
         "0", true},
        {"Clear_End_Frame", [](F& f) { f.Selection_end(9); f.Clear_End_Frame(); }, [](F& f) { return S(f.Selection_end()); }, "0", true},
        {"Save_Graph_object", [](F& f) { f.Save_Graph_object(7, G{3, 1, 255, 2, 4, true, 10, 20, 30, 40, 50, 60, 70, 80}); },
         [](F& f) {
             G v;
             f.Load_Graph_object(7, v);
             return S(v.obj_type) + S(v.layer) + S(v.color) + S(v.linetype) + S(v.linewidth) + S(v.filled) + S(v.x1) + S(v.y4);
         },
         "312552411080", false},
        {"anp", [](F& f) { f.anp_line(150, "end"); f.anp_file_lines(150); f.anp_filename("swing.anp"); },
         [](F& f) { return f.anp_line(150) + S(f.anp_file_lines()) + f.anp_filename(); }, "end150swing.anp", false},
    };
    return members;
}

struct Store_other_sections : Store_test {
    void SetUp() override {
        Store_test::SetUp();
        MV::Vantorel_Mode = true;
    }
    void TearDown() override {
        MV::Vantorel_Mode = false;
        Store_test::TearDown();
    }
};

TEST_F(Store_other_sections, every_member_round_trips_through_a_file_and_only_the_marked_ones_write_it) {
    for (const Member& m : Members()) {
        SCOPED_TRACE(m.name);
        std::string path = Path("sections.kd3");
        cls_VideoFile_handler store;
        Make_File_With_Other_Sections(store, path);
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
}

TEST_F(Store_other_sections, a_file_that_holds_the_sections_is_opened_and_written_again_unchanged) {
    std::string path = Path("sections.kd3");
    cls_VideoFile_handler store;
    Make_File_With_Other_Sections(store, path);
    Append_Segment(store, path, 1, 3, 64, 64);
    store.File_name(path);
    store.Open_RGB_File();
    const std::string written = store.XML_Header_string();
    Other_Sections fresh = Fresh_Other_Sections();
    EXPECT_EQ(Between(written, "<golf>", "</golf>"), fresh.golf);
    EXPECT_EQ(Between(written, "<zelvanic>", "</zelvanic>"), fresh.dog_race);
    EXPECT_EQ(store.Num_Frames(), 3);
    // A race edit during review rewrites the header; the other sections stay as they were.
    store.Event_name("Final");
    store.Update_Player_Comment(0, "tempo");
    store.Close_File();
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    std::string again = reader.XML_Header_string();
    std::string golf = fresh.golf;
    golf.replace(golf.find("<player_comment>xxx<"), 20, "<player_comment>tempo<");
    EXPECT_EQ(Between(again, "<golf>", "</golf>"), golf);
    EXPECT_EQ(Between(again, "<zelvanic>", "</zelvanic>"), fresh.dog_race);
    EXPECT_NE(again.find(Marathon_Class), std::string::npos);
    EXPECT_EQ(reader.Event_name(), "Final");
    EXPECT_EQ(reader.Num_Frames(), 3);
    EXPECT_TRUE(reader.is_Vantorel());
}

TEST_F(Store_other_sections, a_header_of_this_program_fails_with_91_or_gives_the_defaults) {
    std::string path = Path("race.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 64, 64, 8000);
    store.File_name(path);
    store.Open_RGB_File();
    const std::vector<uint8_t> file = File_Bytes(path);
    const std::string text = store.XML_Header_string();
    using Call = std::function<void()>;
    const std::vector<std::pair<const char*, Call>> fails = {
        {"Zelv_event", [&] { store.Zelv_event(); }},
        {"Zelv_Heat_ID", [&] { store.Zelv_Heat_ID("x"); }},
        {"Zelv_Heat_Name", [&] { store.Zelv_Heat_Name(); }},
        {"Zelv_Heat_Length let", [&] { store.Zelv_Heat_Length("1"); }},
        {"Zelv_Goal_Finish", [&] { store.Zelv_Goal_Finish(); }},
        {"Zelv_Goal_Split", [&] { store.Zelv_Goal_Split(); }},
        {"Zelv_start_DateTime", [&] { store.Zelv_start_DateTime(); }},
        {"Zelv_start_PC_mill", [&] { store.Zelv_start_PC_mill(); }},
        {"Zelv_start_PC_mill let", [&] { store.Zelv_start_PC_mill(1); }},
        {"Zelv_Goal_compensation let", [&] { store.Zelv_Goal_compensation("1"); }},
        {"Zelv_Split_compensation let", [&] { store.Zelv_Split_compensation("1"); }},
        {"Zelv_split_firewire_ID", [&] { store.Zelv_split_firewire_ID("1"); }},
        {"Zelv_goal_firewire_ID", [&] { store.Zelv_goal_firewire_ID("1"); }},
        {"Phidget_serial let", [&] { store.Phidget_serial("1"); }},
        {"Zelv_Dog_name", [&] { store.Zelv_Dog_name(1); }},
        {"Zelv_Heat_time", [&] { store.Zelv_Heat_time(1, true); }},
        {"Zelv_heat_frame", [&] { store.Zelv_heat_frame(1); }},
        {"Zelv_split_frame", [&] { store.Zelv_split_frame(1, 1); }},
        {"Graded_active", [&] { store.Graded_active(); }},
        {"Graded_at", [&] { store.Graded_at("x"); }},
        {"Grade_slice let", [&] { store.Grade_slice("1"); }},
        {"Grade_top", [&] { store.Grade_top(); }},
        {"Grade_toe", [&] { store.Grade_toe(); }},
        {"Grade_club", [&] { store.Grade_club(); }},
        {"Grade_comment", [&] { store.Grade_comment(); }},
        {"Update_Player_Comment", [&] { store.Update_Player_Comment(0, "x"); }},
        {"Player_Comment", [&] { store.Player_Comment(); }},
        {"Vantorel_Marathon_Class_Name", [&] { store.Vantorel_Marathon_Class_Name(1); }},
        {"Vantorel_Marathon_Class_Start let", [&] { store.Vantorel_Marathon_Class_Start(1, "x"); }},
        {"Impact_field let", [&] { store.Set_Specific_Impact_Field(1); }},
        {"Must_print", [&] { store.Must_print("1"); }},
        {"anp_line", [&] { store.anp_line(1); }},
        {"Load_Graph_object", [&] {
             Cls_XML_header::Graph_Values v;
             store.Load_Graph_object(1, v);
         }},
    };
    for (const auto& [what, call] : fails) EXPECT_EQ(Error_Of(call), vb::Err_Object_Not_Set) << what;
    EXPECT_EQ(store.Zelv_Heat_Length(), "");
    EXPECT_EQ(store.Zelv_Split_compensation(), "0");
    EXPECT_EQ(store.Zelv_Goal_compensation(), "0");
    EXPECT_EQ(store.Zelv_box_delay(), "0");
    EXPECT_EQ(store.Zelv_Heat_Click_Time(1), 0);
    EXPECT_FALSE(store.Zelv_dead_heat(1));
    EXPECT_EQ(store.Grade_slice(), "");
    EXPECT_EQ(store.Grade_direction(), "");
    store.Zelv_Goal_Finish("x");
    store.Zelv_Goal_Split("x");
    store.Zelv_box_delay("5");
    store.Zelv_Heat_Click_Time(1, 5);
    store.Zelv_dead_heat(1, true);
    EXPECT_EQ(store.XML_Header_string(), text);
    EXPECT_EQ(File_Bytes(path), file);
    // The golf members the race header answers: its stream records and frame count.
    EXPECT_EQ(store.Model_FileName(), "xxx");
    EXPECT_EQ(store.Stream_Offset(1), 0);
    EXPECT_EQ(store.Selection_start(), 0);
    EXPECT_TRUE(reports.empty());
    store.Close_File();
}

TEST_F(Store_other_sections, the_trapped_gets_report_in_the_built_program_and_answer_0) {
    std::string path = Path("sections.kd3");
    cls_VideoFile_handler store;
    Make_File_With_Other_Sections(store, path);
    store.File_name(path);
    store.Open_RGB_File();
    // Outside the built program the errors reach the caller: the fresh start tick is no number.
    EXPECT_EQ(Error_Of([&] { store.Zelv_start_PC_mill(); }), vb::Err_Type_Mismatch);
    EXPECT_EQ(Error_Of([&] { store.Zelv_Heat_time(9, false); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(Error_Of([&] { store.Zelv_heat_frame(0); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(Error_Of([&] { store.Zelv_split_frame(9); }), vb::Err_Object_Not_Set);
    EXPECT_TRUE(reports.empty());
    MV::Is_Compiled = true;
    EXPECT_EQ(store.Zelv_start_PC_mill(), 0);
    EXPECT_EQ(store.Zelv_Heat_time(9, false), 0);
    EXPECT_EQ(store.Zelv_heat_frame(0), 0);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].number, vb::Err_Type_Mismatch);
    EXPECT_EQ(reports[0].location, "Zelv_start_PC_mill of Class Module cls_VideoFile_handler");
    EXPECT_EQ(reports[1].number, vb::Err_Object_Not_Set);
    EXPECT_EQ(reports[1].location, "Zelv_Heat_time of Class Module cls_VideoFile_handler");
    EXPECT_EQ(reports[2].location, "Zelv_heat_frame of Class Module cls_VideoFile_handler");
    // The untrapped ones still raise.
    EXPECT_EQ(Error_Of([&] { store.Zelv_split_frame(9); }), vb::Err_Object_Not_Set);
    store.Close_File();
}

TEST_F(Store_other_sections, impact_and_top_follow_the_kind_of_file) {
    std::string path = Path("sections.kd3");
    cls_VideoFile_handler store;
    Make_File_With_Other_Sections(store, path);
    Append_Segment(store, path, 1, 4, 64, 64);
    const std::string sections_text = [&] {
        store.File_name(path);
        store.Open_RGB_File();
        store.Read_RGB_sample(3, false);  // the frame read last
        std::string text = store.XML_Header_string();
        store.Close_File();
        return text;
    }();
    // A kd3 file keeps the given field, and "This" frame changes nothing there but still writes the
    // header: a closed file is opened for it.
    store.File_name(path);
    store.Set_Specific_Impact_Field(120);
    EXPECT_EQ(store.Impact_field(), 120);
    store.Close_File();
    store.File_name(path);
    store.Set_This_Impact_Frame();
    EXPECT_TRUE(store.File_open());
    EXPECT_EQ(store.Impact_field(), 120);
    store.Close_File();
    // An AVI file takes the frame read last, whatever field is given; the top of the swing the field.
    for (const char* name : {"clip.avi", "clip.AVI"}) {
        store.File_name(Path(name));
        store.XML_Header_string(sections_text);
        store.Set_Specific_Impact_Field(120);
        store.Set_Specific_Top_Frame(40);
        EXPECT_EQ(store.Impact_field(), 3) << name;
        EXPECT_EQ(store.Top_field(), 40) << name;
        store.Set_This_Impact_Frame();
        EXPECT_EQ(store.Impact_field(), 3) << name;
    }
    // Other kinds change nothing, and write nothing since they carry no header here.
    store.File_name(Path("clip.sdv"));
    store.XML_Header_string(sections_text);
    store.Set_Specific_Impact_Field(120);
    store.Set_Specific_Top_Frame(40);
    store.Set_This_Impact_Frame();
    EXPECT_EQ(store.Impact_field(), 0);
    EXPECT_EQ(store.Top_field(), 0);
    EXPECT_FALSE(std::filesystem::exists(Path("clip.sdv")));
    // A DV file whose header has no golf section fails at the header, before anything is written.
    store.File_name(Path("old.kd1"));
    cls_VideoFile_handler race;
    Make_Heat_File(race, Path("race.kd3"), 64, 64, 8000);
    store.XML_Header_string(race.XML_Header_string());
    EXPECT_EQ(Error_Of([&] { store.Set_This_Impact_Frame(); }), vb::Err_Object_Not_Set);
    EXPECT_FALSE(std::filesystem::exists(Path("old.kd1")));
    EXPECT_TRUE(reports.empty());
}

TEST_F(Store_other_sections, values_by_kind_and_streams) {
    cls_VideoFile_handler store;
    struct Row {
        const char* name;
        int16_t trimmed_start;
    } rows[] = {{"a.avi", 1}, {"a.AVI", 1}, {"a.Avi", 1}, {"a.kd3", 0}, {"a.sdv", 0}};
    for (const auto& r : rows) {
        store.File_name(r.name);
        EXPECT_EQ(store.Trimmed_Start(), r.trimmed_start) << r.name;
        EXPECT_EQ(store.Trimmed_End(), 0) << r.name;
    }
    EXPECT_EQ(store.Impact_Time(), 0);
    EXPECT_EQ(store.Club_Speed(), 0);
    EXPECT_FALSE(store.has_selrect());
    // Offsets are kept for streams 1 to 3; asking for another stream asks the header.
    std::string path = Path("sections.kd3");
    Make_File_With_Other_Sections(store, path);
    store.File_name(path);
    store.Open_RGB_File();
    std::string text = store.XML_Header_string();
    store.Stream_Offset(4, 9);
    store.Stream_Offset(0, 9);
    EXPECT_EQ(store.XML_Header_string(), text);
    EXPECT_EQ(Error_Of([&] { store.Stream_Offset(4); }), vb::Err_Object_Not_Set);
    EXPECT_EQ(Error_Of([&] { store.Stream_Offset(3, 1); }), vb::Err_Object_Not_Set);  // no third record
    // An "sdv" file's range is not kept here: refused, not lost.
    store.File_name(Path("a.sdv"));
    EXPECT_EQ(Error_Of([&] { store.Selection_start(5); }), vb::Err_Invalid_Call);
    EXPECT_EQ(store.Selection_start(), 0);
    store.Close_File();
}

TEST_F(Store_other_sections, the_selected_range_takes_the_field_drawn_last_and_reads_the_stream_records) {
    std::string path = Path("sections.kd3");
    cls_VideoFile_handler store;
    Make_File_With_Other_Sections(store, path);
    Append_Segment(store, path, 1, 4, 64, 64);
    store.File_name(path);
    store.Open_RGB_File();
    store.Header().Stream_rotated(1, true);
    Test_surface box(64, 64);
    store.Draw_RGB_Field(7, box);
    int32_t fields = store.Num_fields();
    EXPECT_FALSE(store.rotated());  // opening a kd3 file reads no stream record
    store.Set_Start_frame();
    store.Draw_RGB_Field(2, box);
    store.Set_End_frame();
    EXPECT_EQ(store.Selection_start(), 7);
    EXPECT_EQ(store.Selection_end(), 2);
    EXPECT_EQ(store.Num_fields(), fields);
    EXPECT_TRUE(store.rotated());  // now it has
    store.Close_File();
    EXPECT_FALSE(store.rotated());  // and forgets them with the file
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Selection_start(), 7);
    EXPECT_EQ(reader.Selection_end(), 2);
    // Streams without a record, and more streams than the table holds.
    reader.Header().Streams_no(3);
    EXPECT_EQ(Error_Of([&] { reader.Calculate_Number_of_Fields(); }), vb::Err_Object_Not_Set);
    std::string text = reader.XML_Header_string();
    std::string record = Between(text, "<stream_header id=\"2\">", "</stream_header>");
    for (char id : {'6', '5', '4', '3'}) {
        std::string copy = record;
        copy[19] = id;
        text.insert(text.find("</file_data>"), copy);
    }
    reader.XML_Header_string(text);
    reader.Header().Streams_no(5);
    EXPECT_EQ(Error_Of([&] { reader.Calculate_Number_of_Fields(); }), 0);
    reader.Header().Streams_no(6);
    EXPECT_EQ(Error_Of([&] { reader.Calculate_Number_of_Fields(); }), vb::Err_Subscript);
    reader.Close_File();
    EXPECT_TRUE(reports.empty());
}

TEST_F(Store_other_sections, clear_in_store_takes_the_next_frame_from_the_file_again) {
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 64, 64, 8000);
    Append_Segment(store, path, 1, 3, 64, 64);
    store.File_name(path);
    store.Open_RGB_File();
    store.Read_RGB_sample(2, false);
    ASSERT_TRUE(store.Frame_available());
    {
        // Record 2 damaged behind the store's back.
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(store.RGB_video_adress(2) - 1);
        f.write("XXXX", 4);
    }
    store.Read_RGB_sample(2, false);
    EXPECT_TRUE(store.Frame_available());  // the record held
    store.Clear_in_Store();
    store.Read_RGB_sample(2, false);
    EXPECT_FALSE(store.Frame_available());
    store.Close_File();
}

}  // namespace
