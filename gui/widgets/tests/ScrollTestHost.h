// A pop-up container that hosts the widget under test and counts the
// actions its children fire or post to it.
#ifndef KWSDK_SCROLLTESTHOST_H
#define KWSDK_SCROLLTESTHOST_H

#include "ComponentTestSupport.h"
#include "KwPopupWindow.h"

#include <utility>
#include <vector>

namespace KwSDK {
namespace Testing {

class ScrollTestHost : public KwPopupWindow {
public:
    ScrollTestHost() { SetBounds(60, 60, 240, 200, 0); }

    int ActionPerformed(KwObject* source, int id, intptr_t) override
    {
        actions.push_back(std::make_pair(source, id));
        return 1;
    }

    // Actions with this id from this source heard so far.
    int Count(KwComponent* source, int id) const
    {
        int count = 0;
        for (const std::pair<KwObject*, int>& action : actions) {
            if (action.first == static_cast<KwObject*>(source) && action.second == id) {
                ++count;
            }
        }
        return count;
    }

    std::vector<std::pair<KwObject*, int>> actions;
};

inline LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                      static_cast<WORD>(static_cast<short>(y)));
}

inline void SendMouse(KwComponent* component, UINT message, int x, int y)
{
    SendMessageA(WindowOf(component), message, 0, PointParam(x, y));
}

// One tick of the component's window timer, as the system delivers it.
inline void SendTick(KwComponent* component)
{
    SendMessageA(WindowOf(component), WM_TIMER, 0x2447, 0);
}

} // namespace Testing
} // namespace KwSDK

#endif
