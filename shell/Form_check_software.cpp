#include "Form_check_software.h"

#include "Module_testfor_software.h"
#include "Program_commands.h"
#include "mTrace.h"
#include "platform/ui/Dialog_service.h"

void Form_check_software::Load(bool previous_instance) {
    loaded_ = true;
    if (previous_instance) {
        ui::MsgBox("A previous instance of this program is already running!");
        Program_commands::Vantorel_exit();
    }
    mTrace::Trace("Form_check_software Load");
    if (!Module_testfor_software::Test_For_Software("Phidget")) {
        ui::MsgBox("Phidget drivers not installed correctly!");
        loaded_ = false;
        if (End_program) End_program();
        return;
    }
    mTrace::Trace("Form_check_software checks OK");
    Form_QueryUnload();
    loaded_ = false;
}

void Form_check_software::Form_QueryUnload() { mTrace::Trace("Form_check_software Form_QueryUnload"); }
