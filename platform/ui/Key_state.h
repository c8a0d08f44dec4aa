#pragma once
// Whether the operator holds Shift, Ctrl or Alt at this moment.
namespace ui {

bool Shift_Held();
bool Ctrl_Held();
bool Alt_Held();

}  // namespace ui
