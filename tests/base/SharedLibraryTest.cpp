// Libraries opened at first use: a present one gives working functions, a missing one or a
// missing function leaves nothing to call (the callers then report what is not installed).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "base/SharedLibrary.h"

TEST(SharedLibraryTest, APresentLibraryGivesItsFunctionsAndAMissingOneOrFunctionGivesNone) {
    const SharedLibrary math("libm.so.6");
    ASSERT_TRUE(math.isOpen()) << math.failure();
    EXPECT_TRUE(math.failure().empty());
    double (*cosine)(double) = nullptr;
    ASSERT_TRUE(math.bind(cosine, "cos"));
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    void (*nothing)() = reinterpret_cast<void (*)()>(&std::abort);
    EXPECT_FALSE(math.bind(nothing, "no_such_function_here"));
    EXPECT_EQ(nothing, nullptr);

    const SharedLibrary missing("libmernolex-not-installed.so.7");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_NE(missing.failure().find("libmernolex-not-installed.so.7"), std::string::npos) << missing.failure();
    double (*unbound)(double) = cosine;
    EXPECT_FALSE(missing.bind(unbound, "cos"));
    EXPECT_EQ(unbound, nullptr);
}
