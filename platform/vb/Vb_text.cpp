#include "Vb_text.h"

#include "VbError.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vb {

namespace {

bool Is_Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of character index `chars` (0-based), or s.size() past the end.
size_t Offset_Of(std::string_view s, int64_t chars) {
    size_t i = 0;
    while (i < s.size() && chars > 0) {
        ++i;
        while (i < s.size() && Is_Continuation(static_cast<unsigned char>(s[i]))) ++i;
        --chars;
    }
    return i;
}

}  // namespace

int32_t Len(std::string_view s) {
    int32_t n = 0;
    for (unsigned char c : s)
        if (!Is_Continuation(c)) ++n;
    return n;
}

std::string Mid(std::string_view s, int32_t start, int32_t length, std::source_location where) {
    if (start < 1) throw VbError(Err_Invalid_Call, {}, {}, where);
    size_t b = Offset_Of(s, start - 1);
    if (length < 0) return std::string(s.substr(b));
    size_t e = b + Offset_Of(s.substr(b), length);
    return std::string(s.substr(b, e - b));
}

std::string Left(std::string_view s, int32_t length, std::source_location where) {
    if (length < 0) throw VbError(Err_Invalid_Call, {}, {}, where);
    return std::string(s.substr(0, Offset_Of(s, length)));
}

std::string Right(std::string_view s, int32_t length, std::source_location where) {
    if (length < 0) throw VbError(Err_Invalid_Call, {}, {}, where);
    int32_t n = Len(s);
    if (length >= n) return std::string(s);
    return std::string(s.substr(Offset_Of(s, n - length)));
}

int32_t InStr(int32_t start, std::string_view s, std::string_view find, std::source_location where) {
    if (start < 1) throw VbError(Err_Invalid_Call, {}, {}, where);
    if (start > Len(s)) return 0;
    if (find.empty()) return start;
    size_t from = Offset_Of(s, start - 1);
    size_t pos = s.find(find, from);
    if (pos == std::string_view::npos) return 0;
    return Len(s.substr(0, pos)) + 1;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string UCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool Same_Text(std::string_view a, std::string_view b) { return a.size() == b.size() && LCase(a) == LCase(b); }

std::vector<std::string> Split(std::string_view s, std::string_view delimiter) {
    std::vector<std::string> parts;
    if (s.empty()) return parts;
    if (delimiter.empty()) {
        parts.emplace_back(s);
        return parts;
    }
    size_t from = 0;
    while (true) {
        size_t pos = s.find(delimiter, from);
        if (pos == std::string_view::npos) {
            parts.emplace_back(s.substr(from));
            return parts;
        }
        parts.emplace_back(s.substr(from, pos - from));
        from = pos + delimiter.size();
    }
}

std::string Format(double value, std::string_view pattern) {
    // An infinite or undefined number has no digits to show.
    if (!std::isfinite(value)) Raise(Err_Overflow);
    size_t point = pattern.find('.');
    std::string_view whole = pattern.substr(0, point);
    int decimals = point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    int min_digits = 0;
    for (char c : whole)
        if (c == '0') ++min_digits;

    // Round on the decimal digits of the value (15 significant), so 0.125 and 1.005 round up.
    bool negative = value < 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15e", std::fabs(value));
    std::string mantissa;
    for (const char* p = buf; *p && *p != 'e'; ++p)
        if (*p != '.') mantissa += *p;
    int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    int shift = exponent - 15 + decimals;  // the scaled value is mantissa * 10^shift
    std::string digits;
    if (shift >= 0) {
        digits = mantissa + std::string(static_cast<size_t>(shift), '0');
    } else {
        size_t cut = static_cast<size_t>(-shift);
        bool up = false;
        if (cut <= mantissa.size()) {
            up = mantissa[mantissa.size() - cut] >= '5';
            digits = mantissa.substr(0, mantissa.size() - cut);
        }
        if (digits.empty()) digits = "0";
        if (up) {
            int i = static_cast<int>(digits.size()) - 1;
            while (i >= 0 && digits[i] == '9') digits[i--] = '0';
            if (i < 0) digits = "1" + digits;
            else ++digits[i];
        }
    }
    bool is_zero = digits.find_first_not_of('0') == std::string::npos;
    while (static_cast<int>(digits.size()) < decimals + 1) digits.insert(digits.begin(), '0');
    std::string int_part = digits.substr(0, digits.size() - decimals);
    std::string frac = digits.substr(digits.size() - decimals);
    while (int_part.size() > 1 && int_part[0] == '0') int_part.erase(0, 1);
    if (int_part == "0" && min_digits == 0 && decimals > 0) int_part.clear();
    while (static_cast<int>(int_part.size()) < min_digits) int_part.insert(int_part.begin(), '0');
    std::string text = int_part;
    if (decimals > 0) text += "." + frac;
    if (negative && !is_zero) text.insert(text.begin(), '-');
    return text;
}

}  // namespace vb
