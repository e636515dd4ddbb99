// Colour channels and their packed forms.
#include "KwColor.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace KwSDK;

namespace {

TEST(KwColorTest, StartsBlackWithAlphaZero)
{
    KwColor color;
    EXPECT_EQ(color.GetARGB(), 0u);
    KwColor three(1, 2, 3);
    EXPECT_EQ(three.GetAlpha(), 0);
    EXPECT_NE(std::strstr(color.GetTypeName(), "KwColor"), nullptr);
}

TEST(KwColorTest, ArgbPacksAlphaRedGreenBlue)
{
    KwColor color(0x12, 0x34, 0x56, 0x78);
    EXPECT_EQ(color.GetARGB(), 0x78123456u);
    color.SetARGB(0xAABBCCDDu);
    EXPECT_EQ(color.GetAlpha(), 0xAA);
    EXPECT_EQ(color.GetRed(), 0xBB);
    EXPECT_EQ(color.GetGreen(), 0xCC);
    EXPECT_EQ(color.GetBlue(), 0xDD);
}

TEST(KwColorTest, ColorRefPutsRedInTheLowestByte)
{
    KwColor color(1, 2, 3);
    EXPECT_EQ(color.GetColorRef(), 0x00030201u);
    color.SetAlpha(4);
    EXPECT_EQ(color.GetColorRef(), 0x04030201u);
    KwColor back;
    back.SetColorRef(0x80FF7F01u);
    EXPECT_EQ(back.GetRed(), 0x01);
    EXPECT_EQ(back.GetGreen(), 0x7F);
    EXPECT_EQ(back.GetBlue(), 0xFF);
    EXPECT_EQ(back.GetAlpha(), 0x80);
}

TEST(KwColorTest, Rgb565KeepsTheTopBitsOfEachChannel)
{
    KwColor color(0xFF, 0xFF, 0xFF);
    EXPECT_EQ(color.GetRGB565(), 0xFFFFu);
    KwColor mixed(0x84, 0x42, 0x21); // 10000 100, 010000 10, 00100 001
    EXPECT_EQ(mixed.GetRGB565(), (0x10u << 11) | (0x10u << 5) | 0x04u);

    KwColor unpacked(0, 0, 0, 0x55);
    unpacked.SetRGB565(0xFFFF);
    EXPECT_EQ(unpacked.GetRed(), 0xF8);
    EXPECT_EQ(unpacked.GetGreen(), 0xFC);
    EXPECT_EQ(unpacked.GetBlue(), 0xF8);
    EXPECT_EQ(unpacked.GetAlpha(), 0x55);
    unpacked.SetRGB565(mixed.GetRGB565());
    EXPECT_EQ(unpacked.GetRed(), 0x80);
    EXPECT_EQ(unpacked.GetGreen(), 0x40);
    EXPECT_EQ(unpacked.GetBlue(), 0x20);
}

TEST(KwColorTest, Rgb555KeepsFiveBitsOfEachChannel)
{
    KwColor color(0xFF, 0x00, 0xFF);
    EXPECT_EQ(color.GetRGB555(), 0x7C1Fu);
    KwColor green(0x00, 0xFF, 0x00);
    EXPECT_EQ(green.GetRGB555(), 0x03E0u);

    KwColor unpacked;
    unpacked.SetRGB555(0x7FFF);
    EXPECT_EQ(unpacked.GetRed(), 0xF8);
    EXPECT_EQ(unpacked.GetGreen(), 0xF8);
    EXPECT_EQ(unpacked.GetBlue(), 0xF8);
    unpacked.SetRGB555(0x03E0);
    EXPECT_EQ(unpacked.GetRed(), 0x00);
    EXPECT_EQ(unpacked.GetGreen(), 0xF8);
    EXPECT_EQ(unpacked.GetBlue(), 0x00);
}

TEST(KwColorTest, SettersKeepTheLowByte)
{
    KwColor color;
    color.SetRed(0x1FF);
    color.SetGreen(-1);
    color.SetBlue(256);
    color.SetAlpha(0x180);
    EXPECT_EQ(color.GetRed(), 0xFF);
    EXPECT_EQ(color.GetGreen(), 0xFF);
    EXPECT_EQ(color.GetBlue(), 0x00);
    EXPECT_EQ(color.GetAlpha(), 0x80);
}

TEST(KwColorTest, CopiesAndClonesAreIndependent)
{
    KwColor color(10, 20, 30, 40);
    KwColor copy(color);
    copy.SetRed(99);
    EXPECT_EQ(color.GetRed(), 10);
    EXPECT_NE(std::strstr(copy.GetTypeName(), "KwColor"), nullptr);
    KwColor* clone = color.Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetARGB(), color.GetARGB());
    EXPECT_EQ(clone->Release(), 0);
}

} // namespace
