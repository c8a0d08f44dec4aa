#include "Application.h"

#include "Form.h"
#include "Key_state.h"
#include "Handler_guard.h"

#include <QWidget>

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { Track_Keys(); }

Application::~Application() { Destroy_All_Forms(); }

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        std::string where = receiver->metaObject()->className();
        if (auto* widget = qobject_cast<QWidget*>(receiver); widget && widget->window())
            where += " in window " + widget->window()->objectName().toStdString();
        Report_Escaped_Error(where);
        return false;
    }
}

}  // namespace ui
