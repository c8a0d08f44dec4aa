#include "Module_OS_Version.h"

#include "platform/sysinfo/System_info.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"

namespace Module_OS_Version {

std::string GetOsBitness() {
    std::string result;
    vb::Trap(Module_Vantorel::Is_Compiled, "GetOsBitness of Module Module_OS_Version",
             [&] { result = sysinfo::Os_Address_Width(); });
    return result;
}

std::string GetCpuBitness() { return sysinfo::Cpu_Data_Width(); }

std::string OS_version_WMI() {
    std::string caption = sysinfo::Os_Caption();
    return caption.empty() ? "Unknown OS" : caption;
}

std::string GetComputerModel() { return sysinfo::Manufacturer() + "," + sysinfo::Model(); }

std::string GetManufacturer() { return sysinfo::Manufacturer(); }

}  // namespace Module_OS_Version
