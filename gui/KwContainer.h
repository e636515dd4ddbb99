// A component that holds child components, each in a native child window of
// its own.
#ifndef KWSDK_KWCONTAINER_H
#define KWSDK_KWCONTAINER_H

#include "KwDesignComponent.h"

namespace KwSDK {

// Holds one reference per entry of its child array (a child added twice is
// held twice). While the container's window exists it is the action and
// component listener of every child, hands its font to each child it adds
// and makes the child's window inside its own; children added before that
// get all of it, in array order, when the container's window is made. The
// container's 3-D look flag is passed on to every child.
//
// Children are separate child windows, so the system clips and stacks them;
// the toolkit keeps no stacking order of its own.
class KwContainer : public virtual KwDesignComponent {
public:
    KwContainer();
    ~KwContainer() override;

    // Null is ignored (answers 0); 1 when the child was added.
    virtual int Add(KwComponent* child);
    // 0 when the component is not a child; otherwise its window is
    // destroyed (when the container's exists) and its reference released.
    virtual int Remove(KwComponent* child);
    virtual void RemoveAll();
    virtual int GetChildCount();
    virtual KwComponent* GetComponentAt(const KwPoint& point);
    // The first child in array order whose bounds contain the point in the
    // container's client coordinates, right and bottom edges included, with
    // one added reference; null when none does.
    virtual KwComponent* GetComponentAt(int x, int y);

    // The container or any child has the focus.
    int HasFocus() override;
    void Set3DLook(int look) override;
    void OnAfterCreate() override;
    // The container first, then every child with the same area (not moved
    // into the child's coordinates).
    void Repaint(const KwRect& area) override;
    void RepaintAll() override;
    // Stops listening to the children, whose windows go with this one.
    int OnDestroy() override;
    using KwDesignComponent::OnDestroy;

    // The child at an index of the array, without a reference; null
    // outside the array.
    KwComponent* GetChild(int index) const;

protected:
    int IsContainerCreated() const;

private:
    void Attach(KwComponent* child, KwFont* font);
    void Detach(KwComponent* child);

    TKwVector<void*> m_children;
    int m_bContainerCreated;
};

} // namespace KwSDK

#endif
