// What the install engine asks of the window that runs it: showing progress,
// deciding about a failed copy and freeing a locked shell extension.
#ifndef SETUP_SETUPINSTALLHOST_H
#define SETUP_SETUPINSTALLHOST_H

#include "KwString.h"

namespace KwSDK {

// Answers to a failed copy.
const int SETUP_COPY_RETRY = 1;
const int SETUP_COPY_IGNORE = 2;
const int SETUP_COPY_ABORT = 3;

class SetupInstallHost {
public:
    SetupInstallHost() = default;
    virtual ~SetupInstallHost();

    // A payload file is about to be copied; name is relative to the payload root.
    virtual void OnEntryListed(const KwString& name);
    // The gauge value after an entry is done (1 for the first entry).
    virtual void OnProgress(int value);
    // A copy failed for the reason given; answers one of SETUP_COPY_*.
    // Ignore by default.
    virtual int OnCopyFailed(const KwString& path, const KwString& reason);
    // The installed shell extension could not be replaced: end the shell
    // that holds it and unregister it so that one more copy may succeed.
    virtual void OnShellExtensionLocked(const KwString& installRoot);
};

} // namespace KwSDK

#endif
