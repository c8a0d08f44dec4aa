#pragma once
// The course the operator set up in the live preview: lane count, marks, goal line, first lane and the
// overlay options. The review window shows other heats' courses in the same program-wide values, so the
// live preview keeps its own copy, and a new heat is made from that copy, never from what the review
// window left behind.
#include "review/Module_Vantorel_course.h"

#include <cstdint>
#include <vector>

class Course_setup {
public:
    // The course as the program-wide values hold it now.
    static Course_setup Take();
    // Into the program-wide values.
    void Put() const;

private:
    int16_t lane_count_ = 0;
    std::vector<Cls_lane> lanes_;
    Module_Vantorel::Goal_line goal_;
    bool lane_zero_ = false, show_lanes_ = false, flip_lanes_ = false, show_goalline_ = false;
};
