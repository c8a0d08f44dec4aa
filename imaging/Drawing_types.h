#pragma once
// The small records of the drawing routines.
#include <cstdint>

struct Point_Long {
    int32_t X = 0;
    int32_t Y = 0;
};

struct Point_Integer {
    int16_t X = 0;
    int16_t Y = 0;
};

struct RGB_Triple {
    uint8_t Blue = 0;
    uint8_t Green = 0;
    uint8_t Red = 0;
};
