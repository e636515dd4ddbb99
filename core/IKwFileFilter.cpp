// The listing filter interface: only its type name lives here.
#include "IKwFileFilter.h"

namespace KwSDK {

IKwFileFilter::IKwFileFilter()
{
    AppendTypeName("IKwFileFilter");
}

IKwFileFilter::~IKwFileFilter()
{
}

} // namespace KwSDK
