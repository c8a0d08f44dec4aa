#pragma once
// The keyboard and mouse as the system reads them: Windows virtual-key codes ("A" 65, Left 37, F1 112,
// Shift 16, Ctrl 17, Alt 18; mouse buttons 1, 2 and 4) and which of them are held at this moment.
#include <QtCore/qnamespace.h>
#include <cstdint>

class QKeyEvent;

namespace ui {

bool Shift_Held();
bool Ctrl_Held();
bool Alt_Held();

// Whether the key or mouse button is held. Keys other than Shift, Ctrl and Alt are known from the key
// events the program has received since Track_Keys.
bool Key_Held(int16_t virtual_key);
// Follows every key press and release of the application; the application object calls it once.
void Track_Keys();

// The virtual-key code of a Qt key event; 0 for a key without one.
int16_t Key_Code_Of(const QKeyEvent& event);
// The shift state of key and mouse events: 1 Shift, 2 Ctrl, 4 Alt, added together.
int16_t Shift_Of(Qt::KeyboardModifiers modifiers);

}  // namespace ui
