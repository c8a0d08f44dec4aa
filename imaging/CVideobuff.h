#pragma once
// One frame of 625-line DV video with its frame ID, time stamp and model frame number, copied in and
// out by address. The caller guarantees that an address holds a whole frame.
#include <array>
#include <cstdint>

class CVideobuff {
public:
    static constexpr int32_t Frame_Size = 144000;

    void FillData(const void* source);
    // Every byte 23, which no valid frame begins with.
    void FillBuffer();
    // A DV frame begins with its header block's identification byte 0x1F.
    bool Buffer_valid() const { return frame_[0] == 0x1F; }
    void ID(int16_t value) { id_ = value; }
    int16_t ID() const { return id_; }
    void GetData(void* destination) const;
    uint8_t* GetVideoAdress() { return frame_.data(); }
    void PutTimestamp(int32_t value) { timestamp_ = value; }
    int32_t Get_Timestamp() const { return timestamp_; }
    void model_Frame(int32_t value) { model_frame_ = value; }
    int32_t Get_model_frame() const { return model_frame_; }

private:
    std::array<uint8_t, Frame_Size> frame_{};
    int32_t model_frame_ = 0;
    int32_t timestamp_ = 0;
    int16_t id_ = 0;
};
