#include "Review_window_commands.h"

#include "platform/vb/VbError.h"
#include "store/cls_VideoFile_handler.h"

#include <utility>

namespace Review_window_commands {

namespace {

Commands installed;

template <class Command>
const Command& Get(const Command& command, const char* name) {
    if (!command) vb::Raise(vb::Err_Object_Not_Set, std::string("The command ") + name + " is not available in this program");
    return command;
}

}  // namespace

void Install(Commands commands) { installed = std::move(commands); }

cls_VideoFile_handler& Replay_File() { return Get(installed.Replay_File, "Replay_File")(); }
bool File_open() { return installed.Replay_File && installed.Replay_File().File_open(); }
void Fill_Results() { Get(installed.Fill_Results, "Fill_Results")(); }
void Complete_Result_Array() { Get(installed.Complete_Result_Array, "Complete_Result_Array")(); }
void Clear_All_Results() { Get(installed.Clear_All_Results, "Clear_All_Results")(); }
void Draw_Graphics(bool Refresh, bool StartCam) { Get(installed.Draw_Graphics, "Draw_Graphics")(Refresh, StartCam); }
void Show_Field(int32_t n) { Get(installed.Show_Field, "Show_Field")(n); }
void Set_Focus() { Get(installed.Set_Focus, "Set_Focus")(); }
void Print_Place_string(const std::string& Place) { Get(installed.Print_Place_string, "Print_Place_string")(Place); }
void SliderPlay_Focus() { Get(installed.SliderPlay_Focus, "SliderPlay_Focus")(); }

}  // namespace Review_window_commands
