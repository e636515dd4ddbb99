// Message dispatch: the message table, the three ways listener answers are
// combined, one small handler per message group, and painting outside a
// paint message.
#include "ImplKwComponent.h"

#include "ComponentCaret.h"
#include "ComponentGraphics.h"
#include "IKwComponentListener.h"
#include "KwComponent.h"
#include "KwKeyCodes.h"
#include "TKwList.h"

#include <shellapi.h>

#include <new>

namespace KwSDK {

namespace {

// Mouse positions and window positions travel as two signed 16-bit halves.
KwPoint PointFrom(LPARAM lParam)
{
    return KwPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

// Reads every path of a drop handle in drop order; 0 when memory runs out,
// with nothing kept.
int ReadDroppedFiles(HDROP drop, TKwList<KwString>* files)
{
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        char* path = new (std::nothrow) char[length + 1];
        if (path == nullptr) {
            files->RemoveAll();
            return 0;
        }
        DragQueryFileA(drop, i, path, length + 1);
        int added = files->AddTail(KwString(path, static_cast<int>(length)));
        delete[] path;
        if (!added) {
            files->RemoveAll();
            return 0;
        }
    }
    return 1;
}

} // namespace

int ImplKwComponent::HandleMessage(UINT message, WPARAM* wParam, LPARAM* lParam)
{
    switch (message) {
    case WM_CREATE: return HandleCreate(wParam, lParam);
    case WM_DESTROY: return HandleDestroy(wParam, lParam);
    case WM_MOVE: return HandleMove(wParam, lParam);
    case WM_SIZE: return HandleSize(wParam, lParam);
    case WM_ACTIVATE: return HandleActivate(wParam, lParam);
    case WM_SETFOCUS: return HandleSetFocus(wParam, lParam);
    case WM_KILLFOCUS: return HandleKillFocus(wParam, lParam);
    case WM_ENABLE: return HandleEnable(wParam, lParam);
    case WM_PAINT: return HandlePaint(wParam, lParam);
    case WM_CLOSE: return HandleClose(wParam, lParam);
    case WM_QUERYENDSESSION: return HandleQueryEndSession(wParam, lParam);
    case WM_ERASEBKGND: return HandleEraseBackground(wParam, lParam);
    case WM_SHOWWINDOW: return HandleShowWindow(wParam, lParam);
    case WM_ACTIVATEAPP: return HandleActivateApp(wParam, lParam);
    case WM_SETCURSOR: return HandleSetCursor(wParam, lParam);
    case WM_MOUSEACTIVATE: return HandleMouseActivate(wParam, lParam);
    case WM_WINDOWPOSCHANGING: return HandleWindowPosChanging(wParam, lParam);
    case WM_WINDOWPOSCHANGED: return HandleWindowPosChanged(wParam, lParam);
    case WM_COPYDATA: return HandleCopyData(wParam, lParam);
    case WM_NOTIFY: return HandleNotify(wParam, lParam);
    case WM_NCPAINT: return HandleFramePaint(wParam, lParam);
    case WM_KEYDOWN: return HandleKeyDown(wParam, lParam);
    case WM_KEYUP: return HandleKeyUp(wParam, lParam);
    case WM_CHAR: return HandleChar(wParam, lParam);
    case WM_IME_COMPOSITION: return HandleImeComposition(wParam, lParam);
    case WM_COMMAND: return HandleCommand(wParam, lParam);
    case WM_SYSCOMMAND: return HandleSysCommand(wParam, lParam);
    case WM_TIMER: return HandleTimer(wParam, lParam);
    case WM_HSCROLL: return HandleHScroll(wParam, lParam);
    case WM_VSCROLL: return HandleVScroll(wParam, lParam);
    case WM_MENUSELECT: return HandleMenuSelect(wParam, lParam);
    case WM_MOUSEMOVE: return HandleMouseMove(wParam, lParam);
    case WM_LBUTTONDOWN: return HandleLButtonDown(wParam, lParam);
    case WM_LBUTTONUP: return HandleLButtonUp(wParam, lParam);
    case WM_LBUTTONDBLCLK: return HandleLButtonDblClk(wParam, lParam);
    case WM_RBUTTONDOWN: return HandleRButtonDown(wParam, lParam);
    case WM_RBUTTONUP: return HandleRButtonUp(wParam, lParam);
    case WM_RBUTTONDBLCLK: return HandleRButtonDblClk(wParam, lParam);
    case WM_CAPTURECHANGED: return HandleCaptureChanged(wParam, lParam);
    case WM_POWERBROADCAST: return HandlePowerBroadcast(wParam, lParam);
    case WM_DROPFILES: return HandleDropFiles(wParam, lParam);
    case WM_MOUSEHOVER: return HandleMouseHover(wParam, lParam);
    case WM_MOUSELEAVE: return HandleMouseLeave(wParam, lParam);
    case WM_QUERYNEWPALETTE: return HandleQueryNewPalette(wParam, lParam);
    case WM_PALETTEISCHANGING: return HandlePaletteChanging(wParam, lParam);
    case WM_PALETTECHANGED: return HandlePaletteChanged(wParam, lParam);
    case WM_HOTKEY: return HandleHotKey(wParam, lParam);
    case KW_MSG_CHILD_ACTION: return DeliverChildAction(*wParam, *lParam);
    case KW_MSG_OWN_ACTION: return DeliverOwnAction(*wParam, *lParam);
    default: return HandleOtherMessage(message, wParam, lParam);
    }
}

// The number of listeners is read once: a listener added during the
// dispatch hears the next event, not this one.
template <class Call>
int ImplKwComponent::CallListeners(Call call, int stopOnRefusal)
{
    int count = m_listeners.GetCount();
    for (int i = 0; i < count; ++i) {
        IKwComponentListener* listener =
            static_cast<IKwComponentListener*>(m_listeners.GetAt(i));
        if (listener != nullptr && call(listener) == 0 && stopOnRefusal) {
            return 0;
        }
    }
    return 1;
}

template <class Call>
int ImplKwComponent::CallOwner(Call call)
{
    return m_pOwner != nullptr ? call(static_cast<IKwComponentListener*>(m_pOwner)) : 1;
}

template <class Call>
int ImplKwComponent::RaiseConsumed(Call call)
{
    if (!CallListeners(call, 1)) {
        return 1;
    }
    return CallOwner(call) ? 0 : 1;
}

template <class Call>
int ImplKwComponent::RaiseVetoable(Call call)
{
    if (!CallListeners(call, 1)) {
        return 0;
    }
    return CallOwner(call) ? 1 : 0;
}

// Answers the component's own answer.
template <class Call>
int ImplKwComponent::RaiseBroadcast(Call call)
{
    CallListeners(call, 0);
    return CallOwner(call);
}

KwObject* ImplKwComponent::Source() const
{
    return m_pOwner != nullptr ? static_cast<KwObject*>(m_pOwner) : nullptr;
}

int ImplKwComponent::HandleSetCursor(WPARAM*, LPARAM*)
{
    KwObject* source = Source();
    return RaiseVetoable([&](IKwComponentListener* l) { return l->OnSetCursor(source); });
}

int ImplKwComponent::HandleLButtonDown(WPARAM*, LPARAM* lParam)
{
    KwObject* source = Source();
    KwPoint point = PointFrom(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnLButtonDown(source, point); });
}

int ImplKwComponent::HandleLButtonUp(WPARAM*, LPARAM* lParam)
{
    KwObject* source = Source();
    KwPoint point = PointFrom(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnLButtonUp(source, point); });
}

int ImplKwComponent::HandleLButtonDblClk(WPARAM*, LPARAM* lParam)
{
    KwObject* source = Source();
    KwPoint point = PointFrom(*lParam);
    return RaiseConsumed(
        [&](IKwComponentListener* l) { return l->OnLButtonDblClk(source, point); });
}

int ImplKwComponent::HandleMouseMove(WPARAM*, LPARAM* lParam)
{
    EnterPointer();
    KwObject* source = Source();
    KwPoint point = PointFrom(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnMouseMove(source, point); });
}

// The first movement inside asks the system for the leave and hover
// messages and raises OnMouseEnter; the leave message re-arms it.
void ImplKwComponent::EnterPointer()
{
    if (m_bPointerInside || m_hWindow == nullptr) {
        return;
    }
    TRACKMOUSEEVENT tracking;
    tracking.cbSize = sizeof tracking;
    tracking.dwFlags = TME_LEAVE | TME_HOVER;
    tracking.hwndTrack = m_hWindow;
    tracking.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&tracking);
    m_bPointerInside = 1;
    KwObject* source = Source();
    RaiseConsumed([&](IKwComponentListener* l) { return l->OnMouseEnter(source); });
}

int ImplKwComponent::HandleRButtonDown(WPARAM*, LPARAM* lParam)
{
    KwObject* source = Source();
    KwPoint point = PointFrom(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnRButtonDown(source, point); });
}

int ImplKwComponent::HandleRButtonUp(WPARAM*, LPARAM* lParam)
{
    KwObject* source = Source();
    KwPoint point = PointFrom(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnRButtonUp(source, point); });
}

int ImplKwComponent::HandleRButtonDblClk(WPARAM*, LPARAM* lParam)
{
    KwObject* source = Source();
    KwPoint point = PointFrom(*lParam);
    return RaiseConsumed(
        [&](IKwComponentListener* l) { return l->OnRButtonDblClk(source, point); });
}

// kind: 0 active, 1 activated by a click, 2 inactive.
int ImplKwComponent::HandleActivate(WPARAM* wParam, LPARAM*)
{
    KwObject* source = Source();
    int state = LOWORD(*wParam);
    int kind = state == WA_ACTIVE ? 0 : (state == WA_CLICKACTIVE ? 1 : 2);
    int minimized = HIWORD(*wParam);
    return RaiseConsumed(
        [&](IKwComponentListener* l) { return l->OnActivate(source, kind, minimized); });
}

int ImplKwComponent::HandleActivateApp(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandlePaletteChanged(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandlePaletteChanging(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleQueryNewPalette(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleFramePaint(WPARAM*, LPARAM*)
{
    return PaintThroughBuffer(1);
}

int ImplKwComponent::HandleCommand(WPARAM* wParam, LPARAM* lParam)
{
    KwObject* source = Source();
    int w = static_cast<int>(*wParam);
    int l = static_cast<int>(*lParam);
    return RaiseConsumed(
        [&](IKwComponentListener* c) { return c->OnCommand(source, WM_COMMAND, w, l); });
}

int ImplKwComponent::HandleSysCommand(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandlePaint(WPARAM*, LPARAM*)
{
    return PaintThroughBuffer(0);
}

// Every listener paints, then the component; the painted area of the
// buffer reaches the window only when the component answered non-zero.
// The default procedure then finds nothing left to paint.
int ImplKwComponent::PaintThroughBuffer(int framePaint)
{
    HWND window = m_hWindow;
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    if (context == nullptr) {
        return 1;
    }
    if (m_pGraphics != nullptr) {
        KwObject* source = Source();
        IKwGraphics* graphics = m_pGraphics;
        KwRect area(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
                    paint.rcPaint.bottom - paint.rcPaint.top);
        int own = framePaint ? RaiseBroadcast([&](IKwComponentListener* l) {
            return l->OnFramePaint(source, area, graphics);
        })
                             : RaiseBroadcast([&](IKwComponentListener* l) {
                                   return l->OnPaint(source, area, graphics);
                               });
        if (own && m_pGraphics != nullptr) {
            m_pGraphics->PresentTo(context, area);
        }
    }
    EndPaint(window, &paint);
    return 1;
}

int ImplKwComponent::HandleCreate(WPARAM*, LPARAM*)
{
    KwObject* source = Source();
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnCreate(source); });
}

int ImplKwComponent::HandleDestroy(WPARAM*, LPARAM*)
{
    HWND window = m_hWindow;
    KwObject* source = Source();
    int answer = RaiseConsumed([&](IKwComponentListener* l) { return l->OnDestroy(source); });
    DropPendingActions(window);
    ForgetWindow();
    return answer;
}

// After its destroy message the window is gone for this object: later
// messages reach the default procedure only.
void ImplKwComponent::ForgetWindow()
{
    if (m_hWindow != nullptr) {
        SetWindowLongPtrA(m_hWindow, GWLP_USERDATA, 0);
    }
    m_hWindow = nullptr;
    m_nTimerId = 0;
    m_bPointerInside = 0;
    if (m_pGraphics != nullptr) {
        m_pGraphics->SetWindow(nullptr);
    }
    if (m_pCaret != nullptr) {
        m_pCaret->SetWindow(nullptr);
    }
}

// kind: 4 restored, 3 minimized, 1 maximized, 2 another window restored, 0
// another window maximized.
int ImplKwComponent::HandleSize(WPARAM* wParam, LPARAM* lParam)
{
    static const int kinds[] = {4, 3, 1, 2, 0};
    int type = static_cast<int>(*wParam);
    int kind = type >= 0 && type <= 4 ? kinds[type] : type;
    int width = static_cast<short>(LOWORD(*lParam));
    int height = static_cast<short>(HIWORD(*lParam));
    m_szSize.Set(width, height);
    RebuildBuffer(width, height);
    KwObject* source = Source();
    return RaiseConsumed(
        [&](IKwComponentListener* l) { return l->OnSize(source, kind, width, height); });
}

int ImplKwComponent::HandleClose(WPARAM*, LPARAM*)
{
    KwObject* source = Source();
    return RaiseVetoable([&](IKwComponentListener* l) { return l->OnClose(source); });
}

int ImplKwComponent::HandleMove(WPARAM*, LPARAM* lParam)
{
    KwPoint location = PointFrom(*lParam);
    m_ptLocation = location;
    KwObject* source = Source();
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnMove(source, location); });
}

int ImplKwComponent::HandleKeyDown(WPARAM* wParam, LPARAM* lParam)
{
    KwObject* source = Source();
    int key = MapKey(static_cast<int>(*wParam));
    int flags = static_cast<int>(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnKeyDown(source, key, flags); });
}

int ImplKwComponent::HandleKeyUp(WPARAM* wParam, LPARAM* lParam)
{
    KwObject* source = Source();
    int key = MapKey(static_cast<int>(*wParam));
    int flags = static_cast<int>(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnKeyUp(source, key, flags); });
}

int ImplKwComponent::HandleNotify(WPARAM*, LPARAM*) { return 1; }

// The background counts as erased: every pixel comes from the buffer.
int ImplKwComponent::HandleEraseBackground(WPARAM*, LPARAM*)
{
    return 2;
}

int ImplKwComponent::HandleSetFocus(WPARAM*, LPARAM*)
{
    KwObject* source = Source();
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnFocusGained(source); });
}

int ImplKwComponent::HandleKillFocus(WPARAM*, LPARAM*)
{
    KwObject* source = Source();
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnFocusLost(source); });
}

int ImplKwComponent::HandleChar(WPARAM* wParam, LPARAM* lParam)
{
    KwObject* source = Source();
    int code = static_cast<int>(*wParam & 0xFF);
    int flags = static_cast<int>(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnChar(source, code, flags); });
}

int ImplKwComponent::HandleImeComposition(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleQueryEndSession(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleHScroll(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleVScroll(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleMouseActivate(WPARAM*, LPARAM*)
{
    KwObject* source = Source();
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnMouseActivate(source); });
}

int ImplKwComponent::HandleCaptureChanged(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleWindowPosChanging(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleWindowPosChanged(WPARAM*, LPARAM*) { return 1; }

// Timers of other ids belong to someone else and go to the default.
int ImplKwComponent::HandleTimer(WPARAM* wParam, LPARAM*)
{
    if (*wParam != KW_TIMER_ID) {
        return 1;
    }
    KwObject* source = Source();
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnTimer(source); });
}

int ImplKwComponent::HandleMenuSelect(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandlePowerBroadcast(WPARAM*, LPARAM*) { return 1; }

// reason: 2 parent closing, 1 another window zoomed, 3 parent opening, 0
// otherwise.
int ImplKwComponent::HandleShowWindow(WPARAM* wParam, LPARAM* lParam)
{
    int shown = static_cast<int>(*wParam);
    int status = static_cast<int>(*lParam);
    int reason = status == SW_PARENTCLOSING ? 2
                 : status == SW_OTHERZOOM   ? 1
                 : status == SW_PARENTOPENING ? 3
                                              : 0;
    KwObject* source = Source();
    return RaiseConsumed(
        [&](IKwComponentListener* l) { return l->OnShow(source, shown, reason); });
}

int ImplKwComponent::HandleEnable(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleCopyData(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleOtherMessage(UINT message, WPARAM* wParam, LPARAM* lParam)
{
    KwObject* source = Source();
    int m = static_cast<int>(message);
    int w = static_cast<int>(*wParam);
    int l = static_cast<int>(*lParam);
    return RaiseVetoable([&](IKwComponentListener* c) { return c->OnMessage(source, m, w, l); });
}

int ImplKwComponent::HandleMouseLeave(WPARAM*, LPARAM*)
{
    m_bPointerInside = 0;
    KwObject* source = Source();
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnMouseLeave(source); });
}

int ImplKwComponent::HandleReserved(WPARAM*, LPARAM*) { return 1; }

int ImplKwComponent::HandleMouseHover(WPARAM*, LPARAM* lParam)
{
    KwObject* source = Source();
    KwPoint point = PointFrom(*lParam);
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnMouseHover(source, point); });
}

// The drop is finished (its memory freed) in every case; listeners get a
// copy of the list of paths.
int ImplKwComponent::HandleDropFiles(WPARAM* wParam, LPARAM*)
{
    HDROP drop = reinterpret_cast<HDROP>(*wParam);
    TKwList<KwString> files;
    int read = ReadDroppedFiles(drop, &files);
    DragFinish(drop);
    if (!read) {
        return 0;
    }
    TKwList<KwString> copy(files);
    KwObject* source = Source();
    return RaiseConsumed([&](IKwComponentListener* l) { return l->OnDropFiles(source, copy); });
}

int ImplKwComponent::HandleHotKey(WPARAM* wParam, LPARAM* lParam)
{
    KwObject* source = Source();
    int id = static_cast<int>(*wParam);
    int modifiers = LOWORD(*lParam);
    int key = HIWORD(*lParam);
    return RaiseConsumed(
        [&](IKwComponentListener* l) { return l->OnHotKey(source, id, modifiers, key); });
}

int ImplKwComponent::MapKey(int virtualKey)
{
    switch (virtualKey) {
    case VK_BACK: return KW_KEY_BACKSPACE;
    case VK_TAB: return KW_KEY_TAB;
    case 10: return KW_KEY_LINEFEED;
    case VK_RETURN: return KW_KEY_RETURN;
    case VK_PRIOR: return KW_KEY_PAGEUP;
    case VK_NEXT: return KW_KEY_PAGEDOWN;
    case VK_END: return KW_KEY_END;
    case VK_HOME: return KW_KEY_HOME;
    case VK_LEFT: return KW_KEY_LEFT;
    case VK_UP: return KW_KEY_UP;
    case VK_RIGHT: return KW_KEY_RIGHT;
    case VK_DOWN: return KW_KEY_DOWN;
    case VK_DELETE: return KW_KEY_DELETE;
    default: return virtualKey;
    }
}

// The painted area is copied at its own place, so that a repaint of part
// of the component shows exactly what was painted.
void ImplKwComponent::Repaint(const KwRect& area)
{
    if (m_pGraphics == nullptr) {
        return;
    }
    KwObject* source = Source();
    IKwGraphics* graphics = m_pGraphics;
    RaiseBroadcast([&](IKwComponentListener* l) { return l->OnPaint(source, area, graphics); });
    HWND window = m_hWindow;
    HDC context = window != nullptr ? GetDC(window) : nullptr;
    if (context != nullptr) {
        if (m_pGraphics != nullptr) {
            m_pGraphics->PresentTo(context, area);
        }
        ReleaseDC(window, context);
    }
}

void ImplKwComponent::RepaintAll()
{
    Repaint(KwRect(0, 0, m_szSize.GetWidth(), m_szSize.GetHeight()));
}

void ImplKwComponent::Invalidate(const KwRect& area)
{
    if (m_hWindow != nullptr) {
        RECT bounds = {area.GetX(), area.GetY(), area.GetX() + area.GetWidth(),
                       area.GetY() + area.GetHeight()};
        InvalidateRect(m_hWindow, &bounds, TRUE);
    }
}

void ImplKwComponent::InvalidateAll()
{
    if (m_hWindow != nullptr) {
        InvalidateRect(m_hWindow, nullptr, TRUE);
    }
}

} // namespace KwSDK
