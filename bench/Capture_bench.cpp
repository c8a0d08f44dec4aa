// Live capture from the synthetic camera at 1920 x 1080 and 50 frames/s: the capture library (queue,
// conversion to blue-green-red, the bottom-up turn, the time stamps and the hand-over to a sink) against
// a bare GStreamer pipeline of the same caps into an appsink, each for the same time in the same run.
// Figures: the process's CPU time per frame, frames delivered, frames missing from the sequence, and
// the library's CPU time per frame as a ratio of the bare pipeline's. Run length: VANTOREL_CAPTURE_SECONDS
// (default 60).
#include "platform/capturelib/Capture_Library_Object.h"
#include "platform/capturelib/Synthetic_source.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <sys/resource.h>
#include <thread>

namespace {

constexpr int Width = 1920, Height = 1080, Rate = 50;

int Seconds() {
    const char* text = std::getenv("VANTOREL_CAPTURE_SECONDS");
    return text ? std::max(1, std::atoi(text)) : 60;
}

double Cpu_Seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

// Frames counted, and frames that should have come between two counted ones but did not.
struct Sequence {
    std::atomic<int64_t> frames{0};
    std::atomic<int64_t> missing{0};
    int64_t last = -1;
    void Saw(int64_t index) {
        if (last >= 0 && index > last + 1) missing += index - last - 1;
        last = index;
        ++frames;
    }
};

struct Result {
    double cpu_per_frame = 0;
};
Result bare, library;

void Report(benchmark::State& state, const Sequence& seen, double cpu, Result& result) {
    result.cpu_per_frame = seen.frames ? cpu / static_cast<double>(seen.frames) : 0;
    state.counters["frames"] = static_cast<double>(seen.frames);
    state.counters["missing"] = static_cast<double>(seen.missing);
    state.counters["expected"] = Seconds() * Rate;
    state.counters["cpu_us_per_frame"] = result.cpu_per_frame * 1e6;
}

void Bare_Appsink(benchmark::State& state) {
    Sequence seen;
    for (auto _ : state) {
        GstElement* pipeline = gst_pipeline_new(nullptr);
        GstElement* source = capturelib::Make_Synthetic_Element();
        GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
        GstElement* sink = gst_element_factory_make("appsink", nullptr);
        GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", "width", G_TYPE_INT, Width,
                                            "height", G_TYPE_INT, Height, "framerate", GST_TYPE_FRACTION, Rate, 1, nullptr);
        g_object_set(filter, "caps", caps, nullptr);
        gst_caps_unref(caps);
        g_object_set(sink, "sync", FALSE, nullptr);
        gst_bin_add_many(GST_BIN(pipeline), source, filter, sink, nullptr);
        gst_element_link_many(source, filter, sink, nullptr);
        GstAppSinkCallbacks callbacks{};
        callbacks.new_sample = [](GstAppSink* s, gpointer data) {
            GstSample* sample = gst_app_sink_pull_sample(s);
            GstBuffer* buffer = gst_sample_get_buffer(sample);
            GstMapInfo map;
            if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
                benchmark::DoNotOptimize(map.data[0]);
                gst_buffer_unmap(buffer, &map);
            }
            static_cast<Sequence*>(data)->Saw(static_cast<int64_t>(GST_BUFFER_OFFSET(buffer)));
            gst_sample_unref(sample);
            return GST_FLOW_OK;
        };
        gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, &seen, nullptr);
        double cpu = Cpu_Seconds();
        auto start = std::chrono::steady_clock::now();
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        std::this_thread::sleep_for(std::chrono::seconds(Seconds()));
        gst_element_set_state(pipeline, GST_STATE_NULL);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        Report(state, seen, Cpu_Seconds() - cpu, bare);
        gst_object_unref(pipeline);
    }
}

class Counting_sink : public capturelib::IVideoCapEvent {
public:
    void OnRGBEvent(capturelib::Capture_Library_Object*, double time, const uint8_t* bits, int32_t, int32_t,
                    const capturelib::Frame_arrival&) override {
        benchmark::DoNotOptimize(bits[0]);
        seen.Saw(std::llround(time * Rate));
    }
    void OnStreamStopped(capturelib::Capture_Library_Object*, const std::string&) override {}
    Sequence seen;
};

void Capture_Library(benchmark::State& state) {
    Counting_sink sink;
    for (auto _ : state) {
        capturelib::Capture_Library_Object object([] { return std::vector{capturelib::Synthetic_Source()}; });
        object.Advise_Sink(&sink);
        object.Select_Source("video:1");
        object.Set_Property("SetFormat", "0");  // 1920*1080/50
        double cpu = Cpu_Seconds();
        auto start = std::chrono::steady_clock::now();
        object.Run();
        std::this_thread::sleep_for(std::chrono::seconds(Seconds()));
        object.Stop();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        Report(state, sink.seen, Cpu_Seconds() - cpu, library);
    }
}

void Library_Over_Bare(benchmark::State& state) {
    for (auto _ : state) {
    }
    state.counters["cpu_ratio"] = bare.cpu_per_frame > 0 ? library.cpu_per_frame / bare.cpu_per_frame : 0;
}

}  // namespace

BENCHMARK(Bare_Appsink)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(Capture_Library)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(Library_Over_Bare)->Iterations(1);

int main(int argc, char** argv) {
    gst_init(&argc, &argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
