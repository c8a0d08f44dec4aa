// libFuzzer target for the header's parse path: any text handed to XML_string Let, in memory or as
// the file's single-byte bytes, must neither crash nor leak, and a text that parsed must serialise
// to a text that parses again to the same serialisation.
#include "header/Cls_XML_header.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Code_page.h"
#include "shell/Module_Vantorel.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The file's single-byte header text back to the text in memory.
inline std::string Bytes_To_Text(const std::string& bytes) {
    return vb::Ansi_To_Utf8({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

template <class Body>
void Quietly(Body&& body) {
    try {
        body();
    } catch (const VbError&) {
    }
}

void Exercise(const std::string& text) {
    Cls_XML_header h;
    bool parsed = h.XML_string(text);
    std::string out = h.XML_string();
    if (parsed) {
        Cls_XML_header again;
        if (!again.XML_string(out) || again.XML_string() != out) std::abort();
    } else if (!out.empty()) {
        std::abort();
    }
    Quietly([&] { h.XML_len(); });
    Quietly([&] { h.Frames_no(); });
    Quietly([&] { h.Last_Capture_time(); });
    Quietly([&] { h.Stream_CameraPos(1); });
    Quietly([&] { h.Selection_Rectangle(2, "t"); });
    Quietly([&] { h.File_comment1("<&\"\xC3\xA5"); });
    h.Comp_CPUInfo();
    h.Selection_start(1);
    h.SpecApp();
    Quietly([&] { h.Insert_Specapp(); });
    h.XML_string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        Module_Vantorel::Is_Compiled = true;  // no message boxes
        vb::Set_Error_Reporter([](const std::string&, int32_t, int32_t, const std::string&, const std::string&) {});
        return true;
    }();
    (void)quiet;
    std::string text(reinterpret_cast<const char*>(data), size);
    Exercise(text);
    Exercise(Bytes_To_Text(text));
    return 0;
}
