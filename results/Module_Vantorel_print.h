#pragma once
// The printing procedures of Module_Vantorel. Built so far: the time parts the results window shows;
// the print target, page and printouts come with printing.
#include <cstdint>
#include <string>

namespace Module_Vantorel {

// One part of a time of day in ms: "h" (hours mod 24), "m", "s" toward zero, "t" (hundredths) toward
// minus infinity; 0 for any other part.
int16_t Mill_Time_Part(const std::string& Part, int32_t Mill);

}  // namespace Module_Vantorel
