#pragma once
// The shared procedures of Module_dependant that take a window.
#include <cstdint>
#include <string>

namespace ui {
class Picture_box;
}

namespace Module_dependant {

// The largest Arial size from 110 down in steps of 2 at which the text is narrower than the box's inner
// width and lower than its inner height; 8 when none is. The box keeps Arial at the last size tried.
// A failure shows "Max_Font error! " with the error number and description, and gives 0.
int16_t Max_Font(ui::Picture_box& box, const std::string& text);

}  // namespace Module_dependant
