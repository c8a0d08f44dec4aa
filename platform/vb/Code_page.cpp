#include "Code_page.h"

namespace vb {

namespace {

// 0x80..0x9F of Windows-1252; 0 where the code page leaves the byte undefined (kept as the C1 control).
constexpr char16_t High_Block[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t Code_Point_Of(uint8_t b) {
    if (b >= 0x80 && b < 0xA0 && High_Block[b - 0x80]) return High_Block[b - 0x80];
    return b;
}

void Append_Utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int Byte_Of(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (High_Block[i] ? High_Block[i] == c : c == static_cast<char32_t>(0x80 + i)) return 0x80 + i;
    return -1;
}

}  // namespace

std::string Ansi_To_Utf8(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (uint8_t b : bytes) Append_Utf8(out, Code_Point_Of(b));
    return out;
}

std::string Utf8_To_Ansi(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        char32_t c = extra == 3 ? lead & 0x07 : extra == 2 ? lead & 0x0F : extra == 1 ? lead & 0x1F : lead;
        bool valid = extra >= 0;
        for (int k = 1; valid && k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) valid = false;
            else c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!valid) {  // a stray byte of broken UTF-8 counts as one unknown character
            out += '?';
            ++i;
            continue;
        }
        int b = Byte_Of(c);
        out += b < 0 ? '?' : static_cast<char>(b);
        i += extra + 1;
    }
    return out;
}

}  // namespace vb
