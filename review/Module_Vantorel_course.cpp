#include "Module_Vantorel_course.h"

#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "platform/vb/Program_state.h"

#include <algorithm>

namespace Module_Vantorel {

namespace {

constexpr int16_t Marks = 16;

std::string Canoe(const std::string& key, const std::string& default_value) {
    return Non_dependant::Read_Ini("Canoe", key, Ini_file_path, default_value);
}

// A piece of an ini text as a number; false when it is none.
bool Number_Of(const std::string& piece, int32_t& value) {
    std::string trimmed = vb::Trim(piece);
    if (trimmed.empty() || !vb::Is_Numeric(trimmed)) return false;
    value = vb::CLng(trimmed);
    return true;
}

Cls_lane Mark(int16_t number, int32_t x, int32_t y) {
    Cls_lane lane;
    lane.Lane_number(number);
    lane.Lane_pos_X(x);
    lane.Lane_pos_Y(y);
    return lane;
}

}  // namespace

std::vector<Cls_lane> Default_Lanes() {
    std::vector<Cls_lane> lanes;
    for (int16_t i = 0; i < Marks; ++i) lanes.push_back(Mark(i, 15 * i, 20 * i));
    return lanes;
}

std::vector<Cls_lane> Lanes_From_Text(const std::string& text) {
    std::vector<Cls_lane> lanes;
    for (int16_t i = 0; i < Marks; ++i) {
        std::string x_text = vb::Mid(text, 8 * i + 1, 4);
        std::string y_text = vb::Mid(text, 8 * i + 5, 4);
        int32_t x = 20, y = 30;
        if (!x_text.empty() && !Number_Of(x_text, x)) return {};
        if (!y_text.empty() && !Number_Of(y_text, y)) return {};
        lanes.push_back(Mark(i, x, y));
    }
    return lanes;
}

bool Goal_line_From_Text(const std::string& text, Goal_line& line) {
    std::vector<std::string> pieces = vb::Split(text, ",");
    if (pieces.size() != 4) return false;
    int32_t v[4];
    for (int i = 0; i < 4; ++i)
        if (!Number_Of(pieces[static_cast<size_t>(i)], v[i])) return false;
    line = {v[0], v[1], v[2], v[3]};
    return true;
}

void Load_Lanes_and_Goalline() {
    Load_Lanes();
    Load_Goalline();
}

void Load_Lanes() {
    vb::Trap(Is_Compiled, "Load_Lanes", [] {
        Lane_Collection.clear();
        std::string s = Canoe("Lanes", "None");
        Write_Event_Log("Load_Lanes_from_ini: " + s);
        std::vector<Cls_lane> lanes = s == "None" ? std::vector<Cls_lane>{} : Lanes_From_Text(s);
        if (lanes.empty()) {
            if (s != "None") Write_Event_Log("Load_Lanes_from_ini: not a list of lane positions, default lanes used");
            Lane_Collection = Default_Lanes();
            return;
        }
        Lane_Collection = std::move(lanes);
        int32_t count = 0;
        if (Number_Of(Canoe("Lane_num", "5"), count))
            Lane_Count = vb::To_Int16(count);
        else
            Write_Event_Log("Load_Lanes_from_ini: Lane_num is not a number, lane count kept");
    });
}

void Load_Goalline() {
    vb::Trap(Is_Compiled, "Load_Goalline", [] {
        std::string s = Canoe("Goalline", "None");
        Write_Event_Log("Load_Goalline_from_ini: " + s);
        if (s == "None") return;
        if (!Goal_line_From_Text(s, Setup_Goalline))
            Write_Event_Log("Load_Goalline_from_ini: not four numbers, goal line kept");
    });
}

void Load_options() {
    vb::Trap(Is_Compiled, "Load_options", [] {
        Loading_Options = true;
        Show_Lanes = Non_dependant::Text_To_Bool(Canoe("ShowLanes", "True"));
        Flip_Lanes = Non_dependant::Text_To_Bool(Canoe("FlipLanes", "False"));
        Show_Goalline = Non_dependant::Text_To_Bool(Canoe("ShowGoalline", "True"));
        Rotate_Preview = Non_dependant::Text_To_Bool(Canoe("Rotate", "True"));
        Lane_Zero = Non_dependant::Text_To_Bool(Canoe("Lane_Zero", "1"));
        using Non_dependant::Bool_To_Text;
        Write_Event_Log("Load_Options_from_ini " + Bool_To_Text(Show_Lanes) + Bool_To_Text(Flip_Lanes) +
                        Bool_To_Text(Show_Goalline) + Bool_To_Text(Rotate_Preview) + Bool_To_Text(Lane_Zero));
        Loading_Options = false;
    });
}

void Check_within_lanes(float x, float y) {
    Current_Lane = -1;
    for (size_t i = 0; i < Lane_Collection.size(); ++i) {
        if (Lane_Collection[i].Within(x, y)) {
            Current_Lane = Lane_Collection[i].Lane_number();
            Current_Lane_Index = static_cast<int16_t>(i + 1);
            return;
        }
    }
}

bool Course_Has_Lane(int16_t lane) {
    return Lane_Collection.empty() || std::any_of(Lane_Collection.begin(), Lane_Collection.end(),
                                                  [lane](const Cls_lane& mark) { return mark.Lane_number() == lane; });
}

void Check_Within_Selection_Boxes(float x, float y) {
    auto within = [x, y](int32_t ex, int32_t ey) {
        return static_cast<float>(ex - 6) < x && x < static_cast<float>(ex + 12) && static_cast<float>(ey - 6) < y &&
               y < static_cast<float>(ey + 12);
    };
    Selected_Goal_Handle = 0;
    if (within(Setup_Goalline.x1, Setup_Goalline.y1))
        Selected_Goal_Handle = 1;
    else if (within(Setup_Goalline.x2, Setup_Goalline.y2))
        Selected_Goal_Handle = 2;
}

void Clear_Lane_Objects() {
    for (Cls_lane& lane : Lane_Collection) lane.time(0);
}

void Load_Lanes_From_Header(Course_header& header) {
    const int16_t n = header.Lane_count();
    const int16_t start = n > 0 ? header.Start_lane() : 0;
    std::vector<Cls_lane> lanes;
    for (int16_t i = 1; i <= n; ++i)
        lanes.push_back(Mark(vb::To_Int16(start + i - 1), header.LaneX(i), header.LaneY(i)));
    Lane_Collection = std::move(lanes);
}

void Load_File_Goalline(Course_header& header) {
    File_Goalline = {};
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    header.Get_Goalline(x1, y1, x2, y2);
    if (x1 > 0 && y1 > 0) File_Goalline = {x1, y1, x2, y2};
}

}  // namespace Module_Vantorel

namespace Module_Vantorel {

std::vector<Cls_lane> Lane_Collection;
Goal_line Setup_Goalline;
Goal_line File_Goalline;
int16_t Lane_Count = 0;
bool Show_Lanes = false;
bool Flip_Lanes = false;
bool Show_Goalline = false;
bool Rotate_Preview = false;
bool Lane_Zero = false;
bool Loading_Options = false;
int16_t Current_Lane = -1;
int16_t Current_Lane_Index = 0;
int16_t Selected_Goal_Handle = 0;
int32_t Mouse_Down_X = 0;
int32_t Mouse_Down_Y = 0;
int32_t Drag_Start_X = 0;
int32_t Drag_Start_Y = 0;
Goal_line Press_Goalline;

namespace {
// What a new process starts with.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Lane_Collection = {};
    Setup_Goalline = {};
    File_Goalline = {};
    Lane_Count = 0;
    Show_Lanes = false;
    Flip_Lanes = false;
    Show_Goalline = false;
    Rotate_Preview = false;
    Lane_Zero = false;
    Loading_Options = false;
    Current_Lane = -1;
    Current_Lane_Index = 0;
    Selected_Goal_Handle = 0;
    Mouse_Down_X = 0;
    Mouse_Down_Y = 0;
    Drag_Start_X = 0;
    Drag_Start_Y = 0;
    Press_Goalline = {};
});
}  // namespace

}  // namespace Module_Vantorel
