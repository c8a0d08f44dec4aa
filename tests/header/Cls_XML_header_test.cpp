#include "Header_test_support.h"
#include "Test_dialogs.h"
#include "platform/vb/Code_page.h"
#include "shell/Module_Vantorel.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

// The file's single-byte header text back to the text in memory.
inline std::string Bytes_To_Text(const std::string& bytes) {
    return vb::Ansi_To_Utf8({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

namespace MV = Module_Vantorel;

void Set_Program_State() {
    MV::Vantorel_Mode = true;
    MV::g_Computer_Name = "RACE-PC";
    MV::CPU_Info = "Test CPU 4 cores";
    MV::CPU_Bitness = "64";
    MV::Phys_RAM = "8 GB";
    MV::OS_Bitness = "64-bit";
    MV::Capture_Property = "video:1 1920x1080";
    MV::Actual_Sample = "1920x1080 50.00";
    MV::m_Manufacturer_Model = "Maker Model";
    MV::Phidget_Serial = "";
    MV::Program_Name = "Vantorel_HDMI, Full v.";
    MV::Program_Version = "1.2.3";
    MV::OS_Version = "Debian 12";
}

const std::string Stream_Record_1 =
    "<stream_header id=\"1\">\r\n<b_stream_active>f</b_stream_active>\r\n<b_stream_rotated>f</b_stream_rotated>\r\n"
    "<stream_type>xxx</stream_type>\r\n<offset_fields>000</offset_fields>\r\n<sel_start>000</sel_start>\r\n"
    "<sel_end>000</sel_end>\r\n<camera_pos>xxxxx</camera_pos>\r\n<b_model_active>f</b_model_active>\r\n"
    "<model_filename>xxx</model_filename>\r\n<model_speed>999</model_speed>\r\n<selrect_top>000</selrect_top>\r\n"
    "<selrect_bottom>000</selrect_bottom>\r\n<selrect_left>000</selrect_left>\r\n"
    "<selrect_right>000</selrect_right>\r\n<model_file>000</model_file>\r\n<b_model_flipped>f</b_model_flipped>\r\n"
    "<model_x_offset>000</model_x_offset>\r\n<model_y_offset>000</model_y_offset>\r\n"
    "<model_size_factor>000</model_size_factor>\r\n<camera_ID>000</camera_ID>\r\n"
    "<stream_spare1>000</stream_spare1>\r\n<stream_spare2>000</stream_spare2>\r\n<stream_spare3>000</stream_spare3>\r\n"
    "<stream_spare4>000</stream_spare4>\r\n<stream_spare5>000</stream_spare5>\r\n</stream_header>";

TEST(Cls_XML_header, A_fresh_file_data_section_has_the_elements_order_and_defaults_of_the_format) {
    Set_Program_State();
    Cls_XML_header h;
    h.Create_Header();
    std::string text = h.XML_string();
    std::string stream2 = std::regex_replace(Stream_Record_1, std::regex("id=\"1\""), "id=\"2\"");
    std::string expected =
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<!--XML file containing KDR KD3 header-->\r\n"
        "<KDR_header>\r\n<file_data>\r\n<update_program>program name</update_program>\r\n"
        "<creation_date>DATE</creation_date>\r\n<update_date>not updated</update_date>\r\n"
        "<last_capture_time/>\r\n<last_append_time/>\r\n<num_streams>1</num_streams>\r\n"
        "<frame_header_size>000</frame_header_size>\r\n<num_frames>000</num_frames>\r\n"
        "<num_segments>000</num_segments>\r\n<timing_bias>000</timing_bias>\r\n<b_rotated>f</b_rotated>\r\n"
        "<comp_name>RACE-PC</comp_name>\r\n<comp_captureinfo>Unknown capture info!</comp_captureinfo>\r\n"
        "<comp_cpuinfo>Test CPU 4 cores</comp_cpuinfo>\r\n<comp_cpubitness>64</comp_cpubitness>\r\n"
        "<comp_physram>8 GB</comp_physram>\r\n<comp_osbitness>64-bit</comp_osbitness>\r\n"
        "<capture_property>video:1 1920x1080</capture_property>\r\n<actual_sample>1920x1080 50.00</actual_sample>\r\n"
        "<comp_manufacturer_model>Maker Model</comp_manufacturer_model>\r\n<phidget_serial/>\r\n"
        "<prog_id>Vantorel_HDMI, Full v.</prog_id>\r\n<prog_version>IDE</prog_version>\r\n"
        "<prog_major>1</prog_major>\r\n<prog_minor>2</prog_minor>\r\n<prog_revision>3</prog_revision>\r\n"
        "<compile_date>2016-07-20 19:35</compile_date>\r\n<uptime>UPTIME</uptime>\r\n"
        "<exe_filedate>Not compiled</exe_filedate>\r\n<os_version>Debian 12</os_version>\r\n"
        "<subject_name>0000</subject_name>\r\n<file_comment1>0000</file_comment1>\r\n"
        "<file_comment2>0000</file_comment2>\r\n<file_comment3>0000</file_comment3>\r\n"
        "<file_comment4>0000</file_comment4>\r\n<file_comment5>0000</file_comment5>\r\n<specapp1/>\r\n<specapp2/>\r\n"
        "<hdr_spare1>0000</hdr_spare1>\r\n<hdr_spare2>0000</hdr_spare2>\r\n<hdr_spare3>0000</hdr_spare3>\r\n"
        "<hdr_spare4>0000</hdr_spare4>\r\n<hdr_spare5>0000</hdr_spare5>\r\n" +
        Stream_Record_1 + stream2 + "</file_data>";
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m, std::regex("<creation_date>(\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)</creation_date>")));
    std::string date = m[1];
    ASSERT_TRUE(std::regex_search(text, m, std::regex("<uptime>(-?\\d+)</uptime>")));
    std::string uptime = m[1];
    expected = std::regex_replace(expected, std::regex("DATE"), date);
    expected = std::regex_replace(expected, std::regex("UPTIME"), uptime);
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    EXPECT_EQ(h.Creation_date(), date);
    EXPECT_EQ(h.Phidget_serial(), "");  // empty, not the default of a missing element
}

TEST(Cls_XML_header, A_fresh_header_reads_its_defaults) {
    Cls_XML_header h;
    h.rgb(true);
    h.Create_Header();
    h.Create_Header();  // twice: still one header
    EXPECT_EQ(Error_Of([&] { EXPECT_EQ(h.Frames_no(), 0); }), 0);
    EXPECT_EQ(h.Segments_no(), 0);
    EXPECT_EQ(h.Streams_no(), 1);
    EXPECT_EQ(h.Timing_Bias(), "000");
    EXPECT_EQ(h.SpecApp(), "None");
    EXPECT_EQ(h.Last_Capture_time(), "");
    EXPECT_EQ(h.Update_Time(), "not updated");
    for (int16_t n = 1; n <= 5; ++n) EXPECT_EQ(h.comment(n), "0000");
    for (int16_t n : {0, 6, -1}) EXPECT_EQ(h.comment(n), "");
    EXPECT_EQ(h.Comp_CaptureInfo(), "Unknown capture info!");
    EXPECT_EQ(h.File_comment1(), "0000");
    EXPECT_EQ(h.Hdr_spare1(), "0000");
    EXPECT_EQ(h.Subject_name(), "0000");
    for (int16_t s : {1, 2}) {
        EXPECT_FALSE(h.Stream_Active(s));
        EXPECT_FALSE(h.Stream_rotated(s));
        EXPECT_EQ(h.Offset_fields(s), 0);
        EXPECT_EQ(h.Selection_start(s), 0);
        EXPECT_EQ(h.Selection_end(s), 0);
        for (const char* side : {"t", "b", "l", "r"}) EXPECT_EQ(h.Selection_Rectangle(s, side), 0);
        EXPECT_EQ(h.model_size_factor(s), 0);
        EXPECT_EQ(h.model_X_offset(s), 0);
        EXPECT_EQ(h.model_Y_offset(s), 0);
        EXPECT_EQ(h.Stream_CameraPos(s), 0);
        EXPECT_EQ(h.Camera_pos(s), "xxxxx");
        EXPECT_EQ(h.Model_FileName(s), "xxx");
        EXPECT_EQ(h.Camera_ID(s), "000");
    }
    std::string text = h.XML_string();
    size_t first = text.find("<KDR_header>");
    EXPECT_EQ(text.find("<KDR_header>", first + 1), std::string::npos);
}

TEST(Cls_XML_header, Whole_numbers_are_read_with_halves_to_even_and_their_errors) {
    struct Row {
        std::string text;
        int32_t value;  // expected value when error is 0
        int32_t error;
    } rows[] = {
        {"12.5", 12, 0}, {"13.5", 14, 0}, {"-2.5", -2, 0}, {" 7 ", 7, 0}, {"32767", 32767, 0}, {"-32768", -32768, 0},
        {"32767.5", 0, 6}, {"40000", 0, 6}, {"-32769", 0, 6}, {"abc", 0, 13}, {"", 0, 13}, {"12abc", 0, 13},
    };
    std::string fresh = Fresh_Header_Text();
    for (const auto& r : rows) {
        Cls_XML_header h;
        Load(h, With_Element(fresh, "num_streams", &r.text));
        int16_t got = 0;
        EXPECT_EQ(Error_Of([&] { got = h.Streams_no(); }), r.error) << "'" << r.text << "'";
        if (r.error == 0) {
            EXPECT_EQ(got, r.value) << "'" << r.text << "'";
        }
    }
    // 32-bit elements: the same rules in their range; sel_start answers 0 for every failure.
    struct Row32 {
        std::string text;
        int32_t sel_start;
    } rows32[] = {{"70000.5", 70000}, {"70001.5", 70002}, {"-2147483648", -2147483647 - 1},
                  {"2147483648", 0}, {"x", 0}, {"", 0}};
    for (const auto& r : rows32) {
        Cls_XML_header h;
        Load(h, With_Element(fresh, "sel_start", &r.text));
        EXPECT_EQ(h.Selection_start(1), r.sel_start) << r.text;
    }
    // The frame and segment counts are 32-bit: a heat is not limited to 32767 frames.
    Cls_XML_header h;
    Load(h, fresh);
    h.Frames_no(32768);
    h.Segments_no(40000);
    EXPECT_EQ(h.Frames_no(), 32768);
    EXPECT_EQ(h.Segments_no(), 40000);
    std::string big = "2147483648";
    Load(h, With_Element(fresh, "num_frames", &big));
    EXPECT_EQ(Error_Of([&] { h.Frames_no(); }), 6);
}

TEST(Cls_XML_header, The_camera_position_reads_the_leading_number) {
    struct Row {
        std::string text;
        int16_t value;
        int32_t error;
    } rows[] = {{"xxxxx", 0, 0}, {"12.5", 12, 0}, {"13.5", 14, 0}, {"12 lanes", 12, 0}, {" -3x", -3, 0},
                {"", 0, 0},     {"40000", 0, 6}};
    std::string fresh = Fresh_Header_Text();
    for (const auto& r : rows) {
        Cls_XML_header h;
        Load(h, With_Element(fresh, "camera_pos", &r.text));
        int16_t got = -99;
        EXPECT_EQ(Error_Of([&] { got = h.Stream_CameraPos(1); }), r.error) << r.text;
        if (r.error == 0) {
            EXPECT_EQ(got, r.value) << r.text;
        }
        EXPECT_EQ(h.Camera_pos(1), r.text);
    }
    Cls_XML_header h;
    h.Create_Header();
    h.Stream_CameraPos(2, -120);
    EXPECT_EQ(h.Camera_pos(2), "-120");
}

TEST(Cls_XML_header, Truth_values_of_kind_t_f_read_true_only_for_t_and_Y) {
    struct Row {
        std::string text;
        bool value;
    } rows[] = {{"t", true}, {"Y", true}, {"T", false}, {"y", false}, {"f", false},
                {"N", false}, {"", false}, {"True", false}, {" t", false}};
    std::string fresh = Fresh_Header_Text();
    for (const auto& r : rows) {
        EXPECT_EQ(Cls_XML_header::XML_string_to_Bool(r.text), r.value) << r.text;
        Cls_XML_header h;
        Load(h, With_Element(fresh, "b_stream_rotated", &r.text));
        EXPECT_EQ(h.Stream_rotated(1), r.value) << r.text;
    }
    Cls_XML_header h;
    h.Create_Header();
    h.Stream_rotated(1, true);
    h.Stream_Active(2, true);
    EXPECT_NE(h.XML_string().find("<b_stream_rotated>t</b_stream_rotated>"), std::string::npos);
    EXPECT_TRUE(h.Stream_rotated(1));
    EXPECT_FALSE(h.Stream_rotated(2));
    EXPECT_TRUE(h.Stream_Active(2));
    h.Stream_rotated(1, false);
    EXPECT_FALSE(h.Stream_rotated(1));
    EXPECT_EQ(Cls_XML_header::Bool_to_XML_string(true), "t");
    EXPECT_EQ(Cls_XML_header::Bool_to_XML_string(false), "f");
}

TEST(Cls_XML_header, Missing_elements_raise_91_or_give_the_default) {
    std::string fresh = Fresh_Header_Text();
    struct Row {
        const char* element;
        std::function<std::string(const Cls_XML_header&)> get;
        std::string fallback;  // "" with error 91 expected when `error` is set
        bool error;
    } rows[] = {
        {"comp_name", [](const Cls_XML_header& h) { return h.Comp_Name(); }, "", true},
        {"comp_cpuinfo", [](const Cls_XML_header& h) { return h.Comp_CPUInfo(); }, "Not known!", false},
        {"comp_cpubitness", [](const Cls_XML_header& h) { return h.Comp_CPUbitness(); }, "Not known!", false},
        {"comp_osbitness", [](const Cls_XML_header& h) { return h.Comp_OSbitness(); }, "Not known!", false},
        {"phidget_serial", [](const Cls_XML_header& h) { return h.Phidget_serial(); }, "Not known!", false},
        {"comp_captureinfo", [](const Cls_XML_header& h) { return h.Comp_CaptureInfo(); }, "Unknown Capture Info!", false},
        {"timing_bias", [](const Cls_XML_header& h) { return h.Timing_Bias(); }, "0", false},
        {"os_version", [](const Cls_XML_header& h) { return h.OS_version(); }, "", false},
        {"specapp1", [](const Cls_XML_header& h) { return h.SpecApp(); }, "None", false},
        {"subject_name", [](const Cls_XML_header& h) { return h.Subject_name(); }, "", false},
        {"file_comment3", [](const Cls_XML_header& h) { return h.comment(3); }, "", false},
        {"prog_id", [](const Cls_XML_header& h) { return h.prog_id(); }, "", true},
        {"prog_major", [](const Cls_XML_header& h) { return h.Prog_Major(); }, "", true},
        {"update_date", [](const Cls_XML_header& h) { return h.Update_Time(); }, "", true},
        {"hdr_spare1", [](const Cls_XML_header& h) { return h.Hdr_spare1(); }, "", true},
        {"num_streams", [](const Cls_XML_header& h) { return std::to_string(h.Streams_no()); }, "", true},
    };
    for (const auto& r : rows) {
        Cls_XML_header h;
        Load(h, With_Element(fresh, r.element, nullptr));
        std::string got;
        EXPECT_EQ(Error_Of([&] { got = r.get(h); }), r.error ? 91 : 0) << r.element;
        if (!r.error) {
            EXPECT_EQ(got, r.fallback) << r.element;
        }
    }
    // The last capture time falls back to the creation date, and fails only without both.
    Cls_XML_header h;
    std::string date = "24-05-01 10:00:00";
    std::string no_capture = With_Element(With_Element(fresh, "creation_date", &date), "last_capture_time", nullptr);
    Load(h, no_capture);
    EXPECT_EQ(h.Last_Capture_time(), date);
    Load(h, With_Element(no_capture, "creation_date", nullptr));
    EXPECT_EQ(Error_Of([&] { h.Last_Capture_time(); }), 91);
    // Lets of elements with a Get default still need the element.
    EXPECT_EQ(Error_Of([&] { h.Comp_CaptureInfo("x"); }), 0);
    Load(h, With_Element(fresh, "comp_captureinfo", nullptr));
    EXPECT_EQ(Error_Of([&] { h.Comp_CaptureInfo("x"); }), 91);
}

TEST(Cls_XML_header, Stream_numbers_outside_the_records) {
    Cls_XML_header h;
    h.Create_Header();
    for (int16_t s : {0, 3, -1}) {
        EXPECT_EQ(Error_Of([&] { h.Stream_Active(s); }), 91) << s;
        EXPECT_EQ(Error_Of([&] { h.Offset_fields(s, 1); }), 91) << s;
        EXPECT_EQ(h.Selection_start(s), 0);
        EXPECT_EQ(Error_Of([&] { h.Selection_start(s, 5); }), 91);
    }
    EXPECT_EQ(Error_Of([&] { h.Camera_ID(3); }), 91);
    EXPECT_EQ(h.Camera_ID(0), "");
    EXPECT_EQ(h.Camera_ID(4), "");
    // A record carrying id 4 is not even looked at.
    Cls_XML_header g;
    std::string text = Fresh_Header_Text();
    text.replace(text.find("stream_header id=\"2\""), 20, "stream_header id=\"4\"");
    Load(g, text);
    EXPECT_EQ(g.Camera_ID(4), "");
    EXPECT_EQ(g.Offset_fields(4), 0);
    // Selection rectangle sides are exact; any other side is an expression the document refuses.
    h.Selection_Rectangle(1, "l", 17);
    h.Let_Selection_rectangle(2, "b", -4);
    EXPECT_EQ(h.Selection_Rectangle(1, "l"), 17);
    EXPECT_EQ(h.Selection_Rectangle(2, "b"), -4);
    EXPECT_EQ(h.Selection_Rectangle(2, "t"), 0);
    for (const char* side : {"T", "top", ""}) EXPECT_EQ(Error_Of([&] { h.Selection_Rectangle(1, side); }), 5) << side;
}

TEST(Cls_XML_header, Values_written_read_back) {
    Cls_XML_header h;
    h.Create_Header();
    h.Frames_no(32767);
    h.Segments_no(-5);
    h.Streams_no(2);
    h.Update_Time("2024-05-01 12:00:00");
    h.Update_Program("Vantorel");
    h.Creation_date("c");
    h.Last_Capture_time("l");
    h.File_comment1("first");
    h.comment(5, "fifth");
    h.Subject_name("s");
    h.Hdr_spare1("100,200");
    h.Timing_Bias("-3");
    h.SpecApp("");
    h.Offset_fields(1, -7);
    h.Selection_end(2, 123456);
    h.model_size_factor(2, 3);
    h.model_X_offset(1, 4);
    h.model_Y_offset(1, 5);
    h.Model_FileName(2, "m.anp");
    h.Camera_ID(1, "cam");
    EXPECT_NE(h.XML_string().find("<num_frames>32767</num_frames>"), std::string::npos);
    EXPECT_EQ(h.Frames_no(), 32767);
    EXPECT_EQ(h.Segments_no(), -5);
    EXPECT_EQ(h.Streams_no(), 2);
    EXPECT_EQ(h.Update_Time(), "2024-05-01 12:00:00");
    EXPECT_EQ(h.Creation_date(), "c");
    EXPECT_EQ(h.Last_Capture_time(), "l");
    EXPECT_EQ(h.File_comment1(), "first");
    EXPECT_EQ(h.comment(1), "first");
    EXPECT_EQ(h.comment(5), "fifth");
    EXPECT_EQ(h.Subject_name(), "s");
    EXPECT_EQ(h.Hdr_spare1(), "100,200");
    EXPECT_EQ(h.Timing_Bias(), "-3");
    EXPECT_EQ(h.SpecApp(), "None");
    EXPECT_EQ(h.Offset_fields(1), -7);
    EXPECT_EQ(h.Selection_end(2), 123456);
    EXPECT_EQ(h.model_size_factor(2), 3);
    EXPECT_EQ(h.model_X_offset(1), 4);
    EXPECT_EQ(h.model_Y_offset(1), 5);
    EXPECT_EQ(h.Model_FileName(2), "m.anp");
    EXPECT_EQ(h.Camera_ID(1), "cam");
    EXPECT_EQ(Error_Of([&] { h.comment(6, "x"); }), 91);
}

TEST(Cls_XML_header, Insert_specapp_adds_a_second_element_nothing_reads) {
    Cls_XML_header h;
    h.Create_Header();
    h.Insert_Specapp();
    std::string text = h.XML_string();
    size_t last_stream = text.rfind("</stream_header>");
    EXPECT_EQ(text.substr(last_stream, 43), "</stream_header><specapp1>None</specapp1>\r\n");
    h.SpecApp("x");
    EXPECT_EQ(h.SpecApp(), "x");
    EXPECT_NE(h.XML_string().find("</stream_header><specapp1>None</specapp1>"), std::string::npos);
}

TEST(Cls_XML_header, A_text_that_does_not_parse_says_so_and_leaves_an_empty_document) {
    const std::string texts[] = {"", "not xml", "<KDR_header><file_data><num_frames>1</num_frames>",
                                 Fresh_Header_Text().substr(0, 500)};
    for (const auto& text : texts) {
        Cls_XML_header h;
        h.Create_Header();
        Test_dialogs::Instance().Answer(ui::vbOK);
        EXPECT_FALSE(h.XML_string(text));
        EXPECT_FALSE(h.Parse_OK());
        ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
        std::string shown = Test_dialogs::Instance().Shown_Dialogs()[0].prompt;
        EXPECT_EQ(shown.rfind("XML parse failed! reason = ", 0), 0u) << shown;
        EXPECT_NE(shown.find(" line = "), std::string::npos);
        EXPECT_NE(shown.find(" srctext = "), std::string::npos);
        EXPECT_EQ(h.XML_string(), "");
        EXPECT_EQ(h.XML_len(), 0);
        EXPECT_EQ(Error_Of([&] { h.Frames_no(); }), 91);
        EXPECT_EQ(h.Comp_CPUInfo(), "Not known!");
        Test_dialogs::Instance().Reset();
    }
    // The built program shows nothing; the caller still learns of it.
    Module_Vantorel::Is_Compiled = true;
    Cls_XML_header h;
    EXPECT_FALSE(h.XML_string("<a>"));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
    EXPECT_TRUE(h.XML_string("<a/>"));
    EXPECT_TRUE(h.Parse_OK());
}

TEST(Cls_XML_header, The_position_in_the_line_and_the_source_text_are_shown) {
    Cls_XML_header h;
    Test_dialogs::Instance().Answer(ui::vbOK);
    h.XML_string("<KDR_header>\r\n<a>1</b>\r\n</KDR_header>");
    std::string shown = Test_dialogs::Instance().Shown_Dialogs().at(0).prompt;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(shown, m, std::regex(" line = (\\d+) srctext = (.*)$")));
    EXPECT_GT(std::stoi(m[1]), 1);
    EXPECT_EQ(m[2], "<a>1</b>");
}

TEST(Cls_XML_header, A_new_object_is_empty) {
    Cls_XML_header h;
    EXPECT_EQ(h.XML_string(), "");
    EXPECT_FALSE(h.is_Vantorel());
    EXPECT_FALSE(h.Parse_OK());
    EXPECT_EQ(Error_Of([&] { h.Comp_Name(); }), 91);
    EXPECT_EQ(h.SpecApp(), "None");
    h.Create_Header();
    EXPECT_FALSE(h.is_Vantorel());  // asks the given text only
    EXPECT_FALSE(h.Parse_OK());
}

TEST(Cls_XML_header, The_given_text_answers_the_section_questions) {
    struct Row {
        std::string text;
        bool vantorel, golf;
    } rows[] = {{"<a>Vantorel</a>", true, false}, {"<vantorel/>", true, false}, {"<VANTOREL/>", false, false},
                {"<r><golf></golf></r>", false, true}, {"<r><golf/></r>", false, false}};
    for (const auto& r : rows) {
        Cls_XML_header h;
        Load(h, r.text);
        EXPECT_EQ(h.is_Vantorel(), r.vantorel) << r.text;
        EXPECT_EQ(h.is_Equestrian(), r.vantorel) << r.text;
        EXPECT_EQ(h.is_Golf(), r.golf) << r.text;
    }
}

TEST(Cls_XML_header, Text_survives_the_file_encoding) {
    const std::string values[] = {
        "Sm\xC3\xA5" "land & <Regatta>",  // Småland
        "\"Caf\xC3\xA9\" 'Ol\xC3\xA9'",   // "Café" 'Olé'
        "a&amp;b",
        "\xE2\x82\xAC 5",                 // €
    };
    for (const auto& value : values) {
        Cls_XML_header h;
        h.rgb(true);
        h.Create_Header();
        h.File_comment1(value);
        h.Camera_ID(2, value);
        std::string bytes = vb::Utf8_To_Ansi(h.XML_string());
        EXPECT_EQ(bytes.size(), static_cast<size_t>(h.Len_XML()));  // one byte per character
        Cls_XML_header back;
        ASSERT_TRUE(back.XML_string(Bytes_To_Text(bytes)));
        EXPECT_EQ(back.File_comment1(), value);
        EXPECT_EQ(back.Camera_ID(2), value);
        EXPECT_EQ(back.XML_string(), h.XML_string());
    }
    // A character without a single-byte form comes back as "?".
    Cls_XML_header h;
    h.Create_Header();
    h.File_comment1("\xE4\xB8\xAD-\xC3\xA5");
    Cls_XML_header back;
    ASSERT_TRUE(back.XML_string(Bytes_To_Text(vb::Utf8_To_Ansi(h.XML_string()))));
    EXPECT_EQ(back.File_comment1(), "?-\xC3\xA5");
    std::string bytes = vb::Utf8_To_Ansi(h.XML_string());
    EXPECT_NE(bytes.find("<file_comment1>?-\xE5</file_comment1>"), std::string::npos);
}

TEST(Cls_XML_header, A_parsed_header_serialises_as_it_was_written) {
    Cls_XML_header h;
    h.rgb(true);
    h.Create_Header();
    std::string text = h.XML_string();
    Cls_XML_header back;
    ASSERT_TRUE(back.XML_string(text));
    EXPECT_EQ(back.XML_string(), text);
    EXPECT_EQ(back.XML_len(), static_cast<int16_t>(text.size()));
    EXPECT_EQ(back.Len_XML(), static_cast<int32_t>(text.size()));
}

TEST(Cls_XML_header, The_length_of_a_text_beyond_32767_characters_overflows) {
    Cls_XML_header h;
    h.Create_Header();
    h.File_comment1(std::string(40000, 'x'));
    EXPECT_GT(h.Len_XML(), 40000);
    EXPECT_EQ(Error_Of([&] { h.XML_len(); }), 6);
}

TEST(Cls_XML_header, Dump_writes_the_document_and_says_where) {
    Cls_XML_header h;
    h.Create_Header();
    h.File_comment1("\xC3\xA5");
    std::string path = Test_folder() + "/dump.xml";
    std::ofstream(path) << "an older, longer file that must not survive in any part";
    Test_dialogs::Instance().Answer(ui::vbOK);
    h.Dump_XML_to_File(path);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().at(0).prompt, "XML header dumped to: " + path);
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(bytes.str(), vb::Utf8_To_Ansi(h.XML_string()));

    std::string program_folder = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    Test_dialogs::Instance().Answer(ui::vbOK);
    h.Dump_XML_to_File("");
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().at(1).prompt,
              "XML header dumped to: " + program_folder + "/xmldump.xml");
    EXPECT_TRUE(std::filesystem::exists(program_folder + "/xmldump.xml"));
    std::filesystem::remove(program_folder + "/xmldump.xml");

    EXPECT_EQ(Error_Of([&] { h.Dump_XML_to_File(Test_folder() + "/missing/folder/x.xml"); }), 17);
}

}  // namespace
