#include "Dv_format.h"

#include "platform/vb/VbError.h"

#include <algorithm>
#include <iterator>
#include <cstring>

namespace dv {

namespace {

int32_t Get32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

int16_t Get16(const uint8_t* p) { return static_cast<int16_t>(uint16_t{p[0]} | uint16_t(p[1] << 8)); }

void Set32(uint8_t* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void Set16(uint8_t* p, int16_t value) {
    const auto v = static_cast<uint16_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

KDR_File_Header Get_KDR_Header(std::span<const uint8_t, KDR_Header_Length> in) {
    KDR_File_Header h;
    std::copy_n(in.data(), 4, h.magic.begin());
    h.data_offset = Get32(in.data() + 4);
    h.xml_length = Get32(in.data() + 12);
    return h;
}

void Put_KDR_Header(std::span<uint8_t, KDR_Header_Length> out, const KDR_File_Header& header) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    std::copy(header.magic.begin(), header.magic.end(), out.begin());
    Set32(out.data() + 4, header.data_offset);
    Set32(out.data() + 12, header.xml_length);
}

std::string DV_File_Header::Magic() const { return std::string(bytes_.begin(), bytes_.begin() + 4); }

void DV_File_Header::Magic(const std::string& four) {
    for (size_t i = 0; i < 4; ++i) bytes_[i] = i < four.size() ? static_cast<uint8_t>(four[i]) : uint8_t{' '};
}

int32_t DV_File_Header::Int32(size_t at) const { return Get32(bytes_.data() + at); }
int16_t DV_File_Header::Int16(size_t at) const { return Get16(bytes_.data() + at); }
void DV_File_Header::Put32(size_t at, int32_t value) { Set32(bytes_.data() + at, value); }
void DV_File_Header::Put16(size_t at, int16_t value) { Set16(bytes_.data() + at, value); }

int32_t DV_Extra_Data::Int32(size_t at) const { return Get32(bytes.data() + at); }
int16_t DV_Extra_Data::Int16(size_t at) const { return Get16(bytes.data() + at); }
void DV_Extra_Data::Put32(size_t at, int32_t value) { Set32(bytes.data() + at, value); }

namespace {

size_t Point_Offset(size_t base, int16_t field, int16_t channel) {
    if (field < 1 || field > 2 || channel < 1 || channel > Trace_Channels)
        vb::Raise(vb::Err_Subscript, "There is no trace point of field " + std::to_string(field) + ", channel " +
                                         std::to_string(channel) + "; fields are 1 and 2, channels 1 to 10",
                  "cls_VideoFile_handler");
    return base + 2 * static_cast<size_t>((field - 1) + 2 * (channel - 1));
}

}  // namespace

int16_t Trace_Record::Int16(size_t at) const { return Get16(bytes.data() + at); }
int16_t Trace_Record::X(int16_t field, int16_t channel) const { return Int16(Point_Offset(8, field, channel)); }
int16_t Trace_Record::Y(int16_t field, int16_t channel) const { return Int16(Point_Offset(48, field, channel)); }
void Trace_Record::X(int16_t field, int16_t channel, int16_t value) { Set16(bytes.data() + Point_Offset(8, field, channel), value); }
void Trace_Record::Y(int16_t field, int16_t channel, int16_t value) { Set16(bytes.data() + Point_Offset(48, field, channel), value); }

void Trace_Record::Mark() {
    static constexpr uint8_t id[] = {'K', 'D', 'T', 'D'};
    std::copy(std::begin(id), std::end(id), bytes.begin());
    Set16(bytes.data() + 4, Trace_Record_Length_Written);
}

void Trace_Record::Clear_Points() { std::fill(bytes.begin() + 8, bytes.end(), uint8_t{0}); }

int32_t Find_Extra_Data(std::span<const uint8_t> frame) {
    static constexpr uint8_t marker[] = {'S', 'S', 'C', 'D'};
    const size_t last = std::min<size_t>(Extra_Data_Search_End, frame.size() < Extra_Data_Length ? 0 : frame.size() - Extra_Data_Length);
    if (frame.size() < Extra_Data_Length) return -1;
    for (size_t i = 0; i <= last; ++i)
        if (std::memcmp(frame.data() + i, marker, 4) == 0) return static_cast<int32_t>(i);
    return -1;
}

int16_t Field_Rate(std::span<const uint8_t> frame) {
    // Header block: three ID bytes, then the DSF bit (set for 625 lines) at the top of byte 3.
    if (frame.size() < 4 || !Is_Frame_Start(frame)) return 0;
    return (frame[3] & 0x80) ? 50 : 60;
}

}  // namespace dv
