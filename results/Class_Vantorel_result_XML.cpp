#include "Class_Vantorel_result_XML.h"

#include "shell/Non_dependant.h"
#include "platform/vb/VbError.h"

xml::Node Class_Vantorel_result_XML::Element(xml::Node parent, const char* name, const std::string& text) {
    xml::Node element = doc_.Create_Element(name);
    element.Set_Text(text);
    doc_.Append_Child(parent, element);
    return element;
}

void Class_Vantorel_result_XML::Initialize_DOM() {
    doc_.Clear();
    heat_by_id_.clear();
    result_by_id_.clear();
    doc_.Append_Child(doc_.Document_Node(),
                      doc_.Create_Processing_Instruction("xml", "version=\"1.0\" encoding=\"utf-8\""));
    xml::Node race = doc_.Create_Element("race");
    doc_.Append_Child(doc_.Document_Node(), race);
    xml::Node raceinfo = Element(race, "raceinfo", "");
    const std::string now = Non_dependant::Now_Text();
    doc_.Append_Child(raceinfo, Line_Break());
    Element(raceinfo, "initiated_at", now);
    doc_.Append_Child(raceinfo, Line_Break());
    videofile_initiated_at = Element(raceinfo, "videofile_initiated_at", now);
    doc_.Append_Child(raceinfo, Line_Break());
    heat_started_at = Element(raceinfo, "heat_started_at", now);
    doc_.Append_Child(raceinfo, Line_Break());
    last_capture_at = Element(raceinfo, "last_capture_at", now);
    doc_.Append_Child(raceinfo, Line_Break());
    doc_.Append_Child(raceinfo, Line_Break());
    lastfile = Element(raceinfo, "lastfile", "false");
    event = Element(raceinfo, "event", " ");
    doc_.Append_Child(raceinfo, Line_Break());
    racetype = Element(raceinfo, "racetype", " ");
    capturehost = Element(raceinfo, "capturehost", " ");
    backofficehost = Element(raceinfo, "backofficehost", " ");
    doc_.Append_Child(raceinfo, Line_Break());
    heats = Element(race, "heats", "");
    doc_.Append_Child(race, Line_Break());
    results = Element(race, "results", "");
}

void Class_Vantorel_result_XML::Serialize() const { doc_.Save(XML_Filename_); }

void Class_Vantorel_result_XML::Create_Heat_node(const std::string& id, const std::string& name,
                                                 const std::string& start_time) {
    if (heat_by_id_.contains(id)) return;
    xml::Node heat = doc_.Create_Element("heat");
    doc_.Set_Attribute(heat, "id", id);
    doc_.Set_Attribute(heat, "name", name);
    doc_.Set_Attribute(heat, "start_time", start_time);
    doc_.Append_Child(heats, heat);
    doc_.Append_Child(heats, Line_Break());
    heat_by_id_.emplace(id, heat);
}

void Class_Vantorel_result_XML::Create_Result_Node(const std::string& id) {
    if (result_by_id_.contains(id)) return;
    xml::Node result = doc_.Create_Element("result");
    doc_.Set_Attribute(result, "id", id);
    doc_.Append_Child(results, result);
    result_by_id_.emplace(id, result);
}

void Class_Vantorel_result_XML::Create_Competitor_Node(const std::string& heat_id, const std::string& competitor,
                                                       const std::string& elapsed_time, const std::string& delta_time,
                                                       const std::string& place, const std::string& video_file,
                                                       const std::string& video_frame) {
    auto result = result_by_id_.find(heat_id);
    if (result == result_by_id_.end()) vb::Raise(vb::Err_Object_Not_Set, "No result element for heat " + heat_id);
    xml::Node node = doc_.Create_Element("competitor");
    doc_.Set_Attribute(node, "nbr", competitor);
    Element(node, "elapsed_time", elapsed_time);
    for (const auto& [name, value] : {std::pair{"delta_time", &delta_time}, {"place", &place},
                                      {"video_file", &video_file}, {"video_frame", &video_frame}})
        if (!value->empty()) Element(node, name, *value);
    doc_.Append_Child(result->second, Line_Break());
    doc_.Append_Child(result->second, node);
}

void Class_Vantorel_result_XML::Set_Comment(const std::string& text) {
    doc_.Append_Child(doc_.Document_Node(), doc_.Create_Comment(text));
}
