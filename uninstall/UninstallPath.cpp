// Path and key rules of the uninstaller.
#include "UninstallPath.h"

#include <cstring>
#include <new>

namespace KwSDK {

static const char* const kUninstallBranch = "\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

int UninstallPath::IsLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

KwString UninstallPath::Normalize(const KwString& path)
{
    const char* text = path.GetText();
    int length = path.GetLength();
    KwString out;
    if (!text || length <= 0)
        return out;
    char* buffer = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (!buffer)
        return out;
    int used = 0;
    for (int at = 0; at < length; ++at) {
        unsigned char byte = static_cast<unsigned char>(text[at]);
        if (IsLeadByte(byte) && at + 1 < length) {
            buffer[used++] = text[at++];
            buffer[used++] = text[at];
            continue;
        }
        char ch = byte == '/' ? '\\' : text[at];
        if (ch == '\\' && used > 0 && buffer[used - 1] == '\\')
            continue;
        buffer[used++] = ch;
    }
    // A trailing backslash goes, unless it is the lead byte's partner.
    if (used > 0 && buffer[used - 1] == '\\' && !(used >= 2 && IsLeadByte(static_cast<unsigned char>(buffer[used - 2]))))
        --used;
    out.Assign(buffer, used);
    delete[] buffer;
    return out;
}

// One name between backslashes: not "." or "..", no trailing dot or blank,
// no byte the file system treats specially.
static int IsPlainName(const char* name, int length)
{
    if (length <= 0)
        return 0;
    if (name[length - 1] == '.' || name[length - 1] == ' ')
        return 0;
    for (int at = 0; at < length; ++at) {
        unsigned char byte = static_cast<unsigned char>(name[at]);
        if (UninstallPath::IsLeadByte(byte) && at + 1 < length) {
            ++at;
            continue;
        }
        if (byte < 0x20 || strchr("*?\"<>|:", byte))
            return 0;
    }
    return 1;
}

int UninstallPath::IsPlainPath(const KwString& path)
{
    const char* text = path.GetText();
    int length = path.GetLength();
    if (!text || length < 4)
        return 0;
    char drive = text[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) || text[1] != ':' || text[2] != '\\')
        return 0;
    int start = 3;
    for (int at = 3; at <= length; ++at) {
        if (at < length && IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < length) {
            ++at;
            continue;
        }
        if (at == length || text[at] == '\\') {
            if (!IsPlainName(text + start, at - start))
                return 0;
            start = at + 1;
        }
    }
    return 1;
}

// Compares count bytes of two texts the way SamePath does.
static int SameBytes(const char* first, const char* second, int count)
{
    for (int at = 0; at < count; ++at) {
        unsigned char a = static_cast<unsigned char>(first[at]);
        unsigned char b = static_cast<unsigned char>(second[at]);
        if (UninstallPath::IsLeadByte(a)) {
            if (a != b || (at + 1 < count && first[at + 1] != second[at + 1]))
                return 0;
            ++at;
            continue;
        }
        if (a >= 'A' && a <= 'Z')
            a = static_cast<unsigned char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<unsigned char>(b - 'A' + 'a');
        if (a != b)
            return 0;
    }
    return 1;
}

int UninstallPath::SamePath(const KwString& first, const KwString& second)
{
    if (first.GetLength() != second.GetLength())
        return 0;
    if (first.GetLength() == 0)
        return 1;
    return SameBytes(first.GetText(), second.GetText(), first.GetLength());
}

int UninstallPath::IsBelow(const KwString& path, const KwString& folder)
{
    if (!IsPlainPath(path) || !IsPlainPath(folder))
        return 0;
    int length = folder.GetLength();
    if (path.GetLength() <= length + 1 || path.GetText()[length] != '\\')
        return 0;
    // The folder must end on a character boundary of the path too: a lead
    // byte whose trail byte is a backslash would otherwise fake a match.
    const char* text = path.GetText();
    int at = 0;
    while (at < length)
        at += IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    if (at != length)
        return 0;
    return SameBytes(text, folder.GetText(), length);
}

int UninstallPath::IsProductEntry(const KwString& path, const KwString& productFolder)
{
    if (!IsProductFolder(productFolder) || !IsPlainPath(path))
        return 0;
    return SamePath(path, productFolder) || IsBelow(path, productFolder);
}

int UninstallPath::IsLinkPath(const KwString& path)
{
    int length = path.GetLength();
    if (!IsPlainPath(path) || length < 8)
        return 0;
    return SamePath(path.Mid(length - 4, -1), ".lnk") && Parent(path).GetLength() > 2;
}

int UninstallPath::IsMenuFolderPair(const KwString& productMenuFolder, const KwString& menuFolder)
{
    return IsProductFolder(menuFolder) && IsBelow(productMenuFolder, menuFolder);
}

int UninstallPath::IsProductFolder(const KwString& folder)
{
    // "C:\x" at the least: a drive root would put the whole drive inside.
    return IsPlainPath(folder) && folder.GetLength() >= 4;
}

int UninstallPath::IsUninstallKey(const KwString& key)
{
    static const char* const kRoots[] = { "HKEY_LOCAL_MACHINE\\SOFTWARE", "HKEY_CURRENT_USER\\SOFTWARE",
                                          "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node" };
    for (const char* root : kRoots) {
        KwString prefix = KwString(root) + kUninstallBranch;
        int length = prefix.GetLength();
        if (key.GetLength() <= length || !SameBytes(key.GetText(), prefix.GetText(), length))
            continue;
        KwString name = key.Mid(length, -1);
        if (name.Find('\\') < 0 && IsPlainName(name.GetText(), name.GetLength()))
            return 1;
    }
    return 0;
}

// The position of the last backslash that is a character of its own (a GBK
// trail byte may have the same value); -1 when there is none.
static int LastSeparator(const KwString& path)
{
    const char* text = path.GetText();
    int last = -1;
    for (int at = 0; at < path.GetLength(); ++at) {
        if (UninstallPath::IsLeadByte(static_cast<unsigned char>(text[at])))
            ++at;
        else if (text[at] == '\\')
            last = at;
    }
    return last;
}

KwString UninstallPath::LastName(const KwString& path)
{
    int slash = LastSeparator(path);
    return slash < 0 ? path : path.Mid(slash + 1, -1);
}

KwString UninstallPath::Parent(const KwString& path)
{
    int slash = LastSeparator(path);
    return slash < 0 ? KwString() : KwString(path.GetText(), slash);
}

} // namespace KwSDK
