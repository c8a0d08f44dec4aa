#include "VbError.h"

#include <new>

namespace {
std::string Describe(int32_t number, std::string description) {
    if (description.empty()) description = VbError::Standard_Text(number);
    return description;
}
}  // namespace

VbError::VbError(int32_t number, std::string description, std::string source, std::source_location where)
    : std::runtime_error(Describe(number, description)),
      number_(number),
      description_(Describe(number, std::move(description))),
      source_(std::move(source)),
      line_(static_cast<int32_t>(where.line())) {}

std::string VbError::Standard_Text(int32_t number) {
    switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 17: return "Can't perform requested operation";
    case 51: return "Internal error";
    case 53: return "File not found";
    case 61: return "Disk full";
    case 70: return "Permission denied";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 91: return "Object variable or With block variable not set";
    case 26001: return "Application-defined or object-defined error";
    default: return "";
    }
}

VbError VbError::From_Current_Exception() {
    try {
        throw;
    } catch (const VbError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return VbError(vb::Err_Out_Of_Memory, {}, {}, std::source_location{});
    } catch (const std::exception& e) {
        return VbError(vb::Err_Internal, std::string("Internal error: ") + e.what(), {}, std::source_location{});
    } catch (...) {
        return VbError(vb::Err_Internal, {}, {}, std::source_location{});
    }
}

namespace vb {
void Raise(int32_t number, std::string description, std::string source, std::source_location where) {
    throw VbError(number, std::move(description), std::move(source), where);
}
}  // namespace vb
