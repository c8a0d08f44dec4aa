#include "Dv_test_files.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace dv_test {

namespace {

std::vector<std::vector<uint8_t>> Encode(int32_t count, bool ntsc, const std::function<int32_t(int32_t, int32_t, int32_t)>& luma) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_DVVIDEO);
    if (!codec) throw std::runtime_error("no DV encoder");
    AVCodecContext* context = avcodec_alloc_context3(codec);
    context->width = 720;
    context->height = ntsc ? 480 : 576;
    context->pix_fmt = ntsc ? AV_PIX_FMT_YUV411P : AV_PIX_FMT_YUV420P;
    context->time_base = ntsc ? AVRational{1001, 30000} : AVRational{1, 25};
    if (avcodec_open2(context, codec, nullptr) < 0) throw std::runtime_error("DV encoder refused");
    AVFrame* frame = av_frame_alloc();
    frame->format = context->pix_fmt;
    frame->width = context->width;
    frame->height = context->height;
    av_frame_get_buffer(frame, 0);
    AVPacket* packet = av_packet_alloc();
    std::vector<std::vector<uint8_t>> frames;
    for (int32_t k = 0; k < count; ++k) {
        av_frame_make_writable(frame);
        for (int32_t y = 0; y < frame->height; ++y)
            for (int32_t x = 0; x < frame->width; ++x)
                frame->data[0][y * frame->linesize[0] + x] = static_cast<uint8_t>(luma(k, x, y));
        const int32_t chroma_rows = ntsc ? frame->height : frame->height / 2;
        for (int plane = 1; plane <= 2; ++plane)
            for (int32_t y = 0; y < chroma_rows; ++y)
                std::memset(frame->data[plane] + y * frame->linesize[plane], 128, static_cast<size_t>(frame->linesize[plane]));
        frame->pts = k;
        avcodec_send_frame(context, frame);
        while (avcodec_receive_packet(context, packet) == 0) {
            frames.emplace_back(packet->data, packet->data + packet->size);
            av_packet_unref(packet);
        }
    }
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
    return frames;
}

}  // namespace

std::vector<std::vector<uint8_t>> Encode_Frames(int32_t count, bool ntsc) {
    return Encode(count, ntsc, [](int32_t k, int32_t, int32_t y) { return y % 2 == 0 ? Upper_Luma(k) : Lower_Luma(k); });
}

std::vector<std::vector<uint8_t>> Encode_Pictures(int32_t count, const std::function<int32_t(int32_t, int32_t, int32_t)>& luma) {
    return Encode(count, false, luma);
}

namespace {

struct Video_Stream {
    AVCodecID codec;
    int32_t width, height;
    AVPixelFormat format;
    AVRational frame_time;
};

void Write_Stream(const std::string& path, const std::string& format, const Video_Stream& video,
                  const std::vector<std::vector<uint8_t>>& frames) {
    AVFormatContext* output = nullptr;
    if (avformat_alloc_output_context2(&output, nullptr, format.c_str(), path.c_str()) < 0)
        throw std::runtime_error("no muxer " + format);
    AVStream* stream = avformat_new_stream(output, nullptr);
    stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    stream->codecpar->codec_id = video.codec;
    stream->codecpar->width = video.width;
    stream->codecpar->height = video.height;
    stream->codecpar->format = video.format;
    stream->time_base = video.frame_time;
    stream->avg_frame_rate = av_inv_q(video.frame_time);
    if (avio_open(&output->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) throw std::runtime_error("cannot write " + path);
    if (avformat_write_header(output, nullptr) < 0) throw std::runtime_error("muxer refused " + path);
    AVPacket* packet = av_packet_alloc();
    int64_t pts = 0;
    for (const auto& bytes : frames) {
        av_new_packet(packet, static_cast<int>(bytes.size()));
        std::memcpy(packet->data, bytes.data(), bytes.size());
        packet->stream_index = 0;
        packet->pts = packet->dts = av_rescale_q(pts++, video.frame_time, stream->time_base);
        packet->duration = av_rescale_q(1, video.frame_time, stream->time_base);
        packet->flags = AV_PKT_FLAG_KEY;
        av_interleaved_write_frame(output, packet);
    }
    av_packet_free(&packet);
    av_write_trailer(output);
    avio_closep(&output->pb);
    avformat_free_context(output);
}

}  // namespace

void Mux(const std::string& path, const std::string& format, const std::vector<std::vector<uint8_t>>& frames, bool ntsc) {
    Write_Stream(path, format,
                 {AV_CODEC_ID_DVVIDEO, 720, ntsc ? 480 : 576, ntsc ? AV_PIX_FMT_YUV411P : AV_PIX_FMT_YUV420P,
                  ntsc ? AVRational{1001, 30000} : AVRational{1, 25}},
                 frames);
}

void Mux_Jpeg_Avi(const std::string& path, const std::vector<std::vector<uint8_t>>& jpegs, int32_t width, int32_t height) {
    Write_Stream(path, "avi", {AV_CODEC_ID_MJPEG, width, height, AV_PIX_FMT_YUVJ420P, AVRational{1, 25}}, jpegs);
}

void Put_Extra_Data(std::vector<uint8_t>& frame, int32_t capture_mill, int32_t heat_start, const std::string& comment,
                    int32_t at) {
    uint8_t* record = frame.data() + at;
    std::memset(record, 0, 190);
    std::memcpy(record, "SSCD", 4);
    auto put = [&](int offset, int32_t value) {
        for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    };
    put(12, capture_mill);
    put(24, capture_mill);
    put(28, heat_start);
    std::memcpy(record + 82, comment.data(), std::min<size_t>(comment.size(), 80));
}

}  // namespace dv_test
