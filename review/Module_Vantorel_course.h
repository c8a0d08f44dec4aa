#pragma once
// The course of the heat in video pixels: the lane marks, the set-up goal line (ini file, live
// preview) and the open file's goal line, the live preview's display options, and the hit tests.
#include "Cls_lane.h"
#include "Course_header.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Module_Vantorel {

struct Goal_line {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The marks of the current course; item i (from 1) is Lane_Collection[i - 1]. A mark's Lane_number
// need not equal its position.
extern std::vector<Cls_lane> Lane_Collection;
extern Goal_line Setup_Goalline;
extern Goal_line File_Goalline;

extern int16_t Lane_Count;
extern bool Show_Lanes;
extern bool Flip_Lanes;
extern bool Show_Goalline;
extern bool Rotate_Preview;
extern bool Lane_Zero;
extern bool Loading_Options;
// Results of the hit tests: the hit mark's number (-1 none) and position from 1; the goal-line end
// (1, 2, or 0 none).
extern int16_t Current_Lane;
extern int16_t Current_Lane_Index;
extern int16_t Selected_Goal_Handle;
// Where the last press on the picture was (picture pixels), and where the mark a drag began with stood.
extern int32_t Mouse_Down_X;
extern int32_t Mouse_Down_Y;
extern int32_t Drag_Start_X;
extern int32_t Drag_Start_Y;
// The goal line as it stood at a press on the live preview that began no lane drag.
extern Goal_line Press_Goalline;

void Load_Lanes_and_Goalline();
// Sixteen marks from "Canoe" / "Lanes" (four digits of X and four of Y per mark) and Lane_Count from
// "Lane_num". Without the key, or with a text that is not such a list, the sixteen default marks
// (15i, 20i) and Lane_Count unchanged: never a course half from the ini file and half made up.
void Load_Lanes();
// Setup_Goalline from "Canoe" / "Goalline" ("x1,y1,x2,y2"); anything but four numbers changes nothing.
void Load_Goalline();
void Load_options();
// Points in video pixels. The first mark in collection order wins.
void Check_within_lanes(float x, float y);
// Whether the course has a mark for the lane; true for every lane of a course without marks.
bool Course_Has_Lane(int16_t lane);
// Against the ends of Setup_Goalline: 6 pixels left of and above an end, 12 right of and below it.
void Check_Within_Selection_Boxes(float x, float y);
void Clear_Lane_Objects();

// The header's marks: lane count marks numbered from its start lane, at its positions 1 to count.
// A header member that fails leaves the course as it was and passes the error on.
void Load_Lanes_From_Header(Course_header& header);
// File_Goalline := the header's goal line when its first end has x > 0 and y > 0, else all 0.
void Load_File_Goalline(Course_header& header);

// The pure parts of the ini readers: the marks of a "Lanes" text (empty when it is not a list of
// numbers), and the goal line of a "Goalline" text (false when it is not four numbers).
std::vector<Cls_lane> Lanes_From_Text(const std::string& text);
bool Goal_line_From_Text(const std::string& text, Goal_line& line);
std::vector<Cls_lane> Default_Lanes();

}  // namespace Module_Vantorel
