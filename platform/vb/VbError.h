#pragma once
// The error every trapped procedure raises and reports: a number, a description and the
// source (executable "." class or module), plus the source line where it was raised.
#include <cstdint>
#include <source_location>
#include <stdexcept>
#include <string>

class VbError : public std::runtime_error {
public:
    // An empty description takes the standard text of the number.
    explicit VbError(int32_t number, std::string description = {}, std::string source = {},
                     std::source_location where = std::source_location::current());

    int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& Source() const { return source_; }
    int32_t Line() const { return line_; }

    // The standard texts of the errors the system raises; "" for another number.
    static std::string Standard_Text(int32_t number);

    // Turns whatever was thrown into the error that a trap reports.
    static VbError From_Current_Exception();

private:
    int32_t number_;
    std::string description_;
    std::string source_;
    int32_t line_;
};

namespace vb {
// Error numbers the system raises by name.
inline constexpr int32_t Err_Invalid_Call = 5;
inline constexpr int32_t Err_Overflow = 6;
inline constexpr int32_t Err_Out_Of_Memory = 7;
inline constexpr int32_t Err_Subscript = 9;
inline constexpr int32_t Err_Division_By_Zero = 11;
inline constexpr int32_t Err_Type_Mismatch = 13;
inline constexpr int32_t Err_Cannot_Perform = 17;
inline constexpr int32_t Err_Internal = 51;
inline constexpr int32_t Err_File_Not_Found = 53;
inline constexpr int32_t Err_Disk_Full = 61;
inline constexpr int32_t Err_Permission_Denied = 70;
inline constexpr int32_t Err_Path_File_Access = 75;
inline constexpr int32_t Err_Path_Not_Found = 76;
inline constexpr int32_t Err_Object_Not_Set = 91;
inline constexpr int32_t Err_Own = 26001;

[[noreturn]] void Raise(int32_t number, std::string description = {}, std::string source = {},
                        std::source_location where = std::source_location::current());
}  // namespace vb
