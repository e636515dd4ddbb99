// The arrow button: press and release events, and its frame and triangle.
#include "KwArrowButton.h"

#include "KwPaintColors.h"

namespace KwSDK {

namespace {

const unsigned int kPressedOutline = 0x828284;  // (130, 130, 132)
const unsigned int kFlatOutline = 0xACA899;     // (172, 168, 153)
const unsigned int kBlack = 0x000000;
const unsigned int kWhite = 0xFFFFFF;

// Outside when left of or above the button, or beyond its width or height;
// a pointer on the right or bottom edge line still counts as inside.
int IsOutside(const KwPoint& point, const KwSize& size)
{
    return point.GetX() < 0 || point.GetY() < 0 || point.GetX() > size.GetWidth() ||
           point.GetY() > size.GetHeight();
}

} // namespace

KwArrowButton::KwArrowButton()
{
    Construct(KW_ARROW_DOWN);
}

KwArrowButton::KwArrowButton(int direction)
{
    Construct(direction);
}

void KwArrowButton::Construct(int direction)
{
    m_nDirection = direction;
    m_nArrowSize = 0;
    m_bPressed = 0;
    m_bPointerInside = 0;
    AppendTypeName("KwArrowButton");
    SetClassName("KwArrowButton");
}

KwArrowButton::~KwArrowButton() = default;

void KwArrowButton::SetDirection(int direction)
{
    m_nDirection = direction;
    RepaintAll();
}

void KwArrowButton::SetArrowSize(int size)
{
    if (size < 0) {
        return;
    }
    m_nArrowSize = size;
    RepaintAll();
}

int KwArrowButton::GetDirection() const
{
    return m_nDirection;
}

int KwArrowButton::GetArrowSize() const
{
    return m_nArrowSize;
}

int KwArrowButton::IsPressed() const
{
    return m_bPressed && m_bPointerInside;
}

void KwArrowButton::GetArrowPoints(int direction, int size, KwPoint points[3])
{
    int k = size;
    switch (direction) {
    case KW_ARROW_LEFT:
        points[0].Set(k + 6, 2 * k + 9);
        points[1].Set(3 * k + 9, k + 6);
        points[2].Set(3 * k + 9, 3 * k + 12);
        break;
    case KW_ARROW_UP:
        points[0].Set(2 * k + 9, k + 6);
        points[1].Set(k + 6, 3 * k + 9);
        points[2].Set(3 * k + 12, 3 * k + 9);
        break;
    case KW_ARROW_RIGHT:
        points[0].Set(3 * k + 9, 2 * k + 9);
        points[1].Set(k + 6, k + 6);
        points[2].Set(k + 6, 3 * k + 12);
        break;
    default:
        points[0].Set(2 * k + 9, 3 * k + 9);
        points[1].Set(k + 6, k + 6);
        points[2].Set(3 * k + 12, k + 6);
        break;
    }
}

int KwArrowButton::OnLButtonDown(const KwPoint&)
{
    SetCapture();
    m_bPressed = 1;
    m_bPointerInside = 1;
    RepaintAll();
    FireAction(EVT_ARROW_PRESSED, 0);
    return 1;
}

// A release without a press of this button (the press went elsewhere)
// changes nothing and reports nothing.
int KwArrowButton::OnLButtonUp(const KwPoint&)
{
    if (!m_bPressed) {
        return 1;
    }
    ReleaseCapture(0);
    m_bPressed = 0;
    m_bPointerInside = 0;
    RepaintAll();
    FireAction(EVT_ARROW_RELEASED, 0);
    return 1;
}

int KwArrowButton::OnMouseMove(const KwPoint& point)
{
    if (!m_bPressed) {
        return 1;
    }
    int inside = IsOutside(point, GetSize()) ? 0 : 1;
    if (inside == m_bPointerInside) {
        return 1;
    }
    m_bPointerInside = inside;
    RepaintAll();
    FireAction(inside ? EVT_ARROW_PRESSED : EVT_ARROW_RELEASED, 0);
    return 1;
}

int KwArrowButton::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    KwSize size = GetSize();
    int w = size.GetWidth();
    int h = size.GetHeight();
    {
        KwPaintColors colors(graphics);
        if (m_bPressed) {
            colors.Set(kPressedOutline);
            graphics->DrawRect(0, 0, w - 1, h - 1);
        } else if (Is3DLook()) {
            graphics->Draw3DFrame(0, 0, w - 1, h - 1, KW_FRAME_RAISED);
        } else {
            colors.Set(kFlatOutline);
            graphics->DrawRect(0, 0, w - 1, h - 1);
        }
    }
    PaintArrow(graphics, w, h);
    return 1;
}

// Held with the 3-D look the arrow moves one pixel right and down; held
// without it the inside turns black and the arrow white.
void KwArrowButton::PaintArrow(IKwGraphics* graphics, int width, int height)
{
    KwPoint points[3];
    GetArrowPoints(m_nDirection, m_nArrowSize, points);
    KwPaintColors colors(graphics);
    unsigned int arrow = kBlack;
    if (m_bPressed && Is3DLook()) {
        for (KwPoint& point : points) {
            point.Set(point.GetX() + 1, point.GetY() + 1);
        }
    } else if (m_bPressed) {
        colors.Set(kBlack);
        graphics->FillRectangle(1, 1, width - 2, height - 2);
        arrow = kWhite;
    }
    colors.Set(arrow);
    graphics->FillPolygon(points, 3, 1);
}

} // namespace KwSDK
