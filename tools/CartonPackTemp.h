// Fresh file names in the temporary folder for carton-pack's scratch files.
#ifndef CARTON_PACK_TEMP_H
#define CARTON_PACK_TEMP_H

#include "KwString.h"

namespace KwSDK {

class CartonPackTemp {
public:
    // Creates a new empty file with a name nobody else holds in the
    // temporary folder and answers its path; empty when none can be made.
    static KwString CreateFile(const char* purpose);
    // The temporary folder without a trailing separator: TMPDIR, TMP or
    // TEMP, else "/tmp" where it exists, else the current folder.
    static KwString Folder();
};

} // namespace KwSDK

#endif
