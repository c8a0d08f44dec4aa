#include "Course_setup.h"

using namespace Module_Vantorel;

Course_setup Course_setup::Take() {
    Course_setup c;
    c.lane_count_ = Lane_Count;
    c.lanes_ = Lane_Collection;
    c.goal_ = Setup_Goalline;
    c.lane_zero_ = Lane_Zero;
    c.show_lanes_ = Show_Lanes;
    c.flip_lanes_ = Flip_Lanes;
    c.show_goalline_ = Show_Goalline;
    return c;
}

void Course_setup::Put() const {
    Lane_Count = lane_count_;
    Lane_Collection = lanes_;
    Setup_Goalline = goal_;
    Lane_Zero = lane_zero_;
    Show_Lanes = show_lanes_;
    Flip_Lanes = flip_lanes_;
    Show_Goalline = show_goalline_;
}
