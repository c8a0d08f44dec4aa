#include "Test_dialogs.h"
#include "platform/ui/Dialog_service.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(Dialog_service, a_scripted_dialog_answers_and_is_recorded_with_the_program_title) {
    Test_dialogs::Instance().Answer(ui::vbCancel);
    Test_dialogs::Instance().Answer_Input("Heat 4");
    EXPECT_EQ(ui::MsgBox("Exit program?", ui::vbOKCancel + ui::vbQuestion), ui::vbCancel);
    EXPECT_EQ(ui::InputBox("Heat name", "Rename"), "Heat 4");
    const auto& shown = Test_dialogs::Instance().Shown_Dialogs();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].prompt, "Exit program?");
    EXPECT_EQ(shown[0].title, "Vantorel_HDMI");
    EXPECT_EQ(shown[0].buttons, ui::vbOKCancel + ui::vbQuestion);
    EXPECT_EQ(shown[1].title, "Rename");
}

TEST(Dialog_service, an_unexpected_dialog_fails_the_test) {
    EXPECT_NONFATAL_FAILURE(ui::MsgBox("Surprise"), "unexpected message box: \"Surprise\"");
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_NONFATAL_FAILURE(ui::InputBox("Name?"), "expected a message box, got a input box");
}

TEST(Dialog_service, an_answer_for_a_dialog_that_never_appeared_fails_the_test) {
    Test_dialogs::Instance().Answer(ui::vbOK);
    Test_dialogs::Instance().Answer_Input("Anna");
    ui::MsgBox("Expected");
    EXPECT_NONFATAL_FAILURE(Test_dialogs::Instance().Expect_All_Answers_Used(),
                            "1 answer(s) queued for dialogs that never appeared, the first a input box");
    EXPECT_EQ(Test_dialogs::Instance().Unused_Answers(), 0u);
    Test_dialogs::Instance().Expect_All_Answers_Used();  // all used: nothing to report
}

}  // namespace
