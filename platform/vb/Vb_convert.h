#pragma once
// Number conversions with the semantics the system relies on: halves to even, overflow as
// error 6, text that is not a number as error 13. Errors carry the caller's source line.
#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>

namespace vb {

using Where = std::source_location;

int16_t To_Int16(int64_t value, Where where = Where::current());
int32_t To_Int32(int64_t value, Where where = Where::current());

// Nearest whole number (or `digits` decimals), an exact half going to the even neighbour.
double Round(double value, int digits = 0);
int16_t CInt(double value, Where where = Where::current());
int32_t CLng(double value, Where where = Where::current());
int16_t CInt(std::string_view text, Where where = Where::current());
int32_t CLng(std::string_view text, Where where = Where::current());

// A whole text as a number: blanks around it, a sign, digits with "." as the decimal point,
// an exponent, or "&H"/"&O" whole numbers. Anything else raises 13.
double CDbl(std::string_view text, Where where = Where::current());
bool Is_Numeric(std::string_view text);
// A truth text: "True" or "False" in any case, or a number, true when not 0; anything else raises 13.
bool CBool(std::string_view text, Where where = Where::current());

// The leading number of a text, blanks anywhere ignored, 0 when there is none; never fails.
double Val(std::string_view text);

double Int(double value);  // down to the next whole number
double Fix(double value);  // towards zero

// `a \ b` and `a Mod b`: both operands rounded halves to even first; error 11 for a zero divisor.
int64_t IDiv(double a, double b, Where where = Where::current());
int64_t Mod(double a, double b, Where where = Where::current());

// A number as the shortest text (up to 15 significant digits, "." as the decimal point).
std::string CStr(double value);
std::string CStr(int64_t value);
inline std::string CStr(int32_t value) { return CStr(static_cast<int64_t>(value)); }
inline std::string CStr(int16_t value) { return CStr(static_cast<int64_t>(value)); }

// Truth values as the system stores them in 16 bits.
inline constexpr int16_t True = -1;
inline constexpr int16_t False = 0;

}  // namespace vb
