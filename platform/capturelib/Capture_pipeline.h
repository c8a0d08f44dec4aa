#pragma once
// One running stream of one source in one format: GStreamer converts every picture to 24-bit
// blue-green-red (decoding JPEG first), and a capture worker (the stream's own thread behind a queue)
// turns it bottom-up with rows padded to 4 bytes, stamps it and hands it on, in order. A second
// thread watches the stream and reports when it ends on its own (a camera unplugged, a device error).
#include "Video_source.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

typedef struct _GstElement GstElement;
typedef struct _GstAppSink GstAppSink;

namespace capturelib {

struct Delivered_frame {
    const uint8_t* bits = nullptr;  // bottom-up, blue-green-red, rows padded to 4 bytes; valid during the call
    int32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    double sample_time = -1;  // seconds of stream time, -1 when the source gave none
    int32_t tick = 0;         // the 32-bit millisecond tick when the picture arrived
    int32_t local_mill = 0;   // milliseconds since local midnight at the same moment
};

class Capture_pipeline {
public:
    using Frame_handler = std::function<void(const Delivered_frame&)>;
    using Stopped_handler = std::function<void(const std::string& reason)>;

    Capture_pipeline(const Video_source& source, const Video_format& format, Frame_handler on_frame,
                     Stopped_handler on_stopped);
    ~Capture_pipeline();
    Capture_pipeline(const Capture_pipeline&) = delete;
    Capture_pipeline& operator=(const Capture_pipeline&) = delete;

    // Starts the stream; raises an error with the reason when it cannot start.
    void Start();
    // Ends delivery and releases the source. Called by a frame handler, it only asks the watcher
    // thread to do so, and returns at once.
    void Stop();
    // True on the capture worker while it hands a frame on; Stop_Delivering then stops that stream.
    static bool In_Delivery();
    static void Stop_Delivering();
    // False once stopped or ended.
    bool Delivering() const { return delivering_; }

    // The picture's arrival in our two clocks, from the monotonic arrival time in ns.
    static void Stamp(int64_t arrival_ns, int64_t now_ns, int32_t local_now_mill, int32_t& tick, int32_t& local_mill);

private:
    static int On_New_Sample(GstAppSink* sink, void* self);
    void Deliver(GstAppSink* sink);
    void Watch();
    void Post(const char* request);

    GstElement* pipeline_ = nullptr;
    std::thread watcher_;
    // Set before the stream plays: a stop asked from the first frames is posted on the bus, where the
    // watcher finds it once it runs.
    std::atomic<bool> watched_{false};
    std::atomic<bool> delivering_{false};
    Frame_handler on_frame_;
    Stopped_handler on_stopped_;
    std::vector<uint8_t> bottom_up_;  // the worker's one picture buffer
};

}  // namespace capturelib
