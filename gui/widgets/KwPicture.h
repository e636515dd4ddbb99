// A component that shows one picture stretched over itself, or the frames
// of an animated picture one after the other, or all of them side by side.
#ifndef KWSDK_KWPICTURE_H
#define KWSDK_KWPICTURE_H

#include "KwDesignComponent.h"
#include "KwImage.h"
#include "KwImageGroup.h"

namespace KwSDK {

// Sent by a picture when it is pressed with the left button: queued to the
// picture's own window, then delivered to its own ActionPerformed and its
// action listeners. The parameter is the picture itself (its KwPicture*).
const int EVT_PICTURE_CLICKED = 0x08083001;

// Holds one reference to its current image and to its group. Pictures with
// an alpha channel (formats 1004 and 1007) are shown through a copy blended
// over the background colour the picture has when it gets them, since the
// system's bitmap transfer would show the colour bytes of transparent
// pixels. A picture in a format that cannot be drawn shows the background.
//
// With a group of more than one frame, the component's timer shows each
// frame for its own delay (milliseconds) and then the next, starting over
// after the last. In strip mode every frame is shown at its natural size,
// left to right with 2 pixels between them, and nothing moves.
class KwPicture : public virtual KwDesignComponent {
public:
    KwPicture();
    ~KwPicture() override;

    // Clears the picture, then keeps image (a displayable copy for formats
    // 1004 and 1007); null only clears. Repaints.
    virtual void SetImage(KwImage* image);
    // The current image with one added reference, or null.
    virtual KwImage* GetImage();
    // Clears the picture, keeps the group and, outside strip mode, shows its
    // first frame and starts the animation when it has several. Repaints.
    virtual void SetImageGroup(KwImageGroup* group);
    // The group with one added reference, or null.
    virtual KwImageGroup* GetImageGroup();
    // Turning it on stops the animation.
    virtual void SetStripMode(int strip);
    // A one-pixel outline around the picture; repaints when it changes.
    virtual void SetBorder(int border);
    // Drops image and group and stops the animation.
    virtual void Clear();

    int GetFrameIndex() const;

    // Starts the animation once the window exists.
    void OnAfterCreate() override;
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    // Shows the next frame.
    int OnTimer() override;
    using KwDesignComponent::OnPaint;
    using KwDesignComponent::OnLButtonDown;
    using KwDesignComponent::OnTimer;

private:
    void SetCurrent(KwImage* image);
    int ShowFrame(int index);
    void StartAnimation();
    int IsAnimated();
    void PaintStrip(IKwGraphics* graphics);
    void RepaintIfCreated();

    KwImage* m_pImage;
    KwImageGroup* m_pGroup;
    int m_nFrame;
    int m_bStrip;
    int m_bBorder;
};

} // namespace KwSDK

#endif
