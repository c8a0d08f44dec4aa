#include "Key_state.h"

#include <QGuiApplication>

namespace ui {

namespace {
bool Held(Qt::KeyboardModifier key) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    return QGuiApplication::queryKeyboardModifiers().testFlag(key);
}
}  // namespace

bool Shift_Held() { return Held(Qt::ShiftModifier); }
bool Ctrl_Held() { return Held(Qt::ControlModifier); }
bool Alt_Held() { return Held(Qt::AltModifier); }

}  // namespace ui
