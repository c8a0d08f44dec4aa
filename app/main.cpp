// The program's entry: the application with its error report, real dialogs and program commands, then
// the start-up window, or the review window with the heat the command line names; the program ends when
// its last window has been unloaded or closed. --development makes a development run (no exit question,
// developer menus shown, errors reach the event loop's report untrapped).
#include "app/Last_window_close.h"
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
    bool heat_named = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--development") == 0)
            Module_Vantorel::Is_Compiled = false;
        else
            heat_named = true;
    }

    ui::Qt_dialog_service dialogs;
    ui::Set_Dialog_Service(&dialogs);
    KDR_error_form::Install_Error_Reporter();
    Module_Vantorel::Install_Program_commands();
    Last_window_close last_window_close;
    app.installEventFilter(&last_window_close);

    Module_Vantorel::Show_First_Window(heat_named);
    int result = app.exec();
    ui::Set_Dialog_Service(nullptr);
    return result;
}
