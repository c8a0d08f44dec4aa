#pragma once
// The machine's capture sources: the cameras and capture cards GStreamer's device monitor finds,
// ordered by device path, then the synthetic source; 10 at most.
#include "Video_source.h"

#include <vector>

typedef struct _GstCaps GstCaps;

namespace capturelib {

std::vector<Video_source> System_Sources();

// The formats a device offers that the library can deliver (raw pictures and JPEG of a fixed size), in
// the device's order; a rate list gives one format per rate, a rate range its highest rate.
std::vector<Video_format> Formats_Of(const GstCaps* caps);

}  // namespace capturelib
