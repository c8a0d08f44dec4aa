// The program's entry: the application with its error report and real dialogs. The start-up window is
// not built yet: the program initialises, names itself and ends.
#include "platform/ui/Application.h"
#include "platform/ui/Qt_dialog_service.h"
#include "shell/KDR_error_form.h"
#include "shell/Module_Vantorel.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    Module_Vantorel::Is_Compiled = true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--development") == 0) Module_Vantorel::Is_Compiled = false;

    ui::Qt_dialog_service dialogs;
    ui::Set_Dialog_Service(&dialogs);
    KDR_error_form::Install_Error_Reporter();

    Module_Vantorel::Vantorel_Initialization();
    std::printf("Vantorel_HDMI %s\n", VANTOREL_VERSION);
    std::printf("The start-up window is not built yet; nothing else runs.\n");
    ui::Set_Dialog_Service(nullptr);
    return 0;
}
