#pragma once
// A serial port's modem lines through Qt SerialPort. RTS is held on while the port is open, so that a
// contact or photocell can feed a status line from it. Data the port receives means nothing here: it is
// held in a small buffer and thrown away, so a device that talks cannot fill the memory.
#include "Modem_port.h"

#include <memory>

class QSerialPort;

namespace controlbox {

class Serial_modem_port final : public Modem_port {
public:
    explicit Serial_modem_port(std::string port_name);
    ~Serial_modem_port() override;

    bool Open() override;
    void Close() override;
    std::optional<uint32_t> Lines() override;
    bool Set_DTR(bool on) override;
    std::string Serial_Number_Text() const override;
    std::string Error_Text() const override { return error_; }
    // Received bytes held now; never more than a small buffer's worth.
    int64_t Held_Input() const;

private:
    std::string name_;
    std::string error_;
    std::unique_ptr<QSerialPort> port_;
};

}  // namespace controlbox
