#pragma once
// Ini files with the private-profile semantics the system relies on: sections and keys compared
// without regard to case, the first match wins, a missing file or key reads as the default, a
// null value removes the key, and a write rewrites one line and keeps every other byte of the file.
// The file is read once and kept; it is read again only when it changed on disk, and a write that
// changes nothing leaves the file alone.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ini {

// The value of `key`, or `default_value`, cut to `buffer_size` - 1 characters. Returns the number
// of characters copied into `out`.
int32_t Get_Private_Profile_String(std::string_view section, std::string_view key, std::string_view default_value,
                                   int32_t buffer_size, std::string& out, const std::string& path);

// Writes `key`=`value` into `section`, creating the file and the section on the first write; a value
// of std::nullopt removes the key. Returns 1 on success and 0 on failure (see Last_Error); a line end
// in any argument, an "=" in the key or a "]" in the section fails with EINVAL and changes nothing.
int32_t Write_Private_Profile_String(std::string_view section, std::string_view key,
                                     std::optional<std::string_view> value, const std::string& path);

// The errno of the last failed write, 0 after a successful one.
int32_t Last_Error();

}  // namespace ini
