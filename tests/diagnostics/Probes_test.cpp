#include "Test_dialogs.h"
#include "diagnostics/Class_CPUInfo.h"
#include "diagnostics/Module_MonitorCount.h"
#include "diagnostics/Module_OS_Version.h"
#include "platform/sysinfo/System_info.h"
#include "shell/Module_Vantorel.h"

#include <bit>

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

TEST(Probes, Processor_level_and_revision_from_the_first_processor) {
    struct Case {
        const char* text;
        int32_t level;
        int32_t revision;
    } cases[] = {
        {"processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 85\nmodel name\t: Xeon\nstepping\t: 7\n\n"
         "processor\t: 1\ncpu family\t: 15\nmodel\t\t: 1\nstepping\t: 2\n",
         6, 85 * 256 + 7},
        // A model name line never passes for the model, and a missing stepping leaves the model alone.
        {"model name\t: 99 cores\ncpu family\t: 25\nmodel\t\t: 33\n", 25, 33 * 256},
        // Processors that describe themselves otherwise (ARM) give nothing rather than a guess.
        {"processor\t: 0\nBogoMIPS\t: 48.00\nCPU part\t: 0xd0c\n", 0, 0},
        {"cpu family\t: banana\nmodel\t\t: 300\nstepping\t: 1\n", 0, 0},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const sysinfo::Processor_Level level = sysinfo::Processor_Level_Of(c.text);
        EXPECT_EQ(level.level, c.level);
        EXPECT_EQ(level.revision, c.revision);
    }
}

TEST(Probes, Highest_application_address_is_the_end_of_the_highest_own_mapping) {
    const std::string maps =
        "55d0c0a00000-55d0c0a21000 r--p 00000000 08:01 1234 /usr/bin/vantorel\n"
        "7ffd3a1c0000-7ffd3a1e1000 rw-p 00000000 00:00 0 [stack]\n"
        "7ffd3a1f0000-7ffd3a1f2000 r-xp 00000000 00:00 0 [vdso]\n"
        "ffffffffff600000-ffffffffff601000 --xp 00000000 00:00 0 [vsyscall]\n"
        "not a mapping\n";
    EXPECT_EQ(sysinfo::Highest_Application_Address(maps), 0x7ffd3a1f1fffULL);
    EXPECT_EQ(sysinfo::Highest_Application_Address(""), 0u);

    Class_CPUInfo cpu;
    EXPECT_GT(cpu.MaximumApplicationAddress(), cpu.MinimumApplicationAddress());
    EXPECT_GT(cpu.MinimumApplicationAddress(), 0u);
    EXPECT_EQ(cpu.AllocationGranularity() % cpu.PageSize(), 0);
    EXPECT_GE(std::popcount(cpu.ActiveProcessorMask()), 1);
    EXPECT_LE(std::popcount(cpu.ActiveProcessorMask()), cpu.NumberOrfProcessors());
#if defined(__x86_64__)
    EXPECT_EQ(cpu.OemID(), 9);
    EXPECT_GT(cpu.Reserved() & 0xFFFF, 0);  // every x86 processor names its family
#endif
}

}  // namespace
