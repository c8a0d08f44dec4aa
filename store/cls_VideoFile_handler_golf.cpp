// The golf swing analysis members of the store: the impact and top fields, stream 1's selected
// range and rectangle, per-stream offsets, drawing objects and an animation script, all kept in the
// header's golf section and stream records. No window calls them.
#include "cls_VideoFile_handler.h"

#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"

void cls_VideoFile_handler::Stream_Offset(int16_t stream, int16_t offset) {
    if (stream >= 1 && stream <= 3) Header().Offset_fields(stream, offset);
}

int16_t cls_VideoFile_handler::Stream_Offset(int16_t stream) { return Header().Offset_fields(stream); }

int16_t cls_VideoFile_handler::Impact_Time() const {
    return vb::To_Int16(int64_t{impact_pos()} * mill_per_frame());
}

std::string cls_VideoFile_handler::Model_FileName() { return Header().Model_FileName(1); }

void cls_VideoFile_handler::Set_This_Impact_Frame() {
    if (m_file_suffix == "kd1" || m_file_suffix == "kd2") Header().Impact_field(vb::To_Int16(current_field_));
    else if (m_file_suffix == "avi" || m_file_suffix == "AVI") Header().Impact_field(vb::To_Int16(current_frame_));
    Write_XML_Header();
}

void cls_VideoFile_handler::Set_Specific_Impact_Field(int16_t field) {
    if (m_file_suffix == "kd1" || m_file_suffix == "kd2" || m_file_suffix == "kd3") Header().Impact_field(field);
    else if (m_file_suffix == "avi" || m_file_suffix == "AVI") Header().Impact_field(vb::To_Int16(current_frame_));
    Write_XML_Header();
}

void cls_VideoFile_handler::Set_Specific_Top_Frame(int16_t field) {
    static const char* const kinds[] = {"kd1", "kd2", "kd3", "avi", "AVI"};
    for (const char* kind : kinds)
        if (m_file_suffix == kind) Header().Top_field(field);
    Write_XML_Header();
}

int16_t cls_VideoFile_handler::Impact_field() { return Header().Impact_field(); }
int16_t cls_VideoFile_handler::Top_field() { return Header().Top_field(); }
void cls_VideoFile_handler::Must_print(const std::string& value) { Header().Must_print(value); }
std::string cls_VideoFile_handler::Must_print() { return Header().Must_print(); }

int16_t cls_VideoFile_handler::Trimmed_Start() const {
    if (vb::LCase(m_file_suffix) == "avi") return 1;
    return older_ ? older_->first_used_field : 0;
}

void cls_VideoFile_handler::Set_Start_frame() {
    Header().Selection_start(1, current_field_);
    Write_XML_Header();
    Calculate_Number_of_Fields();
}

void cls_VideoFile_handler::Set_End_frame() {
    Header().Selection_end(1, current_field_);
    Write_XML_Header();
    Calculate_Number_of_Fields();
}

void cls_VideoFile_handler::Clear_Start_Frame() {
    Header().Selection_start(1, 0);
    Write_XML_Header();
    Calculate_Number_of_Fields();
}

void cls_VideoFile_handler::Clear_End_Frame() {
    Header().Selection_end(1, 0);
    Write_XML_Header();
    Calculate_Number_of_Fields();
}

void cls_VideoFile_handler::Set_Frames_no(int32_t frames) {
    Header().Frames_no(frames);
    Write_XML_Header();
}

void cls_VideoFile_handler::Calculate_Number_of_Fields() {
    Read_Stream_Info();
    // From the untrimmed count, so that a second call does not trim again; the trim end is never set.
    const int32_t trim_start = older_ ? older_->first_used_field : 0;
    const int64_t untrimmed = Older_Open() || interlaced_ ? 2 * int64_t{frame_count_} : frame_count_;
    field_count_ = vb::To_Int32(std::max<int64_t>(untrimmed - trim_start, 0));
}

void cls_VideoFile_handler::Clear_in_Store() {
    cached_record_ = 0;
    cached_decoded_ = false;
    if (older_) older_->frame_in_store = 0;
    if (drawing_) {
        drawing_->last_drawn_field = 0;
        drawing_->decoded_frame_of_stream = {};
        drawing_->decoded_valid = false;
    }
}

void cls_VideoFile_handler::Set_Selrect_stream1(int16_t bottom, int16_t left, int16_t right, int16_t top) {
    Cls_XML_header& h = Header();
    h.Selection_Rectangle(1, "b", bottom);
    h.Selection_Rectangle(1, "t", top);
    h.Selection_Rectangle(1, "l", left);
    h.Selection_Rectangle(1, "r", right);
    Write_XML_Header();
}

void cls_VideoFile_handler::Save_Graph_object(int16_t number, const Cls_XML_header::Graph_Values& values) {
    Header().Graph_object(number, values);
}

void cls_VideoFile_handler::Load_Graph_object(int16_t number, Cls_XML_header::Graph_Values& values) {
    Header().get_Graph_object(number, values);
}

void cls_VideoFile_handler::anp_line(int16_t line, const std::string& value) { Header().anp_line(line, value); }
std::string cls_VideoFile_handler::anp_line(int16_t line) { return Header().anp_line(line); }
void cls_VideoFile_handler::anp_file_lines(int16_t value) { Header().anp_numlines(value); }
int16_t cls_VideoFile_handler::anp_file_lines() { return Header().anp_numlines(); }
void cls_VideoFile_handler::anp_filename(const std::string& value) { Header().anp_filename(value); }
std::string cls_VideoFile_handler::anp_filename() { return Header().anp_filename(); }
