#include "Sample_heat.h"

#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "platform/vb/VbError.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

#include <algorithm>
#include <vector>

namespace Sample_heat {

namespace {

constexpr int32_t Lanes = 3;
constexpr int32_t Frame_ms = 40;
constexpr int32_t Speed = 12;  // pixels a frame: about 5 m/s at this picture's scale
constexpr int32_t Start_Tick = 5000000;
constexpr int32_t Start_Events = 1000;
constexpr int32_t Start_Local = 9 * 3600000 + 5 * 60000;  // 9:05:00 today
constexpr int32_t Start_To_First_Frame = 110000;       // the finish is filmed 110 s after the start
constexpr int32_t Record_Buffer = 100000;              // every frame's record holds this much JPEG

int32_t Lane_Y(const Layout& layout, int32_t lane) { return layout.height * (2 * lane - 1) / (2 * Lanes); }

void Fill(cDIBSection& dib, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t b, uint8_t g, uint8_t r) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, dib.Width()), y1 = std::min(y1, dib.Height());
    for (int32_t y = y0; y < y1; ++y) {
        uint8_t* row = dib.DIBSectionBitsPtr() + (dib.Height() - 1 - y) * dib.BytesPerScanLine();  // bottom-up
        for (int32_t x = x0; x < x1; ++x) row[x * 3] = b, row[x * 3 + 1] = g, row[x * 3 + 2] = r;
    }
}

// Water, the lane buoys' lines and a boat per lane whose bow is at the goal at its crossing frame.
void Draw_Frame(cDIBSection& dib, const Layout& layout, int32_t frame) {
    Fill(dib, 0, 0, layout.width, layout.height, 150, 110, 40);
    for (int32_t lane = 1; lane < Lanes; ++lane) {
        const int32_t y = layout.height * lane / Lanes;
        Fill(dib, 0, y - 2, layout.width, y + 2, 40, 200, 240);
    }
    for (int32_t lane = 1; lane <= Lanes; ++lane) {
        const int32_t bow = Goal_X(layout) + (frame - Crossing_Frame[lane - 1]) * Speed;
        const int32_t y = Lane_Y(layout, lane);
        Fill(dib, bow - 170, y - 12, bow, y + 12, 30, 30, 200);            // hull
        Fill(dib, bow - 100, y - 40, bow - 70, y + 40, 40, 40, 40);        // paddler
        Fill(dib, bow - 140, y - 70, bow - 130, y + 70, 220, 220, 220);    // paddle
    }
}

}  // namespace

void Write(const std::string& path, const Layout& layout) {
    Module_Vantorel::Vantorel_Mode = true;  // the header gets the race section with the course and heats
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    if (store.File_num() == 0) vb::Raise(75, "Path/File access error: " + path);
    store.Cropped_X(layout.width);
    store.Cropped_Y(layout.height);
    store.RGB_interlaced(true);
    store.RGB_Rotated(false);
    store.Initial_Quality(85);
    store.Create_KD3_header();
    store.Write_XML_Header();
    store.Close_File();

    cDIBSection dib;
    if (!dib.Create(layout.width, layout.height)) vb::Raise(7, "Out of memory");
    std::vector<uint8_t> jpeg(Record_Buffer);
    store.File_name(path);
    store.Open_RGB_File();
    store.Set_JPG_Maxsize(static_cast<int32_t>(jpeg.size()));
    store.Write_KD3_header();  // the heat start: the header now holds its heat records
    store.Close_File();

    store.File_name(path);
    store.Open_RGB_File();
    store.Heat_ID(1, layout.heat_id);
    store.Start_PC_mill(1, Start_Tick);
    store.Start_HDMI_events(1, Start_Events);
    store.Start_local_mill(1, Start_Local);
    store.Num_Lanes(Lanes);
    // As the console records a heat: its lanes locked, so results are given by the lane marks.
    store.Lanes_locked(true);
    for (int16_t lane = 1; lane <= Lanes; ++lane) store.File_Lane_Pos(lane, 40, Lane_Y(layout, lane));
    store.Set_Goal_Line(Goal_X(layout), 10, Goal_X(layout), layout.height - 10);
    store.Show_goalline(true);
    store.Lanes_Visible(true);
    store.Write_KD3_header();
    store.Close_File();

    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    int32_t smallest = INT32_MAX, largest = 0;
    for (int32_t frame = 1; frame <= layout.frames; ++frame) {
        Draw_Frame(dib, layout, frame);
        int32_t size = static_cast<int32_t>(jpeg.size());
        if (!mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, jpeg.data(), size, 85) || size > Record_Buffer)
            vb::Raise(5, "A sample frame of " + std::to_string(layout.width) + " x " + std::to_string(layout.height) +
                             " pixels does not fit a record");
        smallest = std::min(smallest, size);
        largest = std::max(largest, size);
        const int32_t since_start = Start_To_First_Frame + (frame - 1) * Frame_ms;
        store.Append_Compressed_RGB_Frame(Start_Local + since_start, Start_Tick + since_start, Frame_ms, 85, size,
                                          jpeg.data(), Start_Events + since_start / Frame_ms);
    }
    store.JPG_Sizes(smallest, largest);
    store.Add_Segment_num();
    store.Measured_fps(25);
    store.Close_File();
}

}  // namespace Sample_heat
