#pragma once
// The procedures of Module_Vantorel that act on windows: the orderly shutdown, stopping the camera,
// full screen, the about box and the start-up window's quality choice.
namespace ui {
class Form;
}

namespace Module_Vantorel {

// The orderly shutdown that every window's Exit calls. The F key held: "Performing forced shutdown"
// and the process ends. Otherwise, in the built program, the operator confirms first; only then the
// run's counters and uptime go to the event log, Is_Exiting is set, the capture device is released,
// captures are stopped and drained, and every window is unloaded in two passes.
void Vantorel_exit();
// Never reports an error: each step that fails is passed over.
void Stop_All_Captures();
void Emergency_Stop();
// Turns the window into a caption-less full-screen window, or back. Always false.
bool SetFormFullScreen(ui::Form& Frm);
void Do_about();
// Selects the saved "initial_q" on the start-up window and sets JPG_Start_Quality; a value that is no
// option's caption changes neither.
void Load_Initial_Quality();
// Fills in the program commands with these procedures and the initialisation, and installs the review
// window's timing methods and Load_Initial_Quality into the initialisation; run once at start.
void Install_Program_commands();
// The program's first window: the review window when the command line names a heat (it opens that
// heat, as a double-click on a ".kd3" file does), else the start-up window.
void Show_First_Window(bool heat_named);

}  // namespace Module_Vantorel
