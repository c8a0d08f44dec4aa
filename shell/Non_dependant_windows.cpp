#include "Non_dependant_windows.h"

#include "platform/ui/Dialog_service.h"
#include "platform/ui/Form.h"
#include "platform/vb/Error_trap.h"

#include <QWidget>

namespace Non_dependant {

namespace {
std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}
}  // namespace

bool IsLoaded(const std::string& form_name) {
    bool found = false;
    vb::Trap_With(
        true,
        [&] {
            for (const ui::Form* form : ui::Loaded_Forms())
                if (Upper(form->Name()) == Upper(form_name)) {
                    found = true;
                    return;
                }
        },
        [&](const VbError& e) {
            ui::MsgBox(e.Description() + " " + std::to_string(e.Number()) + " " + std::to_string(e.Line()) +
                       "IsLoaded error");
            found = false;
        });
    return found;
}

void Set_TopMost(QWidget* window) {
    if (!window) return;
    if (auto* form = dynamic_cast<ui::Form*>(window)) {
        form->Set_Top_Most(true);
        return;
    }
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (shown) window->show();
}

void Remove_Close_Menu(QWidget* window) {
    if (!window) return;
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowCloseButtonHint, false);
    if (shown) window->show();
}

}  // namespace Non_dependant
