// The golf section of the header: the player, the swing's grade, the impact and top fields, the
// trimmed range, an animation script of 150 lines and 25 drawing objects; and the trace records,
// which no section holds. This program builds the section only when the golf switches ask for it;
// the members read and write it in any header that holds it.
#include "Cls_XML_header.h"

#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"

namespace {

std::string Graph_Path(int16_t number, const char* element) {
    return "//graph_object[@id='" + vb::CStr(number) + "']/" + element;
}

std::string Trace_Path(int16_t number, const char* element) {
    return "//trace[@id='" + vb::CStr(number) + "']/" + element;
}

std::string Anp_Line_Path(int16_t line) { return "//anp_line[@id='" + vb::CStr(line) + "']"; }

// The drawing object's flag: "f" is false; any other text converts as a truth text.
bool Filled_Of(const std::string& text) { return text == "f" ? false : vb::CBool(text); }

}  // namespace

xml::Node Cls_XML_header::Build_Golf() {
    xml::Node section = doc_.Create_Element("golf");
    Add_Break(section);
    for (const char* name : {"player_name", "venue_name", "player_comment"}) {
        Add(section, name, "xxx");
        Add_Break(section);
    }
    Create_Grade_Record();
    doc_.Append_Child(section, grade_record_);
    Add_Break(section);
    static const std::pair<const char*, const char*> rows[] = {
        {"impact_field", "000"},    {"must_print", "0,1,2,3,4,5"},   {"top_field", "000"},
        {"b_has_weightdata", "f"}, {"trimmed_start_field", "000"}, {"trimmed_end_field", "000"},
    };
    for (const auto& [name, text] : rows) {
        Add(section, name, text);
        Add_Break(section);
    }
    Add_Break(section);
    Add_Break(section);
    xml::Node animated = doc_.Create_Element("animated_file");
    Add(animated, "anp_file_name", "000");
    Add(animated, "anp_file_lines", "000");
    for (int16_t line = 1; line <= 150; ++line) {
        xml::Node e = Add(animated, "anp_line", "");
        doc_.Set_Attribute(e, "id", vb::CStr(line));
    }
    doc_.Append_Child(section, animated);
    xml::Node objects = doc_.Create_Element("graph_objects");
    for (int16_t number = 1; number <= 25; ++number) {
        Build_Graph_Object(number);
        doc_.Append_Child(objects, graph_object_);
    }
    doc_.Append_Child(section, objects);
    return section;
}

void Cls_XML_header::Create_Grade_Record() {
    vb::Trap(Module_Vantorel::Is_Compiled, Where("Create_Grade_Record"), [&] {
        grade_record_ = doc_.Create_Element("grade_record");
        Add(grade_record_, "b_grade_active", "f");
        Add_Break(grade_record_);
        Add(grade_record_, "graded_at", " ");
        static const std::pair<const char*, const char*> rows[] = {
            {"slice_grade", "99"}, {"direction_grade", "99"}, {"top_grade", "99"},
            {"toe_grade", "99"},   {"club_used", "xx"},       {"grade_comment", "xxx"},
        };
        for (const auto& [name, text] : rows) {
            Add(grade_record_, name, text);
            Add_Break(grade_record_);
        }
    });
}

void Cls_XML_header::Build_Graph_Object(int16_t number) {
    graph_object_ = doc_.Create_Element("graph_object");
    doc_.Set_Attribute(graph_object_, "id", vb::CStr(number));
    Add_Break(graph_object_);
    static const std::pair<const char*, const char*> rows[] = {
        {"obj_type", "000"}, {"layer", "0"},    {"filled", "f"},    {"color", "00000"}, {"linetype", "0"},
        {"linewidth", "0"},  {"x1", "000"},     {"y1", "000"},      {"x2", "000"},      {"y2", "000"},
        {"x3", "000"},       {"y3", "000"},     {"x4", "000"},      {"y4", "000"},      {"x5", "000"},
        {"y5", "000"},       {"x6", "000"},     {"y6", "000"},      {"spare1", "000"},  {"spare2", "000"},
    };
    for (const auto& [name, text] : rows) {
        Add(graph_object_, name, text);
        Add_Break(graph_object_);
    }
}

void Cls_XML_header::Create_Traces_Record() {
    vb::Trap(Module_Vantorel::Is_Compiled, Where("Create_Traces_Record"), [&] {
        traces_record_ = doc_.Create_Element("traces");
        Add(traces_record_, "num_traces", "10");
        Add_Break(traces_record_);
        for (int16_t number = 1; number <= 10; ++number) {
            Create_Trace(number);
            doc_.Append_Child(traces_record_, trace_record_);
            Add_Break(traces_record_);
        }
    });
}

void Cls_XML_header::Create_Trace(int16_t number) {
    trace_record_ = doc_.Create_Element("trace");
    doc_.Set_Attribute(trace_record_, "id", vb::CStr(number));
    Add_Break(trace_record_);
    static const std::pair<const char*, const char*> rows[] = {
        {"trace_active", "f"},  {"trace_length", "000"}, {"trace_color", "0"},
        {"trace_bezier", "f"},  {"trace_thickness", "1"}, {"trace_name", "noname"},
    };
    for (const auto& [name, text] : rows) {
        Add(trace_record_, name, text);
        Add_Break(trace_record_);
    }
}

// ---- the player and the swing ----

std::string Cls_XML_header::Player_name() const { return Text_Of("//player_name"); }
void Cls_XML_header::Player_name(const std::string& value) { Set("//player_name", value); }
std::string Cls_XML_header::Player_Comment() const { return Text_Of("//player_comment"); }
void Cls_XML_header::Player_Comment(const std::string& value) { Set("//player_comment", value); }
void Cls_XML_header::Venue(const std::string& value) { Set("//venue_name", value); }
std::string Cls_XML_header::Venue() const { return Text_Of("//venue_name"); }

void Cls_XML_header::Impact_field(int16_t value) { Set("//golf/impact_field", vb::CStr(value)); }
int16_t Cls_XML_header::Impact_field() const { return parse_ok_ ? Int16_Of("//golf/impact_field") : int16_t{0}; }
void Cls_XML_header::Top_field(int16_t value) { Set("//golf/top_field", vb::CStr(value)); }
int16_t Cls_XML_header::Top_field() const { return parse_ok_ ? Int16_Of("//golf/top_field") : int16_t{0}; }
void Cls_XML_header::Must_print(const std::string& value) { Set("//golf/must_print", value); }
std::string Cls_XML_header::Must_print() const { return parse_ok_ ? Text_Of("//golf/must_print") : std::string(); }
bool Cls_XML_header::Has_weight_data() const { return Bool_Of("//b_has_weightdata"); }
void Cls_XML_header::Has_weight_data(bool value) { Set_Bool("//b_has_weightdata", value); }
void Cls_XML_header::trimmed_Start_Field(int16_t value) { Set("//golf/trimmed_start_field", vb::CStr(value)); }
int16_t Cls_XML_header::trimmed_Start_Field() const { return Int16_Of("//golf/trimmed_start_field"); }
void Cls_XML_header::trimmed_End_Field(int16_t value) { Set("//golf/trimmed_end_field", vb::CStr(value)); }
int16_t Cls_XML_header::trimmed_End_Field() const { return Int16_Of("//golf/trimmed_end_field"); }

// ---- traces ----

std::string Cls_XML_header::Trace_Name(int16_t trace) const {
    return Or_Default<std::string>("", [&] { return Text_Of(Trace_Path(trace, "trace_name")); });
}
void Cls_XML_header::Trace_Name(int16_t trace, const std::string& value) { Set(Trace_Path(trace, "trace_name"), value); }
std::string Cls_XML_header::Trace_Color(int16_t trace) const {
    return Or_Default<std::string>("", [&] { return Text_Of(Trace_Path(trace, "trace_color")); });
}
void Cls_XML_header::Trace_Color(int16_t trace, const std::string& value) {
    Quietly([&] { Set(Trace_Path(trace, "trace_color"), value); });
}
bool Cls_XML_header::Trace_Bezier(int16_t trace) const {
    return Or_Default<bool>(false, [&] { return Bool_Of(Trace_Path(trace, "trace_bezier")); });
}
void Cls_XML_header::Trace_Bezier(int16_t trace, bool value) { Set_Bool(Trace_Path(trace, "trace_bezier"), value); }
int16_t Cls_XML_header::Trace_Thickness(int16_t trace) const {
    return Or_Default<int16_t>(0, [&] { return Int16_Of(Trace_Path(trace, "trace_thickness")); });
}
void Cls_XML_header::Trace_Thickness(int16_t trace, int16_t value) {
    Quietly([&] { Set(Trace_Path(trace, "trace_thickness"), vb::CStr(value)); });
}

// ---- the grade record ----

void Cls_XML_header::Graded_at(const std::string& value) { Set("//graded_at", value); }
std::string Cls_XML_header::Graded_at() const { return Text_Of("//graded_at"); }
void Cls_XML_header::Graded_active(bool value) { Set_Bool("//b_grade_active", value); }
bool Cls_XML_header::Graded_active() const { return Bool_Of("//b_grade_active"); }
void Cls_XML_header::Grade_slice(const std::string& value) { Set("//slice_grade", value); }
std::string Cls_XML_header::Grade_slice() const {
    return Or_Default<std::string>("", [&] { return Text_Of("//slice_grade"); });
}
void Cls_XML_header::Grade_direction(const std::string& value) { Set("//direction_grade", value); }
std::string Cls_XML_header::Grade_direction() const {
    return Or_Default<std::string>("", [&] { return Text_Of("//direction_grade"); });
}
void Cls_XML_header::Grade_top(const std::string& value) { Set("//top_grade", value); }
std::string Cls_XML_header::Grade_top() const { return Text_Of("//top_grade"); }
void Cls_XML_header::Grade_toe(const std::string& value) { Set("//toe_grade", value); }
std::string Cls_XML_header::Grade_toe() const { return Text_Of("//toe_grade"); }
void Cls_XML_header::Grade_club(const std::string& value) { Set("//club_used", value); }
std::string Cls_XML_header::Grade_club() const { return Text_Of("//club_used"); }
void Cls_XML_header::Grade_comment(const std::string& value) { Set("//grade_comment", value); }
std::string Cls_XML_header::Grade_comment() const { return Text_Of("//grade_comment"); }

// ---- drawing objects ----

void Cls_XML_header::Graph_object(int16_t number, const Graph_Values& v) {
    Set(Graph_Path(number, "obj_type"), vb::CStr(v.obj_type));
    Set(Graph_Path(number, "layer"), vb::CStr(v.layer));
    Set_Bool(Graph_Path(number, "filled"), v.filled);
    Set(Graph_Path(number, "color"), vb::CStr(v.color));
    Set(Graph_Path(number, "linetype"), vb::CStr(v.linetype));
    Set(Graph_Path(number, "linewidth"), vb::CStr(v.linewidth));
    const std::pair<const char*, int16_t> corners[] = {{"x1", v.x1}, {"y1", v.y1}, {"x2", v.x2}, {"y2", v.y2},
                                                       {"x3", v.x3}, {"y3", v.y3}, {"x4", v.x4}, {"y4", v.y4}};
    for (const auto& [name, value] : corners) Set(Graph_Path(number, name), vb::CStr(value));
}

void Cls_XML_header::get_Graph_object(int16_t number, Graph_Values& v) const {
    v.obj_type = Int16_Of(Graph_Path(number, "obj_type"));
    v.layer = Int16_Of(Graph_Path(number, "layer"));
    v.filled = Filled_Of(Text_Of(Graph_Path(number, "filled")));
    v.color = Int32_Of(Graph_Path(number, "color"));
    v.linetype = Int16_Of(Graph_Path(number, "linetype"));
    v.linewidth = Int16_Of(Graph_Path(number, "linewidth"));
    const std::pair<const char*, int16_t*> corners[] = {{"x1", &v.x1}, {"y1", &v.y1}, {"x2", &v.x2}, {"y2", &v.y2},
                                                        {"x3", &v.x3}, {"y3", &v.y3}, {"x4", &v.x4}, {"y4", &v.y4}};
    for (const auto& [name, value] : corners) *value = Int16_Of(Graph_Path(number, name));
}

// ---- the animation script ----

void Cls_XML_header::anp_filename(const std::string& value) { Set("//anp_file_name", value); }
std::string Cls_XML_header::anp_filename() const { return Text_Of("//anp_file_name"); }
void Cls_XML_header::anp_numlines(int16_t value) { Set("//anp_file_lines", vb::CStr(value)); }
int16_t Cls_XML_header::anp_numlines() const { return Int16_Of("//anp_file_lines"); }
void Cls_XML_header::anp_line(int16_t line, const std::string& value) { Set(Anp_Line_Path(line), value); }
std::string Cls_XML_header::anp_line(int16_t line) const { return Text_Of(Anp_Line_Path(line)); }
