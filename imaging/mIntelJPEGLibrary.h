#pragma once
// JPEG streams in memory to and from a cDIBSection, straight on the bitmap's pixel memory and the
// caller's buffer.
#include "cDIBSection.h"

#include <cstdint>

namespace mIntelJPEGLibrary {

// Makes `dib` anew at the stream's size and decodes the whole picture into it. False when the bitmap
// cannot be made or the picture cannot be decoded; a message box only when the codec cannot start
// ("Failed to initialise the IJL library: " and the code) or the stream's parameters cannot be read
// ("Failed to read JPG").
bool Decode_JPG_To_DIB(cDIBSection& dib, const uint8_t* jpeg, int32_t jpeg_size);

// Encodes the whole bitmap into the buffer at `out`; `size` is its capacity on entry and the stream's
// length on return. A failure raises 26001 ("Failed to initialise the IJL library: " or
// "Failed to save to JPG " and the code) and leaves `size` unchanged.
bool Encode_DIB_To_JPG(cDIBSection& dib, uint8_t* out, int32_t& size, int32_t quality);

}  // namespace mIntelJPEGLibrary
