#include "Test_dialogs.h"
#include "diagnostics/Class_JPG_Bench.h"
#include "diagnostics/Class_disk_mem_perf.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(Benchmarks, Jpeg_time_is_the_cut_mean_of_ten_encodings) {
    for (auto [elapsed, expected] : {std::pair{100, 10}, std::pair{109, 10}, std::pair{9, 0}, std::pair{0, 0}})
        EXPECT_EQ(Class_JPG_Bench::Mean_Of_Ten(elapsed), expected) << elapsed;
    Class_JPG_Bench bench;
    EXPECT_GE(bench.JPG_Bench(332, 756), 0);
    EXPECT_GE(bench.JPG_Bench(600, 1600), 0);  // the bitmap is made anew at every size
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST(Benchmarks, Disk_rate_text) {
    EXPECT_EQ(Class_disk_mem_perf::Rate_Text(50000000, 1000), "47.7 MBytes/sec");
    EXPECT_EQ(Class_disk_mem_perf::Rate_Text(1048576, 1000), "1 MBytes/sec");
    EXPECT_EQ(Class_disk_mem_perf::Rate_Text(1048576, 0), "1000 MBytes/sec");  // a span too short to measure
}

// "testperf.txt" stays until the next run writes it again; "perftest" is removed.
TEST(Benchmarks, Disk_benchmarks_keep_only_the_appdata_test_file) {
    std::string folder = Test_folder() + "/data/vantorel";
    Class_disk_mem_perf perf;
    std::string rate = perf.DiskPerf2();
    EXPECT_NE(rate.find(" MBytes/sec"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::filesystem::file_size(folder + "/testperf.txt"), 50000000u);
    rate = perf.DiskPerf();
    EXPECT_NE(rate.find(" MBytes/sec"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder + "/perftest"));
}

}  // namespace
