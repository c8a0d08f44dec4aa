#pragma once
// One PAL DV frame (720 x 576, 144000 bytes) of a test picture, encoded once with libavcodec's DV
// encoder: eight colour bars over the top half, a grey ramp over the bottom half. It stands in for a
// recorded test frame in the store's picture benchmarks.
#include <cstdint>
#include <vector>

namespace video {

// Empty when no DV encoder is available.
const std::vector<uint8_t>& Dv_Test_Frame();

}  // namespace video
