// The header facade for the other applications of the capture file format: dog races, golf
// grading and marathon classes, and stream 1's selected range. Each member calls its header
// member; only Update_Player_Comment writes the file.
#include "cls_VideoFile_handler.h"

#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"

namespace {

// A Get whose errors the built program reports, answering `fallback`; elsewhere they pass on.
template <class T, class Body>
T Trapped(const char* member, T fallback, Body&& body) {
    T result = fallback;
    vb::Trap(Module_Vantorel::Is_Compiled, std::string(member) + " of Class Module cls_VideoFile_handler",
             [&] { result = body(); });
    return result;
}

}  // namespace

// ---- dog races ----

void cls_VideoFile_handler::Zelv_event(const std::string& value) { Header().Zelv_event(value); }
std::string cls_VideoFile_handler::Zelv_event() { return Header().Zelv_event(); }
void cls_VideoFile_handler::Zelv_Heat_ID(const std::string& value) { Header().Zelv_Heat_ID(value); }
std::string cls_VideoFile_handler::Zelv_Heat_ID() { return Header().Zelv_Heat_ID(); }
void cls_VideoFile_handler::Zelv_Heat_Name(const std::string& value) { Header().Zelv_Heat_Name(value); }
std::string cls_VideoFile_handler::Zelv_Heat_Name() { return Header().Zelv_Heat_Name(); }
void cls_VideoFile_handler::Zelv_Heat_Length(const std::string& value) { Header().Zelv_Heat_Length(value); }
std::string cls_VideoFile_handler::Zelv_Heat_Length() { return Header().Zelv_Heat_Length(); }
void cls_VideoFile_handler::Zelv_Goal_Finish(const std::string& value) { Header().Zelv_Goal_Finish(value); }
std::string cls_VideoFile_handler::Zelv_Goal_Finish() { return Header().Zelv_Goal_Finish(); }
void cls_VideoFile_handler::Zelv_Goal_Split(const std::string& value) { Header().Zelv_Goal_Split(value); }
std::string cls_VideoFile_handler::Zelv_Goal_Split() { return Header().Zelv_Goal_Split(); }
void cls_VideoFile_handler::Zelv_start_DateTime(const std::string& value) { Header().Zelv_start_DateTime(value); }
std::string cls_VideoFile_handler::Zelv_start_DateTime() { return Header().Zelv_start_DateTime(); }
void cls_VideoFile_handler::Zelv_start_PC_mill(int32_t value) { Header().Zelv_heat_start_PC_mill(vb::CStr(value)); }

int32_t cls_VideoFile_handler::Zelv_start_PC_mill() {
    return Trapped<int32_t>("Zelv_start_PC_mill", 0, [&] { return vb::CLng(Header().Zelv_heat_start_PC_mill()); });
}

void cls_VideoFile_handler::Zelv_Goal_compensation(const std::string& value) { Header().Goal_Compensation(value); }
// The DV frames' own goal compensation would stand in for a 0 here; no DV frame is read.
std::string cls_VideoFile_handler::Zelv_Goal_compensation() {
    return Trapped("Zelv_Goal_compensation", std::string(), [&] {
        // A header that names no compensation takes the one the DV frame read last carries.
        const int16_t from_frame = older_ ? older_->extra.Goal_Compensation() : 0;
        const std::string text = Header().Goal_Compensation();
        return from_frame > 0 && vb::Val(text) == 0 ? std::to_string(from_frame) : text;
    });
}
void cls_VideoFile_handler::Zelv_Split_compensation(const std::string& value) { Header().Split_Compensation(value); }
std::string cls_VideoFile_handler::Zelv_Split_compensation() { return Header().Split_Compensation(); }
void cls_VideoFile_handler::Zelv_box_delay(const std::string& value) { Header().Zelv_box_delay(value); }
std::string cls_VideoFile_handler::Zelv_box_delay() { return Header().Zelv_box_delay(); }
void cls_VideoFile_handler::Zelv_split_firewire_ID(const std::string& value) { Header().Zelv_split_firewire_ID(value); }
void cls_VideoFile_handler::Zelv_goal_firewire_ID(const std::string& value) { Header().Zelv_goal_firewire_ID(value); }
void cls_VideoFile_handler::Phidget_serial(const std::string& value) { Header().Zelv_ph_serial(value); }

void cls_VideoFile_handler::Zelv_Dog_name(int16_t box, const std::string& value) { Header().Zelv_Dog_name(box, value); }
std::string cls_VideoFile_handler::Zelv_Dog_name(int16_t box) { return Header().Zelv_Dog_name(box); }

void cls_VideoFile_handler::Zelv_Heat_time(int16_t box, bool split, int32_t value) {
    Header().Zelv_Heat_time(box, split, value);
}

int32_t cls_VideoFile_handler::Zelv_Heat_time(int16_t box, bool split) {
    return Trapped<int32_t>("Zelv_Heat_time", 0, [&] { return Header().Zelv_Heat_time(box, split); });
}

void cls_VideoFile_handler::Zelv_Heat_Click_Time(int16_t box, int32_t value) { Header().Zelv_Heat_Click_Time(box, value); }
int32_t cls_VideoFile_handler::Zelv_Heat_Click_Time(int16_t box) { return Header().Zelv_Heat_Click_Time(box); }
void cls_VideoFile_handler::Zelv_heat_frame(int16_t box, int16_t value) { Header().Zelv_heat_frame(box, value); }

int16_t cls_VideoFile_handler::Zelv_heat_frame(int16_t box) {
    return Trapped<int16_t>("Zelv_heat_frame", 0, [&] { return Header().Zelv_heat_frame(box); });
}

void cls_VideoFile_handler::Zelv_split_frame(int16_t box, int16_t value) { Header().Zelv_split_frame(box, value); }
int16_t cls_VideoFile_handler::Zelv_split_frame(int16_t box) { return Header().Zelv_split_frame(box); }
void cls_VideoFile_handler::Zelv_dead_heat(int16_t box, bool value) { Header().Zelv_dead_heat(box, value); }
bool cls_VideoFile_handler::Zelv_dead_heat(int16_t box) { return Header().Zelv_dead_heat(box); }

// ---- golf grading ----

void cls_VideoFile_handler::Graded_active(bool value) { Header().Graded_active(value); }
bool cls_VideoFile_handler::Graded_active() { return Header().Graded_active(); }
void cls_VideoFile_handler::Graded_at(const std::string& value) { Header().Graded_at(value); }
std::string cls_VideoFile_handler::Graded_at() { return Header().Graded_at(); }
void cls_VideoFile_handler::Grade_slice(const std::string& value) { Header().Grade_slice(value); }
std::string cls_VideoFile_handler::Grade_slice() { return Header().Grade_slice(); }
void cls_VideoFile_handler::Grade_direction(const std::string& value) { Header().Grade_direction(value); }
std::string cls_VideoFile_handler::Grade_direction() { return Header().Grade_direction(); }
void cls_VideoFile_handler::Grade_top(const std::string& value) { Header().Grade_top(value); }
std::string cls_VideoFile_handler::Grade_top() { return Header().Grade_top(); }
void cls_VideoFile_handler::Grade_toe(const std::string& value) { Header().Grade_toe(value); }
std::string cls_VideoFile_handler::Grade_toe() { return Header().Grade_toe(); }
void cls_VideoFile_handler::Grade_club(const std::string& value) { Header().Grade_club(value); }
std::string cls_VideoFile_handler::Grade_club() { return Header().Grade_club(); }
void cls_VideoFile_handler::Grade_comment(const std::string& value) { Header().Grade_comment(value); }
std::string cls_VideoFile_handler::Grade_comment() { return Header().Grade_comment(); }

void cls_VideoFile_handler::Update_Player_Comment(int16_t, const std::string& comment) {
    Header().Player_Comment(comment);
    Write_XML_Header();
}

std::string cls_VideoFile_handler::Player_Comment() { return Header().Player_Comment(); }

// ---- marathon classes ----

void cls_VideoFile_handler::Vantorel_Marathon_Class_Name(int16_t class_number, const std::string& value) {
    Header().Vantorel_Marathon_Class_Name(class_number, value);
}
std::string cls_VideoFile_handler::Vantorel_Marathon_Class_Name(int16_t class_number) {
    return Header().Vantorel_Marathon_Class_Name(class_number);
}
void cls_VideoFile_handler::Vantorel_Marathon_Class_Start(int16_t class_number, const std::string& value) {
    Header().Vantorel_Marathon_Class_Start(class_number, value);
}
std::string cls_VideoFile_handler::Vantorel_Marathon_Class_Start(int16_t class_number) {
    return Header().Vantorel_Marathon_Class_Start(class_number);
}

// ---- stream 1's selected range ----

void cls_VideoFile_handler::Selection_start(int32_t value) {
    if (m_file_suffix != "sdv") return Header().Selection_start(1, value);
    Sdv_Header().Selection_Start(vb::To_Int16(int64_t{value}));
    Rewrite_DV_header();
}

int32_t cls_VideoFile_handler::Selection_start() {
    if (m_file_suffix == "sdv") return Older_Open() ? older_->sdv_header.Selection_Start() : 0;
    return Has_XML_header() ? Header().Selection_start(1) : 0;
}

void cls_VideoFile_handler::Selection_end(int32_t value) {
    if (m_file_suffix != "sdv") return Header().Selection_end(1, value);
    Sdv_Header().Selection_End(vb::To_Int16(int64_t{value}));
    Rewrite_DV_header();
}

int32_t cls_VideoFile_handler::Selection_end() {
    if (m_file_suffix == "sdv") return Older_Open() ? older_->sdv_header.Selection_End() : 0;
    return Has_XML_header() ? Header().Selection_end(1) : 0;
}

dv::DV_File_Header& cls_VideoFile_handler::Sdv_Header() {
    // The record is the open file's: without one there is nothing to change and nothing is written.
    if (!Older_Open() || older_->kind != Older_kind_state::Kind::sdv)
        vb::Raise(vb::Err_Invalid_Call, "No sdv file is open: " + m_File_Name, "cls_VideoFile_handler");
    return older_->sdv_header;
}
