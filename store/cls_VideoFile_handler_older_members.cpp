// Members of the store that no window of this program calls: the file's dates, the older header and
// record checks, the older property report and the model values. Developer commands and tools reach them.
#include "cls_VideoFile_handler.h"

#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Code_page.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/mTrace.h"

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char* const Source = "cls_VideoFile_handler";

std::string Date_Of(int64_t seconds) { return sys::Date_Time_Text(sys::Local_Time_Of(seconds)); }

std::string Truth(bool value) { return value ? "True" : "False"; }

}  // namespace

std::string cls_VideoFile_handler::DateCreated() const { return Date_Of(fs::Created(m_File_Name)); }

std::string cls_VideoFile_handler::DateLastModified() const { return Date_Of(fs::Last_Modified(m_File_Name)); }

int16_t cls_VideoFile_handler::IsFileInUse(const std::string& path) {
    if (!Module_dependant::FileExists(path)) return -999;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    // No sharing: another holder of a lock on the file keeps it in use.
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return locked ? -1 : 0;
}

std::string cls_VideoFile_handler::DV_frame_dump_path() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return ((error ? std::filesystem::path("/tmp") : folder) / "dv_frame.dv").string();
}

void cls_VideoFile_handler::xWrite_DV_frame() {
    // Only a frame that was read whole is written: a short or failed read holds no frame to dump.
    if (!older_ || older_->kind == Older_kind_state::Kind::avi || older_->frame_in_store == 0 || !frame_available_ ||
        older_->frame_buffer.size() < static_cast<size_t>(older_->frame_data_size) || older_->frame_data_size <= 0)
        vb::Raise(vb::Err_Object_Not_Set, "No DV frame is held to write", Source);
    Binary_file dump;
    dump.Open(DV_frame_dump_path(), Binary_file::Mode::read_write_empty);
    dump.Write_At(0, {older_->frame_buffer.data(), static_cast<size_t>(older_->frame_data_size)});
    dump.Close();
}

void cls_VideoFile_handler::Initiate_KD3_File(const std::string&) {
    mTrace::Trace("*Initiate_KD3_File");
    last_jpeg_size_ = 0;
    rounded_compressed_size_ = 0;
    buffer_size_ = 0;
    write_record_.clear();
    Create_KD3_header();
}

void cls_VideoFile_handler::Initiate_KDR_File() {
    Create_KD3_header();
    last_jpeg_size_ = 0;
    rounded_compressed_size_ = 0;
    buffer_size_ = 0;
    write_record_.clear();
}

void cls_VideoFile_handler::ReCreate_XML_header() {
    Cls_XML_header& h = Header();
    // A header that has them keeps what reading the frames needs: a default picture size of 0 x 0 and
    // no record length would leave every frame of the file unreadable.
    std::function<void()> restore = [] {};
    try {
        restore = [&h, x = h.RGB_X(), y = h.RGB_Y(), interlaced = h.RGB_interlaced(), rotated = h.RGB_Rotated(),
                   fourcc = h.RGB_fourcc(), codec = h.RGB_JPEG_Codec(), quality = h.RGB_JPEG_Quality(),
                   sample = h.RGB_Sample_Size(), buffer = h.RGB_Compressed_buffer_Size(), frames = h.Frames_no(),
                   segments = h.Segments_no()] {
            h.RGB_X(x);
            h.RGB_Y(y);
            h.RGB_interlaced(interlaced);
            h.RGB_Rotated(rotated);
            h.RGB_fourcc(fourcc);
            h.RGB_JPEG_Codec(codec);
            h.RGB_JPEG_Quality(quality);
            h.RGB_Sample_Size(sample);
            h.RGB_Compressed_buffer_Size(buffer);
            h.Frames_no(frames);
            h.Segments_no(segments);
        };
    } catch (const VbError&) {
    }
    h.Create_Header();
    restore();
    Write_XML_Header();
}

void cls_VideoFile_handler::Dump_XML_String(const std::string& text) {
    const std::string exe = fs::Executable_Path();
    const std::string folder = exe.empty() ? "." : std::filesystem::path(exe).parent_path().string();
    const std::string bytes = vb::Utf8_To_Ansi(text);
    Binary_file dump;
    dump.Open(folder + "/dumpxml.xml", Binary_file::Mode::read_write_new);
    dump.Write_At(0, {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    dump.Close();
}

void cls_VideoFile_handler::Analyze_Sample_Length(const std::string& file_name) {
    mTrace::Trace("*Analyze_Sample_Length ", file_name);
    Binary_file file;
    file.Open(file_name, Binary_file::Mode::read_only);
    kd3::Header_Bytes record{};
    if (file.Read_At(0, record) < kd3::Header_Length)
        vb::Raise(62, "Input past end of file: " + file_name + " is shorter than its header record", Source);
    const kd3::File_Header parsed = kd3::Get_File_Header(record);
    // The file's own header, not the document of the file this store may have open.
    Cls_XML_header header;
    if (parsed.xml_length <= 0 ||
        !header.XML_string(vb::Ansi_To_Utf8({reinterpret_cast<const uint8_t*>(parsed.ansi_text.data()), parsed.ansi_text.size()})))
        vb::Raise(vb::Err_Object_Not_Set, "The header record of " + file_name + " holds no readable header", Source);
    const int32_t sample_size = header.RGB_Sample_Size();
    std::vector<uint8_t> start(400000);
    start.resize(static_cast<size_t>(file.Read_At(0, start)));
    file.Close();
    const std::string_view bytes(reinterpret_cast<const char*>(start.data()), start.size());
    const size_t first = bytes.find("RGBS");
    const size_t second = first == std::string_view::npos ? first : bytes.find("RGBS", first + 4);
    if (second == std::string_view::npos)
        vb::Raise(vb::Err_Invalid_Call, "Fewer than two frame records start in the first 400000 bytes of " + file_name, Source);
    mTrace::Trace("*Analyze_Sample_Length, distance = ", static_cast<int64_t>(second - first), " header = ", sample_size);
    if (static_cast<int64_t>(second - first) != sample_size) ui::MsgBox("sample size missmatch!", ui::vbOKOnly);
}

void cls_VideoFile_handler::Read_RGB_Headers() {
    if (!File_open()) vb::Raise(52, "Bad file name or number: no capture file is open", Source);
    kd3::Header_Bytes record{};
    if (file_.Read_At(0, record) < kd3::Header_Length)
        vb::Raise(62, "Input past end of file: " + m_File_Name + " is shorter than its header record", Source);
    const kd3::File_Header parsed = kd3::Get_File_Header(record);
    if (parsed.xml_length <= 0 || parsed.xml_length > kd3::XML_Capacity)
        vb::Raise(vb::Err_Subscript,
                  "The header record of " + m_File_Name + " gives a text length of " + std::to_string(parsed.xml_length) +
                      ", outside 1 to " + std::to_string(kd3::XML_Capacity),
                  Source);
    header_readable_ = Header().XML_string(
        vb::Ansi_To_Utf8({reinterpret_cast<const uint8_t*>(parsed.ansi_text.data()), parsed.ansi_text.size()}));
}

int32_t cls_VideoFile_handler::RGB_TimeStamp() {
    return sys::Tick_Add(sys::Tick_Diff(rounded_capture_time_, Header().Start_PC_mill(1)), field_to_show_ == 2 ? 20 : 0);
}

int32_t cls_VideoFile_handler::Multi_TimeStamp(int16_t) const {
    // The older heat start and offset are never set: both are 0.
    return sys::Tick_Add(rounded_capture_time_, field_to_show_ == 2 ? 20 : 0);
}

void cls_VideoFile_handler::RGB_Sample_Size(int32_t value) { Header().RGB_Sample_Size(value); }

bool cls_VideoFile_handler::Has_weight_data() { return Header().Has_weight_data(); }
float cls_VideoFile_handler::model_size_factor() { return Header().model_size_factor(1); }
int16_t cls_VideoFile_handler::model_X_offset() { return Header().model_X_offset(1); }
int16_t cls_VideoFile_handler::model_Y_offset() { return Header().model_Y_offset(1); }

void cls_VideoFile_handler::Venue(const std::string& value) { Header().Venue(value); }
std::string cls_VideoFile_handler::Venue() { return Header().Venue(); }

int16_t cls_VideoFile_handler::Frame_Rate() const {
    if (!older_ || older_->kind == Older_kind_state::Kind::avi || older_->kind == Older_kind_state::Kind::none) return 0;
    return older_->ntsc ? 30 : 25;
}

int32_t cls_VideoFile_handler::Clip_length() const {
    if (!older_ || older_->kind == Older_kind_state::Kind::none) return 0;
    return Frames_Span(frame_count_);
}

int16_t cls_VideoFile_handler::num_Fields_Gross() const {
    if (!older_ || older_->kind != Older_kind_state::Kind::kdr) return 0;
    return static_cast<int16_t>(std::min<int64_t>(int64_t{2} * frame_count_, INT16_MAX));
}

std::string cls_VideoFile_handler::Property_String() {
    const std::string end = "\r\n";
    const double megabytes = vb::Round(static_cast<double>(fs::File_Size(m_File_Name)) / 1048576, 1);
    std::string text = "File name : " + m_File_Name + end + "File size= " + vb::CStr(megabytes) + " mByte" + end;
    Cls_XML_header& h = Header();
    if (m_file_suffix == "kd3") {
        text = "File_size: " + vb::CStr(megabytes) + " MB" + end;
        text += "Progressive : " + Truth(!h.RGB_interlaced()) + end;
        text += "Frames : " + std::to_string(h.Frames_no()) + end;
        text += "Dimensions : " + std::to_string(width_) + "*" + std::to_string(height_) + end;
        text += "Rotated : " + Truth(RGB_Rotated()) + end;  // the file's, not the next header's
        text += "Fourcc : " + fourcc_ + end;
        text += "Codec : " + codec_ + end;
        text += "Quality : " + std::to_string(file_quality_) + end;
        text += "Measured fps : " + h.RGB_fps() + end;
        text += "Phidget serial  : " + h.Phidget_serial() + end;
        text += "Comment : " + h.comment(1) + end;
    }
    else if (m_file_suffix == "dv") {
        text += "Num frames = " + std::to_string(frame_count_) + end;
        text += "Dimensions w*h = " + std::to_string(width_) + " * " + std::to_string(height_) + end;
        text += "NTSC: " + Truth(NTSC()) + end;
        text += "Clip length = " + vb::CStr(vb::Round(Clip_length() / 1000.0, 1)) + " sec" + end;
    } else if (m_file_suffix == "avi" || m_file_suffix == "AVI") {
        text += "Num frames = " + std::to_string(frame_count_) + end;
        text += "Dimensions w*h = " + std::to_string(width_) + " * " + std::to_string(height_) + end;
        text += "NTSC: " + Truth(NTSC()) + end;
        text += "Fourcc = " + video_codec_ + end;
        if (mill_per_frame_ > 0) text += "Fps = " + vb::CStr(vb::Round(1000.0 / mill_per_frame_, 1)) + end;
        if (frame_count_ > 0)
            text += "kByte/frame =   " +
                    vb::CStr(vb::Round(static_cast<double>(fs::File_Size(m_File_Name)) / frame_count_ / 1024, 0)) + end;
        text += "Has XML chunk = " + Truth(Has_XML_header()) + end;
    } else if (m_file_suffix == "kd1" || m_file_suffix == "kd2") {
        const int16_t streams = Num_Video_streams();
        text += "Num frames = " + std::to_string(frame_count_);
        if (streams > 1) text += "*" + std::to_string(streams);
        text += end;
        text += "Num streams = " + std::to_string(streams) + end;
        text += "Clip length = " + vb::CStr(vb::Round(Clip_length() / 1000.0, 1)) + " sec" + end;
        const bool rotated = streams >= 1 && Stream_rotated(1);
        text += "Dimensions w*h = " + std::to_string(width_) + " * " + std::to_string(height_);
        if (rotated) text += " Rotated dimensions = " + std::to_string(height_) + " * " + std::to_string(width_);
        text += end;
        text += "NTSC: " + Truth(NTSC()) + end;
        if (is_DV()) text += "Wide-screen = " + Truth(Wide_Screen()) + end;
        text += "Rotated = " + Truth(rotated) + end;
        text += "Fourcc = " + Module_Vantorel::DV_Fourcc + end;
        if (mill_per_frame_ > 0) text += "Fps = " + vb::CStr(vb::Round(1000.0 / mill_per_frame_, 1)) + end;
        for (int16_t n = 1; n <= 3; ++n) text += "Comment" + std::to_string(n) + "= " + h.comment(n) + end;
        text += "Subject name = " + h.Subject_name() + end;
    }
    if (Has_XML_header()) {
        text += "Selection start/end = " + std::to_string(Selection_start()) + "/" + std::to_string(Selection_end()) + end;
        text += "Special application =  " + h.SpecApp() + end;
        if (vb::UCase(h.SpecApp()) == "GOLF") {
            text += "Swing top at =  " + std::to_string(Top_field()) + end;
            text += "Swing impact at =  " + std::to_string(Impact_field()) + end;
        }
        if (Num_Video_streams() == 2) text += "Stream 2 offset =  " + std::to_string(h.Offset_fields(2)) + end;
    }
    return text;
}
