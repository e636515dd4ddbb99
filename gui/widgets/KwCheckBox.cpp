// The check box: a small box with a label that turns its tick on and off
// on each click and each space bar release.
#include "KwCheckBox.h"

#include "IKwGraphics.h"
#include "KwKeyCodes.h"
#include "KwPaintColors.h"

namespace KwSDK {

namespace {

const KwColor kWhite(255, 255, 255);

// The right and bottom edge pixels count as inside.
int IsInside(const KwPoint& point, const KwSize& size)
{
    return point.GetX() >= 0 && point.GetY() >= 0 && point.GetX() <= size.GetWidth() &&
           point.GetY() <= size.GetHeight();
}

} // namespace

KwCheckBox::KwCheckBox(const KwString& label)
    : m_sLabel(label), m_bChecked(0), m_bPressed(0), m_bPointerInside(0), m_bFocused(0)
{
    AppendTypeName("KwCheckBox");
    SetClassName("KwCheckBox");
}

KwCheckBox::~KwCheckBox() = default;

void KwCheckBox::SetLabel(const KwString& label)
{
    m_sLabel = label;
    RepaintAll();
}

KwString KwCheckBox::GetLabel()
{
    return m_sLabel;
}

void KwCheckBox::SetChecked(int checked)
{
    m_bChecked = checked;
    RepaintAll();
}

int KwCheckBox::GetChecked()
{
    return m_bChecked;
}

void KwCheckBox::Toggle()
{
    m_bChecked = !m_bChecked;
    RepaintAll();
    FireAction(EVT_CHECKBOX_TOGGLED, 0);
}

int KwCheckBox::OnLButtonDown(const KwPoint&)
{
    SetCapture();
    m_bPressed = 1;
    m_bPointerInside = 1;
    RepaintAll();
    return 1;
}

int KwCheckBox::OnMouseMove(const KwPoint& point)
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

// A release off the box still repaints, so the pressed look never stays.
int KwCheckBox::OnLButtonUp(const KwPoint& point)
{
    ReleaseCapture(0);
    m_bPressed = 0;
    m_bPointerInside = 0;
    if (IsInside(point, GetSize())) {
        Toggle();
    } else {
        RepaintAll();
    }
    return 1;
}

int KwCheckBox::OnKeyUp(int key, int)
{
    if (key == KW_KEY_SPACE) {
        Toggle();
    }
    return 1;
}

int KwCheckBox::OnFocusGained()
{
    m_bFocused = 1;
    RepaintAll();
    return 1;
}

int KwCheckBox::OnFocusLost()
{
    m_bFocused = 0;
    RepaintAll();
    return 1;
}

// The box is filled with the background colour while it is disabled or held
// down, and white otherwise.
void KwCheckBox::DrawBox(IKwGraphics* graphics, int h)
{
    KwPaintColors colors(graphics);
    int top = h / 2 - 6;
    int grey = IsDisabled() || (m_bPressed && m_bPointerInside);
    colors.SetPenAndFill(grey ? GetBackground() : kWhite);
    graphics->FillRectangle(2, h / 2 - 4, 10, 10);
    colors.RestorePen();
    if (Is3DLook()) {
        graphics->Draw3DFrame(0, top, 12, 12, KW_FRAME_SUNKEN);
    } else {
        graphics->DrawRect(0, top, 12, 12);
        graphics->DrawRect(1, top + 1, 10, 10);
    }
}

// Six one-pixel strokes, three for each arm of the tick.
void KwCheckBox::DrawTick(IKwGraphics* graphics, int g)
{
    graphics->DrawLine(3, g + 5, 7, g + 9, 1);
    graphics->DrawLine(3, g + 6, 6, g + 9, 1);
    graphics->DrawLine(3, g + 7, 6, g + 10, 1);
    graphics->DrawLine(6, g + 6, 10, g + 2, 1);
    graphics->DrawLine(6, g + 7, 10, g + 3, 1);
    graphics->DrawLine(7, g + 7, 10, g + 4, 1);
}

int KwCheckBox::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    graphics->SetTransparentText(1);
    int h = GetSize().GetHeight();
    int fontHeight = GetFontHeight();
    DrawBox(graphics, h);
    if (m_bFocused) {
        KwSize text = GetTextExtent(m_sLabel);
        graphics->DrawFocusFrame(18, h / 2 - fontHeight / 2 - 3, text.GetWidth() + 4,
                                 fontHeight + 6, 1);
    }
    if (m_bChecked) {
        DrawTick(graphics, h / 2 - 6);
    }
    graphics->DrawString(m_sLabel, 20, h / 2 - fontHeight / 2 + 1);
    return 1;
}

} // namespace KwSDK
