#pragma once
// The course read straight from a header document, so the course model is tested without a file.
#include "review/Course_header.h"

class Cls_XML_header;

class Header_course final : public Course_header {
public:
    explicit Header_course(const Cls_XML_header& header) : header_(header) {}

    int16_t Lane_count() override;
    int16_t Start_lane() override;
    // Error 6 above 32767.
    int16_t LaneX(int16_t lane) override;
    int16_t LaneY(int16_t lane) override;
    void Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) override;

private:
    const Cls_XML_header& header_;
};
