#pragma once
#include <cstdint>

namespace Module_MonitorCount {

// The number of monitors of the desktop; 1 where no screen can be asked.
int32_t Get_Monitor_Count();

}  // namespace Module_MonitorCount
