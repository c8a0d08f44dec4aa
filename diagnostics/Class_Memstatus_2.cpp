#include "Class_Memstatus_2.h"

#include "platform/vb/Vb_convert.h"

#include <fstream>
#include <sstream>

Class_Memstatus_2::Class_Memstatus_2() {
    std::ifstream in("/proc/meminfo");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        uint64_t kb = 0;
        fields >> name >> kb;
        if (name == "MemTotal:") total_ = kb * 1024;
        else if (name == "MemAvailable:") available_ = kb * 1024;
    }
}

Class_Memstatus_2::Class_Memstatus_2(uint64_t total_bytes, uint64_t available_bytes)
    : total_(total_bytes), available_(available_bytes) {}

std::string Class_Memstatus_2::Size_Text(uint64_t bytes) {
    constexpr uint64_t KB = 1024, MB = KB * 1024, GB = MB * 1024, TB = GB * 1024;
    double n = static_cast<double>(bytes);
    if (bytes < KB) return std::to_string(bytes) + " bytes";
    if (bytes < MB) return vb::CStr(vb::Round(n / KB, 1)) + " KB";
    if (bytes < GB) return vb::CStr(vb::Round(n / MB, 2)) + " MB";
    if (bytes < TB) return vb::CStr(vb::Round(n / GB, 2)) + " GB";
    return vb::CStr(vb::Round(n / TB, 2)) + " TB";
}

std::string Class_Memstatus_2::Mem_Tot_phys() const {
    double free_share = total_ ? static_cast<double>(available_) / static_cast<double>(total_) * 100.0 : 0.0;
    return Size_Text(total_) + " (" + vb::CStr(vb::Round(free_share)) + "% Free)";
}
