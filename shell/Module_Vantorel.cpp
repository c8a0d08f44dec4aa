#include "Module_Vantorel.h"

#include "Log_file.h"
#include "Non_dependant.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"

namespace Module_Vantorel {

void Write_Event_Log(const std::string& message) {
    const char* const name = "Vantorel_eventlog.txt";
    vb::Trap_With(
        Is_Compiled,
        [&] {
            Log_file(AppData_Folder, name).Write_Line(Non_dependant::Now_Text() + message);
            Log_file::Succeeded(AppData_Folder, name);
        },
        [&](const VbError& e) { Log_file::Tell_Failure(AppData_Folder, name, e); });
}

}  // namespace Module_Vantorel

// ---- The file-type association ----

#include "File_Commands.h"
#include "platform/fs/File_system.h"

#include <filesystem>

namespace Module_Vantorel {

void Associate_KD3_Extension() {
    std::string exe_path = fs::Executable_Path();
    std::string icon_path = std::filesystem::path(exe_path).parent_path().string() + "/" + "Vantorel_free.ico";
    std::string class_name = "kd3_ext";
    // The confirmation only follows a complete association; a failed step has shown its own message.
    if (File_Commands::Create_File_Association(".kd3", exe_path, class_name, "Vantorel data file", icon_path))
        ui::MsgBox("Associated the file extension .kd3 with this application!", ui::vbOKOnly);
}

}  // namespace Module_Vantorel

