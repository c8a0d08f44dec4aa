// The program's entry: the application with its error report, real dialogs and program commands, then
// the start-up window; the program ends when its last window has been unloaded. --development makes a
// development run (no exit question, developer menus shown, errors reach the event loop's report
// untrapped).
#include "app/Form_Vantorel_Full_Startup.h"
#include "app/Module_Vantorel_windows.h"
#include "platform/ui/Application.h"
#include "platform/ui/Qt_dialog_service.h"
#include "shell/KDR_error_form.h"
#include "shell/Module_Vantorel.h"

#include <cstring>

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);  // hidden windows stay loaded; Vantorel_exit ends the program
    Module_Vantorel::Is_Compiled = true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--development") == 0) Module_Vantorel::Is_Compiled = false;

    ui::Qt_dialog_service dialogs;
    ui::Set_Dialog_Service(&dialogs);
    KDR_error_form::Install_Error_Reporter();
    Module_Vantorel::Install_Program_commands();

    Form_Vantorel_Full_Startup::Instance().Show();
    int result = app.exec();
    ui::Set_Dialog_Service(nullptr);
    return result;
}
