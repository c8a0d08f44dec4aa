#include "Handler_guard.h"

#include "platform/vb/Error_trap.h"

namespace ui {

void Report_Escaped_Error(const std::string& where) {
    vb::Report_Error(VbError::From_Current_Exception(), "Event loop", where);
}

void Run_Handler(const std::function<void()>& handler, const std::string& where) {
    try {
        handler();
    } catch (...) {
        Report_Escaped_Error(where);
    }
}

}  // namespace ui
