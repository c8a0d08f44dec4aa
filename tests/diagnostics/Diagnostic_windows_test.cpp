#include "Test_dialogs.h"
#include "diagnostics/Form_HDMI_performance.h"
#include "diagnostics/Form_KD3_Timing.h"
#include "diagnostics/Form_Vantorel_HDMI_debug.h"
#include "diagnostics/Form_calibrate.h"
#include "diagnostics/Frm_export.h"
#include "diagnostics/Module_capture.h"
#include "diagnostics/frmAbout.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/jpeg/Jpeg_codec.h"
#include "platform/vb/Vb_text.h"
#include "results/modCloseBtn.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

#include <QLabel>
#include <QMenu>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// A heat file whose frames were captured the given intervals after the frame before them.
std::string Write_Heat(const std::string& name, const std::vector<int32_t>& intervals) {
    const std::string path = Test_folder() + "/" + name;
    std::vector<uint8_t> jpeg(2000);
    {
        std::vector<uint8_t> rows(static_cast<size_t>(48 * 16), 90);
        uint64_t size = jpeg.size();
        EXPECT_EQ(jpeg::Encode(rows.data(), 16, 48, 16, 80, jpeg.data(), size), 0);
        jpeg.resize(size);
    }
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    store.Cropped_X(16);
    store.Cropped_Y(16);
    store.Create_KD3_header();
    store.Open_RGB_File();
    store.Set_JPG_Maxsize(4000);
    store.Position_at_End();
    int32_t tick = 100000;
    int32_t n = 0;
    for (int32_t interval : intervals) {
        tick += interval;
        store.Append_Compressed_RGB_Frame(tick, tick, interval, 80, static_cast<int32_t>(jpeg.size()), jpeg.data(), ++n);
    }
    store.Close_File();
    return path;
}

// The frame-interval report of fixture files: the counts, the bars and the report's labels.
TEST(Frame_interval_report, Counts_of_fixture_files) {
    struct Row {
        const char* name;
        std::vector<int32_t> intervals;
        int bucket;
        int32_t count;
        int32_t max;
    };
    std::vector<int32_t> mixed(20, 40);
    mixed.insert(mixed.end(), {80, 80, 80, 80, 80});
    const Row rows[] = {
        {"all 40 ms", std::vector<int32_t>(30, 40), 40, 30, 30},
        {"40 ms and a few 80 ms", mixed, 80, 5, 20},
        {"100 ms and more at 100", {40, 100, 150, 9999}, 100, 3, 3},
        {"a stored 0 is counted, the report goes on", {40, 0, 40, 0, 0}, 0, 3, 3},
    };
    int file = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = Write_Heat("heat" + std::to_string(++file) + ".kd3", row.intervals);
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(path));
        const Interval_histogram histogram = Form_KD3_Timing::Count_Intervals(store);
        EXPECT_EQ(histogram.Count(row.bucket), row.count);
        EXPECT_EQ(histogram.Max(), row.max);
        Form_KD3_Timing::Timing_Analyze(store, "16*16");
        Form_KD3_Timing& report = Form_KD3_Timing::Instance();
        EXPECT_TRUE(report.isVisible());
        EXPECT_EQ(report.Label_File_info->text().toStdString(),
                  std::to_string(row.intervals.size()) + " frames, 16*16 pixels");
        EXPECT_EQ(report.Label_bitness->text().toStdString(), "CPU: " + store.CPU_bitness() + " OS:" + store.OS_bitness());
        EXPECT_EQ(report.Label_filename->text().toStdString(), path);
        store.Close_File();
    }
    // The tallest bar reaches the top of the plot, on the dashed 40 ms mark.
    Form_KD3_Timing& report = Form_KD3_Timing::Instance();
    report.Command_HIde_Form_Click();
    EXPECT_FALSE(ui::Is_Loaded("Form_KD3_Timing"));
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Write_Heat("steady.kd3", std::vector<int32_t>(10, 40))));
    Form_KD3_Timing::Timing_Analyze(store, "16*16");
    const QImage& picture = Form_KD3_Timing::Instance().Timing_picture;
    EXPECT_EQ(picture.pixelColor(160, 2), QColor(0, 0, 255));
    EXPECT_EQ(picture.pixelColor(164, picture.height() / 2), QColor(192, 255, 192));
    store.Close_File();
    Form_KD3_Timing::Instance().Unload();
    // Without an open file: a beep and no report.
    cls_VideoFile_handler closed;
    Form_KD3_Timing::Timing_Analyze(closed, "");
    EXPECT_FALSE(ui::Is_Loaded("Form_KD3_Timing"));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST(Frame_arrival_monitor, Labels_plot_and_hide_button) {
    Form_HDMI_performance& monitor = Form_HDMI_performance::Instance();
    monitor.Reset_Counters();
    monitor.HDMI_event(0, 40);
    EXPECT_EQ(monitor.Label_Frames_received->text(), "1");
    EXPECT_EQ(monitor.Label_frames_Calculated->text(), "0");
    EXPECT_EQ(monitor.Label_frames_lost->text(), "1");
    // An interval higher than the plot is cut at its top edge.
    monitor.Plot_Delta(100000);
    const QImage plot = monitor.Picture_Delta_Scroll->pixmap().toImage();
    EXPECT_EQ(plot.pixelColor(plot.width() - 1, 0), QColor(0, 0, 255));
    // The close box cannot close it; the random test runs on its timer while checked.
    EXPECT_TRUE(modCloseBtn::Close_Unavailable(&monitor));
    monitor.Random_Delta_Click();
    EXPECT_TRUE(monitor.item_random_delta.Checked());
    EXPECT_TRUE(monitor.Timer_delta.isActive());
    monitor.Random_Delta_Click();
    EXPECT_FALSE(monitor.Timer_delta.isActive());
    bool hidden_by_console = false;
    monitor.Hide_HDMI_performance = [&] { hidden_by_console = true; };
    monitor.Command_Hide_Me_Click();
    EXPECT_TRUE(hidden_by_console);
    monitor.Unload();
}

TEST(Jpeg_statistics, The_five_values) {
    Form_Vantorel_HDMI_debug& window = Form_Vantorel_HDMI_debug::Instance();
    EXPECT_EQ(window.Label_version->text().toStdString().rfind("JPG performance ", 0), 0u);
    window.Show_Statistics({0, 999999, 0, 0, 0});
    EXPECT_EQ(window.Label_Average_JPG_size->text(), "0");  // no compression yet: no division by zero
    window.Show_Statistics({9000, 7000, 4, 31000, 24.5});
    EXPECT_EQ(window.Label_max_dircomp_size->text(), "9000");
    EXPECT_EQ(window.Label_min_dircomp_size->text(), "7000");
    EXPECT_EQ(window.Label_num_direct_comp->text(), "4");
    EXPECT_EQ(window.Label_Average_JPG_size->text(), "7750");
    EXPECT_EQ(window.Label_fps->text(), "24");
    window.Unload();
}

TEST(Frame_export, Writes_a_jpeg_file_for_every_field_between_the_points) {
    Module_Vantorel::AppData_Folder = Test_folder() + "/appdata";
    Module_Vantorel::Ini_file_path = Test_folder() + "/Vantorel_HDMI.ini";
    EXPECT_EQ(Frm_export::Export_File_Name("3", 12), Module_Vantorel::AppData_Folder + "/kanottest/Heat3_0012.jpg");
    EXPECT_EQ(Frm_export::Export_File_Name("3", 12345), Module_Vantorel::AppData_Folder + "/kanottest/Heat3_12345.jpg");
    // A heat text taken from the folders of the path stays inside the export folder.
    EXPECT_EQ(Frm_export::Export_File_Name("s/../b\\c", 1), Module_Vantorel::AppData_Folder + "/kanottest/Heats_.._b_c_0001.jpg");
    Frm_export& window = Frm_export::Instance();
    std::vector<int32_t> shown;
    QImage picture(32, 16, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    window.Review = {[] { return 10; }, [&](int32_t v) { shown.push_back(v); },
                     [] { return std::string("/races/NOEVENTHeat3_2016_07_20.kd3"); }, [&] { return picture; },
                     [] {}};
    const std::string folder = Module_Vantorel::AppData_Folder + "/kanottest";
    auto files = [&] {
        std::vector<std::string> names;
        if (std::filesystem::exists(folder))
            for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
        return names;
    };
    struct Row {
        const char* name;
        const char* in;
        const char* out;
        std::vector<int32_t> shown;
    };
    const Row rows[] = {
        {"only the in point: nothing", "10", "", {}},
        {"in after out: none", "12", "10", {}},
        {"in and out the same: one", "10", "10", {10}},
        {"three fields", "11", "13", {11, 12, 13}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        shown.clear();
        window.Lbl_inpoint->setText(row.in);
        window.Lbl_outpoint->setText(row.out);
        window.Cmd_export_Click();
        EXPECT_EQ(shown, row.shown);
    }
    std::vector<std::string> names = files();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Heat3_0010.jpg", "Heat3_0011.jpg", "Heat3_0012.jpg", "Heat3_0013.jpg"}));
    std::ifstream file(folder + "/Heat3_0012.jpg", std::ios::binary);
    const std::vector<uint8_t> stream((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    jpeg::Stream_info info;
    ASSERT_EQ(jpeg::Read_Header(stream.data(), stream.size(), info), 0);
    EXPECT_EQ(info.width, 32);
    EXPECT_EQ(info.height, 16);
    // The in point takes the review window's field.
    window.Lbl_inpoint->clear();
    window.Lbl_inpoint_Click();
    EXPECT_EQ(window.Lbl_inpoint->text(), "10");
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
    window.Unload();
}

TEST(Clock_calibration_window, A_tick_right_after_start_keeps_the_label) {
    Form_calibrate& window = Form_calibrate::Instance();
    window.Cmd_start_Click();
    EXPECT_TRUE(window.Timer1.isActive());
    window.Timer1_Timer();  // 0 seconds since Start: nothing to divide by
    EXPECT_EQ(window.Lbl_cycles_per_second->text(), "Label1");
    window.Cmd_get_Click();
    EXPECT_NE(window.Lbl_CycleCount->text(), "Label1");
    window.Cmd_end_Click();
    EXPECT_FALSE(window.Timer1.isActive());
    window.Unload();
}

TEST(About_box, Date_formats_and_menus) {
    const std::vector<std::string> lines = vb::Split(frmAbout::Date_Formats_Text(), "\r\n");
    ASSERT_EQ(lines.size(), 6u);
    const char* starts[] = {"date = ", "time = ", "now = ", "ISODate = ", "ISOnow = "};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(lines[i].rfind(starts[i], 0), 0u) << lines[i];
    EXPECT_EQ(lines[5], "");
    frmAbout& about = frmAbout::Instance();
    EXPECT_FALSE(about.Menu_sources.Visible());
    EXPECT_FALSE(about.menu_debug.Visible());
    about.Unload();
}

// A window's print command: without a printer its picture goes to a PDF file that the operator is told of.
TEST(Window_print, The_about_box_and_the_monitor_print_their_picture_to_a_named_pdf) {
    Module_Vantorel::AppData_Folder = Test_folder();
    frmAbout& about = frmAbout::Instance();
    Form_HDMI_performance& monitor = Form_HDMI_performance::Instance();
    const std::vector<std::function<void()>> prints = {[&] { about.item_print.Click(); },
                                                       [&] { monitor.Command_Print_Form_Click(); }};
    for (const auto& print : prints) {
        Test_dialogs::Instance().Answer(ui::vbOK);
        print();
        const std::string said = Test_dialogs::Instance().Shown_Prompts().back();
        const std::string lead = "No printer is installed: the printout is saved as ";
        ASSERT_EQ(said.rfind(lead, 0), 0u) << said;
        const std::string file = said.substr(lead.size());
        EXPECT_EQ(std::filesystem::path(file).parent_path(), std::filesystem::path(Test_folder()));
        std::ifstream in(file, std::ios::binary);
        std::string head(4, '\0');
        in.read(head.data(), 4);
        EXPECT_EQ(head, "%PDF");
        EXPECT_GT(std::filesystem::file_size(file), 1000u);  // the picture is in it
    }
    // The monitor prints the picture it holds in its hidden box.
    EXPECT_FALSE(monitor.Picture2->isVisible());
    EXPECT_EQ(monitor.Picture2->pixmap().size(), monitor.grab().size());
    about.Unload();
    monitor.Unload();
}


// A bitmap becomes a picture with its top row first, and the picture owns its pixels (the bitmap is gone,
// which the leak check would tell); a region of a window is cut from its drawing, black outside it.
TEST(Window_images, Bitmaps_and_regions_become_pictures) {
    gdi::Bitmap* bitmap = gdi::Bitmap::Create(3, 2);
    ASSERT_NE(bitmap, nullptr);
    uint8_t* top = bitmap->Line(0);
    top[0] = 255, top[1] = 0, top[2] = 0;  // blue, as blue-green-red
    uint8_t* bottom = bitmap->Line(1);
    bottom[6] = 0, bottom[7] = 0, bottom[8] = 255;  // red
    const QImage picture = Module_capture::Bitmap_To_Picture(bitmap);
    ASSERT_EQ(picture.size(), QSize(3, 2));
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(picture.pixelColor(2, 1), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(1, 0), QColor(0, 0, 0));
    EXPECT_TRUE(Module_capture::Bitmap_To_Picture(nullptr).isNull());

    QWidget window;
    window.resize(40, 30);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0, 200, 0));
    window.setPalette(palette);
    const QImage region = Module_capture::Window_Region_Image(window, true, 30, 20, 20, 20);
    ASSERT_EQ(region.size(), QSize(20, 20));
    EXPECT_EQ(region.pixelColor(0, 0), QColor(0, 200, 0));
    EXPECT_EQ(region.pixelColor(9, 9), QColor(0, 200, 0));
    EXPECT_EQ(region.pixelColor(10, 10), QColor(0, 0, 0));
    EXPECT_EQ(Module_capture::Form_Image(window).size(), QSize(40, 30));
}

}  // namespace
