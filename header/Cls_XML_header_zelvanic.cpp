// The dog-race section of the header: the event and heat, goal texts, the start, time offsets and a
// box delay, device identifiers, and one record per starting box with the dog, its times, frames
// and ranks. This program builds the section only when the dog-race switches ask for it; the
// members read and write it in any header that holds it.
#include "Cls_XML_header.h"

#include "platform/vb/Vb_convert.h"

#include <QCoreApplication>

namespace {

std::string Box_Path(int16_t box, const char* element) {
    return "//box[@id='" + vb::CStr(box) + "']/" + element;
}

}  // namespace

xml::Node Cls_XML_header::Build_Zelvanic() {
    xml::Node section = doc_.Create_Element("zelvanic");
    static const std::pair<const char*, const char*> fields[] = {
        {"zelv_event", "Zelv event name"},
        {"zelv_heat_ID", "Zelv heat ID"},
        {"zelv_heat_name", "Zelv heat name"},
        {"zelv_heat_length", "000"},
        {"zelv_goal_finish", "Zelv goal finish"},
        {"zelv_goal_split", "Zelv goal split"},
        {"zelv_start_datetime", "zelv start date time"},
        {"zelv_start_local_mill", "zelv_start_local_mill"},
        {"zelv_start_PC_mill", "zelv_start_PC_mill"},
        {"zelv_goal_time_offset", "0000"},
        {"zelv_split_time_offset", "0000"},
        {"zelv_box_delay", "0000"},
        {"zelv_split_firewire_ID", "000"},
        {"zelv_goal_firewire_ID", "000"},
        {"zelv_ph_serial", "000"},
    };
    for (const auto& [name, text] : fields) {
        Add(section, name, text);
        Add_Break(section);
    }
    static const std::pair<const char*, const char*> box_fields[] = {
        {"dog_name", "dog name"},         {"dog_weight", "dog weight"},      {"dog_heat_time", "000000"},
        {"dog_heat_click_time", "000000"}, {"dog_heat_frame", "000000"},     {"dog_split_time", "000000"},
        {"dog_split_click_time", "000000"}, {"dog_split_frame", "000000"},   {"dog_heat_rank", "00"},
        {"dog_split_rank", "00"},         {"dog_dead_heat", "f"},            {"dog_heat_spare1", "00000"},
        {"dog_heat_spare2", "00000"},
    };
    for (int16_t box = 1; box <= 8; ++box) {
        xml::Node record = doc_.Create_Element("box");
        doc_.Set_Attribute(record, "id", vb::CStr(box));
        for (const auto& [name, text] : box_fields) {
            Add(record, name, text);
            Add_Break(record);
        }
        doc_.Append_Child(section, record);
        Add_Break(section);
    }
    return section;
}

// ---- the heat ----

void Cls_XML_header::Zelv_event(const std::string& value) { Set("//zelv_event", value); }
std::string Cls_XML_header::Zelv_event() const { return Text_Of("//zelv_event"); }
void Cls_XML_header::Zelv_Heat_ID(const std::string& value) { Set("//zelv_heat_ID", value); }
std::string Cls_XML_header::Zelv_Heat_ID() const { return Text_Of("//zelv_heat_ID"); }
void Cls_XML_header::Zelv_Heat_Name(const std::string& value) { Set("//zelv_heat_name", value); }
std::string Cls_XML_header::Zelv_Heat_Name() const { return Text_Of("//zelv_heat_name"); }
void Cls_XML_header::Zelv_Heat_Length(const std::string& value) { Set("//zelv_heat_length", value); }
std::string Cls_XML_header::Zelv_Heat_Length() const {
    return Or_Default<std::string>("", [&] { return Text_Of("//zelv_heat_length"); });
}
void Cls_XML_header::Zelv_Goal_Finish(const std::string& value) {
    Quietly([&] { Set("//zelv_goal_finish", value); });
}
std::string Cls_XML_header::Zelv_Goal_Finish() const { return Text_Of("//zelv_goal_finish"); }
void Cls_XML_header::Zelv_Goal_Split(const std::string& value) {
    Quietly([&] { Set("//zelv_goal_split", value); });
}
std::string Cls_XML_header::Zelv_Goal_Split() const { return Text_Of("//zelv_goal_split"); }
void Cls_XML_header::Zelv_start_DateTime(const std::string& value) { Set("//zelv_start_datetime", value); }
std::string Cls_XML_header::Zelv_start_DateTime() const { return Text_Of("//zelv_start_datetime"); }
void Cls_XML_header::Zelv_heat_start_local_mill(const std::string& value) { Set("//zelv_start_local_mill", value); }
void Cls_XML_header::Zelv_heat_start_PC_mill(const std::string& value) { Set("//zelv_start_PC_mill", value); }
std::string Cls_XML_header::Zelv_heat_start_PC_mill() const { return Text_Of("//zelv_start_PC_mill"); }

namespace {
std::string Number_Or_Zero(const std::string& text) { return vb::Is_Numeric(text) ? text : "0"; }
}  // namespace

void Cls_XML_header::Goal_Compensation(const std::string& value) { Set("//zelv_goal_time_offset", value); }
std::string Cls_XML_header::Goal_Compensation() const {
    return Or_Default<std::string>("0", [&] { return Number_Or_Zero(Text_Of("//zelv_goal_time_offset")); });
}
void Cls_XML_header::Split_Compensation(const std::string& value) { Set("//zelv_split_time_offset", value); }
std::string Cls_XML_header::Split_Compensation() const {
    return Or_Default<std::string>("0", [&] { return Number_Or_Zero(Text_Of("//zelv_split_time_offset")); });
}
std::string Cls_XML_header::Zelv_box_delay() const {
    return Or_Default<std::string>("0", [&] { return Text_Of("//zelv_box_delay"); });
}
void Cls_XML_header::Zelv_box_delay(const std::string& value) {
    Quietly([&] { Set("//zelv_box_delay", value); });
}
void Cls_XML_header::Zelv_split_firewire_ID(const std::string& value) { Set("//zelv_split_firewire_ID", value); }
void Cls_XML_header::Zelv_goal_firewire_ID(const std::string& value) { Set("//zelv_goal_firewire_ID", value); }
void Cls_XML_header::Zelv_ph_serial(const std::string& value) { Set("//zelv_ph_serial", value); }

// ---- the boxes ----

void Cls_XML_header::Zelv_Dog_name(int16_t box, const std::string& value) { Set(Box_Path(box, "dog_name"), value); }
std::string Cls_XML_header::Zelv_Dog_name(int16_t box) const { return Text_Of(Box_Path(box, "dog_name")); }

void Cls_XML_header::Zelv_Heat_time(int16_t box, bool split, int32_t value) {
    Set(Box_Path(box, split ? "dog_split_time" : "dog_heat_time"), vb::CStr(value));
}
int32_t Cls_XML_header::Zelv_Heat_time(int16_t box, bool split) const {
    return Int32_Of(Box_Path(box, split ? "dog_split_time" : "dog_heat_time"));
}
void Cls_XML_header::Zelv_Heat_Click_Time(int16_t box, int32_t value) {
    Quietly([&] { Set(Box_Path(box, "dog_heat_click_time"), vb::CStr(value)); });
}
int32_t Cls_XML_header::Zelv_Heat_Click_Time(int16_t box) const {
    return Or_Default<int32_t>(0, [&] { return Int32_Of(Box_Path(box, "dog_heat_click_time")); });
}
void Cls_XML_header::Zelv_heat_frame(int16_t box, int16_t value) { Set(Box_Path(box, "dog_heat_frame"), vb::CStr(value)); }
int16_t Cls_XML_header::Zelv_heat_frame(int16_t box) const { return Int16_Of(Box_Path(box, "dog_heat_frame")); }
void Cls_XML_header::Zelv_split_frame(int16_t box, int16_t value) { Set(Box_Path(box, "dog_split_frame"), vb::CStr(value)); }
int16_t Cls_XML_header::Zelv_split_frame(int16_t box) const { return Int16_Of(Box_Path(box, "dog_split_frame")); }

void Cls_XML_header::Zelv_dead_heat(int16_t box, bool value) {
    if (!Quietly([&] { Set_Bool(Box_Path(box, "dog_dead_heat"), value); })) QCoreApplication::processEvents();
}
bool Cls_XML_header::Zelv_dead_heat(int16_t box) const {
    return Or_Default<bool>(false, [&] { return Bool_Of(Box_Path(box, "dog_dead_heat")); });
}
