#pragma once
// Shared by the capture tests: waiting for frames without blocking queued calls, and small simulated
// sources built from GStreamer descriptions.
#include "platform/capturelib/Video_source.h"

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Runs queued calls until `done` holds or 20 s have passed; the answer is `done`'s last value.
inline bool Wait_For(const std::function<bool()>& done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline capturelib::Video_format Raw(const std::string& format, int32_t width, int32_t height, int32_t fps_n,
                                    int32_t fps_d = 1) {
    return {"video/x-raw", format, width, height, fps_n, fps_d};
}

inline capturelib::Video_source Described(const std::string& name, const std::string& description,
                                          std::vector<capturelib::Video_format> formats) {
    capturelib::Video_source source;
    source.friendly_name = name;
    source.description = description;
    source.device_path = "test:" + name;
    source.formats = std::move(formats);
    source.make_element = [description] { return capturelib::Element_From_Description(description); };
    return source;
}

// Installs a simulated set of sources for the test's library objects; the machine's again afterwards.
class Simulated_sources {
public:
    explicit Simulated_sources(std::vector<capturelib::Video_source> sources) {
        capturelib::Set_Source_Provider([sources] { return sources; });
    }
    ~Simulated_sources() { capturelib::Set_Source_Provider(nullptr); }
};
