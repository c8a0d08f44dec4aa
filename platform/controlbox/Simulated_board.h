#pragma once
// The simulated control box: one board for the whole program, with eight inputs and eight outputs, that
// tests and the developer window attach, detach and switch. It is not attached until someone attaches it,
// so the program runs without a box by default.
#include "Kit_board.h"

#include <array>
#include <functional>

namespace controlbox {

class Simulated_board final : public Kit_board {
public:
    static constexpr int32_t Inputs = 8;
    static constexpr int32_t Outputs = 8;
    static constexpr int32_t Simulated_Serial = 21600;

    static Simulated_board& Instance();

    void Open(Listener* opener) override;
    bool Attached() const override { return attached_; }
    int32_t Serial_Number() const override { return attached_ ? Simulated_Serial : 0; }
    int32_t Input_Count() const override { return Inputs; }
    int32_t Output_Count() const override { return Outputs; }
    bool Input(int32_t index) const override;
    bool Output(int32_t index) const override;
    bool Set_Output(int32_t index, bool state) override;

    // ---- driven by tests and the developer window ----
    void Attach();
    void Detach();
    // An input switched; a change is announced only while the board is attached.
    void Set_Input(int32_t index, bool state);
    // Heard after every output write (the developer window shows the lamp).
    std::function<void(int32_t index, bool state)> Output_written;
    // Detached, every input and output off, no one told.
    void Reset();

private:
    Simulated_board() = default;
    bool attached_ = false;
    std::array<bool, Inputs> inputs_{};
    std::array<bool, Outputs> outputs_{};
};

}  // namespace controlbox
