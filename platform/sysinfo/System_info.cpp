#include "System_info.h"

#include <fstream>
#include <sched.h>
#include <sstream>
#include <sys/utsname.h>
#include <unistd.h>

namespace sysinfo {

namespace {

std::string First_Line(const char* path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

std::string Machine() {
    utsname u{};
    return uname(&u) == 0 ? u.machine : "";
}

std::string Whole_File(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The number after the ':' of a "name : value" line, or -1.
int64_t Value_Of(const std::string& line) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return -1;
    try {
        return std::stoll(line.substr(colon + 1), nullptr, 0);
    } catch (...) {
        return -1;
    }
}

bool Is_64_Bit_Machine(const std::string& m) {
    return m == "x86_64" || m == "aarch64" || m == "ppc64le" || m == "s390x" || m == "riscv64";
}

}  // namespace

std::string Os_Caption() {
    std::ifstream in("/etc/os-release");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
        std::string value = line.substr(12);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')) value = value.substr(1, value.size() - 2);
        return value;
    }
    return "";
}

std::string Os_Address_Width() { return Is_64_Bit_Machine(Machine()) ? "64" : "32"; }

std::string Cpu_Data_Width() {
    if (Is_64_Bit_Machine(Machine())) return "64";
    // A 32-bit system can run on a 64-bit processor: its "lm" flag says so.
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("flags", 0) == 0) return (line + " ").find(" lm ") != std::string::npos ? "64" : "32";
    return "32";
}

std::string Manufacturer() { return First_Line("/sys/class/dmi/id/sys_vendor"); }
std::string Model() { return First_Line("/sys/class/dmi/id/product_name"); }

int32_t Processor_Count() {
    long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<int32_t>(n) : 1;
}

int32_t Processor_Type() {
    const std::string m = Machine();
    if (m == "x86_64") return 8664;
    if (m.size() == 4 && m[0] == 'i' && m.substr(2) == "86") return 586;
    return 0;
}

int32_t Page_Size() {
    const long size = sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<int32_t>(size) : 4096;
}

int32_t Allocation_Granularity() { return Page_Size(); }

uint64_t Lowest_Application_Address() {
    std::ifstream in("/proc/sys/vm/mmap_min_addr");
    uint64_t lowest = 0;
    if (in >> lowest && lowest > 0) return lowest;
    return static_cast<uint64_t>(Page_Size());
}

uint64_t Highest_Application_Address(const std::string& maps_text) {
    std::istringstream in(maps_text);
    std::string line;
    uint64_t highest = 0;
    while (std::getline(in, line)) {
        const size_t dash = line.find('-');
        if (dash == std::string::npos) continue;
        const size_t end_of_range = line.find(' ', dash);
        uint64_t end = 0;
        try {
            end = std::stoull(line.substr(dash + 1, end_of_range - dash - 1), nullptr, 16);
        } catch (...) {
            continue;
        }
        // The system's half (the vsyscall page) is no address a program can use.
        if (end == 0 || end > (uint64_t{1} << 63)) continue;
        if (end - 1 > highest) highest = end - 1;
    }
    return highest;
}

uint64_t Highest_Application_Address() { return Highest_Application_Address(Whole_File("/proc/self/maps")); }

int32_t Processor_Architecture() {
    const std::string m = Machine();
    if (m == "x86_64") return 9;
    if (m.size() == 4 && m[0] == 'i' && m.substr(2) == "86") return 0;
    if (m == "aarch64") return 12;
    if (m.rfind("arm", 0) == 0) return 5;
    return 0xFFFF;
}

Processor_Level Processor_Level_Of(const std::string& cpuinfo_text) {
    std::istringstream in(cpuinfo_text);
    std::string line;
    int64_t family = -1, model = -1, stepping = -1;
    // The first processor's block is enough: the record describes processor 0.
    while (std::getline(in, line) && !line.empty()) {
        const std::string name = line.substr(0, line.find_first_of("\t:"));
        if (name == "cpu family" && family < 0) family = Value_Of(line);
        else if (name == "model" && model < 0) model = Value_Of(line);
        else if (name == "stepping" && stepping < 0) stepping = Value_Of(line);
    }
    Processor_Level result;
    if (family > 0 && family <= 0xFFFF) result.level = static_cast<int32_t>(family);
    if (model >= 0 && model <= 0xFF) result.revision = static_cast<int32_t>(model << 8);
    if (model >= 0 && model <= 0xFF && stepping >= 0 && stepping <= 0xFF) result.revision |= static_cast<int32_t>(stepping);
    return result;
}

Processor_Level Processor_Level_Now() { return Processor_Level_Of(Whole_File("/proc/cpuinfo")); }

uint64_t Active_Processor_Mask() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    uint64_t mask = 0;
    for (int cpu = 0; cpu < 64; ++cpu)
        if (CPU_ISSET(cpu, &set)) mask |= uint64_t{1} << cpu;
    return mask;
}

}  // namespace sysinfo
