// The interface through which widgets report clicks and changes.
#ifndef KWSDK_IKWACTIONLISTENER_H
#define KWSDK_IKWACTIONLISTENER_H

#include <cstdint>

namespace KwSDK {

class KwObject;

// An action event is a 32-bit identifier chosen by the widget that sends it
// and one parameter as wide as a pointer (a widget may pass a reference to
// itself in it). The answer is ignored by every sender.
class IKwActionListener {
public:
    IKwActionListener() = default;
    virtual ~IKwActionListener();

    // Answers 1 here.
    virtual int ActionPerformed(KwObject* source, int id, intptr_t param);
};

} // namespace KwSDK

#endif
