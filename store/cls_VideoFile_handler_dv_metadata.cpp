// The metadata of the DV frames of the older kinds: the packs of the frame read last (time code,
// recording date, aspect, camera settings) and the time stamps the recorder kept in its extra data.
#include "cls_VideoFile_handler.h"

#include "DV_Timecode_module.h"
#include "shell/Non_dependant.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_text.h"

#include <algorithm>

namespace {

// The frame data held for the older kinds: the DV frame buffer, or the AVI chunk read last.
std::span<const uint8_t> Frame_Held(const Older_kind_state& o, const uint8_t* address) {
    if (!address) return {};
    if (o.kind == Older_kind_state::Kind::avi) {
        const size_t room = o.frame_buffer.size() > 8 ? o.frame_buffer.size() - 8 : 0;
        return {address, std::min(room, static_cast<size_t>(std::max(o.chunk_length, 0)))};
    }
    return {address, std::min(o.frame_buffer.size(), static_cast<size_t>(std::max(o.frame_data_size, 0)))};
}

}  // namespace

void cls_VideoFile_handler::Parse_DV_header() {
    if (!older_ || !frame_available_) return DV_Timecode_module::DV_Header_Parse({});
    DV_Timecode_module::DV_Header_Parse(Frame_Held(*older_, Frame_Data_Address()));
}

bool cls_VideoFile_handler::Wide_Screen() {
    if (!older_ || !File_open()) return false;
    const auto kind = older_->kind;
    const bool dv_kind = kind == Older_kind_state::Kind::dv || kind == Older_kind_state::Kind::sdv ||
                         kind == Older_kind_state::Kind::kdr || (kind == Older_kind_state::Kind::avi && is_DV());
    if (!dv_kind) return false;
    if (older_->frame_in_store == 0) Read_Frame(1, 1);
    Parse_DV_header();
    return DV_Timecode_module::DV_Wide_Screen();
}

int16_t cls_VideoFile_handler::DV_data_hours() const { return DV_Timecode_module::DV_Rec_Hours(); }
int16_t cls_VideoFile_handler::DV_data_minutes() const { return DV_Timecode_module::DV_Rec_Minutes(); }

std::string cls_VideoFile_handler::Timecode_string() {
    if (!older_ || older_->kind == Older_kind_state::Kind::none)
        vb::Raise(vb::Err_Subscript, "No DV frame is held: " + (m_File_Name.empty() ? std::string("no file") : m_File_Name),
                  "cls_VideoFile_handler");
    const Older_kind_state& o = *older_;
    // The frame as read, whole or not: a frame cut short is parsed only as far as it was read.
    const uint8_t* address = vb::LCase(m_file_suffix) == "avi" ? Frame_Data_Address()
                                                                  : (o.frame_buffer.empty() ? nullptr : o.frame_buffer.data());
    DV_Timecode_module::DV_Header_Parse(o.frame_in_store > 0 ? Frame_Held(o, address) : std::span<const uint8_t>{});
    return DV_Timecode_module::Details_Text();
}

std::string cls_VideoFile_handler::Timestamp_string() const {
    return "\r\nDV frame timestamp = " + std::to_string(older_ ? older_->extra.Timestamp() : 0);
}

int32_t cls_VideoFile_handler::Timestamp_long() const {
    if (m_file_suffix == "kd1" || m_file_suffix == "kd2") return older_ ? older_->extra.Timestamp() : 0;
    if (m_file_suffix == "kd3") return read_.capture_mill;
    return 0;
}

std::string cls_VideoFile_handler::Timestamp_formatted() const {
    if (m_file_suffix == "kd1" || m_file_suffix == "kd2")
        return Non_dependant::Display_Mill_Time(older_ ? older_->extra.Timestamp() : 0, false);
    if (m_file_suffix == "kd3") {
        int32_t appended = 0;
        if (write_record_.size() >= static_cast<size_t>(kd3::Sample_Header_Length))
            appended = kd3::Get_Sample_Header(std::span<const uint8_t, kd3::Sample_Header_Length>(
                                                  write_record_.data(), kd3::Sample_Header_Length))
                           .capture_mill;
        return Non_dependant::Display_Mill_Time(appended, false);
    }
    return {};
}
