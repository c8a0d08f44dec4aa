#include "Vb_convert.h"

#include "VbError.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vb {

namespace {

bool Is_Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Parses a decimal number at the start of `s`; returns the characters used (0 when none).
size_t Parse_Decimal(std::string_view s, double& out) {
    size_t i = 0;
    std::string buf;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) buf += s[i++];
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) { buf += s[i++]; ++digits; }
    if (i < s.size() && s[i] == '.') {
        buf += s[i++];
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) { buf += s[i++]; ++digits; }
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
        size_t exp_digits = 0;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) { exp += s[j++]; ++exp_digits; }
        if (exp_digits > 0) { buf += exp; i = j; }
    }
    out = std::strtod(buf.c_str(), nullptr);
    return i;
}

// "&H..." or "&O...": a whole number read as 32 bits (as the language does), or 0 characters.
size_t Parse_Radix(std::string_view s, double& out) {
    if (s.size() < 3 || s[0] != '&') return 0;
    int base = 0;
    if (s[1] == 'h' || s[1] == 'H') base = 16;
    else if (s[1] == 'o' || s[1] == 'O') base = 8;
    else return 0;
    uint64_t v = 0;
    size_t i = 2;
    for (; i < s.size(); ++i) {
        int d;
        char c = s[i];
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else break;
        if (d >= base) break;
        v = v * base + d;
        if (v > 0xFFFFFFFFull) return 0;
    }
    if (i == 2) return 0;
    out = v <= 0xFFFF && i - 2 <= 4 ? static_cast<double>(static_cast<int16_t>(v))
                                    : static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
    return i;
}

double Round_Even(double x) {
    double r = std::floor(x);
    double diff = x - r;
    if (diff > 0.5) return r + 1;
    if (diff < 0.5) return r;
    return std::fmod(r, 2.0) == 0.0 ? r : r + 1;
}

// Whether a rounded operand converts to 64 bits; false for an infinite or undefined one too.
bool In_Int64_Range(double x) { return std::fabs(x) <= 9.2e18; }

}  // namespace

int16_t To_Int16(int64_t value, Where where) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw VbError(Err_Overflow, {}, {}, where);
    return static_cast<int16_t>(value);
}

int32_t To_Int32(int64_t value, Where where) {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        throw VbError(Err_Overflow, {}, {}, where);
    return static_cast<int32_t>(value);
}

double Round(double value, int digits) {
    if (!std::isfinite(value)) return value;
    if (digits <= 0) return Round_Even(value);
    double scale = std::pow(10.0, digits);
    return Round_Even(value * scale) / scale;
}

int16_t CInt(double value, Where where) {
    if (!std::isfinite(value)) throw VbError(Err_Overflow, {}, {}, where);
    double r = Round_Even(value);
    if (r < -32768.0 || r > 32767.0) throw VbError(Err_Overflow, {}, {}, where);
    return static_cast<int16_t>(r);
}

int32_t CLng(double value, Where where) {
    if (!std::isfinite(value)) throw VbError(Err_Overflow, {}, {}, where);
    double r = Round_Even(value);
    if (r < -2147483648.0 || r > 2147483647.0) throw VbError(Err_Overflow, {}, {}, where);
    return static_cast<int32_t>(r);
}

int16_t CInt(std::string_view text, Where where) { return CInt(CDbl(text, where), where); }
int32_t CLng(std::string_view text, Where where) { return CLng(CDbl(text, where), where); }

double CDbl(std::string_view text, Where where) {
    size_t b = 0, e = text.size();
    while (b < e && Is_Blank(text[b])) ++b;
    while (e > b && Is_Blank(text[e - 1])) --e;
    std::string_view s = text.substr(b, e - b);
    double v = 0;
    size_t used = Parse_Radix(s, v);
    if (used == 0) used = Parse_Decimal(s, v);
    if (used == 0 || used != s.size()) throw VbError(Err_Type_Mismatch, {}, {}, where);
    if (!std::isfinite(v)) throw VbError(Err_Overflow, {}, {}, where);
    return v;
}

bool Is_Numeric(std::string_view text) {
    try {
        CDbl(text);
        return true;
    } catch (const VbError&) {
        return false;
    }
}

bool CBool(std::string_view text, Where where) {
    auto is = [&](std::string_view word) {
        return text.size() == word.size() &&
               std::equal(text.begin(), text.end(), word.begin(),
                          [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    };
    if (is("true")) return true;
    if (is("false")) return false;
    return CDbl(text, where) != 0;
}

double Val(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!Is_Blank(c)) s += c;
    double v = 0;
    if (Parse_Radix(s, v) > 0) return v;
    if (Parse_Decimal(s, v) > 0 && std::isfinite(v)) return v;
    return 0;
}

double Int(double value) { return std::floor(value); }
double Fix(double value) { return std::trunc(value); }

int64_t IDiv(double a, double b, Where where) {
    double x = Round_Even(a), y = Round_Even(b);
    if (y == 0) throw VbError(Err_Division_By_Zero, {}, {}, where);
    if (!In_Int64_Range(x) || !In_Int64_Range(y)) throw VbError(Err_Overflow, {}, {}, where);
    return static_cast<int64_t>(x) / static_cast<int64_t>(y);
}

int64_t Mod(double a, double b, Where where) {
    double x = Round_Even(a), y = Round_Even(b);
    if (y == 0) throw VbError(Err_Division_By_Zero, {}, {}, where);
    if (!In_Int64_Range(x) || !In_Int64_Range(y)) throw VbError(Err_Overflow, {}, {}, where);
    return static_cast<int64_t>(x) % static_cast<int64_t>(y);
}

std::string CStr(double value) {
    if (value == 0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string s = buf;
    // The shortest form writes exponents as "E+20", as the language does.
    auto epos = s.find('e');
    if (epos != std::string::npos) {
        std::string mant = s.substr(0, epos);
        int exp = std::atoi(s.c_str() + epos + 1);
        s = mant + (exp < 0 ? "E-" : "E+") + std::to_string(std::abs(exp));
    }
    return s;
}

std::string CStr(int64_t value) { return std::to_string(value); }

}  // namespace vb
