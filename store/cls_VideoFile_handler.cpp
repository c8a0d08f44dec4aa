#include "cls_VideoFile_handler.h"

#include "Header_journal.h"
#include "Heat_writers.h"

#include "imaging/mIntelJPEGLibrary.h"
#include "platform/fs/File_system.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/graphics/Graphics.h"
#include "platform/jpeg/Jpeg_codec.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Code_page.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "platform/xml/Xml_document.h"
#include "shell/Failure_notices.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <filesystem>

namespace {

const char* const Source = "cls_VideoFile_handler";

std::string Location(const char* procedure) {
    return std::string(procedure) + " of Class Module cls_VideoFile_handler";
}

// The reading procedures report under the name the store had when they were written.
std::string Reader_Location(const char* procedure) {
    return std::string(procedure) + " of Class Module Class_RGB_file_handler";
}

[[noreturn]] void Refuse(int32_t number, const std::string& description) { vb::Raise(number, description, Source); }

// What a trap would report, or the error passed on when the trap is not armed.
void Report_Or_Rethrow(std::exception_ptr failure, const std::string& location) {
    try {
        std::rethrow_exception(failure);
    } catch (...) {
        VbError error = VbError::From_Current_Exception();
        if (!Module_Vantorel::Is_Compiled) throw error;
        vb::Report_Error(error, location);
    }
}

// A frame of `width` x `height` turned clockwise into a bottom-up 24-bit picture: the whole frame (mode
// 0), or its field of that deinterlacing mode.
void Turn_Frame(const uint8_t* frame, uint8_t* target, int32_t width, int32_t height, int16_t mode) {
    if (mode != 0) graphics::Rotate90_Field(frame, target, width, height, mode);
    else graphics::Rotate90(frame, target, width, height, 0);
}

}  // namespace

cls_VideoFile_handler::cls_VideoFile_handler() {
    mTrace::Trace("* cls_VideoFile_Handler Initialize***, M_index = ", 0);
    frame_image_.Create(720, 576);
    frame_image_.ID_string("obj_DIB_Deint_source 1");
    field_image_.Create(720, 576);
    field_image_.ID_string("obj_DIB_Deint_target 1");
    rotated_image_.Create(576, 720);
    rotated_image_.ID_string("obj_DIB_Rotate_Target");
    Make_Older_Working_Pictures();
    draw_dib_ = gdi::DrawDibOpen();
    // The DV codec text the description carries is empty: compression 0.
    Set_Frame_Format(720, 576, 0);
    initial_quality_ = Module_Vantorel::JPG_Start_Quality;
    mTrace::Trace("* cls_VideoFile_Handler Initialize***, end ");
}

cls_VideoFile_handler::~cls_VideoFile_handler() {
    mTrace::Trace("* cls_VideoFile_Handler Terminate***, M_index = ", 0);
    Settle_Shown();
    // A segment still open is completed as a close completes it; nothing may escape a destructor.
    try {
        if (File_open()) Close_File();
    } catch (...) {
    }
    Heat_writers::Forget(this);
    gdi::DrawDibClose(draw_dib_);
    mTrace::Trace("* cls_VideoFile_Handler Terminate***, end ");
}

Cls_XML_header& cls_VideoFile_handler::Header() {
    if (!header_) header_ = std::make_unique<Cls_XML_header>();
    return *header_;
}

// ---- file identity ----

void cls_VideoFile_handler::File_name(const std::string& path) {
    m_File_Name = path;
    m_file_suffix = Non_dependant::File_Suffix(path);
}

bool cls_VideoFile_handler::Has_XML_header() {
    m_file_suffix = Non_dependant::File_Suffix(m_File_Name);
    // An AVI file has a header only where its XML chunk was found.
    if (vb::LCase(m_file_suffix) == "avi") return older_ && older_->pos_KDXM > 0;
    return m_file_suffix == "kd1" || m_file_suffix == "kd2" || m_file_suffix == "kd3";
}

int32_t cls_VideoFile_handler::File_size() const { return vb::To_Int32(Non_dependant::Get_File_Size(m_File_Name)); }

// ---- creating and writing ----

void cls_VideoFile_handler::Create_File() { Create(false); }

bool cls_VideoFile_handler::Create_New_File() { return Create(true); }

bool cls_VideoFile_handler::Create(bool only_new) {
    if (File_open()) Close_File();
    try {
        // A new heat's file starts empty: bytes of an older file behind the new header would read as frames,
        // and an older heat's journal would be taken for this one's.
        if (only_new) {
            if (!file_.Create_New(m_File_Name)) return false;
        } else {
            file_.Open(m_File_Name, Binary_file::Mode::read_write_empty);
        }
        Header_journal::Remove(m_File_Name);
    } catch (const VbError& e) {
        file_.Close();
        Module_Vantorel::Debug_Stop = true;
        ui::MsgBox("File error! Check capture folder! \r\n" + std::to_string(e.Number()) + " " + e.Description(),
                   ui::vbOKOnly);
        return true;
    }
    Reset_Open_State();
    m_file_suffix = Non_dependant::File_Suffix(m_File_Name);
    m_Read_only = false;
    segment_counter_ = 0;
    return true;
}

void cls_VideoFile_handler::Cropped_Y(int32_t value) {
    cropped_y_ = value;
    compression_image_.Create(cropped_x_, cropped_y_);
}

bool cls_VideoFile_handler::RGB_interlaced() { return Header().RGB_interlaced(); }
// The older kinds turn by their first stream's flag; the kd3 flag of a header they carry means nothing to them.
bool cls_VideoFile_handler::RGB_Rotated() { return older_ ? rotated_ : Header().RGB_Rotated(); }

void cls_VideoFile_handler::Create_KD3_header() {
    mTrace::Trace("*Create_KD3_header");
    header_ = std::make_unique<Cls_XML_header>();
    header_readable_ = true;
    Forget_Heat_Start();
    Cls_XML_header& h = *header_;
    h.rgb(true);
    h.Create_Header();
    h.RGB_X(vb::To_Int16(cropped_x_));
    h.RGB_Y(vb::To_Int16(cropped_y_));
    h.RGB_interlaced(next_interlaced_);
    h.RGB_preview_on(false);
    h.RGB_JPEG_Quality(vb::CStr(initial_quality_));
    h.RGB_fps("0");
    h.RGB_Rotated(next_rotated_);
    h.File_comment1("");
    h.RGB_fourcc(codec_name_ == "Intel" ? "IJL" : "MJPG");
    h.RGB_JPEG_Codec(codec_name_);
    mTrace::Trace("Write_KD3_Header m_File_Name = : ", m_File_Name);
    if (!File_open()) Open_Heat(Binary_file::Mode::read_write_new);
    try {
        Write_KD3_header();
    } catch (...) {
        file_.Close();
        throw;
    }
    file_.Close();
}

void cls_VideoFile_handler::Write_KD3_header() {
    if (!File_open()) return;
    if (m_Read_only) Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
    // A document that did not come from this file's header must never replace it.
    if (!header_readable_)
        Refuse(vb::Err_Invalid_Call, "The header of " + m_File_Name + " could not be read; it is left as it is");
    std::string text = vb::Utf8_To_Ansi(Header().XML_string());
    if (text.empty()) Refuse(vb::Err_Invalid_Call, "The header document is empty; the header record is left as it is");
    if (text.size() > static_cast<size_t>(kd3::XML_Capacity))
        Refuse(vb::Err_Invalid_Call, "The header text has " + std::to_string(text.size()) +
                                         " characters, the header record holds " + std::to_string(kd3::XML_Capacity) +
                                         "; the header record is left as it is");
    // A file deleted or moved while open would take the header where nobody finds it again.
    if (!file_.Path_Names_Open_File())
        Refuse(vb::Err_File_Not_Found, "The capture file " + m_File_Name +
                                           " was deleted or moved while it was open; nothing is stored in it");
    if (const std::string refusal = Header_Write_Refusal(); !refusal.empty()) Refuse(vb::Err_Permission_Denied, refusal);
    kd3::Header_Bytes bytes;
    kd3::Put_File_Header(bytes, text);
    Rewrite_Header_Record(bytes);
    Heat_writers::Header_Written(this, m_File_Name);
}

std::string cls_VideoFile_handler::Header_Write_Refusal() const {
    return File_open() ? Heat_writers::Refusal(this, m_File_Name) : std::string();
}

void cls_VideoFile_handler::Rewrite_Header_Record(const kd3::Header_Bytes& record) {
    // A file shorter than its header record (a new heat) has no header to lose yet. A journal already
    // there was left by a rewrite of this opening that failed: it holds the last whole record, which the
    // file may no longer hold, so it stays until a whole record is durable, and a failure goes back to it.
    kd3::Header_Bytes old;
    const bool has_header = file_.Read_At(0, old) == kd3::Header_Length;
    std::optional<kd3::Header_Bytes> whole = Journalled_Record();
    if (has_header && old == record && !whole) return;
    if (has_header && !whole) {
        try {
            Header_journal::Keep(m_File_Name, old);
            whole = old;
        } catch (const VbError& e) {
            // An in-place rewrite needs no new room, nor the right to make a file; refusing it would leave the
            // heat's counts and results behind.
            if (e.Number() == vb::Err_Disk_Full) {
                Module_Vantorel::Write_Event_Log("No room for the header journal; the header is rewritten without it: " +
                                                 m_File_Name);
            } else if (e.Number() == vb::Err_Permission_Denied) {
                Unprotected_Rewrite(e);
            } else {
                throw;
            }
        }
    }
    try {
        file_.Write_At(0, record);
        file_.Sync();
    } catch (...) {
        // The whole record goes back at once where the disk lets it; otherwise the next opening restores it.
        if (whole) {
            try {
                file_.Write_At(0, *whole);
                file_.Sync();
                Header_journal::Remove(m_File_Name);
            } catch (...) {
            }
        }
        throw;
    }
    if (whole) Header_journal::Remove(m_File_Name);
}

std::optional<kd3::Header_Bytes> cls_VideoFile_handler::Journalled_Record() {
    std::optional<Header_journal::Kept_Record> kept = Header_journal::Read(m_File_Name);
    if (!kept || !Foreign_Journal(*kept).empty()) return std::nullopt;
    return kept->record;
}

void cls_VideoFile_handler::Unprotected_Rewrite(const VbError& refusal) {
    const std::string folder = std::filesystem::path(m_File_Name).parent_path().string();
    Module_Vantorel::Write_Event_Log("The header journal cannot be made (" + refusal.Description() +
                                     "); the header is rewritten without it: " + m_File_Name);
    if (Failure_notices::First(folder + "/*-journal", refusal.Number()))
        ui::MsgBox("No new file can be made in the folder " + folder +
                       ", so a header rewrite there is not protected: a power loss while results are saved could "
                       "damage the heat's header. Results are still saved.",
                   ui::vbExclamation);
}

void cls_VideoFile_handler::Read_KD3_Headers() {
    Forget_Heat_Start();
    vb::Trap(Module_Vantorel::Is_Compiled, Location("Read_KD3_Headers"), [&] {
        mTrace::Trace("*Read_KD3_Headers start");
        kd3::Header_Bytes bytes;
        if (journal_record_) bytes = *journal_record_;
        else if (file_.Read_At(0, bytes) < kd3::Header_Length) {
            header_readable_ = false;
            Refuse(62, "Input past end of file: " + m_File_Name + " is shorter than its header record");
        }
        kd3::File_Header record = kd3::Get_File_Header(bytes);
        if (record.xml_length <= 0) {
            header_readable_ = false;
            Refuse(vb::Err_Subscript, "The header record of " + m_File_Name + " holds no header text");
        }
        const auto* text = reinterpret_cast<const uint8_t*>(record.ansi_text.data());
        header_readable_ = Header().XML_string(vb::Ansi_To_Utf8({text, record.ansi_text.size()}));
        mTrace::Trace("*Read_KD3_Headers end");
    });
}

bool cls_VideoFile_handler::Write_XML_Header() {
    return vb::Trap(Module_Vantorel::Is_Compiled, Location("Write_XML_header"), [&] {
        if (!Has_XML_header()) {
            mTrace::Trace("*Has_XML_header = False");
            return;
        }
        Cls_XML_header& h = Header();
        h.Update_Time(Non_dependant::Now_Text());
        h.Update_Program(Module_Vantorel::Program_Name);
        if (m_file_suffix != "kd3") return Write_Older_XML_Header();
        // A closed file is opened here and stays open until Close_File.
        if (!File_open()) Open_Heat(Binary_file::Mode::read_write_new);
        Write_KD3_header();
    });
}

std::string cls_VideoFile_handler::Get_DOM_string() { return Header().XML_string(); }
void cls_VideoFile_handler::Dump_XML_Header(const std::string& path) { Header().Dump_XML_to_File(path); }
std::string cls_VideoFile_handler::XML_Header_string() { return Header().XML_string(); }
void cls_VideoFile_handler::XML_Header_string(const std::string& text) { header_readable_ = Header().XML_string(text); }

// ---- appending ----

void cls_VideoFile_handler::Set_JPG_Maxsize(int32_t size) {
    if (size == 0) {
        ui::MsgBox("JPG compression problem, please restart program!", ui::vbOKOnly);
        return;
    }
    vb::Trap(
        Module_Vantorel::Is_Compiled, Location("Set_JPG_Maxsize"),
        [&] {
            if (size < 0) Refuse(vb::Err_Invalid_Call, "A JPEG buffer cannot hold " + std::to_string(size) + " bytes");
            // Every record of a file has one length; a file with frames keeps its own.
            bool has_records = frame_count_ > 0 || m_RGB_frames_appended > 0;
            if (File_open() && has_records && buffer_size_ > 0 && size != buffer_size_)
                Refuse(vb::Err_Invalid_Call, "The frame records of " + m_File_Name + " hold " +
                                                 std::to_string(buffer_size_) + " bytes of JPEG; they cannot hold " +
                                                 std::to_string(size));
            buffer_size_ = size;
            write_record_.assign(static_cast<size_t>(kd3::Record_Length(size)), 0);
            if (record_length_ <= 0 || !has_records) record_length_ = kd3::Record_Length(size);
            Header().RGB_Compressed_buffer_Size(size);
        },
        "jz = " + std::to_string(size));
}

int32_t cls_VideoFile_handler::RGB_Compressed_buffer_Size() { return Header().RGB_Compressed_buffer_Size(); }
std::string cls_VideoFile_handler::RGB_Comp_Threshold() { return Header().RGB_Comp_Threshold(); }
void cls_VideoFile_handler::RGB_Comp_Threshold(const std::string& value) { Header().RGB_Comp_Threshold(value); }
std::string cls_VideoFile_handler::RGB_Max_Seen_size() { return Header().RGB_Max_Seen_size(); }
void cls_VideoFile_handler::RGB_Max_Seen_size(const std::string& value) { Header().RGB_Max_Seen_size(value); }
void cls_VideoFile_handler::Measured_fps(int16_t value) { Header().RGB_fps(vb::CStr(value)); }
int16_t cls_VideoFile_handler::Measured_fps() { return vb::CInt(Header().RGB_fps()); }
void cls_VideoFile_handler::RGB_fourcc(const std::string& value) { Header().RGB_fourcc(value); }
std::string cls_VideoFile_handler::Last_Capture_time() { return Header().Last_Capture_time(); }
void cls_VideoFile_handler::Last_Capture_time(const std::string& value) { Header().Last_Capture_time(value); }

void cls_VideoFile_handler::Position_at_End() {
    if (!File_open()) Refuse(52, "Bad file name or number");
    int64_t length = file_.Size();
    append_position_ = length;
    // After a crash the file may end in part of a record: the next record goes where it began.
    if (m_file_suffix == "kd3" && record_length_ > 0) {
        int64_t end_of_records = kd3::Record_Offset(frame_count_ + 1, record_length_);
        if (end_of_records >= kd3::First_Record && end_of_records <= length) append_position_ = end_of_records;
    }
}

bool cls_VideoFile_handler::Refuse_Segment() {
    segment_refused_ = true;
    ++refused_frames_;
    return false;
}

void cls_VideoFile_handler::Append_Compressed_RGB_Frame(int32_t capture_local, int32_t capture_mill,
                                                        int32_t capture_delta, int16_t quality, int32_t jpeg_size,
                                                        const uint8_t* jpeg, int32_t hdmi_events) {
    vb::Trap(Module_Vantorel::Is_Compiled, Location("Append_Compressed_RGB_Frame"), [&] {
        // One refusal stands for the whole segment; its frames are only counted.
        if (segment_refused_) {
            ++refused_frames_;
            return;
        }
        if (!File_open()) {
            Refuse_Segment();
            mTrace::Trace("*m_File_Num = 0,Append_Compressed_RGB_Frame ");
            ui::MsgBox("*m_File_Num = 0,Append_Compressed_RGB_Frame , please notify developer!", ui::vbOKOnly);
            return;
        }
        if (m_Read_only) {
            Refuse_Segment();
            Refuse(vb::Err_Permission_Denied, "The capture file is read-only: " + m_File_Name);
        }
        if (buffer_size_ <= 0) {
            Refuse_Segment();
            Refuse(vb::Err_Invalid_Call, "No JPEG buffer size is set for " + m_File_Name);
        }
        int64_t length = kd3::Record_Length(buffer_size_);
        if (record_length_ > 0 && record_length_ != length) {
            Refuse_Segment();
            Refuse(vb::Err_Invalid_Call, "The frame records of " + m_File_Name + " are " +
                                             std::to_string(record_length_) + " bytes long, not " +
                                             std::to_string(length));
        }
        if (jpeg_size < 0 || jpeg_size > buffer_size_ || (jpeg_size > 0 && !jpeg)) {
            ++refused_frames_;
            mTrace::Trace("*Append_Compressed_RGB_Frame, JPEG refused, size = ", jpeg_size, " buffer = ", buffer_size_);
            return;
        }
        kd3::Sample_Header head;
        head.capture_mill = capture_mill;
        head.capture_delta = capture_delta;
        head.capture_local = capture_local;
        head.jpeg_quality = quality;
        head.jpeg_size = jpeg_size;
        head.hdmi_events = hdmi_events;
        uint8_t* record = write_record_.data();
        kd3::Put_Sample_Header(std::span<uint8_t, kd3::Sample_Header_Length>(record, kd3::Sample_Header_Length), head);
        kd3::Put_Descriptor(std::span<uint8_t, kd3::Descriptor_Length>(record + kd3::Sample_Header_Length,
                                                                        kd3::Descriptor_Length),
                            {1, buffer_size_, 1});
        if (jpeg_size > 0) std::memcpy(record + kd3::Buffer_Offset, jpeg, static_cast<size_t>(jpeg_size));
        std::memcpy(record + kd3::Buffer_Offset + buffer_size_, kd3::End_Mark.data(), kd3::End_Mark_Length);
        try {
            file_.Write_At(append_position_, write_record_);
        } catch (const VbError&) {
            // The disk refused the record (full, a size limit, an I/O error): the file keeps its whole records
            // only, the failure is reported once and the segment's further frames are only counted.
            Refuse_Segment();
            try {
                file_.Truncate(append_position_);
            } catch (const VbError&) {
            }
            throw;
        }
        append_position_ += length;
        ++m_RGB_frames_appended;
        if (m_RGB_frames_appended == 1) {
            Heat_writers::Recording(this, m_File_Name);
            // Measured on this file's own first record, so a one-record segment counts too.
            measured_record_length_ = length;
            record_length_ = length;
            Header().RGB_Sample_Size(vb::To_Int32(length));
            seen_smallest_ = seen_largest_ = jpeg_size;
        }
        seen_smallest_ = std::min(seen_smallest_, jpeg_size);
        seen_largest_ = std::max(seen_largest_, jpeg_size);
    });
}

// ---- capture statistics ----

void cls_VideoFile_handler::JPG_Sizes(int32_t smallest, int32_t largest) {
    given_smallest_ = smallest;
    given_largest_ = largest;
    sizes_given_ = true;
}

int32_t cls_VideoFile_handler::Largest_JPG() { return Header().RGB_Compressed_max_Size(); }
int32_t cls_VideoFile_handler::Smallest_JPG() { return Header().RGB_Compressed_min_Size(); }
void cls_VideoFile_handler::Add_Segment_num() { segment_counter_ = vb::To_Int32(int64_t{segment_counter_} + 1); }
int32_t cls_VideoFile_handler::Segments_Num() { return Header().Segments_no(); }

void cls_VideoFile_handler::Add_Reduced_Quality_num(int16_t count) {
    Cls_XML_header& h = Header();
    h.JPG_Reduced_Qual_num(vb::To_Int16(int32_t{h.JPG_Reduced_Qual_num()} + count));
}

std::string cls_VideoFile_handler::DIB_sizes() const {
    return std::to_string(frame_image_.Width()) + "," + std::to_string(frame_image_.Height()) + " " +
           std::to_string(field_image_.Width()) + "," + std::to_string(field_image_.Height());
}

// ---- opening and reading ----

void cls_VideoFile_handler::Open_RGB_File() {
    vb::Trap(true, Reader_Location("Open_file"), [&] {
        int64_t length = fs::File_Size(m_File_Name);
        mTrace::Trace("*Open_RGB_File, begin ", "Filename = ", m_File_Name, " Filelength = ", length);
        if (File_open()) Close_File();
        Reset_Open_State();
        // The document still holds the heat opened before: until this heat's header is read, nothing may
        // save it.
        header_readable_ = false;
        std::string damage;
        try {
            Open_Heat(Binary_file::Mode::read_write);
            length = file_.Size();  // a restored header may have been all that changed, but the file is what counts
            m_file_suffix = Non_dependant::File_Suffix(m_File_Name);
            damage = Read_Opened_Header(length);
        } catch (...) {
            // Half read, the heat would take a header that is not all its own at the next save.
            Close_Unfinished_Open();
            throw;
        }
        if (!damage.empty()) {
            // A damaged file is no fault of the program: it is closed with a message, not an error report.
            Close_Unfinished_Open();
            Module_Vantorel::Write_Event_Log("Open_RGB_File: " + m_File_Name + ": " + damage);
            ui::MsgBox("Not a valid vantOrel file!\r\n" + m_File_Name + "\r\n" + damage, ui::vbOKOnly);
            return;
        }
        Heat_writers::Header_Read(this, m_File_Name);
        Position_at_End();
        if (frame_count_ >= 2) {
            mTrace::Trace("*Open_RGB_File, Read_RGB_sample 1");
            Read_RGB_sample(1, false);
            mTrace::Trace("*Open_RGB_File, Read_RGB_sample 2");
            Read_RGB_sample(2, false);
            mTrace::Trace("*Open_RGB_File, Read_RGB_sample m_Num_RGB_Frames ", frame_count_);
            Read_RGB_sample(frame_count_, false);
        }
        mTrace::Trace("*Open_RGB_File end, m_File_Num = ", File_num());
    });
}

std::string cls_VideoFile_handler::Read_Opened_Header(int64_t length) {
    if (!journal_record_ && length < kd3::Header_Length) return "it is shorter than a header record";
    Read_KD3_Headers();
    if (!header_readable_) return "its header is not readable";
    try {
        Cls_XML_header& h = Header();
        width_ = h.RGB_X();
        height_ = h.RGB_Y();
        // Every bitmap and buffer below is sized from the frame size: one that no capture gives is refused
        // before anything is made at it.
        if (width_ <= 0 || height_ <= 0 || width_ > Max_Picture_Side || height_ > Max_Picture_Side)
            Refuse_File("its header gives a frame size of " + std::to_string(width_) + " x " + std::to_string(height_) +
                        " pixels");
        if (field_image_.Width() != width_) {
            Settle_Shown();
            field_image_.Create(width_, height_);
            frame_image_.Create(width_, height_);
        }
        rotated_image_.Create(height_, width_);
        interlaced_ = h.RGB_interlaced();
        fourcc_ = h.RGB_fourcc();
        codec_ = h.RGB_JPEG_Codec();
        rotated_ = h.RGB_Rotated();
        Choose_Record_Length(length);
        frame_count_ = h.Frames_no();
        if (frame_count_ < 0) Refuse_File("its header counts " + std::to_string(frame_count_) + " frames");
        file_quality_ = vb::To_Int16(static_cast<int64_t>(vb::Val(h.RGB_JPEG_Quality())));
        Count_Whole_Records(length);
        if (interlaced_) {
            field_count_ = vb::To_Int32(2 * int64_t{frame_count_});
            mill_per_frame_ = 40;
            mill_per_field_ = 20;
        } else {
            field_count_ = frame_count_;
            mill_per_frame_ = 20;
            mill_per_field_ = 20;
        }
    } catch (const VbError& e) {
        // A header without one of its elements.
        if (e.Number() != vb::Err_Object_Not_Set) throw;
        return e.Description();
    }
    return {};
}

void cls_VideoFile_handler::Open_Heat(Binary_file::Mode mode) {
    // The read-only attribute, or a file that may be read but not written (a read-only mount, another
    // owner's file), opens for reading.
    m_Read_only = Binary_file::Has_Read_Only_Attribute(m_File_Name);
    if (!m_Read_only) {
        try {
            file_.Open(m_File_Name, mode);
        } catch (const VbError& e) {
            if (e.Number() != vb::Err_Permission_Denied) throw;
            m_Read_only = true;
        }
    }
    if (m_Read_only) file_.Open(m_File_Name, Binary_file::Mode::read_only);
    Recover_Header_Journal();
}

void cls_VideoFile_handler::Recover_Header_Journal() {
    journal_record_.reset();
    if (!Header_journal::Exists(m_File_Name)) return;
    std::optional<Header_journal::Kept_Record> kept = Header_journal::Read(m_File_Name);
    if (!kept) {
        // Cut short itself: the rewrite it was to protect never began.
        Module_Vantorel::Write_Event_Log("Header journal incomplete, the header is as it was: " + m_File_Name);
        if (!m_Read_only) Header_journal::Remove(m_File_Name);
        return;
    }
    if (const std::string foreign = Foreign_Journal(*kept); !foreign.empty()) return Set_Journal_Aside(foreign);
    const kd3::Header_Bytes& record = kept->record;
    if (m_Read_only) {
        journal_record_ = record;
        Module_Vantorel::Write_Event_Log("Header rewrite was interrupted; the file cannot be written, its header is "
                                         "read from the journal: " + m_File_Name);
        return;
    }
    file_.Write_At(0, record);
    file_.Sync();
    Header_journal::Remove(m_File_Name);
    Module_Vantorel::Write_Event_Log("Header rewrite was interrupted; the header is restored from the journal: " +
                                     m_File_Name);
}

std::string cls_VideoFile_handler::Foreign_Journal(const Header_journal::Kept_Record& kept) {
    // A journal copied or left beside another heat would give this heat another heat's header for good.
    const std::string name = std::filesystem::path(m_File_Name).filename().string();
    if (kept.heat_name != name)
        return kept.heat_name.empty() ? "it names no heat" : "it was kept for " + kept.heat_name;
    const kd3::File_Header header = kd3::Get_File_Header(kept.record);
    const auto* bytes = reinterpret_cast<const uint8_t*>(header.ansi_text.data());
    const std::string text = vb::Ansi_To_Utf8({bytes, header.ansi_text.size()});
    if (header.xml_length <= 0 || xml::Document().Load_Xml(text).Error_Code != 0) return "it holds no header that parses";
    try {
        Cls_XML_header h;
        h.XML_string(text);
        const int32_t width = h.RGB_X(), height = h.RGB_Y();
        if (width <= 0 || height <= 0 || width > Max_Picture_Side || height > Max_Picture_Side)
            return "its header gives a frame size of " + std::to_string(width) + " x " + std::to_string(height);
        const int64_t file_length = file_.Size();
        constexpr int64_t Any_Length = INT64_MAX / 2;
        const int64_t own = Own_Record_Length(file_length, Any_Length);
        const int32_t buffer = h.RGB_Compressed_buffer_Size();
        if (own > 0 && h.RGB_Sample_Size() != own && (buffer <= 0 || kd3::Record_Length(buffer) != own))
            return "its header's frame records are not the heat's (" + std::to_string(own) + " bytes)";
    } catch (const VbError& e) {
        return "its header is incomplete: " + e.Description();
    }
    return {};
}

void cls_VideoFile_handler::Set_Journal_Aside(const std::string& reason) {
    std::string told = "The header journal beside " + m_File_Name + " is not this heat's (" + reason + ")";
    if (m_Read_only) {
        told += "; it is left as it is and not used.";
    } else {
        try {
            told += "; it is kept as " + Header_journal::Set_Aside(m_File_Name) + ".";
        } catch (const VbError& e) {
            told += "; it could not be moved (" + e.Description() + ") and is not used.";
        }
    }
    told += " The heat keeps its own header.";
    Module_Vantorel::Write_Event_Log(told);
    ui::MsgBox(told, ui::vbExclamation);
}

void cls_VideoFile_handler::Refuse_File(const std::string& reason) {
    Refuse(vb::Err_Invalid_Call, "The capture file " + m_File_Name + " cannot be shown: " + reason);
}

void cls_VideoFile_handler::Close_Unfinished_Open() {
    file_.Close();
    Reset_Open_State();
}

int64_t cls_VideoFile_handler::Max_Buffer_Size() const {
    constexpr int64_t Marker_Room = 65536;
    return jpeg::Max_Stream_Size(width_, height_) + Marker_Room;
}

bool cls_VideoFile_handler::Marks_Bear_Out(int64_t record_length, int64_t file_length) const {
    // Record 1 ends in its end mark, and record 2, where the file holds more, begins with its start mark.
    const int64_t end = kd3::First_Record + record_length;
    if (record_length < kd3::Record_Overhead || file_length < end) return false;
    std::array<uint8_t, 8> marks{};
    int64_t got = file_.Read_At(end - kd3::End_Mark_Length, marks);
    if (got < 4 || !std::equal(kd3::End_Mark.begin(), kd3::End_Mark.end(), marks.begin())) return false;
    return got < 8 || std::equal(kd3::Start_Mark.begin(), kd3::Start_Mark.end(), marks.begin() + 4);
}

int64_t cls_VideoFile_handler::Own_Record_Length(int64_t file_length, int64_t max_length) const {
    std::array<uint8_t, kd3::Buffer_Offset> head{};
    if (file_.Read_At(kd3::First_Record, head) != kd3::Buffer_Offset) return 0;
    kd3::Sample_Header sample = kd3::Get_Sample_Header(
        std::span<const uint8_t, kd3::Sample_Header_Length>(head.data(), kd3::Sample_Header_Length));
    kd3::Buffer_Descriptor buffer = kd3::Get_Descriptor(
        std::span<const uint8_t, kd3::Descriptor_Length>(head.data() + kd3::Sample_Header_Length, kd3::Descriptor_Length));
    int64_t length = kd3::Record_Length(buffer.count);
    const bool whole = length >= kd3::Record_Overhead && length <= max_length && kd3::First_Record + length <= file_length;
    return sample.start_mark == kd3::Start_Mark && buffer.dimensions == 1 && whole ? length : 0;
}

void cls_VideoFile_handler::Choose_Record_Length(int64_t file_length) {
    Cls_XML_header& h = Header();
    const int64_t max_length = kd3::Record_Length(0) + Max_Buffer_Size();
    auto usable = [&](int64_t length) { return length >= kd3::Record_Overhead && length <= max_length; };
    const int64_t own = Own_Record_Length(file_length, max_length);
    const int64_t header_sample = h.RGB_Sample_Size();
    const int32_t header_buffer = h.RGB_Compressed_buffer_Size();
    // The header's lengths hold where the file bears them out (or holds no record to say otherwise).
    int64_t chosen = 0;
    for (int64_t length : {header_sample, header_buffer > 0 ? kd3::Record_Length(header_buffer) : int64_t{0}}) {
        if (!usable(length)) continue;
        bool borne_out = own > 0 ? length == own || Marks_Bear_Out(length, file_length)
                                 : file_length < kd3::First_Record + length || Marks_Bear_Out(length, file_length);
        if (borne_out) {
            chosen = length;
            break;
        }
    }
    if (chosen == 0 && own > 0) {
        chosen = own;
        Module_Vantorel::Write_Event_Log("Open_RGB_File: the header gives records of " + std::to_string(header_sample) +
                                         " bytes and buffers of " + std::to_string(header_buffer) +
                                         ", the file's first record is " + std::to_string(own) + " bytes long, taken: " +
                                         m_File_Name);
        h.RGB_Sample_Size(vb::To_Int32(own));
        h.RGB_Compressed_buffer_Size(vb::To_Int32(own - kd3::Record_Overhead));
    }
    record_length_ = chosen;
    // The buffer length is this file's own, kept in its header since its heat started.
    buffer_size_ = chosen > 0 ? vb::To_Int32(chosen - kd3::Record_Overhead) : 0;
    if (buffer_size_ > 0) write_record_.assign(static_cast<size_t>(chosen), 0);
}

void cls_VideoFile_handler::Count_Whole_Records(int64_t file_length) {
    int64_t whole = record_length_ > 0 && file_length > kd3::First_Record ? (file_length - kd3::First_Record) / record_length_ : 0;
    if (whole > frame_count_) {
        // Only records that begin as records count; a half-written tail does not.
        std::array<uint8_t, 4> mark{};
        while (whole > frame_count_) {
            file_.Read_At(kd3::Record_Offset(vb::To_Int32(whole), record_length_), mark);
            if (std::equal(mark.begin(), mark.end(), kd3::Start_Mark.begin())) break;
            --whole;
        }
    }
    if (whole == frame_count_) return;
    Cls_XML_header& h = Header();
    if (whole > frame_count_) {
        Module_Vantorel::Write_Event_Log("Open_RGB_File: the header counts " + std::to_string(frame_count_) +
                                         " frames, the file holds " + std::to_string(whole) + ", all taken: " +
                                         m_File_Name);
        if (h.RGB_Sample_Size() <= 0) h.RGB_Sample_Size(vb::To_Int32(record_length_));
    } else {
        missing_frames_ = frame_count_ - static_cast<int32_t>(whole);
        Module_Vantorel::Write_Event_Log("Open_RGB_File: the header counts " + std::to_string(frame_count_) +
                                         " frames, the file holds " + std::to_string(whole) + ", " +
                                         std::to_string(missing_frames_) + " missing: " + m_File_Name);
    }
    frame_count_ = vb::To_Int32(whole);
    h.Frames_no(frame_count_);
}

int64_t cls_VideoFile_handler::RGB_video_adress(int32_t frame) const {
    return kd3::Record_Offset(frame, record_length_) + 1;
}

void cls_VideoFile_handler::Read_RGB_sample(int32_t frame, bool decode) {
    // The field drawn last stays what it was when its frame is read over.
    Make_Pending_Pictures();
    if (Older_Open()) return Read_Older_Sample(frame, decode);
    std::string extra;
    vb::Trap_With(
        Module_Vantorel::Is_Compiled,
        [&] {
            if (cached_record_ != 0 && frame == cached_record_) {
                if (decode && !cached_decoded_) {
                    if (frame_available_) Decode_Read_Record();
                    else Draw_Unavailable_Picture();
                    cached_decoded_ = true;
                }
                return;
            }
            if (frame == 0) {
                Module_Vantorel::Write_Event_Log("!!! FNum 0->1 File: " + m_File_Name);
                frame = 1;
            }
            int64_t offset = kd3::Record_Offset(frame, record_length_);
            extra = " my_fnum= " + std::to_string(frame) + "\r\n My_Video_adress = " + std::to_string(offset + 1);
            if (frame < 0) Refuse(vb::Err_Subscript, "There is no frame " + std::to_string(frame));
            std::array<uint8_t, kd3::Buffer_Offset> head{};
            if (file_.Read_At(offset, head) < kd3::Buffer_Offset) return Set_Frame_Unavailable(frame, decode);
            kd3::Sample_Header sample =
                kd3::Get_Sample_Header(std::span<const uint8_t, kd3::Sample_Header_Length>(head.data(), kd3::Sample_Header_Length));
            kd3::Buffer_Descriptor buffer = kd3::Get_Descriptor(
                std::span<const uint8_t, kd3::Descriptor_Length>(head.data() + kd3::Sample_Header_Length, kd3::Descriptor_Length));
            int64_t length = kd3::Record_Length(buffer.count);
            // Without a record length of its own the descriptor decides, so it must fit in the file.
            bool whole_record = sample.start_mark == kd3::Start_Mark && buffer.dimensions == 1 && buffer.count >= 0 &&
                                buffer.count <= Max_Buffer_Size() &&
                                (record_length_ > 0 ? length == record_length_ : length <= file_.Size() - offset);
            if (!whole_record) return Set_Frame_Unavailable(frame, decode);
            if (read_record_.size() < static_cast<size_t>(length)) read_record_.resize(static_cast<size_t>(length));
            if (file_.Read_At(offset, {read_record_.data(), static_cast<size_t>(length)}) < length)
                return Set_Frame_Unavailable(frame, decode);
            read_ = sample;
            cached_record_ = frame;
            current_frame_ = frame;
            frame_available_ = true;
            read_buffer_size_ = buffer.count;
            rounded_capture_time_ = sys::Tick_Add(Non_dependant::Round_To_Multiple(read_.capture_mill, 40), -10);
            cached_decoded_ = decode;
            if (decode) Decode_Read_Record();
        },
        [&](const VbError& e) {
            std::string report;
            try {
                report = KD3_Properties();
            } catch (...) {
            }
            vb::Report_Error(e, Reader_Location("Read_RGB_sample"), extra + report);
        });
}

void cls_VideoFile_handler::Set_Frame_Unavailable(int32_t frame, bool decode) {
    read_ = kd3::Sample_Header{};
    read_.start_mark.clear();
    read_.mid_mark.clear();
    read_buffer_size_ = 0;
    cached_record_ = frame;
    current_frame_ = frame;
    frame_available_ = false;
    rounded_capture_time_ = 0;
    cached_decoded_ = decode;
    if (decode) Draw_Unavailable_Picture();
}

void cls_VideoFile_handler::Decode_Read_Record() {
    const uint8_t* buffer = read_record_.data() + kd3::Buffer_Offset;
    if (fourcc_ == "IJL" || fourcc_ == "JPEG") {
        int32_t size = read_.jpeg_size;
        jpeg::Stream_info info;
        // A picture of another size than the header's is refused before it is decoded: its size comes
        // from the stream and could claim any amount of memory.
        bool decoded = size > 0 && size <= read_buffer_size_ &&
                       jpeg::Read_Header(buffer, static_cast<uint64_t>(size), info) == 0 && info.width == width_ &&
                       info.height == height_ && mIntelJPEGLibrary::Decode_JPG_To_DIB(frame_image_, buffer, size);
        if (!decoded) {
            mTrace::Trace("*bres = false, Read_RGB_sample, FNum = ", current_frame_);
            Draw_Message_Picture(0xFF0000, 0x0000FF, "Corrupted video\r\n in this frame!", {10, 100, 500, 400});
        }
        return;
    }
    // An uncompressed picture of the header's size; a buffer too short for it is refused.
    int64_t needed = int64_t{graphics::Stride(width_)} * height_;
    bool fits = width_ > 0 && height_ > 0 && read_buffer_size_ >= needed;
    if (fits && (frame_image_.Width() != width_ || frame_image_.Height() != height_))
        fits = frame_image_.Create(width_, height_);
    if (!fits) {
        Draw_Message_Picture(0xFF0000, 0x0000FF, "Corrupted video\r\n in this frame!", {10, 100, 500, 400});
        return;
    }
    std::memcpy(frame_image_.DIBSectionBitsPtr(), buffer, static_cast<size_t>(needed));
}

void cls_VideoFile_handler::Draw_Unavailable_Picture() {
    // Grey, with the words centred over the picture's whole width.
    const int32_t width = width_ > 0 ? width_ : frame_image_.Width();
    Draw_Message_Picture(0x808080, 0xFFFFFF, "Frame\r\nunavailable", {0, 100, width, 400});
}

void cls_VideoFile_handler::Draw_Message_Picture(int32_t colour, int32_t text_colour, const std::string& text,
                                                 const gdi::Rect& rect) {
    if (width_ > 0 && height_ > 0 && (frame_image_.Width() != width_ || frame_image_.Height() != height_))
        frame_image_.Create(width_, height_);
    frame_image_.Fill_with_RGB(colour);
    gdi::Device_context* dc = frame_image_.hDC();
    if (!dc) return;
    gdi::Font* font = gdi::CreateFontA(64, 0, 0, 0, 0, false, false, false, 1, 0, 0, 2, 0, "Arial");
    gdi::Gdi_object* previous = gdi::SelectObject(dc, font);
    gdi::SetTextColor(dc, static_cast<gdi::COLORREF>(text_colour));
    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    gdi::DrawTextA(dc, text, rect, gdi::DT_CENTER);
    gdi::SelectObject(dc, previous);
    gdi::DeleteObject(font);
}

int32_t cls_VideoFile_handler::KD3_Num_Frames() { return Header().Frames_no(); }
// The older kinds count their frames from their own layout, most of them without a header.
int32_t cls_VideoFile_handler::KD3_Num_fields() { return older_ ? vb::To_Int32(2 * int64_t{frame_count_}) : vb::To_Int32(2 * int64_t{Header().Frames_no()}); }
int16_t cls_VideoFile_handler::mill_per_frame() const { return vb::To_Int16(mill_per_frame_); }
int16_t cls_VideoFile_handler::KD3_Capture_Delta() const { return vb::To_Int16(read_.capture_delta); }
int16_t cls_VideoFile_handler::KD3_Compression_Quality() const { return vb::To_Int16(read_.jpeg_quality); }

// ---- fields and display ----

void cls_VideoFile_handler::Read_RGB_Field(int32_t field) {
    vb::Trap(Module_Vantorel::Is_Compiled, Location("Read_RGB_Field"), [&] { Take_RGB_Field(field); });
}

void cls_VideoFile_handler::Draw_RGB_Field(int32_t field, gdi::Picture_surface& box) {
    vb::Trap(Module_Vantorel::Is_Compiled, Location("Draw_RGB_Field"), [&] {
        // A field over the whole box covers the one shown before: that one is never drawn.
        if (Covers_Box(box)) box.hDC()->Drop_Deferred();
        Take_RGB_Field(field);
        if (rotated_ && Turn_Into(box)) {
            // The turned picture stays pending: the box holds it.
        } else if (rotated_) {
            Make_Rotated();
            Paint_Whole(rotated_image_, box);
        } else if (interlaced_) {
            Paint_Field_Of_Frame(box);
        } else {
            // A progressive frame is its own field.
            Paint_Whole(frame_image_, box);
        }
        box.Refresh();
    });
}

void cls_VideoFile_handler::Take_RGB_Field(int32_t field) {
    if (field < 0) Refuse(vb::Err_Subscript, "There is no field " + std::to_string(field));
    displayed_frame_ = Non_dependant::Field_To_Frame(field);
    field_pending_ = rotated_pending_ = false;  // the field drawn before is not asked for again
    Read_RGB_sample(displayed_frame_, true);
    field_to_show_ = Non_dependant::Is_Odd(field) ? 1 : 2;
    current_field_ = field;
    if (field_image_.Width() != frame_image_.Width() || field_image_.Height() != frame_image_.Height()) {
        field_image_.Create(frame_image_.Width(), frame_image_.Height());
        std::string text = "Deinterlace, size mismatch for file: " + m_File_Name;
        mTrace::Trace(text);
        Module_Vantorel::Write_Event_Log(text);
        if (MismatchSize) MismatchSize();
    }
    // The field's own pictures are made only when asked for (Field_Image, Rotated_Image).
    pending_field_mode_ = Deinterlace_Mode();
    field_pending_ = true;
    rotated_pending_ = rotated_;
    field_time_ = interlaced_ ? Fields_Span(int64_t{field} - 1) : Frames_Span(int64_t{displayed_frame_} - 1);
}

// DV frames hold the lower field first in time.
int16_t cls_VideoFile_handler::Deinterlace_Mode() const { return (field_to_show_ == 1) != bottom_field_first_ ? 2 : 1; }

bool cls_VideoFile_handler::Turn_Into(gdi::Picture_surface& box) {
    // Only where the box shows the turned picture pixel for pixel from its top-left corner.
    if (!Covers_Box(box)) return false;
    const uint8_t* bits = frame_image_.DIBSectionBitsPtr();
    const int32_t w = frame_image_.Width(), h = frame_image_.Height();
    const int16_t mode = interlaced_ ? pending_field_mode_ : 0;
    gdi::Device_context* dc = box.hDC();
    dc->Defer_Cover([bits, w, h, mode](const gdi::Rows_target& lines) {
        if (lines.pixel_bytes == 4) return graphics::Rotate90_Wide(bits, lines.first, lines.step, w, h, mode);
        // A bitmap's lines: bottom-up, the turn's own layout.
        Turn_Frame(bits, lines.Line(lines.height - 1), w, h, mode);
    });
    shown_deferral_ = dc->Deferred();
    return true;
}

bool cls_VideoFile_handler::Covers_Box(gdi::Picture_surface& box) {
    gdi::Device_context* dc = box.hDC();
    const gdi::Bitmap* surface = dc ? dc->Surface_For_Size() : nullptr;
    const int32_t w = frame_image_.Width(), h = frame_image_.Height();
    if (!surface || w <= 0 || h <= 0) return false;
    const int32_t box_w = vb::CLng(box.ScaleWidth()), box_h = vb::CLng(box.ScaleHeight());
    if (rotated_) return surface->Width() == h && surface->Height() == w && box_w == h && box_h == w;
    // A field scaled to the box (or shown at its size in a box of none) reaches every pixel it covers.
    if (!interlaced_) return false;
    const bool sized = box_w != 0 || box_h != 0;
    return (sized ? box_w : w) >= surface->Width() && (sized ? box_h : h) >= surface->Height();
}

void cls_VideoFile_handler::Settle_Shown() {
    if (const auto shown = shown_deferral_.lock()) shown->Settle();
    shown_deferral_.reset();
}

void cls_VideoFile_handler::Make_Rotated() {
    Size_Rotated_Image(frame_image_);
    Turn_Frame(frame_image_.DIBSectionBitsPtr(), rotated_image_.DIBSectionBitsPtr(), frame_image_.Width(),
               frame_image_.Height(), interlaced_ ? pending_field_mode_ : 0);
}

void cls_VideoFile_handler::Make_Pending_Pictures() {
    Settle_Shown();
    if (field_pending_) Make_Field();
    if (rotated_pending_) Make_Rotated();
}

cDIBSection& cls_VideoFile_handler::Rotated_Image() {
    if (rotated_pending_) Make_Rotated();
    return rotated_image_;
}

gdi::Device_context* cls_VideoFile_handler::Rotated_HDC() { return Rotated_Image().hDC(); }

void cls_VideoFile_handler::Paint_Field_Of_Frame(gdi::Picture_surface& box) {
    gdi::Device_context* dc = box.hDC();
    if (!dc || !dc->Surface_For_Size()) return;
    const int32_t w = frame_image_.Width(), h = frame_image_.Height();
    int32_t dw = vb::CLng(box.ScaleWidth()), dh = vb::CLng(box.ScaleHeight());
    if (dw == 0 && dh == 0) {
        dw = w;
        dh = h;
    }
    const uint8_t* bits = frame_image_.DIBSectionBitsPtr();
    const int64_t stride = frame_image_.BytesPerScanLine();
    const int16_t mode = pending_field_mode_;
    const auto field = [bits, stride, w, h, dw, dh, mode](const gdi::Rows_target& lines) {
        const auto row = [&](int32_t top) { return bits + (h - 1 - top) * stride; };
        gdi::Stretch_Row_Pairs(
            lines, 0, 0, dw, dh, w, h,
            [&](int32_t top) {
                const graphics::Field_rows rows = graphics::Field_Source_Rows(top, h, mode);
                return gdi::Row_pair{row(rows.above), row(rows.below)};
            },
            0, 0, w, h);
    };
    if (!Covers_Box(box)) {
        // Part of the box keeps what it shows: drawn over it now.
        gdi::Bitmap* surface = dc->Surface();
        if (surface && dw > 0 && dh > 0) {
            field(gdi::Rows_Of(*surface));
            dc->Drawn();
        }
        return;
    }
    dc->Defer_Cover(field);
    shown_deferral_ = dc->Deferred();
}

void cls_VideoFile_handler::Make_Field() {
    if (field_image_.Width() != frame_image_.Width() || field_image_.Height() != frame_image_.Height())
        field_image_.Create(frame_image_.Width(), frame_image_.Height());
    if (interlaced_) {
        graphics::deinterlaceFrame2(frame_image_.DIBSectionBitsPtr(), field_image_.DIBSectionBitsPtr(),
                                    vb::To_Int16(field_image_.Width()), vb::To_Int16(field_image_.Height()),
                                    pending_field_mode_);
    } else {
        // A progressive frame has no fields: both of its numbers show the whole picture.
        std::memcpy(field_image_.DIBSectionBitsPtr(), frame_image_.DIBSectionBitsPtr(),
                    static_cast<size_t>(field_image_.BytesPerScanLine()) * static_cast<size_t>(field_image_.Height()));
    }
    field_pending_ = false;
}

cDIBSection& cls_VideoFile_handler::Field_Image() {
    if (field_pending_) Make_Field();
    return field_image_;
}

gdi::Device_context* cls_VideoFile_handler::DEint_HDC() { return Field_Image().hDC(); }

cDIBSection& cls_VideoFile_handler::Shown_Image() { return rotated_ ? Rotated_Image() : Field_Image(); }

void cls_VideoFile_handler::Size_Rotated_Image(const cDIBSection& picture) {
    rotated_pending_ = false;  // the turned picture is written now
    // Any width turns: the turn goes by the pictures' sizes, not by their byte counts.
    if (rotated_image_.Width() != picture.Height() || rotated_image_.Height() != picture.Width())
        rotated_image_.Create(picture.Height(), picture.Width());
}

void cls_VideoFile_handler::Paint_Whole(cDIBSection& picture, gdi::Picture_surface& box) {
    picture.DIB_DrawDib2(box, 0, 0, vb::To_Int16(picture.Width()), vb::To_Int16(picture.Height()));
}

void cls_VideoFile_handler::Paint(cDIBSection& picture, gdi::Picture_surface& box) {
    if (!rotated_) return Paint_Whole(picture, box);
    Size_Rotated_Image(picture);
    graphics::Rotate90(picture.DIBSectionBitsPtr(), rotated_image_.DIBSectionBitsPtr(), picture.Width(),
                       picture.Height(), 0);
    Paint_Whole(rotated_image_, box);
}

void cls_VideoFile_handler::Draw_Current_Field(gdi::Picture_surface& box) { Paint(Field_Image(), box); }

void cls_VideoFile_handler::Draw_Current_RGB_frame(gdi::Picture_surface& box) {
    Paint(frame_image_, box);
    box.Refresh();
}

void cls_VideoFile_handler::Draw_RGB_frame(int32_t frame, gdi::Picture_surface& box) {
    Read_RGB_sample(frame, true);
    Draw_Current_RGB_frame(box);
    field_time_ = Frames_Span(int64_t{current_frame_} - 1);
}

int32_t cls_VideoFile_handler::Get_Field_Pixel(int16_t x, int16_t y) {
    // A field not made yet answers from its frame, as its picture would: a pixel read costs no whole picture.
    if ((field_pending_ && !rotated_) || rotated_pending_) {
        const int32_t w = frame_image_.Width(), h = frame_image_.Height();
        // The turned picture's column x is the frame's row h - 1 - x, its row y the frame's column y.
        const int32_t column = rotated_ ? y : x, top = rotated_ ? h - 1 - x : y;
        if (column < 0 || column >= w || top < 0 || top >= h) return static_cast<int32_t>(gdi::CLR_INVALID);
        const graphics::Field_rows rows =
            interlaced_ ? graphics::Field_Source_Rows(top, h, pending_field_mode_) : graphics::Field_rows{top, top};
        // A colour's first three bytes are red, green and blue (little-endian), each the mean of its two.
        const gdi::COLORREF a = gdi::GetPixel(frame_image_.hDC(), column, rows.above);
        const gdi::COLORREF b = gdi::GetPixel(frame_image_.hDC(), column, rows.below);
        gdi::COLORREF mean = 0;
        graphics::Average_Rows(reinterpret_cast<const uint8_t*>(&a), reinterpret_cast<const uint8_t*>(&b),
                               reinterpret_cast<uint8_t*>(&mean), 3);
        return static_cast<int32_t>(mean);
    }
    return static_cast<int32_t>(gdi::GetPixel(Shown_Image().hDC(), x, y));
}

void cls_VideoFile_handler::Let_Field_Pixel(int16_t x, int16_t y, int32_t colour) {
    gdi::SetPixel(Shown_Image().hDC(), x, y, static_cast<gdi::COLORREF>(colour));
}

void cls_VideoFile_handler::Set_Field_Pixel(int32_t x, int32_t y, int32_t colour) {
    gdi::SetPixel(Shown_Image().hDC(), x, y, static_cast<gdi::COLORREF>(colour));
}

int32_t cls_VideoFile_handler::Effective_time() const { return field_time_; }

std::string cls_VideoFile_handler::Formatted_Time() const { return vb::Format(Effective_time() / 1000.0, "#0.00"); }

void cls_VideoFile_handler::Set_RGB_interlaced(bool value) { Header().RGB_interlaced(value); }

// ---- the property report ----

std::string cls_VideoFile_handler::KD3_Properties() {
    Cls_XML_header& h = Header();
    int64_t length = fs::File_Size(m_File_Name);
    int32_t frames = h.Frames_no();
    int64_t pixels = int64_t{width_} * height_;
    // A file without frames (or without a picture size) reports averages of 0 rather than failing.
    int64_t average = frames > 0 ? length / frames : 0;
    double ratio = frames > 0 && pixels > 0
                       ? vb::Int(static_cast<double>(length) / frames / static_cast<double>(pixels * 3) * 100)
                       : 0;
    bool rotated = h.RGB_Rotated();
    std::string dimensions = rotated ? std::to_string(height_) + "*" + std::to_string(width_) + " Rotated"
                                     : std::to_string(width_) + "*" + std::to_string(height_);
    const std::string lines[] = {
        "File size: " + vb::CStr(vb::Round(static_cast<double>(length) / 1048576, 1)) + " MB",
        "Average frame size : " + std::to_string(average / 1024) + " kB",
        "Average compression ratio : " + vb::CStr(static_cast<double>(static_cast<float>(ratio))) + "%",
        "Frames : " + std::to_string(frames),
        "Segments : " + std::to_string(h.Segments_no()),
        std::string("Rotated : ") + (rotated ? "True" : "False"),
        "Dimensions : " + dimensions,
        "Fourcc : " + fourcc_,
        "Codec : " + codec_,
        "Base Quality : " + std::to_string(file_quality_),
        "Reduced Quality instances : " + std::to_string(h.JPG_Reduced_Qual_num()),
        "JPG Threshold : " + h.RGB_Max_Seen_size() + "/" + h.RGB_Comp_Threshold(),
        "Max JPG : " + std::to_string(h.RGB_Compressed_max_Size()),
        "Min JPG : " + std::to_string(h.RGB_Compressed_min_Size()),
        "Measured fps : " + h.RGB_fps(),
        std::string("Interlaced : ") + (h.RGB_interlaced() ? "True" : "False"),
        "Capture Computer : " + h.Comp_Name(),
        "Phidget serial : " + h.Phidget_serial(),
        "Comment : " + h.comment(1),
    };
    std::string report;
    for (const std::string& line : lines) report += (report.empty() ? "" : "\r\n") + line;
    return report;
}

// ---- closing ----

void cls_VideoFile_handler::Header_Work_At_Close() {
    // The records reach the disk before a header that counts them does.
    file_.Sync();
    Cls_XML_header& h = Header();
    h.Frames_no(vb::To_Int32(int64_t{h.Frames_no()} + m_RGB_frames_appended));
    if (measured_record_length_ > 0) h.RGB_Sample_Size(vb::To_Int32(measured_record_length_));
    int32_t segments = vb::To_Int32(int64_t{h.Segments_no()} + 1);
    h.Segments_no(segments);
    segment_counter_ = segments;
    // The sizes the console gave for this segment, or else those the store saw itself.
    int32_t largest = sizes_given_ ? given_largest_ : seen_largest_;
    int32_t smallest = sizes_given_ ? given_smallest_ : seen_smallest_;
    if (largest > h.RGB_Compressed_max_Size()) h.RGB_Compressed_max_Size(largest);
    if (smallest < h.RGB_Compressed_min_Size()) h.RGB_Compressed_min_Size(smallest);
    Write_KD3_header();
}

void cls_VideoFile_handler::Close_File() {
    if (!File_open()) return;
    m_file_suffix = Non_dependant::File_Suffix(m_File_Name);
    std::exception_ptr failure;
    if (m_file_suffix == "kd3") {
        mTrace::Trace("*Close File kd3, m_RGB_frames_appended = ", m_RGB_frames_appended);
        if (m_RGB_frames_appended > 0) {
            try {
                Header_Work_At_Close();
            } catch (...) {
                failure = std::current_exception();
            }
        }
    } else if (m_file_suffix == "kd1" || m_file_suffix == "kd2") {
        try {
            Older_Header_Work_At_Close();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    // Whatever happened above, the file is closed and nothing of this segment reaches the next one.
    file_.Close();
    Reset_Open_State();
    if (failure) Report_Or_Rethrow(failure, Location("Close_file"));
}

void cls_VideoFile_handler::Reset_Open_State() {
    Heat_writers::Forget(this);
    older_.reset();
    drawing_.reset();
    header_in_file_ = true;
    bottom_field_first_ = false;
    m_file_suffix.clear();
    video_codec_.assign(1, '0');
    width_ = height_ = 0;
    interlaced_ = rotated_ = false;
    Forget_Heat_Start();
    field_pending_ = rotated_pending_ = false;
    fourcc_.clear();
    codec_.clear();
    record_length_ = 0;
    buffer_size_ = 0;
    frame_count_ = field_count_ = 0;
    missing_frames_ = 0;
    journal_record_.reset();
    mill_per_frame_ = 0;
    file_quality_ = 0;
    cached_record_ = 0;
    cached_decoded_ = false;
    stream_table_ = {};
    append_position_ = 0;
    m_RGB_frames_appended = 0;
    measured_record_length_ = 0;
    segment_refused_ = false;
    sizes_given_ = false;
    given_smallest_ = given_largest_ = 0;
    seen_smallest_ = seen_largest_ = 0;
    drive_text_.clear();
    drive_type_ = 0;
    Clear_Bitmap_Collection();
    copy_held_ = false;
    memory_copy_.clear();
}

// ---- review ----

bool cls_VideoFile_handler::is_Vantorel() { return header_readable_ && Header().is_Vantorel(); }
