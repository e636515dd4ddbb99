// One row of a list box.
#include "KwListBoxItem.h"

namespace KwSDK {

KwListBoxItem::KwListBoxItem(const KwString& text) : m_sText(text), m_bSelected(0), m_nWidth(0)
{
    AppendTypeName("KwListBoxItem");
}

KwListBoxItem::~KwListBoxItem() = default;

void KwListBoxItem::SetText(const KwString& text)
{
    m_sText = text;
}

KwString KwListBoxItem::GetText() const
{
    return m_sText;
}

void KwListBoxItem::SetSelected(int selected)
{
    m_bSelected = selected ? 1 : 0;
}

int KwListBoxItem::IsSelected() const
{
    return m_bSelected;
}

void KwListBoxItem::SetWidth(int width)
{
    m_nWidth = width;
}

int KwListBoxItem::GetWidth() const
{
    return m_nWidth;
}

} // namespace KwSDK
