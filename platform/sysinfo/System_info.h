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

}  // namespace sysinfo
