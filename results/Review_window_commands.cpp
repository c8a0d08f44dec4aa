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
void Set_Footer_Y_position(int32_t y) { Get(installed.Set_Footer_Y_position, "Footer_Y_position")(y); }
void Print_Series_HD() { Get(installed.Print_Series_HD, "Print_Series_HD")(); }
void Handle_Print_results() { Get(installed.Handle_Print_results, "Handle_Print_results")(); }
void Handle_Print_Series() { Get(installed.Handle_Print_Series, "Handle_Print_Series")(); }
void Handle_Print_Single() { Get(installed.Handle_Print_Single, "Handle_Print_Single")(); }
int32_t Right_Edge() { return installed.Right_Edge ? installed.Right_Edge() : 0; }

}  // namespace Review_window_commands
