// A component that can be switched into design mode, in which it is moved
// and resized with the mouse.
#ifndef KWSDK_KWDESIGNCOMPONENT_H
#define KWSDK_KWDESIGNCOMPONENT_H

#include "KwComponent.h"

namespace KwSDK {

// The base of every widget, container and window. Outside design mode its
// handlers do what KwComponent's do, except that the paint handler answers
// 1, so a paint message copies the buffer to the screen.
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

    // Fills the area with the background colour and answers 1.
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    using KwComponent::OnPaint;

protected:
    int IsDesignMode() const;
    int GetDesignOption() const;

private:
    int m_bDesignMode;
    int m_nDesignOption;
    // Pixels taken off the right and bottom edges when handles are placed.
    int m_nBorderInset;
};

} // namespace KwSDK

#endif
