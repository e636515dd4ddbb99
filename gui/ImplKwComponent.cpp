// The native side of a component: its window, class registration, message
// dispatch, off-screen buffer, caret, cursor and icons, and the message loop.
#include "ImplKwComponent.h"

#include "ComponentCaret.h"
#include "ComponentGraphics.h"
#include "IKwComponentListener.h"
#include "KwBuffer.h"
#include "KwClassRegistry.h"
#include "KwComponent.h"
#include "KwCursor.h"
#include "KwFont.h"
#include "KwFontMapping.h"
#include "KwIcon.h"
#include "KwImage.h"
#include "KwKeyCodes.h"
#include "KwNativeHandles.h"
#include "KwReferenceGuard.h"
#include "TKwList.h"

#include <shellapi.h>

#include <cstring>
#include <new>

namespace KwSDK {

namespace {

const DWORD kChildStyle = 0x40000000;
const UINT kDefaultClassStyle = 0x82B;
const int kCursorArrow = 68;
const int kSleepAfterMessage = 1;

// Window styles of the window types 0 to 6.
const DWORD kWindowTypeStyles[] = {
    0x800B0000, 0x40000000, 0x00CF0000, 0x06080000, 0x06000000, 0x000A0000, 0x80000000,
};

// The record that carries an action posted to the parent's window. The
// source is held while the message waits, so a widget released in the
// meantime is still alive when its action is delivered.
struct CHILDACTION {
    KwObject* source;
    intptr_t param;
    int held;
};

// The process-wide count of SetCapture calls not yet released.
int g_nCaptureCount = 0;

const char* TextOf(const KwString& text)
{
    return text.GetText() != nullptr ? text.GetText() : "";
}

// Mouse positions and window positions travel as two signed 16-bit halves.
KwPoint PointFrom(LPARAM lParam)
{
    return KwPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

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

void ShowCreateError(DWORD error)
{
    KwString text;
    text.Format("createwindows err=%d", static_cast<int>(error));
    MessageBoxA(nullptr, TextOf(text), "eeerrr", MB_OK);
}

void FreeChildAction(CHILDACTION* record)
{
    if (record->held) {
        record->source->Release();
    }
    delete record;
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

int CopyTextToClipboard(HWND window, const KwString& text)
{
    if (!OpenClipboard(window)) {
        return 0;
    }
    int length = text.GetLength();
    HGLOBAL memory = nullptr;
    if (EmptyClipboard()) {
        memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(length) + 1);
    }
    char* bytes = memory != nullptr ? static_cast<char*>(GlobalLock(memory)) : nullptr;
    if (bytes == nullptr) {
        if (memory != nullptr) {
            GlobalFree(memory);
        }
        CloseClipboard();
        return 0;
    }
    if (length > 0) {
        std::memcpy(bytes, text.GetText(), static_cast<size_t>(length));
    }
    bytes[length] = '\0';
    GlobalUnlock(memory);
    // The clipboard owns the memory only when it took it.
    int handed = SetClipboardData(CF_TEXT, memory) != nullptr ? 1 : 0;
    if (!handed) {
        GlobalFree(memory);
    }
    CloseClipboard();
    return handed;
}

int PasteTextFromClipboard(HWND window, KwString& text)
{
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(window)) {
        return 0;
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes == nullptr) {
        CloseClipboard();
        return 0;
    }
    // The clipboard's block may lack its terminator: read at most its size.
    SIZE_T size = GlobalSize(data);
    SIZE_T length = 0;
    while (length < size && bytes[length] != '\0') {
        ++length;
    }
    text.Assign(bytes, static_cast<int>(length));
    GlobalUnlock(data);
    CloseClipboard();
    return 1;
}

// Cuts the runs of key-coloured pixels of one row out of the region. The
// runs are disjoint, so one exclusive-or per run equals one per pixel.
void CutKeyRow(HRGN region, const unsigned char* row, int width, int y, unsigned int key)
{
    int x = 0;
    while (x < width) {
        const unsigned char* pixel = row + 3 * x;
        unsigned int rgb = static_cast<unsigned int>(pixel[0]) << 16 | pixel[1] << 8 | pixel[2];
        if (rgb != key) {
            ++x;
            continue;
        }
        int start = x;
        while (x < width) {
            pixel = row + 3 * x;
            rgb = static_cast<unsigned int>(pixel[0]) << 16 | pixel[1] << 8 | pixel[2];
            if (rgb != key) {
                break;
            }
            ++x;
        }
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        if (run != nullptr) {
            CombineRgn(region, region, run, RGN_XOR);
            DeleteObject(run);
        }
    }
}

// Reads the image's pixels as red, green, blue rows; rows the pixel buffer
// does not hold in full are left alone.
void CutKeyPixels(HRGN region, KwImage* image, const KwColor& key)
{
    KwBuffer* pixels = image->GetPixels();
    if (pixels == nullptr) {
        return;
    }
    int width = image->GetWidth();
    int height = image->GetHeight();
    long long rowBytes = 3LL * (width > 0 ? width : 0);
    long long available = pixels->GetSize();
    for (int y = 0; y < height && rowBytes > 0 && (y + 1) * rowBytes <= available; ++y) {
        const unsigned char* row = pixels->GetPointer(static_cast<int>(y * rowBytes));
        if (row == nullptr) {
            break;
        }
        CutKeyRow(region, row, width, y, key.GetARGB());
    }
    pixels->Release();
}

} // namespace

ImplKwComponent::ImplKwComponent(KwComponent* owner)
    : m_hInstance(nullptr), m_hWindow(nullptr), m_hLargeIcon(nullptr), m_hSmallIcon(nullptr),
      m_hCursor(nullptr), m_bLargeIconMade(0), m_bSmallIconMade(0), m_bCursorMade(0),
      m_hAppliedLargeIcon(nullptr), m_hAppliedSmallIcon(nullptr), m_hAppliedCursor(nullptr),
      m_bAppliedLargeIconMade(0), m_bAppliedSmallIconMade(0), m_bAppliedCursorMade(0),
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
    DestroyCursorHandle(m_hCursor, m_bCursorMade);
    DestroyIconHandle(m_hLargeIcon, m_bLargeIconMade);
    DestroyIconHandle(m_hSmallIcon, m_bSmallIconMade);
    DestroyCursorHandle(m_hAppliedCursor, m_bAppliedCursorMade);
    DestroyIconHandle(m_hAppliedLargeIcon, m_bAppliedLargeIconMade);
    DestroyIconHandle(m_hAppliedSmallIcon, m_bAppliedSmallIconMade);
}

// ---- Class registration -------------------------------------------------

// The registry lock is held across the native registration, so that a name
// is in the registry exactly while its native class is registered.
int ImplKwComponent::RegisterClass()
{
    if (!KwClassRegistry::Enter()) {
        return 0;
    }
    int count = KwClassRegistry::GetCount(m_sClassName);
    if (count > 0) {
        int counted = KwClassRegistry::SetCount(m_sClassName, count + 1);
        KwClassRegistry::Leave();
        return counted;
    }
    ATOM atom = RegisterNativeClass();
    if (atom != 0 && !KwClassRegistry::SetCount(m_sClassName, 1)) {
        UnregisterClassA(TextOf(m_sClassName), m_hInstance);
        atom = 0;
    }
    KwClassRegistry::Leave();
    return atom;
}

ATOM ImplKwComponent::RegisterNativeClass()
{
    WNDCLASSEXA description;
    std::memset(&description, 0, sizeof description);
    description.cbSize = sizeof description;
    description.style = m_nClassStyle;
    description.lpfnWndProc = WindowProc;
    description.hInstance = m_hInstance;
    description.lpszClassName = TextOf(m_sClassName);
    HICON parentLarge = m_pParent != nullptr ? m_pParent->m_hLargeIcon : nullptr;
    HICON parentSmall = m_pParent != nullptr ? m_pParent->m_hSmallIcon : nullptr;
    description.hIcon = ClassIcon(&m_hLargeIcon, &m_bLargeIconMade, m_pLargeIcon, parentLarge);
    description.hCursor = ClassCursor();
    description.hIconSm = ClassIcon(&m_hSmallIcon, &m_bSmallIconMade, m_pSmallIcon, parentSmall);
    return RegisterClassExA(&description);
}

// A window inside a parent shows the parent's icon when it is a window of
// its own (not a child) and none when it is a child; a window without a
// parent shows its own description's icon.
HICON ImplKwComponent::ClassIcon(HICON* stored, int* made, KwIcon* description, HICON parentIcon)
{
    if (*stored != nullptr) {
        return *stored;
    }
    if (m_pParent == nullptr) {
        *stored = MakeIconHandle(description, m_hInstance, made);
    } else if ((m_dwStyle & kChildStyle) == 0 && parentIcon != nullptr) {
        *stored = CopyIcon(parentIcon);
        *made = *stored != nullptr ? 1 : 0;
    }
    return *stored;
}

HCURSOR ImplKwComponent::ClassCursor()
{
    if (m_hCursor == nullptr) {
        m_hCursor = MakeCursorHandle(m_pCursor, m_hInstance, &m_bCursorMade);
    }
    return m_hCursor;
}

// The native class can only be unregistered once no window of it is left,
// so the registration is given back after our window is gone: by
// DestroyNative, by a new Create under another name, or by the destructor.
void ImplKwComponent::GiveBackClass()
{
    if (!m_bClassRegistered || !KwClassRegistry::Enter()) {
        return;
    }
    m_bClassRegistered = 0;
    int count = KwClassRegistry::GetCount(m_sRegisteredName);
    if (count <= 1) {
        UnregisterClassA(TextOf(m_sRegisteredName), m_hRegisteredInstance);
    }
    KwClassRegistry::SetCount(m_sRegisteredName, count - 1);
    KwClassRegistry::Leave();
}

// ---- Creation and the message loop --------------------------------------

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
        Sleep(kSleepAfterMessage);
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

// ---- Event conventions --------------------------------------------------

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

// ---- Message handlers ---------------------------------------------------

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

// Child actions still queued for a window that goes away would never be
// delivered: free their records (and the sources they hold) now.
void ImplKwComponent::DropPendingActions(HWND window)
{
    MSG message;
    while (window != nullptr &&
           PeekMessageA(&message, window, KW_MSG_CHILD_ACTION, KW_MSG_CHILD_ACTION, PM_REMOVE)) {
        CHILDACTION* record = reinterpret_cast<CHILDACTION*>(message.wParam);
        if (record != nullptr) {
            FreeChildAction(record);
        }
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

int ImplKwComponent::DeliverChildAction(WPARAM record, LPARAM id)
{
    CHILDACTION* action = reinterpret_cast<CHILDACTION*>(record);
    if (action == nullptr) {
        return 0;
    }
    if (m_pOwner != nullptr) {
        m_pOwner->DeliverChildAction(action->source, static_cast<int>(id), action->param);
    }
    FreeChildAction(action);
    return 0;
}

int ImplKwComponent::DeliverOwnAction(WPARAM param, LPARAM id)
{
    if (m_pOwner != nullptr) {
        m_pOwner->FireAction(static_cast<int>(id), static_cast<intptr_t>(param));
    }
    return 0;
}

void ImplKwComponent::RemoveAllListeners()
{
    m_listeners = TKwVector<void*>();
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

// ---- Properties ---------------------------------------------------------

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
        ApplyClassIcon(GCLP_HICON, icon, &m_hAppliedLargeIcon, &m_bAppliedLargeIconMade);
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
        ApplyClassIcon(GCLP_HICONSM, icon, &m_hAppliedSmallIcon, &m_bAppliedSmallIconMade);
    }
}

// A cursor made for the class is kept until the next one replaces it, so
// that a custom cursor is not lost while the class still shows it.
void ImplKwComponent::ApplyClassCursor()
{
    int made = 0;
    HCURSOR cursor = MakeCursorHandle(m_pCursor, m_hInstance, &made);
    SetClassLongPtrA(m_hWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    DestroyCursorHandle(m_hAppliedCursor, m_bAppliedCursorMade);
    m_hAppliedCursor = cursor;
    m_bAppliedCursorMade = made;
}

void ImplKwComponent::ApplyClassIcon(int index, KwIcon* description, HICON* applied, int* made)
{
    int fresh = 0;
    HICON icon = MakeIconHandle(description, m_hInstance, &fresh);
    SetClassLongPtrA(m_hWindow, index, reinterpret_cast<LONG_PTR>(icon));
    DestroyIconHandle(*applied, *made);
    *applied = icon;
    *made = fresh;
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

int ImplKwComponent::CopyToClipboard(const KwString& text)
{
    return m_hWindow != nullptr ? CopyTextToClipboard(m_hWindow, text) : 0;
}

int ImplKwComponent::PasteFromClipboard(KwString& text)
{
    return m_hWindow != nullptr ? PasteTextFromClipboard(m_hWindow, text) : 0;
}

int ImplKwComponent::IsKeyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0 ? 1 : 0;
}

int ImplKwComponent::HasFocus()
{
    return m_hWindow != nullptr && GetFocus() == m_hWindow ? 1 : 0;
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

// ---- Painting -----------------------------------------------------------

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

// ---- Capture, timer, focus ----------------------------------------------

// Only a capture that was taken is counted, so that releases stay balanced.
void ImplKwComponent::SetCapture()
{
    if (m_hWindow != nullptr) {
        ::SetCapture(m_hWindow);
        ++g_nCaptureCount;
    }
}

int ImplKwComponent::HasCapture()
{
    return m_hWindow != nullptr && GetCapture() == m_hWindow ? 1 : 0;
}

void ImplKwComponent::ReleaseCapture(int force)
{
    if (force) {
        g_nCaptureCount = 0;
        ::ReleaseCapture();
    } else if (g_nCaptureCount > 0 && --g_nCaptureCount == 0) {
        ::ReleaseCapture();
    }
}

int ImplKwComponent::StartTimer(int milliseconds)
{
    if (m_hWindow == nullptr) {
        return 0;
    }
    UINT_PTR id = SetTimer(m_hWindow, KW_TIMER_ID, static_cast<UINT>(milliseconds), nullptr);
    if (id == 0) {
        return 0;
    }
    m_nTimerId = id;
    return static_cast<int>(id);
}

void ImplKwComponent::StopTimer()
{
    if (m_nTimerId != 0 && m_hWindow != nullptr) {
        KillTimer(m_hWindow, m_nTimerId);
    }
    m_nTimerId = 0;
}

void ImplKwComponent::SetWindowType(int type)
{
    const int types = static_cast<int>(sizeof kWindowTypeStyles / sizeof kWindowTypeStyles[0]);
    if (type >= 0 && type < types) {
        m_dwStyle = kWindowTypeStyles[type];
    }
}

// Once the system has taken the region it owns it: only a region it
// refused is deleted here.
void ImplKwComponent::SetShape(KwImage* image, const KwColor& key)
{
    if (image == nullptr) {
        return;
    }
    HRGN region = CreateRectRgn(0, 0, m_szSize.GetWidth(), m_szSize.GetHeight());
    if (region == nullptr) {
        return;
    }
    CutKeyPixels(region, image, key);
    if (m_hWindow != nullptr && SetWindowRgn(m_hWindow, region, FALSE)) {
        return;
    }
    DeleteObject(region);
}

int ImplKwComponent::AttachChild(KwComponent* child)
{
    if (child == nullptr) {
        return 1;
    }
    KwReferenceGuard guard(child);
    child->Create(m_hInstance, this);
    return 1;
}

void ImplKwComponent::RequestFocus()
{
    if (m_hWindow != nullptr) {
        SetFocus(m_hWindow);
    }
}

KwSize ImplKwComponent::GetTextExtent(const KwString& text)
{
    HDC context = m_hWindow != nullptr ? GetDC(m_hWindow) : nullptr;
    if (context == nullptr) {
        return KwSize(0, 0);
    }
    HFONT font = CreateGdiFont(m_pFont);
    int saved = SaveDC(context);
    if (font != nullptr) {
        SelectObject(context, font);
    }
    SIZE extent = {0, 0};
    BOOL measured = GetTextExtentPoint32A(context, TextOf(text), text.GetLength(), &extent);
    RestoreDC(context, saved);
    if (font != nullptr) {
        DeleteObject(font);
    }
    ReleaseDC(m_hWindow, context);
    return measured ? KwSize(extent.cx, extent.cy) : KwSize(0, 0);
}

int ImplKwComponent::GetFontHeight()
{
    HDC context = m_hWindow != nullptr ? GetDC(m_hWindow) : nullptr;
    if (context == nullptr) {
        return -1;
    }
    TEXTMETRICA metrics;
    BOOL measured = GetTextMetricsA(context, &metrics);
    ReleaseDC(m_hWindow, context);
    return measured ? metrics.tmHeight : -1;
}

// ---- Window life and owners ---------------------------------------------

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

void ImplKwComponent::PostAction(int id, intptr_t param)
{
    if (m_hWindow != nullptr) {
        PostMessageA(m_hWindow, KW_MSG_OWN_ACTION, static_cast<WPARAM>(param),
                     static_cast<LPARAM>(id));
    }
}

void ImplKwComponent::PostActionToParent(int id, intptr_t param)
{
    if (m_pParent == nullptr || m_pParent->m_hWindow == nullptr) {
        return;
    }
    CHILDACTION* record = new (std::nothrow) CHILDACTION;
    if (record == nullptr) {
        return;
    }
    record->source = Source();
    record->param = param;
    record->held = KwHoldReference(record->source);
    if (!PostMessageA(m_pParent->m_hWindow, KW_MSG_CHILD_ACTION, reinterpret_cast<WPARAM>(record),
                      static_cast<LPARAM>(id))) {
        FreeChildAction(record);
    }
}

KwComponent* ImplKwComponent::GetOwner() const
{
    return m_pOwner;
}

HWND ImplKwComponent::GetWindowHandle() const
{
    return m_hWindow;
}

// ---- Functions outside the class ----------------------------------------

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
