// The results export without its panel: the text helpers, a heat exported to both formats and compared
// with files written by hand, and the ways an export can fail without leaving anything half written.
#include "Test_dialogs.h"
#include "tests/review/Heat_fixture.h"
#include "platform/vb/Error_trap.h"
#include "platform/xml/Xml_document.h"
#include "results/Class_Vantorel_result_XML.h"
#include "results/Module_Vantorel_export.h"
#include "results/Results_export.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using namespace Module_Vantorel;
using namespace Results_export;
namespace stdfs = std::filesystem;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

TEST(Results_export_texts, Helpers_follow_their_rules) {
    const std::pair<const char*, const char*> heats[] = {
        {"D:\\cap\\REGATTAHeat7_2016.kd3", "7"},
        {"/cap/REGATTAHeat12 2016_07_20 14_05_33.kd3", "12 2016"},
        {"x_heat3_y", "3"},
        {"/cap/Heat1_a/REGATTAHeat4_b.kd3", "4"},
        {"/cap/REGATTA_2016.kd3", ""},
        {"/cap/REGATTAHeat9.kd3", ""},
        {"/cap/Heat_1.kd3", ""},
    };
    for (auto [path, heat] : heats) EXPECT_EQ(Heat_number_from_Filename(path), heat) << path;
    EXPECT_EQ(Strip_Diacritics("\u00c5kersj\u00f6 \u00c4ng \u00e5\u00e4\u00d6"), "Akersjo Ang aaO");
    EXPECT_EQ(Strip_Diacritics("caf\u00e9 M\u00fcller"), "caf\u00e9 M\u00fcller");

    const std::pair<const char*, const char*> dates[] = {
        {"16-07-20 14:05:33", "2016-07-20 14:05:33"},
        {"20-03-15 09:12:00", "2020-03-15 09:12:00"},  // a file of 2020 has a two-digit year too
        {"21-05-01 10:00:00", "2021-05-01 10:00:00"},
        {"2016-07-20 14:05:33", "2016-07-20 14:05:33"},
        {"", ""},
    };
    for (auto [date, text] : dates) EXPECT_EQ(Created_Text(date), text) << date;

    EXPECT_EQ(Clock_Text(14 * 3600000 + 32 * 60000 + 5120), "14:32:05");
    EXPECT_EQ(Clock_Text(9 * 3600000 + 15 * 60000), "9:15:00,");
    EXPECT_EQ(Clock_Text(35 * 60000 + 12340), "35:12,34");
    EXPECT_EQ(Last_Capture_Text("52750000"), "14:39:10");
    for (const char* unusable : {"", " ", "never", "99999999999"})
        EXPECT_EQ(Last_Capture_Text(unusable), "") << unusable;

    EXPECT_EQ(Csv_File_Name("12", ""), "VN_Result_Heat12.csv");
    EXPECT_EQ(Csv_File_Name("A-1", ""), "VN_Result_HeatA_1.csv");
    EXPECT_EQ(Csv_File_Name("12", "Final"), "Final.csv");
    EXPECT_EQ(Csv_File_Name("../x\\y", "").find_first_of("/\\"), std::string::npos);
    EXPECT_EQ(Csv_File_Name(std::string("a\0b", 3), ""), "VN_Result_Heata_b.csv");
    // Names carried on a memory stick: what FAT and NTFS refuse becomes "_", the rest stays.
    EXPECT_EQ(Csv_File_Name("7 \"A\" <B>|*?", ""), "VN_Result_Heat7 _A_ _B____.csv");
    EXPECT_EQ(Csv_File_Name("Åre 3", "Final\tA?"), "Final_A_.csv");
    EXPECT_EQ(Xml_File_Name("/cap/Åre K1-500m, A?*|Heat7 \"B\"<1>:2_2016.kd3"), "VN_Result_Heat7 _B__1__2.xml");
    EXPECT_EQ(Xml_File_Name("/cap/REGATTAHeatA-1,B_2016.kd3"), "VN_Result_HeatA-1,B.xml");
    EXPECT_EQ(Xml_File_Name("/cap/REGATTAHeat7_2016.kd3"), "VN_Result_Heat7.xml");
    EXPECT_EQ(Xml_File_Name("/cap/REGATTAHeat12 2016_07_20 14_05_33.kd3"), "VN_Result_Heat12 2016.xml");
    EXPECT_EQ(Xml_File_Name("/cap/Heats/a\\b/REGATTA_1.kd3"), "VN_Result_Heats_a_b_REGATTA.xml");
}

// A heat of fourteen results (twelve times, a DSQ and a DNS) with a start correction of 500 ms.
class Results_export_heat : public ::testing::Test {
protected:
    void SetUp() override {
        Is_Compiled = false;
        Vantorel_Mode = true;
        Program_Name = "Vantorel";
        Program_Version = "1.2.3";
        Export_Folder = Test_folder() + "/export";
        stdfs::create_directories(Export_Folder);
        path = Test_folder() + "/REGATTAHeat12_2016.kd3";
        Heat_layout layout;
        layout.start_local = 14 * 3600000 + 32 * 60000 + 5120;
        layout.frames = Regular_Frames(3, layout.start_tick, layout.start_events);
        Write_Heat(path, layout);
        file.File_name(path);
        file.Open_RGB_File();
        file.Header().Creation_date("16-07-20 14:05:33");
        file.Header().Last_Capture_time("52750000");
        file.Header().Event_name("REGATTA");
        file.Header().Heat_comment(1, "Final");

        const std::pair<int16_t, int32_t> results[] = {
            {3, 425620}, {5, 427970}, {1, 428000}, {7, 431250}, {8, 432000}, {2, 440000}, {9, 445560},
            {10, 450000}, {11, 460000}, {12, 486000}, {13, 500000}, {4, 3720000}, {6, Disqualified},
            {0, Did_Not_Start}};
        for (int16_t lane = 0; lane < Result_Lanes; ++lane) Lane_all_Heats_Array[static_cast<size_t>(lane)] = {lane, No_Result, 0, 0};
        for (auto [lane, result] : results) Lane_all_Heats_Array[static_cast<size_t>(lane)] = {lane, result, 1, 0};
        Copy_Active_Heat();
        Lane_Active_Heat_Array_Sort();
        // What the window's twelve rows show, written out by hand.
        shown = {{"1", "3", " 07:05,12", "+0,00"},      {"2", "5", " 07:07,47", "+2,35"},
                 {"3", "1", " 07:07,50", "+2,38"},      {"4", "7", " 07:10,75", "+5,63"},
                 {"5", "8", " 07:11,50", "+6,38"},      {"6", "2", " 07:19,50", "+14,38"},
                 {"7", "9", " 07:25,06", "+19,94"},     {"8", "10", " 07:29,50", "+24,38"},
                 {"9", "11", " 07:39,50", "+34,38"},    {"10", "12", " 08:05,50", "+1:00,38"},
                 {"11", "13", " 08:19,50", "+1:14,38"}, {"12", "4", " 1:01:59,50", "+54:54,38"}};
    }
    void TearDown() override {
        if (file.File_open()) file.Close_File();
        Vantorel_Mode = false;
        Test_dialogs::Instance().Expect_All_Answers_Used();
    }

    std::string Expected(const char* fixture) {
        std::string text = Read(std::string(VANTOREL_FIXTURES) + "/" + fixture);
        Replace(text, "{computer}", Non_dependant::Get_Computer_Name());
        Replace(text, "{capture}", file.Computer_name());
        return text;
    }

    Open_Heat Heat() { return {&file, " 14:32:05,12 "}; }

    std::string path;
    cls_VideoFile_handler file;
    std::vector<Result_Row> shown;
    std::string alternative;
};

// The document's tree as text, the time it was built taken out.
std::string Tree(const std::string& text) {
    xml::Document doc;
    const xml::Parse_Error error = doc.Load_Xml(text);
    EXPECT_EQ(error.Error_Code, 0) << error.Reason << " line " << error.Line << ": " << error.Src_Text;
    doc.Select_Single_Node("//initiated_at").Set_Text("now");
    return doc.Xml();
}

TEST_F(Results_export_heat, Both_formats_match_the_files_written_by_hand) {
    const std::vector<Result_Row> rows = Export_Rows(shown, 500);
    ASSERT_EQ(rows.size(), 14u);  // places 13 and 14 from the heat's results, beyond the window's rows

    ASSERT_TRUE(Export_CSV_file(Heat(), "12", rows, alternative));
    EXPECT_EQ(Last_Export_File, Export_Folder + "/VN_Result_Heat12.csv");
    EXPECT_EQ(Read(Last_Export_File), Expected("heat12.csv"));
    EXPECT_EQ(Event_Name, "REGATTA");

    ASSERT_TRUE(Export_New_XML_File(Heat(), "12", rows));
    EXPECT_EQ(Last_Export_File, Export_Folder + "/VN_Result_Heat12.xml");
    const std::string written = Read(Last_Export_File);
    EXPECT_EQ(written.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u);
    EXPECT_EQ(Tree(written), Tree(Expected("heat12.xml")));
    EXPECT_EQ(stdfs::directory_iterator(Export_Folder) == stdfs::directory_iterator(), false);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(Export_Folder), stdfs::directory_iterator()), 2);
}

TEST_F(Results_export_heat, Rows_beyond_the_window_follow_only_a_full_window) {
    EXPECT_EQ(Export_Rows({shown.begin(), shown.begin() + 3}, 500).size(), 3u);
    std::vector<Result_Row> with_gap = shown;
    with_gap[5].Place.clear();
    EXPECT_EQ(Export_Rows(with_gap, 500).size(), 5u);
    // Sixteen places with a result: all sixteen exported.
    for (int16_t lane = 0; lane < Result_Places; ++lane)
        Lane_all_Heats_Array[static_cast<size_t>(lane)] = {lane, 400000 + 1000 * lane, 1, 0};
    Copy_Active_Heat();
    Lane_Active_Heat_Array_Sort();
    const std::vector<Result_Row> rows = Export_Rows(shown, 0);
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[15].Place, "16");
    EXPECT_EQ(rows[15].Lane, "15");
    EXPECT_EQ(rows[15].Time, " 06:55,00");
    EXPECT_EQ(rows[15].Delta, "+15,00");
}

TEST_F(Results_export_heat, Separators_and_path_characters_in_the_data_stay_in_their_field) {
    file.Header().Event_name("Cup; Day 1");
    const std::vector<Result_Row> rows = {{"1", "3", " 07:05,12", "+0,00"}};
    ASSERT_TRUE(Export_CSV_file(Heat(), "A;1/../x", rows, alternative));
    EXPECT_EQ(stdfs::path(Last_Export_File).parent_path(), stdfs::path(Export_Folder));
    const std::string text = Read(Last_Export_File);
    const std::string first = text.substr(0, text.find("\r\n"));
    EXPECT_EQ(std::count(first.begin(), first.end(), ';'), 5) << first;
    EXPECT_EQ(first.rfind("Cup, Day 1;A,1/../x;2016-07-20 14:05:33;", 0), 0u) << first;

    alternative = "../../evil\\name";
    ASSERT_TRUE(Export_CSV_file(Heat(), "12", rows, alternative));
    EXPECT_EQ(Last_Export_File, Export_Folder + "/.._.._evil_name.csv");
    EXPECT_TRUE(alternative.empty());  // used once
}

TEST_F(Results_export_heat, An_apostrophe_or_quote_in_the_heat_ID_is_exported) {
    file.Heat_ID(1, "K1 'Men's\" Final");
    ASSERT_TRUE(Export_New_XML_File(Heat(), "12", {{"1", "3", " 07:05,12", "+0,00"}}));
    xml::Document doc;
    ASSERT_EQ(doc.Load_Xml(Read(Last_Export_File)).Error_Code, 0);
    EXPECT_TRUE(doc.Select_Single_Node("//heat[@id=concat(\"K1 'Men's\", '\"', \" Final\")]"));
    EXPECT_EQ(doc.Select_Single_Node("//result/competitor/elapsed_time").Text(), "07:05,12");
}

TEST_F(Results_export_heat, An_empty_list_writes_a_heat_and_an_empty_result) {
    ASSERT_TRUE(Export_New_XML_File(Heat(), "12", {}));
    xml::Document doc;
    ASSERT_EQ(doc.Load_Xml(Read(Last_Export_File)).Error_Code, 0);
    EXPECT_TRUE(doc.Select_Single_Node("/race/heats/heat"));
    EXPECT_TRUE(doc.Select_Single_Node("/race/results/result"));
    EXPECT_FALSE(doc.Select_Single_Node("//competitor"));
    EXPECT_EQ(doc.Select_Single_Node("//lastfile").Text(), "True");
}

TEST_F(Results_export_heat, A_heat_never_captured_exports_without_a_last_capture_time) {
    for (const char* last : {"", "garbage"}) {
        file.Header().Last_Capture_time(last);
        ASSERT_TRUE(Export_CSV_file(Heat(), "12", shown, alternative)) << last;
        const std::string text = Read(Last_Export_File);
        EXPECT_EQ(text.rfind("REGATTA;12;2016-07-20 14:05:33;14:32:05;;", 0), 0u) << text;
        ASSERT_TRUE(Export_New_XML_File(Heat(), "12", shown)) << last;
        xml::Document doc;
        ASSERT_EQ(doc.Load_Xml(Read(Last_Export_File)).Error_Code, 0);
        EXPECT_EQ(doc.Select_Single_Node("//last_capture_at").Text(), "");
    }
}

TEST_F(Results_export_heat, Refusals_write_nothing) {
    const std::string csv = Export_Folder + "/VN_Result_Heat12.csv";
    struct Case {
        const char* what;
        std::function<void()> arrange;
        Open_Heat heat;
        std::vector<Result_Row> rows;
        const char* message;
    };
    const std::string folder = Export_Folder;
    std::vector<Case> cases = {
        {"missing folder", [&] { Export_Folder = folder + "/gone"; }, Heat(), shown, "Can't find export folder!"},
        {"folder is a file", [&] { std::ofstream(folder + "/plain") << "x"; Export_Folder = folder + "/plain"; },
         Heat(), shown, "Can't find export folder!"},
        {"no rows", [] {}, Heat(), {}, "Nothing to export!"},
        {"first row empty", [] {}, Heat(), {{"", "", "", ""}}, "Nothing to export!"},
        {"no file open", [] {}, Open_Heat{}, shown, "Nothing to export!"},
    };
    for (Case& c : cases) {
        Export_Folder = folder;
        c.arrange();
        Test_dialogs::Instance().Answer(ui::vbOK);
        Last_Export_File.clear();
        EXPECT_FALSE(Export_CSV_file(c.heat, "12", c.rows, alternative)) << c.what;
        EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), c.message) << c.what;
        EXPECT_FALSE(stdfs::exists(csv)) << c.what;
    }
    Export_Folder = folder;

    // A write-protected file stays as it is, in either format; a writable one is replaced.
    struct Format {
        std::string file;
        std::function<bool()> export_it;
        std::string begins;
    } formats[] = {
        {csv, [&] { return Export_CSV_file(Heat(), "12", shown, alternative); }, "REGATTA;12;"},
        {folder + "/VN_Result_Heat12.xml", [&] { return Export_New_XML_File(Heat(), "12", shown); }, "<?xml"},
    };
    for (const Format& f : formats) {
        SCOPED_TRACE(f.file);
        std::ofstream(f.file) << "old";
        stdfs::permissions(f.file, stdfs::perms::owner_read | stdfs::perms::group_read | stdfs::perms::others_read);
        Test_dialogs::Instance().Answer(ui::vbOK);
        EXPECT_FALSE(f.export_it());
        EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), "A write-protected file already exists!");
        EXPECT_EQ(Read(f.file), "old");
        stdfs::permissions(f.file, stdfs::perms::owner_write, stdfs::perm_options::add);
        Test_dialogs::Instance().Answer(ui::vbYes);  // "old" tells no capture file: it may be another's
        EXPECT_TRUE(f.export_it());
        EXPECT_EQ(Read(f.file).rfind(f.begins, 0), 0u);
    }
}

// A heat number the file name lacks, or one heat ID for two capture files, gives two heats one export
// name: the export of another capture file is replaced only when the operator says so.
TEST_F(Results_export_heat, An_export_written_for_another_capture_file_is_replaced_only_on_yes) {
    struct Case {
        const char* what;
        std::function<bool()> run;
        std::string file;
    };
    const Case cases[] = {
        {"csv", [&] { return Export_CSV_file(Heat(), "12", shown, alternative); }, Export_Folder + "/VN_Result_Heat12.csv"},
        {"xml", [&] { return Export_New_XML_File(Heat(), "12", shown); }, Export_Folder + "/VN_Result_Heat12.xml"},
    };
    for (const Case& c : cases) {
        file.Header().Creation_date("16-07-20 14:05:33");
        // Its own export again, or one the file first gets: no question.
        ASSERT_TRUE(c.run()) << c.what;
        ASSERT_TRUE(c.run()) << c.what;
        EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty()) << c.what;
        const std::string first = Read(c.file);

        // Another capture file under the same name.
        file.Header().Creation_date("16-07-20 15:40:02");
        Test_dialogs::Instance().Answer(ui::vbNo);
        EXPECT_FALSE(c.run()) << c.what;
        ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u) << c.what;
        EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts()[0],
                  c.file + "\r\nholds the results of another capture file. Replace it?");
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].title, "Export");
        EXPECT_EQ(Read(c.file), first) << c.what;
        Test_dialogs::Instance().Answer(ui::vbYes);
        EXPECT_TRUE(c.run()) << c.what;
        EXPECT_NE(Read(c.file).find("2016-07-20 15:40:02"), std::string::npos) << c.what;
        Test_dialogs::Instance().Reset();
    }
    // Two heats recorded in one second with one start: the document's heat ID tells them apart.
    file.Header().Heat_ID(1, "K1 Final B");
    Test_dialogs::Instance().Answer(ui::vbNo);
    EXPECT_FALSE(Export_New_XML_File(Heat(), "12", shown));
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
}

// The disk fills up: the file size limit stands in for it.
TEST_F(Results_export_heat, A_full_disk_leaves_the_old_file_and_says_why) {
    const std::string csv = Export_Folder + "/VN_Result_Heat12.csv";
    const std::string xml_file = Export_Folder + "/VN_Result_Heat12.xml";
    std::ofstream(csv) << "old";
    std::ofstream(xml_file) << "old";
    std::vector<std::string> reports;
    vb::Set_Error_Reporter([&](const std::string& d, int32_t, int32_t, const std::string& where, const std::string&) {
        reports.push_back(where + ": " + d);
    });
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    // "old" tells no capture file: the operator lets each be replaced.
    Test_dialogs::Instance().Answer(ui::vbYes);
    Test_dialogs::Instance().Answer(ui::vbOK);
    const bool csv_written = Export_CSV_file(Heat(), "12", shown, alternative);
    Test_dialogs::Instance().Answer(ui::vbYes);
    Is_Compiled = true;
    const bool xml_written = Export_New_XML_File(Heat(), "12", shown);
    Is_Compiled = false;
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    vb::Set_Error_Reporter(nullptr);

    EXPECT_FALSE(csv_written);
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 3u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts()[1], "Check export folder, getting error: File too large");
    EXPECT_FALSE(xml_written);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Serialize of Class Module Class_Vantorel_result_XML: File too large");
    EXPECT_EQ(Read(csv), "old");
    EXPECT_EQ(Read(xml_file), "old");
    EXPECT_EQ(std::distance(stdfs::directory_iterator(Export_Folder), stdfs::directory_iterator()), 2);
}

TEST(Class_Vantorel_result_XML, Same_id_twice_leaves_one_element_and_a_missing_result_is_an_error) {
    Class_Vantorel_result_XML doc;
    doc.Create_Heat_node("7", "a", "1");
    doc.Create_Heat_node("7", "b", "2");
    doc.Create_Result_Node("7");
    doc.Create_Result_Node("7");
    doc.Create_Competitor_Node("7", "3", "DSQ", "", "1", "", "");
    const std::string text = doc.Document().Xml();
    EXPECT_EQ(text.find("<heat "), text.rfind("<heat "));
    EXPECT_EQ(text.find("<result "), text.rfind("<result "));
    EXPECT_NE(text.find("<competitor nbr=\"3\"><elapsed_time>DSQ</elapsed_time><place>1</place></competitor>"),
              std::string::npos)
        << text;
    EXPECT_EQ(doc.Document().Select_Single_Node("//lastfile").Text(), "false");
    EXPECT_EQ(doc.Document().Select_Single_Node("//event").Text(), " ");
    try {
        doc.Create_Competitor_Node("8", "3", "DSQ", "", "1", "", "");
        ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
}

}  // namespace
