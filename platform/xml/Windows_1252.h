#pragma once
// The single-byte text of files that declare "iso-8859-1": Windows-1252 bytes, one per character.
#include <string>
#include <string_view>

namespace xml {

// UTF-8 to one byte per character. A character with no single-byte form, and every byte of a
// malformed UTF-8 sequence, becomes "?".
std::string Utf8_To_Windows1252(std::string_view utf8);

// One byte per character back to UTF-8. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the control characters of the same number, so every byte survives.
std::string Windows1252_To_Utf8(std::string_view bytes);

}  // namespace xml
