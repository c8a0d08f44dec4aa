#pragma once
// Plays a WAVE file held in memory.
#include <cstdint>
#include <span>

namespace sound {

// Whether the bytes are a RIFF WAVE file with PCM data.
bool Is_Wave(std::span<const uint8_t> wave);
// Plays the sound; with `wait` the call returns when it has ended. False when nothing was played: the
// bytes are no WAVE file, or there is no sound device (this build has no sound output: always silent).
bool Play_Wave(std::span<const uint8_t> wave, bool wait);

}  // namespace sound
