#include "Module_verify_phidget.h"

#include "Module_Vantorel.h"
#include "Module_dependant.h"
#include "mTrace.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Program_state.h"

namespace Module_verify_phidget {

bool Is_Version_216(const std::string& version) {
    return version.find("Phidget COM Library 2.1.6") != std::string::npos &&
           version.find("Phidget21 - Version 2.1.6") != std::string::npos;
}

bool Verify_Phidgets() {
    bool result = false;
    Module_dependant::Trace_String("Verify_Phidgets, begin");
    vb::Trap_With(
        true,
        [&] {
            Interface_Kit = std::make_unique<controlbox::Interface_kit>();
            std::string version = Interface_Kit->Library_Version();
            if (Module_Vantorel::Is_Compiled && !Is_Version_216(version)) {
                ui::MsgBox("Wrong Phidget versions found!\r\n" + version);
                return;
            }
            result = true;
            Module_dependant::Trace_String("Verify_Phidgets, Verify_Phidgets = True");
        },
        [&](const VbError& e) {
            mTrace::Trace("Phidgets error at line " + std::to_string(e.Line()) + " Error number = " +
                          std::to_string(e.Number()) + " " + e.Description());
            result = false;
            Module_dependant::Trace_String("Verify_Phidgets, Verify_Phidgets = False");
        });
    return result;
}

}  // namespace Module_verify_phidget

namespace Module_verify_phidget {

std::unique_ptr<controlbox::Interface_kit> Interface_Kit;

namespace {
// What a new process starts with.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Interface_Kit = {};
});
}  // namespace

}  // namespace Module_verify_phidget
