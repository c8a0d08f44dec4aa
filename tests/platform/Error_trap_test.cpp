#include "platform/vb/Error_trap.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

struct Reported {
    std::string description, location, extra;
    int32_t number = 0, line = 0;
};

TEST(Error_trap, Armed_it_reports_with_the_raise_line_and_returns_false) {
    Reported got;
    vb::Set_Error_Reporter([&](const std::string& d, int32_t n, int32_t l, const std::string& loc, const std::string& x) {
        got = {d, loc, x, n, l};
    });
    int line = 0;
    bool ok = vb::Trap(true, "Proc of Module M", [&] { line = __LINE__; vb::Raise(13); }, "extra");
    EXPECT_FALSE(ok);
    EXPECT_EQ(got.number, 13);
    EXPECT_EQ(got.description, "Type mismatch");
    EXPECT_EQ(got.line, line);
    EXPECT_EQ(got.location, "Proc of Module M");
    EXPECT_EQ(got.extra, "extra");

    EXPECT_FALSE(vb::Trap(true, "X", [] { throw std::runtime_error("boom"); }));
    EXPECT_EQ(got.number, 51);
    EXPECT_TRUE(vb::Trap(true, "X", [] {}));
    vb::Set_Error_Reporter(nullptr);
}

TEST(Error_trap, Not_armed_the_error_reaches_the_caller) {
    EXPECT_THROW(vb::Trap(false, "X", [] { vb::Raise(6); }), VbError);
    int handled = 0;
    EXPECT_FALSE(vb::Trap_With(true, [] { vb::Raise(9); }, [&](const VbError& e) { handled = e.Number(); }));
    EXPECT_EQ(handled, 9);
}

}  // namespace
