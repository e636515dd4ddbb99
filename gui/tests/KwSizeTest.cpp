// Sizes: values, copies and clones.
#include "KwSize.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace KwSDK;

namespace {

TEST(KwSizeTest, HoldsWidthAndHeight)
{
    KwSize size;
    EXPECT_EQ(size.GetWidth(), 0);
    EXPECT_EQ(size.GetHeight(), 0);
    size.Set(640, 480);
    EXPECT_EQ(size.GetWidth(), 640);
    EXPECT_EQ(size.GetHeight(), 480);
}

TEST(KwSizeTest, CopiesAndClonesAreIndependentSizes)
{
    KwSize size(5, 6);
    KwSize copy = size;
    copy.Set(1, 1);
    EXPECT_EQ(size.GetWidth(), 5);
    EXPECT_NE(std::strstr(copy.GetTypeName(), "KwSize"), nullptr);
    KwSize assigned;
    assigned = size;
    EXPECT_EQ(assigned.GetHeight(), 6);
    KwSize* clone = size.Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetHeight(), 6);
    EXPECT_EQ(clone->Release(), 0);
}

} // namespace
