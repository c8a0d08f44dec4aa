// The older capture file kinds: opening dv, sdv, kd1 and kd2 files, reading their frames with the
// extra data the recorder kept in them, drawing them for review, and appending DV frames to kd1 and
// kd2 files. AVI files: cls_VideoFile_handler_avi.cpp.
#include "cls_VideoFile_handler.h"

#include "DV_Timecode_module.h"

#include "platform/fs/File_system.h"
#include "platform/graphics/Graphics.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Code_page.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

const char* const Source = "cls_VideoFile_handler";

[[noreturn]] void Refuse(int32_t number, const std::string& description) { vb::Raise(number, description, Source); }

// n / d to the nearest whole number, a half to the even neighbour.
int32_t Rounded_Quotient(int64_t n, int64_t d) { return d > 0 ? vb::CLng(vb::Round(static_cast<double>(n) / d)) : 0; }

// Frames that at least begin inside `available` bytes: a last frame cut short still counts, and reads
// as unavailable.
int32_t Frames_Begun(int64_t available, int64_t frame_span) {
    if (available <= 0 || frame_span <= 0) return 0;
    return static_cast<int32_t>(std::min<int64_t>((available + frame_span - 1) / frame_span, INT32_MAX));
}

}  // namespace

// ---- opening ----

bool cls_VideoFile_handler::Open_Older_File(const std::string& suffix) {
    older_ = std::make_unique<Older_kind_state>();
    bottom_field_first_ = false;
    header_in_file_ = true;
    const std::string kind = vb::LCase(suffix);
    if (kind == "dv") {
        Open_DV_File();
    } else if (kind == "sdv") {
        Open_SDV_File();
    } else if (kind == "kd1" || kind == "kd2") {
        if (!Open_KDR_File()) return false;
    } else if (!Open_AVI_File()) {
        return false;
    }
    if (!File_open()) return false;
    if (older_->kind != Older_kind_state::Kind::avi) {
        // DV: two fields a frame, the lower field first in time.
        interlaced_ = true;
        bottom_field_first_ = true;
        field_count_ = 2 * frame_count_;
        if (!older_->decoder.Open(""))
            Refuse(vb::Err_Cannot_Perform, "No DV decoder is available for " + m_File_Name);
    }
    rotated_ = stream_table_[0].rotated;
    if (older_->kind != Older_kind_state::Kind::avi) {
        // kd1 and kd2 keep the compression the description holds already.
        const uint32_t compression = older_->kind == Older_kind_state::Kind::kdr ? frame_format_.biCompression
                                                                                 : clsAVIInfo::FourCCToLong(video_codec_);
        Set_Frame_Format(width_, height_, compression);
    }
    if (width_ > 0 && height_ > 0 && (frame_image_.Width() != width_ || frame_image_.Height() != height_)) {
        Settle_Shown();
        frame_image_.Create(width_, height_);
        field_image_.Create(width_, height_);
    }
    return true;
}

void cls_VideoFile_handler::Refuse_Unless_KDR() const {
    // Another kind's header (a kd3 file's above all) is never read or overwritten as a kd1 or kd2 layout.
    if (m_file_suffix != "kd1" && m_file_suffix != "kd2")
        Refuse(vb::Err_Invalid_Call, "The kd1 and kd2 header record belongs to kd1 and kd2 files only, not to " + m_File_Name);
}

void cls_VideoFile_handler::Set_Frame_Format(int32_t width, int32_t height, uint32_t compression) {
    frame_format_ = {};
    frame_format_.biSize = 40;
    frame_format_.biWidth = width;
    frame_format_.biHeight = height;
    frame_format_.biPlanes = 1;
    frame_format_.biBitCount = 24;
    frame_format_.biCompression = compression;
    frame_format_.biSizeImage = static_cast<uint32_t>(Frame_Data_Size());
}

int32_t cls_VideoFile_handler::Frames_Span(int64_t count) const {
    // NTSC runs at 30000/1001 frames a second; its 33 ms a frame would lose 0.66 s a minute.
    if (older_ && older_->ntsc) return vb::To_Int32(static_cast<int64_t>(vb::Round(count * 1001.0 / 30.0)));
    return vb::To_Int32(count * mill_per_frame_);
}

int32_t cls_VideoFile_handler::Fields_Span(int64_t count) const {
    if (older_ && older_->ntsc) return vb::To_Int32(static_cast<int64_t>(vb::Round(count * 1001.0 / 60.0)));
    return vb::To_Int32(count * mill_per_field_);
}

void cls_VideoFile_handler::Open_Older(Binary_file::Mode mode) {
    m_Read_only = Binary_file::Has_Read_Only_Attribute(m_File_Name);
    file_.Open(m_File_Name, m_Read_only ? Binary_file::Mode::read_only : mode);
}

void cls_VideoFile_handler::Load_Default_Header() {
    // A kind without header text reviews with the default course; nothing is ever written back.
    header_ = std::make_unique<Cls_XML_header>();
    header_->rgb(true);
    header_->Create_Header();
    // Taken as if it had been read, so the document answers as a file's header does.
    header_readable_ = header_->XML_string(header_->XML_string());
    header_in_file_ = false;
}

void cls_VideoFile_handler::find_DV_offset(const std::string& file_name) {
    if (!older_) older_ = std::make_unique<Older_kind_state>();
    Binary_file probe;
    probe.Open(file_name, Binary_file::Mode::read_only);
    older_->chunk_buffer.assign(1001, 0);
    const int64_t got = probe.Read_At(0, older_->chunk_buffer);
    auto first = std::find_if(older_->chunk_buffer.begin(), older_->chunk_buffer.begin() + got,
                              [](uint8_t b) { return b != 0; });
    if (first == older_->chunk_buffer.begin() + got)
        Refuse(vb::Err_Subscript, "The first " + std::to_string(got) + " bytes of " + file_name + " hold no DV data");
    older_->dv_offset = static_cast<int32_t>(first - older_->chunk_buffer.begin());
}

void cls_VideoFile_handler::Open_DV_File() {
    Older_kind_state& o = *older_;
    o.kind = Older_kind_state::Kind::dv;
    find_DV_offset(m_File_Name);
    const bool sixty = dv::Field_Rate(o.chunk_buffer) == 60;
    o.ntsc = sixty;
    width_ = 720;
    height_ = sixty ? 480 : 576;
    mill_per_frame_ = sixty ? 33 : 40;
    mill_per_field_ = sixty ? 16 : 20;
    o.frame_data_size = sixty ? dv::Frame_Size_525 : dv::Frame_Size;
    o.frame_buffer.assign(static_cast<size_t>(o.frame_data_size), 0);
    video_codec_.clear();
    Open_Older(Binary_file::Mode::read_write);
    const int64_t length = file_.Size();
    frame_count_ = Rounded_Quotient(length, o.frame_data_size);
    o.calculated_frames = frame_count_;
    interlaced_ = false;
    Load_Default_Header();
}

void cls_VideoFile_handler::Open_SDV_File() {
    Older_kind_state& o = *older_;
    o.kind = Older_kind_state::Kind::sdv;
    Open_Older(Binary_file::Mode::read_write);
    const int64_t length = file_.Size();
    if (file_.Read_At(0, o.sdv_header.Bytes()) < dv::DV_File_Header_Length)
        Refuse(62, m_File_Name + " is shorter than its DV file header record");
    const dv::DV_File_Header& h = o.sdv_header;
    if (h.Streams() < 1 || h.Streams() > dv::Max_Streams)
        Refuse(vb::Err_Subscript, "The DV file header of " + m_File_Name + " names " + std::to_string(h.Streams()) +
                                      " streams; a file holds 1 to 5");
    if (h.Data_Offset() < dv::DV_File_Header_Length || h.Data_Offset() > length)
        Refuse(vb::Err_Subscript, "The DV file header of " + m_File_Name + " puts its frames at " +
                                      std::to_string(h.Data_Offset()) + ", outside the file");
    o.streams = static_cast<int16_t>(h.Streams());
    o.data_offset = h.Data_Offset();
    o.model = h.Has_Model();
    const int64_t span = int64_t{o.streams} * dv::Frame_Size;
    o.calculated_frames = Frames_Begun(length - o.data_offset, span);
    // A count the file cannot hold is cut to the frames that begin in it.
    frame_count_ = std::clamp(h.Frames(), 0, o.calculated_frames);
    width_ = 720;
    height_ = 576;
    mill_per_frame_ = 40;
    mill_per_field_ = 20;
    o.frame_data_size = dv::Frame_Size;
    o.frame_buffer.assign(dv::Frame_Size, 0);
    video_codec_ = "CDVC";
    dv_decode_width_ = 720;
    dv_decode_height_ = 576;
    Load_Default_Header();
}

bool cls_VideoFile_handler::Open_KDR_File() {
    Older_kind_state& o = *older_;
    o.kind = Older_kind_state::Kind::kdr;
    mTrace::Trace("kd2");
    Open_Older(Binary_file::Mode::read_write);
    mTrace::Trace("m_Read_only = ", m_Read_only ? "True" : "False");
    o.frame_data_size = dv::Frame_Size;
    Read_KDR_header();
    if (!header_readable_) Refuse(vb::Err_Invalid_Call, "The header text of " + m_File_Name + " does not parse");
    const int64_t length = file_.Size();
    if (o.kdr.data_offset < dv::KDR_Header_Length || o.kdr.data_offset > length)
        Refuse(vb::Err_Subscript, "The header record of " + m_File_Name + " puts its frames at " +
                                      std::to_string(o.kdr.data_offset) + ", outside the file");
    const int16_t streams = Header().Streams_no();
    if (streams == 0) {
        Close_File();
        return false;
    }
    if (streams < 0 || streams > dv::Max_Streams)
        Refuse(vb::Err_Subscript, "The header of " + m_File_Name + " names " + std::to_string(streams) +
                                      " streams; a file holds 1 to 5");
    o.streams = streams;
    o.data_offset = o.kdr.data_offset;
    Read_Stream_Info();
    o.calculated_frames = Rounded_Quotient(length - o.data_offset, dv::Frame_Size);
    const int32_t begun = Frames_Begun(length - o.data_offset, int64_t{streams} * dv::Frame_Size);
    const int32_t counted = Header().Frames_no();
    if (counted > begun)
        Module_Vantorel::Write_Event_Log("Open_File: the header counts " + std::to_string(counted) +
                                         " frames, the file holds " + std::to_string(begun) + ": " + m_File_Name);
    frame_count_ = std::clamp(counted, 0, begun);
    o.frame_buffer.assign(dv::Frame_Size, 0);
    width_ = 720;
    height_ = 576;
    dv_decode_width_ = 720;
    dv_decode_height_ = 576;
    mill_per_frame_ = 40;
    mill_per_field_ = 20;
    return true;
}

void cls_VideoFile_handler::Get_KDR_header() {
    vb::Trap(Module_Vantorel::Is_Compiled, "Get_KDR_header of Class Module cls_VideoFile_handler",
             [&] { Read_KDR_header(); });
}

void cls_VideoFile_handler::Read_KDR_header() {
    Refuse_Unless_KDR();
    if (!older_) older_ = std::make_unique<Older_kind_state>();
    std::array<uint8_t, dv::KDR_Header_Length> record{};
    if (file_.Read_At(0, record) < dv::KDR_Header_Length) Refuse(62, m_File_Name + " is shorter than its header record");
    const dv::KDR_File_Header h = dv::Get_KDR_Header(record);
    const int64_t room = file_.Size() - dv::KDR_XML_Offset;
    if (h.xml_length < 0 || h.xml_length > room)
        Refuse(vb::Err_Subscript, "The header record of " + m_File_Name + " names " + std::to_string(h.xml_length) +
                                      " bytes of header text; the file holds " + std::to_string(room));
    older_->kdr = h;
    Read_KDR_text();
}

void cls_VideoFile_handler::Get_KD3_header() {
    vb::Trap(Module_Vantorel::Is_Compiled, "Get_KD3_header of Class Module cls_VideoFile_handler", [&] {
        Refuse_Unless_KDR();
        if (!older_) older_ = std::make_unique<Older_kind_state>();
        Read_KDR_text();
    });
}

void cls_VideoFile_handler::Read_KDR_text() {
    // The text follows the header record; its length is the record's, never more than the file holds.
    const int64_t room = std::max<int64_t>(file_.Size() - dv::KDR_XML_Offset, 0);
    std::vector<uint8_t> text(static_cast<size_t>(std::clamp<int64_t>(older_->kdr.xml_length, 0, room)));
    file_.Read_At(dv::KDR_XML_Offset, text);
    header_readable_ = Header().XML_string(Non_dependant::Byte_Array_To_String(text));
}

const char* cls_VideoFile_handler::XML_Header_addr() {
    xml_header_copy_ = Header().XML_string();
    return xml_header_copy_.c_str();
}

// ---- reading frames ----

const uint8_t* cls_VideoFile_handler::Frame_address() const {
    if (!older_) return nullptr;
    if (older_->kind == Older_kind_state::Kind::dv) return older_->chunk_buffer.empty() ? nullptr : older_->chunk_buffer.data();
    return Frame_Data_Address();
}

const uint8_t* cls_VideoFile_handler::Extra_Data_Addr() const {
    return older_ && !older_->frame_buffer.empty() ? older_->frame_buffer.data() : nullptr;
}

const uint8_t* cls_VideoFile_handler::Frame_Data_Address() const {
    if (!older_) return nullptr;
    if (older_->kind == Older_kind_state::Kind::avi)
        return older_->frame_buffer.size() > 8 ? older_->frame_buffer.data() + 8 : nullptr;
    return older_->frame_buffer.empty() ? nullptr : older_->frame_buffer.data();
}

void cls_VideoFile_handler::Read_Frame(int32_t frame, int16_t stream) {
    if (!Older_Open() || !File_open()) return;
    Older_kind_state& o = *older_;
    const int32_t n = std::min(frame, frame_count_);
    frame_available_ = false;
    o.frame_in_store = 0;
    o.capture_time = 0;
    o.capture_time_grid = 0;
    if (n < 1) return;
    switch (o.kind) {
    case Older_kind_state::Kind::dv:
        Read_DV_Frame(int64_t{n - 1} * o.frame_data_size, n);
        break;
    case Older_kind_state::Kind::kdr:
    case Older_kind_state::Kind::sdv: {
        // kd1 and kd2 keep one frame per stream for each frame number; the sdv reader always took stream 1.
        const int32_t s = o.kind == Older_kind_state::Kind::kdr ? std::clamp<int32_t>(stream, 1, o.streams) : 1;
        Read_DV_Frame(o.data_offset + (int64_t{n - 1} * o.streams + (s - 1)) * dv::Frame_Size, n);
        if (o.kind == Older_kind_state::Kind::sdv) o.first_used_field = o.sdv_header.Selection_Start();
        break;
    }
    case Older_kind_state::Kind::avi:
        Read_AVI_Frame(n);
        if (o.frame_in_store == 0) return;
        break;
    case Older_kind_state::Kind::none:
        break;
    }
    Get_Current_Trace_data(n);
}

void cls_VideoFile_handler::Read_DV_Frame(int64_t offset, int32_t frame) {
    Older_kind_state& o = *older_;
    o.frame_position = offset + 1;
    o.frame_in_store = frame;
    int64_t got = 0;
    if (copy_held_ && o.kind == Older_kind_state::Kind::kdr) {
        // The memory copy made by Read_to_Memory serves the frame without touching the file.
        const int64_t available = std::clamp<int64_t>(static_cast<int64_t>(memory_copy_.size()) - offset, 0, o.frame_data_size);
        std::copy_n(memory_copy_.begin() + (available > 0 ? offset : 0), available, o.frame_buffer.begin());
        got = available;
    } else {
        got = file_.Read_At(offset, o.frame_buffer);
    }
    // A frame cut short, or one that does not begin with a DV header block, is no frame.
    if (got < o.frame_data_size || !dv::Is_Frame_Start(o.frame_buffer)) return;
    frame_available_ = true;
    Do_Read_DV_extra_data();
}

void cls_VideoFile_handler::Do_Read_DV_extra_data() {
    if (!older_) return;
    Older_kind_state& o = *older_;
    if (o.kind != Older_kind_state::Kind::sdv && o.kind != Older_kind_state::Kind::kdr) return;
    bool searched_now = false;
    int32_t found = -1;
    if (!o.extra_searched && o.extra_pos == 0) {
        found = dv::Find_Extra_Data(o.frame_buffer);
        if (found >= 0) o.extra_pos = found;
        o.extra_searched = true;
        searched_now = true;
    }
    if (searched_now && (found < 0 || found > dv::Extra_Data_Copy_Limit)) return;
    if (static_cast<size_t>(o.extra_pos) + dv::Extra_Data_Length > o.frame_buffer.size()) return;
    std::copy_n(o.frame_buffer.begin() + o.extra_pos, dv::Extra_Data_Length, o.extra.bytes.begin());
    o.capture_time = o.extra.Capture_Mill();
    o.capture_time_grid = Non_dependant::Round_To_Multiple(o.capture_time, 40) - 10;
}

std::string cls_VideoFile_handler::Read_Comment() const {
    if (!older_) return {};
    const auto& bytes = older_->extra.bytes;
    return Non_dependant::Byte_Array_To_String(std::span<const uint8_t>(bytes.data() + 82, dv::Comment_Length));
}

void cls_VideoFile_handler::Write_comment(const std::string& text) {
    if (!older_) return;
    auto comment = older_->extra.Comment();
    std::fill(comment.begin(), comment.end(), uint8_t{0});
    const std::string single = vb::Utf8_To_Ansi(text).substr(0, dv::Comment_Length);
    std::copy(single.begin(), single.end(), comment.begin());
    Rewrite_DV_Extra_data();
}

void cls_VideoFile_handler::Rewrite_DV_Extra_data() {
    if (!older_ || !File_open()) return;
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    const Older_kind_state& o = *older_;
    // Only into a frame that was read whole, at the place its own record was found.
    if (o.frame_position < 1 || !frame_available_) Refuse(vb::Err_Invalid_Call, "No frame of " + m_File_Name + " is held");
    file_.Write_At(o.frame_position - 1 + o.extra_pos, o.extra.bytes);
    copy_held_ = false;  // the memory copy no longer matches the file
}

void cls_VideoFile_handler::Rewrite_DV_frame() {
    if (!older_ || !File_open() || !frame_available_) return;
    const Older_kind_state& o = *older_;
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    copy_held_ = false;
    if (o.kind == Older_kind_state::Kind::kdr) {
        file_.Write_At(o.frame_position - 1, o.frame_buffer);
    } else if (o.kind == Older_kind_state::Kind::avi) {
        file_.Write_At(o.chunk_position - 1, o.frame_buffer);
    }
}

void cls_VideoFile_handler::Rewrite_DV_header() {
    try {
        if (!older_ || !File_open() || older_->kind != Older_kind_state::Kind::sdv) return;
        if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
        file_.Write_At(0, older_->sdv_header.Bytes());
    } catch (const VbError& e) {
        ui::MsgBox("Error rewrite DV header" + e.Description() + " " + std::to_string(e.Number()));
    }
}

// ---- appending and writing kd1 and kd2 files ----

void cls_VideoFile_handler::Write_KDR_header() {
    if (!File_open()) return;
    Refuse_Unless_KDR();
    if (!older_) older_ = std::make_unique<Older_kind_state>();
    older_->kind = Older_kind_state::Kind::kdr;
    dv::KDR_File_Header& h = older_->kdr;
    h.magic = {'K', 'D', 'R', '1'};
    std::array<uint8_t, dv::KDR_Header_Length> record{};
    dv::Put_KDR_Header(record, h);
    file_.Write_At(0, record);
}

void cls_VideoFile_handler::Add_Header_padding() {
    if (!File_open()) return;
    Refuse_Unless_KDR();
    static constexpr uint8_t end_mark[] = {'h', 'd', 'r', 'e', 'n', 'd'};
    file_.Write_At(dv::KDR_End_Mark_Offset, end_mark);
    if (!older_) older_ = std::make_unique<Older_kind_state>();
    older_->kdr.data_offset = dv::KDR_Data_Offset;
    Write_KDR_header();
}

void cls_VideoFile_handler::Write_KDR_header_len() {
    if (!File_open() || !older_ || older_->kind != Older_kind_state::Kind::kdr) return;
    Older_kind_state& o = *older_;
    o.kdr.data_offset = std::max<int64_t>({o.append_position, o.after_xml, dv::KDR_XML_Offset});
    Write_KDR_header();
}

void cls_VideoFile_handler::Position_after_XML_header() {
    if (!File_open() || !older_ || older_->kind != Older_kind_state::Kind::kdr || older_->after_xml == 0) return;
    older_->append_position = older_->after_xml;
}

void cls_VideoFile_handler::Write_frame(const uint8_t* frame) {
    if (!File_open() || !older_ || older_->kind != Older_kind_state::Kind::kdr)
        Refuse(vb::Err_Invalid_Call, "DV frames are written into an open kd1 or kd2 file only");
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    const std::span<const uint8_t> bytes{frame, static_cast<size_t>(dv::Frame_Size)};
    if (!Module_Vantorel::Is_Compiled) Module_dependant::Check_DV_Header(bytes);
    Older_kind_state& o = *older_;
    o.append_position = std::max<int64_t>({o.append_position, o.after_xml, o.kdr.data_offset});
    file_.Write_At(o.append_position, bytes);
    o.append_position += dv::Frame_Size;
    copy_held_ = false;
}

void cls_VideoFile_handler::Write_DV_frame(const uint8_t* frame) {
    vb::Trap(Module_Vantorel::Is_Compiled, "Write_DV_frame of Class Module cls_VideoFile_handler", [&] { Write_frame(frame); });
}

void cls_VideoFile_handler::Append_DV_frame(const uint8_t* frame) {
    vb::Trap(Module_Vantorel::Is_Compiled, "Append_DV_frame of Class Module cls_VideoFile_handler", [&] {
        const std::string kind = Non_dependant::File_Suffix(m_File_Name);
        if (kind != "kd1" && kind != "kd2") Refuse(vb::Err_Invalid_Call, "DV frames are appended to kd1 and kd2 files only");
        if (!File_open()) {
            older_ = std::make_unique<Older_kind_state>();
            older_->kind = Older_kind_state::Kind::kdr;
            m_file_suffix = kind;
            file_.Open(m_File_Name, Binary_file::Mode::read_write);
            m_Read_only = false;
            Get_KDR_header();
            older_->append_position = file_.Size();
        }
        if (!older_ || older_->kind != Older_kind_state::Kind::kdr)
            Refuse(vb::Err_Invalid_Call, "DV frames are appended to kd1 and kd2 files only");
        if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
        Older_kind_state& o = *older_;
        // Frames go behind the header area, never over it.
        o.append_position = std::max<int64_t>({o.append_position, o.kdr.data_offset, file_.Size()});
        const std::span<const uint8_t> bytes{frame, static_cast<size_t>(dv::Frame_Size)};
        file_.Write_At(o.append_position, bytes);
        o.append_position += dv::Frame_Size;
        ++o.dv_frames_appended;
        copy_held_ = false;
        // The time code of the frame appended, not of whatever frame was parsed before it.
        DV_Timecode_module::DV_Header_Parse(bytes);
        const int32_t received = DV_Timecode_module::DV_Timecode_Frame_Number();
        if (received > 10) {
            if (last_dv_frame_number_ != 0 && received != last_dv_frame_number_ + 1)
                mTrace::Trace("Expected DV frame ", last_dv_frame_number_ + 1, "Received frame ", received);
            last_dv_frame_number_ = received;
        }
    });
}

void cls_VideoFile_handler::Append_DV_frame_asynch(const uint8_t* frame) {
    Refuse_Unless_KDR();
    // Counted only where the close can bring the header's frame count up to date: the store holds the file.
    if (!File_open() || !Older_Open() || older_->kind != Older_kind_state::Kind::kdr)
        Refuse(52, "Bad file name or number: " + m_File_Name + " is not open for appending");
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    const std::span<const uint8_t> bytes{frame, static_cast<size_t>(dv::Frame_Size)};
    if (!Module_Vantorel::Is_Compiled) Module_dependant::Check_DV_Header(bytes);
    Binary_file own;
    own.Open(m_File_Name, Binary_file::Mode::read_write);
    Older_kind_state& o = *older_;
    // Behind the last byte and the header area, where the store's own appends would go.
    o.append_position = std::max<int64_t>({o.append_position, o.kdr.data_offset, own.Size()});
    own.Write_At(o.append_position, bytes);
    o.append_position += dv::Frame_Size;
    ++o.dv_frames_appended;
    copy_held_ = false;
}

void cls_VideoFile_handler::Convert_TO_KD2() {
    if (!Older_Open() || !File_open()) Refuse(52, "Bad file name or number: no capture file is open");
    const Older_kind_state& o = *older_;
    bool kd2_frames = Frame_Data_Size() == dv::Frame_Size;
    if (o.kind == Older_kind_state::Kind::avi) {
        // An AVI file's frame size is the chunk read last; its index tells every chunk's. An empty chunk
        // is a dropped frame, copied as one.
        auto fits = [](int64_t bytes) { return bytes == 0 || bytes == dv::Frame_Size; };
        kd2_frames = is_DV();
        if (o.index_found || o.interleaved)
            for (const cls_IDX& entry : o.video_index) kd2_frames = kd2_frames && fits(static_cast<uint32_t>(entry.dwChunkLength));
        else
            for (const auto& chunk : o.standard_index) kd2_frames = kd2_frames && fits(chunk.second);
    }
    if (!kd2_frames) Refuse(vb::Err_Invalid_Call, "A kd2 file holds DV frames of 144000 bytes; " + m_File_Name + " does not");
    const std::string target = m_File_Name.substr(0, m_File_Name.size() - std::min<size_t>(3, m_File_Name.size())) + "kd2";
    // Nothing is written over: neither the open file itself nor another file of that name.
    if (Module_dependant::FileExists(target)) Refuse(58, "File already exists: " + target);
    // The copy's header is a fresh one of its own; the open file's document stays as it is.
    Cls_XML_header fresh;
    fresh.Golfing(true);
    fresh.rgb(true);
    fresh.Create_Header();
    fresh.Streams_no(1);
    fresh.Stream_Active(1, true);
    fresh.Stream_CameraPos(1, 1);
    fresh.Frames_no(frame_count_);
    const std::string text = vb::Utf8_To_Ansi(fresh.XML_string());
    if (static_cast<int64_t>(text.size()) > dv::KDR_XML_Capacity)
        Refuse(vb::Err_Invalid_Call, "The header text does not fit the header area of a kd2 file");
    // The copy takes the target's name only when whole: a half-written kd2 would refuse every retry.
    const std::string partial = target + ".partial";
    Binary_file out;
    out.Open(partial, Binary_file::Mode::read_write_empty);
    struct Remove_Unless_Named {
        const std::string& path;
        bool named = false;
        ~Remove_Unless_Named() {
            if (!named) ::unlink(path.c_str());
        }
    } remove_unless_named{partial};
    dv::KDR_File_Header h;
    h.magic = {'K', 'D', 'R', '1'};
    h.data_offset = dv::KDR_Data_Offset;
    h.xml_length = static_cast<int32_t>(text.size());
    std::array<uint8_t, dv::KDR_Header_Length> record{};
    dv::Put_KDR_Header(record, h);
    out.Write_At(0, record);
    out.Write_At(dv::KDR_XML_Offset, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
    static constexpr uint8_t end_mark[] = {'h', 'd', 'r', 'e', 'n', 'd'};
    out.Write_At(dv::KDR_End_Mark_Offset, end_mark);
    std::vector<uint8_t> frame(dv::Frame_Size);
    for (int32_t f = 1; f <= frame_count_; ++f) {
        Read_Any_Frame(f, 1);
        // A frame that cannot be read stays unreadable in the copy, never another frame's picture.
        const uint8_t* data = Frame_Data_Address();
        if (frame_available_ && data && Frame_Data_Size() == dv::Frame_Size) std::copy_n(data, dv::Frame_Size, frame.begin());
        else std::fill(frame.begin(), frame.end(), uint8_t{0});
        out.Write_At(dv::KDR_Data_Offset + int64_t{f - 1} * dv::Frame_Size, frame);
    }
    out.Sync();
    out.Close();
    if (::rename(partial.c_str(), target.c_str()) != 0) fs::Raise_File_Error(errno, vb::Err_Path_File_Access, target);
    remove_unless_named.named = true;
    Binary_file::Sync_Folder_Of(target);
}

void cls_VideoFile_handler::Older_Header_Work_At_Close() {
    if (!older_ || older_->dv_frames_appended <= 0) return;
    file_.Sync();
    Cls_XML_header& h = Header();
    h.Frames_no(vb::To_Int16(int32_t{h.Frames_no()} + older_->dv_frames_appended));
    older_->dv_frames_appended = 0;
    Write_Older_XML_Header();
    file_.Sync();
}

void cls_VideoFile_handler::Write_Older_XML_Header() {
    if (!header_in_file_) return;
    const std::string text = vb::Utf8_To_Ansi(Header().XML_string());
    if (text.empty()) Refuse(vb::Err_Invalid_Call, "The header document is empty; the header is left as it is");
    const bool opened_here = !File_open();
    if (opened_here) {
        m_Read_only = Binary_file::Has_Read_Only_Attribute(m_File_Name);
        file_.Open(m_File_Name, m_Read_only ? Binary_file::Mode::read_only : Binary_file::Mode::read_write);
    }
    struct Close_After {
        Binary_file& file;
        bool close;
        ~Close_After() {
            if (close) file.Close();
        }
    } close_after{file_, opened_here};
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    if (!older_) older_ = std::make_unique<Older_kind_state>();
    Older_kind_state& o = *older_;
    const std::vector<uint8_t> padding(dv::KDR_XML_Padding, 0);
    if (m_file_suffix == "kd1" || m_file_suffix == "kd2") {
        // A closed file's record is read again, so its data offset is kept.
        std::array<uint8_t, dv::KDR_Header_Length> record{};
        if (o.kind != Older_kind_state::Kind::kdr && file_.Read_At(0, record) == dv::KDR_Header_Length)
            o.kdr = dv::Get_KDR_Header(record);
        // The text and its padding must end before the end mark, which sits right before the frames.
        const int64_t end_mark = o.kdr.data_offset > 0 ? o.kdr.data_offset - 6 : dv::KDR_End_Mark_Offset;
        const int64_t capacity = end_mark - dv::KDR_XML_Offset - dv::KDR_XML_Padding;
        if (static_cast<int64_t>(text.size()) > capacity)
            Refuse(vb::Err_Invalid_Call, "The header text has " + std::to_string(text.size()) +
                                             " characters, the header area holds " + std::to_string(capacity) +
                                             "; the header is left as it is");
        file_.Write_At(dv::KDR_XML_Offset, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
        file_.Write_At(dv::KDR_XML_Offset + static_cast<int64_t>(text.size()), padding);
        o.after_xml = dv::KDR_XML_Offset + static_cast<int64_t>(text.size()) + dv::KDR_XML_Padding;
        // The record names the new length, so the next open reads the whole text.
        o.kdr.xml_length = static_cast<int32_t>(text.size());
        Write_KDR_header();
    } else if (vb::LCase(m_file_suffix) == "avi") {
        if (o.pos_KDXM < 1) Refuse(vb::Err_Invalid_Call, m_File_Name + " holds no header chunk");
        std::array<uint8_t, 8> chunk{};
        file_.Read_At(o.pos_KDXM - 1, chunk);
        const int64_t capacity = int64_t{chunk[4]} | int64_t{chunk[5]} << 8 | int64_t{chunk[6]} << 16 | int64_t{chunk[7]} << 24;
        if (static_cast<int64_t>(text.size()) > capacity)
            Refuse(vb::Err_Invalid_Call, "The header text has " + std::to_string(text.size()) +
                                             " characters, the header chunk holds " + std::to_string(capacity) +
                                             "; the header is left as it is");
        std::string padded = text;
        padded.resize(static_cast<size_t>(capacity), ' ');
        file_.Write_At(o.pos_KDXM - 1 + 8, {reinterpret_cast<const uint8_t*>(padded.data()), padded.size()});
    }
}

// ---- review: the older kinds through the frame image ----

void cls_VideoFile_handler::Read_Older_Sample(int32_t frame, bool decode) {
    if (cached_record_ != 0 && frame == cached_record_) {
        if (decode && !cached_decoded_) {
            Decode_Older_Frame();
            cached_decoded_ = true;
        }
        return;
    }
    Read_Frame(frame, 1);
    const Older_kind_state& o = *older_;
    const int32_t n = std::clamp(frame, 1, std::max(frame_count_, 1));
    read_ = kd3::Sample_Header{};
    cached_record_ = frame;
    current_frame_ = n;
    if (frame_available_) {
        // Each frame is one frame event; a frame's capture time is the recorder's where it kept one.
        const bool recorded = o.kind == Older_kind_state::Kind::kdr || o.kind == Older_kind_state::Kind::sdv;
        read_.capture_mill = recorded ? o.capture_time : Frames_Span(n - 1);
        read_.hdmi_events = n - 1;
        rounded_capture_time_ = recorded ? o.capture_time_grid : read_.capture_mill;
    } else {
        rounded_capture_time_ = 0;
    }
    cached_decoded_ = decode;
    if (decode) Decode_Older_Frame();
}

void cls_VideoFile_handler::Decode_Older_Frame() {
    // Stream 1's field drawing decodes into the same picture.
    if (drawing_) drawing_->decoded_frame_of_stream[0] = 0;
    const uint8_t* data = Frame_Data_Address();
    const int32_t size = older_->kind == Older_kind_state::Kind::avi ? older_->chunk_length : older_->frame_data_size;
    video::Video_decoder& decoder = older_->decoder;
    bool shown = frame_available_ && data && decoder.Decode(data, static_cast<size_t>(size)) && Decoded_Frame_Fits();
    if (shown && (frame_image_.Width() != decoder.Width() || frame_image_.Height() != decoder.Height()))
        shown = frame_image_.Create(decoder.Width(), decoder.Height());
    shown = shown && decoder.To_BGR(frame_image_.DIBSectionBitsPtr(), frame_image_.BytesPerScanLine(),
                                    frame_image_.Width(), frame_image_.Height());
    if (!shown) {
        // A frame the codec cannot read has no picture and no time.
        frame_available_ = false;
        read_ = kd3::Sample_Header{};
        rounded_capture_time_ = 0;
        Draw_Unavailable_Picture();
    }
}

bool cls_VideoFile_handler::Decoded_Frame_Fits() const {
    const video::Video_decoder& decoder = older_->decoder;
    return decoder.Width() == width_ && decoder.Height() == height_;
}
