#pragma once
// What the system knows of the computer: from /proc, /sys/class/dmi/id and /etc/os-release.
#include <cstdint>
#include <string>

namespace sysinfo {

// The operating system's name and version ("Debian GNU/Linux 12 (bookworm)"); "" when unknown.
std::string Os_Caption();
// Bits of an address of the running operating system, and of the processor's data: "64", "32".
std::string Os_Address_Width();
std::string Cpu_Data_Width();
// The computer's maker and model; "" when the firmware does not say.
std::string Manufacturer();
std::string Model();
int32_t Processor_Count();
// The processor-type number: 8664 for x86-64, 586 for 32-bit x86, 0 for other kinds.
int32_t Processor_Type();

// The memory layout a program sees, and the processor in the terms of the system record the probes
// were written for.
int32_t Page_Size();
// The unit in which the system hands out address space: a page here.
int32_t Allocation_Granularity();
// The lowest address a program may map (the system's "mmap_min_addr"), and the highest address of the
// process's own space: the end of its highest mapping below the system's half of the address space.
uint64_t Lowest_Application_Address();
uint64_t Highest_Application_Address(const std::string& maps_text);
uint64_t Highest_Application_Address();
// The architecture word: 9 for x86-64, 0 for 32-bit x86, 12 for 64-bit ARM, 5 for ARM, 0xFFFF unknown.
int32_t Processor_Architecture();
// The processor level (its family) and revision (model * 256 + stepping) from a /proc/cpuinfo text;
// 0 for what the text does not say.
struct Processor_Level {
    int32_t level = 0;
    int32_t revision = 0;
};
Processor_Level Processor_Level_Of(const std::string& cpuinfo_text);
Processor_Level Processor_Level_Now();
// One bit per processor the process may run on (the first 64).
uint64_t Active_Processor_Mask();

}  // namespace sysinfo
