#pragma once
// The clock calibration: how many ticks of the graphics library's cycle counter pass per second of the
// millisecond tick, measured from Start on every second until End.
#include "Clock_calibration.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Form.h"

#include <QTimer>

class QLabel;

class Form_calibrate : public ui::Form {
public:
    static Form_calibrate& Instance() { return ui::Instance_Of<Form_calibrate>(); }
    Form_calibrate();

    void Cmd_start_Click();
    void Cmd_get_Click();
    void Cmd_end_Click();
    void Timer1_Timer();

    ui::Command_button* Cmd_start;
    ui::Command_button* Cmd_get;
    ui::Command_button* Cmd_end;
    QLabel* Lbl_CycleCount;
    QLabel* Lbl_cycles_per_second;
    QTimer Timer1;

protected:
    void Form_Unload(int16_t& cancel) override;

private:
    Clock_calibration calibration_;
};
