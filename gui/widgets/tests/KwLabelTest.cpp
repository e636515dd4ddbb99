// The label: where the right and the multi-line alignments put the text.
#include "WidgetTestSupport.h"

#include "KwLabel.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const int kWidth = 160;
const int kHeight = 50;

// The leftmost and rightmost inked columns and the lowest inked row.
struct Ink {
    int left = kWidth;
    int right = -1;
    int bottom = -1;
};

Ink InkOf(KwLabel* label)
{
    label->RepaintAll();
    Pixels pixels(label);
    Ink ink;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (pixels.At(x, y) == 0x000000) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

TEST(KwLabelTest, RightAlignmentReachesTheRightEdgeAndOnlyMultiLineBreaks)
{
    KwLabel* label = MakeCounted<KwLabel>(KW_LABEL_RIGHT, "Wide\r\nW");
    label->SetForeground(KwColor(0, 0, 0));
    WidgetHost host(label, kWidth, kHeight);
    ASSERT_EQ(host.created, 1);
    int line = label->GetFontHeight();
    ASSERT_GT(line, 0);

    Ink right = InkOf(label);
    EXPECT_GE(right.right, kWidth - 3);
    EXPECT_GT(right.left, kWidth / 2);
    EXPECT_LT(right.bottom, line) << "one line";

    label->SetAlignment(7);
    Ink lines = InkOf(label);
    EXPECT_LE(lines.left, 2);
    EXPECT_GE(lines.bottom, line) << "a second line";
    EXPECT_EQ(label->GetAlignment(), 7);
    label->Release();
}

} // namespace
