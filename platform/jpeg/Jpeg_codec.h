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

// One coding call's parameters, by the names its callers give them. The picture side is three bytes a
// pixel, blue-green-red, each row followed by DIBPadBytes; a negative DIBHeight says the rows are stored
// bottom-up, the only way pictures are stored here (a positive one is refused).
enum : int32_t { Color_BGR = 2, Color_YCbCr = 3, Color_Gray = 4 };
enum : int32_t { Sampling_420 = 1 };
struct Core_properties {
    uint8_t* DIBBytes = nullptr;
    int32_t DIBWidth = 0;
    int32_t DIBHeight = 0;
    int32_t DIBPadBytes = 0;
    int32_t DIBChannels = 3;
    int32_t DIBColor = Color_BGR;
    uint8_t* JPGBytes = nullptr;  // only read when decoding
    uint64_t JPGSizeBytes = 0;
    int32_t JPGWidth = 0;
    int32_t JPGHeight = 0;
    int32_t JPGChannels = 3;
    int32_t JPGColor = Color_YCbCr;
    int32_t JPGSubsampling = Sampling_420;
    int32_t jquality = 0;
};

// The stream's size and channels into JPGWidth, JPGHeight and JPGChannels; JPGColor then says gray or not.
int32_t Read_Params(Core_properties& properties);
// The whole picture of the stream into DIBBytes, which must be the stream's size.
int32_t Read_Whole_Image(const Core_properties& properties);
// The picture at DIBBytes as a stream at jquality into JPGBytes: JPGSizeBytes is the capacity on entry
// and the stream's length on success, unchanged on failure.
int32_t Write_Whole_Image(Core_properties& properties);

// TurboJPEG's text for the last failure on this thread.
std::string Last_Error_Text();

}  // namespace jpeg
