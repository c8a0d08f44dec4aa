#include "Dv_test_frame.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <array>

namespace video {

namespace {

std::vector<uint8_t> Encode_Test_Frame() {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_DVVIDEO);
    if (!codec) return {};
    AVCodecContext* context = avcodec_alloc_context3(codec);
    context->width = 720;
    context->height = 576;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = {1, 25};
    std::vector<uint8_t> out;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    if (avcodec_open2(context, codec, nullptr) >= 0 && frame && packet) {
        frame->format = context->pix_fmt;
        frame->width = 720;
        frame->height = 576;
        if (av_frame_get_buffer(frame, 0) >= 0) {
            // White, yellow, cyan, green, magenta, red, blue, black at 75 %, in studio-range Y, U, V.
            static constexpr std::array<std::array<uint8_t, 3>, 8> bars{{{180, 128, 128}, {162, 44, 142}, {131, 156, 44},
                                                                         {112, 72, 58}, {84, 184, 198}, {65, 100, 212},
                                                                         {35, 212, 114}, {16, 128, 128}}};
            for (int32_t y = 0; y < 576; ++y)
                for (int32_t x = 0; x < 720; ++x)
                    frame->data[0][y * frame->linesize[0] + x] =
                        y < 288 ? bars[static_cast<size_t>(x / 90)][0] : static_cast<uint8_t>(16 + x * 219 / 719);
            for (int32_t y = 0; y < 288; ++y)
                for (int32_t x = 0; x < 360; ++x) {
                    const bool bar = y < 144;
                    frame->data[1][y * frame->linesize[1] + x] = bar ? bars[static_cast<size_t>(x / 45)][1] : 128;
                    frame->data[2][y * frame->linesize[2] + x] = bar ? bars[static_cast<size_t>(x / 45)][2] : 128;
                }
            frame->pts = 0;
            if (avcodec_send_frame(context, frame) >= 0) {
                avcodec_send_frame(context, nullptr);
                if (avcodec_receive_packet(context, packet) == 0) out.assign(packet->data, packet->data + packet->size);
            }
        }
    }
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
    return out;
}

}  // namespace

const std::vector<uint8_t>& Dv_Test_Frame() {
    static const std::vector<uint8_t> frame = Encode_Test_Frame();
    return frame;
}

}  // namespace video
