#include "Interface_kit.h"

#include "Serial_board.h"
#include "Serial_modem_port.h"
#include "Simulated_board.h"
#include "platform/vb/VbError.h"

namespace controlbox {

namespace {

// The simulated board lives for the whole program; kits share it without owning it.
std::shared_ptr<Kit_board> Simulated_shared() { return {std::shared_ptr<Kit_board>{}, &Simulated_board::Instance()}; }

}  // namespace

Interface_kit::Interface_kit() : board_(Simulated_shared()) {}

Interface_kit::Interface_kit(std::shared_ptr<Kit_board> board) : board_(board ? std::move(board) : Simulated_shared()) {}

Interface_kit::~Interface_kit() {
    if (open_) board_->Remove_Listener(this);
}

std::unique_ptr<Interface_kit> Interface_kit::Create(const std::string& serial_port) {
    if (serial_port.empty()) return std::make_unique<Interface_kit>();
    return std::make_unique<Interface_kit>(
        std::make_shared<Serial_board>(std::make_unique<Serial_modem_port>(serial_port)));
}

std::string Interface_kit::Library_Version() const {
    return std::string("Phidget COM Library 2.1.6 - Phidget21 - Version 2.1.6") +
           (Simulated() ? " (simulated interface kit)" : " (serial port control box)");
}

bool Interface_kit::Simulated() const { return board_.get() == &Simulated_board::Instance(); }

void Interface_kit::Open(int32_t) {
    if (open_) return;
    open_ = true;
    board_->Add_Listener(this);
    board_->Open(this);
}

std::string Interface_kit::Fault() const { return board_->Fault(); }

bool Interface_kit::Attached() const { return board_->Attached(); }
int32_t Interface_kit::SerialNumber() const { return board_->Serial_Number(); }
int32_t Interface_kit::InputCount() const { return board_->Input_Count(); }
int32_t Interface_kit::OutputCount() const { return board_->Output_Count(); }

bool Interface_kit::InputState(int32_t index) const {
    if (index < 0 || index >= board_->Input_Count())
        throw VbError(vb::Err_Subscript, "The control box has no input " + std::to_string(index));
    return board_->Input(index);
}

bool Interface_kit::OutputState(int32_t index) const {
    if (index < 0 || index >= board_->Output_Count())
        throw VbError(vb::Err_Subscript, "The control box has no output " + std::to_string(index));
    return board_->Output(index);
}

void Interface_kit::OutputState(int32_t index, bool state) {
    if (index < 0 || index >= board_->Output_Count())
        throw VbError(vb::Err_Subscript, "The control box has no output " + std::to_string(index));
    if (!board_->Set_Output(index, state))
        throw VbError(vb::Err_Invalid_Call, "The control box did not switch output " + std::to_string(index));
}

void Interface_kit::Board_Attached() {
    if (OnAttach) OnAttach();
}

void Interface_kit::Board_Detached() {
    if (OnDetach) OnDetach();
}

void Interface_kit::Board_Input_Changed(int32_t index, bool state) {
    if (OnInputChange) OnInputChange(index, state);
}

}  // namespace controlbox
