// The entry of the installer's test program. Tests start copies of this
// program as helper processes; a copy started as a helper runs only that
// helper, so helpers never appear among the tests.
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], SetupTest::kAssociationsHelperArgument) == 0)
        return SetupTest::RunAssociationsHelper();
    if (getenv(SetupTest::kSleeperVariable) != nullptr)
        return SetupTest::RunSleeperHelper();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
