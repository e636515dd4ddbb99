// Reading install.txt.
#include "InstallLog.h"

#include <cstring>

namespace KwSDK {

// The heading lines before the entries.
static const int kHeadingLines = 6;

InstallLog::InstallLog() {}

void InstallLog::Clear()
{
    m_logPath = "";
    m_uninstallLink = "";
    m_programLink = "";
    m_productMenuFolder = "";
    m_menuFolder = "";
    m_desktopLink = "";
    m_uninstallKey = "";
    m_entries.RemoveAll();
}

// Splits the bytes into lines without their CR LF; a final line end does not
// start another line.
static int SplitLines(const char* bytes, int length, TKwList<KwString>* lines)
{
    int start = 0;
    while (start < length) {
        const void* found = memchr(bytes + start, '\n', static_cast<size_t>(length - start));
        int end = found ? static_cast<int>(static_cast<const char*>(found) - bytes) : length;
        int stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        if (!lines->AddTail(KwString(bytes + start, stop - start)))
            return 0;
        start = end + 1;
    }
    return 1;
}

int InstallLog::Parse(const char* bytes, int length)
{
    Clear();
    if (!bytes || length <= 0 || memchr(bytes, '\0', static_cast<size_t>(length)))
        return 0;
    TKwList<KwString> lines;
    if (!SplitLines(bytes, length, &lines) || lines.GetCount() < kHeadingLines + 1)
        return 0;
    KwString* heading[kHeadingLines] = { &m_logPath,           &m_uninstallLink, &m_programLink,
                                         &m_productMenuFolder, &m_menuFolder,    &m_desktopLink };
    int index = 0;
    int last = lines.GetCount() - 1;
    for (int more = lines.MoveFirst(); more; more = lines.MoveNext(), ++index) {
        const KwString& line = *lines.GetAt();
        if (index < kHeadingLines)
            *heading[index] = line;
        else if (index == last)
            m_uninstallKey = line;
        else if (!m_entries.AddTail(line)) {
            Clear();
            return 0;
        }
    }
    return 1;
}

} // namespace KwSDK
