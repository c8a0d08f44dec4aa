#include "Simulated_board.h"

namespace controlbox {

Simulated_board& Simulated_board::Instance() {
    static Simulated_board board;
    return board;
}

void Simulated_board::Open(Listener* opener) {
    if (attached_) opener->Board_Attached();
}

bool Simulated_board::Input(int32_t index) const {
    return index >= 0 && index < Inputs && attached_ && inputs_[static_cast<size_t>(index)];
}

bool Simulated_board::Output(int32_t index) const {
    return index >= 0 && index < Outputs && outputs_[static_cast<size_t>(index)];
}

bool Simulated_board::Set_Output(int32_t index, bool state) {
    if (index < 0 || index >= Outputs || !attached_) return false;
    outputs_[static_cast<size_t>(index)] = state;
    if (Output_written) Output_written(index, state);
    return true;
}

void Simulated_board::Attach() {
    if (attached_) return;
    attached_ = true;
    Raise_Attached();
}

void Simulated_board::Detach() {
    if (!attached_) return;
    attached_ = false;
    Raise_Detached();
}

void Simulated_board::Set_Input(int32_t index, bool state) {
    if (index < 0 || index >= Inputs) return;
    bool& input = inputs_[static_cast<size_t>(index)];
    if (input == state) return;
    input = state;
    if (attached_) Raise_Input_Changed(index, state);
}

void Simulated_board::Reset() {
    attached_ = false;
    inputs_ = {};
    outputs_ = {};
    Output_written = nullptr;
}

}  // namespace controlbox
