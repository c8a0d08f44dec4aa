#pragma once
// One 16-byte entry of an AVI 1.0 index ("idx1"): the chunk's id, its flags, its offset and length.
#include <cstdint>
#include <string>

struct cls_IDX {
    std::string ckid;
    int32_t dwFlags = 0;
    int32_t dwChunkOffset = 0;
    int32_t dwChunkLength = 0;
};
