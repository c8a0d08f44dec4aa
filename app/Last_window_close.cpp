#include "Last_window_close.h"

#include "platform/ui/Form.h"
#include "shell/Module_Vantorel.h"
#include "shell/Program_commands.h"

#include <QCloseEvent>

bool Last_window_close::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Close || Module_Vantorel::Is_Exiting) return false;
    auto* form = dynamic_cast<ui::Form*>(watched);
    if (!form || !form->isVisible()) return false;
    for (ui::Form* other : ui::Loaded_Forms())
        if (other != form && other->isVisible()) return false;
    // The exit asks its question and unloads every window; when the user cancels, this one stays.
    event->ignore();
    Program_commands::Vantorel_exit();
    return true;
}
