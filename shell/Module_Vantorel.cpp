#include "Module_Vantorel.h"

#include "Log_file.h"
#include "Non_dependant.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"

#include <QCoreApplication>

namespace Module_Vantorel {

void Write_Event_Log(const std::string& message) {
    vb::Trap_With(
        Is_Compiled,
        [&] { Log_file(AppData_Folder, "Vantorel_eventlog.txt").Write_Line(Non_dependant::Now_Text() + message); },
        [](const VbError& e) { ui::MsgBox("Log error " + e.Description() + " " + std::to_string(e.Number())); });
}

int32_t UpdateFileCopyStatus(int64_t, int64_t) {
    vb::Trap(Is_Compiled, "UpdateFileCopyStatus of Module Module_canoe", [] { QCoreApplication::processEvents(); });
    return 0;
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

