#pragma once
// A start-up check that the control-box software can be used. It shows nothing of its own: its load
// runs the check and it unloads itself. No start-up road loads it.
#include <functional>

class Form_check_software {
public:
    // `previous_instance`: another instance of the program holds the data folder. Shows
    // "A previous instance of this program is already running!" and asks the program to exit, then goes
    // on. When the control-box software cannot be used it shows "Phidget drivers not installed
    // correctly!" and ends the program through `end_program`; otherwise it unloads itself.
    void Load(bool previous_instance);
    void Form_QueryUnload();
    bool Loaded() const { return loaded_; }
    // Ends the program at once; the program sets it to its own end.
    std::function<void()> End_program;

private:
    bool loaded_ = false;
};
