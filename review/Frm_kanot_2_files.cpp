// The review window's capture files: every road that opens a heat, closing, deleting, renaming and
// the rotation flag.
#include "Frm_kanot_2.h"

#include "Module_Vantorel_course.h"
#include "Module_Vantorel_overlay.h"
#include "Module_Vantorel_results.h"
#include "Store_course.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Text_fit.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "results/Frm_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_Vantorel_startup.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/fso_functions.h"
#include "shell/mTrace.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>

#include <cstdlib>
#include <filesystem>
#include <system_error>

using namespace Module_Vantorel;
using Module_dependant::Trace_String;

namespace {

// The folder of the last heat opened; before the first one (or when it is gone) the capture folder,
// else the home folder. A missing ini value reads as "N/A", which the dialog would take for a name.
std::string Open_Start_Folder() {
    const std::string last = Non_dependant::Read_Ini("Canoe", "last_dir", Ini_file_path, "");
    for (const std::string& folder : {last, Capture_Folders[0]})
        if (!folder.empty() && Module_dependant::FolderExists(folder)) return folder;
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

}  // namespace

void Frm_kanot_2::Handle_Open_File(const std::string& path) {
    vb::Trap(Is_Compiled, "Handle_Open_File of Form frm_kanot_2", [&] {
        Trace_String("*Handle_Open_File, filename = " + path);
        Auto.Reset();
        Close_File();
        if (item_zoom.Checked() || Zoom_Mode) {
            item_zoom.Set_Checked(false);
            Zoom_Mode = false;
            unsetCursor();
        }
        Picture_large->Picture(QImage());
        Picture_large->Cls();
        Clear_Results();
        // Nothing of the previous heat stays shown when this one cannot be opened.
        Frm_results::Instance().Clear_Heat_Data();
        Clear_Heat_View();
        if (!path.empty()) {
            Current_File_Name = path;
        } else {
            ui::File_Request request;
            request.initial_dir = Open_Start_Folder();
            request.title = "Open";
            request.filter = "Vantorel Files (*.kd3)|*.kd3";
            Current_File_Name = ui::Dialogs().Open_File(request).value_or("");
            mTrace::Trace("*FK2 CommonDialog, filename = " + Current_File_Name);
        }
        if (Current_File_Name.empty()) return;
        if (!Module_dependant::FileExists(Current_File_Name)) {
            ui::MsgBox("File does not exist!\r\n" + Current_File_Name, ui::vbOKOnly);
            Current_File_Name.clear();
            return;
        }
        // A path given relative to the current folder (the command line) still has a folder to keep.
        const std::string full = std::filesystem::absolute(Current_File_Name).string();
        Non_dependant::Write_Ini("Canoe", "last_dir", Non_dependant::ParsePath(full, 16, true), Ini_file_path);
        Open_multi_file(Current_File_Name);
        if (Replay_File.File_num() > 0 && Replay_File.Num_Frames() == 0) {
            const std::string refused = Current_File_Name;
            // Closed as any heat is, so the caption names no file that is not open.
            Close_File();
            Clear_File_Data();
            ui::MsgBox(refused + "\r\nNo video frames in this file!", ui::vbOKOnly);
            return;
        }
        if (!File_open()) {
            Current_File_Name.clear();
            return;
        }
        Run_Mode = 10;
        if (Replay_File.Lane_count() > 0) Draw_Lane_Count = Replay_File.Lane_count();
        Store_course course(Replay_File);
        Load_Lanes_from_File(course);
        Read_Extra_line();
        Delta_Reference_Time = 0;
        Set_Focus();
        Rotated_View = Replay_File.RGB_Rotated();
        // The display options follow the file; their boxes' own commands come with the options frame.
        Draw_Goalline = Replay_File.Show_goalline();
        Chk_Show_Goalline->setChecked(Draw_Goalline);
        Chk_Flip_Lanemarks->setChecked(Replay_File.Lanes_flipped());
        Draw_Lanemarks = Replay_File.Lanes_Visible();
        Chk_Show_lanemarks->setChecked(Draw_Lanemarks);
        ui::Show_Fitted(*Label_heatID, QString::fromStdString(Replay_File.Heat_ID(1)), Frm_time->font().pointSize());
        Label_heatID->setToolTip(QString::fromStdString(Replay_File.File_name()));
        // The time of day to the second, however many digits its hours take.
        const std::string start = Non_dependant::Display_Mill_Time(Replay_File.Start_local_Mill_Time(1), false);
        Label_start_time->setText(QString::fromStdString(start.substr(0, start.find(','))));
        Frm_results& results = Frm_results::Instance();
        results.orig_Start_Local_Time = Replay_File.Start_local_Mill_Time(1);
        Complete_Result_Array();
        results.Display_Original_Start_Time();
        Set_Captions();
        Clear_Graphics();
        New_Graphics();
        Set_Slider_Value(1);
        Slider_play_Scroll();
        // The winner's goal field, the delta's zero; a heat without results stays at its first field.
        results.GoTo_Field(0);
        Lbl_delta_time_Click();
        if (item_use_size.Checked()) Restore_Size_Position();
        Form_Resize();
        // The docking has shown the results window; the keys stay here.
        Set_Focus();
    });
}

// The top, left and height that "Use this size/position" stored; the width stays. A text that does not
// hold three numbers moves nothing.
void Frm_kanot_2::Restore_Size_Position() {
    const std::string stored = Non_dependant::Read_Ini("settings", "lastformpos", Ini_file_path, "N/A");
    if (stored == "N/A") return;
    const std::vector<std::string> values = vb::Split(stored, ",");
    if (values.size() < 3) return;
    for (size_t i = 0; i < 3; ++i)
        if (!vb::Is_Numeric(vb::Trim(values[i]))) return;
    auto twips = [&](size_t i) { return static_cast<int32_t>(vb::Int(vb::CDbl(vb::Trim(values[i])))); };
    Move(twips(1), twips(0), Width(), twips(2));
}

void Frm_kanot_2::Open_multi_file(const std::string& Filename) {
    if (Filename.empty()) return;
    ++Files_Opened;
    vb::Trap(Is_Compiled, "Open_multi_file of Form frm_kanot_2", [&] {
        Replay_File.Close_File();
        File_Goalline = {0, 0, 0, 0};
        // Only capture files are reviewed: a file of another kind is refused before the store, which
        // opens for writing, has touched it.
        if (vb::LCase(Non_dependant::File_Suffix(Filename)) != "kd3") {
            ui::MsgBox("Not a valid vantOrel file!\r\n" + Filename, ui::vbOKOnly);
            return;
        }
        Replay_File.File_name(Filename);
        Replay_File.Open_RGB_File();
        if (!Replay_File.File_open()) return;
        if (!Replay_File.is_Vantorel()) {
            Replay_File.Close_File();
            ui::MsgBox("Not a valid vantOrel file!\r\n" + Filename, ui::vbOKOnly);
            return;
        }
        Store_course course(Replay_File);
        Load_File_Goalline(course);
        Video_Width = Replay_File.Width();
        Video_Height = Replay_File.Height();
        if (Replay_File.RGB_Rotated()) {
            Display_Width = Video_Height;
            Display_Height = Video_Width;
        } else {
            Display_Width = Video_Width;
            Display_Height = Video_Height;
        }
        Create_obj_Graphics();
        Slider_play->setMinimum(1);
        Set_Picture_Size();
        if (Slider_play->minimum() < Replay_File.Num_fields()) Slider_play->setMaximum(Replay_File.KD3_Num_fields());
        Set_Slider_Value(Slider_play->minimum());
        Lbl_Frame_size->setText(QString::fromStdString(std::to_string(Display_Width) + "*" +
                                                       std::to_string(Display_Height) +
                                                       (Replay_File.RGB_Rotated() ? "R" : "")));
        Set_Focus();
        Update_Form_Caption();
        // The size as the file system gives it: a heat may pass 2 GiB.
        const double megabytes = static_cast<double>(Non_dependant::Get_File_Size(Filename)) / 1048576.0;
        Lbl_filesize->setText(QString::fromStdString(std::to_string(Replay_File.Segments_Num()) + "/" +
                                                     vb::Format(vb::Round(megabytes, 1), "0.0") + " MB"));
        // A heat cut short says how many of the frames its header counts are not in the file.
        if (Replay_File.Missing_Frames() > 0)
            Label_mismatch->setText(QString::fromStdString(
                std::to_string(Replay_File.Missing_Frames()) + " of " +
                std::to_string(Replay_File.Num_Frames() + Replay_File.Missing_Frames()) + " frames missing"));
    });
}

void Frm_kanot_2::Close_File() {
    vb::Trap(Is_Compiled, "Close_file of Form frm_kanot_2", [this] {
        if (!File_open()) return;
        Timer_play.Set_Enabled(false);
        Cmd_play->setEnabled(true);
        Replay_File.Close_File();
        Replay_File.File_name("");
        Set_Slider_Value(Slider_play->minimum());
        Current_File_Name.clear();
        Shown_Field_Time_Known = false;
        Update_Form_Caption();
        Clear_Lane_Results();
        // The program's own event name again: an export has made the closed heat's its own.
        Load_Event_name();
        Set_Captions();
        Load_Lanes_and_Goalline();
    });
}

void Frm_kanot_2::item_close_Click() {
    vb::Trap(Is_Compiled, "item_close_click of Form Frm_kanot_2", [this] {
        Close_File();
        Frm_results::Instance().Clear_Results();
        Frm_results::Instance().Clear_Heat_Data();
        Update_Form_Caption();
        Picture_large->Cls();
        Clear_Heat_View();
    });
}

void Frm_kanot_2::Clear_File_Data() {
    vb::Trap(Is_Compiled, "Clear_file_Data of Form frm_kanot_2", [this] {
        Picture_large->Picture(QImage());
        P_Large_refresh();
        for (QLabel* label : {Lbl_Frame_size, Lbl_filesize, lbl_elapsed_time, Lbl_delta_time, Lbl_frameno})
            label->clear();
    });
}

void Frm_kanot_2::Clear_Heat_View() {
    Clear_File_Data();
    Label_heatID->clear();
    Label_heatID->setToolTip(QString());
    Label_start_time->clear();
    Label_mismatch->clear();
    Slider_play->setMaximum(Slider_play->minimum());
}

void Frm_kanot_2::item_open_last_Click() {
    Trace_String("*FK2 item_open_last_Click");
    if (Last_Captured_File != "N/A" && !Last_Captured_File.empty())
        Handle_Open_File(Last_Captured_File);
    else
        ui::MsgBox("Sorry, no last capture info stored!");
}

void Frm_kanot_2::Open_last_File() {
    Trace_String("*Open_last_File");
    if (Non_dependant::Get_File_Size(Last_Captured_File) > 1048575)
        Handle_Open_File(Last_Captured_File);
    else
        ui::MsgBox("Empty file!");
}

void Frm_kanot_2::Update_Recent_Files() {
    for (size_t i = 1; i < item_Open_Newest.size(); ++i) item_Open_Newest[i].Set_Caption("");
    const std::string folder = Non_dependant::Read_Ini("Canoe", "last_dir", Ini_file_path, "");
    Capture_Folders[0] = folder;
    const std::vector<std::string> newest = fso_functions::fso_Youngest_files(folder);
    if (newest.empty()) {
        item_Open_Newest[0].Set_Caption("[no files]");
        item_Open_Newest[0].Set_Visible(true);
        return;
    }
    for (size_t i = 0; i < std::min<size_t>(newest.size(), 4); ++i) {
        item_Open_Newest[i].Set_Caption(vb::Mid(newest[i], 20));
        item_Open_Newest[i].Set_Visible(true);
    }
}

void Frm_kanot_2::item_Open_Newest_Click(int16_t Index) {
    vb::Trap(Is_Compiled, "item_open_newest_Click of Form Frm_kanot_2", [&] {
        const std::string caption = item_Open_Newest.at(static_cast<size_t>(Index)).Caption();
        // "[no files]" names no file of the folder.
        if (caption.empty() || caption == "[no files]") return;
        Handle_Open_File(Capture_Folders[0] + "/" + caption);
    });
}

void Frm_kanot_2::item_Delete_File_Click() {
    const std::string path = Replay_File.File_name();
    // A heat deleted by a slip of the mouse would be lost for good.
    if (!path.empty() && ui::MsgBox("Delete this file for good?\r\n" + path,
                                    ui::vbOKCancel + ui::vbQuestion + ui::vbDefaultButton2, "Delete file") != ui::vbOK)
        return;
    item_close_Click();
    if (!path.empty()) Module_dependant::Kill_File(path);
}

void Frm_kanot_2::item_rename_file_Click() {
    const std::string heat = File_open() ? Current_File_Name : std::string();
    Replay_File.Close_File();
    const std::string renamed = rename_file(Current_File_Name);
    // The heat stays open, under its new name or, when the move was not made, its old one.
    if (!heat.empty()) Handle_Open_File(renamed);
}

std::string Frm_kanot_2::rename_file(const std::string& oldname) {
    std::string renamed = oldname;
    vb::Trap(Is_Compiled, "rename_file of Form frm_kanot_2", [&] {
        std::string answer = ui::InputBox("New filename?", "Name change", oldname);
        // An empty answer (also Cancel) leaves the file as it is.
        if (answer.empty()) return;
        if (Non_dependant::File_Suffix(answer).empty()) answer += ".kd3";
        std::error_code error;
        if (std::filesystem::exists(answer, error)) vb::Raise(58, "File already exists: " + answer);
        std::filesystem::rename(oldname, answer, error);
        if (error) vb::Raise(53, error.message() + ": " + oldname);
        renamed = answer;
    });
    return renamed;
}

void Frm_kanot_2::item_rotated_Click() {
    // The click has turned the check mark already.
    Rotated_View = item_rotated.Checked();
    Arrange_Layout(Rotated_View);
}

void Frm_kanot_2::item_rot_true_Click() { Replay_File.rotated(true); }
void Frm_kanot_2::item_rot_false_Click() { Replay_File.rotated(false); }
