#pragma once
// One capture source as the library lists it: its names, its formats in the order they are
// numbered, and how to make its GStreamer element.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef struct _GstElement GstElement;

namespace capturelib {

struct Video_format {
    std::string media;       // "video/x-raw" or "image/jpeg"
    std::string raw_format;  // the raw pixel format ("YUY2", "BGR"); empty for JPEG
    int32_t width = 0;
    int32_t height = 0;
    int32_t fps_n = 0;       // frames per second as a fraction
    int32_t fps_d = 1;
};

struct Video_source {
    std::string friendly_name;
    std::string description;
    std::string device_path;
    std::vector<Video_format> formats;
    // A new (floating) source element; nullptr when it cannot be made.
    std::function<GstElement*()> make_element;
};

// The sources to number, in their stable order; at most 10 are used.
using Source_provider = std::function<std::vector<Video_source>()>;

// The provider that every new library object lists from: the machine's sources and the synthetic
// one unless another was installed (a simulated set of sources, as tests use).
void Set_Source_Provider(Source_provider provider);
Source_provider Current_Source_Provider();

// A source element from a pipeline description ("videotestsrc is-live=true"); nullptr when it is none.
GstElement* Element_From_Description(const std::string& description);

}  // namespace capturelib
