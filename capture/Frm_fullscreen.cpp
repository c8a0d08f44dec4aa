#include "Frm_fullscreen.h"

#include "Form_capture_multi_file.h"

#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_overlay.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"
#include "shell/mTrace.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

using namespace Module_Vantorel;

namespace {

// Halves to the even neighbour.
int32_t Round(float v) { return static_cast<int32_t>(std::nearbyint(v)); }

void Write_Canoe(const char* key, const std::string& value) {
    Non_dependant::Write_Ini("Canoe", key, value, Ini_file_path);
}

std::string Bool_Text(bool value) { return value ? "True" : "False"; }

std::string Digits(int32_t value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, static_cast<int>(value));
    return text;
}

}  // namespace

Frm_fullscreen::Frm_fullscreen() : ui::Form("Frm_fullscreen") {
    Set_Caption("Vantorel live preview");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Picture_preview = new ui::Picture_box(this);
    Picture_preview->BackColor(0);
    layout->addWidget(Picture_preview, 0, Qt::AlignTop | Qt::AlignLeft);

    Frm_Options = new QGroupBox("Options", this);
    auto* options = new QVBoxLayout(Frm_Options);
    Chk_Show_lanemarks = new QCheckBox("Show lane markers", Frm_Options);
    Chk_Flip_Lanemarks = new QCheckBox("Flip lane markers", Frm_Options);
    Chk_Show_Goalline = new QCheckBox("Show goalline", Frm_Options);
    Chk_rotate = new QCheckBox("Rotate", Frm_Options);
    Chk_Show_lanemarks->setChecked(true);
    Chk_Show_Goalline->setChecked(true);
    Chk_rotate->setChecked(true);
    Chk_rotate->setVisible(false);
    for (QCheckBox* box : {Chk_Show_lanemarks, Chk_Flip_Lanemarks, Chk_Show_Goalline, Chk_rotate}) options->addWidget(box);

    auto* lanes = new QGroupBox("Number of lanes", Frm_Options);
    auto* lanes_layout = new QHBoxLayout(lanes);
    UpDown_Lanes = new QSpinBox(lanes);
    UpDown_Lanes->setRange(Min_Lanes, Max_Lanes);
    UpDown_Lanes->setValue(Min_Lanes);
    Lbl_num_lanes = new QLabel(lanes);
    lanes_layout->addWidget(UpDown_Lanes);
    lanes_layout->addWidget(Lbl_num_lanes);
    options->addWidget(lanes);

    auto* first = new QGroupBox("First lane", Frm_Options);
    auto* first_layout = new QHBoxLayout(first);
    Option_first_lane[0] = new QRadioButton("Lane 0", first);
    Option_first_lane[1] = new QRadioButton("Lane 1", first);
    Option_first_lane[0]->setToolTip("Indicate number of the first lane");
    Option_first_lane[1]->setChecked(true);
    first_layout->addWidget(Option_first_lane[0]);
    first_layout->addWidget(Option_first_lane[1]);
    options->addWidget(first);

    Cmd_save_options = new QPushButton("Save options", Frm_Options);
    Cmd_save_options->setToolTip("Saves options, lanes & goalline");
    Command_close = new QPushButton("Close", Frm_Options);
    Command_close->setToolTip("Closes this form");
    Command_menu = new QPushButton("Form menu", Frm_Options);
    for (QPushButton* b : {Cmd_save_options, Command_close, Command_menu}) options->addWidget(b);
    options->addStretch();
    layout->addWidget(Frm_Options, 0, Qt::AlignTop);
    layout->addStretch();

    menu_form = new QMenu("Form", this);
    item_full_preview = menu_form->addAction("Full preview");
    item_full_preview->setCheckable(true);
    item_full_preview->setShortcut(QKeySequence("Ctrl+V"));
    addAction(item_full_preview);
    connect(item_full_preview, &QAction::triggered, this, [this](bool checked) {
        vb::Trap(Is_Compiled, "item_full_preview_Click of Form Frm_fullscreen", [&] {
            if (!checked) Unload(ui::vbFormCode);
        });
    });
    connect(menu_form->addAction("Reset lane positions"), &QAction::triggered, this, [this] {
        vb::Trap(Is_Compiled, "item_reset_positions_Click of Form Frm_fullscreen", [&] {
            if (ui::MsgBox("This will reset all lane positions, are you sure?", ui::vbOKCancel | ui::vbDefaultButton2,
                           "Vantorel Settings") == ui::vbOK)
                Reset_lane_Positions();
        });
    });
    connect(menu_form->addAction("Reset Goal line"), &QAction::triggered, this, [this] {
        vb::Trap(Is_Compiled, "item_reset_goal_line_Click of Form Frm_fullscreen", [&] {
            if (ui::MsgBox("This will reset Goal line position, are you sure?", ui::vbOKCancel | ui::vbDefaultButton2,
                           "Vantorel Settings") == ui::vbOK)
                Reset_Goal_line();
        });
    });
    // Hidden items: "Zoom" only keeps its check mark, "Maximize" fits the window to the screen's height.
    item_zoom = menu_form->addAction("Zoom");
    item_zoom->setCheckable(true);
    item_zoom->setVisible(false);
    connect(menu_form->addAction("Close "), &QAction::triggered, this, [this] { Command_close_Click(); });
    QAction* maximize = menu_form->addAction("Maximize");
    maximize->setVisible(false);
    connect(maximize, &QAction::triggered, this, [this] { Form_MaxHeight(); });
    // The crop sizes are listed but do nothing; the crop is chosen in the start-up window.
    QMenu* crop = menu_form->addMenu("Crop size");
    for (const char* size : {"332*756", "332*880", "440*1080", "594*1056", "Other", "Resize_Rotate"}) crop->addAction(size);
    crop->menuAction()->setVisible(false);
    QMenu* settings = menu_form->addMenu("Settings");
    connect(settings->addAction("Give event name"), &QAction::triggered, this, [] { Program_commands::Enter_Event_name(); });
    settings->menuAction()->setVisible(false);
    // The developer's size reports; opening "Form" with Alt held shows or hides them.
    menu_debug = menu_form->addMenu("Debug");
    connect(menu_debug->addAction("Sizes"), &QAction::triggered, this, [this] {
        const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
        ui::MsgBox("Screen.Height/twips = " + std::to_string(screen ? screen->geometry().height() : 0) +
                   "\r\nFrm_fullscreen.ScaleHeight = " + std::to_string(height()) +
                   "\r\nPicture_preview.ScaleHeight = " + std::to_string(Picture_preview->height()));
    });
    connect(menu_debug->addAction("Picture_sizes"), &QAction::triggered, this, [this] {
        ui::MsgBox("Picture_preview sizes = " + std::to_string(Picture_preview->frameGeometry().height()) +
                   std::to_string(Picture_preview->contentsRect().height()) + "\r\nform.scaleheight = " +
                   std::to_string(height()) + "/" + std::to_string(frameGeometry().height()));
    });
    menu_debug->menuAction()->setVisible(false);
    connect(menu_form, &QMenu::aboutToShow, this, [this] {
        if (Non_dependant::Alt_Down()) menu_debug->menuAction()->setVisible(!menu_debug->menuAction()->isVisible());
    });

    connect(Chk_Show_lanemarks, &QCheckBox::toggled, this, [this](bool on) {
        if (Loading_Options) return;
        Show_Lanes = on;
        Preview_Graphics();
    });
    connect(Chk_Flip_Lanemarks, &QCheckBox::toggled, this, [](bool on) {
        if (!Loading_Options) Flip_Lanes = on;
    });
    connect(Chk_Show_Goalline, &QCheckBox::toggled, this, [](bool on) {
        if (!Loading_Options) Show_Goalline = on;
    });
    connect(Chk_rotate, &QCheckBox::toggled, this, [this](bool on) {
        if (Loading_Options) return;
        Rotate_Preview = on;
        Save_Options();
        Set_Preview_Size();
    });
    connect(UpDown_Lanes, &QSpinBox::editingFinished, this, [this] { UpDown_Lanes_MouseUp(); });
    connect(UpDown_Lanes, qOverload<int>(&QSpinBox::valueChanged), this, [this] { UpDown_Lanes_MouseUp(); });
    connect(Option_first_lane[0], &QRadioButton::clicked, this, [this] { Option_first_lane_Click(true); });
    connect(Option_first_lane[1], &QRadioButton::clicked, this, [this] { Option_first_lane_Click(false); });
    connect(Cmd_save_options, &QPushButton::clicked, this, [this] { Save_All(); });
    connect(Command_close, &QPushButton::clicked, this, [this] { Command_close_Click(); });
    connect(Command_menu, &QPushButton::clicked, this, [this] { menu_form->popup(QCursor::pos()); });

    auto video = [this](float x, float y) { return std::pair{x / display_scale_, y / display_scale_}; };
    Picture_preview->MouseDown = [this, video](int16_t button, int16_t, float x, float y) {
        auto [vx, vy] = video(x, y);
        Picture_MouseDown(button, vx, vy);
    };
    Picture_preview->MouseMove = [this, video](int16_t button, int16_t, float x, float y) {
        auto [vx, vy] = video(x, y);
        Picture_MouseMove(button, vx, vy);
    };
    Picture_preview->MouseUp = [this](int16_t, int16_t, float, float) { Picture_MouseUp(); };
}

void Frm_fullscreen::Form_Load() {
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "Form_Load of Form Frm_fullscreen", [&] {
        Move(0, 0);
        Set_Preview_Size();
        Load_Lanes_and_Goalline();
        // A goal line that is not inside the picture (none stored, or one of another crop) cannot be
        // taken by its handles: it starts where Reset Goal line puts it.
        const Goal_line& g = Setup_Goalline;
        const auto inside = [](int32_t v, int32_t size) { return v >= 0 && v < size; };
        if (!inside(g.x1, Display_Width) || !inside(g.x2, Display_Width) || !inside(g.y1, Display_Height) ||
            !inside(g.y2, Display_Height) || (g.x1 == g.x2 && g.y1 == g.y2))
            Reset_Goal_line();
        Load_options();
        Set_Options();
        // A stored count the control cannot show is kept within its range for this run; the stored
        // value stays as it is until the operator chooses a count.
        if (Lane_Count < Min_Lanes || Lane_Count > Max_Lanes) {
            const int16_t kept = Lane_Count < Min_Lanes ? Min_Lanes : Max_Lanes;
            Write_Event_Log("Frm_fullscreen: Lane_num " + std::to_string(Lane_Count) + " outside " +
                            std::to_string(Min_Lanes) + " to " + std::to_string(Max_Lanes) + ", shown as " +
                            std::to_string(kept));
            Lane_Count = kept;
        }
        {
            const QSignalBlocker block(UpDown_Lanes);
            UpDown_Lanes->setValue(Lane_Count);
        }
        Show_Lane_Count();
        Lane_Zero = Non_dependant::Text_To_Bool(
            Non_dependant::Read_Ini("Canoe", "Lane_Zero", Ini_file_path, "false"));
        Option_first_lane[Lane_Zero ? 0 : 1]->setChecked(true);
        Option_first_lane_Click(Lane_Zero);
        course_moved_ = false;
        course_ = Course_setup::Take();
    });
}

void Frm_fullscreen::Put_Course_For_New_Heat() {
    Frm_fullscreen& preview = Instance();
    if (preview.isVisible())
        preview.course_ = Course_setup::Take();
    else if (preview.course_)
        preview.course_->Put();
}

void Frm_fullscreen::showEvent(QShowEvent* event) {
    if (course_ && !Is_Exiting) {
        course_->Put();
        Show_Course_Controls();
        Overlay_Changed();
    }
    ui::Form::showEvent(event);
}

void Frm_fullscreen::hideEvent(QHideEvent* event) {
    if (course_ && !Is_Exiting) course_ = Course_setup::Take();
    ui::Form::hideEvent(event);
}

void Frm_fullscreen::Show_Course_Controls() {
    Set_Options();
    {
        const QSignalBlocker block(UpDown_Lanes);
        UpDown_Lanes->setValue(Lane_Count);
    }
    Show_Lane_Count();
    const QSignalBlocker block(Option_first_lane[Lane_Zero ? 0 : 1]);
    Option_first_lane[Lane_Zero ? 0 : 1]->setChecked(true);
}

void Frm_fullscreen::Form_Activate() {
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "Form_Activate of Form Frm_fullscreen", [&] {
        if (Screen_Scale_Height == 0) Form_MaxHeight();
        // Unsaved edits are kept across activations: the close question still offers to save them.
    });
}

void Frm_fullscreen::Form_QueryUnload(int16_t& cancel, int16_t unload_mode) {
    (void)cancel, (void)unload_mode;
    vb::Trap(Is_Compiled, "Form_QueryUnload of Form Frm_fullscreen", [&] {
        if (course_moved_ &&
            ui::MsgBox("Lanes or goal line has been moved. Save your changes?", ui::vbOKCancel, "Vantorel Settings") ==
                ui::vbOK) {
            Save_All();
            mTrace::Trace("*Frm_fullscreen Form_QueryUnload, end");
        }
        if (!Is_Exiting && ui::Is_Loaded("Form_capture_multi_file"))
            Form_capture_multi_file::Instance().item_preview->setChecked(false);
    });
}

void Frm_fullscreen::Handle_events() { QApplication::processEvents(); }

void Frm_fullscreen::Form_MaxHeight() {
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    const int screen_height = screen ? screen->availableGeometry().height() : 768;
    int frame = frameGeometry().height() - height();
    // Not framed yet: the window manager will give it the console's frame, which must fit on the screen too.
    if (frame == 0 && ui::Is_Loaded("Form_capture_multi_file")) {
        const Form_capture_multi_file& console = Form_capture_multi_file::Instance();
        if (console.isVisible()) frame = console.frameGeometry().height() - console.height();
    }
    resize(width(), screen_height - frame);
    Screen_Scale_Height = static_cast<int16_t>(screen_height - frame);
}

void Frm_fullscreen::Set_Preview_Size() {
    vb::Trap(Is_Compiled, "Set_Size of Form Frm_fullscreen", [&] {
        if (Screen_Scale_Height == 0) Form_MaxHeight();
        if (Display_Width > 0 && Display_Height > 0) Overlay_DIB().Create(Display_Width, Display_Height);
        Overlay_Changed();
        Form_Resize();
    });
}

void Frm_fullscreen::Form_Resize() {
    if (Display_Width <= 0 || Display_Height <= 0) return;
    display_scale_ = Screen_Scale_Height > 0 && Display_Height > Screen_Scale_Height
                         ? static_cast<float>(Screen_Scale_Height) / static_cast<float>(Display_Height)
                         : 1.0F;
    const int w = Round(static_cast<float>(Display_Width) * display_scale_);
    const int h = Round(static_cast<float>(Display_Height) * display_scale_);
    Picture_preview->setFixedSize(w, h);
    std::string caption = "Vantorel Live Preview " + std::to_string(Display_Width) + "*" + std::to_string(Display_Height);
    if (display_scale_ < 1) caption += " , displayed as: " + std::to_string(w) + "*" + std::to_string(h);
    Set_Caption(caption);
}

void Frm_fullscreen::Set_Num_lanes(int16_t n) {
    vb::Trap(Is_Compiled, "Set_Num_lanes of Form Frm_fullscreen", [&] {
        Lane_Count = n;
        Write_Canoe("Lane_num", std::to_string(n));
        Preview_Graphics();
    });
}

void Frm_fullscreen::UpDown_Lanes_MouseUp() {
    vb::Trap(Is_Compiled, "UpDown_Lanes_MouseUp of Form Frm_fullscreen", [&] {
        if (UpDown_Lanes->value() == Lane_Count) return;
        Set_Num_lanes(static_cast<int16_t>(UpDown_Lanes->value()));
        Show_Lane_Count();
    });
}

void Frm_fullscreen::Show_Lane_Count() { Lbl_num_lanes->setText(QString::number(Lane_Count)); }

void Frm_fullscreen::Option_first_lane_Click(bool lane_zero) {
    vb::Trap(Is_Compiled, "Option_first_lane_Click of Form Frm_fullscreen", [&] {
        Write_Canoe("Lane_Zero", Bool_Text(lane_zero));
        Write_Event_Log("Lane_Zero " + Bool_Text(lane_zero));
        for (int i = 0; i < 2; ++i) {
            QFont font = Option_first_lane[i]->font();
            font.setBold((i == 0) == lane_zero);
            Option_first_lane[i]->setFont(font);
        }
        Lane_Zero = Non_dependant::Text_To_Bool(Non_dependant::Read_Ini("Canoe", "Lane_Zero", Ini_file_path, "1"));
        for (size_t i = 0; i < Lane_Collection.size(); ++i)
            Lane_Collection[i].Lane_number(static_cast<int16_t>(Lane_Zero ? i : i + 1));
        Preview_Graphics();
    });
}

void Frm_fullscreen::Preview_Refresh() { Picture_preview->Refresh(); }

void Frm_fullscreen::Set_Options() {
    vb::Trap(Is_Compiled, "Set_Options of Form Frm_fullscreen", [&] {
        // The handlers run for every box that changes, as they would for the operator.
        const bool lanes = Show_Lanes, flip = Flip_Lanes, goal = Show_Goalline, rotate = Rotate_Preview;
        Chk_Show_lanemarks->setChecked(lanes);
        Chk_Flip_Lanemarks->setChecked(flip);
        Chk_Show_Goalline->setChecked(goal);
        Chk_rotate->setChecked(rotate);
    });
}

void Frm_fullscreen::Preview_Graphics() {
    vb::Trap(Is_Compiled, "Draw_Graphics of Form Frm_kanot", [&] {
        if (Overlay_DIB().Width() <= 0) return;
        Clear_Graphics();
        if (Show_Lanes) {
            Draw_Lane_Count = Lane_Count;
            Draw_lanes(Flip_Lanes);
        }
        if (Show_Goalline) {
            // The overlay's own switch belongs to the review window, which sets it again for every file.
            Draw_Goalline = true;
            Draw_Goal_line();
        }
        Blit_Overlay(Picture_preview->hDC(), vb::CLng(Picture_preview->ScaleWidth()),
                     vb::CLng(Picture_preview->ScaleHeight()));
        Preview_Refresh();
    });
}

void Frm_fullscreen::Save_Options() {
    if (Loading_Options) return;
    vb::Trap(Is_Compiled, "save_options of Form Frm_capture", [&] {
        Write_Canoe("ShowLanes", Bool_Text(Show_Lanes));
        Write_Canoe("FlipLanes", Bool_Text(Flip_Lanes));
        Write_Canoe("ShowGoalline", Bool_Text(Show_Goalline));
        Write_Canoe("Rotate", Bool_Text(Rotate_Preview));
        Write_Event_Log("Save_Options : ShowLanes " + Bool_Text(Show_Lanes) + " FlipLanes " + Bool_Text(Flip_Lanes) +
                        " ShowGoalline " + Bool_Text(Show_Goalline) + " Rotate " + Bool_Text(Rotate_Preview));
    });
}

void Frm_fullscreen::Save_GoalLine() {
    vb::Trap(Is_Compiled, "Save_GoalLine of Form frm_kanot_2", [&] {
        const Goal_line& g = Setup_Goalline;
        const std::string value = Digits(g.x1, 3) + "," + Digits(g.y1, 3) + "," + Digits(g.x2, 3) + "," + Digits(g.y2, 3);
        Write_Canoe("Goalline", value);
        Write_Event_Log("Save_Goalline: " + value);
    });
}

void Frm_fullscreen::Save_Lanes() {
    vb::Trap(Is_Compiled, "Save_Lanes of Form frm_kanot_2", [&] {
        if (Lane_Collection.empty()) return;
        std::string value;
        for (const Cls_lane& lane : Lane_Collection) value += Digits(lane.X(), 4) + Digits(lane.Y(), 4);
        Write_Canoe("Lanes", value);
        Write_Event_Log("Save_Lanes: " + value);
    });
}

void Frm_fullscreen::Save_All() {
    Save_Options();
    // The lane count shown is the one kept, also when the stored one was out of range.
    Write_Canoe("Lane_num", std::to_string(Lane_Count));
    Save_GoalLine();
    Save_Lanes();
    // Only what reached the ini file counts as saved.
    course_moved_ = false;
}

void Frm_fullscreen::Reset_lane_Positions() {
    vb::Trap(Is_Compiled, "Reset_lane_Positions of Form Frm_fullscreen", [&] {
        for (size_t i = 0; i < Lane_Collection.size(); ++i) {
            const auto p = static_cast<int32_t>(20 * (i + 1) + 10);
            Lane_Collection[i].Lane_pos_X(p);
            Lane_Collection[i].Lane_pos_Y(p);
        }
        Preview_Graphics();
        course_moved_ = true;
    });
}

void Frm_fullscreen::Reset_Goal_line() {
    vb::Trap(Is_Compiled, "Reset_Goal_line of Form Frm_fullscreen", [&] {
        Setup_Goalline.x1 = Setup_Goalline.x2 = Round(static_cast<float>(Display_Width) / 2);
        Setup_Goalline.y1 = Round(0.1F * static_cast<float>(Display_Height));
        Setup_Goalline.y2 = Round(0.9F * static_cast<float>(Display_Height));
        Overlay_Changed();
        course_moved_ = true;
    });
}

void Frm_fullscreen::Command_close_Click() {
    mTrace::Trace("*Frm_Fullscreen item_close_click");
    item_full_preview->setChecked(false);
    Run_Mode = 0;
    Unload(ui::vbFormCode);
}

void Frm_fullscreen::Picture_MouseDown(int16_t button, float x, float y) {
    vb::Trap(Is_Compiled, "Picture_large_MouseDown of Form Frm_kanot", [&] {
        const bool locked = Program_commands::Review_Lanes_Locked();
        Mouse_Down_X = Round(x);
        Mouse_Down_Y = Round(y);
        Check_within_lanes(x, y);
        if (button == 1 && Current_Lane >= 0) {
            if (locked) return;
            const Cls_lane& lane = Lane_Collection[static_cast<size_t>(Current_Lane_Index - 1)];
            Drag_Start_X = lane.X();
            Drag_Start_Y = lane.Y();
            drag_lane_ = Current_Lane;
            return;
        }
        Press_Goalline = Setup_Goalline;
        if (Show_Goalline) Check_Within_Selection_Boxes(x, y);
    });
}

void Frm_fullscreen::Picture_MouseMove(int16_t buttons, float x, float y) {
    if (buttons == 0) return;
    vb::Trap(Is_Compiled, "Picture_large_MouseMove of Form Frm_kanot", [&] {
        if (item_zoom->isChecked()) Draw_Zoomed(x, y);
        if (drag_lane_ >= 0 && Current_Lane >= 0) {
            Drag_Lane_To(x, y);
            course_moved_ = true;
        } else if ((Selected_Goal_Handle != 0 || Current_Lane >= 0) && Run_Mode == 1 && Show_Goalline) {
            Drag_Goal_End_To(x, y);
            course_moved_ = true;
        }
    });
}

void Frm_fullscreen::Picture_MouseUp() {
    drag_lane_ = -1;
    Current_Lane_Index = 0;
    Selected_Goal_Handle = 0;
    Current_Lane = -1;
}

namespace {

// A target on or beyond the picture's edge is not taken: the point keeps its last accepted place.
bool Inside(int32_t x, int32_t y) { return 0 < y && y < Display_Height && 0 < x && x < Display_Width; }

}  // namespace

void Frm_fullscreen::Drag_Lane_To(float x, float y) {
    const int32_t nx = Round(static_cast<float>(Drag_Start_X) - (static_cast<float>(Mouse_Down_X) - x));
    const int32_t ny = Round(static_cast<float>(Drag_Start_Y) - (static_cast<float>(Mouse_Down_Y) - y));
    if (!Inside(nx, ny) || !Draw_Lanemarks) return;
    Cls_lane& lane = Lane_Collection[static_cast<size_t>(Current_Lane_Index - 1)];
    lane.Lane_pos_X(nx);
    lane.Lane_pos_Y(ny);
}

void Frm_fullscreen::Drag_Goal_End_To(float x, float y) {
    const bool first = Selected_Goal_Handle == 1;
    if (Selected_Goal_Handle == 0) return;
    const int32_t from_x = first ? Press_Goalline.x1 : Press_Goalline.x2;
    const int32_t from_y = first ? Press_Goalline.y1 : Press_Goalline.y2;
    const int32_t nx = Round(static_cast<float>(from_x) - (static_cast<float>(Mouse_Down_X) - x));
    const int32_t ny = Round(static_cast<float>(from_y) - (static_cast<float>(Mouse_Down_Y) - y));
    if (!Inside(nx, ny)) return;
    (first ? Setup_Goalline.x1 : Setup_Goalline.x2) = nx;
    (first ? Setup_Goalline.y1 : Setup_Goalline.y2) = ny;
}
