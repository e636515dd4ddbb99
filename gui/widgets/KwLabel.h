// A passive caption: one line aligned left, right or centred, or several
// lines broken at the line breaks of the text.
#ifndef KWSDK_KWLABEL_H
#define KWSDK_KWLABEL_H

#include "KwDesignComponent.h"

namespace KwSDK {

// Alignments; any other value draws several left-aligned lines.
const int KW_LABEL_LEFT = 0;
const int KW_LABEL_RIGHT = 1;
const int KW_LABEL_CENTER = 2;
const int KW_LABEL_MULTILINE = 3;

// The text is always top-aligned and never wrapped at word boundaries.
class KwLabel : public virtual KwDesignComponent {
public:
    KwLabel(int alignment, const KwString& text);
    ~KwLabel() override;

    // Copies the text and repaints.
    void SetText(const KwString& text) override;
    KwString GetText() override;
    // Takes effect at the next paint.
    virtual void SetAlignment(int alignment);
    virtual int GetAlignment();

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    using KwComponent::OnPaint;

private:
    KwString m_sText;
    int m_nAlignment;
};

} // namespace KwSDK

#endif
