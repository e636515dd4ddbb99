// The radio button: a round mark with a label that is selected by a click
// or a space bar release and never cleared by input.
#include "KwRadioButton.h"

#include "IKwGraphics.h"
#include "KwKeyCodes.h"
#include "KwPaintColors.h"

namespace KwSDK {

namespace {

const KwColor kBlack(0, 0, 0);
const KwColor kWhite(255, 255, 255);
// The sunken ring: outer and inner shadow above left, light below right.
const KwColor kOuterShadow(172, 168, 153);
const KwColor kInnerShadow(113, 111, 100);
const KwColor kInnerLight(241, 239, 226);

} // namespace

KwRadioButton::KwRadioButton(const KwString& label)
    : KwMarkButton(label), m_bSelected(0)
{
    AppendTypeName("KwRadioButton");
    SetClassName("KwRadioButton");
}

KwRadioButton::~KwRadioButton() = default;

void KwRadioButton::SetSelected(int selected)
{
    m_bSelected = selected;
    RepaintAll();
}

int KwRadioButton::GetSelected()
{
    return m_bSelected;
}

void KwRadioButton::Activate()
{
    m_bSelected = 1;
    RepaintAll();
    FireAction(EVT_RADIO_SELECTED, 0);
}

int KwRadioButton::OnKeyDown(int key, int)
{
    if (key == KW_KEY_SPACE) {
        m_bPressed = 1;
        RepaintAll();
    }
    return 1;
}

int KwRadioButton::OnKeyUp(int key, int)
{
    if (key == KW_KEY_SPACE) {
        m_bPressed = 0;
        Activate();
    }
    return 1;
}

// The round mark in the 11-pixel box at (0, top): its inside, then its ring.
void KwRadioButton::DrawMark(IKwGraphics* graphics, int top)
{
    KwPaintColors colors(graphics);
    colors.SetPenAndFill(IsMarkGrey() ? GetBackground() : kWhite);
    graphics->FillOval(1, top + 1, 9, 9);
    if (!Is3DLook()) {
        colors.SetPen(kBlack);
        graphics->DrawOval(0, top, 11, 11);
        return;
    }
    // Arcs run counter-clockwise: from the top right corner to the bottom
    // left one is the upper-left half.
    colors.SetPen(kOuterShadow);
    graphics->DrawArc(0, top, 11, 11, 11, top, 0, top + 11);
    colors.SetPen(kWhite);
    graphics->DrawArc(0, top, 11, 11, 0, top + 11, 11, top);
    colors.SetPen(kInnerShadow);
    graphics->DrawArc(1, top + 1, 9, 9, 10, top + 1, 1, top + 10);
    colors.SetPen(kInnerLight);
    graphics->DrawArc(1, top + 1, 9, 9, 1, top + 10, 10, top + 1);
}

void KwRadioButton::DrawDot(IKwGraphics* graphics, int top)
{
    KwPaintColors colors(graphics);
    colors.SetPenAndFill(kBlack);
    if (Is3DLook()) {
        graphics->FillRectangle(4, top + 4, 3, 3);
    } else {
        graphics->FillOval(2, top + 2, 7, 7);
    }
}

int KwRadioButton::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    graphics->SetTransparentText(1);
    int h = GetSize().GetHeight();
    int top = h / 2 - 5;
    int fontHeight = GetFontHeight();
    DrawMark(graphics, top);
    DrawLabelFocus(graphics, h, fontHeight);
    if (m_bSelected) {
        DrawDot(graphics, top);
    }
    graphics->DrawString(m_sLabel, 20, h / 2 - fontHeight / 2);
    return 1;
}

} // namespace KwSDK
