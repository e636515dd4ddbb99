// One fixed drive: its root text, type and byte counts.
#ifndef KWSDK_LOGICDRIVERS_H
#define KWSDK_LOGICDRIVERS_H

namespace KwSDK {

// The drive type of a fixed disk, as the system numbers drive types.
const unsigned int KW_DRIVE_FIXED = 3;

struct LOGICDRIVERS {
    char szRoot[10];             // zero-terminated root text, such as "C:\"
    unsigned int nType;          // the system's drive-type value
    unsigned long long nTotal;   // total size in bytes
    unsigned long long nFree;    // bytes free to the calling user
};

} // namespace KwSDK

#endif
