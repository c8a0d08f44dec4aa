#pragma once
// A control box wired to a serial adapter: its status lines are the inputs the console uses and DTR is
// the lamp. The lines are polled (a serial port announces no line change); a port that cannot be opened
// is tried again every second, and one that fails detaches the box until it opens again.
//
//   CTS -> input 0 (remote start contact)   DSR -> input 1 (arming switch)
//   DCD -> input 2 (start button)           RI  -> input 5 (capture switch)
//   DTR <- output 0 (lamp)
#include "Kit_board.h"
#include "Modem_port.h"

#include <array>
#include <memory>

class QTimer;

namespace controlbox {

class Serial_board final : public Kit_board {
public:
    static constexpr int32_t Inputs = 6;
    static constexpr int32_t Outputs = 1;
    static constexpr int32_t Poll_Interval_ms = 10;
    static constexpr int32_t Reopen_Polls = 100;  // a second of polls between attempts to open
    // The input each status line feeds, in the order of Modem_port::Line's bits.
    struct Wire {
        Modem_port::Line line;
        int32_t input;
    };
    static constexpr std::array<Wire, 4> Wiring{{{Modem_port::CTS, 0}, {Modem_port::DSR, 1},
                                                 {Modem_port::DCD, 2}, {Modem_port::RI, 5}}};

    explicit Serial_board(std::unique_ptr<Modem_port> port);
    ~Serial_board() override;

    void Open(Listener* opener) override;
    bool Attached() const override { return attached_; }
    int32_t Serial_Number() const override { return attached_ ? serial_ : 0; }
    int32_t Input_Count() const override { return Inputs; }
    int32_t Output_Count() const override { return Outputs; }
    bool Input(int32_t index) const override;
    bool Output(int32_t index) const override { return index == 0 && dtr_; }
    bool Set_Output(int32_t index, bool state) override;
    std::string Fault() const override { return fault_; }

    // One look at the port: attach, detach, or the input changes since the last look, in input order.
    void Poll();

private:
    std::string Reason() const;

    std::unique_ptr<Modem_port> port_;
    std::unique_ptr<QTimer> timer_;
    bool attached_ = false;
    bool dtr_ = false;
    int32_t serial_ = 0;
    int32_t polls_to_reopen_ = 0;
    std::string fault_;
    std::array<bool, Inputs> inputs_{};
};

// The serial number a kit reports for an adapter: its serial number text when that is a decimal number
// that fits, else 0.
int32_t Serial_From_Text(const std::string& text);

}  // namespace controlbox
