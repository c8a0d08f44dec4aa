#pragma once
// The XML header document of one capture file. The text is UTF-8 here; the store writes it into the
// file as Windows-1252 bytes (platform/xml/Windows_1252.h), matching the declared "iso-8859-1".
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
    void Frames_no(int16_t value);
    int16_t Frames_no() const;
    void Segments_no(int16_t value);
    int16_t Segments_no() const;
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

private:
    xml::Node Element(const std::string& xpath) const;  // raises 91 when nothing is found
    std::string Text_Of(const std::string& xpath) const;
    void Set(const std::string& xpath, const std::string& text);
    int16_t Int16_Of(const std::string& xpath) const;
    int32_t Int32_Of(const std::string& xpath) const;
    bool Tf_Of(const std::string& xpath) const;  // kind "t"/"f"
    void Set_Tf(const std::string& xpath, bool value);

    xml::Node Add(xml::Node parent, const char* name, const std::string& text);
    void Add_Break(xml::Node parent);
    void Build_File_Data(xml::Node root);
    void Forget_Records();

    xml::Document doc_;
    std::string serialised_;
    std::string given_;
    xml::Node stream_record_;
    xml::Node declaration_;
    bool golfing_ = false;
    bool vantorel_ = true;
    bool zelvanic_ = false;
    bool rgb_ = false;
    bool parse_ok_ = false;
};
