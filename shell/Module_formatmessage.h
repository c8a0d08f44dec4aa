#pragma once
#include <cstdint>
#include <string>

namespace Module_formatmessage {

// The registry's text for a result code (at most 260 characters), CR LF, "Dec: " and the code, a tab,
// "Hex: " and the code in upper-case hexadecimal (a negative one as eight digits). A code without a
// text begins with "(No such error)" and two line breaks.
std::string System_Error_Text(int32_t code);

}  // namespace Module_formatmessage
