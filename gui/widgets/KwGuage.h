// The progress gauge: a sunken box filled by a solid or block bar, with an
// optional percentage text.
#ifndef KWSDK_KWGUAGE_H
#define KWSDK_KWGUAGE_H

#include "KwColor.h"
#include "KwDesignComponent.h"

namespace KwSDK {

// The bar fills from the left (horizontal) or from the bottom (vertical) by
// value / maximum of the box's inside. The value is meant to stay between 0
// and the maximum and is drawn clamped to that range; a maximum of 0 or
// below draws an empty bar and no text.
//
// The bar sits three pixels inside the edge while the 3-D look draws the
// two-pixel sunken frame, and two pixels inside when only a one-pixel
// outline is drawn.
class KwGuage : public virtual KwDesignComponent {
public:
    KwGuage();
    ~KwGuage() override;

    // Store and repaint.
    virtual void SetMaximum(int maximum);
    virtual void SetValue(int value);
    // These three take effect on the next paint.
    virtual void SetBlockStyle(int blocks);
    virtual void SetHorizontal(int horizontal);
    virtual void SetShowPercentage(int show);
    // Stores and repaints.
    virtual void SetBarColor(const KwColor& color);

    int GetMaximum() const;
    int GetValue() const;

    // Also moves the bar one pixel outward on each side when the look is
    // turned off.
    void Set3DLook(int look) override;

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    using KwDesignComponent::OnPaint;

private:
    void PaintFrame(IKwGraphics* graphics, int width, int height);
    void PaintHorizontalBar(IKwGraphics* graphics, int width, int height);
    void PaintVerticalBar(IKwGraphics* graphics, int width, int height);
    void PaintPercentage(IKwGraphics* graphics, int width, int height);
    void PaintPiece(IKwGraphics* graphics, const KwString& text, int x, int y, int white);
    int ClampedValue() const;
    void RepaintIfCreated();

    int m_bBlocks;
    int m_nMaximum;
    int m_nValue;
    int m_bHorizontal;
    int m_bShowPercentage;
    // 0 with the 3-D look, 1 without it: how far the bar grows outward.
    int m_nInset;
    KwColor m_barColor;
};

} // namespace KwSDK

#endif
