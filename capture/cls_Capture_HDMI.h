#pragma once
// The capture device as the capture console sees it: it finds the saved source among the capture
// library's sources and applies the saved format, keeps the crop and rotation, runs, pauses and stops
// the camera, counts and time-stamps every frame, measures the frame rate, and draws the cropped
// picture and the running arm.
//
// Threads: members are called on the user-interface thread. Frames arrive on the capture worker;
// there the device stamps and counts them and raises HDMIreceived, which therefore must not touch a
// window. The counters read by the console are safe to read from either thread. A new crop waits for
// the frame in hand, HDMIreceived included, so the JPEG a handler copies is never remade under it.
#include "imaging/cDIBSection.h"
#include "platform/capturelib/Capture_Library_Object.h"
#include "platform/gdi/Picture_surface.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class cls_Capture_HDMI final : public capturelib::IVideoCapEvent {
public:
    // Lists the sources of the installed provider, or of `library` when one is given.
    cls_Capture_HDMI();
    explicit cls_Capture_HDMI(std::unique_ptr<capturelib::Capture_Library_Object> library);
    ~cls_Capture_HDMI() override;
    cls_Capture_HDMI(const cls_Capture_HDMI&) = delete;
    cls_Capture_HDMI& operator=(const cls_Capture_HDMI&) = delete;

    // The handler raised on the capture worker after each frame; nothing clears it. Waits for the frame in
    // hand, so once it returns the handler it replaced is never called again.
    void HDMIreceived(std::function<void()> handler);

    bool SourcePropFound() const { return source_prop_found_; }
    // Has no effect.
    void NoEvent(int16_t value) { (void)value; }
    void Advise();
    void ID_string(const std::string& label) { id_string_ = label; }
    const std::string& Last_Error() const { return last_error_; }

    // The crop of every frame: bitmaps of cr_X x cr_Y, and for a rotated camera of cr_Y x cr_X. Waits
    // while a frame is being handled. The frames take the program-wide rotation, quality and
    // compression switch as they are now, and again at the next run.
    void set_HDMI_Crop(int16_t cr_X, int16_t cr_Y);
    void Do_CROP(bool value) { do_crop_ = value; }
    bool Do_CROP() const { return do_crop_; }
    void Capture_Rotate_RGB(bool value) { capture_rotate_rgb_ = value; }
    bool Capture_Rotate_RGB() const { return capture_rotate_rgb_; }
    int32_t Crop_Width() const { return crop_width_; }
    int32_t Crop_Height() const { return crop_height_; }

    // Settings the console makes before it runs the camera; the frame path does not read them.
    void Post_linear(bool value);
    void MaxFrames(int32_t n);
    void Do_log_time(bool value) { do_log_time_ = value; }

    // The last frame: its tick, its local time of day in ms, and the ms since the frame before (0 when
    // that is below 0 or above 10000).
    int32_t last_Capture_mill() const { return last_tick_; }
    int32_t last_Capture_local() const { return last_local_; }
    int32_t last_Capture_delta() const;
    // Frames since the camera last ran; error 6 beyond what a capture file's 32-bit count holds.
    int32_t HDMI_events() const;
    // Tick at frame 31 minus tick at frame 21.
    int32_t HDMI_10_mill() const { return tick_31_ - tick_21_; }
    // The rate over frames 31 to 131, 0 until frame 131 has come once.
    float Measured_fps() const;
    // The rate over the last 50 frames.
    int16_t Running_Fps() const;
    // The rate the chosen format promises (0 when none is chosen), and the camera's rate: the measured
    // one once there is one, else the format's.
    float Format_fps() const { return format_fps_; }
    float Camera_fps() const;
    // The camera runs and its last frame came within the last second: a start can take a fresh frame.
    bool Frames_Arriving() const;
    static constexpr int32_t Arrival_Window_ms = 1000;

    const std::string& Current_FriendlyName() const { return current_friendly_name_; }
    const std::string& Current_PropertyString() const { return current_property_string_; }
    // Source width "*" source height of the running format.
    std::string HDMI_Sample_Dimensions() const;

    // Looks for the saved source by its friendly name among "video:1" to "video:10" and applies the
    // saved format; says so when it is not there.
    bool Set_Source_from_Saved();
    void Capture_Run();
    void Stop_Capture();
    void Pause_Capture();
    void UnPause_Capture();
    void UnAdvise();

    // The cropped picture (the rotated one for a rotated camera), stretched over the box.
    void Draw_Cropped_DIB(gdi::Picture_surface& Box);
    // The activity arm: one turn every 100 frames, clockwise from straight up.
    void Draw_Running_Arm_2(gdi::Picture_surface& Box, int32_t Arm_Color);

    // ---- the frame's JPEG (capture worker) ----
    // The JPEG of the last frame: valid on the capture worker until the next frame. Its size is 0 when the
    // frame has none (compression failed, or it did not fit the limit even at the lowest quality).
    int32_t Last_JPG_Compressed_Size() const { return last_jpg_size_; }
    const uint8_t* Last_JPG_addr() const { return jpeg_buffer_.data(); }
    int16_t Last_used_JPG_quality() const { return last_used_quality_; }
    // The quality the last frame's JPEG was made at, limit or none.
    int16_t Last_Frame_Quality() const { return last_frame_quality_; }
    // Compresses the last frame's crop again, under `limit` bytes, when its JPEG is larger: for a file
    // whose record buffer is smaller than the device's limit. False when it cannot be made to fit.
    bool Fit_JPG_Under(int32_t limit);
    // The frame's JPEG statistics since the crop was last set. The limit is 1.2 times the largest JPEG;
    // with none seen all capture stops, a program error is said and there is no limit.
    void Lock_Max_Direct_Compressed_size();
    void Reset_Compression_Counters();
    int32_t JPG_Compression_Threshold() const { return limit_; }
    int32_t Max_Seen_Compressed_Size() const { return largest_; }
    int32_t Min_Seen_Compressed_Size() const { return smallest_; }
    int32_t Direct_Compressions() const { return compressions_; }
    int32_t Direct_Compressed_Num() const { return compressions_; }
    // Kept for the developer menu; the live frame path compresses every frame whatever it says.
    void Direct_Compress(int16_t on) { direct_compress_ = on; }
    int16_t Direct_Compress() const { return direct_compress_; }
    int32_t Max_Direct_Compressed_size() const { return 0; }
    int32_t Reduced_Quality_Num() const { return reductions_; }
    // Lower qualities tried for the last frame alone.
    int32_t Last_Frame_Reductions() const { return last_frame_reductions_; }
    float Total_Compressed_Bytes() const { return total_bytes_; }
    // Frames without a JPEG since the device was made: the encoder failed, or the frame did not fit.
    int32_t Failed_Compressions() const { return failed_; }
    int32_t Oversize_Frames() const { return oversize_; }

    bool Is_Running() const { return m_is_Running; }
    bool Paused() const { return paused_; }

    // The capture library's sink.
    void OnRGBEvent(capturelib::Capture_Library_Object* pSource, double dSampleTime, const uint8_t* pBuffer,
                    int32_t lBufferSize, int32_t DeviceNumber, const capturelib::Frame_arrival& arrival) override;
    void OnStreamStopped(capturelib::Capture_Library_Object* pSource, const std::string& reason) override;

private:
    int16_t direct_compress_ = 0;
    void Get_VideoHeader();
    void Crop_RGB_picture(const uint8_t* pBuffer, int32_t lBufferSize);
    void Compress_RGB();
    // Encodes the crop from `quality` down until it fits `limit` (no limit below 1); false when the encoder
    // fails or the lowest quality does not fit. `reductions` counts the lower qualities tried.
    bool Encode_Crop(int16_t quality, int32_t limit, int16_t& used, int32_t& reductions);
    void Source_Stopped(const std::string& reason);
    // The frame path's quality and compression switch from the program-wide values; on the window thread.
    void Take_Settings();

    QObject ui_thread_;  // queued calls from the capture threads run on the user-interface thread
    // Held by the capture worker for a whole frame, HDMIreceived included; a new crop takes it first.
    std::mutex frame_mutex_;
    int16_t Event_to_Send = 1;  // 1: HDMIreceived is raised after each frame
    std::function<void()> hdmi_received_;  // under frame_mutex_
    std::unique_ptr<capturelib::Capture_Library_Object> library_;
    int32_t cookie_ = 0;
    std::string id_string_;
    int16_t index_ = 0;
    std::string last_error_;
    std::atomic<bool> m_is_Running{false};
    std::atomic<bool> paused_{false};
    bool source_prop_found_ = false;
    std::string current_friendly_name_;
    std::string current_property_string_;

    std::atomic<bool> do_crop_{false};
    // The frame path's copies of Capture_Rotated, Full_Startup and JPG_Start_Quality: those change on the
    // window thread at any time, and a crop refused while a heat is started must not rotate its frames.
    std::atomic<bool> rotated_{false};
    std::atomic<bool> compress_{false};
    std::atomic<int16_t> quality_{80};
    bool capture_rotate_rgb_ = false;
    int32_t crop_width_ = 0;
    int32_t crop_height_ = 0;
    std::mutex bitmaps_mutex_;  // the crop bitmaps are remade here and painted from here
    cDIBSection crop_dib_;
    cDIBSection rotated_dib_;

    bool post_linear_ = false;
    bool do_log_time_ = false;
    int32_t max_frames_ = 0;

    // The running format's size, read when the camera starts to run.
    std::atomic<int32_t> source_width_{0};
    std::atomic<int32_t> source_height_{0};
    std::atomic<float> format_fps_{0};

    // Written by the capture worker.
    std::atomic<int64_t> m_HDMI_events{0};
    std::atomic<int32_t> last_tick_{0};
    std::atomic<int32_t> last_local_{0};
    std::atomic<int32_t> tick_delta_{0};
    int32_t previous_tick_ = 0;
    std::atomic<int32_t> tick_21_{0}, tick_31_{0}, tick_131_{0};
    int64_t frames_since_mark_ = 0;
    int32_t previous_mark_ = 0;
    std::atomic<float> running_fps_{0};
    std::atomic<float> arm_counter_{0};

    // The frame's JPEG: written on the capture worker; the statistics are read on either thread.
    std::vector<uint8_t> jpeg_buffer_;
    std::atomic<int32_t> last_jpg_size_{0};
    std::atomic<int16_t> last_used_quality_{0};
    std::atomic<int16_t> last_frame_quality_{0};
    std::atomic<int32_t> compressions_{0}, reductions_{0}, largest_{0}, smallest_{999999}, limit_{0};
    std::atomic<float> total_bytes_{0};
    std::atomic<int32_t> failed_{0}, oversize_{0}, last_frame_reductions_{0};
};
