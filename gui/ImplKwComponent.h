// The native side of a component: its window, class registration, message
// dispatch, off-screen buffer, caret, cursor and icons, and the message loop.
#ifndef KWSDK_IMPLKWCOMPONENT_H
#define KWSDK_IMPLKWCOMPONENT_H

#include "KwColor.h"
#include "KwObject.h"
#include "KwPoint.h"
#include "KwRect.h"
#include "KwSize.h"
#include "KwString.h"
#include "TKwVector.h"

#include <windows.h>

namespace KwSDK {

class ComponentCaret;
class ComponentGraphics;
class IKwCaret;
class IKwComponentListener;
class IKwGraphics;
class KwComponent;
class KwCursor;
class KwFont;
class KwIcon;
class KwImage;

// Private window messages and the component timer.
// An action posted to the parent's window: wParam is an allocated record
// of the source and the parameter, lParam the event id.
const UINT KW_MSG_CHILD_ACTION = 0x2446;
// The id of the one window timer each component may run.
const UINT_PTR KW_TIMER_ID = 0x2447;
// An action posted to the component's own window: wParam is the parameter,
// lParam the event id.
const UINT KW_MSG_OWN_ACTION = 0x2448;

// Window types for SetWindowType.
const int KW_WINDOW_POPUP_FRAME = 0;
const int KW_WINDOW_CHILD = 1;
const int KW_WINDOW_OVERLAPPED = 2;
const int KW_WINDOW_CLIPPED_MENU = 3;
const int KW_WINDOW_CLIPPED = 4;
const int KW_WINDOW_MENU_MINIMIZE = 5;
const int KW_WINDOW_POPUP = 6;

// ShowMessageBox types.
const int KW_MB_OK = 0;
const int KW_MB_OKCANCEL = 1;

// The instance and window handles of a component.
struct KWNATIVEHANDLES {
    HINSTANCE hInstance;
    HWND hWnd;
};

// One per component, owned by it. Operations that need the window do only
// their bookkeeping (or answer 0, (0, 0) or -1) while it does not exist;
// what they stored is applied when the window is made.
//
// Every message of the window goes through HandleMessage, which turns it
// into one event of the component and combines the answers of the
// component's listeners and of the component itself by one of three
// conventions:
// - consumed unless refused: the first listener answering 0 ends the chain
//   and the system's default processing runs; otherwise a non-zero answer
//   of the component consumes the message;
// - allowed unless vetoed (set cursor, close, unlisted messages): the first
//   listener answering 0 ends the chain and the message is refused;
//   otherwise a non-zero answer of the component lets the default run;
// - broadcast (paints): everyone is called; the component's answer decides
//   whether the off-screen buffer reaches the window.
class ImplKwComponent : public virtual KwObject {
public:
    // owner is the component this object implements; it is not counted.
    explicit ImplKwComponent(KwComponent* owner);
    ~ImplKwComponent() override;

    // Registers the window class, or counts one more user of it; answers
    // the class atom (or 1 when counted), 0 on failure.
    virtual int RegisterClass();
    // Makes the window; on failure shows "createwindows err=%d" and answers 0.
    virtual int CreateNative();
    // Runs the thread's message loop until a quit message; answers the last
    // result of fetching a message (0 for quit, -1 on error).
    virtual int RunMessageLoop();
    // The dispatcher of the message table; answers 1 when the system's
    // default processing should run, otherwise the message's result.
    virtual int HandleMessage(UINT message, WPARAM* wParam, LPARAM* lParam);
    // Stores the instance and parent, registers the class and makes the
    // window; 1 when the window exists afterwards. A component that already
    // has a window answers 0.
    virtual int Create(HINSTANCE instance, ImplKwComponent* parent);
    virtual int GetNativeHandles(KWNATIVEHANDLES* handles);
    virtual void SetText(const KwString& text);
    virtual void SetBackground(const KwColor& color);
    virtual void SetForeground(const KwColor& color);
    virtual void SetLocation(int x, int y, int repaint);
    virtual void SetSize(int width, int height, int repaint);
    virtual void SetBounds(int x, int y, int width, int height, int repaint);
    // Takes effect at the next Create.
    virtual void SetClassName(const KwString& name);
    // Null is ignored.
    virtual void SetFont(KwFont* font);
    // activate 0 shows the window without activating it.
    virtual void Show(int activate);
    virtual void Hide();
    virtual void Enable();
    virtual void Disable();
    virtual void Maximize();
    virtual void Minimize();
    virtual void Restore();
    // The new description replaces the class cursor (or icon) of the
    // window's class, so every window of the same class name shows it.
    virtual void SetCursor(KwCursor* cursor);
    virtual void SetIcon(KwIcon* icon);
    virtual void SetSmallIcon(KwIcon* icon);
    // Top-left corner of the window in screen coordinates; (0, 0) without one.
    virtual KwPoint GetScreenLocation();
    virtual KwString GetText();
    virtual KwColor GetBackground();
    virtual KwColor GetForeground();
    // Relative to the parent's client area.
    virtual KwPoint GetLocation();
    virtual KwSize GetSize();
    // With one added reference.
    virtual KwFont* GetFont();
    virtual KwString GetClassName();
    // With one added reference.
    virtual IKwCaret* GetCaret();
    // With one added reference.
    virtual IKwGraphics* GetGraphics();
    // 1 when the text is on the clipboard.
    virtual int CopyToClipboard(const KwString& text);
    // 1 when text was on the clipboard and is now in text.
    virtual int PasteFromClipboard(KwString& text);
    // key is a system virtual-key code.
    virtual int IsKeyDown(int key);
    virtual int HasFocus();
    // Always 0.
    virtual int QueryFlag();
    // Appends unless present; not counted.
    virtual void AddListener(IKwComponentListener* listener);
    virtual void RemoveListener(IKwComponentListener* listener);
    // The window exists.
    virtual int IsCreated();
    // Paints the area now, outside a paint message, and copies it to the
    // window whatever the handlers answered.
    virtual void Repaint(const KwRect& area);
    virtual void RepaintAll();
    // Marks the area for the next paint message, background erase asked for.
    virtual void Invalidate(const KwRect& area);
    virtual void InvalidateAll();
    // Captures the mouse and counts the capture (one process-wide count).
    virtual void SetCapture();
    virtual int HasCapture();
    // force clears the count and releases; otherwise the count goes down by
    // one and the capture is released when it reaches 0.
    virtual void ReleaseCapture(int force);
    // Starts the component timer; answers its id, 0 without a window or on
    // failure.
    virtual int StartTimer(int milliseconds);
    virtual void StopTimer();
    // Types 0 to 6; any other number leaves the style alone.
    virtual void SetWindowType(int type);
    // Cuts every pixel of the image that has the key colour out of the
    // window's region.
    virtual void SetShape(KwImage* image, const KwColor& key);
    // Makes the child's window inside this one; answers 1.
    virtual int AttachChild(KwComponent* child);
    virtual void RequestFocus();
    // The text's extent in the component's font; (0, 0) without a window.
    virtual KwSize GetTextExtent(const KwString& text);
    // Character height of the window's system font; -1 without a window.
    virtual int GetFontHeight();
    virtual void DestroyNative();
    virtual void PostClose();
    virtual void PostQuit();
    virtual void DisableOwner();
    virtual void EnableOwner();
    virtual void ActivateOwner();
    virtual void SetTopMost(int topMost);
    virtual void BringToTop();
    // Queues FireAction(id, param) on the component's own window.
    virtual void PostAction(int id, intptr_t param);
    // Queues the parent's DeliverChildAction(owner, id, param); nothing
    // without a parent.
    virtual void PostActionToParent(int id, intptr_t param);

    // The message handlers. Each takes the addresses of the message's
    // parameters and answers as HandleMessage does.
    virtual int HandleSetCursor(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleLButtonDown(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleLButtonUp(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleLButtonDblClk(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleMouseMove(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleRButtonDown(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleRButtonUp(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleRButtonDblClk(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleActivate(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleActivateApp(WPARAM* wParam, LPARAM* lParam);
    virtual int HandlePaletteChanged(WPARAM* wParam, LPARAM* lParam);
    virtual int HandlePaletteChanging(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleQueryNewPalette(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleFramePaint(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleCommand(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleSysCommand(WPARAM* wParam, LPARAM* lParam);
    virtual int HandlePaint(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleCreate(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleDestroy(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleSize(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleClose(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleMove(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleKeyDown(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleKeyUp(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleNotify(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleEraseBackground(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleSetFocus(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleKillFocus(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleChar(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleImeComposition(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleQueryEndSession(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleHScroll(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleVScroll(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleMouseActivate(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleCaptureChanged(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleWindowPosChanging(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleWindowPosChanged(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleTimer(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleMenuSelect(WPARAM* wParam, LPARAM* lParam);
    virtual int HandlePowerBroadcast(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleShowWindow(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleEnable(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleCopyData(WPARAM* wParam, LPARAM* lParam);
    // Every message that the table does not name.
    virtual int HandleOtherMessage(UINT message, WPARAM* wParam, LPARAM* lParam);
    virtual int HandleMouseLeave(WPARAM* wParam, LPARAM* lParam);
    // Kept for the slot layout: no message reaches it; it lets the default
    // processing run.
    virtual int HandleReserved(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleMouseHover(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleDropFiles(WPARAM* wParam, LPARAM* lParam);
    virtual int HandleHotKey(WPARAM* wParam, LPARAM* lParam);

    virtual void RemoveAllListeners();
    // The toolkit key code of a system virtual-key code (see KwKeyCodes.h).
    virtual int MapKey(int virtualKey);

    KwComponent* GetOwner() const;
    HWND GetWindowHandle() const;

    // The procedure of every toolkit window class.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    ImplKwComponent(const ImplKwComponent&) = delete;
    ImplKwComponent& operator=(const ImplKwComponent&) = delete;

    template <class Call>
    int CallListeners(Call call, int stopOnRefusal);
    template <class Call>
    int CallOwner(Call call);
    template <class Call>
    int RaiseConsumed(Call call);
    template <class Call>
    int RaiseVetoable(Call call);
    template <class Call>
    int RaiseBroadcast(Call call);

    KwObject* Source() const;
    ATOM RegisterNativeClass();
    HICON ClassIcon(HICON* stored, int* made, KwIcon* description, HICON parentIcon);
    HCURSOR ClassCursor();
    void GiveBackClass();
    void HandOverClassHandles();
    void DestroyOwnClassHandles();
    void GiveHandleToClass(int slot, void* handle, int made, int cursor);
    void PrepareGraphics();
    void RebuildBuffer(int width, int height);
    void ForgetWindow();
    void DropPendingActions(HWND window);
    int PaintThroughBuffer(int framePaint);
    void EnterPointer();
    int DeliverChildAction(WPARAM record, LPARAM id);
    int DeliverOwnAction(WPARAM param, LPARAM id);
    void ApplyClassCursor();
    void ApplyClassIcon(int index, int slot, KwIcon* description);
    void LinkToParent(ImplKwComponent* parent);
    void UnlinkFromParent();

    HINSTANCE m_hInstance;
    HWND m_hWindow;
    // The handles the class was registered with. Made handles belong to
    // this object only until the registration succeeds; from then on the
    // class registry owns them (every window of the class shows them).
    HICON m_hLargeIcon;
    HICON m_hSmallIcon;
    HCURSOR m_hCursor;
    int m_bLargeIconMade;
    int m_bSmallIconMade;
    int m_bCursorMade;
    DWORD m_dwExStyle;
    DWORD m_dwStyle;
    UINT m_nClassStyle;
    KwString m_sText;
    // Not counted: the parent clears it when it goes (see m_children), so
    // the child never reads a parent that no longer exists.
    ImplKwComponent* m_pParent;
    // The components whose m_pParent points here; not counted.
    TKwVector<void*> m_children;
    KwColor m_cBackground;
    KwColor m_cForeground;
    KwPoint m_ptLocation;
    KwSize m_szSize;
    KwString m_sClassName;
    // The name and instance this object holds a registration for.
    KwString m_sRegisteredName;
    HINSTANCE m_hRegisteredInstance;
    KwFont* m_pFont;
    KwCursor* m_pCursor;
    KwIcon* m_pLargeIcon;
    KwIcon* m_pSmallIcon;
    ComponentCaret* m_pCaret;
    ComponentGraphics* m_pGraphics;
    KwComponent* m_pOwner;
    TKwVector<void*> m_listeners;
    UINT_PTR m_nTimerId;
    int m_bTopMost;
    int m_bPointerInside;
    int m_bClassRegistered;
    int m_bVisible;
};

// A system message box owned by the owner's window (or none): OK and
// Cancel buttons for KW_MB_OKCANCEL, an OK button otherwise. Answers the id
// of the button pressed.
int ShowMessageBox(const KwString& text, const KwString& caption, int type, KwComponent* owner);

// The client size of the desktop window; (0, 0) when it cannot be read.
KwSize GetScreenSize();

} // namespace KwSDK

#endif
