#pragma once
// Pictures with the texture of a camera frame (smooth gradients, edges and a little noise) for the
// benchmarks; `seed` makes each one different.
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"

#include <cstdint>
#include <vector>

inline void Paint_Camera_Frame(cDIBSection& dib, int32_t width, int32_t height, uint32_t seed = 12345) {
    dib.Create(width, height);
    for (int32_t r = 0; r < height; ++r) {
        uint8_t* p = dib.DIBSectionBitsPtr() + static_cast<int64_t>(r) * dib.BytesPerScanLine();
        for (int32_t x = 0; x < width; ++x, p += 3) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 16) & 15);
            const bool stripe = ((x / 40) + (r / 60)) % 2 == 0;
            p[0] = static_cast<uint8_t>((r * 255 / height) / 2 + noise + (stripe ? 60 : 0));
            p[1] = static_cast<uint8_t>((x * 255 / width) / 2 + noise);
            p[2] = static_cast<uint8_t>(120 + noise + (stripe ? 0 : 50));
        }
    }
}

inline std::vector<uint8_t> Camera_JPEG(int32_t width, int32_t height, uint32_t seed) {
    cDIBSection dib;
    Paint_Camera_Frame(dib, width, height, seed);
    std::vector<uint8_t> out(4000000);
    int32_t size = static_cast<int32_t>(out.size());
    mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, 80);
    out.resize(static_cast<size_t>(size));
    return out;
}
