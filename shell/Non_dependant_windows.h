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
