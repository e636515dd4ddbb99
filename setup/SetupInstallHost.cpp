// Default answers of the install engine's host.
#include "SetupInstallHost.h"

namespace KwSDK {

SetupInstallHost::~SetupInstallHost() = default;

void SetupInstallHost::OnEntryListed(const KwString& name)
{
    (void)name;
}

void SetupInstallHost::OnProgress(int value)
{
    (void)value;
}

int SetupInstallHost::OnCopyFailed(const KwString& path, const KwString& reason)
{
    (void)path;
    (void)reason;
    return SETUP_COPY_IGNORE;
}

void SetupInstallHost::OnShellExtensionLocked(const KwString& installRoot)
{
    (void)installRoot;
}

} // namespace KwSDK
