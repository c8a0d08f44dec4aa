// The console's restoration of heats that were started when the program last ended without finishing
// them (a crash, a power cut): offered at the console's activation, read robustly from the ini records,
// and taken back from each heat's own capture file.
#include "Form_capture_multi_file.h"

#include "Heat_recorder.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <charconv>
#include <filesystem>

using namespace Module_Vantorel;

namespace {

constexpr std::string_view Started_Marker = ",started,";
constexpr std::string_view Finished_Suffix = " finished";

bool Ends_With(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string Key(size_t slot) { return "Heat" + std::to_string(slot); }

}  // namespace

Form_capture_multi_file::Started_record Form_capture_multi_file::Read_Started_Record(const std::string& value) {
    Started_record record;
    if (Ends_With(value, Finished_Suffix) || value.find("started") == std::string::npos) return record;
    record.started = true;
    for (size_t at = value.find(Started_Marker); at != std::string::npos; at = value.find(Started_Marker, at + 1)) {
        std::string path = value.substr(0, at);
        if (!Ends_With(path, ".kd3")) continue;
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) {
            record.path = path;
            record.file_found = true;
            return record;
        }
        if (record.path.empty()) record.path = path;
    }
    return record;
}

void Form_capture_multi_file::Restore_Offer() {
    bool found = false;
    Check_for_Active_Heats(false, found);
    if (!found) return;
    const int32_t answer = ui::MsgBox("Vantorel has detected one ore more started heats present at shutdown,\r\n"
                                      "possibly following an abnormal shutdown of the program.\r\n"
                                      " If you want to reload these heats, press OK, otherwise Cancel!",
                                      ui::vbOKCancel);
    if (answer == ui::vbCancel)
        Delete_Heat_ini_entries();
    else if (answer == ui::vbOK)
        Check_for_Active_Heats(true, found);
}

void Form_capture_multi_file::Check_for_Active_Heats(bool load, bool& found) {
    found = false;
    for (size_t i = 0; i < Frame_capture.size(); ++i) {
        const int16_t s = static_cast<int16_t>(i);
        const std::string value = Non_dependant::Read_Ini("active_heats", Key(i), Ini_file_path, "N/A");
        const Started_record record = Read_Started_Record(value);
        if (!record.started) continue;
        Slot& slot = slot_[i];
        // Restored already (an activation before the camera ran) or started in this session: not offered
        // or restored twice.
        if (Holds_Live_Heat(s, record.path)) continue;
        if (!load) {
            found = true;
            continue;
        }
        const std::string heat = Frame_capture[i]->title().toStdString();
        if (record.path.empty()) {
            Write_Event_Log(" Restore: " + heat + ": record not readable: " + value);
            ui::MsgBox("The started heat of " + heat + " cannot be restored: its record cannot be read.\r\n" + value,
                       ui::vbOKOnly);
            continue;
        }
        if (!record.file_found) {
            Write_Event_Log(" Restore: " + heat + ": capture file missing: " + record.path);
            ui::MsgBox("The started heat of " + heat + " cannot be restored: its capture file is missing.\r\n" +
                           record.path,
                       ui::vbOKOnly);
            continue;
        }
        if (slot.state != Slot_state::Empty && slot.state != Slot_state::Finished) {
            ui::MsgBox("The started heat of " + heat + " cannot be restored: the slot holds another heat.\r\n" +
                           record.path,
                       ui::vbOKOnly);
            continue;
        }
        int32_t start_local = 0, buffer = 0;
        std::string heat_id;
        {
            auto lock = recorder_->Lock();
            cls_VideoFile_handler& store = recorder_->Store(s);
            if (store.File_open()) store.Close_File();
            store.File_name(record.path);
            // Opening counts again every whole record that reached the disk (the store says so in the log).
            store.Open_RGB_File();
            if (!store.File_open()) continue;  // damaged: the store has said so
            start_local = store.Start_local_Mill_Time(1);
            heat_id = store.Heat_ID(1);
            buffer = store.RGB_Compressed_buffer_Size();
            store.Close_File();
        }
        // The record's own buffer size is only compared: the file's records have the header's length.
        const size_t last_comma = value.rfind(',');
        int32_t noted = 0;
        const char* end = value.data() + value.size();
        if (last_comma != std::string::npos) std::from_chars(value.data() + last_comma + 1, end, noted);
        if (noted != buffer)
            Write_Event_Log(" Restore: " + heat + ": the ini notes a record buffer of " + std::to_string(noted) +
                            " bytes, the file's header " + std::to_string(buffer) + ", the header's taken: " + record.path);
        slot.path = record.path;
        slot.start_tick = 0;
        slot.start_local = start_local;
        // A heat aborted before the crash has no start in its header: it can be started again.
        slot.state = start_local > 0 ? Slot_state::Restored : Slot_state::Aborted;
        Label_filename[i]->setText(QString::fromStdString(record.path));
        Text_Heat_ID[i]->setText(QString::fromStdString(heat_id));
        Label_start_time[i]->setText(
            start_local > 0 ? QString::fromStdString(Non_dependant::Display_Mill_Time(start_local, false)) : "Aborted");
        Set_Active_heat(s);
        Paint_State(static_cast<int>(i));
        Update_File_Size(s);
        Write_Event_Log(" Restore: " + heat + " restored: " + record.path);
    }
}

void Form_capture_multi_file::Delete_Heat_ini_entries() {
    for (size_t i = 0; i < Frame_capture.size(); ++i) {
        const std::string value = Non_dependant::Read_Ini("active_heats", Key(i), Ini_file_path, "N/A");
        // The record of a heat this session holds is what brings it back after a crash.
        if (Holds_Live_Heat(static_cast<int16_t>(i), Read_Started_Record(value).path)) continue;
        Non_dependant::Delete_Ini_Key("active_heats", Key(i), Ini_file_path);
    }
}

bool Form_capture_multi_file::Holds_Live_Heat(int16_t slot, const std::string& path) const {
    const Slot& held = slot_[Index(slot)];
    return !path.empty() && held.path == path && held.state != Slot_state::Empty &&
           held.state != Slot_state::Finished;
}
