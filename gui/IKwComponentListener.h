// The interface through which a component's events reach its listeners.
#ifndef KWSDK_IKWCOMPONENTLISTENER_H
#define KWSDK_IKWCOMPONENTLISTENER_H

#include "KwPoint.h"
#include "KwRect.h"
#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

class IKwGraphics;
class KwObject;

// Every operation names the component the event is about as its source and
// answers an int: non-zero lets the event go on, 0 stops it (how the answers
// combine depends on the event, see KwComponent). Every operation here
// answers 1, so a listener overrides only what it wants to hear.
class IKwComponentListener {
public:
    IKwComponentListener() = default;
    virtual ~IKwComponentListener();

    virtual int OnPaint(KwObject* source, const KwRect& area, IKwGraphics* graphics);
    virtual int OnFramePaint(KwObject* source, const KwRect& area, IKwGraphics* graphics);
    virtual int OnLButtonDown(KwObject* source, const KwPoint& point);
    virtual int OnLButtonUp(KwObject* source, const KwPoint& point);
    virtual int OnLButtonDblClk(KwObject* source, const KwPoint& point);
    virtual int OnRButtonDown(KwObject* source, const KwPoint& point);
    virtual int OnRButtonUp(KwObject* source, const KwPoint& point);
    virtual int OnRButtonDblClk(KwObject* source, const KwPoint& point);
    virtual int OnMouseMove(KwObject* source, const KwPoint& point);
    virtual int OnFocusGained(KwObject* source);
    virtual int OnFocusLost(KwObject* source);
    virtual int OnSetCursor(KwObject* source);
    // key is the character byte (0 to 255); flags are the system's key flags.
    virtual int OnChar(KwObject* source, int key, int flags);
    // key is a toolkit key code (see KwKeyCodes.h).
    virtual int OnKeyDown(KwObject* source, int key, int flags);
    virtual int OnKeyUp(KwObject* source, int key, int flags);
    // Never raised by the native layer; a hook for components that paint on
    // behalf of others.
    virtual int OnCustomPaint(KwObject* source, const KwRect& area, IKwGraphics* graphics);
    // kind: 4 restored, 3 minimized, 1 maximized, 2 another window restored,
    // 0 another window maximized.
    virtual int OnSize(KwObject* source, int kind, int width, int height);
    virtual int OnMove(KwObject* source, const KwPoint& location);
    virtual int OnClose(KwObject* source);
    // reason: 2 parent closing, 1 another window zoomed, 3 parent opening,
    // 0 otherwise.
    virtual int OnShow(KwObject* source, int shown, int reason);
    virtual int OnDestroy(KwObject* source);
    // kind: 0 active, 1 activated by a click, 2 inactive.
    virtual int OnActivate(KwObject* source, int kind, int minimized);
    virtual int OnCreate(KwObject* source);
    virtual int OnTimer(KwObject* source);
    virtual int OnMouseActivate(KwObject* source);
    virtual int OnCommand(KwObject* source, int message, int wParam, int lParam);
    // Any window message that has no event of its own.
    virtual int OnMessage(KwObject* source, int message, int wParam, int lParam);
    virtual int OnMouseLeave(KwObject* source);
    virtual int OnMouseEnter(KwObject* source);
    virtual int OnMouseHover(KwObject* source, const KwPoint& point);
    // The dropped paths in drop order.
    virtual int OnDropFiles(KwObject* source, TKwList<KwString>& files);
    virtual int OnHotKey(KwObject* source, int id, int modifiers, int virtualKey);
};

} // namespace KwSDK

#endif
