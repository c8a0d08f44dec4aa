#include "Module_AppUserData.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace Module_AppUserData {

std::string Data_Home() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share";
    return "/tmp";
}

std::string Get_AppData_Folder() {
    std::filesystem::path folder = std::filesystem::path(Data_Home()) / "vantorel";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);  // a failure shows where the ini and logs are used
    return folder.string();
}

}  // namespace Module_AppUserData
