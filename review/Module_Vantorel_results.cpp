#include "Module_Vantorel_results.h"

#include "Module_Vantorel_course.h"
#include "header/Cls_XML_header.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "store/cls_VideoFile_handler.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include "platform/vb/Program_state.h"

namespace Module_Vantorel {

namespace {

constexpr int16_t Heat = 1;
static_assert(Result_Lanes == Cls_XML_header::Extra_Lane + 1, "the records end at the header's extra lane");

bool Holds_Nothing(int32_t result, int32_t click, int32_t field) {
    return (result == 0 || result == No_Result) && click == 0 && field == 0;
}

// The extra lane's record is written only when it carries something, or the header's copy does: a
// header written without it stays as it was.
bool Extra_Lane_Unwritten(cls_VideoFile_handler& file, const Lane_Heat_Result& r) {
    const int16_t lane = Cls_XML_header::Extra_Lane;
    return Holds_Nothing(r.Heat_result, r.Click_time, r.Goal_field) &&
           Holds_Nothing(file.Heat_time(Heat, lane), file.Heat_Clicktime(Heat, lane), file.Heat_Goalfield(Heat, lane));
}

std::array<Lane_Heat_Result, Result_Lanes> No_Results() {
    std::array<Lane_Heat_Result, Result_Lanes> records{};
    for (int16_t lane = 0; lane < Result_Lanes; ++lane) records[static_cast<size_t>(lane)] = {lane, No_Result, 0, 0};
    return records;
}

// Place i + 1 follows place i.
bool In_Order(const Lane_Heat_Result& a, const Lane_Heat_Result& b) {
    return !(b.Heat_result < a.Heat_result || (b.Heat_result == a.Heat_result && b.Click_time < a.Click_time));
}

}  // namespace

void Load_All_Heats_Array_from_File(cls_VideoFile_handler& file, int16_t heat) {
    std::array<Lane_Heat_Result, Result_Lanes> records{};
    try {
        for (int16_t lane = 0; lane < Result_Lanes; ++lane) {
            Lane_Heat_Result& r = records[static_cast<size_t>(lane)];
            r.Lane = lane;
            r.Heat_result = file.Heat_time(heat, lane);
            if (r.Heat_result == 0) r.Heat_result = No_Result;
            r.Click_time = file.Heat_Clicktime(heat, lane);
            r.Goal_field = file.Heat_Goalfield(heat, lane);
        }
    } catch (...) {
        // Never the records of the heat shown before, nor half of this one's.
        Lane_all_Heats_Array = No_Results();
        Copy_Active_Heat();
        throw;
    }
    Lane_all_Heats_Array = records;
}

void Copy_Active_Heat() {
    for (int16_t lane = 0; lane < Result_Lanes; ++lane) {
        Lane_Active_Heat_Array[static_cast<int16_t>(lane + 1)] = Lane_all_Heats_Array[static_cast<size_t>(lane)];
        Lane_Active_Heat_Array[static_cast<int16_t>(lane + 1)].Lane = lane;
    }
}

void Lane_all_Heats_Array_Initalize() {
    for (Lane_Heat_Result& r : Lane_Active_Heat_Array.Items) r.Heat_result = No_Result;
}

void Lane_Active_Heat_Array_Sort() {
    auto& places = Lane_Active_Heat_Array.Items;
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (size_t i = 0; i + 1 < places.size(); ++i) {
            if (!In_Order(places[i], places[i + 1])) {
                std::swap(places[i], places[i + 1]);
                exchanged = true;
            }
        }
    }
}

bool Update_File_from_Array(cls_VideoFile_handler& file) {
    const auto records = Lane_all_Heats_Array;
    const std::string header = file.XML_Header_string();
    // What the file did not take is taken back from memory too, so that the next change of another lane
    // does not carry it into the file: the document as it was, and the records as it holds them.
    auto restore = [&] {
        if (header.empty()) return;
        file.XML_Header_string(header);
        try {
            Load_All_Heats_Array_from_File(file, Heat);
        } catch (...) {
            // Unreadable records were unreadable before the change too: they stay without result.
        }
    };
    bool written = false;
    const bool done = vb::Trap(Is_Compiled, "Update_File_from_Array of Module Module_Vantorel", [&] {
        try {
            for (int16_t lane = 0; lane < Result_Lanes; ++lane) {
                const Lane_Heat_Result& r = records[static_cast<size_t>(lane)];
                if (lane == Cls_XML_header::Extra_Lane && Extra_Lane_Unwritten(file, r)) continue;
                file.Heat_result(Heat, lane, r.Heat_result);
                file.Heat_Clicktime(Heat, lane, r.Click_time);
                file.Heat_Goalfield(Heat, lane, r.Goal_field);
            }
            written = file.Write_XML_Header();
        } catch (...) {
            restore();
            throw;
        }
    });
    if (done && written) return true;
    if (done) restore();
    return false;
}

void Clear_Lane_Results() {
    Clear_Lane_Objects();
    for (Lane_Heat_Result& r : Lane_all_Heats_Array) {
        r.Heat_result = 0;
        r.Click_time = 0;
        r.Goal_field = 0;
    }
}

bool Clear_All_Results(cls_VideoFile_handler& file) {
    Clear_Lane_Results();
    return !file.File_open() || Update_File_from_Array(file);
}

bool Tell_Header_Refused(const cls_VideoFile_handler& file, const std::string& read_only) {
    const std::string refusal = file.Read_only() ? read_only : file.Header_Write_Refusal();
    if (refusal.empty()) return false;
    ui::MsgBox(refusal, ui::vbOKOnly);
    return true;
}

Attach_Outcome Attach_Result(cls_VideoFile_handler& file, int16_t Lane, int32_t Heat_result, bool plus_time,
                             std::optional<int32_t> shown_time, int32_t shown_field, int32_t tick) {
    if (Tell_Header_Refused(file, "File is read-only!")) return Attach_Outcome::Read_Only;
    if (Lane < 0 || Lane >= Result_Lanes)
        vb::Raise(vb::Err_Subscript, "Subscript out of range: there is no lane " + std::to_string(Lane));
    const bool code = Heat_result >= First_Code;
    if (!code && !shown_time) return Attach_Outcome::No_Time;
    const int32_t time = code ? 0 : vb::To_Int32(int64_t{*shown_time} + (plus_time ? 10 : 0));
    if (!code && time == 0) {
        ui::MsgBox("A time of 0 ms cannot be stored: the file reads it as no result. Give the lane the time of "
                   "another field, or this time + 1/100.",
                   ui::vbExclamation);
        return Attach_Outcome::Zero_Time;
    }
    // The records as the file holds them: a header whose records cannot be read takes no result, so
    // that no other lane's result is overwritten with what memory holds.
    Load_All_Heats_Array_from_File(file, Heat);
    Lane_Heat_Result& record = Lane_all_Heats_Array[static_cast<size_t>(Lane)];
    if (record.Heat_result != 0 && record.Heat_result != No_Result &&
        ui::MsgBox("Override existing result?\r\nLane " + std::to_string(Lane), ui::vbOKCancel) == ui::vbCancel)
        return Attach_Outcome::Kept;
    if (code) {
        record.Heat_result = Heat_result;
        record.Goal_field = 0;
    } else {
        record.Heat_result = time;
        record.Goal_field = shown_field;
    }
    record.Click_time = tick;
    return Update_File_from_Array(file) ? Attach_Outcome::Stored : Attach_Outcome::Not_Written;
}

int16_t Lane_To_Place(int16_t lane) {
    for (int16_t place = 1; place <= Result_Lanes; ++place) {
        const Lane_Heat_Result& r = Lane_Active_Heat_Array[place];
        if (r.Lane == lane) return r.Heat_result >= First_Code ? 0 : place;
    }
    return 0;
}

int32_t Go_to_Goal_field(double place) {
    if (!(std::fabs(place) < 1e9)) return 0;
    const int32_t p = vb::CLng(place);
    if (p < 1 || p > Result_Lanes) return 0;
    return Lane_Active_Heat_Array[static_cast<int16_t>(p)].Goal_field;
}

int16_t Find_Place(double lane) {
    const auto marks = static_cast<int16_t>(std::min<size_t>(Lane_Collection.size(), Result_Lanes));
    for (int16_t place = 1; place <= marks; ++place)
        if (static_cast<double>(Lane_Active_Heat_Array[place].Lane) == lane) return place;
    return 0;
}

}  // namespace Module_Vantorel

namespace Module_Vantorel {

std::array<Lane_Heat_Result, Result_Lanes> Lane_all_Heats_Array{};
Heat_places Lane_Active_Heat_Array;
int32_t Heat_Start_Correction_Mill = 0;

namespace {
// What a new process starts with.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Lane_all_Heats_Array = {};
    Lane_Active_Heat_Array = {};
    Heat_Start_Correction_Mill = 0;
});
}  // namespace

}  // namespace Module_Vantorel
