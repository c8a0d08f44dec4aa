#include "Frm_results.h"

#include "Module_Vantorel_print.h"
#include "platform/printer/Page_image.h"
#include "platform/printer/System_printer.h"
#include "Review_window_commands.h"
#include "modCloseBtn.h"
#include "platform/ui/Dialog_service.h"
#include "Export_panel.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"
#include "shell/mTrace.h"
#include "store/cls_VideoFile_handler.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include <tuple>

namespace Review = Review_window_commands;
using namespace Module_Vantorel;

namespace {

constexpr int32_t Inner_Height = 12645;
constexpr int32_t Row_Top = 2400;
constexpr int32_t Row_Height = 375;
constexpr int32_t Export_Right = 2400 + 1935;
constexpr int32_t Correction_Steps[4] = {3600000, 60000, 1000, 10};
constexpr int16_t VK_CONTROL = 17;

const char* const Read_Only_Message = "Can\u00B4t alter this file, it is Read only!";

QRect Twips(int32_t left, int32_t top, int32_t width, int32_t height) {
    const int32_t x = ui::Twips_Per_Pixel_X(), y = ui::Twips_Per_Pixel_Y();
    return {left / x, top / y, width / x, height / y};
}

QLabel* Label(QWidget* parent, const char* family, double points, bool bold, QRect where) {
    auto* label = new QLabel(parent);
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
    label->setGeometry(where);
    return label;
}

QLabel* Row_Label(QWidget* parent, int32_t left, int32_t width, int row, const char* colour) {
    QLabel* label = Label(parent, "MS Sans Serif", 12, true, Twips(left, Row_Top + Row_Height * row, width, Row_Height));
    label->setFrameShape(QFrame::Box);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setStyleSheet(QString("color: ") + colour);
    return label;
}

QGroupBox* Frame(QWidget* parent, const char* caption, QRect where) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setGeometry(where);
    return frame;
}

// A digit box of the start correction panel: hours, minutes, seconds, hundredths.
QLabel* Digit_Box(QWidget* parent, int index, int32_t top) {
    static const char* const tips[4] = {"Hours", "Minutes", "Seconds", "Seconds/10"};
    QLabel* box = Label(parent, "MS Sans Serif", 12, true, Twips(240 + 360 * index, top, 345, 345));
    box->setFrameShape(QFrame::Box);
    box->setAlignment(Qt::AlignCenter);
    box->setToolTip(tips[index]);
    box->setAutoFillBackground(true);
    return box;
}

void Set_Colours(QLabel& box, const QColor& text, const QColor& back) {
    QPalette palette = box.palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, back);
    box.setPalette(palette);
}

QColor Button_Face() { return QApplication::palette().color(QPalette::Button); }

// The small triangle of a step button, pointing up or down.
QIcon Triangle(bool up) {
    QPixmap pixmap(7, 4);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    for (int row = 0; row < 4; ++row) {
        const int y = up ? row : 3 - row;
        painter.drawLine(3 - row, y, 3 + row, y);
    }
    return QIcon(pixmap);
}

QString Two_Digits(int16_t part) { return QString::fromStdString(vb::Format(part, "00")); }

void Reset_Screen_Pointer() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

}  // namespace

void Frm_results::Timer_wait::Start(int32_t milliseconds, std::function<void()> done) {
    timer_.Set_Enabled(false);
    timer_.On_Timer([this, done = std::move(done)] {
        timer_.Set_Enabled(false);
        vb::Trap(Is_Compiled, "Cmd_time_MouseDown of Form Frm_results", done);
    });
    timer_.Set_Interval(milliseconds);
    timer_.Set_Enabled(true);
}

void Frm_results::Timer_wait::Stop() { timer_.Set_Enabled(false); }

Frm_results::Frm_results()
    : ui::Form("Frm_results"),
      Menu_bar(new QMenuBar(this)),
      menu_form(Menu_bar, "Form"),
      item_print_results(menu_form, "Print results"),
      item_print(menu_form, "Print single picture"),
      item_print_series(menu_form, "Print picture series"),
      item_export_results(menu_form, "Export Results"),
      item_hide(menu_form, "Hide"),
      item_clear_all_results(menu_form, "Clear all results"),
      item_exit(menu_form, "Exit"),
      menu_debug(Menu_bar, "Debug"),
      item_do_preview(menu_debug, "Preview"),
      item_printer_test(menu_debug, "Printer test"),
      item_maped_drive(menu_debug, "Get mapped drive"),
      item_test_position(menu_debug, "Test position"),
      item_load_results(menu_debug, "Load results") {
    Set_Caption("Vantorel Results");
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Docked beside the review window, which keeps the keys: showing it takes no focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* body = new QWidget(this);
    body->move(0, Menu_bar->sizeHint().height());
    body->setMouseTracking(true);
    body->installEventFilter(this);

    // Left of the printer frame, down to the heat ID's caption: a long event name takes two lines and a
    // smaller type there instead of running under the frame.
    lbl_event_name = Label(body, "Microsoft Sans Serif", 12, true, Twips(0, 120, 2220, 600));
    lbl_event_name->setWordWrap(true);
    lbl_event_name->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LBL_XID = Label(body, "MS Sans Serif", 12, true, Twips(0, 720, 1335, 255));
    LBL_XID->setText("Heat ID:");
    Lbl_heat = Label(body, "Microsoft Sans Serif", 24, false, Twips(0, 1080, 2055, 520));
    Lbl_heat->setStyleSheet("color: blue");
    Lbl_heat->setFrameShape(QFrame::Box);
    Lbl_heat->setWordWrap(true);  // a long heat name takes two lines before it takes a tiny font
    // As wide as the window. Its words stand each over its own column, right-aligned as the rows are,
    // whatever widths the fonts of this desktop give the blanks between them; each may reach left to
    // the column before.
    lbl_result_header = Label(body, "MS Sans Serif", 12, true, Twips(0, 2040, Export_Right + 100, 375));
    for (const auto& [word, left, width] :
         {std::tuple{"Lane", 375, 600}, std::tuple{"Time", 975, 1440}, std::tuple{"Delta", 2415, 1275}}) {
        QLabel* heading = Label(lbl_result_header, "MS Sans Serif", 12, true, Twips(left, 0, width, 375));
        QFont underlined = heading->font();
        underlined.setUnderline(true);
        heading->setFont(underlined);
        heading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        heading->setText(word);
    }
    for (int row = 0; row < 12; ++row) {
        Lbl_result_rank.Load(row, Row_Label(body, 0, 375, row, "black"));
        Lbl_result_lane.Load(row, Row_Label(body, 480, 495, row, "blue"));
        Lbl_result_time.Load(row, Row_Label(body, 1080, 1335, row, "blue"));
        Lbl_result_delta_time.Load(row, Row_Label(body, 2520, 1170, row, "rgb(192, 0, 0)"));
        Lbl_result_rank(row).setMouseTracking(true);
        Lbl_result_rank(row).installEventFilter(this);
    }
    Frm_create_time = Frame(body, "Video file created at:", Twips(3720, 5520, 4695, 855));
    Frm_create_time->hide();
    Lbl_capture_time = new QLabel(Frm_create_time);
    Lbl_capture_time->setStyleSheet("color: blue");
    Lbl_capture_time->setFrameShape(QFrame::Box);

    Frm_time_select = Frame(body, "Start correction", Twips(0, 7080, 2295, 3135));
    Lbl_time = Label(Frm_time_select, "MS Sans Serif", 8, false, Twips(480, 360, 1695, 255));
    Lbl_time->setText("h  m  s  1/10");
    Frm_orig_time = Frame(Frm_time_select, "Original start time", Twips(120, 680, 2055, 700));
    Frm_correction = Frame(Frm_time_select, "Correction", Twips(120, 1400, 2055, 735));
    Frm_Corrected_time = Frame(Frm_time_select, "Corr. start time", Twips(120, 2200, 2055, 700));
    for (int i = 0; i < 4; ++i) {
        Lbl_hms.Load(i, Digit_Box(Frm_orig_time, i, 250));
        Lbl_hms_correction.Load(i, Digit_Box(Frm_correction, i, 240));
        Lbl_hms_corrected.Load(i, Digit_Box(Frm_Corrected_time, i, 250));
        for (auto* array : {&Lbl_hms, &Lbl_hms_correction, &Lbl_hms_corrected}) (*array)(i).installEventFilter(this);
    }
    Lbl_Minus = Label(Frm_correction, "MS Sans Serif", 12, true, Twips(60, 240, 135, 360));
    Lbl_Minus->setText("-");
    Lbl_Minus->setAlignment(Qt::AlignCenter);
    Lbl_Minus->setStyleSheet("color: rgb(192, 0, 0)");
    Lbl_Minus->hide();
    for (int k = 0; k < 2; ++k) {
        auto* button = new QPushButton(Frm_correction);
        button->setGeometry(Twips(1680, k == 0 ? 240 : 390, 255, 180));
        button->setIcon(Triangle(k == 0));
        button->setIconSize(QSize(7, 4));
        button->installEventFilter(this);
        Cmd_time.Load(k, button);
    }
    for (QGroupBox* frame : {Frm_time_select, Frm_orig_time, Frm_correction, Frm_Corrected_time})
        frame->installEventFilter(this);

    Frm_printer = Frame(body, "Printer", Twips(2280, 240, 1935, 1815));
    for (int16_t k = 0; k < 2; ++k) {
        auto* option = new QRadioButton(k == 0 ? "Preview" : "Printer", Frm_printer);
        option->setGeometry(Twips(120, 360 + 480 * k, 1695, 375));
        QObject::connect(option, &QRadioButton::clicked, this, [this, k] { Opt_printer_Click(k); });
        Opt_printer.Load(k, option);
    }
    Opt_printer(0).setChecked(true);
    Export = std::make_unique<Export_panel>(*this, *body);
    Pict_temp = new ui::Picture_box(body);
    Pict_temp->hide();
    Text_temp = new QLineEdit(body);
    Text_temp->hide();
    Pict_temp_page = std::make_unique<printer::Page_image>(1, 1, 3);
    Pict_temp_page->Twips_Per_Pixel(ui::Twips_Per_Pixel_X());
    Pict_temp_page->BackColor(224 | 224 << 8 | 224 << 16);
    Picture_preview = std::make_unique<printer::Page_image>(11904, 16834, ui::Twips_Per_Pixel_X());
    Picture_preview->Twips_Per_Pixel(ui::Twips_Per_Pixel_X());

    const QSize inner = Twips(0, 0, Export_Right + 100, Inner_Height).size();
    body->resize(inner);
    Menu_bar->setGeometry(0, 0, inner.width(), Menu_bar->sizeHint().height());
    setFixedSize(inner.width(), inner.height() + Menu_bar->sizeHint().height());

    item_print_results.On_Click([] { Review::Handle_Print_results(); });
    item_print.On_Click([] { Review::Handle_Print_Single(); });
    item_print_series.On_Click([] { Review::Handle_Print_Series(); });
    item_printer_test.On_Click([this] { item_printer_test_Click(); });
    item_test_position.On_Click([this] { item_test_position_Click(); });
    item_export_results.Set_Enabled(false);
    item_hide.Set_Enabled(false);
    item_clear_all_results.On_Click([this] { item_clear_all_results_Click(); });
    item_exit.Action()->setShortcut(QKeySequence("Ctrl+X"));
    item_exit.On_Click([] { Program_commands::Vantorel_exit(); });
    item_load_results.On_Click([] { Review::Complete_Result_Array(); });
    repeat_ = std::make_unique<Correction_repeat>(
        *wait_, [this](int32_t step) { Step_Correction(step); }, [this] { Display_Compensate_Mill(); },
        [this] { return Review::File_open() && Review::Replay_File().File_name() == held_file_; });
}

Frm_results::~Frm_results() { wait_->Stop(); }

void Frm_results::Set_Repeat_Wait(Correction_repeat::Wait* wait) {
    wait_->Stop();
    wait_ = wait ? wait : &timer_wait_;
    repeat_ = std::make_unique<Correction_repeat>(
        *wait_, [this](int32_t step) { Step_Correction(step); }, [this] { Display_Compensate_Mill(); },
        [this] { return Review::File_open() && Review::Replay_File().File_name() == held_file_; });
}

void Frm_results::Form_Load() {
    mTrace::Trace("*Frm_results, Form_Load, begin");
    if (Is_Exiting) {
        mTrace::Trace("*Frm_results, Form_Load, ending = true");
        return;
    }
    vb::Trap(Is_Compiled, "Form_Load of Form Frm_results", [this] {
        // Beside the review window, whose right edge it starts at.
        Move(Review::Right_Edge(), 0);
        // Nothing would bring the window back: it closes only with the program.
        modCloseBtn::Remove_Close_Item(this, 0);
        Clear_Results();
        Export->Load(Export_Right + 100);
        if (Review::File_open()) Review::Fill_Results();
        menu_debug.Set_Visible(!Is_Compiled || Non_dependant::Key_Down(VK_CONTROL));
        for (auto& [i, box] : Lbl_hms_correction) Set_Colours(*box, Qt::blue, Button_Face());
        Check_Printer();
        Print_Preview_Mode = Opt_printer(0).isChecked();
        Handle_Preview();
        if (Printers_Num != 0) {
            Opt_printer(1).setText(QString::fromStdString(printer::Default_Printer_Name()));
            Opt_printer(1).setToolTip(Opt_printer(1).text());
        } else {
            // The sheet still leaves the preview: as a PDF file in the export folder.
            Opt_printer(1).setText("PDF file");
            Opt_printer(1).setToolTip("No printer: printouts are saved as PDF files in the export folder");
        }
        Picture_preview->Resize(Printer_Width, Printer_Height);
    });
    mTrace::Trace("*Frm_results, Form_Load, end");
}

void Frm_results::Form_QueryUnload(int16_t&, int16_t) {
    Cmd_time_LostFocus();
    Module_dependant::Store_Form_Pos("Frm_results", Left(), Top(), 0, 0);
    mTrace::Trace("*Frm_results,Form_QueryUnload, end ");
}

void Frm_results::Clear_Results() {
    for (auto* array : {&Lbl_result_rank, &Lbl_result_lane, &Lbl_result_time, &Lbl_result_delta_time})
        for (auto& [index, label] : *array) label->clear();
    Lbl_capture_time->clear();
}

void Frm_results::Clear_Heat_Data() {
    // The file is gone: a held button stops without writing anywhere.
    repeat_->Release();
    Deselect_Correction_Items();
    Lbl_heat->clear();
    Lbl_heat->setToolTip(QString());
    Heat_Start_Correction_Mill = 0;
    Display_Compensate_Mill();
    orig_Start_Local_Time = 0;
    Corrected_Start_Local_Time = 0;
    Display_Original_Start_Time();
    Display_Corrected_Start_Time();
}

void Frm_results::GoTo_Field(int16_t Index) { Review::Show_Field(Go_to_Goal_field(Index + 1)); }

void Frm_results::Show_Parts(ui::Control_array<QLabel>& boxes, int32_t mill) {
    static const char* const parts[4] = {"h", "m", "s", "t"};
    for (int i = 0; i < 4; ++i) boxes(i).setText(Two_Digits(Mill_Time_Part(parts[i], mill)));
}

void Frm_results::Display_Original_Start_Time() { Show_Parts(Lbl_hms, orig_Start_Local_Time); }

void Frm_results::Display_Compensate_Mill() {
    const bool negative = Heat_Start_Correction_Mill < 0;
    Lbl_Minus->setVisible(negative);
    // The magnitude of the most negative correction does not fit 32 bits; its parts are those of its
    // neighbour but for a millisecond no box shows.
    const int32_t v = negative ? (Heat_Start_Correction_Mill == INT32_MIN ? INT32_MAX : -Heat_Start_Correction_Mill)
                               : Heat_Start_Correction_Mill;
    for (auto& [i, box] : Lbl_hms_correction) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, negative ? QColor(255, 0, 0) : QColor(0, 0, 255));
        box->setPalette(palette);
    }
    Show_Parts(Lbl_hms_correction, v);
    Display_Corrected_Start_Time();
}

void Frm_results::Display_Corrected_Start_Time() {
    Corrected_Start_Local_Time = vb::To_Int32(int64_t{orig_Start_Local_Time} + Heat_Start_Correction_Mill);
    Show_Parts(Lbl_hms_corrected, Corrected_Start_Local_Time);
}

void Frm_results::Update_File_With_Time_Correction() {
    cls_VideoFile_handler& file = Review::Replay_File();
    file.Heat_Start_Correction(1, Heat_Start_Correction_Mill);
    // Not taken by the file: the correction shown, and the times the rows take from the file, stay the file's.
    if (const int32_t kept = file.Heat_Start_Correction(1); kept != Heat_Start_Correction_Mill) {
        Heat_Start_Correction_Mill = kept;
        Display_Compensate_Mill();
    }
}

bool Frm_results::Change_Refused() {
    return Module_Vantorel::Tell_Header_Refused(Review::Replay_File(), Read_Only_Message);
}

void Frm_results::Deselect_Correction_Items() {
    for (auto& [i, box] : Lbl_hms_correction) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Window, Button_Face());
        box->setPalette(palette);
    }
    correction_step_ = 0;
}

void Frm_results::Lbl_hms_correction_Click(int16_t Index) {
    vb::Trap(Is_Compiled, "Lbl_hms_correction_Click of Form Frm_results", [&] {
        if (!Review::File_open()) return;
        Deselect_Correction_Items();
        QLabel& box = Lbl_hms_correction(Index);
        QPalette palette = box.palette();
        palette.setColor(QPalette::Window, QColor(255, 128, 0));
        box.setPalette(palette);
        correction_step_ = Correction_Steps[Index];
    });
}

void Frm_results::Lbl_hms_correction_RightDown() {
    vb::Trap(Is_Compiled, "Lbl_hms_correction_MouseDown of Form Frm_results", [this] {
        if (!Review::File_open() || Change_Refused()) return;
        repeat_->Release();
        Deselect_Correction_Items();
        Heat_Start_Correction_Mill = 0;
        Display_Compensate_Mill();
        Update_File_With_Time_Correction();
        Review::Fill_Results();
    });
}

void Frm_results::Step_Correction(int32_t step) {
    const int64_t next = int64_t{Heat_Start_Correction_Mill} + step;
    if (next < INT32_MIN || next > INT32_MAX) vb::Raise(vb::Err_Overflow);
    Heat_Start_Correction_Mill = static_cast<int32_t>(next);
}

void Frm_results::Cmd_time_MouseDown(int16_t Index) {
    vb::Trap(Is_Compiled, "Cmd_time_MouseDown of Form Frm_results", [&] {
        if (!Review::File_open()) return;
        // Refused before the first step, so that nothing changes that the file would not take.
        if (Change_Refused()) return;
        held_file_ = Review::Replay_File().File_name();
        repeat_->Press(Index == 0 ? correction_step_ : -correction_step_);
    });
}

void Frm_results::Cmd_time_MouseUp() {
    vb::Trap(Is_Compiled, "Cmd_time_MouseUp of Form Frm_results", [this] {
        // Only into the file the press was made on, even when another one opened meanwhile.
        if (!repeat_->Release() || !Review::File_open() || Review::Replay_File().File_name() != held_file_) return;
        Display_Compensate_Mill();
        Update_File_With_Time_Correction();
        Review::Fill_Results();
    });
}

void Frm_results::Cmd_time_LostFocus() {
    if (repeat_->Pressed()) Cmd_time_MouseUp();
}

bool Frm_results::Place_Has_Time(int16_t Index) const {
    if (Index < 0 || Index >= Result_Places) return false;
    return Lane_Active_Heat_Array[static_cast<int16_t>(Index + 1)].Heat_result < Disqualified;
}

void Frm_results::Lbl_result_rank_MouseDown(int16_t Index) {
    vb::Trap(Is_Compiled, "Lbl_result_rank_MouseDown of Form Frm_results", [&] {
        if (!Review::File_open() || !Place_Has_Time(Index)) return;
        GoTo_Field(Index);
        Review::Set_Focus();
        Review::Print_Place_string(std::to_string(Index + 1));
        Review::SliderPlay_Focus();
    });
}

void Frm_results::Lbl_result_rank_MouseMove(int16_t Index) {
    if (!Review::File_open()) return;
    if (Place_Has_Time(Index)) {
        Lbl_result_rank(Index).setCursor(QCursor(QPixmap(":/cursor/FRAME")));
    } else {
        Lbl_result_rank(Index).unsetCursor();
        Reset_Screen_Pointer();
    }
}

void Frm_results::item_clear_all_results_Click() {
    vb::Trap(Is_Compiled, "item_clear_all_results_Click of Form Frm_results", [this] {
        if (!Review::File_open()) {
            QApplication::beep();
            return;
        }
        if (Change_Refused()) return;
        QApplication::beep();
        if (ui::MsgBox("This will clear all stored results for this heat, are you sure?",
                       ui::vbOKCancel + ui::vbDefaultButton2, "Clear results") == ui::vbOK)
            Review::Clear_All_Results();
        Review::Draw_Graphics(true, false);
    });
}

bool Frm_results::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    for (auto& [k, button] : Cmd_time) {
        if (watched != button) continue;
        if (type == QEvent::MouseButtonPress) Cmd_time_MouseDown(static_cast<int16_t>(k));
        if (type == QEvent::MouseButtonRelease) Cmd_time_MouseUp();
        if (type == QEvent::FocusOut) Cmd_time_LostFocus();
        return false;
    }
    for (auto& [r, label] : Lbl_result_rank) {
        if (watched != label) continue;
        if (type == QEvent::MouseButtonPress) Lbl_result_rank_MouseDown(static_cast<int16_t>(r));
        if (type == QEvent::MouseMove) Lbl_result_rank_MouseMove(static_cast<int16_t>(r));
        return false;
    }
    for (auto& [i, box] : Lbl_hms_correction) {
        if (watched != box || type != QEvent::MouseButtonPress || !mouse) continue;
        if (mouse->button() == Qt::RightButton) Lbl_hms_correction_RightDown();
        else if (mouse->button() == Qt::LeftButton) Lbl_hms_correction_Click(static_cast<int16_t>(i));
        return true;
    }
    // A frame's own press or release, not one its controls let pass on to it.
    const auto on_frame_itself = [&](QGroupBox* frame) {
        return watched == frame && mouse && !frame->childAt(mouse->position().toPoint());
    };
    if (type == QEvent::MouseButtonPress) {
        for (auto* array : {&Lbl_hms, &Lbl_hms_corrected})
            for (auto& [i, box] : *array)
                if (watched == box) Deselect_Correction_Items();
        if (on_frame_itself(Frm_correction)) Deselect_Correction_Items();
    }
    if (type == QEvent::MouseButtonRelease &&
        (on_frame_itself(Frm_time_select) || on_frame_itself(Frm_orig_time) || on_frame_itself(Frm_Corrected_time)))
        Deselect_Correction_Items();
    if (type == QEvent::MouseMove && mouse && watched != this && dynamic_cast<QWidget*>(watched) &&
        !dynamic_cast<QLabel*>(watched) && !dynamic_cast<QGroupBox*>(watched))
        Reset_Screen_Pointer();
    return ui::Form::eventFilter(watched, event);
}
