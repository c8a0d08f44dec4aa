#pragma once
// Fixtures of the store tests: synthetic JPEG frames and kd3 heat files written by the store itself.
#include "Test_dialogs.h"
#include "Test_errors.h"
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct Bgr {
    uint8_t b, g, r;
};

// Eight bands of distinct colours from the top down; `shift` rotates them, so each frame differs.
inline Bgr Band_Colour(int32_t band, int32_t shift) {
    static const std::array<Bgr, 8> colours{{{0, 0, 220}, {0, 220, 0}, {220, 0, 0}, {0, 220, 220},
                                             {220, 0, 220}, {220, 220, 0}, {30, 30, 30}, {230, 230, 230}}};
    return colours[static_cast<size_t>((band + shift) % 8)];
}

// The pixel at (x, y) counted from the top of a bottom-up picture.
inline Bgr Pixel_At(const cDIBSection& dib, int32_t x, int32_t y) {
    const uint8_t* p = dib.DIBSectionBitsPtr() + (dib.Height() - 1 - y) * dib.BytesPerScanLine() + x * 3;
    return {p[0], p[1], p[2]};
}

inline bool Near(Bgr a, Bgr b, int tolerance = 24) {
    return std::abs(a.b - b.b) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.r - b.r) <= tolerance;
}

// A frame of eight horizontal bands, JPEG-compressed.
inline std::vector<uint8_t> Band_JPEG(int32_t width, int32_t height, int32_t shift, int32_t quality = 90) {
    cDIBSection dib;
    EXPECT_TRUE(dib.Create(width, height));
    for (int32_t y = 0; y < height; ++y) {
        Bgr c = Band_Colour(y * 8 / height, shift);
        uint8_t* row = dib.DIBSectionBitsPtr() + (height - 1 - y) * dib.BytesPerScanLine();
        for (int32_t x = 0; x < width; ++x) {
            row[x * 3] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
    }
    std::vector<uint8_t> out(1000000);
    int32_t size = static_cast<int32_t>(out.size());
    mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, quality);
    out.resize(static_cast<size_t>(size));
    return out;
}

inline std::vector<uint8_t> File_Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A new heat file as the capture console makes it, then its heat start with buffer length `buffer`.
inline void Make_Heat_File(cls_VideoFile_handler& store, const std::string& path, int32_t width, int32_t height,
                           int32_t buffer, bool interlaced = true, bool rotated = false) {
    store.File_name(path);
    store.Create_File();
    ASSERT_NE(store.File_num(), 0);
    store.Cropped_X(width);
    store.Cropped_Y(height);
    store.RGB_interlaced(interlaced);
    store.RGB_Rotated(rotated);
    store.Initial_Quality(85);
    store.Create_KD3_header();
    store.Write_XML_Header();
    store.Close_File();
    store.File_name(path);
    store.Open_RGB_File();
    store.Set_JPG_Maxsize(buffer);
    store.Write_KD3_header();
    store.Close_File();
}

// Tick, local time and delta of frame n of a heat.
inline int32_t Tick_Of(int32_t n) { return 1000000 + 40 * n; }
inline int32_t Local_Of(int32_t n) { return 36000000 + 40 * n; }

// One capture segment of `frames` frames numbered from `first`.
inline void Append_Segment(cls_VideoFile_handler& store, const std::string& path, int32_t first, int32_t frames,
                           int32_t width, int32_t height, bool give_sizes = true) {
    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    int32_t smallest = INT32_MAX, largest = 0;
    for (int32_t n = first; n < first + frames; ++n) {
        std::vector<uint8_t> jpeg = Band_JPEG(width, height, n);
        auto size = static_cast<int32_t>(jpeg.size());
        smallest = std::min(smallest, size);
        largest = std::max(largest, size);
        store.Append_Compressed_RGB_Frame(Local_Of(n), Tick_Of(n), 40, static_cast<int16_t>(80 + n % 5), size,
                                          jpeg.data(), 500 + n);
    }
    if (give_sizes) store.JPG_Sizes(smallest, largest);
    store.Add_Segment_num();
    store.Add_Reduced_Quality_num(1);
    store.Measured_fps(25);
    store.Last_Capture_time("2026-12-10 10:00:00");
    store.Close_File();
}

// Every test: a fresh folder, the event log inside it, errors passing to the test unless it arms traps.
class Store_test : public ::testing::Test {
protected:
    void SetUp() override {
        Module_Vantorel::Is_Compiled = false;
        Module_Vantorel::AppData_Folder = Test_folder();
        vb::Set_Error_Reporter([this](const std::string& description, int32_t number, int32_t, const std::string& location,
                                      const std::string& extra) { reports.push_back({number, location, description, extra}); });
    }
    void TearDown() override {
        Binary_file::Set_Fault_Hook(nullptr);
        vb::Set_Error_Reporter(nullptr);
        Module_Vantorel::Is_Compiled = false;
    }
    std::string Path(const std::string& name) const { return Test_folder() + "/" + name; }

    struct Report {
        int32_t number;
        std::string location;
        std::string description;
        std::string extra;
    };
    std::vector<Report> reports;
};

// The older kinds' files are opened in the program's own mode, as the review window opens them.
class Older_kind_test : public Store_test {
protected:
    void SetUp() override {
        Store_test::SetUp();
        Module_Vantorel::Vantorel_Mode = true;
    }
    void TearDown() override {
        Module_Vantorel::Vantorel_Mode = false;
        Store_test::TearDown();
    }
};

// A picture box of the given size over a bitmap of our own.
class Test_surface : public gdi::Picture_surface {
public:
    Test_surface(int32_t width, int32_t height) { dib.Create(width, height); }
    gdi::Device_context* hDC() override { return dib.hDC(); }
    double ScaleWidth() const override { return dib.Width(); }
    double ScaleHeight() const override { return dib.Height(); }
    void Refresh() override { ++refreshes; }
    cDIBSection dib;
    int refreshes = 0;
};

// A grey frame whose value at (x, y), counted from the top, is `grey(x, y)`, compressed at quality 100.
template <class Grey>
std::vector<uint8_t> Grey_JPEG(int32_t width, int32_t height, Grey grey) {
    cDIBSection dib;
    EXPECT_TRUE(dib.Create(width, height));
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib.DIBSectionBitsPtr() + (height - 1 - y) * dib.BytesPerScanLine();
        for (int32_t x = 0; x < width; ++x) row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = grey(x, y);
    }
    std::vector<uint8_t> out(1000000);
    int32_t size = static_cast<int32_t>(out.size());
    mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, 100);
    out.resize(static_cast<size_t>(size));
    return out;
}

inline void Append_Frames(cls_VideoFile_handler& store, const std::string& path,
                          const std::vector<std::vector<uint8_t>>& jpegs) {
    store.File_name(path);
    store.Open_RGB_File();
    int32_t n = 0;
    for (const auto& jpeg : jpegs) {
        ++n;
        store.Append_Compressed_RGB_Frame(Local_Of(n), Tick_Of(n), 40, 100, static_cast<int32_t>(jpeg.size()),
                                          jpeg.data(), n);
    }
    store.Close_File();
}
