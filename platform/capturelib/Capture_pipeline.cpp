#include "Capture_pipeline.h"

#include "Gstreamer.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/VbError.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <cstring>
#include <ctime>

namespace capturelib {

namespace {

constexpr int32_t Day_Mill = 86400000;
constexpr const char* Quit_Request = "vantorel-quit";
constexpr const char* Stop_Request = "vantorel-stop";

thread_local Capture_pipeline* in_delivery = nullptr;

int64_t Monotonic_ns() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int32_t Local_Mill_Now() {
    sys::Local_Time t = sys::Get_Local_Time();
    return t.hour * 3600000 + t.minute * 60000 + t.second * 1000 + t.millisecond;
}

GstElement* Make(const char* factory, GstElement* pipeline) {
    GstElement* element = gst_element_factory_make(factory, nullptr);
    if (!element) vb::Raise(vb::Err_Cannot_Perform, std::string("The GStreamer element ") + factory + " is missing");
    gst_bin_add(GST_BIN(pipeline), element);
    return element;
}

GstCaps* Caps_Of(const Video_format& f) {
    GstCaps* caps = gst_caps_new_simple(f.media.c_str(), "width", G_TYPE_INT, f.width, "height", G_TYPE_INT,
                                        f.height, "framerate", GST_TYPE_FRACTION, f.fps_n, f.fps_d, nullptr);
    if (!f.raw_format.empty()) gst_caps_set_simple(caps, "format", G_TYPE_STRING, f.raw_format.c_str(), nullptr);
    return caps;
}

}  // namespace

bool Capture_pipeline::In_Delivery() { return in_delivery != nullptr; }

void Capture_pipeline::Stop_Delivering() {
    if (in_delivery) in_delivery->Stop();
}

void Capture_pipeline::Stamp(int64_t arrival_ns, int64_t now_ns, int32_t local_now_mill, int32_t& tick,
                             int32_t& local_mill) {
    if (arrival_ns > now_ns || arrival_ns <= 0) arrival_ns = now_ns;
    tick = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(arrival_ns) / 1000000u));
    int64_t age_mill = now_ns / 1000000 - arrival_ns / 1000000;
    int64_t local = (local_now_mill - age_mill) % Day_Mill;
    local_mill = static_cast<int32_t>(local < 0 ? local + Day_Mill : local);
}

Capture_pipeline::Capture_pipeline(const Video_source& source, const Video_format& format, Frame_handler on_frame,
                                   Stopped_handler on_stopped)
    : on_frame_(std::move(on_frame)), on_stopped_(std::move(on_stopped)) {
    Ensure_Gstreamer();
    pipeline_ = GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr)));
    // Buffer times on the monotonic system clock are our tick's clock.
    GstClock* clock = gst_system_clock_obtain();
    g_object_set(clock, "clock-type", GST_CLOCK_TYPE_MONOTONIC, nullptr);
    gst_pipeline_use_clock(GST_PIPELINE(pipeline_), clock);
    gst_object_unref(clock);
    try {
        GstElement* src = source.make_element ? source.make_element() : nullptr;
        if (!src) vb::Raise(vb::Err_Cannot_Perform, "The video source \"" + source.friendly_name + "\" cannot be opened");
        gst_bin_add(GST_BIN(pipeline_), src);
        GstElement* filter = Make("capsfilter", pipeline_);
        GstCaps* caps = Caps_Of(format);
        g_object_set(filter, "caps", caps, nullptr);
        gst_caps_unref(caps);
        // Half a second of pictures rides out a slow frame of the worker.
        GstElement* queue = Make("queue", pipeline_);
        g_object_set(queue, "max-size-buffers", 25u, "max-size-bytes", 0u, "max-size-time", guint64{0}, nullptr);
        GstElement* last = queue;
        bool linked = gst_element_link_many(src, filter, queue, nullptr);
        if (format.media == "image/jpeg") {
            GstElement* decoder = Make("jpegdec", pipeline_);
            linked = linked && gst_element_link(last, decoder);
            last = decoder;
        }
        GstElement* convert = Make("videoconvert", pipeline_);
        GstElement* bgr = Make("capsfilter", pipeline_);
        GstCaps* bgr_caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", nullptr);
        g_object_set(bgr, "caps", bgr_caps, nullptr);
        gst_caps_unref(bgr_caps);
        GstElement* sink = Make("appsink", pipeline_);
        g_object_set(sink, "sync", FALSE, "max-buffers", 2u, "drop", FALSE, "emit-signals", FALSE, nullptr);
        linked = linked && gst_element_link_many(last, convert, bgr, sink, nullptr);
        if (!linked) vb::Raise(vb::Err_Cannot_Perform, "The video source \"" + source.friendly_name + "\" cannot give this format");
        GstAppSinkCallbacks callbacks{};
        callbacks.new_sample = [](GstAppSink* s, gpointer self) {
            return static_cast<GstFlowReturn>(On_New_Sample(s, self));
        };
        gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
    } catch (...) {
        gst_object_unref(pipeline_);
        throw;
    }
}

Capture_pipeline::~Capture_pipeline() {
    Stop();
    if (watcher_.joinable()) watcher_.join();
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    gst_object_unref(pipeline_);
}

void Capture_pipeline::Start() {
    delivering_ = true;
    watched_ = true;
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        delivering_ = false;
        watched_ = false;
        std::string reason = "the stream did not start";
        Gst_ptr<GstBus> bus(gst_element_get_bus(pipeline_));
        if (GstMessage* error = gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR)) {
            reason = Error_Text(error);
            gst_message_unref(error);
        }
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        vb::Raise(vb::Err_Cannot_Perform, reason);
    }
    watcher_ = std::thread([this] { Watch(); });
}

void Capture_pipeline::Post(const char* request) {
    gst_element_post_message(pipeline_, gst_message_new_application(GST_OBJECT(pipeline_), gst_structure_new_empty(request)));
}

void Capture_pipeline::Stop() {
    delivering_ = false;
    if (!watched_) return;
    if (In_Delivery()) {
        Post(Stop_Request);  // the streaming thread cannot wait for its own end
        return;
    }
    watched_ = false;
    Post(Quit_Request);
    watcher_.join();
    gst_element_set_state(pipeline_, GST_STATE_NULL);
}

void Capture_pipeline::Watch() {
    Gst_ptr<GstBus> bus(gst_element_get_bus(pipeline_));
    for (;;) {
        GstMessage* message = gst_bus_timed_pop_filtered(
            bus.get(), GST_CLOCK_TIME_NONE,
            static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS | GST_MESSAGE_APPLICATION));
        if (!message) continue;
        std::string reason;
        bool end = true;
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_ERROR:
            reason = Error_Text(message);
            break;
        case GST_MESSAGE_EOS:
            reason = "the source sent no more pictures";
            break;
        default: {
            const GstStructure* s = gst_message_get_structure(message);
            if (gst_structure_has_name(s, Quit_Request)) {
                gst_message_unref(message);
                return;
            }
            end = gst_structure_has_name(s, Stop_Request);
        }
        }
        gst_message_unref(message);
        if (!end) continue;
        bool was_delivering = delivering_.exchange(false);
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        if (!reason.empty() && was_delivering && on_stopped_) on_stopped_(reason);
        return;
    }
}

int Capture_pipeline::On_New_Sample(GstAppSink* sink, void* self) {
    static_cast<Capture_pipeline*>(self)->Deliver(sink);
    return GST_FLOW_OK;
}

void Capture_pipeline::Deliver(GstAppSink* sink) {
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample) return;
    int64_t now_ns = Monotonic_ns();
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstVideoInfo info;
    GstVideoFrame frame;
    if (delivering_ && buffer && gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) &&
        gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
        Delivered_frame out;
        out.width = GST_VIDEO_FRAME_WIDTH(&frame);
        out.height = GST_VIDEO_FRAME_HEIGHT(&frame);
        int32_t row = out.width * 3;
        int32_t stride = (row + 3) & ~3;
        out.size = stride * out.height;
        if (bottom_up_.size() != static_cast<size_t>(out.size)) bottom_up_.assign(static_cast<size_t>(out.size), 0);
        const auto* top = static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
        int32_t top_stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
        for (int32_t y = 0; y < out.height; ++y)
            std::memcpy(bottom_up_.data() + static_cast<size_t>(out.height - 1 - y) * stride,
                        top + static_cast<ptrdiff_t>(y) * top_stride, static_cast<size_t>(row));
        gst_video_frame_unmap(&frame);
        GstClockTime pts = GST_BUFFER_PTS(buffer);
        int64_t arrival_ns = now_ns;
        if (GST_CLOCK_TIME_IS_VALID(pts)) {
            out.sample_time = static_cast<double>(pts) / GST_SECOND;
            arrival_ns = static_cast<int64_t>(gst_element_get_base_time(pipeline_) + pts);
        }
        Stamp(arrival_ns, now_ns, Local_Mill_Now(), out.tick, out.local_mill);
        out.bits = bottom_up_.data();
        in_delivery = this;
        try {
            on_frame_(out);
        } catch (...) {
            // The sink reports its own errors; GStreamer's thread must not see one.
        }
        in_delivery = nullptr;
    }
    gst_sample_unref(sample);
}

}  // namespace capturelib
