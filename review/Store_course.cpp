#include "Store_course.h"

#include "store/cls_VideoFile_handler.h"

int16_t Store_course::Lane_count() { return store_.Lane_count(); }
int16_t Store_course::Start_lane() { return store_.Start_lane(); }
int16_t Store_course::LaneX(int16_t lane) { return store_.LaneX(lane); }
int16_t Store_course::LaneY(int16_t lane) { return store_.LaneY(lane); }
void Store_course::Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) {
    store_.Get_Goalline(x1, y1, x2, y2);
}
