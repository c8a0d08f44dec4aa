// Automatic finish detection over a 440 x 1080 heat of 2,000 frames, as the run shows and tests it:
// each field is read and decoded (once per frame) and the goal line is sampled from its frame in six lane
// spans; the field reached is painted 1:1 at the end. Beside it, bare TurboJPEG decoding of the same
// frames, in turns with the run: after every 50 frames of the run, its 50 frames decoded bare, so a
// machine whose speed drifts drifts for both. The run's time per frame over the bare decode's
// (`run_vs_bare`) is the figure to watch (the scan itself should not show).
#include "Camera_frames.h"
#include "review/Auto_detect.h"
#include "review/Cls_lane.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int32_t Width = 440;
constexpr int32_t Height = 1080;
constexpr int32_t Frames = 2000;
constexpr int32_t Distinct = 100;  // the frames cycle through these pictures

const std::vector<std::vector<uint8_t>>& Streams() {
    static std::vector<std::vector<uint8_t>> streams = [] {
        std::vector<std::vector<uint8_t>> s;
        for (int32_t n = 0; n < Distinct; ++n) s.push_back(Camera_JPEG(Width, Height, static_cast<uint32_t>(n + 1)));
        return s;
    }();
    return streams;
}

std::string Heat(bool interlaced) {
    auto folder = std::filesystem::temp_directory_path() / "vantorel_auto_detect_bench";
    std::filesystem::create_directories(folder);
    Module_Vantorel::AppData_Folder = folder.string();
    const std::string path = (folder / (interlaced ? "interlaced.kd3" : "progressive.kd3")).string();
    if (std::filesystem::exists(path)) return path;
    const auto& streams = Streams();
    size_t largest = 0;
    for (const auto& s : streams) largest = std::max(largest, s.size());
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    store.Cropped_X(Width);
    store.Cropped_Y(Height);
    store.RGB_interlaced(interlaced);
    store.RGB_Rotated(false);
    store.Create_KD3_header();
    store.Write_XML_Header();
    store.Close_File();
    store.File_name(path);
    store.Open_RGB_File();
    store.Set_JPG_Maxsize(static_cast<int32_t>(largest * 12 / 10));
    store.Write_KD3_header();
    store.Close_File();
    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    for (int32_t n = 0; n < Frames; ++n) {
        const auto& s = streams[static_cast<size_t>(n % Distinct)];
        store.Append_Compressed_RGB_Frame(n, n * 40, 40, 80, static_cast<int32_t>(s.size()), s.data(), n);
    }
    store.Add_Segment_num();
    store.Close_File();
    return path;
}

class Box : public gdi::Picture_surface {
public:
    Box() { dib.Create(Width, Height); }
    gdi::Device_context* hDC() override { return dib.hDC(); }
    double ScaleWidth() const override { return dib.Width(); }
    double ScaleHeight() const override { return dib.Height(); }
    cDIBSection dib;
};

class Shown : public Auto_detect::Field_pixels {
public:
    explicit Shown(cls_VideoFile_handler& file) : file_(file) {}
    int32_t Get_Field_Pixel(int16_t x, int16_t y) override { return file_.Get_Field_Pixel(x, y); }

private:
    cls_VideoFile_handler& file_;
};

// Bare TurboJPEG decoding of the heat's frames into one bottom-up buffer.
class Bare_decoder {
public:
    Bare_decoder() : rows_(static_cast<size_t>(Stride) * Height), handle_(tjInitDecompress()) {}
    ~Bare_decoder() { tjDestroy(handle_); }
    Bare_decoder(const Bare_decoder&) = delete;
    Bare_decoder& operator=(const Bare_decoder&) = delete;

    // Decodes frames `first` to `last` (from 1); the seconds they took.
    double Decode(int32_t first, int32_t last) {
        const auto& streams = Streams();
        const auto start = std::chrono::steady_clock::now();
        for (int32_t n = first; n <= last; ++n) {
            const auto& s = streams[static_cast<size_t>((n - 1) % Distinct)];
            tjDecompress2(handle_, s.data(), s.size(), rows_.data(), Width, Stride, Height, TJPF_BGR, TJFLAG_BOTTOMUP);
        }
        benchmark::DoNotOptimize(rows_.data());
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    static constexpr int Stride = (Width * 3 + 3) & ~3;
    std::vector<uint8_t> rows_;
    tjhandle handle_;
};

// One iteration: the whole heat; range(0) = 1 interlaced (two fields a frame), 0 progressive.
void Auto_Detect_Run(benchmark::State& state) {
    const bool interlaced = state.range(0) != 0;
    cls_VideoFile_handler store;
    store.File_name(Heat(interlaced));
    store.Open_RGB_File();
    Box box;
    Shown field(store);
    Bare_decoder bare;
    std::vector<Cls_lane> lanes(6);
    for (size_t i = 0; i < lanes.size(); ++i) {
        lanes[i].Lane_number(static_cast<int16_t>(i + 1));
        lanes[i].Lane_pos_Y(static_cast<int32_t>(150 * (i + 1)));
    }
    // A slightly slanted goal line over the whole height.
    const Auto_detect::Goal_line line{200, 10, 240, Height - 10};
    const Auto_detect::Trigger_levels levels;
    const std::vector<int32_t> fields = Auto_detect::Fields_to_scan(store.Num_Frames(), store.Interlaced());
    const size_t per_frame = interlaced ? 2 : 1;
    constexpr int32_t Chunk = 50;  // frames
    int64_t fired = 0;
    double running = 0, decoding = 0;
    for (auto _ : state) {
        double run = 0;
        Auto_detect::Detector detector;
        detector.Setup_Lanes_Auto_Detect(lanes);
        for (size_t begin = 0; begin < fields.size(); begin += Chunk * per_frame) {
            const size_t end = std::min(fields.size(), begin + Chunk * per_frame);
            const std::vector<int32_t> part(fields.begin() + static_cast<std::ptrdiff_t>(begin),
                                            fields.begin() + static_cast<std::ptrdiff_t>(end));
            const auto start = std::chrono::steady_clock::now();
            Auto_detect::Run(
                part, [&](int32_t f) { store.Read_RGB_Field(f); }, [] { return false; },
                [&] {
                    fired += static_cast<int64_t>(
                        detector.Test_Auto_Lanes(lanes, field, line, [&](int32_t pixel) {
                                    return Auto_detect::Triggers(Non_dependant::RGB_To_HSL(pixel), levels);
                                }).size());
                });
            if (end == fields.size()) store.Draw_RGB_Field(fields.back(), box);
            run += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            decoding += bare.Decode(static_cast<int32_t>(begin / per_frame) + 1, static_cast<int32_t>((end - 1) / per_frame) + 1);
        }
        benchmark::DoNotOptimize(box.dib.DIBSectionBitsPtr());
        state.SetIterationTime(run);
        running += run;
    }
    benchmark::DoNotOptimize(fired);
    const auto frames = static_cast<double>(Frames * state.iterations());
    state.counters["fields"] = static_cast<double>(fields.size());
    state.counters["per_frame_us"] = 1e6 * running / frames;
    state.counters["bare_per_frame_us"] = 1e6 * decoding / frames;
    state.counters["run_vs_bare"] = running / decoding;
    store.Close_File();
}
BENCHMARK(Auto_Detect_Run)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
