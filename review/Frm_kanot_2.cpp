#include "Frm_kanot_2.h"

#include "Module_Vantorel_course.h"
#include "Module_Vantorel_overlay.h"
#include "imaging/modAPIDraw.h"
#include "platform/fs/File_system.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/sys/Instance_lock.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Key_state.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Slider.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Program_state.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "results/Form_LCS_preview.h"
#include "results/Form_properties.h"
#include "results/Frm_results.h"
#include "results/Module_Vantorel_print.h"
#include "results/Review_window_commands.h"
#include "results/Results_export.h"
#include "results/modCloseBtn.h"
#include "shell/KDR_error_form.h"
#include "shell/Module_AppUserData.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_Vantorel_startup.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/Non_dependant_windows.h"
#include "shell/Program_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <cstring>

using namespace Module_Vantorel;
using Module_dependant::Trace_String;

namespace {

// Held from the review window's first load to the end of the process, whether the window stays loaded.
sys::Instance_lock& Program_instance_lock() {
    static sys::Instance_lock lock;
    return lock;
}
[[maybe_unused]] const bool lock_reset = vb::On_Program_Reset([] { Program_instance_lock().Release(); });

constexpr int Column_Width = 230;
constexpr int Value_Width = 90;  // the narrowest a value box is

QLabel* Value_Label(QWidget* parent, const char* tool_tip) {
    auto* label = new QLabel(parent);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setToolTip(tool_tip);
    label->setMinimumWidth(Value_Width);
    // Opaque, so a new value repaints the label alone and not the frame around it at every field step.
    label->setAutoFillBackground(true);
    return label;
}

// Key presses on the slider reach Slider_play_KeyDown before the slider's own handling; the digit and
// function keys of result entry and goal fields stop there.
class Slider_keys : public QObject {
public:
    Slider_keys(QObject* parent, std::function<bool(QKeyEvent&)> handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::KeyPress && handler_(static_cast<QKeyEvent&>(*event));
    }

private:
    std::function<bool(QKeyEvent&)> handler_;
};

ui::Picture_box* Hidden_Box(QWidget* parent) {
    auto* box = new ui::Picture_box(parent);
    box->hide();
    return box;
}

}  // namespace

Frm_kanot_2::Frm_kanot_2()
    : ui::Form("Frm_kanot_2"),
      Menu_bar(new QMenuBar(this)) {
    Install_Results_Window_Commands();
    Set_Caption("Vantorel Video Replay ");
    Build_Menus();
    setAcceptDrops(true);
    // Moves without a button reach the window's background too ("Display X,Y").
    setMouseTracking(true);

    Picture_large = new ui::Picture_box(this);
    Picture_large->BackColor(0x808080);
    Picture_large->Cls();
    Picture_large->MouseDown = [this](int16_t b, int16_t sh, float x, float y) { Picture_large_MouseDown(b, sh, x, y); };
    Picture_large->MouseMove = [this](int16_t b, int16_t sh, float x, float y) { Picture_large_MouseMove(b, sh, x, y); };
    Picture_large->MouseUp = [this](int16_t b, int16_t sh, float x, float y) { Picture_large_MouseUp(b, sh, x, y); };
    Pict_lane_result = Hidden_Box(Picture_large);
    Pict_lane_result->MouseDown = [this](int16_t b, int16_t sh, float x, float y) {
        Picture_large_MouseDown(b, sh, x + static_cast<float>(Pict_lane_result->x()),
                                y + static_cast<float>(Pict_lane_result->y()));
    };
    Lbl_DVevents = new QLabel(Picture_large);
    Lbl_DVevents->hide();
    Label_cnt = new QLabel(Picture_large);
    Label_cnt->hide();
    Picture_Controlbox = new QWidget(this);
    auto* controlbox = new QGridLayout(Picture_Controlbox);
    int state_row = 0;
    for (const char* caption : {"Video hold", "start", "first boat", "last boat"}) {
        controlbox->addWidget(new QLabel(caption, Picture_Controlbox), state_row, 0);
        controlbox->addWidget(new QLabel(QString::fromUtf8("\u25CF"), Picture_Controlbox), state_row++, 1);
    }
    Picture_Controlbox->hide();

    Frame_Controls = new QWidget(this);
    auto* column = new QVBoxLayout(Frame_Controls);
    column->setContentsMargins(0, 0, 0, 0);
    Command_resume_capture = new ui::Command_button("Resume Capture", Frame_Controls);
    Command_resume_capture->On_Click([this] { Command_resume_capture_Click(); });
    column->addWidget(Command_resume_capture);
    Lbl_recording_paused = new QLabel(Frame_Controls);
    Lbl_recording_paused->setStyleSheet("color: rgb(255, 0, 0); font-weight: bold");
    Lbl_recording_paused->setWordWrap(true);
    Lbl_recording_paused->setVisible(false);
    column->addWidget(Lbl_recording_paused);

    frm_File_data = new QGroupBox("File data", Frame_Controls);
    auto* file_data = new QGridLayout(frm_File_data);
    Shape_circle = new QLabel(QString::fromUtf8("\u25CF"), frm_File_data);
    Shape_circle->setStyleSheet("color: red");
    file_data->addWidget(Shape_circle, 0, 1, Qt::AlignRight);
    Lbl_Frame_size = Value_Label(frm_File_data, "Captured frame size(X*Y,pixels)");
    Lbl_filesize = Value_Label(frm_File_data, "Size of the current file");
    file_data->addWidget(new QLabel("Image size", frm_File_data), 1, 0);
    file_data->addWidget(Lbl_Frame_size, 1, 1);
    file_data->addWidget(new QLabel("File size", frm_File_data), 2, 0);
    file_data->addWidget(Lbl_filesize, 2, 1);
    column->addWidget(frm_File_data);

    Frm_time = new QGroupBox("Time", Frame_Controls);
    auto* time = new QGridLayout(Frm_time);
    lbl_elapsed_time = Value_Label(Frm_time, "Display absolute heat time");
    Lbl_delta_time = Value_Label(Frm_time, "Displays delta time");
    Lbl_frameno = Value_Label(Frm_time, "Displays video field number");
    Label_start_time = Value_Label(Frm_time, "");
    Label_heatID = Value_Label(Frm_time, "");
    Label_heatID->setWordWrap(true);  // a heat's name may be longer than the column is wide
    // One line of text high, whatever they show: their width is fixed when the column is arranged.
    for (QLabel* value : {lbl_elapsed_time, Lbl_delta_time, Lbl_frameno}) {
        value->setText("0");
        value->setFixedHeight(value->sizeHint().height());
        value->clear();
    }
    Lbl_delta_time->installEventFilter(this);
    int row = 0;
    for (auto [caption, label] : {std::pair{"Elapsed time", lbl_elapsed_time}, {"Delta time", Lbl_delta_time},
                                  {"Video field", Lbl_frameno}, {"Start time", Label_start_time},
                                  {"Heat ID", Label_heatID}}) {
        time->addWidget(new QLabel(caption, Frm_time), row, 0);
        time->addWidget(label, row++, 1);
    }
    column->addWidget(Frm_time);

    Frm_play = new QGroupBox("Video Scroll", Frame_Controls);
    auto* play = new QVBoxLayout(Frm_play);
    Slider_play = new ui::Slider(Qt::Horizontal, Frm_play);
    Slider_play->setTickPosition(QSlider::TicksBelow);
    Slider_play->setRange(0, 0);
    Slider_play->setFocusPolicy(Qt::StrongFocus);
    Slider_play->setAutoFillBackground(true);
    // The slider's own moves (arrows, page keys, dragging, its wheel) run the hub; the code's do not.
    QObject::connect(Slider_play, &QSlider::valueChanged, this, [this] { Slider_play_Scroll(); });
    Slider_play->installEventFilter(new Slider_keys(Slider_play, [this](QKeyEvent& event) {
        const int16_t code = ui::Key_Code_Of(event);
        const bool entry = (code >= 48 && code <= 57) || (code >= 96 && code <= 105) || (code >= 121 && code <= 123);
        if (!entry) return false;
        Slider_play_KeyDown(code, ui::Shift_Of(event.modifiers()));
        return true;
    }));
    play->addWidget(Slider_play);
    Cmd_play = new ui::Command_button("Play", Frm_play);
    Cmd_play->On_Click([this] { Cmd_play_Click(); });
    play->addWidget(Cmd_play);
    column->addWidget(Frm_play);

    Frm_options = new QGroupBox("Options", Frame_Controls);
    auto* options = new QVBoxLayout(Frm_options);
    Chk_Flip_Lanemarks = new QCheckBox("Flip lane markers", Frm_options);
    Chk_Show_Goalline = new QCheckBox("Show goalline", Frm_options);
    Chk_Show_lanemarks = new QCheckBox("Show lane markers", Frm_options);
    Chk_invert_goalline = new QCheckBox("Invert goalline", Frm_options);
    Chk_reverse_lanes = new QCheckBox("Reverse lanes", Frm_options);
    for (QCheckBox* box : {Chk_Flip_Lanemarks, Chk_Show_Goalline, Chk_Show_lanemarks, Chk_invert_goalline})
        options->addWidget(box);
    Chk_reverse_lanes->hide();
    for (QCheckBox* box : {Chk_Flip_Lanemarks, Chk_Show_Goalline, Chk_Show_lanemarks, Chk_invert_goalline})
        QObject::connect(box, &QCheckBox::clicked, this, [this, box] { Chk_Option_Click(box); });
    column->addWidget(Frm_options);
    for (QWidget* frame : {static_cast<QWidget*>(frm_File_data), static_cast<QWidget*>(Frm_options)}) {
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }

    Label_mismatch = new QLabel(Frame_Controls);
    column->addWidget(Label_mismatch);
    column->addStretch(1);
    Picture_logo = new ui::Picture_box(Frame_Controls);
    Picture_logo->hide();
    Frame_Controls->setFixedWidth(Column_Width);

    Pict_heat_time = Hidden_Box(this);
    Pict_temp = Hidden_Box(this);
    Picture_intro = Hidden_Box(this);
    Picture_intro->Click = [this] { Picture_intro->hide(); };
    Picture_intro_2 = Hidden_Box(this);

    Timer_keyb_event.Set_Interval(60000);
    Timer_keyb_event.On_Timer([this] { Timer_keyb_event_Timer(); });
    Timer_play.Set_Enabled(false);
    Timer_play.On_Timer([this] { Timer_play_Timer(); });
    // The results export reads the open heat and hands the focus back through these.
    Results_export::Open_Heat_Provider = [this] {
        return Results_export::Open_Heat{File_open() ? &Replay_File : nullptr, Label_start_time->text().toStdString()};
    };
    Results_export::Review_Set_Focus = [this] { Set_Focus(); };
}

Frm_kanot_2::~Frm_kanot_2() {
    Results_export::Open_Heat_Provider = nullptr;
    Results_export::Review_Set_Focus = nullptr;
    Module1::Unhook_Mouse_Wheel();
    Review_window_commands::Install({});
}

// ---- life cycle ----

void Frm_kanot_2::Form_Load() {
    Trace_String("Frm_kanot2 Form_Load start");
    if (Is_Exiting) return;
    // A second instance would write the first one's ini file, logs and capture files: it ends before
    // it has touched any of them.
    sys::Instance_lock& instance = Program_instance_lock();
    const std::string data_folder = Module_AppUserData::Get_AppData_Folder();
    switch (instance.Claim(data_folder + "/vantorel.lock")) {
    case sys::Instance_lock::Claim_Result::Claimed: break;
    case sys::Instance_lock::Claim_Result::Held_Elsewhere:
        ui::MsgBox("An instance of this program already running...", ui::vbOKOnly);
        std::_Exit(0);
    case sys::Instance_lock::Claim_Result::Not_Possible:
        // Not another instance: the program goes on with what it can read.
        ui::MsgBox("The data folder " + data_folder + " cannot hold the lock that keeps a second instance out (" +
                       std::strerror(instance.Error()) + "). The program goes on without it.",
                   ui::vbOKOnly);
        break;
    }
    vb::Trap(Is_Compiled, "Form_Load of Form frm_kanot_2", [this] {
        Shape_circle->setVisible(Is_Compiled);
        if (Program_Name.empty()) Vantorel_Initialization();
        Display_Width = 400;
        Display_Height = 800;
        item_dock_results.Set_Checked(true);
        for (ui::Menu_item* menu : {&menu_Extras, &menu_debug, &menu_specials}) menu->Set_Visible(!Is_Compiled);
        Drag_Lane = -1;
        Rotated_View = true;
        Set_Picture_Size();
        Arrange_Layout(Rotated_View);
        Replay_Start_Tick = sys::timeGetTime();
        Trace_String("*Frm_Kanot, Form_load_2 start *");
        Trace_String("Vantorel " + Program_Version);
        if (Is_Exiting) {
            Trace_String("*Frm_Kanot_2, Form_load start ending = true");
            return;
        }
        Update_Form_Caption();
        Vantorel_Initialization();
        Trace_String("*before Check_Printer");
        Check_Printer();
        Trace_String("*after Check_Printer");
        Trace_String("*after Printers_Num");
        Set_Page_Box();
        Trace_String("*before Load Form_LCS_preview");
        Form_LCS_preview::Instance();
        Trace_String("*after Load Form_LCS_preview");
        KDR_error_form::Instance().KDR_Error_Initialize();
        if (Module_dependant::FileExists(Ini_file_path)) {
            Trace_String("INI file found");
        } else {
            Trace_String("INI file not found");
            if (ui::MsgBox("INI file not found! Create? (No exits program)", ui::vbYesNo) == ui::vbNo) std::_Exit(0);
            fs::Write_File_Atomic(Ini_file_path, {});
        }
        int32_t left = 0, top = 0, width = Width(), height = Height();
        Module_dependant::Get_Form_Pos(Name(), left, top, width, height);
        Move(left, top);
        Transparent_Color = 128 | 128 << 8 | 128 << 16;
        Pict_heat_time->FontName("Times New Roman");
        // Sized for the largest text it renders (48 points); its black is left out when it is copied.
        Pict_heat_time->FontSize(48);
        Pict_heat_time->BackColor(0);
        Pict_heat_time->resize(vb::CInt(Pict_heat_time->TextWidth("-11.22.33")),
                               vb::CInt(0.85 * Pict_heat_time->TextHeight("-11.22.33")));
        Get_stored_length();
        Setup_Goalline = {100, 100, 505, 100};
        Load_Event_name();
        Load_Lanes_and_Goalline();
        Update_Form_Caption();
        Trace_String("*Calling Arrange_Frames");
        Version_String = Program_Version + (Is_Compiled ? std::string(".EXE cd: ") + Build_Date : " IDE");
        Slider_play->setToolTip("");
        Make_Print_Footer();
        Load_logo();
        Picture_large->Refresh();
        modCloseBtn::Remove_Close_Item(this, 0);
        QStringList arguments = QCoreApplication::arguments().mid(1);
        arguments.removeAll("--development");
        Command_Line.clear();
        for (const QString& argument : arguments)
            Command_Line += (Command_Line.empty() ? "\"" : " \"") + argument.toStdString() + "\"";
        Trace_String("*Command_dollar = " + Command_Line);
        // Emptied before the command line's heat opens, which fills them.
        Lbl_Frame_size->clear();
        Label_heatID->clear();
        if (!Command_Line.empty()) Start_Association();
        Last_Captured_File = Non_dependant::Read_Ini("Canoe", "last_captured_file", Ini_file_path, "");
        Slider_play->setTickInterval(3);
        Chk_Show_lanemarks->setText("Show lane\r\nmarkers");
        Trace_String("*Frm_kanot, Frm_load end");
    });
}

void Frm_kanot_2::Form_Activate() {
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "Form_Activate of Form frm_kanot_2", [this] {
        item_timing_calculation.Set_Visible(!Is_Compiled);
        if (Screen_Scale_Height == 0) {
            const int non_client = frameGeometry().height() - height();
            const int screen = this->screen() ? this->screen()->availableGeometry().height() : 0;
            Resize_Self(width(), screen - non_client);
            Screen_Scale_Height = vb::To_Int16(height() - Menu_Height());
            Form_Resize();
        }
        Set_Focus();
        Review_Activated = true;
    });
}

void Frm_kanot_2::Form_QueryUnload(int16_t&, int16_t) {
    vb::Trap(Is_Compiled, "Form_QueryUnload of Form frm_kanot_2", [this] {
        Trace_String("*Frm_kanot_2 Form_QueryUnload, begin");
        Timer_keyb_event.Set_Enabled(false);
        Timer_play.Set_Enabled(false);
        Replay_File.Close_File();
        update();
        Module_dependant::Store_Form_Pos(Name(), Left(), Top(), Width(), Height());
        Module1::Unhook_Mouse_Wheel();
        Trace_String("*Frm_kanot_2 Form_QueryUnload, end");
    });
}

void Frm_kanot_2::showEvent(QShowEvent* event) {
    ui::Form::showEvent(event);
    // Without a window manager a shown window is never activated; the first activation's work (the
    // window as tall as the screen, the picture fitted to it) must not wait for one.
    if (!Review_Activated)
        QTimer::singleShot(0, this, [this] {
            if (!Review_Activated && isVisible()) Form_Activate();
        });
}

// ---- layout ----

int Frm_kanot_2::Menu_Height() const { return Menu_bar->sizeHint().height(); }

void Frm_kanot_2::Resize_Self(int width, int height) {
    if (size() == QSize(width, height)) return;
    Skip_Next_Resize = true;
    resize(width, height);
    // Delivered now, or at the next show when hidden: either way the flag must not outlive this change.
    Skip_Next_Resize = false;
}

void Frm_kanot_2::Place_Picture(const Review_geometry::Picture_fit& fit) {
    View_Scale = fit.View_Scale;
    Picture_large->setGeometry(2, Menu_Height() + 2, fit.Width, fit.Height);
}

void Frm_kanot_2::Do_Resize() { Form_Resize(); }

void Frm_kanot_2::Set_Picture_Size() {
    vb::Trap(Is_Compiled, "Set_Picture_Size of Form Frm_kanot_2", [this] {
        Trace_String("*Set_Picture_Size, begin");
        if (Video_Width == 0) {
            Video_Width = Crop_Width;
            Video_Height = Crop_Height;
        }
        if (Screen_Scale_Height == 0) return;
        const int32_t available = Screen_Scale_Height - 4;
        Place_Picture(Review_geometry::Fit_Picture(Display_Width, Display_Height, X_Stretch, available));
        if (Display_Height > available) {
            const int non_client = frameGeometry().height() - height();
            const int screen = this->screen() ? this->screen()->availableGeometry().height() : height();
            Resize_Self(width(), screen - non_client);
        } else {
            Resize_Self(width(), Picture_large->geometry().bottom() + 1 + 2);
        }
        Arrange_Frames();
        Trace_String("*Set_Picture_Size, end");
    });
}

void Frm_kanot_2::Form_Resize() {
    Trace_String("*Form_Resize Frm_kanot_2, begin");
    if (Is_Exiting) return;
    if (Skip_Next_Resize) {
        Skip_Next_Resize = false;
        return;
    }
    vb::Trap(Is_Compiled, "form_resize of Form Frm_kanot_2", [this] {
        if (WindowState() == ui::vbMinimized) {
            if (ui::Is_Loaded("Frm_results") && Frm_results::Instance().Visible()) Frm_results::Instance().Hide();
            if (Taskbar_Hidden) Non_dependant::Taskbar_Visible(true);
        }
        Dock_Results();
        const int32_t available = height() - Menu_Height() - 4;
        Place_Picture(Review_geometry::Fit_Picture(Display_Width, Display_Height, X_Stretch, available));
        Arrange_Frames();
        if (File_open()) {
            Slider_play_Scroll();
            if (File_open()) {
                Picture_large->FontName("Microsoft Sans Serif");
                Picture_large->FontSize(48);
                gdi::SetTextColor(Picture_large->hDC(), 0xFF0000);
                Picture_large->CurrentX(0.3 * Picture_large->ScaleWidth());
                Picture_large->CurrentY(0.9 * Picture_large->ScaleHeight());
                Picture_large->Print(std::to_string(static_cast<int>(vb::Int(View_Scale * 100))) + "%");
            }
        }
        Trace_String("*Form_Resize Frm_kanot_2, end");
    });
}

void Frm_kanot_2::Arrange_Layout(int16_t) {
    vb::Trap(Is_Compiled, "Arrange_Layout of Form Frm_kanot_2", [this] { Arrange_Frames(); });
}

void Frm_kanot_2::Arrange_Frames() {
    vb::Trap(Is_Compiled, "Arrange_Frames of Form frm_kanot_2", [this] {
        Trace_String("*Arrange_Frames, begin");
        const int picture_right = Picture_large->geometry().right() + 1 + 2;
        Frame_Controls->move(picture_right + 10, Menu_Height());
        const int logo_height = Picture_logo->isVisibleTo(Frame_Controls) ? Picture_logo->height() + 5 : 0;
        // The values that change at every field step keep the size the column gives them, so a new text
        // repaints the label alone instead of laying the column out again.
        const std::initializer_list<QLabel*> field_values{lbl_elapsed_time, Lbl_delta_time, Lbl_frameno};
        for (QLabel* value : field_values) {
            value->setMinimumWidth(Value_Width);
            value->setMaximumWidth(QWIDGETSIZE_MAX);
        }
        Frame_Controls->resize(Column_Width, Frame_Controls->sizeHint().height() + logo_height);
        Frame_Controls->layout()->activate();
        for (QLabel* value : field_values) value->setFixedWidth(value->width());
        // A small picture must not make the window shorter than its controls (within the screen).
        const int non_client = frameGeometry().height() - height();
        const int screen = this->screen() ? this->screen()->availableGeometry().height() - non_client : INT_MAX;
        setMinimumHeight(std::min(Frame_Controls->geometry().bottom() + 1, screen));
        Resize_Self(Frame_Controls->geometry().right() + 1 + 20, height());
        Menu_bar->setGeometry(0, 0, width(), Menu_Height());
        Dock_Results();
        Picture_logo->move(frm_File_data->x(), Frm_options->geometry().bottom() + 1 + 5);
        Trace_String("*Arrange_Frames, end");
    });
}

void Frm_kanot_2::Dock_Results() {
    Frm_results& results = Frm_results::Instance();
    if (WindowState() == ui::vbNormal && isVisible()) {
        results.Show();
        if (item_dock_results.Checked())
            results.Move(Left() + Width() + 2 * Frame_Border_X * ui::Twips_Per_Pixel_X(), Top());
    }
    Check_Screen_Height();
    if (!isVisible()) results.Hide();
}

void Frm_kanot_2::Create_obj_Graphics() {
    vb::Trap(Is_Compiled, "arrange_picture of Form Frm_kanot_2", [] {
        if (Display_Width > 0) Overlay_DIB().Create(Display_Width, Display_Height);
        Overlay_Changed();
    });
}

void Frm_kanot_2::Update_Form_Caption() {
    vb::Trap(Is_Compiled, "Update_form_caption of Form frm_kanot_2", [this] {
        std::string caption = "Vantorel Video Replay ";
        if (File_open()) {
            // A name given without a folder (the command line's) is its own file name.
            const std::string name = Replay_File.File_name();
            caption += name.find('/') == std::string::npos ? name : Non_dependant::ParsePath(name, 0);
        }
        Set_Caption(caption);
    });
}

void Frm_kanot_2::Set_Focus() {
    try {
        if (Non_dependant::IsLoaded("frm_kanot_2") && Review_Activated) SliderPlay_Focus();
    } catch (...) {
    }
}

void Frm_kanot_2::SliderPlay_Focus() {
    try {
        if (!Slider_play->isVisible()) return;
        // The keys reach the slider only in the active window: a press in the results window, or its
        // showing, has made that one active.
        activateWindow();
        Slider_play->setFocus();
    } catch (...) {
    }
}

bool Frm_kanot_2::Within_Zoom(float X, float Y) {
    bool within = false;
    vb::Trap(Is_Compiled, "Within_Zoom of Form frm_kanot_2",
             [&] { within = Review_geometry::Within(Zoom_Rect, X, Y); });
    return within;
}

int32_t Frm_kanot_2::Run_time() { return sys::Tick_Diff(Non_dependant::Get_Mill_Time(), Start_Tick_Window); }

void Frm_kanot_2::EnableFrame(QWidget* InFrame, bool Flag) {
    if (InFrame) InFrame->setEnabled(Flag);
}

Review_geometry::Point Frm_kanot_2::Video_Point(float x, float y) const {
    return Review_geometry::Window_To_Video({x, y}, View_Scale, X_Stretch);
}

// ---- events ----

void Frm_kanot_2::Start_Association() {
    const int32_t length = vb::Len(Command_Line);
    if (length < 2) return;
    std::string path = vb::Mid(Command_Line, 2, length - 2);
    if (Module_dependant::FileExists(path)) Handle_Open_File(path);
}

void Frm_kanot_2::MouseWheel(int32_t&, int32_t& Rotation, int32_t&, int32_t&) {
    if (focusWidget() != Slider_play || Rotation == 0) return;
    Set_Slider_Value(Slider_play->value() + (Rotation < 0 ? 1 : -1));
    Slider_play_Scroll();
}

void Frm_kanot_2::Form_OLEDragDrop(const std::vector<std::string>& files) {
    if (!files.empty()) Handle_Open_File(files.front());
}

void Frm_kanot_2::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void Frm_kanot_2::dropEvent(QDropEvent* event) {
    std::vector<std::string> files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
    Form_OLEDragDrop(files);
}

// A release on the window's background runs the resize procedure; the click that follows gives the
// slider the focus.
void Frm_kanot_2::mouseReleaseEvent(QMouseEvent* event) {
    ui::Form::mouseReleaseEvent(event);
    Form_Resize();
    SliderPlay_Focus();
}

bool Frm_kanot_2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Lbl_delta_time && event->type() == QEvent::MouseButtonRelease) Lbl_delta_time_Click();
    if ((watched == frm_File_data || watched == Frm_options) && event->type() == QEvent::MouseMove) unsetCursor();
    return ui::Form::eventFilter(watched, event);
}

void Frm_kanot_2::mouseMoveEvent(QMouseEvent* event) {
    ui::Form::mouseMoveEvent(event);
    const Qt::MouseButtons held = event->buttons();
    const auto button = static_cast<int16_t>((held & Qt::LeftButton ? 1 : 0) | (held & Qt::RightButton ? 2 : 0) |
                                             (held & Qt::MiddleButton ? 4 : 0));
    Form_MouseMove(button, ui::Shift_Of(event->modifiers()),
                   static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void Frm_kanot_2::Form_MouseMove(int16_t, int16_t, float X, float Y) {
    if (item_disp_xy.Checked())
        Set_Caption("X,Y = " + vb::CStr(static_cast<double>(X)) + "," + vb::CStr(static_cast<double>(Y)));
    else
        unsetCursor();
}

void Frm_kanot_2::wait_timer_Timer() {
    vb::Trap(Is_Compiled, "wait_timer_Timer of Form frm_kanot_2", [this] {
        Lbl_DVevents->setText(QString::number(int64_t{DV_Events_Count} - Previous_DV_Events_Count));
        Previous_DV_Events_Count = DV_Events_Count;
    });
}

std::string Frm_kanot_2::GetFormattedTime(int32_t Milliseconds, int32_t Digits) {
    std::string text;
    vb::Trap(Is_Compiled, "GetFormattedTime of Form frm_kanot_2", [&] {
        text = vb::Trim(vb::Left(Field_time::Interval_Text(static_cast<uint32_t>(Milliseconds), Digits), 64));
    });
    return text;
}

void Frm_kanot_2::Timer_keyb_event_Timer() {
    vb::Trap(Is_Compiled, "timer_keyb of Form frm_kanot_2", [] { Non_dependant::Press_Shift(); });
}

// ---- the course and the overlay ----

void Frm_kanot_2::Load_Lanes_from_File(Course_header& header) { Load_Lanes_From_Header(header); }

void Frm_kanot_2::Draw_Graphics(bool Refresh, bool StartCam) {
    vb::Trap(Is_Compiled, "Draw_Graphics", [&] {
        Clear_Graphics();
        if (!StartCam) {
            Draw_Goal_line();
            if (File_open()) Draw_lanes(Chk_Flip_Lanemarks->isChecked());
            if (File_open() && item_auto_detect.Checked()) Draw_Extra_line();
        }
        if (Replay_File.Lap_Count() > 0) Overlay_Lap(Replay_File.Lap_Count());
        Blit_Graphics();
        if (!Zoom_Mode) Refresh = true;
        if (Refresh) P_Large_refresh();
    });
}

void Frm_kanot_2::Blit_Graphics() {
    cDIBSection& overlay = Overlay_DIB();
    if (!overlay.hDC()) return;
    Blit_Overlay(Picture_large->hDC(), vb::CLng(Picture_large->ScaleWidth()), vb::CLng(Picture_large->ScaleHeight()));
}

// Rendered in the hidden text box, then copied into the overlay with its black background left out. The
// place is a fraction of the picture's size taken as an overlay position.
void Frm_kanot_2::Overlay_Text(const std::string& text, double x_fraction, float size, int32_t colour) {
    if (!Overlay_DIB().hDC()) return;
    const int16_t x = vb::CInt(Picture_large->ScaleWidth() * x_fraction);
    const int16_t y = vb::CInt(Picture_large->ScaleHeight() * 0.92);
    Non_dependant::Clear_Picture(*Pict_heat_time);
    Pict_heat_time->FontSize(size);
    gdi::SetTextColor(Pict_heat_time->hDC(), static_cast<gdi::COLORREF>(colour));
    Pict_heat_time->Print(text);
    Pict_heat_time->Refresh();
    gdi::TransparentBlt(Overlay_DIB().hDC(), x, y, vb::CLng(Pict_heat_time->ScaleWidth()),
                        vb::CLng(Pict_heat_time->ScaleHeight()), Pict_heat_time->hDC(), 0, 0,
                        vb::CLng(Pict_heat_time->ScaleWidth()), vb::CLng(Pict_heat_time->ScaleHeight()), 0);
    Overlay_Changed();
}

void Frm_kanot_2::Overlay_Lap(int16_t Lap) {
    vb::Trap(Is_Compiled, "Overlay_Lap", [&] {
        if (Lap != 0) Overlay_Text("Lap: " + std::to_string(Lap), 0.75, 36, 0x00FF00);
    });
}

void Frm_kanot_2::Overlay_Time(const std::string& Disp_time) {
    vb::Trap(Is_Compiled, "Overlay_Time", [&] {
        if (Disp_time.empty()) return;
        const QColor c = lbl_elapsed_time->palette().color(lbl_elapsed_time->foregroundRole());
        Overlay_Text(Disp_time, 0.3, 48, c.red() | c.green() << 8 | c.blue() << 16);
    });
}

void Frm_kanot_2::Flag_Record(const std::string& Msg, int32_t Mess_Color) {
    vb::Trap(Is_Compiled, "Flag_Record", [&] {
        Picture_large->Picture(QImage());
        Picture_large->Refresh();
        Picture_large->FontName("Arial");
        Picture_large->FontSize(72);
        Picture_large->CurrentX(5);
        Picture_large->CurrentY(20);
        gdi::SetTextColor(Picture_large->hDC(), static_cast<gdi::COLORREF>(Mess_Color));
        Picture_large->Print(Msg);
        Picture_large->Refresh();
    });
}

void Frm_kanot_2::Draw_waiting_arm(ui::Picture_box& Box) {
    vb::Trap(Is_Compiled, "Draw_waiting_arm", [&] {
        if (++Waiting_Arm_Angle > 360) Waiting_Arm_Angle = 0;
        const double angle = Waiting_Arm_Angle / 6.28318;
        const int32_t cx = static_cast<int32_t>(Box.ScaleWidth()) / 2;
        const int32_t cy = static_cast<int32_t>(Box.ScaleHeight()) / 2;
        Box.Cls();
        modAPIDraw::Draw_Line_With_Pen(Box.hDC(), {cx, cy},
                                       {vb::CLng(cx + cx * std::cos(angle)), vb::CLng(cy + cy * std::sin(angle))}, 0,
                                       1, 0xFF0000);
        Box.Refresh();
    });
}

void Frm_kanot_2::item_reset_goalline_Click() {
    Setup_Goalline = {100, 100, 400, 400};
    Draw_Graphics(true, false);
}

void Frm_kanot_2::item_lane_line_length_Click() {
    std::string answer =
        ui::InputBox("Please give desired Lane line length!", "Lane line length", std::to_string(Lane_Line_Length));
    if (answer.empty()) return;
    const std::string trimmed = vb::Trim(answer);
    const double value = vb::Is_Numeric(trimmed) ? vb::CDbl(trimmed) : -1;
    if (value < 0 || value > 32767) {
        ui::MsgBox("\"" + answer + "\" is no lane line length. Enter a whole number of pixels from 0 to 32767.",
                   ui::vbExclamation, "Lane line length");
        return;
    }
    Lane_Line_Length = vb::CInt(value);
    Non_dependant::Write_Ini("setting", "Lanelinelength", std::to_string(Lane_Line_Length), Ini_file_path);
}

// ---- menu commands ----

void Frm_kanot_2::Set_Timing_Framecount() {
    item_timing_framecount.Set_Checked(true);
    item_timing_frametimestamp.Set_Checked(false);
    Non_dependant::Write_Ini("Settings", "timing", "framecount", Ini_file_path);
}

void Frm_kanot_2::Set_Timing_Frametimestamp() {
    item_timing_framecount.Set_Checked(false);
    item_timing_frametimestamp.Set_Checked(true);
    Non_dependant::Write_Ini("Settings", "timing", "frametimestamp", Ini_file_path);
}

void Frm_kanot_2::item_open_Click() {
    Trace_String("*FK2 item_open_click");
    Handle_Open_File("");
}

void Frm_kanot_2::item_exit_Click() {
    vb::Trap(Is_Compiled, "item_exit_click of Form Frm_kanot_2", [] { Program_commands::Vantorel_exit(); });
}

// The click has turned the item's check mark already.
void Frm_kanot_2::item_dock_results_Click() {
    Non_dependant::Write_Ini("settings", "resultsdocked", Non_dependant::Bool_To_Text(item_dock_results.Checked()),
                             Ini_file_path);
    Form_Resize();
}

void Frm_kanot_2::item_handle_mousewheel_Click() {
    if (item_handle_mousewheel.Checked()) {
        Module1::Hook_Mouse_Wheel(this, this);
        ui::MsgBox("Mousewheel events now handled by Vantorel!");
    } else {
        Module1::Unhook_Mouse_Wheel();
        ui::MsgBox("Mousewheel events now handled by Windows!");
    }
}

void Frm_kanot_2::item_file_properties_Click() {
    vb::Trap(Is_Compiled, "item_file_properties_Click of Form frm_kanot_2", [this] {
        if (!File_open()) {
            ui::MsgBox("No file open!");
            return;
        }
        Form_properties& properties = Form_properties::Instance();
        properties.Label_filename->setText(QString::fromStdString(Replay_File.File_name()));
        properties.Text_properties->setPlainText(QString::fromStdString(Replay_File.KD3_Properties()));
        properties.Show();
        properties.Command_OK->setFocus();
    });
}

void Frm_kanot_2::Command_resume_capture_Click() { item_video_capture_Click(); }

void Frm_kanot_2::Show_Recording_Paused(const std::string& notice) {
    Lbl_recording_paused->setText(QString::fromStdString(notice));
    Lbl_recording_paused->setVisible(!notice.empty());
}
