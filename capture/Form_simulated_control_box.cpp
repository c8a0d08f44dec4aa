#include "Form_simulated_control_box.h"

#include "platform/controlbox/Simulated_board.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* Captions[] = {"0  Remote start contact", "1  Arming switch", "2  Start button",
                                    "3  (no effect on heats)", "4  (no effect on heats)", "5  Capture switch"};

}  // namespace

Form_simulated_control_box::Form_simulated_control_box() : ui::Form("Form_simulated_control_box") {
    Set_Caption("Simulated control box");
    auto* layout = new QVBoxLayout(this);
    controlbox::Simulated_board& board = controlbox::Simulated_board::Instance();
    Command_attach = new QPushButton(this);
    connect(Command_attach, &QPushButton::clicked, this, [this, &board] {
        if (board.Attached())
            board.Detach();
        else
            board.Attach();
        Show_State();
    });
    layout->addWidget(Command_attach);
    for (int32_t i = 0; i < static_cast<int32_t>(Check_input.size()); ++i) {
        QCheckBox* box = new QCheckBox(Captions[i], this);
        Check_input[static_cast<size_t>(i)] = box;
        connect(box, &QCheckBox::toggled, this, [i, &board](bool on) { board.Set_Input(i, on); });
        layout->addWidget(box);
    }
    Label_lamp = new QLabel(this);
    layout->addWidget(Label_lamp);
    board.Output_written = [this](int32_t, bool) { Show_State(); };
    Show_State();
}

Form_simulated_control_box::~Form_simulated_control_box() {
    controlbox::Simulated_board::Instance().Output_written = nullptr;
}

void Form_simulated_control_box::Show_State() {
    const controlbox::Simulated_board& board = controlbox::Simulated_board::Instance();
    Command_attach->setText(board.Attached() ? "Detach" : "Attach");
    const bool lit = board.Output(0);
    Label_lamp->setText(lit ? "Lamp (output 0): on" : "Lamp (output 0): off");
    Label_lamp->setStyleSheet(lit ? "background-color: rgb(255, 255, 0)" : "");
}
