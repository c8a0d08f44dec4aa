#pragma once
// The race results XML document of one export: built in memory, filled from the open heat and its
// result rows, saved as UTF-8. Heats and results are kept by their id, never looked up by an XPath
// built from data, so any character in an id is safe.
#include "platform/xml/Xml_document.h"

#include <map>
#include <string>

class Class_Vantorel_result_XML {
public:
    Class_Vantorel_result_XML() { Initialize_DOM(); }

    // A new document: declaration, race, raceinfo with its default texts, heats and results.
    void Initialize_DOM();
    void XML_Filename(const std::string& path) { XML_Filename_ = path; }
    // Saves the document; an error names the failure and nothing is left half written.
    void Serialize() const;

    void Capture_Host(const std::string& text) { capturehost.Set_Text(text); }
    void Video_Initiated(const std::string& text) { videofile_initiated_at.Set_Text(text); }
    void Heat_Started(const std::string& text) { heat_started_at.Set_Text(text); }
    void Last_Capture(const std::string& text) { last_capture_at.Set_Text(text); }
    void Backoffice_Host(const std::string& text) { backofficehost.Set_Text(text); }
    void RaceType(const std::string& text) { racetype.Set_Text(text); }
    void lastFile(const std::string& text) { lastfile.Set_Text(text); }
    void EventName(const std::string& text) { event.Set_Text(text); }

    // A heat element, unless one with this id exists.
    void Create_Heat_node(const std::string& id, const std::string& name, const std::string& start_time);
    // A result element, unless one with this id exists.
    void Create_Result_Node(const std::string& id);
    // A competitor under the result of `heat_id` (error 91 when there is none); empty values other
    // than the elapsed time are left out.
    void Create_Competitor_Node(const std::string& heat_id, const std::string& competitor,
                                const std::string& elapsed_time, const std::string& delta_time,
                                const std::string& place, const std::string& video_file,
                                const std::string& video_frame);
    // A comment after the root element.
    void Set_Comment(const std::string& text);

    const xml::Document& Document() const { return doc_; }

private:
    xml::Node Line_Break() { return doc_.Create_Text_Node("\r\n"); }
    xml::Node Element(xml::Node parent, const char* name, const std::string& text);

    xml::Document doc_;
    std::string XML_Filename_;
    xml::Node heats, results;
    xml::Node videofile_initiated_at, heat_started_at, last_capture_at, lastfile, event, racetype,
        capturehost, backofficehost;
    std::map<std::string, xml::Node> heat_by_id_, result_by_id_;
};
