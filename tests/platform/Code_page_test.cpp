#include "platform/vb/Code_page.h"

#include <gtest/gtest.h>

namespace {

TEST(Code_page, Single_bytes_and_text_convert_both_ways) {
    struct Row { std::string bytes; std::string text; } rows[] = {
        {"KDR3", "KDR3"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"\xE5\xE4\xF6", "åäö"},
        {"\x80\x96\x9F", "€–Ÿ"},
        {"\x81", "\xC2\x81"},  // undefined in the code page: kept as the control character
    };
    for (const Row& r : rows) {
        std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(r.bytes.data()), r.bytes.size());
        EXPECT_EQ(vb::Ansi_To_Utf8(bytes), r.text) << r.text;
        EXPECT_EQ(vb::Utf8_To_Ansi(r.text), r.bytes) << r.text;
    }
}

TEST(Code_page, Characters_without_a_single_byte_form_become_a_question_mark) {
    EXPECT_EQ(vb::Utf8_To_Ansi("a→b😀c"), "a?b?c");
    EXPECT_EQ(vb::Utf8_To_Ansi("x\xC3"), "x?");      // cut in the middle of a character
    EXPECT_EQ(vb::Utf8_To_Ansi("\x80y"), "?y");      // a stray continuation byte
}

}  // namespace
