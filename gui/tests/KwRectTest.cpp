// Rectangles: origin and extent, borrowed arguments and handed-out values.
#include "KwRect.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace KwSDK;

namespace {

TEST(KwRectTest, HoldsOriginAndExtent)
{
    KwRect rect;
    EXPECT_EQ(rect.GetX() | rect.GetY() | rect.GetWidth() | rect.GetHeight(), 0);
    rect.SetX(1);
    rect.SetY(2);
    rect.SetWidth(30);
    rect.SetHeight(40);
    EXPECT_EQ(rect.GetX(), 1);
    EXPECT_EQ(rect.GetY(), 2);
    EXPECT_EQ(rect.GetWidth(), 30);
    EXPECT_EQ(rect.GetHeight(), 40);
    rect.SetLocation(-5, -6);
    rect.SetSize(7, 8);
    EXPECT_EQ(rect.GetX(), -5);
    EXPECT_EQ(rect.GetHeight(), 8);
}

// Points and sizes on the stack were never counted; reading them must not
// release them.
TEST(KwRectTest, ReadsBorrowedPointsAndSizesWithoutReleasingThem)
{
    KwRect rect;
    KwPoint location(11, 12);
    KwSize size(13, 14);
    rect.SetLocation(&location);
    rect.SetSize(&size);
    EXPECT_EQ(rect.GetX(), 11);
    EXPECT_EQ(rect.GetY(), 12);
    EXPECT_EQ(rect.GetWidth(), 13);
    EXPECT_EQ(rect.GetHeight(), 14);
    EXPECT_EQ(location.GetX(), 11);

    KwPoint* counted = new KwPoint(1, 2);
    counted->AddRef();
    rect.SetLocation(counted);
    EXPECT_EQ(counted->AddRef(), 2);
    counted->Release();
    counted->Release();

    rect.SetLocation(static_cast<const KwPoint*>(nullptr));
    rect.SetSize(static_cast<const KwSize*>(nullptr));
    EXPECT_EQ(rect.GetX(), 1);
    EXPECT_EQ(rect.GetWidth(), 13);
}

TEST(KwRectTest, HandsOutNewLocationAndSizeWithOneReference)
{
    KwRect rect(3, 4, 50, 60);
    KwPoint* location = rect.GetLocation();
    KwSize* size = rect.GetSize();
    ASSERT_NE(location, nullptr);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(location->GetX(), 3);
    EXPECT_EQ(location->GetY(), 4);
    EXPECT_EQ(size->GetWidth(), 50);
    EXPECT_EQ(size->GetHeight(), 60);
    location->Translate(100, 100);
    EXPECT_EQ(rect.GetX(), 3);
    EXPECT_EQ(location->Release(), 0);
    EXPECT_EQ(size->Release(), 0);
}

TEST(KwRectTest, CopiesAndClonesAreIndependentRectangles)
{
    KwRect rect(1, 2, 3, 4);
    KwRect copy(rect);
    copy.SetX(9);
    EXPECT_EQ(rect.GetX(), 1);
    EXPECT_NE(std::strstr(copy.GetTypeName(), "KwRect"), nullptr);
    KwRect* clone = rect.Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetWidth(), 3);
    EXPECT_EQ(clone->Release(), 0);
}

} // namespace
