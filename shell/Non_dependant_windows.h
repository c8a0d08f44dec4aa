#pragma once
// The shared procedures of Non_dependant that take a window.
#include <string>

class QWidget;

namespace Non_dependant {

// Whether a loaded window has that name, compared without regard to case.
bool IsLoaded(const std::string& form_name);
// Keeps the window above all others without moving or sizing it.
void Set_TopMost(QWidget* window);
// Takes the close button off the window's frame, so it closes only through its own commands.
void Remove_Close_Menu(QWidget* window);

}  // namespace Non_dependant

// ---- Picture boxes ----

#include <cstdint>
#include <functional>

namespace ui {
class Picture_box;
}

namespace Non_dependant {

// Clears the box's drawing, removes its picture and repaints it.
void Clear_Picture(ui::Picture_box& box);
// Clears the box and prints the text in "Ms Sans Serif", 8 points, bold, broken into lines (at any
// character) where the printed width reaches 90 % of the box's inner width. A box with no such width
// stays cleared.
void Print_Wrapped(ui::Picture_box& box, const std::string& text);
// The lines of Print_Wrapped, each followed by CR LF: each is the shortest leading part of what is left
// whose width reaches `limit` (the rest when none does), cut back to just after its last "/", "\" or
// blank when one stands after its first character. A limit of 0 or less gives "".
std::string Wrap_Text(std::string text, int32_t limit, const std::function<int32_t(const std::string&)>& width_of);

}  // namespace Non_dependant
