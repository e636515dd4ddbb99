// Filling the install folder into the registry script and importing it.
#include "SetupRegistry.h"

#include "KwFileStream.h"
#include "SetupConfig.h"
#include "SetupProcesses.h"

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

// Copies every line of source into expanded with the placeholder replaced.
static int CopyExpandedLines(IKwIOStream* source, IKwIOStream* expanded,
                             const KwString& placeholder, const KwString& escapedRoot)
{
    KwString line;
    while (source->Available() != -1) {
        if (!ReadScriptLine(source, line))
            break;
        // An empty placeholder (key missing) replaces nothing.
        if (placeholder.GetLength() > 0 && !line.Replace(placeholder.GetText(), escapedRoot.GetText()))
            return 0;
        if (line.GetLength() > 0 && expanded->Write(line.GetText(), line.GetLength()) != line.GetLength())
            return 0;
    }
    return 1;
}

int ExpandRegistryScript(const KwString& targetFolder, const KwString& sourcePath,
                         const KwString& expandedPath)
{
    KwString escapedRoot = EscapeRegistryPath(targetFolder);
    KwString placeholder = GetConfigString("regist_root");
    KwFileStream source;
    if (!source.Open(sourcePath, KW_MODE_READ))
        return 0;
    KwFileStream expanded;
    if (!expanded.Open(expandedPath, KW_MODE_WRITE)) {
        source.Close();
        return 0;
    }
    int copied = CopyExpandedLines(&source, &expanded, placeholder, escapedRoot);
    source.Close();
    int flushed = expanded.Flush();
    int closed = expanded.Close();
    return copied && flushed && closed ? 1 : 0;
}

int ImportRegistryScript(const KwString& targetFolder, const KwString& suffix)
{
    KwString folder = GetProgramFolder();
    KwString source = folder + "setup" + suffix + ".reg";
    KwString expanded = folder + "setup_temp" + suffix + ".reg";
    // A script that could not be expanded completely is not imported: a
    // missing file would leave the editor an empty argument (it then opens
    // its window), and a cut one, or one left from an earlier run, would
    // write entries that do not belong to this install.
    if (!ExpandRegistryScript(targetFolder, source, expanded))
        return 0;
    KwString shortPath = ShortPathOf(expanded);
    if (shortPath.GetLength() == 0)
        return 0;
    return RunCommand(KwString("regedit.exe /s ") + shortPath);
}

} // namespace KwSDK
