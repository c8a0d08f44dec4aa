#pragma once
// The start-up check of the control-box library.
#include "platform/controlbox/Interface_kit.h"

#include <memory>

namespace Module_verify_phidget {

// The kit the check made; kept for the rest of the run.
extern std::unique_ptr<controlbox::Interface_kit> Interface_Kit;

// True when the control-box library can be used: its kit can be made and, in the built program, it
// reports version 2.1.6 ("Wrong Phidget versions found!" and the version text otherwise).
bool Verify_Phidgets();
// Whether a version text names both parts of version 2.1.6.
bool Is_Version_216(const std::string& version);

}  // namespace Module_verify_phidget
