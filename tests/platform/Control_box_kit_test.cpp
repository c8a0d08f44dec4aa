// The interface kit over its two boards: the simulated one that tests and the developer window drive,
// and a serial adapter's modem lines, here a fake port.
#include "platform/controlbox/Interface_kit.h"
#include "platform/controlbox/Serial_board.h"
#include "platform/controlbox/Serial_modem_port.h"
#include "platform/controlbox/Simulated_board.h"
#include "platform/vb/VbError.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using controlbox::Interface_kit;
using controlbox::Modem_port;
using controlbox::Serial_board;
using controlbox::Simulated_board;

namespace {

// What a kit told its owner, one text per event.
struct Heard {
    std::vector<std::string> events;
    void Listen(Interface_kit& kit) {
        kit.OnAttach = [this] { events.push_back("attach"); };
        kit.OnDetach = [this] { events.push_back("detach"); };
        kit.OnInputChange = [this](int32_t index, bool state) {
            events.push_back(std::to_string(index) + (state ? " on" : " off"));
        };
    }
};

class Fake_port final : public Modem_port {
public:
    struct State {
        bool present = true;  // the adapter is plugged in
        bool open = false;
        uint32_t lines = 0;
        bool dtr = false;
        std::string serial = "4711";
        int opens = 0;
    };
    explicit Fake_port(std::shared_ptr<State> s) : s_(std::move(s)) {}
    bool Open() override {
        ++s_->opens;
        s_->open = s_->present;
        return s_->open;
    }
    void Close() override { s_->open = false; }
    std::optional<uint32_t> Lines() override {
        if (!s_->open || !s_->present) return std::nullopt;
        return s_->lines;
    }
    bool Set_DTR(bool on) override {
        if (!s_->open) return false;
        s_->dtr = on;
        return true;
    }
    std::string Serial_Number_Text() const override { return s_->serial; }
    std::string Error_Text() const override { return s_->present ? "" : "No such file or directory"; }

private:
    std::shared_ptr<State> s_;
};

class Simulated_kit : public testing::Test {
protected:
    void SetUp() override { Simulated_board::Instance().Reset(); }
    void TearDown() override { Simulated_board::Instance().Reset(); }
};

}  // namespace

TEST_F(Simulated_kit, Reports_attach_inputs_and_detach_and_drives_output_zero) {
    Simulated_board& board = Simulated_board::Instance();
    Interface_kit kit;
    Heard heard;
    heard.Listen(kit);
    EXPECT_TRUE(kit.Simulated());
    EXPECT_NE(kit.Library_Version().find("Phidget COM Library 2.1.6"), std::string::npos);
    EXPECT_NE(kit.Library_Version().find("Phidget21 - Version 2.1.6"), std::string::npos);
    board.Set_Input(2, true);  // before the kit is open: nobody hears it
    kit.Open(0);
    // Not attached: no box, every input reads off, the lamp cannot be switched.
    EXPECT_FALSE(kit.Attached());
    EXPECT_EQ(kit.SerialNumber(), 0);
    EXPECT_FALSE(kit.InputState(2));
    EXPECT_THROW(kit.OutputState(0, true), VbError);
    board.Set_Input(5, true);  // a detached board announces nothing
    board.Attach();
    EXPECT_TRUE(kit.Attached());
    EXPECT_EQ(kit.SerialNumber(), Simulated_board::Simulated_Serial);
    EXPECT_TRUE(kit.InputState(2));
    EXPECT_TRUE(kit.InputState(5));
    board.Set_Input(0, true);
    board.Set_Input(0, true);  // no change, no event
    board.Set_Input(1, true);
    board.Set_Input(0, false);
    std::vector<std::pair<int32_t, bool>> written;
    board.Output_written = [&](int32_t index, bool state) { written.emplace_back(index, state); };
    kit.OutputState(0, true);
    EXPECT_TRUE(kit.OutputState(0));
    EXPECT_TRUE(board.Output(0));
    board.Detach();
    EXPECT_FALSE(kit.Attached());
    EXPECT_FALSE(kit.InputState(1));
    EXPECT_EQ(heard.events, (std::vector<std::string>{"attach", "0 on", "1 on", "0 off", "detach"}));
    EXPECT_EQ(written, (std::vector<std::pair<int32_t, bool>>{{0, true}}));
    // Indexes the kit does not have are errors, not quiet answers.
    for (int32_t index : {-1, Simulated_board::Inputs}) EXPECT_THROW(kit.InputState(index), VbError) << index;
    EXPECT_THROW(kit.OutputState(Simulated_board::Outputs), VbError);
}

TEST_F(Simulated_kit, An_attached_board_attaches_a_kit_at_its_open_and_a_released_kit_hears_nothing) {
    Simulated_board& board = Simulated_board::Instance();
    board.Attach();
    Heard first, second;
    {
        Interface_kit kit;
        first.Listen(kit);
        kit.Open(0);
        Interface_kit other;
        second.Listen(other);
        other.Open(0);
        board.Set_Input(2, true);
    }
    board.Set_Input(2, false);
    EXPECT_EQ(first.events, (std::vector<std::string>{"attach", "2 on"}));
    EXPECT_EQ(second.events, (std::vector<std::string>{"attach", "2 on"}));
}

// Each status line feeds the input the console expects of it; DTR is the lamp. A pulled adapter detaches
// the box, and it attaches again when the port opens again.
TEST(Serial_kit, Modem_lines_map_to_the_inputs_and_dtr_is_output_zero) {
    auto port = std::make_shared<Fake_port::State>();
    port->lines = Modem_port::DSR;  // the arming switch is on when the box is found
    auto board = std::make_shared<Serial_board>(std::make_unique<Fake_port>(port));
    Interface_kit kit(board);
    Heard heard;
    heard.Listen(kit);
    EXPECT_FALSE(kit.Simulated());
    EXPECT_NE(kit.Library_Version().find("Phidget21 - Version 2.1.6"), std::string::npos);
    kit.Open(0);
    ASSERT_TRUE(kit.Attached());
    EXPECT_EQ(kit.SerialNumber(), 4711);
    EXPECT_EQ(kit.InputCount(), 6);
    EXPECT_TRUE(kit.InputState(1));
    EXPECT_EQ(heard.events, (std::vector<std::string>{"attach"}));

    struct Row {
        uint32_t lines;
        std::vector<std::string> events;
    } rows[] = {
        {Modem_port::DSR | Modem_port::CTS, {"0 on"}},
        {Modem_port::DSR | Modem_port::CTS | Modem_port::DCD, {"2 on"}},
        {Modem_port::DSR | Modem_port::RI, {"0 off", "2 off", "5 on"}},
        {Modem_port::DSR | Modem_port::RI, {}},
        {0, {"1 off", "5 off"}},
        {Modem_port::CTS | Modem_port::DSR | Modem_port::DCD | Modem_port::RI, {"0 on", "1 on", "2 on", "5 on"}},
    };
    for (const Row& row : rows) {
        heard.events.clear();
        port->lines = row.lines;
        board->Poll();
        EXPECT_EQ(heard.events, row.events) << row.lines;
        for (int32_t input : {3, 4}) EXPECT_FALSE(kit.InputState(input));
    }
    kit.OutputState(0, true);
    EXPECT_TRUE(port->dtr);
    kit.OutputState(0, false);
    EXPECT_FALSE(port->dtr);
    EXPECT_THROW(kit.OutputState(1, true), VbError);

    // Pulled out: detached, inputs read off, the lamp cannot be written; tried again a second later.
    heard.events.clear();
    port->present = false;
    EXPECT_EQ(kit.Fault(), "");
    board->Poll();
    EXPECT_FALSE(kit.Attached());
    EXPECT_EQ(kit.Fault(), "No such file or directory");  // why, for the operator
    EXPECT_FALSE(kit.InputState(0));
    EXPECT_THROW(kit.OutputState(0, true), VbError);
    const int opens = port->opens;
    port->present = true;
    port->serial = "FT232-A";
    port->lines = Modem_port::RI;
    for (int i = 0; i < Serial_board::Reopen_Polls; ++i) board->Poll();
    EXPECT_EQ(port->opens, opens);
    EXPECT_FALSE(kit.Attached());
    board->Poll();
    EXPECT_TRUE(kit.Attached());
    EXPECT_EQ(kit.SerialNumber(), 0);  // no number in the adapter's serial text
    EXPECT_EQ(kit.Fault(), "");
    EXPECT_TRUE(kit.InputState(5));
    EXPECT_EQ(heard.events, (std::vector<std::string>{"detach", "attach"}));
}

TEST(Serial_kit, A_port_that_cannot_be_opened_leaves_the_program_without_a_box) {
    auto port = std::make_shared<Fake_port::State>();
    port->present = false;
    Interface_kit kit(std::make_shared<Serial_board>(std::make_unique<Fake_port>(port)));
    Heard heard;
    heard.Listen(kit);
    kit.Open(0);
    EXPECT_FALSE(kit.Attached());
    EXPECT_EQ(kit.Fault(), "No such file or directory");
    EXPECT_FALSE(kit.InputState(0));
    EXPECT_TRUE(heard.events.empty());
    // A device path that names no port: the real kit is made and simply stays detached.
    std::unique_ptr<Interface_kit> real = Interface_kit::Create("/nonexistent/ttyUSB9");
    real->Open(0);
    EXPECT_FALSE(real->Simulated());
    EXPECT_FALSE(real->Attached());
    EXPECT_FALSE(real->Fault().empty());  // the system's reason, to tell the operator
    EXPECT_TRUE(Interface_kit::Create("")->Simulated());
    EXPECT_EQ(Interface_kit::Create("")->Fault(), "");
}

// A device on the port that sends data (a terminal's echo, a photocell with a serial output): only the
// modem lines are read, and what it sends is never gathered. A pseudo-terminal stands in for the adapter.
TEST(Serial_kit, A_port_that_talks_holds_no_more_than_a_small_buffer) {
    const int device = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(device, 0);
    ASSERT_EQ(grantpt(device), 0);
    ASSERT_EQ(unlockpt(device), 0);
    controlbox::Serial_modem_port port(ptsname(device));
    ASSERT_TRUE(port.Open());
    const std::string chunk(4096, 'x');
    int64_t sent = 0;
    int64_t most_held = 0;
    for (int round = 0; round < 2000 && sent < 4 * 1024 * 1024; ++round) {
        const ssize_t n = write(device, chunk.data(), chunk.size());
        if (n > 0) sent += n;
        QCoreApplication::processEvents();
        most_held = std::max(most_held, port.Held_Input());
        port.Lines();
    }
    port.Close();
    close(device);
    EXPECT_GT(sent, 1024 * 1024);  // the port kept taking what was sent
    EXPECT_LE(most_held, 4096);
}
