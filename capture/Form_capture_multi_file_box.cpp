// The console's control box: the kit's events acting on the heats, the quiet periods after the load and
// after an attach, the lamp, and the "Control Box validation" panel.
#include "Form_capture_multi_file.h"

#include "platform/controlbox/Interface_kit.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace Module_Vantorel;

namespace {

constexpr int32_t Red = 255, Green = 65280, Yellow = 0xFFFF, Button_Face = static_cast<int32_t>(0x8000000F);

// The colour a panel shape shows, kept as the Windows colour value so that it can be read back.
void Set_Colour(QWidget* w, int32_t colour, bool fill_circle = false) {
    w->setProperty("vbColour", colour);
    QString css;
    if (colour == Button_Face) {
        css = "background-color: palette(button);";
    } else {
        css = QString("background-color: rgb(%1, %2, %3);").arg(colour & 0xFF).arg((colour >> 8) & 0xFF).arg((colour >> 16) & 0xFF);
    }
    if (fill_circle) css += QString("border-radius: %1px;").arg(w->width() / 2);
    w->setStyleSheet(css);
}

// While the box runs a heat operation, its messages go to the console's notice line: no dialog blocks the
// box, and the operator still reads what happened.
class Box_notices final : public ui::Dialog_service {
public:
    Box_notices(ui::Dialog_service& outer, std::function<void(const std::string&)> notice)
        : outer_(outer), notice_(std::move(notice)) {}
    int32_t Message_Box(const std::string& prompt, int32_t buttons, const std::string&) override {
        notice_(prompt);
        // A question is answered as its safe button would be.
        switch (buttons & 7) {
        case ui::vbOKCancel:
        case ui::vbRetryCancel:
        case ui::vbYesNoCancel: return ui::vbCancel;
        case ui::vbYesNo: return ui::vbNo;
        case ui::vbAbortRetryIgnore: return ui::vbIgnore;
        default: return ui::vbOK;
        }
    }
    std::optional<std::string> Input_Box(const std::string& prompt, const std::string&, const std::string&) override {
        notice_(prompt);
        return std::nullopt;
    }
    std::optional<std::string> Open_File(const ui::File_Request&) override { return std::nullopt; }
    std::optional<std::string> Browse_Folder(const std::string&, const std::string&) override { return std::nullopt; }
    ui::Dialog_service& Outer() { return outer_; }

private:
    ui::Dialog_service& outer_;
    std::function<void(const std::string&)> notice_;
};

}  // namespace

Form_capture_multi_file::Heat_operation::Heat_operation(Form_capture_multi_file& console) : console_(console) {
    ++console_.heat_operations_;
}

Form_capture_multi_file::Heat_operation::~Heat_operation() {
    // The changes that waited follow the operation, never nest in it.
    if (--console_.heat_operations_ == 0 && !console_.box_queue_.empty()) console_.Drain_Box_Queue();
}

void Form_capture_multi_file::Build_Control_Box_Panel() {
    Frame_Control_box = new QGroupBox("Control Box validation", this);
    auto* row = new QHBoxLayout(Frame_Control_box);
    auto* left = new QVBoxLayout;
    Label_remote = new QLabel("Remote", Frame_Control_box);
    Label_remote->setAlignment(Qt::AlignCenter);
    Label_remote->setFixedSize(57, 17);
    Set_Colour(Label_remote, Green);
    Picture_LED = new QLabel(Frame_Control_box);
    Picture_LED->setFixedSize(17, 17);
    Picture_LED->installEventFilter(this);
    left->addWidget(Label_remote);
    left->addWidget(Picture_LED);
    row->addLayout(left);
    auto toggle = [&](size_t i, const char* caption) {
        auto* frame = new QWidget(Frame_Control_box);
        auto* column = new QVBoxLayout(frame);
        column->setSpacing(0);
        column->setContentsMargins(2, 2, 2, 2);
        Shape_on[i] = new QLabel(frame);
        Shape_off[i] = new QLabel(frame);
        for (QWidget* mark : {Shape_on[i], Shape_off[i]}) {
            mark->setFixedSize(7, 18);
            // Each keeps its place when hidden: the lever shows up for on and down for off.
            QSizePolicy policy = mark->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            mark->setSizePolicy(policy);
            mark->setStyleSheet("background-color: rgb(0, 0, 0)");
            column->addWidget(mark, 0, Qt::AlignHCenter);
        }
        Shape_on[i]->setVisible(false);
        frame->setStyleSheet("background-color: rgb(192, 192, 192); border-radius: 8px");
        frame->setFixedSize(25, 49);
        frame->setToolTip(caption);
        Frame_toggle[i] = frame;
        return frame;
    };
    row->addWidget(toggle(0, "Arming switch (input 1)"));
    auto circle = [&](size_t i, int size, const char* tip) {
        Shape_Button[i] = new QLabel(Frame_Control_box);
        Shape_Button[i]->setFixedSize(size, size);
        Shape_Button[i]->setToolTip(tip);
        Set_Colour(Shape_Button[i], Green, true);
        return Shape_Button[i];
    };
    row->addWidget(circle(0, 25, "Start button (input 2)"));
    auto* spare = new QVBoxLayout;
    for (size_t i : {size_t{1}, size_t{2}}) {
        auto* line = new QHBoxLayout;
        line->addWidget(circle(i, 11, i == 1 ? "Input 3 (no effect on heats)" : "Input 4 (no effect on heats)"));
        line->addWidget(new QLabel(i == 1 ? "3" : "4", Frame_Control_box));
        spare->addLayout(line);
    }
    row->addLayout(spare);
    Label_cb_version = new QLabel("Vantorel Control Box ", Frame_Control_box);
    Label_cb_version->setAlignment(Qt::AlignCenter);
    row->addWidget(Label_cb_version, 1);
    row->addWidget(toggle(1, "Capture switch (input 5)"));
    auto* right = new QVBoxLayout;
    Label_attached = new QLabel(Frame_Control_box);
    Label_serial = new QLabel(Frame_Control_box);
    Label_serial->setStyleSheet("color: rgb(0, 0, 255)");
    right->addWidget(Label_attached);
    right->addWidget(Label_serial);
    row->addLayout(right);
    Frame_Control_box->setVisible(false);
    Label_box_message = new QLabel(this);
    Label_box_message->setStyleSheet("color: rgb(192, 0, 0)");
    Label_box_message->setWordWrap(true);
    Label_box_message->setVisible(false);
    box_quiet_timer_ = new QTimer(this);
    box_quiet_timer_->setSingleShot(true);
    connect(box_quiet_timer_, &QTimer::timeout, this, [this] { Box_Quiet_Period_End(); });
}

void Form_capture_multi_file::Open_Control_Box() {
    if (!Box_Tick) Box_Tick = sys::timeGetTime;
    std::string port = Non_dependant::Read_Ini("controlbox", "serial_port", Ini_file_path, "");
    if (port == "N/A") port.clear();
    mTrace::Trace("Before Set obj_Phidget = New PhidgetInterfaceKit");
    m_Load_Tick = Box_Tick();
    obj_phidget_ = controlbox::Interface_kit::Create(port);
    box_port_ = port;
    Open_Control_Box_Kit();
    if (!obj_phidget_->Simulated() && !obj_phidget_->Attached()) {
        // A port that is not there: said once, and the console goes on with the simulated box.
        Tell_Box_Port_Fault("cannot be opened", obj_phidget_->Fault(),
                            "The console goes on with the simulated control box.");
        obj_phidget_ = controlbox::Interface_kit::Create("");
        Open_Control_Box_Kit();
    }
    mTrace::Trace("After obj_Phidget.Open");
    Schedule_Quiet_Period_End();
}

void Form_capture_multi_file::Open_Control_Box_Kit() {
    obj_phidget_->OnInputChange = [this](int32_t index, bool state) { obj_phidget_OnInputChange(index, state); };
    obj_phidget_->OnAttach = [this] { obj_phidget_OnAttach(); };
    obj_phidget_->OnDetach = [this] { obj_phidget_OnDetach(); };
    quiet_end_pending_ = true;
    obj_phidget_->Open(0);
}

void Form_capture_multi_file::Tell_Box_Port_Fault(const std::string& what, const std::string& reason,
                                                  const std::string& then) {
    if (box_fault_told_) return;
    box_fault_told_ = true;
    const std::string text = "The control box on serial port " + box_port_ + " " + what + ": " +
                             (reason.empty() ? std::string("no reason given") : reason) + ".";
    Write_Event_Log(" " + text);
    mTrace::Trace("*" + text);
    // Told once the console's load is over: a message box in the middle of it would let other handlers in.
    QTimer::singleShot(0, this, [text, then] {
        ui::MsgBox(text + "\r\n" + then + "\r\nCheck ini \"controlbox\"/\"serial_port\" and the adapter.",
                   ui::vbExclamation);
    });
}

bool Form_capture_multi_file::In_Quiet_Period(int32_t tick) const {
    if (sys::Tick_Diff(tick, m_Load_Tick) < Box_Quiet_ms) return true;
    return attached_once_ && sys::Tick_Diff(tick, attach_tick_) < Box_Quiet_ms;
}

void Form_capture_multi_file::Schedule_Quiet_Period_End() {
    if (!box_quiet_timer_ || !Box_Tick) return;
    const int32_t now = Box_Tick();
    int32_t left = Box_Quiet_ms - sys::Tick_Diff(now, m_Load_Tick);
    if (attached_once_) left = std::max(left, Box_Quiet_ms - sys::Tick_Diff(now, attach_tick_));
    box_quiet_timer_->start(std::clamp(left, 10, Box_Quiet_ms));
}

void Form_capture_multi_file::Box_Quiet_Period_End() {
    if (Is_Exiting || !obj_phidget_ || !quiet_end_pending_) return;
    if (In_Quiet_Period(Box_Tick())) {
        Schedule_Quiet_Period_End();
        return;
    }
    box_queue_.push_back({-1, false, Box_Tick(), Take_Start_Signal()});
    Drain_Box_Queue();
}

void Form_capture_multi_file::obj_phidget_OnInputChange(int32_t Index, bool NewState) {
    if (Is_Exiting) return;
    box_queue_.push_back({Index, NewState, Box_Tick(), Take_Start_Signal()});
    Drain_Box_Queue();
}

void Form_capture_multi_file::Drain_Box_Queue() {
    if (box_busy_ || heat_operations_ > 0) return;
    box_busy_ = true;
    while (!box_queue_.empty() && heat_operations_ == 0 && !Is_Exiting) {
        const Box_change change = box_queue_.front();
        box_queue_.pop_front();
        vb::Trap(Is_Compiled, "obj_Phidget_OnInputChange of Form Frm_capture_multi_file", [&] { Box_Change(change); });
    }
    if (Is_Exiting) box_queue_.clear();
    box_busy_ = false;
}

void Form_capture_multi_file::Box_Change(const Box_change& change) {
    if (change.index >= 0) {
        mTrace::Trace("*obj_phidget_OnInputChange, index = ", change.index, " NewState = ",
                      change.state ? "True" : "False", " p_Phidget_Attached = ", p_Phidget_Attached_ ? "True" : "False");
        if (In_Quiet_Period(change.tick)) {
            // Not lost: the end of the quiet period takes the inputs as they are then.
            quiet_end_pending_ = true;
            Schedule_Quiet_Period_End();
            return;
        }
    }
    if (obj_phidget_->Attached()) p_Phidget_Attached_ = true;
    if (quiet_end_pending_ && !In_Quiet_Period(change.tick)) {
        quiet_end_pending_ = false;
        // The arming switch before the contact, so that a contact that merely rests where it was armed
        // starts nothing.
        for (int32_t index : {1, 0, 2, 5, 3, 4, 6, 7})
            if (index < obj_phidget_->InputCount()) Box_Act(index, obj_phidget_->InputState(index), change.signal);
        Draw_LED();
    }
    if (change.index >= 0) {
        Box_Act(change.index, change.state, change.signal);
        mTrace::Trace("*obj_phidget_OnInputChange end , index = ", change.index);
    }
}

void Form_capture_multi_file::Box_Act(int32_t index, bool state, const Start_signal& signal) {
    if (index >= 0 && index < Box_Inputs) {
        bool& known = box_inputs_[static_cast<size_t>(index)];
        if (known == state) return;
        known = state;
    }
    if (Frame_Control_box->isVisible()) {
        // The panel tests the wiring: no heat is touched.
        Display_Control_Box();
        return;
    }
    switch (index) {
    case 0:
        if (box_inputs_[0] == !armed_remote_ && box_inputs_[1]) Box_Start_Event(m_Start_Heat, signal);
        Set_Phidget_State(0, box_inputs_[0]);
        break;
    case 1:
        if (state) armed_remote_ = box_inputs_[0];
        break;
    case 2:
        if (state)
            Box_Start_Event(m_Start_Heat, signal);
        else
            Handle_start_mouseup(m_Start_Heat);
        break;
    case 5:
        As_Box_Operation([&] {
            if (state)
                Handle_Capture_Start(m_Capture_Heat);
            else
                Handle_Capture_End();
        });
        break;
    default:
        break;
    }
}

void Form_capture_multi_file::Box_Start_Event(int16_t slot, const Start_signal& signal) {
    As_Box_Operation([&] { Handle_Start_Event(slot, signal); });
}

void Form_capture_multi_file::As_Box_Operation(const std::function<void()>& operation) {
    ++box_operations_;
    Box_notices notices(ui::Dialogs(), [this](const std::string& text) { Box_Notice(text); });
    ui::Set_Dialog_Service(&notices);
    struct Restore {
        Form_capture_multi_file& console;
        Box_notices& notices;
        ~Restore() {
            ui::Set_Dialog_Service(&notices.Outer());
            --console.box_operations_;
        }
    } restore{*this, notices};
    operation();
}

void Form_capture_multi_file::Box_Notice(const std::string& text) {
    QApplication::beep();
    const std::string line = "Control box: " + text;
    Label_box_message->setText(QString::fromStdString(Non_dependant::Now_Text() + "  " + line));
    Label_box_message->setVisible(true);
    Write_Event_Log(" " + line);
}

void Form_capture_multi_file::Handle_start_mouseup(int16_t) {}

void Form_capture_multi_file::obj_phidget_OnAttach() {
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "obj_phidget_OnAttach of Form Frm_capture_multi_file", [&] {
        mTrace::Trace("*obj_phidget_OnAttach start");
        attach_tick_ = Box_Tick();
        attached_once_ = true;
        quiet_end_pending_ = true;
        p_Phidget_Attached_ = true;
        Phidget_Serial = std::to_string(obj_phidget_->SerialNumber());
        Schedule_Quiet_Period_End();
        if (Frame_Control_box->isVisible()) {
            Display_Control_Box();
        } else {
            Update_Control_Box_Led();
            mTrace::Trace("obj_phidget_OnAttach end");
        }
    });
}

void Form_capture_multi_file::obj_phidget_OnDetach() {
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "obj_phidget_OnDetach of Form Frm_capture_multi_file", [&] {
        mTrace::Trace("obj_phidget_OnDetach start");
        p_Phidget_Attached_ = false;
        Phidget_Serial = "";
        if (!obj_phidget_->Simulated())
            Tell_Box_Port_Fault("went away", obj_phidget_->Fault(),
                                "The console goes on without it and takes the box again when the port comes back.");
        if (Frame_Control_box->isVisible())
            Display_Control_Box();
        else
            mTrace::Trace("obj_phidget_OnDetach end");
    });
}

void Form_capture_multi_file::Set_Phidget_State(int16_t Index, bool State) {
    if (!p_Phidget_Attached_ || !obj_phidget_) return;
    try {
        obj_phidget_->OutputState(Index, State);
    } catch (...) {
        // The lamp is a help, never a reason to stop.
    }
}

void Form_capture_multi_file::Update_Control_Box_Led() {
    vb::Trap(Is_Compiled, "Update_Control_Box_Led of Form Frm_capture_multi_file", [&] {
        if (p_Phidget_Attached_ && !Is_Exiting) Set_Phidget_State(0, obj_phidget_->InputState(0));
    });
}

void Form_capture_multi_file::Draw_LED() {
    vb::Trap(Is_Compiled, "draw_LED of Form Form_capture_multi_file", [&] {
        const bool input0 = obj_phidget_ && obj_phidget_->InputState(0);
        led_lit_ = lamp_pressed_ || input0;
        const int32_t colour = led_lit_ ? Yellow : (100 + 256 * 100 + 65536 * 100);
        QPixmap picture(Picture_LED->size());
        picture.fill(palette().color(QPalette::Button));
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
        const double radius = picture.width() / 3.0;
        painter.drawEllipse(QPointF(picture.width() / 2.0, picture.height() / 2.0), radius, radius);
        painter.end();
        Picture_LED->setPixmap(picture);
        Picture_LED->setProperty("vbColour", colour);
        Set_Phidget_State(0, led_lit_);
    });
}

void Form_capture_multi_file::Picture_LED_Press(bool pressed) {
    lamp_pressed_ = pressed;
    Draw_LED();
}

void Form_capture_multi_file::Display_Control_Box() {
    vb::Trap(Is_Compiled, "Display_Control_box of Form Form_capture_multi_file", [&] {
        if (!obj_phidget_) return;
        const controlbox::Interface_kit& kit = *obj_phidget_;
        // Every input is read before anything changes, so a failing read leaves the panel as it was.
        std::array<bool, 6> in{};
        for (int32_t i = 0; i < 6; ++i) in[static_cast<size_t>(i)] = i < kit.InputCount() && kit.InputState(i);
        Set_Colour(Label_remote, in[0] ? Red : Green);
        Shape_on[0]->setVisible(in[1]);
        Shape_off[0]->setVisible(!in[1]);
        Shape_on[1]->setVisible(in[5]);
        Shape_off[1]->setVisible(!in[5]);
        Set_Colour(Shape_Button[0], in[2] ? Red : Green, true);
        // Inputs 3 and 4 act on no heat; they are shown so that their wiring can be tested too, and greyed
        // on a kit that does not have them.
        for (int32_t i : {3, 4}) {
            QLabel* shape = Shape_Button[static_cast<size_t>(i - 2)];
            Set_Colour(shape, i >= kit.InputCount() ? Button_Face : in[static_cast<size_t>(i)] ? Red : Green, true);
        }
        Draw_LED();
        if (kit.Attached()) {
            Label_attached->setText("Box attached");
            Label_serial->setText(QString("Serial: %1").arg(kit.SerialNumber()));
        } else {
            Label_attached->setText("Box not attached");
            Label_serial->setText("");
            // A box that is not there has no input to show: nothing reads as on or off.
            for (QLabel* shape : {Shape_Button[0], Shape_Button[1], Shape_Button[2]}) Set_Colour(shape, Button_Face, true);
            Set_Colour(Label_remote, Button_Face);
        }
    });
}

void Form_capture_multi_file::item_test_control_box_Click() {
    vb::Trap(Is_Compiled, "item_test_control_box_Click of Form Form_capture_multi_file", [&] {
        if (item_test_control_box->isChecked()) {
            Frame_Control_box->setVisible(true);
            Display_Control_Box();
            // The panel makes the console taller: its bottom must not end up below the screen.
            QTimer::singleShot(0, this, [this] { Keep_On_Screen(); });
        } else {
            Frame_Control_box->setVisible(false);
        }
    });
}
