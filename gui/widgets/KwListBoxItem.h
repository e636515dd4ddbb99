// One row of a list box: its text, whether it is selected, and its width
// once the list has measured it.
#ifndef KWSDK_KWLISTBOXITEM_H
#define KWSDK_KWLISTBOXITEM_H

#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {

class KwListBoxItem : public virtual KwObject {
public:
    explicit KwListBoxItem(const KwString& text);
    ~KwListBoxItem() override;

    virtual void SetText(const KwString& text);
    virtual KwString GetText() const;
    virtual void SetSelected(int selected);
    virtual int IsSelected() const;
    // The text's width in pixels in the list's font; 0 until measured.
    virtual void SetWidth(int width);
    virtual int GetWidth() const;

private:
    KwString m_sText;
    int m_bSelected;
    int m_nWidth;
};

} // namespace KwSDK

#endif
