#include "Form_capture_multi_file.h"
#include "Frm_fullscreen.h"
#include "review/Module_Vantorel_overlay.h"

#include "Form_select_Video.h"
#include "Heat_recorder.h"
#include "cls_Capture_HDMI.h"
#include "platform/controlbox/Interface_kit.h"
#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Place.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_overlay.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_Vantorel_startup.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/Non_dependant_windows.h"
#include "shell/Program_commands.h"
#include "shell/mTrace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

using namespace Module_Vantorel;

Form_capture_multi_file::Form_capture_multi_file()
    : ui::Form("Form_capture_multi_file"), recorder_(std::make_unique<Heat_recorder>()) {
    mTrace::Trace("*Form_capture_multi_file Form_Load, begin");
    Set_Caption("Vantorel Capture multi-file");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* folder_frame = new QGroupBox("Capture folder", this);
    auto* folder_layout = new QHBoxLayout(folder_frame);
    Lbl_capture_folder = new QLabel(folder_frame);
    Lbl_capture_folder->setToolTip("Where to store captured files");
    // A click chooses the folder: it looks like a field one can click, not like plain text.
    Lbl_capture_folder->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Lbl_capture_folder->setAutoFillBackground(true);
    Lbl_capture_folder->setBackgroundRole(QPalette::Base);
    Lbl_capture_folder->setCursor(Qt::PointingHandCursor);
    Lbl_capture_folder->installEventFilter(this);
    folder_layout->addWidget(Lbl_capture_folder);
    Frame_event_name = new QGroupBox("Event name", this);
    auto* event_layout = new QHBoxLayout(Frame_event_name);
    Text_Event_name = new QLineEdit(Frame_event_name);
    // Typed into only when clicked: the first keys at the console's start are not an event name.
    Text_Event_name->setFocusPolicy(Qt::ClickFocus);
    event_layout->addWidget(Text_Event_name);
    connect(Text_Event_name, &QLineEdit::editingFinished, this, [this] { save_Event(); });
    top->addWidget(folder_frame, 2);
    top->addWidget(Frame_event_name, 1);
    Build_Window();
    top->addWidget(Frame_PC_time);
    top->addWidget(Frame_camera_monitor);
    top->addWidget(Shape_circle, 0, Qt::AlignTop);
    layout->addLayout(top);
    auto* heats = new QHBoxLayout;
    for (int i = 0; i < Slots; ++i) {
        Build_Slot(i);
        heats->addWidget(Frame_capture[static_cast<size_t>(i)]);
    }
    layout->addLayout(heats);
    auto* capture_row = new QHBoxLayout;
    Command_Capture = new QPushButton("Capture", this);
    // Held down, it records: only the operator's own press and release count (eventFilter), never a key,
    // a lost focus or a window that opens meanwhile. It shows pressed while its segment is open.
    Command_Capture->setCheckable(true);
    Command_Capture->setFocusPolicy(Qt::NoFocus);
    Command_Capture->installEventFilter(this);
    Label_num_written = new QLabel("123", Picture_HDMI_arm);
    Label_num_written->setAlignment(Qt::AlignCenter);
    ui::Place(Label_num_written, 360, 720, 495, 255);
    Label_num_written->setVisible(false);
    Label_paused = new QLabel(this);
    Label_paused->setStyleSheet("color: rgb(255, 0, 0); font-weight: bold");
    // A long notice wraps in the room there is; it never widens the console.
    Label_paused->setWordWrap(true);
    Label_paused->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label_paused->setVisible(false);
    capture_row->addWidget(Command_Capture);
    capture_row->addWidget(Label_paused, 1);
    layout->addLayout(capture_row);
    Build_Control_Box_Panel();
    layout->addWidget(Label_box_message);
    layout->addWidget(Frame_Control_box);
    Load_capture_folder();
    Load_Event_name();
    for (int16_t i = 0; i < Slots; ++i) Update_File_Size(i);
    Set_Active_heat(0);
    // The console is where lane marks and the goal line are set up.
    Draw_Lanemarks = true;
    Draw_Goalline = true;
    if (!Is_Exiting) Open_Control_Box();
}

void Form_capture_multi_file::Form_Load() {
    vb::Trap(Is_Compiled, "Form_Load of Form Form_capture_multi_file", [this] {
        menu_debug->menuAction()->setVisible(!Is_Compiled);
        Shape_circle->setVisible(!Is_Compiled);
        if (Is_Exiting) return;
        Non_dependant::Remove_Close_Menu(this);
        // Left and top only: the console keeps the size its controls ask for.
        int32_t left = 0, top = 0, width = 0, height = 0;
        Module_dependant::Get_Form_Pos(Name(), left, top, width, height);
        Move(left, top);
    });
}

void Form_capture_multi_file::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    ui::Form::closeEvent(event);
}

void Form_capture_multi_file::Build_Slot(int i) {
    const size_t s = static_cast<size_t>(i);
    const auto slot = static_cast<int16_t>(i);
    auto* frame = new QGroupBox(QString("Heat ") + QChar('A' + i), this);
    Frame_capture[s] = frame;
    frame->setObjectName("Frame_capture");
    auto* grid = new QGridLayout(frame);
    auto add_caption = [&](const char* text, int row) {
        auto* caption = new QLabel(text, frame);
        grid->addWidget(caption, row, 0);
        return caption;
    };
    Lbl_heat_ID[s] = add_caption("Heat ID", 0);
    Text_Heat_ID[s] = new QLineEdit(frame);
    Text_Heat_ID[s]->setToolTip("Enter Heat ID");
    grid->addWidget(Text_Heat_ID[s], 0, 1);
    auto button = [&](const char* text, const char* tip, int row, int column) {
        auto* b = new QPushButton(text, frame);
        b->setToolTip(tip);
        grid->addWidget(b, row, column);
        return b;
    };
    Command_newFile[s] = button("New file", "Initiate a new file for this heat", 1, 0);
    Command_start[s] = button("Start", "Manual start for this heat", 1, 1);
    Command_abort[s] = button("Abort", "Manual abort for this heat", 2, 0);
    Command_Finish[s] = button("Finish", "Indicate this heat finished", 2, 1);
    // A press selects the slot before its operation runs.
    for (QPushButton* b : {Command_newFile[s], Command_start[s], Command_abort[s]})
        connect(b, &QPushButton::pressed, this, [this, slot] { Set_Active_heat(slot); });
    connect(Command_newFile[s], &QPushButton::clicked, this, [this, slot] { Command_newFile_Click(slot); });
    connect(Command_start[s], &QPushButton::clicked, this, [this, slot] {
        mTrace::Trace("****Command_start_Click Index = ", slot);
        Handle_Start_Event(slot);
    });
    connect(Command_abort[s], &QPushButton::clicked, this, [this, slot] {
        mTrace::Trace("Command_abort_Click Index = ", slot);
        Handle_Abort(slot);
    });
    connect(Command_Finish[s], &QPushButton::clicked, this, [this, slot] { Command_Finish_Click(slot); });
    auto* active = new QGroupBox("Active", frame);
    Frame_active[s] = active;
    // A press on the marks is theirs alone, never the slot frame's.
    active->setAttribute(Qt::WA_NoMousePropagation);
    auto* active_layout = new QHBoxLayout(active);
    Label_active_capture[s] = new QLabel("Capture", active);
    Label_active_capture[s]->setToolTip("When orange, signifies file is active for video capture");
    Label_active_start[s] = new QLabel("Start", active);
    Label_active_start[s]->setToolTip("When red, signifies file active for start pulse");
    for (QLabel* l : {Label_active_capture[s], Label_active_start[s]}) {
        l->setAutoFillBackground(true);
        active_layout->addWidget(l);
    }
    // The marks keep their room whatever the file name below asks for.
    active->setMinimumSize(active->sizeHint());
    grid->addWidget(active, 3, 0, 1, 2);
    auto field = [&](QLabel*& caption_label, const char* caption, const char* tip, int row) {
        caption_label = add_caption(caption, row);
        auto* l = new QLabel(frame);
        l->setToolTip(tip);
        grid->addWidget(l, row, 1);
        return l;
    };
    Label_file_size[s] = field(Lbl_file_size[s], "File size", "Indicates captured file size", 4);
    Label_heat_time[s] = field(Lbl_elapsed_time[s], "Elapsed time", "Elapsed heat time", 5);
    Label_start_time[s] = field(Lbl_start_time[s], "Start time", "Heat start time", 6);
    Label_filename[s] = field(Lbl_file_name[s], "File name", "The generated file name for this heat", 7);
    // The file name is taken by a click, not a press.
    Label_filename[s]->setAttribute(Qt::WA_NoMousePropagation);
    for (QObject* control : {static_cast<QObject*>(frame), static_cast<QObject*>(Text_Heat_ID[s]),
                             static_cast<QObject*>(Label_active_capture[s]), static_cast<QObject*>(Label_active_start[s]),
                             static_cast<QObject*>(Label_filename[s])})
        control->installEventFilter(this);
    Label_filename[s]->setWordWrap(true);
    // A long path must not widen the slot, and its wrapped lines get room of their own instead of
    // squeezing the rows above.
    Label_filename[s]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    Label_filename[s]->setMinimumHeight(4 * Label_filename[s]->fontMetrics().lineSpacing());
    frame->setAutoFillBackground(true);
}

Form_capture_multi_file::~Form_capture_multi_file() {
    disconnect(Text_Event_name, nullptr, this, nullptr);
    obj_phidget_.reset();
    // The worker must not reach the recorder once it is gone.
    if (obj_Capture_HDMI_) obj_Capture_HDMI_->HDMIreceived(nullptr);
    obj_Capture_HDMI_.reset();
}

size_t Form_capture_multi_file::Index(int16_t slot) {
    if (slot < 0 || slot >= Slots) vb::Raise(vb::Err_Subscript);
    return static_cast<size_t>(slot);
}

void Form_capture_multi_file::Form_Activate() {
    vb::Trap(Is_Compiled, "Form_Activate of Form Form_capture_multi_file", [this] {
        if (Is_Exiting) return;
        Check_Capture_Held();
        if (!m_Recovery_Done) Restore_Offer();
        // Back from the review window (which stops the camera): the camera runs again, its crop and JPEG
        // limit kept, so a heat started before goes on.
        if (choice_set_up_ && obj_Capture_HDMI_ && obj_Capture_HDMI_->SourcePropFound() &&
            !obj_Capture_HDMI_->Is_Running()) {
            Start_Camera();
            return;
        }
        if (choice_set_up_ || vb::CLng(m_saved_Video_prop_num) < 0) return;
        choice_set_up_ = true;
        if (Select_Saved_Source()) {
            Start_Camera();
        } else {
            mTrace::Trace("*obj_Capture_HDMI.SourcePropFound = False");
        }
    });
}

std::string Form_capture_multi_file::Started_Heat() const {
    for (int16_t i = 0; i < Slots; ++i)
        if (slot_[Index(i)].state == Slot_state::Started) return Frame_capture[Index(i)]->title().toStdString();
    if (recorder_->Segment_Open())
        return Frame_capture[Index(static_cast<int16_t>(recorder_->Segment_Slot()))]->title().toStdString();
    return {};
}

bool Form_capture_multi_file::Refuse_While_Started(const std::string& change) {
    const std::string heat = Started_Heat();
    if (heat.empty()) return false;
    mTrace::Trace("*" + change + " refused: " + heat + " is started");
    ui::MsgBox("The " + change + " cannot change while " + heat +
                   " is started or capturing: its frame count would start again. Finish or abort the heat, "
                   "then make the choice again.",
               ui::vbOKOnly);
    return true;
}

void Form_capture_multi_file::Set_Source_and_Property() {
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "Set_Source_and_Property of Form Form_capture_multi_file", [this] {
        if (Refuse_While_Started("video source")) return;
        choice_set_up_ = isVisible();
        if (Select_Saved_Source() && choice_set_up_) Start_Camera();
    });
}

bool Form_capture_multi_file::Select_Saved_Source() {
    if (!obj_Capture_HDMI_) Set_OBJ_Capture_Crop();
    if (obj_Capture_HDMI_->Set_Source_from_Saved()) {
        Set_OBJ_Capture_Crop();
        return true;
    }
    if (ui::Is_Loaded("Form_select_Video") && Form_select_Video::Instance().m_was_Cancelled)
        ui::MsgBox("No video source selected!", ui::vbOKOnly);
    else
        Form_select_Video::Instance().Show(ui::vbModeless);
    return false;
}

void Form_capture_multi_file::Set_OBJ_Capture_Crop() {
    vb::Trap(Is_Compiled, "Set_OBJ_Capture_Crop of Form Form_capture_multi_file", [this] {
        if (obj_Capture_HDMI_ && !Started_Heat().empty()) {
            // The same crop again is no change: a started heat keeps its JPEG limit, and nothing is said.
            const bool same = Crop_Width == obj_Capture_HDMI_->Crop_Width() &&
                              Crop_Height == obj_Capture_HDMI_->Crop_Height() &&
                              m_Capture_Rotate == obj_Capture_HDMI_->Capture_Rotate_RGB();
            if (same || Refuse_While_Started("crop")) return;
        }
        if (!obj_Capture_HDMI_) {
            obj_Capture_HDMI_ = std::make_unique<cls_Capture_HDMI>();
            obj_Capture_HDMI_->ID_string("obj_Capture_HDMI");
            cls_Capture_HDMI* device = obj_Capture_HDMI_.get();
            obj_Capture_HDMI_->HDMIreceived([this, device] { Frame_arrived_on_worker(*device); });
        }
        obj_Capture_HDMI_->Capture_Rotate_RGB(m_Capture_Rotate);
        obj_Capture_HDMI_->set_HDMI_Crop(Crop_Width, Crop_Height);
        obj_Capture_HDMI_->Do_CROP(true);
    });
}

void Form_capture_multi_file::Start_Camera() {
    vb::Trap(Is_Compiled, "Start_Cam of Form Form_capture_multi_file", [this] {
        Start_Capture();
        Capture_Running = true;
        // Whatever started it (an activation, the source dialog): from now on started records may be
        // heats of this session, so the restore offer is over.
        m_Recovery_Done = true;
        mTrace::Trace("*Form_capture_multi_file Start_Camera, end");
    });
}

void Form_capture_multi_file::Start_Capture() {
    vb::Trap(Is_Compiled, "Start_capture of Form Frm_capture", [this] {
        mTrace::Trace("*Form_capture_multi_file Start_Capture, begin");
        obj_Capture_HDMI_->Do_log_time(true);
        obj_Capture_HDMI_->Post_linear(false);
        obj_Capture_HDMI_->MaxFrames(1);
        obj_Capture_HDMI_->Capture_Run();
        mTrace::Trace("*obj_Capture_HDMI.Last_Error =" + obj_Capture_HDMI_->Last_Error());
    });
}

void Form_capture_multi_file::Stop_Capture() {
    if (obj_Capture_HDMI_) obj_Capture_HDMI_->Stop_Capture();
}

void Form_capture_multi_file::Terminate_obj_Capture_HDMI() {
    vb::Trap(Is_Compiled, "Terminate_obj_Capture_HDMI of Form Form_capture_multi_file", [this] {
        Module_dependant::Trace_String("*Terminate_obj_Capture_HDMI, begin");
        if (!obj_Capture_HDMI_) return;
        Handle_Capture_End();
        Stop_Capture();
        obj_Capture_HDMI_->UnAdvise();
        obj_Capture_HDMI_.reset();
        Module_dependant::Trace_String("*Terminate_obj_Capture_HDMI, end");
    });
}

void Form_capture_multi_file::Form_QueryUnload(int16_t&, int16_t) {
    vb::Trap(Is_Compiled, "Form_QueryUnload of Form Form_capture_multi_file", [this] {
        mTrace::Trace("*Form_QueryUnload Form_capture_multi_file, begin");
        Handle_Capture_End();
        if (obj_Capture_HDMI_) obj_Capture_HDMI_->HDMIreceived(nullptr);
        obj_Capture_HDMI_.reset();
        mTrace::Trace("*Form_QueryUnload obj_Capture_HDMI = Nothing");
        obj_phidget_.reset();
        mTrace::Trace("*Form_QueryUnload obj_phidget = Nothing");
        Timer1->stop();
        Module_dependant::Store_Form_Pos(Name(), Left(), Top(), 0, 0);
        mTrace::Trace("*Form_QueryUnload Form_capture_multi_file, end");
    });
}

// ---- frames ----

// On the capture worker: the recorder appends the frame; the window hears of it once it is free.
void Form_capture_multi_file::Frame_arrived_on_worker(cls_Capture_HDMI& device) {
    recorder_->Frame(device);
    if (frame_pending_.exchange(true)) return;
    QMetaObject::invokeMethod(this, [this] {
        frame_pending_ = false;
        HDMI_event();
    }, Qt::QueuedConnection);
}

void Form_capture_multi_file::HDMI_event() {
    if (Is_Exiting) return;
    // While the review window is shown no frame is recorded; an open segment says so and counts them.
    bool review_shown = false;
    try {
        review_shown = Program_commands::Review_Visible();
    } catch (const VbError&) {
    }
    recorder_->Pause(review_shown);
    Check_Capture_Held();
    // A disk that takes no more frames is told while the picture and the heat times go on (a frozen
    // preview would look like a stopped camera), and stays told until frames are written again.
    if (recorder_->Write_Failed())
        write_notice_ = QString("Heat %1: the disk takes no more frames: %2 frames not recorded. Free space, then "
                                "press Capture again.")
                            .arg(QChar('A' + recorder_->Segment_Slot()))
                            .arg(recorder_->Not_Recorded());
    else if (recorder_->Segment_Open() && recorder_->Frames_Written() > 0)
        write_notice_.clear();
    if (write_notice_.isEmpty() && recorder_->Holding_Back()) {
        Show_Paused(QString("Recording paused while the review window is shown: %1 frames not recorded")
                        .arg(recorder_->Held_Back_Frames()));
        return;
    }
    Show_Paused(write_notice_);
    if (review_shown) return;
    if (++frame_counter_ > 6) {
        frame_counter_ = 0;
        Update_Heat_Times();
    }
    if (recorder_->Segment_Open()) Label_num_written->setText(QString::number(recorder_->Frames_Written()));
    if (obj_Capture_HDMI_) obj_Capture_HDMI_->Draw_Running_Arm_2(*Picture_HDMI_arm, recorder_->Segment_Open() ? 255 : 0xFF0000);
    // Every second frame, and only while the preview is shown: recording runs on the worker regardless.
    if (++preview_counter_ % 2 == 0) Paint_Preview();
}

void Form_capture_multi_file::Paint_Preview() {
    if (!ui::Is_Loaded("Frm_fullscreen") || !obj_Capture_HDMI_) return;
    Frm_fullscreen& preview = Frm_fullscreen::Instance();
    if (!preview.Visible()) return;
    obj_Capture_HDMI_->Draw_Cropped_DIB(*preview.Picture_preview);
    preview.Preview_Graphics();
}

void Form_capture_multi_file::Update_Heat_Times() {
    for (int16_t i = 0; i < Slots; ++i) {
        const Slot& slot = slot_[Index(i)];
        if (slot.state != Slot_state::Started && slot.state != Slot_state::Restored) continue;
        // A restored heat has no tick of its start, only its time of day.
        const int32_t elapsed = slot.state == Slot_state::Restored
                                    ? Non_dependant::Get_Local_Mill_Time() - slot.start_local
                                    : sys::Tick_Diff(sys::timeGetTime(), slot.start_tick);
        Label_heat_time[Index(i)]->setText(QString::fromStdString(Non_dependant::Display_Mill_Time(elapsed, false)));
    }
}

// Escape aborts the start slot, asking once per press.
void Form_capture_multi_file::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        mTrace::Trace("*Key = 27, abort");
        Handle_Abort(m_Start_Heat);
        return;
    }
    ui::Form::keyPressEvent(event);
}

void Form_capture_multi_file::Command_Capture_Mouse(QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return;
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        mTrace::Trace("****Command_Capture_MouseDown");
        capture_held_ = true;
        Handle_Capture_Start(m_Capture_Heat);
    } else if (capture_held_) {
        mTrace::Trace("*Command_Capture_MouseUp");
        capture_held_ = false;
        Handle_Capture_End();
    }
    Command_Capture->setChecked(recorder_->Segment_Open());
}

// A release while a window of this program was in front (a question, an error) reaches no button: once
// the console is in use again, a button no longer held ends the segment it held.
void Form_capture_multi_file::Check_Capture_Held() {
    if (!capture_held_ || (QGuiApplication::mouseButtons() & Qt::LeftButton)) return;
    capture_held_ = false;
    Handle_Capture_End();
    Command_Capture->setChecked(recorder_->Segment_Open());
}

bool Form_capture_multi_file::Slot_Selection_Event(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool click = event->type() == QEvent::MouseButtonRelease;
    if (!press && !click) return false;
    for (int16_t s = 0; s < Slots; ++s) {
        const size_t i = Index(s);
        if (press && (watched == Frame_capture[i] || watched == Text_Heat_ID[i])) {
            Set_Active_heat(s);
            return true;
        }
        if (click && (watched == Label_active_capture[i] || watched == Label_filename[i])) {
            Set_Active_heat(s);
            return true;
        }
        if (click && watched == Label_active_start[i]) {
            if (static_cast<QMouseEvent*>(event)->modifiers() & Qt::ControlModifier) Set_Active_Heat_start(s);
            return true;
        }
    }
    return false;
}

bool Form_capture_multi_file::eventFilter(QObject* watched, QEvent* event) {
    // The press goes on to the control (the heat ID box takes the focus).
    if (Slot_Selection_Event(watched, event)) return ui::Form::eventFilter(watched, event);
    if (watched == Command_Capture) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            Command_Capture_Mouse(event);
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return true;
        default:
            break;
        }
    }
    if (watched == Picture_LED && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        Picture_LED_Press(event->type() == QEvent::MouseButtonPress);
        return true;
    }
    if (watched == Lbl_capture_folder && event->type() == QEvent::MouseButtonRelease) {
        vb::Trap(Is_Compiled, "Lbl_capture_folder_Click of Form Form_capture_multi_file", [this] {
            std::optional<std::string> chosen = ui::Dialogs().Browse_Folder("Capture folder", Capture_Folders[0]);
            if (!chosen || chosen->empty()) return;
            Capture_Folders[0] = *chosen;
            Non_dependant::Write_Ini("Canoe", "save_folder1", *chosen, Ini_file_path);
            Load_capture_folder();
        });
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}

// ---- heat operations ----

std::string Form_capture_multi_file::File_Name_Safe(const std::string& text) {
    return fs::Portable_File_Name(text, "-,");
}

void Form_capture_multi_file::Command_newFile_Click(int16_t s) {
    Heat_operation operation(*this);
    vb::Trap(true, "Cmd_New_file_Click of Form Frm_capture", [&] {
        mTrace::Trace("****Command_newFile_Click Index = ", s);
        const size_t i = Index(s);
        Slot& slot = slot_[i];
        if (obj_Capture_HDMI_) {
            Capture_Property =
                obj_Capture_HDMI_->Current_FriendlyName() + " / " + obj_Capture_HDMI_->Current_PropertyString();
            const int32_t ten = obj_Capture_HDMI_->HDMI_10_mill();
            // No ten-frame time yet: the format's rate.
            Actual_Sample = obj_Capture_HDMI_->HDMI_Sample_Dimensions() + ", " +
                            (ten > 0   ? std::to_string(static_cast<int64_t>(1000 / (ten / 10.0)))
                             : obj_Capture_HDMI_->Format_fps() > 0 ? std::to_string(vb::CLng(obj_Capture_HDMI_->Format_fps()))
                                                                 : std::string("n/a")) +
                            " fps";
        }
        const std::string folder = Lbl_capture_folder->text().toStdString();
        if (!Module_dependant::FolderExists(folder)) {
            ui::MsgBox("Can't find Capture Folder!", ui::vbOKOnly);
            return;
        }
        const bool holds_file = slot.state == Slot_state::Initiated || slot.state == Slot_state::Started ||
                                slot.state == Slot_state::Aborted || slot.state == Slot_state::Restored;
        if (holds_file && Module_dependant::FileExists(slot.path)) {
            ui::MsgBox("File already initated. Click Finish If you want to initiate a new file!", ui::vbOKOnly);
            return;
        }
        const std::string heat_id = Text_Heat_ID[i]->text().toStdString();
        if (heat_id.empty()) {
            ui::MsgBox("No Heat ID given!", ui::vbOKOnly);
            return;
        }
        // The course the operator set up and saw in the live preview.
        Frm_fullscreen::Put_Course_For_New_Heat();
        const std::string name =
            folder + "/" + File_Name_Safe(Event_Name + "Heat" + heat_id + " " + Non_dependant::Now_Text());
        // Asked before the recorder is locked: it may load the start-up window, which sets the crop, and a
        // new crop waits for the frame in hand, which may be waiting for the recorder.
        std::string bench_report;
        try {
            bench_report = Program_commands::JPEG_Bench_mess();
        } catch (const VbError&) {
        }
        std::string refusal;
        std::string refused_path;
        {
            auto lock = recorder_->Lock();
            cls_VideoFile_handler& store = recorder_->Store(s);
            if (store.File_open()) store.Close_File();
            // The same heat ID again within the same second (after a Finish, or in another slot) names a
            // recording that exists: the new heat gets a name of its own, and that recording stays whole.
            std::string path = name + ".kd3";
            store.File_name(path);
            for (int copy = 2; !store.Create_New_File(); ++copy) {
                path = name + "_" + std::to_string(copy) + ".kd3";
                store.File_name(path);
            }
            if (store.File_num() == 0) return;
            try {
                store.Cropped_X(Crop_Width);
                store.Cropped_Y(Crop_Height);
                // The measured rate once there is one, else the format's: never an empty measurement. With
                // no camera yet the heat's Start sets it.
                const float rate = obj_Capture_HDMI_ ? obj_Capture_HDMI_->Camera_fps() : 0.0f;
                store.RGB_interlaced(rate <= 45);
                store.RGB_Rotated(Capture_Rotated);
                store.Initial_Quality(JPG_Start_Quality);
                store.Create_KD3_header();
                store.Start_Lane_Zero(Lane_Zero);
                store.Capture_Info(obj_Capture_HDMI_ ? obj_Capture_HDMI_->Current_FriendlyName() + " " +
                                                           obj_Capture_HDMI_->Current_PropertyString()
                                                     : std::string());
                store.Event_name(Event_Name);
                store.Show_goalline(Show_Goalline);
                store.Set_Goal_Line(Setup_Goalline.x1, Setup_Goalline.y1, Setup_Goalline.x2, Setup_Goalline.y2);
                store.Lanes_flipped(Flip_Lanes);
                store.Num_Lanes(Lane_Count);
                store.Lanes_locked(true);
                store.Lanes_Visible(Show_Lanes);
                store.File_comment1(bench_report);
                for (int16_t lane = 1; lane <= Lane_Count && lane <= static_cast<int16_t>(Lane_Collection.size()); ++lane)
                    store.File_Lane_Pos(lane, Lane_Collection[static_cast<size_t>(lane - 1)].X(),
                                        Lane_Collection[static_cast<size_t>(lane - 1)].Y());
                store.Heat_ID(1, heat_id);
                store.Clear_Heats();
                store.Write_KD3_header();
                store.Close_File();
            } catch (const VbError& e) {
                // A disk that takes the name but not the header (full, or turned read-only): no heat is
                // made, and the empty file it would leave on the stick goes.
                refusal = e.Description();
                store.Close_File();
                std::error_code ignored;
                std::filesystem::remove(path, ignored);
            }
            if (refusal.empty()) {
                Label_filename[i]->setText(QString::fromStdString(path));
                slot.path = path;
                Last_Captured_File = path;
            } else {
                refused_path = path;
            }
        }
        if (!refusal.empty()) {
            const std::string heat = Frame_capture[i]->title().toStdString();
            Write_Event_Log(" " + heat + ": no capture file could be made: " + refusal + " " + refused_path);
            ui::MsgBox(heat + ": no capture file could be made: " + refusal +
                           ".\r\n\r\nFree space on the disk of the capture folder (or make the folder writable "
                           "again), then press New file again.\r\n" + refused_path,
                       ui::vbExclamation);
            return;
        }
        slot.state = Slot_state::Initiated;
        Hide_Video_preview();
        slot.start_tick = 0;
        slot.start_local = 0;
        Paint_State(static_cast<int>(i));
        Update_File_Size(s);
        const QString zero = QString::fromStdString(Non_dependant::Display_Mill_Time(0, false));
        Label_heat_time[i]->setText(zero);
        Label_start_time[i]->setText(zero);
        Init_Files_Count = static_cast<int16_t>(Init_Files_Count + 1);
    });
}

Form_capture_multi_file::Start_signal Form_capture_multi_file::Take_Start_Signal() {
    const int32_t local = Non_dependant::Get_Local_Mill_Time();
    const Heat_recorder::Start_values camera = recorder_->Take_Start_Values();
    return {local, camera.tick, camera.events};
}

void Form_capture_multi_file::Handle_Start_Event(int16_t s) {
    // Taken at the signal, before anything else can delay them.
    Handle_Start_Event(s, Take_Start_Signal());
}

void Form_capture_multi_file::Handle_Start_Event(int16_t s, const Start_signal& signal) {
    Heat_operation operation(*this);
    vb::Trap(Is_Compiled, "Handle_Start_Event of Form Frm_capture_multi_file", [&] {
        mTrace::Trace("******Handle_Start_Event index = ", s);
        const size_t i = Index(s);
        Slot& slot = slot_[i];
        if (slot.state != Slot_state::Initiated && slot.state != Slot_state::Started &&
            slot.state != Slot_state::Aborted && slot.state != Slot_state::Restored) {
            mTrace::Trace("*m_File_Initiated(index) = False");
            QApplication::beep();
            ui::MsgBox("File not initiated!", ui::vbOKOnly);
            return;
        }
        const int32_t start_local = signal.local;
        const Heat_recorder::Start_values start{signal.tick, signal.events};
        const std::string caption = Frame_capture[i]->title().toStdString();
        if (slot.state == Slot_state::Started) {
            QApplication::beep();
            ui::MsgBox(caption + " already started! (m1)", ui::vbOKOnly);
            return;
        }
        // Refusals below change nothing and stop no other heat. The start tick is a frame of this moment,
        // never one from before the camera stopped.
        if (!obj_Capture_HDMI_ || obj_Capture_HDMI_->Max_Seen_Compressed_Size() == 0 || start.events == 0 ||
            !obj_Capture_HDMI_->Frames_Arriving()) {
            ui::MsgBox(caption + " was not started: no frames arrive from the camera. Wait for the camera's "
                                 "picture (the frame rate beside Capture), then start again.",
                       ui::vbOKOnly);
            return;
        }
        if (!Module_dependant::FileExists(slot.path)) {
            mTrace::Trace("*Error! Can't find file!");
            ui::MsgBox("Error! Can't find file!", ui::vbOKOnly);
            return;
        }
        mTrace::Trace("*Handle_Start_Event_2 Index = ", s);
        auto lock = recorder_->Lock();
        cls_VideoFile_handler& store = recorder_->Store(s);
        // A segment open on this slot keeps its file open; otherwise the file is opened here.
        const bool segment_here = recorder_->Segment_Open() && recorder_->Segment_Slot() == s;
        if (!segment_here) {
            if (store.File_open()) store.Close_File();
            store.File_name(slot.path);
            store.Open_RGB_File();
            if (!store.File_open()) return;
        }
        if (store.Start_local_Mill_Time(1) > 0 || store.Start_PC_Mill_time(1) > 0) {
            if (!segment_here) store.Close_File();
            lock.unlock();
            mTrace::Trace("*Heat already started! (m2)");
            ui::MsgBox("Heat already started! (m2)", ui::vbOKOnly);
            return;
        }
        lock.unlock();
        PlayPOP(true);
        obj_Capture_HDMI_->Lock_Max_Direct_Compressed_size();
        lock.lock();
        slot.start_tick = start.tick;
        slot.start_local = start_local;
        slot.state = Slot_state::Started;
        Hide_Video_preview();
        store.Start_local_mill(1, start_local);
        store.Start_HDMI_events(1, start.events);
        store.Start_PC_mill(1, start.tick);
        recorder_->Started(s);
        // A file made before the camera's rate was known takes it now, while it holds no frame.
        const float rate = obj_Capture_HDMI_->Camera_fps();
        if (store.Num_Frames() == 0 && rate > 0) store.Set_RGB_interlaced(rate <= 45);
        // A file keeps the record length of its first start, so all its records have one length.
        if (store.RGB_Compressed_buffer_Size() <= 0)
            store.Set_JPG_Maxsize(obj_Capture_HDMI_->JPG_Compression_Threshold());
        store.RGB_Comp_Threshold(std::to_string(obj_Capture_HDMI_->JPG_Compression_Threshold()));
        store.RGB_Max_Seen_size(std::to_string(obj_Capture_HDMI_->Max_Seen_Compressed_Size()));
        Label_start_time[i]->setText(
            QString::fromStdString(Non_dependant::Display_Mill_Time(store.Start_local_Mill_Time(1), false)));
        store.Write_KD3_header();
        if (!segment_here) store.Close_File();
        const int32_t buffer = store.RGB_Compressed_buffer_Size();
        lock.unlock();
        Set_Active_heat(s);
        Paint_State(static_cast<int>(i));
        Non_dependant::Write_Ini("active_heats", "Heat" + std::to_string(s),
                                 slot.path + "," + "started," + std::to_string(start_local) + "," +
                                     Text_Heat_ID[i]->text().toStdString() + "," + std::to_string(buffer),
                                 Ini_file_path);
        Started_Heats_Count = static_cast<int16_t>(Started_Heats_Count + 1);
        mTrace::Trace("******Handle_Start_Event,end index = )", s);
    });
}

void Form_capture_multi_file::Handle_Capture_Start(int16_t s) {
    Heat_operation operation(*this);
    vb::Trap(Is_Compiled, "Handle_Capture_Start of Form Frm_capture", [&] {
        mTrace::Trace("*Handle_Capture_Start, begin");
        const size_t i = Index(s);
        const Slot& slot = slot_[i];
        if (slot.state == Slot_state::Empty || slot.state == Slot_state::Finished) {
            mTrace::Trace("*No file initiated!");
            QApplication::beep();
            ui::MsgBox("No file initiated!", ui::vbOKOnly);
            return;
        }
        if (slot.state == Slot_state::Initiated) {
            mTrace::Trace("*No file initiated!");
            ui::MsgBox("Heat not started!", ui::vbOKOnly);
            return;
        }
        // One segment at a time: a second start while one is open is ignored.
        if (recorder_->Segment_Open()) return;
        bool opened = false;
        {
            auto lock = recorder_->Lock();
            opened = recorder_->Open_Segment(s, slot.path);
        }
        if (!opened) {
            ui::MsgBox("The capture file of " + Frame_capture[i]->title().toStdString() +
                           " cannot be opened for recording: " + slot.path,
                       ui::vbOKOnly);
            return;
        }
        Label_num_written->setText("0");
        Label_num_written->setVisible(true);
        if (obj_Capture_HDMI_) obj_Capture_HDMI_->Post_linear(true);
        Captured_Segments_Count = static_cast<int16_t>(Captured_Segments_Count + 1);
        mTrace::Trace("*Handle_Capture_Start, end");
    });
}

void Form_capture_multi_file::Handle_Capture_End() {
    Heat_operation operation(*this);
    vb::Trap(Is_Compiled, "Handle_Capture_End of Form Frm_capture_multi_file", [&] {
        mTrace::Trace("*Handle_Capture_End, begin");
        auto lock = recorder_->Lock();
        if (!recorder_->Segment_Open()) return;
        const Heat_recorder::Segment segment = recorder_->End_Segment();
        cls_VideoFile_handler& store = recorder_->Store(static_cast<int16_t>(segment.slot));
        std::string statistics_error;
        try {
            store.JPG_Sizes(segment.min_jpg, segment.max_jpg);
            store.Add_Segment_num();
            // The header holds at most 32767: a heat that reduces more keeps that count.
            const int32_t room = std::min(32767 - int32_t{store.Header().JPG_Reduced_Qual_num()}, 32767);
            store.Add_Reduced_Quality_num(static_cast<int16_t>(std::clamp(segment.reductions, 0, room)));
            if (obj_Capture_HDMI_) store.Measured_fps(vb::CInt(obj_Capture_HDMI_->Measured_fps()));
            store.Last_Capture_time(std::to_string(Non_dependant::Get_Local_Mill_Time()));
        } catch (const VbError& e) {
            // A statistic is the least of a segment: its frames are still counted and its file closed.
            statistics_error = e.Description();
        }
        std::string write_error = segment.write_error;
        {
            // A disk that takes no more keeps the heat open and is told plainly below.
            vb::Report_Redirect redirect([&](const VbError& e, std::string_view, std::string_view) {
                if (write_error.empty()) write_error = e.Description();
            });
            try {
                store.Close_File();
            } catch (const VbError& e) {
                if (write_error.empty()) write_error = e.Description();
            }
        }
        lock.unlock();
        const std::string heat = Frame_capture[static_cast<size_t>(segment.slot)]->title().toStdString();
        if (!statistics_error.empty())
            Write_Event_Log(" " + heat + ": the segment's statistics were not all kept: " + statistics_error);
        if (!write_error.empty())
            Tell_Write_Failure(segment.slot, slot_[static_cast<size_t>(segment.slot)].path, write_error,
                               segment.not_recorded);
        else if (segment.frames_written > 0) {
            write_failure_told_[static_cast<size_t>(segment.slot)] = false;
            write_notice_.clear();
        }
        if (segment.held_back > 0)
            Write_Event_Log(" " + heat + ": " + std::to_string(segment.held_back) +
                            " frames not recorded while the review window was shown");
        if (segment.not_recorded > 0 && write_error.empty())
            Write_Event_Log(" " + heat + ": " + std::to_string(segment.not_recorded) +
                            " frames not recorded (no JPEG within the file's record buffer, or refused by the store)");
        Update_File_Size(static_cast<int16_t>(segment.slot));
        Label_num_written->setVisible(false);
        if (write_error.empty()) Show_Paused(write_notice_);
    });
}

void Form_capture_multi_file::Tell_Write_Failure(int slot, const std::string& path, const std::string& reason,
                                                 int32_t not_recorded) {
    const std::string heat = Frame_capture[static_cast<size_t>(slot)]->title().toStdString();
    const std::string what = heat + ": the capture file could not be written: " + reason + ". " +
                             std::to_string(not_recorded) + " frames of this capture were not recorded.";
    Write_Event_Log(" " + what + " " + path);
    mTrace::Trace("*" + what);
    write_notice_ = QString::fromStdString(what);
    Show_Paused(write_notice_);
    bool& told = write_failure_told_[static_cast<size_t>(slot)];
    if (told) return;
    told = true;
    ui::MsgBox(what + "\r\n\r\nThe heat stays open and what was recorded before is kept. Free space on the disk of the "
                      "capture folder (or make the folder writable again), then press Capture again.\r\n" + path,
               ui::vbExclamation);
}

void Form_capture_multi_file::Show_Paused(const QString& notice) {
    // Here and in the review window, which is the one in sight while frames are held back.
    if (notice == paused_notice_) return;
    paused_notice_ = notice;
    Label_paused->setText(notice);
    Label_paused->setVisible(!notice.isEmpty());
    try {
        Program_commands::Show_Recording_Paused(notice.toStdString());
    } catch (const VbError&) {
    }
}

void Form_capture_multi_file::Handle_Abort(int16_t s) {
    Heat_operation operation(*this);
    vb::Trap(Is_Compiled, "Handle_Abort of Form Form_capture_multi_file", [&] {
        const size_t i = Index(s);
        Slot& slot = slot_[i];
        if (slot.state != Slot_state::Started) {
            ui::MsgBox("Heat not started!", ui::vbOKOnly);
            return;
        }
        const int32_t answer = ui::MsgBox("Aborting heat " + Text_Heat_ID[i]->text().toStdString() + " , are you sure?",
                                          ui::vbOKCancel | ui::vbDefaultButton2, "Vantorel Aborting Heat");
        if (answer == ui::vbOK && slot.state == Slot_state::Started) {
            Label_heat_time[i]->setText("Aborted");
            Label_start_time[i]->setText("Aborted");
            slot.state = Slot_state::Aborted;
            slot.start_tick = 0;
            auto lock = recorder_->Lock();
            cls_VideoFile_handler& store = recorder_->Store(s);
            const bool segment_here = recorder_->Segment_Open() && recorder_->Segment_Slot() == s;
            if (!segment_here) {
                if (store.File_open()) store.Close_File();
                store.File_name(slot.path);
            }
            store.Clear_Multi_Start(1);
            store.Write_XML_Header();
            // The file stays open only for the segment that is appending to it.
            if (!segment_here) store.Close_File();
        }
        Paint_State(static_cast<int>(i));
    });
}

void Form_capture_multi_file::Command_Finish_Click(int16_t s) {
    Heat_operation operation(*this);
    vb::Trap(Is_Compiled, "Command_Finish_Click of Form Form_capture_multi_file", [&] {
        mTrace::Trace("Command_Finish_Click Index = ", s);
        const size_t i = Index(s);
        Slot& slot = slot_[i];
        if (recorder_->Segment_Open() && recorder_->Segment_Slot() == s) Handle_Capture_End();
        Command_Finish[i]->setStyleSheet("background-color: rgb(0, 255, 0)");
        const std::string file = slot.state == Slot_state::Empty ? std::string() : slot.path;
        Clear_Heat(s);
        const bool had_file = !file.empty();
        if (had_file && Non_dependant::Ctrl_Down()) {
            Program_commands::Stop_All_Captures();
            Program_commands::Open_In_Review(file);
        }
    });
}

void Form_capture_multi_file::Clear_Heat(int16_t s) {
    vb::Trap(Is_Compiled, "Clear_Heat of Form Form_capture_multi_file", [&] {
        const size_t i = Index(s);
        Slot& slot = slot_[i];
        const std::string file = slot.state == Slot_state::Empty ? std::string() : slot.path;
        std::error_code ec;
        if (!file.empty() && std::filesystem::file_size(file, ec) > 1048576 && !ec) {
            Last_Captured_File = file;
            Non_dependant::Write_Ini("Canoe", "last_captured_file", file, Ini_file_path);
        }
        slot.state = file.empty() ? Slot_state::Empty : Slot_state::Finished;
        slot.start_tick = 0;
        slot.start_local = 0;
        Paint_State(static_cast<int>(i));
        const std::string caption = file.empty() ? std::string() : file + " finished";
        Label_filename[i]->setText(QString::fromStdString(caption));
        Non_dependant::Write_Ini("active_heats", "Heat" + std::to_string(s), caption, Ini_file_path);
    });
}

void Form_capture_multi_file::Paint_State(int i) {
    const size_t s = static_cast<size_t>(i);
    const Slot_state state = slot_[s].state;
    const char* colour = state == Slot_state::Started || state == Slot_state::Restored ? "rgb(255, 0, 0)"
                         : state == Slot_state::Aborted  ? "rgb(0, 255, 255)"
                         : state == Slot_state::Finished ? "rgb(0, 255, 0)"
                                                         : "rgb(0, 0, 0)";
    Label_filename[s]->setStyleSheet(QString("color: ") + colour);
    QFont font = Command_start[s]->font();
    font.setItalic(state == Slot_state::Started);
    Command_start[s]->setFont(font);
}

void Form_capture_multi_file::Set_Active_heat(int16_t s) {
    vb::Trap(Is_Compiled, "Set_Active_heat of Form Form_capture_multi_file", [&] {
        m_Capture_Heat = static_cast<int16_t>(Index(s));
        for (int16_t i = 0; i < Slots; ++i) {
            // The mark stands out on its slot's frame of the same colour.
            const char* style = i == s ? "background-color: rgb(255, 192, 128); border: 2px solid rgb(192, 96, 0); "
                                         "font-weight: bold"
                                       : "";
            // Only the slot's own frame: nested frames and labels keep their colours.
            Frame_capture[Index(i)]->setStyleSheet(
                i == s ? "QGroupBox#Frame_capture { background-color: rgb(255, 192, 128) }" : "");
            Label_active_capture[Index(i)]->setStyleSheet(style);
        }
        Set_Active_Heat_start(s);
    });
}

void Form_capture_multi_file::Set_Active_Heat_start(int16_t s) {
    m_Start_Heat = static_cast<int16_t>(Index(s));
    for (int16_t i = 0; i < Slots; ++i)
        Label_active_start[Index(i)]->setStyleSheet(i == s ? "background-color: rgb(255, 0, 0)" : "");
}

void Form_capture_multi_file::Update_File_Size(int16_t s) {
    vb::Trap(Is_Compiled, "Update_File_size of Form Form_capture_multi_file", [&] {
        const size_t i = Index(s);
        const Slot& slot = slot_[i];
        if (slot.state == Slot_state::Empty) {
            Label_file_size[i]->setText("0 MB");
            return;
        }
        std::error_code ec;
        const auto bytes = std::filesystem::file_size(slot.path, ec);
        const double mb = ec ? 0.0 : vb::Round(static_cast<double>(bytes) / 1048576.0 * 10) / 10.0;
        const int32_t segments = recorder_->Store(s).Current_Segments_num();
        // Shortest form, in the operator's own decimal separator: 3/11,2MB, 3/4MB.
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        Label_file_size[i]->setText(QString::number(segments) + "/" +
                                    locale.toString(mb, 'g', QLocale::FloatingPointShortest) + "MB");
    });
}

void Form_capture_multi_file::Load_capture_folder() {
    std::string folder = Non_dependant::Read_Ini("canoe", "save_folder1", Ini_file_path, "");
    if (folder.empty() || folder == "N/A") folder = "NoFolder";
    Lbl_capture_folder->setText(QString::fromStdString(folder));
}

void Form_capture_multi_file::Load_Event_name() {
    std::string name = Non_dependant::Read_Ini("Canoe", "event_name", Ini_file_path, "NOEVENT");
    if (name.empty() || name == "N/A") name = "NOEVENT";
    Text_Event_name->setText(QString::fromStdString(name));
    Event_Name = name;
}

void Form_capture_multi_file::save_Event() {
    vb::Trap(Is_Compiled, "save_event of Form Form_capture_multi_file", [&] {
        Non_dependant::Write_Ini("Canoe", "event_name", Text_Event_name->text().toStdString(), Ini_file_path);
        Load_Event_name();
    });
}
