// The hint pop-up: a small framed box with one line of text.
#include "KwHelper.h"

#include "IKwGraphics.h"

namespace KwSDK {

namespace {

const int kMarginWidth = 4;
const int kMarginHeight = 2;
const int kTextX = 2;
const int kTextY = 1;

} // namespace

KwHelper::KwHelper() : m_sText("")
{
    AppendTypeName("KwHelper");
    SetClassName("KwHelper");
    SetBackground(KwColor(255, 255, 225));
    KwPopupWindow::SetText(m_sText);
    SetSize(kMarginWidth, kMarginHeight, 0);
    Hide();
}

KwHelper::~KwHelper() = default;

void KwHelper::SetText(const KwString& text)
{
    m_sText = text;
    KwPopupWindow::SetText(text);
    FitText();
}

KwString KwHelper::GetText()
{
    return m_sText;
}

void KwHelper::FitText()
{
    KwSize extent = GetTextExtent(m_sText);
    SetSize(extent.GetWidth() + kMarginWidth, extent.GetHeight() + kMarginHeight, 0);
}

void KwHelper::OnAfterCreate()
{
    FitText();
    KwPopupWindow::OnAfterCreate();
}

// The drawing colour is shared with other painters: it is put back as it was.
int KwHelper::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    KwSize size = GetSize();
    graphics->SetTransparentText(1);
    KwColor* color = graphics->GetColor();
    unsigned int saved = color != nullptr ? color->GetARGB() : 0;
    if (color != nullptr) {
        color->SetARGB(0);
    }
    graphics->DrawRect(0, 0, size.GetWidth() - 1, size.GetHeight() - 1);
    graphics->DrawString(m_sText, kTextX, kTextY);
    if (color != nullptr) {
        color->SetARGB(saved);
        color->Release();
    }
    return 1;
}

} // namespace KwSDK
