#pragma once
// The modem lines of one serial port, as the serial control box uses them: four status lines read as
// inputs, DTR written as an output. A test puts a fake port in its place.
#include <cstdint>
#include <optional>
#include <string>

namespace controlbox {

class Modem_port {
public:
    enum Line : uint32_t { CTS = 1, DSR = 2, DCD = 4, RI = 8 };

    virtual ~Modem_port() = default;
    // True when the port is open (now or already).
    virtual bool Open() = 0;
    virtual void Close() = 0;
    // The status lines that are on, as Line bits; nothing when the port has failed (an adapter pulled out).
    virtual std::optional<uint32_t> Lines() = 0;
    virtual bool Set_DTR(bool on) = 0;
    // The adapter's own serial number text; "" when it has none.
    virtual std::string Serial_Number_Text() const = 0;
    // Why the last Open failed or the port failed since, as the system says it; "" when it did not.
    virtual std::string Error_Text() const = 0;
};

}  // namespace controlbox
