#include "diagnostics/Class_Memstatus_2.h"

#include <gtest/gtest.h>

namespace {

TEST(Class_Memstatus_2, Size_texts_by_range) {
    struct Row { uint64_t bytes; const char* expected; } rows[] = {
        {0, "0 bytes"}, {1023, "1023 bytes"}, {1024, "1 KB"}, {1536, "1.5 KB"}, {1048575, "1024 KB"},
        {1048576, "1 MB"}, {8589934592ULL, "8 GB"}, {17098211328ULL, "15.92 GB"},
        {1099511627776ULL, "1 TB"},
    };
    for (const Row& r : rows) EXPECT_EQ(Class_Memstatus_2::Size_Text(r.bytes), r.expected) << r.bytes;
}

TEST(Class_Memstatus_2, Total_with_the_free_share) {
    EXPECT_EQ(Class_Memstatus_2(17098211328ULL, 17098211328ULL * 41 / 100).Mem_Tot_phys(), "15.92 GB (41% Free)");
    EXPECT_EQ(Class_Memstatus_2(0, 0).Mem_Tot_phys(), "0 bytes (0% Free)");
    EXPECT_NE(Class_Memstatus_2().Mem_Tot_phys().find("B ("), std::string::npos);  // this machine's
}

}  // namespace
