#pragma once
// The operating system, its bitness and the computer's maker and model.
#include <string>

namespace Module_OS_Version {

std::string GetOsBitness();       // "64" on a 64-bit system
std::string GetCpuBitness();      // the processor's data width
std::string OS_version_WMI();     // the system's name and version; "Unknown OS" when it cannot be read
std::string GetComputerModel();   // maker "," model
std::string GetManufacturer();

}  // namespace Module_OS_Version
