// Forced into every file of the fuzz build: clang 14 with libstdc++ 12 lacks std::source_location,
// which the rest of the code takes for granted.
#pragma once
#include <version>
#if defined(__clang__) && !defined(__cpp_lib_source_location)
namespace std {
struct source_location {
    static constexpr source_location current(const char* file = __builtin_FILE(),
                                             const char* function = __builtin_FUNCTION(),
                                             unsigned line = __builtin_LINE(), unsigned column = __builtin_COLUMN()) noexcept {
        source_location s;
        s.file_ = file;
        s.function_ = function;
        s.line_ = line;
        s.column_ = column;
        return s;
    }
    constexpr unsigned line() const noexcept { return line_; }
    constexpr unsigned column() const noexcept { return column_; }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr const char* function_name() const noexcept { return function_; }

private:
    const char* file_ = "";
    const char* function_ = "";
    unsigned line_ = 0;
    unsigned column_ = 0;
};
}  // namespace std
#endif
