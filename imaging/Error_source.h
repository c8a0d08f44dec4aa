#pragma once
// The source text of an error a class or module raises itself: the executable's name, a point and
// the class or module name.
#include <cerrno>
#include <string>
#include <string_view>

namespace imaging {

inline std::string Error_Source(std::string_view module) {
    return std::string(program_invocation_short_name) + "." + std::string(module);
}

}  // namespace imaging
