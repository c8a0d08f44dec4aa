#pragma once
// The control box as the console sees it: a digital input/output board with a start button, a remote
// start contact, an arming switch, a capture switch and a lamp. The kit offers what the program needs of
// the board's library: open, the attached state, the serial number, the input states, the outputs, and
// the input-change, attach and detach events. Behind it is either the simulated board or a serial
// adapter's modem lines (Create). Events arrive on the user-interface thread.
//
// A kit that is not attached reads every input off and serial number 0; writing an output then fails.
#include "Kit_board.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace controlbox {

class Interface_kit final : private Kit_board::Listener {
public:
    // A kit on the simulated board.
    Interface_kit();
    // A kit on the given board.
    explicit Interface_kit(std::shared_ptr<Kit_board> board);
    ~Interface_kit();
    Interface_kit(const Interface_kit&) = delete;
    Interface_kit& operator=(const Interface_kit&) = delete;

    // The kit for a serial port's device path (a serial adapter's modem lines), or on the simulated board
    // when the path is empty.
    static std::unique_ptr<Interface_kit> Create(const std::string& serial_port);

    // The library's version text, as the start-up check and the about box read it.
    std::string Library_Version() const;
    // True on the simulated board.
    bool Simulated() const;
    // Why the board is not there when it should be (its port cannot be opened or went away); "" otherwise.
    std::string Fault() const;

    // Starts the kit: from now on its events are raised; an attached board raises OnAttach at once.
    // Serial 0 takes whatever board is there.
    void Open(int32_t serial);
    bool Attached() const;
    int32_t SerialNumber() const;
    int32_t InputCount() const;
    int32_t OutputCount() const;
    // Raises error 9 for an index the kit does not have.
    bool InputState(int32_t index) const;
    bool OutputState(int32_t index) const;
    // Raises an error when the board does not take the value (not attached, no such output).
    void OutputState(int32_t index, bool state);

    std::function<void(int32_t index, bool state)> OnInputChange;
    std::function<void()> OnAttach;
    std::function<void()> OnDetach;

private:
    void Board_Attached() override;
    void Board_Detached() override;
    void Board_Input_Changed(int32_t index, bool state) override;

    std::shared_ptr<Kit_board> board_;
    bool open_ = false;
};

}  // namespace controlbox
