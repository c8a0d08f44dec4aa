#pragma once
#include <string>

namespace Module_AppUserData {

// The local application-data folder ($XDG_DATA_HOME/vantorel, by default ~/.local/share/vantorel),
// created when missing, without a trailing "/".
std::string Get_AppData_Folder();

}  // namespace Module_AppUserData
