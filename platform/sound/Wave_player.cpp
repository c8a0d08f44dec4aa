#include "Wave_player.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QTimer>
#include <QUrl>

#include <cstring>

namespace sound {

namespace {

// Waits at most this long for the player to have read the sound.
constexpr int Load_Timeout_Ms = 3000;

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The sound's length from its format and data chunks; 0 when they cannot be found.
int64_t Duration_Ms(std::span<const uint8_t> wave) {
    uint32_t byte_rate = 0;
    for (size_t at = 12; at + 8 <= wave.size();) {
        const uint32_t size = Le32(wave.data() + at + 4);
        if (std::memcmp(wave.data() + at, "fmt ", 4) == 0 && size >= 16 && at + 24 <= wave.size())
            byte_rate = Le32(wave.data() + at + 16);
        if (std::memcmp(wave.data() + at, "data", 4) == 0)
            return byte_rate ? static_cast<int64_t>(size) * 1000 / byte_rate : 0;
        at += 8 + static_cast<size_t>(size) + (size & 1);
    }
    return 0;
}

// The sound playing now, with the file it plays from; a new sound ends it. Both belong to the
// application, so they go when it does.
QPointer<QSoundEffect> playing;
QPointer<QTemporaryFile> playing_file;

void Stop_Playing() {
    delete playing.data();
    delete playing_file.data();
}

// Runs the application's events, but no input, until `done` or the time is up. A sound started
// meanwhile ends this one: `done` sees it gone.
template <class Signal, class Done>
void Wait_For(const QPointer<QSoundEffect>& effect, Signal signal, Done done, int64_t timeout_ms) {
    if (done()) return;
    QEventLoop loop;
    QObject::connect(effect.data(), signal, &loop, [&] {
        if (done()) loop.quit();
    });
    QObject::connect(effect.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(static_cast<int>(timeout_ms), &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

bool Is_Wave(std::span<const uint8_t> wave) {
    return wave.size() >= 44 && std::memcmp(wave.data(), "RIFF", 4) == 0 && std::memcmp(wave.data() + 8, "WAVE", 4) == 0;
}

bool Play_Wave(std::span<const uint8_t> wave, bool wait) {
    if (!Is_Wave(wave)) return false;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QMediaDevices::defaultAudioOutput().isNull()) return false;  // no sound device: silent
    Stop_Playing();

    auto* file = new QTemporaryFile(QDir::tempPath() + "/vantorel-sound-XXXXXX.wav", app);
    playing_file = file;
    const auto size = static_cast<qint64>(wave.size());
    if (!file->open() || file->write(reinterpret_cast<const char*>(wave.data()), size) != size || !file->flush()) {
        Stop_Playing();
        return false;
    }
    playing = new QSoundEffect(app);
    const QPointer<QSoundEffect> effect = playing;
    effect->setSource(QUrl::fromLocalFile(file->fileName()));
    Wait_For(effect, &QSoundEffect::statusChanged, [&effect] {
        return !effect || effect->status() == QSoundEffect::Ready || effect->status() == QSoundEffect::Error;
    }, Load_Timeout_Ms);
    if (!effect) return false;
    if (effect->status() != QSoundEffect::Ready) {
        Stop_Playing();
        return false;
    }
    effect->play();
    if (wait)
        Wait_For(effect, &QSoundEffect::playingChanged, [&effect] { return !effect || !effect->isPlaying(); },
                 Duration_Ms(wave) + Load_Timeout_Ms);
    return true;
}

}  // namespace sound
