#include "Key_state.h"

#include "platform/vb/Program_state.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>
#include <bitset>

namespace ui {

namespace {

bool Have_Gui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

// The modifiers as of the input being handled, which every key and mouse event brings: asking the display
// server instead waits for it to finish drawing what was sent before, at every step through a heat.
bool Held(Qt::KeyboardModifier key) { return Have_Gui() && QGuiApplication::keyboardModifiers().testFlag(key); }

std::bitset<256> held_keys;
// A new process knows of no key held.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] { held_keys.reset(); });

class Key_tracker final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat())
                if (int16_t code = Key_Code_Of(*key); code > 0 && code < 256)
                    held_keys[static_cast<size_t>(code)] = event->type() == QEvent::KeyPress;
        } else if (event->type() == QEvent::ApplicationDeactivate || event->type() == QEvent::ApplicationActivate) {
            held_keys.reset();  // releases while another program has the focus never reach us
        } else if (auto* window = qobject_cast<QWindow*>(watched);
                   window && event->type() == QEvent::Hide && window->modality() != Qt::NonModal) {
            held_keys.reset();  // a release may have gone to the dialog's own window, or been lost with it
        }
        return false;
    }
};

}  // namespace

bool Shift_Held() { return Held(Qt::ShiftModifier); }
bool Ctrl_Held() { return Held(Qt::ControlModifier); }
bool Alt_Held() { return Held(Qt::AltModifier); }

bool Key_Held(int16_t virtual_key) {
    switch (virtual_key) {
    case 1: return Have_Gui() && (QGuiApplication::mouseButtons() & Qt::LeftButton);
    case 2: return Have_Gui() && (QGuiApplication::mouseButtons() & Qt::RightButton);
    case 4: return Have_Gui() && (QGuiApplication::mouseButtons() & Qt::MiddleButton);
    case 16: return Shift_Held();
    case 17: return Ctrl_Held();
    case 18: return Alt_Held();
    default: return virtual_key > 0 && virtual_key < 256 && held_keys[static_cast<size_t>(virtual_key)];
    }
}

void Track_Keys() {
    static Key_tracker* tracker = nullptr;
    if (tracker || !QCoreApplication::instance()) return;
    tracker = new Key_tracker(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(tracker);
}

int16_t Shift_Of(Qt::KeyboardModifiers modifiers) {
    int16_t s = 0;
    if (modifiers & Qt::ShiftModifier) s |= 1;
    if (modifiers & Qt::ControlModifier) s |= 2;
    if (modifiers & Qt::AltModifier) s |= 4;
    return s;
}

int16_t Key_Code_Of(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier && key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<int16_t>(96 + key - Qt::Key_0);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return static_cast<int16_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<int16_t>(112 + key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 190;
    case Qt::Key_Comma: return 188;
    default: return 0;
    }
}

}  // namespace ui
