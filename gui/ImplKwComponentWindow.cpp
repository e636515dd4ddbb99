// Making and destroying a component's window, the message loop, the window
// procedure, owners and z-order, window types, and message boxes.
#include "ImplKwComponent.h"
#include "ImplKwComponentShared.h"

#include "ComponentCaret.h"
#include "ComponentGraphics.h"
#include "KwComponent.h"
#include "KwFont.h"
#include "KwReferenceGuard.h"

#include <shellapi.h>

namespace KwSDK {

using ImplShared::TextOf;
using ImplShared::kChildStyle;

namespace {

const int kSleepAfterMessage = 1;

// Window styles of the window types 0 to 6.
const DWORD kWindowTypeStyles[] = {
    0x800B0000, 0x40000000, 0x00CF0000, 0x06080000, 0x06000000, 0x000A0000, 0x80000000,
};

void ShowCreateError(DWORD error)
{
    KwString text;
    text.Format("createwindows err=%d", static_cast<int>(error));
    MessageBoxA(nullptr, TextOf(text), "eeerrr", MB_OK);
}

} // namespace

int ImplKwComponent::Create(HINSTANCE instance, ImplKwComponent* parent)
{
    if (m_hWindow != nullptr) {
        return 0;
    }
    m_hInstance = instance;
    m_pParent = parent;
    if (m_bClassRegistered &&
        (m_sRegisteredName != m_sClassName || m_hRegisteredInstance != instance)) {
        GiveBackClass();
    }
    if (!m_bClassRegistered && RegisterClass()) {
        m_bClassRegistered = 1;
        m_sRegisteredName = m_sClassName;
        m_hRegisteredInstance = instance;
    }
    return CreateNative();
}

int ImplKwComponent::CreateNative()
{
    if (m_pOwner != nullptr) {
        m_pOwner->OnBeforeCreate();
    }
    HWND parentWindow = m_pParent != nullptr ? m_pParent->m_hWindow : nullptr;
    HWND window =
        CreateWindowExA(m_dwExStyle, TextOf(m_sClassName), TextOf(m_sText), m_dwStyle,
                        m_ptLocation.GetX(), m_ptLocation.GetY(), m_szSize.GetWidth(),
                        m_szSize.GetHeight(), parentWindow, nullptr, m_hInstance, nullptr);
    if (window == nullptr) {
        ShowCreateError(GetLastError());
        return 0;
    }
    m_hWindow = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    PrepareGraphics();
    DragAcceptFiles(window, TRUE);
    if (m_pOwner != nullptr) {
        m_pOwner->OnAfterCreate();
    }
    if (m_hWindow == nullptr) {
        return 1;
    }
    if (m_bVisible) {
        ShowWindow(m_hWindow, SW_SHOW);
        UpdateWindow(m_hWindow);
        SetTopMost(m_bTopMost);
    } else {
        ShowWindow(m_hWindow, SW_HIDE);
    }
    if (m_pCaret != nullptr) {
        m_pCaret->SetWindow(m_hWindow);
    }
    m_bPointerInside = 0;
    return 1;
}

void ImplKwComponent::PrepareGraphics()
{
    if (m_pGraphics == nullptr) {
        return;
    }
    m_pGraphics->SetWindow(m_hWindow);
    RebuildBuffer(m_szSize.GetWidth(), m_szSize.GetHeight());
    m_pGraphics->ApplyFont(m_pFont);
    m_pGraphics->SetColor(m_cForeground);
    m_pGraphics->SetBackColor(m_cBackground);
}

void ImplKwComponent::RebuildBuffer(int width, int height)
{
    if (m_pGraphics == nullptr || m_hWindow == nullptr) {
        return;
    }
    HDC context = GetDC(m_hWindow);
    if (context != nullptr) {
        m_pGraphics->Rebuild(context, width, height);
        ReleaseDC(m_hWindow, context);
    }
}

int ImplKwComponent::RunMessageLoop()
{
    MSG message;
    int result;
    for (;;) {
        result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0 || result == -1) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        // Rest only when nothing is waiting: a pause after every message
        // would cap the loop at the system timer's rate.
        MSG waiting;
        if (!PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
            Sleep(kSleepAfterMessage);
        }
    }
    return result;
}

// Messages sent while the window is being made reach the default procedure:
// the object is stored in the window only after creation has returned.
LRESULT CALLBACK ImplKwComponent::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    int answer = 1;
    if (window != nullptr &&
        GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc)) {
        ImplKwComponent* impl =
            reinterpret_cast<ImplKwComponent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (impl != nullptr) {
            // A listener may release the component; it lives until the
            // message has been handled.
            KwReferenceGuard guard(impl->Source());
            answer = impl->HandleMessage(message, &wParam, &lParam);
        }
    }
    if (answer != 1) {
        return answer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ImplKwComponent::SetWindowType(int type)
{
    const int types = static_cast<int>(sizeof kWindowTypeStyles / sizeof kWindowTypeStyles[0]);
    if (type >= 0 && type < types) {
        m_dwStyle = kWindowTypeStyles[type];
    }
}

void ImplKwComponent::DestroyNative()
{
    if (m_hWindow != nullptr) {
        HWND window = m_hWindow;
        if (!DestroyWindow(window)) {
            return;
        }
        if (m_hWindow == window) {
            ForgetWindow();
        }
    }
    GiveBackClass();
}

void ImplKwComponent::PostClose()
{
    if (m_hWindow != nullptr) {
        PostMessageA(m_hWindow, WM_CLOSE, 0, 0);
    }
}

// Without a window the quit message goes to the thread itself.
void ImplKwComponent::PostQuit()
{
    PostMessageA(m_hWindow, WM_QUIT, 0, 0);
}

void ImplKwComponent::DisableOwner()
{
    if (m_pParent != nullptr && m_pParent->m_hWindow != nullptr) {
        EnableWindow(m_pParent->m_hWindow, FALSE);
    }
}

void ImplKwComponent::EnableOwner()
{
    if (m_pParent != nullptr && m_pParent->m_hWindow != nullptr) {
        EnableWindow(m_pParent->m_hWindow, TRUE);
    }
}

void ImplKwComponent::ActivateOwner()
{
    if (m_pParent != nullptr && m_pParent->m_hWindow != nullptr) {
        SetActiveWindow(m_pParent->m_hWindow);
    }
}

void ImplKwComponent::SetTopMost(int topMost)
{
    m_bTopMost = topMost;
    if (m_hWindow != nullptr) {
        SetWindowPos(m_hWindow, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
    }
}

void ImplKwComponent::BringToTop()
{
    if (m_hWindow != nullptr) {
        SetWindowPos(m_hWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

int ShowMessageBox(const KwString& text, const KwString& caption, int type, KwComponent* owner)
{
    KWNATIVEHANDLES handles = {nullptr, nullptr};
    if (owner != nullptr) {
        owner->GetNativeHandles(&handles);
    }
    UINT buttons = type == KW_MB_OKCANCEL ? MB_OKCANCEL : MB_OK;
    return MessageBoxA(handles.hWnd, TextOf(text), TextOf(caption), buttons);
}

KwSize GetScreenSize()
{
    RECT bounds;
    HWND desktop = GetDesktopWindow();
    if (desktop == nullptr || !GetClientRect(desktop, &bounds)) {
        return KwSize(0, 0);
    }
    return KwSize(bounds.right - bounds.left, bounds.bottom - bounds.top);
}

} // namespace KwSDK
