#include "Windows_1252.h"

#include <array>
#include <cstdint>

namespace xml {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the range equals Latin-1.
constexpr std::array<char32_t, 32> High_Block = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char Byte_Of(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (size_t i = 0; i < High_Block.size(); ++i)
        if (High_Block[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

void Append_Utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string Utf8_To_Windows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<uint8_t>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        size_t len = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
        char32_t cp = len == 2 ? b & 0x1F : len == 3 ? b & 0x0F : b & 0x07;
        bool ok = len != 0 && i + len <= utf8.size();
        for (size_t k = 1; ok && k < len; ++k) {
            auto c = static_cast<uint8_t>(utf8[i + k]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are malformed as well.
        ok = ok && !(len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) &&
             !(len == 4 && (cp < 0x10000 || cp > 0x10FFFF));
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out += Byte_Of(cp);
        i += len;
    }
    return out;
}

std::string Windows1252_To_Utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        auto b = static_cast<uint8_t>(ch);
        if (b < 0x80)
            out += ch;
        else
            Append_Utf8(out, b < 0xA0 ? High_Block[b - 0x80] : char32_t{b});
    }
    return out;
}

}  // namespace xml
