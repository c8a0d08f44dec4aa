#pragma once
// Small DV material for the tests, made here with libavcodec's DV encoder and libavformat's muxers:
// frame k of a clip is grey, its upper field (rows 0, 2, 4, ...) at Upper_Luma(k) and its lower field
// at Lower_Luma(k), so a test tells frames and fields apart by a pixel.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dv_test {

inline int32_t Upper_Luma(int32_t k) { return 50 + 20 * k; }
inline int32_t Lower_Luma(int32_t k) { return Upper_Luma(k) + 60; }
// The grey a luma value shows as in a 24-bit picture (studio range).
inline int32_t Grey_Of(int32_t luma) { return (298 * (luma - 16) + 128) >> 8; }

// `count` DV frames: 720 x 576 (144000 bytes each), or 720 x 480 (120000 bytes) for `ntsc`.
std::vector<std::vector<uint8_t>> Encode_Frames(int32_t count, bool ntsc = false);
// `count` 720 x 576 DV frames whose luma at (x, y) of frame k (from 0) is `luma(k, x, y)`, chroma neutral.
std::vector<std::vector<uint8_t>> Encode_Pictures(int32_t count, const std::function<int32_t(int32_t, int32_t, int32_t)>& luma);

// The frames muxed into a file by libavformat: format "dv" (raw DV) or "avi" (DV in AVI, "dvsd").
void Mux(const std::string& path, const std::string& format, const std::vector<std::vector<uint8_t>>& frames,
         bool ntsc = false);

// JPEG frames muxed into an AVI file ("MJPG") whose headers give `width` x `height`, whatever the frames are.
void Mux_Jpeg_Avi(const std::string& path, const std::vector<std::vector<uint8_t>>& jpegs, int32_t width, int32_t height);

// An extra-data record ("SSCD") written into the frame at `at`: its time stamp, capture time, heat start
// and comment. The default place lies in the second DIF sequence's subcode, which the picture ignores.
void Put_Extra_Data(std::vector<uint8_t>& frame, int32_t capture_mill, int32_t heat_start = 0,
                    const std::string& comment = {}, int32_t at = 12083);

}  // namespace dv_test
