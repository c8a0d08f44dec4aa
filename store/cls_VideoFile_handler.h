#pragma once
// The capture file store: one object stands for one capture file at a time. It creates kd3 files,
// appends frame records during a capture segment, keeps the file's header document in step with the
// header record, and reads frames back into its frame image. Files of the older kinds (dv, sdv, kd1,
// kd2) are opened, read and drawn the same way, and kd1 and kd2 files take appended DV frames; AVI
// files are read and drawn by the same members once the store holds one, which Open_File never opens.
//
// What it guarantees beyond reading and writing:
// - the JPEG buffer length N and the record length S belong to the open file (taken from its header),
//   never to whatever heat the object served before;
// - a JPEG larger than the buffer is refused and counted, never written past the buffer;
// - a segment that cannot be written (no file, no buffer size, a read-only file) is refused once;
// - a header text that does not fit the header record is refused and the file keeps its header;
// - a close that fails still closes the file and resets the object, then reports;
// - a record that is missing or cut short reads as "frame unavailable" with no time;
// - frames written before a crash are counted again when the file is opened; frames the header counts
//   but the file does not hold are not offered, and how many are missing is logged;
// - a header rewrite is journalled beside the heat: one cut short is rolled back at the next opening;
// - a file that can be read but not written opens for reading;
// - the record length is the file's own (its first record's) where the header's disagrees with the file;
// - no size read from a file is allocated beyond what a picture of the header's frame size can need;
// - a segment that the disk refuses (full, a size limit, an I/O error) is reported once, its half record
//   cut off, its lost frames counted, and the header counts the whole records on disk.
// - every length, count and offset an older file gives is checked against the file before it is used,
//   and a frame that cannot be read or decoded reads as "frame unavailable", never as another frame.
#include "Binary_file.h"
#include "Header_journal.h"
#include "Kd3_format.h"
#include "Older_drawing_state.h"
#include "Older_kind_state.h"
#include "clsAVIInfo.h"
#include "header/Cls_XML_header.h"
#include "imaging/cDIBSection.h"

#include "platform/gdi/Gdi_draw.h"
#include "platform/gdi/Picture_surface.h"
#include "platform/vb/VbError.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Tests reach the readers of the kinds that Open_File does not open (avi) through it.
struct Store_file_seam;

class cls_VideoFile_handler {
public:
    cls_VideoFile_handler();
    ~cls_VideoFile_handler();
    cls_VideoFile_handler(const cls_VideoFile_handler&) = delete;
    cls_VideoFile_handler& operator=(const cls_VideoFile_handler&) = delete;

    // ---- file identity ----
    std::string File_name() const { return m_File_Name; }
    // Keeps the path and its kind; opens and closes nothing.
    void File_name(const std::string& path);
    int16_t File_num() const { return file_.Number(); }
    bool File_open() const { return file_.Is_Open(); }
    bool File_Initiated() const { return false; }
    std::string Current_File_Suffix() const { return m_file_suffix; }
    bool Has_XML_header();
    bool Read_only() const { return m_Read_only; }
    // Why the open heat's header may not be written now (another store records it, or wrote it since
    // this one read it); "" when it may.
    std::string Header_Write_Refusal() const;
    void Read_only(bool value) { m_Read_only = value; }
    bool NTSC() const { return older_ && older_->ntsc; }
    int16_t Width() const { return width_; }
    int16_t Height() const { return height_; }
    std::string Hash_atype() const { return {}; }
    int32_t JUNK_pos() const { return older_ ? static_cast<int32_t>(older_->junk_pos) : 0; }
    std::string video_codec() const { return video_codec_; }
    // Size of the named file; 6 at 2 GiB and above.
    int32_t File_size() const;

    // ---- creating and writing a kd3 file ----
    // Opens the named file as a new, empty file. A failure shows "File error! Check capture folder! "
    // and leaves File_num 0.
    void Create_File();
    // Create_File for a file that must not exist yet: false, with nothing said and no file open, when
    // the name is taken, so a recording under it is never cut; otherwise File_num tells as it does there.
    bool Create_New_File();
    void Cropped_X(int32_t value) { cropped_x_ = value; }
    void Cropped_Y(int32_t value);
    void Initial_Quality(int16_t value) { initial_quality_ = value; }
    void RGB_interlaced(bool value) { next_interlaced_ = value; }
    bool RGB_interlaced();
    void RGB_Rotated(bool value) { next_rotated_ = value; }
    bool RGB_Rotated();
    // A fresh header document for a new file, written into its header record; the file is closed after.
    void Create_KD3_header();
    // The header record rewritten from the document, the append position untouched. Raises when the
    // file is read-only, when the document holds no header, or when its text does not fit the record.
    void Write_KD3_header();
    // Loads the header record of the open file into the document.
    void Read_KD3_Headers();
    // Stamps the document and writes it into the file (opening a closed kd3 file, which stays open).
    // False when the write failed and the error was reported; a store without a header has nothing to
    // write and answers true.
    bool Write_XML_Header();
    std::string Get_DOM_string();
    void Dump_XML_Header(const std::string& path);
    std::string XML_Header_string();
    void XML_Header_string(const std::string& text);

    // ---- appending (capture segments) ----
    // Fixes the JPEG buffer length N of the open file's records.
    void Set_JPG_Maxsize(int32_t size);
    int32_t RGB_Compressed_buffer_Size();
    std::string RGB_Comp_Threshold();
    void RGB_Comp_Threshold(const std::string& value);
    std::string RGB_Max_Seen_size();
    void RGB_Max_Seen_size(const std::string& value);
    void Measured_fps(int16_t value);
    int16_t Measured_fps();
    void RGB_fourcc(const std::string& value);
    std::string Last_Capture_time();
    void Last_Capture_time(const std::string& value);
    // The next write goes after the last whole record of the file.
    void Position_at_End();
    void Append_Compressed_RGB_Frame(int32_t capture_local, int32_t capture_mill, int32_t capture_delta,
                                     int16_t quality, int32_t jpeg_size, const uint8_t* jpeg, int32_t hdmi_events);
    // Frames refused since the object was made: larger than the buffer, lost to a write the disk refused,
    // or while a segment was refused.
    int32_t Refused_Frames() const { return refused_frames_; }
    // The largest picture side a capture file may give, and the largest record buffer for the open file's
    // frame size (the longest JPEG of that size with room for marker segments).
    static constexpr int32_t Max_Picture_Side = 4096;
    int64_t Max_Buffer_Size() const;

    // ---- capture statistics ----
    void JPG_Sizes(int32_t smallest, int32_t largest);
    int32_t Largest_JPG();
    int32_t Smallest_JPG();
    void Add_Segment_num();
    int32_t Current_Segments_num() const { return segment_counter_; }
    int32_t Segments_Num();
    void Add_Reduced_Quality_num(int16_t count);
    std::string DIB_sizes() const;

    // ---- opening and reading ----
    // Opens a capture file by its suffix, written in lower case: kd3, dv, sdv, kd1 or kd2; true when a
    // file is open after it. "avi", and an accepted suffix in another case, open nothing: false, no message.
    bool Open_File(const std::string& file_name, int32_t ignored = 0);
    // Moves the file within its folder to `new_filename` and opens it there. A name that is taken shows
    // "New file already exists!" and changes nothing (false).
    bool rename_file(const std::string& new_filename);
    // Where the open put the file: the first two characters of its path, and the kind of drive holding
    // it (fs::Drive_Kind; 5 a CD-ROM drive).
    const std::string& Drive_text() const { return drive_text_; }
    int32_t DriveType() const { return drive_type_; }
    // Opens the named kd3 file; errors go to the common error report.
    void Open_RGB_File();
    // Reads record `frame` into the read record and, with `decode`, its picture into the frame image.
    void Read_RGB_sample(int32_t frame, bool decode);
    // 1-based file position of record `frame`.
    int64_t RGB_video_adress(int32_t frame) const;
    // Whether the record read last was there whole; when not, the per-frame values are 0.
    bool Frame_available() const { return frame_available_; }
    int32_t Num_Frames() const { return frame_count_; }
    // Frames the header counts that the open file does not hold (a file cut short).
    int32_t Missing_Frames() const { return missing_frames_; }
    int32_t KD3_Num_Frames();
    int32_t Num_fields() const { return field_count_; }
    int32_t KD3_Num_fields();
    int16_t mill_per_frame() const;
    int32_t mill_per_field() const { return mill_per_field_; }
    int32_t Capture_mill_time() const { return older_ ? older_->capture_time : 0; }
    int32_t KD3_Capture_mill() const { return read_.capture_mill; }
    int32_t KD3_Capture_local() const { return read_.capture_local; }
    int16_t KD3_Capture_Delta() const;
    int32_t KD3_JPEG_Size() const { return read_.jpeg_size; }
    int16_t KD3_Compression_Quality() const;
    int32_t Capture_HDMI_events() const { return read_.hdmi_events; }
    int32_t Current_Frame() const { return current_frame_; }
    int32_t Rounded_Capture_Time() const { return rounded_capture_time_; }
    int16_t File_JPEG_Quality() const { return file_quality_; }
    // The decoded frame; "obj_DIB_Deint_source 1". The field left for a box's paint is drawn first: the
    // caller may change the frame.
    cDIBSection& Frame_Image() {
        Settle_Shown();
        return frame_image_;
    }

    // ---- fields and display ----
    // Field `field` (from 1; fields 2k - 1 and 2k are frame k) extracted, turned when the file was
    // captured rotated, and painted into `box`.
    void Draw_RGB_Field(int32_t field, gdi::Picture_surface& box);
    // The same field made the one shown without drawing it: its pixels are read from its frame
    // (Get_Field_Pixel), its pictures made when asked for.
    void Read_RGB_Field(int32_t field);
    void Draw_Current_Field(gdi::Picture_surface& box);
    void Draw_Current_RGB_frame(gdi::Picture_surface& box);
    void Draw_RGB_frame(int32_t frame, gdi::Picture_surface& box);
    // A pixel of the picture shown (the rotated image for a rotated file), (0, 0) at its top left;
    // Windows colour values. Outside the picture: CLR_INVALID, and nothing is set.
    int32_t Get_Field_Pixel(int16_t x, int16_t y);
    void Let_Field_Pixel(int16_t x, int16_t y, int32_t colour);
    void Set_Field_Pixel(int32_t x, int32_t y, int32_t colour);
    gdi::Device_context* DEint_HDC();
    gdi::Device_context* Rotated_HDC();
    cDIBSection& Field_Image();
    cDIBSection& Rotated_Image();
    // 1 when the field drawn last was the first of its frame, 2 for the second.
    int16_t Field_To_Show() const { return static_cast<int16_t>(field_to_show_); }
    int16_t KD3_Displayed_Field() const { return static_cast<int16_t>(field_to_show_); }
    int32_t KD3_Displayed_Frame() const { return displayed_frame_; }
    int32_t Current_Field() const { return current_field_; }
    // Milliseconds of the field drawn last from the first field of the file.
    int32_t Effective_time() const;
    std::string Formatted_Time() const;
    // Writes the header's interlace flag directly.
    void Set_RGB_interlaced(bool value);
    // Kept for the older kinds' drawing; kd3 drawing does not need a screen context.
    void Set_Screen_HDC(gdi::Device_context* dc) { screen_dc_ = dc; }
    gdi::Device_context* Screen_DC() const { return screen_dc_; }
    gdi::HDRAWDIB DrawDib_Handle() const { return draw_dib_; }
    // Called when a decoded frame's size differed from the field image's (the event MismatchSize).
    std::function<void()> MismatchSize;

    // ---- the property report ----
    std::string KD3_Properties();

    // ---- header facade: file, computer and program data ----
    std::string Creation_date();
    void Creation_date(const std::string& value);
    std::string Computer_name();
    std::string Computer_CPUInfo();
    std::string OS_version();
    std::string OS_bitness();
    std::string CPU_bitness();
    std::string Capture_Info();
    void Capture_Info(const std::string& value);
    std::string Phidget_serial();
    std::string Program_ID();
    std::string Program_Major();
    std::string Program_Minor();
    std::string Program_Revision();
    std::string comment(int16_t number);
    void comment(int16_t number, const std::string& value);
    std::string File_comment1();
    void File_comment1(const std::string& value);
    std::string Subject_name();
    void Subject_name(const std::string& value);
    std::string SpecApp();
    void SpecApp(const std::string& value);
    std::string Camera_ID(int16_t stream);
    void Camera_ID(int16_t stream, const std::string& value);
    // Stream 1 of the stream table, which only Read_Stream_Info fills: opening a kd3 file does not.
    bool rotated() const { return m_file_suffix != "avi" && stream_table_[0].rotated; }
    void rotated(bool value);  // writes the file
    bool Stream_rotated(int16_t stream);
    void Stream_rotated(int16_t stream, bool value);  // writes the file
    // The streams are found by camera position in the older kinds' stream table, empty for kd3 files.
    void Set_stream_active(int16_t pos, bool active);
    bool pos_Active(int16_t pos);
    int16_t Active_Streams();
    int16_t Camera_pos(int16_t stream);
    void Camera_pos(int16_t stream, int16_t value);
    // Whether a camera films from position `pos` (1 to 6; else error 9), as Set_Multi_Stream_Size found.
    int16_t Pos_In_File(int16_t pos) const;
    int16_t Num_Video_streams() const { return older_ ? older_->streams : 0; }
    void Owner(const std::string& value) { owner_ = value; }
    void Player_index(int16_t value) { player_index_ = value; }
    int16_t p_index() const { return player_index_; }
    bool Show_goalline();
    void Show_goalline(bool value);

    // ---- header facade: course, heats and lane results (lanes 0 to 16) ----
    int16_t Lane_count();
    void Lane_count(int16_t value);  // writes the file
    void Num_Lanes(int16_t value);
    int16_t Start_lane();
    bool Start_Lane_Zero();
    void Start_Lane_Zero(bool value);
    void File_Lane_Pos(int16_t lane, int32_t x, int32_t y);
    int16_t LaneX(int16_t lane);
    int16_t LaneY(int16_t lane);
    bool Lanes_Visible();
    void Lanes_Visible(bool value);
    bool Lanes_flipped();
    void Lanes_flipped(bool value);
    bool Lanes_reversed();
    void Lanes_reversed(bool value);
    bool Lanes_locked();
    void Lanes_locked(bool value);  // writes the file
    int16_t flip() const { return flip_; }
    void flip(int16_t value) { flip_ = value; }
    void Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2);
    void Set_Goal_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Fix_Goal_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);  // writes the file
    std::string Event_name();
    void Event_name(const std::string& value);  // writes the file
    std::string Heat_ID(int16_t heat);  // one blank reads as ""
    void Heat_ID(int16_t heat, const std::string& value);
    void Update_Heat_ID(int16_t heat, const std::string& value);  // writes the file
    std::string Heat_comment(int16_t heat);
    void Heat_comment(int16_t heat, const std::string& value);
    void Start_local_mill(int16_t heat, int32_t value);
    int32_t Start_local_Mill_Time(int16_t heat);  // 0 without a file name
    void Start_PC_mill(int16_t heat, int32_t value);
    void Start_PC_Mill_time(int16_t heat, int32_t value);
    int32_t Start_PC_Mill_time(int16_t heat);  // 0 without a file name
    int32_t RGB_startmill();
    void Start_HDMI_events(int16_t heat, int32_t value);
    int32_t Start_HDMI_events(int16_t heat);  // 0 on any failure
    int32_t Heat_Start_Correction(int16_t heat);
    void Heat_Start_Correction(int16_t heat, int32_t value);  // writes the file
    void Set_Multi_Start(int16_t heat);                        // writes the file
    void Clear_Multi_Start(int16_t heat);                      // writes the file
    void Clear_Heats();
    int32_t Old_HeatStart() const { return older_ ? older_->extra.Old_HeatStart() : 0; }
    void xSet_Time(int32_t, int32_t) {}
    void Heat_result(int16_t heat, int16_t lane, int32_t value);
    int32_t Heat_result(int16_t heat, int16_t lane);
    void Heat_time(int16_t heat, int16_t lane, int32_t value);
    int32_t Heat_time(int16_t heat, int16_t lane);  // 0 without a file name
    void Heat_Clicktime(int16_t heat, int16_t lane, int32_t value);
    int32_t Heat_Clicktime(int16_t heat, int16_t lane);
    void Heat_Goalfield(int16_t heat, int16_t lane, int32_t value);
    int32_t Heat_Goalfield(int16_t heat, int16_t lane);
    std::string Hdr_spare1();
    void Hdr_spare1(const std::string& value);
    int16_t xField_To_Show() const { return Field_To_Show(); }

    // ---- header facade: dog races, golf grading, marathon classes, frame selection ----
    // No header this program writes holds these sections: there the members fail with 91 or give
    // their defaults. The Gets marked "trapped" report in the built program and answer 0 or "".
    void Zelv_event(const std::string& value);
    std::string Zelv_event();
    void Zelv_Heat_ID(const std::string& value);
    std::string Zelv_Heat_ID();
    void Zelv_Heat_Name(const std::string& value);
    std::string Zelv_Heat_Name();
    void Zelv_Heat_Length(const std::string& value);
    std::string Zelv_Heat_Length();
    void Zelv_Goal_Finish(const std::string& value);
    std::string Zelv_Goal_Finish();
    void Zelv_Goal_Split(const std::string& value);
    std::string Zelv_Goal_Split();
    void Zelv_start_DateTime(const std::string& value);
    std::string Zelv_start_DateTime();
    void Zelv_start_PC_mill(int32_t value);
    int32_t Zelv_start_PC_mill();  // trapped
    void Zelv_Goal_compensation(const std::string& value);
    std::string Zelv_Goal_compensation();
    void Zelv_Split_compensation(const std::string& value);
    std::string Zelv_Split_compensation();
    void Zelv_box_delay(const std::string& value);
    std::string Zelv_box_delay();
    void Zelv_split_firewire_ID(const std::string& value);
    void Zelv_goal_firewire_ID(const std::string& value);
    // The dog-race serial number; the Get above reads the control box's, another element.
    void Phidget_serial(const std::string& value);
    // The camera number in the extra data of the DV frame read last; 0 when none was read.
    int16_t Zelv_Camera() const { return older_ ? older_->extra.Camera() : 0; }
    void Zelv_Dog_name(int16_t box, const std::string& value);
    std::string Zelv_Dog_name(int16_t box);
    void Zelv_Heat_time(int16_t box, bool split, int32_t value);
    int32_t Zelv_Heat_time(int16_t box, bool split);  // trapped
    void Zelv_Heat_Click_Time(int16_t box, int32_t value);
    int32_t Zelv_Heat_Click_Time(int16_t box);
    void Zelv_heat_frame(int16_t box, int16_t value);
    int16_t Zelv_heat_frame(int16_t box);  // trapped
    void Zelv_split_frame(int16_t box, int16_t value);
    int16_t Zelv_split_frame(int16_t box);
    void Zelv_dead_heat(int16_t box, bool value);
    bool Zelv_dead_heat(int16_t box);
    void Graded_active(bool value);
    bool Graded_active();
    void Graded_at(const std::string& value);
    std::string Graded_at();
    void Grade_slice(const std::string& value);
    std::string Grade_slice();
    void Grade_direction(const std::string& value);
    std::string Grade_direction();
    void Grade_top(const std::string& value);
    std::string Grade_top();
    void Grade_toe(const std::string& value);
    std::string Grade_toe();
    void Grade_club(const std::string& value);
    std::string Grade_club();
    void Grade_comment(const std::string& value);
    std::string Grade_comment();
    // The first argument is not used.
    void Update_Player_Comment(int16_t player, const std::string& comment);  // writes the file
    std::string Player_Comment();
    void Vantorel_Marathon_Class_Name(int16_t class_number, const std::string& value);
    std::string Vantorel_Marathon_Class_Name(int16_t class_number);
    void Vantorel_Marathon_Class_Start(int16_t class_number, const std::string& value);
    std::string Vantorel_Marathon_Class_Start(int16_t class_number);
    // Stream 1's selected range. An "sdv" file keeps it in its DV file header record, rewritten at once.
    void Selection_start(int32_t value);
    int32_t Selection_start();  // 0 when missing or not a number, and for kinds without a header
    void Selection_end(int32_t value);
    int32_t Selection_end();
    // Values of the older kinds' display and of the buffered capture path, neither built here.
    int16_t SelRect_top() const { return 0; }
    int16_t SelRect_left() const { return 0; }
    int16_t SelRect_right() const { return 0; }
    int16_t SelRect_bottom() const { return 0; }
    int16_t SelRect_width() const { return 0; }
    int16_t Selrect_Height() const { return 0; }
    // The buffer size N the last Calculate_Compressed_Size gave; 0 after a new file was initiated.
    int32_t Rounded_Compressed_Size() const { return rounded_compressed_size_; }
    int16_t impact_pos() const { return 0; }
    int16_t model_Frame() const { return 0; }
    int16_t Weight_percent() const { return 0; }
    bool is_Start_Cam() const { return false; }
    int16_t AVI_length_Seconds() const { return 0; }
    int32_t xTime_stamp() const { return 0; }

    // ---- golf swing analysis ----
    bool has_selrect() const { return false; }
    void Stream_Offset(int16_t stream, int16_t offset);  // streams 1 to 3 only
    int16_t Stream_Offset(int16_t stream);
    int16_t Impact_Time() const;
    int16_t Model_frame_at_Impact() const { return 0; }
    std::string Model_FileName();
    // The impact at the field (DV kinds) or frame (AVI) drawn last, or at a given field; the top
    // of the swing at a given field. Each then writes the header.
    void Set_This_Impact_Frame();
    void Set_Specific_Impact_Field(int16_t field);
    void Set_Specific_Top_Frame(int16_t field);
    int16_t Impact_field();
    int16_t Top_field();
    void Must_print(const std::string& value);
    std::string Must_print();
    int32_t Club_Speed() const { return 0; }
    // The trimmed range: an avi file starts at 1, an sdv file where its selection starts.
    int16_t Trimmed_Start() const;
    int16_t Trimmed_End() const { return 0; }
    // Stream 1's selection from the field drawn last, or cleared; each writes the header.
    void Set_Start_frame();
    void Set_End_frame();
    void Clear_Start_Frame();
    void Clear_End_Frame();
    void Set_Frames_no(int32_t frames);  // writes the file
    void Calculate_Number_of_Fields();
    // Forgets the frame held, so that the next read or draw takes it from the file again.
    void Clear_in_Store();
    void Set_Selrect_stream1(int16_t bottom, int16_t left, int16_t right, int16_t top);  // writes the file
    void Save_Graph_object(int16_t number, const Cls_XML_header::Graph_Values& values);
    void Load_Graph_object(int16_t number, Cls_XML_header::Graph_Values& values);
    void anp_line(int16_t line, const std::string& value);
    std::string anp_line(int16_t line);
    void anp_file_lines(int16_t value);
    int16_t anp_file_lines();
    void anp_filename(const std::string& value);
    std::string anp_filename();

    // ---- the older append path: frames kept in memory, compressed by the store ----
    // A frame kept by a capture that does not compress as frames arrive; the picture carries its
    // capture tick and local time.
    struct Buffered_Frame {
        cDIBSection* picture = nullptr;
        int32_t capture_delta = 0;
    };
    // N from three sample frames (the last but one, the middle one, the second): the largest JPEG at
    // the initial quality plus 4501 to 5500 bytes, in thousands; written into the header. Error 9 for a
    // collection of fewer than two frames.
    int32_t Calculate_Compressed_Size(const std::vector<Buffered_Frame>& frames);
    // Frame `index` (from 1) of `frames` as JPEG in the work buffer, at `quality`; its size after.
    void Compress_Frame(int16_t index, int16_t quality, const std::vector<Buffered_Frame>& frames);
    int32_t Last_JPEG_Size() const { return last_jpeg_size_; }
    // Compresses frame `index` at falling quality until it fits N and appends it, opening the named
    // file at its end when none is open. A frame that does not fit even at quality 1 is refused.
    void Append_RGB_Frame(int16_t index, const std::vector<Buffered_Frame>& frames);

    // ---- the older display: software field extraction, bitmaps of every frame, playback times ----
    // Line doubling of one field: the target (the source's size) gets the source, then each row of the
    // other field replaced by its neighbour. Pictures of different sizes are refused with error 5.
    void Deinterlace_DIBS(cDIBSection& target, const cDIBSection& source, int16_t field);
    // Every frame decoded into a bitmap of its own. Refused (error 7, nothing kept) when the bitmaps
    // would take more than the whole-file bound.
    void Read_In_Bitmaps();
    const std::vector<std::unique_ptr<cDIBSection>>& Stored_Frames() const { return bitmaps_; }
    bool Frames_In_Memory() const { return bitmaps_read_in_; }
    cDIBSection& Rotation_Source() { return rotation_source_; }
    // Field image n or frame image n (1 to 3; 1 is the one drawn).
    cDIBSection& Deint_target(int16_t n);
    cDIBSection& Deint_source(int16_t n);
    int32_t Work_Buffer_Size() const { return static_cast<int32_t>(jpeg_work_.size()); }
    // Two luminances of colour triples that nothing sets.
    void calculate_luminance();
    int32_t Luminance(int16_t which) const { return which == 1 ? luminance_1_ : luminance_2_; }
    // Frames per second of an open dv, sdv, kd1 or kd2 file; 0 for kd3 and AVI files.
    int16_t Frame_Rate() const;
    int16_t Seconds();
    int16_t eff_frameno() const { return eff_frameno_; }
    int32_t xCurrent() const { return current_field_; }
    int32_t Current_net() const { return current_field_; }  // less a base field, which kd3 files have not
    // The time of the AVI frame read last, from the file's start (ms); 0 for the other kinds.
    float Player_Time() const { return older_ ? static_cast<float>(older_->player_time) : 0; }
    float Player_Effective_Time() const { return static_cast<float>(field_time_); }
    void Set_Base_time(bool) {}
    bool has_Base_Time() const { return false; }
    // The field at `time` ms from the first field of the file.
    int16_t Synch_time(float time);
    // The field at `percent` of the file.
    int32_t Synch_percentage(int16_t percent);
    // The frame `model_frame` after the video offset, kept within the file.
    int16_t Synch_model(int16_t model_frame);
    void Video_Offset(int16_t value) { video_offset_ = value; }
    int16_t Video_Offset() const { return video_offset_; }
    void set_Synchtype(int16_t value) { synch_type_ = value; }
    int16_t Synch_type() const { return synch_type_; }
    // How far into the file the AVI frame read last lies, in whole percent.
    int32_t Percentage() const { return older_ ? older_->percentage : 0; }
    void Tolerances(int16_t hue, int16_t saturation, int16_t luminance) { tolerances_ = {hue, saturation, luminance}; }
    void Golfing(bool value) { Header().Golfing(value); }

    // ---- whole-file reads and the events that report them ----
    // A whole-file read refuses a file larger than this many bytes: half of what the memory probe
    // says the computer can give now, unless a bound was set (0 goes back to the probe's).
    static int64_t Whole_File_Bound();
    static void Whole_File_Bound(int64_t bytes);
    // Copies the whole open file into memory. A file over the bound is refused with error 7 and
    // stays open for reading frame by frame.
    void Read_File_to_Memory();
    // Reads the open file once, block by block, so that the file cache holds it: Prereadpct after
    // each block, then -1. A file over the bound is not read (only the -1, and an event-log line).
    void Preread_File();
    // Reads and decodes every frame in turn, through the one read record.
    void Read_All_RGB_Frames();
    // Program-wide, off unless a caller turns it on: every Open_File then prereads the file it opened.
    static inline bool Preread_switch = false;
    // The next Open_File copies the whole file into memory.
    void Read_to_Memory(bool value) { copy_wanted_ = value; }
    bool Memory_copy_held() const { return copy_held_; }
    const std::vector<uint8_t>& Memory_copy() const { return memory_copy_; }
    std::function<void()> Appendpct;
    std::function<void()> AppendFinished;
    std::function<void(int16_t& percent)> Prereadpct;
    std::function<void()> StartPreread;
    std::function<void()> EndPreread;

    // ---- file identity from the file system, and members of the older kinds that do nothing ----
    // The file's dates as the system's date format gives them; 53 when the file is not there.
    std::string DateCreated() const;
    std::string DateLastModified() const;
    int16_t coord_x() const { return 0; }
    int16_t coord_y() const { return 0; }
    // The wide-screen flag of a DV kind's frame (frame 1 of stream 1 when none was read); false for
    // the other kinds.
    bool Wide_Screen();
    void Seek_end() {}
    void DIB_to_File(int32_t, int32_t, const std::string&) {}
    void xFix_starttime() {}
    void Compress_and_Write_RGB_frame() {}
    // The stream count of an open file of the older kinds, until the next open sets it from the file;
    // a count no layout can have (below 1, above the six camera positions) is ignored.
    void Force_num_Streams(int16_t value) {
        if (older_ && older_->kind != Older_kind_state::Kind::none && value >= 1 && value <= 6) older_->streams = value;
    }
    // A fresh header written into the named file, with no JPEG buffer fixed yet.
    void Initiate_KD3_File(const std::string& ignored);
    void Initiate_KDR_File();
    // A fresh default header in the document, written into the file.
    void ReCreate_XML_header();
    // Writes `text` as single bytes over the start of "dumpxml.xml" in the program folder.
    void Dump_XML_String(const std::string& text);
    // Compares the distance of the first two records in the file's first 400000 bytes with the
    // header's record length: "sample size missmatch!" when they differ. Error 62 when fewer than two
    // records start there.
    void Analyze_Sample_Length(const std::string& file_name);

    // ---- older reading members kept for the kd3 kind ----
    // The header record read into the document by the earlier reader: the record's text length is
    // checked against the record and the file before it is taken.
    void Read_RGB_Headers();
    // The rounded capture time of the record read last from heat 1's start, 20 ms later for a second
    // field; Multi_TimeStamp the same from the older heat start, which is never set.
    int32_t RGB_TimeStamp();
    int32_t Multi_TimeStamp(int16_t heat) const;
    // Set only by the opening of the older kinds: 0 for kd3 files. The clip length is in milliseconds.
    int32_t Clip_length() const;
    int16_t num_Fields_Gross() const;
    void RGB_Sample_Size(int32_t value);  // the header's; reaches the file with the next header write
    void Show_Single_Stream(bool value) { show_single_stream_ = value; }
    void Overlay(int16_t value) { overlay_ = value; }
    void Blend_faktor(int16_t value) { blend_faktor_ = value; }

    // ---- the older property report and the model members ----
    std::string Property_String();
    bool Has_weight_data();
    float model_size_factor();
    int16_t model_X_offset();
    int16_t model_Y_offset();
    int16_t Front_View_Width() const { return 0; }
    int16_t Front_View_Height() const { return 0; }
    void Venue(const std::string& value);
    std::string Venue();

    // -999 when the file is not there, else whether it cannot be opened for reading alone (-1 True).
    static int16_t IsFileInUse(const std::string& path);

private:
    void Check_Whole_File_Bound(int64_t length) const;
    // The copy Open_File makes when asked; a refusal is shown and the file stays open.
    void Copy_Whole_File_If_Bound_Allows();
    void Clear_Bitmap_Collection();
    bool copy_wanted_ = false;
    bool copy_held_ = false;
    std::vector<uint8_t> memory_copy_;
    bool show_single_stream_ = false;
    int16_t overlay_ = 0;
    int16_t blend_faktor_ = 0;
    // The working pictures of the older kinds' display and the JPEG work buffer of the older append
    // path, made once with the object.
    void Make_Older_Working_Pictures();
    cDIBSection rotation_source_;
    std::array<cDIBSection, 2> spare_field_images_;
    std::array<cDIBSection, 2> spare_frame_images_;
    std::vector<uint8_t> jpeg_work_;
    int32_t last_jpeg_size_ = 0;
    std::vector<std::unique_ptr<cDIBSection>> bitmaps_;
    bool bitmaps_read_in_ = false;
    int32_t luminance_1_ = 0;
    int32_t luminance_2_ = 0;
    std::array<int16_t, 6> luminance_sources_{};  // two colour triples
    int16_t eff_frameno_ = 0;
    int16_t video_offset_ = 0;
    int16_t synch_type_ = 0;
    std::array<int16_t, 3> tolerances_{};

public:

    // ---- closing ----
    // Brings the header up to date after a segment, then closes the file and resets the object.
    void Close_File();

    // The header document, made on first use.
    Cls_XML_header& Header();

    // ---- the older kinds: DV frames (dv, sdv, kd1, kd2) and AVI files ----
    // Reads frame `frame` (at most the last) of stream `stream` into the frame buffer; Frame_available
    // tells whether it was there whole. A kd3 file reads nothing here.
    void Read_Frame(int32_t frame, int16_t stream);
    // Read_Frame(frame, 1); `length` the AVI chunk's length, `address` its data.
    void Get_Frame(int32_t frame, int32_t& length, const uint8_t*& address);
    int32_t Frame_in_store() const { return older_ ? older_->frame_in_store : 0; }
    // The compressed data of the frame read last and its length.
    const uint8_t* Frame_Data_Address() const;
    int32_t Frame_Data_Size() const { return older_ ? older_->frame_data_size : 0; }
    // dv: the file's first 1001 bytes; sdv, kd1, kd2: the DV frame buffer; avi: the chunk data.
    const uint8_t* Frame_address() const;
    // The first byte of the DV frame buffer.
    const uint8_t* Extra_Data_Addr() const;
    // Describes the frame data to the decoder: 720 x 576 (480 NTSC), 24 bits, the codec's FourCC.
    const gdi::Bitmap_info_header& Frame_Format() const { return frame_format_; }
    // The decode size of the field drawing.
    int32_t DV_Decode_Width() const { return dv_decode_width_; }
    int32_t DV_Decode_Height() const { return dv_decode_height_; }
    int32_t num_Calculated_frames() const { return older_ ? older_->calculated_frames : 0; }
    bool Has_Model() const { return older_ && older_->model; }
    // kd1, kd2: the header record and the header text of the open file into the header document.
    void Get_KDR_header();
    // The header text that follows the header record read last, into the header document.
    void Get_KD3_header();
    // The header record read or written last; nullptr before any.
    const dv::KDR_File_Header* KDR_header_addr() const { return older_ ? &older_->kdr : nullptr; }
    // A copy of the header document's text, valid until the next call.
    const char* XML_Header_addr();
    // kd1, kd2: the header record at offset 0; the data offset after the end mark.
    void Write_KDR_header();
    void Add_Header_padding();
    // kd1, kd2: the write position as data offset in the header record; never inside the header text.
    void Write_KDR_header_len();
    // kd1, kd2: the write position moves to the byte after the header text written last.
    void Position_after_XML_header();
    // kd1, kd2: writes one DV frame of 144000 bytes at the write position, never over the header area.
    void Write_frame(const uint8_t* frame);
    // The same, its errors reported in the built program.
    void Write_DV_frame(const uint8_t* frame);
    // The DV frame held, whole, into "dv_frame.dv" in the temporary folder; error 91 when none is held.
    void xWrite_DV_frame();
    static std::string DV_frame_dump_path();
    // The first 1001 bytes of a raw DV file; the offset of its first byte that is not zero.
    void find_DV_offset(const std::string& file_name);
    void Do_Read_DV_extra_data();
    std::string Read_Comment() const;
    void Write_comment(const std::string& text);
    void Rewrite_DV_Extra_data();
    bool Linear_buffer() const { return older_ && older_->extra.Linear_Buffer() == -1; }
    int16_t Lap_Count() const { return older_ ? older_->extra.Lap_Count() : 0; }
    int32_t Frame_time() const { return older_ ? older_->extra.Frame_Time() : 0; }
    // kd1, kd2: appends one DV frame of 144000 bytes behind the file's last byte. A time code (above
    // frame 10) that does not follow the one appended before is traced.
    void Append_DV_frame(const uint8_t* frame);
    // The same append through a handle of its own, whether or not the store holds the file open; counted
    // as appended. A file that is not a kd1 or kd2 file is refused.
    void Append_DV_frame_asynch(const uint8_t* frame);
    // Paints the whole box black.
    static void Fill_PBox(gdi::Picture_surface& box);
    // Writes a kd2 file beside the open file (its name with "kd2" for its last three characters) holding
    // every frame of stream 1 behind a fresh header; the open file and its header document stay as they are.
    void Convert_TO_KD2();
    int32_t Last_DV_Frame_Number() const { return last_dv_frame_number_; }
    int32_t DV_frames_appended() const { return older_ ? older_->dv_frames_appended : 0; }
    void Rewrite_DV_header();
    void Rewrite_DV_frame();
    bool is_DV();
    bool Has_DV_Header() const;
    // The metadata packs of the DV frame read last into the DV frame module (DV_Timecode_module).
    void Parse_DV_header();
    // Recording hours and minutes of the frame parsed last; -1 when it carried no valid recording time.
    int16_t DV_data_hours() const;
    int16_t DV_data_minutes() const;
    int32_t DV_date() const { return 0; }
    // The details of the frame held: recording date, time code and camera settings. Error 9 when the
    // file holds no DV frame.
    std::string Timecode_string();
    std::string Timestamp_string() const;
    // kd1, kd2: the time stamp of the frame read last; kd3: the capture time of the record read last.
    int32_t Timestamp_long() const;
    // The same as a time text (kd3: of the record appended last); "" for the other kinds.
    std::string Timestamp_formatted() const;

    // Trace records of DV frames: per channel 1 to 10 the tracked point in each field of the frame.
    // X and Y of the record being edited, for the field within the frame shown last.
    int16_t Trace_X(int16_t channel) const;
    int16_t Trace_Y(int16_t channel) const;
    // The header's display settings of a channel; the Lets write the header.
    int32_t Trace_Color(int16_t channel);  // 0 when missing or not a number
    void Trace_Color(int16_t channel, int32_t colour);
    std::string Trace_Name(int16_t channel);
    void Trace_Name(int16_t channel, const std::string& value);
    bool Trace_Bezier(int16_t channel);
    void Trace_Bezier(int16_t channel, bool value);
    int16_t Trace_Thickness(int16_t channel);
    void Trace_Thickness(int16_t channel, int16_t value);
    // Stores the point of the field shown into the frame held and writes the frame back; error 5 when
    // no whole frame is held.
    void Update_Trace_Data(int16_t channel, int16_t x, int16_t y);
    // Clears every point of the record being edited in the frame held and writes the frame back.
    void Clear_Trace_Data();
    // The record of the frame held; error 9 when the frame is too short to hold one.
    void Read_Trace_Data();
    const dv::Trace_Record& Trace_Read_Record() const;
    // The records of every frame of the open file.
    void Read_Trace_Array();
    // The point of a channel in field `field` (from 1) of the file, from the records read.
    void Trace_Array_Coords(int16_t channel, int32_t field, int16_t& x, int16_t& y) const;
    void Clear_all_Traces();
    void Debug_Trace_Array() {}
    void Debug_m_Trace_Data(const std::string&) {}
    // The record of frame `frame` from the records read; kept when there is none.
    void Get_Current_Trace_data(int32_t frame);
    const dv::Trace_Record& Current_Trace_Record() const;

    // Multi-stream files.
    void Read_Stream_Info();
    void Num_write_streams(int16_t value);
    void Set_Multi_Stream_Size();
    int16_t stream_from_pos(int16_t pos) const;

    // AVI files.
    clsAVIInfo& AVI_Info() { return avi_info_; }
    void Parse_Chunks();
    void read_AVI_XML_string();
    void Append_XML_header();
    void Append_DV_header();
    void Rewrite_AVI_Header();
    // The headers at the start of an AVI file: the RIFF header, the main header and the first stream's
    // strh and strf chunks, each kept as read.
    void Read_Headers();
    void get_AVI_strh(int32_t& length, const uint8_t*& address) const;
    void get_AVI_strf(int32_t& length, const uint8_t*& address) const;
    // The kept avih chunk header and the 56-byte main header.
    const uint8_t* AVI_Chunk_addr() const { return avi_headers_.avih_chunk.data(); }
    const uint8_t* AVIINFO_addr() const { return avi_headers_.main_header.data(); }
    // Writes 1000000 / fps microseconds per frame into the file's main header; error 11 for 0.
    void Force_Framerate(int32_t fps);
    // The name of data channel `channel` (from 1) in the PKA3 chunk; "" without one or on any error.
    std::string Data_Channel_Name(int16_t channel);
    void Write_channel_name(int16_t channel, const std::string& name);
    // The text chunk of `frame`, header first, as many bytes as its length; length 0 without a text stream.
    void Get_Text_buffer(int32_t frame, int32_t& length, const uint8_t*& address);
    // `length` bytes from `address` into the text chunk of the frame held, after its first four data bytes.
    // Error 62 when the file holds no such chunk where its index says: nothing is written then.
    void Put_Text_buffer(const uint8_t* address, int32_t length);
    // The text buffer back into the text chunk of `frame`; nothing where the index names no such chunk.
    void Rewrite_Text_Buffer(int16_t frame);
    // The length of the frame chunk read last.
    int32_t Frame_Length() const { return older_ ? older_->chunk_length : 0; }
    void Close_AVIFunctions() {}
    // dwFlags of the video index's entry `frame` (from 1); error 9 when there is none.
    int32_t Index_flag(int32_t frame) const;
    // The length of the first text chunk (error 6 beyond 32767), 0 without a text stream.
    int16_t Text_Length() const;
    // The text of the frame read last; error 9 when none is held.
    const uint8_t* text_adress() const;
    void Golf_header(bool value) { golf_header_ = value; }
    bool Has_Text_Stream() const { return older_ && !older_->text_index.empty(); }

    // ---- drawing frames, fields and overlays of every kind ----
    // The frame's picture is decoded (older kinds: by the DV or AVI decoder; kd3: from its JPEG) and
    // painted scaled through the store's DrawDib handle. A box of nullptr is no picture box.
    // Reads frame `frame` of `stream` and draws it: rotated (rotate -1), mirrored, the selected
    // rectangle, into `to_dc` at the video size, or into the box, or blended into the overlay picture
    // by the overlay mode; a frame 0 is drawn as frame 1 and written back.
    void Draw_Frame(int32_t& frame, gdi::Picture_surface* box, int16_t mirror, int16_t stream,
                    gdi::Device_context* to_dc, int16_t rotate);
    // Field `field` (from 1) of `stream` (1 to 3) through the stream's decoded frame and field
    // pictures, turned when `rotate` is not 0, two streams side by side; the frame is decoded once.
    void Draw_field_3(int32_t field, gdi::Picture_surface& box, int16_t reversed, int16_t stream, int16_t rotate);
    // Field `field` by copying each of its lines twice; `reversed` -1 shows the other field.
    void Draw_Field(int32_t field, gdi::Picture_surface& box, int16_t reversed, int16_t stream);
    void Draw_field_multi2(int32_t, gdi::Picture_surface&) {}
    void Draw_field_multi3(int32_t, gdi::Picture_surface&) {}
    // A box-sized window of frame `frame` at 1:1 from (pan_x, pan_y).
    void Draw_Panned_frame(int32_t frame, gdi::Picture_surface& box, int16_t pan_x, int16_t pan_y);
    // The frame in memory into the rectangle 0, 0, width x height of `dc`.
    void Blit_Frame(gdi::Device_context* dc, int32_t width, int32_t height);
    void Refresh_frame(int32_t unused, gdi::Picture_surface& box);
    void Refresh_field(gdi::Picture_surface& box, int16_t rotate);
    // The overlay pictures: frame 1 as reference, the current picture as reference, a frame as
    // overlay picture, a frame into the picture named "source" or "target", the overlay started again.
    void Read_ff();
    void Store_OL_Source();
    void Restore_target(int32_t frame);
    void Store_frame(int32_t& frame, const std::string& name);
    void Reset_Overlay(gdi::Picture_surface& box);
    // Blends the current picture into the overlay picture against the current frame, by the blend
    // factor, and paints the overlay picture. Error 5 when the overlay pictures are not the video's size.
    void A_Blend(gdi::Picture_surface& box);
    // The next field drawing decodes its frame again.
    void Force_Reread_Frame();
    int32_t Last_Draw_Result() const { return last_draw_result_; }
    bool Overlay_Bitmaps_Sized() const { return drawing_ && drawing_->overlay_sized; }
    cDIBSection& Overlay_Picture(const std::string& name);  // "source", "target" or "first_frame"
    int32_t Last_Drawn_Field() const { return drawing_ ? drawing_->last_drawn_field : 0; }
    int16_t Last_Drawn_Stream() const { return drawing_ ? drawing_->last_drawn_stream : 0; }
    int32_t Decoded_Frame_Of_Stream(int16_t stream) const;
    int16_t Overlay() const { return overlay_; }

    // ---- picture benchmarks on a PAL DV test frame ----
    // An AVI file shown frame by frame; every file is shown field by field here.
    bool Is_Deinterlaced() const { return false; }
    // Timing results that nothing sets.
    int32_t Bench_rotate() const { return 0; }
    int32_t Bench_rotate_asm() const { return 0; }
    int32_t Bench_deint() const { return 0; }
    int32_t Bench_mirror() const { return 0; }
    int32_t Bench_decomp() const { return 0; }
    int32_t Bench_draw_to_picture() const { return 0; }
    int32_t Bench_draw_to_DC() const { return 0; }
    // The frame image and field image 720 x 576, the rotated image 576 x 720, and the test frame.
    // Error 17 when no DV encoder can make the test frame.
    void Bench_Prepare();
    // The test frame decoded into the frame image (prepared first when it was not).
    void Benchmark_Decomp_Once();
    // The frame image's field of the field shown into the field image; the field image turned into
    // the rotated image. Error 5 when the pictures are not of the prepared sizes.
    void Benchmark_Deint_Once();
    void Benchmark_Rotate_Once();
    // Reads the block of 144000 bytes at 2880000 twenty times and shows "Get time = " with the
    // milliseconds per read. Error 52 without an open file.
    void benchmark_getfile();
    void benchmark_deint() {}
    void Benchmark_Rotate(int16_t) {}
    void Benchmark_Decomp() {}
    void benchmark_mirror() {}
    void Benchmark_Draw_to_Picture() {}
    void Benchmark_Draw_to_Picture_Once() {}
    void Benchmark_Draw_to_DC() {}

    // ---- review ----
    // Whether the header record read last parsed and names this program.
    bool is_Vantorel();
    // Whether the open file holds interlaced frames (two fields each); a progressive frame is drawn whole
    // for both of its field numbers.
    bool Interlaced() const { return interlaced_; }

private:
    // Per stream 1 to 5, what the header's stream records say; filled by Read_Stream_Info.
    struct Stream_Info {
        bool active = false;
        bool rotated = false;
        int16_t camera_pos = 0;
        int32_t left = 0, top = 0, right = 0, bottom = 0;
        int16_t width = 0, height = 0;
    };
    bool Open_Older_File(const std::string& suffix);
    void Open_DV_File();
    void Open_SDV_File();
    bool Open_KDR_File();
    // Get_KDR_header without its trap: opening tells a damaged header in its own one message.
    void Read_KDR_header();
    // kd1, kd2: the header text after the record into the header document.
    void Read_KDR_text();
    bool Open_AVI_File();
    void Open_Older(Binary_file::Mode mode);
    void Load_Default_Header();
    void Read_DV_Frame(int64_t offset, int32_t frame);
    void Read_AVI_Frame(int32_t frame);
    bool Get_AVI_indexes(const std::string& path);
    bool Read_Standard_Index();
    void Read_Older_Sample(int32_t frame, bool decode);
    void Decode_Older_Frame();
    // Whether the frame the older kind's decoder holds has the file's frame size: a frame that claims
    // another (a damaged JPEG SOF) is no frame of the file.
    bool Decoded_Frame_Fits() const;
    void Write_Older_XML_Header();
    void Older_Header_Work_At_Close();
    void Reset_Open_State();
    // Create_File, or with `only_new` Create_New_File.
    bool Create(bool only_new);
    // Empty when the header read whole; else what is wrong with it.
    std::string Read_Opened_Header(int64_t length);
    void Open_Heat(Binary_file::Mode mode);
    void Recover_Header_Journal();
    // Why a whole journal beside the heat is not the heat's own; "" when it is.
    std::string Foreign_Journal(const Header_journal::Kept_Record& kept);
    void Set_Journal_Aside(const std::string& reason);
    // The length the file's first record gives itself where it is a whole record; 0 otherwise.
    int64_t Own_Record_Length(int64_t file_length, int64_t max_length) const;
    void Rewrite_Header_Record(const kd3::Header_Bytes& record);
    // The record a journal of this heat keeps; nothing without one, or beside a journal that is not the heat's.
    std::optional<kd3::Header_Bytes> Journalled_Record();
    // A folder where the journal cannot be made: the rewrite goes ahead, logged, and the operator told once.
    void Unprotected_Rewrite(const VbError& refusal);
    // Raised while the file is read at its opening, which then closes it.
    [[noreturn]] void Refuse_File(const std::string& reason);
    // An opening that failed half way leaves no file. The header document is left as the opening left it:
    // savable only when the heat's own header was read before the failure (Open_RGB_File marks it
    // unreadable until then).
    void Close_Unfinished_Open();
    void Choose_Record_Length(int64_t file_length);
    bool Marks_Bear_Out(int64_t record_length, int64_t file_length) const;
    void Count_Whole_Records(int64_t file_length);
    void Header_Work_At_Close();
    bool Refuse_Segment();
    void Draw_Message_Picture(int32_t colour, int32_t text_colour, const std::string& text, const gdi::Rect& rect);
    void Draw_Unavailable_Picture();
    void Decode_Read_Record();
    void Set_Frame_Unavailable(int32_t frame, bool decode);
    void Paint(cDIBSection& picture, gdi::Picture_surface& box);
    void Paint_Whole(cDIBSection& picture, gdi::Picture_surface& box);
    // The shown field scaled into the box straight from its frame, without making the field's picture.
    void Paint_Field_Of_Frame(gdi::Picture_surface& box);
    // Reads the field's frame and makes it the field shown, its pictures pending.
    void Take_RGB_Field(int32_t field);
    // The shown field of a rotated file turned straight into the box when the box shows it unscaled.
    bool Turn_Into(gdi::Picture_surface& box);
    // Whether the field drawn next covers the whole box: then it is left for the box's paint, which
    // scales or turns it from the frame straight onto the screen.
    bool Covers_Box(gdi::Picture_surface& box);
    // A field left for a box's paint is drawn into the box's bitmap: its frame is about to change.
    void Settle_Shown();
    void Make_Rotated();
    void Make_Pending_Pictures();
    void Size_Rotated_Image(const cDIBSection& picture);
    cDIBSection& Shown_Image();
    // The deinterlacing mode of the field shown; makes the field image of the field drawn last from the frame image.
    int16_t Deinterlace_Mode() const;
    void Make_Field();
    void Forget_Heat_Start();

    friend struct Store_file_seam;
    // Whether the open file is one of the older kinds; a kd3 store that older-kind members touched is not.
    bool Older_Open() const { return older_ && older_->kind != Older_kind_state::Kind::none; }
    // Milliseconds from the start of the file to frame or field `count` + 1: exact for NTSC's 30000/1001.
    int32_t Frames_Span(int64_t count) const;
    int32_t Fields_Span(int64_t count) const;
    void Set_Frame_Format(int32_t width, int32_t height, uint32_t compression);
    // Error 5 unless the file named is a kd1 or kd2 file.
    void Refuse_Unless_KDR() const;
    // The DV file header record of the open sdv file; error 5 when none is open.
    dv::DV_File_Header& Sdv_Header();
    Binary_file file_;
    std::string m_File_Name;
    std::string m_file_suffix;
    bool m_Read_only = false;
    std::string video_codec_ = "0";
    std::unique_ptr<Cls_XML_header> header_;
    bool header_readable_ = true;  // false after a header record that does not parse
    // The record kept by an interrupted rewrite of a heat that cannot be written: read in place of the file's.
    std::optional<kd3::Header_Bytes> journal_record_;

    // Writing.
    int32_t cropped_x_ = 0;
    int32_t cropped_y_ = 0;
    int16_t initial_quality_ = 0;
    bool next_interlaced_ = false;
    bool next_rotated_ = false;
    std::string codec_name_ = "Intel";
    cDIBSection compression_image_;
    std::vector<uint8_t> write_record_;  // S bytes: header, descriptor, buffer, end mark
    int32_t buffer_size_ = 0;            // N of the open file
    int64_t append_position_ = 0;
    int32_t m_RGB_frames_appended = 0;
    int64_t measured_record_length_ = 0;  // of the open file only
    bool segment_refused_ = false;
    int32_t refused_frames_ = 0;
    int32_t segment_counter_ = 0;
    bool sizes_given_ = false;
    int32_t given_smallest_ = 0;
    int32_t given_largest_ = 0;
    int32_t seen_smallest_ = 0;
    int32_t seen_largest_ = 0;

    // Reading.
    int16_t width_ = 0;
    int16_t height_ = 0;
    bool interlaced_ = false;
    bool rotated_ = false;
    std::string fourcc_;
    std::string codec_;
    int64_t record_length_ = 0;  // S
    int32_t frame_count_ = 0;
    int32_t field_count_ = 0;
    int32_t missing_frames_ = 0;
    int32_t mill_per_frame_ = 0;
    int32_t mill_per_field_ = 0;
    int16_t file_quality_ = 0;
    std::vector<uint8_t> read_record_;
    kd3::Sample_Header read_;
    int32_t read_buffer_size_ = 0;  // N of the record read last
    int32_t cached_record_ = 0;
    bool cached_decoded_ = false;
    bool frame_available_ = false;
    int32_t current_frame_ = 0;
    int32_t rounded_capture_time_ = 0;

    cDIBSection frame_image_;     // the decoded frame
    cDIBSection field_image_;     // the extracted field
    bool field_pending_ = false;  // the field was drawn without making its own picture
    bool rotated_pending_ = false;  // the turned field was drawn without making its own picture
    int16_t pending_field_mode_ = 2;  // the deinterlacing mode of that field
    std::weak_ptr<gdi::Deferral> shown_deferral_;  // the box whose paint draws the field from frame_image_
    // Heat 1's start, which every field's time needs: read from the header once, until the header is
    // read again or a start is set through this class.
    std::optional<int32_t> heat_start_mill_;
    std::optional<int32_t> heat_start_events_;
    cDIBSection rotated_image_;   // the field or frame turned a quarter

    std::string drive_text_;
    int32_t drive_type_ = 0;
    gdi::Bitmap_info_header frame_format_{};
    int32_t dv_decode_width_ = 0;
    int32_t dv_decode_height_ = 0;
    std::string xml_header_copy_;
    int32_t rounded_compressed_size_ = 0;
    // The AVI headers as Read_Headers read them.
    struct AVI_Headers {
        std::array<uint8_t, 12> riff{};
        std::array<uint8_t, 12> header_list{};
        std::array<uint8_t, 8> avih_chunk{};
        std::array<uint8_t, 56> main_header{};
        std::array<uint8_t, 12> stream_list{};
        std::vector<uint8_t> strh, strf;
    } avi_headers_;

    // Display.
    gdi::Device_context* screen_dc_ = nullptr;
    int32_t displayed_frame_ = 0;
    int32_t field_to_show_ = 0;
    int32_t current_field_ = 0;
    int32_t field_time_ = 0;

    std::array<Stream_Info, 5> stream_table_{};
    // The older kinds.
    clsAVIInfo avi_info_;
    std::unique_ptr<Older_kind_state> older_;
    bool header_in_file_ = true;  // false for a kind that keeps no header text: nothing is written back
    bool golf_header_ = false;
    bool bottom_field_first_ = false;

    // Values of the older kinds' state that the facade answers.
    std::string owner_;
    int16_t player_index_ = 0;
    int16_t flip_ = 0;
    dv::Trace_Record m_trace_Data;  // the record being edited, kept across files
    // Drawing.
    gdi::HDRAWDIB draw_dib_ = nullptr;
    int32_t last_draw_result_ = 0;
    std::unique_ptr<Older_drawing_state> drawing_;
    int32_t last_dv_frame_number_ = 0;  // the time code appended last, kept across files
    // Benchmarks.
    bool bench_prepared_ = false;
    const std::vector<uint8_t>* bench_frame_ = nullptr;
    std::unique_ptr<video::Video_decoder> bench_decoder_;
    void Make_Bench_Pictures();
    Older_drawing_state& Drawing();
    void Size_Overlay(int32_t width, int32_t height, bool name_them);
    void Read_Any_Frame(int32_t frame, int16_t stream);
    const cDIBSection* Frame_Picture();
    int32_t Decode_Step(gdi::Device_context* dc, int32_t width, int32_t height, int32_t x = 0, int32_t y = 0,
                        int32_t w = -1, int32_t h = -1);
    void Paint_Into(cDIBSection& picture, gdi::Picture_surface& box);
    int32_t Frame_In_Memory() const;
    void Put_Trace_Record();  // into the frame held, which is then written back
};
