// Reading filelink.txt.
#include "FileLinkRecord.h"

#include "UninstallPath.h"

#include <cstring>

namespace KwSDK {

static const int kMaxExtension = 32;
static const int kMaxHandler = 255;

FileLinkRecord::FileLinkRecord() {}

static int IsExtension(const char* text, int length)
{
    if (length < 2 || length > kMaxExtension || text[0] != '.')
        return 0;
    for (int at = 1; at < length; ++at) {
        unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte <= ' ' || byte == '\\' || byte == '=' || byte == '.' || byte == 0x7F)
            return 0;
    }
    return 1;
}

static int IsHandler(const char* text, int length)
{
    if (length < 1 || length > kMaxHandler)
        return 0;
    for (int at = 0; at < length; ++at) {
        unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte < ' ' || byte == 0x7F)
            return 0;
    }
    return 1;
}

int FileLinkRecord::Parse(const char* bytes, int length)
{
    m_entries.RemoveAll();
    if (!bytes || length <= 0)
        return 0;
    int start = 0;
    while (start < length) {
        const void* found = memchr(bytes + start, '\n', static_cast<size_t>(length - start));
        int end = found ? static_cast<int>(static_cast<const char*>(found) - bytes) : length;
        int stop = end > start && bytes[end - 1] == '\r' ? end - 1 : end;
        const char* line = bytes + start;
        const void* equals = memchr(line, '=', static_cast<size_t>(stop - start));
        if (equals) {
            int split = static_cast<int>(static_cast<const char*>(equals) - line);
            int handlerLength = stop - start - split - 1;
            if (IsExtension(line, split) && IsHandler(line + split + 1, handlerLength)) {
                FILELINKENTRY entry;
                entry.extension = KwString(line, split);
                entry.handler = KwString(line + split + 1, handlerLength);
                if (!m_entries.AddTail(entry))
                    break;
            }
        }
        start = end + 1;
    }
    return m_entries.GetCount();
}

KwString FileLinkRecord::GetPreviousHandler(const KwString& extension, const KwString& ownProgId) const
{
    // A walk of its own, so that a caller walking the entries keeps its place.
    TKwList<FILELINKENTRY> entries(m_entries);
    for (int more = entries.MoveFirst(); more; more = entries.MoveNext()) {
        const FILELINKENTRY* entry = entries.GetAt();
        if (UninstallPath::SamePath(entry->extension, extension) && !UninstallPath::SamePath(entry->handler, ownProgId))
            return entry->handler;
    }
    return KwString();
}

} // namespace KwSDK
