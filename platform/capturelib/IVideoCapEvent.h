#pragma once
// The sink a library object hands its frames to.
#include <cstdint>
#include <string>

namespace capturelib {

class Capture_Library_Object;

// When a frame arrived, in the two clocks of the system.
struct Frame_arrival {
    int32_t tick = 0;        // the 32-bit millisecond tick
    int32_t local_mill = 0;  // milliseconds since local midnight
};

class IVideoCapEvent {
public:
    virtual ~IVideoCapEvent() = default;
    // A DV frame and an audio buffer: the sources here deliver neither, so nothing calls them, and a
    // sink that has no use for them keeps these.
    virtual void OnDVEvent(Capture_Library_Object* pSource, double dSampleTime, const uint8_t* pBuffer,
                           int32_t lBufferSize, int32_t DeviceNumber) {
        (void)pSource, (void)dSampleTime, (void)pBuffer, (void)lBufferSize, (void)DeviceNumber;
    }
    // One frame: a bottom-up 24-bit blue-green-red picture of the running format's size, rows padded to
    // 4 bytes, lBufferSize bytes, valid only during the call. Called on the capture worker, one frame
    // at a time and in order; dSampleTime is the frame's stream time in seconds (-1 when unknown) and
    // DeviceNumber is always 0.
    virtual void OnRGBEvent(Capture_Library_Object* pSource, double dSampleTime, const uint8_t* pBuffer,
                            int32_t lBufferSize, int32_t DeviceNumber, const Frame_arrival& arrival) = 0;
    virtual void OnaudioEvent(Capture_Library_Object* pSource, double dSampleTime, const uint8_t* pBuffer,
                              int32_t lBufferSize, int32_t DeviceNumber) {
        (void)pSource, (void)dSampleTime, (void)pBuffer, (void)lBufferSize, (void)DeviceNumber;
    }
    // The stream ended without Stop (the source went away or failed): no frame follows. Called on the
    // library's watcher thread, never during OnRGBEvent.
    virtual void OnStreamStopped(Capture_Library_Object* pSource, const std::string& reason) = 0;
};

}  // namespace capturelib
