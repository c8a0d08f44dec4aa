#include "Module_Vantorel_startup.h"

#include "Module_AppUserData.h"
#include "Module_Vantorel.h"
#include "Module_dependant.h"
#include "Module_verify_phidget.h"
#include "Non_dependant.h"
#include "diagnostics/Class_CPUInfo.h"
#include "diagnostics/Class_Memstatus_2.h"
#include "diagnostics/Module_MonitorCount.h"
#include "diagnostics/Module_OS_Version.h"
#include "mTrace.h"
#include "platform/jpeg/Jpeg_codec.h"
#include "platform/sound/Wave_player.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Program_state.h"
#include "platform/vb/Vb_convert.h"
#include "resources/Resources.h"

#include <cstdlib>

namespace Module_Vantorel {

void Load_Total_Memory() { Phys_RAM = Class_Memstatus_2().Mem_Tot_phys(); }

namespace {

bool initialized = false;  // the run-once flag
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] { initialized = false; });
Initialization_Windows windows;

}  // namespace

void Install_Initialization_Windows(Initialization_Windows installed) { windows = std::move(installed); }

void Vantorel_Initialization() {
    Module_dependant::Trace_String("Vantorel_Initialization, begin");
    Test_Compiled();
    vb::Trap(Is_Compiled, "Vantorel_Initialization of Module Module_canoe", [] {
        if (initialized) return;
        Start_Tick = sys::timeGetTime();
        AppData_Folder = Module_AppUserData::Get_AppData_Folder();
        Vantorel_Mode = true;
        Golf_Mode = false;
        Program_Name = "Vantorel_HDMI, Full v.";
        Program_Version = VANTOREL_VERSION;
        mTrace::Trace("*Version  " + Program_Version + " Compile date  " + Build_Date);
        g_Computer_Name = Non_dependant::Get_Computer_Name();
        m_Manufacturer_Model = Module_OS_Version::GetComputerModel();
        mTrace::Trace("g_Computer_Name = " + g_Computer_Name);
        mTrace::Trace("m_Manufacturer_Model = " + m_Manufacturer_Model);
        g_System_Directory = Non_dependant::Get_System_Directory();
        if (JPG_Start_Quality == 0) JPG_Start_Quality = 80;
        mTrace::Trace("g_System_Directory = " + g_System_Directory);
        Ini_file_path = AppData_Folder + "/" + "Vantorel_HDMI" + ".ini";
        // The XML library is linked into the program, so the loader has found it before this runs; the
        // JPEG codec is asked whether it can start.
        if (jpeg::Init() != 0)
            ui::MsgBox("An important system file (IJL11.DLL) is missing in this Vantorel installation!");
        Verify_PelkCap5();
        if (!Module_dependant::FileExists(Ini_file_path)) ui::MsgBox("Vantorel_HDMI.ini not found");
        App_Title = ui::Program_Title;
        Timing_Correction = vb::CLng(Non_dependant::Read_Ini("Settings", "timingcorrection", Ini_file_path, "0"));
        bool frametimestamp =
            Non_dependant::Read_Ini("Settings", "timing", Ini_file_path, "frametimestamp") == "frametimestamp";
        if (windows.Set_Timing) windows.Set_Timing(frametimestamp);
        if (!Module_verify_phidget::Verify_Phidgets()) {
            ui::MsgBox("Phidget software error!");
            std::_Exit(0);
        }
        Monitor_Count = vb::To_Int16(Module_MonitorCount::Get_Monitor_Count());
        Check_Bitness();
        Get_CPU_Info();
        Load_Total_Memory();
        m_saved_Friendly_name = Non_dependant::Read_Ini("capturesettings", "friendlyname", Ini_file_path, "noname");
        m_saved_Video_prop_num = Non_dependant::Read_Ini("capturesettings", "videoproperty", Ini_file_path, "-1");
        Write_Event_Log("++++++++++ Vantorel started,  Version: " + Program_Version + " Compiled at: " + Build_Date +
                        (Is_Compiled ? "" : " IDE"));
        Write_Event_Log(" Computer = " + g_Computer_Name + " OS = " + OS_Version + CPU_Info + " bitness: os = " +
                        OS_Bitness + " CPU = " + CPU_Bitness);
        if (POP_Sound.empty()) POP_Sound = resources::Load_Res_Data("custom", "101");
        if (windows.Load_Initial_Quality) windows.Load_Initial_Quality();
        Lane_Line_Length = vb::CInt(Non_dependant::Read_Ini("setting", "Lanelinelength", Ini_file_path, "200"));
        initialized = true;
        Module_dependant::Trace_String("Vantorel_Initialization, end");
    });
}

void Test_Compiled() {
    vb::Trap(true, "Test_Compiled of Module Module_canoe", [] { Module_dependant::Trace_String("Test_Compiled end"); });
}

std::string CPU_Info_Text(int32_t processor_type, int32_t processors, int32_t mhz) {
    return "CPU= " + std::to_string(processor_type) + " " + std::to_string(processors) + " core" + " " +
           vb::CStr(vb::Round(mhz / 1000.0, 1)) + "GHz";
}

void Get_CPU_Info() {
    vb::Trap(Is_Compiled, "Get_CPU_Info of Module Module_Vantorel", [] {
        Class_CPUInfo cpu;
        CPU_Info = CPU_Info_Text(cpu.ProcessorType(), cpu.NumberOrfProcessors(), cpu.GetCPUSpeed());
        OS_Version = Module_OS_Version::OS_version_WMI();
    });
}

void Verify_PelkCap5() {}

void Load_Event_name() {
    vb::Trap(Is_Compiled, "Load_Event_name of Module Module_Vantorel",
             [] { Event_Name = Non_dependant::Read_Ini("Canoe", "event_name", Ini_file_path, "NOEVENT"); });
}

void Check_Bitness() {
    vb::Trap(Is_Compiled, "Check_Bitness of Module Module_Vantorel", [] {
        struct Probe {
            const char* key;
            std::string& value;
            std::string (*probe)();
        };
        for (const Probe& p : {Probe{"osbitness", OS_Bitness, &Module_OS_Version::GetOsBitness},
                               Probe{"cpubitness", CPU_Bitness, &Module_OS_Version::GetCpuBitness}}) {
            std::string stored = Non_dependant::Read_Ini("Settings", p.key, Ini_file_path, "N/A");
            if (stored != "N/A") {
                p.value = stored;
            } else {
                p.value = p.probe();
                Non_dependant::Write_Ini("Settings", p.key, p.value, Ini_file_path);
            }
        }
    });
}

void PlayPOP(bool Wait) {
    vb::Trap(Is_Compiled, "PlayPOP of Module Module_Vantorel", [&] { sound::Play_Wave(POP_Sound, Wait); });
}

}  // namespace Module_Vantorel
