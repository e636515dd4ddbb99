// The check box: toggling by mouse and space bar, the event fired at once,
// and the pixels of its tick with and without the 3-D look.
#include "WidgetTestSupport.h"

#include "KwCheckBox.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const int kWidth = 90;
const int kHeight = 20;
// The box's top for this height.
const int kTop = kHeight / 2 - 6;
const unsigned int kInk = 0x0000C8;
const unsigned int kWhite = 0xFFFFFF;

class KwCheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pBox = MakeCounted<KwCheckBox>("Desktop icon");
        m_pBox->SetForeground(KwColor(0, 0, 200));
        m_pBox->AddActionListener(&m_listener);
        m_pHost = new WidgetHost(m_pBox, kWidth, kHeight);
        ASSERT_EQ(m_pHost->created, 1);
    }

    void TearDown() override
    {
        m_pBox->RemoveActionListener(&m_listener);
        delete m_pHost;
        m_pBox->Release();
    }

    EventLog m_log;
    RecordingActionListener m_listener{&m_log, "listener"};
    KwCheckBox* m_pBox = nullptr;
    WidgetHost* m_pHost = nullptr;
};

TEST_F(KwCheckBoxTest, EachReleaseInsideAndEachSpaceKeyUpTogglesAndFiresAtOnce)
{
    const std::string toggled =
        "listener:ActionPerformed " + std::to_string(EVT_CHECKBOX_TOGGLED) + " 0";
    Drag(m_pBox, {KwPoint(5, 5)});
    EXPECT_EQ(m_pBox->GetChecked(), 1);
    EXPECT_EQ(m_log, EventLog{toggled});
    Drag(m_pBox, {KwPoint(5, 5), KwPoint(kWidth, kHeight)});
    EXPECT_EQ(m_pBox->GetChecked(), 0);
    Drag(m_pBox, {KwPoint(5, 5), KwPoint(kWidth + 1, 5)});
    EXPECT_EQ(m_pBox->GetChecked(), 0) << "released outside";
    EXPECT_EQ(m_log.size(), 2u);

    SendKey(m_pBox, WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(m_pBox->GetChecked(), 0) << "key-down does nothing";
    SendKey(m_pBox, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(m_pBox->GetChecked(), 1);
    SendKey(m_pBox, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(m_pBox->GetChecked(), 0);
    EXPECT_EQ(m_log.size(), 4u);
    EXPECT_EQ(m_listener.sources.back(), static_cast<KwObject*>(m_pBox));

    m_pBox->SetChecked(1);
    EXPECT_EQ(m_log.size(), 4u) << "the setter fires nothing";
    // The host listens to its children, so it heard each one at once too.
    EXPECT_EQ(m_pHost->log.size(), 4u);
    EXPECT_EQ(m_pHost->Delivered().size(), 4u) << "nothing is posted besides";
}

TEST_F(KwCheckBoxTest, TickIsDrawnInThePenColourOverAWhiteBox)
{
    // One pixel of each of the six strokes, and the box's inside off the tick.
    const int tick[][2] = {{3, 5}, {4, 7}, {5, 9}, {9, 3}, {8, 5}, {9, 5}};
    SetFocus(nullptr);
    for (int look = 0; look <= 1; ++look) {
        m_pBox->Set3DLook(look);
        m_pBox->SetChecked(0);
        Pixels clear(m_pBox);
        m_pBox->SetChecked(1);
        Pixels ticked(m_pBox);
        for (const auto& p : tick) {
            EXPECT_EQ(clear.At(p[0], kTop + p[1]), kWhite) << p[0] << ", " << p[1];
            EXPECT_EQ(ticked.At(p[0], kTop + p[1]), kInk) << p[0] << ", " << p[1];
        }
        EXPECT_EQ(ticked.At(9, kTop + 9), kWhite);
        EXPECT_EQ(ticked.At(3, kTop + 3), kWhite);
        // The border: flat outlines in the pen colour, or a sunken frame.
        EXPECT_EQ(ticked.At(0, kTop + 6), look ? 0xACA899u : kInk);
        EXPECT_EQ(ticked.At(12, kTop + 6), look ? kWhite : kInk);
        EXPECT_EQ(ticked.At(1, kTop + 6), look ? 0x716F64u : kInk);
    }

    // Held down with the pointer on it, the box takes the background colour.
    SendMouse(m_pBox, WM_LBUTTONDOWN, 5, 5);
    Pixels held(m_pBox);
    KwColor paper = m_pBox->GetBackground();
    unsigned int rgb = static_cast<unsigned int>(paper.GetRed()) << 16 | paper.GetGreen() << 8 |
                       paper.GetBlue();
    EXPECT_EQ(held.At(9, kTop + 9), rgb);
    SendMouse(m_pBox, WM_LBUTTONUP, 5, 5);
}

} // namespace
