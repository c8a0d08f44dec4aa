#pragma once
// Heats written by the store for the review tests: frames with chosen capture ticks and event counts,
// a heat start, a course (three lanes numbered from 1 unless asked otherwise) and a goal line in the
// header.
#include "tests/store/Store_test_support.h"

#include <functional>
#include <map>

struct Heat_frame {
    int32_t tick;
    int32_t events;
};

struct Heat_layout {
    int32_t width = 440;
    int32_t height = 1080;
    bool interlaced = true;
    int32_t start_tick = 5000000;
    int32_t start_events = 1000;
    int32_t start_local = 9 * 3600000 + 5 * 60000 + 12340;  // 9:05:12.34
    int32_t buffer = 40000;
    int16_t lanes = 3;
    int16_t start_lane = 1;
    bool locked = false;
    bool rotated = false;
    std::string heat_id = "K1 Final A";
    std::vector<Heat_frame> frames;
    // Frame n's JPEG (from 1); band pictures when not given.
    std::function<std::vector<uint8_t>(int32_t n)> picture;
};

// Frame n (from 1) captured 40 ms after frame n - 1, the first one `first_offset` ms after the start.
inline std::vector<Heat_frame> Regular_Frames(int32_t count, int32_t start_tick, int32_t start_events,
                                              int32_t first_offset = 0) {
    std::vector<Heat_frame> frames;
    for (int32_t n = 1; n <= count; ++n)
        frames.push_back({start_tick + first_offset + 40 * (n - 1), start_events + first_offset / 40 + (n - 1)});
    return frames;
}

inline void Write_Heat(const std::string& path, const Heat_layout& layout) {
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, layout.width, layout.height, layout.buffer, layout.interlaced, layout.rotated);
    store.File_name(path);
    store.Open_RGB_File();
    store.Heat_ID(1, layout.heat_id);
    store.Start_PC_mill(1, layout.start_tick);
    store.Start_HDMI_events(1, layout.start_events);
    store.Start_local_mill(1, layout.start_local);
    store.Num_Lanes(layout.lanes);
    store.Header().Start_lane(layout.start_lane);
    store.Header().Lanes_locked(layout.locked);
    for (int16_t lane = 1; lane <= layout.lanes; ++lane) store.File_Lane_Pos(lane, 40, 100 * lane);
    store.Set_Goal_Line(200, 10, 200, layout.height - 10);
    store.Show_goalline(true);
    store.Lanes_Visible(true);
    store.Write_KD3_header();
    store.Close_File();

    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    std::map<int32_t, std::vector<uint8_t>> jpegs;
    int32_t n = 0;
    for (const Heat_frame& frame : layout.frames) {
        ++n;
        auto& jpeg = layout.picture ? jpegs[n] : jpegs[n % 8];
        if (jpeg.empty()) jpeg = layout.picture ? layout.picture(n) : Band_JPEG(layout.width, layout.height, n % 8);
        store.Append_Compressed_RGB_Frame(layout.start_local + 40 * n, frame.tick, 40, 85,
                                          static_cast<int32_t>(jpeg.size()), jpeg.data(), frame.events);
    }
    store.JPG_Sizes(1000, 30000);
    store.Add_Segment_num();
    store.Close_File();
}
