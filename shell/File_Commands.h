#pragma once
// The file-type association. On this desktop the classes root of the registry is the user's
// freedesktop data under $XDG_DATA_HOME: a shared-mime-info package that names the file kind
// ("application/x-" and the class name, with the extension's glob and the description), and a desktop
// entry whose command opens the file in the program.
#include <string>

namespace File_Commands {

// Writes the package and the desktop entry for `ext` (".kd3"). A folder that cannot be made shows
// "Error: Creating Key!", a file that cannot be written "Error Setting String Value!" and stops there.
// `class_name` gets "\shell\open\command" appended once the command's turn has come. True when both
// files were written.
bool Create_File_Association(const std::string& ext, const std::string& exe_path, std::string& class_name,
                             const std::string& description, const std::string& icon_path);

// The files it writes, below the user's data folder.
std::string Mime_Package_Path(const std::string& class_name);
std::string Desktop_Entry_Path(const std::string& class_name);
std::string Mime_Type_Of(const std::string& class_name);

}  // namespace File_Commands
