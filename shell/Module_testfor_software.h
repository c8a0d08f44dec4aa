#pragma once
// Whether a piece of outside software the program needs can be used.
#include <string>

namespace Module_testfor_software {

// True when the named software can be used; only "Phidget" (exactly so) is known: its kit can be made.
bool Test_For_Software(const std::string& name);

}  // namespace Module_testfor_software
