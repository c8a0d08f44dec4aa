#pragma once
// The export's program-wide state and the two text procedures other windows share: the heat text of
// a capture file's name and print titles without the Swedish letters.
#include <string>

namespace Module_Vantorel {

// The folder results are exported to, as the ini file holds it.
extern std::string Export_Folder;
// The full path the latest export wrote.
extern std::string Last_Export_File;

// The text between the last "Heat" (else the last "heat") and the first "_" after it; "" when either
// is missing.
std::string Heat_number_from_Filename(const std::string& File_Name);
// å and ä become a, ö o, Å and Ä A, Ö O; nothing else changes.
std::string Strip_Diacritics(const std::string& Text);

}  // namespace Module_Vantorel
