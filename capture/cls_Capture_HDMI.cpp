#include "cls_Capture_HDMI.h"

#include "Module_HDMI_Support.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/graphics/Graphics.h"
#include "platform/jpeg/Jpeg_codec.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"
#include "shell/mTrace.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Module_Vantorel;

namespace {
constexpr const char* CrLf = "\r\n";
}  // namespace

cls_Capture_HDMI::cls_Capture_HDMI() : cls_Capture_HDMI(std::make_unique<capturelib::Capture_Library_Object>()) {}

cls_Capture_HDMI::cls_Capture_HDMI(std::unique_ptr<capturelib::Capture_Library_Object> library)
    : library_(std::move(library)) {
    mTrace::Trace("*Cls_Capture_HDMI Initialize ");
    cookie_ = library_->Advise_Sink(this);
}

cls_Capture_HDMI::~cls_Capture_HDMI() {
    mTrace::Trace("*cls_Capture_HDMI Class_Terminate begin, index = ", index_, " ID_string = ", id_string_);
    Stop_Capture();
    mTrace::Trace("*cls_Capture,oCapture Unadvise");
    if (cookie_ != 0) {
        library_->Unadvise_Sink(cookie_);
        cookie_ = 0;
    }
    library_.reset();
    mTrace::Trace("*cls_Capture_HDMI Class_Terminate End");
}

void cls_Capture_HDMI::Advise() {
    if (cookie_ != 0) return;
    cookie_ = library_->Advise_Sink(this);
    last_error_ = library_->Get_Last_Error();
}

void cls_Capture_HDMI::UnAdvise() {
    mTrace::Trace("*cls_Capture UnAdvise begin, index = ", index_, " ID_string = ", id_string_);
    if (cookie_ == 0) return;
    mTrace::Trace("*cls_Capture_HDMI UnAdvise");
    library_->Unadvise_Sink(cookie_);
    cookie_ = 0;
}

void cls_Capture_HDMI::HDMIreceived(std::function<void()> handler) {
    std::lock_guard frame(frame_mutex_);
    hdmi_received_ = std::move(handler);
}

void cls_Capture_HDMI::set_HDMI_Crop(int16_t cr_X, int16_t cr_Y) {
    mTrace::Trace("*HDMI_Crop X,Y = ", cr_X, ",", cr_Y);
    std::scoped_lock lock(frame_mutex_, bitmaps_mutex_);
    Take_Settings();
    // The rotation goes with the bitmaps made for it.
    rotated_ = Capture_Rotated;
    crop_width_ = cr_X;
    crop_height_ = cr_Y;
    crop_dib_.Create(cr_X, cr_Y);
    if (capture_rotate_rgb_) rotated_dib_.Create(cr_Y, cr_X);
    // Room for the longest JPEG of the crop, so no quality can overrun it.
    int64_t capacity = std::max<int64_t>(crop_dib_.SizeImage(), jpeg::Max_Stream_Size(cr_X, cr_Y));
    jpeg_buffer_.assign(static_cast<size_t>(std::max<int64_t>(capacity, 1)), 0);
    last_jpg_size_ = 0;
    Reset_Compression_Counters();
}

void cls_Capture_HDMI::Take_Settings() {
    if (JPG_Start_Quality == 0) JPG_Start_Quality = 80;
    quality_ = JPG_Start_Quality;
    compress_ = Full_Startup;
}

void cls_Capture_HDMI::Reset_Compression_Counters() {
    compressions_ = 0;
    reductions_ = 0;
    largest_ = 0;
    total_bytes_ = 0;
    limit_ = 0;
    smallest_ = 999999;
}

void cls_Capture_HDMI::Lock_Max_Direct_Compressed_size() {
    if (largest_ == 0) {
        Program_commands::Emergency_Stop();
        ui::MsgBox("Program error! m_Max_Seen_Direct_Compressed_size = 0, Please notify developer!", ui::vbOKOnly);
    }
    limit_ = vb::CLng(largest_ * 1.2);
    mTrace::Trace("**Lock_Max_Direct_Compressed_size, threshold =  ", limit_.load());
}

void cls_Capture_HDMI::Post_linear(bool value) {
    vb::Trap(Is_Compiled, "Post_Linear of Class Module cls_Capture", [&] {
        post_linear_ = value;
        mTrace::Trace("Post_linear ", post_linear_);
    });
}

// The frame store that the count sizes is never filled by the live frame path, so only the count is kept.
void cls_Capture_HDMI::MaxFrames(int32_t n) {
    mTrace::Trace("*cls_Capture MaxFrames, index = ", index_, " ID_string = ", id_string_, " Maxframes = ", n);
    max_frames_ = n;
}

int32_t cls_Capture_HDMI::last_Capture_delta() const {
    int32_t delta = tick_delta_;
    return delta < 0 || delta > 10000 ? 0 : delta;
}

int32_t cls_Capture_HDMI::HDMI_events() const { return vb::To_Int32(m_HDMI_events); }

float cls_Capture_HDMI::Measured_fps() const {
    float fps = 0;
    vb::Trap(Is_Compiled, "Measured_fps of Class Module cls_Capture_HDMI", [&] {
        if (tick_131_ == 0) return;
        int32_t span = sys::Tick_Diff(tick_131_, tick_31_);
        if (span == 0) vb::Raise(vb::Err_Division_By_Zero);
        fps = static_cast<float>(vb::Round(100 / (span / 1000.0)));
    });
    return fps;
}

int16_t cls_Capture_HDMI::Running_Fps() const { return vb::CInt(running_fps_.load()); }

float cls_Capture_HDMI::Camera_fps() const {
    const float measured = Measured_fps();
    return measured > 0 ? measured : format_fps_.load();
}

bool cls_Capture_HDMI::Frames_Arriving() const {
    if (!m_is_Running || paused_ || m_HDMI_events == 0) return false;
    const int32_t age = sys::Tick_Diff(sys::timeGetTime(), last_tick_);
    return age >= 0 && age <= Arrival_Window_ms;
}

namespace {
float Rate_Of(const capturelib::VIDEOINFOHEADER* info) {
    return info && info->AvgTimePerFrame > 0 ? static_cast<float>(1e7 / static_cast<double>(info->AvgTimePerFrame)) : 0.0f;
}
}  // namespace

std::string cls_Capture_HDMI::HDMI_Sample_Dimensions() const {
    return std::to_string(source_width_) + "*" + std::to_string(source_height_);
}

bool cls_Capture_HDMI::Set_Source_from_Saved() {
    mTrace::Trace("*Set_Source_from_Saved, begin");
    m_saved_Friendly_name = Non_dependant::Read_Ini("capturesettings", "friendlyname", Ini_file_path, "noname");
    m_saved_Video_prop_num = Non_dependant::Read_Ini("capturesettings", "videoproperty", Ini_file_path, "-1");
    mTrace::Trace("*Set_Source_from_Saved: m_saved_Friendly_name = " + m_saved_Friendly_name +
                  "m_saved_Video_prop_num= " + m_saved_Video_prop_num);
    bool found = false;
    for (int n = 1; n <= 10; ++n) {
        int32_t selected = library_->Select_Source("video:" + std::to_string(n));
        library_->Get_Last_Error();
        if (selected == 0) break;
        std::string name = library_->Get_Property("sourceFriendlyName");
        if (name != m_saved_Friendly_name) continue;
        current_friendly_name_ = name;
        found = true;
        if (name.find("XI100DUSB") != std::string::npos) QCoreApplication::processEvents();
        else library_->Set_Property("SetFormat", m_saved_Video_prop_num);
        const capturelib::AM_MEDIA_TYPE* media = library_->Media_Type_At(library_->Get_Property("GetProp"));
        current_property_string_ = Module_HDMI_Support::Process_AMT(media);
        format_fps_ = Rate_Of(media ? media->pbFormat : nullptr);
        mTrace::Trace("*Sourcenum = " + std::to_string(n) + " Property = " + current_property_string_);
        source_prop_found_ = true;
        break;
    }
    mTrace::Trace("*Found_Friendly = ", found);
    if (!found) {
        ui::MsgBox("Could not find the saved Video source! Please re-select Video source!", ui::vbOKOnly);
        source_prop_found_ = false;
    }
    return found;
}

void cls_Capture_HDMI::Capture_Run() {
    int step = 0;
    vb::Trap_With(
        true,
        [&] {
            mTrace::Trace("Capture_run begin ", "Post-hit_frames = ", 0, "Max_frames = ", max_frames_);
            m_HDMI_events = 0;
            arm_counter_ = 0;
            Take_Settings();
            m_is_Running = true;
            step = 3190;
            Advise();
            step = 3200;
            try {
                library_->Run();
            } catch (...) {
                m_is_Running = false;  // nothing runs, so a later stop has nothing to stop
                throw;
            }
            Get_VideoHeader();
            step = 3210;
            last_error_ = library_->Get_Last_Error();
            mTrace::Trace("*Capture_Run end ");
        },
        [&](const VbError& e) {
            ui::MsgBox("Capture_run error at " + std::to_string(step) + " description = " + e.Description());
        });
}

// Read at every run, so a format chosen since the device was made is described as it is.
void cls_Capture_HDMI::Get_VideoHeader() {
    const capturelib::VIDEOINFOHEADER* info = library_->Video_Info_At(library_->Get_Property("VIDEOINFOHEADER"));
    source_width_ = info ? info->biWidth : 0;
    source_height_ = info ? info->biHeight : 0;
    if (Rate_Of(info) > 0) format_fps_ = Rate_Of(info);
}

void cls_Capture_HDMI::Stop_Capture() {
    if (m_is_Running) {
        mTrace::Trace(" *cls_capture Stop, object =  ", index_, " source = ", 0);
        library_->Stop();
        m_is_Running = false;
    } else {
        mTrace::Trace(" *cls_capture m_is_Running = False  ID = ", id_string_);
    }
}

void cls_Capture_HDMI::Pause_Capture() {
    mTrace::Trace("*Pause_Capture, index = ", index_);
    if (!m_is_Running) return;
    library_->Stop();
    paused_ = true;
}

void cls_Capture_HDMI::UnPause_Capture() {
    if (!paused_) return;
    library_->Run();
    paused_ = false;
}

void cls_Capture_HDMI::Draw_Cropped_DIB(gdi::Picture_surface& Box) {
    std::lock_guard lock(bitmaps_mutex_);
    cDIBSection& shown = rotated_ ? rotated_dib_ : crop_dib_;
    shown.DIB_PaintPicture(Box.hDC(), 0, 0, vb::CLng(Box.ScaleWidth()), vb::CLng(Box.ScaleHeight()), 0, 0,
                           gdi::SRCCOPY);
}

void cls_Capture_HDMI::Draw_Running_Arm_2(gdi::Picture_surface& Box, int32_t Arm_Color) {
    vb::Trap(Is_Compiled, "Draw_running_arm_2 of CLS_CAPTURE", [&] {
        Box.Cls();
        double angle = (arm_counter_ / 100.0 * 2) * 3.14159 - 1.570795;
        int32_t cx = vb::CLng(Box.ScaleWidth()) / 2;
        int32_t cy = vb::CLng(Box.ScaleHeight()) / 2;
        int32_t draw_width = std::min<int32_t>(vb::CInt(Box.ScaleWidth() / 8), 4);
        gdi::Device_context* dc = Box.hDC();
        gdi::Pen* pen = gdi::CreatePen(gdi::PS_SOLID, draw_width, static_cast<gdi::COLORREF>(Arm_Color));
        gdi::Gdi_object* old = gdi::SelectObject(dc, pen);
        gdi::MoveToEx(dc, vb::CLng(cx + cx * std::cos(angle)), vb::CLng(cy + cy * std::sin(angle)));
        gdi::LineTo(dc, cx, cy);
        gdi::SelectObject(dc, old);
        gdi::DeleteObject(pen);
        Box.Refresh();
    });
}

void cls_Capture_HDMI::OnRGBEvent(capturelib::Capture_Library_Object*, double, const uint8_t* pBuffer,
                                  int32_t lBufferSize, int32_t, const capturelib::Frame_arrival& arrival) {
    std::lock_guard frame(frame_mutex_);
    int32_t tick = arrival.tick;
    last_tick_ = tick;
    last_local_ = arrival.local_mill;
    tick_delta_ = sys::Tick_Diff(tick, previous_tick_);
    previous_tick_ = tick;
    int64_t events = ++m_HDMI_events;
    if (++frames_since_mark_ >= 50) {
        int32_t d = sys::Tick_Diff(tick, previous_mark_);
        if (d > 0) {
            running_fps_ = static_cast<float>(vb::Round(50000.0 / d));
            previous_mark_ = tick;
            frames_since_mark_ = 0;
        }
    }
    if (events == 21) tick_21_ = tick;
    if (events == 31) tick_31_ = tick;
    if (events == 131) tick_131_ = tick;
    float arm = arm_counter_ + 1;
    arm_counter_ = arm > 100 ? 1 : arm;
    if (do_crop_) {
        std::lock_guard lock(bitmaps_mutex_);
        Crop_RGB_picture(pBuffer, lBufferSize);
        if (rotated_) {
            if (crop_dib_.SizeImage() != rotated_dib_.SizeImage()) {
                // Nothing sound can be shown or recorded; said once, on the window thread.
                QMetaObject::invokeMethod(&ui_thread_, [] {
                    Program_commands::Emergency_Stop();
                    ui::MsgBox("OnRGBEvent Rotate90 size mismatch!", ui::vbOKOnly);
                }, Qt::QueuedConnection);
                return;
            }
            graphics::Rotate90(crop_dib_.DIBSectionBitsPtr(), rotated_dib_.DIBSectionBitsPtr(), crop_dib_.Width(),
                               crop_dib_.Height(), 0);
        }
    }
    if (Event_to_Send == 1 && hdmi_received_) hdmi_received_();
}

// The centre of the source picture, unscaled; a crop larger than the source keeps black borders.
void cls_Capture_HDMI::Crop_RGB_picture(const uint8_t* pBuffer, int32_t lBufferSize) {
    const int32_t sw = source_width_, sh = source_height_;
    const int32_t cw = crop_dib_.Width(), ch = crop_dib_.Height();
    uint8_t* crop = crop_dib_.DIBSectionBitsPtr();
    if (!pBuffer || !crop || sw <= 0 || sh <= 0) return;
    const int64_t source_stride = (int64_t{sw} * 3 + 3) / 4 * 4;
    if (lBufferSize < source_stride * sh) return;
    const int32_t crop_stride = crop_dib_.BytesPerScanLine();
    const int32_t x_offset = vb::CInt(sw / 2.0 - cw / 2.0);
    const int32_t y_offset = vb::CInt(sh / 2.0 - ch / 2.0);
    const int32_t x0 = std::max(0, x_offset), x1 = std::min(sw, x_offset + cw);
    const int32_t y0 = std::max(0, y_offset), y1 = std::min(sh, y_offset + ch);
    for (int32_t y = y0; y < y1; ++y)
        std::memcpy(crop + int64_t{y - y_offset} * crop_stride + int64_t{x0 - x_offset} * 3,
                    pBuffer + y * source_stride + int64_t{x0} * 3, static_cast<size_t>(std::max(0, x1 - x0)) * 3);
    Compress_RGB();
}

void cls_Capture_HDMI::Compress_RGB() {
    if (!compress_) return;
    const int32_t limit = limit_;
    int16_t used = 0;
    int32_t reductions = 0;
    const bool ok = Encode_Crop(quality_, limit, used, reductions);
    reductions_ += reductions;
    last_frame_reductions_ = reductions;
    if (!ok) return;
    last_frame_quality_ = used;
    const int32_t size = last_jpg_size_;
    if (limit < 1) {
        largest_ = std::max<int32_t>(largest_, size);
        smallest_ = std::min<int32_t>(smallest_, size);
    } else {
        last_used_quality_ = used;
    }
    ++compressions_;
    total_bytes_ = total_bytes_ + static_cast<float>(size);
}

bool cls_Capture_HDMI::Fit_JPG_Under(int32_t limit) {
    if (last_jpg_size_ > 0 && last_jpg_size_ <= limit) return true;
    std::lock_guard lock(bitmaps_mutex_);
    int16_t used = 0;
    int32_t reductions = 0;
    const bool ok = Encode_Crop(last_used_quality_ > 0 ? last_used_quality_.load() : quality_.load(), limit, used,
                                reductions);
    reductions_ += reductions;
    if (ok) {
        last_used_quality_ = used;
        last_frame_quality_ = used;
    }
    return ok;
}

bool cls_Capture_HDMI::Encode_Crop(int16_t quality, int32_t limit, int16_t& used, int32_t& reductions) {
    int16_t q = quality;
    for (;;) {
        uint64_t size = jpeg_buffer_.size();
        if (jpeg::Encode(crop_dib_.DIBSectionBitsPtr(), crop_dib_.Width(), crop_dib_.BytesPerScanLine(),
                         crop_dib_.Height(), q, jpeg_buffer_.data(), size) != 0) {
            mTrace::Trace("*Compress_RGB failed: ", jpeg::Last_Error_Text());
            last_jpg_size_ = 0;
            ++failed_;
            return false;
        }
        if (limit < 1 || static_cast<int64_t>(size) <= limit) {
            last_jpg_size_ = static_cast<int32_t>(size);
            used = q;
            return true;
        }
        const int16_t lower = vb::CInt(q * 0.8);
        if (lower >= q) {
            // Even the lowest quality is larger than the limit: the frame has no JPEG.
            last_jpg_size_ = 0;
            ++oversize_;
            return false;
        }
        q = lower;
        ++reductions;
    }
}

void cls_Capture_HDMI::OnStreamStopped(capturelib::Capture_Library_Object*, const std::string& reason) {
    QMetaObject::invokeMethod(&ui_thread_, [this, reason] { Source_Stopped(reason); }, Qt::QueuedConnection);
}

// The camera went away or failed: nothing more arrives. What was recorded stays as it is.
void cls_Capture_HDMI::Source_Stopped(const std::string& reason) {
    m_is_Running = false;
    paused_ = false;
    Capture_Running = false;
    mTrace::Trace("*Video source stopped: " + reason);
    Write_Event_Log(" Video source " + current_friendly_name_ + " stopped: " + reason);
    ui::MsgBox("The video source \"" + current_friendly_name_ + "\" stopped: " + reason + "." + CrLf +
                   "Frames recorded so far are kept. Select the video source again to go on.",
               ui::vbExclamation);
}
