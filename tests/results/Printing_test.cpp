// The printouts of a fixture heat on both print targets: the preview's page picture and the printer's
// PDF file turned into a picture (pdftoppm) and text (pdftotext). The page furniture, the text lines, the
// result rows and the pictures lie where their twips put them.
#include "Test_dialogs.h"
#include "platform/printer/Page_image.h"
#include "platform/printer/System_printer.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "results/Form_LCS_preview.h"
#include "results/Frm_results.h"
#include "results/Module_Vantorel_export.h"
#include "results/Module_Vantorel_print.h"
#include "results/Results_export.h"
#include "review/Frm_kanot_2.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "tests/platform/Pdf_pages.h"
#include "tests/review/Heat_fixture.h"
#include "tests/review/Review_initialization.h"

#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

namespace {

using namespace Module_Vantorel;

constexpr double Pixel = 15;  // twips per pixel of the preview page and of the PDF at 96 dpi
const QColor Grey(224, 224, 224);

// Text heights of the sheet's fonts, as the page measures them.
double Height_Of(const char* font, float size, bool bold = false) {
    printer::Page_image page(100, 100, Pixel);
    page.FontName(font);
    page.FontSize(size);
    page.FontBold(bold);
    return page.TextHeight("Heat");
}

class Printing : public testing::Test {
protected:
    void SetUp() override {
        Install_Review_Initialization();
        Vantorel_Mode = true;
        data = Test_folder() + "/data/vantorel";
        std::filesystem::create_directories(data);
        std::ofstream(data + "/Vantorel_HDMI.ini") << "[Canoe]\r\nLane_num=3\r\n";
        Ini_file_path = data + "/Vantorel_HDMI.ini";
        heats = Test_folder() + "/heats";
        std::filesystem::create_directories(heats);
        vb::Set_Error_Reporter([this](const std::string& description, int32_t number, int32_t, const std::string& location,
                                      const std::string&) { reports.push_back(location + ": " + std::to_string(number) + " " + description); });
        Review();
        Results();
        // After the results window's load, which reads the export folder from the settings.
        exports = Test_folder() + "/exports";
        std::filesystem::create_directories(exports);
        Export_Folder = exports;
        AppData_Folder = data;
        Printers_Num = 0;
        Check_Printer();
        Set_Page_Box();
        Event_Name = "Vallentuna";
        Event_Logo_Loaded = false;
        Event_Logo_Path.clear();
        Review().Make_Print_Footer();
        Use_Preview();
    }
    void TearDown() override {
        Review().Close_File();
        Form_LCS_preview::Instance().Hide();
        Use_Preview();
        vb::Set_Error_Reporter(nullptr);
        Vantorel_Mode = false;
        Is_Compiled = false;
    }
    Frm_kanot_2& Review() { return Frm_kanot_2::Instance(); }
    Frm_results& Results() { return Frm_results::Instance(); }

    void Use_Preview() {
        Results().Opt_printer(0).click();
        ASSERT_TRUE(Print_Preview_Mode);
    }
    // The printer option on a machine without a printer: the document becomes a PDF file in the
    // export folder.
    void Use_Pdf_Printer() {
        if (!printer::Default_Printer_Name().empty()) GTEST_SKIP() << "a printer is installed here";
        ASSERT_TRUE(Pdftoppm_Available()) << "pdftoppm (poppler-utils) is needed";
        Results().Opt_printer(1).click();
        ASSERT_FALSE(Print_Preview_Mode);
    }
    // The PDF file the printout went to, as the message names it.
    std::string Printed_Pdf() {
        const std::vector<std::string> prompts = Test_dialogs::Instance().Shown_Prompts();
        const std::string said = prompts.empty() ? "" : prompts.back();
        const std::string lead = "No printer is installed: the printout is saved as ";
        EXPECT_EQ(said.rfind(lead, 0), 0u) << said;
        const std::string file = said.substr(std::min(said.size(), lead.size()));
        EXPECT_EQ(std::filesystem::path(file).parent_path(), exports);
        EXPECT_TRUE(std::filesystem::exists(file));
        return file;
    }
    QImage Previewed() {
        Form_LCS_preview& preview = Form_LCS_preview::Instance();
        EXPECT_TRUE(preview.Visible());
        return preview.Page();
    }

    // A locked heat of `lanes` lanes: lane l finishes at field 22 + 2 l, except the disqualified ones.
    void Open_Heat(int16_t lanes, std::vector<int16_t> disqualified = {}, int32_t width = 440, int32_t height = 1080) {
        Heat_layout layout;
        layout.width = width;
        layout.height = height;
        layout.lanes = lanes;
        layout.start_lane = lanes == 16 ? 0 : 1;  // results are kept for lanes 0 to 15
        layout.locked = true;
        layout.frames = Regular_Frames(40, layout.start_tick, layout.start_events);
        path = heats + "/Vallentuna Heat7_2026.kd3";
        Write_Heat(path, layout);
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        store.Event_name("Vallentuna Sprint");
        store.Close_File();
        Frm_kanot_2& w = Review();
        w.Handle_Open_File(path);
        ASSERT_TRUE(w.Replay_File.File_open());
        for (int16_t lane = layout.start_lane; lane < layout.start_lane + lanes; ++lane) {
            if (std::find(disqualified.begin(), disqualified.end(), lane) != disqualified.end()) {
                w.Attach_Time(lane, Disqualified, false);
                continue;
            }
            w.Set_Slider_Value(22 + 2 * lane);
            w.Slider_play_Scroll();
            w.Attach_Time(lane, 0, false);
        }
    }

    // The frame, the logo, the event name band, the file block and the footer.
    void Expect_Furniture(const QImage& page) {
        ASSERT_FALSE(page.isNull());
        const double L = Print_Left, T = Print_Top, R = Print_Right, B = Print_Bottom, H = Printer_Height;
        EXPECT_TRUE(Ink_In(page, Twips_Rect(L - 30, 8000, L + 30, 8100, Pixel)));
        EXPECT_TRUE(Ink_In(page, Twips_Rect(R - 30, 8000, R + 30, 8100, Pixel)));
        EXPECT_TRUE(Ink_In(page, Twips_Rect(5000, T - 30, 5100, T + 30, Pixel)));
        EXPECT_TRUE(Ink_In(page, Twips_Rect(5000, B - 30, 5100, B + 30, Pixel)));
        // The product logo at the top right, 100 twips inside the frame.
        const double logo_left = R - 240 * Pixel - 100;
        EXPECT_FALSE(Mostly(page, Twips_Rect(logo_left + 100, 0.03 * H + 100, R - 200, 0.03 * H + 900, Pixel), Qt::white));
        // The event name in blue on its grey band, left of the logo.
        EXPECT_TRUE(Mostly(page, Twips_Rect(L + 150, 0.03 * H + 15, logo_left - 250, 0.03 * H + 60, Pixel), Grey));
        EXPECT_TRUE(Some(page, Twips_Rect(L + 100, 0.03 * H, logo_left - 200, 0.03 * H + 1600, Pixel), Qt::blue));
        // The file block's right edge, 100 twips inside the frame.
        EXPECT_TRUE(Ink_In(page, Twips_Rect(R - 160, 0.14 * H + 100, R - 60, 0.14 * H + 300, Pixel)));
        EXPECT_TRUE(Mostly(page, Twips_Rect(R - 40, 0.14 * H + 100, R - 20, 0.14 * H + 300, Pixel), Qt::white));
        // The footer line at its place, with or without a printer.
        const double footer = Height_Of("Arial", 8);
        EXPECT_TRUE(Ink_In(page, Twips_Rect(L + 100, B - 200, L + 3000, B - 200 + footer, Pixel)));
        EXPECT_FALSE(Ink_In(page, Twips_Rect(L + 100, B - 600, L + 3000, B - 230, Pixel)));
    }

    // Title, column header and one line per row at their line positions; nothing after the last.
    void Expect_Sheet(const QImage& page, int rows) {
        const double L = Print_Left;
        const double title = Height_Of("Arial", 16), small = Height_Of("Arial", 10),
                     row = Height_Of("Courier New", 15, true);
        EXPECT_EQ(Frm_kanot_2::Instance().Footer_Y_position, static_cast<int32_t>(std::lround(Print_Bottom - 200)));
        EXPECT_FALSE(Ink_In(page, Twips_Rect(L + 50, Header_Bottom - 150, L + 3000, Header_Bottom - 20, Pixel)));
        EXPECT_TRUE(Ink_In(page, Twips_Rect(L + 45, Header_Bottom, L + 3000, Header_Bottom + title, Pixel)));
        double y = Header_Bottom + title + 2 * small;
        EXPECT_FALSE(Ink_In(page, Twips_Rect(L + 45, Header_Bottom + title + 20, L + 5000, y - 20, Pixel)));
        for (int r = 0; r <= rows; ++r, y += row)
            EXPECT_TRUE(Ink_In(page, Twips_Rect(L + 45, y, L + 1500, y + row, Pixel))) << "line " << r;
        EXPECT_FALSE(Ink_In(page, Twips_Rect(L + 50, y + 20, L + 5000, y + 250, Pixel)));
        EXPECT_NEAR(Results().Y_Pos_After_Results, y + 300, 1);
    }

    std::string data, exports, heats, path;
    std::vector<std::string> reports;
};

TEST(Print_module, page_box_preview_window_footer_and_sheet_lines) {
    Module_Vantorel::Printers_Num = 7;
    Module_Vantorel::Check_Printer();
    if (Printers_Num == 0) {
        EXPECT_EQ(Printer_Width, 11904);
        EXPECT_EQ(Printer_Height, 16834);
    }
    Printer_Width = 40000;  // larger than 16 bits hold
    Printer_Height = 56000;
    Set_Page_Box();
    EXPECT_FLOAT_EQ(Print_Left, 2000);
    EXPECT_FLOAT_EQ(Print_Top, 1120);
    EXPECT_FLOAT_EQ(Print_Right, 38000);
    EXPECT_FLOAT_EQ(Print_Bottom, 53200);

    struct Window_case {
        printer::Page_size page;
        int32_t work;
        printer::Page_size expected;
    } windows[] = {
        {{11904, 16834}, 16834, {11904, 16834}},  // fits: the page's own size
        {{11904, 16834}, 20000, {11904, 16834}},
        {{11904, 16834}, 8417, {5952, 8417}},  // half as high, the same proportions
        {{23811, 33676}, 15000, {10606, 15000}},
    };
    for (const Window_case& c : windows) {
        const printer::Page_size size = Preview_Window_Size(c.page, c.work);
        EXPECT_EQ(size.Width, c.expected.Width) << c.work;
        EXPECT_EQ(size.Height, c.expected.Height) << c.work;
    }

    Print_Footer footer{true, "Vantorel", "1.2.3 IDE", "finish-pc", ""};
    EXPECT_EQ(footer.Text("2026-07-20 14:05:33"),
              "Printed by Vantorel at: 2026-07-20 14:05:33 /1.2.3 IDE /Computer: finish-pc");
    footer.Printer = "Laser";
    EXPECT_EQ(footer.Text("t"), "Printed by Vantorel at: t /1.2.3 IDE /Computer: finish-pc /Printer: Laser");
    EXPECT_EQ(Print_Footer{}.Text("t"), "");

    struct Line_case {
        Results_export::Result_Row row;
        std::string expected;
    } lines[] = {
        {{"1", "3", "1:00,00", ""}, "   1     3  1:00,00  "},
        {{"12", "16", "59,98", "+0,02"}, "  12    16  59,98  +0,02"},
        {{"2", "1", "DSQ", ""}, "   2     1   Disqualified"},
        {{"3", "2", "DNF", "x"}, "   3     2   Did not finish"},
        {{"4", "5", "DNS", ""}, "   4     5   Did not start"},
        {{"1000", "1234567", "1,00", "0"}, " 10001234567  1,00  0"},  // longer captions whole
    };
    for (const Line_case& c : lines) EXPECT_EQ(Result_Sheet_Line(c.row), c.expected);
    // The time starts at the 13th character of every row.
    EXPECT_EQ(Result_Sheet_Line({"1", "3", "T", ""}).find('T'), 12u);

    const std::string path49(38, 'p');  // 11 + 38 = 49 characters
    EXPECT_EQ(File_Name_Lines(path49), (std::pair<std::string, std::string>{"File name: " + path49, ""}));
    const std::string path60(49, 'q');
    EXPECT_EQ(File_Name_Lines(path60).second, "");
    const std::string longer = std::string(49, 'a') + "bcdefghijklmnopqrstuvwxyz0123456789";
    EXPECT_EQ(File_Name_Lines(longer), (std::pair<std::string, std::string>{"File name: " + std::string(49, 'a'),
                                                                             "bcdefghijklmnopqrstuvwxyz0123456789"}));
    Check_Printer();
    Set_Page_Box();
}

TEST_F(Printing, without_a_printer_the_choice_is_the_preview_or_a_pdf_file_and_print_commands_want_a_file) {
    if (!printer::Default_Printer_Name().empty()) GTEST_SKIP() << "a printer is installed here";
    Results().Unload();
    Frm_results& results = Results();
    EXPECT_EQ(results.Opt_printer(0).text(), "Preview");
    // The sheet can still leave the preview.
    EXPECT_EQ(results.Opt_printer(1).text(), "PDF file");
    EXPECT_TRUE(results.Opt_printer(1).isEnabled());
    EXPECT_EQ(results.Opt_printer(1).toolTip(), "No printer: printouts are saved as PDF files in the export folder");
    EXPECT_TRUE(results.Opt_printer(0).isChecked());
    EXPECT_TRUE(Print_Preview_Mode);
    EXPECT_EQ(Print_Target, results.Picture_preview.get());
    EXPECT_EQ(results.Picture_preview->ScaleWidth(), 11904);
    EXPECT_EQ(results.Picture_preview->ScaleHeight(), 16834);

    // The page is the same size on the preview, the window as large as the page allows.
    Form_LCS_preview& preview = Form_LCS_preview::Instance();
    EXPECT_EQ(preview.Caption(), "Printer preview");
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const printer::Page_size size =
        Preview_Window_Size({Printer_Width, Printer_Height}, (work.bottom() + 1) * ui::Twips_Per_Pixel_Y());
    EXPECT_EQ(preview.Left(), 0);
    EXPECT_EQ(preview.Top(), 0);
    EXPECT_NEAR(preview.Width(), size.Width, ui::Twips_Per_Pixel_X());
    EXPECT_NEAR(preview.Height(), size.Height, ui::Twips_Per_Pixel_Y());

    for (auto command : {&Frm_kanot_2::Handle_Print_results, &Frm_kanot_2::Handle_Print_Series,
                         &Frm_kanot_2::Handle_Print_Single}) {
        Test_dialogs::Instance().Answer(ui::vbOK);
        (Review().*command)();
        EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), "No file open!");
    }
    EXPECT_FALSE(preview.Visible());
    EXPECT_FALSE(System_Printer().Printing());
}

TEST_F(Printing, the_result_sheet_in_the_preview_and_in_the_pdf) {
    Open_Heat(3, {2});
    Review().Handle_Print_results();
    EXPECT_EQ(Application_Title, "Vallentuna Heat: K1 Final A Results");
    const QImage shown = Previewed();
    EXPECT_EQ(shown.size(), QSize(794, 1123));
    Keep_Page(shown, "result-sheet-preview");
    Expect_Furniture(shown);
    Expect_Sheet(shown, 3);
    // The heat line starts below the file block, whose five lines are drawn from 14 % of the page down.
    EXPECT_GE(Header_Bottom, 0.14 * Printer_Height + 5 * Height_Of("Arial", 8) - 1);
    // The preview's page is blank again for the next printout.
    EXPECT_TRUE(Mostly(Results().Picture_preview->Image(), QRect(0, 0, 794, 1123), Qt::white));

    Use_Pdf_Printer();
    Form_LCS_preview::Instance().Show();
    Test_dialogs::Instance().Answer(ui::vbOK);
    const std::string before = Non_dependant::Now_Text();
    Review().Handle_Print_results();
    // Printing to the printer hides the preview.
    EXPECT_FALSE(Form_LCS_preview::Instance().Visible());
    EXPECT_EQ(Application_Title, App_Title);
    const std::string pdf = Printed_Pdf();
    const QImage printed = Pdf_Page_Image(pdf, 96);
    Keep_Page(printed, "result-sheet-pdf");
    Expect_Furniture(printed);
    Expect_Sheet(printed, 3);

    const std::string text = Pdf_Text(pdf);
    EXPECT_NE(text.find("Results for Heat: K1 Final A"), std::string::npos) << text;
    EXPECT_NE(text.find("Place Lane"), std::string::npos);
    EXPECT_NE(text.find("Disqualified"), std::string::npos);
    // The footer has the time of printing and, without a printer, everything but the printer.
    std::smatch footer;
    ASSERT_TRUE(std::regex_search(text, footer, std::regex("Printed by (.*) at: (\\S+ \\S+) /(.*) /Computer: (\\S+)(.*)")))
        << text;
    EXPECT_EQ(footer[1].str(), Program_Name);
    EXPECT_GE(footer[2].str(), before);
    EXPECT_EQ(footer[4].str(), Non_dependant::Get_Computer_Name());
    EXPECT_EQ(footer[5].str().find("/Printer:"), std::string::npos);
}

TEST_F(Printing, places_thirteen_to_sixteen_are_on_the_sheet_and_in_the_series) {
    Open_Heat(16);
    Use_Pdf_Printer();
    Test_dialogs::Instance().Answer(ui::vbOK);
    Review().Handle_Print_Series();
    const std::string pdf = Printed_Pdf();
    const QImage printed = Pdf_Page_Image(pdf, 96);
    Keep_Page(printed, "series-16-pdf");
    Expect_Sheet(printed, 16);
    const std::string text = Pdf_Text(pdf);
    for (int place : {12, 13, 16}) {
        const std::string row = Result_Sheet_Line(*Results_export::Place_Row(static_cast<int16_t>(place), 0));
        EXPECT_NE(text.find(row.substr(0, 12)), std::string::npos) << row << "\n" << text;
    }
    std::vector<int16_t> places;
    for (const Frm_kanot_2::Series_Cell& cell : Review().Series_Cells) places.push_back(cell.Place);
    ASSERT_EQ(places.size(), 16u);
    EXPECT_EQ(places.back(), 16);
    // Every picture ends above the footer line, which stays whole below them.
    for (const Frm_kanot_2::Series_Cell& cell : Review().Series_Cells)
        EXPECT_LE(cell.Y + cell.Height, Review().Footer_Y_position) << cell.Place;
    EXPECT_NE(text.find("Printed by " + Program_Name), std::string::npos) << text;
}

TEST_F(Printing, the_picture_series_lays_the_placed_lanes_on_the_grid) {
    Open_Heat(5, {4}, 640, 360);
    Review().Handle_Print_Series();
    const QImage shown = Previewed();
    Keep_Page(shown, "series-preview");
    Expect_Furniture(shown);
    Expect_Sheet(shown, 5);
    const std::vector<Frm_kanot_2::Series_Cell> cells = Review().Series_Cells;
    // Four placed lanes; the disqualified one and the places after it get no picture. k = 3: two across.
    ASSERT_EQ(cells.size(), 4u);
    const double width = (Print_Right - Print_Left) / 3;
    for (size_t i = 0; i < cells.size(); ++i) {
        const Frm_kanot_2::Series_Cell& c = cells[i];
        EXPECT_EQ(c.Place, static_cast<int16_t>(i + 1));
        EXPECT_NEAR(c.Width, width, 1);
        EXPECT_NEAR(c.X, Print_Left + (i % 2) * 1.05 * c.Width, 1);
        EXPECT_NEAR(c.Y, Results().Y_Pos_After_Results + static_cast<double>(i / 2) * 1.05 * c.Height, 1);
        // The field fills its cell; the gap beside it stays white.
        EXPECT_FALSE(Mostly(shown, Twips_Rect(c.X + 60, c.Y + 60, c.X + c.Width - 60, c.Y + c.Height - 60, Pixel), Qt::white))
            << "cell " << i;
        if (i % 2 == 0) {
            EXPECT_TRUE(Mostly(shown, Twips_Rect(c.X + c.Width + 15, c.Y + 100, c.X + 1.05 * c.Width - 15, c.Y + 1000, Pixel),
                               Qt::white));
        }
    }
    // The review window stays on the last place's goal field with its stamp.
    EXPECT_EQ(Review().Slider_play->value(), Go_to_Goal_field(4));

    Use_Pdf_Printer();
    Test_dialogs::Instance().Answer(ui::vbOK);
    Review().Handle_Print_Series();
    const QImage printed = Pdf_Page_Image(Printed_Pdf(), 96);
    Keep_Page(printed, "series-pdf");
    for (const Frm_kanot_2::Series_Cell& c : Review().Series_Cells)
        EXPECT_FALSE(Mostly(printed, Twips_Rect(c.X + 60, c.Y + 60, c.X + c.Width - 60, c.Y + c.Height - 60, Pixel), Qt::white));
}

TEST_F(Printing, the_single_frame_under_the_heat_and_field_number) {
    Open_Heat(3);
    Review().Set_Slider_Value(27);
    Review().Slider_play_Scroll();
    Review().Handle_Print_Single();
    EXPECT_EQ(Application_Title, "Vallentuna Heat K1 Final A Single");
    const QImage shown = Previewed();
    Keep_Page(shown, "single-preview");
    Expect_Furniture(shown);
    const double line = Height_Of("Arial", 16);
    const double top = Header_Bottom + 2 * std::floor(line);
    const double L = Print_Left + 100;
    EXPECT_TRUE(Ink_In(shown, Twips_Rect(L, Header_Bottom, L + 1500, Header_Bottom + line, Pixel)));
    EXPECT_TRUE(Ink_In(shown, Twips_Rect(L, Header_Bottom + line, L + 1500, Header_Bottom + 2 * line, Pixel)));
    const double ratio = Review().Picture_large->ScaleHeight() / Review().Picture_large->ScaleWidth();
    const double height = Review().Footer_Y_position - top;
    const double width = std::nearbyint(height / ratio);
    EXPECT_FALSE(Mostly(shown, Twips_Rect(L + 60, top + 60, L + width - 60, top + height - 60, Pixel), Qt::white));
    EXPECT_TRUE(Mostly(shown, Twips_Rect(L + width + 60, top + 500, L + width + 600, top + 1500, Pixel), Qt::white));

    Use_Pdf_Printer();
    Test_dialogs::Instance().Answer(ui::vbOK);
    Review().Handle_Print_Single();
    const std::string pdf = Printed_Pdf();
    const QImage printed = Pdf_Page_Image(pdf, 96);
    Keep_Page(printed, "single-pdf");
    Expect_Furniture(printed);
    EXPECT_FALSE(Mostly(printed, Twips_Rect(L + 60, top + 60, L + width - 60, top + height - 60, Pixel), Qt::white));
    const std::string text = Pdf_Text(pdf);
    EXPECT_NE(text.find("Heat = K1 Final A"), std::string::npos) << text;
    EXPECT_NE(text.find("Video field no: 27"), std::string::npos) << text;
}

TEST(Single_frame, the_picture_is_fitted_to_the_page_box_both_ways) {
    struct Case {
        double ratio;
        double width, height;
    } cases[] = {
        {2.0, 5000, 10000},     // tall: as high as the room down to the footer
        {1.0, 9000, 9000},      // wider than the page box allows at full height: narrowed, proportions kept
        {0.25, 9000, 2250},
    };
    // top 3000, left 1000, right 10100 (room 9000), footer 13000.
    for (const Case& c : cases) {
        const printer::Page_size size = Frm_kanot_2::Single_Picture_Size(3000, c.ratio, 1000, 10100, 13000);
        EXPECT_EQ(size.Width, c.width) << c.ratio;
        EXPECT_EQ(size.Height, c.height) << c.ratio;
    }
}

// A long event name is printed whole, in a smaller type, in its band left of the product logo.
TEST_F(Printing, a_long_event_name_ends_before_the_logo) {
    Open_Heat(2);
    const std::string name = "Vallentuna Sprint Regatta 2026 - International Canoe Sprint Championships";
    Review().Replay_File.Event_name(name);
    Review().Handle_Print_results();
    const QImage shown = Previewed();
    Keep_Page(shown, "long-event-name");
    const double L = Print_Left, H = Printer_Height;
    const double band_right = Print_Right - 240 * Pixel - 100 - 200;
    EXPECT_TRUE(Some(shown, Twips_Rect(L + 100, 0.03 * H, L + 1500, 0.03 * H + 1600, Pixel), Qt::blue));
    // The band's last pixels hold no letter cut off at its end.
    EXPECT_FALSE(Some(shown, Twips_Rect(band_right - 3 * Pixel, 0.03 * H, band_right - 1, 0.03 * H + 1600, Pixel),
                      Qt::blue));
}

TEST_F(Printing, an_event_logo_takes_the_name_band_and_one_that_fails_to_load_leaves_the_name) {
    Open_Heat(2);
    // A wide red logo: reduced to the room left of the product logo.
    QImage logo(1200, 100, QImage::Format_RGB32);
    logo.fill(Qt::red);
    const std::string logo_file = data + "/logo.png";
    ASSERT_TRUE(logo.save(QString::fromStdString(logo_file)));
    Test_dialogs::Instance().Answer_File(logo_file);
    Review().item_select_logo_file_Click();
    EXPECT_EQ(Non_dependant::Read_Ini("Canoe", "event_logo", Ini_file_path, "?"), logo_file);
    EXPECT_TRUE(Event_Logo_Loaded);
    EXPECT_TRUE(Review().Picture_logo->isVisibleTo(Review().Frame_Controls));
    Review().Handle_Print_results();
    QImage shown = Previewed();
    Keep_Page(shown, "logo-preview");
    const double H = Printer_Height, L = Print_Left, logo_left = Print_Right - 240 * Pixel - 100;
    const double w_avail = logo_left - (L + 300), f = w_avail / (1200 * Pixel);
    EXPECT_TRUE(Mostly(shown, Twips_Rect(L + 150, 0.03 * H + 20, L + 100 + w_avail - 50, 0.03 * H + 100 * Pixel * f - 20, Pixel),
                       Qt::red));
    EXPECT_TRUE(Mostly(shown, Twips_Rect(L + 150, 0.03 * H + 100 * Pixel * f + 30, L + 2000, 0.03 * H + 100 * Pixel * f + 100, Pixel),
                       Qt::white));
    EXPECT_FALSE(Some(shown, Twips_Rect(L + 100, 0.03 * H, logo_left - 200, 0.03 * H + 1600, Pixel), Qt::blue));

    // A file that is no picture: reported, not marked loaded, and the next printouts show the name.
    Is_Compiled = true;
    std::ofstream(data + "/broken.png") << "not a picture";
    Test_dialogs::Instance().Answer_File(data + "/broken.png");
    Review().item_select_logo_file_Click();
    EXPECT_FALSE(Event_Logo_Loaded);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("Load_logo of Form frm_kanot_2: 481", 0), 0u) << reports[0];
    Review().Handle_Print_results();
    shown = Previewed();
    Expect_Furniture(shown);
    EXPECT_EQ(reports.size(), 1u);

    // Cancel switches the logo off.
    Test_dialogs::Instance().Answer_File(std::nullopt);
    Review().item_select_logo_file_Click();
    EXPECT_EQ(Non_dependant::Read_Ini("Canoe", "event_logo", Ini_file_path, "?"), "?");  // empty reads as the default
    EXPECT_FALSE(Event_Logo_Loaded);
}

TEST_F(Printing, a_printout_stopped_by_an_error_leaves_nothing_under_the_next_one) {
    Open_Heat(2);
    Use_Pdf_Printer();
    Is_Compiled = true;
    // No folder for the PDF file: "Printer error", and the printout ends without a page.
    Export_Folder = data + "/missing";
    AppData_Folder = data + "/missing";
    Test_dialogs::Instance().Answer(ui::vbOK);
    Review().Handle_Print_results();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), "Printer error");
    EXPECT_FALSE(System_Printer().Printing());
    AppData_Folder = data;
    Export_Folder = exports;

    // An event logo that went missing stops the page header after the frame was drawn.
    Event_Logo_Loaded = true;
    Event_Logo_Path = data + "/gone.png";
    Review().Handle_Print_results();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("Print_Static_Content of Form Frm_results: 481", 0), 0u) << reports[0];
    EXPECT_TRUE(System_Printer().Printing());
    Event_Logo_Loaded = false;

    // The next printout is a document of its own: one PDF file, one sheet.
    Test_dialogs::Instance().Answer(ui::vbOK);
    Review().Handle_Print_Single();
    const std::string pdf = Printed_Pdf();
    EXPECT_NE(std::filesystem::path(pdf).filename().string().find("Single"), std::string::npos) << pdf;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(exports)) files += entry.path().extension() == ".pdf";
    EXPECT_EQ(files, 1);
    const std::string text = Pdf_Text(pdf);
    EXPECT_EQ(text.find("Results for Heat"), std::string::npos) << text;
    EXPECT_NE(text.find("Heat = K1 Final A"), std::string::npos) << text;
}

// A printout whose PDF file cannot be saved is told as a failure, never as saved.
TEST_F(Printing, a_pdf_file_that_cannot_be_saved_is_told_as_a_failure) {
    Open_Heat(2);
    Use_Pdf_Printer();
    for (bool compiled : {false, true}) {
        SCOPED_TRACE(compiled);
        Is_Compiled = compiled;
        std::filesystem::create_directories(exports);
        Test_dialogs::Instance().Answer(ui::vbOK);
        Review().Handle_Print_results();
        Printed_Pdf();  // a printout that could be saved is told as saved

        // The export folder goes away (the stick is pulled) while the page is drawn.
        Begin_Printout("Results");
        Print_Target->Box(100, 100, 2000, 2000);
        const std::string file = System_Printer().Output_File();
        std::filesystem::remove_all(exports);
        Test_dialogs::Instance().Answer(ui::vbOK);
        Printer_End();
        EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(),
                  "The printout could not be saved as " + file + ": " + std::strerror(ENOENT));
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_FALSE(System_Printer().Printing());
        EXPECT_EQ(Application_Title, App_Title);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(Printing, the_printer_test_draws_the_furniture_alone_and_test_position_moves_the_window) {
    Open_Heat(2);
    Results().item_printer_test_Click();
    const QImage shown = Previewed();
    Expect_Furniture(shown);
    EXPECT_FALSE(Ink_In(shown, Twips_Rect(Print_Left + 50, Header_Bottom, Print_Left + 3000, Header_Bottom + 2000, Pixel)));
    Results().item_test_position_Click();
    EXPECT_EQ(Results().Left(), Review().Left() + Review().Width());
}

}  // namespace
