#include "Capture_Library_Object.h"

#include "Capture_pipeline.h"
#include "Gstreamer.h"
#include "platform/vb/VbError.h"

#include <charconv>

namespace capturelib {

namespace {

constexpr size_t Max_Sources = 10;

// A whole decimal number and nothing else.
bool Parse_Number(std::string_view text, uint64_t& value) {
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

int64_t Frame_Duration(const Video_format& f) {
    return f.fps_n > 0 ? (static_cast<int64_t>(f.fps_d) * 10000000 + f.fps_n / 2) / f.fps_n : 0;
}

uint32_t Coding_Of(const Video_format& f) {
    if (f.media == "image/jpeg") return Fourcc('M', 'J', 'P', 'G');
    if (f.raw_format == "BGR") return BI_RGB;
    std::string code = (f.raw_format + "    ").substr(0, 4);
    return Fourcc(code[0], code[1], code[2], code[3]);
}

}  // namespace

Capture_Library_Object::Capture_Library_Object() : Capture_Library_Object(Current_Source_Provider()) {}

Capture_Library_Object::Capture_Library_Object(Source_provider provider) : provider_(std::move(provider)) {}

Capture_Library_Object::~Capture_Library_Object() {
    {
        std::lock_guard lock(sink_mutex_);
        sink_ = nullptr;
    }
    stream_.reset();
}

void Capture_Library_Object::Fail(const std::string& reason) const {
    {
        std::lock_guard lock(error_mutex_);
        last_error_ = reason;
    }
    vb::Raise(vb::Err_Invalid_Call, "Capture library: " + reason);
}

std::string Capture_Library_Object::Get_Last_Error() const {
    std::lock_guard lock(error_mutex_);
    return last_error_;
}

int32_t Capture_Library_Object::Advise_Sink(IVideoCapEvent* sink) {
    std::lock_guard lock(sink_mutex_);
    if (!sink) Fail("no sink given");
    if (sink_) Fail("a sink is connected already");
    sink_ = sink;
    cookie_ = next_cookie_++;
    return cookie_;
}

void Capture_Library_Object::Unadvise_Sink(int32_t cookie) {
    std::lock_guard lock(sink_mutex_);
    if (!sink_ || cookie != cookie_) Fail("no sink is connected with cookie " + std::to_string(cookie));
    sink_ = nullptr;
    cookie_ = 0;
}

int32_t Capture_Library_Object::Select_Source(const std::string& key) {
    const std::string prefix = "video:";
    uint64_t number = 0;
    if (key.compare(0, prefix.size(), prefix) != 0 || !Parse_Number(std::string_view(key).substr(prefix.size()), number) ||
        number < 1 || number > Max_Sources) {
        std::lock_guard lock(error_mutex_);
        last_error_ = "no source is called \"" + key + "\"";
        return 0;
    }
    if (!listing_ || number == 1) {
        auto listing = std::make_unique<Listing>();
        listing->sources = provider_();
        if (listing->sources.size() > Max_Sources) listing->sources.resize(Max_Sources);
        for (const Video_source& source : listing->sources) {
            listing->first_record.push_back(listing->records.size());
            for (const Video_format& f : source.formats) {
                Format_record& r = listing->records.emplace_back();
                r.info.AvgTimePerFrame = Frame_Duration(f);
                r.info.biWidth = f.width;
                r.info.biHeight = f.height;
                r.info.biCompression = Coding_Of(f);
                r.info.biSizeImage = static_cast<uint32_t>(((f.width * 3 + 3) & ~3) * f.height);
                r.media.pbFormat = &r.info;
            }
        }
        listing_ = listings_.emplace_back(std::move(listing)).get();
    }
    std::lock_guard lock(error_mutex_);
    if (number > listing_->sources.size()) {
        last_error_ = "there is no source " + key;
        return 0;
    }
    current_ = number;
    current_format_ = 0;
    last_error_.clear();
    return static_cast<int32_t>(number);
}

const Video_source& Capture_Library_Object::Current_Source() const {
    if (current_ == 0) Fail("no source is selected");
    return listing_->sources[current_ - 1];
}

const Capture_Library_Object::Format_record& Capture_Library_Object::Record(size_t source_index, size_t format) const {
    return listing_->records[listing_->first_record[source_index] + format];
}

std::string Capture_Library_Object::Address_Of(const void* record) {
    return std::to_string(reinterpret_cast<uintptr_t>(record));
}

void Capture_Library_Object::Set_Property(const std::string& name, const std::string& value) {
    if (name != "SetFormat") Fail("the property \"" + name + "\" cannot be set");
    const Video_source& source = Current_Source();
    uint64_t format = 0;
    if (!Parse_Number(value, format) || format >= source.formats.size())
        Fail("\"" + source.friendly_name + "\" has no format " + value);
    current_format_ = format;
}

std::string Capture_Library_Object::Get_Property(const std::string& name) {
    if (name == "buildNumber") {
        Ensure_Gstreamer();
        gchar* version = gst_version_string();
        std::string text = version;
        g_free(version);
        return text;
    }
    if (name == "VIDEOINFOHEADER" && stream_ && stream_->Delivering()) {
        info_addresses_.insert(reinterpret_cast<uintptr_t>(&stream_record_->info));
        return Address_Of(&stream_record_->info);
    }
    const Video_source& source = Current_Source();
    if (name == "sourceFriendlyName") return source.friendly_name;
    if (name == "sourceDescription") return source.description;
    if (name == "sourceDevicePath") return source.device_path;
    if (name == "numprops") return std::to_string(source.formats.size());
    if (name == "GetProp" || name == "VIDEOINFOHEADER" || name.compare(0, 6, "getAMT") == 0) {
        uint64_t format = current_format_;
        if (name.compare(0, 6, "getAMT") == 0 && (!Parse_Number(name.substr(6), format) || name.size() < 8))
            Fail("\"" + name + "\" names no format");
        if (format >= source.formats.size()) Fail("\"" + source.friendly_name + "\" has no format " + std::to_string(format));
        const Format_record& r = Record(current_ - 1, format);
        if (name == "VIDEOINFOHEADER") {
            info_addresses_.insert(reinterpret_cast<uintptr_t>(&r.info));
            return Address_Of(&r.info);
        }
        media_addresses_.insert(reinterpret_cast<uintptr_t>(&r.media));
        return Address_Of(&r.media);
    }
    Fail("there is no property \"" + name + "\"");
}

const AM_MEDIA_TYPE* Capture_Library_Object::Media_Type_At(const std::string& address) const {
    uint64_t value = 0;
    if (!Parse_Number(address, value) || !media_addresses_.count(value)) return nullptr;
    return reinterpret_cast<const AM_MEDIA_TYPE*>(static_cast<uintptr_t>(value));
}

const VIDEOINFOHEADER* Capture_Library_Object::Video_Info_At(const std::string& address) const {
    uint64_t value = 0;
    if (!Parse_Number(address, value) || !info_addresses_.count(value)) return nullptr;
    return reinterpret_cast<const VIDEOINFOHEADER*>(static_cast<uintptr_t>(value));
}

void Capture_Library_Object::Run() {
    const Video_source& source = Current_Source();
    std::string key = source.friendly_name + "\n" + source.device_path;
    if (stream_ && stream_->Delivering() && stream_source_key_ == key && stream_format_ == current_format_) return;
    stream_.reset();
    stream_record_ = nullptr;
    try {
        auto stream = std::make_unique<Capture_pipeline>(
            source, source.formats[current_format_],
            [this](const Delivered_frame& f) { Deliver(f.sample_time, f.bits, f.size, {f.tick, f.local_mill}); },
            [this](const std::string& reason) { Stream_Stopped(reason); });
        stream->Start();
        stream_ = std::move(stream);
    } catch (const VbError& e) {
        Fail("\"" + source.friendly_name + "\" did not start: " + e.Description());
    }
    stream_record_ = &Record(current_ - 1, current_format_);
    stream_source_key_ = key;
    stream_format_ = current_format_;
    std::lock_guard lock(error_mutex_);
    last_error_.clear();
}

void Capture_Library_Object::Stop() {
    if (Capture_pipeline::In_Delivery()) {
        Capture_pipeline::Stop_Delivering();
        return;
    }
    if (stream_) stream_->Stop();
}

void Capture_Library_Object::Deliver(double sample_time, const uint8_t* bits, int32_t size, const Frame_arrival& arrival) {
    std::lock_guard lock(sink_mutex_);
    if (sink_) sink_->OnRGBEvent(this, sample_time, bits, size, 0, arrival);
}

void Capture_Library_Object::Stream_Stopped(const std::string& reason) {
    {
        std::lock_guard lock(error_mutex_);
        last_error_ = reason;
    }
    std::lock_guard lock(sink_mutex_);
    if (sink_) sink_->OnStreamStopped(this, reason);
}

}  // namespace capturelib
