// The scroll bar of a combo box's drop-down list.
#include "KwComboBoxScrollBar.h"

namespace KwSDK {

namespace {

template <class T>
void ReleasePart(T* part)
{
    if (part != nullptr) {
        part->Release();
    }
}

} // namespace

KwComboBoxScrollBar::KwComboBoxScrollBar(int orientation)
    : KwScrollBar(orientation), m_pHeldArrow(nullptr), m_bDragging(0), m_nGrip(0)
{
    AppendTypeName("KwComboBoxScrollBar");
    SetClassName("KwComboBoxScrollBar");
}

KwComboBoxScrollBar::~KwComboBoxScrollBar()
{
    ReleasePart(m_pHeldArrow);
}

int KwComboBoxScrollBar::Along(const KwPoint& point) const
{
    return GetOrientation() == KW_SCROLL_VERTICAL ? point.GetY() : point.GetX();
}

int KwComboBoxScrollBar::Contains(KwComponent* part, const KwPoint& point)
{
    if (part == nullptr || !part->IsVisible()) {
        return 0;
    }
    KwPoint at = part->GetLocation();
    KwSize size = part->GetSize();
    return point.GetX() >= at.GetX() && point.GetX() < at.GetX() + size.GetWidth() &&
           point.GetY() >= at.GetY() && point.GetY() < at.GetY() + size.GetHeight();
}

void KwComboBoxScrollBar::PressAt(const KwPoint& point)
{
    ReleaseArrow();
    KwArrowButton* increase = GetIncreaseArrow();
    KwArrowButton* decrease = GetDecreaseArrow();
    KwScrollBarBox* thumb = GetThumb();
    if (Contains(decrease, point) || Contains(increase, point)) {
        m_pHeldArrow = Contains(decrease, point) ? decrease : increase;
        m_pHeldArrow->AddRef();
        ActionPerformed(m_pHeldArrow, EVT_ARROW_PRESSED, 0);
    } else if (Contains(thumb, point)) {
        m_bDragging = 1;
        m_nGrip = Along(point) - Along(thumb->GetLocation());
    } else {
        PageToward(point, thumb);
    }
    ReleasePart(increase);
    ReleasePart(decrease);
    ReleasePart(thumb);
}

// One page toward the pointer, within the useful range of values.
void KwComboBoxScrollBar::PageToward(const KwPoint& point, KwScrollBarBox* thumb)
{
    if (thumb == nullptr || !thumb->IsVisible()) {
        return;
    }
    int value = GetValue();
    int page = GetVisibleAmount();
    int wanted = Along(point) < Along(thumb->GetLocation()) ? value - page : value + page;
    if (wanted > GetMaximum() - page) {
        wanted = GetMaximum() - page;
    }
    if (wanted < GetMinimum()) {
        wanted = GetMinimum();
    }
    if (wanted != value) {
        SetValue(wanted);
        PostActionToParent(EVT_SCROLL_CHANGED, 0);
    }
}

void KwComboBoxScrollBar::DragTo(const KwPoint& point)
{
    KwScrollBarBox* thumb = m_bDragging ? GetThumb() : nullptr;
    if (thumb == nullptr) {
        return;
    }
    int position = Along(point) - m_nGrip;
    if (position < thumb->GetLowestPosition()) {
        position = thumb->GetLowestPosition();
    }
    if (position > thumb->GetHighestPosition()) {
        position = thumb->GetHighestPosition();
    }
    KwPoint at = thumb->GetLocation();
    if (position != Along(at)) {
        int vertical = GetOrientation() == KW_SCROLL_VERTICAL;
        thumb->SetLocation(vertical ? at.GetX() : position, vertical ? position : at.GetY(), 1);
        thumb->PostActionToParent(EVT_THUMB_MOVED, 0);
    }
    thumb->Release();
}

void KwComboBoxScrollBar::ReleaseAt(const KwPoint&)
{
    ReleaseArrow();
    if (m_bDragging) {
        m_bDragging = 0;
        KwScrollBarBox* thumb = GetThumb();
        if (thumb != nullptr) {
            thumb->PostActionToParent(EVT_THUMB_RELEASED, 0);
            thumb->Release();
        }
    }
}

// Ends an arrow's press as its release would, which stops the repeat.
void KwComboBoxScrollBar::ReleaseArrow()
{
    if (m_pHeldArrow != nullptr) {
        KwArrowButton* arrow = m_pHeldArrow;
        m_pHeldArrow = nullptr;
        ActionPerformed(arrow, EVT_ARROW_RELEASED, 0);
        arrow->Release();
    }
}

} // namespace KwSDK
