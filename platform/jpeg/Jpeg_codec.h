#pragma once
// JPEG in memory over TurboJPEG, straight between a stream buffer and 24-bit bottom-up
// blue-green-red rows padded to the given stride. Each thread keeps its own TurboJPEG handles for
// the whole run, so a call allocates nothing beyond what TurboJPEG needs itself.
#include <cstdint>
#include <string>

namespace jpeg {

// Results: 0 for success, else one of these codes.
enum : int32_t {
    Err_No_Handle = -1,         // TurboJPEG could not be started
    Err_Bad_Stream = -2,        // the stream's parameters cannot be read
    Err_Decode = -3,            // the picture cannot be decoded whole (damaged or truncated stream)
    Err_Encode = -4,            // the picture cannot be encoded
    Err_Buffer_Too_Small = -5,  // the stream does not fit the caller's buffer
    Err_Bad_Argument = -6,      // a size, stride or quality out of range
};

struct Stream_info {
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;  // 1 for a gray stream, else 3
};

// 0 when this thread's handles are ready.
int32_t Init();

int32_t Read_Header(const uint8_t* stream, uint64_t size, Stream_info& info);

// Decodes the whole picture into `rows` (width x height as the stream has them, bottom row first);
// a gray stream gives three equal bytes per pixel.
int32_t Decode(const uint8_t* stream, uint64_t size, uint8_t* rows, int32_t width, int32_t stride, int32_t height);

// Encodes the rows at `quality` (1 to 100, 4:2:0 chroma) into `out`. On entry `size` is the buffer's
// capacity; on success it is the stream's length. On failure `size` is unchanged.
int32_t Encode(const uint8_t* rows, int32_t width, int32_t stride, int32_t height, int32_t quality, uint8_t* out,
               uint64_t& size);

// The longest stream a picture of this size encodes to at any quality and sampling, marker segments of
// other encoders aside; 0 for a size that is no picture.
int64_t Max_Stream_Size(int32_t width, int32_t height);

// TurboJPEG's text for the last failure on this thread.
std::string Last_Error_Text();

}  // namespace jpeg
