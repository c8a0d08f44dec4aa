#pragma once
// The results export without its panel: the rows and header of the heat open for review, the
// ";"-separated file and the race results XML document, each written whole or not at all.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cls_VideoFile_handler;

namespace Results_export {

// One result row as the results window shows it.
struct Result_Row {
    std::string Place, Lane, Time, Delta;
};

// The rows the results window has; places after them come from the heat's sorted results.
inline constexpr int16_t Shown_Rows = 12;

// Place `place` of the sorted results as the results window would show it, times less `correction`;
// nothing for a place without result.
std::optional<Result_Row> Place_Row(int16_t place, int32_t correction);
// The shown rows up to the first without a place, followed, when every shown row is filled, by the
// places beyond them that have a result.
std::vector<Result_Row> Export_Rows(const std::vector<Result_Row>& shown, int32_t correction);

// The heat open for review, as the review window tells it; File is null when no file is open.
struct Open_Heat {
    cls_VideoFile_handler* File = nullptr;
    std::string Start_time_caption;  // the review window's heat start
};
// Filled in by the review window; empty, the export sees no open file.
inline std::function<Open_Heat()> Open_Heat_Provider;
// Hands the focus back to the review window; filled in by it.
inline std::function<void()> Review_Set_Focus;

// A creation date with a two-digit year ("16-07-20 14:05:33") gets "20" in front; others stay.
std::string Created_Text(std::string_view creation_date);
// The time text of a time of day cut to eight characters: "14:32:05", "9:15:00,", "35:12,34".
std::string Clock_Text(int32_t mill);
// The last capture time (decimal milliseconds) cut the same way; "" when it is empty or no number.
std::string Last_Capture_Text(std::string_view last_capture);
// A file name with "-", "," and every character a file system refuses made "_", so it never leaves the
// export folder and a memory stick takes it.
std::string Safe_File_Name(std::string name);

// What the header line and the XML document take from the open file; the values only the XML
// document has are read `for_xml` only.
struct Heat_header {
    std::string Event_name, Heat, Created, Heat_start, Last_capture, Export_computer;
    std::string Capture_computer, Heat_ID, Heat_comment, Start_time, File_name;
};
Heat_header Read_Header(cls_VideoFile_handler& file, const std::string& heat_label, const std::string& start_time_caption,
                        bool for_xml);

// The ";"-separated text (UTF-8 here; the writer stores it in the ANSI code page), CR LF after every line.
// A ";" inside a value becomes ",".
std::string Heat_Result_CSV(const Heat_header& header, const std::vector<Result_Row>& rows);
// The file name of the ";"-separated export, without folder: the alternative name when one is given.
std::string Csv_File_Name(const std::string& heat_label, const std::string& alternative);
// The XML document's file name, without folder.
std::string Xml_File_Name(const std::string& capture_file);

// The writers: a message that says why on refusal, the file whole or not at all; true when written, with
// Last_Export_File naming the file. The alternative name is used once and emptied.
bool Export_CSV_file(const Open_Heat& heat, const std::string& heat_label, const std::vector<Result_Row>& rows,
                     std::string& alternative);
bool Export_New_XML_File(const Open_Heat& heat, const std::string& heat_label, const std::vector<Result_Row>& rows);

}  // namespace Results_export
