#pragma once
// The recording side of the capture console: one capture file store per heat slot, and the capture
// segment that appends frames to one of them. Frames arrive on the capture worker (Frame); the window
// thread opens and closes segments and takes start values under the same lock, so every frame of an open
// segment is appended once, in order, to the file the segment was opened on, and a start takes the last
// frame's tick and count as they were at the start signal.
//
// A heat's frame counts go on by the frames its time has held: when the camera ran again after a stop,
// or the heat was taken back after the program ended, its next frame's count is its last recorded
// count (or its start's) plus the frame periods since then, so frame-count times stay true. Its ticks
// go on likewise when the machine was restarted meanwhile (its tick counts from a new origin): the
// heat's start tick is of the old clock, so frame-timestamp times stay true.
#include "Held_messages.h"
#include "store/cls_VideoFile_handler.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class cls_Capture_HDMI;

class Heat_recorder {
public:
    static constexpr int Slots = 3;

    // What a segment did, read when it ends.
    struct Segment {
        int slot = -1;
        int32_t frames_written = 0;
        int32_t max_jpg = 0;
        int32_t min_jpg = 999999;
        int32_t reductions = 0;    // lower qualities tried for this segment's frames
        int32_t held_back = 0;     // frames not recorded while recording was paused
        int32_t not_recorded = 0;  // frames without a JPEG that fits the file, or refused by the store
        std::string write_error;   // why the disk took no more of this segment's frames; "" when it did
    };
    struct Start_values {
        int32_t tick = 0;
        int32_t events = 0;
    };

    Heat_recorder();
    Heat_recorder(const Heat_recorder&) = delete;
    Heat_recorder& operator=(const Heat_recorder&) = delete;

    // The window thread's hold on the recorder. What is said while it is held (the store's messages,
    // error reports) is shown once it is given back, so the capture worker never waits for an operator.
    class Store_lock {
    public:
        explicit Store_lock(std::mutex& mutex) : lock_(mutex) { held_.emplace(); }
        ~Store_lock();
        Store_lock(const Store_lock&) = delete;
        Store_lock& operator=(const Store_lock&) = delete;
        void lock();
        // Gives the lock back, then shows what was said meanwhile.
        void unlock();

    private:
        std::unique_lock<std::mutex> lock_;
        std::optional<Held_messages> held_;
    };

    // The slot's store; the window thread holds Lock() while it uses it.
    cls_VideoFile_handler& Store(int slot) { return *stores_.at(static_cast<size_t>(slot)); }
    Store_lock Lock() { return Store_lock(mutex_); }

    // Opens the slot's file for appending, with its own record buffer from its header. False (nothing
    // open) when the file cannot be opened or has no record buffer yet. A segment already open is ended
    // first. Call with the lock held.
    bool Open_Segment(int slot, const std::string& path);
    // Ends the open segment: no further frame is appended. The slot's file stays open for its header.
    // Call with the lock held.
    Segment End_Segment();
    bool Segment_Open() const { return segment_open_; }
    int Segment_Slot() const { return segment_.slot; }

    // The last frame's tick and frame count at this moment.
    Start_values Take_Start_Values();
    // The slot's heat has just been started in this run of the camera: its counts and ticks are the camera's.
    // Call with the lock held.
    void Started(int slot);

    // While paused (the review window is shown) frames of an open segment are counted, not recorded.
    void Pause(bool paused) { paused_ = paused; }
    bool Paused() const { return paused_; }
    bool Holding_Back() const { return paused_ && segment_open_; }

    // Read on any thread, for display.
    int32_t Frames_Written() const { return frames_written_; }
    int32_t Held_Back_Frames() const { return held_back_; }
    int64_t Frames_Seen() const { return frames_seen_; }
    // The disk has refused the open segment's frames (full, read-only): they are counted, not recorded.
    bool Write_Failed() const { return write_failed_; }
    int32_t Not_Recorded() const { return not_recorded_; }

    // The capture worker's per-frame work (the device's HDMIreceived).
    void Frame(cls_Capture_HDMI& device);

private:
    // Where a heat's counts and ticks go on from: its last recorded frame, or its start.
    struct Count_base {
        int32_t events = 0;
        int32_t local = 0;
        int32_t tick = 0;
        bool recorded = false;  // a frame, not the start
        bool started = false;   // the heat had a start when the segment opened: its ticks are measured from it
    };
    // The offset from the camera's count to the heat's, and the camera run it holds for.
    struct Count_offset {
        int64_t run = -1;
        int64_t offset = 0;
    };
    // The offset from the camera's tick to the heat's (not 0 only when the machine was restarted since the
    // heat's base), found at the heat's first frame in this run of the program and kept for the run: the
    // clock cannot restart while the program runs, so a time of day set meanwhile moves no tick.
    struct Clock_offset {
        std::string path;  // the heat it was found for
        std::optional<int32_t> tick;
    };
    // The heat's count and tick for a frame of the open segment.
    struct Heat_stamp {
        int32_t count = 0;
        int32_t tick = 0;
    };
    // Ticks and time of day since the base that differ by more than this mean a restarted clock. A
    // start's tick is its last frame's, up to the camera's arrival window older than its time of day,
    // and the two clocks drift apart slowly; a restart puts them apart by at least the old machine's
    // uptime at the base.
    static constexpr int32_t Clock_Restart_ms = 2000;
    Heat_stamp Heat_Stamp(int32_t camera_events, int32_t camera_tick, int32_t local);
    void Write_Failure(const std::string& reason);

    std::mutex mutex_;
    std::array<std::unique_ptr<cls_VideoFile_handler>, Slots> stores_;
    std::atomic<bool> segment_open_{false};
    std::atomic<bool> paused_{false};
    Segment segment_;
    int32_t buffer_size_ = 0;  // the open segment's file's record buffer
    Start_values last_;
    int64_t run_ = 0;  // camera runs seen: the camera's count starts again at each
    std::array<Count_offset, Slots> offsets_{};
    std::array<Clock_offset, Slots> clocks_{};
    Count_base base_;
    int32_t frame_period_ = 40;  // ms per frame of the open segment's file
    std::atomic<bool> write_failed_{false};
    std::atomic<int32_t> not_recorded_{0};
    std::atomic<int32_t> frames_written_{0};
    std::atomic<int32_t> held_back_{0};
    std::atomic<int64_t> frames_seen_{0};
};
