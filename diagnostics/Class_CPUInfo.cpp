#include "Class_CPUInfo.h"

#include "platform/sysinfo/System_info.h"
#include "shell/Module_registry.h"

Class_CPUInfo::Class_CPUInfo()
    : processor_type_(sysinfo::Processor_Type()),
      processors_(sysinfo::Processor_Count()),
      maximum_address_(sysinfo::Highest_Application_Address()),
      minimum_address_(sysinfo::Lowest_Application_Address()),
      page_size_(sysinfo::Page_Size()),
      oem_id_(sysinfo::Processor_Architecture() & 0xFFFF),
      allocation_granularity_(sysinfo::Allocation_Granularity()),
      active_mask_(sysinfo::Active_Processor_Mask()) {
    const sysinfo::Processor_Level level = sysinfo::Processor_Level_Now();
    reserved_ = static_cast<int32_t>((static_cast<uint32_t>(level.revision) << 16) | (static_cast<uint32_t>(level.level) & 0xFFFF));
}

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
