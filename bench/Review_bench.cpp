// The review window, shown, stepping field by field through a 440 x 1080 heat as the slider's arrow key
// does, at the window's own picture size and scale: each step reads and decodes the frame (every other
// step: the second field comes from the store's cached record), leaves the field and the course overlay
// over it for the picture box's paint, writes the field's number and time, and lets the window's events
// run, which paint it (the field scaled or turned from its frame straight into the screen's image). Wall time, beside bare TurboJPEG decoding of the same frames:
// bursts of bare decoding between bursts of steps, so a machine whose speed drifts during the run
// drifts for both ("per_frame_vs_bare": two field steps, one decoded frame, over one bare decode).
// The window is painted on the platform QT_QPA_PLATFORM names (offscreen when none is set): run it once
// as it is and once with QT_QPA_PLATFORM=xcb on a display. A heat of 100,000 frames steps through the
// same first hundred: `Long_Heat_Over_Short` sets its figure beside the 100-frame heat's.
#include "Camera_frames.h"
#include "app/Module_Vantorel_windows.h"
#include "platform/graphics/Graphics.h"
#include "platform/ui/Picture_box.h"
#include "review/Frm_kanot_2.h"
#include "shell/Module_Vantorel.h"
#include "store/Kd3_format.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSlider>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr int32_t Width = 440;
constexpr int32_t Height = 1080;
constexpr int32_t Frames = 100;     // the frames stepped through
constexpr int32_t Long_Heat = 100000;

// The heat made `frames` frames long: the records after the first hundred are holes in the file (zero
// bytes, which read as frames unavailable), the last a record without a picture, so the heat is as long
// as half an hour at 50 frames a second but takes no room on the disk. The steps stay on the first hundred.
void Lengthen_Heat(const std::string& path, int32_t frames) {
    int64_t length = 0;
    {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        length = store.Header().RGB_Sample_Size();
        store.Close_File();
    }
    const int64_t last = kd3::Record_Offset(frames, length);
    std::filesystem::resize_file(path, static_cast<uintmax_t>(last + length));
    {
        std::array<uint8_t, kd3::Buffer_Offset> head{};
        kd3::Sample_Header sample;
        sample.capture_local = 36000000 + 40 * frames;
        sample.capture_mill = 1000000 + 40 * frames;
        sample.capture_delta = 40;
        sample.jpeg_quality = 80;
        sample.hdmi_events = 100 + frames;
        kd3::Put_Sample_Header(std::span<uint8_t, kd3::Sample_Header_Length>(head.data(), kd3::Sample_Header_Length), sample);
        kd3::Put_Descriptor(std::span<uint8_t, kd3::Descriptor_Length>(head.data() + kd3::Sample_Header_Length, kd3::Descriptor_Length),
                            {1, static_cast<int32_t>(length - kd3::Record_Overhead), 1});
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(last);
        file.write(reinterpret_cast<const char*>(head.data()), head.size());
        file.seekp(last + length - kd3::End_Mark_Length);
        file.write(kd3::End_Mark.data(), kd3::End_Mark_Length);
    }
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Open_RGB_File();
    store.Set_Frames_no(frames);
    store.Close_File();
}

// A heat as the capture console writes it: header, heat start, a course of six lanes and a goal line.
// `landscape`: frames of Height x Width, shown upright, the picture a rotated heat shows.
void Write_Heat(const std::string& path, bool rotated, bool landscape = false, int32_t frames = Frames) {
    const int32_t width = landscape ? Height : Width, height = landscape ? Width : Height;
    const auto Frame_JPEG = [&](uint32_t seed) { return Camera_JPEG(width, height, seed); };
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    store.Cropped_X(width);
    store.Cropped_Y(height);
    store.RGB_interlaced(true);
    store.RGB_Rotated(rotated);
    store.Initial_Quality(80);
    store.Create_KD3_header();
    store.Write_XML_Header();
    store.Close_File();
    store.File_name(path);
    store.Open_RGB_File();
    store.Set_JPG_Maxsize(400000);
    store.Heat_ID(1, "K1 Final A");
    store.Start_PC_mill(1, 1000000);
    store.Start_HDMI_events(1, 100);
    store.Num_Lanes(6);
    for (int16_t lane = 1; lane <= 6; ++lane) store.File_Lane_Pos(lane, 40, 150 * lane % height);
    store.Set_Goal_Line(width / 2, 10, width / 2, height - 10);
    store.Show_goalline(true);
    store.Lanes_Visible(true);
    store.Write_KD3_header();
    store.Close_File();
    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    for (int32_t n = 1; n <= Frames; ++n) {
        const std::vector<uint8_t> jpeg = Frame_JPEG(static_cast<uint32_t>(n));
        store.Append_Compressed_RGB_Frame(36000000 + 40 * n, 1000000 + 40 * n, 40, 80,
                                          static_cast<int32_t>(jpeg.size()), jpeg.data(), 100 + n);
    }
    store.Add_Segment_num();
    store.Close_File();
    if (frames > Frames) Lengthen_Heat(path, frames);
}

// Bare TurboJPEG decoding of a heat's frames into a bottom-up BGR picture.
class Bare_decoder {
public:
    Bare_decoder(int32_t width, int32_t height) : width_(width), height_(height), stride_(graphics::Stride(width)) {
        for (int32_t n = 1; n <= Frames; ++n) frames_.push_back(Camera_JPEG(width, height, static_cast<uint32_t>(n)));
        rows_.resize(static_cast<size_t>(stride_) * height);
        handle_ = tjInitDecompress();
    }
    ~Bare_decoder() { tjDestroy(handle_); }
    Bare_decoder(const Bare_decoder&) = delete;
    Bare_decoder& operator=(const Bare_decoder&) = delete;

    // Decodes the next `count` frames; the seconds they took.
    double Decode(int32_t count) {
        const auto start = std::chrono::steady_clock::now();
        for (int32_t i = 0; i < count; ++i) {
            const std::vector<uint8_t>& s = frames_[next_++ % frames_.size()];
            tjDecompress2(handle_, s.data(), s.size(), rows_.data(), width_, stride_, height_, TJPF_BGR, TJFLAG_BOTTOMUP);
            benchmark::DoNotOptimize(rows_.data());
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    int32_t width_, height_, stride_;
    std::vector<std::vector<uint8_t>> frames_;
    std::vector<uint8_t> rows_;
    tjhandle handle_;
    size_t next_ = 0;
};

double short_heat_vs_bare = 0, long_heat_vs_bare = 0;

// range(0) = 1: a heat recorded rotated (the picture shown is 1080 x 440); 2: an upright heat of 1080 x 440
// frames, the same picture shown without the turn, the fair plain field to set a rotated one beside; 3: the
// plain heat of 100,000 frames.
void Review_Step_Field(benchmark::State& state) {
    const bool rotated = state.range(0) == 1;
    Frm_kanot_2& window = Frm_kanot_2::Instance();
    const std::string path = std::filesystem::temp_directory_path() / "vantorel_review_bench.kd3";
    const bool landscape = state.range(0) == 2;
    const bool long_heat = state.range(0) == 3;
    std::filesystem::remove(path);
    Write_Heat(path, rotated, landscape, long_heat ? Long_Heat : Frames);
    Bare_decoder bare(landscape ? Height : Width, landscape ? Width : Height);
    window.show();
    window.Handle_Open_File(path);
    QApplication::processEvents();
    int32_t field = 1;
    double stepping = 0, decoding = 0;
    int64_t steps = 0, decodes = 0;
    constexpr int32_t Burst = 200;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        field = field % (2 * Frames) + 1;
        window.Set_Slider_Value(field);
        window.Slider_play_Scroll();
        QApplication::processEvents();
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(took);
        stepping += took;
        if (++steps % Burst == 0) {
            decoding += bare.Decode(Burst / 2);
            decodes += Burst / 2;
        }
    }
    state.SetItemsProcessed(state.iterations());
    if (decodes > 0) {
        state.counters["bare_decode_us"] = 1e6 * decoding / static_cast<double>(decodes);
        const double vs_bare = (2 * stepping / static_cast<double>(steps)) / (decoding / static_cast<double>(decodes));
        state.counters["per_frame_vs_bare"] = vs_bare;
        if (state.range(0) == 0) short_heat_vs_bare = vs_bare;
        if (long_heat) long_heat_vs_bare = vs_bare;
    }
    state.counters["fields/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(QGuiApplication::platformName().toStdString() + ", picture " +
                   std::to_string(window.Picture_large->width()) + " x " + std::to_string(window.Picture_large->height()) +
                   ", " + std::to_string(window.Slider_play->maximum()) + " fields");
    window.Close_File();
    window.hide();
    std::filesystem::remove(path);
}
BENCHMARK(Review_Step_Field)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->UseManualTime();

// Each heat's steps against the bare decodes taken in turns with them: the long heat's figure over the short one's.
void Long_Heat_Over_Short(benchmark::State& state) {
    for (auto _ : state) {
    }
    state.counters["long_over_short"] = short_heat_vs_bare > 0 ? long_heat_vs_bare / short_heat_vs_bare : 0;
}
BENCHMARK(Long_Heat_Over_Short)->Iterations(1);

// The same frames decoded by bare TurboJPEG into a bottom-up BGR picture, one frame per iteration.
void Bare_Decode(benchmark::State& state) {
    Bare_decoder bare(Width, Height);
    for (auto _ : state) bare.Decode(1);
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Bare_Decode)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // A data folder of its own, with an ini file, so the window's load finds its settings.
    const std::filesystem::path data = std::filesystem::temp_directory_path() / "vantorel_review_bench_data";
    std::filesystem::create_directories(data / "vantorel");
    std::ofstream(data / "vantorel" / "Vantorel_HDMI.ini") << "[Canoe]\r\nLane_num=6\r\n";
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qt_argc = 1;
    QApplication application(qt_argc, argv);
    Module_Vantorel::Install_Program_commands();
    Module_Vantorel::Vantorel_Mode = true;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
