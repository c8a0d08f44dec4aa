#include "Application.h"

#include "Form.h"
#include "platform/vb/Error_trap.h"

#include <QWidget>

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application::~Application() { Destroy_All_Forms(); }

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        VbError error = VbError::From_Current_Exception();
        std::string where = receiver->metaObject()->className();
        if (auto* widget = qobject_cast<QWidget*>(receiver); widget && widget->window())
            where += " in window " + widget->window()->objectName().toStdString();
        vb::Report_Error(error, "Event loop", where);
        return false;
    }
}

}  // namespace ui
