#include "Synthetic_source.h"

#include "Gstreamer.h"

#include <gst/video/video.h>

#include <algorithm>
#include <cctype>
#include <array>
#include <string>

namespace capturelib {

namespace {

struct Box {
    int32_t x, y, w, h;
};

void Fill(uint8_t* bits, int32_t stride, int32_t width, int32_t height, Box b, uint8_t blue, uint8_t green,
          uint8_t red) {
    int32_t x0 = std::max(b.x, 0), x1 = std::min(b.x + b.w, width);
    int32_t y0 = std::max(b.y, 0), y1 = std::min(b.y + b.h, height);
    for (int32_t y = y0; y < y1; ++y) {
        uint8_t* p = bits + static_cast<ptrdiff_t>(y) * stride + x0 * 3;
        for (int32_t x = x0; x < x1; ++x, p += 3) p[0] = blue, p[1] = green, p[2] = red;
    }
}

// Segments a to g of a seven-segment digit, one bit each.
constexpr std::array<uint8_t, 10> Segments = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

struct Clock_geometry {
    int32_t digit_h, stroke, digit_w, pad;
    int32_t Separator_w() const { return 2 * stroke; }
};

Clock_geometry Geometry_For(int32_t height) {
    Clock_geometry g;
    g.digit_h = std::max(14, height / 12) & ~1;
    g.stroke = std::max(2, g.digit_h / 8);
    g.digit_w = g.digit_h / 2 + g.stroke;
    g.pad = g.stroke;
    return g;
}

GstPadProbeReturn Draw_Clock_On_Buffer(GstPad* pad, GstPadProbeInfo* info, gpointer) {
    GstBuffer* buffer = gst_pad_probe_info_get_buffer(info);
    if (!buffer) return GST_PAD_PROBE_OK;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps) return GST_PAD_PROBE_OK;
    GstVideoInfo video;
    bool ok = gst_video_info_from_caps(&video, caps) && GST_VIDEO_INFO_FORMAT(&video) == GST_VIDEO_FORMAT_BGR;
    gst_caps_unref(caps);
    if (!ok) return GST_PAD_PROBE_OK;
    buffer = gst_buffer_make_writable(buffer);
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &video, buffer, GST_MAP_WRITE)) return GST_PAD_PROBE_OK;
    GstClockTime pts = GST_BUFFER_PTS(buffer);
    Draw_Clock_Panel(static_cast<uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)), GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0),
                     GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame),
                     GST_CLOCK_TIME_IS_VALID(pts) ? static_cast<int64_t>(pts / GST_MSECOND) : 0);
    gst_video_frame_unmap(&frame);
    return GST_PAD_PROBE_OK;
}

Video_format Bgr(int32_t width, int32_t height, int32_t fps) { return {"video/x-raw", "BGR", width, height, fps, 1}; }

}  // namespace

void Draw_Clock_Panel(uint8_t* bits, int32_t stride, int32_t width, int32_t height, int64_t running_ms) {
    Clock_geometry g = Geometry_For(height);
    int64_t hundredths = running_ms / 10;
    int seconds = static_cast<int>(hundredths / 100 % 60), minutes = static_cast<int>(hundredths / 6000 % 100);
    int cents = static_cast<int>(hundredths % 100);
    const std::string text = {char('0' + minutes / 10), char('0' + minutes % 10), ':', char('0' + seconds / 10),
                              char('0' + seconds % 10), ',', char('0' + cents / 10), char('0' + cents % 10)};
    int32_t panel_w = g.pad;
    for (char c : text) panel_w += (std::isdigit(static_cast<unsigned char>(c)) ? g.digit_w : g.Separator_w()) + g.pad;
    Fill(bits, stride, width, height, {0, 0, panel_w, g.digit_h + 2 * g.pad}, 0, 220, 255);
    int32_t x = g.pad, top = g.pad, half = g.digit_h / 2, s = g.stroke, w = g.digit_w;
    auto ink = [&](Box b) { Fill(bits, stride, width, height, {x + b.x, top + b.y, b.w, b.h}, 0, 0, 0); };
    for (char c : text) {
        if (c == ':') {
            ink({0, half / 2, s, s});
            ink({0, half + half / 2, s, s});
        } else if (c == ',') {
            ink({0, g.digit_h - s, s, s + s / 2});
        } else {
            uint8_t on = Segments[static_cast<size_t>(c - '0')];
            const Box segments[7] = {{s, 0, w - 2 * s, s},        {w - s, s, s, half - s},      {w - s, half, s, half - s},
                                     {s, g.digit_h - s, w - 2 * s, s}, {0, half, s, half - s}, {0, s, s, half - s},
                                     {s, half - s / 2, w - 2 * s, s}};
            for (int i = 0; i < 7; ++i)
                if (on & (1 << i)) ink(segments[i]);
        }
        x += (std::isdigit(static_cast<unsigned char>(c)) ? w : g.Separator_w()) + g.pad;
    }
}

GstElement* Make_Synthetic_Element() {
    Ensure_Gstreamer();
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* test = gst_element_factory_make("videotestsrc", nullptr);
    if (!test) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    g_object_set(test, "is-live", TRUE, "background-color", 0xFF183048u, "foreground-color", 0xFFFFFFF0u, nullptr);
    gst_util_set_object_arg(G_OBJECT(test), "pattern", "ball");
    gst_util_set_object_arg(G_OBJECT(test), "motion", "hsweep");
    gst_bin_add(GST_BIN(bin), test);
    GstPad* pad = gst_element_get_static_pad(test, "src");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, Draw_Clock_On_Buffer, nullptr, nullptr);
    gst_element_add_pad(bin, gst_ghost_pad_new("src", pad));
    gst_object_unref(pad);
    return bin;
}

Video_source Synthetic_Source() {
    Video_source source;
    source.friendly_name = Synthetic_Friendly_Name;
    source.description = "Synthetic test picture: a ball crossing the picture and a running clock";
    source.device_path = "videotestsrc";
    source.formats = {Bgr(1920, 1080, 50), Bgr(1920, 1080, 25), Bgr(1280, 720, 50), Bgr(1280, 720, 25),
                      Bgr(720, 576, 25),   Bgr(640, 480, 30),   Bgr(320, 240, 25)};
    source.make_element = Make_Synthetic_Element;
    return source;
}

}  // namespace capturelib
