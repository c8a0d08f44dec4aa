// Reading a whole capture file at once: into a copy in memory, through the file cache, or frame by
// frame. A copy never takes more memory than the computer can give.
#include "cls_VideoFile_handler.h"

#include "diagnostics/Class_Memstatus_2.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/VbError.h"
#include "shell/Module_Vantorel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <new>

namespace {

std::atomic<int64_t> g_whole_file_bound{0};  // 0: from the memory probe

constexpr int64_t Preread_Block = 1048576;

}  // namespace

int64_t cls_VideoFile_handler::Whole_File_Bound() {
    const int64_t set = g_whole_file_bound.load();
    if (set > 0) return set;
    return static_cast<int64_t>(Class_Memstatus_2().Available_bytes() / 2);
}

void cls_VideoFile_handler::Whole_File_Bound(int64_t bytes) { g_whole_file_bound.store(std::max<int64_t>(bytes, 0)); }

void cls_VideoFile_handler::Check_Whole_File_Bound(int64_t length) const {
    const int64_t bound = Whole_File_Bound();
    if (length > bound)
        vb::Raise(vb::Err_Out_Of_Memory,
                  "The capture file " + m_File_Name + " is " + std::to_string(length) +
                      " bytes, more than the " + std::to_string(bound) +
                      " bytes this computer can give to read it whole; it is read frame by frame instead",
                  "cls_VideoFile_handler");
}

void cls_VideoFile_handler::Read_File_to_Memory() {
    if (!File_open()) vb::Raise(52, "Bad file name or number: no capture file is open", "cls_VideoFile_handler");
    const int64_t length = file_.Size();
    if (length <= 0) vb::Raise(vb::Err_Subscript, "The capture file " + m_File_Name + " is empty", "cls_VideoFile_handler");
    Check_Whole_File_Bound(length);
    copy_held_ = false;
    memory_copy_.clear();
    memory_copy_.shrink_to_fit();
    try {
        memory_copy_.resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
        vb::Raise(vb::Err_Out_Of_Memory, "No memory for a copy of " + m_File_Name, "cls_VideoFile_handler");
    }
    if (StartPreread) StartPreread();
    const int64_t got = file_.Read_At(0, memory_copy_);
    memory_copy_.resize(static_cast<size_t>(got));
    copy_held_ = true;
    if (EndPreread) EndPreread();
}

void cls_VideoFile_handler::Copy_Whole_File_If_Bound_Allows() {
    try {
        Read_File_to_Memory();
    } catch (const VbError& e) {
        ui::MsgBox(e.Description(), ui::vbOKOnly);
    }
}

void cls_VideoFile_handler::Preread_File() {
    if (!File_open()) return;
    auto report = [this](int64_t percent) {
        int16_t value = static_cast<int16_t>(percent);
        if (Prereadpct) Prereadpct(value);
    };
    try {
        const int64_t size = file_.Size();
        if (size > 0) Check_Whole_File_Bound(size);
        std::vector<uint8_t> block(static_cast<size_t>(std::min(Preread_Block, std::max<int64_t>(size, 1))));
        int64_t offset = 0;
        for (int64_t k = 1; size > 0 && offset < size; ++k) {
            const int64_t got = file_.Read_At(offset, block);
            if (got <= 0) break;
            offset += got;
            // The share of the blocks read, never above the whole file.
            report(std::min<int64_t>(std::llround(static_cast<double>(k) * Preread_Block * 100 / static_cast<double>(size)), 100));
        }
    } catch (const VbError& e) {
        Module_Vantorel::Write_Event_Log("Preread_File: " + e.Description());
    }
    report(-1);
}

void cls_VideoFile_handler::Read_All_RGB_Frames() {
    for (int32_t frame = 1; frame <= frame_count_; ++frame) Read_RGB_sample(frame, true);
}
