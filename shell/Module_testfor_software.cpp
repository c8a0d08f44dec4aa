#include "Module_testfor_software.h"

#include "platform/controlbox/Interface_kit.h"
#include "platform/vb/Error_trap.h"

#include <memory>

namespace Module_testfor_software {

bool Test_For_Software(const std::string& name) {
    bool usable = false;
    vb::Trap_With(
        true,
        [&] {
            if (name != "Phidget") return;
            auto kit = std::make_unique<controlbox::Interface_kit>();
            usable = true;
        },
        [&](const VbError&) { usable = false; });
    return usable;
}

}  // namespace Module_testfor_software
