// Live capture from the synthetic camera at 1920 x 1080 and 50 frames/s: the capture library (queue,
// conversion to blue-green-red, the bottom-up turn, the time stamps and the hand-over to a sink) against
// a bare GStreamer pipeline of the same caps into an appsink, in turns of 5 seconds each in one run, so a
// machine whose speed drifts drifts for both; each turn starts and stops its pipeline. Figures, for each
// side: the process's CPU time per frame, frames delivered, frames missing from the sequence; and the
// library's CPU time per frame as a ratio of the bare pipeline's. Run length: VANTOREL_CAPTURE_SECONDS
// (default 60) for each side.
#include "platform/capturelib/Capture_Library_Object.h"
#include "platform/capturelib/Synthetic_source.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
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

constexpr int Turn_Seconds = 5;

// One side's totals over its turns.
struct Side {
    int64_t frames = 0;
    int64_t missing = 0;
    double cpu = 0;
    double wall = 0;
    void Add(const Sequence& seen) {
        frames += seen.frames;
        missing += seen.missing;
    }
    double Cpu_Per_Frame() const { return frames ? cpu / static_cast<double>(frames) : 0; }
    void Report(benchmark::State& state, const std::string& name) const {
        state.counters[name + "_frames"] = static_cast<double>(frames);
        state.counters[name + "_missing"] = static_cast<double>(missing);
        state.counters[name + "_cpu_us_per_frame"] = 1e6 * Cpu_Per_Frame();
    }
};

// Runs `start`, waits `seconds`, runs `stop`: the CPU and wall time it took.
template <typename Start, typename Stop>
void Turn(Side& side, int seconds, Start start, Stop stop) {
    const double cpu = Cpu_Seconds();
    const auto begin = std::chrono::steady_clock::now();
    start();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    stop();
    side.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    side.cpu += Cpu_Seconds() - cpu;
}

GstFlowReturn Count_Sample(GstAppSink* s, gpointer data) {
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
}

// A bare pipeline: the synthetic source, the same caps, an appsink that maps each frame.
GstElement* Bare_Pipeline(Sequence& seen) {
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
    callbacks.new_sample = Count_Sample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, &seen, nullptr);
    return pipeline;
}

class Counting_sink : public capturelib::IVideoCapEvent {
public:
    explicit Counting_sink(Sequence& seen) : seen_(seen) {}
    void OnRGBEvent(capturelib::Capture_Library_Object*, double time, const uint8_t* bits, int32_t, int32_t,
                    const capturelib::Frame_arrival&) override {
        benchmark::DoNotOptimize(bits[0]);
        seen_.Saw(std::llround(time * Rate));
    }
    void OnStreamStopped(capturelib::Capture_Library_Object*, const std::string&) override {}

private:
    Sequence& seen_;
};

void Capture_Library_vs_Bare(benchmark::State& state) {
    Side bare, library;
    for (auto _ : state) {
        for (int done = 0; done < Seconds(); done += Turn_Seconds) {
            const int seconds = std::min(Turn_Seconds, Seconds() - done);
            // Each turn counts its own sequence: a new pipeline numbers its frames afresh.
            Sequence bare_seen;
            GstElement* pipeline = Bare_Pipeline(bare_seen);
            Turn(bare, seconds, [&] { gst_element_set_state(pipeline, GST_STATE_PLAYING); },
                 [&] { gst_element_set_state(pipeline, GST_STATE_NULL); });
            gst_object_unref(pipeline);
            bare.Add(bare_seen);

            Sequence library_seen;
            Counting_sink sink(library_seen);
            capturelib::Capture_Library_Object object([] { return std::vector{capturelib::Synthetic_Source()}; });
            object.Advise_Sink(&sink);
            object.Select_Source("video:1");
            object.Set_Property("SetFormat", "0");  // 1920*1080/50
            Turn(library, seconds, [&] { object.Run(); }, [&] { object.Stop(); });
            library.Add(library_seen);
        }
        state.SetIterationTime(bare.wall + library.wall);
    }
    bare.Report(state, "bare");
    library.Report(state, "library");
    state.counters["expected_each"] = Seconds() * Rate;
    state.counters["cpu_ratio"] = bare.Cpu_Per_Frame() > 0 ? library.Cpu_Per_Frame() / bare.Cpu_Per_Frame() : 0;
}

}  // namespace

BENCHMARK(Capture_Library_vs_Bare)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    gst_init(&argc, &argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
