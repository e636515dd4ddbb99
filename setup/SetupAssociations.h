// File-type associations: the sixteen image types of the file-link page and
// the registry entries that make the installed viewer open them.
#ifndef SETUP_SETUPASSOCIATIONS_H
#define SETUP_SETUPASSOCIATIONS_H

#include "KwString.h"

namespace KwSDK {

// One type box of the file-link page: its fixed text and its extensions
// (upper case, with the dot), the second one null when there is only one.
struct ASSOCIATIONTYPE {
    const char* boxText;
    const char* extensions[2];
};

// The boxes in processing order, which is also the order of the wizard's boxes.
enum {
    ASSOCIATION_JPEG,
    ASSOCIATION_PNG,
    ASSOCIATION_JPEG2000,
    ASSOCIATION_BMP,
    ASSOCIATION_GIF,
    ASSOCIATION_PCX,
    ASSOCIATION_PGX,
    ASSOCIATION_RAS,
    ASSOCIATION_TGA,
    ASSOCIATION_TIFF,
    ASSOCIATION_JPEG2000_COMPLETE,
    ASSOCIATION_PPM,
    ASSOCIATION_PGM,
    ASSOCIATION_PBM,
    ASSOCIATION_ICO,
    ASSOCIATION_WMF,
    ASSOCIATION_TYPE_COUNT
};

// The type at an index of the table above; null outside 0..15.
const ASSOCIATIONTYPE* GetAssociationType(int index);

// Associates every extension of every ticked type, in table order. checked
// holds ASSOCIATION_TYPE_COUNT flags (non-zero: ticked). Answers the number
// of extensions associated.
int AssociateCheckedTypes(const KwString& targetFolder, const int* checked);

// Registers "Lumo" + extension as the extension's handler, opening it with
// targetFolder + "\Lumo\LumoView.exe". A previous handler is appended to
// filelink.txt in the product folder (targetFolder + "\" + key "sub_dir").
// Always answers 1: a failed registry step does not stop the following ones.
int AssociateExtension(const KwString& targetFolder, const char* extension);

// Registry operations below HKEY_CLASSES_ROOT (Classes) and
// HKEY_CURRENT_USER (User). Each answers 1 on success, 0 on failure, and
// closes every key it opened. An empty parent means the root itself; an
// empty value name means the key's default value.
int CreateClassesKey(const KwString& parent, const KwString& name);
int CreateUserKey(const KwString& parent, const KwString& name);
int SetClassesValue(const KwString& key, const KwString& data, const KwString& valueName);
// Reads the key's default value into old (empty when there is none), then
// sets it to data.
int ReplaceClassesDefault(const KwString& key, KwString& old, const KwString& data);
// Reads the key's "Progid" value into old (empty when there is none), then
// sets it to data.
int ReplaceUserChoice(const KwString& key, KwString& old, const KwString& data);

} // namespace KwSDK

#endif
