// The action listener interface: every action is accepted and ignored.
#include "IKwActionListener.h"

namespace KwSDK {

IKwActionListener::~IKwActionListener() = default;

int IKwActionListener::ActionPerformed(KwObject*, int, intptr_t)
{
    return 1;
}

} // namespace KwSDK
