#include "Kd3_format.h"

#include <algorithm>

namespace kd3 {

namespace {

void Put_LE32(uint8_t* p, int32_t value) {
    auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

int32_t Get_LE32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

void Put_LE16(uint8_t* p, int16_t value) {
    auto v = static_cast<uint16_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

int16_t Get_LE16(const uint8_t* p) { return static_cast<int16_t>(uint16_t{p[0]} | uint16_t(p[1] << 8)); }

void Put_Text4(uint8_t* p, std::string_view text) {
    for (size_t i = 0; i < 4; ++i) p[i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
}

std::string Get_Text4(const uint8_t* p) {
    std::string text(reinterpret_cast<const char*>(p), 4);
    return text.substr(0, text.find('\0'));
}

}  // namespace

void Put_File_Header(Header_Bytes& out, std::string_view ansi_text) {
    out.fill(0);
    Put_Text4(out.data(), Magic);
    Put_LE32(out.data() + 4, Header_Length);
    Put_LE32(out.data() + 8, static_cast<int32_t>(ansi_text.size()));
    if (ansi_text.size() <= static_cast<size_t>(XML_Capacity))
        std::copy(ansi_text.begin(), ansi_text.end(), out.begin() + XML_Offset);
    Put_Text4(out.data() + End_Magic_Offset, End_Magic);
}

File_Header Get_File_Header(const Header_Bytes& in) {
    File_Header header;
    header.magic = Get_Text4(in.data());
    header.header_length = Get_LE32(in.data() + 4);
    header.xml_length = Get_LE32(in.data() + 8);
    header.end_magic = Get_Text4(in.data() + End_Magic_Offset);
    int32_t length = std::clamp(header.xml_length, 0, XML_Capacity);
    const char* text = reinterpret_cast<const char*>(in.data() + XML_Offset);
    header.ansi_text.assign(text, std::find(text, text + length, '\0'));
    return header;
}

void Put_Sample_Header(std::span<uint8_t, Sample_Header_Length> out, const Sample_Header& header) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    uint8_t* p = out.data();
    Put_Text4(p, header.start_mark);
    Put_LE32(p + 8, header.capture_mill);
    Put_LE32(p + 12, header.capture_delta);
    Put_LE32(p + 16, header.capture_local);
    Put_LE32(p + 24, header.jpeg_quality);
    Put_LE32(p + 32, header.jpeg_size);
    Put_LE32(p + 36, header.hdmi_events);
    Put_Text4(p + 40, header.mid_mark);
}

Sample_Header Get_Sample_Header(std::span<const uint8_t, Sample_Header_Length> in) {
    const uint8_t* p = in.data();
    Sample_Header header;
    header.start_mark = Get_Text4(p);
    header.capture_mill = Get_LE32(p + 8);
    header.capture_delta = Get_LE32(p + 12);
    header.capture_local = Get_LE32(p + 16);
    header.jpeg_quality = Get_LE32(p + 24);
    header.jpeg_size = Get_LE32(p + 32);
    header.hdmi_events = Get_LE32(p + 36);
    header.mid_mark = Get_Text4(p + 40);
    return header;
}

void Put_Descriptor(std::span<uint8_t, Descriptor_Length> out, const Buffer_Descriptor& descriptor) {
    Put_LE16(out.data(), descriptor.dimensions);
    Put_LE32(out.data() + 2, descriptor.count);
    Put_LE32(out.data() + 6, descriptor.lower_bound);
}

Buffer_Descriptor Get_Descriptor(std::span<const uint8_t, Descriptor_Length> in) {
    return {Get_LE16(in.data()), Get_LE32(in.data() + 2), Get_LE32(in.data() + 6)};
}

}  // namespace kd3
