#include "Program_commands.h"

#include "platform/vb/VbError.h"

#include <utility>

namespace Program_commands {

namespace {

Commands installed;

void Run(const std::function<void()>& command, const char* name) {
    if (!command) vb::Raise(vb::Err_Object_Not_Set, std::string("The command ") + name + " is not available in this program");
    command();
}

}  // namespace

void Install(Commands commands) { installed = std::move(commands); }

void Vantorel_Initialization() { Run(installed.Vantorel_Initialization, "Vantorel_Initialization"); }
void Vantorel_exit() { Run(installed.Vantorel_exit, "Vantorel_exit"); }
void Stop_All_Captures() { Run(installed.Stop_All_Captures, "Stop_All_Captures"); }
void Emergency_Stop() { Run(installed.Emergency_Stop, "Emergency_Stop"); }
void Do_about() { Run(installed.Do_about, "Do_about"); }
void Show_capture_console() { Run(installed.Show_capture_console, "Show_capture_console"); }

void SetFormFullScreen(ui::Form& form) {
    if (!installed.SetFormFullScreen) vb::Raise(vb::Err_Object_Not_Set, "The command SetFormFullScreen is not available in this program");
    installed.SetFormFullScreen(form);
}

}  // namespace Program_commands
