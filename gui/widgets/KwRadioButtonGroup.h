// Makes a set of radio buttons mutually exclusive: selecting one clears the
// others.
#ifndef KWSDK_KWRADIOBUTTONGROUP_H
#define KWSDK_KWRADIOBUTTONGROUP_H

#include "IKwActionListener.h"
#include "KwObject.h"
#include "TKwVector.h"

namespace KwSDK {

class KwRadioButton;

// Not a component: it listens to the actions of its members and does not
// own them, so a member must be removed before it is destroyed.
class KwRadioButtonGroup : public virtual KwObject, public virtual IKwActionListener {
public:
    KwRadioButtonGroup();
    ~KwRadioButtonGroup() override;

    // Starts listening to the button and appends it; null, or a button
    // already in the group, is ignored.
    virtual void Add(KwRadioButton* button);
    virtual void Remove(KwRadioButton* button);
    virtual void RemoveAll();

    // On a member's selection, sets that member and clears every other one,
    // in the order they were added.
    int ActionPerformed(KwObject* source, int id, intptr_t param) override;

private:
    KwRadioButtonGroup(const KwRadioButtonGroup&) = delete;
    KwRadioButtonGroup& operator=(const KwRadioButtonGroup&) = delete;

    int Contains(KwRadioButton* button) const;
    KwRadioButton* MemberAt(int index) const;

    TKwVector<void*> m_members;
};

} // namespace KwSDK

#endif
