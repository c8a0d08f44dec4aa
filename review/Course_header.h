#pragma once
// What the course needs of a capture file's header: the lane count, the first lane's number, the
// lane marks' positions (by position from 1, as the capture console writes them) and the goal line.
// The capture file store answers it from its open file (Store_course).
#include <cstdint>

class Course_header {
public:
    virtual ~Course_header() = default;
    virtual int16_t Lane_count() = 0;
    virtual int16_t Start_lane() = 0;
    virtual int16_t LaneX(int16_t lane) = 0;
    virtual int16_t LaneY(int16_t lane) = 0;
    // The four ends in order; an error after some of them leaves those set.
    virtual void Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) = 0;
};
