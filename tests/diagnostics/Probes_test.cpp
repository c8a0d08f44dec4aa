#include "Test_dialogs.h"
#include "diagnostics/Class_CPUInfo.h"
#include "diagnostics/Module_MonitorCount.h"
#include "diagnostics/Module_OS_Version.h"
#include "shell/Module_Vantorel.h"

#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(Probes, Describe_this_computer) {
    Module_Vantorel::AppData_Folder = Test_folder();
    Class_CPUInfo cpu;
    EXPECT_EQ(cpu.NumberOrfProcessors(), static_cast<int32_t>(std::thread::hardware_concurrency()));
#if defined(__x86_64__)
    EXPECT_EQ(cpu.ProcessorType(), 8664);
    EXPECT_EQ(Module_OS_Version::GetOsBitness(), "64");
    EXPECT_EQ(Module_OS_Version::GetCpuBitness(), "64");
#endif
    EXPECT_GE(cpu.GetCPUSpeed(), 0);
    EXPECT_NE(Module_OS_Version::GetComputerModel().find(','), std::string::npos);
    EXPECT_EQ(Module_MonitorCount::Get_Monitor_Count(), 1);  // the offscreen platform has one screen

    std::ifstream release("/etc/os-release");
    if (release) {
        EXPECT_NE(Module_OS_Version::OS_version_WMI(), "Unknown OS");
    }
}

}  // namespace
