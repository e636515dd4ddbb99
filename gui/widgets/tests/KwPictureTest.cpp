// The picture component on a real window: still pictures, pictures with an
// alpha channel, animation driven by timer messages, strip mode and the
// click notification.
#include "ComponentTestSupport.h"

#include "ImplKwComponent.h"
#include "KwGIFDecoder.h"
#include "KwPicture.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const unsigned int kRed = 0xFF0000;
const unsigned int kGreen = 0x00FF00;
const unsigned int kBlue = 0x0000FF;
const unsigned int kGrey = 0x808080;

typedef std::vector<unsigned char> Bytes;

// A picture of one colour (0xRRGGBB) in B, G, R, one reference.
KwImage* SolidImage(int width, int height, unsigned int rgb)
{
    Bytes pixels;
    for (int i = 0; i < width * height; ++i) {
        pixels.insert(pixels.end(), {static_cast<unsigned char>(rgb & 0xFF),
                                     static_cast<unsigned char>(rgb >> 8 & 0xFF),
                                     static_cast<unsigned char>(rgb >> 16 & 0xFF)});
    }
    KwImage* image = new KwImage(KW_FORMAT_BGR, pixels.data(), static_cast<int>(pixels.size()), 0,
                                 0, width, height, 0);
    image->AddRef();
    return image;
}

KwImageGroup* GroupOf(std::initializer_list<KwImage*> images)
{
    KwImageGroup* group = MakeCounted<KwImageGroup>();
    for (KwImage* image : images) {
        group->Add(image);
        image->Release();
    }
    return group;
}

void PutU16(Bytes* bytes, int value)
{
    bytes->push_back(static_cast<unsigned char>(value & 0xFF));
    bytes->push_back(static_cast<unsigned char>(value >> 8 & 0xFF));
}

// A GIF of 1 x 1 frames, one per colour index (0 red, 1 green, 2 blue),
// each shown for delay hundredths of a second.
Bytes AnimatedGif(std::initializer_list<int> indices, int delay)
{
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    PutU16(&gif, 1);
    PutU16(&gif, 1);
    gif.insert(gif.end(), {0xF1, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    for (int index : indices) {
        gif.insert(gif.end(), {'!', 0xF9, 4, 0});
        PutU16(&gif, delay);
        gif.insert(gif.end(), {0, 0, ','});
        PutU16(&gif, 0);
        PutU16(&gif, 0);
        PutU16(&gif, 1);
        PutU16(&gif, 1);
        // No local table; 2-bit codes: clear (4), the index, end (5), each
        // 3 bits wide, packed from the low bit.
        gif.insert(gif.end(), {0, 2, 2, static_cast<unsigned char>(4 | index << 3 | 1 << 6), 1, 0});
    }
    gif.push_back(';');
    return gif;
}

KwImageGroup* DecodeGroup(const Bytes& gif)
{
    KwGIFDecoder decoder;
    if (!decoder.OpenMemory(gif.data(), static_cast<int>(gif.size()))) {
        return nullptr;
    }
    return decoder.GetImageGroup();
}

typedef Recording<KwPicture> ClickLog;

class KwPictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pPicture = MakeCounted<ClickLog>(&m_log);
        m_pPicture->SetWindowType(KW_WINDOW_POPUP);
        m_pPicture->SetBounds(30, 30, 40, 20, 0);
        m_pPicture->SetBackground(KwColor(128, 128, 128));
    }

    void TearDown() override
    {
        m_pPicture->Release();
        PumpMessages();
    }

    void Create()
    {
        ASSERT_EQ(CreateShown(m_pPicture), 1);
        m_hWindow = WindowOf(m_pPicture);
        m_pPicture->RepaintAll();
    }

    unsigned int Pixel(int x, int y) { return WindowPixel(m_hWindow, x, y); }

    // Whether the frame timer was running; it is stopped by the question.
    bool TimerWasRunning() { return KillTimer(m_hWindow, KW_TIMER_ID) != 0; }

    void Tick() { SendMessageA(m_hWindow, WM_TIMER, KW_TIMER_ID, 0); }

    EventLog m_log;
    ClickLog* m_pPicture = nullptr;
    HWND m_hWindow = nullptr;
};

TEST_F(KwPictureTest, StillPictureIsStretchedAndBorderDrawnOnRequest)
{
    Create();
    EXPECT_EQ(Pixel(20, 10), kGrey);
    KwImage* image = SolidImage(2, 2, kGreen);
    m_pPicture->SetImage(image);
    KwImage* held = m_pPicture->GetImage();
    EXPECT_EQ(held, image) << "a drawable picture is kept as it is";
    held->Release();
    image->Release();
    EXPECT_EQ(Pixel(0, 0), kGreen);
    EXPECT_EQ(Pixel(39, 19), kGreen);
    m_pPicture->SetForeground(KwColor(0, 0, 255));
    m_pPicture->SetBorder(1);
    EXPECT_EQ(Pixel(0, 0), kBlue);
    EXPECT_EQ(Pixel(39, 19), kBlue);
    EXPECT_EQ(Pixel(1, 1), kGreen);
    m_pPicture->SetImage(nullptr);
    EXPECT_EQ(m_pPicture->GetImage(), nullptr);
    EXPECT_EQ(Pixel(20, 10), kGrey);
}

// The bitmap transfer ignores alpha, so these formats are shown through a
// copy blended over the background: a transparent pixel shows the
// background, not its colour bytes.
TEST_F(KwPictureTest, PicturesWithAlphaAreShownThroughABlendedCopy)
{
    Create();
    const struct {
        int format;
        Bytes pixels;  // opaque red, transparent green, half-opaque blue
    } cases[] = {
        {KW_FORMAT_BGRA, {0, 0, 255, 255, 0, 255, 0, 0, 255, 0, 0, 128}},
        {KW_FORMAT_ARGB, {255, 255, 0, 0, 0, 0, 255, 0, 128, 0, 0, 255}},
    };
    for (const auto& c : cases) {
        KwImage* image = new KwImage(c.format, c.pixels.data(), 12, 0, 0, 3, 1, 0);
        image->AddRef();
        m_pPicture->SetImage(image);
        KwImage* shown = m_pPicture->GetImage();
        ASSERT_NE(shown, nullptr);
        EXPECT_NE(shown, image);
        EXPECT_EQ(shown->GetFormat(), KW_FORMAT_BGR);
        shown->Release();
        image->Release();
        EXPECT_EQ(Pixel(5, 10), kRed) << c.format;
        EXPECT_EQ(Pixel(20, 10), kGrey) << c.format;
        unsigned int half = Pixel(35, 10);
        EXPECT_NEAR(static_cast<int>(half & 0xFF), 0xC0, 2) << c.format;
        EXPECT_NEAR(static_cast<int>(half >> 16), 0x40, 2) << c.format;
    }
}

TEST_F(KwPictureTest, PicturesThatCannotBeDrawnShowTheBackground)
{
    Create();
    const Bytes samples(2 * 2 * 4, 0x5A);
    KwImage* fourSamples = new KwImage(KW_FORMAT_SAMPLES4, samples.data(), 16, 0, 0, 2, 2, 0);
    KwImage* tooShort = new KwImage(KW_FORMAT_BGR, samples.data(), 5, 0, 0, 2, 2, 0);
    KwImage* shortAlpha = new KwImage(KW_FORMAT_BGRA, samples.data(), 7, 0, 0, 2, 2, 0);
    KwImage* red = SolidImage(1, 1, kRed);
    for (KwImage* image : {fourSamples, tooShort, shortAlpha}) {
        image->AddRef();
        m_pPicture->SetImage(red);
        ASSERT_EQ(Pixel(0, 0), kRed);
        m_pPicture->SetImage(image);
        EXPECT_EQ(Pixel(0, 0), kGrey);
        EXPECT_EQ(Pixel(39, 19), kGrey);
        image->Release();
    }
    red->Release();
}

TEST_F(KwPictureTest, SingleFrameGroupShowsItsFrameWithoutATimer)
{
    Create();
    KwImageGroup* group = GroupOf({SolidImage(1, 1, kGreen)});
    m_pPicture->SetImageGroup(group);
    EXPECT_FALSE(TimerWasRunning());
    EXPECT_EQ(Pixel(20, 10), kGreen);
    KwImageGroup* held = m_pPicture->GetImageGroup();
    EXPECT_EQ(held, group);
    held->Release();
    group->Release();
}

TEST_F(KwPictureTest, AnimatedGifAdvancesOneFramePerTickAndWraps)
{
    KwImageGroup* group = DecodeGroup(AnimatedGif({0, 1, 2}, 6000));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetCount(), 3);
    // Set before the window exists: the animation starts with it.
    m_pPicture->SetImageGroup(group);
    group->Release();
    Create();
    EXPECT_TRUE(TimerWasRunning());
    EXPECT_EQ(Pixel(20, 10), kRed);
    const unsigned int expected[] = {kGreen, kBlue, kRed, kGreen};
    for (unsigned int color : expected) {
        Tick();
        EXPECT_TRUE(TimerWasRunning()) << "restarted for the new frame";
        EXPECT_EQ(Pixel(20, 10), color);
    }
    EXPECT_EQ(m_pPicture->GetFrameIndex(), 1);
}

TEST_F(KwPictureTest, StripModeShowsEveryFrameWithTwoPixelGapsAndStops)
{
    Create();
    KwImageGroup* group =
        GroupOf({SolidImage(10, 10, kRed), SolidImage(6, 12, kGreen), SolidImage(8, 10, kBlue)});
    m_pPicture->SetImageGroup(group);
    EXPECT_TRUE(TimerWasRunning());
    m_pPicture->SetStripMode(1);
    EXPECT_FALSE(TimerWasRunning());
    m_pPicture->SetImageGroup(group);
    group->Release();
    EXPECT_FALSE(TimerWasRunning());
    m_pPicture->RepaintAll();
    const struct {
        int x;
        unsigned int color;
    } row[] = {{0, kRed},    {9, kRed},   {10, kGrey}, {11, kGrey}, {12, kGreen}, {17, kGreen},
               {18, kGrey},  {19, kGrey}, {20, kBlue}, {27, kBlue}, {28, kGrey}};
    for (const auto& probe : row) {
        EXPECT_EQ(Pixel(probe.x, 5), probe.color) << "at x " << probe.x;
    }
    EXPECT_EQ(Pixel(14, 11), kGreen) << "natural size, not stretched";
    EXPECT_EQ(Pixel(5, 11), kGrey);
    Tick();
    EXPECT_EQ(Pixel(0, 5), kRed);
}

TEST_F(KwPictureTest, ClickIsQueuedAndCarriesThePicture)
{
    Create();
    RecordingActionListener listener(&m_log, "listener");
    m_pPicture->AddActionListener(&listener);
    m_log.clear();
    SendMessageA(m_hWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(m_log, EventLog{"own:OnLButtonDown 5 5"}) << "delivered from the message loop";
    PumpMessages();
    intptr_t self = reinterpret_cast<intptr_t>(static_cast<KwPicture*>(m_pPicture));
    std::string action = Describe("ActionPerformed", EVT_PICTURE_CLICKED, self);
    EXPECT_EQ(m_log, (EventLog{"own:OnLButtonDown 5 5", "own:" + action, "listener:" + action}));
    ASSERT_EQ(listener.sources.size(), 1u);
    EXPECT_EQ(listener.sources[0], static_cast<KwObject*>(m_pPicture));
    m_pPicture->RemoveActionListener(&listener);
}

} // namespace
