#pragma once
// Text procedures with 1-based character positions, over UTF-8 text.
#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

int32_t Len(std::string_view s);  // characters, not bytes
// Mid from `start` (1-based); length < 0 means "to the end". Start below 1 raises 5.
std::string Mid(std::string_view s, int32_t start, int32_t length = -1,
                std::source_location where = std::source_location::current());
std::string Left(std::string_view s, int32_t length, std::source_location where = std::source_location::current());
std::string Right(std::string_view s, int32_t length, std::source_location where = std::source_location::current());
// Position (1-based) of `find` at or after `start`, 0 when absent; an empty `find` gives `start`.
int32_t InStr(int32_t start, std::string_view s, std::string_view find,
              std::source_location where = std::source_location::current());
inline int32_t InStr(std::string_view s, std::string_view find) { return InStr(1, s, find); }

std::string Trim(std::string_view s);  // spaces only, as the language trims

// Upper and lower case of the ASCII letters: what names of sections, keys, windows and suffixes use.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
// Equal without regard to the case of ASCII letters.
bool Same_Text(std::string_view a, std::string_view b);
// Split at every `delimiter`; an empty text gives no element.
std::vector<std::string> Split(std::string_view s, std::string_view delimiter);

// A number in one of the patterns the system writes: "0", "00", "000", "0.0", "0.00", "#0.00" and
// alike (zeros before the point are the least digits, zeros or "#" after it the decimals). Halves go
// away from zero, as the language's Format does; "." is the decimal point whatever the locale.
// A number that is not finite raises 6.
std::string Format(double value, std::string_view pattern);

}  // namespace vb
