#pragma once
// The heat result procedures that reach the review window.
namespace Module_Vantorel {

// Takes every result of the heat open for review away, in the file's header too, and shows the heat
// again from its file.
void Clear_All_Results();

}  // namespace Module_Vantorel
