#include "Test_errors.h"
#include "shell/Program_commands.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct Command {
    const char* name;
    void (*call)();
    std::function<void()> Program_commands::Commands::*slot;
};

const Command commands[] = {
    {"Vantorel_Initialization", &Program_commands::Vantorel_Initialization,
     &Program_commands::Commands::Vantorel_Initialization},
    {"Vantorel_exit", &Program_commands::Vantorel_exit, &Program_commands::Commands::Vantorel_exit},
    {"Stop_All_Captures", &Program_commands::Stop_All_Captures, &Program_commands::Commands::Stop_All_Captures},
    {"Emergency_Stop", &Program_commands::Emergency_Stop, &Program_commands::Commands::Emergency_Stop},
    {"Do_about", &Program_commands::Do_about, &Program_commands::Commands::Do_about},
};

TEST(Program_commands, A_command_not_filled_in_raises_91_naming_it) {
    Program_commands::Install({});
    for (const Command& c : commands) {
        try {
            c.call();
            ADD_FAILURE() << c.name << " raised nothing";
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), 91) << c.name;
            EXPECT_NE(e.Description().find(c.name), std::string::npos) << e.Description();
        }
    }
}

TEST(Program_commands, Each_command_runs_only_what_was_filled_in_for_it) {
    for (const Command& filled : commands) {
        std::string ran;
        Program_commands::Commands installed;
        installed.*filled.slot = [&] { ran += filled.name; };
        Program_commands::Install(installed);
        for (const Command& c : commands)
            EXPECT_EQ(Error_Of(c.call), &c == &filled ? 0 : 91) << filled.name << " / " << c.name;
        EXPECT_EQ(ran, filled.name);
    }
    Program_commands::Install({});
}

}  // namespace
