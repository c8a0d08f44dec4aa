#pragma once
// Plays a WAVE file held in memory.
#include <cstdint>
#include <span>

namespace sound {

// Whether the bytes are a RIFF WAVE file with PCM data.
bool Is_Wave(std::span<const uint8_t> wave);
// Plays the sound on the desktop's default audio output, ending the one playing before; with `wait` the
// call returns when it has ended. False when nothing was played: the bytes are no WAVE file the player
// can read, there is no application object, or there is no sound device (then at once).
bool Play_Wave(std::span<const uint8_t> wave, bool wait);

}  // namespace sound
