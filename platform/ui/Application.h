#pragma once
// The program's application object: an error that escapes an event handler is reported through the
// common error report instead of ending the program. Handlers connected to signals run through
// Run_Handler (Handler_guard.h) so that their errors are caught before they reach Qt.
#include <QApplication>

namespace ui {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    // Unloads what is still loaded, without asking.
    ~Application() override;

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ui
