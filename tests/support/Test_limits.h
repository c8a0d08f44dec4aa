#pragma once
// A file size limit for the length of one call, so that a write beyond it fails (EFBIG) whoever runs
// the test, root as well.
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

template <class Body>
void With_File_Size_Limit(rlim_t bytes, Body&& body) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = bytes;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    body();
    setrlimit(RLIMIT_FSIZE, &limit);
}
