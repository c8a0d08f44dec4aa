#pragma once
// Older capture files laid out by the store itself around DV frames, for the store tests.
#include "Store_test_support.h"

#include "shell/Non_dependant.h"

#include <algorithm>

// Open_File opens no AVI file: the store's AVI readers get one handed to them as the store's own opening
// of the older kinds would hand it.
struct Store_file_seam {
    static bool Open_AVI(cls_VideoFile_handler& store, const std::string& path) {
        store.Close_File();
        store.File_name(path);
        return store.Open_Older_File(Non_dependant::File_Suffix(path));
    }
};

namespace older_test {

// Little-endian fields and ids in a file's bytes.
inline void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t Get32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 | uint32_t{bytes[at + 3]} << 24;
}

inline size_t Find(const std::vector<uint8_t>& bytes, const std::string& text, size_t from = 0) {
    auto it = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), text.begin(), text.end());
    return static_cast<size_t>(it - bytes.begin());
}

// Opens a file of any older kind: by Open_File, an AVI file through the seam.
inline bool Open_Older(cls_VideoFile_handler& store, const std::string& path) {
    return Non_dependant::File_Suffix(path) == "avi" ? Store_file_seam::Open_AVI(store, path) : store.Open_File(path, 0);
}

using Frames = std::vector<std::vector<uint8_t>>;

inline void Write_Bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A kd1 or kd2 file laid out by the store: header record, header text, end mark, then the frames
// appended one per stream for each frame number.
inline void Make_KDR_File(const std::string& path, const std::vector<Frames>& frames) {
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    ASSERT_TRUE(store.File_open());
    Cls_XML_header& h = store.Header();
    h.rgb(true);
    h.Create_Header();
    const auto streams = static_cast<int16_t>(frames.front().size());
    h.Streams_no(streams);
    for (int16_t s = 1; s <= streams; ++s) {
        h.Stream_Active(s, true);
        h.Stream_CameraPos(s, s);
    }
    store.Write_KDR_header();
    store.Write_XML_Header();
    store.Add_Header_padding();
    store.Close_File();
    store.File_name(path);
    for (const Frames& per_stream : frames)
        for (const auto& frame : per_stream) store.Append_DV_frame(frame.data());
    EXPECT_EQ(store.DV_frames_appended(), static_cast<int32_t>(frames.size() * frames.front().size()));
    store.Close_File();
}

}  // namespace older_test
