#include "Source_list.h"

#include "Gstreamer.h"
#include "Synthetic_source.h"

#include <algorithm>
#include <mutex>

namespace capturelib {

namespace {

constexpr size_t Max_Sources = 10;

std::mutex provider_mutex;
Source_provider installed;

void Add_Format(std::vector<Video_format>& formats, Video_format f) {
    if (f.fps_n <= 0 || f.fps_d <= 0) return;  // a variable rate has no frame duration
    for (const Video_format& seen : formats)
        if (seen.media == f.media && seen.raw_format == f.raw_format && seen.width == f.width &&
            seen.height == f.height && seen.fps_n == f.fps_n && seen.fps_d == f.fps_d)
            return;
    formats.push_back(std::move(f));
}

std::string Property_Text(const GstStructure* properties, const char* name) {
    const gchar* text = properties ? gst_structure_get_string(properties, name) : nullptr;
    return text ? text : "";
}

// "/dev/video2" before "/dev/video10".
bool Path_Before(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace

std::vector<Video_format> Formats_Of(const GstCaps* caps) {
    std::vector<Video_format> formats;
    if (!caps) return formats;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        GstCapsFeatures* features = gst_caps_get_features(caps, i);
        if (features && !gst_caps_features_is_any(features) &&
            !gst_caps_features_contains(features, GST_CAPS_FEATURE_MEMORY_SYSTEM_MEMORY))
            continue;
        const GstStructure* s = gst_caps_get_structure(caps, i);
        Video_format f;
        f.media = gst_structure_get_name(s);
        if (f.media == "video/x-raw") {
            const gchar* format = gst_structure_get_string(s, "format");
            if (!format) continue;
            f.raw_format = format;
        } else if (f.media != "image/jpeg") {
            continue;
        }
        if (!gst_structure_get_int(s, "width", &f.width) || !gst_structure_get_int(s, "height", &f.height)) continue;
        const GValue* rate = gst_structure_get_value(s, "framerate");
        if (!rate) continue;
        if (GST_VALUE_HOLDS_FRACTION(rate)) {
            f.fps_n = gst_value_get_fraction_numerator(rate), f.fps_d = gst_value_get_fraction_denominator(rate);
            Add_Format(formats, f);
        } else if (GST_VALUE_HOLDS_LIST(rate)) {
            for (guint k = 0; k < gst_value_list_get_size(rate); ++k) {
                const GValue* one = gst_value_list_get_value(rate, k);
                if (!GST_VALUE_HOLDS_FRACTION(one)) continue;
                f.fps_n = gst_value_get_fraction_numerator(one), f.fps_d = gst_value_get_fraction_denominator(one);
                Add_Format(formats, f);
            }
        } else if (GST_VALUE_HOLDS_FRACTION_RANGE(rate)) {
            const GValue* top = gst_value_get_fraction_range_max(rate);
            f.fps_n = gst_value_get_fraction_numerator(top), f.fps_d = gst_value_get_fraction_denominator(top);
            Add_Format(formats, f);
        }
    }
    return formats;
}

std::vector<Video_source> System_Sources() {
    Ensure_Gstreamer();
    std::vector<Video_source> sources;
    Gst_ptr<GstDeviceMonitor> monitor(gst_device_monitor_new());
    gst_device_monitor_add_filter(monitor.get(), "Video/Source", nullptr);
    // Without any device provider the monitor does not start; the synthetic source is still listed.
    if (gst_device_monitor_start(monitor.get())) {
        GList* devices = gst_device_monitor_get_devices(monitor.get());
        for (GList* item = devices; item; item = item->next) {
            auto* device = static_cast<GstDevice*>(item->data);
            GstStructure* properties = gst_device_get_properties(device);
            GstCaps* caps = gst_device_get_caps(device);
            Video_source source;
            gchar* name = gst_device_get_display_name(device);
            source.friendly_name = name ? name : "";
            g_free(name);
            source.device_path = Property_Text(properties, "device.path");
            if (source.device_path.empty()) source.device_path = Property_Text(properties, "api.v4l2.path");
            source.description = Property_Text(properties, "device.api") + " " + source.device_path;
            source.formats = Formats_Of(caps);
            std::shared_ptr<GstDevice> held(GST_DEVICE(gst_object_ref(device)), Gst_object_unref());
            source.make_element = [held] { return gst_device_create_element(held.get(), nullptr); };
            if (caps) gst_caps_unref(caps);
            if (properties) gst_structure_free(properties);
            if (!source.formats.empty()) sources.push_back(std::move(source));
        }
        g_list_free_full(devices, gst_object_unref);
        gst_device_monitor_stop(monitor.get());
    }
    std::stable_sort(sources.begin(), sources.end(),
                     [](const Video_source& a, const Video_source& b) { return Path_Before(a.device_path, b.device_path); });
    if (sources.size() > Max_Sources - 1) sources.resize(Max_Sources - 1);
    sources.push_back(Synthetic_Source());
    return sources;
}

void Set_Source_Provider(Source_provider provider) {
    std::lock_guard lock(provider_mutex);
    installed = std::move(provider);
}

Source_provider Current_Source_Provider() {
    std::lock_guard lock(provider_mutex);
    return installed ? installed : Source_provider(System_Sources);
}

}  // namespace capturelib
