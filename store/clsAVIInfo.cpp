#include "clsAVIInfo.h"

#include "Binary_file.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Code_page.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace {

int32_t Get32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}
uint32_t GetU32(const uint8_t* p) { return static_cast<uint32_t>(Get32(p)); }
int16_t Get16(const uint8_t* p) { return static_cast<int16_t>(uint16_t{p[0]} | uint16_t(p[1] << 8)); }

std::string Id(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p), 4); }

std::string Two_Digits(int32_t value) {
    std::string digits = std::to_string(value < 0 ? -int64_t{value} : int64_t{value});
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    return (value < 0 ? "-" : "") + digits;
}

}  // namespace

clsAVIInfo::clsAVIInfo() { mTrace::Trace("*ClsAVIInfo Initialize"); }

void clsAVIInfo::Raise_Read_Error(const std::string& message) {
    if (ReadError) ReadError(message);
}

void clsAVIInfo::ClearInfo() {
    avi_valid_ = false;
    width_ = height_ = frame_rate_ = play_length_ = num_frames_ = 0;
    num_streams_ = 0;
    has_video_ = has_audio_ = false;
    bit_depth_ = channels_ = 0;
    samples_per_sec_ = byte_per_sec_ = 0;
    file_size_ = 0;
    index_offset_ = movie_offset_ = pad_bytes_ = 0;
    microseconds_per_frame_ = 0;
    video_codec_.clear();
    audio_codec_.clear();
    audio_format_.clear();
    filename_.clear();
    info_.clear();
}

bool clsAVIInfo::ReadFile(const std::string& inFile) {
    mTrace::Trace("*clsAVIInfo ReadFile, begin");
    bool result = false;
    const bool completed = vb::Trap_With(
        Module_Vantorel::Is_Compiled,
        [&] {
            ClearInfo();
            const int64_t length = inFile.empty() ? 0 : Non_dependant::Get_File_Size(inFile);
            if (length <= 0) {
                Raise_Read_Error("File not found or contains no data!");
                return;
            }
            Binary_file file;
            file.Open(inFile, Binary_file::Mode::read_only);
            std::array<uint8_t, 32 + 56> head{};
            const bool whole = file.Read_At(0, head) == static_cast<int64_t>(head.size());
            const uint8_t* h = head.data();
            if (!whole || Id(h) != "RIFF" || Id(h + 8) != "AVI " || Id(h + 12) != "LIST" || Id(h + 20) != "hdrl" ||
                Id(h + 24) != "avih" || Get32(h + 28) < 56) {
                Raise_Read_Error("Incorrect AVI header");
                avi_valid_ = false;
                return;
            }
            avi_valid_ = true;
            riff_size_ = Get32(h + 4);
            aviinfo_addr_ = 33;
            const uint8_t* avih = h + 32;
            const int32_t us_per_frame = Get32(avih);
            const int32_t total_frames = Get32(avih + 16);
            const int32_t streams = Get32(avih + 24);
            const int32_t buffer_size = Get32(avih + 28);

            // The chunks after the main header, walked by offset; lists are entered, the movie list is not.
            std::string stream_type;
            std::string stream_handler;
            int32_t last_audio_channels = 0, last_audio_rate = 0, last_audio_bytes = 0;
            std::vector<int64_t> info_list_ends;  // ends of the INFO lists being walked
            int64_t at = 32 + ((int64_t{Get32(h + 28)} + 1) / 2) * 2;
            while (at + 8 <= length) {
                while (!info_list_ends.empty() && at >= info_list_ends.back()) info_list_ends.pop_back();
                std::array<uint8_t, 12> chunk{};
                if (file.Read_At(at, chunk) < 8) break;
                const std::string id = Id(chunk.data());
                const uint32_t claimed = GetU32(chunk.data() + 4);
                if (claimed >= static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) - static_cast<uint32_t>(at + 1)) {
                    Raise_Read_Error("File too large to parse");
                    break;
                }
                const int64_t size = (int64_t{claimed} + 1) / 2 * 2;
                const int64_t data = at + 8;
                // A chunk that claims more than the file holds ends the walk: nothing behind it is trusted.
                if (data + int64_t{claimed} > length) break;
                // An OpenDML file's further RIFF parts ("AVIX") are not read: the first part's movie list
                // and index describe the first part's frames, and only those are offered.
                if (id == "RIFF") break;
                if (id == "LIST") {
                    if (claimed < 4) break;
                    const std::string type = Id(chunk.data() + 8);
                    if (type == "movi") {
                        movie_offset_ = static_cast<int32_t>(data);
                        at = data + size;
                        continue;
                    }
                    if (type == "INFO") info_list_ends.push_back(data + size);
                    at = data + 4;
                    continue;
                }
                if (id == "strh" && claimed >= 8) {
                    std::array<uint8_t, 8> strh{};
                    file.Read_At(data, strh);
                    stream_type = Id(strh.data());
                    stream_handler = Id(strh.data() + 4);
                } else if (id == "strf") {
                    if (stream_type == "vids" && claimed >= 40) {
                        std::array<uint8_t, 40> bmi{};
                        file.Read_At(data, bmi);
                        has_video_ = true;
                        video_codec_ = stream_handler;
                        gdi::Bitmap_info_header& f = video_format_;
                        f.biSize = GetU32(&bmi[0]);
                        f.biWidth = Get32(&bmi[4]);
                        f.biHeight = Get32(&bmi[8]);
                        f.biPlanes = static_cast<uint16_t>(Get16(&bmi[12]));
                        f.biBitCount = static_cast<uint16_t>(Get16(&bmi[14]));
                        f.biCompression = GetU32(&bmi[16]);
                        f.biSizeImage = GetU32(&bmi[20]);
                        f.biXPelsPerMeter = Get32(&bmi[24]);
                        f.biYPelsPerMeter = Get32(&bmi[28]);
                        f.biClrUsed = GetU32(&bmi[32]);
                        f.biClrImportant = GetU32(&bmi[36]);
                        if (f.biBitCount < 9) {
                            if (f.biClrUsed < 2) f.biClrUsed = 1u << f.biBitCount;
                            // The palette holds what the chunk holds, never more than 256 colours.
                            const uint32_t room = (claimed - 40) / 4;
                            const uint32_t entries = std::min({f.biClrUsed, room, 256u});
                            std::vector<uint8_t> bytes(size_t{entries} * 4);
                            file.Read_At(data + 40, bytes);
                            palette_.assign(entries, 0);
                            for (uint32_t i = 0; i < entries; ++i) palette_[i] = GetU32(&bytes[size_t{i} * 4]);
                        }
                        if (video_codec_ == std::string(4, '\0')) video_codec_ = LongToFourCC(static_cast<int32_t>(f.biCompression));
                    } else if (stream_type == "auds" && claimed >= 14) {
                        std::array<uint8_t, 16> wave{};
                        file.Read_At(data, std::span<uint8_t>(wave.data(), claimed >= 16 ? 16 : 14));
                        has_audio_ = true;
                        audio_codec_ = stream_handler;
                        last_audio_channels = Get16(&wave[2]);
                        last_audio_rate = Get32(&wave[4]);
                        last_audio_bytes = Get32(&wave[8]);
                        audio_format_ = AudiCodecFromFormat(Get16(&wave[0]));
                    }
                    if (stream_type == "iavs") {
                        iavs_ = true;
                        has_video_ = true;
                        video_codec_ = "dvsd";
                        num_frames_ = total_frames;
                        if (buffer_size == 120000 || buffer_size == 120008) {
                            width_ = 720;
                            height_ = 480;
                            frame_rate_ = 29;
                        } else if (buffer_size == 144000 || buffer_size == 144008) {
                            frame_rate_ = 25;
                            width_ = 720;
                            height_ = 576;
                        }
                    }
                } else if (id == "idx1") {
                    index_offset_ = static_cast<int32_t>(at);
                } else if (id == "JUNK" || id == "JUNQ") {
                    pad_bytes_ += static_cast<int32_t>(size);
                } else if (!info_list_ends.empty()) {
                    std::vector<uint8_t> text(static_cast<size_t>(claimed));
                    file.Read_At(data, text);
                    info_.push_back({FourCCToLong(id), Non_dependant::Byte_Array_To_String(text)});
                }
                at = data + size;
            }
            if (movie_offset_ != 0) {
                if (!iavs_) {
                    width_ = Get32(avih + 32);
                    height_ = Get32(avih + 36);
                    // A header without a frame period names no rate and no length (it would divide by zero).
                    frame_rate_ = us_per_frame > 0 ? 1000000 / us_per_frame : 0;
                    play_length_ = vb::CLng(vb::Round(us_per_frame / 1000000.0 * total_frames));
                    num_frames_ = total_frames;
                    num_streams_ = static_cast<int16_t>(std::clamp(streams, 0, 32767));
                }
                microseconds_per_frame_ = us_per_frame;
                bit_depth_ = static_cast<int16_t>(video_format_.biBitCount);
                filename_ = inFile;
                file_size_ = length;
                channels_ = static_cast<int16_t>(last_audio_channels);
                samples_per_sec_ = last_audio_rate;
                byte_per_sec_ = last_audio_bytes;
            } else {
                ClearInfo();
            }
            result = movie_offset_ != 0;
        },
        [&](const VbError& e) {
            if (e.Number() == vb::Err_Path_File_Access) ui::MsgBox("Access error!");
            else
                ui::MsgBox(e.Description() + std::to_string(e.Number()) + std::to_string(e.Line()) +
                           "ReadFile of Class Module clsAVIInfo");
        });
    if (completed) mTrace::Trace("*clsAVIInfo ReadFile, end");
    return completed && result;
}

std::string clsAVIInfo::LongToFourCC(int32_t inLong) {
    std::array<uint8_t, 4> bytes{};
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(inLong) >> (8 * i));
    // NUL bytes stay characters of the text.
    std::string text;
    for (uint8_t b : bytes) text += b < 0x80 ? std::string(1, static_cast<char>(b)) : vb::Ansi_To_Utf8({&b, 1});
    return text;
}

int32_t clsAVIInfo::FourCCToLong(const std::string& InString) {
    const std::string single = vb::Utf8_To_Ansi(InString);
    if (single.size() != 4) return 0;
    return Get32(reinterpret_cast<const uint8_t*>(single.data()));
}

int32_t clsAVIInfo::NumCodecs() {
    if (codecs_.empty()) MakeCodecList();
    return static_cast<int32_t>(codecs_.size());
}

std::string clsAVIInfo::CodecToName(const std::string& inCodec) {
    if (vb::Utf8_To_Ansi(inCodec).size() != 4) return {};
    if (codecs_.empty()) MakeCodecList();
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string wanted = lower(inCodec);
    for (const auto& [fourcc, description] : codecs_)
        if (lower(fourcc) == wanted) return description;
    return "Unknown";
}

std::string clsAVIInfo::FormatTime(int32_t inTime) {
    int32_t t = inTime;
    std::string r;
    if (t >= 86400) {
        r = std::to_string(t / 86400) + ":";
        t %= 86400;
    }
    if (t >= 3600) {
        r += (r.empty() ? std::to_string(t / 3600) : Two_Digits(t / 3600)) + ":";
        t %= 3600;
    }
    return r + Two_Digits(t / 60) + ":" + Two_Digits(t % 60);
}

int32_t clsAVIInfo::GetInfoList(std::vector<int32_t>& outArr) const {
    if (info_.empty()) return 0;
    outArr.clear();
    for (const Info_entry& e : info_) outArr.push_back(e.id);
    return static_cast<int32_t>(info_.size());
}

std::string clsAVIInfo::QueryInfo(int32_t inInfo) const {
    for (const Info_entry& e : info_)
        if (e.id == inInfo) return e.text;
    return {};
}
