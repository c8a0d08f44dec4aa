#pragma once
// What an AVI file says about itself, read from its RIFF chunks without decoding a frame: the main
// header, the stream headers and formats, the INFO texts, and where the movie list and the index lie.
// Also names codecs by FourCC, audio formats by format tag and INFO entries by id.
//
// Every size a chunk claims is checked against the file before it is used: a chunk that runs past the
// end of the file ends the walk, and no text, palette or list is sized from a claim the file cannot hold.
#include "platform/gdi/Draw_dib.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class clsAVIInfo {
public:
    clsAVIInfo();

    bool AVI_valid() const { return avi_valid_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int16_t BitDepth() const { return has_video_ ? bit_depth_ : 0; }
    int16_t Channels() const { return has_audio_ ? channels_ : 0; }
    int32_t SamplesPerSec() const { return has_audio_ ? samples_per_sec_ : 0; }
    int32_t FrameRate() const { return has_video_ ? frame_rate_ : 0; }
    int32_t PlayLength() const { return play_length_; }
    int32_t NumFrames() const { return has_video_ ? num_frames_ : 0; }
    int16_t NumStreams() const { return num_streams_; }
    bool HasVideo() const { return has_video_; }
    bool HasAudio() const { return has_audio_; }
    std::string VideoCodec() const { return has_video_ ? video_codec_ : std::string(); }
    std::string AudioCodec() const { return has_audio_ ? audio_codec_ : std::string(); }
    int32_t NumCodecs();
    std::string AudioFormat() const { return has_audio_ ? audio_format_ : std::string(); }
    std::string Filename() const { return filename_; }
    int64_t FileSize() const { return file_size_; }
    int32_t BytePerSec() const { return has_audio_ ? byte_per_sec_ : 0; }
    int32_t IndexOffset() const { return index_offset_; }
    int32_t MovieOffset() const { return movie_offset_; }
    int32_t PadBytes() const { return pad_bytes_; }
    int32_t RIFFsize() const { return riff_size_; }
    // The stored video format; none while the file holds an interleaved DV stream.
    const gdi::Bitmap_info_header* bmi_address() const { return iavs_ ? nullptr : &video_format_; }
    bool iavs() const { return iavs_; }
    int32_t AVIINFO_addr() const { return aviinfo_addr_; }
    // The microseconds per frame of the main header read last (0 when none was read).
    int32_t Microseconds_Per_Frame() const { return microseconds_per_frame_; }

    // True when the file holds a movie list.
    bool ReadFile(const std::string& inFile);
    std::string CodecToName(const std::string& inCodec);
    std::string FormatTime(int32_t inTime);
    static std::string LongToFourCC(int32_t inLong);
    static int32_t FourCCToLong(const std::string& InString);
    // The ids of the INFO entries in order; `outArr` is left as it was when there are none.
    int32_t GetInfoList(std::vector<int32_t>& outArr) const;
    std::string QueryInfo(int32_t inInfo) const;
    std::string GetInfoName(int32_t inInfo) const;

    // Raised by ReadFile with a message on a file it cannot read.
    std::function<void(const std::string&)> ReadError;

private:
    struct Info_entry {
        int32_t id = 0;
        std::string text;
    };
    void ClearInfo();
    void Raise_Read_Error(const std::string& message);
    void MakeCodecList();
    static std::string AudiCodecFromFormat(int16_t tag);

    std::vector<std::pair<std::string, std::string>> codecs_;
    std::vector<Info_entry> info_;
    gdi::Bitmap_info_header video_format_{};
    std::vector<uint32_t> palette_;
    bool avi_valid_ = false;
    bool iavs_ = false;
    int32_t width_ = 0, height_ = 0, frame_rate_ = 0, play_length_ = 0, num_frames_ = 0;
    int16_t num_streams_ = 0;
    bool has_video_ = false, has_audio_ = false;
    std::string video_codec_, audio_codec_, audio_format_, filename_;
    int16_t bit_depth_ = 0, channels_ = 0;
    int32_t samples_per_sec_ = 0, byte_per_sec_ = 0;
    int64_t file_size_ = 0;
    int32_t index_offset_ = 0, movie_offset_ = 0, pad_bytes_ = 0, riff_size_ = 0, aviinfo_addr_ = 0;
    int32_t microseconds_per_frame_ = 0;
};
