// The edit field of a combo box.
#include "KwComboBoxEdit.h"

#include "KwComboBox.h"
#include "KwKeyCodes.h"

namespace KwSDK {

namespace {

const int kTextX = 2;
const int kHighlightTop = 1;
const int kShiftKey = 16;

} // namespace

KwComboBoxEdit::KwComboBoxEdit() : m_pCombo(nullptr)
{
    AppendTypeName("KwComboBoxEdit");
    SetClassName("KwComboBoxEdit");
    SetInsets(kTextX, kHighlightTop, 0);
    Set3DLook(0);
    SetFocusable(0);
}

KwComboBoxEdit::~KwComboBoxEdit() = default;

void KwComboBoxEdit::SetComboBox(KwComboBox* combo)
{
    m_pCombo = combo;
}

int KwComboBoxEdit::OnKeyDown(int key, int flags)
{
    if (m_pCombo == nullptr) {
        return KwEdit::OnKeyDown(key, flags);
    }
    switch (key) {
    case KW_KEY_UP: SelectPrevious(); return 1;
    case KW_KEY_DOWN: SelectNextOrOpen(); return 1;
    case KW_KEY_RETURN: TakeListSelection(); return 1;
    case KW_KEY_TAB:
        if (IsKeyDown(kShiftKey)) {
            m_pCombo->CloseDropDown();
        }
        return 1;
    default: return KwEdit::OnKeyDown(key, flags);
    }
}

void KwComboBoxEdit::SelectPrevious()
{
    m_pCombo->StepListSelection(-1);
}

void KwComboBoxEdit::SelectNextOrOpen()
{
    if (m_pCombo->IsDroppedDown()) {
        m_pCombo->StepListSelection(1);
    } else {
        m_pCombo->DropDown(1);
    }
}

void KwComboBoxEdit::TakeListSelection()
{
    m_pCombo->ConfirmListSelection();
}

// The field is not focusable, so the press does not bring the focus along:
// it asks for it, or typing would go elsewhere.
int KwComboBoxEdit::OnLButtonDown(const KwPoint& point)
{
    if (!HasFocus() && !IsDisabled()) {
        RequestFocus();
    }
    return KwEdit::OnLButtonDown(point);
}

int KwComboBoxEdit::OnFocusLost()
{
    KwEdit::OnFocusLost();
    if (m_pCombo != nullptr) {
        m_pCombo->CloseDropDown();
    }
    return 1;
}

} // namespace KwSDK
