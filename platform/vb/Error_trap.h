#pragma once
// The error trap of a procedure: armed, it catches what the body raises and reports it (through the
// common error report the program installs, or a handler of the procedure's own); not armed, the
// error passes to the caller unchanged.
#include "VbError.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vb {

// description, number, line, location, extra text
using Error_Reporter = std::function<void(const std::string&, int32_t, int32_t, const std::string&, const std::string&)>;

// The program installs the common error report here; without one, reports go to stderr.
void Set_Error_Reporter(Error_Reporter reporter);
void Report_Error(const VbError& error, std::string_view location, std::string_view extra = {});

// While one lives, errors reported on its thread go to its handler instead of the common report: for
// work that tells of its failures its own way (the capture worker, a full disk while recording).
class Report_Redirect {
public:
    using Handler = std::function<void(const VbError&, std::string_view location, std::string_view extra)>;
    explicit Report_Redirect(Handler handler);
    ~Report_Redirect();
    Report_Redirect(const Report_Redirect&) = delete;
    Report_Redirect& operator=(const Report_Redirect&) = delete;

private:
    friend void Report_Error(const VbError& error, std::string_view location, std::string_view extra);
    Handler handler_;
    Report_Redirect* previous_;
};

// Runs `body`; when armed, an error is given to `on_error` and the result is false.
template <class Body, class Handler>
bool Trap_With(bool armed, Body&& body, Handler&& on_error) {
    if (!armed) {
        body();
        return true;
    }
    try {
        body();
        return true;
    } catch (...) {
        on_error(VbError::From_Current_Exception());
        return false;
    }
}

// Runs `body`; when armed, an error is reported with `location` and the result is false.
template <class Body>
bool Trap(bool armed, std::string_view location, Body&& body, std::string_view extra = {}) {
    return Trap_With(armed, std::forward<Body>(body),
                     [&](const VbError& e) { Report_Error(e, location, extra); });
}

}  // namespace vb
