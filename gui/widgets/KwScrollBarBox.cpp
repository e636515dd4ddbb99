// The scroll bar thumb: dragging along the axis and its look.
#include "KwScrollBarBox.h"

#include "KwPaintColors.h"

namespace KwSDK {

namespace {

const unsigned int kFlatFill = 0xECE9D8;     // (236, 233, 216)
const unsigned int kFlatBorder = 0xACA899;   // (172, 168, 153)

} // namespace

KwScrollBarBox::KwScrollBarBox(int orientation)
    : m_nOrientation(orientation), m_nLowest(0), m_nHighest(0), m_bDragging(0)
{
    AppendTypeName("KwScrollBarBox");
    SetClassName("KwScrollBarBox");
}

KwScrollBarBox::~KwScrollBarBox() = default;

void KwScrollBarBox::SetOrientation(int orientation)
{
    m_nOrientation = orientation;
}

void KwScrollBarBox::SetPositionRange(int lowest, int highest)
{
    m_nLowest = lowest;
    m_nHighest = highest;
}

int KwScrollBarBox::GetOrientation() const
{
    return m_nOrientation;
}

int KwScrollBarBox::GetLowestPosition() const
{
    return m_nLowest;
}

int KwScrollBarBox::GetHighestPosition() const
{
    return m_nHighest;
}

int KwScrollBarBox::IsDragging() const
{
    return m_bDragging;
}

int KwScrollBarBox::OnLButtonDown(const KwPoint& point)
{
    SetCapture();
    m_bDragging = 1;
    m_ptPress = point;
    return 1;
}

// The pointer arrives in the thumb's own coordinates, so the press point
// stays where it was grabbed while the thumb follows the pointer. A fast
// drag beyond either end stops the thumb at that end.
int KwScrollBarBox::OnMouseMove(const KwPoint& point)
{
    if (!m_bDragging) {
        return 1;
    }
    int vertical = m_nOrientation == KW_SCROLL_VERTICAL;
    int shift = vertical ? point.GetY() - m_ptPress.GetY() : point.GetX() - m_ptPress.GetX();
    KwPoint location = GetLocation();
    int current = vertical ? location.GetY() : location.GetX();
    int wanted = current + shift;
    wanted = wanted > m_nHighest ? m_nHighest : wanted;
    wanted = wanted < m_nLowest ? m_nLowest : wanted;
    if (shift == 0 || wanted == current) {
        return 1;
    }
    if (vertical) {
        SetLocation(location.GetX(), wanted, 1);
    } else {
        SetLocation(wanted, location.GetY(), 1);
    }
    PostActionToParent(EVT_THUMB_MOVED, 0);
    return 1;
}

int KwScrollBarBox::OnLButtonUp(const KwPoint&)
{
    if (!m_bDragging) {
        return 1;
    }
    ReleaseCapture(0);
    m_bDragging = 0;
    PostActionToParent(EVT_THUMB_RELEASED, 0);
    return 1;
}

// Answers 1: the thumb derives from the plain component, whose paint
// handler would keep its buffer off the screen.
int KwScrollBarBox::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    KwSize size = GetSize();
    if (Is3DLook()) {
        graphics->Draw3DFrame(0, 0, size.GetWidth() - 1, size.GetHeight() - 1, KW_FRAME_RAISED);
    } else {
        KwPaintColors colors(graphics);
        colors.SetPen(kFlatBorder);
        colors.SetFill(kFlatFill);
        graphics->FillRectangle(0, 0, size.GetWidth(), size.GetHeight());
    }
    return 1;
}

} // namespace KwSDK
