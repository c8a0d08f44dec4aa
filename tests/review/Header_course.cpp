#include "Header_course.h"

#include "header/Cls_XML_header.h"
#include "platform/vb/Vb_convert.h"

int16_t Header_course::Lane_count() { return header_.Num_Lanes(); }
int16_t Header_course::Start_lane() { return header_.Start_lane(); }
int16_t Header_course::LaneX(int16_t lane) { return vb::To_Int16(header_.Lane_pos_X(lane)); }
int16_t Header_course::LaneY(int16_t lane) { return vb::To_Int16(header_.Lane_pos_Y(lane)); }
void Header_course::Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) {
    header_.Get_Goalline(x1, y1, x2, y2);
}
