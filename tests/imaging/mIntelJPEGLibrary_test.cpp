#include "imaging/mIntelJPEGLibrary.h"
#include "platform/vb/VbError.h"

#include "Test_dialogs.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>
#include <vector>

namespace {

// A w x h bitmap whose top half is red and bottom half blue.
void Paint_Halves(cDIBSection& dib, int32_t w, int32_t h) {
    ASSERT_TRUE(dib.Create(w, h));
    for (int32_t r = 0; r < h; ++r)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = dib.DIBSectionBitsPtr() + r * dib.BytesPerScanLine() + 3 * x;
            const bool top = r >= h / 2;
            p[0] = top ? 0 : 255;
            p[1] = 0;
            p[2] = top ? 255 : 0;
        }
}

std::vector<uint8_t> Encode(cDIBSection& dib, int32_t quality = 80) {
    std::vector<uint8_t> out(1 << 20);
    int32_t size = static_cast<int32_t>(out.size());
    EXPECT_TRUE(mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, quality));
    out.resize(static_cast<size_t>(size));
    return out;
}

// A one-channel stream made straight with TurboJPEG: a gray ramp from left to right.
std::vector<uint8_t> Gray_Stream(int w, int h) {
    std::vector<uint8_t> gray(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) gray[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(x * 255 / (w - 1));
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    EXPECT_EQ(tjCompress2(handle, gray.data(), w, w, h, TJPF_GRAY, &buffer, &size, TJSAMP_GRAY, 90, 0), 0);
    std::vector<uint8_t> stream(buffer, buffer + size);
    tjFree(buffer);
    tjDestroy(handle);
    return stream;
}

// The stream with its frame size replaced (the SOF0 marker's height and width).
std::vector<uint8_t> With_Size(std::vector<uint8_t> stream, uint16_t w, uint16_t h) {
    for (size_t i = 0; i + 8 < stream.size(); ++i)
        if (stream[i] == 0xFF && stream[i + 1] == 0xC0) {
            stream[i + 5] = static_cast<uint8_t>(h >> 8);
            stream[i + 6] = static_cast<uint8_t>(h);
            stream[i + 7] = static_cast<uint8_t>(w >> 8);
            stream[i + 8] = static_cast<uint8_t>(w);
            break;
        }
    return stream;
}

TEST(mIntelJPEGLibrary, Decoding_makes_the_bitmap_at_the_streams_size_with_the_first_row_on_top) {
    const struct { int32_t width, bytes_per_line, pad; } rows[] = {{100, 300, 0}, {101, 304, 1}};
    for (const auto& r : rows) {
        cDIBSection source;
        Paint_Halves(source, r.width, 50);
        auto stream = Encode(source);
        cDIBSection target;
        ASSERT_TRUE(target.Create(7, 9));
        std::fill_n(target.DIBSectionBitsPtr(), target.SizeImage(), 0);
        ASSERT_TRUE(mIntelJPEGLibrary::Decode_JPG_To_DIB(target, stream.data(), static_cast<int32_t>(stream.size())));
        EXPECT_EQ(target.Width(), r.width);
        EXPECT_EQ(target.Height(), 50);
        EXPECT_EQ(target.BytesPerScanLine(), r.bytes_per_line);
        EXPECT_EQ(target.BytesPerScanLine() - 3 * target.Width(), r.pad);
        const uint8_t* top = target.DIBSectionBitsPtr() + 49 * target.BytesPerScanLine();
        const uint8_t* bottom = target.DIBSectionBitsPtr();
        EXPECT_GT(top[2], 200);
        EXPECT_LT(top[0], 60);
        EXPECT_GT(bottom[0], 200);
        EXPECT_LT(bottom[2], 60);
    }
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST(mIntelJPEGLibrary, A_gray_stream_gives_three_equal_bytes_per_pixel) {
    auto stream = Gray_Stream(20, 8);
    cDIBSection dib;
    ASSERT_TRUE(mIntelJPEGLibrary::Decode_JPG_To_DIB(dib, stream.data(), static_cast<int32_t>(stream.size())));
    ASSERT_EQ(dib.Width(), 20);
    for (int32_t r = 0; r < 8; ++r)
        for (int32_t x = 0; x < 20; ++x) {
            const uint8_t* p = dib.DIBSectionBitsPtr() + r * dib.BytesPerScanLine() + 3 * x;
            ASSERT_EQ(p[0], p[1]);
            ASSERT_EQ(p[1], p[2]);
        }
    const uint8_t* row = dib.DIBSectionBitsPtr();
    EXPECT_LT(row[0], 30);
    EXPECT_GT(row[3 * 19], 225);
}

TEST(mIntelJPEGLibrary, Encoding_fills_the_callers_buffer_or_raises_26001) {
    cDIBSection dib;
    Paint_Halves(dib, 64, 48);
    auto stream = Encode(dib);
    ASSERT_GE(stream.size(), 4u);
    EXPECT_EQ(stream[0], 0xFF);
    EXPECT_EQ(stream[1], 0xD8);
    EXPECT_EQ(stream[stream.size() - 2], 0xFF);
    EXPECT_EQ(stream[stream.size() - 1], 0xD9);

    // A buffer of exactly the stream's length is enough; one byte less is not.
    std::vector<uint8_t> exact(stream.size());
    int32_t size = static_cast<int32_t>(exact.size());
    EXPECT_TRUE(mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, exact.data(), size, 80));
    EXPECT_EQ(size, static_cast<int32_t>(stream.size()));

    std::vector<uint8_t> small(stream.size() - 1);
    size = static_cast<int32_t>(small.size());
    try {
        mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, small.data(), size, 80);
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 26001);
        EXPECT_TRUE(e.Description().starts_with("Failed to save to JPG ")) << e.Description();
        EXPECT_EQ(e.Description().size() > std::string("Failed to save to JPG ").size(), true);
        EXPECT_TRUE(e.Source().ends_with(".mIntelJPEGLibrary"));
    }
    EXPECT_EQ(size, static_cast<int32_t>(small.size()));

    // Nothing to encode: an empty bitmap raises the same error.
    cDIBSection empty;
    size = static_cast<int32_t>(exact.size());
    EXPECT_THROW(mIntelJPEGLibrary::Encode_DIB_To_JPG(empty, exact.data(), size, 80), VbError);
}

TEST(mIntelJPEGLibrary, Bad_streams_give_the_message_or_false_and_never_write_outside) {
    cDIBSection source;
    ASSERT_TRUE(source.Create(64, 64));
    source.RandomiseBits(false);
    auto good = Encode(source);

    const std::vector<uint8_t> garbage = {'G', 'I', 'F', '8', '9', 'a', 0, 1, 2, 3, 4, 5};
    const struct { const char* name; std::vector<uint8_t> bytes; bool message; } rows[] = {
        {"not a JPEG", garbage, true},
        {"zero size", With_Size(good, 0, 0), true},
        {"truncated", std::vector<uint8_t>(good.begin(), good.begin() + good.size() * 2 / 3), false},
        {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 30), true},
    };
    for (const auto& r : rows) {
        Test_dialogs::Instance().Reset();
        if (r.message) Test_dialogs::Instance().Answer(ui::vbOK);
        cDIBSection dib;
        EXPECT_FALSE(mIntelJPEGLibrary::Decode_JPG_To_DIB(dib, r.bytes.data(), static_cast<int32_t>(r.bytes.size())))
            << r.name;
        const auto& shown = Test_dialogs::Instance().Shown_Dialogs();
        ASSERT_EQ(shown.size(), r.message ? 1u : 0u) << r.name;
        if (r.message) {
            EXPECT_EQ(shown[0].prompt, "Failed to read JPG");
            EXPECT_EQ(shown[0].buttons, ui::vbExclamation);
            EXPECT_EQ(shown[0].title, "Vantorel_HDMI");
        }
    }

    // A size whose bitmap exceeds 32 bits raises overflow to the caller.
    auto huge = With_Size(good, 65000, 65000);
    cDIBSection dib;
    try {
        mIntelJPEGLibrary::Decode_JPG_To_DIB(dib, huge.data(), static_cast<int32_t>(huge.size()));
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
}

}  // namespace
