// A component that can be switched into design mode: sizing handles, drags
// and resizes with the mouse, and the decorations that show them.
#include "KwDesignComponent.h"

#include "IKwGraphics.h"
#include "KwColor.h"
#include "KwCursor.h"

#include <new>

namespace KwSDK {

namespace {

// Handles are 5 pixels from the edges; the middle ones reach 2 pixels to
// each side of the middle.
const int kHandleReach = 5;
const int kMiddleReach = 2;
// A drag never makes a side of the component shorter than this.
const int kSmallestSide = 6;
const unsigned int kHandleBlue = 0xFF0000FF;

int Within(int value, int low, int high)
{
    return low <= value && value <= high ? 1 : 0;
}

// The graphics' drawing and fill colours, borrowed to paint the handles and
// put back when the handles are done.
class BorrowedColors {
public:
    explicit BorrowedColors(IKwGraphics* graphics)
        : m_pColor(graphics->GetColor()), m_pFill(graphics->GetFillColor()),
          m_nColor(m_pColor != nullptr ? m_pColor->GetARGB() : 0),
          m_nFill(m_pFill != nullptr ? m_pFill->GetARGB() : 0)
    {
    }
    ~BorrowedColors()
    {
        Restore(m_pColor, m_nColor);
        Restore(m_pFill, m_nFill);
    }
    BorrowedColors(const BorrowedColors&) = delete;
    BorrowedColors& operator=(const BorrowedColors&) = delete;

    void Set(unsigned int argb)
    {
        if (m_pColor != nullptr) {
            m_pColor->SetARGB(argb);
        }
        if (m_pFill != nullptr) {
            m_pFill->SetARGB(argb);
        }
    }

private:
    static void Restore(KwColor* color, unsigned int argb)
    {
        if (color != nullptr) {
            color->SetARGB(argb);
            color->Release();
        }
    }

    KwColor* m_pColor;
    KwColor* m_pFill;
    unsigned int m_nColor;
    unsigned int m_nFill;
};

// The cursor shown over each handle, body first.
const int kHandleCursors[9] = {
    KW_CURSOR_ARROW,
    KW_CURSOR_SIZE_NWSE, KW_CURSOR_SIZE_NS, KW_CURSOR_SIZE_NESW, KW_CURSOR_SIZE_WE,
    KW_CURSOR_SIZE_NWSE, KW_CURSOR_SIZE_NS, KW_CURSOR_SIZE_NESW, KW_CURSOR_SIZE_WE,
};

} // namespace

KwDesignComponent::KwDesignComponent()
    : m_bDesignMode(0), m_nDesignOption(0), m_bDragging(0), m_nDragHandle(0), m_bHighlighted(0),
      m_bDesignHighlight(0), m_nBorderInset(0)
{
    AppendTypeName("KwDesignComponent");
    SetClassName("KwDesignComponent");
}

KwDesignComponent::~KwDesignComponent() = default;

// Leaving design mode in the middle of a drag ends the drag, so that the
// capture it holds is not left behind for handlers that know nothing of it.
void KwDesignComponent::SetDesignMode(int designMode)
{
    if (!designMode && m_bDragging) {
        ReleaseCapture(0);
        m_bDragging = 0;
        m_nDragHandle = 0;
    }
    m_bDesignMode = designMode;
}

void KwDesignComponent::SetDesignOption(int option)
{
    m_nDesignOption = option;
}

int KwDesignComponent::IsDesignMode() const
{
    return m_bDesignMode;
}

int KwDesignComponent::GetDesignOption() const
{
    return m_nDesignOption;
}

void KwDesignComponent::SetDesignHighlight(int highlight)
{
    m_bDesignHighlight = highlight;
}

void KwDesignComponent::SetBorderInset(int inset)
{
    m_nBorderInset = inset;
}

int KwDesignComponent::IsSelfInDesign(const KwObject* source) const
{
    return m_bDesignMode && IsSelf(source) ? 1 : 0;
}

int KwDesignComponent::IsHighlighted() const
{
    return m_bHighlighted || m_bDesignHighlight ? 1 : 0;
}

// Checked in a fixed order, so that a point in two handles of a tiny
// component finds the first.
int KwDesignComponent::HitTestHandle(const KwPoint& point)
{
    KwSize size = GetSize();
    int x = point.GetX();
    int y = point.GetY();
    int right = size.GetWidth() - m_nBorderInset;
    int bottom = size.GetHeight() - m_nBorderInset;
    int middleX = size.GetWidth() / 2;
    int middleY = size.GetHeight() / 2;
    int left = Within(x, 0, kHandleReach);
    int centre = Within(x, middleX - kMiddleReach, middleX + kMiddleReach);
    int rightEdge = Within(x, right - kHandleReach, right);
    int top = Within(y, 0, kHandleReach);
    int middle = Within(y, middleY - kMiddleReach, middleY + kMiddleReach);
    int bottomEdge = Within(y, bottom - kHandleReach, bottom);
    const int hits[8] = {left && top,          centre && top,       rightEdge && top,
                         rightEdge && middle,  rightEdge && bottomEdge, centre && bottomEdge,
                         left && bottomEdge,   left && middle};
    for (int i = 0; i < 8; ++i) {
        if (hits[i]) {
            return i + 1;
        }
    }
    return 0;
}

// ---- Actions ------------------------------------------------------------

int KwDesignComponent::FireAction(int id, intptr_t param)
{
    return m_bDesignMode ? 0 : KwComponent::FireAction(id, param);
}

void KwDesignComponent::PostAction(int id, intptr_t param)
{
    if (!m_bDesignMode) {
        KwComponent::PostAction(id, param);
    }
}

void KwDesignComponent::PostActionToParent(int id, intptr_t param)
{
    if (!m_bDesignMode) {
        KwComponent::PostActionToParent(id, param);
    }
}

// ---- Design handlers ----------------------------------------------------

// The background is filled in design mode too, so that handles of an
// earlier paint do not stay in the buffer once the highlight is gone.
int KwDesignComponent::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    return 1;
}

int KwDesignComponent::OnLButtonDown(const KwPoint& point)
{
    if (!m_bDesignMode) {
        return KwComponent::OnLButtonDown(point);
    }
    SetCapture();
    m_bDragging = 1;
    m_nDragHandle = HitTestHandle(point);
    m_dragReference = point;
    RequestFocus();
    InvalidateAll();
    return 1;
}

int KwDesignComponent::OnLButtonUp(const KwPoint& point)
{
    if (!m_bDesignMode) {
        return KwComponent::OnLButtonUp(point);
    }
    ReleaseCapture(0);
    m_bDragging = 0;
    m_nDragHandle = 0;
    InvalidateAll();
    return 1;
}

int KwDesignComponent::OnMouseMove(const KwPoint& point)
{
    if (!m_bDesignMode) {
        return KwComponent::OnMouseMove(point);
    }
    if (m_bDragging) {
        DragBy(point.GetX() - m_dragReference.GetX(), point.GetY() - m_dragReference.GetY());
    } else if (IsHighlighted()) {
        ShowSizingCursor(HitTestHandle(point));
    }
    return 1;
}

int KwDesignComponent::OnFocusGained()
{
    if (!m_bDesignMode) {
        return KwComponent::OnFocusGained();
    }
    m_bHighlighted = 1;
    InvalidateAll();
    return 1;
}

int KwDesignComponent::OnFocusLost()
{
    if (!m_bDesignMode) {
        return KwComponent::OnFocusLost();
    }
    m_bHighlighted = 0;
    InvalidateAll();
    return 1;
}

// Mouse positions are relative to the component, so after a step that
// moves the component's left or top edge the pointer is again at the
// reference along that axis; along an edge that stays put, the reference
// follows the pointer.
void KwDesignComponent::DragBy(int dx, int dy)
{
    ImplKwComponent* impl = GetImplementation();
    if (impl == nullptr) {
        return;
    }
    KwPoint location = GetLocation();
    KwSize size = GetSize();
    int x = location.GetX();
    int y = location.GetY();
    int w = size.GetWidth();
    int h = size.GetHeight();
    // Whether moving that edge by the step leaves the side at least
    // kSmallestSide long.
    int rightFits = w + dx >= kSmallestSide;
    int bottomFits = h + dy >= kSmallestSide;
    int leftFits = dx <= w - kSmallestSide;
    int topFits = dy <= h - kSmallestSide;
    int shiftX = 0;
    int shiftY = 0;
    switch (m_nDragHandle) {
    case 0:
        if (dx != 0 || dy != 0) {
            impl->SetLocation(x + dx, y + dy, 1);
        }
        break;
    case 1:
        if (leftFits && topFits) {
            impl->SetBounds(x + dx, y + dy, w - dx, h - dy, 1);
        }
        break;
    case 2:
        if (topFits) {
            impl->SetBounds(x, y + dy, w, h - dy, 1);
        }
        break;
    case 3:
        if (rightFits && topFits) {
            impl->SetBounds(x, y + dy, w + dx, h - dy, 1);
            shiftX = dx;
        }
        break;
    case 4:
        if (rightFits) {
            impl->SetSize(w + dx, h, 1);
            shiftX = dx;
        }
        break;
    case 5:
        if (rightFits && bottomFits) {
            impl->SetSize(w + dx, h + dy, 1);
            shiftX = dx;
            shiftY = dy;
        }
        break;
    case 6:
        if (bottomFits) {
            impl->SetSize(w, h + dy, 1);
            shiftY = dy;
        }
        break;
    case 7:
        if (leftFits && bottomFits) {
            impl->SetBounds(x + dx, y, w - dx, h + dy, 1);
            shiftY = dy;
        }
        break;
    case 8:
        if (leftFits) {
            impl->SetBounds(x + dx, y, w - dx, h, 1);
        }
        break;
    default:
        break;
    }
    m_dragReference = KwPoint(m_dragReference.GetX() + shiftX, m_dragReference.GetY() + shiftY);
}

// The cursor is the class cursor, so the component keeps the new
// description and the system shows it at the next pointer move.
void KwDesignComponent::ShowSizingCursor(int handle)
{
    if (handle < 0 || handle > 8) {
        return;
    }
    KwCursor* cursor = new (std::nothrow) KwCursor();
    if (cursor == nullptr) {
        return;
    }
    cursor->AddRef();
    cursor->SetType(kHandleCursors[handle]);
    SetCursor(cursor);
    cursor->Release();
}

// ---- Decorations --------------------------------------------------------

void KwDesignComponent::DrawDecorations(IKwGraphics* graphics)
{
    if (graphics == nullptr) {
        return;
    }
    graphics->SetTransparentText(1);
    if (!IsHighlighted()) {
        return;
    }
    if (m_bDragging) {
        KwSize size = GetSize();
        graphics->DrawFocusFrame(0, 0, size.GetWidth() - m_nBorderInset,
                                 size.GetHeight() - m_nBorderInset, 1);
    } else {
        DrawHandles(graphics);
    }
}

void KwDesignComponent::DrawHandles(IKwGraphics* graphics)
{
    KwSize size = GetSize();
    int middleX = size.GetWidth() / 2 - kMiddleReach;
    int middleY = size.GetHeight() / 2 - kMiddleReach;
    int right = size.GetWidth() - m_nBorderInset - kHandleReach;
    int bottom = size.GetHeight() - m_nBorderInset - kHandleReach;
    const KwPoint corners[8] = {
        KwPoint(0, 0),       KwPoint(middleX, 0),      KwPoint(right, 0),
        KwPoint(0, middleY), KwPoint(right, middleY),  KwPoint(0, bottom),
        KwPoint(middleX, bottom), KwPoint(right, bottom),
    };
    BorrowedColors colors(graphics);
    colors.Set(kHandleBlue);
    for (const KwPoint& corner : corners) {
        graphics->FillRectangle(corner.GetX(), corner.GetY(), kHandleReach, kHandleReach);
    }
}

// ---- The component as its own listener ----------------------------------

int KwDesignComponent::OnPaint(KwObject* source, const KwRect& area, IKwGraphics* graphics)
{
    if (!IsSelf(source)) {
        return KwComponent::OnPaint(source, area, graphics);
    }
    int answer = OnPaint(area, graphics);
    if (m_bDesignMode) {
        DrawDecorations(graphics);
    }
    return answer;
}

int KwDesignComponent::OnFramePaint(KwObject* source, const KwRect& area, IKwGraphics* graphics)
{
    if (!IsSelfInDesign(source)) {
        return KwComponent::OnFramePaint(source, area, graphics);
    }
    int answer = OnPaint(area, graphics);
    DrawDecorations(graphics);
    return answer;
}

int KwDesignComponent::OnLButtonDown(KwObject* source, const KwPoint& point)
{
    if (!IsSelfInDesign(source)) {
        return KwComponent::OnLButtonDown(source, point);
    }
    KwDesignComponent::OnLButtonDown(point);
    return 1;
}

int KwDesignComponent::OnLButtonUp(KwObject* source, const KwPoint& point)
{
    if (!IsSelfInDesign(source)) {
        return KwComponent::OnLButtonUp(source, point);
    }
    return KwDesignComponent::OnLButtonUp(point);
}

// With double clicks on, the second press of a quick pair arrives as a
// double click; in design mode it starts a drag like any press.
int KwDesignComponent::OnLButtonDblClk(KwObject* source, const KwPoint& point)
{
    if (!IsSelfInDesign(source)) {
        return KwComponent::OnLButtonDblClk(source, point);
    }
    return KwDesignComponent::OnLButtonDown(point);
}

int KwDesignComponent::OnMouseMove(KwObject* source, const KwPoint& point)
{
    if (!IsSelfInDesign(source)) {
        return KwComponent::OnMouseMove(source, point);
    }
    return KwDesignComponent::OnMouseMove(point);
}

int KwDesignComponent::OnFocusGained(KwObject* source)
{
    if (!IsSelfInDesign(source)) {
        return KwComponent::OnFocusGained(source);
    }
    return KwDesignComponent::OnFocusGained();
}

int KwDesignComponent::OnFocusLost(KwObject* source)
{
    if (!IsSelfInDesign(source)) {
        return KwComponent::OnFocusLost(source);
    }
    return KwDesignComponent::OnFocusLost();
}

} // namespace KwSDK
