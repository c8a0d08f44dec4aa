#pragma once
// The developer window of the simulated control box: attach and detach it, switch its inputs, and see
// its lamp (output 0), so that every path of the console's box logic runs without a board.
#include "platform/ui/Form.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

class Form_simulated_control_box : public ui::Form {
public:
    static Form_simulated_control_box& Instance() { return ui::Instance_Of<Form_simulated_control_box>(); }
    Form_simulated_control_box();
    ~Form_simulated_control_box() override;

    std::array<QCheckBox*, 6> Check_input{};
    QPushButton* Command_attach;
    QLabel* Label_lamp;

private:
    void Show_State();
};
