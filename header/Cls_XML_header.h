#pragma once
// The XML header document of one capture file. The text is UTF-8 here; the store writes it into the
// file as Windows-1252 bytes (platform/vb/Code_page.h), matching the declared "iso-8859-1".
//
// Every element accessor finds its element by XPath on each call. A Get is `Name(args)`, a Let is
// `Name(args, value)`. A missing element raises 91, a text that is no number 13, a number out of
// the member's range 6, unless the member says it has a default.
#include "platform/xml/Xml_document.h"

#include <cstdint>
#include <string>

class Cls_XML_header {
public:
    Cls_XML_header();
    ~Cls_XML_header();  // traces "Cls_XML_header_Terminate"
    Cls_XML_header(const Cls_XML_header&) = delete;
    Cls_XML_header& operator=(const Cls_XML_header&) = delete;

    // Section switches for the next Create_Header.
    void Golfing(bool value) { golfing_ = value; }
    void Vantorel(bool value) { vantorel_ = value; }
    void Zelvanic(bool value) { zelvanic_ = value; }
    void rgb(bool value) { rgb_ = value; }

    // The document serialised again.
    std::string XML_string();
    // Keeps the text and parses it into the document (an empty document when it does not parse).
    // True when it parsed, so that a caller never writes a header from an empty document.
    bool XML_string(const std::string& text);
    int32_t Len_XML();
    // Characters of the text last serialised; raises 6 above 32767.
    int16_t XML_len() const;
    void Create_Header();
    void DOM_serialize();
    std::string Get_DOM_string() const;
    bool Parse_OK() const { return parse_ok_; }

    bool is_Vantorel() const;
    bool is_Golf() const;
    bool is_Equestrian() const;

    static std::string Bool_to_XML_string(bool value);
    static bool XML_string_to_Bool(const std::string& text);

    // Saves the document ("" = the program's folder and "xmldump.xml") and says where.
    void Dump_XML_to_File(std::string path);

    // ---- file_data ----
    void Update_Time(const std::string& value);
    std::string Update_Time() const;
    void Update_Program(const std::string& value);
    int16_t Streams_no() const;
    void Streams_no(int16_t value);
    void Insert_Specapp();
    void SpecApp(const std::string& value);
    std::string SpecApp() const;  // "None" for an empty text and on any failure
    std::string Comp_Name() const;
    std::string Comp_CaptureInfo() const;  // "Unknown Capture Info!" on any failure
    void Comp_CaptureInfo(const std::string& value);
    std::string Comp_CPUInfo() const;     // "Not known!" on any failure
    std::string Comp_CPUbitness() const;  // "Not known!" on any failure
    std::string Comp_OSbitness() const;   // "Not known!" on any failure
    std::string Phidget_serial() const;   // "Not known!" on any failure
    std::string prog_id() const;
    void Timing_Bias(const std::string& value);
    std::string Timing_Bias() const;  // "0" on any failure
    std::string Prog_Major() const;
    std::string Prog_Minor() const;
    std::string Prog_Revision() const;
    std::string OS_version() const;  // "" on any failure
    std::string Creation_date() const;
    void Creation_date(const std::string& value);
    std::string Hdr_spare1() const;
    void Hdr_spare1(const std::string& value);
    // The creation date when the element is missing.
    std::string Last_Capture_time() const;
    void Last_Capture_time(const std::string& value);
    void Frames_no(int32_t value);
    int32_t Frames_no() const;
    void Segments_no(int32_t value);
    int32_t Segments_no() const;
    void File_comment1(const std::string& value);
    std::string File_comment1() const;
    void comment(int16_t number, const std::string& value);
    std::string comment(int16_t number) const;  // "" on any failure
    void Subject_name(const std::string& value);
    std::string Subject_name() const;  // "" on any failure

    // ---- stream_header records, by stream number ----
    void Build_Stream_Header(int16_t stream);
    void Camera_pos(int16_t stream, const std::string& value);
    std::string Camera_pos(int16_t stream) const;
    // Side "t", "b", "l" or "r"; any other side is an empty expression, which the document refuses.
    int16_t Selection_Rectangle(int16_t stream, const std::string& side) const;
    void Selection_Rectangle(int16_t stream, const std::string& side, int16_t value);
    void Let_Selection_rectangle(int16_t stream, const std::string& side, int16_t value);
    void Stream_Active(int16_t stream, bool value);
    bool Stream_Active(int16_t stream) const;
    bool Stream_rotated(int16_t stream) const;
    void Stream_rotated(int16_t stream, bool value);
    int16_t Stream_CameraPos(int16_t stream) const;  // the leading number of the text
    void Stream_CameraPos(int16_t stream, int16_t value);
    void Selection_start(int16_t stream, int32_t value);
    int32_t Selection_start(int16_t stream) const;  // 0 on any failure
    void Selection_end(int16_t stream, int32_t value);
    int32_t Selection_end(int16_t stream) const;  // 0 on any failure
    int16_t model_size_factor(int16_t stream) const;
    void model_size_factor(int16_t stream, int16_t value);
    void Model_FileName(int16_t stream, const std::string& value);
    std::string Model_FileName(int16_t stream) const;
    int16_t model_X_offset(int16_t stream) const;
    void model_X_offset(int16_t stream, int16_t value);
    int16_t model_Y_offset(int16_t stream) const;
    void model_Y_offset(int16_t stream, int16_t value);
    int16_t Offset_fields(int16_t stream) const;
    void Offset_fields(int16_t stream, int16_t value);
    void Camera_ID(int16_t stream, const std::string& value);
    std::string Camera_ID(int16_t stream) const;  // "" for a stream outside 1 to 3

    // ---- RGB_data ----
    void RGB_X(int16_t value);
    int16_t RGB_X() const;
    void RGB_Y(int16_t value);
    int16_t RGB_Y() const;
    int32_t RGB_Image_Size() const;
    void RGB_Image_Size(int32_t value);
    void RGB_Compressed_max_Size(int32_t value);
    int32_t RGB_Compressed_max_Size() const;
    int32_t RGB_Compressed_buffer_Size() const;
    void RGB_Compressed_buffer_Size(int32_t value);
    int32_t RGB_Compressed_min_Size() const;
    void RGB_Compressed_min_Size(int32_t value);
    std::string RGB_Max_Seen_size() const;
    void RGB_Max_Seen_size(const std::string& value);
    std::string RGB_Comp_Threshold() const;
    void RGB_Comp_Threshold(const std::string& value);
    int16_t JPG_Reduced_Qual_num() const;
    void JPG_Reduced_Qual_num(int16_t value);
    int32_t RGB_Sample_Size() const;
    void RGB_Sample_Size(int32_t value);
    std::string RGB_fourcc() const;
    void RGB_fourcc(const std::string& value);
    std::string RGB_fps() const;
    void RGB_fps(const std::string& value);
    std::string RGB_JPEG_Codec() const;  // "unknown" on any failure
    void RGB_JPEG_Codec(const std::string& value);
    std::string RGB_JPEG_Quality() const;  // "0000" on any failure
    void RGB_JPEG_Quality(const std::string& value);
    bool RGB_interlaced() const;  // "True"/"False"
    void RGB_interlaced(bool value);
    void RGB_preview_on(bool value);  // "True"/"False"
    bool RGB_preview_on() const;
    void RGB_Rotated(bool value);  // "t"/"f"
    bool RGB_Rotated() const;

    // ---- vantorel: the course ----
    // Lanes are 0 to 15, and 16 as well: a course of sixteen lanes numbered from 1 needs it. Its
    // mark and its lane records are added to a header the first time they are written; a header
    // without them (any older file) reads them as 0, like a lane never given anything.
    static constexpr int16_t Extra_Lane = 16;
    // Reads the four ends in order as 16-bit numbers, each stored before the next is read.
    void Get_Goalline(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) const;
    void Set_Goalline(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Lane_pos(int16_t lane, int32_t x, int32_t y);
    int32_t Lane_pos_X(int16_t lane) const;
    int32_t Lane_pos_Y(int16_t lane) const;
    std::string Event_name() const;  // the event_name of the vantorel section
    void Event_name(const std::string& value);  // the first event_name of the document
    bool Lanes_Visible() const;  // true on any failure
    void Lanes_Visible(bool value);
    bool Lanes_flipped() const;
    void Lanes_flipped(bool value);
    bool Lanes_locked() const;
    void Lanes_locked(bool value);
    bool Lanes_reversed() const;
    void Lanes_reversed(bool value);
    bool Show_goalline() const;
    void Show_goalline(bool value);
    int16_t Num_Lanes() const;
    void Num_Lanes(int16_t value);
    int16_t heats_num() const;
    void heats_num(int16_t value);
    int16_t Start_lane() const;
    void Start_lane(int16_t value);

    // ---- vantorel: heat records, by heat number ----
    void Build_Heat_Data(int16_t heat);
    void Build_Lane_Result(int16_t lane);
    void Heat_ID(int16_t heat, const std::string& value);
    std::string Heat_ID(int16_t heat) const;
    void Heat_comment(int16_t heat, const std::string& value);  // the first heat_comment
    std::string Heat_comment(int16_t heat) const;
    void Start_local_mill(int16_t heat, int32_t value);
    int32_t Start_local_mill(int16_t heat) const;
    int32_t Start_PC_mill(int16_t heat) const;
    void Start_PC_mill(int16_t heat, int32_t value);
    void Start_HDMI_events(int16_t heat, int32_t value);
    int32_t Start_HDMI_events(int16_t heat) const;  // 0 on any failure
    int32_t Heat_Correction_mill(int16_t heat) const;
    void Heat_Correction_mill(int16_t heat, int32_t value);
    // Lane results: milliseconds since the start or a result code; the click tick; the goal field.
    void Heat_result(int16_t heat, int16_t lane, int32_t value);
    int32_t Heat_result(int16_t heat, int16_t lane) const;
    void Heat_Click_time(int16_t heat, int16_t lane, int32_t value);
    int32_t Heat_Click_time(int16_t heat, int16_t lane) const;
    void Heat_Goal_Field(int16_t heat, int16_t lane, int32_t value);
    int32_t Heat_Goal_Field(int16_t heat, int16_t lane) const;
    // Changes nothing: the three values go through Heat_result, Heat_Click_time and Heat_Goal_Field.
    void Lane_result(int16_t heat, int16_t lane, int32_t result, int32_t click_time, int32_t goal_field) const;
    void Vantorel_Marathon_Class_Name(int16_t class_number, const std::string& value);
    std::string Vantorel_Marathon_Class_Name(int16_t class_number) const;
    void Vantorel_Marathon_Class_Start(int16_t class_number, const std::string& value);
    std::string Vantorel_Marathon_Class_Start(int16_t class_number) const;

    // ---- golf: swing analysis ----
    // The values of one drawing object, in the order its elements are written.
    struct Graph_Values {
        int16_t obj_type = 0;
        int16_t layer = 0;
        int32_t color = 0;
        int16_t linetype = 0;
        int16_t linewidth = 0;
        bool filled = false;
        int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
    };
    void Create_Grade_Record();
    void Build_Graph_Object(int16_t number);
    // Ten trace records in a `traces` element that no section holds.
    void Create_Traces_Record();
    void Create_Trace(int16_t number);
    std::string Player_name() const;
    void Player_name(const std::string& value);
    std::string Player_Comment() const;
    void Player_Comment(const std::string& value);
    void Venue(const std::string& value);
    std::string Venue() const;
    // These three read 0 or "" unless the document came from a text that parsed.
    void Impact_field(int16_t value);
    int16_t Impact_field() const;
    void Top_field(int16_t value);
    int16_t Top_field() const;
    void Must_print(const std::string& value);
    std::string Must_print() const;
    bool Has_weight_data() const;  // "True"/"False"
    void Has_weight_data(bool value);
    void trimmed_Start_Field(int16_t value);
    int16_t trimmed_Start_Field() const;
    void trimmed_End_Field(int16_t value);
    int16_t trimmed_End_Field() const;
    std::string Trace_Name(int16_t trace) const;  // "" on any failure
    void Trace_Name(int16_t trace, const std::string& value);
    std::string Trace_Color(int16_t trace) const;  // "" on any failure
    void Trace_Color(int16_t trace, const std::string& value);  // nothing when the trace is missing
    bool Trace_Bezier(int16_t trace) const;  // "True"/"False"; false on any failure
    void Trace_Bezier(int16_t trace, bool value);
    int16_t Trace_Thickness(int16_t trace) const;  // 0 on any failure
    void Trace_Thickness(int16_t trace, int16_t value);  // nothing when the trace is missing
    void Graded_at(const std::string& value);
    std::string Graded_at() const;
    void Graded_active(bool value);  // "True"/"False"
    bool Graded_active() const;
    void Grade_slice(const std::string& value);
    std::string Grade_slice() const;  // "" on any failure
    void Grade_direction(const std::string& value);
    std::string Grade_direction() const;  // "" on any failure
    void Grade_top(const std::string& value);
    std::string Grade_top() const;
    void Grade_toe(const std::string& value);
    std::string Grade_toe() const;
    void Grade_club(const std::string& value);
    std::string Grade_club() const;
    void Grade_comment(const std::string& value);
    std::string Grade_comment() const;
    // Writes, then reads, the elements in their order; the first that fails stops it, the ones
    // before it done.
    void Graph_object(int16_t number, const Graph_Values& values);
    void get_Graph_object(int16_t number, Graph_Values& values) const;
    void anp_filename(const std::string& value);
    std::string anp_filename() const;
    void anp_numlines(int16_t value);
    int16_t anp_numlines() const;
    void anp_line(int16_t line, const std::string& value);
    std::string anp_line(int16_t line) const;

    // ---- zelvanic: dog races, eight starting boxes ----
    // Every value of the section is text; only the box members convert numbers.
    void Zelv_event(const std::string& value);
    std::string Zelv_event() const;
    void Zelv_Heat_ID(const std::string& value);
    std::string Zelv_Heat_ID() const;
    void Zelv_Heat_Name(const std::string& value);
    std::string Zelv_Heat_Name() const;
    void Zelv_Heat_Length(const std::string& value);
    std::string Zelv_Heat_Length() const;  // "" on any failure
    void Zelv_Goal_Finish(const std::string& value);  // nothing when the element is missing
    std::string Zelv_Goal_Finish() const;
    void Zelv_Goal_Split(const std::string& value);  // nothing when the element is missing
    std::string Zelv_Goal_Split() const;
    void Zelv_start_DateTime(const std::string& value);
    std::string Zelv_start_DateTime() const;
    void Zelv_heat_start_local_mill(const std::string& value);
    void Zelv_heat_start_PC_mill(const std::string& value);
    std::string Zelv_heat_start_PC_mill() const;
    // The offsets read "0" when missing or not a number, else their text unchanged.
    void Goal_Compensation(const std::string& value);
    std::string Goal_Compensation() const;
    void Split_Compensation(const std::string& value);
    std::string Split_Compensation() const;
    std::string Zelv_box_delay() const;  // "0" on any failure
    void Zelv_box_delay(const std::string& value);  // nothing when the element is missing
    void Zelv_split_firewire_ID(const std::string& value);
    void Zelv_goal_firewire_ID(const std::string& value);
    void Zelv_ph_serial(const std::string& value);
    void Zelv_Dog_name(int16_t box, const std::string& value);
    std::string Zelv_Dog_name(int16_t box) const;
    // The split time with `split`, else the heat time.
    void Zelv_Heat_time(int16_t box, bool split, int32_t value);
    int32_t Zelv_Heat_time(int16_t box, bool split) const;
    void Zelv_Heat_Click_Time(int16_t box, int32_t value);  // nothing when the box is missing
    int32_t Zelv_Heat_Click_Time(int16_t box) const;        // 0 on any failure
    void Zelv_heat_frame(int16_t box, int16_t value);
    int16_t Zelv_heat_frame(int16_t box) const;
    void Zelv_split_frame(int16_t box, int16_t value);
    int16_t Zelv_split_frame(int16_t box) const;
    // "True"/"False"; the Get is false on any failure, the Let lets waiting events run when it cannot write.
    void Zelv_dead_heat(int16_t box, bool value);
    bool Zelv_dead_heat(int16_t box) const;

private:
    // A Get with a default answers it whatever fails: the lookup or the conversion.
    template <class T, class Body>
    static T Or_Default(T fallback, Body&& body) {
        try {
            return body();
        } catch (...) {
            return fallback;
        }
    }
    // A Let marked as ignored writes nothing and says nothing when it cannot write.
    template <class Body>
    static bool Quietly(Body&& body) {
        try {
            body();
            return true;
        } catch (...) {
            return false;
        }
    }
    // The error location of a member.
    static std::string Where(const char* procedure);

    xml::Node Element(const std::string& xpath) const;  // raises 91 when nothing is found
    std::string Text_Of(const std::string& xpath) const;
    void Set(const std::string& xpath, const std::string& text);
    int16_t Int16_Of(const std::string& xpath) const;
    int32_t Int32_Of(const std::string& xpath) const;
    bool Tf_Of(const std::string& xpath) const;  // kind "t"/"f"
    void Set_Tf(const std::string& xpath, bool value);
    bool Bool_Of(const std::string& xpath) const;  // kind "True"/"False"
    void Set_Bool(const std::string& xpath, bool value);
    bool Lacks_Extra_Lane(const std::string& path, const std::string& lane_15_path) const;
    int32_t Lane_Mark_Of(int16_t lane, const char* axis) const;
    int32_t Lane_Field_Of(int16_t heat, int16_t lane, const char* field) const;
    void Set_Lane_Field(int16_t heat, int16_t lane, const char* field, int32_t value);
    void Insert_Line_After(xml::Node anchor, xml::Node element);

    xml::Node Add(xml::Node parent, const char* name, const std::string& text);
    void Add_Break(xml::Node parent);
    void Build_File_Data(xml::Node root);
    xml::Node Build_RGB_Data();
    xml::Node Build_Vantorel();
    xml::Node Build_Golf();
    xml::Node Build_Zelvanic();
    void Forget_Records();

    xml::Document doc_;
    std::string serialised_;
    std::string given_;
    xml::Node stream_record_;
    xml::Node heat_record_;
    xml::Node lane_record_;
    xml::Node grade_record_;
    xml::Node graph_object_;
    xml::Node traces_record_;
    xml::Node trace_record_;
    xml::Node declaration_;
    bool golfing_ = false;
    bool vantorel_ = true;
    bool zelvanic_ = false;
    bool rgb_ = false;
    bool parse_ok_ = false;
};
