// Reading the registry script and filling the install folder into it.
#include "SetupRegistryScript.h"

#include <cstdlib>

namespace KwSDK {

KwString EscapeRegistryPath(const KwString& folder)
{
    // Replace never searches inside what it has inserted, so one pass
    // doubles every backslash exactly once.
    KwString escaped(folder);
    escaped.Replace("\\", "\\\\");
    return escaped;
}

// Counts the bytes up to and including the next line feed, or to the end.
static int MeasureLine(IKwIOStream* stream)
{
    int start = stream->GetPosition();
    unsigned char byte = 0;
    while (stream->Read(&byte, 1) == 1) {
        if (byte == '\n')
            break;
    }
    int end = stream->GetPosition();
    return start < 0 || end < start ? -1 : end - start;
}

int ReadScriptLine(IKwIOStream* stream, KwString& line)
{
    if (!stream)
        return 0;
    int start = stream->GetPosition();
    int length = MeasureLine(stream);
    // An empty line can only mean the end: answering it would never advance.
    if (length <= 0)
        return 0;
    char* buffer = static_cast<char*>(malloc(static_cast<size_t>(length) + 1));
    if (!buffer)
        return 0;
    int read = -1;
    if (stream->Seek(start, KW_SEEK_SET))
        read = stream->Read(buffer, length);
    int ok = read == length && line.Assign(buffer, length);
    free(buffer);
    return ok ? 1 : 0;
}

int ExpandRegistryLines(IKwIOStream* source, IKwIOStream* expanded, const KwString& placeholder,
                        const KwString& targetFolder)
{
    KwString escapedRoot = EscapeRegistryPath(targetFolder);
    KwString line;
    while (source->Available() != -1) {
        if (!ReadScriptLine(source, line))
            break;
        if (placeholder.GetLength() > 0 && !line.Replace(placeholder.GetText(), escapedRoot.GetText()))
            return 0;
        if (line.GetLength() > 0 && expanded->Write(line.GetText(), line.GetLength()) != line.GetLength())
            return 0;
    }
    return 1;
}

} // namespace KwSDK
