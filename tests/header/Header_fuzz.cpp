// libFuzzer target for the header's parse path: any text handed to XML_string Let, in memory or as
// the file's single-byte bytes, must neither crash nor leak, and a text that parsed must serialise
// to a text that parses again to the same serialisation. The same input is also given as the value
// of every text member of a header holding all sections: what it writes must parse again too.
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
    // The golf and dog-race members on whatever the text holds.
    Quietly([&] { h.Impact_field(); });
    Quietly([&] { h.Must_print(); });
    Quietly([&] { h.Has_weight_data(); });
    Quietly([&] { h.trimmed_End_Field(); });
    Quietly([&] {
        Cls_XML_header::Graph_Values v;
        h.get_Graph_object(static_cast<int16_t>(text.size() % 27), v);
    });
    Quietly([&] { h.anp_line(static_cast<int16_t>(text.size() % 152)); });
    Quietly([&] { h.Zelv_Heat_time(static_cast<int16_t>(text.size() % 10), text.size() % 2 == 0); });
    Quietly([&] { h.Zelv_heat_frame(1); });
    h.Trace_Thickness(1);
    h.Trace_Bezier(1);
    h.Goal_Compensation();
    h.Zelv_box_delay();
    h.Zelv_Heat_Click_Time(1);
    h.Zelv_dead_heat(1);
    h.Zelv_dead_heat(2, true);
    h.Grade_slice();
    h.XML_string();
}

// A header of every section, serialised once.
const std::string& Full_Header() {
    static const std::string text = [] {
        Module_Vantorel::Vantorel_Mode = Module_Vantorel::Golf_Mode = Module_Vantorel::Zelvanic_Mode = true;
        Cls_XML_header h;
        h.rgb(true);
        h.Golfing(true);
        h.Zelvanic(true);
        h.Create_Header();
        return h.XML_string();
    }();
    return text;
}

// Any text as a value: written, serialised, parsed again to the same serialisation.
void Exercise_Values(const std::string& value) {
    Cls_XML_header h;
    if (!h.XML_string(Full_Header())) std::abort();
    h.Player_name(value);
    h.Venue(value);
    h.Must_print(value);
    h.Grade_comment(value);
    h.anp_line(150, value);
    h.Zelv_Dog_name(8, value);
    h.Zelv_event(value);
    h.Goal_Compensation(value);
    h.Zelv_ph_serial(value);
    h.Event_name(value);
    std::string out = h.XML_string();
    Cls_XML_header again;
    if (!again.XML_string(out) || again.XML_string() != out) std::abort();
    Quietly([&] { again.Graph_object(1, {}); });
    again.Goal_Compensation();
    Quietly([&] { again.Zelv_Heat_time(8, true); });
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
    Exercise_Values(text);
    return 0;
}
