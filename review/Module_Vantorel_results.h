#pragma once
// The results of the heat open for review: one record per lane of the file's heat 1, held by lane and
// sorted into places. The file's header is the stored copy: every change is written into it at once
// and the records are read back from it. No widgets, so the live preview and the tests use it too.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class cls_VideoFile_handler;

namespace Module_Vantorel {

// Result codes held in Heat_result; every value from First_Code on is a code, not a time.
inline constexpr int32_t No_Result = 999999999;
inline constexpr int32_t Disqualified = 100000001;
inline constexpr int32_t Did_Not_Start = 100000002;
inline constexpr int32_t Did_Not_Finish = 100000003;
inline constexpr int32_t First_Code = Disqualified;
// Lanes 0 to 16: a course of sixteen lanes numbered from 1 ends at lane 16.
inline constexpr int16_t Result_Lanes = 17;
// A course has at most sixteen marks, so the first sixteen places hold every lane it has: the rows,
// the export and the print show no more.
inline constexpr int16_t Result_Places = 16;

struct Lane_Heat_Result {
    int16_t Lane = 0;
    int32_t Heat_result = 0;  // ms from the heat start, or a code
    int32_t Click_time = 0;   // the tick the result was given at; orders equal results
    int32_t Goal_field = 0;   // the field shown when a time was given; 0 for a code
};

// The heat's records by lane: element L is lane L.
extern std::array<Lane_Heat_Result, Result_Lanes> Lane_all_Heats_Array;

// Every record by place, places 1 to 17.
struct Heat_places {
    std::array<Lane_Heat_Result, Result_Lanes> Items{};
    Lane_Heat_Result& operator[](int16_t place) { return Items.at(static_cast<size_t>(place - 1)); }
    const Lane_Heat_Result& operator[](int16_t place) const { return Items.at(static_cast<size_t>(place - 1)); }
};
extern Heat_places Lane_Active_Heat_Array;

// The start correction of the open file's heat 1 in ms; only shown times are corrected.
extern int32_t Heat_Start_Correction_Mill;

// Heat `heat`'s records from the header, a result of 0 read as no result. A header whose records
// cannot be read leaves every lane and place without result, then passes the error on.
void Load_All_Heats_Array_from_File(cls_VideoFile_handler& file, int16_t heat);
void Copy_Active_Heat();
// Every place of the sorted records without result (nothing calls it); the other fields stay.
void Lane_all_Heats_Array_Initalize();
// By result, equal results by click tick (signed comparisons); equal pairs keep their order.
void Lane_Active_Heat_Array_Sort();

// Writes the records into the header and the header into the file, all or nothing: when the file does
// not take it, the header document is as it was before and the records are read back from it, and the
// answer is false. Lane 16's record is left out while neither memory nor the header holds anything for
// it, so a header that never had one does not get one.
bool Update_File_from_Array(cls_VideoFile_handler& file);

// The lane marks' times and the records in memory only.
void Clear_Lane_Results();
// Every result taken away, and in the file's header when a file is open; false when the file did not
// take it (the results are then reloaded as they stand).
bool Clear_All_Results(cls_VideoFile_handler& file);

// Whether the heat's header may not be changed now, said plainly before anything changes: `read_only`
// for a read-only file, or why the heat cannot be written now (being recorded, or rewritten by another
// window since it was opened here).
bool Tell_Header_Refused(const cls_VideoFile_handler& file, const std::string& read_only);

// What giving a lane a result came to.
enum class Attach_Outcome {
    Stored,      // the file's header holds the new result
    Read_Only,   // "File is read-only!", or why the heat cannot be written now, shown; nothing changed
    No_Time,     // a time asked for on a field whose time is unknown; nothing changed
    Zero_Time,   // a time of 0 ms, which the header would read back as no result: refused with a message
    Kept,        // the override question answered Cancel
    Not_Written  // the file refused the header; nothing changed
};
// Gives lane `Lane` (0 to 16, error 9 otherwise) a result: a `Heat_result` from First_Code on is stored
// as it is (a code, or No_Result to take the result away); any other value stores the shown field's
// time (plus 10 ms with `plus_time`) with the shown field's number. A lane that has a result asks
// "Override existing result?" first, with the lane's number on the next line. A time of exactly 0 ms is
// refused with a message: the header keeps 0 for a lane without result, so it could not be told from none.
Attach_Outcome Attach_Result(cls_VideoFile_handler& file, int16_t Lane, int32_t Heat_result, bool plus_time,
                             std::optional<int32_t> shown_time, int32_t shown_field, int32_t tick);

// The place (1 to 17) of a lane that has a time; 0 for a code, no result, or a lane not found.
int16_t Lane_To_Place(int16_t lane);
// The goal field of a place; 0 for place 0 and for a place outside 1 to 17.
int32_t Go_to_Goal_field(double place);
// The place of a lane among the first places, as many as the course has lane marks; 0 when not there.
int16_t Find_Place(double lane);

}  // namespace Module_Vantorel
