#pragma once
// One compressed video frame at a time decoded into a 24-bit bottom-up picture. The codec is named by
// the FourCC of an AVI stream; an empty name, or any of the DV codes, means DV. Decoding and the
// conversion to blue-green-red are two steps, so a caller may decode without drawing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace video {

class Video_decoder {
public:
    Video_decoder();
    ~Video_decoder();
    Video_decoder(const Video_decoder&) = delete;
    Video_decoder& operator=(const Video_decoder&) = delete;

    // Whether a decoder for the FourCC exists; the previous one is released either way.
    bool Open(const std::string& fourcc);
    bool Is_Open() const;
    void Close();

    // Decodes one whole frame; false when the data is no frame the codec can read. The picture of a
    // failed decode is dropped, so nothing of an earlier frame can be shown in its place.
    bool Decode(const uint8_t* data, size_t size);
    bool Has_Picture() const { return has_picture_; }
    int32_t Width() const;
    int32_t Height() const;

    // Converts the decoded picture into `bits` (rows of `stride` bytes, bottom-up). The target must be
    // the picture's size; false when it is not, when there is no picture, or when its pixel format is
    // not one of the planar 8-bit YUV or packed 24-bit formats.
    bool To_BGR(uint8_t* bits, int32_t stride, int32_t width, int32_t height) const;

    // Whether the FourCC names DV video.
    static bool Is_DV_Fourcc(const std::string& fourcc);

private:
    struct State;
    std::unique_ptr<State> state_;
    bool has_picture_ = false;
};

}  // namespace video
