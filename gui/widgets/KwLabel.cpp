// A passive caption: one line aligned left, right or centred, or several
// lines broken at the line breaks of the text.
#include "KwLabel.h"

#include "IKwGraphics.h"

namespace KwSDK {

namespace {

// The system's text-format flags for each alignment.
const int kSingleLineLeft = 0x20;
const int kSingleLineRight = 0x22;
const int kSingleLineCentred = 0x21;
const int kLinesLeft = 0;

int FormatFor(int alignment)
{
    switch (alignment) {
    case KW_LABEL_LEFT: return kSingleLineLeft;
    case KW_LABEL_RIGHT: return kSingleLineRight;
    case KW_LABEL_CENTER: return kSingleLineCentred;
    default: return kLinesLeft;
    }
}

} // namespace

KwLabel::KwLabel(int alignment, const KwString& text) : m_sText(text), m_nAlignment(alignment)
{
    AppendTypeName("KwLabel");
    SetClassName("KwLabel");
}

KwLabel::~KwLabel() = default;

void KwLabel::SetText(const KwString& text)
{
    m_sText = text;
    RepaintAll();
}

KwString KwLabel::GetText()
{
    return m_sText;
}

void KwLabel::SetAlignment(int alignment)
{
    m_nAlignment = alignment;
}

int KwLabel::GetAlignment()
{
    return m_nAlignment;
}

int KwLabel::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    graphics->SetTransparentText(1);
    KwSize size = GetSize();
    graphics->DrawTextInRect(m_sText, KwRect(0, 0, size.GetWidth(), size.GetHeight()),
                             FormatFor(m_nAlignment));
    return 1;
}

} // namespace KwSDK
