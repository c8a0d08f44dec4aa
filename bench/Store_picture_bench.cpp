// The store's picture benchmarks on its PAL DV test frame, each beside the bare library doing the same
// work in the same run: the decode beside libavcodec's decode, the field extraction and the quarter
// turn beside the graphics library's calls, the timed file reads beside plain reads of the same block, the
// turn into 32-bit pixels beside the 24-bit turn.
// After the run, each store figure is printed as a ratio to its bare figure.
#include "platform/graphics/Graphics.h"
#include "platform/ui/Dialog_service.h"
#include "platform/video/Dv_test_frame.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

// Message boxes answered at once, so that benchmark_getfile's report costs no console output.
class Silent_dialogs : public ui::Dialog_service {
public:
    int32_t Message_Box(const std::string&, int32_t, const std::string&) override { return ui::vbOK; }
    std::optional<std::string> Input_Box(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> Open_File(const ui::File_Request&) override { return {}; }
    std::optional<std::string> Browse_Folder(const std::string&, const std::string&) override { return {}; }
};

// A raw DV file of 25 test frames, so that the block at 2880000 lies inside it.
std::string Dv_File() {
    static const std::string path = [] {
        auto folder = std::filesystem::temp_directory_path() / "vantorel_store_picture_bench";
        std::filesystem::create_directories(folder);
        Module_Vantorel::AppData_Folder = folder.string();
        const std::string file = (folder / "bars.dv").string();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        const auto& frame = video::Dv_Test_Frame();
        for (int i = 0; i < 25; ++i) out.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
        return file;
    }();
    return path;
}

void Store_Decomp_Once(benchmark::State& state) {
    cls_VideoFile_handler store;
    store.Benchmark_Decomp_Once();
    for (auto _ : state) {
        store.Benchmark_Decomp_Once();
        benchmark::DoNotOptimize(store.Frame_Image().DIBSectionBitsPtr());
    }
    if (store.Last_Draw_Result() != 1) state.SkipWithError("the test frame did not decode");
}
BENCHMARK(Store_Decomp_Once)->Unit(benchmark::kMicrosecond);

void Bare_Decode(benchmark::State& state) {
    const auto& bytes = video::Dv_Test_Frame();
    AVCodecContext* context = avcodec_alloc_context3(avcodec_find_decoder(AV_CODEC_ID_DVVIDEO));
    avcodec_open2(context, context->codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    for (auto _ : state) {
        packet->data = const_cast<uint8_t*>(bytes.data());
        packet->size = static_cast<int>(bytes.size());
        avcodec_send_packet(context, packet);
        if (avcodec_receive_frame(context, frame) < 0) state.SkipWithError("the test frame did not decode");
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
}
BENCHMARK(Bare_Decode)->Unit(benchmark::kMicrosecond);

void Store_Deint_Once(benchmark::State& state) {
    cls_VideoFile_handler store;
    store.Benchmark_Decomp_Once();
    for (auto _ : state) store.Benchmark_Deint_Once();
}
BENCHMARK(Store_Deint_Once)->Unit(benchmark::kMicrosecond);

void Bare_deinterlaceFrame2(benchmark::State& state) {
    std::vector<uint8_t> source(static_cast<size_t>(graphics::Stride(720)) * 576, 77), target(source.size());
    for (auto _ : state) {
        graphics::deinterlaceFrame2(source.data(), target.data(), 720, 576, 1);
        benchmark::DoNotOptimize(target.data());
    }
}
BENCHMARK(Bare_deinterlaceFrame2)->Unit(benchmark::kMicrosecond);

void Store_Rotate_Once(benchmark::State& state) {
    cls_VideoFile_handler store;
    store.Benchmark_Decomp_Once();
    store.Benchmark_Deint_Once();
    for (auto _ : state) store.Benchmark_Rotate_Once();
}
BENCHMARK(Store_Rotate_Once)->Unit(benchmark::kMicrosecond);

void Bare_Rotate90(benchmark::State& state) {
    std::vector<uint8_t> source(static_cast<size_t>(graphics::Stride(720)) * 576, 77);
    std::vector<uint8_t> target(static_cast<size_t>(graphics::Stride(576)) * 720);
    for (auto _ : state) {
        graphics::Rotate90(source.data(), target.data(), 720, 576, 0);
        benchmark::DoNotOptimize(target.data());
    }
}
BENCHMARK(Bare_Rotate90)->Unit(benchmark::kMicrosecond);

// range(0): the field mode. The turn into the screen's 32-bit pixels (the time reported) beside the 24-bit
// turn of the same field, alternating a few turns of each so that both meet the same machine.
void Bare_Rotate90_Wide(benchmark::State& state) {
    const auto mode = static_cast<int16_t>(state.range(0));
    std::vector<uint8_t> source(static_cast<size_t>(graphics::Stride(720)) * 576, 77);
    std::vector<uint8_t> narrow(static_cast<size_t>(graphics::Stride(576)) * 720), wide(size_t{576} * 4 * 720);
    constexpr int Chunk = 4;
    double narrow_time = 0, wide_time = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < Chunk; ++i) {
            graphics::Rotate90_Wide(source.data(), wide.data(), 576 * 4, 720, 576, mode);
            benchmark::DoNotOptimize(wide.data());
        }
        const auto middle = std::chrono::steady_clock::now();
        for (int i = 0; i < Chunk; ++i) {
            if (mode == 0)
                graphics::Rotate90(source.data(), narrow.data(), 720, 576, 0);
            else
                graphics::Rotate90_Field(source.data(), narrow.data(), 720, 576, mode);
            benchmark::DoNotOptimize(narrow.data());
        }
        const auto end = std::chrono::steady_clock::now();
        const double took = std::chrono::duration<double>(middle - start).count();
        state.SetIterationTime(took / Chunk);
        wide_time += took;
        narrow_time += std::chrono::duration<double>(end - middle).count();
    }
    const double turns = static_cast<double>(state.iterations()) * Chunk;
    state.counters["bits24_us"] = 1e6 * narrow_time / turns;
    state.counters["bits32_us"] = 1e6 * wide_time / turns;
    state.counters["bits32_over_bits24"] = narrow_time > 0 ? wide_time / narrow_time : 0;
}
BENCHMARK(Bare_Rotate90_Wide)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Store_getfile(benchmark::State& state) {
    Silent_dialogs silent;
    ui::Set_Dialog_Service(&silent);
    cls_VideoFile_handler store;
    store.Open_File(Dv_File(), 0);
    for (auto _ : state) store.benchmark_getfile();
    store.Close_File();
    ui::Set_Dialog_Service(nullptr);
}
BENCHMARK(Store_getfile)->Unit(benchmark::kMicrosecond);

// The same twenty reads of the same block with the C library.
void Bare_getfile(benchmark::State& state) {
    std::FILE* file = std::fopen(Dv_File().c_str(), "rb");
    std::vector<uint8_t> block(144000);
    for (auto _ : state)
        for (int i = 0; i < 20; ++i) {
            std::fseek(file, 2880000, SEEK_SET);
            benchmark::DoNotOptimize(std::fread(block.data(), 1, block.size(), file));
        }
    std::fclose(file);
}
BENCHMARK(Bare_getfile)->Unit(benchmark::kMicrosecond);

// Keeps every figure for the ratios printed after the console's own report.
class Ratio_reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred) times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Ratio_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::pair<const char*, const char*> pairs[] = {{"Store_Decomp_Once", "Bare_Decode"},
                                                         {"Store_Deint_Once", "Bare_deinterlaceFrame2"},
                                                         {"Store_Rotate_Once", "Bare_Rotate90"},
                                                         {"Store_getfile", "Bare_getfile"}};
    std::printf("\nStore figure / bare library figure, same run:\n");
    for (const auto& [store, bare] : pairs) {
        const auto s = reporter.times.find(store), b = reporter.times.find(bare);
        if (s != reporter.times.end() && b != reporter.times.end() && b->second > 0)
            std::printf("  %-20s / %-24s = %.2f\n", store, bare, s->second / b->second);
    }
    benchmark::Shutdown();
    return 0;
}
