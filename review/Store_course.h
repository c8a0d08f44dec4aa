#pragma once
// The course of the capture file a store has open, as the review reads it.
#include "Course_header.h"

class cls_VideoFile_handler;

class Store_course final : public Course_header {
public:
    explicit Store_course(cls_VideoFile_handler& store) : store_(store) {}

    int16_t Lane_count() override;
    int16_t Start_lane() override;
    int16_t LaneX(int16_t lane) override;
    int16_t LaneY(int16_t lane) override;
    void Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) override;

private:
    cls_VideoFile_handler& store_;
};
