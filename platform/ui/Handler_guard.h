#pragma once
// An event handler that Qt calls is run through here: an error that escapes it is reported through the
// common error report, as at the event loop, and never unwinds through Qt's own frames.
#include <functional>
#include <string>

namespace ui {

// `where` names the handler's window and control for the report's extra text.
void Run_Handler(const std::function<void()>& handler, const std::string& where);

// Reports the exception being handled as one that escaped an event handler.
void Report_Escaped_Error(const std::string& where);

}  // namespace ui
