#pragma once
// The procedures of Module_Vantorel that start the program: the once-per-run initialisation, the run
// kind, the computer's description from the system probes, the control box and the start sound. They
// run the probes, which read the program-wide state, so they sit above both.
#include <cstdint>
#include <functional>
#include <string>

namespace Module_Vantorel {

// Refreshes `Phys_RAM` from a new memory snapshot.
void Load_Total_Memory();

// The once-per-run initialisation of the program-wide state from the system and the ini file.
void Vantorel_Initialization();

// The initialisation selects the review window's timing method and the start-up window's quality
// choice. Those windows live in libraries built on this one, so the program installs these two steps
// before its first window loads; a run without windows leaves them out.
struct Initialization_Windows {
    std::function<void(bool frametimestamp)> Set_Timing;
    std::function<void()> Load_Initial_Quality;
};
void Install_Initialization_Windows(Initialization_Windows windows);

// The run kind is chosen on the program's command line (--development) before any window loads, so
// this keeps `Is_Compiled` as it is and only traces.
void Test_Compiled();
// `CPU_Info` from the processor probe, then `OS_Version`.
void Get_CPU_Info();
// "CPU= 586 8 core 2.4GHz": type, processors, clock in GHz to one decimal (halves to even, no trailing 0).
std::string CPU_Info_Text(int32_t processor_type, int32_t processors, int32_t mhz);
// The capture layer is part of the program; it cannot be missing.
void Verify_PelkCap5();
// `Event_Name` from "Canoe" / "event_name".
void Load_Event_name();
// `OS_Bitness` and `CPU_Bitness` from the ini file, probed and stored on the first start on a computer.
void Check_Bitness();
// Plays `POP_Sound`; with `Wait` the call returns when it has ended.
void PlayPOP(bool Wait);

}  // namespace Module_Vantorel
