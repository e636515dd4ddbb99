// Points: translation, copies and clones.
#include "KwPoint.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace KwSDK;

namespace {

TEST(KwPointTest, TranslateAddsToTheCoordinates)
{
    KwPoint point;
    EXPECT_EQ(point.GetX(), 0);
    EXPECT_EQ(point.GetY(), 0);
    point.Set(3, -4);
    point.Translate(10, 5);
    point.Translate(-1, -1);
    EXPECT_EQ(point.GetX(), 12);
    EXPECT_EQ(point.GetY(), 0);
}

TEST(KwPointTest, CopiesAndClonesAreIndependentPoints)
{
    KwPoint point(7, 8);
    KwPoint copy(point);
    copy.Translate(1, 1);
    EXPECT_EQ(point.GetX(), 7);
    EXPECT_NE(std::strstr(copy.GetTypeName(), "KwPoint"), nullptr);
    KwPoint* clone = point.Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetX(), 7);
    EXPECT_EQ(clone->GetY(), 8);
    EXPECT_EQ(clone->Release(), 0);
}

} // namespace
