#pragma once
// How fast the computer writes large amounts of data to the disk of the application-data folder.
#include <cstdint>
#include <string>

class Class_disk_mem_perf {
public:
    // 375,000,000 bytes written to "perftest" in the application-data folder, then deleted; the rate
    // and " MBytes/sec". A file that cannot be created or written raises 75 with the system's reason.
    std::string DiskPerf();
    // 50,000,000 bytes written to "testperf.txt" in the application-data folder, which stays; "" after
    // "Last error = " and the system's error number when the file cannot be opened.
    std::string DiskPerf2();

    // The rate text of a byte count written in that many ticks: MBytes (1,048,576 bytes) per second,
    // one decimal, halves to even, shortest form. A span of 0 ms counts as 1 ms.
    static std::string Rate_Text(double bytes, int32_t elapsed_ms);
};
