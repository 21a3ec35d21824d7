#include "core/result.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A value of the error's own type is a value, never taken for a failure.
Result<std::string> echo(bool ok) {
    if (!ok)
        return Failure{"refused"};
    return std::string("refused");
}

TEST(Result, HoldsTheValueOrTheMessage) {
    EXPECT_TRUE(echo(true));
    EXPECT_EQ(*echo(true), "refused");
    EXPECT_EQ(echo(true).error(), "");
    EXPECT_FALSE(echo(false));
    EXPECT_EQ(echo(false).error(), "refused");

    const Result<> done;
    EXPECT_TRUE(done);
    const Result<> failed = Failure{std::string("no room")};
    EXPECT_EQ(failed.error(), "no room");

    Result<std::vector<int>> moved = std::vector<int>{1, 2};
    EXPECT_EQ(std::move(moved).value().size(), 2u);
}

} // namespace
