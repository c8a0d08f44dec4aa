#include "Heat_recorder.h"

#include "cls_Capture_HDMI.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"
#include "shell/mTrace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

Heat_recorder::Store_lock::~Store_lock() {
    if (!lock_.owns_lock()) return;
    try {
        unlock();
    } catch (...) {
        // A report that fails while another error is on its way out must not end the program.
    }
}

void Heat_recorder::Store_lock::lock() {
    lock_.lock();
    held_.emplace();
}

void Heat_recorder::Store_lock::unlock() {
    held_->Stop_Holding();
    lock_.unlock();
    held_->Show();
    held_.reset();
}

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
    // Where the heat's counts and ticks go on from: its last whole record, or its start.
    const bool started = store.Start_local_Mill_Time(1) > 0 || store.Start_PC_Mill_time(1) != 0;
    base_ = {store.Start_HDMI_events(1), store.Start_local_Mill_Time(1), store.Start_PC_Mill_time(1), false, started};
    if (store.Num_Frames() > 0) {
        try {
            store.Read_RGB_sample(store.Num_Frames(), false);
            if (store.Frame_available())
                base_ = {store.Capture_HDMI_events(), store.KD3_Capture_local(), store.KD3_Capture_mill(), true,
                         started};
        } catch (const VbError& e) {
            mTrace::Trace("*Heat_recorder: last record not read: ", e.Description());
        }
    }
    Clock_offset& clock = clocks_.at(static_cast<size_t>(slot));
    if (clock.path != path) clock = {path, std::nullopt};
    frame_period_ = store.mill_per_frame() > 0 ? store.mill_per_frame() : 40;
    store.Position_at_End();
    buffer_size_ = buffer;
    segment_ = Segment{};
    segment_.slot = slot;
    frames_written_ = 0;
    held_back_ = 0;
    write_failed_ = false;
    not_recorded_ = 0;
    segment_open_ = true;
    return true;
}

Heat_recorder::Segment Heat_recorder::End_Segment() {
    segment_open_ = false;
    write_failed_ = false;
    Segment ended = segment_;
    segment_ = Segment{};
    return ended;
}

Heat_recorder::Start_values Heat_recorder::Take_Start_Values() {
    std::lock_guard lock(mutex_);
    return last_;
}

void Heat_recorder::Started(int slot) {
    const auto s = static_cast<size_t>(slot);
    offsets_.at(s) = {run_, 0};
    clocks_.at(s) = {Store(slot).File_name(), 0};
}

Heat_recorder::Heat_stamp Heat_recorder::Heat_Stamp(int32_t camera_events, int32_t camera_tick, int32_t local) {
    const auto slot = static_cast<size_t>(segment_.slot);
    Count_offset& offset = offsets_.at(slot);
    Clock_offset& clock = clocks_.at(slot);
    if (offset.run != run_ || !clock.tick) {
        int64_t since = int64_t{local} - base_.local;
        if (since < 0) since += 86400000;  // past midnight
        if (offset.run != run_) {
            int64_t periods = std::llround(static_cast<double>(since) / frame_period_);
            if (base_.recorded) periods = std::max<int64_t>(periods, 1);
            offset = {run_, int64_t{base_.events} + periods - camera_events};
        }
        if (!clock.tick) {
            // A restarted machine's tick counts from a new origin, while the heat's start tick is of the
            // old one: its ticks go on from the base's by the time of day instead.
            clock.tick = 0;
            if (base_.started && std::abs(sys::Tick_Diff(camera_tick, base_.tick) - since) > Clock_Restart_ms)
                clock.tick = sys::Tick_Diff(sys::Tick_Add(base_.tick, static_cast<int32_t>(since)), camera_tick);
        }
    }
    return {static_cast<int32_t>(std::clamp<int64_t>(camera_events + offset.offset, 0, INT32_MAX)),
            sys::Tick_Add(camera_tick, *clock.tick)};
}

void Heat_recorder::Write_Failure(const std::string& reason) {
    if (segment_.write_error.empty()) segment_.write_error = reason.empty() ? "the disk refused the frame" : reason;
    write_failed_ = true;
}

void Heat_recorder::Frame(cls_Capture_HDMI& device) {
    std::lock_guard lock(mutex_);
    const int32_t events = device.HDMI_events();
    // The camera ran again: its count started anew.
    if (events < last_.events) ++run_;
    last_ = {device.last_Capture_mill(), events};
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
        not_recorded_ = ++segment_.not_recorded;
        return;
    }
    if (size > buffer_size_) {
        const int32_t before = device.Reduced_Quality_Num();
        const bool fits = device.Fit_JPG_Under(buffer_size_);
        segment_.reductions += device.Reduced_Quality_Num() - before;
        if (!fits) {
            not_recorded_ = ++segment_.not_recorded;
            return;
        }
        size = device.Last_JPG_Compressed_Size();
    }
    cls_VideoFile_handler& store = Store(segment_.slot);
    const int32_t refused_before = store.Refused_Frames();
    const int32_t local = device.last_Capture_local();
    const Heat_stamp stamp = Heat_Stamp(events, device.last_Capture_mill(), local);
    {
        // A disk that takes no more is told to the operator by the console, never as a program error.
        vb::Report_Redirect redirect(
            [this](const VbError& e, std::string_view, std::string_view) { Write_Failure(e.Description()); });
        try {
            store.Append_Compressed_RGB_Frame(local, stamp.tick, device.last_Capture_delta(),
                                              device.Last_Frame_Quality(), size, device.Last_JPG_addr(), stamp.count);
        } catch (const VbError& e) {
            Write_Failure(e.Description());
        }
    }
    if (store.Refused_Frames() != refused_before) {
        not_recorded_ = ++segment_.not_recorded;
        return;
    }
    base_ = {stamp.count, local, stamp.tick, true, base_.started};
    segment_.max_jpg = std::max(segment_.max_jpg, size);
    segment_.min_jpg = std::min(segment_.min_jpg, size);
    ++segment_.frames_written;
    frames_written_ = segment_.frames_written;
}
