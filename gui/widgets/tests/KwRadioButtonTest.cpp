// The radio button and its group: input only ever selects, a group keeps one
// member selected, and the pixels of the dot with and without the 3-D look.
#include "WidgetTestSupport.h"

#include "KwRadioButton.h"
#include "KwRadioButtonGroup.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const int kWidth = 90;
const int kHeight = 20;
// The mark's top for this height; its centre pixel is (5, kTop + 5).
const int kTop = kHeight / 2 - 5;
const unsigned int kBlack = 0x000000;
const unsigned int kWhite = 0xFFFFFF;

TEST(KwRadioButtonTest, InputOnlySelectsAndFiresEachTime)
{
    EventLog log;
    RecordingActionListener listener(&log, "listener");
    KwRadioButton* button = MakeCounted<KwRadioButton>("Chinese");
    button->AddActionListener(&listener);
    {
        WidgetHost host(button, kWidth, kHeight);
        ASSERT_EQ(host.created, 1);
        Drag(button, {KwPoint(3, 3), KwPoint(-1, 3)});
        EXPECT_EQ(button->GetSelected(), 0) << "released outside";
        SendKey(button, WM_KEYDOWN, VK_SPACE);
        EXPECT_EQ(button->GetSelected(), 0) << "key-down only presses";
        Drag(button, {KwPoint(3, 3), KwPoint(kWidth, kHeight)});
        EXPECT_EQ(button->GetSelected(), 1);
        Drag(button, {KwPoint(3, 3)});
        SendKey(button, WM_KEYUP, VK_SPACE);
        EXPECT_EQ(button->GetSelected(), 1);
        const std::string selected =
            "listener:ActionPerformed " + std::to_string(EVT_RADIO_SELECTED) + " 0";
        EXPECT_EQ(log, (EventLog{selected, selected, selected}));
    }
    button->RemoveActionListener(&listener);
    button->Release();
}

TEST(KwRadioButtonGroupTest, ClickingOneClearsTheOthersButTheSetterDoesNot)
{
    KwRadioButton* buttons[3];
    KwRadioButtonGroup* group = MakeCounted<KwRadioButtonGroup>();
    KwPopupWindow* window = MakeCounted<KwPopupWindow>();
    window->SetBounds(200, 200, 100, 90, 0);
    for (int i = 0; i < 3; ++i) {
        buttons[i] = MakeCounted<KwRadioButton>("choice");
        buttons[i]->SetBounds(5, 5 + 25 * i, kWidth, kHeight, 0);
        window->Add(buttons[i]);
        group->Add(buttons[i]);
    }
    group->Add(buttons[1]);
    ASSERT_EQ(CreateShown(window), 1);
    auto states = [&]() {
        return std::vector<int>{buttons[0]->GetSelected(), buttons[1]->GetSelected(),
                                buttons[2]->GetSelected()};
    };

    buttons[0]->SetSelected(1);
    Drag(buttons[1], {KwPoint(4, 4)});
    EXPECT_EQ(states(), (std::vector<int>{0, 1, 0}));
    buttons[2]->SetSelected(1);
    EXPECT_EQ(states(), (std::vector<int>{0, 1, 1}));
    SendKey(buttons[0], WM_KEYUP, VK_SPACE);
    EXPECT_EQ(states(), (std::vector<int>{1, 0, 0}));

    // A button added twice is listed once: after its removal it is free.
    group->Remove(buttons[1]);
    Drag(buttons[1], {KwPoint(4, 4)});
    EXPECT_EQ(states(), (std::vector<int>{1, 1, 0}));
    Drag(buttons[2], {KwPoint(4, 4)});
    EXPECT_EQ(states(), (std::vector<int>{0, 1, 1}));

    group->Release();
    Drag(buttons[0], {KwPoint(4, 4)});
    EXPECT_EQ(states(), (std::vector<int>{1, 1, 1})) << "the group let go of its members";
    window->RemoveAll();
    window->Release();
    for (KwRadioButton* button : buttons) {
        button->Release();
    }
    PumpMessages();
}

TEST(KwRadioButtonTest, DotIsASmallSquareIn3DAndARoundDotFlat)
{
    KwRadioButton* button = MakeCounted<KwRadioButton>("English");
    {
        WidgetHost host(button, kWidth, kHeight);
        ASSERT_EQ(host.created, 1);
        SetFocus(nullptr);
        for (int look = 0; look <= 1; ++look) {
            button->Set3DLook(look);
            button->SetSelected(0);
            Pixels clear(button);
            button->SetSelected(1);
            Pixels dot(button);
            EXPECT_EQ(clear.At(5, kTop + 5), kWhite);
            EXPECT_EQ(dot.At(5, kTop + 5), kBlack);
            EXPECT_EQ(dot.At(4, kTop + 4), kBlack);
            EXPECT_EQ(dot.At(6, kTop + 6), kBlack);
            // The 3-D dot is 3 x 3; the flat one is 7 wide.
            EXPECT_EQ(dot.At(3, kTop + 5), look ? kWhite : kBlack);
            EXPECT_EQ(dot.At(7, kTop + 5), look ? kWhite : kBlack);
            EXPECT_EQ(dot.At(5, kTop + 3), look ? kWhite : kBlack);
            // The ring: shadow above left and light below right, or black.
            EXPECT_EQ(dot.At(0, kTop + 5), look ? 0xACA899u : kBlack);
            EXPECT_EQ(dot.At(5, kTop + 0), look ? 0xACA899u : kBlack);
            EXPECT_EQ(dot.At(10, kTop + 5), look ? kWhite : kBlack);
            EXPECT_EQ(dot.At(1, kTop + 5), look ? 0x716F64u : kWhite);
            EXPECT_EQ(dot.At(9, kTop + 5), look ? 0xF1EFE2u : kWhite);
        }
    }
    button->Release();
}

} // namespace
