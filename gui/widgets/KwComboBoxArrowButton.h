// The button that drops a combo box's list down.
#ifndef KWSDK_KWCOMBOBOXARROWBUTTON_H
#define KWSDK_KWCOMBOBOXARROWBUTTON_H

#include "KwArrowButton.h"

namespace KwSDK {

// Points down. The list that a press opens takes the mouse over at once, so
// the button would never see its release: it reports the press and ends it
// in the same step, firing EVT_ARROW_PRESSED and then EVT_ARROW_RELEASED.
class KwComboBoxArrowButton : public KwArrowButton {
public:
    KwComboBoxArrowButton();
    ~KwComboBoxArrowButton() override;

    int OnLButtonDown(const KwPoint& point) override;
    using KwArrowButton::OnLButtonDown;
};

} // namespace KwSDK

#endif
