// Trace records of the older kinds' DV frames: tracked points per channel and field, edited in the
// frame held and written back with it, read for every frame, and the channels' display settings in
// the header.
#include "cls_VideoFile_handler.h"

#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"

#include <algorithm>

namespace {

const char* const Source = "cls_VideoFile_handler";

}  // namespace

int16_t cls_VideoFile_handler::Trace_X(int16_t channel) const {
    return m_trace_Data.X(static_cast<int16_t>(field_to_show_), channel);
}

int16_t cls_VideoFile_handler::Trace_Y(int16_t channel) const {
    return m_trace_Data.Y(static_cast<int16_t>(field_to_show_), channel);
}

int32_t cls_VideoFile_handler::Trace_Color(int16_t channel) {
    try {
        return vb::CLng(Header().Trace_Color(channel));
    } catch (const VbError&) {
        return 0;
    }
}

void cls_VideoFile_handler::Trace_Color(int16_t channel, int32_t colour) {
    Header().Trace_Color(channel, std::to_string(colour));
    Write_XML_Header();
}

std::string cls_VideoFile_handler::Trace_Name(int16_t channel) { return Header().Trace_Name(channel); }

void cls_VideoFile_handler::Trace_Name(int16_t channel, const std::string& value) {
    Header().Trace_Name(channel, value);
    Write_XML_Header();
}

bool cls_VideoFile_handler::Trace_Bezier(int16_t channel) { return Header().Trace_Bezier(channel); }

void cls_VideoFile_handler::Trace_Bezier(int16_t channel, bool value) {
    Header().Trace_Bezier(channel, value);
    Write_XML_Header();
}

int16_t cls_VideoFile_handler::Trace_Thickness(int16_t channel) { return Header().Trace_Thickness(channel); }

void cls_VideoFile_handler::Trace_Thickness(int16_t channel, int16_t value) {
    Header().Trace_Thickness(channel, value);
    Write_XML_Header();
}

namespace {

// The trace record's place in a frame of `size` bytes; error 9 when the frame cannot hold it.
void Check_Room(size_t size) {
    if (size < static_cast<size_t>(dv::Trace_Record_Offset + dv::Trace_Record_Length))
        vb::Raise(vb::Err_Subscript, "A frame of " + std::to_string(size) + " bytes holds no trace record", Source);
}

// Only kd1, kd2 and AVI frames are written back; an edit of any other kind would be lost.
void Check_Writable(const Older_kind_state* o, bool open, bool available) {
    if (!o || !open || !available) vb::Raise(vb::Err_Invalid_Call, "No DV frame is held to take trace points", Source);
    if (o->kind != Older_kind_state::Kind::kdr && o->kind != Older_kind_state::Kind::avi)
        vb::Raise(vb::Err_Invalid_Call, "Trace points are written into the frames of kd1, kd2 and avi files only", Source);
    Check_Room(o->kind == Older_kind_state::Kind::avi ? static_cast<size_t>(std::max(o->chunk_length, 0))
                                                     : o->frame_buffer.size());
}

}  // namespace

void cls_VideoFile_handler::Update_Trace_Data(int16_t channel, int16_t x, int16_t y) {
    Debug_m_Trace_Data("Update_Trace_Data begin");
    // Checked before anything changes: an edit that cannot reach the file is refused, not dropped.
    Check_Writable(older_.get(), File_open(), frame_available_);
    const auto field = static_cast<int16_t>(field_to_show_);
    dv::Trace_Record edited = m_trace_Data;
    edited.Mark();
    edited.X(field, channel, x);
    edited.Y(field, channel, y);
    m_trace_Data = edited;
    Debug_m_Trace_Data("Update_Trace_Data after update");
    Put_Trace_Record();
    Debug_m_Trace_Data("after rewrite");
}

void cls_VideoFile_handler::Clear_Trace_Data() {
    Check_Writable(older_.get(), File_open(), frame_available_);
    m_trace_Data.Clear_Points();
    Put_Trace_Record();
}

void cls_VideoFile_handler::Put_Trace_Record() {
    const size_t start = older_->kind == Older_kind_state::Kind::avi ? 8 : 0;
    std::copy(m_trace_Data.bytes.begin(), m_trace_Data.bytes.end(),
              older_->frame_buffer.begin() + static_cast<std::ptrdiff_t>(start + dv::Trace_Record_Offset));
    Rewrite_DV_frame();
}

void cls_VideoFile_handler::Read_Trace_Data() {
    if (!older_) vb::Raise(vb::Err_Subscript, "No DV frame is held", Source);
    Older_kind_state& o = *older_;
    if (!Module_Vantorel::Is_Compiled && m_file_suffix == "kd2") Module_dependant::Check_DV_Header(o.frame_buffer);
    const std::span<const uint8_t> frame(Frame_Data_Address() ? Frame_Data_Address() : o.frame_buffer.data(),
                                         o.kind == Older_kind_state::Kind::avi
                                             ? static_cast<size_t>(std::max(o.chunk_length, 0))
                                             : o.frame_buffer.size());
    Check_Room(frame.size());
    std::copy_n(frame.begin() + dv::Trace_Record_Offset, dv::Trace_Record_Length, o.trace_read.bytes.begin());
}

const dv::Trace_Record& cls_VideoFile_handler::Trace_Read_Record() const {
    static const dv::Trace_Record none;
    return older_ ? older_->trace_read : none;
}

void cls_VideoFile_handler::Read_Trace_Array() {
    if (!older_ || !File_open()) return;
    std::vector<dv::Trace_Record> records(static_cast<size_t>(std::max(frame_count_, 0)));
    // Every frame of the file, and only those: a frame that cannot be read keeps a zero record.
    for (int32_t f = 1; f <= frame_count_; ++f) {
        Read_Frame(f, 1);
        if (!frame_available_) continue;
        Read_Trace_Data();
        records[static_cast<size_t>(f - 1)] = older_->trace_read;
    }
    older_->trace_array = std::move(records);
    Debug_m_Trace_Data("Read_Trace_Array");
}

void cls_VideoFile_handler::Trace_Array_Coords(int16_t channel, int32_t field, int16_t& x, int16_t& y) const {
    const int32_t frame = Non_dependant::Field_To_Frame(field);
    const int16_t in_frame = Non_dependant::Field_In_Frame(field);
    if (!older_ || frame < 1 || frame > static_cast<int32_t>(older_->trace_array.size()))
        vb::Raise(vb::Err_Subscript, "No trace record of field " + std::to_string(field) + " was read", Source);
    const dv::Trace_Record& record = older_->trace_array[static_cast<size_t>(frame - 1)];
    x = record.X(in_frame, channel);
    y = record.Y(in_frame, channel);
}

void cls_VideoFile_handler::Clear_all_Traces() {
    const int16_t frames = vb::To_Int16(frame_count_);
    for (int16_t f = 1; f <= frames; ++f) {
        Read_Frame(f, 1);
        Clear_Trace_Data();
    }
}

void cls_VideoFile_handler::Get_Current_Trace_data(int32_t frame) {
    if (!older_ || frame < 1 || frame > static_cast<int32_t>(older_->trace_array.size())) return;
    older_->current_trace = older_->trace_array[static_cast<size_t>(frame - 1)];
}

const dv::Trace_Record& cls_VideoFile_handler::Current_Trace_Record() const {
    static const dv::Trace_Record none;
    return older_ ? older_->current_trace : none;
}
