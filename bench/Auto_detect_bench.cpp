// Automatic finish detection over a 440 x 1080 heat of 2,000 frames, as the run shows and tests it:
// each field is read, decoded (once per frame), extracted and painted 1:1, then the goal line is
// sampled in six lane spans. Beside it, bare TurboJPEG decoding of the same 2,000 frames; the run's
// cost per frame against that decode is the figure to watch (the scan itself should not show).
#include "Camera_frames.h"
#include "review/Auto_detect.h"
#include "review/Cls_lane.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

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

// One iteration: the whole heat; range(0) = 1 interlaced (two fields a frame), 0 progressive.
void Auto_Detect_Run(benchmark::State& state) {
    const bool interlaced = state.range(0) != 0;
    cls_VideoFile_handler store;
    store.File_name(Heat(interlaced));
    store.Open_RGB_File();
    Box box;
    Shown field(store);
    std::vector<Cls_lane> lanes(6);
    for (size_t i = 0; i < lanes.size(); ++i) {
        lanes[i].Lane_number(static_cast<int16_t>(i + 1));
        lanes[i].Lane_pos_Y(static_cast<int32_t>(150 * (i + 1)));
    }
    // A slightly slanted goal line over the whole height.
    const Auto_detect::Goal_line line{200, 10, 240, Height - 10};
    const Auto_detect::Trigger_levels levels;
    const std::vector<int32_t> fields = Auto_detect::Fields_to_scan(store.Num_Frames(), store.Interlaced());
    int64_t fired = 0;
    for (auto _ : state) {
        Auto_detect::Detector detector;
        detector.Setup_Lanes_Auto_Detect(lanes);
        Auto_detect::Run(
            fields, [&](int32_t f) { store.Draw_RGB_Field(f, box); }, [] { return false; },
            [&] {
                fired += static_cast<int64_t>(
                    detector.Test_Auto_Lanes(lanes, field, line, [&](int32_t pixel) {
                                return Auto_detect::Triggers(Non_dependant::RGB_To_HSL(pixel), levels);
                            }).size());
            });
        benchmark::DoNotOptimize(box.dib.DIBSectionBitsPtr());
    }
    benchmark::DoNotOptimize(fired);
    state.counters["fields"] = static_cast<double>(fields.size());
    state.counters["per_frame_us"] =
        benchmark::Counter(static_cast<double>(Frames), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    store.Close_File();
}
BENCHMARK(Auto_Detect_Run)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same 2,000 frames in the same order, decoded by bare TurboJPEG into one bottom-up buffer.
void Bare_Decode_Heat(benchmark::State& state) {
    const auto& streams = Streams();
    tjhandle handle = tjInitDecompress();
    const int stride = (Width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * Height);
    for (auto _ : state) {
        for (int32_t n = 0; n < Frames; ++n) {
            const auto& s = streams[static_cast<size_t>(n % Distinct)];
            tjDecompress2(handle, s.data(), s.size(), rows.data(), Width, stride, Height, TJPF_BGR, TJFLAG_BOTTOMUP);
        }
        benchmark::DoNotOptimize(rows.data());
    }
    tjDestroy(handle);
    state.counters["per_frame_us"] =
        benchmark::Counter(static_cast<double>(Frames), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(Bare_Decode_Heat)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
