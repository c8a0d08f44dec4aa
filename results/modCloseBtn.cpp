#include "modCloseBtn.h"

#include "shell/Non_dependant_windows.h"

#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace modCloseBtn {

namespace {

constexpr const char* Unavailable = "vantorel_close_unavailable";
constexpr const char* Guard_Name = "vantorel_close_guard";

// Turns the Close command away while it is unavailable: some window managers keep the title bar's
// close box whatever the window asks (openbox does), and Alt+F4 reaches every window. The program
// itself closes its windows by unloading them, never with a close request.
class Close_guard : public QObject {
public:
    explicit Close_guard(QObject* parent) : QObject(parent) { setObjectName(Guard_Name); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Close || !Close_Unavailable(static_cast<const QWidget*>(watched))) return false;
        event->ignore();
        return true;
    }
};

}  // namespace

void Remove_Close_Item(QWidget* target, int16_t) {
    if (!target) return;
    Non_dependant::Remove_Close_Menu(target);
    target->setProperty(Unavailable, true);
    if (!target->findChild<QObject*>(Guard_Name, Qt::FindDirectChildrenOnly))
        target->installEventFilter(new Close_guard(target));
}

int16_t Enable_Close_Button(QWidget* window, bool enable) {
    if (!window || !window->isWindow()) return -1;
    if (Close_Unavailable(window) != enable) return 0;
    if (enable) {
        const bool shown = window->isVisible();
        window->setWindowFlag(Qt::WindowCloseButtonHint, true);
        if (shown) window->show();
        window->setProperty(Unavailable, false);
    } else {
        Remove_Close_Item(window, 0);
    }
    return 0;
}

bool Close_Unavailable(const QWidget* window) { return window && window->property(Unavailable).toBool(); }

}  // namespace modCloseBtn
