#pragma once
// What the store holds for an open file of the older kinds (dv, sdv, kd1, kd2, avi): where its frames
// lie, the frame read last, its extra data, the AVI chunk positions and indexes, and the stream table.
#include "Dv_format.h"
#include "cls_IDX.h"
#include "platform/video/Video_decoder.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct Older_kind_state {
    enum class Kind { none, dv, sdv, kdr, avi };

    // The store makes a fresh one for every file it opens and drops it when the file closes.
    Kind kind = Kind::none;
    bool ntsc = false;
    int32_t frame_data_size = 0;  // bytes of one frame (DV kinds) or of the AVI chunk read last
    int64_t data_offset = 0;      // first frame byte of a kd1, kd2 or sdv file
    int32_t calculated_frames = 0;
    int16_t streams = 0;
    bool model = false;
    dv::KDR_File_Header kdr;
    dv::DV_File_Header sdv_header;
    int32_t dv_offset = 0;
    int16_t first_used_field = 0;
    int32_t dv_frames_appended = 0;

    std::vector<uint8_t> frame_buffer;  // the frame read last (DV kinds) or the AVI chunk, header first
    std::vector<uint8_t> chunk_buffer;  // the first 1001 bytes of a dv file
    int32_t frame_in_store = 0;
    int64_t frame_position = 0;  // 1-based position of the DV frame read last
    int64_t append_position = 0;  // where the next frame of a kd1 or kd2 file is written
    int64_t after_xml = 0;        // the byte after the header text and its padding, as last written

    dv::DV_Extra_Data extra;
    int32_t extra_pos = 0;
    bool extra_searched = false;
    dv::Trace_Record trace_read;            // the record of the frame held, as read
    std::vector<dv::Trace_Record> trace_array = std::vector<dv::Trace_Record>(1);  // frame f at f - 1
    dv::Trace_Record current_trace;          // the array's record of the frame read last
    int32_t capture_time = 0;
    int32_t capture_time_grid = 0;

    // AVI: chunk positions are 1-based, 0 when not found.
    int64_t pos_KDXM = 0, pos_PKHD = 0, pos_idx1 = 0, junk_pos = 0;
    std::array<int64_t, 5> pos_PKA{};
    std::vector<cls_IDX> video_index;
    std::vector<cls_IDX> text_index;
    bool index_found = false, movie_relative = false, interleaved = false;
    std::vector<std::pair<int64_t, int32_t>> standard_index;  // chunk header offset, data length
    int64_t chunk_position = 0;  // 1-based
    int32_t chunk_length = 0;
    std::vector<uint8_t> text_buffer;
    std::vector<uint8_t> text_chunk;  // the text chunk Get_Text_buffer read last, header first
    int32_t percentage = 0;           // how far into the file the AVI frame read last lies
    double player_time = 0;           // its time from the file's start, ms

    // The camera positions of a multi-stream file.
    std::array<bool, 6> camera_present{};
    std::array<bool, 6> camera_active{};
    int16_t active_at_1_and_2 = 0;
    bool active_at_3 = false;

    video::Video_decoder decoder;
};
