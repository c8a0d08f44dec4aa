#include "Form_Vantorel_Full_Startup.h"

#include "Module_Vantorel_windows.h"
#include "capture/Form_capture_multi_file.h"
#include "capture/Form_select_Video.h"
#include "capture/Frm_fullscreen.h"
#include "diagnostics/Class_JPG_Bench.h"
#include "diagnostics/Class_disk_mem_perf.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Handler_guard.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Program_state.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "review/Frm_kanot_2.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/Non_dependant_windows.h"
#include "shell/mTrace.h"
#include "store/cls_VideoFile_handler.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <memory>
#include <optional>

using namespace Module_Vantorel;
using Module_dependant::Trace_String;
using Non_dependant::Read_Ini;
using Non_dependant::Write_Ini;

namespace {

constexpr const char* CrLf = "\r\n";
constexpr const char* Where = "Form_Vantorel_Full_Startup";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The report of the last unloaded start-up window: "Go" unloads the window while the console still
// needs the report for every heat file.
std::string left_bench_mess;
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] { left_bench_mess.clear(); });

// Width and height of a "W*H" text when both are whole numbers.
std::optional<std::pair<int32_t, int32_t>> Crop_Numbers(const std::string& capt) {
    std::vector<std::string> parts = vb::Split(capt, "*");
    if (parts.size() != 2) return std::nullopt;
    auto whole = [](const std::string& text) -> std::optional<int32_t> {
        if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        return std::stoi(text);
    };
    auto w = whole(parts[0]), h = whole(parts[1]);
    if (!w || !h) return std::nullopt;
    return std::make_pair(*w, *h);
}

}  // namespace

Form_Vantorel_Full_Startup::Form_Vantorel_Full_Startup()
    : ui::Form("Form_Vantorel_Full_Startup"),
      JPEG_Bench_mess(left_bench_mess),
      Menu_bar(new QMenuBar(this)),
      menu_form(Menu_bar, "Form"),
      item_select_source(menu_form, "Select Video Source/Property"),
      item_exit(menu_form, "Exit"),
      menu_diagnostics(Menu_bar, "Diagnostics"),
      item_JPG_bench(menu_diagnostics, "JPG_benchmark"),
      menu_help(Menu_bar, "Help"),
      item_about(menu_help, "About"),
      menu_debug(Menu_bar, "Debug"),
      item_diskperf(menu_debug, "Diskperf"),
      item_diskperfappdata(menu_debug, "Diskperf_appdata"),
      item(menu_debug, "Taskbar state"),
      item_kd3_header_test(menu_debug, "KD3_header_test") {
    Set_Caption("Vantorel Startup");
    item_select_source.On_Click([this] { item_select_source_Click(); });
    item_exit.On_Click([this] { item_exit_Click(); });
    item_JPG_bench.On_Click([this] { item_JPG_bench_Click(); });
    item_about.On_Click([this] { item_about_Click(); });
    item_diskperf.On_Click([this] { item_diskperf_Click(); });
    item_diskperfappdata.On_Click([this] { item_diskperfappdata_Click(); });
    item.On_Click([this] { item_Click(); });
    item_kd3_header_test.On_Click([this] { item_kd3_header_test_Click(); });
    QObject::connect(menu_form.Menu(), &QMenu::aboutToShow, this,
                     [this] { ui::Run_Handler([this] { menu_form_Click(); }, Where); });

    auto* layout = new QGridLayout(this);
    layout->setMenuBar(Menu_bar);
    Label1 = new QLabel("Welcome to Vantorel", this);
    QFont large = Label1->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    Label1->setFont(large);
    layout->addWidget(Label1, 0, 0, 1, 2);

    Frame_capture_options = new QGroupBox("Program  option", this);
    auto* program = new QVBoxLayout(Frame_capture_options);
    for (auto [index, caption] : {std::pair{2, "View recordings"}, std::pair{1, "Capture files"}}) {
        auto* option = new QRadioButton(caption, Frame_capture_options);
        Option_capture_type.Load(index, option);
        program->addWidget(option);
        QObject::connect(option, &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) ui::Run_Handler([this, index] { Option_capture_type_Click(static_cast<int16_t>(index)); }, Where);
        });
    }
    layout->addWidget(Frame_capture_options, 1, 0);

    Frame_camera_options = new QGroupBox("Cropping options", this);
    auto* camera = new QVBoxLayout(Frame_camera_options);
    Frame_Crop = new QGroupBox("Preset Crop", Frame_camera_options);
    auto* crop = new QVBoxLayout(Frame_Crop);
    const char* presets[] = {"332*756", "332*880", "440*1080", "400*1400", "600*1600", ""};
    for (int index = 0; index <= 5; ++index) {
        auto* option = new QRadioButton(presets[index], Frame_Crop);
        Option_crop.Load(index, option);
        crop->addWidget(option);
        QObject::connect(option, &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) ui::Run_Handler([this, index] { Option_crop_Click(static_cast<int16_t>(index)); }, Where);
        });
    }
    camera->addWidget(Frame_Crop);
    Command_custom = new ui::Command_button("Enter custom crop", Frame_camera_options);
    Command_custom->On_Click([this] { Command_custom_Click(); });
    camera->addWidget(Command_custom);
    Label_ROTATED = new QLabel("Rotated camera!", Frame_camera_options);
    Label_ROTATED->setStyleSheet("color: red; font-weight: bold");
    Label_ROTATED->hide();
    camera->addWidget(Label_ROTATED);
    layout->addWidget(Frame_camera_options, 1, 1, 3, 1);

    Frame_initial_quality = new QGroupBox("Initial JPG quality", this);
    auto* quality = new QVBoxLayout(Frame_initial_quality);
    for (auto [index, caption] : {std::pair{3, "90"}, std::pair{2, "85"}, std::pair{1, "80"}, std::pair{0, "70"}}) {
        auto* option = new QRadioButton(caption, Frame_initial_quality);
        Option_quality.Load(index, option);
        quality->addWidget(option);
    }
    Option_quality(1).setChecked(true);
    for (const auto& [index, option] : Option_quality) {
        int16_t i = static_cast<int16_t>(index);
        QObject::connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) ui::Run_Handler([this, i] { Option_quality_Click(i); }, Where);
        });
    }
    layout->addWidget(Frame_initial_quality, 2, 0);

    Command_go = new ui::Command_button("Go", this);
    Command_go->setMinimumHeight(40);
    Command_go->On_Click([this] { Command_go_Click(); });
    layout->addWidget(Command_go, 3, 0);
    Label_HDMI_test = new QLabel("HDMI test", this);
    layout->addWidget(Label_HDMI_test, 4, 0);
    Shape_circle = new QLabel(QString::fromUtf8("\u25CF"), this);
    Shape_circle->setStyleSheet("color: red");
    Shape_circle->hide();
    layout->addWidget(Shape_circle, 4, 1, Qt::AlignRight);
}

Form_Vantorel_Full_Startup::~Form_Vantorel_Full_Startup() = default;

void Form_Vantorel_Full_Startup::Form_Load() {
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "Form_Load of Form Form_Vantorel_Full_Startup", [this] {
        Trace_String("Form_Load, begin");
        Frm_kanot_2::Instance().hide();
        Full_Startup = true;
        if (!Is_Compiled) Shape_circle->show();
        else menu_debug.Set_Visible(false);
        if (Non_dependant::Taskbar_State().find("is in auto-hide") == std::string::npos)
            ui::MsgBox("Taskbar in auto-hide mode is recommended!", ui::vbOKOnly, "TaskBar mode");
        Frame_Border_X = vb::To_Int16(style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth));
        Frame_Border_Y = Frame_Border_X;
        Non_dependant::Remove_Close_Menu(this);
        Option_crop(5).setText(Q(Read_Ini("settings", "customcrop", Ini_file_path, "440*1080")));
        Load_Crop_Params();
        if (Is_Compiled) JPEG_bench_to_mess();
    });
}

void Form_Vantorel_Full_Startup::Form_Unload(int16_t&) { left_bench_mess = JPEG_Bench_mess; }

std::string Form_Vantorel_Full_Startup::Kept_JPEG_Bench_mess() {
    return ui::Is_Loaded("Form_Vantorel_Full_Startup") ? Instance().JPEG_Bench_mess : left_bench_mess;
}

void Form_Vantorel_Full_Startup::Load_Crop_Params() {
    vb::Trap(Is_Compiled, "Load_Crop_Params of Form Form_Vantorel_Full_Startup", [this] {
        // A saved index that names no option (a hand-edited or damaged ini file) would stop every start.
        auto saved_index = [](const std::string& text, int16_t fallback, const ui::Control_array<QRadioButton>& options) {
            if (!vb::Is_Numeric(text)) return fallback;
            double value = vb::CDbl(text);
            if (value != vb::Int(value) || value < -32768 || value > 32767) return fallback;
            int16_t index = static_cast<int16_t>(value);
            return options.Exists(index) ? index : fallback;
        };
        int16_t index = saved_index(Read_Ini("Settings", "cropsizeindex", Ini_file_path, "2"), 2, Option_crop);
        Option_crop(index).setChecked(true);
        std::string kind_text = Read_Ini("Canoe", "capture_type", Ini_file_path, "1");
        mTrace::Trace("Load_Crop_params, temp_type = " + kind_text);
        int16_t kind = saved_index(kind_text, 1, Option_capture_type);
        Option_capture_type_Click(kind);
        Option_capture_type(kind).setChecked(true);
    });
}

void Form_Vantorel_Full_Startup::Option_capture_type_Click(int16_t index) {
    vb::Trap(Is_Compiled, "Option_capture_type_Click of Form Form_Vantorel_Full_Startup", [&] {
        Frame_camera_options->setEnabled(index == 1);
        Write_Ini("Canoe", "capture_type", std::to_string(index), Ini_file_path);
    });
}

void Form_Vantorel_Full_Startup::Option_crop_Click(int16_t index) {
    vb::Trap(Is_Compiled, "Option_crop_Click of Form Form_Vantorel_Full_Startup", [&] {
        Set_My_Crop(Option_crop(index).text().toStdString());
        Option_crop(index).setChecked(true);
        Write_Ini("Settings", "cropsizeindex", std::to_string(index), Ini_file_path);
        Set_Capture_Rotated(false);
    });
}

void Form_Vantorel_Full_Startup::Set_Capture_Rotated(bool crt) { Form_capture_multi_file::Instance().Set_Capture_Rotate(crt); }

void Form_Vantorel_Full_Startup::Set_My_Crop(const std::string& capt) {
    vb::Trap(Is_Compiled, "Set_My_Crop of Form Form_Vantorel_Full_Startup", [&] {
        Create_obj_Capture();
        std::vector<std::string> parts = vb::Split(capt, "*");
        if (parts.size() < 2) vb::Raise(vb::Err_Subscript);
        int16_t H = vb::CInt(parts[1]);
        if (H > 1080) {
            Label_ROTATED->show();
            Capture_Rotated = true;
            Crop_Width = H;
            Crop_Height = vb::CInt(parts[0]);
        } else {
            Label_ROTATED->hide();
            Capture_Rotated = false;
            Crop_Width = vb::CInt(parts[0]);
            Crop_Height = H;
        }
        Display_Width = vb::CInt(parts[0]);
        Display_Height = H;
        Form_capture_multi_file::Instance().Set_Capture_Rotate(Capture_Rotated);
        Frm_fullscreen::Instance().Set_Display_Crop(Display_Width, Display_Height);
        Form_capture_multi_file::Instance().Set_OBJ_Capture_Crop();
    });
}

bool Form_Vantorel_Full_Startup::Is_Valid_Crop(const std::string& capt) {
    auto size = Crop_Numbers(capt);
    if (!size) return false;
    auto [w, h] = *size;
    if (w < 1 || h < 1) return false;
    return h > 1080 ? (h <= 1920 && w <= 1080) : w <= 1920;
}

void Form_Vantorel_Full_Startup::Command_custom_Click() {
    std::string answer = ui::InputBox("Enter crop size!", "Custom crop size", Option_crop(5).text().toStdString());
    if (answer.empty()) return;  // Cancel
    if (!Is_Valid_Crop(answer)) {
        ui::MsgBox("\"" + answer + "\" is no crop size. Enter the width, \"*\" and the height in whole pixels, for " +
                       "example 440*1080; the crop must fit the camera's 1920*1080 picture (a height above 1080 " +
                       "means a camera on its side).",
                   ui::vbExclamation, "Custom crop size");
        return;
    }
    Option_crop(5).setText(Q(answer));
    Write_Ini("settings", "customcrop", answer, Ini_file_path);
}

void Form_Vantorel_Full_Startup::Option_quality_Click(int16_t index) {
    Write_Ini("settings", "initial_q", Option_quality(index).text().toStdString(), Ini_file_path);
    Load_Initial_Quality();
}

void Form_Vantorel_Full_Startup::Command_go_Click() {
    vb::Trap(Is_Compiled, "Command_go_Click of Form Form_Vantorel_Full_Startup", [this] {
        mTrace::Trace("*Command_go_Click");
        if (Option_capture_type(2).isChecked()) {
            mTrace::Trace("*Command_go_Click 1");
            Stop_All_Captures();
            Frm_kanot_2& review = Frm_kanot_2::Instance();
            review.WindowState(ui::vbNormal);
            review.Show();
            Unload();
            return;
        }
        // The source dialog saves its choice while this window stays open: Go again uses it.
        m_saved_Video_prop_num = Read_Ini("capturesettings", "videoproperty", Ini_file_path, "-1");
        if (vb::CLng(m_saved_Video_prop_num) >= 0) {
            Form_capture_multi_file::Instance().Show();
            Unload();
            mTrace::Trace("*Command_go_Click, end");
        } else {
            mTrace::Trace("*Command_go_Click 2");
            mTrace::Trace("*m_saved_Video_prop_num = " + m_saved_Video_prop_num);
            Form_select_Video::Instance().Show(ui::vbModeless);
            ui::MsgBox(std::string("Please select Video Source & Property on the form shown!") + CrLf +
                       "Then press Go again.");
        }
    });
}

void Form_Vantorel_Full_Startup::JPEG_bench_to_mess() {
    std::string text = "JPG compression benchmark at: " + Non_dependant::Now_Text() + CrLf + "Computer name = " +
                       g_Computer_Name + CrLf + "CPU info: " + CPU_Info + " " + CrLf;
    auto bench = std::make_unique<Class_JPG_Bench>();
    for (int index = 0; index <= 5; ++index) {
        std::string caption = Option_crop(index).text().toStdString();
        // A custom crop that is no size, or none the camera gives (from a hand-edited ini file), would
        // stop the report or make every start wait for a huge picture.
        std::string result = "not measured";
        if (auto size = Crop_Numbers(caption); size && Is_Valid_Crop(caption))
            result = std::to_string(bench->JPG_Bench(vb::To_Int16(size->first), vb::To_Int16(size->second))) + "ms";
        text += CrLf + caption + " =  " + result;
    }
    text += std::string(CrLf) + "---Report end---";
    JPEG_Bench_mess = text;
}

// The added lines are for this showing only: the stored report goes into every new capture file.
void Form_Vantorel_Full_Startup::Show_JPEG_Bench_Report() {
    std::string shown = JPEG_Bench_mess + CrLf + CrLf + "This data is also in the Clipboard!" + CrLf +
                        "(To be pasted into report or mail...)";
    ui::Clipboard::Clear();
    ui::Clipboard::Set_Text(shown.substr(0, shown.find("---Report")));
    ui::MsgBox(shown, ui::vbOKOnly, "Vantorel HDMI JPEG compression timings");
}

void Form_Vantorel_Full_Startup::item_select_source_Click() { Form_select_Video::Instance().Show(ui::vbModeless); }
void Form_Vantorel_Full_Startup::item_exit_Click() { Vantorel_exit(); }
void Form_Vantorel_Full_Startup::item_JPG_bench_Click() { Show_JPEG_Bench_Report(); }
void Form_Vantorel_Full_Startup::item_about_Click() { Do_about(); }

void Form_Vantorel_Full_Startup::item_diskperf_Click() {
    ui::MsgBox("Diskperf = " + Class_disk_mem_perf().DiskPerf());
}

void Form_Vantorel_Full_Startup::item_diskperfappdata_Click() {
    ui::MsgBox("Diskperf appdata  = " + Class_disk_mem_perf().DiskPerf2());
}

void Form_Vantorel_Full_Startup::item_Click() { ui::MsgBox(Non_dependant::Taskbar_State(), ui::vbOKOnly, "TaskBar state"); }

void Form_Vantorel_Full_Startup::item_kd3_header_test_Click() {
    // Runs the header record's write and read paths once; the developer reads the file or the trace.
    const std::string path = Module_Vantorel::AppData_Folder + "/testfile.kd3";
    cls_VideoFile_handler store;
    Module_dependant::Kill_File(path);
    store.Set_Screen_HDC(ui::Instance_Of<Frm_kanot_2>().Picture_large->hDC());
    store.File_name(path);
    store.Create_File();
    store.Create_KD3_header();
    store.SpecApp("kanot");
    store.Close_File();
    store.Open_RGB_File();
    store.rotated(false);
    store.Write_KD3_header();
    store.Close_File();
    store.Open_File(path, 0);
    store.Event_name("test_event");
    store.Write_KD3_header();
    store.Close_File();
    store.Open_File(path, 0);
    mTrace::Trace("KD3_header_test, Event_name = ", store.Event_name());
}

void Form_Vantorel_Full_Startup::menu_form_Click() {
    if (Non_dependant::Alt_Down()) menu_debug.Set_Visible(!menu_debug.Visible());
}
