#pragma once
// The records of the older DV-based capture files on disk (docs/older-capture-files.md): the 20-byte
// header of kd1 and kd2 files, the DV file header record of sdv files and of the PKHD chunk of AVI
// files, and the extra-data record that the recorder kept inside each DV frame. All little-endian.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dv {

inline constexpr int32_t Frame_Size = 144000;      // one 625-line (50-field) DV frame
inline constexpr int32_t Frame_Size_525 = 120000;  // one 525-line (60-field) DV frame
inline constexpr int32_t Max_Streams = 5;

// kd1 and kd2: the header record, the XML text from offset 20, 100 zero bytes, "hdrend" at 99999.
inline constexpr int32_t KDR_Header_Length = 20;
inline constexpr int32_t KDR_XML_Offset = KDR_Header_Length;
inline constexpr int32_t KDR_XML_Padding = 100;
inline constexpr int32_t KDR_End_Mark_Offset = 99999;
inline constexpr int32_t KDR_Data_Offset = KDR_End_Mark_Offset + 6;
// The longest header text that leaves its padding clear of the end mark.
inline constexpr int32_t KDR_XML_Capacity = KDR_End_Mark_Offset - KDR_XML_Offset - KDR_XML_Padding;

struct KDR_File_Header {
    std::array<uint8_t, 4> magic{};
    int32_t data_offset = 0;
    int32_t xml_length = 0;
};
KDR_File_Header Get_KDR_Header(std::span<const uint8_t, KDR_Header_Length> in);
void Put_KDR_Header(std::span<uint8_t, KDR_Header_Length> out, const KDR_File_Header& header);

// The DV file header record, kept whole; only these fields are read or set.
inline constexpr int32_t DV_File_Header_Length = 23356;
inline constexpr int32_t AVI_DV_Header_Data_Offset = 21974;  // what the AVI PKHD record carries

class DV_File_Header {
public:
    DV_File_Header() : bytes_(DV_File_Header_Length, 0) {}
    std::span<uint8_t> Bytes() { return bytes_; }
    std::span<const uint8_t> Bytes() const { return bytes_; }
    std::string Magic() const;
    void Magic(const std::string& four);
    int32_t Data_Offset() const { return Int32(4); }
    void Data_Offset(int32_t value) { Put32(4, value); }
    int32_t Streams() const { return Int32(28); }
    void Streams(int32_t value) { Put32(28, value); }
    int32_t Frames() const { return Int32(32); }
    void Frames(int32_t value) { Put32(32, value); }
    bool Has_Model() const { return Int16(80) == -1; }
    int16_t Selection_Start() const { return Int16(3630); }
    void Selection_Start(int16_t value) { Put16(3630, value); }
    int16_t Selection_End() const { return Int16(3632); }
    void Selection_End(int16_t value) { Put16(3632, value); }

private:
    int32_t Int32(size_t at) const;
    int16_t Int16(size_t at) const;
    void Put32(size_t at, int32_t value);
    void Put16(size_t at, int16_t value);
    std::vector<uint8_t> bytes_;
};

// The extra-data record inside a DV frame of a kd1, kd2 or sdv file, found by its marker.
inline constexpr int32_t Extra_Data_Length = 190;
inline constexpr int32_t Extra_Data_Search_End = 30000;  // the marker is looked for at offsets 0 to this
inline constexpr int32_t Extra_Data_Copy_Limit = 15000;  // a first find beyond this is copied from the next read
inline constexpr int32_t Comment_Length = 80;

struct DV_Extra_Data {
    std::array<uint8_t, Extra_Data_Length> bytes{};
    int32_t Timestamp() const { return Int32(12); }
    int32_t Capture_Mill() const { return Int32(24); }
    int32_t Old_HeatStart() const { return Int32(28); }
    int32_t Frame_Time() const { return Int32(32); }
    std::span<uint8_t, Comment_Length> Comment() { return std::span<uint8_t, Comment_Length>(bytes.data() + 82, Comment_Length); }
    int16_t Linear_Buffer() const { return Int16(164); }
    int16_t Lap_Count() const { return Int16(166); }
    int16_t Camera() const { return Int16(170); }
    int16_t Goal_Compensation() const { return Int16(172); }
    int32_t Int32(size_t at) const;
    int16_t Int16(size_t at) const;
    void Put32(size_t at, int32_t value);
};

// The trace record inside a DV frame: for ten trace channels the tracked point in each of the frame's
// two fields, X then Y, the field varying fastest.
inline constexpr int32_t Trace_Record_Offset = 48008;
inline constexpr int32_t Trace_Record_Length = 88;
inline constexpr int16_t Trace_Channels = 10;
inline constexpr int16_t Trace_Record_Length_Written = 87;

struct Trace_Record {
    std::array<uint8_t, Trace_Record_Length> bytes{};
    // Error 9 for a field other than 1 or 2 or a channel outside 1 to 10.
    int16_t X(int16_t field, int16_t channel) const;
    int16_t Y(int16_t field, int16_t channel) const;
    void X(int16_t field, int16_t channel, int16_t value);
    void Y(int16_t field, int16_t channel, int16_t value);
    int16_t Length() const { return Int16(4); }
    void Mark();  // "KDTD" and the length written
    void Clear_Points();
    int16_t Int16(size_t at) const;
};

// The offset of the first "SSCD" at offsets 0 to Extra_Data_Search_End whose whole record lies in
// `frame`; -1 when there is none.
int32_t Find_Extra_Data(std::span<const uint8_t> frame);

// The field rate a DV frame announces in its header block: 60 for a 525-line frame, 50 for a 625-line
// one; 0 when the bytes do not begin with a DV header block.
int16_t Field_Rate(std::span<const uint8_t> frame);

// A DV frame begins with the identification byte of its header block.
inline bool Is_Frame_Start(std::span<const uint8_t> frame) { return !frame.empty() && frame[0] == 0x1F; }

}  // namespace dv
