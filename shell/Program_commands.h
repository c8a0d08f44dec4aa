#pragma once
// The program-wide commands that a module or window reaches without knowing the layers above it: the
// program layer (app/) fills them in at start. A command that was not filled in raises error 91 with
// a text naming it, so a program assembled without it says what it lacks instead of doing nothing.
#include <functional>
#include <string>

namespace ui {
class Form;
}

namespace Program_commands {

struct Commands {
    std::function<void()> Vantorel_Initialization;
    std::function<void()> Vantorel_exit;
    std::function<void()> Stop_All_Captures;
    std::function<void()> Emergency_Stop;
    std::function<void()> Do_about;
    // Shows the capture console, loading it when it is not loaded.
    std::function<void()> Show_capture_console;
    std::function<void(ui::Form&)> SetFormFullScreen;
    // The review window: whether it is shown, and showing it with a heat opened.
    std::function<bool()> Review_Visible;
    std::function<void(const std::string&)> Open_In_Review;
    // The review window's question for the event name of its open heat.
    std::function<void()> Enter_Event_name;
    // The start-up window's JPEG benchmark report, which every new capture file keeps; asking for it
    // loads no window, also after the start-up window is unloaded.
    std::function<std::string()> JPEG_Bench_mess;
    // The review window's notice that the capture console holds frames back; an empty text clears it.
    std::function<void(const std::string&)> Show_Recording_Paused;
    // Whether the review window's open capture file has its lanes locked (false without an open file).
    std::function<bool()> Review_Lanes_Locked;
    // Makes the review window's developer menu "Specials" visible.
    std::function<void()> Show_Review_Specials;
};

// Replaces every command; an empty one is not available.
void Install(Commands commands);

void Vantorel_Initialization();
void Vantorel_exit();
void Stop_All_Captures();
void Emergency_Stop();
void Do_about();
void Show_capture_console();
void SetFormFullScreen(ui::Form& form);
bool Review_Visible();
// Shows the review window with the heat opened, and the results window beside it.
void Open_In_Review(const std::string& path);
void Enter_Event_name();
std::string JPEG_Bench_mess();
void Show_Recording_Paused(const std::string& notice);
// False where the program has no review window.
bool Review_Lanes_Locked();
void Show_Review_Specials();

}  // namespace Program_commands
