#pragma once
// The counters of the frame-arrival monitor: frames received since the last reset against the frames
// expected at the camera's rate (one every 40 ms unless told otherwise), and the intervals to plot for frames that a poll of the capture device
// finds. The clock is passed in, so the counts can be checked against a fake one.
#include <cstdint>
#include <vector>

class Frame_arrival_counter {
public:
    struct Counts {
        int32_t received = 0;
        int32_t expected = 0;
        // received - expected: missing frames show as a negative number.
        int32_t lost = 0;
    };

    // Counter_Start := now; Frames_Received := 0. A frame period of 0 or less keeps the one before.
    void Reset(int32_t now_tick, double frame_ms = 0);
    // One frame at `now_tick`; expected is the elapsed time / the frame period rounded, halves to even.
    Counts Frame(int32_t now_tick);
    double Frame_ms() const { return frame_ms_; }
    int32_t Frames_Received() const { return received_; }
    int32_t Counter_Start() const { return start_; }

private:
    int32_t received_ = 0;
    int32_t start_ = 0;
    double frame_ms_ = 40;
};

// Turns successive readings of the capture device's frame count, last frame tick and last interval into
// one interval per new frame. When several frames came between two readings only the last one's interval
// is known: the others share the time between the previous reading's frame and the last frame's start.
class Frame_arrival_poll {
public:
    struct Reading {
        int64_t frames = 0;      // frames since the camera last ran
        int32_t last_tick = 0;   // tick of the last frame
        int32_t last_delta = 0;  // ms between the last frame and the one before it
    };

    // Forgets the previous reading: the next one only sets the base and yields no frames.
    void Restart() { have_base_ = false; }
    // The intervals of the frames that arrived since the previous reading, oldest first. A camera that
    // restarted (its count went down) sets a new base.
    std::vector<int32_t> New_Frames(const Reading& reading);

private:
    bool have_base_ = false;
    Reading base_;
};
