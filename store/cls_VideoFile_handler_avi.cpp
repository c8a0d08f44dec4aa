// AVI-based capture files: opening them through their RIFF chunks, their index, reading a frame's
// chunk (and its text chunk), and the chunks of the system's own (KDXM header text, PKHD record).
#include "cls_VideoFile_handler.h"

#include "platform/fs/File_system.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Code_page.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "shell/Module_Validate_XML.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace {

const char* const Source = "cls_VideoFile_handler";

[[noreturn]] void Refuse(int32_t number, const std::string& description) { vb::Raise(number, description, Source); }

uint32_t Get32(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24; }

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

std::string Id(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p), 4); }

// No single frame chunk is larger than this; a larger claim is a damaged index.
constexpr int64_t Largest_Chunk = 64 * 1024 * 1024;
constexpr int32_t Most_Index_Entries = 150000;

bool Is_Video_Id(const std::string& id) { return id == "00db" || id == "00dc" || id == "00__"; }

// Where the chunk an idx1 entry names begins: its offsets count from where the first video entry's
// chunk was found at the open.
int64_t Indexed_Chunk(const Older_kind_state& o, int64_t movie, const cls_IDX& entry) {
    const int64_t offset = static_cast<uint32_t>(entry.dwChunkOffset);
    return offset + (o.movie_relative || o.interleaved ? movie : 0) + (o.interleaved ? 4 : 0);
}

// Whether the file holds the entry's chunk at `at` with room for `bytes` data bytes: a damaged index
// must lead no write into another chunk or past the end of the file.
bool Chunk_Takes(const Binary_file& file, int64_t at, const cls_IDX& entry, int64_t bytes) {
    std::array<uint8_t, 8> head{};
    return at >= 0 && file.Read_At(at, head) == 8 && Id(head.data()) == entry.ckid && Get32(&head[4]) >= bytes &&
           at + 8 + bytes <= file.Size();
}

}  // namespace

bool cls_VideoFile_handler::Open_AVI_File() {
    Older_kind_state& o = *older_;
    o.kind = Older_kind_state::Kind::avi;
    std::string problem;
    avi_info_.ReadError = [&](const std::string& message) { problem = message; };
    const bool movie = avi_info_.ReadFile(m_File_Name);
    avi_info_.ReadError = nullptr;
    if (!movie || !avi_info_.HasVideo()) {
        ui::MsgBox("File: " + m_File_Name + " " + (problem.empty() ? std::string("holds no video to show") : problem));
        return false;
    }
    // Every picture of the file is made at this size before a frame is read.
    if (avi_info_.Width() <= 0 || avi_info_.Height() <= 0 || avi_info_.Width() > Max_Picture_Side ||
        avi_info_.Height() > Max_Picture_Side) {
        ui::MsgBox("File: " + m_File_Name + " gives a frame size of " + std::to_string(avi_info_.Width()) + " x " +
                   std::to_string(avi_info_.Height()) + " pixels; a capture file's frames are 1 to " +
                   std::to_string(Max_Picture_Side) + " pixels a side");
        return false;
    }
    Open_Older(Binary_file::Mode::read_write);
    Parse_Chunks();
    if (!Get_AVI_indexes(m_File_Name)) {
        Close_File();
        return false;
    }
    const std::string codec = avi_info_.VideoCodec();
    if (!o.decoder.Open(codec)) {
        ui::MsgBox("File: " + m_File_Name + " The video codec \"" + codec + "\" of this file cannot be shown");
        Close_File();
        return false;
    }
    video_codec_ = codec;
    width_ = vb::To_Int16(avi_info_.Width());
    height_ = vb::To_Int16(avi_info_.Height());
    const int32_t us = avi_info_.Microseconds_Per_Frame();
    mill_per_frame_ = us > 0 ? std::max(1, vb::CLng(vb::Round(us / 1000.0))) : 40;
    mill_per_field_ = vb::CLng(vb::Round(mill_per_frame_ / 2.0));
    const auto entries = static_cast<int32_t>(o.index_found || o.interleaved ? o.video_index.size() : o.standard_index.size());
    frame_count_ = entries;
    o.calculated_frames = entries;
    // DV is interlaced with the lower field first; other codecs are shown a whole frame per field number.
    interlaced_ = video::Video_decoder::Is_DV_Fourcc(codec);
    bottom_field_first_ = interlaced_;
    field_count_ = 2 * frame_count_;
    if (o.pos_KDXM == 0) Load_Default_Header();
    return true;
}

void cls_VideoFile_handler::Parse_Chunks() {
    mTrace::Trace("*Parse_Chunks begin");
    if (!older_ || !File_open()) return;
    Older_kind_state& o = *older_;
    const int64_t length = file_.Size();
    std::array<uint8_t, 12> riff{};
    if (file_.Read_At(0, riff) < 12) return;
    const int64_t riff_end = std::min<int64_t>(int64_t{Get32(&riff[4])} + 8, length);
    int64_t at = 12;
    while (at + 8 <= riff_end) {
        std::array<uint8_t, 8> chunk{};
        file_.Read_At(at, chunk);
        const std::string id = Id(chunk.data());
        const int64_t size = Get32(&chunk[4]);
        static const char* const noted[] = {"PKA1", "PKA2", "PKA3", "PKA4", "PKA5"};
        for (size_t i = 0; i < 5; ++i)
            if (id == noted[i]) o.pos_PKA[i] = at + 1;
        if (id == "PKHD") o.pos_PKHD = at + 1;
        if (id == "idx1") o.pos_idx1 = at + 1;
        if (std::string_view("JUNKJUNQ").find(id) != std::string_view::npos) o.junk_pos = at + 9;
        if (id == "KDXM") {
            o.pos_KDXM = at + 1;
            read_AVI_XML_string();
        }
        // Chunks are padded to an even length, as RIFF lays them out.
        at += 8 + size + (size & 1);
    }
    mTrace::Trace("*Parse_Chunks end");
}

void cls_VideoFile_handler::read_AVI_XML_string() {
    vb::Trap(Module_Vantorel::Is_Compiled, "read_AVI_XML_string of Class Module cls_VideoFile_handler", [&] {
        if (!older_ || older_->pos_KDXM < 1) return;
        std::array<uint8_t, 8> chunk{};
        file_.Read_At(older_->pos_KDXM - 1, chunk);
        const int64_t room = file_.Size() - (older_->pos_KDXM - 1 + 8);
        const int64_t size = std::min<int64_t>(Get32(&chunk[4]), room);
        std::vector<uint8_t> text(static_cast<size_t>(std::max<int64_t>(size, 0)));
        file_.Read_At(older_->pos_KDXM - 1 + 8, text);
        header_readable_ = Header().XML_string(Non_dependant::Byte_Array_To_String(text));
        header_in_file_ = true;
    });
}

bool cls_VideoFile_handler::Get_AVI_indexes(const std::string& path) {
    mTrace::Trace("*Get_AVI_indexes");
    Older_kind_state& o = *older_;
    o.video_index.clear();
    o.text_index.clear();
    const int64_t length = file_.Size();
    if (length == 0) {
        ui::MsgBox("GET_AVI_Indexes, empty file!");
        return false;
    }
    const int64_t at = o.pos_idx1 > 0 ? o.pos_idx1 - 1 : avi_info_.IndexOffset();
    std::array<uint8_t, 8> head{};
    if (at > 0 && file_.Read_At(at, head) == 8 && Id(head.data()) == "idx1") {
        // No more entries than the chunk and the file hold.
        const int64_t claimed = Get32(&head[4]);
        const int64_t count = std::min<int64_t>(vb::CLng(vb::Round(claimed / 16.0)), (length - at - 8) / 16);
        if (count >= 1 && count <= Most_Index_Entries) {
            std::vector<uint8_t> entries(static_cast<size_t>(count) * 16);
            file_.Read_At(at + 8, entries);
            for (int64_t i = 0; i < count; ++i) {
                const uint8_t* e = &entries[static_cast<size_t>(i) * 16];
                cls_IDX entry{Id(e), static_cast<int32_t>(Get32(e + 4)), static_cast<int32_t>(Get32(e + 8)),
                              static_cast<int32_t>(Get32(e + 12))};
                if (Is_Video_Id(entry.ckid)) o.video_index.push_back(std::move(entry));
                else if (entry.ckid == "01db") o.text_index.push_back(std::move(entry));
            }
        }
    }
    if (o.video_index.empty()) {
        if (Read_Standard_Index()) return true;
        ui::MsgBox("File: " + path + Module_Vantorel::Program_Name + "  found no AVI index! ");
        return false;
    }
    // Where the offsets count from: the first video entry's chunk id is looked for at each candidate.
    const int64_t offset = static_cast<uint32_t>(o.video_index.front().dwChunkOffset);
    const int64_t movie = avi_info_.MovieOffset();
    auto id_at = [&](int64_t position) {
        std::array<uint8_t, 4> id{};
        if (position < 0 || file_.Read_At(position, id) < 4) return false;
        return std::string_view("00db00dc01db00__").find(Id(id.data())) != std::string_view::npos;
    };
    if (avi_info_.iavs() && id_at(offset + movie + 4)) {
        o.interleaved = true;
    } else if (id_at(offset + movie)) {
        o.movie_relative = o.index_found = true;
    } else if (id_at(offset)) {
        o.index_found = true;
    } else {
        mTrace::Trace("*Get_AVI_indexes, end");
        ui::MsgBox("File: " + path + Module_Vantorel::Program_Name + "  found no AVI index! ");
        return false;
    }
    return true;
}

bool cls_VideoFile_handler::Read_Standard_Index() {
    // The first OpenDML standard index ("ix00") in the movie list.
    Older_kind_state& o = *older_;
    const int64_t length = file_.Size();
    const int64_t start = avi_info_.MovieOffset();
    if (start <= 0) return false;
    std::vector<uint8_t> block(10000 + 3);
    for (int64_t from = start; from < length && from < start + 10 * 10000; from += 10000) {
        const int64_t got = file_.Read_At(from, block);
        const auto found = std::search(block.begin(), block.begin() + got, std::begin("ix00"), std::end("ix00") - 1);
        if (found == block.begin() + got) continue;
        const int64_t at = from + (found - block.begin());
        std::array<uint8_t, 32> head{};
        if (file_.Read_At(at, head) < 32) return false;
        const int64_t size = Get32(&head[4]);
        const int64_t in_use = std::min<int64_t>({Get32(&head[12]), (size - 24) / 8, (length - at - 32) / 8});
        const uint64_t base = Get32(&head[20]) | uint64_t{Get32(&head[24])} << 32;
        if (head[8] != 2 || in_use < 1) return false;
        std::vector<uint8_t> entries(static_cast<size_t>(in_use) * 8);
        file_.Read_At(at + 32, entries);
        for (int64_t i = 0; i < in_use; ++i) {
            // The entry's offset names the chunk's data; its header lies 8 bytes before it.
            const uint64_t data = base + Get32(&entries[static_cast<size_t>(i) * 8]);
            const int32_t bytes = static_cast<int32_t>(Get32(&entries[static_cast<size_t>(i) * 8 + 4]) & 0x7FFFFFFF);
            o.standard_index.emplace_back(static_cast<int64_t>(data) - 8, bytes);
        }
        return true;
    }
    return false;
}

void cls_VideoFile_handler::Read_AVI_Frame(int32_t frame) {
    Older_kind_state& o = *older_;
    const int64_t length = file_.Size();
    int64_t position = 0;
    int64_t chunk_length = 0;
    std::string expected;
    int32_t n = frame;
    if (!o.index_found && !o.interleaved) {
        if (n > static_cast<int32_t>(o.standard_index.size())) return;
        position = o.standard_index[static_cast<size_t>(n - 1)].first;
        chunk_length = o.standard_index[static_cast<size_t>(n - 1)].second;
    } else {
        n = std::min(n, static_cast<int32_t>(o.video_index.size()));
        const cls_IDX& entry = o.video_index[static_cast<size_t>(n - 1)];
        position = Indexed_Chunk(o, avi_info_.MovieOffset(), entry);
        chunk_length = static_cast<uint32_t>(entry.dwChunkLength);
        expected = entry.ckid;
    }
    o.frame_in_store = n;
    o.chunk_position = position + 1;
    o.chunk_length = static_cast<int32_t>(std::min<int64_t>(chunk_length, INT32_MAX));
    // A chunk the file does not hold whole, an empty one (a dropped frame) or one whose id is not the
    // index's is no frame.
    if (chunk_length <= 0 || chunk_length > Largest_Chunk || position < 0 || position + 8 + chunk_length > length) return;
    o.frame_buffer.resize(static_cast<size_t>(chunk_length) + 8);
    if (file_.Read_At(position, o.frame_buffer) < chunk_length + 8) return;
    const std::string id = Id(o.frame_buffer.data());
    if (expected.empty() ? !Is_Video_Id(id) && id.substr(2) != "dc" && id.substr(2) != "db" : id != expected) return;
    if (Get32(&o.frame_buffer[4]) < chunk_length) return;
    o.frame_data_size = static_cast<int32_t>(chunk_length);
    frame_format_.biSizeImage = static_cast<uint32_t>(chunk_length);
    frame_available_ = true;
    o.percentage = frame_count_ > 0 ? vb::CLng(vb::Round(n * 100.0 / frame_count_)) : 0;
    o.player_time = double{static_cast<double>(n - 1)} * mill_per_frame_;
    o.text_buffer.clear();
    if (static_cast<size_t>(n) <= o.text_index.size()) {
        const cls_IDX& text = o.text_index[static_cast<size_t>(n - 1)];
        const int64_t at = Indexed_Chunk(o, avi_info_.MovieOffset(), text) + 8;
        const int64_t bytes = static_cast<uint32_t>(text.dwChunkLength);
        if (bytes > 0 && bytes <= Largest_Chunk && at + bytes <= length) {
            o.text_buffer.resize(static_cast<size_t>(bytes));
            file_.Read_At(at, o.text_buffer);
        }
    }
}

bool cls_VideoFile_handler::is_DV() {
    const std::string kind = m_file_suffix;
    if (kind == "kd2" || kind == "kd1" || kind == "sdv") return true;
    // Exactly these texts: the Canopus code is known written both ways, "DVSD" is not DV here.
    const std::string codec = avi_info_.VideoCodec();
    return codec == "msdv" || codec == "dvsd" || codec == "CDVC" || codec == "cdvc";
}

bool cls_VideoFile_handler::Has_DV_Header() const {
    return m_file_suffix == "sdv" || m_file_suffix == "kd1" || m_file_suffix == "kd2" || (older_ && older_->pos_PKHD > 0);
}

void cls_VideoFile_handler::Rewrite_AVI_Header() {
    if (!File_open()) return;
    std::array<uint8_t, 12> riff{};
    file_.Read_At(0, riff);
    Put32(&riff[4], static_cast<uint32_t>(file_.Size() - 8));
    file_.Write_At(0, riff);
}

void cls_VideoFile_handler::Append_XML_header() {
    if (!older_ || !File_open() || older_->kind != Older_kind_state::Kind::avi) return;
    if (m_Read_only) {
        ui::MsgBox("File is Read Only!");
        return;
    }
    if (older_->pos_KDXM > 0) Refuse(vb::Err_Invalid_Call, m_File_Name + " holds a header chunk already");
    header_ = std::make_unique<Cls_XML_header>();
    if (golf_header_) header_->Golfing(true);
    header_->rgb(true);
    header_->Create_Header();
    header_readable_ = true;
    const std::string document = Header().XML_string();
    Module_Validate_XML::Validate_XML_string(document);
    std::string text = vb::Utf8_To_Ansi(document);
    text.resize(30000, ' ');
    // The chunk goes where the RIFF data ends; the end of the file, for a file laid out as RIFF says.
    const int64_t at = std::min<int64_t>(int64_t{static_cast<uint32_t>(avi_info_.RIFFsize())} + 8, file_.Size());
    std::array<uint8_t, 8> chunk{'K', 'D', 'X', 'M'};
    Put32(&chunk[4], 30000);
    file_.Write_At(at, chunk);
    file_.Write_At(at + 8, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
    Rewrite_AVI_Header();
    Parse_Chunks();
}

void cls_VideoFile_handler::Append_DV_header() {
    if (!older_ || !File_open() || older_->kind != Older_kind_state::Kind::avi) return;
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    dv::DV_File_Header record;
    record.Magic("PKDV");
    record.Data_Offset(dv::AVI_DV_Header_Data_Offset);
    const int64_t at = file_.Size();
    std::array<uint8_t, 8> chunk{'P', 'K', 'H', 'D'};
    Put32(&chunk[4], dv::DV_File_Header_Length);
    file_.Write_At(at, chunk);
    file_.Write_At(at + 8, record.Bytes());
    Rewrite_AVI_Header();
    older_->pos_PKHD = at + 1;
}

// ---- the headers at the start of the file ----

void cls_VideoFile_handler::Read_Headers() {
    if (vb::LCase(m_file_suffix) != "avi" || !File_open()) return;
    mTrace::Trace("*Read_Headers begin");
    AVI_Headers& h = avi_headers_;
    const int64_t length = file_.Size();
    if (length < 88 + 12) Refuse(62, m_File_Name + " is shorter than the headers of an AVI file");
    file_.Read_At(0, h.riff);
    file_.Read_At(12, h.header_list);
    file_.Read_At(24, h.avih_chunk);
    file_.Read_At(32, h.main_header);
    file_.Read_At(88, h.stream_list);
    int64_t at = 100;
    // Each chunk's data as its size says, never past the end of the file.
    auto read_chunk = [&](std::vector<uint8_t>& data) {
        std::array<uint8_t, 8> head{};
        if (file_.Read_At(at, head) < 8) Refuse(62, m_File_Name + " ends inside its stream headers");
        const int64_t size = Get32(&head[4]);
        if (at + 8 + size > length) Refuse(62, m_File_Name + " ends inside its stream headers");
        data.assign(static_cast<size_t>(size), 0);
        file_.Read_At(at + 8, data);
        at += 8 + size;
    };
    read_chunk(h.strh);
    read_chunk(h.strf);
    mTrace::Trace("*Read_Headers end");
}

void cls_VideoFile_handler::get_AVI_strh(int32_t& length, const uint8_t*& address) const {
    length = static_cast<int32_t>(avi_headers_.strh.size());
    address = avi_headers_.strh.data();
}

void cls_VideoFile_handler::get_AVI_strf(int32_t& length, const uint8_t*& address) const {
    length = static_cast<int32_t>(avi_headers_.strf.size());
    address = avi_headers_.strf.data();
}

void cls_VideoFile_handler::Force_Framerate(int32_t fps) {
    if (fps == 0) vb::Raise(vb::Err_Division_By_Zero, "Division by zero", Source);
    if (!File_open()) vb::Raise(52, "Bad file name or number: no capture file is open", Source);
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    // The record is read again first: whatever the file holds around the rate stays as it is.
    std::array<uint8_t, 88> record{};
    if (file_.Read_At(0, record) < 88 || Id(&record[0]) != "RIFF" || Id(&record[8]) != "AVI " || Id(&record[24]) != "avih")
        Refuse(vb::Err_Invalid_Call, m_File_Name + " does not begin with the headers of an AVI file");
    Put32(&record[32], static_cast<uint32_t>(vb::CLng(vb::Round(1000000.0 / fps))));
    file_.Write_At(0, record);
    std::copy_n(record.begin(), 12, avi_headers_.riff.begin());
    std::copy_n(record.begin() + 12, 12, avi_headers_.header_list.begin());
    std::copy_n(record.begin() + 24, 8, avi_headers_.avih_chunk.begin());
    std::copy_n(record.begin() + 32, 56, avi_headers_.main_header.begin());
}

// ---- the data-channel names (PKA3) ----

std::string cls_VideoFile_handler::Data_Channel_Name(int16_t channel) {
    try {
        if (!File_open() || !older_ || older_->pos_PKA[2] < 1 || channel < 1) return {};
        std::array<uint8_t, 8> head{};
        file_.Read_At(older_->pos_PKA[2] - 1, head);
        if (int64_t{channel} * 40 > Get32(&head[4])) return {};
        std::array<uint8_t, 40> name{};
        if (file_.Read_At(older_->pos_PKA[2] - 1 + 8 + 40 * int64_t{channel - 1}, name) < 40) return {};
        std::string text = vb::Ansi_To_Utf8({name.data(), name.size()});
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    } catch (const VbError&) {
        return {};
    }
}

void cls_VideoFile_handler::Write_channel_name(int16_t channel, const std::string& name) {
    try {
        if (!File_open() || !older_ || older_->pos_PKA[2] < 1 || channel < 1 || m_Read_only) return;
        std::array<uint8_t, 8> head{};
        file_.Read_At(older_->pos_PKA[2] - 1, head);
        // Only into the chunk's own data.
        if (int64_t{channel} * 40 > Get32(&head[4])) return;
        std::string text = vb::Utf8_To_Ansi(name).substr(0, 40);
        text.resize(40, ' ');
        file_.Write_At(older_->pos_PKA[2] - 1 + 8 + 40 * int64_t{channel - 1},
                       {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
    } catch (const VbError&) {
    }
}

// ---- the text stream ----

namespace {

const cls_IDX& Text_Entry(const std::vector<cls_IDX>& index, int32_t frame) {
    if (frame < 1 || static_cast<size_t>(frame) > index.size())
        vb::Raise(vb::Err_Subscript, "The text stream has no entry " + std::to_string(frame), "cls_VideoFile_handler");
    return index[static_cast<size_t>(frame - 1)];
}

}  // namespace

void cls_VideoFile_handler::Get_Text_buffer(int32_t frame, int32_t& length, const uint8_t*& address) {
    length = 0;
    address = nullptr;
    if (!Has_Text_Stream()) return;
    const cls_IDX& entry = Text_Entry(older_->text_index, frame);
    const int64_t at = Indexed_Chunk(*older_, avi_info_.MovieOffset(), entry);
    const int64_t bytes = static_cast<uint32_t>(entry.dwChunkLength);
    if (bytes > Largest_Chunk || at + bytes > file_.Size()) Refuse(62, "The text chunk of frame " + std::to_string(frame) + " lies past the end of " + m_File_Name);
    older_->text_chunk.assign(static_cast<size_t>(bytes), 0);
    file_.Read_At(at, older_->text_chunk);
    length = static_cast<int32_t>(bytes);
    address = older_->text_chunk.data();
}

void cls_VideoFile_handler::Put_Text_buffer(const uint8_t* address, int32_t length) {
    if (!Has_Text_Stream() || length <= 0) return;
    const cls_IDX& entry = Text_Entry(older_->text_index, older_->frame_in_store);
    const int64_t chunk = Indexed_Chunk(*older_, avi_info_.MovieOffset(), entry);
    if (int64_t{static_cast<uint32_t>(entry.dwChunkLength)} < int64_t{length} + 12) {
        ui::MsgBox("Text buffer overflow at rewrite!");
        return;
    }
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    if (!Chunk_Takes(file_, chunk, entry, int64_t{length} + 4))
        Refuse(62, "The text chunk of frame " + std::to_string(older_->frame_in_store) + " is not where the index of " +
                       m_File_Name + " says");
    file_.Write_At(chunk + 12, {address, static_cast<size_t>(length)});
}

void cls_VideoFile_handler::Rewrite_Text_Buffer(int16_t frame) {
    if (drive_type_ == fs::Drive_CDRom) {
        ui::MsgBox("AVI file is on CD-ROM!");
        return;
    }
    if (m_Read_only) {
        ui::MsgBox("AVI file is read only");
        return;
    }
    try {
        if (!Has_Text_Stream() || !File_open()) return;
        const cls_IDX& entry = Text_Entry(older_->text_index, frame);
        // Never more than the chunk holds: the chunk after it stays as it is.
        const size_t bytes = std::min<size_t>(older_->text_buffer.size(), static_cast<uint32_t>(entry.dwChunkLength));
        const int64_t chunk = Indexed_Chunk(*older_, avi_info_.MovieOffset(), entry);
        if (!Chunk_Takes(file_, chunk, entry, static_cast<int64_t>(bytes))) return;
        file_.Write_At(chunk + 8, {older_->text_buffer.data(), bytes});
    } catch (const VbError&) {
    }
}

int16_t cls_VideoFile_handler::Text_Length() const {
    if (!Has_Text_Stream()) return 0;
    return vb::To_Int16(int64_t{static_cast<uint32_t>(older_->text_index.front().dwChunkLength)});
}

const uint8_t* cls_VideoFile_handler::text_adress() const {
    if (!older_ || older_->text_buffer.empty()) vb::Raise(vb::Err_Subscript, "No text is held", Source);
    return older_->text_buffer.data();
}

// ---- the video index ----

int32_t cls_VideoFile_handler::Index_flag(int32_t frame) const {
    if (!older_ || frame < 1 || static_cast<size_t>(frame) > older_->video_index.size())
        vb::Raise(vb::Err_Subscript, "The video index has no entry " + std::to_string(frame), Source);
    return older_->video_index[static_cast<size_t>(frame - 1)].dwFlags;
}

void cls_VideoFile_handler::Get_Frame(int32_t frame, int32_t& length, const uint8_t*& address) {
    Read_Frame(frame, 1);
    length = Frame_Length();
    address = older_ && older_->frame_buffer.size() > 8 ? older_->frame_buffer.data() + 8 : nullptr;
}
