// The header facade of cls_VideoFile_handler: every header value other code reads or writes passes
// through these members. Each calls its header member; those marked in the class write the file
// afterwards through Write_XML_Header, every other Let changes the document only.
#include "cls_VideoFile_handler.h"

#include "platform/sys/Sys_clock.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Non_dependant.h"

// ---- file, computer and program data ----

std::string cls_VideoFile_handler::Creation_date() { return Header().Creation_date(); }
void cls_VideoFile_handler::Creation_date(const std::string& value) { Header().Creation_date(value); }
std::string cls_VideoFile_handler::Computer_name() { return Header().Comp_Name(); }
std::string cls_VideoFile_handler::Computer_CPUInfo() { return Header().Comp_CPUInfo(); }
std::string cls_VideoFile_handler::OS_version() { return Header().OS_version(); }
std::string cls_VideoFile_handler::OS_bitness() { return Header().Comp_OSbitness(); }
std::string cls_VideoFile_handler::CPU_bitness() { return Header().Comp_CPUbitness(); }
std::string cls_VideoFile_handler::Capture_Info() { return Header().Comp_CaptureInfo(); }
void cls_VideoFile_handler::Capture_Info(const std::string& value) { Header().Comp_CaptureInfo(value); }
std::string cls_VideoFile_handler::Phidget_serial() { return Header().Phidget_serial(); }
std::string cls_VideoFile_handler::Program_ID() { return Header().prog_id(); }
std::string cls_VideoFile_handler::Program_Major() { return Header().Prog_Major(); }
std::string cls_VideoFile_handler::Program_Minor() { return Header().Prog_Minor(); }
std::string cls_VideoFile_handler::Program_Revision() { return Header().Prog_Revision(); }
std::string cls_VideoFile_handler::comment(int16_t number) { return Header().comment(number); }
void cls_VideoFile_handler::comment(int16_t number, const std::string& value) { Header().comment(number, value); }
std::string cls_VideoFile_handler::File_comment1() { return Header().File_comment1(); }
void cls_VideoFile_handler::File_comment1(const std::string& value) { Header().File_comment1(value); }
std::string cls_VideoFile_handler::Subject_name() { return Header().Subject_name(); }
void cls_VideoFile_handler::Subject_name(const std::string& value) { Header().Subject_name(value); }
std::string cls_VideoFile_handler::SpecApp() { return Header().SpecApp(); }
void cls_VideoFile_handler::SpecApp(const std::string& value) { Header().SpecApp(value); }
std::string cls_VideoFile_handler::Camera_ID(int16_t stream) { return Header().Camera_ID(stream); }
void cls_VideoFile_handler::Camera_ID(int16_t stream, const std::string& value) { Header().Camera_ID(stream, value); }

void cls_VideoFile_handler::rotated(bool value) {
    Header().Stream_rotated(1, value);
    Write_XML_Header();
}

bool cls_VideoFile_handler::Stream_rotated(int16_t stream) { return Header().Stream_rotated(stream); }

void cls_VideoFile_handler::Stream_rotated(int16_t stream, bool value) {
    Header().Stream_rotated(stream, value);
    Write_XML_Header();
}

// A kd3 file has no stream at any camera position, so there is nothing to set.
void cls_VideoFile_handler::Set_stream_active(int16_t pos, bool active) {
    const int16_t stream = stream_from_pos(pos);
    if (stream == 0) return;
    Header().Stream_Active(stream, active);
    Write_XML_Header();
}

// A position no stream films from asks for stream 0, which no header holds (error 91).
bool cls_VideoFile_handler::pos_Active(int16_t pos) { return Header().Stream_Active(stream_from_pos(pos)); }

int16_t cls_VideoFile_handler::Active_Streams() {
    Cls_XML_header& h = Header();
    int16_t count = 0;
    for (int16_t stream = 1, streams = h.Streams_no(); stream <= streams; ++stream)
        if (h.Stream_Active(stream)) ++count;
    return count;
}

int16_t cls_VideoFile_handler::Camera_pos(int16_t stream) { return Header().Stream_CameraPos(stream); }
void cls_VideoFile_handler::Camera_pos(int16_t stream, int16_t value) { Header().Stream_CameraPos(stream, value); }

int16_t cls_VideoFile_handler::Pos_In_File(int16_t pos) const {
    if (pos < 1 || pos > 6) vb::Raise(vb::Err_Subscript);
    return older_ && older_->camera_present[static_cast<size_t>(pos - 1)] ? -1 : 0;
}

bool cls_VideoFile_handler::Show_goalline() { return Header().Show_goalline(); }
void cls_VideoFile_handler::Show_goalline(bool value) { Header().Show_goalline(value); }

// ---- course, heats and lane results ----

int16_t cls_VideoFile_handler::Lane_count() { return Header().Num_Lanes(); }

void cls_VideoFile_handler::Lane_count(int16_t value) {
    Header().Num_Lanes(value);
    Write_XML_Header();
}

void cls_VideoFile_handler::Num_Lanes(int16_t value) { Header().Num_Lanes(value); }
int16_t cls_VideoFile_handler::Start_lane() { return Header().Start_lane(); }
bool cls_VideoFile_handler::Start_Lane_Zero() { return Header().Start_lane() == 0; }
void cls_VideoFile_handler::Start_Lane_Zero(bool value) { Header().Start_lane(value ? 0 : 1); }
void cls_VideoFile_handler::File_Lane_Pos(int16_t lane, int32_t x, int32_t y) { Header().Lane_pos(lane, x, y); }
int16_t cls_VideoFile_handler::LaneX(int16_t lane) { return vb::To_Int16(Header().Lane_pos_X(lane)); }
int16_t cls_VideoFile_handler::LaneY(int16_t lane) { return vb::To_Int16(Header().Lane_pos_Y(lane)); }
bool cls_VideoFile_handler::Lanes_Visible() { return Header().Lanes_Visible(); }
void cls_VideoFile_handler::Lanes_Visible(bool value) { Header().Lanes_Visible(value); }
bool cls_VideoFile_handler::Lanes_flipped() { return Header().Lanes_flipped(); }
void cls_VideoFile_handler::Lanes_flipped(bool value) { Header().Lanes_flipped(value); }
bool cls_VideoFile_handler::Lanes_reversed() { return Header().Lanes_reversed(); }
void cls_VideoFile_handler::Lanes_reversed(bool value) { Header().Lanes_reversed(value); }
bool cls_VideoFile_handler::Lanes_locked() { return Header().Lanes_locked(); }

void cls_VideoFile_handler::Lanes_locked(bool value) {
    Header().Lanes_locked(value);
    Write_XML_Header();
}

void cls_VideoFile_handler::Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) {
    Header().Get_Goalline(x1, y1, x2, y2);
}

void cls_VideoFile_handler::Set_Goal_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Header().Set_Goalline(x1, y1, x2, y2);
}

void cls_VideoFile_handler::Fix_Goal_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Header().Set_Goalline(x1, y1, x2, y2);
    Write_XML_Header();
}

std::string cls_VideoFile_handler::Event_name() { return Header().Event_name(); }

void cls_VideoFile_handler::Event_name(const std::string& value) {
    Header().Event_name(value);
    Write_XML_Header();
}

std::string cls_VideoFile_handler::Heat_ID(int16_t heat) {
    std::string id = Header().Heat_ID(heat);
    return id == " " ? std::string() : id;
}

void cls_VideoFile_handler::Heat_ID(int16_t heat, const std::string& value) { Header().Heat_ID(heat, value); }

void cls_VideoFile_handler::Update_Heat_ID(int16_t heat, const std::string& value) {
    Header().Heat_ID(heat, value);
    Write_XML_Header();
}

std::string cls_VideoFile_handler::Heat_comment(int16_t heat) { return Header().Heat_comment(heat); }
void cls_VideoFile_handler::Heat_comment(int16_t heat, const std::string& value) { Header().Heat_comment(heat, value); }
void cls_VideoFile_handler::Start_local_mill(int16_t heat, int32_t value) { Header().Start_local_mill(heat, value); }

int32_t cls_VideoFile_handler::Start_local_Mill_Time(int16_t heat) {
    return m_File_Name.empty() ? 0 : Header().Start_local_mill(heat);
}

void cls_VideoFile_handler::Start_PC_mill(int16_t heat, int32_t value) {
    Header().Start_PC_mill(heat, value);
    Forget_Heat_Start();
}
void cls_VideoFile_handler::Start_PC_Mill_time(int16_t heat, int32_t value) {
    Header().Start_PC_mill(heat, value);
    Forget_Heat_Start();
}

int32_t cls_VideoFile_handler::Start_PC_Mill_time(int16_t heat) {
    return m_File_Name.empty() ? 0 : Header().Start_PC_mill(heat);
}

int32_t cls_VideoFile_handler::RGB_startmill() {
    if (!heat_start_mill_) heat_start_mill_ = Header().Start_PC_mill(1);
    return *heat_start_mill_;
}
void cls_VideoFile_handler::Start_HDMI_events(int16_t heat, int32_t value) {
    Header().Start_HDMI_events(heat, value);
    Forget_Heat_Start();
}
int32_t cls_VideoFile_handler::Start_HDMI_events(int16_t heat) {
    if (heat != 1) return Header().Start_HDMI_events(heat);
    if (!heat_start_events_) heat_start_events_ = Header().Start_HDMI_events(1);
    return *heat_start_events_;
}

void cls_VideoFile_handler::Forget_Heat_Start() {
    heat_start_mill_.reset();
    heat_start_events_.reset();
}
int32_t cls_VideoFile_handler::Heat_Start_Correction(int16_t heat) { return Header().Heat_Correction_mill(heat); }

void cls_VideoFile_handler::Heat_Start_Correction(int16_t heat, int32_t value) {
    // A correction the file did not take is not kept in the header either: results, exports and printouts
    // read it from there.
    const std::string before = XML_Header_string();
    const bool readable = header_readable_;
    const auto restore = [&] {
        XML_Header_string(before);
        header_readable_ = readable;
    };
    Header().Heat_Correction_mill(heat, value);
    bool written = false;
    try {
        written = Write_XML_Header();
    } catch (...) {
        restore();
        throw;
    }
    if (!written) restore();
}

void cls_VideoFile_handler::Set_Multi_Start(int16_t heat) {
    Cls_XML_header& h = Header();
    h.Start_local_mill(heat, Non_dependant::Get_Local_Mill_Time());
    h.Start_PC_mill(heat, static_cast<int32_t>(sys::timeGetTime()));
    Forget_Heat_Start();
    Write_XML_Header();
}

void cls_VideoFile_handler::Clear_Multi_Start(int16_t heat) {
    Cls_XML_header& h = Header();
    h.Start_local_mill(heat, 0);
    h.Start_PC_mill(heat, 0);
    Forget_Heat_Start();
    Write_XML_Header();
}

void cls_VideoFile_handler::Clear_Heats() {
    Cls_XML_header& h = Header();
    for (int16_t heat = 1, heats = h.heats_num(); heat <= heats; ++heat) h.Start_local_mill(heat, 0);
}

void cls_VideoFile_handler::Heat_result(int16_t heat, int16_t lane, int32_t value) { Header().Heat_result(heat, lane, value); }
int32_t cls_VideoFile_handler::Heat_result(int16_t heat, int16_t lane) { return Header().Heat_result(heat, lane); }
void cls_VideoFile_handler::Heat_time(int16_t heat, int16_t lane, int32_t value) { Header().Heat_result(heat, lane, value); }

int32_t cls_VideoFile_handler::Heat_time(int16_t heat, int16_t lane) {
    return m_File_Name.empty() ? 0 : Header().Heat_result(heat, lane);
}

void cls_VideoFile_handler::Heat_Clicktime(int16_t heat, int16_t lane, int32_t value) {
    Header().Heat_Click_time(heat, lane, value);
}

int32_t cls_VideoFile_handler::Heat_Clicktime(int16_t heat, int16_t lane) { return Header().Heat_Click_time(heat, lane); }

void cls_VideoFile_handler::Heat_Goalfield(int16_t heat, int16_t lane, int32_t value) {
    Header().Heat_Goal_Field(heat, lane, value);
}

int32_t cls_VideoFile_handler::Heat_Goalfield(int16_t heat, int16_t lane) { return Header().Heat_Goal_Field(heat, lane); }
std::string cls_VideoFile_handler::Hdr_spare1() { return Header().Hdr_spare1(); }
void cls_VideoFile_handler::Hdr_spare1(const std::string& value) { Header().Hdr_spare1(value); }
