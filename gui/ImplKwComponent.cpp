// The native side of a component: construction, properties and listeners.
// The other concerns of the class live in
// ImplKwComponentClass.cpp (class registration), ImplKwComponentWindow.cpp
// (creation, the message loop, window life and owners),
// ImplKwComponentEvents.cpp (message dispatch, handlers and painting),
// ImplKwComponentActions.cpp (posted actions) and ImplKwComponentInput.cpp
// (capture, timer, focus, clipboard, shapes and text measuring).
#include "ImplKwComponent.h"
#include "ImplKwComponentShared.h"

#include "ComponentCaret.h"
#include "ComponentGraphics.h"
#include "IKwComponentListener.h"
#include "KwClassRegistry.h"
#include "KwComponent.h"
#include "KwCursor.h"
#include "KwFont.h"
#include "KwFontMapping.h"
#include "KwIcon.h"
#include "KwNativeHandles.h"

#include <new>

namespace KwSDK {

using ImplShared::TextOf;
using ImplShared::kChildStyle;

namespace {

const UINT kDefaultClassStyle = 0x82B;

const int kCursorArrow = 68;

template <class T>
T* NewCounted()
{
    T* object = new (std::nothrow) T();
    if (object != nullptr) {
        object->AddRef();
    }
    return object;
}

void ReleaseObject(KwObject* object)
{
    if (object != nullptr) {
        object->Release();
    }
}

} // namespace

ImplKwComponent::ImplKwComponent(KwComponent* owner)
    : m_hInstance(nullptr), m_hWindow(nullptr), m_hLargeIcon(nullptr), m_hSmallIcon(nullptr),
      m_hCursor(nullptr), m_bLargeIconMade(0), m_bSmallIconMade(0), m_bCursorMade(0),
      m_dwExStyle(0), m_dwStyle(kChildStyle), m_nClassStyle(kDefaultClassStyle),
      m_sText("KwComponent"), m_pParent(nullptr), m_sClassName("KwComponent"),
      m_hRegisteredInstance(nullptr), m_pFont(GetDefaultFont()), m_pCursor(NewCounted<KwCursor>()),
      m_pLargeIcon(NewCounted<KwIcon>()), m_pSmallIcon(NewCounted<KwIcon>()),
      m_pCaret(NewCounted<ComponentCaret>()), m_pGraphics(NewCounted<ComponentGraphics>()),
      m_pOwner(owner), m_nTimerId(0), m_bTopMost(0), m_bPointerInside(0), m_bClassRegistered(0),
      m_bVisible(1)
{
    AppendTypeName("ImplKwComponent");
    m_cBackground.SetColorRef(GetSysColor(COLOR_BTNFACE));
    m_cForeground.SetColorRef(GetSysColor(COLOR_WINDOWTEXT));
    if (m_pCursor != nullptr) {
        m_pCursor->SetType(kCursorArrow);
    }
    if (m_pGraphics != nullptr) {
        m_pGraphics->SetBackColor(m_cBackground);
        m_pGraphics->SetColor(m_cForeground);
        m_pGraphics->ApplyFont(m_pFont);
    }
}

// The window goes first and without events: the owner is being destroyed
// and must not be told about it. The class is given back last, when no
// window of ours uses it any more.
ImplKwComponent::~ImplKwComponent()
{
    UnlinkFromParent();
    for (int i = 0; i < m_children.GetCount(); ++i) {
        static_cast<ImplKwComponent*>(m_children.GetAt(i))->m_pParent = nullptr;
    }
    m_children = TKwVector<void*>();
    HWND window = m_hWindow;
    if (window != nullptr) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DropPendingActions(window);
        m_hWindow = nullptr;
        DestroyWindow(window);
    }
    ReleaseObject(m_pFont);
    ReleaseObject(m_pCursor);
    ReleaseObject(m_pCaret);
    ReleaseObject(m_pLargeIcon);
    ReleaseObject(m_pSmallIcon);
    ReleaseObject(m_pGraphics);
    GiveBackClass();
    DestroyOwnClassHandles();
}

// A child remembers its parent for owner operations and posted actions; the
// parent keeps the list of such children so it can clear their links when it
// is destroyed first.
void ImplKwComponent::LinkToParent(ImplKwComponent* parent)
{
    if (parent == m_pParent) {
        return;
    }
    UnlinkFromParent();
    if (parent != nullptr && parent != this && parent->m_children.Add(this)) {
        m_pParent = parent;
    }
}

void ImplKwComponent::UnlinkFromParent()
{
    if (m_pParent != nullptr) {
        m_pParent->m_children.Remove(this);
        m_pParent = nullptr;
    }
}

void ImplKwComponent::RemoveAllListeners()
{
    m_listeners = TKwVector<void*>();
}

int ImplKwComponent::GetNativeHandles(KWNATIVEHANDLES* handles)
{
    if (handles != nullptr) {
        handles->hInstance = m_hInstance;
        handles->hWnd = m_hWindow;
    }
    return 1;
}

void ImplKwComponent::SetText(const KwString& text)
{
    m_sText = text;
    if (m_hWindow != nullptr) {
        SetWindowTextA(m_hWindow, TextOf(m_sText));
    }
}

void ImplKwComponent::SetBackground(const KwColor& color)
{
    m_cBackground = color;
    if (m_pGraphics != nullptr) {
        m_pGraphics->SetBackColor(color);
    }
}

void ImplKwComponent::SetForeground(const KwColor& color)
{
    m_cForeground = color;
    if (m_pGraphics != nullptr) {
        m_pGraphics->SetColor(color);
    }
}

// The window keeps its real size: for a framed window the stored size is
// the client size once the system has reported one.
void ImplKwComponent::SetLocation(int x, int y, int repaint)
{
    m_ptLocation.Set(x, y);
    if (m_hWindow != nullptr) {
        UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
        SetWindowPos(m_hWindow, nullptr, x, y, 0, 0, flags);
    }
}

void ImplKwComponent::SetSize(int width, int height, int repaint)
{
    m_szSize.Set(width, height);
    if (m_hWindow != nullptr) {
        RebuildBuffer(width, height);
        UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
        SetWindowPos(m_hWindow, nullptr, 0, 0, width, height, flags);
    }
}

void ImplKwComponent::SetBounds(int x, int y, int width, int height, int repaint)
{
    m_ptLocation.Set(x, y);
    m_szSize.Set(width, height);
    if (m_hWindow != nullptr) {
        RebuildBuffer(width, height);
        MoveWindow(m_hWindow, x, y, width, height, repaint ? TRUE : FALSE);
    }
}

void ImplKwComponent::SetClassName(const KwString& name)
{
    m_sClassName = name;
}

void ImplKwComponent::SetFont(KwFont* font)
{
    if (font == nullptr) {
        return;
    }
    font->AddRef();
    ReleaseObject(m_pFont);
    m_pFont = font;
    if (m_pGraphics != nullptr) {
        m_pGraphics->ApplyFont(font);
    }
}

void ImplKwComponent::Show(int activate)
{
    if (m_hWindow != nullptr) {
        ShowWindow(m_hWindow, activate ? SW_SHOW : SW_SHOWNA);
    }
    m_dwStyle |= WS_VISIBLE;
    m_bVisible = 1;
}

void ImplKwComponent::Hide()
{
    if (m_hWindow != nullptr) {
        ShowWindow(m_hWindow, SW_HIDE);
    }
    m_dwStyle &= ~static_cast<DWORD>(WS_VISIBLE);
    m_bVisible = 0;
}

void ImplKwComponent::Enable()
{
    if (m_hWindow != nullptr && !IsWindowEnabled(m_hWindow)) {
        EnableWindow(m_hWindow, TRUE);
    }
    m_dwStyle &= ~static_cast<DWORD>(WS_DISABLED);
}

void ImplKwComponent::Disable()
{
    if (m_hWindow != nullptr && IsWindowEnabled(m_hWindow)) {
        EnableWindow(m_hWindow, FALSE);
    }
    m_dwStyle |= WS_DISABLED;
}

void ImplKwComponent::Maximize()
{
    if (m_hWindow != nullptr) {
        ShowWindow(m_hWindow, SW_MAXIMIZE);
        InvalidateAll();
    }
    m_dwStyle |= WS_MAXIMIZE;
}

void ImplKwComponent::Minimize()
{
    if (m_hWindow != nullptr) {
        ShowWindow(m_hWindow, SW_MINIMIZE);
        InvalidateAll();
    }
    m_dwStyle |= WS_MINIMIZE;
}

void ImplKwComponent::Restore()
{
    if (m_hWindow != nullptr) {
        ShowWindow(m_hWindow, SW_RESTORE);
        InvalidateAll();
    }
}

void ImplKwComponent::SetCursor(KwCursor* cursor)
{
    if (cursor != nullptr) {
        cursor->AddRef();
    }
    ReleaseObject(m_pCursor);
    m_pCursor = cursor;
    if (m_hWindow != nullptr) {
        ApplyClassCursor();
    }
}

void ImplKwComponent::SetIcon(KwIcon* icon)
{
    if (icon != nullptr) {
        icon->AddRef();
    }
    ReleaseObject(m_pLargeIcon);
    m_pLargeIcon = icon;
    if (m_hWindow != nullptr) {
        ApplyClassIcon(GCLP_HICON, KW_CLASS_LARGE_ICON, icon);
    }
}

void ImplKwComponent::SetSmallIcon(KwIcon* icon)
{
    if (icon != nullptr) {
        icon->AddRef();
    }
    ReleaseObject(m_pSmallIcon);
    m_pSmallIcon = icon;
    if (m_hWindow != nullptr) {
        ApplyClassIcon(GCLP_HICONSM, KW_CLASS_SMALL_ICON, icon);
    }
}

// A handle put into the class is the class's from then on: it stays until
// another replaces it or the last component of the class name goes, even
// when the component that applied it goes first.
void ImplKwComponent::ApplyClassCursor()
{
    int made = 0;
    HCURSOR cursor = MakeCursorHandle(m_pCursor, m_hInstance, &made);
    SetClassLongPtrA(m_hWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    GiveHandleToClass(KW_CLASS_CURSOR, cursor, made, 1);
}

void ImplKwComponent::ApplyClassIcon(int index, int slot, KwIcon* description)
{
    int made = 0;
    HICON icon = MakeIconHandle(description, m_hInstance, &made);
    SetClassLongPtrA(m_hWindow, index, reinterpret_cast<LONG_PTR>(icon));
    GiveHandleToClass(slot, icon, made, 0);
}

KwPoint ImplKwComponent::GetScreenLocation()
{
    RECT bounds;
    if (m_hWindow == nullptr || !GetWindowRect(m_hWindow, &bounds)) {
        return KwPoint(0, 0);
    }
    return KwPoint(bounds.left, bounds.top);
}

KwString ImplKwComponent::GetText() { return m_sText; }

KwColor ImplKwComponent::GetBackground() { return m_cBackground; }

KwColor ImplKwComponent::GetForeground() { return m_cForeground; }

KwPoint ImplKwComponent::GetLocation() { return m_ptLocation; }

KwSize ImplKwComponent::GetSize() { return m_szSize; }

KwString ImplKwComponent::GetClassName() { return m_sClassName; }

KwFont* ImplKwComponent::GetFont()
{
    if (m_pFont != nullptr) {
        m_pFont->AddRef();
    }
    return m_pFont;
}

IKwCaret* ImplKwComponent::GetCaret()
{
    if (m_pCaret != nullptr) {
        m_pCaret->AddRef();
    }
    return m_pCaret;
}

IKwGraphics* ImplKwComponent::GetGraphics()
{
    if (m_pGraphics != nullptr) {
        m_pGraphics->AddRef();
    }
    return m_pGraphics;
}

int ImplKwComponent::QueryFlag()
{
    return 0;
}

void ImplKwComponent::AddListener(IKwComponentListener* listener)
{
    if (listener == nullptr) {
        return;
    }
    for (int i = 0; i < m_listeners.GetCount(); ++i) {
        if (m_listeners.GetAt(i) == listener) {
            return;
        }
    }
    m_listeners.Add(listener);
}

void ImplKwComponent::RemoveListener(IKwComponentListener* listener)
{
    m_listeners.Remove(listener);
}

int ImplKwComponent::IsCreated()
{
    return m_hWindow != nullptr ? 1 : 0;
}

KwComponent* ImplKwComponent::GetOwner() const
{
    return m_pOwner;
}

HWND ImplKwComponent::GetWindowHandle() const
{
    return m_hWindow;
}

} // namespace KwSDK
