// The pure utility procedures: paths, texts, byte arrays, truth values, numbers, colours and sorting.
#include "Test_errors.h"
#include "Test_dialogs.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Bubblesort.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace {

using namespace Non_dependant;

TEST(Utility, ParsePath_splits_at_the_last_slash) {
    const std::string path = "/home/op/heat.kd3";
    EXPECT_EQ(ParsePath(path, 16), "/home/op/");
    EXPECT_EQ(ParsePath(path, 16, true), "/home/op");
    EXPECT_EQ(ParsePath(path, 0), "heat.kd3");
    EXPECT_EQ(ParsePath(path, 1), path);
    EXPECT_EQ(ParsePath("/heat.kd3", 16, true), "");
    EXPECT_EQ(ParsePath("", 0), "");
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());

    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(ParsePath("heat.kd3", 0), "");
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "5 5 *Error in ParsePath");
}

TEST(Utility, File_Suffix_is_the_text_after_the_last_point) {
    struct Row { const char* path; const char* suffix; } rows[] = {
        {"/a/b/heat.kd3", "kd3"}, {"/a/b/heat.2.KD3", "KD3"}, {"/a/b.c/file", "c/file"},
        {"noext", ""}, {"x.", ""}, {"", ""}, {"/å/ö.kd3", "kd3"},
    };
    for (const Row& r : rows) EXPECT_EQ(File_Suffix(r.path), r.suffix) << r.path;
}

TEST(Utility, File_Safe_Text_keeps_the_first_two_characters) {
    struct Row { const char* text; const char* safe; } rows[] = {
        {"2016-07-20 19:35:07", "2016_07_20 19_35_07"}, {"C:/a-b,c", "C:/a_b_c"}, {":-x:", ":-x_"},
        {"é:-,", "é:__"}, {"", ""},
    };
    for (const Row& r : rows) {
        std::string text = r.text;
        EXPECT_EQ(File_Safe_Text(text), r.safe) << r.text;
        EXPECT_EQ(text, r.safe) << "the argument changes too";
    }
}

TEST(Utility, InStr_Rev_finds_the_last_occurrence_ending_at_the_limit) {
    struct Row { const char* text; const char* find; int32_t limit; int32_t compare; int32_t pos; } rows[] = {
        {"a.b.c", ".", 0, vbBinaryCompare, 4},  {"a.b.c", ".", -1, vbBinaryCompare, 4},
        {"a.b.c", ".", 3, vbBinaryCompare, 2},  {"a.b.c", ".", 1, vbBinaryCompare, 0},
        {"a.b", ".", 10, vbBinaryCompare, 2},   {"abcabc", "bc", 5, vbBinaryCompare, 2},
        {"abcabc", "bc", 6, vbBinaryCompare, 5}, {"abc", "", 2, vbBinaryCompare, 2},
        {"abc", "", 5, vbBinaryCompare, 0},     {"abc", "", 0, vbBinaryCompare, 3},
        {"", "", 0, vbBinaryCompare, 0},        {"", "a", 0, vbBinaryCompare, 0},
        {"ÅaÅa", "Å", 0, vbBinaryCompare, 3},   {"ABCabc", "B", 0, vbBinaryCompare, 2},
        {"ABCabc", "B", 0, vbTextCompare, 5},   {"xÄy", "ä", 0, vbTextCompare, 2},
    };
    for (const Row& r : rows)
        EXPECT_EQ(InStr_Rev(r.text, r.find, r.limit, r.compare), r.pos) << r.text << " / " << r.find << " / " << r.limit;
}

TEST(Utility, InStr_Last_finds_the_last_occurrence_after_the_start) {
    struct Row { int32_t start; const char* text; const char* find; int32_t compare; int32_t pos; } rows[] = {
        {1, "a.b.c", ".", vbBinaryCompare, 4}, {5, "a.b.c", ".", vbBinaryCompare, 0},
        {1, "aaa", "aa", vbBinaryCompare, 2},  {1, "xAx a", "a", vbBinaryCompare, 5},
        {1, "xAx a", "A", vbTextCompare, 5},   {1, "abc", "", vbBinaryCompare, 3},
        {1, "åxå", "å", vbBinaryCompare, 3},   {1, "", "a", vbBinaryCompare, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(InStr_Last(r.start, r.text, r.find, r.compare), r.pos) << r.text;
    EXPECT_EQ(Error_Of([] { InStr_Last(0, "abc", "a", vbBinaryCompare); }), vb::Err_Invalid_Call);
}

TEST(Utility, Four_byte_codes_read_lowest_byte_first) {
    EXPECT_EQ(FourCC_To_String(0x3352444B), "KDR3");
    EXPECT_EQ(FourCC_To_String(0x7F000041), std::string("A\0\0\x7F", 4));
    EXPECT_EQ(Error_Of([] { FourCC_To_String(static_cast<int32_t>(0x80000041)); }), vb::Err_Invalid_Call);
    EXPECT_EQ(Long_To_Text(0x41), std::string("A\0\0\0", 4));
    EXPECT_EQ(Long_To_Text(static_cast<int32_t>(0xE5000000)), std::string("\0\0\0å", 5));
}

TEST(Utility, Byte_arrays_and_texts) {
    struct Row { const char* text; std::vector<uint8_t> bytes; } rows[] = {
        {"", {9, 9, 9, 9}}, {"KD", {'K', 'D', 0, 0}}, {"KDRXY", {0, 0, 0, 0}}, {"é€", {0xE9, 0x80, 0, 0}},
    };
    for (const Row& r : rows) {
        std::vector<uint8_t> bytes{9, 9, 9, 9};
        String_To_Byte_Array(r.text, bytes);
        EXPECT_EQ(bytes, r.bytes) << r.text;
    }
    EXPECT_EQ(Byte_Array_To_String(std::vector<uint8_t>{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(Byte_Array_To_String(std::vector<uint8_t>{'a', 0xE5}), "aå");
    EXPECT_EQ(Byte_Array_To_String(std::vector<uint8_t>{}), "");
}

TEST(Utility, Find_Byte_Array_searches_from_index_1_and_stays_inside_the_array) {
    const std::string text = "KDR3xxKDRX";
    std::vector<uint8_t> bytes(text.begin(), text.end());
    struct Row { const char* pattern; int32_t index; } rows[] = {
        {"KDRX", 6}, {"xKD", 5}, {"KDR3", 0}, {"DR3", 1}, {"RXz", 0}, {"X", 9}, {"", 1}, {"Q", 0},
    };
    for (const Row& r : rows) EXPECT_EQ(Find_Byte_Array(bytes, r.pattern), r.index) << r.pattern;
    EXPECT_EQ(Find_Byte_Array(std::vector<uint8_t>{}, "a"), 0);
    EXPECT_EQ(Find_Byte_Array(std::vector<uint8_t>{'a'}, ""), 0);
    EXPECT_EQ(Find_Byte_Array(std::vector<uint8_t>{'x', 0xE5}, "å"), 1);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST(Utility, Truth_values_and_texts) {
    EXPECT_EQ(Bool_To_Text(true), "True");
    EXPECT_EQ(Bool_To_Text(false), "False");
    for (const char* t : {"true", "TRUE", " True", "True ", "", "-1"}) EXPECT_FALSE(Text_To_Bool(t)) << t;
    EXPECT_TRUE(Text_To_Bool("True"));
    EXPECT_EQ(Checked_To_Int("Checked"), 1);
    EXPECT_EQ(Checked_To_Int("checked"), 0);
    EXPECT_EQ(Checked_To_Int("UnChecked"), 0);
    EXPECT_EQ(Bool_To_Int(true), 1);
    EXPECT_EQ(Bool_To_Int(false), 0);
    EXPECT_FALSE(In_IDE());
}

TEST(Utility, Numbers) {
    for (auto [n, odd] : std::initializer_list<std::pair<int32_t, bool>>{{3, true}, {-3, true}, {0, false}, {-4, false}})
        EXPECT_EQ(Is_Odd(n), odd) << n;
    EXPECT_EQ(Min_Long(-5, 3), -5);
    EXPECT_EQ(Min_Long(3, 3), 3);
    struct Max { double a, b; int32_t r; } maxes[] = {{2.5, 1, 2}, {3.5, 1, 4}, {1, 1, 1}, {-1, -2.5, -1}, {1, 2.5, 2}};
    for (const Max& m : maxes) EXPECT_EQ(Max_Of(m.a, m.b), m.r) << m.a << " " << m.b;
    EXPECT_EQ(Error_Of([] { Max_Of(1e10, 0); }), vb::Err_Overflow);

    struct Field { int32_t field, frame; int16_t in_frame; } fields[] = {
        {1, 1, 1}, {2, 1, 2}, {3, 2, 1}, {4, 2, 2}, {0, 0, 2}, {-1, 0, 1}, {2001, 1001, 1},
    };
    for (const Field& f : fields) {
        EXPECT_EQ(Field_To_Frame(f.field), f.frame) << f.field;
        EXPECT_EQ(Field_In_Frame(f.field), f.in_frame) << f.field;
    }

    struct Multiple { int32_t n; int16_t step; int32_t r; } multiples[] = {
        {60, 40, 80}, {100, 40, 80}, {20, 40, 0}, {-60, 40, -80}, {59, 40, 40}, {0, 40, 0}, {7, -2, 8},
    };
    for (const Multiple& m : multiples) EXPECT_EQ(Round_To_Multiple(m.n, m.step), m.r) << m.n << " " << m.step;
    EXPECT_EQ(Error_Of([] { Round_To_Multiple(5, 0); }), vb::Err_Division_By_Zero);
    EXPECT_EQ(Error_Of([] { Round_To_Multiple(0, 0); }), vb::Err_Overflow);
    EXPECT_EQ(Error_Of([] { Round_To_Multiple(INT32_MAX, 2); }), vb::Err_Overflow);
}

TEST(Utility, RGB_To_HSL_against_values_worked_by_hand) {
    auto rgb = [](int r, int g, int b) { return r | g << 8 | b << 16; };
    struct Row { int r, g, b; int32_t hue, sat, lum; } rows[] = {
        {255, 0, 0, 0, 100, 100},     {0, 0, 255, 240, 100, 100},  {0, 255, 0, 120, 100, 100},
        {128, 128, 128, 0, 0, 50},    {0, 0, 0, 0, 0, 0},          {255, 255, 255, 0, 0, 100},
        {255, 128, 0, 30, 100, 100},  {255, 0, 128, 330, 100, 100}, {255, 255, 0, 60, 100, 100},
        {100, 200, 50, 100, 75, 78},  {200, 199, 199, 0, 0, 78},    {200, 197, 197, 0, 2, 78},
        {120, 1, 0, 0, 100, 47},      {120, 3, 0, 2, 100, 47},      {0, 255, 255, 180, 100, 100},
    };
    for (const Row& r : rows) {
        HSL_Color c = RGB_To_HSL(rgb(r.r, r.g, r.b));
        EXPECT_EQ(c.Hue, r.hue) << r.r << "," << r.g << "," << r.b;
        EXPECT_EQ(c.Sat, r.sat) << r.r << "," << r.g << "," << r.b;
        EXPECT_EQ(c.Lum, r.lum) << r.r << "," << r.g << "," << r.b;
    }
    EXPECT_EQ(RGB_To_HSL(static_cast<int32_t>(0xFF0000FF)).Hue, 0);  // the highest byte is no channel
    // Across the colours, the rule as written: the quotients in double precision, the hue from the single
    // precision table, each rounded halves to even.
    int wrong = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; g += 3)
            for (int b : {0, 1, 2, 99, 100, 128, 197, 254, 255}) {
                const int max = std::max({r, g, b}), min = std::min({r, g, b}), d = max - min;
                int32_t hue = 0, sat = 0;
                if (d > 0) {
                    sat = vb::CLng(d * 100.0 / max);
                    const auto f = static_cast<float>(60.0 / d);
                    float h = r == max ? f * static_cast<float>(g - b) + (g < b ? 360.0f : 0.0f)
                              : g == max ? f * static_cast<float>(b - r) + 120.0f
                                         : f * static_cast<float>(r - g) + 240.0f;
                    hue = vb::CLng(static_cast<double>(h));
                }
                const HSL_Color c = RGB_To_HSL(rgb(r, g, b));
                if (c.Hue != hue || c.Sat != sat || c.Lum != vb::CLng(max * 100.0 / 255)) ++wrong;
            }
    EXPECT_EQ(wrong, 0);
}

TEST(Utility, Bubble_Sort_orders_descending_with_empty_texts_last) {
    std::vector<std::string> texts{"b", "", "a", "c", "", "ab"};
    Module_Bubblesort::Bubble_Sort(texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"c", "b", "ab", "a", "", ""}));
    std::vector<int> numbers{3, -1, 7, 7, 0};
    Module_Bubblesort::Bubble_Sort(numbers);
    EXPECT_EQ(numbers, (std::vector<int>{7, 7, 3, 0, -1}));
    std::vector<int> one{1}, none;
    Module_Bubblesort::Bubble_Sort(one);
    Module_Bubblesort::Bubble_Sort(none);
    EXPECT_EQ(one, std::vector<int>{1});
}

TEST(Utility, Check_DV_Header_and_Empty_Collection) {
    Module_Vantorel::Debug_Stop = false;
    Module_dependant::Check_DV_Header(std::vector<uint8_t>{31, 7, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(Module_Vantorel::Debug_Stop);
    Module_dependant::Check_DV_Header(std::vector<uint8_t>{31, 8});
    EXPECT_TRUE(Module_Vantorel::Debug_Stop);
    Module_Vantorel::Debug_Stop = false;
    Module_dependant::Check_DV_Header(std::vector<uint8_t>{});
    EXPECT_TRUE(Module_Vantorel::Debug_Stop);

    std::vector<int> items{1, 2, 3};
    std::map<int, std::string> lanes{{1, "a"}, {2, "b"}};
    Module_dependant::Empty_Collection(items);
    Module_dependant::Empty_Collection(lanes);
    EXPECT_TRUE(items.empty());
    EXPECT_TRUE(lanes.empty());
}

TEST(Utility, The_computer_and_its_system_folder) {
    EXPECT_FALSE(Get_Computer_Name().empty());
    EXPECT_EQ(Get_Computer_Name().find('\0'), std::string::npos);
    std::string dir = Get_System_Directory();
    EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
    EXPECT_NE(dir.back(), '/');
}

}  // namespace
