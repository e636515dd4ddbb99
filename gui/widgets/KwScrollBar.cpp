// The scroll bar: layout of its parts, the value and thumb arithmetic,
// arrow repeat and track paging on the repeat timer.
#include "KwScrollBar.h"

#include "KwPaintColors.h"

#include <new>

namespace KwSDK {

namespace {

// The shortest thumb drawn, in pixels along the axis.
const int kMinThumbLength = 6;
const int kThumbStartSize = 10;
const int kPagingIncrease = 2;
const int kPagingDecrease = 1;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

int NotNegative(int value)
{
    return value < 0 ? 0 : value;
}

} // namespace

KwScrollBar::KwScrollBar(int orientation)
    : m_nOrientation(orientation), m_nMaximum(100), m_nMinimum(0), m_nValue(0),
      m_nVisibleAmount(10), m_nUnitIncrement(1), m_nRepeatPeriod(100),
      m_nRepeatMode(KW_REPEAT_NONE), m_nPagingSide(0), m_bTrackPressed(0), m_bRepeating(0),
      m_crTrack(50, 50, 50), m_pIncrease(nullptr), m_pDecrease(nullptr), m_pThumb(nullptr)
{
    AppendTypeName("KwScrollBar");
    SetClassName("KwScrollBar");
    SetBackground(KwColor(220, 220, 220));
    SetFocusable(0);
    CreateParts();
    KwScrollBar::Initialize();
}

// The container gives the parts back; the bar holds no references of its
// own, but a part that someone else still holds must not call it any more.
KwScrollBar::~KwScrollBar()
{
    KwComponent* parts[3] = {m_pIncrease, m_pDecrease, m_pThumb};
    for (KwComponent* part : parts) {
        if (part != nullptr) {
            part->RemoveActionListener(this);
        }
    }
}

void KwScrollBar::CreateParts()
{
    KwArrowButton* increase = new (std::nothrow) KwArrowButton();
    KwArrowButton* decrease = new (std::nothrow) KwArrowButton();
    KwScrollBarBox* thumb = new (std::nothrow) KwScrollBarBox(m_nOrientation);
    if (thumb != nullptr) {
        thumb->SetSize(kThumbStartSize, kThumbStartSize, 0);
    }
    m_pIncrease = ReplacePart(nullptr, increase) ? increase : nullptr;
    m_pDecrease = ReplacePart(nullptr, decrease) ? decrease : nullptr;
    m_pThumb = ReplacePart(nullptr, thumb) ? thumb : nullptr;
}

// The container holds the only reference the bar keeps on a part. A new
// part that the container cannot take is freed here; answers 1 when the
// part was added.
int KwScrollBar::ReplacePart(KwComponent* old, KwComponent* part)
{
    if (old != nullptr) {
        old->RemoveActionListener(this);
        Remove(old);
    }
    if (part == nullptr) {
        return 0;
    }
    part->AddRef();
    part->SetFocusable(0);
    int added = Add(part);
    if (added) {
        part->AddActionListener(this);
    }
    part->Release();
    return added;
}

void KwScrollBar::Initialize()
{
    int vertical = m_nOrientation == KW_SCROLL_VERTICAL;
    if (m_pIncrease != nullptr) {
        m_pIncrease->SetDirection(vertical ? KW_ARROW_DOWN : KW_ARROW_RIGHT);
        m_pIncrease->AddActionListener(this);
    }
    if (m_pDecrease != nullptr) {
        m_pDecrease->SetDirection(vertical ? KW_ARROW_UP : KW_ARROW_LEFT);
        m_pDecrease->AddActionListener(this);
    }
    if (m_pThumb != nullptr) {
        m_pThumb->SetOrientation(m_nOrientation);
    }
    LayoutArrows();
    LayoutThumb();
}

void KwScrollBar::OnAfterCreate()
{
    KwContainer::OnAfterCreate();
    Initialize();
}

int KwScrollBar::OnSize(int, int, int)
{
    LayoutArrows();
    LayoutThumb();
    return 1;
}

int KwScrollBar::OnDestroy()
{
    m_nRepeatMode = KW_REPEAT_NONE;
    m_nPagingSide = 0;
    m_bTrackPressed = 0;
    m_bRepeating = 0;
    return KwContainer::OnDestroy();
}

// ---- Properties ----------------------------------------------------------

void KwScrollBar::SetOrientation(int orientation)
{
    m_nOrientation = orientation;
    Initialize();
}

int KwScrollBar::GetOrientation() const
{
    return m_nOrientation;
}

void KwScrollBar::SetMaximum(int maximum)
{
    if (maximum <= m_nMinimum) {
        return;
    }
    m_nMaximum = maximum;
    if (m_nValue > m_nMaximum - m_nVisibleAmount) {
        m_nValue = m_nMaximum - m_nVisibleAmount;
    }
    if (m_nValue < m_nMinimum) {
        m_nValue = m_nMinimum;
    }
    LayoutThumb();
}

int KwScrollBar::GetMaximum()
{
    return m_nMaximum;
}

void KwScrollBar::SetMinimum(int minimum)
{
    if (minimum >= m_nMaximum) {
        return;
    }
    m_nMinimum = minimum;
    if (m_nValue < m_nMinimum) {
        m_nValue = m_nMinimum;
    }
    LayoutThumb();
}

int KwScrollBar::GetMinimum()
{
    return m_nMinimum;
}

void KwScrollBar::SetValue(int value)
{
    m_nValue = Clamp(value, m_nMinimum, m_nMaximum);
    PositionThumb();
}

int KwScrollBar::GetValue()
{
    return m_nValue;
}

void KwScrollBar::SetVisibleAmount(int amount)
{
    if (amount < 0) {
        return;
    }
    m_nVisibleAmount = amount;
    LayoutThumb();
}

int KwScrollBar::GetVisibleAmount()
{
    return m_nVisibleAmount;
}

void KwScrollBar::SetUnitIncrement(int increment)
{
    if (increment >= 1) {
        m_nUnitIncrement = increment;
    }
}

int KwScrollBar::GetUnitIncrement()
{
    return m_nUnitIncrement;
}

void KwScrollBar::SetRepeatPeriod(int milliseconds)
{
    if (milliseconds >= 1) {
        m_nRepeatPeriod = milliseconds;
    }
}

int KwScrollBar::GetRepeatPeriod() const
{
    return m_nRepeatPeriod;
}

int KwScrollBar::GetRepeatMode() const
{
    return m_nRepeatMode;
}

void KwScrollBar::SetIncreaseArrow(KwArrowButton* arrow)
{
    if (arrow == m_pIncrease) {
        return;
    }
    KwArrowButton* old = m_pIncrease;
    m_pIncrease = ReplacePart(old, arrow) ? arrow : nullptr;
    Initialize();
}

KwArrowButton* KwScrollBar::GetIncreaseArrow()
{
    if (m_pIncrease != nullptr) {
        m_pIncrease->AddRef();
    }
    return m_pIncrease;
}

void KwScrollBar::SetDecreaseArrow(KwArrowButton* arrow)
{
    if (arrow == m_pDecrease) {
        return;
    }
    KwArrowButton* old = m_pDecrease;
    m_pDecrease = ReplacePart(old, arrow) ? arrow : nullptr;
    Initialize();
}

KwArrowButton* KwScrollBar::GetDecreaseArrow()
{
    if (m_pDecrease != nullptr) {
        m_pDecrease->AddRef();
    }
    return m_pDecrease;
}

void KwScrollBar::SetThumb(KwScrollBarBox* thumb)
{
    if (thumb == m_pThumb) {
        return;
    }
    KwScrollBarBox* old = m_pThumb;
    m_pThumb = ReplacePart(old, thumb) ? thumb : nullptr;
    Initialize();
}

KwScrollBarBox* KwScrollBar::GetThumb()
{
    if (m_pThumb != nullptr) {
        m_pThumb->AddRef();
    }
    return m_pThumb;
}

void KwScrollBar::SetTrackColor(const KwColor& color)
{
    m_crTrack = color;
}

// ---- Layout ---------------------------------------------------------------

KwScrollBar::Track KwScrollBar::Measure()
{
    KwSize size = GetSize();
    int vertical = m_nOrientation == KW_SCROLL_VERTICAL;
    Track track;
    track.length = vertical ? size.GetHeight() : size.GetWidth();
    track.thickness = vertical ? size.GetWidth() : size.GetHeight();
    track.arrow = track.thickness;
    track.end = track.length - track.arrow;
    if (m_pIncrease != nullptr && track.length > track.thickness) {
        KwPoint at = m_pIncrease->GetLocation();
        track.end = vertical ? at.GetY() : at.GetX();
    }
    return track;
}

int KwScrollBar::Along(const KwPoint& point) const
{
    return m_nOrientation == KW_SCROLL_VERTICAL ? point.GetY() : point.GetX();
}

int KwScrollBar::Across(const KwPoint& point) const
{
    return m_nOrientation == KW_SCROLL_VERTICAL ? point.GetX() : point.GetY();
}

// Square arrows at both ends; a bar shorter than it is thick splits its
// length between them. A horizontal bar keeps its increase arrow one pixel
// in from the right edge.
void KwScrollBar::LayoutArrows()
{
    KwSize size = GetSize();
    int w = size.GetWidth();
    int h = size.GetHeight();
    if (m_nOrientation == KW_SCROLL_VERTICAL) {
        int shared = h < w;
        if (m_pDecrease != nullptr) {
            m_pDecrease->SetBounds(0, 0, w, NotNegative(shared ? h / 2 - 1 : w), 1);
        }
        if (m_pIncrease != nullptr) {
            m_pIncrease->SetBounds(0, shared ? h / 2 : h - w, w, shared ? h / 2 : w, 1);
        }
    } else {
        int shared = w <= h;
        if (m_pDecrease != nullptr) {
            m_pDecrease->SetBounds(0, 0, NotNegative(shared ? w / 2 - 1 : h), h, 1);
        }
        if (m_pIncrease != nullptr) {
            int x = NotNegative(shared ? w / 2 : w - h - 1);
            m_pIncrease->SetBounds(x, 0, shared ? w / 2 : h, h, 1);
        }
    }
}

// The thumb's share of the track is the visible amount's share of the
// range; its drawn length is one pixel less than its share and never
// below the minimum.
void KwScrollBar::LayoutThumb()
{
    if (m_pThumb == nullptr) {
        return;
    }
    Track track = Measure();
    int range = m_nMaximum - m_nMinimum;
    int t = track.length - 2 * track.arrow;
    if (track.length <= track.thickness || t < kMinThumbLength + 1 || range <= 0) {
        m_pThumb->Hide();
        return;
    }
    long long share = static_cast<long long>(t) * m_nVisibleAmount / range;
    int e = Clamp(share < t ? static_cast<int>(share) : t, kMinThumbLength + 1, t);
    if (m_nOrientation == KW_SCROLL_VERTICAL) {
        m_pThumb->SetSize(track.thickness, e - 1, 1);
    } else {
        m_pThumb->SetSize(e - 1, track.thickness, 1);
    }
    m_pThumb->SetPositionRange(track.arrow, track.length - track.arrow - e);
    PositionThumb();
    if (!m_pThumb->IsVisible()) {
        m_pThumb->Show(0);
    }
}

// A value beyond maximum - visible amount (SetValue allows it) leaves the
// thumb at the end of the track rather than over the arrow.
void KwScrollBar::PositionThumb()
{
    if (m_pThumb == nullptr) {
        return;
    }
    Track track = Measure();
    int range = m_nMaximum - m_nMinimum;
    int t = track.length - 2 * track.arrow;
    if (range <= 0 || t <= 0) {
        return;
    }
    long long d = static_cast<long long>(m_nValue - m_nMinimum) * t / range;
    int position = Clamp(track.arrow + static_cast<int>(d), m_pThumb->GetLowestPosition(),
                         m_pThumb->GetHighestPosition());
    if (m_nOrientation == KW_SCROLL_VERTICAL) {
        m_pThumb->SetLocation(0, position, 1);
    } else {
        m_pThumb->SetLocation(position, 0, 1);
    }
}

int KwScrollBar::ComputeValueFromThumb()
{
    Track track = Measure();
    int t = track.length - 2 * track.arrow;
    if (m_pThumb == nullptr || t <= 0) {
        return m_nValue;
    }
    double share = static_cast<double>(m_nMaximum - m_nMinimum) *
                   (Along(m_pThumb->GetLocation()) - track.arrow) / t;
    return m_nMinimum + static_cast<int>(share);
}

int KwScrollBar::ThumbStart()
{
    return m_pThumb != nullptr ? Along(m_pThumb->GetLocation()) : 0;
}

int KwScrollBar::ThumbEnd()
{
    if (m_pThumb == nullptr) {
        return 0;
    }
    KwSize size = m_pThumb->GetSize();
    int length = m_nOrientation == KW_SCROLL_VERTICAL ? size.GetHeight() : size.GetWidth();
    return ThumbStart() + length;
}

// ---- Steps ------------------------------------------------------------------

// One unit toward the limit of the mode; 0 when the value cannot move.
int KwScrollBar::UnitStep(int mode)
{
    int top = m_nMaximum - m_nVisibleAmount;
    int old = m_nValue;
    if (mode == KW_REPEAT_UNIT_INCREASE && m_nValue < top) {
        m_nValue = m_nValue + m_nUnitIncrement > top ? top : m_nValue + m_nUnitIncrement;
    } else if (mode == KW_REPEAT_UNIT_DECREASE && m_nValue > m_nMinimum) {
        m_nValue = m_nValue - m_nUnitIncrement < m_nMinimum ? m_nMinimum
                                                            : m_nValue - m_nUnitIncrement;
    }
    return m_nValue != old;
}

// One visible amount toward the limit of the mode; a page increase from a
// value already beyond maximum - visible amount leaves it where it is.
int KwScrollBar::PageStep(int mode)
{
    int old = m_nValue;
    if (mode == KW_REPEAT_PAGE_INCREASE) {
        int top = m_nMaximum - m_nVisibleAmount;
        int next = m_nValue + m_nVisibleAmount > top ? top : m_nValue + m_nVisibleAmount;
        m_nValue = next > m_nValue ? next : m_nValue;
    } else if (mode == KW_REPEAT_PAGE_DECREASE) {
        int next = m_nValue - m_nVisibleAmount;
        m_nValue = next < m_nMinimum ? m_nMinimum : next;
    }
    return m_nValue != old;
}

void KwScrollBar::ReportChange()
{
    PositionThumb();
    PostActionToParent(EVT_SCROLL_CHANGED, 0);
}

void KwScrollBar::StartRepeat()
{
    if (!m_bRepeating && StartTimer(m_nRepeatPeriod) != 0) {
        m_bRepeating = 1;
    }
}

void KwScrollBar::StopRepeat()
{
    if (m_bRepeating) {
        StopTimer();
        m_bRepeating = 0;
    }
}

void KwScrollBar::ArrowPressed(int mode)
{
    if (!UnitStep(mode)) {
        return;
    }
    m_nRepeatMode = mode;
    StartRepeat();
    ReportChange();
}

// ---- Events -----------------------------------------------------------------

int KwScrollBar::ActionPerformed(KwObject* source, int id, intptr_t)
{
    if (source == nullptr) {
        return 1;
    }
    int fromIncrease = m_pIncrease != nullptr && source == static_cast<KwObject*>(m_pIncrease);
    int fromDecrease = m_pDecrease != nullptr && source == static_cast<KwObject*>(m_pDecrease);
    if (id == EVT_ARROW_PRESSED && fromIncrease) {
        ArrowPressed(KW_REPEAT_UNIT_INCREASE);
    } else if (id == EVT_ARROW_PRESSED && fromDecrease) {
        ArrowPressed(KW_REPEAT_UNIT_DECREASE);
    } else if (id == EVT_ARROW_RELEASED && (fromIncrease || fromDecrease)) {
        m_nRepeatMode = KW_REPEAT_NONE;
        StopRepeat();
    } else if (id == EVT_THUMB_MOVED && m_pThumb != nullptr &&
               source == static_cast<KwObject*>(m_pThumb)) {
        int value = ComputeValueFromThumb();
        if (value != m_nValue) {
            m_nValue = value;
            PostActionToParent(EVT_SCROLL_CHANGED, 0);
        }
    }
    return 1;
}

// A press on the track pages once toward the pointer and keeps paging on
// the repeat timer while the track is held.
int KwScrollBar::OnLButtonDown(const KwPoint& point)
{
    if (m_pThumb == nullptr || !m_pThumb->IsVisible()) {
        return 1;
    }
    SetCapture();
    m_bTrackPressed = 1;
    m_ptPointer = point;
    int increase = Along(point) >= ThumbStart();
    m_nRepeatMode = increase ? KW_REPEAT_PAGE_INCREASE : KW_REPEAT_PAGE_DECREASE;
    m_nPagingSide = increase ? kPagingIncrease : kPagingDecrease;
    int moved = PageStep(m_nRepeatMode);
    StartRepeat();
    PositionThumb();
    RepaintAll();
    if (moved) {
        PostActionToParent(EVT_SCROLL_CHANGED, 0);
    }
    return 1;
}

// On the track, across the bar and between the thumb and the arrow of the
// paging direction.
int KwScrollBar::PointerOnPagingSide()
{
    Track track = Measure();
    int across = Across(m_ptPointer);
    int along = Along(m_ptPointer);
    if (across < 0 || across >= track.thickness) {
        return 0;
    }
    if (m_nPagingSide == kPagingIncrease) {
        return along >= ThumbEnd() && along < track.end;
    }
    if (m_nPagingSide == kPagingDecrease) {
        return along < ThumbStart() && along >= track.arrow;
    }
    return 0;
}

int KwScrollBar::OnMouseMove(const KwPoint& point)
{
    if (!m_bTrackPressed) {
        return 1;
    }
    m_ptPointer = point;
    if (PointerOnPagingSide()) {
        StartRepeat();
    } else {
        StopRepeat();
    }
    return 1;
}

int KwScrollBar::OnLButtonUp(const KwPoint&)
{
    if (!m_bTrackPressed) {
        return 1;
    }
    m_bTrackPressed = 0;
    m_nRepeatMode = KW_REPEAT_NONE;
    m_nPagingSide = 0;
    StopRepeat();
    RepaintAll();
    ReleaseCapture(0);
    return 1;
}

// Arrow repeat stops at the limit; paging stops once the thumb has reached
// the pointer, so a held track never pages past the place it was pressed.
int KwScrollBar::OnTimer()
{
    switch (m_nRepeatMode) {
    case KW_REPEAT_UNIT_INCREASE:
    case KW_REPEAT_UNIT_DECREASE:
        if (UnitStep(m_nRepeatMode)) {
            ReportChange();
        } else {
            StopRepeat();
        }
        break;
    case KW_REPEAT_PAGE_INCREASE:
    case KW_REPEAT_PAGE_DECREASE:
        if (!PointerOnPagingSide()) {
            StopRepeat();
        } else if (PageStep(m_nRepeatMode)) {
            ReportChange();
            RepaintAll();
        }
        break;
    default:
        StopRepeat();
        break;
    }
    return 1;
}

// The background, and while the track is held the part between the thumb
// and the arrow on the paging side in the track colour.
int KwScrollBar::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr || m_nPagingSide == 0 || m_pThumb == nullptr) {
        return 1;
    }
    Track track = Measure();
    int from = m_nPagingSide == kPagingIncrease ? ThumbEnd() : track.arrow;
    int to = m_nPagingSide == kPagingIncrease ? track.end : ThumbStart();
    if (to <= from) {
        return 1;
    }
    KwPaintColors colors(graphics);
    colors.SetBack(m_crTrack);
    if (m_nOrientation == KW_SCROLL_VERTICAL) {
        graphics->ClearRect(KwRect(0, from, track.thickness, to - from));
    } else {
        graphics->ClearRect(KwRect(from, 0, to - from, track.thickness));
    }
    return 1;
}

} // namespace KwSDK
