#include "platform/sound/Wave_player.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

void Put_32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A short 8 kHz, 8-bit mono PCM tone.
std::vector<uint8_t> Tone(uint32_t samples) {
    std::vector<uint8_t> wave;
    auto text = [&](const char* t) { wave.insert(wave.end(), t, t + 4); };
    text("RIFF");
    Put_32(wave, 36 + samples);
    text("WAVE");
    text("fmt ");
    Put_32(wave, 16);
    Put_32(wave, 1 | 1 << 16);  // PCM, one channel
    Put_32(wave, 8000);
    Put_32(wave, 8000);
    Put_32(wave, 1 | 8 << 16);  // block of one byte, 8 bits
    text("data");
    Put_32(wave, samples);
    for (uint32_t i = 0; i < samples; ++i) wave.push_back(i % 16 < 8 ? 96 : 160);
    return wave;
}

TEST(Wave_player, A_wave_plays_on_the_sound_device_and_answers_false_at_once_without_one) {
    const bool device = !QMediaDevices::defaultAudioOutput().isNull();
    const std::vector<uint8_t> tone = Tone(400);  // 50 ms
    EXPECT_TRUE(sound::Is_Wave(tone));
    EXPECT_EQ(sound::Play_Wave(tone, true), device);
    EXPECT_EQ(sound::Play_Wave(tone, false), device);
    EXPECT_EQ(sound::Play_Wave(tone, false), device);  // ends the one before
    // The form of a wave with nothing the player can read.
    std::vector<uint8_t> hollow(tone.begin(), tone.begin() + 12);
    hollow.resize(64, 0xFF);
    EXPECT_FALSE(sound::Play_Wave(hollow, true));
    EXPECT_FALSE(sound::Play_Wave(std::vector<uint8_t>(tone.begin(), tone.begin() + 20), true));
}

}  // namespace
