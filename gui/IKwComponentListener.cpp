// The component listener interface: every event is let through.
#include "IKwComponentListener.h"

namespace KwSDK {

IKwComponentListener::~IKwComponentListener() = default;

int IKwComponentListener::OnPaint(KwObject*, const KwRect&, IKwGraphics*) { return 1; }
int IKwComponentListener::OnFramePaint(KwObject*, const KwRect&, IKwGraphics*) { return 1; }
int IKwComponentListener::OnLButtonDown(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnLButtonUp(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnLButtonDblClk(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnRButtonDown(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnRButtonUp(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnRButtonDblClk(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnMouseMove(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnFocusGained(KwObject*) { return 1; }
int IKwComponentListener::OnFocusLost(KwObject*) { return 1; }
int IKwComponentListener::OnSetCursor(KwObject*) { return 1; }
int IKwComponentListener::OnChar(KwObject*, int, int) { return 1; }
int IKwComponentListener::OnKeyDown(KwObject*, int, int) { return 1; }
int IKwComponentListener::OnKeyUp(KwObject*, int, int) { return 1; }
int IKwComponentListener::OnCustomPaint(KwObject*, const KwRect&, IKwGraphics*) { return 1; }
int IKwComponentListener::OnSize(KwObject*, int, int, int) { return 1; }
int IKwComponentListener::OnMove(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnClose(KwObject*) { return 1; }
int IKwComponentListener::OnShow(KwObject*, int, int) { return 1; }
int IKwComponentListener::OnDestroy(KwObject*) { return 1; }
int IKwComponentListener::OnActivate(KwObject*, int, int) { return 1; }
int IKwComponentListener::OnCreate(KwObject*) { return 1; }
int IKwComponentListener::OnTimer(KwObject*) { return 1; }
int IKwComponentListener::OnMouseActivate(KwObject*) { return 1; }
int IKwComponentListener::OnCommand(KwObject*, int, int, int) { return 1; }
int IKwComponentListener::OnMessage(KwObject*, int, int, int) { return 1; }
int IKwComponentListener::OnMouseLeave(KwObject*) { return 1; }
int IKwComponentListener::OnMouseEnter(KwObject*) { return 1; }
int IKwComponentListener::OnMouseHover(KwObject*, const KwPoint&) { return 1; }
int IKwComponentListener::OnDropFiles(KwObject*, TKwList<KwString>&) { return 1; }
int IKwComponentListener::OnHotKey(KwObject*, int, int, int) { return 1; }

} // namespace KwSDK
