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

bool Review_Visible() {
    if (!installed.Review_Visible) Run({}, "Review_Visible");
    return installed.Review_Visible();
}

void Open_In_Review(const std::string& path) {
    if (!installed.Open_In_Review) Run({}, "Open_In_Review");
    installed.Open_In_Review(path);
}

void Enter_Event_name() {
    if (!installed.Enter_Event_name) Run({}, "Enter_Event_name");
    installed.Enter_Event_name();
}

void Show_Review_Specials() { Run(installed.Show_Review_Specials, "Show_Review_Specials"); }

bool Review_Lanes_Locked() { return installed.Review_Lanes_Locked && installed.Review_Lanes_Locked(); }

std::string JPEG_Bench_mess() {
    if (!installed.JPEG_Bench_mess) Run({}, "JPEG_Bench_mess");
    return installed.JPEG_Bench_mess();
}

void Show_Recording_Paused(const std::string& notice) {
    if (!installed.Show_Recording_Paused) Run({}, "Show_Recording_Paused");
    installed.Show_Recording_Paused(notice);
}

}  // namespace Program_commands
