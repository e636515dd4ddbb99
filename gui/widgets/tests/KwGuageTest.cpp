// The progress gauge on a real window: bar geometry, percentage pieces,
// the flat look, vertical gauges and a maximum of 0.
#include "ComponentTestSupport.h"

#include "KwGuage.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const unsigned int kBar = 0x0000FF;
const unsigned int kWhite = 0xFFFFFF;

bool IsDark(unsigned int rgb)
{
    return (rgb >> 16 & 0xFF) < 0x60 && (rgb >> 8 & 0xFF) < 0x60 && (rgb & 0xFF) < 0x60;
}

class KwGuageTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (m_pGauge != nullptr) {
            m_pGauge->Release();
        }
        PumpMessages();
    }

    void Make(int width, int height, int value)
    {
        m_pGauge = MakeCounted<KwGuage>();
        m_pGauge->SetWindowType(KW_WINDOW_POPUP);
        m_pGauge->SetBounds(30, 30, width, height, 0);
        m_pGauge->SetForeground(KwColor(0, 0, 0));
        m_pGauge->SetValue(value);
        ASSERT_EQ(CreateShown(m_pGauge), 1);
        m_hWindow = WindowOf(m_pGauge);
        m_pGauge->RepaintAll();
    }

    void Show(int value)
    {
        m_pGauge->SetValue(value);
    }

    unsigned int Pixel(int x, int y) { return WindowPixel(m_hWindow, x, y); }

    // Pixels of the box [left, right) x [top, bottom) that satisfy test.
    template <class Test>
    int Count(int left, int top, int right, int bottom, Test test)
    {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                count += test(Pixel(x, y)) ? 1 : 0;
            }
        }
        return count;
    }

    int CountColor(int left, int top, int right, int bottom, unsigned int color)
    {
        return Count(left, top, right, bottom, [=](unsigned int rgb) { return rgb == color; });
    }

    int CountDark(int left, int top, int right, int bottom)
    {
        return Count(left, top, right, bottom, IsDark);
    }

    // The first and last x of the bar colour along row y, -1 when none.
    void BarSpan(int y, int* first, int* last)
    {
        *first = -1;
        *last = -1;
        for (int x = 0; x < m_pGauge->GetSize().GetWidth(); ++x) {
            if (Pixel(x, y) == kBar) {
                *last = x;
                if (*first < 0) {
                    *first = x;
                }
            }
        }
    }

    KwGuage* m_pGauge = nullptr;
    HWND m_hWindow = nullptr;
};

TEST_F(KwGuageTest, FullGaugeStopsOnePixelShortAndShowsHundredPercentInWhite)
{
    Make(200, 20, 100);
    m_pGauge->SetShowPercentage(1);
    m_pGauge->RepaintAll();
    EXPECT_EQ(CountColor(0, 3, 200, 4, kBar), 193);
    int first;
    int last;
    BarSpan(3, &first, &last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 195);
    EXPECT_EQ(Pixel(30, 2), kWhite) << "three pixels inside with the sunken frame";
    EXPECT_EQ(Pixel(30, 3), kBar);
    EXPECT_EQ(Pixel(30, 16), kBar);
    EXPECT_EQ(Pixel(30, 17), kWhite);
    // "100%" in white on the bar: white pixels inside it and nothing dark.
    EXPECT_GT(CountColor(80, 3, 120, 17, kWhite), 10);
    EXPECT_EQ(CountDark(3, 3, 196, 17), 0);

    // The flat look draws a one-pixel outline: the bar moves one pixel
    // outward on every side.
    m_pGauge->Set3DLook(0);
    m_pGauge->RepaintAll();
    BarSpan(2, &first, &last);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 196);
    EXPECT_EQ(Pixel(30, 1), kWhite);
    EXPECT_EQ(Pixel(30, 2), kBar);
    EXPECT_EQ(Pixel(30, 17), kBar);
    EXPECT_EQ(Pixel(30, 18), kWhite);
    m_pGauge->Set3DLook(1);
    m_pGauge->RepaintAll();
    BarSpan(3, &first, &last);
    EXPECT_EQ(first, 3);
}

// Width 200: the pieces sit at x0 = 88 (tens), 96 (units) and 104 ("%");
// the bar ends at value * 194 / 100 + 3.
TEST_F(KwGuageTest, PercentagePiecesAreDrawnApartAndTurnWhiteOneByOne)
{
    Make(200, 20, 0);
    m_pGauge->SetShowPercentage(1);
    struct Pieces {
        int tens;
        int units;
        int percent;
    };
    auto dark = [&]() {
        return Pieces{CountDark(88, 2, 96, 18), CountDark(96, 2, 104, 18),
                      CountDark(104, 2, 120, 18)};
    };
    auto column = [&](int left) {
        std::vector<bool> marks;
        for (int y = 2; y < 18; ++y) {
            for (int x = left; x < left + 8; ++x) {
                marks.push_back(IsDark(Pixel(x, y)));
            }
        }
        return marks;
    };
    Show(0);
    std::vector<bool> zeroTens = column(88);
    std::vector<bool> zeroUnits = column(96);
    Show(5);
    EXPECT_EQ(column(88), zeroTens) << "5 percent reads 05%";
    EXPECT_NE(column(96), zeroUnits);
    Pieces at5 = dark();
    EXPECT_GT(at5.tens, 0);
    EXPECT_GT(at5.units, 0);
    EXPECT_GT(at5.percent, 0);

    Show(44);  // bar ends at 88: nothing passed yet
    Pieces at44 = dark();
    EXPECT_GT(at44.tens, 0);
    EXPECT_GT(at44.units, 0);
    EXPECT_GT(at44.percent, 0);
    Show(45);  // ends at 90: the tens digit turns white
    Pieces at45 = dark();
    EXPECT_EQ(at45.tens, 0);
    EXPECT_GT(at45.units, 0);
    EXPECT_GT(at45.percent, 0);
    Show(49);  // ends at 98: the units digit too
    Pieces at49 = dark();
    EXPECT_EQ(at49.tens, 0);
    EXPECT_EQ(at49.units, 0);
    EXPECT_GT(at49.percent, 0);
    Show(53);  // ends at 105: all three
    Pieces at53 = dark();
    EXPECT_EQ(at53.tens, 0);
    EXPECT_EQ(at53.units, 0);
    EXPECT_EQ(at53.percent, 0);
}

// Blocks are squares of the inside's height (14) with 2-pixel gaps; the
// last one is cut so that the bar ends where a solid one would (97 long).
TEST_F(KwGuageTest, BlocksEndWhereTheSolidBarEnds)
{
    Make(200, 20, 50);
    m_pGauge->SetBlockStyle(1);
    m_pGauge->RepaintAll();
    EXPECT_EQ(Pixel(3, 10), kBar);
    EXPECT_EQ(Pixel(16, 10), kBar);
    EXPECT_EQ(Pixel(17, 10), kWhite);
    EXPECT_EQ(Pixel(18, 10), kWhite);
    EXPECT_EQ(Pixel(19, 10), kBar);
    EXPECT_EQ(Pixel(96, 10), kBar);
    EXPECT_EQ(Pixel(97, 10), kWhite);
    EXPECT_EQ(Pixel(99, 10), kBar);
    EXPECT_EQ(Pixel(100, 10), kWhite);
    EXPECT_EQ(CountColor(0, 10, 200, 11, kBar), 6 * 14 + 1);
}

TEST_F(KwGuageTest, VerticalGaugeFillsFromTheBottomWithoutText)
{
    Make(20, 100, 50);
    m_pGauge->SetHorizontal(0);
    m_pGauge->SetShowPercentage(1);
    m_pGauge->RepaintAll();
    // 47 of the 94 inside pixels, from the bottom inset upward.
    EXPECT_EQ(Pixel(10, 96), kBar);
    EXPECT_EQ(Pixel(10, 97), kWhite);
    EXPECT_EQ(Pixel(10, 50), kBar);
    EXPECT_EQ(Pixel(10, 49), kWhite);
    EXPECT_EQ(Pixel(3, 70), kBar);
    EXPECT_EQ(Pixel(16, 70), kBar);
    EXPECT_EQ(CountDark(2, 2, 18, 98), 0);
}

TEST_F(KwGuageTest, MaximumOfZeroDrawsAnEmptyBox)
{
    Make(200, 20, 5);
    m_pGauge->SetShowPercentage(1);
    for (int maximum : {0, -10}) {
        m_pGauge->SetMaximum(maximum);
        EXPECT_EQ(CountColor(0, 0, 200, 20, kBar), 0) << maximum;
        EXPECT_EQ(CountDark(2, 2, 198, 18), 0) << maximum;
        EXPECT_EQ(Pixel(100, 10), kWhite);
    }
    m_pGauge->SetMaximum(10);
    EXPECT_EQ(Pixel(50, 10), kBar);
}

} // namespace
