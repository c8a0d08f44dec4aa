#include "Gstreamer.h"

#include "Video_source.h"

#include <mutex>

namespace capturelib {

void Ensure_Gstreamer() {
    static std::once_flag started;
    std::call_once(started, [] { gst_init(nullptr, nullptr); });
}

std::string Error_Text(GstMessage* message) {
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    std::string text = error ? error->message : "unknown error";
    if (GST_MESSAGE_SRC(message)) text += std::string(" (") + GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) + ")";
    if (error) g_error_free(error);
    g_free(debug);
    return text;
}

GstElement* Element_From_Description(const std::string& description) {
    Ensure_Gstreamer();
    GError* error = nullptr;
    GstElement* element = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
    if (error) {
        g_error_free(error);
        if (element) gst_object_unref(element);
        return nullptr;
    }
    return element;
}

}  // namespace capturelib
