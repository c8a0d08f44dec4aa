#pragma once
// What the library's own files share of GStreamer: starting it once, and owning its objects.
#include <gst/gst.h>

#include <memory>
#include <string>

namespace capturelib {

// Starts GStreamer on first use; later calls return at once.
void Ensure_Gstreamer();

struct Gst_object_unref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
template <class T>
using Gst_ptr = std::unique_ptr<T, Gst_object_unref>;

// The message of a GStreamer error, and the element that raised it when it says more.
std::string Error_Text(GstMessage* message);

}  // namespace capturelib
