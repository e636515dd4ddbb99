// The design component outside design mode: its paint answer and the
// geometry of its sizing handles.
#include "ComponentTestSupport.h"

#include "KwDesignComponent.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

TEST(KwDesignComponentTest, HandlesAreFoundClockwiseFromTheTopLeft)
{
    KwDesignComponent* component = MakeCounted<KwDesignComponent>();
    component->SetSize(40, 30, 0);
    struct Probe {
        int x;
        int y;
        int handle;
    };
    const Probe probes[] = {
        {0, 0, 1},   {5, 5, 1},   {18, 0, 2},  {22, 5, 2},  {35, 0, 3},  {40, 5, 3},
        {40, 13, 4}, {35, 17, 4}, {40, 30, 5}, {35, 25, 5}, {20, 30, 6}, {0, 30, 7},
        {5, 25, 7},  {0, 15, 8},  {20, 15, 0}, {6, 6, 0},   {41, 0, 0},  {23, 0, 0},
    };
    for (const Probe& probe : probes) {
        EXPECT_EQ(component->HitTestHandle(KwPoint(probe.x, probe.y)), probe.handle)
            << "at " << probe.x << ", " << probe.y;
    }
    component->Release();
}

TEST(KwDesignComponentTest, PaintFillsTheBackgroundAndAnswersOne)
{
    KwDesignComponent* component = MakeCounted<KwDesignComponent>();
    EXPECT_EQ(component->GetClassName(), "KwDesignComponent");
    EXPECT_EQ(component->OnPaint(KwRect(0, 0, 1, 1), nullptr), 1);
    KwComponent* plain = MakeCounted<KwComponent>();
    EXPECT_EQ(plain->OnPaint(KwRect(0, 0, 1, 1), nullptr), 0);
    plain->Release();
    component->Release();
}

} // namespace
