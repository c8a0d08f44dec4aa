#pragma once
// The capture library as the system calls it: sources "video:1" to "video:10", named properties,
// run and stop, the last error, and a sink that receives every frame. Methods are called on one
// thread (the user interface's); frames reach the sink on the capture worker. A failing call raises
// an error and keeps its reason for Get_Last_Error.
//
// Properties: "sourceFriendlyName", "sourceDescription", "sourceDevicePath" (texts of the current
// source); "numprops" (its number of formats, counted from 0); "getAMT" and a format number of two or
// more digits, "GetProp" (the current format) and "VIDEOINFOHEADER" (the running or current format's
// video-info block): the decimal address of the record, readable while the object lives and turned
// back into the record by Media_Type_At and Video_Info_At; "buildNumber" (the version text).
// Set_Property knows "SetFormat" with a format number.
#include "IVideoCapEvent.h"
#include "Media_type.h"
#include "Video_source.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace capturelib {

class Capture_pipeline;

class Capture_Library_Object {
public:
    // Lists from the installed source provider (Set_Source_Provider).
    Capture_Library_Object();
    explicit Capture_Library_Object(Source_provider provider);
    ~Capture_Library_Object();
    Capture_Library_Object(const Capture_Library_Object&) = delete;
    Capture_Library_Object& operator=(const Capture_Library_Object&) = delete;

    // One sink at a time; the cookie is never 0. After Unadvise_Sink returns no call reaches the sink.
    int32_t Advise_Sink(IVideoCapEvent* sink);
    void Unadvise_Sink(int32_t cookie);

    // "video:" and a number from 1: that source's number when it exists and is now current, else 0.
    // A scan that begins at "video:1" lists the sources afresh.
    int32_t Select_Source(const std::string& key);
    void Set_Property(const std::string& name, const std::string& value);
    std::string Get_Property(const std::string& name);

    // Starts delivery of the current source and format. While that same stream runs it goes on
    // untouched; a stream of another source or format is stopped first.
    void Run();
    // Stops delivery and releases the source; nothing when none runs.
    void Stop();
    std::string Get_Last_Error() const;

    const AM_MEDIA_TYPE* Media_Type_At(const std::string& address) const;
    const VIDEOINFOHEADER* Video_Info_At(const std::string& address) const;

private:
    struct Format_record {
        VIDEOINFOHEADER info;
        AM_MEDIA_TYPE media;
    };
    struct Listing {
        std::vector<Video_source> sources;
        std::deque<Format_record> records;  // per source, per format, in order
        std::vector<size_t> first_record;   // index of each source's format 0
    };

    [[noreturn]] void Fail(const std::string& reason) const;
    const Video_source& Current_Source() const;
    const Format_record& Record(size_t source_index, size_t format) const;
    std::string Address_Of(const void* record);
    void Deliver(double sample_time, const uint8_t* bits, int32_t size, const Frame_arrival& arrival);
    void Stream_Stopped(const std::string& reason);

    Source_provider provider_;
    std::vector<std::unique_ptr<Listing>> listings_;  // every listing stays, so handed-out addresses stay valid
    Listing* listing_ = nullptr;
    size_t current_ = 0;  // source number, 0 when none is current
    size_t current_format_ = 0;
    std::set<uintptr_t> media_addresses_, info_addresses_;

    std::unique_ptr<Capture_pipeline> stream_;
    const Format_record* stream_record_ = nullptr;
    std::string stream_source_key_;
    size_t stream_format_ = 0;

    mutable std::mutex error_mutex_;
    mutable std::string last_error_;

    std::recursive_mutex sink_mutex_;  // held while a call reaches the sink
    IVideoCapEvent* sink_ = nullptr;
    int32_t cookie_ = 0;
    int32_t next_cookie_ = 1;
};

}  // namespace capturelib
