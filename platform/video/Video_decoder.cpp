#include "Video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace video {

namespace {

uint32_t Fourcc_Value(const std::string& fourcc) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && i < fourcc.size(); ++i) value |= uint32_t{static_cast<uint8_t>(fourcc[i])} << (8 * i);
    return value;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// BT.601 in 8.8 fixed point, for studio range (Y 16..235) and for full range.
struct Yuv_tables {
    std::array<int32_t, 256> y{}, rv{}, gu{}, gv{}, bu{};
    explicit Yuv_tables(bool full) {
        for (int32_t i = 0; i < 256; ++i) {
            const int32_t c = i - 128;
            if (full) {
                y[i] = 256 * i + 128;
                rv[i] = 359 * c;
                gu[i] = -88 * c;
                gv[i] = -183 * c;
                bu[i] = 454 * c;
            } else {
                y[i] = 298 * (i - 16) + 128;
                rv[i] = 409 * c;
                gu[i] = -100 * c;
                gv[i] = -208 * c;
                bu[i] = 516 * c;
            }
        }
    }
};

inline uint8_t Clip(int32_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 65535 ? 255 : v >> 8); }

}  // namespace

struct Video_decoder::State {
    AVCodecContext* context = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;

    ~State() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&context);
    }
};

Video_decoder::Video_decoder() = default;
Video_decoder::~Video_decoder() = default;

bool Video_decoder::Is_DV_Fourcc(const std::string& fourcc) {
    static const char* const dv[] = {"dvsd", "dv25", "dvsl", "dvhd", "dv50", "cdvc", "cdvh", "msdv", "dvcs",
                                     "dvc ", "dvcp", "dvpp", "dvh1", "pdvc", "ipdv"};
    const std::string name = Lower(fourcc);
    return std::find(std::begin(dv), std::end(dv), name) != std::end(dv);
}

bool Video_decoder::Open(const std::string& fourcc) {
    // A damaged frame is answered by Decode's result; the library's own complaints stay off stderr.
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_FATAL);
        return true;
    }();
    (void)quiet;
    Close();
    AVCodecID id = AV_CODEC_ID_NONE;
    if (fourcc.empty() || Is_DV_Fourcc(fourcc)) {
        id = AV_CODEC_ID_DVVIDEO;
    } else if (fourcc.size() == 4) {
        const AVCodecTag* const tags[] = {avformat_get_riff_video_tags(), nullptr};
        id = av_codec_get_id(tags, Fourcc_Value(fourcc));
    }
    const AVCodec* codec = id == AV_CODEC_ID_NONE ? nullptr : avcodec_find_decoder(id);
    if (!codec) return false;
    auto state = std::make_unique<State>();
    state->context = avcodec_alloc_context3(codec);
    state->packet = av_packet_alloc();
    state->frame = av_frame_alloc();
    if (!state->context || !state->packet || !state->frame) return false;
    state->context->codec_tag = Fourcc_Value(fourcc);
    if (avcodec_open2(state->context, codec, nullptr) < 0) return false;
    state_ = std::move(state);
    return true;
}

bool Video_decoder::Is_Open() const { return state_ != nullptr; }

void Video_decoder::Close() {
    state_.reset();
    has_picture_ = false;
}

bool Video_decoder::Decode(const uint8_t* data, size_t size) {
    has_picture_ = false;
    if (!state_ || !data || size == 0 || size > static_cast<size_t>(INT32_MAX)) return false;
    av_frame_unref(state_->frame);
    AVPacket* packet = state_->packet;
    packet->data = const_cast<uint8_t*>(data);
    packet->size = static_cast<int>(size);
    packet->flags = AV_PKT_FLAG_KEY;
    int sent = avcodec_send_packet(state_->context, packet);
    packet->data = nullptr;
    packet->size = 0;
    if (sent < 0) return false;
    // Every frame stands alone: a codec that holds frames back is drained so each call shows its own.
    int received = avcodec_receive_frame(state_->context, state_->frame);
    if (received == AVERROR(EAGAIN)) {
        avcodec_send_packet(state_->context, nullptr);
        received = avcodec_receive_frame(state_->context, state_->frame);
        avcodec_flush_buffers(state_->context);
    }
    if (received < 0 || (state_->frame->decode_error_flags != 0)) {
        av_frame_unref(state_->frame);
        return false;
    }
    has_picture_ = state_->frame->width > 0 && state_->frame->height > 0;
    return has_picture_;
}

int32_t Video_decoder::Width() const { return has_picture_ ? state_->frame->width : 0; }
int32_t Video_decoder::Height() const { return has_picture_ ? state_->frame->height : 0; }

bool Video_decoder::To_BGR(uint8_t* bits, int32_t stride, int32_t width, int32_t height) const {
    if (!has_picture_ || !bits || width != Width() || height != Height() || stride < width * 3) return false;
    const AVFrame* f = state_->frame;
    const auto format = static_cast<AVPixelFormat>(f->format);
    if (format == AV_PIX_FMT_BGR24 || format == AV_PIX_FMT_RGB24) {
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* in = f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0];
            uint8_t* out = bits + static_cast<ptrdiff_t>(height - 1 - y) * stride;
            if (format == AV_PIX_FMT_BGR24) {
                std::memcpy(out, in, static_cast<size_t>(width) * 3);
            } else {
                for (int32_t x = 0; x < width; ++x) {
                    out[3 * x] = in[3 * x + 2];
                    out[3 * x + 1] = in[3 * x + 1];
                    out[3 * x + 2] = in[3 * x];
                }
            }
        }
        return true;
    }
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    const bool planar_yuv = desc && desc->nb_components >= 3 && (desc->flags & AV_PIX_FMT_FLAG_PLANAR) &&
                            !(desc->flags & AV_PIX_FMT_FLAG_RGB) && desc->comp[0].depth == 8 &&
                            desc->comp[1].depth == 8 && desc->comp[2].depth == 8 && desc->comp[1].plane == 1 &&
                            desc->comp[2].plane == 2;
    if (!planar_yuv) return false;
    const bool full = f->color_range == AVCOL_RANGE_JPEG || format == AV_PIX_FMT_YUVJ420P ||
                      format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P || format == AV_PIX_FMT_YUVJ411P ||
                      format == AV_PIX_FMT_YUVJ440P;
    static const Yuv_tables studio(false);
    static const Yuv_tables full_range(true);
    const Yuv_tables& t = full ? full_range : studio;
    const int sw = desc->log2_chroma_w;
    const int sh = desc->log2_chroma_h;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* py = f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0];
        const uint8_t* pu = f->data[1] + static_cast<ptrdiff_t>(y >> sh) * f->linesize[1];
        const uint8_t* pv = f->data[2] + static_cast<ptrdiff_t>(y >> sh) * f->linesize[2];
        uint8_t* out = bits + static_cast<ptrdiff_t>(height - 1 - y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            const int32_t c = t.y[py[x]];
            const uint8_t u = pu[x >> sw];
            const uint8_t v = pv[x >> sw];
            out[0] = Clip(c + t.bu[u]);
            out[1] = Clip(c + t.gu[u] + t.gv[v]);
            out[2] = Clip(c + t.rv[v]);
            out += 3;
        }
    }
    return true;
}

}  // namespace video
