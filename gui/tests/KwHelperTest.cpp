// The hint pop-up: its size around the text and its painting.
#include "ComponentTestSupport.h"

#include "ComponentGraphics.h"
#include "KwBuffer.h"
#include "KwHelper.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const unsigned int kBlack = 0x000000;
const unsigned int kHintPaper = 0xFFFFE1;

// The component's buffer as 0xRRGGBB, row by row from the top.
std::vector<unsigned int> BufferOf(KwComponent* component, int* width)
{
    std::vector<unsigned int> pixels;
    IKwGraphics* graphics = component->GetGraphics();
    ComponentGraphics* buffer = dynamic_cast<ComponentGraphics*>(graphics);
    KwBuffer bytes;
    int height = 0;
    if (buffer != nullptr && buffer->CopyToBuffer(&bytes, width, &height) == 1) {
        const unsigned char* bgr = bytes.GetPointer(0);
        for (int i = 0; i < *width * height; ++i, bgr += 3) {
            pixels.push_back(static_cast<unsigned int>(bgr[2]) << 16 | bgr[1] << 8 | bgr[0]);
        }
    }
    if (graphics != nullptr) {
        graphics->Release();
    }
    return pixels;
}

TEST(KwHelperTest, SizesItselfAroundItsTextOnceItHasAWindow)
{
    KwHelper* helper = MakeCounted<KwHelper>();
    helper->SetLocation(300, 300, 0);
    helper->SetText("Install here");
    EXPECT_EQ(helper->GetText(), "Install here");
    // Without a window the text cannot be measured.
    EXPECT_EQ(helper->GetSize().GetWidth(), 4);
    ASSERT_EQ(helper->Create(Instance(), nullptr), 1);
    KwSize extent = helper->GetTextExtent("Install here");
    ASSERT_GT(extent.GetWidth(), 0);
    EXPECT_EQ(helper->GetSize().GetWidth(), extent.GetWidth() + 4);
    EXPECT_EQ(helper->GetSize().GetHeight(), extent.GetHeight() + 2);
    EXPECT_FALSE(IsWindowVisible(WindowOf(helper)));

    helper->SetText("Hi");
    KwSize shorter = helper->GetTextExtent("Hi");
    EXPECT_EQ(helper->GetSize().GetWidth(), shorter.GetWidth() + 4);
    helper->Show(0);
    EXPECT_TRUE(IsWindowVisible(WindowOf(helper)));
    helper->Release();
    PumpMessages();
}

TEST(KwHelperTest, PaintsAnOutlinedBoxWithItsTextAndRestoresTheColour)
{
    KwHelper* helper = MakeCounted<KwHelper>();
    helper->SetLocation(300, 350, 0);
    helper->SetText("Hint");
    ASSERT_EQ(helper->Create(Instance(), nullptr), 1);
    helper->SetForeground(KwColor(0, 0, 255));
    helper->RepaintAll();
    int width = 0;
    std::vector<unsigned int> pixels = BufferOf(helper, &width);
    KwSize size = helper->GetSize();
    ASSERT_EQ(width, size.GetWidth());
    ASSERT_EQ(pixels.size(), static_cast<size_t>(size.GetWidth() * size.GetHeight()));
    int w = size.GetWidth();
    int h = size.GetHeight();
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * w + x)]; };
    EXPECT_EQ(at(0, 0), kBlack);
    EXPECT_EQ(at(w - 1, 0), kBlack);
    EXPECT_EQ(at(0, h - 1), kBlack);
    EXPECT_EQ(at(w - 1, h - 1), kBlack);
    EXPECT_EQ(at(w - 2, h - 2), kHintPaper);
    EXPECT_EQ(at(1, 1), kHintPaper);
    int ink = 0;
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 2; x < w - 2; ++x) {
            ink += at(x, y) == kBlack ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 0) << "the text is drawn in black";

    IKwGraphics* graphics = helper->GetGraphics();
    KwColor* color = graphics->GetColor();
    EXPECT_EQ(color->GetARGB(), 0x0000FFu);
    color->Release();
    graphics->Release();
    helper->Release();
    PumpMessages();
}

} // namespace
