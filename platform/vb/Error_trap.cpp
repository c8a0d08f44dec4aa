#include "Error_trap.h"

#include <cstdio>

namespace vb {

namespace {
Error_Reporter& Reporter() {
    static Error_Reporter reporter;
    return reporter;
}
thread_local Report_Redirect* redirect = nullptr;
}  // namespace

Report_Redirect::Report_Redirect(Handler handler) : handler_(std::move(handler)), previous_(redirect) { redirect = this; }

Report_Redirect::~Report_Redirect() { redirect = previous_; }

void Set_Error_Reporter(Error_Reporter reporter) { Reporter() = std::move(reporter); }

void Report_Error(const VbError& error, std::string_view location, std::string_view extra) {
    if (redirect) {
        redirect->handler_(error, location, extra);
        return;
    }
    if (Reporter()) {
        Reporter()(error.Description(), error.Number(), error.Line(), std::string(location), std::string(extra));
        return;
    }
    std::fprintf(stderr, "Error %d at line %d in %.*s: %s %.*s\n", error.Number(), error.Line(),
                 static_cast<int>(location.size()), location.data(), error.Description().c_str(),
                 static_cast<int>(extra.size()), extra.data());
}

}  // namespace vb
