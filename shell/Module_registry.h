#pragma once
#include "platform/registry/Registry_store.h"

#include <cstdint>

namespace Module_registry {

// The program's registry store, "Vantorel_registry.txt" in the application-data folder.
registry::Registry_store Registry_Store();

// The processor usage in percent since the previous reading (HKEY_DYN_DATA "PerfStats\StatData",
// "KERNEL\CPUUsage"); 0 when it cannot be read.
int32_t Get_CPU_Usage();

}  // namespace Module_registry
