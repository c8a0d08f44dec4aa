#include "Cls_XML_header.h"

#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"

#include <cstdio>
#include <filesystem>

namespace {

std::string Stream_Path(int16_t stream, const char* element) {
    return "//stream_header[@id='" + vb::CStr(stream) + "']/" + element;
}

// "yy-mm-dd hh:mm:ss"
std::string Creation_Text(const sys::Local_Time& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%02d %02d:%02d:%02d", t.year % 100, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buf;
}

// Piece `index` (0 = major) of "major.minor.revision", as a decimal number.
std::string Version_Part(const std::string& version, int index) {
    auto parts = vb::Split(version, ".");
    if (index >= static_cast<int>(parts.size())) return "0";
    return vb::CStr(static_cast<int64_t>(vb::Val(parts[static_cast<size_t>(index)])));
}

std::string Program_Folder() {
    std::string exe = fs::Executable_Path();
    return exe.empty() ? "." : std::filesystem::path(exe).parent_path().string();
}

}  // namespace

Cls_XML_header::Cls_XML_header() = default;

Cls_XML_header::~Cls_XML_header() {
    try {
        mTrace::Trace("Cls_XML_header_Terminate");
    } catch (...) {
    }
}

std::string Cls_XML_header::Where(const char* procedure) {
    return std::string(procedure) + " of Class Module Cls_XML_header";
}

// ---- the document ----

std::string Cls_XML_header::XML_string() {
    vb::Trap(Module_Vantorel::Is_Compiled, Where("XML_string"), [&] { DOM_serialize(); });
    return serialised_;
}

bool Cls_XML_header::XML_string(const std::string& text) {
    bool parsed = false;
    vb::Trap(Module_Vantorel::Is_Compiled, Where("XML_string"), [&] {
        given_ = text;
        Forget_Records();
        xml::Parse_Error e = doc_.Load_Xml(text);
        DOM_serialize();
        Len_XML();
        parse_ok_ = e.Error_Code == 0;
        parsed = parse_ok_;
        if (!parse_ok_ && !Module_Vantorel::Is_Compiled)
            ui::MsgBox("XML parse failed! reason = " + e.Reason + " line = " + vb::CStr(e.Line_Pos) +
                       " srctext = " + e.Src_Text);
    });
    return parsed;
}

int32_t Cls_XML_header::Len_XML() { return static_cast<int32_t>(vb::Len(XML_string())); }

int16_t Cls_XML_header::XML_len() const { return vb::To_Int16(static_cast<int64_t>(vb::Len(serialised_))); }

void Cls_XML_header::DOM_serialize() {
    serialised_.clear();
    vb::Trap(true, Where("DOM_serialize"), [&] { serialised_ = doc_.Xml(); });
}

std::string Cls_XML_header::Get_DOM_string() const { return doc_.Xml(); }

bool Cls_XML_header::is_Vantorel() const {
    return given_.find("Vantorel") != std::string::npos || given_.find("vantorel") != std::string::npos;
}

bool Cls_XML_header::is_Golf() const { return given_.find("<golf>") != std::string::npos; }

bool Cls_XML_header::is_Equestrian() const { return is_Vantorel(); }

std::string Cls_XML_header::Bool_to_XML_string(bool value) { return value ? "t" : "f"; }

bool Cls_XML_header::XML_string_to_Bool(const std::string& text) { return text == "t" || text == "Y"; }

void Cls_XML_header::Dump_XML_to_File(std::string path) {
    if (path.empty()) path = Program_Folder() + "/xmldump.xml";
    Module_dependant::Kill_File(path);
    doc_.Save(path);
    ui::MsgBox("XML header dumped to: " + path);
}

void Cls_XML_header::Forget_Records() {
    stream_record_ = {};
    heat_record_ = {};
    lane_record_ = {};
    grade_record_ = {};
    graph_object_ = {};
    traces_record_ = {};
    trace_record_ = {};
    declaration_ = {};
}

xml::Node Cls_XML_header::Add(xml::Node parent, const char* name, const std::string& text) {
    xml::Node e = doc_.Create_Element(name);
    e.Set_Text(text);
    doc_.Append_Child(parent, e);
    return e;
}

void Cls_XML_header::Add_Break(xml::Node parent) { doc_.Append_Child(parent, doc_.Create_Text_Node("\r\n")); }

void Cls_XML_header::Create_Header() {
    using namespace Module_Vantorel;
    vb::Trap(Is_Compiled, Where("Create_Header"), [&] {
        Forget_Records();
        doc_.Clear();
        declaration_ = doc_.Create_Processing_Instruction("xml", "version=\"1.0\" encoding=\"iso-8859-1\"");
        doc_.Append_Child(doc_.Document_Node(), declaration_);
        xml::Node root = doc_.Create_Element("KDR_header");
        doc_.Append_Child(doc_.Document_Node(), doc_.Create_Comment("XML file containing KDR KD3 header"));
        Add_Break(root);
        Build_File_Data(root);
        xml::Node rgb_data = Build_RGB_Data();
        if (rgb_) {
            doc_.Append_Child(root, rgb_data);
            Add_Break(root);
        }
        // A section is made whenever its program switch is on, and holds a place only with its own flag.
        if (Golf_Mode) {
            xml::Node golf = Build_Golf();
            if (golfing_) {
                doc_.Append_Child(root, golf);
                Add_Break(root);
            }
        }
        if (Vantorel_Mode) {
            xml::Node race = Build_Vantorel();
            Add_Break(root);
            if (vantorel_) {
                doc_.Append_Child(root, race);
                Add_Break(root);
            }
        }
        if (Zelvanic_Mode) {
            xml::Node dog_race = Build_Zelvanic();
            if (zelvanic_) {
                doc_.Append_Child(root, dog_race);
                Add_Break(root);
            }
        }
        doc_.Append_Child(doc_.Document_Node(), root);
        DOM_serialize();
    });
}

// ---- element access ----

xml::Node Cls_XML_header::Element(const std::string& xpath) const {
    xml::Node n = doc_.Select_Single_Node(xpath);
    // The error names what is missing, so a damaged header says more than "object not set".
    if (!n) vb::Raise(vb::Err_Object_Not_Set, "its header has no \"" + xpath.substr(xpath.find_first_not_of('/')) + "\"");
    return n;
}

std::string Cls_XML_header::Text_Of(const std::string& xpath) const { return Element(xpath).Text(); }

void Cls_XML_header::Set(const std::string& xpath, const std::string& text) { Element(xpath).Set_Text(text); }

int16_t Cls_XML_header::Int16_Of(const std::string& xpath) const { return vb::CInt(Text_Of(xpath)); }

int32_t Cls_XML_header::Int32_Of(const std::string& xpath) const { return vb::CLng(Text_Of(xpath)); }

bool Cls_XML_header::Tf_Of(const std::string& xpath) const { return XML_string_to_Bool(Text_Of(xpath)); }

void Cls_XML_header::Set_Tf(const std::string& xpath, bool value) { Set(xpath, Bool_to_XML_string(value)); }

bool Cls_XML_header::Bool_Of(const std::string& xpath) const { return Non_dependant::Text_To_Bool(Text_Of(xpath)); }

void Cls_XML_header::Set_Bool(const std::string& xpath, bool value) { Set(xpath, Non_dependant::Bool_To_Text(value)); }

// ---- file_data ----

void Cls_XML_header::Build_File_Data(xml::Node root) {
    using namespace Module_Vantorel;
    xml::Node fd = doc_.Create_Element("file_data");
    doc_.Append_Child(root, fd);
    Add_Break(fd);
    sys::Local_Time now = sys::Get_Local_Time();
    const std::pair<const char*, std::string> rows[] = {
        {"update_program", "program name"},
        {"creation_date", Creation_Text(now)},
        {"update_date", "not updated"},
        {"last_capture_time", ""},
        {"last_append_time", ""},
        {"num_streams", "1"},
        {"frame_header_size", "000"},
        {"num_frames", "000"},
        {"num_segments", "000"},
        {"timing_bias", "000"},
        {"b_rotated", "f"},
        {"comp_name", g_Computer_Name},
        {"comp_captureinfo", "Unknown capture info!"},
        {"comp_cpuinfo", CPU_Info},
        {"comp_cpubitness", CPU_Bitness},
        {"comp_physram", Phys_RAM},
        {"comp_osbitness", OS_Bitness},
        {"capture_property", Capture_Property},
        {"actual_sample", Actual_Sample},
        {"comp_manufacturer_model", m_Manufacturer_Model},
        {"phidget_serial", Phidget_Serial},
        {"prog_id", Program_Name},
        {"prog_version", Is_Compiled ? "Compiled" : "IDE"},
        {"prog_major", Version_Part(Program_Version, 0)},
        {"prog_minor", Version_Part(Program_Version, 1)},
        {"prog_revision", Version_Part(Program_Version, 2)},
        {"compile_date", Build_Date},
        {"uptime", vb::CStr(sys::timeGetTime())},
        {"exe_filedate", Non_dependant::FileDate()},
        {"os_version", OS_Version},
        {"subject_name", "0000"},
        {"file_comment1", "0000"},
        {"file_comment2", "0000"},
        {"file_comment3", "0000"},
        {"file_comment4", "0000"},
        {"file_comment5", "0000"},
        {"specapp1", ""},
        {"specapp2", ""},
        {"hdr_spare1", "0000"},
        {"hdr_spare2", "0000"},
        {"hdr_spare3", "0000"},
        {"hdr_spare4", "0000"},
        {"hdr_spare5", "0000"},
    };
    for (const auto& [name, text] : rows) {
        Add(fd, name, text);
        Add_Break(fd);
    }
    for (int16_t stream : {int16_t{1}, int16_t{2}}) {
        Build_Stream_Header(stream);
        doc_.Append_Child(fd, stream_record_);
    }
}

void Cls_XML_header::Update_Time(const std::string& value) { Set("//update_date", value); }
std::string Cls_XML_header::Update_Time() const { return Text_Of("//update_date"); }
void Cls_XML_header::Update_Program(const std::string& value) { Set("//update_program", value); }
int16_t Cls_XML_header::Streams_no() const { return Int16_Of("//num_streams"); }
void Cls_XML_header::Streams_no(int16_t value) { Set("//num_streams", vb::CStr(value)); }

void Cls_XML_header::Insert_Specapp() {
    xml::Node e = doc_.Create_Element("specapp1");
    e.Set_Text(SpecApp());
    xml::Node fd = Element("//file_data");
    doc_.Append_Child(fd, e);
    Add_Break(fd);
}

void Cls_XML_header::SpecApp(const std::string& value) { Set("//specapp1", value); }
std::string Cls_XML_header::SpecApp() const {
    std::string s = Or_Default<std::string>("", [&] { return Text_Of("//specapp1"); });
    return s.empty() ? "None" : s;
}

std::string Cls_XML_header::Comp_Name() const { return Text_Of("//comp_name"); }
std::string Cls_XML_header::Comp_CaptureInfo() const {
    return Or_Default<std::string>("Unknown Capture Info!", [&] { return Text_Of("//comp_captureinfo"); });
}
void Cls_XML_header::Comp_CaptureInfo(const std::string& value) { Set("//comp_captureinfo", value); }
std::string Cls_XML_header::Comp_CPUInfo() const {
    return Or_Default<std::string>("Not known!", [&] { return Text_Of("//comp_cpuinfo"); });
}
std::string Cls_XML_header::Comp_CPUbitness() const {
    return Or_Default<std::string>("Not known!", [&] { return Text_Of("//comp_cpubitness"); });
}
std::string Cls_XML_header::Comp_OSbitness() const {
    return Or_Default<std::string>("Not known!", [&] { return Text_Of("//comp_osbitness"); });
}
std::string Cls_XML_header::Phidget_serial() const {
    return Or_Default<std::string>("Not known!", [&] { return Text_Of("//phidget_serial"); });
}
std::string Cls_XML_header::prog_id() const { return Text_Of("//prog_id"); }
void Cls_XML_header::Timing_Bias(const std::string& value) { Set("//timing_bias", value); }
std::string Cls_XML_header::Timing_Bias() const {
    return Or_Default<std::string>("0", [&] { return Text_Of("//timing_bias"); });
}
std::string Cls_XML_header::Prog_Major() const { return Text_Of("//prog_major"); }
std::string Cls_XML_header::Prog_Minor() const { return Text_Of("//prog_minor"); }
std::string Cls_XML_header::Prog_Revision() const { return Text_Of("//prog_revision"); }
std::string Cls_XML_header::OS_version() const {
    return Or_Default<std::string>("", [&] { return Text_Of("//os_version"); });
}
std::string Cls_XML_header::Creation_date() const { return Text_Of("//creation_date"); }
void Cls_XML_header::Creation_date(const std::string& value) { Set("//creation_date", value); }
std::string Cls_XML_header::Hdr_spare1() const { return Text_Of("//hdr_spare1"); }
void Cls_XML_header::Hdr_spare1(const std::string& value) { Set("//hdr_spare1", value); }

std::string Cls_XML_header::Last_Capture_time() const {
    try {
        return Text_Of("//last_capture_time");
    } catch (...) {
        return Text_Of("//creation_date");
    }
}
void Cls_XML_header::Last_Capture_time(const std::string& value) { Set("//last_capture_time", value); }

void Cls_XML_header::Frames_no(int32_t value) { Set("//num_frames", vb::CStr(value)); }
int32_t Cls_XML_header::Frames_no() const { return Int32_Of("//num_frames"); }
void Cls_XML_header::Segments_no(int32_t value) { Set("//num_segments", vb::CStr(value)); }
int32_t Cls_XML_header::Segments_no() const { return Int32_Of("//num_segments"); }
void Cls_XML_header::File_comment1(const std::string& value) { Set("//file_comment1", value); }
std::string Cls_XML_header::File_comment1() const { return Text_Of("//file_comment1"); }
void Cls_XML_header::comment(int16_t number, const std::string& value) {
    Set("//file_comment" + vb::CStr(number), value);
}
std::string Cls_XML_header::comment(int16_t number) const {
    return Or_Default<std::string>("", [&] { return Text_Of("//file_comment" + vb::CStr(number)); });
}
void Cls_XML_header::Subject_name(const std::string& value) { Set("//subject_name", value); }
std::string Cls_XML_header::Subject_name() const {
    return Or_Default<std::string>("", [&] { return Text_Of("//subject_name"); });
}

// ---- stream_header records ----

void Cls_XML_header::Build_Stream_Header(int16_t stream) {
    vb::Trap(Module_Vantorel::Is_Compiled, Where("Build_Stream_Header"), [&] {
        stream_record_ = doc_.Create_Element("stream_header");
        doc_.Set_Attribute(stream_record_, "id", vb::CStr(stream));
        Add_Break(stream_record_);
        static const std::pair<const char*, const char*> rows[] = {
            {"b_stream_active", "f"}, {"b_stream_rotated", "f"}, {"stream_type", "xxx"},
            {"offset_fields", "000"}, {"sel_start", "000"},      {"sel_end", "000"},
            {"camera_pos", "xxxxx"},  {"b_model_active", "f"},   {"model_filename", "xxx"},
            {"model_speed", "999"},   {"selrect_top", "000"},    {"selrect_bottom", "000"},
            {"selrect_left", "000"},  {"selrect_right", "000"},  {"model_file", "000"},
            {"b_model_flipped", "f"}, {"model_x_offset", "000"}, {"model_y_offset", "000"},
            {"model_size_factor", "000"}, {"camera_ID", "000"},  {"stream_spare1", "000"},
            {"stream_spare2", "000"}, {"stream_spare3", "000"},  {"stream_spare4", "000"},
            {"stream_spare5", "000"},
        };
        for (const auto& [name, text] : rows) {
            Add(stream_record_, name, text);
            Add_Break(stream_record_);
        }
    });
}

namespace {
std::string Side_Path(int16_t stream, const std::string& side) {
    if (side == "t") return Stream_Path(stream, "selrect_top");
    if (side == "b") return Stream_Path(stream, "selrect_bottom");
    if (side == "l") return Stream_Path(stream, "selrect_left");
    if (side == "r") return Stream_Path(stream, "selrect_right");
    return "";
}
}  // namespace

void Cls_XML_header::Camera_pos(int16_t stream, const std::string& value) { Set(Stream_Path(stream, "camera_pos"), value); }
std::string Cls_XML_header::Camera_pos(int16_t stream) const { return Text_Of(Stream_Path(stream, "camera_pos")); }
int16_t Cls_XML_header::Selection_Rectangle(int16_t stream, const std::string& side) const {
    return Int16_Of(Side_Path(stream, side));
}
void Cls_XML_header::Selection_Rectangle(int16_t stream, const std::string& side, int16_t value) {
    Set(Side_Path(stream, side), vb::CStr(value));
}
void Cls_XML_header::Let_Selection_rectangle(int16_t stream, const std::string& side, int16_t value) {
    Selection_Rectangle(stream, side, value);
}
void Cls_XML_header::Stream_Active(int16_t stream, bool value) { Set_Tf(Stream_Path(stream, "b_stream_active"), value); }
bool Cls_XML_header::Stream_Active(int16_t stream) const { return Tf_Of(Stream_Path(stream, "b_stream_active")); }
bool Cls_XML_header::Stream_rotated(int16_t stream) const { return Tf_Of(Stream_Path(stream, "b_stream_rotated")); }
void Cls_XML_header::Stream_rotated(int16_t stream, bool value) { Set_Tf(Stream_Path(stream, "b_stream_rotated"), value); }
int16_t Cls_XML_header::Stream_CameraPos(int16_t stream) const {
    return vb::CInt(vb::Val(Text_Of(Stream_Path(stream, "camera_pos"))));
}
void Cls_XML_header::Stream_CameraPos(int16_t stream, int16_t value) {
    Set(Stream_Path(stream, "camera_pos"), vb::CStr(value));
}
void Cls_XML_header::Selection_start(int16_t stream, int32_t value) { Set(Stream_Path(stream, "sel_start"), vb::CStr(value)); }
int32_t Cls_XML_header::Selection_start(int16_t stream) const {
    return Or_Default<int32_t>(0, [&] { return Int32_Of(Stream_Path(stream, "sel_start")); });
}
void Cls_XML_header::Selection_end(int16_t stream, int32_t value) { Set(Stream_Path(stream, "sel_end"), vb::CStr(value)); }
int32_t Cls_XML_header::Selection_end(int16_t stream) const {
    return Or_Default<int32_t>(0, [&] { return Int32_Of(Stream_Path(stream, "sel_end")); });
}
int16_t Cls_XML_header::model_size_factor(int16_t stream) const { return Int16_Of(Stream_Path(stream, "model_size_factor")); }
void Cls_XML_header::model_size_factor(int16_t stream, int16_t value) {
    Set(Stream_Path(stream, "model_size_factor"), vb::CStr(value));
}
void Cls_XML_header::Model_FileName(int16_t stream, const std::string& value) {
    Set(Stream_Path(stream, "model_filename"), value);
}
std::string Cls_XML_header::Model_FileName(int16_t stream) const { return Text_Of(Stream_Path(stream, "model_filename")); }
int16_t Cls_XML_header::model_X_offset(int16_t stream) const { return Int16_Of(Stream_Path(stream, "model_x_offset")); }
void Cls_XML_header::model_X_offset(int16_t stream, int16_t value) {
    Set(Stream_Path(stream, "model_x_offset"), vb::CStr(value));
}
int16_t Cls_XML_header::model_Y_offset(int16_t stream) const { return Int16_Of(Stream_Path(stream, "model_y_offset")); }
void Cls_XML_header::model_Y_offset(int16_t stream, int16_t value) {
    Set(Stream_Path(stream, "model_y_offset"), vb::CStr(value));
}
int16_t Cls_XML_header::Offset_fields(int16_t stream) const { return Int16_Of(Stream_Path(stream, "offset_fields")); }
void Cls_XML_header::Offset_fields(int16_t stream, int16_t value) {
    Set(Stream_Path(stream, "offset_fields"), vb::CStr(value));
}
void Cls_XML_header::Camera_ID(int16_t stream, const std::string& value) { Set(Stream_Path(stream, "camera_ID"), value); }
std::string Cls_XML_header::Camera_ID(int16_t stream) const {
    if (stream < 1 || stream > 3) return "";
    return Text_Of(Stream_Path(stream, "camera_ID"));
}

// ---- RGB_data ----

xml::Node Cls_XML_header::Build_RGB_Data() {
    xml::Node section = doc_.Create_Element("RGB_data");
    Add_Break(section);
    static const std::pair<const char*, const char*> sizes[] = {
        {"RGB_X", "000"},
        {"RGB_Y", "000"},
        {"RGB_image_size", "0000000"},
        {"RGB_max_seen_size", "0000000"},
        {"RGB_comp_threshold", "0000000"},
        {"RGB_compressed_max_size", "0000000"},
        {"RGB_compressed_buffer_size", "0000000"},
        {"RGB_compressed_min_size", "99999999"},
        {"RGB_sample_size", "0000000"},
    };
    static const std::pair<const char*, const char*> settings[] = {
        {"RGB_interlaced", "Y"},   {"RGB_rotated", "Y"}, {"RGB_preview_on", "Y"},       {"RGB_fourcc", "none"},
        {"RGB_JPEG_Codec", "none"}, {"RGB_fps", "000"},  {"RGB_JPEG_Quality", "0000"}, {"RGB_JPEG_Quality_num_reduced", "0000"},
    };
    for (const auto& [name, text] : sizes) Add(section, name, text);
    Add_Break(section);
    for (const auto& [name, text] : settings) Add(section, name, text);
    Add_Break(section);
    return section;
}

void Cls_XML_header::RGB_X(int16_t value) { Set("//RGB_X", vb::CStr(value)); }
int16_t Cls_XML_header::RGB_X() const { return Int16_Of("//RGB_X"); }
void Cls_XML_header::RGB_Y(int16_t value) { Set("//RGB_Y", vb::CStr(value)); }
int16_t Cls_XML_header::RGB_Y() const { return Int16_Of("//RGB_Y"); }
int32_t Cls_XML_header::RGB_Image_Size() const { return Int32_Of("//RGB_image_size"); }
void Cls_XML_header::RGB_Image_Size(int32_t value) { Set("//RGB_image_size", vb::CStr(value)); }
void Cls_XML_header::RGB_Compressed_max_Size(int32_t value) { Set("//RGB_compressed_max_size", vb::CStr(value)); }
int32_t Cls_XML_header::RGB_Compressed_max_Size() const { return Int32_Of("//RGB_compressed_max_size"); }
int32_t Cls_XML_header::RGB_Compressed_buffer_Size() const { return Int32_Of("//RGB_compressed_buffer_size"); }
void Cls_XML_header::RGB_Compressed_buffer_Size(int32_t value) { Set("//RGB_compressed_buffer_size", vb::CStr(value)); }
int32_t Cls_XML_header::RGB_Compressed_min_Size() const { return Int32_Of("//RGB_compressed_min_size"); }
void Cls_XML_header::RGB_Compressed_min_Size(int32_t value) { Set("//RGB_compressed_min_size", vb::CStr(value)); }
std::string Cls_XML_header::RGB_Max_Seen_size() const { return Text_Of("//RGB_max_seen_size"); }
void Cls_XML_header::RGB_Max_Seen_size(const std::string& value) { Set("//RGB_max_seen_size", value); }
std::string Cls_XML_header::RGB_Comp_Threshold() const { return Text_Of("//RGB_comp_threshold"); }
void Cls_XML_header::RGB_Comp_Threshold(const std::string& value) { Set("//RGB_comp_threshold", value); }
int16_t Cls_XML_header::JPG_Reduced_Qual_num() const { return Int16_Of("//RGB_JPEG_Quality_num_reduced"); }
void Cls_XML_header::JPG_Reduced_Qual_num(int16_t value) { Set("//RGB_JPEG_Quality_num_reduced", vb::CStr(value)); }
int32_t Cls_XML_header::RGB_Sample_Size() const { return Int32_Of("//RGB_sample_size"); }
void Cls_XML_header::RGB_Sample_Size(int32_t value) { Set("//RGB_sample_size", vb::CStr(value)); }
std::string Cls_XML_header::RGB_fourcc() const { return Text_Of("//RGB_fourcc"); }
void Cls_XML_header::RGB_fourcc(const std::string& value) { Set("//RGB_fourcc", value); }
std::string Cls_XML_header::RGB_fps() const { return Text_Of("//RGB_fps"); }
void Cls_XML_header::RGB_fps(const std::string& value) { Set("//RGB_fps", value); }
std::string Cls_XML_header::RGB_JPEG_Codec() const {
    return Or_Default<std::string>("unknown", [&] { return Text_Of("//RGB_JPEG_Codec"); });
}
void Cls_XML_header::RGB_JPEG_Codec(const std::string& value) { Set("//RGB_JPEG_Codec", value); }
std::string Cls_XML_header::RGB_JPEG_Quality() const {
    return Or_Default<std::string>("0000", [&] { return Text_Of("//RGB_JPEG_Quality"); });
}
void Cls_XML_header::RGB_JPEG_Quality(const std::string& value) { Set("//RGB_JPEG_Quality", value); }
bool Cls_XML_header::RGB_interlaced() const { return Bool_Of("//RGB_interlaced"); }
void Cls_XML_header::RGB_interlaced(bool value) { Set_Bool("//RGB_interlaced", value); }
void Cls_XML_header::RGB_preview_on(bool value) { Set_Bool("//RGB_preview_on", value); }
bool Cls_XML_header::RGB_preview_on() const { return Bool_Of("//RGB_preview_on"); }
void Cls_XML_header::RGB_Rotated(bool value) { Set_Tf("//RGB_rotated", value); }
bool Cls_XML_header::RGB_Rotated() const { return Tf_Of("//RGB_rotated"); }

// ---- vantorel ----

namespace {

std::string Heat_Path(int16_t heat, const char* element) {
    return "//heat_record[@id='" + vb::CStr(heat) + "']/" + element;
}

std::string Lane_Record_Path(int16_t heat, int16_t lane) {
    return "//heat_record[@id='" + vb::CStr(heat) + "']//lane_record[@id='" + vb::CStr(lane) + "']";
}

std::string Lane_Path(int16_t heat, int16_t lane, const char* field) {
    return Lane_Record_Path(heat, lane) + "/" + field;
}

std::string Mark_Path(const char* axis, int16_t lane) { return std::string("//lane_") + axis + "_" + vb::CStr(lane); }

std::string Class_Path(int16_t class_number, const char* element) {
    return "//marathonclass[@id='" + vb::CStr(class_number) + "']/" + element;
}

}  // namespace

xml::Node Cls_XML_header::Build_Vantorel() {
    xml::Node section = doc_.Create_Element("vantorel");
    Add_Break(section);
    Add(section, "is-Vantorel", "y");
    Add_Break(section);
    for (const char* end : {"goal_x_1", "goal_y_1", "goal_x_2", "goal_y_2"}) {
        Add(section, end, "000");
        Add_Break(section);
    }
    for (int16_t lane = 0; lane <= 15; ++lane) {
        for (const char* axis : {"x", "y"}) {
            Add(section, Mark_Path(axis, lane).substr(2).c_str(), "000");
            Add_Break(section);
        }
    }
    static const std::pair<const char*, const char*> course[] = {
        {"event_name", "nnn"},      {"b_lanes_visible", "t"}, {"b_lanes_flipped", "f"},
        {"b_lanes_locked", "f"},    {"b_lanes_reversed", "f"}, {"num_lanes", "0"},
        {"b_show_goalline", "f"},   {"num_heats", "1"},        {"start_lane", "1"},
    };
    for (const auto& [name, text] : course) {
        Add(section, name, text);
        Add_Break(section);
    }
    Build_Heat_Data(1);
    doc_.Append_Child(section, heat_record_);
    Add_Break(section);
    return section;
}

void Cls_XML_header::Build_Heat_Data(int16_t heat) {
    heat_record_ = doc_.Create_Element("heat_record");
    doc_.Set_Attribute(heat_record_, "id", vb::CStr(heat));
    Add_Break(heat_record_);
    static const std::pair<const char*, const char*> rows[] = {
        {"heat_ID", ""},           {"heat_comment", ""},         {"start_local_mill", "000"},
        {"start_pc_mill", "000"},  {"start_hdmi_events", "000000"}, {"heat_correction_mill", "000"},
        {"heat_comment", "nnn"},
    };
    for (const auto& [name, text] : rows) {
        Add(heat_record_, name, text);
        Add_Break(heat_record_);
    }
    for (int16_t lane = 0; lane <= 15; ++lane) {
        Build_Lane_Result(lane);
        doc_.Append_Child(heat_record_, lane_record_);
        Add_Break(heat_record_);
    }
}

void Cls_XML_header::Build_Lane_Result(int16_t lane) {
    lane_record_ = doc_.Create_Element("lane_record");
    doc_.Set_Attribute(lane_record_, "id", vb::CStr(lane));
    Add_Break(lane_record_);
    Add(lane_record_, "heat_time_mill", "000");
    Add(lane_record_, "click_time_mill", "000");
    Add_Break(lane_record_);
    Add(lane_record_, "goal_field", "000");
    Add_Break(lane_record_);
}

void Cls_XML_header::Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) const {
    x1 = Int16_Of("//goal_x_1");
    y1 = Int16_Of("//goal_y_1");
    x2 = Int16_Of("//goal_x_2");
    y2 = Int16_Of("//goal_y_2");
}

void Cls_XML_header::Set_Goalline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Set("//goal_x_1", vb::CStr(x1));
    Set("//goal_y_1", vb::CStr(y1));
    Set("//goal_x_2", vb::CStr(x2));
    Set("//goal_y_2", vb::CStr(y2));
}

// The element (with the line break after it) goes right after `anchor` and the break that follows it.
void Cls_XML_header::Insert_Line_After(xml::Node anchor, xml::Node element) {
    xml::Node after = anchor;
    if (xml::Node next = anchor.Next_Sibling(); next && next.Name() == "#text") after = next;
    xml::Node brk = doc_.Create_Text_Node("\r\n");
    doc_.Insert_After(after, brk);
    doc_.Insert_After(after, element);
}

// True when the extra lane is asked for, is missing, and lane 15 stands where it would go: a
// header written before the extra lane existed.
bool Cls_XML_header::Lacks_Extra_Lane(const std::string& path, const std::string& lane_15_path) const {
    return !doc_.Select_Single_Node(path) && doc_.Select_Single_Node(lane_15_path);
}

int32_t Cls_XML_header::Lane_Mark_Of(int16_t lane, const char* axis) const {
    if (lane == Extra_Lane && Lacks_Extra_Lane(Mark_Path(axis, lane), Mark_Path(axis, 15))) return 0;
    return Int32_Of(Mark_Path(axis, lane));
}

void Cls_XML_header::Lane_pos(int16_t lane, int32_t x, int32_t y) {
    if (lane == Extra_Lane && Lacks_Extra_Lane(Mark_Path("x", lane), Mark_Path("y", 15))) {
        xml::Node anchor = Element(Mark_Path("y", 15));
        xml::Node lx = doc_.Create_Element("lane_x_16"), ly = doc_.Create_Element("lane_y_16");
        lx.Set_Text("000");
        ly.Set_Text("000");
        Insert_Line_After(anchor, ly);
        Insert_Line_After(anchor, lx);
    }
    Set(Mark_Path("x", lane), vb::CStr(x));
    Set(Mark_Path("y", lane), vb::CStr(y));
}

int32_t Cls_XML_header::Lane_pos_X(int16_t lane) const { return Lane_Mark_Of(lane, "x"); }
int32_t Cls_XML_header::Lane_pos_Y(int16_t lane) const { return Lane_Mark_Of(lane, "y"); }

std::string Cls_XML_header::Event_name() const { return Text_Of("//vantorel/event_name"); }
void Cls_XML_header::Event_name(const std::string& value) { Set("//event_name", value); }
bool Cls_XML_header::Lanes_Visible() const {
    return Or_Default<bool>(true, [&] { return Bool_Of("//b_lanes_visible"); });
}
void Cls_XML_header::Lanes_Visible(bool value) { Set_Bool("//b_lanes_visible", value); }
bool Cls_XML_header::Lanes_flipped() const { return Bool_Of("//b_lanes_flipped"); }
void Cls_XML_header::Lanes_flipped(bool value) { Set_Bool("//b_lanes_flipped", value); }
bool Cls_XML_header::Lanes_locked() const { return Bool_Of("//b_lanes_locked"); }
void Cls_XML_header::Lanes_locked(bool value) { Set_Bool("//b_lanes_locked", value); }
bool Cls_XML_header::Lanes_reversed() const { return Bool_Of("//b_lanes_reversed"); }
void Cls_XML_header::Lanes_reversed(bool value) { Set_Bool("//b_lanes_reversed", value); }
bool Cls_XML_header::Show_goalline() const { return Bool_Of("//b_show_goalline"); }
void Cls_XML_header::Show_goalline(bool value) { Set_Bool("//b_show_goalline", value); }
int16_t Cls_XML_header::Num_Lanes() const { return Int16_Of("//num_lanes"); }
void Cls_XML_header::Num_Lanes(int16_t value) { Set("//num_lanes", vb::CStr(value)); }
int16_t Cls_XML_header::heats_num() const { return Int16_Of("//num_heats"); }
void Cls_XML_header::heats_num(int16_t value) { Set("//num_heats", vb::CStr(value)); }
int16_t Cls_XML_header::Start_lane() const { return Int16_Of("//start_lane"); }
void Cls_XML_header::Start_lane(int16_t value) { Set("//start_lane", vb::CStr(value)); }

void Cls_XML_header::Heat_ID(int16_t heat, const std::string& value) { Set(Heat_Path(heat, "heat_ID"), value); }
std::string Cls_XML_header::Heat_ID(int16_t heat) const { return Text_Of(Heat_Path(heat, "heat_ID")); }
void Cls_XML_header::Heat_comment(int16_t heat, const std::string& value) { Set(Heat_Path(heat, "heat_comment"), value); }
std::string Cls_XML_header::Heat_comment(int16_t heat) const { return Text_Of(Heat_Path(heat, "heat_comment")); }
void Cls_XML_header::Start_local_mill(int16_t heat, int32_t value) {
    Set(Heat_Path(heat, "start_local_mill"), vb::CStr(value));
}
int32_t Cls_XML_header::Start_local_mill(int16_t heat) const { return Int32_Of(Heat_Path(heat, "start_local_mill")); }
int32_t Cls_XML_header::Start_PC_mill(int16_t heat) const { return Int32_Of(Heat_Path(heat, "start_pc_mill")); }
void Cls_XML_header::Start_PC_mill(int16_t heat, int32_t value) { Set(Heat_Path(heat, "start_pc_mill"), vb::CStr(value)); }
void Cls_XML_header::Start_HDMI_events(int16_t heat, int32_t value) {
    Set(Heat_Path(heat, "start_hdmi_events"), vb::CStr(value));
}
int32_t Cls_XML_header::Start_HDMI_events(int16_t heat) const {
    return Or_Default<int32_t>(0, [&] { return Int32_Of(Heat_Path(heat, "start_hdmi_events")); });
}
int32_t Cls_XML_header::Heat_Correction_mill(int16_t heat) const {
    return Int32_Of(Heat_Path(heat, "heat_correction_mill"));
}
void Cls_XML_header::Heat_Correction_mill(int16_t heat, int32_t value) {
    Set(Heat_Path(heat, "heat_correction_mill"), vb::CStr(value));
}

int32_t Cls_XML_header::Lane_Field_Of(int16_t heat, int16_t lane, const char* field) const {
    if (lane == Extra_Lane && Lacks_Extra_Lane(Lane_Record_Path(heat, lane), Lane_Record_Path(heat, 15))) return 0;
    return Int32_Of(Lane_Path(heat, lane, field));
}

void Cls_XML_header::Set_Lane_Field(int16_t heat, int16_t lane, const char* field, int32_t value) {
    if (lane == Extra_Lane && Lacks_Extra_Lane(Lane_Record_Path(heat, lane), Lane_Record_Path(heat, 15))) {
        xml::Node anchor = Element(Lane_Record_Path(heat, 15));
        Build_Lane_Result(lane);
        Insert_Line_After(anchor, lane_record_);
    }
    Set(Lane_Path(heat, lane, field), vb::CStr(value));
}

void Cls_XML_header::Heat_result(int16_t heat, int16_t lane, int32_t value) {
    Set_Lane_Field(heat, lane, "heat_time_mill", value);
}
int32_t Cls_XML_header::Heat_result(int16_t heat, int16_t lane) const { return Lane_Field_Of(heat, lane, "heat_time_mill"); }
void Cls_XML_header::Heat_Click_time(int16_t heat, int16_t lane, int32_t value) {
    Set_Lane_Field(heat, lane, "click_time_mill", value);
}
int32_t Cls_XML_header::Heat_Click_time(int16_t heat, int16_t lane) const {
    return Lane_Field_Of(heat, lane, "click_time_mill");
}
void Cls_XML_header::Heat_Goal_Field(int16_t heat, int16_t lane, int32_t value) {
    Set_Lane_Field(heat, lane, "goal_field", value);
}
int32_t Cls_XML_header::Heat_Goal_Field(int16_t heat, int16_t lane) const { return Lane_Field_Of(heat, lane, "goal_field"); }

void Cls_XML_header::Lane_result(int16_t, int16_t, int32_t, int32_t, int32_t) const {}

void Cls_XML_header::Vantorel_Marathon_Class_Name(int16_t class_number, const std::string& value) {
    Set(Class_Path(class_number, "class_name"), value);
}
std::string Cls_XML_header::Vantorel_Marathon_Class_Name(int16_t class_number) const {
    return Text_Of(Class_Path(class_number, "class_name"));
}
void Cls_XML_header::Vantorel_Marathon_Class_Start(int16_t class_number, const std::string& value) {
    Set(Class_Path(class_number, "class_start"), value);
}
std::string Cls_XML_header::Vantorel_Marathon_Class_Start(int16_t class_number) const {
    return Text_Of(Class_Path(class_number, "class_start"));
}
