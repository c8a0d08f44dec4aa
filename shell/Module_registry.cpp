#include "Module_registry.h"

#include "Module_AppUserData.h"
#include "Module_Vantorel.h"

namespace Module_registry {

registry::Registry_store Registry_Store() {
    std::string folder = Module_Vantorel::AppData_Folder.empty() ? Module_AppUserData::Get_AppData_Folder()
                                                                 : Module_Vantorel::AppData_Folder;
    return registry::Registry_store(folder + "/Vantorel_registry.txt");
}

int32_t Get_CPU_Usage() {
    registry::Registry_store store = Registry_Store();
    if (store.Open_Key(registry::HKEY_DYN_DATA, "PerfStats\\StatData") != registry::Ok) return 0;
    int32_t type = 0;
    std::vector<uint8_t> data;
    if (store.Query_Value(registry::HKEY_DYN_DATA, "PerfStats\\StatData", "KERNEL\\CPUUsage", type, data) !=
            registry::Ok ||
        data.size() < 4)
        return 0;
    return registry::Dword_Of(data);
}

}  // namespace Module_registry
