#include "Module_AppUserData.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace Module_AppUserData {

std::string Get_AppData_Folder() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) base = std::filesystem::path(home) / ".local/share";
    else base = "/tmp";
    std::filesystem::path folder = base / "vantorel";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);  // a failure shows where the ini and logs are used
    return folder.string();
}

}  // namespace Module_AppUserData
