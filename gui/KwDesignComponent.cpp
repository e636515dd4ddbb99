// A component that can be switched into design mode.
#include "KwDesignComponent.h"

namespace KwSDK {

namespace {

// Handles are 5 pixels from the edges; the middle ones reach 2 pixels to
// each side of the middle.
const int kHandleReach = 5;
const int kMiddleReach = 2;

int Within(int value, int low, int high)
{
    return low <= value && value <= high ? 1 : 0;
}

} // namespace

KwDesignComponent::KwDesignComponent() : m_bDesignMode(0), m_nDesignOption(0), m_nBorderInset(0)
{
    AppendTypeName("KwDesignComponent");
    SetClassName("KwDesignComponent");
}

KwDesignComponent::~KwDesignComponent() = default;

void KwDesignComponent::SetDesignMode(int designMode)
{
    m_bDesignMode = designMode;
}

void KwDesignComponent::SetDesignOption(int option)
{
    m_nDesignOption = option;
}

int KwDesignComponent::IsDesignMode() const
{
    return m_bDesignMode;
}

int KwDesignComponent::GetDesignOption() const
{
    return m_nDesignOption;
}

// Checked in a fixed order, so that a point in two handles of a tiny
// component finds the first.
int KwDesignComponent::HitTestHandle(const KwPoint& point)
{
    KwSize size = GetSize();
    int x = point.GetX();
    int y = point.GetY();
    int right = size.GetWidth() - m_nBorderInset;
    int bottom = size.GetHeight() - m_nBorderInset;
    int middleX = size.GetWidth() / 2;
    int middleY = size.GetHeight() / 2;
    int left = Within(x, 0, kHandleReach);
    int centre = Within(x, middleX - kMiddleReach, middleX + kMiddleReach);
    int rightEdge = Within(x, right - kHandleReach, right);
    int top = Within(y, 0, kHandleReach);
    int middle = Within(y, middleY - kMiddleReach, middleY + kMiddleReach);
    int bottomEdge = Within(y, bottom - kHandleReach, bottom);
    const int hits[8] = {left && top,          centre && top,       rightEdge && top,
                         rightEdge && middle,  rightEdge && bottomEdge, centre && bottomEdge,
                         left && bottomEdge,   left && middle};
    for (int i = 0; i < 8; ++i) {
        if (hits[i]) {
            return i + 1;
        }
    }
    return 0;
}

int KwDesignComponent::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    return 1;
}

} // namespace KwSDK
