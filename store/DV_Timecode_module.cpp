#include "DV_Timecode_module.h"

#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "shell/Module_dependant.h"

#include <cmath>

namespace DV_Timecode_module {

namespace {

constexpr int32_t Block = 80;
constexpr int32_t Packs_Per_VAUX_Block = 15;
constexpr int32_t Sync_Blocks_Per_Subcode_Block = 6;
const char* const No_Information = "No information";

struct Values {
    int16_t field_rate = 0;
    int16_t wide_screen = 0;
    bool date_known = false;
    int16_t year = 0, month = 0, day = 0;
    bool time_known = false;
    int16_t hours = 0, minutes = 0, seconds = 0;
    bool iris_known = true;
    double f_number = 0;
    std::string ae_mode;
    bool agc_known = true;
    int16_t agc = 0;
    std::string wb_mode, wb;
    int16_t focal_length = 0, zoom = 0;
    bool shutter_known = false;  // set by a shutter pack with a speed
    double shutter = 0;
    bool timecode_found = false;
    bool timecode_known = false;
    int32_t tc_hours = 0, tc_minutes = 0, tc_seconds = 0;
    int16_t tc_frames = 0;
};

Values values;

// A two-digit BCD field: the tens under `tens_mask`, the units in the low nibble; -1 when a digit is
// not a decimal digit.
int32_t Bcd(uint8_t byte, uint8_t tens_mask) {
    const int32_t units = byte & 0x0F;
    if (units > 9) return -1;
    return 10 * ((byte & tens_mask) >> 4) + units;
}

bool In(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

std::string AE_Mode(int32_t mode) {
    switch (mode) {
    case 0: return "Fully automatic";
    case 1: return "Gain priority";
    case 2: return "Shutter priority";
    case 3: return "Iris priority";
    case 4: return "Manual";
    default: return No_Information;
    }
}

std::string WB_Mode(int32_t mode) {
    switch (mode) {
    case 0: return "auto";
    case 1: return "Hold";
    case 2: return "One Push";
    case 3: return "Preset";
    case 7: return "No Information";
    default: return "Invalid";
    }
}

std::string White_Balance(int32_t wb) {
    switch (wb) {
    case 0: return "Candle";
    case 1: return "Incandescent lamp";
    case 2: return "Incandescent lamp (low temperature)";
    case 3: return "Incandescent lamp (high temperature)";
    case 4: return "Sunlight";
    case 5: return "Cloudiness";
    case 6: return "Others";
    default: return No_Information;
    }
}

std::string Two(int32_t value) { return vb::Format(value, "00"); }

void VAUX_Pack(std::span<const uint8_t> frame, const uint8_t* pack) {
    const uint8_t pc1 = pack[1], pc2 = pack[2], pc3 = pack[3], pc4 = pack[4];
    Values& v = values;
    switch (pack[0]) {
    case 0x60:
        v.field_rate = (pc3 & 0x20) ? 50 : 60;
        break;
    case 0x61:
        v.wide_screen = static_cast<int16_t>(pc2 & 5);
        break;
    case 0x62: {
        const int32_t day = Bcd(pc2, 0x30), month = Bcd(pc3, 0x10), year = Bcd(pc4, 0xF0);
        v.date_known = In(day, 1, 31) && In(month, 1, 12) && In(year, 0, 99);
        v.day = static_cast<int16_t>(v.date_known ? day : 0);
        v.month = static_cast<int16_t>(v.date_known ? month : 0);
        v.year = static_cast<int16_t>(!v.date_known ? 0 : year > 39 ? 1900 + year : 2000 + year);
        break;
    }
    case 0x63: {
        const int32_t seconds = Bcd(pc2, 0x70), minutes = Bcd(pc3, 0x70), hours = Bcd(pc4, 0x30);
        v.time_known = In(hours, 0, 23) && In(minutes, 0, 59) && In(seconds, 0, 59);
        v.hours = static_cast<int16_t>(v.time_known ? hours : 0);
        v.minutes = static_cast<int16_t>(v.time_known ? minutes : 0);
        v.seconds = static_cast<int16_t>(v.time_known ? seconds : 0);
        break;
    }
    case 0x70: {
        // Iris codes above 0x3C stand for "under F1.0", "closed" and "no information".
        const int32_t iris = pc1 & 0x3F;
        v.iris_known = iris <= 0x3C;
        v.f_number = v.iris_known ? std::floor(std::pow(2.0, iris / 8.0) * 10 + 0.5) / 10 : 0;
        v.ae_mode = AE_Mode(pc2 >> 4);
        v.agc = static_cast<int16_t>(pc2 & 0x0F);
        v.agc_known = v.agc != 0x0F;
        v.wb_mode = WB_Mode(pc3 >> 5);
        v.wb = White_Balance(pc3 & 0x1F);
        break;
    }
    case 0x71:
        if (pc3 != 255) v.focal_length = pc3;
        if (pc4 != 255) v.zoom = static_cast<int16_t>((pc4 & 0x70) >> 4);
        break;
    case 0x7F: {
        // The shutter speed sits at two fixed bytes of the header blocks, whichever pack carried the type.
        if (frame.size() < 258) break;
        const int32_t raw = 256 * (frame[257] & 0x7F) + frame[256];
        v.shutter_known = raw != 0 && raw != 0x7FFF;
        v.shutter = v.shutter_known ? vb::Round(15000.0 / raw) : 0;
        break;
    }
    default:
        break;
    }
}

void Subcode_Pack(const uint8_t* pack) {
    Values& v = values;
    if (pack[0] != 0x13 || v.timecode_found) return;
    v.timecode_found = true;
    const int32_t frames = Bcd(pack[1], 0x30), seconds = Bcd(pack[2], 0x70), minutes = Bcd(pack[3], 0x70),
                  hours = Bcd(pack[4], 0x30);
    const int32_t last_frame = v.field_rate == 60 ? 29 : 24;
    v.timecode_known = In(hours, 0, 23) && In(minutes, 0, 59) && In(seconds, 0, 59) && In(frames, 0, last_frame);
    if (!v.timecode_known) return;
    v.tc_hours = hours;
    v.tc_minutes = minutes;
    v.tc_seconds = seconds;
    v.tc_frames = static_cast<int16_t>(frames);
}

}  // namespace

void DV_Header_Parse(std::span<const uint8_t> frame) {
    values = Values{};
    if (frame.empty()) return;
    Module_dependant::Check_DV_Header(frame);
    if (frame.size() < static_cast<size_t>(Header_Blocks_Length)) return;
    for (int32_t block = 3; block <= 5; ++block)
        for (int32_t pack = 0; pack < Packs_Per_VAUX_Block; ++pack)
            VAUX_Pack(frame, frame.data() + block * Block + 3 + 5 * pack);
    // The time code is taken after the source pack, whose field rate bounds its frame digits.
    for (int32_t block = 1; block <= 2; ++block)
        for (int32_t sync = 0; sync < Sync_Blocks_Per_Subcode_Block; ++sync)
            Subcode_Pack(frame.data() + block * Block + 3 + 8 * sync + 3);
}

int16_t DV_Field_Rate() { return values.field_rate; }
bool DV_Wide_Screen() { return values.wide_screen != 0; }
int16_t DV_Rec_Hours() { return values.time_known ? values.hours : int16_t{-1}; }
int16_t DV_Rec_Minutes() { return values.time_known ? values.minutes : int16_t{-1}; }
bool DV_Rec_Date_Known() { return values.date_known; }
bool DV_Timecode_Known() { return values.timecode_known; }

int32_t DV_Timecode_Frame_Number() {
    const Values& v = values;
    if (!v.timecode_known) return 0;
    return ((v.tc_hours * 60 + v.tc_minutes) * 60 + v.tc_seconds) * 25 + v.tc_frames;
}

std::string DV_Rec_Date_Text() {
    const Values& v = values;
    const std::string date =
        v.date_known ? std::to_string(v.year) + "-" + Two(v.month) + "-" + Two(v.day) : std::string(No_Information);
    const std::string time =
        v.time_known ? Two(v.hours) + ":" + Two(v.minutes) + ":" + Two(v.seconds) : std::string(No_Information);
    return date + " " + time;
}

std::string DV_Timecode_Text() {
    const Values& v = values;
    if (!v.timecode_known) return No_Information;
    return Two(v.tc_hours) + ":" + Two(v.tc_minutes) + ":" + Two(v.tc_seconds) + " frame: " + std::to_string(v.tc_frames);
}

std::string DV_Shutter_Text() {
    return values.shutter_known ? "1/" + vb::CStr(values.shutter) : std::string(No_Information);
}

std::string DV_White_Balance_Text() { return "Wb mode = " + values.wb_mode + " ,Wb = " + values.wb; }
std::string DV_Iris_Text() {
    return values.iris_known ? vb::CStr(values.f_number) : std::string(No_Information);
}
std::string DV_AE_Mode_Text() { return values.ae_mode; }
std::string DV_AGC_Text() { return values.agc_known ? std::to_string(values.agc) : std::string(No_Information); }
std::string DV_Focal_Length_Text() { return values.focal_length <= 0 ? "No info" : std::to_string(values.focal_length); }
std::string DV_Zoom_Text() { return values.zoom <= 0 ? "No info" : std::to_string(values.zoom); }

std::string Details_Text() {
    const std::string br = "\r\n";
    return br + "Rec. date " + DV_Rec_Date_Text() + br + "Timecode: " + DV_Timecode_Text() + br + "Shutterspeed " +
           DV_Shutter_Text() + br + DV_White_Balance_Text() + br + "Iris = " + DV_Iris_Text() + br + "AE mode = " +
           DV_AE_Mode_Text() + br + "AGC = " + DV_AGC_Text() + br + "Focal length = " + DV_Focal_Length_Text() + br +
           "Zoom = " + DV_Zoom_Text();
}

}  // namespace DV_Timecode_module
