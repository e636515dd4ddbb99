// The wizard's picture on a real window: banner texts cut at their boxes,
// repainted when they change, and picture files that cannot be read.
#include "ComponentTestSupport.h"
#include "KwTestSupport.h"

#include "KwFont.h"
#include "SetupImgView.h"

#include <gtest/gtest.h>

#include <string>

using namespace KwSDK;
using namespace KwSDK::Testing;
using KwSDK::KwTest::ScratchFolder;
using KwSDK::KwTest::Str;

namespace {

const unsigned int kWhite = 0xFFFFFF;

bool IsDark(unsigned int rgb)
{
    return (rgb >> 16 & 0xFF) < 0x80 && (rgb >> 8 & 0xFF) < 0x80 && (rgb & 0xFF) < 0x80;
}

// A 24-bit BMP file of 2 x 2 pixels of one colour (0xRRGGBB).
std::string SolidBmp(unsigned int rgb)
{
    auto u32 = [](unsigned int v) {
        return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF),
                           static_cast<char>(v >> 16 & 0xFF), static_cast<char>(v >> 24 & 0xFF)};
    };
    std::string row = {static_cast<char>(rgb & 0xFF), static_cast<char>(rgb >> 8 & 0xFF),
                       static_cast<char>(rgb >> 16 & 0xFF)};
    row = row + row + std::string(2, '\0');
    std::string bmp = "BM" + u32(54 + 16) + u32(0) + u32(54);
    bmp += u32(40) + u32(2) + u32(2) + std::string("\x01\x00\x18\x00", 4) + u32(0) + u32(16);
    bmp += u32(2835) + u32(2835) + u32(0) + u32(0);
    return bmp + row + row;
}

class SetupImgViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pView = MakeCounted<SetupImgView>();
        m_pView->SetWindowType(KW_WINDOW_POPUP);
        m_pView->SetBounds(20, 20, 498, 58, 0);
        m_pView->SetBackground(KwColor(255, 255, 255));
        m_pView->SetForeground(KwColor(0, 0, 0));
    }

    void TearDown() override
    {
        m_pView->Release();
        PumpMessages();
    }

    void Create()
    {
        ASSERT_EQ(CreateShown(m_pView), 1);
        m_hWindow = WindowOf(m_pView);
        m_pView->RepaintAll();
    }

    int CountDark(int left, int top, int right, int bottom)
    {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                count += IsDark(WindowPixel(m_hWindow, x, y)) ? 1 : 0;
            }
        }
        return count;
    }

    SetupImgView* m_pView = nullptr;
    HWND m_hWindow = nullptr;
};

TEST_F(SetupImgViewTest, LongTitleIsCutAtItsBoxAndDrawnBold)
{
    KwFont* font = m_pView->GetFont();
    ASSERT_NE(font, nullptr);
    int weight = font->GetWeight();
    m_pView->SetBannerTexts("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", "");
    Create();
    EXPECT_GT(CountDark(180, 10, 210, 30), 0);
    EXPECT_EQ(CountDark(210, 0, 498, 58), 0) << "cut at x = 210";
    EXPECT_EQ(CountDark(0, 26, 498, 58), 0) << "no second line";
    EXPECT_EQ(font->GetWeight(), weight) << "the font is put back after the bold title";

    // The same text as description, in the regular weight, is lighter.
    int bold = CountDark(10, 10, 110, 30);
    m_pView->SetBannerTexts("", "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    m_pView->RepaintAll();
    EXPECT_LT(CountDark(52, 30, 152, 50), bold);
    EXPECT_EQ(CountDark(352, 0, 498, 58), 0);
    font->Release();
}

TEST_F(SetupImgViewTest, NewBannerTextsArePaintedOnTheNextPaintMessage)
{
    m_pView->SetBannerTexts("Licence", "");
    Create();
    EXPECT_GT(CountDark(10, 10, 210, 30), 0);
    EXPECT_EQ(CountDark(52, 30, 352, 50), 0);
    m_pView->SetBannerTexts("", "Choose a folder");
    EXPECT_TRUE(GetUpdateRect(m_hWindow, nullptr, FALSE)) << "the view waits for a paint";
    UpdateWindow(m_hWindow);
    EXPECT_EQ(CountDark(10, 10, 210, 30), 0);
    EXPECT_GT(CountDark(52, 30, 352, 50), 0);
}

TEST_F(SetupImgViewTest, PictureFilesThatCannotBeReadLeaveTheViewWithoutImage)
{
    ScratchFolder folder("imgview");
    std::string good = folder.Path("logo.bmp");
    std::string damaged = folder.Path("damaged.png");
    ASSERT_TRUE(KwTest::WriteFile(good, SolidBmp(0x00FF00)));
    ASSERT_TRUE(KwTest::WriteFile(damaged, std::string("\x89PNG\r\n\x1a\n", 8) + "not a picture"));
    Create();
    EXPECT_EQ(m_pView->SetImageFile(Str(good)), 1);
    EXPECT_EQ(WindowPixel(m_hWindow, 400, 50), 0x00FF00u);
    for (const std::string& path : {damaged, folder.Path("missing.bmp")}) {
        EXPECT_EQ(m_pView->SetImageFile(Str(path)), 0) << path;
        EXPECT_EQ(m_pView->GetImage(), nullptr) << path;
        EXPECT_EQ(WindowPixel(m_hWindow, 400, 50), kWhite) << path;
    }
}

} // namespace
