#pragma once
// Shared procedures that depend on the program-wide state: window positions.
#include <cstdint>
#include <string>

namespace Module_dependant {

// Keeps a window's position in section "windowpos" as "left,top,width,height" in twips; with one
// monitor, a window pushed off the screen (left or top below -150) overwrites nothing.
void Store_Form_Pos(const std::string& form_name, int32_t left, int32_t top, int32_t width, int32_t height);
// Reads it back; a window never stored gets 0,0 and keeps its size. Positions off the desktop become 0.
void Get_Form_Pos(const std::string& form_name, int32_t& left, int32_t& top, int32_t& width, int32_t& height);

}  // namespace Module_dependant

// ---- Files, folders, the DV header check and collection emptying ----

#include "Module_Vantorel.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"

#include <iterator>
#include <span>

namespace Module_dependant {

// Whether the file exists; a path that cannot be looked at shows "FileExists error! " with the error
// number and description, and gives false.
bool FileExists(const std::string& path);
// Whether the folder exists; errors pass to the caller.
bool FolderExists(const std::string& path);
// Deletes the file, read-only ones too. A missing file is no error; any other failure goes to the
// common error report.
void Kill_File(const std::string& path);
// Sets Debug_Stop when the DV frame does not begin with the bytes 31, 7.
void Check_DV_Header(std::span<const uint8_t> frame);

// Removes the first item until the collection is empty; a failure sets Debug_Stop and shows
// "Empty_Collection error " with the line.
template <class Collection>
void Empty_Collection(Collection& col) {
    vb::Trap_With(
        true, [&] { while (std::size(col) >= 1) col.erase(std::begin(col)); },
        [](const VbError& e) {
            Module_Vantorel::Debug_Stop = true;
            ui::MsgBox("Empty_Collection error " + std::to_string(e.Line()));
        });
}

}  // namespace Module_dependant
