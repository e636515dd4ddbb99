// The check box: a small box with a label that turns its tick on and off
// on each click and each space bar release.
#include "KwCheckBox.h"

#include "IKwGraphics.h"
#include "KwKeyCodes.h"
#include "KwPaintColors.h"

namespace KwSDK {

namespace {

const KwColor kWhite(255, 255, 255);

} // namespace

KwCheckBox::KwCheckBox(const KwString& label)
    : KwMarkButton(label), m_bChecked(0)
{
    AppendTypeName("KwCheckBox");
    SetClassName("KwCheckBox");
}

KwCheckBox::~KwCheckBox() = default;

void KwCheckBox::SetChecked(int checked)
{
    m_bChecked = checked;
    RepaintAll();
}

int KwCheckBox::GetChecked()
{
    return m_bChecked;
}

void KwCheckBox::Activate()
{
    m_bChecked = !m_bChecked;
    RepaintAll();
    FireAction(EVT_CHECKBOX_TOGGLED, 0);
}

int KwCheckBox::OnKeyUp(int key, int)
{
    if (key == KW_KEY_SPACE) {
        Activate();
    }
    return 1;
}

// The box is filled with the background colour while it is disabled or held
// down, and white otherwise.
void KwCheckBox::DrawBox(IKwGraphics* graphics, int h)
{
    KwPaintColors colors(graphics);
    int top = h / 2 - 6;
    colors.SetPenAndFill(IsMarkGrey() ? GetBackground() : kWhite);
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
    DrawLabelFocus(graphics, h, fontHeight);
    if (m_bChecked) {
        DrawTick(graphics, h / 2 - 6);
    }
    graphics->DrawString(m_sLabel, 20, h / 2 - fontHeight / 2 + 1);
    return 1;
}

} // namespace KwSDK
