#include "platform/jpeg/Jpeg_codec.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// A picture of w x h with padded rows: the top half red, the bottom half blue, padding bytes 0xAB.
std::vector<uint8_t> Two_Halves(int32_t w, int32_t h, int32_t stride) {
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * h, 0xAB);
    for (int32_t r = 0; r < h; ++r)  // r = 0 is the bottom row
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = &rows[static_cast<size_t>(r) * stride + 3 * x];
            const bool top = r >= h / 2;
            p[0] = top ? 0 : 255;
            p[1] = 0;
            p[2] = top ? 255 : 0;
        }
    return rows;
}

std::vector<uint8_t> Encode(int32_t w, int32_t h, int32_t stride) {
    auto rows = Two_Halves(w, h, stride);
    std::vector<uint8_t> out(1 << 20);
    uint64_t size = out.size();
    EXPECT_EQ(jpeg::Encode(rows.data(), w, stride, h, 80, out.data(), size), 0);
    out.resize(size);
    return out;
}

TEST(Jpeg_codec, Round_trip_keeps_orientation_and_leaves_the_padding) {
    const int32_t w = 33, h = 16, stride = 100;
    auto stream = Encode(w, h, stride);
    ASSERT_GT(stream.size(), 4u);
    EXPECT_EQ(stream[0], 0xFF);
    EXPECT_EQ(stream[1], 0xD8);

    jpeg::Stream_info info;
    ASSERT_EQ(jpeg::Read_Header(stream.data(), stream.size(), info), 0);
    EXPECT_EQ(info.width, w);
    EXPECT_EQ(info.height, h);
    EXPECT_EQ(info.channels, 3);

    std::vector<uint8_t> rows(static_cast<size_t>(stride) * h, 0xCD);
    ASSERT_EQ(jpeg::Decode(stream.data(), stream.size(), rows.data(), w, stride, h), 0);
    const uint8_t* top = &rows[static_cast<size_t>(h - 1) * stride];
    const uint8_t* bottom = &rows[0];
    EXPECT_GT(top[2], 200);
    EXPECT_LT(top[0], 60);
    EXPECT_GT(bottom[0], 200);
    EXPECT_LT(bottom[2], 60);
    for (int32_t r = 0; r < h; ++r)
        for (int32_t i = 3 * w; i < stride; ++i) ASSERT_EQ(rows[static_cast<size_t>(r) * stride + i], 0xCD);
}

TEST(Jpeg_codec, A_buffer_too_small_is_refused_without_writing_past_it) {
    const int32_t w = 64, h = 64, stride = 192;
    auto rows = Two_Halves(w, h, stride);
    for (uint64_t capacity : {uint64_t{0}, uint64_t{1}, uint64_t{100}}) {
        std::vector<uint8_t> out(static_cast<size_t>(capacity) + 1);  // an exact heap block: ASan sees any overrun
        uint64_t size = capacity;
        EXPECT_EQ(jpeg::Encode(rows.data(), w, stride, h, 80, out.data(), size), jpeg::Err_Buffer_Too_Small);
        EXPECT_EQ(size, capacity);
    }
    // A buffer that just fits takes the whole stream.
    auto reference = Encode(w, h, stride);
    std::vector<uint8_t> exact(reference.size());
    uint64_t size = exact.size();
    ASSERT_EQ(jpeg::Encode(rows.data(), w, stride, h, 80, exact.data(), size), 0);
    EXPECT_EQ(exact, reference);
}

TEST(Jpeg_codec, Bad_streams_and_arguments_give_their_codes) {
    auto stream = Encode(32, 32, 96);
    const std::vector<uint8_t> garbage = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    jpeg::Stream_info info;
    EXPECT_EQ(jpeg::Read_Header(garbage.data(), garbage.size(), info), jpeg::Err_Bad_Stream);
    EXPECT_EQ(jpeg::Read_Header(stream.data(), 0, info), jpeg::Err_Bad_Stream);
    EXPECT_EQ(jpeg::Read_Header(nullptr, 10, info), jpeg::Err_Bad_Stream);
    // Cut before its frame header (TurboJPEG itself answers success with a size of 0 x 0 here).
    EXPECT_EQ(jpeg::Read_Header(stream.data(), 30, info), jpeg::Err_Bad_Stream);
    // A good stream right after the failures reads whole.
    ASSERT_EQ(jpeg::Read_Header(stream.data(), stream.size(), info), 0);
    EXPECT_EQ(info.width, 32);

    std::vector<uint8_t> rows(96 * 32);
    EXPECT_EQ(jpeg::Decode(stream.data(), stream.size() - 10, rows.data(), 32, 96, 32), jpeg::Err_Decode);
    EXPECT_FALSE(jpeg::Last_Error_Text().empty());
    // Rows of another size than the stream's are refused rather than scaled into.
    EXPECT_EQ(jpeg::Decode(stream.data(), stream.size(), rows.data(), 16, 96, 64), jpeg::Err_Bad_Argument);
    uint64_t size = 1000;
    std::vector<uint8_t> out(1000);
    EXPECT_EQ(jpeg::Encode(rows.data(), 32, 95, 32, 80, out.data(), size), jpeg::Err_Bad_Argument);
    EXPECT_EQ(jpeg::Encode(rows.data(), 32, 96, 32, 0, out.data(), size), jpeg::Err_Bad_Argument);
    EXPECT_EQ(jpeg::Encode(rows.data(), 32, 96, 32, 101, out.data(), size), jpeg::Err_Bad_Argument);
}

TEST(Jpeg_codec, The_call_parameters_carry_sizes_padding_and_the_stream_length_both_ways) {
    // 101 pixels a row need one padding byte to reach a four-byte stride.
    const int32_t w = 101, h = 50, stride = 304;
    auto rows = Two_Halves(w, h, stride);
    std::vector<uint8_t> out(1 << 20);
    jpeg::Core_properties write;
    write.DIBBytes = rows.data();
    write.DIBWidth = w;
    write.DIBHeight = -h;
    write.DIBPadBytes = stride - 3 * w;
    write.JPGBytes = out.data();
    write.JPGSizeBytes = out.size();
    write.jquality = 80;
    ASSERT_EQ(jpeg::Write_Whole_Image(write), 0);
    ASSERT_GT(write.JPGSizeBytes, 100u);
    ASSERT_LT(write.JPGSizeBytes, out.size());

    jpeg::Core_properties small = write;
    small.JPGSizeBytes = 100;
    EXPECT_EQ(jpeg::Write_Whole_Image(small), jpeg::Err_Buffer_Too_Small);
    EXPECT_EQ(small.JPGSizeBytes, 100u);
    jpeg::Core_properties top_down = write;
    top_down.DIBHeight = h;
    EXPECT_EQ(jpeg::Write_Whole_Image(top_down), jpeg::Err_Bad_Argument);

    jpeg::Core_properties read;
    read.JPGBytes = out.data();
    read.JPGSizeBytes = write.JPGSizeBytes;
    ASSERT_EQ(jpeg::Read_Params(read), 0);
    EXPECT_EQ(read.JPGWidth, w);
    EXPECT_EQ(read.JPGHeight, h);
    EXPECT_EQ(read.JPGChannels, 3);
    EXPECT_EQ(read.JPGColor, jpeg::Color_YCbCr);
    std::vector<uint8_t> back(static_cast<size_t>(stride) * h, 0xCD);
    read.DIBBytes = back.data();
    read.DIBWidth = w;
    read.DIBHeight = -h;
    read.DIBPadBytes = 1;
    ASSERT_EQ(jpeg::Read_Whole_Image(read), 0);
    EXPECT_GT(back[static_cast<size_t>(h - 1) * stride + 2], 200);  // the top row red
    EXPECT_GT(back[0], 200);                                          // the bottom row blue
    EXPECT_EQ(back[static_cast<size_t>(stride) - 1], 0xCD);           // the padding untouched
    read.DIBPadBytes = 0;  // rows without padding decode as well
    std::vector<uint8_t> tight(static_cast<size_t>(3 * w) * h);
    read.DIBBytes = tight.data();
    EXPECT_EQ(jpeg::Read_Whole_Image(read), 0);
}

TEST(Jpeg_codec, Each_thread_codes_with_its_own_handles) {
    auto reference = Encode(40, 20, 120);
    std::vector<uint8_t> other;
    std::thread([&] { other = Encode(40, 20, 120); }).join();
    EXPECT_EQ(other, reference);
}

}  // namespace
