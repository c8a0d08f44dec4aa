#include "System_info.h"

#include <fstream>
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

}  // namespace sysinfo
