#pragma once
// What the results window asks of the review window above it: the review window fills these in when it
// loads. A command that was not filled in raises error 91 naming it, as the program commands do.
#include <cstdint>
#include <functional>
#include <string>

class cls_VideoFile_handler;

namespace Review_window_commands {

struct Commands {
    std::function<cls_VideoFile_handler&()> Replay_File;
    std::function<void()> Fill_Results;
    std::function<void()> Complete_Result_Array;
    std::function<void()> Clear_All_Results;
    std::function<void(bool Refresh, bool StartCam)> Draw_Graphics;
    // Shows field n as the frame slider does (0 is field 1).
    std::function<void(int32_t n)> Show_Field;
    std::function<void()> Set_Focus;
    std::function<void(const std::string& Place)> Print_Place_string;
    std::function<void()> SliderPlay_Focus;
    // The page furniture tells the review window where the footer sits.
    std::function<void(int32_t y)> Set_Footer_Y_position;
    std::function<void()> Print_Series_HD;
    std::function<void()> Handle_Print_results;
    std::function<void()> Handle_Print_Series;
    std::function<void()> Handle_Print_Single;
    // The review window's right edge in twips: its left plus its width.
    std::function<int32_t()> Right_Edge;
};

// Replaces every command; an empty one is not available.
void Install(Commands commands);

cls_VideoFile_handler& Replay_File();
// A file is open in the review window; false while no review window has filled the commands in.
bool File_open();
void Fill_Results();
void Complete_Result_Array();
void Clear_All_Results();
void Draw_Graphics(bool Refresh, bool StartCam);
void Show_Field(int32_t n);
void Set_Focus();
void Print_Place_string(const std::string& Place);
void SliderPlay_Focus();
void Set_Footer_Y_position(int32_t y);
void Print_Series_HD();
void Handle_Print_results();
void Handle_Print_Series();
void Handle_Print_Single();
// 0 while no review window has filled the commands in.
int32_t Right_Edge();

}  // namespace Review_window_commands
