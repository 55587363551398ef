// GoogleTest's main, with every test starting from the same process-wide state.
#include <gtest/gtest.h>

#include "tests/support/test_globals.h"

namespace {

class ResetGlobalsBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ResetTestGlobals(); }
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetGlobalsBeforeEachTest);
    return RUN_ALL_TESTS();
}
