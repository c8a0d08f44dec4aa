// The golf and dog-race sections: built only when their switches ask, in their place, with their
// defaults; every member written and read back through the text; missing elements, record numbers
// outside the records and texts that do not convert.
#include "Header_test_support.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"

#include <functional>

namespace {

namespace MV = Module_Vantorel;

struct Sections : ::testing::Test {
    void SetUp() override {
        MV::Is_Compiled = false;
        MV::Vantorel_Mode = true;
        MV::Golf_Mode = MV::Zelvanic_Mode = false;
    }
    void TearDown() override { MV::Golf_Mode = MV::Zelvanic_Mode = MV::Is_Compiled = false; }
};
using Golf_section = Sections;
using Dog_race_section = Sections;
using Other_sections = Sections;

std::string Element(const std::string& name, const std::string& text) {
    return text.empty() ? "<" + name + "/>" : "<" + name + ">" + text + "</" + name + ">";
}

std::string Fresh_Golf_Section() {
    std::string s = "<golf>\r\n<player_name>xxx</player_name>\r\n<venue_name>xxx</venue_name>\r\n"
                    "<player_comment>xxx</player_comment>\r\n<grade_record><b_grade_active>f</b_grade_active>\r\n"
                    "<graded_at> </graded_at><slice_grade>99</slice_grade>\r\n<direction_grade>99</direction_grade>\r\n"
                    "<top_grade>99</top_grade>\r\n<toe_grade>99</toe_grade>\r\n<club_used>xx</club_used>\r\n"
                    "<grade_comment>xxx</grade_comment>\r\n</grade_record>\r\n<impact_field>000</impact_field>\r\n"
                    "<must_print>0,1,2,3,4,5</must_print>\r\n<top_field>000</top_field>\r\n"
                    "<b_has_weightdata>f</b_has_weightdata>\r\n<trimmed_start_field>000</trimmed_start_field>\r\n"
                    "<trimmed_end_field>000</trimmed_end_field>\r\n\r\n\r\n"
                    "<animated_file><anp_file_name>000</anp_file_name><anp_file_lines>000</anp_file_lines>";
    for (int line = 1; line <= 150; ++line) s += "<anp_line id=\"" + std::to_string(line) + "\"/>";
    s += "</animated_file><graph_objects>";
    const std::pair<const char*, const char*> children[] = {
        {"obj_type", "000"}, {"layer", "0"}, {"filled", "f"}, {"color", "00000"}, {"linetype", "0"},
        {"linewidth", "0"},  {"x1", "000"},  {"y1", "000"},   {"x2", "000"},      {"y2", "000"},
        {"x3", "000"},       {"y3", "000"},  {"x4", "000"},   {"y4", "000"},      {"x5", "000"},
        {"y5", "000"},       {"x6", "000"},  {"y6", "000"},   {"spare1", "000"},  {"spare2", "000"}};
    for (int n = 1; n <= 25; ++n) {
        s += "<graph_object id=\"" + std::to_string(n) + "\">\r\n";
        for (const auto& [name, text] : children) s += Element(name, text) + "\r\n";
        s += "</graph_object>";
    }
    return s + "</graph_objects></golf>";
}

std::string Fresh_Dog_Race_Section() {
    std::string s = "<zelvanic>";
    const std::pair<const char*, const char*> fields[] = {
        {"zelv_event", "Zelv event name"},          {"zelv_heat_ID", "Zelv heat ID"},
        {"zelv_heat_name", "Zelv heat name"},       {"zelv_heat_length", "000"},
        {"zelv_goal_finish", "Zelv goal finish"},   {"zelv_goal_split", "Zelv goal split"},
        {"zelv_start_datetime", "zelv start date time"}, {"zelv_start_local_mill", "zelv_start_local_mill"},
        {"zelv_start_PC_mill", "zelv_start_PC_mill"}, {"zelv_goal_time_offset", "0000"},
        {"zelv_split_time_offset", "0000"},         {"zelv_box_delay", "0000"},
        {"zelv_split_firewire_ID", "000"},          {"zelv_goal_firewire_ID", "000"},
        {"zelv_ph_serial", "000"}};
    for (const auto& [name, text] : fields) s += Element(name, text) + "\r\n";
    const std::pair<const char*, const char*> box[] = {
        {"dog_name", "dog name"},           {"dog_weight", "dog weight"},        {"dog_heat_time", "000000"},
        {"dog_heat_click_time", "000000"},  {"dog_heat_frame", "000000"},        {"dog_split_time", "000000"},
        {"dog_split_click_time", "000000"}, {"dog_split_frame", "000000"},       {"dog_heat_rank", "00"},
        {"dog_split_rank", "00"},           {"dog_dead_heat", "f"},              {"dog_heat_spare1", "00000"},
        {"dog_heat_spare2", "00000"}};
    for (int b = 1; b <= 8; ++b) {
        s += "<box id=\"" + std::to_string(b) + "\">";
        for (const auto& [name, text] : box) s += Element(name, text) + "\r\n";
        s += "</box>\r\n";
    }
    return s + "</zelvanic>";
}

std::string After_File_Data(const std::string& text) { return text.substr(text.find("</file_data>") + 12); }

std::string Fresh_Text(bool golfing, bool zelvanic) {
    Cls_XML_header h;
    h.rgb(true);
    h.Golfing(golfing);
    h.Zelvanic(zelvanic);
    h.Create_Header();
    return h.XML_string();
}

// A fresh header of this program with both sections, parsed.
void Load_Full(Cls_XML_header& h) {
    MV::Golf_Mode = MV::Zelvanic_Mode = true;
    Load(h, Fresh_Text(true, true));
}

TEST_F(Other_sections, Each_is_built_in_its_place_only_when_its_switch_and_its_flag_ask) {
    MV::Golf_Mode = MV::Zelvanic_Mode = false;
    const std::string plain = After_File_Data(Fresh_Text(true, true));
    const std::string golf = Fresh_Golf_Section() + "\r\n", dog_race = Fresh_Dog_Race_Section() + "\r\n";
    auto with = [&](bool g, bool z) {
        std::string s = plain;
        if (z) s.insert(s.rfind("</KDR_header>"), dog_race);
        if (g) s.insert(s.find("</RGB_data>\r\n") + 13, golf);
        return s;
    };
    struct Row {
        bool golf_mode, golfing, dog_mode, zelvanic;
        std::string after_file_data;
    } rows[] = {
        {true, true, false, false, with(true, false)},  {true, false, false, false, plain},
        {false, true, false, false, plain},             {false, false, true, true, with(false, true)},
        {false, false, true, false, plain},             {false, false, false, true, plain},
        {true, true, true, true, with(true, true)},
    };
    for (const auto& r : rows) {
        MV::Golf_Mode = r.golf_mode;
        MV::Zelvanic_Mode = r.dog_mode;
        std::string text = Fresh_Text(r.golfing, r.zelvanic);
        EXPECT_EQ(After_File_Data(text), r.after_file_data) << r.golf_mode << r.golfing << r.dog_mode << r.zelvanic;
        // Built twice, still one of each; the text parses and serialises as it was written.
        Cls_XML_header h;
        h.rgb(true);
        h.Golfing(r.golfing);
        h.Zelvanic(r.zelvanic);
        h.Create_Header();
        h.Create_Header();
        EXPECT_EQ(After_File_Data(h.XML_string()), r.after_file_data);
        Cls_XML_header back;
        Load(back, text);
        EXPECT_EQ(back.XML_string(), text);
    }
    // The plain header still holds nothing of either, and the race section right after RGB_data.
    EXPECT_EQ(plain.find("<golf>"), std::string::npos);
    EXPECT_NE(plain.find("</RGB_data>\r\n\r\n<vantorel>"), std::string::npos);
}

TEST_F(Golf_section, A_fresh_section_reads_its_defaults) {
    Cls_XML_header h;
    Load_Full(h);
    EXPECT_EQ(h.Player_name(), "xxx");
    EXPECT_EQ(h.Venue(), "xxx");
    EXPECT_EQ(h.Player_Comment(), "xxx");
    EXPECT_EQ(h.Impact_field(), 0);
    EXPECT_EQ(h.Top_field(), 0);
    EXPECT_EQ(h.Must_print(), "0,1,2,3,4,5");
    EXPECT_FALSE(h.Has_weight_data());  // "f" is not "True"
    EXPECT_EQ(h.trimmed_Start_Field(), 0);
    EXPECT_EQ(h.trimmed_End_Field(), 0);
    EXPECT_FALSE(h.Graded_active());
    EXPECT_EQ(h.Graded_at(), " ");
    EXPECT_EQ(h.Grade_slice(), "99");
    EXPECT_EQ(h.Grade_direction(), "99");
    EXPECT_EQ(h.Grade_top(), "99");
    EXPECT_EQ(h.Grade_toe(), "99");
    EXPECT_EQ(h.Grade_club(), "xx");
    EXPECT_EQ(h.Grade_comment(), "xxx");
    EXPECT_EQ(h.anp_filename(), "000");
    EXPECT_EQ(h.anp_numlines(), 0);
    EXPECT_EQ(h.anp_line(1), "");
    EXPECT_EQ(h.anp_line(150), "");
    for (int16_t n : {1, 25}) {
        Cls_XML_header::Graph_Values v;
        v.obj_type = v.layer = v.x4 = v.y4 = 9;
        v.color = 9;
        v.filled = true;
        h.get_Graph_object(n, v);
        EXPECT_EQ(std::vector<int32_t>({v.obj_type, v.layer, v.color, v.linetype, v.linewidth, v.x1, v.y4}),
                  std::vector<int32_t>(7, 0));
        EXPECT_FALSE(v.filled);
    }
    // No header holds trace records, and making them adds nothing to the document.
    std::string text = h.XML_string();
    h.Create_Traces_Record();
    EXPECT_EQ(h.XML_string(), text);
    EXPECT_EQ(text.find("<trace"), std::string::npos);
    EXPECT_EQ(h.Trace_Name(1), "");
}

TEST_F(Golf_section, Every_member_is_written_and_read_back_through_the_text) {
    Cls_XML_header h;
    Load_Full(h);
    struct Row {
        const char* element;
        std::string text;  // the element's text after the Let
        std::function<void(Cls_XML_header&)> let;
        std::function<std::string(const Cls_XML_header&)> get;
    } rows[] = {
        {"player_name", "A. Player", [](auto& x) { x.Player_name("A. Player"); }, [](auto& x) { return x.Player_name(); }},
        {"venue_name", "Sm\xC3\xA5land & <Links>", [](auto& x) { x.Venue("Sm\xC3\xA5land & <Links>"); },
         [](auto& x) { return x.Venue(); }},
        {"player_comment", "late hips", [](auto& x) { x.Player_Comment("late hips"); }, [](auto& x) { return x.Player_Comment(); }},
        {"impact_field", "-120", [](auto& x) { x.Impact_field(-120); }, [](auto& x) { return std::to_string(x.Impact_field()); }},
        {"top_field", "32767", [](auto& x) { x.Top_field(32767); }, [](auto& x) { return std::to_string(x.Top_field()); }},
        {"must_print", "1,3", [](auto& x) { x.Must_print("1,3"); }, [](auto& x) { return x.Must_print(); }},
        {"b_has_weightdata", "True", [](auto& x) { x.Has_weight_data(true); },
         [](auto& x) { return std::to_string(x.Has_weight_data()); }},
        {"trimmed_start_field", "12", [](auto& x) { x.trimmed_Start_Field(12); },
         [](auto& x) { return std::to_string(x.trimmed_Start_Field()); }},
        {"trimmed_end_field", "340", [](auto& x) { x.trimmed_End_Field(340); },
         [](auto& x) { return std::to_string(x.trimmed_End_Field()); }},
        {"b_grade_active", "True", [](auto& x) { x.Graded_active(true); }, [](auto& x) { return std::to_string(x.Graded_active()); }},
        {"graded_at", "2026-05-01", [](auto& x) { x.Graded_at("2026-05-01"); }, [](auto& x) { return x.Graded_at(); }},
        {"slice_grade", "3", [](auto& x) { x.Grade_slice("3"); }, [](auto& x) { return x.Grade_slice(); }},
        {"direction_grade", "4", [](auto& x) { x.Grade_direction("4"); }, [](auto& x) { return x.Grade_direction(); }},
        {"top_grade", "5", [](auto& x) { x.Grade_top("5"); }, [](auto& x) { return x.Grade_top(); }},
        {"toe_grade", "6", [](auto& x) { x.Grade_toe("6"); }, [](auto& x) { return x.Grade_toe(); }},
        {"club_used", "7 iron", [](auto& x) { x.Grade_club("7 iron"); }, [](auto& x) { return x.Grade_club(); }},
        {"grade_comment", "good", [](auto& x) { x.Grade_comment("good"); }, [](auto& x) { return x.Grade_comment(); }},
        {"anp_file_name", "swing.anp", [](auto& x) { x.anp_filename("swing.anp"); }, [](auto& x) { return x.anp_filename(); }},
        {"anp_file_lines", "150", [](auto& x) { x.anp_numlines(150); }, [](auto& x) { return std::to_string(x.anp_numlines()); }},
    };
    for (const auto& r : rows) r.let(h);
    h.anp_line(1, "move 1 2");
    h.anp_line(150, "end");
    h.Graph_object(25, {7, -2, 16777215, 3, 4, true, -1, 2, 3, 4, 5, 6, 7, 32767});
    std::string text = h.XML_string();
    Cls_XML_header back;
    Load(back, text);
    for (const auto& r : rows) {
        EXPECT_EQ(r.get(back), r.text == "True" ? "1" : r.text) << r.element;
        std::string escaped = r.element == std::string("venue_name") ? "Sm\xC3\xA5land &amp; &lt;Links&gt;" : r.text;
        EXPECT_NE(text.find(Element(r.element, escaped)), std::string::npos) << r.element;
    }
    EXPECT_EQ(back.anp_line(1), "move 1 2");
    EXPECT_EQ(back.anp_line(150), "end");
    EXPECT_EQ(back.anp_line(2), "");
    EXPECT_NE(text.find("<anp_line id=\"150\">end</anp_line>"), std::string::npos);
    Cls_XML_header::Graph_Values v;
    back.get_Graph_object(25, v);
    EXPECT_EQ(std::vector<int32_t>({v.obj_type, v.layer, v.color, v.linetype, v.linewidth, v.x1, v.y1, v.x2, v.y2,
                                    v.x3, v.y3, v.x4, v.y4}),
              std::vector<int32_t>({7, -2, 16777215, 3, 4, -1, 2, 3, 4, 5, 6, 7, 32767}));
    EXPECT_TRUE(v.filled);
    EXPECT_NE(text.find("<graph_object id=\"25\">\r\n<obj_type>7</obj_type>\r\n<layer>-2</layer>\r\n<filled>True</filled>\r\n"
                        "<color>16777215</color>"),
              std::string::npos);
    back.get_Graph_object(24, v);  // its neighbour untouched
    EXPECT_EQ(v.color, 0);
    EXPECT_EQ(back.XML_string(), text);
}

TEST_F(Golf_section, Impact_top_and_print_read_nothing_until_a_text_has_parsed) {
    MV::Golf_Mode = true;
    Cls_XML_header h;
    h.Golfing(true);
    h.Create_Header();  // built, never parsed
    h.Impact_field(120);
    h.Top_field(80);
    EXPECT_EQ(h.Impact_field(), 0);
    EXPECT_EQ(h.Top_field(), 0);
    EXPECT_EQ(h.Must_print(), "");
    EXPECT_EQ(h.trimmed_Start_Field(), 0);  // the others read whatever the flag says
    h.trimmed_Start_Field(12);
    EXPECT_EQ(h.trimmed_Start_Field(), 12);
    std::string text = h.XML_string();
    Load(h, text);
    EXPECT_EQ(h.Impact_field(), 120);
    EXPECT_EQ(h.Top_field(), 80);
    EXPECT_EQ(h.Must_print(), "0,1,2,3,4,5");
    // A text that does not parse closes them again, without an error.
    MV::Is_Compiled = true;  // no message box
    EXPECT_FALSE(h.XML_string("<golf>"));
    EXPECT_EQ(h.Impact_field(), 0);
    EXPECT_EQ(h.Must_print(), "");
    EXPECT_EQ(Error_Of([&] { h.trimmed_End_Field(); }), 91);
}

TEST_F(Golf_section, Without_the_section_members_fail_with_91_or_give_their_defaults) {
    Cls_XML_header h;
    Load(h, Fresh_Header_Text());  // what this program writes: no golf section
    const std::string text = h.XML_string();
    struct Row {
        const char* what;
        std::function<std::string()> call;
        int32_t error;
        std::string answer;  // when no error
    } rows[] = {
        {"Player_name", [&] { return h.Player_name(); }, 91, ""},
        {"Player_name let", [&] { h.Player_name("x"); return std::string(); }, 91, ""},
        {"Venue", [&] { return h.Venue(); }, 91, ""},
        {"Player_Comment let", [&] { h.Player_Comment("x"); return std::string(); }, 91, ""},
        {"Impact_field", [&] { return std::to_string(h.Impact_field()); }, 91, ""},
        {"Must_print", [&] { return h.Must_print(); }, 91, ""},
        {"Top_field let", [&] { h.Top_field(1); return std::string(); }, 91, ""},
        {"Has_weight_data", [&] { return std::to_string(h.Has_weight_data()); }, 91, ""},
        {"trimmed_End_Field", [&] { return std::to_string(h.trimmed_End_Field()); }, 91, ""},
        {"Graded_active", [&] { return std::to_string(h.Graded_active()); }, 91, ""},
        {"Graded_at let", [&] { h.Graded_at("x"); return std::string(); }, 91, ""},
        {"Grade_slice", [&] { return h.Grade_slice(); }, 0, ""},
        {"Grade_slice let", [&] { h.Grade_slice("1"); return std::string(); }, 91, ""},
        {"Grade_direction", [&] { return h.Grade_direction(); }, 0, ""},
        {"Grade_direction let", [&] { h.Grade_direction("1"); return std::string(); }, 91, ""},
        {"Grade_top", [&] { return h.Grade_top(); }, 91, ""},
        {"Grade_club", [&] { return h.Grade_club(); }, 91, ""},
        {"anp_numlines", [&] { return std::to_string(h.anp_numlines()); }, 91, ""},
        {"anp_line", [&] { return h.anp_line(1); }, 91, ""},
        {"Trace_Name", [&] { return h.Trace_Name(1); }, 0, ""},
        {"Trace_Name let", [&] { h.Trace_Name(1, "x"); return std::string(); }, 91, ""},
        {"Trace_Color", [&] { return h.Trace_Color(1); }, 0, ""},
        {"Trace_Color let", [&] { h.Trace_Color(1, "255"); return std::string("ignored"); }, 0, "ignored"},
        {"Trace_Bezier", [&] { return std::to_string(h.Trace_Bezier(1)); }, 0, "0"},
        {"Trace_Bezier let", [&] { h.Trace_Bezier(1, true); return std::string(); }, 91, ""},
        {"Trace_Thickness", [&] { return std::to_string(h.Trace_Thickness(1)); }, 0, "0"},
        {"Trace_Thickness let", [&] { h.Trace_Thickness(1, 3); return std::string("ignored"); }, 0, "ignored"},
        {"Graph_object", [&] { h.Graph_object(1, {}); return std::string(); }, 91, ""},
    };
    for (const auto& r : rows) {
        std::string got;
        EXPECT_EQ(Error_Of([&] { got = r.call(); }), r.error) << r.what;
        if (r.error == 0) {
            EXPECT_EQ(got, r.answer) << r.what;
        }
    }
    EXPECT_EQ(h.XML_string(), text);  // nothing was written anywhere
}

TEST_F(Golf_section, Record_numbers_outside_the_records) {
    Cls_XML_header h;
    Load_Full(h);
    const std::string text = h.XML_string();
    for (int16_t line : {0, 151, -1}) {
        EXPECT_EQ(Error_Of([&] { h.anp_line(line); }), 91) << line;
        EXPECT_EQ(Error_Of([&] { h.anp_line(line, "x"); }), 91) << line;
    }
    Cls_XML_header::Graph_Values v;
    for (int16_t n : {0, 26, -1}) {
        EXPECT_EQ(Error_Of([&] { h.get_Graph_object(n, v); }), 91) << n;
        EXPECT_EQ(Error_Of([&] { h.Graph_object(n, v); }), 91) << n;
    }
    EXPECT_EQ(h.XML_string(), text);
}

TEST_F(Golf_section, A_drawing_object_stops_at_the_first_element_that_fails) {
    MV::Golf_Mode = true;
    const std::string fresh = Fresh_Text(true, false);
    // The flag: "f" is false, a truth text or a number converts, anything else is 13 after the
    // type and the layer were read.
    struct Row {
        std::string filled;
        int32_t error;
        bool value;
    } rows[] = {{"f", 0, false},   {"True", 0, true}, {"false", 0, false}, {"FALSE", 0, false}, {"1", 0, true},
                {"-1", 0, true},   {"0", 0, false},   {"2.5", 0, true},    {"t", 13, false},    {"F", 13, false},
                {"", 13, false},   {"yes", 13, false}};
    const std::string type = "4";
    for (const auto& r : rows) {
        Cls_XML_header h;
        std::string text = With_Element(With_Element(fresh, "obj_type", &type), "filled", &r.filled);
        Load(h, text);
        Cls_XML_header::Graph_Values v;
        v.obj_type = v.layer = v.linetype = 9;
        v.color = 9;
        v.filled = !r.value;
        EXPECT_EQ(Error_Of([&] { h.get_Graph_object(1, v); }), r.error) << "'" << r.filled << "'";
        EXPECT_EQ(v.obj_type, 4);
        EXPECT_EQ(v.layer, 0);
        if (r.error == 0) {
            EXPECT_EQ(v.filled, r.value) << r.filled;
            EXPECT_EQ(v.color, 0);
        } else {
            EXPECT_EQ(v.color, 9);
            EXPECT_EQ(v.linetype, 9);
        }
    }
    // A colour beyond 32 bits overflows; a corner beyond 16 bits too.
    std::string wide = "2147483648", tall = "32768";
    Cls_XML_header h;
    Load(h, With_Element(fresh, "color", &wide));
    Cls_XML_header::Graph_Values v;
    EXPECT_EQ(Error_Of([&] { h.get_Graph_object(1, v); }), 6);
    Load(h, With_Element(fresh, "y2", &tall));
    EXPECT_EQ(Error_Of([&] { h.get_Graph_object(1, v); }), 6);
    // Writing stops at a missing element, the ones before it written.
    Load(h, With_Element(fresh, "linetype", nullptr));
    EXPECT_EQ(Error_Of([&] { h.Graph_object(1, {5, 6, 7, 8, 9, true, 1, 1, 1, 1, 1, 1, 1, 1}); }), 91);
    std::string out = h.XML_string();
    EXPECT_NE(out.find("<graph_object id=\"1\">\r\n<obj_type>5</obj_type>\r\n<layer>6</layer>\r\n<filled>True</filled>\r\n"
                       "<color>7</color>\r\n\r\n<linewidth>0</linewidth>"),
              std::string::npos);
}

TEST_F(Golf_section, Trace_records_in_a_text_that_holds_them) {
    std::string traces = "<KDR_header><traces><num_traces>10</num_traces>";
    for (int n = 1; n <= 2; ++n)
        traces += "<trace id=\"" + std::to_string(n) +
                  "\"><trace_active>f</trace_active><trace_length>000</trace_length><trace_color>0</trace_color>"
                  "<trace_bezier>f</trace_bezier><trace_thickness>1</trace_thickness><trace_name>noname</trace_name></trace>";
    traces += "</traces></KDR_header>";
    Cls_XML_header h;
    Load(h, traces);
    EXPECT_EQ(h.Trace_Name(2), "noname");
    EXPECT_EQ(h.Trace_Color(2), "0");
    EXPECT_FALSE(h.Trace_Bezier(2));
    EXPECT_EQ(h.Trace_Thickness(2), 1);
    h.Trace_Name(2, "club head");
    h.Trace_Color(2, "255");
    h.Trace_Bezier(2, true);
    h.Trace_Thickness(2, 3);
    EXPECT_EQ(h.Trace_Name(2), "club head");
    EXPECT_EQ(h.Trace_Color(2), "255");
    EXPECT_TRUE(h.Trace_Bezier(2));
    EXPECT_EQ(h.Trace_Thickness(2), 3);
    EXPECT_NE(h.XML_string().find("<trace_bezier>True</trace_bezier><trace_thickness>3</trace_thickness>"
                                  "<trace_name>club head</trace_name></trace></traces>"),
              std::string::npos);
    EXPECT_EQ(h.Trace_Name(1), "noname");
    // A thickness that is no number reads 0; a trace no record carries.
    const std::string thick = "thick";
    Load(h, With_Element(traces, "trace_thickness", &thick));
    EXPECT_EQ(h.Trace_Thickness(1), 0);
    EXPECT_EQ(h.Trace_Name(3), "");
    EXPECT_EQ(Error_Of([&] { h.Trace_Name(3, "x"); }), 91);
    EXPECT_EQ(Error_Of([&] { h.Trace_Bezier(3, true); }), 91);
    std::string before = h.XML_string();
    h.Trace_Color(3, "1");
    h.Trace_Thickness(3, 1);
    EXPECT_EQ(h.XML_string(), before);
}

TEST_F(Dog_race_section, A_fresh_section_reads_its_defaults) {
    Cls_XML_header h;
    Load_Full(h);
    EXPECT_EQ(h.Zelv_event(), "Zelv event name");
    EXPECT_EQ(h.Zelv_Heat_ID(), "Zelv heat ID");
    EXPECT_EQ(h.Zelv_Heat_Name(), "Zelv heat name");
    EXPECT_EQ(h.Zelv_Heat_Length(), "000");
    EXPECT_EQ(h.Zelv_Goal_Finish(), "Zelv goal finish");
    EXPECT_EQ(h.Zelv_Goal_Split(), "Zelv goal split");
    EXPECT_EQ(h.Zelv_start_DateTime(), "zelv start date time");
    EXPECT_EQ(h.Zelv_heat_start_PC_mill(), "zelv_start_PC_mill");
    EXPECT_EQ(h.Goal_Compensation(), "0000");
    EXPECT_EQ(h.Split_Compensation(), "0000");
    EXPECT_EQ(h.Zelv_box_delay(), "0000");
    for (int16_t box = 1; box <= 8; ++box) {
        EXPECT_EQ(h.Zelv_Dog_name(box), "dog name");
        EXPECT_EQ(h.Zelv_Heat_time(box, false), 0);
        EXPECT_EQ(h.Zelv_Heat_time(box, true), 0);
        EXPECT_EQ(h.Zelv_Heat_Click_Time(box), 0);
        EXPECT_EQ(h.Zelv_heat_frame(box), 0);
        EXPECT_EQ(h.Zelv_split_frame(box), 0);
        EXPECT_FALSE(h.Zelv_dead_heat(box));
    }
}

TEST_F(Dog_race_section, Every_member_is_written_and_read_back_through_the_text) {
    Cls_XML_header h;
    Load_Full(h);
    struct Row {
        const char* element;
        std::string text;
        std::function<void(Cls_XML_header&)> let;
        std::function<std::string(const Cls_XML_header&)> get;  // none for the members without a Get
    } rows[] = {
        {"zelv_event", "Derby", [](auto& x) { x.Zelv_event("Derby"); }, [](auto& x) { return x.Zelv_event(); }},
        {"zelv_heat_ID", "H7", [](auto& x) { x.Zelv_Heat_ID("H7"); }, [](auto& x) { return x.Zelv_Heat_ID(); }},
        {"zelv_heat_name", "Final", [](auto& x) { x.Zelv_Heat_Name("Final"); }, [](auto& x) { return x.Zelv_Heat_Name(); }},
        {"zelv_heat_length", "480", [](auto& x) { x.Zelv_Heat_Length("480"); }, [](auto& x) { return x.Zelv_Heat_Length(); }},
        {"zelv_goal_finish", "cam 2", [](auto& x) { x.Zelv_Goal_Finish("cam 2"); }, [](auto& x) { return x.Zelv_Goal_Finish(); }},
        {"zelv_goal_split", "cam 1", [](auto& x) { x.Zelv_Goal_Split("cam 1"); }, [](auto& x) { return x.Zelv_Goal_Split(); }},
        {"zelv_start_datetime", "2026-06-01 19:30:00", [](auto& x) { x.Zelv_start_DateTime("2026-06-01 19:30:00"); },
         [](auto& x) { return x.Zelv_start_DateTime(); }},
        {"zelv_start_local_mill", "70200000", [](auto& x) { x.Zelv_heat_start_local_mill("70200000"); }, nullptr},
        {"zelv_start_PC_mill", "-1000", [](auto& x) { x.Zelv_heat_start_PC_mill("-1000"); },
         [](auto& x) { return x.Zelv_heat_start_PC_mill(); }},
        {"zelv_goal_time_offset", "-40", [](auto& x) { x.Goal_Compensation("-40"); }, [](auto& x) { return x.Goal_Compensation(); }},
        {"zelv_split_time_offset", "25", [](auto& x) { x.Split_Compensation("25"); }, [](auto& x) { return x.Split_Compensation(); }},
        {"zelv_box_delay", "120", [](auto& x) { x.Zelv_box_delay("120"); }, [](auto& x) { return x.Zelv_box_delay(); }},
        {"zelv_split_firewire_ID", "fw-1", [](auto& x) { x.Zelv_split_firewire_ID("fw-1"); }, nullptr},
        {"zelv_goal_firewire_ID", "fw-2", [](auto& x) { x.Zelv_goal_firewire_ID("fw-2"); }, nullptr},
        {"zelv_ph_serial", "12345", [](auto& x) { x.Zelv_ph_serial("12345"); }, nullptr},
    };
    for (const auto& r : rows) r.let(h);
    h.Zelv_Dog_name(8, "Rex \xC3\xA5");
    h.Zelv_Heat_time(8, false, 29870);
    h.Zelv_Heat_time(8, true, -2147483647 - 1);
    h.Zelv_Heat_Click_Time(8, 2147483647);
    h.Zelv_heat_frame(8, 32767);
    h.Zelv_split_frame(8, -32768);
    h.Zelv_dead_heat(8, true);
    std::string text = h.XML_string();
    Cls_XML_header back;
    Load(back, text);
    for (const auto& r : rows) {
        EXPECT_NE(text.find(Element(r.element, r.text)), std::string::npos) << r.element;
        if (r.get) {
            EXPECT_EQ(r.get(back), r.text) << r.element;
        }
    }
    EXPECT_EQ(back.Zelv_Dog_name(8), "Rex \xC3\xA5");
    EXPECT_EQ(back.Zelv_Heat_time(8, false), 29870);
    EXPECT_EQ(back.Zelv_Heat_time(8, true), -2147483647 - 1);
    EXPECT_EQ(back.Zelv_Heat_Click_Time(8), 2147483647);
    EXPECT_EQ(back.Zelv_heat_frame(8), 32767);
    EXPECT_EQ(back.Zelv_split_frame(8), -32768);
    EXPECT_TRUE(back.Zelv_dead_heat(8));
    EXPECT_NE(text.find("<dog_dead_heat>True</dog_dead_heat>"), std::string::npos);
    EXPECT_EQ(back.Zelv_Dog_name(7), "dog name");  // the other boxes untouched
    EXPECT_EQ(back.Zelv_Heat_time(7, true), 0);
    EXPECT_EQ(back.XML_string(), text);
}

TEST_F(Dog_race_section, The_split_flag_chooses_the_split_time) {
    Cls_XML_header h;
    Load_Full(h);
    h.Zelv_Heat_time(3, true, 930);
    std::string text = h.XML_string();
    std::string box3 = text.substr(text.find("<box id=\"3\">"));
    box3 = box3.substr(0, box3.find("</box>"));
    EXPECT_NE(box3.find("<dog_heat_time>000000</dog_heat_time>"), std::string::npos);
    EXPECT_NE(box3.find("<dog_split_time>930</dog_split_time>"), std::string::npos);
    EXPECT_EQ(h.Zelv_Heat_time(3, true), 930);
    EXPECT_EQ(h.Zelv_Heat_time(3, false), 0);
}

TEST_F(Dog_race_section, Offsets_read_0_unless_their_text_is_a_number) {
    MV::Zelvanic_Mode = true;
    const std::string fresh = Fresh_Text(false, true);
    struct Row {
        std::string text, read;
    } rows[] = {{"0000", "0000"}, {"-40", "-40"}, {" 12 ", " 12 "}, {"1e3", "1e3"}, {"&amp;H10", "&H10"},
                {"abc", "0"},     {"", "0"},      {"12ms", "0"}};
    for (const auto& r : rows) {
        Cls_XML_header h;
        Load(h, With_Element(With_Element(fresh, "zelv_goal_time_offset", &r.text), "zelv_split_time_offset", &r.text));
        EXPECT_EQ(h.Goal_Compensation(), r.read) << r.text;
        EXPECT_EQ(h.Split_Compensation(), r.read) << r.text;
    }
}

TEST_F(Dog_race_section, Without_the_section_members_fail_with_91_or_give_their_defaults) {
    Cls_XML_header h;
    Load(h, Fresh_Header_Text());
    const std::string text = h.XML_string();
    struct Row {
        const char* what;
        std::function<std::string()> call;
        int32_t error;
        std::string answer;
    } rows[] = {
        {"Zelv_event", [&] { return h.Zelv_event(); }, 91, ""},
        {"Zelv_Heat_ID let", [&] { h.Zelv_Heat_ID("x"); return std::string(); }, 91, ""},
        {"Zelv_Heat_Name", [&] { return h.Zelv_Heat_Name(); }, 91, ""},
        {"Zelv_Heat_Length", [&] { return h.Zelv_Heat_Length(); }, 0, ""},
        {"Zelv_Heat_Length let", [&] { h.Zelv_Heat_Length("1"); return std::string(); }, 91, ""},
        {"Zelv_Goal_Finish", [&] { return h.Zelv_Goal_Finish(); }, 91, ""},
        {"Zelv_Goal_Finish let", [&] { h.Zelv_Goal_Finish("x"); return std::string("ignored"); }, 0, "ignored"},
        {"Zelv_Goal_Split", [&] { return h.Zelv_Goal_Split(); }, 91, ""},
        {"Zelv_Goal_Split let", [&] { h.Zelv_Goal_Split("x"); return std::string("ignored"); }, 0, "ignored"},
        {"Zelv_start_DateTime", [&] { return h.Zelv_start_DateTime(); }, 91, ""},
        {"Zelv_heat_start_local_mill", [&] { h.Zelv_heat_start_local_mill("1"); return std::string(); }, 91, ""},
        {"Zelv_heat_start_PC_mill", [&] { return h.Zelv_heat_start_PC_mill(); }, 91, ""},
        {"Goal_Compensation", [&] { return h.Goal_Compensation(); }, 0, "0"},
        {"Goal_Compensation let", [&] { h.Goal_Compensation("1"); return std::string(); }, 91, ""},
        {"Split_Compensation", [&] { return h.Split_Compensation(); }, 0, "0"},
        {"Split_Compensation let", [&] { h.Split_Compensation("1"); return std::string(); }, 91, ""},
        {"Zelv_box_delay", [&] { return h.Zelv_box_delay(); }, 0, "0"},
        {"Zelv_box_delay let", [&] { h.Zelv_box_delay("5"); return std::string("ignored"); }, 0, "ignored"},
        {"Zelv_split_firewire_ID", [&] { h.Zelv_split_firewire_ID("1"); return std::string(); }, 91, ""},
        {"Zelv_goal_firewire_ID", [&] { h.Zelv_goal_firewire_ID("1"); return std::string(); }, 91, ""},
        {"Zelv_ph_serial", [&] { h.Zelv_ph_serial("1"); return std::string(); }, 91, ""},
        {"Zelv_Dog_name", [&] { return h.Zelv_Dog_name(1); }, 91, ""},
        {"Zelv_Heat_time", [&] { return std::to_string(h.Zelv_Heat_time(1, true)); }, 91, ""},
        {"Zelv_Heat_time let", [&] { h.Zelv_Heat_time(1, false, 5); return std::string(); }, 91, ""},
        {"Zelv_Heat_Click_Time", [&] { return std::to_string(h.Zelv_Heat_Click_Time(1)); }, 0, "0"},
        {"Zelv_Heat_Click_Time let", [&] { h.Zelv_Heat_Click_Time(1, 5); return std::string("ignored"); }, 0, "ignored"},
        {"Zelv_heat_frame", [&] { return std::to_string(h.Zelv_heat_frame(1)); }, 91, ""},
        {"Zelv_split_frame let", [&] { h.Zelv_split_frame(1, 2); return std::string(); }, 91, ""},
        {"Zelv_dead_heat", [&] { return std::to_string(h.Zelv_dead_heat(1)); }, 0, "0"},
        {"Zelv_dead_heat let", [&] { h.Zelv_dead_heat(1, true); return std::string("ignored"); }, 0, "ignored"},
    };
    for (const auto& r : rows) {
        std::string got;
        EXPECT_EQ(Error_Of([&] { got = r.call(); }), r.error) << r.what;
        if (r.error == 0) {
            EXPECT_EQ(got, r.answer) << r.what;
        }
    }
    EXPECT_EQ(h.XML_string(), text);
}

TEST_F(Dog_race_section, Box_numbers_outside_the_records_and_texts_that_do_not_convert) {
    Cls_XML_header h;
    Load_Full(h);
    for (int16_t box : {0, 9, -1}) {
        EXPECT_EQ(Error_Of([&] { h.Zelv_Dog_name(box); }), 91) << box;
        EXPECT_EQ(Error_Of([&] { h.Zelv_Heat_time(box, false, 1); }), 91) << box;
        EXPECT_EQ(Error_Of([&] { h.Zelv_split_frame(box); }), 91) << box;
        EXPECT_EQ(h.Zelv_Heat_Click_Time(box), 0);
        EXPECT_FALSE(h.Zelv_dead_heat(box));
    }
    MV::Zelvanic_Mode = true;
    const std::string fresh = Fresh_Text(false, true);
    struct Row {
        const char* element;
        std::string text;
        int32_t error;  // of the box's Get
        std::function<int32_t(const Cls_XML_header&)> get;
    } rows[] = {
        {"dog_heat_frame", "40000", 6, [](auto& x) { return x.Zelv_heat_frame(1); }},
        {"dog_heat_frame", "x", 13, [](auto& x) { return x.Zelv_heat_frame(1); }},
        {"dog_split_frame", "12.5", 0, [](auto& x) { return x.Zelv_split_frame(1); }},
        {"dog_heat_time", "2147483648", 6, [](auto& x) { return x.Zelv_Heat_time(1, false); }},
        {"dog_split_time", "", 13, [](auto& x) { return x.Zelv_Heat_time(1, true); }},
        {"dog_heat_click_time", "fast", 0, [](auto& x) { return x.Zelv_Heat_Click_Time(1); }},
        {"dog_heat_click_time", "2147483648", 0, [](auto& x) { return x.Zelv_Heat_Click_Time(1); }},
    };
    for (const auto& r : rows) {
        Cls_XML_header g;
        Load(g, With_Element(fresh, r.element, &r.text));
        int32_t got = -1;
        EXPECT_EQ(Error_Of([&] { got = r.get(g); }), r.error) << r.element << " " << r.text;
        if (r.error == 0) {
            EXPECT_EQ(got, r.element == std::string("dog_split_frame") ? 12 : 0) << r.element;
        }
    }
}

}  // namespace
