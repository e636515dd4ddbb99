// The deletion script "uninstall.reg" that undoes a product's expanded
// registry script when the registry editor imports it.
#ifndef UNINSTALL_REGISTRYDELETIONSCRIPT_H
#define UNINSTALL_REGISTRYDELETIONSCRIPT_H

#include "KwString.h"

namespace KwSDK {

// Turns the bytes of an expanded registry script into a script that removes
// what it wrote: the script's header line (or "Windows Registry Editor
// Version 5.00"), then "[-KEY]" for every key the script writes, later keys
// first and each key once. Keys shared with the system and other programs
// (a hive, its first level, "SOFTWARE\Microsoft\Windows\CurrentVersion" and
// the keys right below it, and the shared class keys such as "*", "Folder",
// "CLSID" or an extension with their "shell" and "shellex" keys) are never
// deleted: for them the script gets "[KEY]" with "name"=- for each value the
// script set there. Sections that already delete ("[-KEY]"), comments and
// lines of other hives are skipped. Lines end in CR LF.
KwString MakeRegistryDeletionScript(const char* script, int length);
KwString MakeRegistryDeletionScript(const KwString& script);

// What the uninstaller imports of a deletion script found next to it: the
// header, "[-KEY]" sections of keys that are not shared (as above), and
// "[KEY]" sections with their "name"=- lines; every other line, and every
// section that would delete a shared key, is dropped, so that an altered
// file cannot remove keys of the system. Lines end in CR LF.
KwString FilterRegistryDeletionScript(const char* script, int length);

} // namespace KwSDK

#endif
