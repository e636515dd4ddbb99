// The push button: a framed, centred label that posts an action to its
// parent when it is clicked or the space bar is released on it, with an
// optional hint pop-up.
#include "KwButton.h"

#include "IKwGraphics.h"
#include "KwFont.h"
#include "KwHelper.h"
#include "KwKeyCodes.h"
#include "KwPaintColors.h"

#include <new>

namespace KwSDK {

namespace {

// The hint appears this far below the pointer, clear of the cursor shape.
const int kHintBelowPointer = 21;

const KwColor kBlack(0, 0, 0);
const KwColor kWhite(255, 255, 255);
const KwColor kPressedPaper(211, 211, 211);

// The right and bottom edge pixels count as inside.
int IsOutside(const KwPoint& point, const KwSize& size)
{
    return point.GetX() < 0 || point.GetY() < 0 || point.GetX() > size.GetWidth() ||
           point.GetY() > size.GetHeight();
}

} // namespace

KwButton::KwButton()
    : m_sLabel(""), m_bDisabled(0), m_bPointerOutside(0), m_bHintEnabled(0), m_bHintAttached(0),
      m_pHint(nullptr), m_bPressed(0), m_bFocused(0)
{
    AppendTypeName("KwButton");
    SetClassName("KwButton");
    m_pHint = new (std::nothrow) KwHelper();
    if (m_pHint != nullptr) {
        m_pHint->AddRef();
    }
}

KwButton::~KwButton()
{
    if (m_pHint != nullptr) {
        m_pHint->Release();
    }
}

void KwButton::SetLabel(const KwString& label)
{
    m_sLabel = label;
    RepaintAll();
}

KwString KwButton::GetLabel()
{
    return m_sLabel;
}

void KwButton::SetHintText(const KwString& text)
{
    if (m_pHint == nullptr) {
        return;
    }
    m_pHint->SetText(text);
    m_bHintEnabled = 1;
}

// The new pop-up is retained before the old one goes, so passing the
// current pop-up again keeps it alive.
void KwButton::SetHintPopup(KwHelper* popup)
{
    if (popup != nullptr) {
        popup->AddRef();
    }
    if (m_pHint != nullptr) {
        m_pHint->Release();
    }
    m_pHint = popup;
    if (m_pHint != nullptr && m_bHintAttached) {
        m_bHintAttached = 0;
        AttachHint();
    }
    m_bHintEnabled = 1;
}

void KwButton::Enable()
{
    if (!m_bDisabled) {
        return;
    }
    KwComponent::Enable();
    m_bDisabled = 0;
    RepaintAll();
}

void KwButton::Disable()
{
    if (m_bDisabled) {
        return;
    }
    KwComponent::Disable();
    m_bDisabled = 1;
    RepaintAll();
}

// The pop-up's window is made on the first hover, once the button's own
// window and font are there.
void KwButton::AttachHint()
{
    if (m_bHintAttached || m_pHint == nullptr) {
        return;
    }
    KwFont* font = GetFont();
    if (font != nullptr) {
        m_pHint->SetFont(font);
        font->Release();
    }
    KWNATIVEHANDLES handles = {nullptr, nullptr};
    GetNativeHandles(&handles);
    m_pHint->Create(handles.hInstance, GetImplementation());
    m_bHintAttached = 1;
}

int KwButton::TrackPointer(const KwPoint& point)
{
    int outside = IsOutside(point, GetSize());
    if (outside == m_bPointerOutside) {
        return 0;
    }
    m_bPointerOutside = outside;
    return 1;
}

int KwButton::OnLButtonDown(const KwPoint&)
{
    if (m_bDisabled) {
        return 1;
    }
    SetCapture();
    m_bPressed = 1;
    m_bPointerOutside = 0;
    RepaintAll();
    return 1;
}

int KwButton::OnMouseMove(const KwPoint& point)
{
    if (!m_bDisabled && m_bPressed && TrackPointer(point)) {
        RepaintAll();
    }
    return 1;
}

// The release point decides as well, so a release off the button counts as
// outside even when no move message reported the pointer leaving.
int KwButton::OnLButtonUp(const KwPoint& point)
{
    if (m_bDisabled) {
        return 1;
    }
    ReleaseCapture(0);
    TrackPointer(point);
    if (!m_bPointerOutside && m_bPressed) {
        PostActionToParent(EVT_BUTTON_ACTION, 0);
    }
    m_bPressed = 0;
    m_bPointerOutside = 0;
    RepaintAll();
    return 1;
}

int KwButton::OnKeyDown(int key, int)
{
    if (key == KW_KEY_SPACE && !m_bDisabled) {
        m_bPressed = 1;
        RepaintAll();
    }
    return 1;
}

int KwButton::OnKeyUp(int key, int)
{
    if (key == KW_KEY_SPACE && !m_bDisabled) {
        m_bPressed = 0;
        PostActionToParent(EVT_BUTTON_ACTION, 0);
        RepaintAll();
    }
    return 1;
}

int KwButton::OnFocusGained()
{
    m_bFocused = 1;
    RepaintAll();
    return 1;
}

int KwButton::OnFocusLost()
{
    m_bFocused = 0;
    RepaintAll();
    return 1;
}

int KwButton::OnMouseHover(const KwPoint& point)
{
    if (!m_bHintEnabled || m_pHint == nullptr) {
        return 1;
    }
    AttachHint();
    KwPoint screen = GetScreenLocation();
    m_pHint->SetLocation(screen.GetX() + point.GetX(),
                         screen.GetY() + point.GetY() + kHintBelowPointer, 0);
    m_pHint->Show(0);
    return 1;
}

int KwButton::OnMouseLeave()
{
    if (m_bHintEnabled && m_pHint != nullptr) {
        m_pHint->Hide();
    }
    return 1;
}

// The frame, and the one-pixel shift of the label while the button is
// held down with the focus and the pointer on it.
void KwButton::DrawFrame(IKwGraphics* graphics, int w, int h, int* shift)
{
    KwPaintColors colors(graphics);
    int pushed = m_bPressed && !m_bPointerOutside;
    *shift = 0;
    if (!m_bFocused) {
        if (Is3DLook()) {
            graphics->Draw3DFrame(1, 1, w - 3, h - 3, KW_FRAME_RAISED);
            return;
        }
        colors.SetPen(kBlack);
        graphics->DrawRect(1, 1, w - 3, h - 3);
        colors.SetPen(kWhite);
        graphics->DrawRect(2, 2, w - 5, h - 5);
        return;
    }
    colors.SetPen(kBlack);
    if (Is3DLook()) {
        if (pushed) {
            graphics->DrawRect(1, 1, w - 3, h - 3);
            *shift = 1;
        } else {
            graphics->Draw3DFrame(1, 1, w - 3, h - 3, KW_FRAME_RAISED);
        }
    } else {
        graphics->DrawRect(1, 1, w - 3, h - 3);
        if (pushed) {
            colors.SetPenAndFill(kPressedPaper);
            graphics->FillRectangle(2, 2, w - 5, h - 5);
            *shift = 1;
        }
    }
    colors.SetPen(kBlack);
    graphics->DrawRect(0, 0, w - 1, h - 1);
    graphics->DrawFocusFrame(4, 4, w - 8, h - 8, 1);
}

int KwButton::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    graphics->SetTransparentText(1);
    KwSize size = GetSize();
    int w = size.GetWidth();
    int h = size.GetHeight();
    int shift = 0;
    DrawFrame(graphics, w, h, &shift);

    KwSize text = GetTextExtent(m_sLabel);
    int x = shift + (w - text.GetWidth()) / 2;
    int y = shift + (h - text.GetHeight()) / 2;
    KwPaintColors colors(graphics);
    colors.SetPen(kBlack);
    if (m_bDisabled) {
        graphics->DrawDisabledString(m_sLabel, x, y);
    } else {
        graphics->DrawString(m_sLabel, x, y);
    }
    return 1;
}

} // namespace KwSDK
