// The capture file store on its hot paths: appending 440 x 1080 frames from memory, reading and
// decoding random frames beside bare TurboJPEG decoding of the same streams, and opening a long file
// beside a short one (opening must not read the whole file).
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "Camera_frames.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int32_t Width = 440;
constexpr int32_t Height = 1080;
constexpr int32_t Frames = 50;

std::string Folder() {
    static std::string folder = [] {
        auto path = std::filesystem::temp_directory_path() / "vantorel_store_bench";
        std::filesystem::create_directories(path);
        Module_Vantorel::AppData_Folder = path.string();
        return path.string();
    }();
    return folder;
}


const std::vector<std::vector<uint8_t>>& Streams() {
    static std::vector<std::vector<uint8_t>> streams = [] {
        std::vector<std::vector<uint8_t>> s;
        for (int32_t n = 0; n < Frames; ++n) s.push_back(Camera_JPEG(Width, Height, static_cast<uint32_t>(n + 1)));
        return s;
    }();
    return streams;
}

int32_t Buffer_For(const std::vector<std::vector<uint8_t>>& streams) {
    size_t largest = 0;
    for (const auto& s : streams) largest = std::max(largest, s.size());
    return static_cast<int32_t>(largest * 12 / 10);
}

void New_Heat(cls_VideoFile_handler& store, const std::string& path, int32_t width, int32_t height, int32_t buffer,
              bool rotated = false) {
    store.File_name(path);
    store.Create_File();
    store.Cropped_X(width);
    store.Cropped_Y(height);
    store.RGB_interlaced(true);
    store.RGB_Rotated(rotated);
    store.Create_KD3_header();
    store.Open_RGB_File();
    store.Set_JPG_Maxsize(buffer);
    store.Write_KD3_header();
    store.Close_File();
}

void Append_All(cls_VideoFile_handler& store, const std::string& path,
                const std::vector<std::vector<uint8_t>>& streams, int32_t count) {
    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    for (int32_t n = 0; n < count; ++n) {
        const auto& s = streams[static_cast<size_t>(n) % streams.size()];
        store.Append_Compressed_RGB_Frame(n, n * 40, 40, 80, static_cast<int32_t>(s.size()), s.data(), n);
    }
    store.Close_File();
}

// One record per iteration, into a file held open as in a capture segment.
void Store_Append(benchmark::State& state) {
    const auto& streams = Streams();
    std::string path = Folder() + "/append.kd3";
    cls_VideoFile_handler store;
    New_Heat(store, path, Width, Height, Buffer_For(streams));
    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    int32_t n = 0;
    for (auto _ : state) {
        const auto& s = streams[static_cast<size_t>(n) % streams.size()];
        store.Append_Compressed_RGB_Frame(n, n * 40, 40, 80, static_cast<int32_t>(s.size()), s.data(), n);
        ++n;
    }
    store.Close_File();
    state.SetBytesProcessed(static_cast<int64_t>(n) * Buffer_For(streams));
    std::filesystem::remove(path);
}
BENCHMARK(Store_Append)->Iterations(1000)->Unit(benchmark::kMicrosecond);

std::vector<int32_t> Random_Frames() {
    std::mt19937 random(7);
    std::vector<int32_t> order;
    int32_t last = 0;
    while (order.size() < 1000) {
        auto n = static_cast<int32_t>(random() % Frames) + 1;
        if (n == last) continue;  // a repeat would be answered from the cache
        order.push_back(last = n);
    }
    return order;
}

// range(0) = 1: read and decode; 0: read only.
void Store_Read_Decode(benchmark::State& state) {
    const auto& streams = Streams();
    std::string path = Folder() + "/read.kd3";
    if (!std::filesystem::exists(path)) {
        cls_VideoFile_handler writer;
        New_Heat(writer, path, Width, Height, Buffer_For(streams));
        Append_All(writer, path, streams, Frames);
    }
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Open_RGB_File();
    std::vector<int32_t> order = Random_Frames();
    size_t i = 0;
    for (auto _ : state) {
        store.Read_RGB_sample(order[i++ % order.size()], state.range(0) != 0);
        benchmark::DoNotOptimize(store.Frame_Image().DIBSectionBitsPtr());
    }
    store.Close_File();
}
BENCHMARK(Store_Read_Decode)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The same streams in the same order, decoded by bare TurboJPEG into one bottom-up buffer.
void Bare_Decode(benchmark::State& state) {
    const auto& streams = Streams();
    tjhandle handle = tjInitDecompress();
    const int stride = (Width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * Height);
    std::vector<int32_t> order = Random_Frames();
    size_t i = 0;
    for (auto _ : state) {
        const auto& s = streams[static_cast<size_t>(order[i++ % order.size()] - 1)];
        tjDecompress2(handle, s.data(), s.size(), rows.data(), Width, stride, Height, TJPF_BGR, TJFLAG_BOTTOMUP);
        benchmark::DoNotOptimize(rows.data());
    }
    tjDestroy(handle);
}
BENCHMARK(Bare_Decode)->Unit(benchmark::kMicrosecond);

// A picture box of the picture's own size.
class Box : public gdi::Picture_surface {
public:
    Box(int32_t width, int32_t height) { dib.Create(width, height); }
    gdi::Device_context* hDC() override { return dib.hDC(); }
    double ScaleWidth() const override { return dib.Width(); }
    double ScaleHeight() const override { return dib.Height(); }
    cDIBSection dib;
};

// The first field of random frames (each one decoded), extracted and painted 1:1; range(0) = 1 for a
// file captured rotated.
void Store_Draw_Field(benchmark::State& state) {
    const bool rotated = state.range(0) != 0;
    const auto& streams = Streams();
    std::string path = Folder() + (rotated ? "/fields_rotated.kd3" : "/fields.kd3");
    if (!std::filesystem::exists(path)) {
        cls_VideoFile_handler writer;
        New_Heat(writer, path, Width, Height, Buffer_For(streams), rotated);
        Append_All(writer, path, streams, Frames);
    }
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Open_RGB_File();
    Box box(rotated ? Height : Width, rotated ? Width : Height);
    std::vector<int32_t> order = Random_Frames();
    size_t i = 0;
    for (auto _ : state) {
        store.Draw_RGB_Field(2 * order[i++ % order.size()] - 1, box);
        benchmark::DoNotOptimize(box.dib.DIBSectionBitsPtr());
    }
    store.Close_File();
}
BENCHMARK(Store_Draw_Field)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Opening (header record and three probe records) and closing a file of range(0) small frames.
void Store_Open(benchmark::State& state) {
    const auto frames = static_cast<int32_t>(state.range(0));
    std::string path = Folder() + "/open_" + std::to_string(frames) + ".kd3";
    if (!std::filesystem::exists(path)) {
        std::vector<std::vector<uint8_t>> small;
        for (uint32_t n = 1; n <= 4; ++n) small.push_back(Camera_JPEG(32, 16, n));
        cls_VideoFile_handler writer;
        New_Heat(writer, path, 32, 16, Buffer_For(small));
        Append_All(writer, path, small, frames);
    }
    cls_VideoFile_handler store;
    store.File_name(path);
    for (auto _ : state) {
        store.Open_RGB_File();
        benchmark::DoNotOptimize(store.Num_Frames());
        store.Close_File();
    }
}
BENCHMARK(Store_Open)->Arg(20)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
