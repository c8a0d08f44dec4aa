#pragma once
// The Close command of a window's frame. A desktop window has no system menu to edit: the window's
// close button is taken off its frame, and while the window's state says so every close request (a
// close box the window manager keeps, Alt+F4) is turned away.
#include <cstdint>

class QWidget;

namespace modCloseBtn {

// Revert is kept for the callers; the window's own close button is removed either way.
void Remove_Close_Item(QWidget* target, int16_t revert);
// Greys (false) or restores (true) the Close command: 0 done, or already in that state; -1 no window.
int16_t Enable_Close_Button(QWidget* window, bool enable);
// Whether the window's Close command is removed or greyed.
bool Close_Unavailable(const QWidget* window);

}  // namespace modCloseBtn
