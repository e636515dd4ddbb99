// A visible element of the toolkit: forwards to its native side, keeps its
// flags and action listeners, and turns its own events into handler calls.
#include "KwComponent.h"

#include "IKwGraphics.h"
#include "KwReferenceGuard.h"

#include <new>

namespace KwSDK {

KwComponent::KwComponent()
    : m_bDisabled(0), m_bVisible(1), m_bFocusable(1), m_b3DLook(1), m_bCreated(0),
      m_pImpl(new (std::nothrow) ImplKwComponent(this))
{
    AppendTypeName("KwComponent");
    if (m_pImpl != nullptr) {
        m_pImpl->AddRef();
        m_pImpl->SetClassName("KwComponent");
    }
}

KwComponent::~KwComponent()
{
    if (m_pImpl != nullptr) {
        m_pImpl->Release();
    }
}

ImplKwComponent* KwComponent::GetImplementation() const
{
    return m_pImpl;
}

int KwComponent::Is3DLook() const
{
    return m_b3DLook;
}

int KwComponent::IsFocusable() const
{
    return m_bFocusable;
}

int KwComponent::IsSelf(const KwObject* source) const
{
    return source == static_cast<const KwObject*>(this) ? 1 : 0;
}

// ---- Forwarded properties -----------------------------------------------

void KwComponent::SetText(const KwString& text)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetText(text);
    }
}

void KwComponent::SetBackground(const KwColor& color)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetBackground(color);
    }
}

void KwComponent::SetForeground(const KwColor& color)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetForeground(color);
    }
}

void KwComponent::SetLocation(int x, int y, int repaint)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetLocation(x, y, repaint);
    }
}

void KwComponent::SetLocation(const KwPoint& location, int repaint)
{
    SetLocation(location.GetX(), location.GetY(), repaint);
}

void KwComponent::SetSize(int width, int height, int repaint)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetSize(width, height, repaint);
    }
}

void KwComponent::SetSize(const KwSize& size, int repaint)
{
    SetSize(size.GetWidth(), size.GetHeight(), repaint);
}

void KwComponent::SetBounds(const KwRect& bounds, int repaint)
{
    SetBounds(bounds.GetX(), bounds.GetY(), bounds.GetWidth(), bounds.GetHeight(), repaint);
}

void KwComponent::SetBounds(int x, int y, int width, int height, int repaint)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetBounds(x, y, width, height, repaint);
    }
}

void KwComponent::SetFont(KwFont* font)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetFont(font);
    }
}

void KwComponent::SetClassName(const KwString& name)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetClassName(name);
    }
}

void KwComponent::Show(int activate)
{
    if (m_pImpl != nullptr) {
        m_pImpl->Show(activate);
    }
    m_bVisible = 1;
}

void KwComponent::Hide()
{
    if (m_pImpl != nullptr) {
        m_pImpl->Hide();
    }
    m_bVisible = 0;
}

void KwComponent::Enable()
{
    if (m_pImpl != nullptr) {
        m_pImpl->Enable();
    }
    m_bDisabled = 0;
}

void KwComponent::Disable()
{
    if (m_pImpl != nullptr) {
        m_pImpl->Disable();
    }
    m_bDisabled = 1;
}

int KwComponent::IsVisible() { return m_bVisible; }
int KwComponent::IsDisabled() { return m_bDisabled; }
int KwComponent::IsCreated() { return m_bCreated; }

KwPoint KwComponent::GetScreenLocation()
{
    return m_pImpl != nullptr ? m_pImpl->GetScreenLocation() : KwPoint(0, 0);
}

void KwComponent::SetFocusable(int focusable)
{
    m_bFocusable = focusable;
}

void KwComponent::SetCursor(KwCursor* cursor)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetCursor(cursor);
    }
}

void KwComponent::SetIcon(KwIcon* icon)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetIcon(icon);
    }
}

void KwComponent::SetSmallIcon(KwIcon* icon)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetSmallIcon(icon);
    }
}

KwString KwComponent::GetText()
{
    return m_pImpl != nullptr ? m_pImpl->GetText() : KwString();
}

KwColor KwComponent::GetBackground()
{
    return m_pImpl != nullptr ? m_pImpl->GetBackground() : KwColor();
}

KwColor KwComponent::GetForeground()
{
    return m_pImpl != nullptr ? m_pImpl->GetForeground() : KwColor();
}

KwPoint KwComponent::GetLocation()
{
    return m_pImpl != nullptr ? m_pImpl->GetLocation() : KwPoint();
}

KwSize KwComponent::GetSize()
{
    return m_pImpl != nullptr ? m_pImpl->GetSize() : KwSize();
}

KwFont* KwComponent::GetFont()
{
    return m_pImpl != nullptr ? m_pImpl->GetFont() : nullptr;
}

KwString KwComponent::GetClassName()
{
    return m_pImpl != nullptr ? m_pImpl->GetClassName() : KwString();
}

IKwCaret* KwComponent::GetCaret()
{
    return m_pImpl != nullptr ? m_pImpl->GetCaret() : nullptr;
}

IKwGraphics* KwComponent::GetGraphics()
{
    return m_pImpl != nullptr ? m_pImpl->GetGraphics() : nullptr;
}

int KwComponent::HasFocus()
{
    return m_pImpl != nullptr ? m_pImpl->HasFocus() : 0;
}

int KwComponent::QueryFlag()
{
    return m_pImpl != nullptr ? m_pImpl->QueryFlag() : 0;
}

KwSize KwComponent::GetTextExtent(const KwString& text)
{
    return m_pImpl != nullptr ? m_pImpl->GetTextExtent(text) : KwSize(0, 0);
}

int KwComponent::GetFontHeight()
{
    return m_pImpl != nullptr ? m_pImpl->GetFontHeight() : -1;
}

void KwComponent::Set3DLook(int look)
{
    m_b3DLook = look;
}

void KwComponent::SetWindowType(int type)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetWindowType(type);
    }
}

void KwComponent::RequestFocus()
{
    if (m_pImpl != nullptr) {
        m_pImpl->RequestFocus();
    }
}

int KwComponent::CopyToClipboard(const KwString& text)
{
    return m_pImpl != nullptr ? m_pImpl->CopyToClipboard(text) : 0;
}

int KwComponent::PasteFromClipboard(KwString& text)
{
    return m_pImpl != nullptr ? m_pImpl->PasteFromClipboard(text) : 0;
}

int KwComponent::IsKeyDown(int key)
{
    return m_pImpl != nullptr ? m_pImpl->IsKeyDown(key) : 0;
}

// ---- Native window ------------------------------------------------------

void KwComponent::OnBeforeCreate() {}
void KwComponent::OnAfterCreate() {}

void KwComponent::AddNativeChild(KwComponent* child)
{
    if (m_pImpl != nullptr) {
        m_pImpl->AttachChild(child);
    }
}

// Properties set before the window existed are applied to it here.
int KwComponent::Create(HINSTANCE instance, ImplKwComponent* parent)
{
    if (m_pImpl == nullptr) {
        return 0;
    }
    int created = m_pImpl->Create(instance, parent);
    if (!m_bVisible) {
        Hide();
    }
    if (m_bDisabled) {
        Disable();
    }
    if (created) {
        m_bCreated = 1;
    }
    return created;
}

void KwComponent::DestroyNative()
{
    if (m_pImpl != nullptr) {
        m_pImpl->DestroyNative();
    }
}

void KwComponent::GetNativeHandles(KWNATIVEHANDLES* handles)
{
    if (m_pImpl != nullptr) {
        m_pImpl->GetNativeHandles(handles);
    } else if (handles != nullptr) {
        handles->hInstance = nullptr;
        handles->hWnd = nullptr;
    }
}

void KwComponent::AddComponentListener(IKwComponentListener* listener)
{
    if (m_pImpl != nullptr) {
        m_pImpl->AddListener(listener);
    }
}

void KwComponent::RemoveComponentListener(IKwComponentListener* listener)
{
    if (m_pImpl != nullptr) {
        m_pImpl->RemoveListener(listener);
    }
}

void KwComponent::AddActionListener(IKwActionListener* listener)
{
    if (listener == nullptr) {
        return;
    }
    for (int i = 0; i < m_actionListeners.GetCount(); ++i) {
        if (m_actionListeners.GetAt(i) == listener) {
            return;
        }
    }
    m_actionListeners.Add(listener);
}

void KwComponent::RemoveActionListener(IKwActionListener* listener)
{
    m_actionListeners.Remove(listener);
}

void KwComponent::Repaint(const KwRect& area)
{
    if (m_pImpl != nullptr) {
        m_pImpl->Repaint(area);
    }
}

void KwComponent::RepaintAll()
{
    if (m_pImpl != nullptr) {
        m_pImpl->RepaintAll();
    }
}

void KwComponent::Invalidate(const KwRect& area)
{
    if (m_pImpl != nullptr) {
        m_pImpl->Invalidate(area);
    }
}

void KwComponent::InvalidateAll()
{
    if (m_pImpl != nullptr) {
        m_pImpl->InvalidateAll();
    }
}

void KwComponent::SetCapture()
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetCapture();
    }
}

void KwComponent::ReleaseCapture(int force)
{
    if (m_pImpl != nullptr) {
        m_pImpl->ReleaseCapture(force);
    }
}

int KwComponent::HasCapture()
{
    return m_pImpl != nullptr ? m_pImpl->HasCapture() : 0;
}

int KwComponent::StartTimer(int milliseconds)
{
    return m_pImpl != nullptr ? m_pImpl->StartTimer(milliseconds) : 0;
}

void KwComponent::StopTimer()
{
    if (m_pImpl != nullptr) {
        m_pImpl->StopTimer();
    }
}

// ---- Actions ------------------------------------------------------------

// A listener may remove itself or release this component; the component
// stays alive until every listener was told.
int KwComponent::DeliverAction(KwObject* source, int id, intptr_t param)
{
    KwReferenceGuard guard(this);
    int answer = ActionPerformed(source, id, param);
    for (int i = 0; i < m_actionListeners.GetCount(); ++i) {
        IKwActionListener* listener = static_cast<IKwActionListener*>(m_actionListeners.GetAt(i));
        if (listener != nullptr) {
            answer = listener->ActionPerformed(source, id, param);
        }
    }
    return answer;
}

int KwComponent::DeliverChildAction(KwObject* source, int id, intptr_t param)
{
    return DeliverAction(source, id, param);
}

int KwComponent::FireAction(int id, intptr_t param)
{
    return DeliverAction(this, id, param);
}

void KwComponent::PostAction(int id, intptr_t param)
{
    if (m_pImpl != nullptr) {
        m_pImpl->PostAction(id, param);
    }
}

void KwComponent::PostActionToParent(int id, intptr_t param)
{
    if (m_pImpl != nullptr) {
        m_pImpl->PostActionToParent(id, param);
    }
}

void KwComponent::RemoveAllActionListeners()
{
    m_actionListeners = TKwVector<void*>();
}

void KwComponent::SetShape(KwImage* image, const KwColor& key)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetShape(image, key);
    }
}

// ---- Handlers -----------------------------------------------------------

int KwComponent::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    if (graphics != nullptr) {
        graphics->ClearRect(area);
    }
    return 0;
}

int KwComponent::OnLButtonDown(const KwPoint&) { return 1; }
int KwComponent::OnLButtonUp(const KwPoint&) { return 1; }
int KwComponent::OnLButtonDblClk(const KwPoint&) { return 1; }
int KwComponent::OnRButtonDown(const KwPoint&) { return 1; }
int KwComponent::OnRButtonUp(const KwPoint&) { return 1; }
int KwComponent::OnRButtonDblClk(const KwPoint&) { return 1; }
int KwComponent::OnMouseMove(const KwPoint&) { return 1; }
int KwComponent::OnFocusGained() { return 1; }
int KwComponent::OnFocusLost() { return 1; }
int KwComponent::OnSetCursor() { return 1; }
int KwComponent::OnChar(int, int) { return 1; }
int KwComponent::OnKeyDown(int, int) { return 1; }
int KwComponent::OnKeyUp(int, int) { return 1; }
int KwComponent::OnCustomPaint(const KwRect&, IKwGraphics*) { return 1; }
int KwComponent::OnSize(int, int, int) { return 1; }
int KwComponent::OnMove(const KwPoint&) { return 1; }
int KwComponent::OnClose() { return 1; }
int KwComponent::OnShow(int, int) { return 1; }
int KwComponent::OnDestroy() { return 1; }
int KwComponent::OnActivate(int, int) { return 1; }
int KwComponent::OnCreate() { return 1; }
int KwComponent::OnTimer() { return 1; }
int KwComponent::OnMouseActivate() { return 1; }
int KwComponent::OnCommand(int, int, int) { return 1; }
int KwComponent::OnMessage(int, int, int) { return 1; }
int KwComponent::OnMouseLeave() { return 1; }
int KwComponent::OnMouseEnter() { return 1; }
int KwComponent::OnMouseHover(const KwPoint&) { return 1; }
int KwComponent::OnDropFiles(TKwList<KwString>&) { return 1; }
int KwComponent::OnHotKey(int, int, int) { return 1; }

int KwComponent::Update(const KwRect& area, IKwGraphics* graphics)
{
    return OnPaint(area, graphics);
}

// ---- The component as its own listener ----------------------------------

int KwComponent::OnPaint(KwObject* source, const KwRect& area, IKwGraphics* graphics)
{
    return IsSelf(source) ? OnPaint(area, graphics) : 1;
}

// A frame paint of another component goes to the paint listener operation,
// where a subclass that listens to others hears it.
int KwComponent::OnFramePaint(KwObject* source, const KwRect& area, IKwGraphics* graphics)
{
    if (IsSelf(source)) {
        return OnPaint(area, graphics);
    }
    return OnPaint(source, area, graphics);
}

// A left press first takes the focus; the press is consumed whatever the
// handler answered.
int KwComponent::OnLButtonDown(KwObject* source, const KwPoint& point)
{
    if (!IsSelf(source)) {
        return 1;
    }
    if (m_bFocusable && !m_bDisabled) {
        RequestFocus();
    }
    OnLButtonDown(point);
    return 1;
}

int KwComponent::OnLButtonUp(KwObject* source, const KwPoint& point)
{
    return IsSelf(source) ? OnLButtonUp(point) : 1;
}

int KwComponent::OnLButtonDblClk(KwObject* source, const KwPoint& point)
{
    return IsSelf(source) ? OnLButtonDblClk(point) : 1;
}

int KwComponent::OnRButtonDown(KwObject* source, const KwPoint& point)
{
    return IsSelf(source) ? OnRButtonDown(point) : 1;
}

int KwComponent::OnRButtonUp(KwObject* source, const KwPoint& point)
{
    return IsSelf(source) ? OnRButtonUp(point) : 1;
}

int KwComponent::OnRButtonDblClk(KwObject* source, const KwPoint& point)
{
    return IsSelf(source) ? OnRButtonDblClk(point) : 1;
}

int KwComponent::OnMouseMove(KwObject* source, const KwPoint& point)
{
    return IsSelf(source) ? OnMouseMove(point) : 1;
}

int KwComponent::OnFocusGained(KwObject* source)
{
    return IsSelf(source) ? OnFocusGained() : 1;
}

int KwComponent::OnFocusLost(KwObject* source)
{
    return IsSelf(source) ? OnFocusLost() : 1;
}

int KwComponent::OnSetCursor(KwObject* source)
{
    return IsSelf(source) ? OnSetCursor() : 1;
}

int KwComponent::OnChar(KwObject* source, int key, int flags)
{
    return IsSelf(source) ? OnChar(key, flags) : 1;
}

int KwComponent::OnKeyDown(KwObject* source, int key, int flags)
{
    return IsSelf(source) ? OnKeyDown(key, flags) : 1;
}

int KwComponent::OnKeyUp(KwObject* source, int key, int flags)
{
    return IsSelf(source) ? OnKeyUp(key, flags) : 1;
}

int KwComponent::OnCustomPaint(KwObject* source, const KwRect& area, IKwGraphics* graphics)
{
    return IsSelf(source) ? OnCustomPaint(area, graphics) : 1;
}

int KwComponent::OnSize(KwObject* source, int kind, int width, int height)
{
    return IsSelf(source) ? OnSize(kind, width, height) : 1;
}

int KwComponent::OnMove(KwObject* source, const KwPoint& location)
{
    return IsSelf(source) ? OnMove(location) : 1;
}

int KwComponent::OnClose(KwObject* source)
{
    return IsSelf(source) ? OnClose() : 1;
}

int KwComponent::OnShow(KwObject* source, int shown, int reason)
{
    return IsSelf(source) ? OnShow(shown, reason) : 1;
}

int KwComponent::OnDestroy(KwObject* source)
{
    return IsSelf(source) ? OnDestroy() : 1;
}

int KwComponent::OnActivate(KwObject* source, int kind, int minimized)
{
    return IsSelf(source) ? OnActivate(kind, minimized) : 1;
}

int KwComponent::OnCreate(KwObject* source)
{
    return IsSelf(source) ? OnCreate() : 1;
}

int KwComponent::OnTimer(KwObject* source)
{
    return IsSelf(source) ? OnTimer() : 1;
}

int KwComponent::OnMouseActivate(KwObject* source)
{
    return IsSelf(source) ? OnMouseActivate() : 1;
}

int KwComponent::OnCommand(KwObject* source, int message, int wParam, int lParam)
{
    return IsSelf(source) ? OnCommand(message, wParam, lParam) : 1;
}

int KwComponent::OnMessage(KwObject* source, int message, int wParam, int lParam)
{
    return IsSelf(source) ? OnMessage(message, wParam, lParam) : 1;
}

int KwComponent::OnMouseLeave(KwObject* source)
{
    return IsSelf(source) ? OnMouseLeave() : 1;
}

int KwComponent::OnMouseEnter(KwObject* source)
{
    return IsSelf(source) ? OnMouseEnter() : 1;
}

int KwComponent::OnMouseHover(KwObject* source, const KwPoint& point)
{
    return IsSelf(source) ? OnMouseHover(point) : 1;
}

int KwComponent::OnDropFiles(KwObject* source, TKwList<KwString>& files)
{
    return IsSelf(source) ? OnDropFiles(files) : 1;
}

int KwComponent::OnHotKey(KwObject* source, int id, int modifiers, int virtualKey)
{
    return IsSelf(source) ? OnHotKey(id, modifiers, virtualKey) : 1;
}

} // namespace KwSDK
