// The console's window around its heat slots: the menus, the clock and frame-rate timer, and the
// showing and hiding of the live preview.
#include "Form_capture_multi_file.h"
#include "Form_select_Video.h"
#include "Form_simulated_control_box.h"
#include "Frm_fullscreen.h"
#include "cls_Capture_HDMI.h"

#include "diagnostics/Form_HDMI_performance.h"
#include "diagnostics/Form_Vantorel_HDMI_debug.h"

#include "platform/ui/Dialog_service.h"
#include "platform/ui/Key_state.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Place.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_Vantorel_startup.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"
#include "shell/mTrace.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTime>
#include <QTimer>

#include <charconv>

using namespace Module_Vantorel;

namespace {

QAction* Item(QMenu* menu, const char* caption, const char* shortcut = nullptr, bool checkable = false) {
    QAction* item = menu->addAction(caption);
    if (shortcut) item->setShortcut(QKeySequence(shortcut));
    item->setCheckable(checkable);
    return item;
}

}  // namespace

void Form_capture_multi_file::Build_Window() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* form = bar->addMenu("Form");
    item_preview = Item(form, "Video preview", "Ctrl+V", true);
    connect(item_preview, &QAction::triggered, this, [this](bool checked) {
        mTrace::Trace("item_preview_Click");
        vb::Trap(Is_Compiled, "item_preview_Click of Form Form_capture_multi_file", [&] {
            if (checked)
                do_Preview();
            else
                Frm_fullscreen::Instance().Hide();
        });
    });
    item_test_control_box = Item(form, "Test Control Box", "Ctrl+B", true);
    connect(item_test_control_box, &QAction::triggered, this, [this] { item_test_control_box_Click(); });
    item_view_last = Item(form, "View last Finished heat", "Ctrl+L");
    connect(item_view_last, &QAction::triggered, this, [this] { View_Last_Finished(); });
    connect(Item(form, "Select Video Source"), &QAction::triggered, this,
            [] { Form_select_Video::Instance().Show(ui::vbModeless); });
    connect(Item(form, "Exit", "Ctrl+X"), &QAction::triggered, this, [] {
        Program_commands::Vantorel_exit();
        mTrace::Trace("******After calling Vantorel_Exit");
    });
    QMenu* settings = bar->addMenu("Settings");
    item_allow_preview = Item(settings, "Allow preview while capturing", nullptr, true);
    connect(item_allow_preview, &QAction::triggered, this, [](bool checked) {
        if (checked)
            ui::MsgBox("Please be aware that video preview is CPU intensive,\r\nand when capturing can cause lost frames "
                       "and possible timing errors!");
    });
    QMenu* diagnostics = bar->addMenu("Diagnostics");
    QAction* item_HDMI_performance = Item(diagnostics, "HDMI Performance", "Ctrl+H", true);
    connect(item_HDMI_performance, &QAction::triggered, this, [this, item_HDMI_performance](bool checked) {
        vb::Trap(Is_Compiled, "item_HDMI_performance_Click of Form Form_capture_multi_file", [&] {
            const int32_t ten_frames = obj_Capture_HDMI_ ? obj_Capture_HDMI_->HDMI_10_mill() : 0;
            if (ten_frames <= 0) {
                item_HDMI_performance->setChecked(!checked);
                ui::MsgBox("No active HDMI source!");
                return;
            }
            if (!checked) {
                Form_HDMI_performance::Instance().Unload();
                return;
            }
            Form_HDMI_performance& monitor = Form_HDMI_performance::Instance();
            monitor.Hide_HDMI_performance = [item_HDMI_performance, &monitor] {
                item_HDMI_performance->setChecked(false);
                monitor.Hide();
            };
            // The monitor reads the device's frame count and last interval while it is shown.
            monitor.Feed_From([console = QPointer<Form_capture_multi_file>(this)]()
                                  -> std::optional<Frame_arrival_poll::Reading> {
                const cls_Capture_HDMI* device = console ? console->obj_Capture_HDMI() : nullptr;
                if (!device) return std::nullopt;
                return Frame_arrival_poll::Reading{device->HDMI_events(), device->last_Capture_mill(),
                                                   device->last_Capture_delta()};
            });
            monitor.Show_Properties(obj_Capture_HDMI_->Current_FriendlyName() + " / " +
                                    obj_Capture_HDMI_->Current_PropertyString());
            monitor.Set_Camera_fps(obj_Capture_HDMI_->Camera_fps());
            monitor.Reset_Counters();
            // Top-most before it shows: changing the flag of a shown window loses its frame's place.
            monitor.Set_Top_Most(true);
            monitor.Show(ui::vbModeless);
            monitor.HDMI_Dimensions(obj_Capture_HDMI_->HDMI_Sample_Dimensions() + ", " +
                                    std::to_string(static_cast<int64_t>(1000.0 / (ten_frames / 10.0))) + " fps");
        });
    });
    menu_specials = bar->addMenu("Specials");
    connect(Item(menu_specials, "Pause camera"), &QAction::triggered, this, [] { Program_commands::Stop_All_Captures(); });
    connect(Item(menu_specials, "Timing correction"), &QAction::triggered, this, [this] { item_timing_correction_Click(); });
    menu_specials->menuAction()->setVisible(!Is_Compiled);
    QMenu* help = bar->addMenu("Help");
    connect(Item(help, "About"), &QAction::triggered, this, [] {
        mTrace::Trace("item_about_Click");
        Program_commands::Do_about();
    });
    Build_Debug_Menu(bar);
    // Alt held while a menu title is clicked shows or hides the developer menu.
    for (QMenu* title : {form, menu_debug})
        connect(title, &QMenu::aboutToShow, this, [this] {
            if (Non_dependant::Alt_Down()) menu_debug->menuAction()->setVisible(!menu_debug->menuAction()->isVisible());
        });
    for (QAction* item : bar->actions())
        for (QAction* sub : item->menu()->actions()) addAction(sub);

    Frame_PC_time = new QGroupBox("PC time", this);
    auto* time_layout = new QHBoxLayout(Frame_PC_time);
    Label_PC_Time = new QLabel("12:37", Frame_PC_time);
    Label_PC_Time->setStyleSheet("color: rgb(0, 0, 255); font-size: 20pt; font-weight: bold");
    time_layout->addWidget(Label_PC_Time);
    Frame_camera_monitor = new QGroupBox("Camera monitor", this);
    auto* monitor_layout = new QHBoxLayout(Frame_camera_monitor);
    Picture_HDMI_arm = new ui::Picture_box(Frame_camera_monitor);
    Picture_HDMI_arm->setFixedSize(1215 / ui::Twips_Per_Pixel_X(), 1095 / ui::Twips_Per_Pixel_Y());
    monitor_layout->addWidget(Picture_HDMI_arm);
    Label_running_FPS = new QLabel("50 f/s", Picture_HDMI_arm);
    Label_running_FPS->setAlignment(Qt::AlignCenter);
    ui::Place(Label_running_FPS, 0, 0, 615, 255);
    Label_running_FPS->setVisible(false);
    Shape_circle = new QLabel(QString::fromUtf8("\u25CF"), this);
    Shape_circle->setStyleSheet("color: red");
    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    Timer1->start();
    Show_Clock();
}

void Form_capture_multi_file::Build_Debug_Menu(QMenuBar* bar) {
    menu_debug = bar->addMenu("Debug");
    connect(Item(menu_debug, "Measured FPS"), &QAction::triggered, this, [this] {
        ui::MsgBox(obj_Capture_HDMI_ ? QString::number(obj_Capture_HDMI_->Measured_fps()).toStdString() : "0");
    });
    QAction* pause = Item(menu_debug, "Pause camera", "Ctrl+P", true);
    connect(pause, &QAction::triggered, this, [this](bool checked) {
        if (!obj_Capture_HDMI_) return;
        if (checked)
            obj_Capture_HDMI_->Pause_Capture();
        else
            obj_Capture_HDMI_->UnPause_Capture();
    });
    connect(Item(menu_debug, "Direct Compress", "Ctrl+D", true), &QAction::triggered, this, [this](bool checked) {
        if (obj_Capture_HDMI_) obj_Capture_HDMI_->Direct_Compress(checked ? -1 : 0);
    });
    Item(menu_debug, "Direct write compressed");
    connect(Item(menu_debug, "Direct compress results"), &QAction::triggered, this, [this] {
        const cls_Capture_HDMI* device = obj_Capture_HDMI_.get();
        ui::MsgBox("Number Direct Compress = " + std::to_string(device ? device->Direct_Compressed_Num() : 0) +
                   "\r\nMax Direct compress size = " + std::to_string(device ? device->Max_Direct_Compressed_size() : 0));
    });
    QAction* debug_form = Item(menu_debug, "Debug_form", nullptr, true);
    connect(debug_form, &QAction::triggered, this, [this](bool checked) {
        Form_Vantorel_HDMI_debug& statistics = Form_Vantorel_HDMI_debug::Instance();
        statistics.Feed_From([console = QPointer<Form_capture_multi_file>(this)]()
                                 -> std::optional<Form_Vantorel_HDMI_debug::Statistics> {
            const cls_Capture_HDMI* device = console ? console->obj_Capture_HDMI() : nullptr;
            if (!device) return std::nullopt;
            return Form_Vantorel_HDMI_debug::Statistics{device->Max_Seen_Compressed_Size(), device->Min_Seen_Compressed_Size(),
                                                        device->Direct_Compressions(), device->Total_Compressed_Bytes(),
                                                        static_cast<double>(device->Running_Fps())};
        });
        statistics.Set_Top_Most(true);
        if (checked)
            statistics.Show(ui::vbModeless);
        else
            statistics.Hide();
    });
    connect(Item(menu_debug, "Show my size"), &QAction::triggered, this, [this] {
        const int tx = ui::Twips_Per_Pixel_X(), ty = ui::Twips_Per_Pixel_Y();
        ui::MsgBox("My size is: " + std::to_string(width()) + "*" + std::to_string(height()) +
                   "\r\nScreen.TwipsPerPixelX = " + std::to_string(tx) + " Screen.TwipsPerPixelY = " + std::to_string(ty) +
                   "\r\nScreen.Width = " + std::to_string(ui::Screen_Width_Twips()) +
                   " Screen.Height = " + std::to_string(ui::Screen_Height_Twips()));
    });
    connect(Item(menu_debug, "Playpop"), &QAction::triggered, this, [] { PlayPOP(false); });
    // Drives the simulated control box, so that every path of the box runs without a board.
    item_simulated_box = Item(menu_debug, "Simulated control box");
    connect(item_simulated_box, &QAction::triggered, this, [] { Form_simulated_control_box::Instance().Show(ui::vbModeless); });
}

void Form_capture_multi_file::Show_Clock() {
    Label_PC_Time->setText(QTime::currentTime().toString("HH:mm"));
}

void Form_capture_multi_file::Timer1_Timer() {
    Show_Clock();
    if (Is_Exiting || !obj_Capture_HDMI_) return;
    Show_Running_Fps(obj_Capture_HDMI_->Frames_Arriving() ? obj_Capture_HDMI_->Running_Fps() : int16_t{0});
}

// What the camera gives now: 0 when no frame arrives, never a rate from before it stopped.
void Form_capture_multi_file::Show_Running_Fps(int16_t fps) {
    Label_running_FPS->setStyleSheet(fps > 27 ? "color: rgb(255, 0, 0)" : "color: rgb(0, 0, 255)");
    Label_running_FPS->setText(QString::number(fps) + " f/s");
    Label_running_FPS->setVisible(true);
    Label_running_FPS->repaint();
}

void Form_capture_multi_file::do_Preview() {
    vb::Trap(Is_Compiled, "do_Preview of Form Form_capture_multi_file", [&] {
        Frm_fullscreen& preview = Frm_fullscreen::Instance();
        preview.Show(ui::vbModeless);
        // Its height is taken again now that the console's frame shows what the window manager adds.
        preview.Form_MaxHeight();
        preview.Set_Preview_Size();
        // Beside the console, so that the heats stay in sight while the course is set up.
        const QRect placed = ui::Beside(preview.frameGeometry(), frameGeometry(), ui::Available_Area_Of(frameGeometry()));
        preview.Move(placed.x() * ui::Twips_Per_Pixel_X(), placed.y() * ui::Twips_Per_Pixel_Y());
        preview.item_full_preview->setChecked(true);
        Run_Mode = 1;
    });
}

void Form_capture_multi_file::Hide_Video_preview() {
    if (item_allow_preview->isChecked()) return;
    if (ui::Is_Loaded("Frm_fullscreen")) Frm_fullscreen::Instance().Hide();
    item_preview->setChecked(false);
}

void Form_capture_multi_file::View_Last_Finished() {
    mTrace::Trace("item_view_last_Click");
    vb::Trap(Is_Compiled, "item_view_last_Click of Form Form_capture_multi_file", [&] {
        Program_commands::Stop_All_Captures();
        Non_dependant::Flush_DV_events();
        if (Last_Captured_File.empty()) {
            ui::MsgBox("No finished heat to view yet.");
            return;
        }
        Hide();
        Program_commands::Open_In_Review(Last_Captured_File);
    });
}

void Form_capture_multi_file::item_timing_correction_Click() {
    vb::Trap(Is_Compiled, "item_timing_correction_Click of Form Form_capture_multi_file", [&] {
        const std::optional<std::string> answer =
            ui::InputBox_Answer("Enter new timing correction", "Vantorel timing", std::to_string(Timing_Correction));
        // Cancel keeps the present correction; it is no error.
        if (!answer) return;
        int32_t value = 0;
        const char* end = answer->data() + answer->size();
        const auto [ptr, ec] = std::from_chars(answer->data(), end, value);
        if (ec != std::errc() || ptr != end) vb::Raise(vb::Err_Type_Mismatch, "Type mismatch");
        Timing_Correction = value;
        Non_dependant::Write_Ini("Settings", "timingcorrection", std::to_string(value), Ini_file_path);
    });
}
