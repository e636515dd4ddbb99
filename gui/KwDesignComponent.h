// A component that can be switched into design mode, in which it is moved
// and resized with the mouse.
#ifndef KWSDK_KWDESIGNCOMPONENT_H
#define KWSDK_KWDESIGNCOMPONENT_H

#include "KwComponent.h"

namespace KwSDK {

// The base of every widget, container and window. Outside design mode its
// handlers do what KwComponent's do, except that the paint handler answers
// 1, so a paint message copies the buffer to the screen.
//
// In design mode the component shows eight sizing handles while it has the
// focus and is dragged by its body or resized by a handle. Subclasses keep
// their handlers free of design code: while the flag is set, the listener
// operations that turn the component's own mouse and focus events into
// handler calls run the design behaviour of this class instead of the
// subclass's handlers, the decorations are drawn over whatever the paint
// handler drew, and the component's own actions are dropped.
class KwDesignComponent : public virtual KwComponent {
public:
    KwDesignComponent();
    ~KwDesignComponent() override;

    virtual void SetDesignMode(int designMode);
    // A stored value that nothing in the toolkit reads.
    virtual void SetDesignOption(int option);
    // The sizing handle under a point in the component's coordinates: 1 top
    // left, then clockwise to 8 left middle; 0 for the body.
    virtual int HitTestHandle(const KwPoint& point);

    // Nothing is delivered or posted while in design mode; FireAction then
    // answers 0.
    int FireAction(int id, intptr_t param) override;
    void PostAction(int id, intptr_t param) override;
    void PostActionToParent(int id, intptr_t param) override;

    // Fills the area with the background colour and answers 1, in both
    // modes; the design decorations are drawn after it by the paint
    // listener operation.
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    // In design mode: the press starts a drag by the handle under the
    // point, the release ends it, a move drags or shows the sizing cursor,
    // and the focus switches the handles on and off. Otherwise as in
    // KwComponent.
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnFocusGained() override;
    int OnFocusLost() override;

    // The component's own events in design mode go to the design handlers
    // above whatever a subclass overrides; a double click counts as a
    // press. Events about other components pass as in KwComponent.
    int OnPaint(KwObject* source, const KwRect& area, IKwGraphics* graphics) override;
    int OnFramePaint(KwObject* source, const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(KwObject* source, const KwPoint& point) override;
    int OnLButtonUp(KwObject* source, const KwPoint& point) override;
    int OnLButtonDblClk(KwObject* source, const KwPoint& point) override;
    int OnMouseMove(KwObject* source, const KwPoint& point) override;
    int OnFocusGained(KwObject* source) override;
    int OnFocusLost(KwObject* source) override;
    using KwComponent::OnLButtonDblClk;

protected:
    int IsDesignMode() const;
    int GetDesignOption() const;
    // Shows the handles even without the focus.
    void SetDesignHighlight(int highlight);
    // Pixels taken off the right and bottom edges when handles are placed.
    void SetBorderInset(int inset);

private:
    int IsSelfInDesign(const KwObject* source) const;
    int IsHighlighted() const;
    // Applies one step of a drag by the handle being held.
    void DragBy(int dx, int dy);
    void ShowSizingCursor(int handle);
    void DrawDecorations(IKwGraphics* graphics);
    void DrawHandles(IKwGraphics* graphics);

    int m_bDesignMode;
    int m_nDesignOption;
    int m_bDragging;
    int m_nDragHandle;
    KwPoint m_dragReference;
    int m_bHighlighted;
    int m_bDesignHighlight;
    int m_nBorderInset;
};

} // namespace KwSDK

#endif
