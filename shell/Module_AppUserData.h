#pragma once
#include <string>

namespace Module_AppUserData {

// The local application-data folder ($XDG_DATA_HOME/vantorel, by default ~/.local/share/vantorel),
// created when missing, without a trailing "/".
std::string Get_AppData_Folder();

// The user's data folder: $XDG_DATA_HOME, by default ~/.local/share, and /tmp without a home.
std::string Data_Home();

}  // namespace Module_AppUserData
