#include "platform/xml/Windows_1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows_1252, Characters_to_bytes) {
    struct Row {
        std::string utf8, bytes;
    } rows[] = {
        {"plain <&> text", "plain <&> text"},
        {"\xC3\xA5\xC3\xA9\xC3\x96", "\xE5\xE9\xD6"},                 // å é Ö: Latin-1
        {"\xE2\x82\xAC \xC5\xA0 \xE2\x80\x94", "\x80 \x8A \x97"},     // € Š —: the 0x80 block
        {"\xE4\xB8\xAD\xF0\x9F\x98\x80x", "??x"},                     // no single-byte form
        {"\xC2\x81", "\x81"},                                         // an undefined byte survives
        {"a\xFF" "b\xC3", "a?b?"},                                    // malformed UTF-8
        {"\xE0\x80\xAF", "???"},                                      // overlong form
        {"\xED\xA0\x80", "???"},                                      // a surrogate
    };
    for (const auto& r : rows) EXPECT_EQ(xml::Utf8_To_Windows1252(r.utf8), r.bytes) << r.utf8;
}

TEST(Windows_1252, Every_byte_survives_a_round_trip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    std::string utf8 = xml::Windows1252_To_Utf8(all);
    EXPECT_EQ(xml::Utf8_To_Windows1252(utf8), all);
    EXPECT_EQ(xml::Windows1252_To_Utf8("\xE5\x80"), "\xC3\xA5\xE2\x82\xAC");
}

}  // namespace
