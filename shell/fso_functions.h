#pragma once
// Folder listings for the review window's recent-files menu.
#include <string>
#include <vector>

namespace fso_functions {

// One element per file of the folder: each capture file (".kd3", over 1 MiB) as its modification time
// "yyyy-mm-dd hh:nn:ss" followed by its name, every other file as ""; newest first, the empty ones
// last. An empty, missing or unreadable folder gives no element (unreadable: reported when built).
std::vector<std::string> fso_Youngest_files(const std::string& folder);

}  // namespace fso_functions
