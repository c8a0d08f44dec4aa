// Recording a heat: each 1920 x 1080 camera frame is cropped to 440 x 1080, compressed under the
// device's limit and appended to a kd3 file by the heat recorder, in turns with bare TurboJPEG compression
// of the same crops: after every 16 frames recorded, 16 compressed bare, so a machine whose speed drifts
// drifts for both. Figure: the recording's time per frame as a ratio of the bare compression's
// (`recording_over_bare`). The same recording again while a second thread paints the live preview as the
// window does at 50 frames/s (every second frame: the cropped picture scaled to the screen, then the
// course overlay; it paints nothing new while the bare side runs): `preview_over_recording`, the two ratios set side
// by side, and every frame must still be written.
#include "Camera_frames.h"
#include "capture/Heat_recorder.h"
#include "capture/cls_Capture_HDMI.h"
#include "platform/capturelib/Synthetic_source.h"
#include "platform/gdi/Picture_surface.h"
#include "platform/jpeg/Jpeg_codec.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_overlay.h"
#include "shell/Module_Vantorel.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr int Source_Width = 1920, Source_Height = 1080, Crop_W = 440, Crop_H = 1080, Frames = 16;

std::vector<cDIBSection>& Source_Frames() {
    static std::vector<cDIBSection> frames(Frames);
    static bool painted = false;
    if (!painted) {
        for (int i = 0; i < Frames; ++i) Paint_Camera_Frame(frames[static_cast<size_t>(i)], Source_Width, Source_Height, 7u + i);
        painted = true;
    }
    return frames;
}

// The recording's time per frame over the bare compression's in the same run: without and with the preview.
double recording_vs_bare = 0, preview_vs_bare = 0;

// The preview's picture box, 407 x 1000 as a 440 x 1080 crop shows on a 1000-pixel screen.
class Preview_surface : public gdi::Picture_surface {
public:
    Preview_surface() { dib.Create(407, 1000); }
    gdi::Device_context* hDC() override { return dib.hDC(); }
    double ScaleWidth() const override { return dib.Width(); }
    double ScaleHeight() const override { return dib.Height(); }
    cDIBSection dib;
};

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// The same centre crop the recording makes, then one encode, for each frame: bare TurboJPEG.
class Bare_encoder {
public:
    Bare_encoder() : out_(static_cast<size_t>(jpeg::Max_Stream_Size(Crop_W, Crop_H))) { crop_.Create(Crop_W, Crop_H); }

    // Compresses the next `count` frames; the seconds they took.
    double Encode(int count) {
        auto& frames = Source_Frames();
        const int64_t source_stride = frames[0].BytesPerScanLine();
        const double begin = Now();
        for (int n = 0; n < count; ++n) {
            const uint8_t* src = frames[static_cast<size_t>(next_++ % Frames)].DIBSectionBitsPtr();
            for (int r = 0; r < Crop_H; ++r)
                std::memcpy(crop_.DIBSectionBitsPtr() + int64_t{r} * crop_.BytesPerScanLine(),
                            src + r * source_stride + (Source_Width - Crop_W) / 2 * 3, Crop_W * 3);
            uint64_t size = out_.size();
            jpeg::Encode(crop_.DIBSectionBitsPtr(), Crop_W, crop_.BytesPerScanLine(), Crop_H, 80, out_.data(), size);
            benchmark::DoNotOptimize(size);
        }
        return Now() - begin;
    }

private:
    cDIBSection crop_;
    std::vector<uint8_t> out_;
    int next_ = 0;
};

void Record(benchmark::State& state, bool preview) {
    using namespace Module_Vantorel;
    const std::string folder = std::filesystem::temp_directory_path() / "vantorel_bench_recording";
    std::filesystem::create_directories(folder);
    Ini_file_path = folder + "/Vantorel_HDMI.ini";
    std::ofstream(Ini_file_path) << "[capturesettings]\nfriendlyname=" << capturelib::Synthetic_Friendly_Name
                                 << "\nvideoproperty=0\n";
    Full_Startup = true;
    Vantorel_Mode = true;
    JPG_Start_Quality = 80;
    cls_Capture_HDMI device;
    device.Set_Source_from_Saved();
    device.set_HDMI_Crop(Crop_W, Crop_H);
    device.Do_CROP(true);
    Heat_recorder recorder;
    device.HDMIreceived([&] { recorder.Frame(device); });
    device.Capture_Run();  // learns the source's size from the running format
    while (device.HDMI_events() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    device.Stop_Capture();
    // The limit from these frames themselves, so each is encoded once, as the bare run does.
    auto& frames = Source_Frames();
    const int32_t size = frames[0].SizeImage();
    device.set_HDMI_Crop(Crop_W, Crop_H);
    for (int f = 0; f < Frames; ++f)
        device.OnRGBEvent(nullptr, 0, frames[static_cast<size_t>(f)].DIBSectionBitsPtr(), size, 0, {f * 20, f * 20});
    device.Lock_Max_Direct_Compressed_size();

    const std::string path = folder + "/BenchHeat1.kd3";
    std::filesystem::remove(path);
    {
        cls_VideoFile_handler& store = recorder.Store(0);
        store.File_name(path);
        store.Create_File();
        store.Cropped_X(Crop_W);
        store.Cropped_Y(Crop_H);
        store.Create_KD3_header();
        store.Open_RGB_File();
        store.Set_JPG_Maxsize(device.JPG_Compression_Threshold());
        store.Write_KD3_header();
        store.Close_File();
    }
    auto lock = recorder.Lock();
    recorder.Open_Segment(0, path);
    lock.unlock();
    std::atomic<bool> painting{preview}, paused{false};
    std::thread painter;
    if (preview) {
        Lane_Collection = Default_Lanes();
        Lane_Count = 8;
        Setup_Goalline = {220, 108, 220, 972};
        Run_Mode = 1;
        Draw_Goalline = Draw_Lanemarks = true;
        Overlay_DIB().Create(Crop_W, Crop_H);
        painter = std::thread([&] {
            Preview_surface box;
            while (painting) {
                const auto next = std::chrono::steady_clock::now() + std::chrono::milliseconds(40);
                if (paused) {
                    std::this_thread::sleep_until(next);
                    continue;
                }
                device.Draw_Cropped_DIB(box);
                Clear_Graphics();
                Draw_Lane_Count = Lane_Count;
                Draw_lanes(false);
                Draw_Goal_line();
                Blit_Overlay(box.hDC(), box.dib.Width(), box.dib.Height());
                std::this_thread::sleep_until(next);
            }
        });
    }
    Bare_encoder bare;
    constexpr int Burst = 16;
    int i = 0;
    double recording = 0, encoding = 0;
    double begin = Now();
    for (auto _ : state) {
        device.OnRGBEvent(nullptr, 0, frames[static_cast<size_t>(i % Frames)].DIBSectionBitsPtr(), size, 0,
                          {1000 + i * 20, 1000 + i * 20});
        if (++i % Burst == 0) {
            recording += Now() - begin;
            paused = true;
            encoding += bare.Encode(Burst);
            paused = false;
            begin = Now();
        }
    }
    recording += Now() - begin;
    const double vs_bare = encoding > 0 ? (recording / i) / (encoding / (i / Burst * Burst)) : 0;
    (preview ? preview_vs_bare : recording_vs_bare) = vs_bare;
    state.counters["vs_bare"] = vs_bare;
    painting = false;
    if (painter.joinable()) painter.join();
    lock.lock();
    recorder.End_Segment();
    recorder.Store(0).Close_File();
    state.counters["frames_written"] = recorder.Frames_Written();
    state.counters["frames_dropped"] = static_cast<double>(state.iterations()) - recorder.Frames_Written();
    std::filesystem::remove_all(folder);
}

void Recording_Over_Bare(benchmark::State& state) {
    for (auto _ : state) {
    }
    state.counters["recording_over_bare"] = recording_vs_bare;
    state.counters["preview_over_recording"] = recording_vs_bare > 0 ? preview_vs_bare / recording_vs_bare : 0;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // the overlay draws lane numbers in a font
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("Recording", [](benchmark::State& s) { Record(s, false); })
        ->MinTime(3.0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Recording_with_preview", [](benchmark::State& s) { Record(s, true); })
        ->MinTime(3.0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Recording_Over_Bare", Recording_Over_Bare)->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
