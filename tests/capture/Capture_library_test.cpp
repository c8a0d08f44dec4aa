// The capture library on the real GStreamer pipeline: the synthetic source, simulated sources made
// from GStreamer descriptions, and the format list read from a device's caps.
#include "Capture_support.h"
#include "Test_errors.h"
#include "platform/capturelib/Capture_Library_Object.h"
#include "platform/capturelib/Capture_pipeline.h"
#include "platform/capturelib/Source_list.h"
#include "platform/capturelib/Synthetic_source.h"
#include "platform/sys/Sys_clock.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

using namespace capturelib;

namespace {

// Keeps what the test looks at of the first frames; the rest are only counted. Declared before the
// library, so it outlives a stream still delivering while the library stops.
class Recording_sink : public IVideoCapEvent {
public:
    explicit Recording_sink(size_t keep = 12) : keep_(keep) {}

    void OnRGBEvent(Capture_Library_Object* source, double, const uint8_t* bits, int32_t size, int32_t device,
                    const Frame_arrival& arrival) override {
        std::lock_guard lock(mutex);
        if (pictures.size() < keep_) pictures.emplace_back(bits, bits + size);
        ticks.push_back(arrival.tick);
        locals.push_back(arrival.local_mill);
        sizes.push_back(size);
        devices.push_back(device);
        from = source;
        off_ui_thread = off_ui_thread && std::this_thread::get_id() != ui_thread;
        if (on_frame) on_frame(source);
        frames.fetch_add(1);
    }
    void OnStreamStopped(Capture_Library_Object*, const std::string& why) override {
        std::lock_guard lock(mutex);
        reason = why;
        stopped = true;
    }

    std::mutex mutex;
    std::vector<std::vector<uint8_t>> pictures;
    std::vector<int32_t> ticks, locals, sizes, devices;
    Capture_Library_Object* from = nullptr;
    std::thread::id ui_thread = std::this_thread::get_id();
    bool off_ui_thread = true;
    std::function<void(Capture_Library_Object*)> on_frame;
    std::atomic<int> frames{0};
    std::atomic<bool> stopped{false};
    std::string reason;

private:
    size_t keep_;
};

// The source number of the synthetic source, which every machine lists last.
int32_t Select_Synthetic(Capture_Library_Object& library) {
    int32_t last = 0;
    for (int n = 1; n <= 10 && library.Select_Source("video:" + std::to_string(n)) != 0; ++n) last = n;
    EXPECT_GT(last, 0);
    library.Select_Source("video:" + std::to_string(last));
    EXPECT_EQ(library.Get_Property("sourceFriendlyName"), Synthetic_Friendly_Name);
    return last;
}

struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr&) const = default;
};

// The pixel at (x, y) counted from the picture's top-left corner, in a bottom-up picture.
Bgr Pixel(const std::vector<uint8_t>& bits, int32_t width, int32_t height, int32_t x, int32_t y) {
    int32_t stride = (width * 3 + 3) & ~3;
    const uint8_t* p = bits.data() + static_cast<size_t>(height - 1 - y) * stride + x * 3;
    return {p[0], p[1], p[2]};
}

}  // namespace

TEST(Capture_library, Numbers_the_sources_and_lists_the_synthetic_formats) {
    Capture_Library_Object library;
    EXPECT_EQ(library.Select_Source("video:11"), 0);
    EXPECT_EQ(library.Select_Source("video:0"), 0);
    EXPECT_EQ(library.Select_Source("camera:1"), 0);
    EXPECT_EQ(library.Select_Source("video:1x"), 0);
    int32_t n = Select_Synthetic(library);
    EXPECT_EQ(library.Select_Source("video:" + std::to_string(n + 1)), 0);
    EXPECT_EQ(library.Get_Property("numprops"), "7");
    EXPECT_EQ(library.Get_Property("sourceDevicePath"), "videotestsrc");

    struct Row {
        std::string key;
        int32_t width, height;
        int64_t duration;
    };
    const Row rows[] = {{"getAMT00", 1920, 1080, 200000}, {"getAMT01", 1920, 1080, 400000},
                        {"getAMT05", 640, 480, 333333},   {"getAMT06", 320, 240, 400000},
                        {"getAMT006", 320, 240, 400000}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        const AM_MEDIA_TYPE* media = library.Media_Type_At(library.Get_Property(r.key));
        ASSERT_NE(media, nullptr);
        ASSERT_NE(media->pbFormat, nullptr);
        EXPECT_EQ(media->pbFormat->biWidth, r.width);
        EXPECT_EQ(media->pbFormat->biHeight, r.height);
        EXPECT_EQ(media->pbFormat->AvgTimePerFrame, r.duration);
        EXPECT_EQ(media->pbFormat->biSizeImage, static_cast<uint32_t>(((r.width * 3 + 3) & ~3) * r.height));
    }
    library.Set_Property("SetFormat", "6");
    EXPECT_EQ(library.Media_Type_At(library.Get_Property("GetProp"))->pbFormat->biWidth, 320);
    EXPECT_EQ(library.Video_Info_At(library.Get_Property("VIDEOINFOHEADER"))->biHeight, 240);

    // What is no format, no property or no address of this object fails or reads as none.
    for (std::string name : {"getAMT07", "getAMT7", "getAMTxx", "noSuchProperty"})
        EXPECT_NE(Error_Of([&] { library.Get_Property(name); }), 0) << name;
    EXPECT_NE(Error_Of([&] { library.Set_Property("SetFormat", "7"); }), 0);
    EXPECT_NE(Error_Of([&] { library.Set_Property("SetFormat", "-1"); }), 0);
    EXPECT_NE(library.Get_Last_Error(), "");
    EXPECT_EQ(library.Media_Type_At("12345"), nullptr);
    EXPECT_EQ(library.Media_Type_At("not a number"), nullptr);
    EXPECT_NE(library.Get_Property("buildNumber").find("GStreamer 1."), std::string::npos);
}

TEST(Capture_library, Nothing_is_current_before_a_source_is_selected) {
    Capture_Library_Object library;
    EXPECT_NE(Error_Of([&] { library.Get_Property("sourceFriendlyName"); }), 0);
    EXPECT_NE(Error_Of([&] { library.Run(); }), 0);
    library.Stop();  // nothing runs: nothing to stop
    EXPECT_NE(library.Get_Property("buildNumber"), "");
}

TEST(Capture_library, Synthetic_frames_arrive_bottom_up_in_order_at_the_set_size) {
    Recording_sink sink;
    Capture_Library_Object library;
    int32_t cookie = library.Advise_Sink(&sink);
    EXPECT_NE(cookie, 0);
    EXPECT_NE(Error_Of([&] { library.Advise_Sink(&sink); }), 0);
    Select_Synthetic(library);
    library.Set_Property("SetFormat", "6");  // 320 x 240 at 25 frames/s
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.frames >= 12; }));
    const VIDEOINFOHEADER* running = library.Video_Info_At(library.Get_Property("VIDEOINFOHEADER"));
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(running->biWidth, 320);
    library.Stop();
    int after_stop = sink.frames;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(sink.frames, after_stop);
    library.Unadvise_Sink(cookie);

    std::lock_guard lock(sink.mutex);
    EXPECT_TRUE(sink.off_ui_thread);
    EXPECT_EQ(sink.from, &library);
    for (size_t i = 0; i < sink.ticks.size(); ++i) {
        EXPECT_EQ(sink.sizes[i], 960 * 240);
        EXPECT_EQ(sink.devices[i], 0);
        EXPECT_GE(sink.locals[i], 0);
        EXPECT_LT(sink.locals[i], 86400000);
        if (i > 0) {
            EXPECT_GT(sys::Tick_Diff(sink.ticks[i], sink.ticks[i - 1]), 0) << i;
        }
    }
    // The yellow clock panel is in the picture's top-left corner; the bottom-left corner is background.
    const std::vector<uint8_t>& first = sink.pictures.front();
    EXPECT_EQ(Pixel(first, 320, 240, 2, 2), (Bgr{0, 220, 255}));
    EXPECT_NE(Pixel(first, 320, 240, 2, 237), (Bgr{0, 220, 255}));
    EXPECT_NE(Pixel(first, 320, 240, 317, 2), (Bgr{0, 220, 255}));
    // The ball moves and the clock runs: no two pictures are the same.
    EXPECT_NE(sink.pictures[0], sink.pictures[10]);
}

TEST(Capture_library, Run_keeps_the_running_stream_and_a_new_format_restarts_it) {
    Recording_sink sink;
    Capture_Library_Object library;
    library.Advise_Sink(&sink);
    Select_Synthetic(library);
    library.Set_Property("SetFormat", "6");
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.frames >= 3; }));
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.frames >= 6; }));
    library.Set_Property("SetFormat", "5");  // 640 x 480
    library.Run();
    ASSERT_TRUE(Wait_For([&] {
        std::lock_guard lock(sink.mutex);
        return !sink.sizes.empty() && sink.sizes.back() == 1920 * 480;
    }));
    library.Stop();
    std::lock_guard lock(sink.mutex);
    // The first stream ran on through the second Run: its frames all have its size until the switch.
    size_t switched = std::find(sink.sizes.begin(), sink.sizes.end(), 1920 * 480) - sink.sizes.begin();
    EXPECT_GE(switched, 6u);
}

TEST(Capture_library, Jpeg_pictures_are_decoded_to_blue_green_red) {
    Simulated_sources sources({Described("JPEG camera", "videotestsrc is-live=true pattern=red ! jpegenc",
                                         {{"image/jpeg", "", 160, 120, 25, 1}})});
    Recording_sink sink;
    Capture_Library_Object library;
    library.Advise_Sink(&sink);
    ASSERT_EQ(library.Select_Source("video:1"), 1);
    EXPECT_EQ(library.Get_Property("sourceFriendlyName"), "JPEG camera");
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.frames >= 2; }));
    library.Stop();
    std::lock_guard lock(sink.mutex);
    EXPECT_EQ(sink.sizes.front(), 480 * 120);
    Bgr p = Pixel(sink.pictures.front(), 160, 120, 80, 60);
    EXPECT_LT(p.b, 40);
    EXPECT_LT(p.g, 40);
    EXPECT_GT(p.r, 200);
}

TEST(Capture_library, Rows_are_padded_to_four_bytes) {
    Simulated_sources sources({Described("Odd camera", "videotestsrc is-live=true", {Raw("I420", 162, 40, 25)})});
    Recording_sink sink;
    Capture_Library_Object library;
    library.Advise_Sink(&sink);
    library.Select_Source("video:1");
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.frames >= 1; }));
    library.Stop();
    std::lock_guard lock(sink.mutex);
    EXPECT_EQ(sink.sizes.front(), 488 * 40);  // 162 x 3 = 486 bytes, padded to 488
}

TEST(Capture_library, A_source_that_goes_away_stops_the_stream_and_says_why) {
    Simulated_sources sources(
        {Described("Unplugged camera", "videotestsrc is-live=true num-buffers=5", {Raw("BGR", 64, 48, 25)})});
    Recording_sink sink;
    Capture_Library_Object library;
    library.Advise_Sink(&sink);
    library.Select_Source("video:1");
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.stopped.load(); }));
    EXPECT_EQ(sink.frames, 5);
    EXPECT_NE(sink.reason, "");
    EXPECT_EQ(library.Get_Last_Error(), sink.reason);
    // The next Run starts the source again.
    sink.stopped = false;
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.stopped.load(); }));
    EXPECT_EQ(sink.frames, 10);
}

TEST(Capture_library, A_source_that_cannot_open_fails_the_run) {
    Simulated_sources sources({Described("Broken camera", "no_such_element_here", {Raw("BGR", 64, 48, 25)})});
    Capture_Library_Object library;
    library.Select_Source("video:1");
    EXPECT_NE(Error_Of([&] { library.Run(); }), 0);
    EXPECT_NE(library.Get_Last_Error().find("Broken camera"), std::string::npos);
}

TEST(Capture_library, The_sink_can_stop_delivery_from_inside_a_frame) {
    Recording_sink sink;
    Capture_Library_Object library;
    sink.on_frame = [&](Capture_Library_Object* source) {
        if (sink.frames == 2) source->Stop();
    };
    library.Advise_Sink(&sink);
    Select_Synthetic(library);
    library.Set_Property("SetFormat", "6");
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.frames >= 3; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(sink.frames, 3);
    EXPECT_FALSE(sink.stopped);  // a requested stop is no failure
    // It runs again after such a stop.
    library.Run();
    ASSERT_TRUE(Wait_For([&] { return sink.frames >= 5; }));
    library.Stop();
}

TEST(Capture_library, A_device_lists_the_formats_it_can_deliver_in_its_order) {
    gst_init(nullptr, nullptr);
    GstCaps* caps = gst_caps_from_string(
        "image/jpeg, width=1920, height=1080, framerate={ 60/1, 30/1 }; "
        "video/x-raw, format=YUY2, width=1280, height=720, framerate=[ 5/1, 10/1 ]; "
        "video/x-raw, format=YUY2, width=[ 1, 640 ], height=480, framerate=30/1; "
        "video/x-h264, width=1920, height=1080, framerate=30/1; "
        "video/x-raw, format=YUY2, width=640, height=480, framerate=30000/1001; "
        "video/x-raw, format=YUY2, width=640, height=480, framerate=0/1; "
        "video/x-raw(memory:DMABuf), format=NV12, width=640, height=480, framerate=30/1; "
        "image/jpeg, width=1920, height=1080, framerate=60/1");
    std::vector<Video_format> formats = Formats_Of(caps);
    gst_caps_unref(caps);
    struct Row {
        std::string media, raw;
        int32_t width, height, fps_n, fps_d;
    };
    const Row expected[] = {{"image/jpeg", "", 1920, 1080, 60, 1},
                            {"image/jpeg", "", 1920, 1080, 30, 1},
                            {"video/x-raw", "YUY2", 1280, 720, 10, 1},
                            {"video/x-raw", "YUY2", 640, 480, 30000, 1001}};
    ASSERT_EQ(formats.size(), std::size(expected));
    for (size_t i = 0; i < formats.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(formats[i].media, expected[i].media);
        EXPECT_EQ(formats[i].raw_format, expected[i].raw);
        EXPECT_EQ(formats[i].width, expected[i].width);
        EXPECT_EQ(formats[i].height, expected[i].height);
        EXPECT_EQ(formats[i].fps_n, expected[i].fps_n);
        EXPECT_EQ(formats[i].fps_d, expected[i].fps_d);
    }
}

TEST(Capture_library, The_machine_lists_the_synthetic_source_last) {
    std::vector<Video_source> sources = System_Sources();
    ASSERT_FALSE(sources.empty());
    EXPECT_LE(sources.size(), 10u);
    EXPECT_EQ(sources.back().friendly_name, Synthetic_Friendly_Name);
}

TEST(Capture_library, A_frame_is_stamped_when_it_arrived_in_both_clocks) {
    struct Row {
        int64_t arrival_ns, now_ns;
        int32_t local_now, tick, local;
    };
    const int64_t ms = 1000000;
    const Row rows[] = {
        {1000 * ms, 1030 * ms, 50000, 1000, 49970},              // 30 ms in the queue
        {1040 * ms, 1030 * ms, 50000, 1030, 50000},              // never later than now
        {0, 1030 * ms, 50000, 1030, 50000},                      // no capture time
        {1000 * ms, 1030 * ms, 10, 1000, 86400000 - 20},         // arrived before midnight
        {(int64_t{1} << 32) * ms + 5 * ms, (int64_t{1} << 32) * ms + 5 * ms, 7, 5, 7},  // the tick wraps
    };
    for (const Row& r : rows) {
        int32_t tick = 0, local = 0;
        Capture_pipeline::Stamp(r.arrival_ns, r.now_ns, r.local_now, tick, local);
        EXPECT_EQ(tick, r.tick);
        EXPECT_EQ(local, r.local);
    }
}
