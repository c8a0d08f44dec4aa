#pragma once
// The two format records the library hands out by address: the media type of a format and its
// video-info block. Only the fields the system reads are kept.
#include <cstdint>

namespace capturelib {

// Fourcc codes of the source formats; 0 for uncompressed blue-green-red.
inline constexpr uint32_t BI_RGB = 0;
constexpr uint32_t Fourcc(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

struct VIDEOINFOHEADER {
    int64_t AvgTimePerFrame = 0;  // in units of 100 ns
    int32_t biWidth = 0;
    int32_t biHeight = 0;         // positive: the pictures are delivered bottom-up
    uint32_t biCompression = 0;   // the source's own coding
    uint32_t biSizeImage = 0;     // bytes of one delivered 24-bit picture
};

struct AM_MEDIA_TYPE {
    const VIDEOINFOHEADER* pbFormat = nullptr;  // none for a record without a format block
};

}  // namespace capturelib
