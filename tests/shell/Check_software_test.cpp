// The start-up software check: the control-box software by its exact name, and the check window's
// load with and without a previous instance.
#include "Test_dialogs.h"
#include "shell/Form_check_software.h"
#include "shell/Module_testfor_software.h"
#include "shell/Program_commands.h"

#include <gtest/gtest.h>

namespace {

TEST(Test_For_Software, Only_the_control_box_software_by_its_exact_name_is_known) {
    EXPECT_TRUE(Module_testfor_software::Test_For_Software("Phidget"));
    for (const char* name : {"phidget", "PHIDGET", "", "Phidget ", "DirectShow"})
        EXPECT_FALSE(Module_testfor_software::Test_For_Software(name)) << name;
}

TEST(Form_check_software, The_load_checks_the_software_and_unloads_and_a_previous_instance_asks_for_the_exit) {
    int exits = 0, ends = 0;
    Program_commands::Commands commands;
    commands.Vantorel_exit = [&] { ++exits; };
    Program_commands::Install(commands);
    Test_dialogs& dialogs = Test_dialogs::Instance();
    dialogs.Reset();
    Form_check_software form;
    form.End_program = [&] { ++ends; };

    form.Load(false);
    EXPECT_TRUE(dialogs.Shown_Dialogs().empty());
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(exits, 0);

    dialogs.Answer(ui::vbOK);
    form.Load(true);
    EXPECT_EQ(dialogs.Shown_Prompts(), std::vector<std::string>{"A previous instance of this program is already running!"});
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(ends, 0);  // the software is there: the load goes on to its end
    EXPECT_FALSE(form.Loaded());
    dialogs.Expect_All_Answers_Used();
    dialogs.Reset();
    Program_commands::Install(Program_commands::Commands{});
}

}  // namespace
