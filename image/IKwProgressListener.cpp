// The default progress listener ignores every notification.
#include "IKwProgressListener.h"

namespace KwSDK {

IKwProgressListener::IKwProgressListener()
{
    AppendTypeName("IKwProgressListener");
}

IKwProgressListener::~IKwProgressListener() = default;

int IKwProgressListener::OnProgress(int done, int total)
{
    (void)done;
    (void)total;
    return 1;
}

int IKwProgressListener::OnComplete(int success)
{
    (void)success;
    return 1;
}

} // namespace KwSDK
