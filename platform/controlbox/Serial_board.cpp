#include "Serial_board.h"

#include <QTimer>

#include <charconv>

namespace controlbox {

int32_t Serial_From_Text(const std::string& text) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty() && value >= 0 ? value : 0;
}

Serial_board::Serial_board(std::unique_ptr<Modem_port> port) : port_(std::move(port)) {}

Serial_board::~Serial_board() {
    if (timer_) timer_->stop();
    if (port_) {
        port_->Set_DTR(false);
        port_->Close();
    }
}

void Serial_board::Open(Listener* opener) {
    if (attached_) {
        opener->Board_Attached();
        return;
    }
    if (!timer_) {
        timer_ = std::make_unique<QTimer>();
        timer_->setInterval(Poll_Interval_ms);
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { Poll(); });
        timer_->start();
    }
    polls_to_reopen_ = 0;
    Poll();
}

std::string Serial_board::Reason() const {
    const std::string text = port_->Error_Text();
    return text.empty() ? "the port does not answer" : text;
}

bool Serial_board::Input(int32_t index) const {
    return attached_ && index >= 0 && index < Inputs && inputs_[static_cast<size_t>(index)];
}

bool Serial_board::Set_Output(int32_t index, bool state) {
    if (index != 0 || !attached_ || !port_->Set_DTR(state)) return false;
    dtr_ = state;
    return true;
}

void Serial_board::Poll() {
    if (!attached_) {
        if (polls_to_reopen_ > 0) {
            --polls_to_reopen_;
            return;
        }
        polls_to_reopen_ = Reopen_Polls;
        if (!port_->Open()) {
            fault_ = Reason();
            return;
        }
        const std::optional<uint32_t> lines = port_->Lines();
        if (!lines) {
            fault_ = Reason();
            port_->Close();
            return;
        }
        fault_.clear();
        // The state found at attach is where changes count from; it is no change itself.
        inputs_ = {};
        for (const Wire& w : Wiring) inputs_[static_cast<size_t>(w.input)] = (*lines & w.line) != 0;
        serial_ = Serial_From_Text(port_->Serial_Number_Text());
        dtr_ = false;
        port_->Set_DTR(false);
        attached_ = true;
        Raise_Attached();
        return;
    }
    const std::optional<uint32_t> lines = port_->Lines();
    if (!lines) {
        fault_ = Reason();
        port_->Close();
        attached_ = false;
        dtr_ = false;
        inputs_ = {};
        polls_to_reopen_ = Reopen_Polls;
        Raise_Detached();
        return;
    }
    std::array<bool, Inputs> now{};
    for (const Wire& w : Wiring) now[static_cast<size_t>(w.input)] = (*lines & w.line) != 0;
    for (int32_t i = 0; i < Inputs && attached_; ++i) {
        const size_t s = static_cast<size_t>(i);
        if (now[s] == inputs_[s]) continue;
        inputs_[s] = now[s];
        Raise_Input_Changed(i, now[s]);
    }
}

}  // namespace controlbox
