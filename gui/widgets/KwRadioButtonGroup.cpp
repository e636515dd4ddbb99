// Makes a set of radio buttons mutually exclusive: selecting one clears the
// others.
#include "KwRadioButtonGroup.h"

#include "KwRadioButton.h"

namespace KwSDK {

KwRadioButtonGroup::KwRadioButtonGroup()
{
    AppendTypeName("KwRadioButtonGroup");
}

KwRadioButtonGroup::~KwRadioButtonGroup()
{
    RemoveAll();
}

KwRadioButton* KwRadioButtonGroup::MemberAt(int index) const
{
    return static_cast<KwRadioButton*>(m_members.GetAt(index));
}

int KwRadioButtonGroup::Contains(KwRadioButton* button) const
{
    for (int i = 0; i < m_members.GetCount(); ++i) {
        if (MemberAt(i) == button) {
            return 1;
        }
    }
    return 0;
}

// A button listed twice would stay in the array after one Remove while no
// longer being listened to, so duplicates are refused.
void KwRadioButtonGroup::Add(KwRadioButton* button)
{
    if (button == nullptr || Contains(button)) {
        return;
    }
    if (m_members.Add(button)) {
        button->AddActionListener(this);
    }
}

void KwRadioButtonGroup::Remove(KwRadioButton* button)
{
    if (button != nullptr && m_members.Remove(button)) {
        button->RemoveActionListener(this);
    }
}

void KwRadioButtonGroup::RemoveAll()
{
    for (int i = 0; i < m_members.GetCount(); ++i) {
        MemberAt(i)->RemoveActionListener(this);
    }
    m_members = TKwVector<void*>();
}

// Setting a member fires nothing, so this handler is not re-entered.
int KwRadioButtonGroup::ActionPerformed(KwObject* source, int id, intptr_t)
{
    for (int i = 0; i < m_members.GetCount(); ++i) {
        KwRadioButton* member = MemberAt(i);
        int chosen = id == EVT_RADIO_SELECTED && static_cast<KwObject*>(member) == source;
        member->SetSelected(chosen ? 1 : 0);
    }
    return 1;
}

} // namespace KwSDK
