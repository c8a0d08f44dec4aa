#pragma once
// The 8-bit system code page (Windows-1252) that byte arrays, FourCC codes and the system's binary
// records carry, against the UTF-8 text the program keeps in memory.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vb {

// Every byte becomes one character (a zero byte a NUL character).
std::string Ansi_To_Utf8(std::span<const uint8_t> bytes);
// One byte per character; a character without a single-byte form becomes "?".
std::string Utf8_To_Ansi(std::string_view text);

}  // namespace vb
