// Building uninstall.reg from the expanded registry script.
#include "RegistryDeletionScript.h"

#include "TKwList.h"
#include "UninstallPath.h"

#include <cstring>

namespace KwSDK {

static const char* const kDefaultHeader = "Windows Registry Editor Version 5.00";

// One key of the script with the value names (as written, quotes included,
// or "@") that the script sets in it.
struct SCRIPTKEY {
    KwString key;
    int shared;
    TKwList<KwString> values;
};

// The names of a key between its backslashes.
typedef TKwList<KwString> KeyNames;

static int Same(const KwString& name, const char* text)
{
    return UninstallPath::SamePath(name, KwString(text));
}

static int SplitKey(const KwString& key, KeyNames* names)
{
    const char* text = key.GetText();
    int start = 0;
    for (int at = 0; at <= key.GetLength(); ++at) {
        if (at == key.GetLength() || text[at] == '\\') {
            if (at == start)
                return 0;
            names->AddTail(KwString(text + start, at - start));
            start = at + 1;
        }
    }
    return names->GetCount() > 0;
}

// The names from index on, as an array of pointers into the list.
static int NamesFrom(KeyNames& names, int from, const KwString** out, int capacity)
{
    int count = 0;
    int index = 0;
    for (int more = names.MoveFirst(); more; more = names.MoveNext(), ++index) {
        if (index >= from && count < capacity)
            out[count++] = names.GetAt();
    }
    return count;
}

static int IsOneOf(const KwString& name, const char* const* list)
{
    for (; *list; ++list) {
        if (Same(name, *list))
            return 1;
    }
    return 0;
}

static const char* const kSharedClasses[] = { "*",          "AllFilesystemObjects", "Directory", "Drive",
                                              "Folder",     "exefile",              "lnkfile",   "batfile",
                                              "cmdfile",    "txtfile",              "Unknown",   "DesktopBackground",
                                              nullptr };
static const char* const kGuidClasses[] = { "CLSID", "Interface", "TypeLib", "AppID", nullptr };
static const char* const kGroupClasses[] = { "SystemFileAssociations", "Applications", "MIME", nullptr };
static const char* const kSharedSubkeys[] = { "shell",        "shellex",    "ShellNew",          "OpenWithProgids",
                                              "OpenWithList", "DefaultIcon", "PersistentHandler", "UndoClass",
                                              nullptr };

// Below a shared class key: the key itself, its common subkeys and the
// handler lists below "shellex" belong to everyone.
static int IsSharedClassTail(const KwString** tail, int count)
{
    if (count > 0 && Same(*tail[0], "Background")) {
        ++tail;
        --count;
    }
    if (count == 0)
        return 1;
    if (!IsOneOf(*tail[0], kSharedSubkeys))
        return 0;
    return count == 1 || (count == 2 && Same(*tail[0], "shellex"));
}

static int IsSharedClassKey(const KwString** names, int count)
{
    if (count == 0)
        return 1;
    const KwString& first = *names[0];
    if (IsOneOf(first, kGuidClasses))
        return count == 1;
    if (IsOneOf(first, kGroupClasses))
        return count == 1 || IsSharedClassTail(names + 2, count - 2);
    if (first.GetLength() > 0 && first.GetText()[0] == '.')
        return IsSharedClassTail(names + 1, count - 1);
    if (IsOneOf(first, kSharedClasses))
        return IsSharedClassTail(names + 1, count - 1);
    return 0;
}

// Below SOFTWARE (and Wow6432Node): the vendor keys of the system itself.
static int IsSharedSoftwareKey(const KwString** names, int count)
{
    if (count == 0)
        return 1;
    if (Same(*names[0], "Classes"))
        return IsSharedClassKey(names + 1, count - 1);
    if (Same(*names[0], "Policies"))
        return count <= 3;
    if (!Same(*names[0], "Microsoft"))
        return 0;
    if (count <= 2)
        return 1;
    if (!Same(*names[1], "Windows") && !Same(*names[1], "Windows NT"))
        return 0;
    if (count <= 4 || !Same(*names[2], "CurrentVersion"))
        return count <= 4;
    // CurrentVersion\Explorer\..., CurrentVersion\Shell Extensions\...
    return count == 5 && (Same(*names[3], "Explorer") || Same(*names[3], "Shell Extensions"));
}

static int IsSharedKey(const KwString& key)
{
    KeyNames list;
    if (!SplitKey(key, &list))
        return 1;
    const int capacity = 64;
    const KwString* names[capacity];
    int count = NamesFrom(list, 0, names, capacity);
    const KwString& hive = *names[0];
    if (Same(hive, "HKEY_CLASSES_ROOT"))
        return IsSharedClassKey(names + 1, count - 1);
    int skip = Same(hive, "HKEY_USERS") ? 2 : 1;
    if (count <= skip + 1)
        return 1;
    const KwString** rest = names + skip;
    int restCount = count - skip;
    if (Same(*rest[0], "SOFTWARE")) {
        if (restCount > 1 && Same(*rest[1], "Wow6432Node"))
            return IsSharedSoftwareKey(rest + 2, restCount - 2);
        return IsSharedSoftwareKey(rest + 1, restCount - 1);
    }
    if (Same(*rest[0], "SYSTEM"))
        return restCount <= 3;
    return restCount <= 2;
}

// A maker's key right below SOFTWARE (HKEY_USERS: below the user's
// SOFTWARE), which the maker's other products may share.
static int IsVendorKey(const KwString& key)
{
    KeyNames list;
    if (!SplitKey(key, &list))
        return 0;
    const int capacity = 6;
    const KwString* names[capacity];
    int count = NamesFrom(list, 0, names, capacity);
    int at = Same(*names[0], "HKEY_USERS") ? 2 : 1;
    if (Same(*names[0], "HKEY_CLASSES_ROOT") || count <= at || !Same(*names[at], "SOFTWARE"))
        return 0;
    ++at;
    if (count > at && Same(*names[at], "Wow6432Node"))
        ++at;
    return list.GetCount() == at + 1;
}

// A maker's key that holds another key of the script is a shared container:
// only the product's own keys below it go.
static int IsKeyBelow(const KwString& path, const KwString& key)
{
    int length = key.GetLength();
    return path.GetLength() > length + 1 && path.GetText()[length] == '\\'
           && UninstallPath::SamePath(KwString(path.GetText(), length), key);
}

static void MarkSharedVendorKeys(TKwList<SCRIPTKEY>* keys)
{
    // A second list of the same keys, so that two walks can run at once.
    TKwList<const KwString*> paths;
    for (int more = keys->MoveFirst(); more; more = keys->MoveNext())
        paths.AddTail(&keys->GetAt()->key);
    for (int more = keys->MoveFirst(); more; more = keys->MoveNext()) {
        SCRIPTKEY* vendor = keys->GetAt();
        if (vendor->shared || !IsVendorKey(vendor->key))
            continue;
        for (int other = paths.MoveFirst(); other; other = paths.MoveNext()) {
            if (IsKeyBelow(**paths.GetAt(), vendor->key))
                vendor->shared = 1;
        }
    }
}

static int IsKnownHive(const KwString& key)
{
    static const char* const kHives[] = { "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                                          "HKEY_USERS", "HKEY_CURRENT_CONFIG", nullptr };
    int slash = key.Find('\\');
    return IsOneOf(slash < 0 ? key : KwString(key.GetText(), slash), kHives);
}

static KwString Trimmed(const KwString& text)
{
    KwString out(text);
    out.TrimLeft();
    out.TrimRight();
    return out;
}

// The key named by a section line "[...]"; empty when the line deletes a key
// or names no key of a known hive.
static KwString SectionKey(const KwString& line)
{
    KwString inner = Trimmed(KwString(line.GetText() + 1, line.GetLength() - 2));
    if (inner.GetLength() == 0 || inner.GetText()[0] == '-')
        return KwString();
    while (inner.GetLength() > 0 && inner.GetText()[inner.GetLength() - 1] == '\\')
        inner = KwString(inner.GetText(), inner.GetLength() - 1);
    return IsKnownHive(inner) ? inner : KwString();
}

// The value name token of a value line ("name" with its quotes, or @), and
// whether the line sets data (not "=-"); empty when the line is no value.
static KwString ValueToken(const KwString& line, int* sets)
{
    const char* text = line.GetText();
    int length = line.GetLength();
    int end = 0;
    if (text[0] == '@') {
        end = 1;
    } else {
        int at = 1;
        while (at < length && text[at] != '"')
            at += text[at] == '\\' && at + 1 < length ? 2 : 1;
        if (at >= length)
            return KwString();
        end = at + 1;
    }
    KwString rest = Trimmed(line.Mid(end, -1));
    if (rest.GetLength() == 0 || rest.GetText()[0] != '=')
        return KwString();
    *sets = Trimmed(rest.Mid(1, -1)) != "-";
    return KwString(line.GetText(), end);
}

static SCRIPTKEY* FindKey(TKwList<SCRIPTKEY>& keys, const KwString& key)
{
    for (int more = keys.MoveFirst(); more; more = keys.MoveNext()) {
        if (UninstallPath::SamePath(keys.GetAt()->key, key))
            return keys.GetAt();
    }
    return nullptr;
}

static void AddValue(SCRIPTKEY* key, const KwString& token)
{
    for (int more = key->values.MoveFirst(); more; more = key->values.MoveNext()) {
        if (UninstallPath::SamePath(*key->values.GetAt(), token))
            return;
    }
    key->values.AddTail(token);
}

static int IsHeader(const KwString& line)
{
    return line == "REGEDIT4" || line.Find("Windows Registry Editor Version") == 0;
}

// Reads the script's keys in order; answers the header line to use.
static KwString ReadKeys(const char* script, int length, TKwList<SCRIPTKEY>* keys)
{
    KwString header;
    int sawContent = 0;
    int continued = 0;
    SCRIPTKEY* current = nullptr;
    int start = 0;
    // A UTF-8 byte order mark before the header is not part of it.
    if (length >= 3 && memcmp(script, "\xEF\xBB\xBF", 3) == 0)
        start = 3;
    while (start < length) {
        const void* found = memchr(script + start, '\n', static_cast<size_t>(length - start));
        int end = found ? static_cast<int>(static_cast<const char*>(found) - script) : length;
        KwString line = Trimmed(KwString(script + start, end - start));
        start = end + 1;
        int wasContinued = continued;
        continued = line.GetLength() > 0 && line.GetText()[line.GetLength() - 1] == '\\';
        if (wasContinued || line.GetLength() == 0 || line.GetText()[0] == ';')
            continue;
        if (!sawContent++ && IsHeader(line)) {
            header = line;
            continue;
        }
        if (line.GetText()[0] == '[' && line.GetText()[line.GetLength() - 1] == ']') {
            continued = 0;
            KwString key = SectionKey(line);
            current = key.GetLength() > 0 ? FindKey(*keys, key) : nullptr;
            if (key.GetLength() > 0 && !current) {
                SCRIPTKEY added;
                added.key = key;
                added.shared = IsSharedKey(key);
                if (keys->AddTail(added) && keys->MoveLast())
                    current = keys->GetAt();
            }
            continue;
        }
        int sets = 0;
        KwString token = current && (line.GetText()[0] == '"' || line.GetText()[0] == '@') ? ValueToken(line, &sets)
                                                                                          : KwString();
        if (token.GetLength() > 0 && sets)
            AddValue(current, token);
    }
    return header.GetLength() > 0 ? header : KwString(kDefaultHeader);
}

KwString MakeRegistryDeletionScript(const char* script, int length)
{
    TKwList<SCRIPTKEY> keys;
    KwString header = script && length > 0 ? ReadKeys(script, length, &keys) : KwString(kDefaultHeader);
    MarkSharedVendorKeys(&keys);
    KwString out = header + "\r\n\r\n";
    for (int more = keys.MoveLast(); more; more = keys.MovePrev()) {
        SCRIPTKEY* key = keys.GetAt();
        if (!key->shared) {
            out.Append((KwString("[-") + key->key + "]\r\n\r\n").GetText());
            continue;
        }
        if (key->values.GetCount() == 0)
            continue;
        out.Append((KwString("[") + key->key + "]\r\n").GetText());
        for (int value = key->values.MoveFirst(); value; value = key->values.MoveNext())
            out.Append((*key->values.GetAt() + "=-\r\n").GetText());
        out.Append("\r\n");
    }
    return out;
}

// Keeps one line of a deletion script; current tells whether the section it
// is in may receive value deletions.
static void FilterLine(const KwString& line, int* current, KwString* out)
{
    const char* text = line.GetText();
    int length = line.GetLength();
    if (text[0] == '[' && text[length - 1] == ']') {
        *current = 0;
        int deletes = length > 2 && text[1] == '-';
        KwString key = Trimmed(KwString(text + 1 + deletes, length - 2 - deletes));
        if (!IsKnownHive(key) || key.Find("\\\\") >= 0 || key.GetText()[key.GetLength() - 1] == '\\')
            return;
        if (deletes && IsSharedKey(key))
            return;
        out->Append((KwString(deletes ? "\r\n[-" : "\r\n[") + key + "]\r\n").GetText());
        *current = !deletes;
        return;
    }
    int sets = 1;
    if (*current && (text[0] == '"' || text[0] == '@')) {
        KwString token = ValueToken(line, &sets);
        if (token.GetLength() > 0 && !sets)
            out->Append((token + "=-\r\n").GetText());
    }
}

KwString FilterRegistryDeletionScript(const char* script, int length)
{
    KwString out = KwString(kDefaultHeader) + "\r\n";
    if (!script || length <= 0)
        return out;
    int current = 0;
    int start = 0;
    int first = 1;
    while (start < length) {
        const void* found = memchr(script + start, '\n', static_cast<size_t>(length - start));
        int end = found ? static_cast<int>(static_cast<const char*>(found) - script) : length;
        KwString line = Trimmed(KwString(script + start, end - start));
        start = end + 1;
        if (line.GetLength() == 0 || line.GetText()[0] == ';')
            continue;
        if (first-- > 0 && IsHeader(line)) {
            out = line + "\r\n";
            continue;
        }
        FilterLine(line, &current, &out);
    }
    return out;
}

KwString MakeRegistryDeletionScript(const KwString& script)
{
    return MakeRegistryDeletionScript(script.GetText(), script.GetLength());
}

} // namespace KwSDK
