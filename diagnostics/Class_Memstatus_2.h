#pragma once
// A snapshot of the computer's physical memory, taken when the object is made.
#include <cstdint>
#include <string>

class Class_Memstatus_2 {
public:
    Class_Memstatus_2();  // reads /proc/meminfo
    Class_Memstatus_2(uint64_t total_bytes, uint64_t available_bytes);

    // "15.92 GB (41% Free)": the total as a size text, then the free share.
    std::string Mem_Tot_phys() const;
    // Bytes the system can give a process now without swapping.
    uint64_t Available_bytes() const { return available_; }

    // A byte count as "1023 bytes", "1 KB", "15.92 GB": one decimal for KB, two above, halves to even,
    // no trailing zeros.
    static std::string Size_Text(uint64_t bytes);

private:
    uint64_t total_ = 0;
    uint64_t available_ = 0;
};
