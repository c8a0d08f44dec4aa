#include "Serial_modem_port.h"

#include <QSerialPort>
#include <QSerialPortInfo>

namespace controlbox {

namespace {

constexpr qint64 Read_Buffer_Bytes = 256;

}  // namespace

Serial_modem_port::Serial_modem_port(std::string port_name) : name_(std::move(port_name)) {}

Serial_modem_port::~Serial_modem_port() { Close(); }

bool Serial_modem_port::Open() {
    if (port_ && port_->isOpen()) return true;
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(QString::fromStdString(name_));
    port_->setReadBufferSize(Read_Buffer_Bytes);
    if (!port_->open(QIODevice::ReadWrite)) {
        error_ = port_->errorString().toStdString();
        port_.reset();
        return false;
    }
    error_.clear();
    port_->setRequestToSend(true);
    port_->setDataTerminalReady(false);
    return true;
}

void Serial_modem_port::Close() {
    if (port_ && port_->isOpen()) port_->close();
    port_.reset();
}

std::optional<uint32_t> Serial_modem_port::Lines() {
    if (!port_ || !port_->isOpen()) return std::nullopt;
    // Drained at every look at the lines: a full buffer stops Qt reading, and the system's own would fill.
    if (port_->bytesAvailable() > 0) port_->clear(QSerialPort::Input);
    const QSerialPort::PinoutSignals pins = port_->pinoutSignals();
    if (port_->error() == QSerialPort::ResourceError) {
        error_ = port_->errorString().toStdString();
        return std::nullopt;
    }
    uint32_t lines = 0;
    if (pins & QSerialPort::ClearToSendSignal) lines |= CTS;
    if (pins & QSerialPort::DataSetReadySignal) lines |= DSR;
    if (pins & QSerialPort::DataCarrierDetectSignal) lines |= DCD;
    if (pins & QSerialPort::RingIndicatorSignal) lines |= RI;
    return lines;
}

bool Serial_modem_port::Set_DTR(bool on) {
    return port_ && port_->isOpen() && port_->setDataTerminalReady(on);
}

std::string Serial_modem_port::Serial_Number_Text() const {
    if (!port_) return {};
    return QSerialPortInfo(*port_).serialNumber().toStdString();
}

int64_t Serial_modem_port::Held_Input() const { return port_ ? port_->bytesAvailable() : 0; }

}  // namespace controlbox
