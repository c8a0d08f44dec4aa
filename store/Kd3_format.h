#pragma once
// The kd3 capture file on disk: the 32016-byte header record and the equal-length frame records
// behind it, read and written field by field in little-endian order (docs/kd3-file-format.md).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kd3 {

inline constexpr int32_t Header_Length = 32016;
inline constexpr int32_t XML_Capacity = 32000;
inline constexpr int32_t XML_Offset = 12;
inline constexpr int32_t End_Magic_Offset = XML_Offset + XML_Capacity;
inline constexpr int64_t First_Record = Header_Length;  // offset of frame record 1
static_assert(End_Magic_Offset + 4 == Header_Length);

inline constexpr int32_t Sample_Header_Length = 44;
inline constexpr int32_t Descriptor_Length = 10;
inline constexpr int32_t Buffer_Offset = Sample_Header_Length + Descriptor_Length;
inline constexpr int32_t End_Mark_Length = 4;
// A record is this many bytes longer than its JPEG buffer.
inline constexpr int32_t Record_Overhead = Buffer_Offset + End_Mark_Length;
static_assert(Buffer_Offset == 54 && Record_Overhead == 58);

inline constexpr std::string_view Magic = "KDR3";
inline constexpr std::string_view End_Magic = "KDRX";
inline constexpr std::string_view Start_Mark = "RGBS";
inline constexpr std::string_view Mid_Mark = "RGBE";
inline constexpr std::string_view End_Mark = "RGBF";

using Header_Bytes = std::array<uint8_t, Header_Length>;

// The record for a header text already in its single-byte form. A text longer than the record holds
// leaves the text area zero (the caller refuses such a text before it gets here).
void Put_File_Header(Header_Bytes& out, std::string_view ansi_text);

struct File_Header {
    std::string magic;
    int32_t header_length = 0;
    int32_t xml_length = 0;
    std::string end_magic;
    // The text bytes as stored: at most `xml_length` of them, at most the capacity, up to the first zero.
    std::string ansi_text;
};
File_Header Get_File_Header(const Header_Bytes& in);

// Bytes 0 to 43 of a frame record; the reserved words are written as zero and not read.
struct Sample_Header {
    std::string start_mark = std::string(Start_Mark);
    int32_t capture_mill = 0;
    int32_t capture_delta = 0;
    int32_t capture_local = 0;
    int32_t jpeg_quality = 0;
    int32_t jpeg_size = 0;
    int32_t hdmi_events = 0;
    std::string mid_mark = std::string(Mid_Mark);
};
void Put_Sample_Header(std::span<uint8_t, Sample_Header_Length> out, const Sample_Header& header);
Sample_Header Get_Sample_Header(std::span<const uint8_t, Sample_Header_Length> in);

// How a byte array is stored inside a record: one dimension, its element count and lower bound.
struct Buffer_Descriptor {
    int16_t dimensions = 1;
    int32_t count = 0;
    int32_t lower_bound = 1;
};
void Put_Descriptor(std::span<uint8_t, Descriptor_Length> out, const Buffer_Descriptor& descriptor);
Buffer_Descriptor Get_Descriptor(std::span<const uint8_t, Descriptor_Length> in);

// The length of a record whose JPEG buffer holds `buffer_size` bytes.
constexpr int64_t Record_Length(int32_t buffer_size) { return int64_t{buffer_size} + Record_Overhead; }

// Offset of record `frame` (from 1) in a file of records of `record_length` bytes.
constexpr int64_t Record_Offset(int32_t frame, int64_t record_length) {
    return First_Record + int64_t{frame - 1} * record_length;
}

}  // namespace kd3
