// Font descriptions, the font factory and the mapping to system fonts.
#include "KwFont.h"
#include "KwFontMapping.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

using namespace KwSDK;

namespace {

int DesktopPixelsPerInch()
{
    HDC context = GetDC(GetDesktopWindow());
    int dpi = GetDeviceCaps(context, LOGPIXELSY);
    ReleaseDC(GetDesktopWindow(), context);
    return dpi;
}

// Every font comes from the heap with one reference, as the factory hands
// them out.
KwFont* NewFont(const char* name, int height)
{
    KwFont* font = new KwFont();
    font->AddRef();
    font->SetName(name);
    font->SetHeight(height);
    font->SetWeight(400);
    return font;
}

TEST(KwFontTest, StartsEmptyWithNinePoints)
{
    KwFont font;
    EXPECT_EQ(font.GetName(), "");
    EXPECT_EQ(font.GetHeight(), 0);
    EXPECT_EQ(font.GetWeight(), 0);
    EXPECT_EQ(font.GetPointSize(), 9);
    EXPECT_EQ(font.QueryFlag(), 0);
    EXPECT_NE(std::strstr(font.GetTypeName(), "KwFont"), nullptr);
}

TEST(KwFontTest, HeightAndWidthAreReportedAsAbsoluteValues)
{
    KwFont font;
    font.SetHeight(-16);
    font.SetWidth(-7);
    EXPECT_EQ(font.GetHeight(), 16);
    EXPECT_EQ(font.GetWidth(), 7);
}

TEST(KwFontTest, EqualsComparesAbsoluteSizesAndExactFaces)
{
    KwFont* a = NewFont("Tahoma", -16);
    KwFont* b = NewFont("Tahoma", 16);
    EXPECT_EQ(a->Equals(b), 1);
    EXPECT_EQ(b->Equals(a), 1);
    EXPECT_EQ(a->Equals(nullptr), 0);

    b->SetName("tahoma");
    EXPECT_EQ(a->Equals(b), 0);
    b->SetName("Tahoma");
    b->SetWeight(700);
    EXPECT_EQ(a->Equals(b), 0);
    b->SetWeight(400);
    b->SetItalic(1);
    EXPECT_EQ(a->Equals(b), 0);
    b->SetItalic(0);
    b->SetUnderline(1);
    EXPECT_EQ(a->Equals(b), 0);
    b->SetUnderline(0);
    b->SetStrikeOut(1);
    EXPECT_EQ(a->Equals(b), 0);
    b->SetStrikeOut(0);
    b->SetWidth(5);
    EXPECT_EQ(a->Equals(b), 0);
    a->SetWidth(-5);
    EXPECT_EQ(a->Equals(b), 1);
    a->Release();
    b->Release();
}

TEST(KwFontTest, PointSizeUsesTheDesktopResolution)
{
    KwFont font;
    font.SetPointSize(10);
    EXPECT_EQ(font.GetPointSize(), 10);
    EXPECT_EQ(font.GetHeight(), MulDiv(10, DesktopPixelsPerInch(), 72));
}

TEST(KwFontTest, MakeFontGivesAPositiveCellHeight)
{
    KwFont* font = MakeFont("Tahoma", 12);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetName(), "Tahoma");
    EXPECT_GT(font->GetHeight(), 0);
    EXPECT_EQ(font->GetHeight(), MulDiv(12, DesktopPixelsPerInch(), 72));
    EXPECT_EQ(font->GetWidth(), 0);
    EXPECT_EQ(font->GetWeight(), 400);
    EXPECT_EQ(font->GetItalic(), 0);
    EXPECT_EQ(font->GetPointSize(), 12);
    // One reference for the caller: the last Release frees it.
    EXPECT_EQ(font->AddRef(), 2);
    EXPECT_EQ(font->Release(), 1);
    font->Release();
}

TEST(KwFontTest, DefaultFontIsTheDesktopFaceAtTwelvePoints)
{
    KwFont* font = GetDefaultFont();
    ASSERT_NE(font, nullptr);
    EXPECT_GT(font->GetName().GetLength(), 0);
    EXPECT_EQ(font->GetPointSize(), 12);
    KwFont* again = GetDefaultFont();
    EXPECT_NE(font, again);
    EXPECT_EQ(font->Equals(again), 1);
    font->Release();
    again->Release();
}

TEST(KwFontTest, MappingPassesTheDescriptionToTheSystem)
{
    KwFont* font = NewFont("Tahoma", -20);
    font->SetWeight(700);
    font->SetItalic(1);
    font->SetUnderline(1);
    HFONT system = CreateGdiFont(font);
    ASSERT_NE(system, nullptr);
    LOGFONTA description;
    ASSERT_EQ(GetObjectA(system, sizeof description, &description), (int)sizeof description);
    EXPECT_EQ(description.lfHeight, 20);
    EXPECT_EQ(description.lfWeight, 700);
    EXPECT_EQ(description.lfItalic, 1);
    EXPECT_EQ(description.lfUnderline, 1);
    EXPECT_EQ(description.lfStrikeOut, 0);
    EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(description.lfFaceName, "Tahoma");
    DeleteObject(system);
    font->Release();
    EXPECT_EQ(CreateGdiFont(nullptr), nullptr);
}

} // namespace
