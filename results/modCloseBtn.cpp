#include "modCloseBtn.h"

#include "shell/Non_dependant_windows.h"

#include <QVariant>
#include <QWidget>

namespace modCloseBtn {

namespace {
constexpr const char* Unavailable = "vantorel_close_unavailable";
}

void Remove_Close_Item(QWidget* target, int16_t) {
    if (!target) return;
    Non_dependant::Remove_Close_Menu(target);
    target->setProperty(Unavailable, true);
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
