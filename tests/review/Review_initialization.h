#pragma once
// The review window's step of the initialisation, installed as the program installs it, so that the
// window's load selects the timing method that the ini file names.
#include "review/Frm_kanot_2.h"
#include "shell/Module_Vantorel_startup.h"

inline void Install_Review_Initialization() {
    Module_Vantorel::Install_Initialization_Windows({[](bool frametimestamp) {
        if (frametimestamp)
            Frm_kanot_2::Instance().Set_Timing_Frametimestamp();
        else
            Frm_kanot_2::Instance().Set_Timing_Framecount();
    }, {}});
}
