#include "Test_dialogs.h"
#include "shell/Module_Validate_XML.h"

#include <gtest/gtest.h>

namespace {

TEST(Validate_XML_string, A_good_text_shows_nothing_and_a_bad_one_names_reason_position_and_text) {
    EXPECT_TRUE(Module_Validate_XML::Validate_XML_string("<?xml version=\"1.0\"?>\r\n<KDR_header><a>1</a></KDR_header>"));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());

    struct Row { const char* text; const char* src_text; } rows[] = {
        {"<KDR_header>\n  <a>1</b>\n</KDR_header>", "  <a>1</b>"},
        {"", ""},
        {"not xml at all", "not xml at all"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Test_dialogs::Instance().Reset();
        Test_dialogs::Instance().Answer(ui::vbOK);
        EXPECT_FALSE(Module_Validate_XML::Validate_XML_string(r.text));
        ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
        const std::string& shown = Test_dialogs::Instance().Shown_Dialogs()[0].prompt;
        EXPECT_EQ(shown.rfind("Sub Validate_XML_string failed! reason = ", 0), 0u);
        const size_t line = shown.find(" line = "), src = shown.find(" srctext = ");
        ASSERT_NE(line, std::string::npos);
        ASSERT_NE(src, std::string::npos);
        EXPECT_GT(src, line + 8) << "a position in the line";
        EXPECT_EQ(shown.substr(src + 11), r.src_text);
    }
}

}  // namespace
