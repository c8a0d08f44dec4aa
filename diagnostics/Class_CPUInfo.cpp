#include "Class_CPUInfo.h"

#include "platform/sysinfo/System_info.h"
#include "shell/Module_registry.h"

Class_CPUInfo::Class_CPUInfo()
    : processor_type_(sysinfo::Processor_Type()), processors_(sysinfo::Processor_Count()) {}

int32_t Class_CPUInfo::GetCPUSpeed() const {
    int32_t type = 0;
    std::vector<uint8_t> data;
    int32_t mhz = 0;
    if (Module_registry::Registry_Store().Query_Value(registry::HKEY_LOCAL_MACHINE,
                                                      "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "~MHz",
                                                      type, data) == registry::Ok &&
        data.size() >= 4)
        mhz = registry::Dword_Of(data);
    return mhz;
}
