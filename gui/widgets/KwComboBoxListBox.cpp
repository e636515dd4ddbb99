// The list that drops down from a combo box.
#include "KwComboBoxListBox.h"

#include "IKwGraphics.h"
#include "KwComboBoxScrollBar.h"
#include "KwPaintColors.h"

#include <new>

namespace KwSDK {

namespace {

// Rows start one pixel in, just inside the outline.
const int kBorderAdjustment = 1;
const unsigned int kOutline = 0x000000;

} // namespace

KwComboBoxListBox::KwComboBoxListBox()
    : m_pVerticalBar(new (std::nothrow) KwComboBoxScrollBar(KW_SCROLL_VERTICAL)),
      m_pHorizontalBar(new (std::nothrow) KwComboBoxScrollBar(KW_SCROLL_HORIZONTAL)),
      m_pHeldBar(nullptr),
      m_bRowPressed(0)
{
    AppendTypeName("KwComboBoxListBox");
    SetClassName("KwComboBoxListBox");
    SetBorderAdjustment(kBorderAdjustment);
    if (m_pVerticalBar != nullptr) {
        m_pVerticalBar->AddRef();
    }
    if (m_pHorizontalBar != nullptr) {
        m_pHorizontalBar->AddRef();
    }
    SetVerticalScrollBar(m_pVerticalBar);
    SetHorizontalScrollBar(m_pHorizontalBar);
}

KwComboBoxListBox::~KwComboBoxListBox()
{
    KwComboBoxScrollBar* bars[3] = {m_pHeldBar, m_pVerticalBar, m_pHorizontalBar};
    for (KwComboBoxScrollBar* bar : bars) {
        if (bar != nullptr) {
            bar->Release();
        }
    }
}

void KwComboBoxListBox::Open()
{
    Show(0);
    if (!HasCapture()) {
        SetCapture();
    }
}

// The capture count of the program is reset: the list may have taken the
// mouse more than once (a row press adds its own).
void KwComboBoxListBox::Close()
{
    if (HasCapture()) {
        ReleaseCapture(1);
    }
    Hide();
    m_bRowPressed = 0;
    if (m_pHeldBar != nullptr) {
        m_pHeldBar->ReleaseAt(KwPoint(0, 0));
        m_pHeldBar->Release();
        m_pHeldBar = nullptr;
    }
}

int KwComboBoxListBox::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwListBox::OnPaint(area, graphics);
    if (graphics != nullptr) {
        KwPaintColors colors(graphics);
        colors.SetPen(kOutline);
        KwSize size = GetSize();
        graphics->DrawRect(0, 0, size.GetWidth() - 1, size.GetHeight() - 1);
    }
    return 1;
}

int KwComboBoxListBox::IsInside(const KwPoint& point)
{
    KwSize size = GetSize();
    return point.GetX() >= 0 && point.GetY() >= 0 && point.GetX() < size.GetWidth() &&
           point.GetY() < size.GetHeight();
}

KwPoint KwComboBoxListBox::InBar(KwComboBoxScrollBar* bar, const KwPoint& point)
{
    KwPoint at = bar->GetLocation();
    return KwPoint(point.GetX() - at.GetX(), point.GetY() - at.GetY());
}

// Only the list's own drop-down bars are handed presses; a bar put in by
// SetVerticalScrollBar or SetHorizontalScrollBar is left alone.
KwComboBoxScrollBar* KwComboBoxListBox::BarAt(const KwPoint& point, KwPoint* local)
{
    KwScrollBar* current[2] = {GetVerticalScrollBar(), GetHorizontalScrollBar()};
    KwComboBoxScrollBar* own[2] = {m_pVerticalBar, m_pHorizontalBar};
    KwComboBoxScrollBar* found = nullptr;
    for (int i = 0; i < 2; ++i) {
        KwComboBoxScrollBar* bar = own[i];
        if (found == nullptr && bar != nullptr && current[i] == bar && bar->IsVisible()) {
            KwPoint inside = InBar(bar, point);
            KwSize size = bar->GetSize();
            if (inside.GetX() >= 0 && inside.GetY() >= 0 && inside.GetX() < size.GetWidth() &&
                inside.GetY() < size.GetHeight()) {
                found = bar;
                found->AddRef();
                *local = inside;
            }
        }
        if (current[i] != nullptr) {
            current[i]->Release();
        }
    }
    return found;
}

int KwComboBoxListBox::OnLButtonDown(const KwPoint& point)
{
    if (!IsInside(point)) {
        Close();
        return 1;
    }
    KwPoint local;
    KwComboBoxScrollBar* bar = BarAt(point, &local);
    if (bar != nullptr) {
        if (m_pHeldBar != nullptr) {
            m_pHeldBar->Release();
        }
        m_pHeldBar = bar;
        bar->PressAt(local);
        return 1;
    }
    m_bRowPressed = 1;
    return KwListBox::OnLButtonDown(point);
}

int KwComboBoxListBox::OnMouseMove(const KwPoint& point)
{
    if (m_pHeldBar != nullptr) {
        m_pHeldBar->DragTo(InBar(m_pHeldBar, point));
        return 1;
    }
    return m_bRowPressed ? KwListBox::OnMouseMove(point) : 1;
}

int KwComboBoxListBox::OnLButtonUp(const KwPoint& point)
{
    if (m_pHeldBar != nullptr) {
        KwComboBoxScrollBar* bar = m_pHeldBar;
        m_pHeldBar = nullptr;
        bar->ReleaseAt(InBar(bar, point));
        bar->Release();
        return 1;
    }
    if (!m_bRowPressed) {
        return 1;
    }
    m_bRowPressed = 0;
    return KwListBox::OnLButtonUp(point);
}

} // namespace KwSDK
