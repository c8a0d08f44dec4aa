#include "Module_Vantorel_windows.h"

#include "Form_Vantorel_Full_Startup.h"
#include "capture/Form_capture_multi_file.h"
#include "diagnostics/frmAbout.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "results/Frm_results.h"
#include "review/Frm_kanot_2.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_Vantorel_startup.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/Non_dependant_windows.h"
#include "shell/Program_commands.h"
#include "shell/mTrace.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QRadioButton>

#include <algorithm>
#include <cstdlib>

namespace Module_Vantorel {

using Module_dependant::Trace_String;

void Vantorel_exit() {
    vb::Trap(Is_Compiled, "Vantorel_exit of Module Module_canoe", [] {
        if (Non_dependant::F_Key_Down()) {
            mTrace::Trace("******forced shutdown!!!");
            ui::MsgBox("Performing forced shutdown");
            std::_Exit(0);
        }
        // Asked before anything changes: while the question is open, frames and control-box events
        // keep arriving and must still be handled, and a Cancel leaves no trace of an exit.
        if (Is_Compiled) {
            std::string name = Program_Name.substr(0, Program_Name.find(',') + 1);
            if (ui::MsgBox("Exiting " + name + " are you sure?", ui::vbOKCancel | ui::vbDefaultButton2,
                           "Vantorel Exit") != ui::vbOK)
                return;
        }
        mTrace::Trace_Reconnect();
        Write_Event_Log("Init. files = " + std::to_string(Init_Files_Count) + " Started heats = " +
                        std::to_string(Started_Heats_Count) + " Captured segments = " +
                        std::to_string(Captured_Segments_Count));
        int32_t uptime = sys::Tick_Diff(sys::timeGetTime(), Start_Tick);
        Write_Event_Log("---------- Vantorel Exit, Uptime = " + Non_dependant::Display_Mill_Time(uptime, false));
        mTrace::Trace("*Vantorel_exit start");
        Is_Exiting = true;
        if (ui::Is_Loaded("Form_capture_multi_file")) Form_capture_multi_file::Instance().Terminate_obj_Capture_HDMI();
        if (Capture_Running) {
            mTrace::Trace("*Vantorel_exit Stop_All_Captures");
            Stop_All_Captures();
            for (int round = 0; round < 50; ++round) {
                sys::Sleep(30);
                QCoreApplication::processEvents();
            }
        }
        mTrace::Trace("*Vantorel_exit captures stopped");
        for (int pass = 1; pass <= 2; ++pass) {
            std::vector<ui::Form*> forms = ui::Loaded_Forms();
            mTrace::Trace("*Start unloading forms, count = " + std::to_string(forms.size()) +
                          " ,my_i = " + std::to_string(pass));
            for (ui::Form* form : forms) {
                // A window unloaded meanwhile (by another window's unload or a handler run in a wait) is gone.
                std::vector<ui::Form*> loaded = ui::Loaded_Forms();
                if (std::find(loaded.begin(), loaded.end(), form) == loaded.end()) continue;
                std::string name = form->Name();
                mTrace::Trace("*About to unload " + name);
                form->Unload(ui::vbFormCode);
                Non_dependant::Do_Sleep(200, true);
                mTrace::Trace("*Unloaded " + name);
                mTrace::Trace("forms.count = " + std::to_string(ui::Loaded_Forms().size()));
            }
        }
        Non_dependant::Do_Sleep(500, true);
        mTrace::Trace("*Vantorel_exit, after Do_sleep");
        if (Taskbar_Hidden) Non_dependant::Taskbar_Visible(true);
        mTrace::Trace("********Vantorel_exit end*********");
        if (ui::Loaded_Forms().empty()) QCoreApplication::quit();
    });
}

void Stop_All_Captures() {
    try {
        Trace_String("***Stop_all_captures***");
    } catch (...) {
    }
    Capture_Running = false;
    try {
        if (ui::Is_Loaded("Form_capture_multi_file")) Form_capture_multi_file::Instance().Stop_Capture();
    } catch (...) {
    }
}

void Emergency_Stop() {
    Stop_All_Captures();
    Debug_Stop = true;
    Non_dependant::Flush_DV_events();
}

bool SetFormFullScreen(ui::Form& Frm) {
    vb::Trap(Is_Compiled, "SetFormFullScreen of Module Module_canoe", [&] {
        Frm.Move(0, 0, ui::Screen_Width_Twips(), ui::Screen_Height_Twips());
        bool was_visible = Frm.isVisible();
        Frm.setWindowFlag(Qt::FramelessWindowHint, !(Frm.windowFlags() & Qt::FramelessWindowHint));
        if (was_visible) Frm.show();  // a change of frame hides the window
    });
    return false;
}

void Do_about() {
    vb::Trap(Is_Compiled, "Do_about of Module Module_Vantorel", [] {
        frmAbout& about = frmAbout::Instance();
        about.Display_PelkGraphics();
        about.Display_PelkCap();
        about.Description("Vantorel, full version");
        about.Display_Phidgets();
        about.Display_PelkGraphics();
        about.Load_Product_Picture("VANTOREL_LOGGA");
        about.Display_Local_IP();
        about.appdata(AppData_Folder);
        const QWidget* owner = QApplication::activeWindow();
        about.Show(ui::vbModeless);
        Non_dependant::Set_TopMost(&about);
        about.Centre_On(owner != &about ? owner : nullptr);
    });
}

void Load_Initial_Quality() {
    std::string quality = Non_dependant::Read_Ini("settings", "initial_q", Ini_file_path, "80");
    Form_Vantorel_Full_Startup& startup = Form_Vantorel_Full_Startup::Instance();
    for (const auto& [index, option] : startup.Option_quality) {
        if (option->text().toStdString() == quality) {
            JPG_Start_Quality = vb::CInt(quality);
            option->setChecked(true);
        }
    }
}

void Show_First_Window(bool heat_named) {
    if (!heat_named) {
        Form_Vantorel_Full_Startup::Instance().Show();
        return;
    }
    Frm_kanot_2& review = Frm_kanot_2::Instance();
    review.WindowState(ui::vbNormal);
    review.Show();
}

void Install_Program_commands() {
    Program_commands::Install(
        {&Vantorel_Initialization, &Vantorel_exit, &Stop_All_Captures, &Emergency_Stop, &Do_about,
         [] { Form_capture_multi_file::Instance().Show(); }, [](ui::Form& form) { SetFormFullScreen(form); },
         [] { return ui::Is_Loaded("Frm_kanot_2") && Frm_kanot_2::Instance().isVisible(); },
         [](const std::string& path) {
             Frm_kanot_2& review = Frm_kanot_2::Instance();
             review.Show(ui::vbModeless);
             review.Do_Resize();
             review.Handle_Open_File(path);
             Frm_results::Instance().Show(ui::vbModeless);
         },
         [] { Frm_kanot_2::Instance().Enter_Event_name(); },
         &Form_Vantorel_Full_Startup::Kept_JPEG_Bench_mess,
         [](const std::string& notice) { Frm_kanot_2::Instance().Show_Recording_Paused(notice); },
         [] {
             if (!ui::Is_Loaded("Frm_kanot_2")) return false;
             Frm_kanot_2& review = Frm_kanot_2::Instance();
             return review.Replay_File.File_open() && review.Replay_File.Lanes_locked();
         },
         [] { Frm_kanot_2::Instance().menu_specials.Set_Visible(true); }});
    Install_Initialization_Windows(Initialization_Windows{
        [](bool frametimestamp) {
            if (frametimestamp)
                Frm_kanot_2::Instance().Set_Timing_Frametimestamp();
            else
                Frm_kanot_2::Instance().Set_Timing_Framecount();
        },
        [] { Load_Initial_Quality(); }});
}

}  // namespace Module_Vantorel
