// One entry of a file tree: the package archive's table and the installer's
// payload list both hold these.
#ifndef KWSDK_FILENODE_H
#define KWSDK_FILENODE_H

#include "KwString.h"

namespace KwSDK {

// Entry types; any other value in an archive is skipped.
const int FILENODE_FILE = 1;
const int FILENODE_FOLDER = 2;

struct FILENODE {
    // The entry's path with its leading backslash, exactly as stored.
    KwString name;
    // FILENODE_FILE or FILENODE_FOLDER.
    int type;
    // A file's length in bytes (read as unsigned); 0 for a folder.
    int size;
};

} // namespace KwSDK

#endif
