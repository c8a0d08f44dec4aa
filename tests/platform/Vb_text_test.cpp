#include "platform/vb/VbError.h"
#include "platform/vb/Vb_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Vb_text, Positions_are_one_based_characters) {
    EXPECT_EQ(vb::Mid("Heat12", 5), "12");
    EXPECT_EQ(vb::Mid("Heat12", 2, 3), "eat");
    EXPECT_EQ(vb::Mid("Heat", 9), "");
    EXPECT_EQ(vb::Mid("Åsa Öberg", 5, 5), "Öberg");
    EXPECT_EQ(vb::Left("Åsa", 1), "Å");
    EXPECT_EQ(vb::Right("Åsa", 2), "sa");
    EXPECT_EQ(vb::Right("ab", 5), "ab");
    EXPECT_EQ(vb::Len("Ö1"), 2);
    EXPECT_EQ(vb::InStr("a,b,c", ","), 2);
    EXPECT_EQ(vb::InStr(3, "a,b,c", ","), 4);
    EXPECT_EQ(vb::InStr("Öa,b", ","), 3);
    EXPECT_EQ(vb::InStr("abc", "x"), 0);
    EXPECT_EQ(vb::InStr(9, "abc", "a"), 0);
    EXPECT_THROW(vb::Mid("abc", 0), VbError);
    EXPECT_THROW(vb::InStr(0, "abc", "a"), VbError);
}

TEST(Vb_text, Split_and_trim) {
    EXPECT_TRUE(vb::Split("", ",").empty());
    EXPECT_EQ(vb::Split("1,2,,3", ","), (std::vector<std::string>{"1", "2", "", "3"}));
    EXPECT_EQ(vb::Split("abc", ","), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(vb::Trim("  a b  "), "a b");
}

TEST(Vb_text, Case_of_names_changes_only_ascii_letters) {
    EXPECT_EQ(vb::UCase("Frm_kanot_2 å"), "FRM_KANOT_2 å");
    EXPECT_EQ(vb::LCase("KD3 Ö"), "kd3 Ö");
    EXPECT_TRUE(vb::Same_Text("Settings", "SETTINGS"));
    EXPECT_FALSE(vb::Same_Text("Settings", "Setting"));
    EXPECT_FALSE(vb::Same_Text("[a]", "[b]"));
}

TEST(Vb_text, Format_patterns_round_halves_away_from_zero) {
    struct Row { double in; const char* pattern; const char* expected; } rows[] = {
        {5, "00", "05"}, {123, "00", "123"}, {0, "00", "00"}, {3.45, "0.0", "3.5"}, {0.125, "#0.00", "0.13"},
        {1.005, "0.00", "1.01"}, {-2.5, "0", "-3"}, {2.5, "0", "3"}, {12.3456, "#0.00", "12.35"},
        {0.5, "#.00", ".50"}, {-0.001, "0.00", "0.00"}, {9.999, "0.00", "10.00"}, {1e9, "0", "1000000000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pattern);
        EXPECT_EQ(vb::Format(r.in, r.pattern), r.expected) << r.in;
    }
}

TEST(Vb_text, Format_of_a_number_that_is_not_finite_raises_overflow) {
    for (double v : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        try {
            vb::Format(v, "#0.00");
            ADD_FAILURE() << v;
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), vb::Err_Overflow);
        }
    }
}

}  // namespace
