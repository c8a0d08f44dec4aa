#include "Module1.h"

#include <QApplication>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>

namespace Module1 {

namespace {

int32_t Key_State(const QWheelEvent& e) {
    int32_t keys = 0;
    if (e.buttons() & Qt::LeftButton) keys |= 1;
    if (e.buttons() & Qt::RightButton) keys |= 2;
    if (e.modifiers() & Qt::ShiftModifier) keys |= 4;
    if (e.modifiers() & Qt::ControlModifier) keys |= 8;
    if (e.buttons() & Qt::MiddleButton) keys |= 16;
    return keys;
}

// Sees every event of the application, so that a turn over any control of the window reaches it.
class Wheel_filter : public QObject {
public:
    Wheel_filter(QWidget* window, Mouse_wheel_target* target) : window_(window), target_(target) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::Wheel || !window_ || !receiver->isWidgetType()) return false;
        if (static_cast<QWidget*>(receiver)->window() != window_) return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        int32_t keys = Key_State(*wheel);
        int32_t rotation = wheel->angleDelta().y();
        QPoint at = wheel->globalPosition().toPoint();
        int32_t x = at.x(), y = at.y();
        target_->MouseWheel(keys, rotation, x, y);
        return true;
    }

    QPointer<QWidget> window_;
    Mouse_wheel_target* target_;
};

Wheel_filter* hook = nullptr;

}  // namespace

void Hook_Mouse_Wheel(QWidget* window, Mouse_wheel_target* target) {
    Unhook_Mouse_Wheel();
    if (!window || !target || !qApp) return;
    hook = new Wheel_filter(window, target);
    qApp->installEventFilter(hook);
}

void Unhook_Mouse_Wheel() {
    if (!hook) return;
    if (qApp) qApp->removeEventFilter(hook);
    delete hook;
    hook = nullptr;
}

bool Is_Hooked(const QWidget* window) { return hook && window && hook->window_ == window; }

}  // namespace Module1
