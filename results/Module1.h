#pragma once
// The mouse-wheel hook: while installed on a window, every wheel turn over that window or one of its
// controls goes to the window's MouseWheel, and to nothing else, so the window alone decides what a
// turn does. One window at a time; hooking another (or the same one again) replaces the hook.
#include <cstdint>

class QWidget;

namespace Module1 {

// A window that takes wheel turns. Keys: 1 left button, 2 right, 4 Shift, 8 Ctrl, 16 middle button;
// rotation: 120 per notch, positive away from the user; x, y: the pointer on the screen.
class Mouse_wheel_target {
public:
    virtual ~Mouse_wheel_target() = default;
    virtual void MouseWheel(int32_t& MouseKeys, int32_t& Rotation, int32_t& Xpos, int32_t& Ypos) = 0;
};

// Errors are ignored: a missing window installs nothing.
void Hook_Mouse_Wheel(QWidget* window, Mouse_wheel_target* target);
void Unhook_Mouse_Wheel();
bool Is_Hooked(const QWidget* window);

}  // namespace Module1
