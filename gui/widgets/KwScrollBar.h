// A scroll bar: two arrow buttons, a draggable thumb and the track between
// them, reporting value changes to the component that contains it.
#ifndef KWSDK_KWSCROLLBAR_H
#define KWSDK_KWSCROLLBAR_H

#include "KwArrowButton.h"
#include "KwContainer.h"
#include "KwScrollBarBox.h"

namespace KwSDK {

// Posted to the parent when the user changed the value (arrow, track
// paging, thumb drag or a repeat tick); SetValue sends nothing.
const int EVT_SCROLL_CHANGED = 0x04101301;

// Repeat modes of the repeat timer.
const int KW_REPEAT_NONE = 0;
const int KW_REPEAT_UNIT_INCREASE = 1;
const int KW_REPEAT_UNIT_DECREASE = 2;
const int KW_REPEAT_PAGE_DECREASE = 3;
const int KW_REPEAT_PAGE_INCREASE = 4;

// The useful values run from the minimum to maximum - visible amount: the
// arrows and the track never go beyond them, while SetValue accepts up to
// the maximum. Holding an arrow or the track repeats its step on every tick
// of the repeat timer (no initial delay). The arrows, thumb and bar take no
// keyboard focus, so a click on a bar leaves the focus with its owner.
//
// The parts are children of the bar; a part that could not be made is
// simply absent.
class KwScrollBar : public KwContainer {
public:
    explicit KwScrollBar(int orientation = KW_SCROLL_VERTICAL);
    ~KwScrollBar() override;

    // Re-points both arrows and lays the parts out again.
    virtual void SetOrientation(int orientation);
    // Ignored unless above the minimum; pulls the value down to
    // maximum - visible amount.
    virtual void SetMaximum(int maximum);
    virtual int GetMaximum();
    // Ignored unless below the maximum; raises the value to it.
    virtual void SetMinimum(int minimum);
    virtual int GetMinimum();
    // Clamped to [minimum, maximum]; moves the thumb and sends nothing.
    virtual void SetValue(int value);
    virtual int GetValue();
    // A negative amount is ignored.
    virtual void SetVisibleAmount(int amount);
    virtual int GetVisibleAmount();
    // Values below 1 are ignored.
    virtual void SetUnitIncrement(int increment);
    virtual int GetUnitIncrement();
    // In milliseconds; values below 1 are ignored.
    virtual void SetRepeatPeriod(int milliseconds);
    // The setters replace the part (the old one leaves the container; null
    // leaves the bar without it); the getters answer the part with one
    // added reference, or null.
    virtual void SetIncreaseArrow(KwArrowButton* arrow);
    virtual KwArrowButton* GetIncreaseArrow();
    virtual void SetDecreaseArrow(KwArrowButton* arrow);
    virtual KwArrowButton* GetDecreaseArrow();
    virtual void SetThumb(KwScrollBarBox* thumb);
    virtual KwScrollBarBox* GetThumb();
    // Shades the paged part of the track while the track is held.
    virtual void SetTrackColor(const KwColor& color);
    // Points the arrows for the orientation, listens to them and lays
    // everything out.
    virtual void Initialize();
    virtual void LayoutArrows();
    // Sizes the thumb and sets its allowed positions, then positions it; the
    // thumb is hidden while the track is too short to hold it.
    virtual void LayoutThumb();
    // Moves the thumb to the place of the current value.
    virtual void PositionThumb();
    // The value that the thumb's current position stands for.
    virtual int ComputeValueFromThumb();

    int GetOrientation() const;
    int GetRepeatPeriod() const;
    int GetRepeatMode() const;

    void OnAfterCreate() override;
    int ActionPerformed(KwObject* source, int id, intptr_t param) override;
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnTimer() override;
    int OnSize(int kind, int width, int height) override;
    // The timer goes with the window: a held arrow or track is let go.
    int OnDestroy() override;
    using KwContainer::OnDestroy;
    using KwContainer::OnPaint;
    using KwContainer::OnLButtonDown;
    using KwContainer::OnLButtonUp;
    using KwContainer::OnMouseMove;
    using KwContainer::OnTimer;
    using KwContainer::OnSize;

private:
    // Geometry along the bar's axis.
    struct Track {
        int length;     // of the whole bar
        int thickness;  // across the axis
        int arrow;      // length of one arrow
        int end;        // where the increase arrow starts
    };

    void CreateParts();
    int ReplacePart(KwComponent* old, KwComponent* part);
    Track Measure();
    int Along(const KwPoint& point) const;
    int Across(const KwPoint& point) const;
    int ThumbStart();
    int ThumbEnd();
    int PointerOnPagingSide();
    int UnitStep(int mode);
    int PageStep(int mode);
    void ArrowPressed(int mode);
    void StartRepeat();
    void StopRepeat();
    void ReportChange();

    int m_nOrientation;
    int m_nMaximum;
    int m_nMinimum;
    int m_nValue;
    int m_nVisibleAmount;
    int m_nUnitIncrement;
    int m_nRepeatPeriod;
    int m_nRepeatMode;
    int m_nPagingSide;
    int m_bTrackPressed;
    int m_bRepeating;
    KwPoint m_ptPointer;
    KwColor m_crTrack;
    KwArrowButton* m_pIncrease;
    KwArrowButton* m_pDecrease;
    KwScrollBarBox* m_pThumb;
};

} // namespace KwSDK

#endif
