// The button that drops a combo box's list down.
#include "KwComboBoxArrowButton.h"

namespace KwSDK {

KwComboBoxArrowButton::KwComboBoxArrowButton()
{
    AppendTypeName("KwComboBoxArrowButton");
    SetClassName("KwComboBoxArrowButton");
}

KwComboBoxArrowButton::~KwComboBoxArrowButton() = default;

int KwComboBoxArrowButton::OnLButtonDown(const KwPoint& point)
{
    KwArrowButton::OnLButtonDown(point);
    return KwArrowButton::OnLButtonUp(point);
}

} // namespace KwSDK
