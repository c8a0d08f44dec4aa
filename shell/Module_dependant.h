#pragma once
// Shared procedures that depend on the program-wide state: window positions.
#include <cstdint>
#include <string>

namespace Module_dependant {

// Keeps a window's position in section "windowpos" as "left,top,width,height" in twips; with one
// monitor, a window pushed off the screen (left or top below -150) overwrites nothing.
void Store_Form_Pos(const std::string& form_name, int32_t left, int32_t top, int32_t width, int32_t height);
// Reads it back; a window never stored gets 0,0 and keeps its size. Positions off the desktop become 0.
void Get_Form_Pos(const std::string& form_name, int32_t& left, int32_t& top, int32_t& width, int32_t& height);

}  // namespace Module_dependant
