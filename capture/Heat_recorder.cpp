#include "Heat_recorder.h"

#include "cls_Capture_HDMI.h"
#include "platform/vb/VbError.h"
#include "shell/mTrace.h"

#include <algorithm>

Heat_recorder::Heat_recorder() {
    for (auto& store : stores_) store = std::make_unique<cls_VideoFile_handler>();
}

bool Heat_recorder::Open_Segment(int slot, const std::string& path) {
    if (segment_open_) End_Segment();
    cls_VideoFile_handler& store = Store(slot);
    if (store.File_open()) store.Close_File();
    store.File_name(path);
    store.Open_RGB_File();
    if (!store.File_open()) return false;
    const int32_t buffer = store.RGB_Compressed_buffer_Size();
    if (buffer <= 0) {
        store.Close_File();
        return false;
    }
    store.Position_at_End();
    buffer_size_ = buffer;
    segment_ = Segment{};
    segment_.slot = slot;
    frames_written_ = 0;
    held_back_ = 0;
    segment_open_ = true;
    return true;
}

Heat_recorder::Segment Heat_recorder::End_Segment() {
    segment_open_ = false;
    Segment ended = segment_;
    segment_ = Segment{};
    return ended;
}

Heat_recorder::Start_values Heat_recorder::Take_Start_Values() {
    std::lock_guard lock(mutex_);
    return last_;
}

void Heat_recorder::Frame(cls_Capture_HDMI& device) {
    std::lock_guard lock(mutex_);
    last_ = {device.last_Capture_mill(), device.HDMI_events()};
    ++frames_seen_;
    if (!segment_open_) return;
    if (paused_) {
        ++segment_.held_back;
        held_back_ = segment_.held_back;
        return;
    }
    segment_.reductions += device.Last_Frame_Reductions();
    int32_t size = device.Last_JPG_Compressed_Size();
    if (size <= 0) {
        // No picture for this frame (the encoder failed or nothing fits): never an old picture with new times.
        ++segment_.not_recorded;
        return;
    }
    if (size > buffer_size_) {
        const int32_t before = device.Reduced_Quality_Num();
        const bool fits = device.Fit_JPG_Under(buffer_size_);
        segment_.reductions += device.Reduced_Quality_Num() - before;
        if (!fits) {
            ++segment_.not_recorded;
            return;
        }
        size = device.Last_JPG_Compressed_Size();
    }
    cls_VideoFile_handler& store = Store(segment_.slot);
    const int32_t refused_before = store.Refused_Frames();
    try {
        store.Append_Compressed_RGB_Frame(device.last_Capture_local(), device.last_Capture_mill(),
                                          device.last_Capture_delta(), device.Last_used_JPG_quality(), size,
                                          device.Last_JPG_addr(), last_.events);
    } catch (const VbError& e) {
        mTrace::Trace("*Heat_recorder append failed: ", e.Description());
    }
    if (store.Refused_Frames() != refused_before) {
        ++segment_.not_recorded;
        return;
    }
    segment_.max_jpg = std::max(segment_.max_jpg, size);
    segment_.min_jpg = std::min(segment_.min_jpg, size);
    ++segment_.frames_written;
    frames_written_ = segment_.frames_written;
}
