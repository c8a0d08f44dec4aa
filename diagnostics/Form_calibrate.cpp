#include "Form_calibrate.h"

#include "platform/graphics/Graphics.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Place.h"
#include "platform/ui/Screen.h"

#include <QLabel>

using ui::Place;

Form_calibrate::Form_calibrate() : ui::Form("Form_calibrate") {
    setFixedSize(4800 / ui::Twips_Per_Pixel_X(), 2400 / ui::Twips_Per_Pixel_Y());
    Set_Caption("Calibrate");
    Cmd_start = Place(new ui::Command_button("Start", this), 120, 120, 1335, 495);
    Cmd_get = Place(new ui::Command_button("Get", this), 1680, 120, 1335, 495);
    Cmd_end = Place(new ui::Command_button("End", this), 3240, 120, 1335, 495);
    Lbl_CycleCount = Place(new QLabel("Label1", this), 120, 840, 4455, 375);
    Lbl_cycles_per_second = Place(new QLabel("Label1", this), 120, 1440, 4455, 375);
    for (QLabel* label : {Lbl_CycleCount, Lbl_cycles_per_second}) {
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::Box);
    }
    Cmd_start->On_Click([this] { Cmd_start_Click(); });
    Cmd_get->On_Click([this] { Cmd_get_Click(); });
    Cmd_end->On_Click([this] { Cmd_end_Click(); });
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void Form_calibrate::Cmd_start_Click() {
    Timer1.start();
    calibration_.Start(graphics::GetCycleCount(), sys::timeGetTime());
}

void Form_calibrate::Cmd_get_Click() {
    Lbl_CycleCount->setText(QString::fromStdString(Clock_calibration::Count_Text(graphics::GetCycleCount())));
}

void Form_calibrate::Timer1_Timer() {
    // Less than half a second since a second Start: no whole second yet, the label keeps its value.
    if (const std::optional<double> rate = calibration_.Per_Second(graphics::GetCycleCount(), sys::timeGetTime()))
        Lbl_cycles_per_second->setText(QString::fromStdString(Clock_calibration::Rate_Text(*rate)));
}

void Form_calibrate::Cmd_end_Click() { Timer1.stop(); }

void Form_calibrate::Form_Unload(int16_t&) { Timer1.stop(); }
