// Our JPEG binding against bare TurboJPEG calls on the same pixels, at the crop sizes the capture
// uses and at full HD, quality 80.
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "Camera_frames.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>
#include <vector>

namespace {

constexpr int32_t Quality = 80;


struct Frame {
    Frame(int32_t width, int32_t height) {
        Paint_Camera_Frame(dib, width, height);
        capacity = tjBufSize(width, height, TJSAMP_420);
        out.resize(capacity);
        int32_t size = static_cast<int32_t>(capacity);
        mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, Quality);
        stream.assign(out.begin(), out.begin() + size);
    }
    cDIBSection dib;
    unsigned long capacity;
    std::vector<uint8_t> out;
    std::vector<uint8_t> stream;
};

void Binding_Encode(benchmark::State& state) {
    Frame frame(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    // range(2) = 1: a buffer of the worst-case size; 0: a record buffer of twice the stream's length.
    const auto capacity = static_cast<int32_t>(state.range(2) ? frame.capacity : 2 * frame.stream.size());
    for (auto _ : state) {
        int32_t size = capacity;
        mIntelJPEGLibrary::Encode_DIB_To_JPG(frame.dib, frame.out.data(), size, Quality);
        benchmark::DoNotOptimize(size);
    }
}

void Bare_Encode(benchmark::State& state) {
    Frame frame(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    tjhandle handle = tjInitCompress();
    for (auto _ : state) {
        unsigned char* out = frame.out.data();
        unsigned long size = frame.capacity;
        tjCompress2(handle, frame.dib.DIBSectionBitsPtr(), frame.dib.Width(), frame.dib.BytesPerScanLine(),
                    frame.dib.Height(), TJPF_BGR, &out, &size, TJSAMP_420, Quality, TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC);
        benchmark::DoNotOptimize(size);
    }
    tjDestroy(handle);
}

void Binding_Decode(benchmark::State& state) {
    Frame frame(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    cDIBSection target;
    for (auto _ : state) {
        bool ok = mIntelJPEGLibrary::Decode_JPG_To_DIB(target, frame.stream.data(), static_cast<int32_t>(frame.stream.size()));
        benchmark::DoNotOptimize(ok);
    }
}

void Bare_Decode(benchmark::State& state) {
    Frame frame(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    cDIBSection target;
    target.Create(frame.dib.Width(), frame.dib.Height());
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        int width = 0, height = 0, subsampling = 0, colourspace = 0;
        tjDecompressHeader3(handle, frame.stream.data(), frame.stream.size(), &width, &height, &subsampling, &colourspace);
        int result = tjDecompress2(handle, frame.stream.data(), frame.stream.size(), target.DIBSectionBitsPtr(), width,
                                   target.BytesPerScanLine(), height, TJPF_BGR, TJFLAG_BOTTOMUP);
        benchmark::DoNotOptimize(result);
    }
    tjDestroy(handle);
}

}  // namespace

BENCHMARK(Binding_Encode)->Args({440, 1080, 1})->Args({440, 1080, 0})->Args({1920, 1080, 1})->Args({1920, 1080, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Bare_Encode)->Args({440, 1080})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(Binding_Decode)->Args({440, 1080})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(Bare_Decode)->Args({440, 1080})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
