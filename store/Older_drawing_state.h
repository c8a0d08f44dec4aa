#pragma once
// What the store's frame, field and overlay drawing keeps for the open file: the three overlay
// pictures, the decoded picture of the frame in memory, which frame each stream's decoded picture
// holds, and the frame and field pictures of the line-copying field drawing.
#include "imaging/cDIBSection.h"

#include <array>
#include <cstdint>

struct Older_drawing_state {
    cDIBSection ol_source;       // "obj_DIB_OL_source": the current frame
    cDIBSection ol_target;       // "obj_DIB_OL_target": the overlay picture built up
    cDIBSection ol_first_frame;  // "obj_DIB_OL_first_frame": the reference frame
    bool overlay_sized = false;
    cDIBSection decoded;         // the frame in memory, decoded once
    bool decoded_valid = false;
    int32_t last_drawn_field = 0;
    int16_t last_drawn_stream = 0;
    std::array<int32_t, 3> decoded_frame_of_stream{};
    cDIBSection frame_dc;  // "Frame_DC" with its bitmap
    cDIBSection field_dc;  // "Field_DC" with "Field_Bitmap", made on first use
};
