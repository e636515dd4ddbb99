// The edit field of a combo box.
#ifndef KWSDK_KWCOMBOBOXEDIT_H
#define KWSDK_KWCOMBOBOXEDIT_H

#include "KwEdit.h"

namespace KwSDK {

class KwComboBox;

// Draws no border of its own and keeps its text 2 pixels from its left
// edge, inside the combo box's frame. Besides the keys of every edit field
// it drives the drop-down list: Up and Down move the list's selection
// (Down opens a closed list), Enter takes the list's selection over and
// Shift+Tab closes the list. The field takes no focus by itself; the combo
// box hands it on, and a click into it asks for it.
class KwComboBoxEdit : public KwEdit {
public:
    KwComboBoxEdit();
    ~KwComboBoxEdit() override;

    // The combo box the field belongs to; not counted (the combo box
    // unlinks it before it goes). Null unlinks.
    virtual void SetComboBox(KwComboBox* combo);

    int OnKeyDown(int key, int flags) override;
    int OnLButtonDown(const KwPoint& point) override;
    // Losing the focus closes an open list.
    int OnFocusLost() override;
    using KwEdit::OnFocusLost;
    using KwEdit::OnKeyDown;
    using KwEdit::OnLButtonDown;

private:
    void SelectPrevious();
    void SelectNextOrOpen();
    void TakeListSelection();

    KwComboBox* m_pCombo;
};

} // namespace KwSDK

#endif
