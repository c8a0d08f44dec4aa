#include "mTrace.h"

#include "Module_Vantorel.h"
#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"
#include "platform/trace/Trace_viewer.h"
#include "platform/vb/Program_state.h"
#include "platform/vb/Vb_convert.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace mTrace {

namespace {
trace::Viewer_channel& Trace_Window() {
    static trace::Viewer_channel channel;
    return channel;
}
std::atomic<bool> Trace_Looked_Up{false};
// Lines the viewer could not take since it last took one; trace calls come from more than one thread.
std::atomic<int64_t> Dropped_Lines{0};
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Trace_Looked_Up = false;
    Dropped_Lines = 0;
});

std::string Executable_Name() {
    std::string exe = fs::Executable_Path();
    return exe.empty() ? std::string("vantorel") : std::filesystem::path(exe).stem().string();
}
}  // namespace

int16_t Trace_Enabled() {
    if (!Trace_Looked_Up) {
        Trace_Window().Find();
        Trace_Looked_Up = true;
    }
    return Trace_Window().Found() ? -1 : 0;
}

int16_t Trace_Reconnect() {
    Trace_Looked_Up = false;
    return Trace_Enabled();
}

namespace detail {

std::string Number_Text(double value) { return vb::CStr(value); }
std::string Number_Text(int64_t value) { return vb::CStr(value); }

void Trace_Line(const std::string& items) {
    static const std::string exe = Executable_Name();
    sys::Local_Time t = sys::Get_Local_Time();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d %02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    // The process id stands for the instance handle: one per running program.
    const std::string head = exe + (Module_Vantorel::Is_Compiled ? " C" : " I") + ": " + std::to_string(getpid()) +
                             ": " + std::to_string(gettid()) + ": " + stamp + ": ";
    trace::Viewer_channel& window = Trace_Window();
    // A viewer that falls behind loses lines rather than holding up the program; once it takes lines
    // again it learns how many it missed.
    if (const int64_t dropped = Dropped_Lines.load(); dropped > 0) {
        if (!window.Send(head + "Trace lines dropped\t" + std::to_string(dropped) + "\t")) {
            ++Dropped_Lines;
            return;
        }
        Dropped_Lines -= dropped;
    }
    if (!window.Send(head + items)) ++Dropped_Lines;
}

}  // namespace detail

}  // namespace mTrace
