#include "Header_test_support.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"

#include <functional>

namespace {

struct Fixture : ::testing::Test {
    void SetUp() override { Module_Vantorel::Vantorel_Mode = true; }
};

using Race_section = Fixture;
using RGB_section = Fixture;
using Header_frame = Fixture;

std::string Lane_Record(int lane) {
    return "<lane_record id=\"" + std::to_string(lane) +
           "\">\r\n<heat_time_mill>000</heat_time_mill><click_time_mill>000</click_time_mill>\r\n"
           "<goal_field>000</goal_field>\r\n</lane_record>\r\n";
}

std::string Fresh_Race_Section() {
    std::string s = "<vantorel>\r\n<is-Vantorel>y</is-Vantorel>\r\n";
    for (const char* e : {"goal_x_1", "goal_y_1", "goal_x_2", "goal_y_2"})
        s += std::string("<") + e + ">000</" + e + ">\r\n";
    for (int lane = 0; lane <= 15; ++lane)
        for (const char* axis : {"x", "y"}) {
            std::string e = std::string("lane_") + axis + "_" + std::to_string(lane);
            s += "<" + e + ">000</" + e + ">\r\n";
        }
    s += "<event_name>nnn</event_name>\r\n<b_lanes_visible>t</b_lanes_visible>\r\n<b_lanes_flipped>f</b_lanes_flipped>\r\n"
         "<b_lanes_locked>f</b_lanes_locked>\r\n<b_lanes_reversed>f</b_lanes_reversed>\r\n<num_lanes>0</num_lanes>\r\n"
         "<b_show_goalline>f</b_show_goalline>\r\n<num_heats>1</num_heats>\r\n<start_lane>1</start_lane>\r\n"
         "<heat_record id=\"1\">\r\n<heat_ID/>\r\n<heat_comment/>\r\n<start_local_mill>000</start_local_mill>\r\n"
         "<start_pc_mill>000</start_pc_mill>\r\n<start_hdmi_events>000000</start_hdmi_events>\r\n"
         "<heat_correction_mill>000</heat_correction_mill>\r\n<heat_comment>nnn</heat_comment>\r\n";
    for (int lane = 0; lane <= 15; ++lane) s += Lane_Record(lane);
    return s + "</heat_record>\r\n</vantorel>";
}

const std::string Fresh_RGB_Section =
    "<RGB_data>\r\n<RGB_X>000</RGB_X><RGB_Y>000</RGB_Y><RGB_image_size>0000000</RGB_image_size>"
    "<RGB_max_seen_size>0000000</RGB_max_seen_size><RGB_comp_threshold>0000000</RGB_comp_threshold>"
    "<RGB_compressed_max_size>0000000</RGB_compressed_max_size>"
    "<RGB_compressed_buffer_size>0000000</RGB_compressed_buffer_size>"
    "<RGB_compressed_min_size>99999999</RGB_compressed_min_size><RGB_sample_size>0000000</RGB_sample_size>\r\n"
    "<RGB_interlaced>Y</RGB_interlaced><RGB_rotated>Y</RGB_rotated><RGB_preview_on>Y</RGB_preview_on>"
    "<RGB_fourcc>none</RGB_fourcc><RGB_JPEG_Codec>none</RGB_JPEG_Codec><RGB_fps>000</RGB_fps>"
    "<RGB_JPEG_Quality>0000</RGB_JPEG_Quality><RGB_JPEG_Quality_num_reduced>0000</RGB_JPEG_Quality_num_reduced>\r\n"
    "</RGB_data>";

TEST_F(Header_frame, Sections_follow_file_data_in_order_with_the_switches) {
    struct Row {
        bool rgb, vantorel, program_switch;
        std::string after_file_data;
    } rows[] = {
        {true, true, true, Fresh_RGB_Section + "\r\n\r\n" + Fresh_Race_Section() + "\r\n</KDR_header>\r\n"},
        {false, true, true, "\r\n" + Fresh_Race_Section() + "\r\n</KDR_header>\r\n"},
        {true, false, true, Fresh_RGB_Section + "\r\n\r\n</KDR_header>\r\n"},
        {true, true, false, Fresh_RGB_Section + "\r\n</KDR_header>\r\n"},
    };
    for (const auto& r : rows) {
        Module_Vantorel::Vantorel_Mode = r.program_switch;
        Cls_XML_header h;
        h.rgb(r.rgb);
        h.Vantorel(r.vantorel);
        h.Create_Header();
        std::string text = h.XML_string();
        ASSERT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<!--XML file containing KDR KD3 header-->\r\n"
                             "<KDR_header>\r\n<file_data>\r\n", 0), 0u);
        size_t end = text.find("</file_data>") + 12;
        EXPECT_EQ(text.substr(end), r.after_file_data) << r.rgb << r.vantorel << r.program_switch;
    }
}

TEST_F(Header_frame, A_full_fresh_header_survives_its_own_text) {
    Cls_XML_header h;
    h.rgb(true);
    h.Create_Header();
    std::string text = h.XML_string();
    Cls_XML_header back;
    ASSERT_TRUE(back.XML_string(text));
    EXPECT_EQ(back.XML_string(), text);
    EXPECT_TRUE(back.is_Vantorel());
}

TEST_F(RGB_section, Fresh_values_and_the_two_kinds_of_truth) {
    Cls_XML_header h;
    h.rgb(true);
    h.Create_Header();
    EXPECT_FALSE(h.RGB_interlaced());  // "Y" is not "True"
    EXPECT_FALSE(h.RGB_preview_on());
    EXPECT_TRUE(h.RGB_Rotated());      // but is a "t"/"f" truth
    EXPECT_EQ(h.RGB_Compressed_min_Size(), 99999999);
    using Size_get = int32_t (Cls_XML_header::*)() const;
    for (Size_get get : {Size_get{&Cls_XML_header::RGB_Image_Size}, Size_get{&Cls_XML_header::RGB_Compressed_max_Size},
                         Size_get{&Cls_XML_header::RGB_Compressed_buffer_Size}, Size_get{&Cls_XML_header::RGB_Sample_Size}})
        EXPECT_EQ((h.*get)(), 0);
    EXPECT_EQ(h.RGB_X(), 0);
    EXPECT_EQ(h.RGB_Y(), 0);
    EXPECT_EQ(h.JPG_Reduced_Qual_num(), 0);
    EXPECT_EQ(h.RGB_Max_Seen_size(), "0000000");
    EXPECT_EQ(h.RGB_Comp_Threshold(), "0000000");
    EXPECT_EQ(h.RGB_fourcc(), "none");
    EXPECT_EQ(h.RGB_JPEG_Codec(), "none");
    EXPECT_EQ(h.RGB_fps(), "000");
    EXPECT_EQ(h.RGB_JPEG_Quality(), "0000");

    h.RGB_Rotated(false);
    h.RGB_interlaced(true);
    h.RGB_preview_on(false);
    std::string text = h.XML_string();
    EXPECT_NE(text.find("<RGB_interlaced>True</RGB_interlaced><RGB_rotated>f</RGB_rotated><RGB_preview_on>False</RGB_preview_on>"),
              std::string::npos);
    EXPECT_TRUE(h.RGB_interlaced());
    EXPECT_FALSE(h.RGB_Rotated());
    h.RGB_Rotated(true);
    EXPECT_NE(h.XML_string().find("<RGB_rotated>t</RGB_rotated>"), std::string::npos);
}

TEST_F(RGB_section, Values_written_read_back) {
    Cls_XML_header h;
    h.rgb(true);
    h.Create_Header();
    h.RGB_X(440);
    h.RGB_Y(1080);
    h.RGB_Image_Size(1425600);
    h.RGB_Compressed_max_Size(61234);
    h.RGB_Compressed_min_Size(40111);
    h.RGB_Compressed_buffer_Size(73480);
    h.RGB_Sample_Size(73500);
    h.RGB_Max_Seen_size("not a number");
    h.RGB_Comp_Threshold("73480");
    h.RGB_fourcc("IJL");
    h.RGB_JPEG_Codec("Intel");
    h.RGB_fps("50.02");
    h.RGB_JPEG_Quality("80");
    h.JPG_Reduced_Qual_num(-3);
    EXPECT_EQ(h.RGB_X(), 440);
    EXPECT_EQ(h.RGB_Y(), 1080);
    EXPECT_EQ(h.RGB_Image_Size(), 1425600);
    EXPECT_EQ(h.RGB_Compressed_max_Size(), 61234);
    EXPECT_EQ(h.RGB_Compressed_min_Size(), 40111);
    EXPECT_EQ(h.RGB_Compressed_buffer_Size(), 73480);
    EXPECT_EQ(h.RGB_Sample_Size(), 73500);
    EXPECT_EQ(h.RGB_Max_Seen_size(), "not a number");
    EXPECT_EQ(h.RGB_Comp_Threshold(), "73480");
    EXPECT_EQ(h.RGB_fourcc(), "IJL");
    EXPECT_EQ(h.RGB_JPEG_Codec(), "Intel");
    EXPECT_EQ(h.RGB_fps(), "50.02");
    EXPECT_EQ(h.RGB_JPEG_Quality(), "80");
    EXPECT_EQ(h.JPG_Reduced_Qual_num(), -3);
}

TEST_F(RGB_section, Without_the_section_only_two_gets_answer) {
    Cls_XML_header h;
    h.Create_Header();  // rgb not set
    EXPECT_EQ(h.RGB_JPEG_Codec(), "unknown");
    EXPECT_EQ(h.RGB_JPEG_Quality(), "0000");
    std::vector<std::function<void()>> calls = {
        [&] { h.RGB_X(); }, [&] { h.RGB_Y(1); }, [&] { h.RGB_Image_Size(); }, [&] { h.RGB_Max_Seen_size(); },
        [&] { h.RGB_Comp_Threshold("1"); }, [&] { h.RGB_Compressed_max_Size(); }, [&] { h.RGB_Compressed_buffer_Size(); },
        [&] { h.RGB_Compressed_min_Size(); }, [&] { h.RGB_Sample_Size(); }, [&] { h.RGB_interlaced(); },
        [&] { h.RGB_Rotated(); }, [&] { h.RGB_preview_on(true); }, [&] { h.RGB_fourcc(); }, [&] { h.RGB_fps(); },
        [&] { h.JPG_Reduced_Qual_num(); }, [&] { h.RGB_JPEG_Codec("x"); }, [&] { h.RGB_JPEG_Quality("x"); },
    };
    for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(Error_Of(calls[i]), 91) << i;
    // A picture width beyond 16 bits in the text overflows.
    Cls_XML_header g;
    std::string wide = "40000";
    Load(g, With_Element(Fresh_Header_Text(), "RGB_X", &wide));
    EXPECT_EQ(Error_Of([&] { g.RGB_X(); }), 6);
}

TEST_F(Race_section, Every_lane_result_of_a_heat_is_written_and_read_back) {
    Cls_XML_header h;
    h.rgb(true);
    h.Create_Header();
    struct Row {
        int16_t lane;
        int32_t result, click, field;
    } rows[] = {
        {0, 61234, 1000001, 3061}, {1, 100000001, 1000002, 0}, {2, 100000002, -5, 0},   {3, 100000003, 7, 0},
        {4, 999999999, 0, 0},      {5, -1250, 2147483647, 12}, {6, 0, 0, 0},            {7, 59999, 1999999, 32767},
        {8, 60001, 2000001, 3001}, {9, 1, -2147483647 - 1, 1}, {10, 2147483647, 1, 2},  {11, 70000, 3, 65536},
        {12, 71000, 4, 3555},      {13, 72000, 5, 3600},       {14, 73000, 6, 3650},    {15, 74000, 7, 3700},
        {16, 75000, 8, 3750},
    };
    for (const auto& r : rows) {
        h.Heat_result(1, r.lane, r.result);
        h.Heat_Click_time(1, r.lane, r.click);
        h.Heat_Goal_Field(1, r.lane, r.field);
    }
    h.Set_Goalline(10, 200, 700, 210);
    // What the store writes is the text; read everything back from it.
    Cls_XML_header back;
    Load(back, h.XML_string());
    for (const auto& r : rows) {
        EXPECT_EQ(back.Heat_result(1, r.lane), r.result) << r.lane;
        EXPECT_EQ(back.Heat_Click_time(1, r.lane), r.click) << r.lane;
        EXPECT_EQ(back.Heat_Goal_Field(1, r.lane), r.field) << r.lane;
    }
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    back.Get_Goalline(x1, y1, x2, y2);
    EXPECT_EQ((std::vector<int16_t>{x1, y1, x2, y2}), (std::vector<int16_t>{10, 200, 700, 210}));
    std::string text = back.XML_string();
    EXPECT_NE(text.find("<heat_time_mill>-1250</heat_time_mill>"), std::string::npos);
    EXPECT_NE(text.find("<heat_time_mill>100000002</heat_time_mill>"), std::string::npos);
}

TEST_F(Race_section, A_fresh_heat_and_course) {
    Cls_XML_header h;
    h.Create_Header();
    for (int16_t lane = 0; lane <= 16; ++lane) {
        EXPECT_EQ(h.Heat_result(1, lane), 0) << lane;
        EXPECT_EQ(h.Heat_Click_time(1, lane), 0) << lane;
        EXPECT_EQ(h.Heat_Goal_Field(1, lane), 0) << lane;
        EXPECT_EQ(h.Lane_pos_X(lane), 0) << lane;
        EXPECT_EQ(h.Lane_pos_Y(lane), 0) << lane;
    }
    int16_t x1 = 9, y1 = 9, x2 = 9, y2 = 9;
    h.Get_Goalline(x1, y1, x2, y2);
    EXPECT_EQ((std::vector<int16_t>{x1, y1, x2, y2}), (std::vector<int16_t>{0, 0, 0, 0}));
    EXPECT_EQ(h.heats_num(), 1);
    EXPECT_EQ(h.Start_lane(), 1);
    EXPECT_EQ(h.Num_Lanes(), 0);
    EXPECT_EQ(h.Event_name(), "nnn");
    EXPECT_EQ(h.Heat_ID(1), "");
    EXPECT_EQ(h.Heat_comment(1), "");
    EXPECT_EQ(h.Start_local_mill(1), 0);
    EXPECT_EQ(h.Start_PC_mill(1), 0);
    EXPECT_EQ(h.Start_HDMI_events(1), 0);
    EXPECT_EQ(h.Heat_Correction_mill(1), 0);
    EXPECT_FALSE(h.Lanes_Visible());  // "t" is not "True"
    EXPECT_FALSE(h.Lanes_flipped());
    EXPECT_FALSE(h.Lanes_locked());
    EXPECT_FALSE(h.Lanes_reversed());
    EXPECT_FALSE(h.Show_goalline());
    EXPECT_EQ(h.XML_string().find("lane_x_16"), std::string::npos);  // the fresh layout is unchanged
}

TEST_F(Race_section, Course_values_written_read_back) {
    Cls_XML_header h;
    h.Create_Header();
    h.Lane_pos(3, 120, -40);
    EXPECT_EQ(h.Lane_pos_X(3), 120);
    EXPECT_EQ(h.Lane_pos_Y(3), -40);
    for (int16_t lane : {0, 2, 4, 15}) EXPECT_EQ(h.Lane_pos_X(lane), 0);
    EXPECT_NE(h.XML_string().find("<lane_x_3>120</lane_x_3>\r\n<lane_y_3>-40</lane_y_3>"), std::string::npos);

    using Flag_get = bool (Cls_XML_header::*)() const;
    using Flag_let = void (Cls_XML_header::*)(bool);
    struct Flag {
        const char* element;
        Flag_get get;
        Flag_let let;
    } flags[] = {
        {"b_lanes_visible", &Cls_XML_header::Lanes_Visible, &Cls_XML_header::Lanes_Visible},
        {"b_lanes_flipped", &Cls_XML_header::Lanes_flipped, &Cls_XML_header::Lanes_flipped},
        {"b_lanes_locked", &Cls_XML_header::Lanes_locked, &Cls_XML_header::Lanes_locked},
        {"b_lanes_reversed", &Cls_XML_header::Lanes_reversed, &Cls_XML_header::Lanes_reversed},
        {"b_show_goalline", &Cls_XML_header::Show_goalline, &Cls_XML_header::Show_goalline},
    };
    for (const auto& f : flags) {
        for (bool v : {true, false}) {
            (h.*f.let)(v);
            EXPECT_EQ((h.*f.get)(), v) << f.element;
            std::string e = f.element;
            EXPECT_NE(h.XML_string().find("<" + e + ">" + (v ? "True" : "False") + "</" + e + ">"), std::string::npos);
        }
    }
    h.Num_Lanes(9);
    h.Start_lane(0);
    h.heats_num(1);
    h.Event_name("Sm\xC3\xA5land Cup & <Final>");
    h.Heat_ID(1, "A-12");
    h.Heat_comment(1, "wind");
    h.Start_local_mill(1, 36000123);
    h.Start_PC_mill(1, -2000000000);
    h.Start_HDMI_events(1, 4711);
    h.Heat_Correction_mill(1, -40);
    EXPECT_EQ(h.Num_Lanes(), 9);
    EXPECT_EQ(h.Start_lane(), 0);
    EXPECT_EQ(h.Event_name(), "Sm\xC3\xA5land Cup & <Final>");
    EXPECT_EQ(h.Heat_ID(1), "A-12");
    EXPECT_EQ(h.Heat_comment(1), "wind");
    EXPECT_NE(h.XML_string().find("<heat_comment>wind</heat_comment>"), std::string::npos);
    EXPECT_NE(h.XML_string().find("<heat_comment>nnn</heat_comment>"), std::string::npos);  // the second one
    EXPECT_EQ(h.Start_local_mill(1), 36000123);
    EXPECT_EQ(h.Start_PC_mill(1), -2000000000);
    EXPECT_EQ(h.Start_HDMI_events(1), 4711);
    EXPECT_EQ(h.Heat_Correction_mill(1), -40);

    std::string snapshot = h.XML_string();
    h.Lane_result(1, 3, 5, 6, 7);
    EXPECT_EQ(h.XML_string(), snapshot);
}

TEST_F(Race_section, Heats_and_lanes_out_of_range_raise_91) {
    Cls_XML_header h;
    h.Create_Header();
    struct Call {
        const char* what;
        std::function<void()> call;
    } calls[] = {
        {"result heat 2", [&] { h.Heat_result(2, 0); }},
        {"result lane 17", [&] { h.Heat_result(1, 17); }},
        {"result lane -1", [&] { h.Heat_result(1, -1, 5); }},
        {"click heat 0", [&] { h.Heat_Click_time(0, 3, 5); }},
        {"click lane 17", [&] { h.Heat_Click_time(1, 17); }},
        {"field heat 2", [&] { h.Heat_Goal_Field(2, 3); }},
        {"field heat 2 lane 16", [&] { h.Heat_Goal_Field(2, 16, 1); }},
        {"heat id", [&] { h.Heat_ID(2); }},
        {"heat id let", [&] { h.Heat_ID(2, "x"); }},
        {"comment", [&] { h.Heat_comment(-1); }},
        {"local", [&] { h.Start_local_mill(2); }},
        {"pc", [&] { h.Start_PC_mill(2, 1); }},
        {"events let", [&] { h.Start_HDMI_events(2, 1); }},
        {"correction", [&] { h.Heat_Correction_mill(2); }},
        {"mark 17", [&] { h.Lane_pos(17, 1, 1); }},
        {"mark -1", [&] { h.Lane_pos_X(-1); }},
        {"mark y 17", [&] { h.Lane_pos_Y(17); }},
        {"class", [&] { h.Vantorel_Marathon_Class_Name(1); }},
        {"class let", [&] { h.Vantorel_Marathon_Class_Start(1, "10:00"); }},
    };
    for (const auto& c : calls) EXPECT_EQ(Error_Of(c.call), 91) << c.what;
    EXPECT_EQ(h.Start_HDMI_events(2), 0);
}

TEST_F(Race_section, Lane_16_of_a_course_numbered_from_1_is_kept) {
    Cls_XML_header h;
    h.Create_Header();
    h.Num_Lanes(16);
    h.Start_lane(1);
    for (int16_t lane = 1; lane <= 16; ++lane) {
        h.Lane_pos(lane, 100 + lane, 200 + lane);
        h.Heat_result(1, lane, 60000 + lane);
    }
    h.Heat_Click_time(1, 16, 99);
    h.Heat_Goal_Field(1, 16, 3100);
    std::string text = h.XML_string();
    // The extra lane stands right after lane 15, in the layout of the others.
    EXPECT_NE(text.find("<lane_y_15>215</lane_y_15>\r\n<lane_x_16>116</lane_x_16>\r\n<lane_y_16>216</lane_y_16>\r\n"
                        "<event_name>"),
              std::string::npos);
    EXPECT_NE(text.find("</lane_record>\r\n<lane_record id=\"16\">\r\n<heat_time_mill>60016</heat_time_mill>"
                        "<click_time_mill>99</click_time_mill>\r\n<goal_field>3100</goal_field>\r\n</lane_record>\r\n"
                        "</heat_record>"),
              std::string::npos);
    Cls_XML_header back;
    Load(back, text);
    for (int16_t lane = 1; lane <= 16; ++lane) {
        EXPECT_EQ(back.Lane_pos_X(lane), 100 + lane);
        EXPECT_EQ(back.Lane_pos_Y(lane), 200 + lane);
        EXPECT_EQ(back.Heat_result(1, lane), 60000 + lane);
    }
    EXPECT_EQ(back.Heat_Goal_Field(1, 16), 3100);
    // Writing again changes the same elements; nothing is added twice.
    back.Heat_result(1, 16, 1);
    back.Lane_pos(16, 5, 6);
    std::string again = back.XML_string();
    EXPECT_EQ(again.find("lane_record id=\"16\""), again.rfind("lane_record id=\"16\""));
    EXPECT_EQ(again.find("<lane_x_16>"), again.rfind("<lane_x_16>"));
    // A header without the race section has no lane 16 either.
    Cls_XML_header bare;
    bare.Vantorel(false);
    bare.Create_Header();
    EXPECT_EQ(Error_Of([&] { bare.Heat_result(1, 16); }), 91);
    EXPECT_EQ(Error_Of([&] { bare.Lane_pos(16, 1, 1); }), 91);
    EXPECT_EQ(Error_Of([&] { bare.Lane_pos_X(16); }), 91);
}

TEST_F(Race_section, Texts_that_are_no_numbers_and_missing_goal_ends) {
    std::string fresh = Fresh_Header_Text();
    struct Row {
        const char* element;
        std::string text;
        int32_t error;
    } rows[] = {{"heat_time_mill", "fast", 13}, {"heat_time_mill", "", 13}, {"heat_time_mill", "2147483648", 6},
                {"click_time_mill", "1e3", 0},  {"goal_field", "12.5", 0},  {"lane_x_0", "x", 13}};
    for (const auto& r : rows) {
        Cls_XML_header h;
        Load(h, With_Element(fresh, r.element, &r.text));
        EXPECT_EQ(Error_Of([&] {
                      h.Heat_result(1, 0);
                      h.Heat_Click_time(1, 0);
                      h.Heat_Goal_Field(1, 0);
                      h.Lane_pos_X(0);
                  }),
                  r.error)
            << r.element << " " << r.text;
    }
    // Missing goal ends fail after filling the ends read before them; a wide end overflows.
    Cls_XML_header h;
    Load(h, With_Element(fresh, "goal_y_2", nullptr));
    int16_t x1 = -1, y1 = -1, x2 = -1, y2 = -1;
    EXPECT_EQ(Error_Of([&] { h.Set_Goalline(5, 6, 7, 8); }), 91);  // the first three are written
    EXPECT_EQ(Error_Of([&] { h.Get_Goalline(x1, y1, x2, y2); }), 91);
    EXPECT_EQ((std::vector<int16_t>{x1, y1, x2, y2}), (std::vector<int16_t>{5, 6, 7, -1}));
    Cls_XML_header g;
    g.Create_Header();
    g.Set_Goalline(1, 40000, 3, 4);
    x1 = y1 = x2 = y2 = -1;
    EXPECT_EQ(Error_Of([&] { g.Get_Goalline(x1, y1, x2, y2); }), 6);
    EXPECT_EQ(x1, 1);
    EXPECT_EQ(y1, -1);
    // Visible falls back to true; the other options do not.
    std::string bad = "yes";
    Cls_XML_header v;
    Load(v, With_Element(fresh, "b_lanes_visible", nullptr));
    EXPECT_TRUE(v.Lanes_Visible());
    EXPECT_EQ(Error_Of([&] { v.Lanes_Visible(false); }), 91);
    Load(v, With_Element(fresh, "b_lanes_flipped", nullptr));
    EXPECT_EQ(Error_Of([&] { v.Lanes_flipped(); }), 91);
    Load(v, With_Element(fresh, "start_hdmi_events", &bad));
    EXPECT_EQ(v.Start_HDMI_events(1), 0);
}

TEST_F(Race_section, Event_name_and_marathon_classes_in_a_parsed_text) {
    Cls_XML_header h;
    Load(h, "<KDR_header><event_name>outside</event_name><vantorel><event_name>inside</event_name></vantorel>"
            "<x><marathonclass id=\"2\"><class_name>K1 Men</class_name><class_start>10:05</class_start></marathonclass></x>"
            "</KDR_header>");
    EXPECT_EQ(h.Event_name(), "inside");
    h.Event_name("written");  // the first event_name of the document
    EXPECT_EQ(h.Event_name(), "inside");
    EXPECT_NE(h.XML_string().find("<event_name>written</event_name><vantorel>"), std::string::npos);
    EXPECT_EQ(h.Vantorel_Marathon_Class_Name(2), "K1 Men");
    EXPECT_EQ(h.Vantorel_Marathon_Class_Start(2), "10:05");
    h.Vantorel_Marathon_Class_Start(2, "10:10");
    EXPECT_EQ(h.Vantorel_Marathon_Class_Start(2), "10:10");
    EXPECT_EQ(Error_Of([&] { h.Vantorel_Marathon_Class_Name(3); }), 91);
}

}  // namespace
