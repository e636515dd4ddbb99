// The shared input handling of the check box and the radio button.
#include "KwMarkButton.h"

#include "IKwGraphics.h"

namespace KwSDK {

KwMarkButton::KwMarkButton(const KwString& label)
    : m_sLabel(label), m_bPressed(0), m_bPointerInside(0), m_bFocused(0)
{
    AppendTypeName("KwMarkButton");
}

KwMarkButton::~KwMarkButton() = default;

int KwMarkButton::IsInside(const KwPoint& point, const KwSize& size)
{
    return point.GetX() >= 0 && point.GetY() >= 0 && point.GetX() <= size.GetWidth() &&
           point.GetY() <= size.GetHeight();
}

void KwMarkButton::SetLabel(const KwString& label)
{
    m_sLabel = label;
    RepaintAll();
}

KwString KwMarkButton::GetLabel()
{
    return m_sLabel;
}

int KwMarkButton::OnLButtonDown(const KwPoint&)
{
    SetCapture();
    m_bPressed = 1;
    m_bPointerInside = 1;
    RepaintAll();
    return 1;
}

int KwMarkButton::OnMouseMove(const KwPoint& point)
{
    if (!m_bPressed) {
        return 1;
    }
    int inside = IsInside(point, GetSize());
    if (inside != m_bPointerInside) {
        m_bPointerInside = inside;
        RepaintAll();
    }
    return 1;
}

// A release off the widget still repaints, so the pressed look never stays.
int KwMarkButton::OnLButtonUp(const KwPoint& point)
{
    ReleaseCapture(0);
    m_bPressed = 0;
    m_bPointerInside = 0;
    if (IsInside(point, GetSize())) {
        Activate();
    } else {
        RepaintAll();
    }
    return 1;
}

int KwMarkButton::OnFocusGained()
{
    m_bFocused = 1;
    RepaintAll();
    return 1;
}

int KwMarkButton::OnFocusLost()
{
    m_bFocused = 0;
    RepaintAll();
    return 1;
}

int KwMarkButton::IsMarkGrey()
{
    return IsDisabled() || (m_bPressed && m_bPointerInside) ? 1 : 0;
}

void KwMarkButton::DrawLabelFocus(IKwGraphics* graphics, int h, int fontHeight)
{
    if (m_bFocused) {
        KwSize text = GetTextExtent(m_sLabel);
        graphics->DrawFocusFrame(18, h / 2 - fontHeight / 2 - 3, text.GetWidth() + 4,
                                 fontHeight + 6, 1);
    }
}

} // namespace KwSDK
