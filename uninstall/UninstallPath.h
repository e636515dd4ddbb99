// The rules that decide which paths and registry keys named by an install's
// logs the uninstaller may remove. They work on text only, so that they hold
// on every platform and can be checked without a file system.
#ifndef UNINSTALL_UNINSTALLPATH_H
#define UNINSTALL_UNINSTALLPATH_H

#include "KwString.h"

namespace KwSDK {

class UninstallPath {
public:
    // Slashes become backslashes, runs of backslashes become one (an install
    // into "D:\" writes "D:\\Brindle..."), and a trailing backslash goes.
    static KwString Normalize(const KwString& path);

    // A plain local path: a drive letter, a colon and a backslash, then names
    // that are not "." or "..", do not end in a dot or a blank (the system
    // would drop those and name another file), and hold no wildcard, quote,
    // colon, angle bracket, bar or control byte. Checked after Normalize.
    static int IsPlainPath(const KwString& path);

    // Compares like the file system: ASCII letters ignoring case, every other
    // byte exactly. A byte from 0x81 to 0xFE leads a two-byte character
    // (GBK), whose trail byte is never folded.
    static int SamePath(const KwString& first, const KwString& second);

    // 1 when path lies below folder (not equal to it); both are plain paths.
    static int IsBelow(const KwString& path, const KwString& folder);

    // A product entry of the log: the product folder itself or a plain path
    // below it.
    static int IsProductEntry(const KwString& path, const KwString& productFolder);

    // A shortcut the log names: a plain path to a file ending in ".lnk".
    static int IsLinkPath(const KwString& path);

    // The start-menu folders: both plain, the product's folder below the
    // maker's folder, neither a drive root.
    static int IsMenuFolderPair(const KwString& productMenuFolder, const KwString& menuFolder);

    // The product folder the uninstaller works in must not be a drive root.
    static int IsProductFolder(const KwString& folder);

    // An uninstall entry of the system: HKEY_LOCAL_MACHINE or
    // HKEY_CURRENT_USER, "\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\"
    // (optionally through "Wow6432Node"), then one non-empty name.
    static int IsUninstallKey(const KwString& key);

    // The last name of a path (after its last backslash).
    static KwString LastName(const KwString& path);

    // The path up to its last backslash; empty when it has none.
    static KwString Parent(const KwString& path);

    // Whether a byte leads a two-byte character.
    static int IsLeadByte(unsigned char byte);
};

} // namespace KwSDK

#endif
