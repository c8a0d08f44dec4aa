#include "Test_errors.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(Vb_convert, CInt_rounds_halves_to_even_and_overflows_with_6) {
    struct Row { double in; int expected; int error; } rows[] = {
        {0.5, 0, 0}, {1.5, 2, 0}, {2.5, 2, 0}, {-0.5, 0, 0}, {-1.5, -2, 0}, {-2.5, -2, 0}, {2.4999, 2, 0},
        {32767.0, 32767, 0}, {32767.4, 32767, 0}, {32767.5, 0, 6}, {-32768.5, -32768, 0}, {-32769.0, 0, 6},
        {std::nan(""), 0, 6},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        if (r.error) EXPECT_EQ(Error_Of([&] { vb::CInt(r.in); }), r.error);
        else EXPECT_EQ(vb::CInt(r.in), r.expected);
    }
}

TEST(Vb_convert, CLng_and_narrowing_keep_32_and_16_bit_limits) {
    EXPECT_EQ(vb::CLng(2147483647.0), 2147483647);
    EXPECT_EQ(vb::CLng(-2147483648.4), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Error_Of([] { vb::CLng(2147483647.5); }), 6);
    EXPECT_EQ(vb::To_Int16(-32768), -32768);
    EXPECT_EQ(Error_Of([] { vb::To_Int16(32768); }), 6);
    EXPECT_EQ(vb::To_Int32(-2147483648LL), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Error_Of([] { vb::To_Int32(2147483648LL); }), 6);
}

TEST(Vb_convert, Round_keeps_halves_to_even_at_decimals) {
    EXPECT_EQ(vb::Round(2.5), 2);
    EXPECT_EQ(vb::Round(3.5), 4);
    EXPECT_EQ(vb::Round(-2.5), -2);
    EXPECT_DOUBLE_EQ(vb::Round(2.394, 1), 2.4);
    EXPECT_DOUBLE_EQ(vb::Round(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(vb::Round(15.9244, 2), 15.92);
}

TEST(Vb_convert, Text_to_number_raises_13_for_what_is_not_a_number) {
    struct Row { const char* in; double expected; int error; } rows[] = {
        {"12", 12, 0}, {" -7 ", -7, 0}, {"+3.25", 3.25, 0}, {"1e3", 1000, 0}, {".5", 0.5, 0}, {"&HFF", 255, 0},
        {"&HFFFF", -1, 0}, {"&O17", 15, 0}, {"", 0, 13}, {"abc", 0, 13}, {"12abc", 0, 13}, {"1 2", 0, 13},
        {"-", 0, 13}, {"1,5", 0, 13},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        if (r.error) EXPECT_EQ(Error_Of([&] { vb::CDbl(r.in); }), r.error);
        else EXPECT_DOUBLE_EQ(vb::CDbl(r.in), r.expected);
        EXPECT_EQ(vb::Is_Numeric(r.in), r.error == 0);
    }
    EXPECT_EQ(vb::CInt("12.5"), 12);
    EXPECT_EQ(Error_Of([] { vb::CInt("40000"); }), 6);
    EXPECT_EQ(Error_Of([] { vb::CLng("x"); }), 13);
}

TEST(Vb_convert, Truth_texts_are_true_false_or_numbers) {
    struct Row {
        const char* in;
        bool value;
        int32_t error;
    } rows[] = {{"True", true, 0}, {"true", true, 0},  {"FALSE", false, 0}, {"False", false, 0}, {"1", true, 0},
                {"-1", true, 0},   {"0", false, 0},    {" 0.0 ", false, 0}, {"0.5", true, 0},    {"t", false, 13},
                {"f", false, 13},  {"", false, 13},    {"yes", false, 13},  {" True", false, 13}};
    for (const auto& r : rows) {
        bool got = !r.value;
        EXPECT_EQ(Error_Of([&] { got = vb::CBool(r.in); }), r.error) << r.in;
        if (r.error == 0) {
            EXPECT_EQ(got, r.value) << r.in;
        }
    }
}

TEST(Vb_convert, Val_reads_the_leading_number_and_never_fails) {
    struct Row { const char* in; double expected; } rows[] = {
        {"12abc", 12}, {"  1 2 3", 123}, {"-4.5e1x", -45}, {"", 0}, {"abc", 0}, {"&H1F", 31}, {"3.4.5", 3.4},
        {"1,5", 1}, {"1e", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        EXPECT_DOUBLE_EQ(vb::Val(r.in), r.expected);
    }
}

TEST(Vb_convert, Integer_division_and_mod_round_operands_first) {
    EXPECT_EQ(vb::IDiv(7, 2), 3);
    EXPECT_EQ(vb::IDiv(-7, 2), -3);
    EXPECT_EQ(vb::IDiv(7.5, 2), 4);   // 7.5 rounds to 8
    EXPECT_EQ(vb::IDiv(6.5, 2), 3);   // 6.5 rounds to 6
    EXPECT_EQ(vb::Mod(-7, 3), -1);
    EXPECT_EQ(vb::Mod(7, -3), 1);
    EXPECT_EQ(Error_Of([] { vb::IDiv(1, 0.4); }), 11);
    EXPECT_EQ(Error_Of([] { vb::Mod(1, 0); }), 11);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Error_Of([&] { vb::IDiv(nan, 2); }), 6);
    EXPECT_EQ(Error_Of([&] { vb::Mod(7, nan); }), 6);
    EXPECT_EQ(Error_Of([] { vb::IDiv(std::numeric_limits<double>::infinity(), 2); }), 6);
    EXPECT_EQ(vb::Int(-1.5), -2);
    EXPECT_EQ(vb::Fix(-1.5), -1);
}

TEST(Vb_convert, CStr_writes_the_shortest_form) {
    EXPECT_EQ(vb::CStr(3.0), "3");
    EXPECT_EQ(vb::CStr(3.4), "3.4");
    EXPECT_EQ(vb::CStr(-0.25), "-0.25");
    EXPECT_EQ(vb::CStr(1e20), "1E+20");
    EXPECT_EQ(vb::CStr(int64_t{-12}), "-12");
}

TEST(Vb_convert, Errors_carry_the_callers_line_and_standard_text) {
    int line = 0;
    try {
        line = __LINE__; vb::CInt(1e9);
    } catch (const VbError& e) {
        EXPECT_EQ(e.Line(), line);
        EXPECT_EQ(e.Description(), "Overflow");
    }
    EXPECT_NE(line, 0);
    for (int n : {5, 6, 9, 11, 13, 17, 53, 70, 91, 26001}) EXPECT_FALSE(VbError::Standard_Text(n).empty()) << n;
}

}  // namespace
