#include "Results_export.h"

#include "Class_Vantorel_result_XML.h"
#include "Module_Vantorel_export.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "store/cls_VideoFile_handler.h"
#include "platform/fs/File_system.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Code_page.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "platform/xml/Xml_document.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace Results_export {

using namespace Module_Vantorel;

namespace {

std::string Trim(std::string_view text, bool left_only) {
    size_t from = text.find_first_not_of(' ');
    if (from == std::string_view::npos) return {};
    size_t to = left_only ? text.size() : text.find_last_not_of(' ') + 1;
    return std::string(text.substr(from, to - from));
}

// Eight characters from the second on, as far as the text goes.
std::string Cut(const std::string& time_text) { return time_text.size() > 1 ? time_text.substr(1, 8) : std::string(); }

// A value never carries the separator into the line.
std::string Field(std::string value) {
    for (char& c : value)
        if (c == ';') c = ',';
    return value;
}

// The read-only attribute: no one may write the file, whoever runs the program.
bool Write_Protected(const std::string& path) {
    struct stat st {};
    return fs::File_Exists(path) && ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

// Whether the export at `path` was written for another capture file than the one `h` describes: both
// kinds carry the capture file's creation and its heat start, the XML document its heat ID as well.
// One that tells none of them is another's.
bool For_Another_Capture(const std::string& path, const Heat_header& h, bool xml) {
    std::ifstream in(path, std::ios::binary);
    if (xml) {
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        xml::Document document;
        if (document.Load_Xml(text).Error_Code != 0) return true;
        const auto value = [&](const char* xpath) {
            const xml::Node node = document.Select_Single_Node(xpath);
            return node ? node.Text() : std::string();
        };
        return value("//videofile_initiated_at") != h.Created || value("//heat_started_at") != h.Heat_start ||
               value("//heats/heat/@id") != h.Heat_ID;
    }
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> fields =
        vb::Split(vb::Ansi_To_Utf8({reinterpret_cast<const uint8_t*>(line.data()), line.size()}), ";");
    return fields.size() < 4 || fields[2] != Field(h.Created) || fields[3] != Field(h.Heat_start);
}

// An export of another capture file under the same name (a heat number the file name lacks, one heat
// ID for two files) is replaced only when the operator says so.
bool Replace_Allowed(const std::string& path, const Heat_header& h, bool xml) {
    if (!fs::File_Exists(path) || !For_Another_Capture(path, h, xml)) return true;
    return ui::MsgBox(path + "\r\nholds the results of another capture file. Replace it?",
                      ui::vbYesNo + ui::vbQuestion + ui::vbDefaultButton2, "Export") == ui::vbYes;
}

}  // namespace

std::optional<Result_Row> Place_Row(int16_t place, int32_t correction) {
    if (place < 1 || place > Result_Places) return std::nullopt;
    const Lane_Heat_Result& r = Lane_Active_Heat_Array[place];
    if (r.Heat_result >= No_Result) return std::nullopt;
    Result_Row row{std::to_string(place), std::to_string(r.Lane), "", ""};
    if (r.Heat_result < 10000000) {
        const int32_t winner = Lane_Active_Heat_Array[1].Heat_result;
        row.Time = Non_dependant::Display_Mill_Time(vb::To_Int32(int64_t{r.Heat_result} - correction), false);
        row.Delta = "+" + Non_dependant::Display_Mill_Time(vb::To_Int32(int64_t{r.Heat_result} - winner), true);
    } else if (r.Heat_result == Disqualified) {
        row.Time = "DSQ";
    } else if (r.Heat_result == Did_Not_Start) {
        row.Time = "DNS";
    } else if (r.Heat_result == Did_Not_Finish) {
        row.Time = "DNF";
    }
    return row;
}

std::vector<Result_Row> Export_Rows(const std::vector<Result_Row>& shown, int32_t correction) {
    std::vector<Result_Row> rows;
    for (const Result_Row& row : shown) {
        if (row.Place.empty()) return rows;
        rows.push_back(row);
    }
    if (rows.size() < static_cast<size_t>(Shown_Rows)) return rows;
    for (auto place = static_cast<int16_t>(rows.size() + 1); place <= Result_Places; ++place) {
        std::optional<Result_Row> row = Place_Row(place, correction);
        if (!row) break;
        rows.push_back(*row);
    }
    return rows;
}

std::string Created_Text(std::string_view creation_date) {
    const bool two_digit_year = creation_date.size() >= 3 && std::isdigit(static_cast<unsigned char>(creation_date[0])) &&
                                std::isdigit(static_cast<unsigned char>(creation_date[1])) && creation_date[2] == '-';
    return (two_digit_year ? "20" : "") + std::string(creation_date);
}

std::string Clock_Text(int32_t mill) { return Cut(Non_dependant::Display_Mill_Time(mill, false)); }

std::string Last_Capture_Text(std::string_view last_capture) {
    // A heat never captured has no time; the export goes on without one.
    if (!vb::Is_Numeric(last_capture)) return {};
    try {
        return Clock_Text(vb::CLng(last_capture));
    } catch (const VbError&) {
        return {};
    }
}

std::string Safe_File_Name(std::string name) { return fs::Portable_File_Name(std::move(name), "-,"); }

Heat_header Read_Header(cls_VideoFile_handler& file, const std::string& heat_label, const std::string& start_time_caption,
                        bool for_xml) {
    Heat_header h;
    h.Event_name = file.Event_name();
    h.Heat = heat_label;
    h.Created = Created_Text(file.Creation_date());
    h.Heat_start = Clock_Text(file.Start_local_Mill_Time(1));
    h.Last_capture = Last_Capture_Text(file.Last_Capture_time());
    h.Export_computer = Non_dependant::Get_Computer_Name();
    if (!for_xml) return h;
    h.Capture_computer = file.Computer_name();
    h.Heat_ID = file.Heat_ID(1);
    h.Heat_comment = file.Heat_comment(1);
    h.Start_time = Trim(start_time_caption, false);
    h.File_name = file.File_name();
    return h;
}

std::string Heat_Result_CSV(const Heat_header& header, const std::vector<Result_Row>& rows) {
    std::string text = Field(header.Event_name) + ";" + Field(header.Heat) + ";" + Field(header.Created) + ";" +
                       Field(header.Heat_start) + ";" + Field(header.Last_capture) + ";" +
                       Field(header.Export_computer) + "\r\n";
    for (const Result_Row& row : rows) {
        text += Field(row.Place) + ";" + Field(row.Lane) + ";" + Field(Trim(row.Time, true));
        if (!row.Delta.empty()) text += ";" + Field(row.Delta);
        text += "\r\n";
    }
    return text + "end\r\n";
}

std::string Csv_File_Name(const std::string& heat_label, const std::string& alternative) {
    return Safe_File_Name((alternative.empty() ? "VN_Result_Heat" + heat_label : alternative) + ".csv");
}

std::string Xml_File_Name(const std::string& capture_file) {
    // Only the characters no file system takes are replaced: unlike the CSV name, "-" and "," stay.
    return "VN_Result_Heat" + fs::Portable_File_Name(Heat_number_from_Filename(capture_file)) + ".xml";
}

bool Export_CSV_file(const Open_Heat& heat, const std::string& heat_label, const std::vector<Result_Row>& rows,
                     std::string& alternative) {
    bool written = false;
    vb::Trap(Is_Compiled, "Export_CSV_file of Form frm_kanot_2", [&] {
        if (!fs::Folder_Exists(Export_Folder)) {
            ui::MsgBox("Can't find export folder!");
            return;
        }
        if (rows.empty() || rows.front().Place.empty() || !heat.File) {
            ui::MsgBox("Nothing to export!");
            return;
        }
        const std::string name = Csv_File_Name(heat_label, alternative);
        alternative.clear();
        Last_Export_File = Export_Folder + "/" + name;
        if (Write_Protected(Last_Export_File)) {
            ui::MsgBox("A write-protected file already exists!");
            return;
        }
        Event_Name = heat.File->Event_name();
        const Heat_header header = Read_Header(*heat.File, heat_label, {}, false);
        if (!Replace_Allowed(Last_Export_File, header, false)) return;
        // The whole text first, then one replacement of the file: a failure leaves the old file as it was.
        const std::string text = vb::Utf8_To_Ansi(Heat_Result_CSV(header, rows));
        if (int error = fs::Write_File_Atomic(Last_Export_File, text)) {
            ui::MsgBox(std::string("Check export folder, getting error: ") + std::strerror(error));
            return;
        }
        written = true;
    });
    return written;
}

bool Export_New_XML_File(const Open_Heat& heat, const std::string& heat_label, const std::vector<Result_Row>& rows) {
    bool written = false;
    vb::Trap(Is_Compiled, "Export_New_XML_File of Form Frm_results", [&] {
        if (!heat.File) {
            ui::MsgBox("Nothing to export!");
            return;
        }
        const Heat_header h = Read_Header(*heat.File, heat_label, heat.Start_time_caption, true);
        Class_Vantorel_result_XML document;
        document.Set_Comment("XML file containing Vantorel result data for course race. Produced by : " +
                             Program_Name + " " + Program_Version + " Compiled at : " + Build_Date);
        const std::string path = Export_Folder + "/" + Xml_File_Name(h.File_name);
        // Saving replaces the file whatever its attribute says; a write-protected export is kept as the CSV's is.
        if (Write_Protected(path)) {
            ui::MsgBox("A write-protected file already exists!");
            return;
        }
        document.XML_Filename(path);
        document.Backoffice_Host(h.Export_computer);
        document.Capture_Host(h.Capture_computer);
        document.EventName(h.Event_name);
        document.RaceType("course");
        document.Video_Initiated(h.Created);
        document.Heat_Started(h.Heat_start);
        document.Last_Capture(h.Last_capture);
        document.lastFile("True");
        document.Create_Heat_node(h.Heat_ID, h.Heat_comment, h.Start_time);
        document.Create_Result_Node(h.Heat_ID);
        for (const Result_Row& row : rows) {
            if (row.Place.empty()) break;
            document.Create_Competitor_Node(h.Heat_ID, row.Lane, Trim(row.Time, false), Trim(row.Delta, false),
                                            Trim(row.Place, false), "", "");
        }
        if (!Replace_Allowed(path, h, true)) return;
        const bool saved = vb::Trap(Is_Compiled, "Serialize of Class Module Class_Vantorel_result_XML",
                                    [&] { document.Serialize(); });
        if (!saved) return;
        Last_Export_File = path;
        written = true;
    });
    return written;
}

}  // namespace Results_export
