// Random DV frames of a raw DV file: read through the store and decoded through the program's decoder
// layer, beside libavcodec's bare decode of the same frames from memory in the same run; and the
// review's whole frame (read, decode, conversion to the 24-bit frame image) for comparison.
#include "Camera_frames.h"
#include "platform/video/Video_decoder.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int32_t Frames = 25;

// Camera-like pictures encoded as 625-line DV frames.
const std::vector<std::vector<uint8_t>>& Dv_Frames() {
    static const std::vector<std::vector<uint8_t>> frames = [] {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_DVVIDEO);
        AVCodecContext* context = avcodec_alloc_context3(codec);
        context->width = 720;
        context->height = 576;
        context->pix_fmt = AV_PIX_FMT_YUV420P;
        context->time_base = {1, 25};
        avcodec_open2(context, codec, nullptr);
        AVFrame* frame = av_frame_alloc();
        frame->format = context->pix_fmt;
        frame->width = 720;
        frame->height = 576;
        av_frame_get_buffer(frame, 0);
        AVPacket* packet = av_packet_alloc();
        std::vector<std::vector<uint8_t>> out;
        cDIBSection dib;
        for (int32_t n = 0; n < Frames; ++n) {
            Paint_Camera_Frame(dib, 720, 576, static_cast<uint32_t>(n + 1));
            av_frame_make_writable(frame);
            for (int32_t y = 0; y < 576; ++y) {
                const uint8_t* p = dib.DIBSectionBitsPtr() + (575 - y) * dib.BytesPerScanLine();
                for (int32_t x = 0; x < 720; ++x, p += 3) {
                    const int b = p[0], g = p[1], r = p[2];
                    frame->data[0][y * frame->linesize[0] + x] = static_cast<uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
                    if (y % 2 == 0 && x % 2 == 0) {
                        frame->data[1][(y / 2) * frame->linesize[1] + x / 2] =
                            static_cast<uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
                        frame->data[2][(y / 2) * frame->linesize[2] + x / 2] =
                            static_cast<uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
                    }
                }
            }
            frame->pts = n;
            avcodec_send_frame(context, frame);
            while (avcodec_receive_packet(context, packet) == 0) {
                out.emplace_back(packet->data, packet->data + packet->size);
                av_packet_unref(packet);
            }
        }
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&context);
        return out;
    }();
    return frames;
}

std::string Dv_File() {
    static const std::string path = [] {
        auto folder = std::filesystem::temp_directory_path() / "vantorel_dv_bench";
        std::filesystem::create_directories(folder);
        Module_Vantorel::AppData_Folder = folder.string();
        const std::string file = (folder / "clip.dv").string();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (const auto& f : Dv_Frames()) out.write(reinterpret_cast<const char*>(f.data()), static_cast<std::streamsize>(f.size()));
        return file;
    }();
    return path;
}

std::vector<int32_t> Random_Frames() {
    std::mt19937 random(7);
    std::vector<int32_t> order;
    int32_t last = 0;
    while (order.size() < 1000) {
        auto n = static_cast<int32_t>(random() % Frames) + 1;
        if (n == last) continue;
        order.push_back(last = n);
    }
    return order;
}

// The store reads the frame from the file; the decoder layer decodes it.
void Dv_Store_Read_Decode(benchmark::State& state) {
    cls_VideoFile_handler store;
    store.Open_File(Dv_File(), 0);
    video::Video_decoder decoder;
    decoder.Open("");
    const std::vector<int32_t> order = Random_Frames();
    size_t i = 0;
    for (auto _ : state) {
        store.Read_Frame(order[i++ % order.size()], 1);
        if (!decoder.Decode(store.Frame_Data_Address(), static_cast<size_t>(store.Frame_Data_Size())))
            state.SkipWithError("a frame did not decode");
    }
    store.Close_File();
}
BENCHMARK(Dv_Store_Read_Decode)->Unit(benchmark::kMicrosecond);

// The same frames in the same order, decoded by bare libavcodec from memory.
void Bare_DV_Decode(benchmark::State& state) {
    const auto& frames = Dv_Frames();
    AVCodecContext* context = avcodec_alloc_context3(avcodec_find_decoder(AV_CODEC_ID_DVVIDEO));
    avcodec_open2(context, context->codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const std::vector<int32_t> order = Random_Frames();
    size_t i = 0;
    for (auto _ : state) {
        const auto& bytes = frames[static_cast<size_t>(order[i++ % order.size()] - 1)];
        packet->data = const_cast<uint8_t*>(bytes.data());
        packet->size = static_cast<int>(bytes.size());
        avcodec_send_packet(context, packet);
        if (avcodec_receive_frame(context, frame) < 0) state.SkipWithError("a frame did not decode");
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
}
BENCHMARK(Bare_DV_Decode)->Unit(benchmark::kMicrosecond);

// The review's frame: read, decode and conversion into the 24-bit frame image.
void Dv_Review_Frame(benchmark::State& state) {
    cls_VideoFile_handler store;
    store.Open_File(Dv_File(), 0);
    const std::vector<int32_t> order = Random_Frames();
    size_t i = 0;
    for (auto _ : state) {
        store.Read_RGB_sample(order[i++ % order.size()], true);
        benchmark::DoNotOptimize(store.Frame_Image().DIBSectionBitsPtr());
    }
    store.Close_File();
}
BENCHMARK(Dv_Review_Frame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
