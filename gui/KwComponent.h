// A visible element of the toolkit: one native window with its off-screen
// buffer, font, colours, cursor, icons and caret, its event handlers and its
// listeners.
#ifndef KWSDK_KWCOMPONENT_H
#define KWSDK_KWCOMPONENT_H

#include "IKwActionListener.h"
#include "IKwComponentListener.h"
#include "ImplKwComponent.h"
#include "KwColor.h"
#include "KwObject.h"
#include "KwPoint.h"
#include "KwRect.h"
#include "KwSize.h"
#include "KwString.h"
#include "TKwList.h"
#include "TKwVector.h"

#include <windows.h>

namespace KwSDK {

class IKwCaret;
class IKwGraphics;
class KwCursor;
class KwFont;
class KwIcon;
class KwImage;

// Nearly every operation forwards to the implementation object, which holds
// the state and does the native work; the component keeps its flags
// (disabled, visible, focusable, 3-D look, created) and its action
// listeners. If the implementation could not be allocated the component is
// unusable: its operations do nothing and answer 0 or empty values.
//
// Events: the native layer calls the component's listeners in registration
// order and then the component's own listener operations, which turn an
// event about this component into a call of the handler of the same name
// (OnPaint ... OnHotKey). Every handler answers 1 here except OnPaint, which
// fills the area with the background colour and answers 0, so a plain
// component never has its buffer copied to the screen by a paint message.
//
// Actions: FireAction delivers at once to the component's own
// ActionPerformed and then to its action listeners; PostAction and
// PostActionToParent deliver from the message loop.
class KwComponent : public virtual KwObject,
                    public virtual IKwComponentListener,
                    public virtual IKwActionListener {
public:
    KwComponent();
    ~KwComponent() override;

    virtual void SetText(const KwString& text);
    virtual void SetBackground(const KwColor& color);
    virtual void SetForeground(const KwColor& color);
    virtual void SetLocation(int x, int y, int repaint);
    virtual void SetLocation(const KwPoint& location, int repaint);
    virtual void SetSize(int width, int height, int repaint);
    virtual void SetSize(const KwSize& size, int repaint);
    virtual void SetBounds(const KwRect& bounds, int repaint);
    virtual void SetBounds(int x, int y, int width, int height, int repaint);
    // Null is ignored; the component keeps a reference.
    virtual void SetFont(KwFont* font);
    // The native window class name; takes effect at the next Create.
    virtual void SetClassName(const KwString& name);
    // activate 0 shows the window without activating it.
    virtual void Show(int activate);
    virtual void Hide();
    virtual void Enable();
    virtual void Disable();
    virtual int IsVisible();
    virtual int IsDisabled();
    // 1 once Create succeeded.
    virtual int IsCreated();
    virtual KwPoint GetScreenLocation();
    // A focusable, enabled component takes the focus on a left press.
    virtual void SetFocusable(int focusable);
    virtual void SetCursor(KwCursor* cursor);
    virtual void SetIcon(KwIcon* icon);
    virtual void SetSmallIcon(KwIcon* icon);
    virtual KwString GetText();
    virtual KwColor GetBackground();
    virtual KwColor GetForeground();
    // Relative to the parent window.
    virtual KwPoint GetLocation();
    virtual KwSize GetSize();
    // With one added reference.
    virtual KwFont* GetFont();
    virtual KwString GetClassName();
    // With one added reference.
    virtual IKwCaret* GetCaret();
    // With one added reference.
    virtual IKwGraphics* GetGraphics();
    // The window has the keyboard focus.
    virtual int HasFocus();
    // Always 0.
    virtual int QueryFlag();
    virtual KwSize GetTextExtent(const KwString& text);
    virtual int GetFontHeight();
    // Widgets draw 3-D frames while it is set and flat outlines otherwise.
    virtual void Set3DLook(int look);
    virtual void SetWindowType(int type);
    virtual void RequestFocus();
    virtual int CopyToClipboard(const KwString& text);
    virtual int PasteFromClipboard(KwString& text);
    // key is a system virtual-key code.
    virtual int IsKeyDown(int key);
    // Called just before the native window is made; nothing here.
    virtual void OnBeforeCreate();
    // Called right after the native window was made; nothing here.
    virtual void OnAfterCreate();
    // Makes the child's native window inside this one.
    virtual void AddNativeChild(KwComponent* child);
    // Makes the native window (parent null for a top-level window) and
    // applies the visible and disabled flags set before; 1 on success.
    virtual int Create(HINSTANCE instance, ImplKwComponent* parent);
    virtual void DestroyNative();
    virtual void GetNativeHandles(KWNATIVEHANDLES* handles);
    // Listeners are not counted: a listener removes itself before it goes.
    virtual void AddComponentListener(IKwComponentListener* listener);
    virtual void RemoveComponentListener(IKwComponentListener* listener);
    // Appends unless already present.
    virtual void AddActionListener(IKwActionListener* listener);
    // Removes the first equal entry, keeping the order.
    virtual void RemoveActionListener(IKwActionListener* listener);
    // Paints now and copies the area to the window.
    virtual void Repaint(const KwRect& area);
    virtual void RepaintAll();
    // Marks the area for the next paint message.
    virtual void Invalidate(const KwRect& area);
    virtual void InvalidateAll();
    virtual void SetCapture();
    // force releases whatever the count; otherwise one SetCapture is undone.
    virtual void ReleaseCapture(int force);
    virtual int HasCapture();
    // The component's one window timer; its ticks arrive as OnTimer.
    virtual int StartTimer(int milliseconds);
    virtual void StopTimer();
    // Delivers an action that a child posted to this component.
    virtual int DeliverChildAction(KwObject* source, int id, intptr_t param);
    // Delivers an action with this component as source; answers the last
    // answer.
    virtual int FireAction(int id, intptr_t param);
    virtual void PostAction(int id, intptr_t param);
    virtual void PostActionToParent(int id, intptr_t param);
    virtual void RemoveAllActionListeners();
    virtual void SetShape(KwImage* image, const KwColor& key);

    // Event handlers.
    virtual int OnPaint(const KwRect& area, IKwGraphics* graphics);
    virtual int OnLButtonDown(const KwPoint& point);
    virtual int OnLButtonUp(const KwPoint& point);
    virtual int OnLButtonDblClk(const KwPoint& point);
    virtual int OnRButtonDown(const KwPoint& point);
    virtual int OnRButtonUp(const KwPoint& point);
    virtual int OnRButtonDblClk(const KwPoint& point);
    virtual int OnMouseMove(const KwPoint& point);
    virtual int OnFocusGained();
    virtual int OnFocusLost();
    virtual int OnSetCursor();
    virtual int OnChar(int key, int flags);
    virtual int OnKeyDown(int key, int flags);
    virtual int OnKeyUp(int key, int flags);
    virtual int OnCustomPaint(const KwRect& area, IKwGraphics* graphics);
    virtual int OnSize(int kind, int width, int height);
    virtual int OnMove(const KwPoint& location);
    virtual int OnClose();
    virtual int OnShow(int shown, int reason);
    virtual int OnDestroy();
    virtual int OnActivate(int kind, int minimized);
    virtual int OnCreate();
    virtual int OnTimer();
    virtual int OnMouseActivate();
    virtual int OnCommand(int message, int wParam, int lParam);
    virtual int OnMessage(int message, int wParam, int lParam);
    virtual int OnMouseLeave();
    virtual int OnMouseEnter();
    virtual int OnMouseHover(const KwPoint& point);
    virtual int OnDropFiles(TKwList<KwString>& files);
    virtual int OnHotKey(int id, int modifiers, int virtualKey);
    // Calls OnPaint with the same arguments.
    virtual int Update(const KwRect& area, IKwGraphics* graphics);

    // The component as its own listener: events about itself reach the
    // handlers above, events about others are let through untouched.
    int OnPaint(KwObject* source, const KwRect& area, IKwGraphics* graphics) override;
    int OnFramePaint(KwObject* source, const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(KwObject* source, const KwPoint& point) override;
    int OnLButtonUp(KwObject* source, const KwPoint& point) override;
    int OnLButtonDblClk(KwObject* source, const KwPoint& point) override;
    int OnRButtonDown(KwObject* source, const KwPoint& point) override;
    int OnRButtonUp(KwObject* source, const KwPoint& point) override;
    int OnRButtonDblClk(KwObject* source, const KwPoint& point) override;
    int OnMouseMove(KwObject* source, const KwPoint& point) override;
    int OnFocusGained(KwObject* source) override;
    int OnFocusLost(KwObject* source) override;
    int OnSetCursor(KwObject* source) override;
    int OnChar(KwObject* source, int key, int flags) override;
    int OnKeyDown(KwObject* source, int key, int flags) override;
    int OnKeyUp(KwObject* source, int key, int flags) override;
    int OnCustomPaint(KwObject* source, const KwRect& area, IKwGraphics* graphics) override;
    int OnSize(KwObject* source, int kind, int width, int height) override;
    int OnMove(KwObject* source, const KwPoint& location) override;
    int OnClose(KwObject* source) override;
    int OnShow(KwObject* source, int shown, int reason) override;
    int OnDestroy(KwObject* source) override;
    int OnActivate(KwObject* source, int kind, int minimized) override;
    int OnCreate(KwObject* source) override;
    int OnTimer(KwObject* source) override;
    int OnMouseActivate(KwObject* source) override;
    int OnCommand(KwObject* source, int message, int wParam, int lParam) override;
    int OnMessage(KwObject* source, int message, int wParam, int lParam) override;
    int OnMouseLeave(KwObject* source) override;
    int OnMouseEnter(KwObject* source) override;
    int OnMouseHover(KwObject* source, const KwPoint& point) override;
    int OnDropFiles(KwObject* source, TKwList<KwString>& files) override;
    int OnHotKey(KwObject* source, int id, int modifiers, int virtualKey) override;

    // The implementation object, for creating windows inside this one.
    ImplKwComponent* GetImplementation() const;

protected:
    int Is3DLook() const;
    int IsFocusable() const;
    int IsSelf(const KwObject* source) const;

private:
    KwComponent(const KwComponent&) = delete;
    KwComponent& operator=(const KwComponent&) = delete;

    int DeliverAction(KwObject* source, int id, intptr_t param);

    TKwVector<void*> m_actionListeners;
    int m_bDisabled;
    int m_bVisible;
    int m_bFocusable;
    int m_b3DLook;
    int m_bCreated;
    ImplKwComponent* m_pImpl;
};

} // namespace KwSDK

#endif
