#include "Form_Auto_detect.h"

#include "Frm_kanot_2.h"
#include "platform/ui/Command_button.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHideEvent>
#include <QShowEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <sstream>
#include <vector>

namespace {

QLabel* Label(QWidget* parent, const char* caption, int x, int y, int w = 40, int h = 17) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x, y, w, h);
    return label;
}

// An up-down control beside its buddy label: a step writes the new position into the caption. The
// position follows the caption when it changes from elsewhere, so a step goes on from the shown limit.
QSpinBox* Up_down(QWidget* parent, QLabel* buddy, int maximum) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(0, maximum);
    spin->setValue(0);
    spin->setGeometry(buddy->x() + buddy->width(), buddy->y() - 2, 18, buddy->height() + 4);
    spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // Only the arrows show: the caption beside them is the buddy label.
    if (auto* text = spin->findChild<QLineEdit*>()) text->hide();
    spin->setFrame(false);
    QObject::connect(spin, &QSpinBox::valueChanged, buddy, [buddy](int value) { buddy->setText(QString::number(value)); });
    return spin;
}

void Follow_Caption(QSpinBox* spin, const QLabel* buddy) {
    bool ok = false;
    const int value = buddy->text().toInt(&ok);
    if (!ok || value < spin->minimum() || value > spin->maximum()) return;
    const QSignalBlocker quiet(spin);
    spin->setValue(value);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::stringstream in(text);
    for (std::string piece; std::getline(in, piece, separator);) pieces.push_back(piece);
    return pieces;
}

}  // namespace

Form_Auto_detect::Form_Auto_detect() : ui::Form("Form_Auto_detect") {
    Set_Caption("Boat AutoDetect");
    resize(330, 330);
    Check_set_times_auto = new QCheckBox("Set times on auto", this);
    Check_set_times_auto->setGeometry(10, 8, 150, 20);
    Check_draw_HSL = new QCheckBox("Draw HSL", this);
    Check_draw_HSL->setGeometry(170, 8, 150, 20);
    QObject::connect(Check_draw_HSL, &QCheckBox::clicked, this, [] {
        Frm_kanot_2& review = Frm_kanot_2::Instance();
        review.SliderPlay_Focus();
        review.Slider_play_Scroll();
    });

    Frame_Triggers = new QGroupBox("Triggers", this);
    Frame_Triggers->setGeometry(10, 34, 150, 120);
    // One heading per column, each over its own column whatever the font's widths.
    Label(Frame_Triggers, "Min", 42, 18, 40);
    Label(Frame_Triggers, "Max", 86, 18, 40);
    Label(Frame_Triggers, "Use", 124, 18, 24);
    Label_HUE = Label(Frame_Triggers, "Hue", 8, 40, 34);
    Label_SAT = Label(Frame_Triggers, "Sat.", 8, 64, 34);
    Label_LUM = Label(Frame_Triggers, "Lum.", 8, 88, 34);
    Label_hue_min = Label(Frame_Triggers, "40", 42, 40, 24);
    Label_hue_max = Label(Frame_Triggers, "88", 86, 40, 24);
    Label_Sat_min = Label(Frame_Triggers, "40", 42, 64, 24);
    Label_lum_min = Label(Frame_Triggers, "50", 42, 88, 24);
    Label_lum_max = Label(Frame_Triggers, "123", 86, 88, 24);
    UpDown_hue_min = Up_down(Frame_Triggers, Label_hue_min, 150);
    UpDown2 = Up_down(Frame_Triggers, Label_hue_max, 360);
    UpDown_sat = Up_down(Frame_Triggers, Label_Sat_min, 100);
    UpDown_lum_min = Up_down(Frame_Triggers, Label_lum_min, 100);
    UpDownLum_max = Up_down(Frame_Triggers, Label_lum_max, 150);
    Follow_Caption(UpDown_hue_min, Label_hue_min);
    Follow_Caption(UpDown2, Label_hue_max);
    Follow_Caption(UpDown_sat, Label_Sat_min);
    Follow_Caption(UpDown_lum_min, Label_lum_min);
    Follow_Caption(UpDownLum_max, Label_lum_max);
    for (int i = 0; i < 3; ++i) {
        Check_use[static_cast<size_t>(i)] = new QCheckBox(Frame_Triggers);
        Check_use[static_cast<size_t>(i)]->setGeometry(128, 40 + 24 * i, 18, 17);
    }

    Frame_HSL = new QGroupBox("HSL", this);
    Frame_HSL->setGeometry(170, 34, 150, 120);
    Picture_test = new QLabel(Frame_HSL);
    Picture_test->setGeometry(10, 20, 40, 40);
    Picture_test->setAutoFillBackground(true);
    Picture_test->setFrameShape(QFrame::Box);
    Label_XY = Label(Frame_HSL, "100,200", 10, 70, 90);
    for (int i = 0; i < 3; ++i) Label_hsl[static_cast<size_t>(i)] = Label(Frame_HSL, "H=123", 70, 20 + 22 * i, 70);

    Frame_Goal_line = new QGroupBox("Goal line", this);
    Frame_Goal_line->setGeometry(10, 160, 250, 120);
    Label(Frame_Goal_line, "Min", 60, 18, 35);
    Label(Frame_Goal_line, "Max", 95, 18, 35);
    Label(Frame_Goal_line, "Avg", 130, 18, 35);
    const char* rows[] = {"Hue", "Sat.", "Lum."};
    for (int i = 0; i < 3; ++i) {
        const auto n = static_cast<size_t>(i);
        Label(Frame_Goal_line, rows[i], 8, 40 + 24 * i, 40);
        Label_min[n] = Label(Frame_Goal_line, "123", 60, 40 + 24 * i, 30);
        Label_max[n] = Label(Frame_Goal_line, "123", 95, 40 + 24 * i, 30);
        Label_avg[n] = Label(Frame_Goal_line, "123", 130, 40 + 24 * i, 30);
    }
    Shape_Trigger_Circle = new QLabel(this);
    Shape_Trigger_Circle->setGeometry(280, 200, 30, 30);
    Show_Trigger(false);

    Command_start_Auto = new ui::Command_button("Start Auto Detect", this);
    Command_start_Auto->setGeometry(10, 290, 150, 30);
    Command_start_Auto->On_Click([] { Frm_kanot_2::Instance().Auto_Detect(); });
    Command_Continue_Auto = new ui::Command_button("Continue Auto Detect", this);
    Command_Continue_Auto->setGeometry(170, 290, 150, 30);
}

void Form_Auto_detect::Form_Load() {
    vb::Trap(Module_Vantorel::Is_Compiled, "Form_Load of Form Form_Auto_detect", [this] {
        int32_t left = 0, top = 0, width = 0, height = 0;
        Module_dependant::Get_Form_Pos(Name(), left, top, width, height);
        Move(left, top);
    });
}

void Form_Auto_detect::Form_Activate() { Load_Trigger_levels(); }

void Form_Auto_detect::showEvent(QShowEvent* event) {
    ui::Form::showEvent(event);
    if (!event->spontaneous() && ui::Is_Loaded("Frm_kanot_2")) Frm_kanot_2::Instance().item_auto_detect.Set_Checked(true);
}

// A minimised window is still open: only a hide the program makes clears the mark.
void Form_Auto_detect::hideEvent(QHideEvent* event) {
    ui::Form::hideEvent(event);
    if (!event->spontaneous() && ui::Is_Loaded("Frm_kanot_2")) Frm_kanot_2::Instance().item_auto_detect.Set_Checked(false);
}

void Form_Auto_detect::Load_Trigger_levels() {
    Activated = true;
    const std::string s = Non_dependant::Read_Ini("settings", "trigger_levels", Module_Vantorel::Ini_file_path, "N/A");
    if (s == "N/A") return;
    const std::vector<std::string> pieces = Split(s, ',');
    if (pieces.size() < 4) return;
    QLabel* limits[] = {Label_hue_min, Label_hue_max, Label_Sat_min, Label_lum_min};
    QSpinBox* spins[] = {UpDown_hue_min, UpDown2, UpDown_sat, UpDown_lum_min};
    for (size_t i = 0; i < 4; ++i) {
        limits[i]->setText(QString::fromStdString(pieces[i]));
        Follow_Caption(spins[i], limits[i]);
    }
}

void Form_Auto_detect::Form_QueryUnload(int16_t&, int16_t) {
    Module_dependant::Store_Form_Pos(Name(), Left(), Top(), 0, 0);
    if (Activated) Store_Trigger_levels();
}

void Form_Auto_detect::Store_Trigger_levels() {
    const std::string text = Label_hue_min->text().toStdString() + "," + Label_hue_max->text().toStdString() + "," +
                             Label_Sat_min->text().toStdString() + "," + Label_lum_min->text().toStdString();
    Non_dependant::Write_Ini("settings", "trigger_levels", text, Module_Vantorel::Ini_file_path);
}

void Form_Auto_detect::Pixel_to_HSL(int32_t myPixel) { Pixel_HSL = Non_dependant::RGB_To_HSL(myPixel); }

std::optional<Auto_detect::Trigger_levels> Form_Auto_detect::Levels() const {
    return Auto_detect::Levels_From_Texts(Label_hue_min->text().toStdString(), Label_hue_max->text().toStdString(),
                                          Label_Sat_min->text().toStdString(), Label_lum_min->text().toStdString());
}

void Form_Auto_detect::Show_Trigger(bool triggered) {
    if (indicator_ == static_cast<int>(triggered)) return;
    indicator_ = triggered;
    Shape_Trigger_Circle->setStyleSheet(triggered ? "background: rgb(255,0,0); border-radius: 15px;"
                                                  : "background: rgb(0,255,0); border-radius: 15px;");
}

bool Form_Auto_detect::Test_pixel_for_Trigger(int32_t myPixel, bool mMove) {
    trig_H = trig_S = trig_L = trig_Tot = false;
    Pixel_to_HSL(myPixel);
    const std::optional<Auto_detect::Trigger_levels> levels = Levels();
    const bool triggers = levels && Auto_detect::Triggers(Pixel_HSL, *levels);
    Show_Trigger(triggers);
    if (mMove) {
        if (myPixel > 1) {
            QPalette palette = Picture_test->palette();
            palette.setColor(QPalette::Window, QColor(myPixel & 0xFF, (myPixel >> 8) & 0xFF, (myPixel >> 16) & 0xFF));
            Picture_test->setPalette(palette);
        }
        Picture_test->repaint();
        Label_hsl[0]->setText(QString::fromStdString("H= " + std::to_string(Pixel_HSL.Hue)));
        Label_hsl[1]->setText(QString::fromStdString("S= " + std::to_string(Pixel_HSL.Sat)));
        Label_hsl[2]->setText(QString::fromStdString("L= " + std::to_string(Pixel_HSL.Lum)));
        const Frm_kanot_2& review = Frm_kanot_2::Instance();
        Label_XY->setText(QString::fromStdString(vb::CStr(static_cast<double>(review.Picture_large_Last_X)) + "," +
                                                 vb::CStr(static_cast<double>(review.Picture_large_Last_Y))));
    }
    return triggers;
}
