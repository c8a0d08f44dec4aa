#include "fso_functions.h"

#include "Module_Bubblesort.h"
#include "Module_Vantorel.h"
#include "Module_dependant.h"
#include "Non_dependant.h"
#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/Error_trap.h"

namespace fso_functions {

std::vector<std::string> fso_Youngest_files(const std::string& folder) {
    std::vector<std::string> names;
    bool done = vb::Trap(Module_Vantorel::Is_Compiled, "fso_Youngest_files of Module fso_functions", [&] {
        if (folder.empty() || !Module_dependant::FolderExists(folder)) return;
        std::vector<fs::File_Info> files = fs::Folder_Files(folder);
        names.assign(files.size(), std::string());
        size_t next = 0;
        for (const fs::File_Info& f : files)
            if (f.size > 1048576 && Non_dependant::File_Suffix(f.name) == "kd3")
                names[next++] = sys::Date_Time_Text(sys::Local_Time_Of(f.modified)) + f.name;
        Module_Bubblesort::Bubble_Sort(names);
    });
    if (!done) names.clear();
    return names;
}

}  // namespace fso_functions
