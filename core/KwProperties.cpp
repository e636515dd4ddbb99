// Properties files: line rules on load, sorted "key=value" lines on save.
#include "KwProperties.h"

#include "KwFileStream.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace KwSDK {

KwProperties::KwProperties()
{
    AppendTypeName("KwProperties");
}

KwProperties::KwProperties(const KwProperties& other)
    : KwObject(), KwParam(other)
{
    AppendTypeName("KwProperties");
}

KwProperties& KwProperties::operator=(const KwProperties& other)
{
    KwParam::operator=(other);
    return *this;
}

KwProperties::~KwProperties()
{
}

int KwProperties::Load(IKwIOStream* stream)
{
    if (!stream)
        return 0;
    RemoveAll();
    stream->Seek(0, KW_SEEK_SET);
    KwString line;
    while (ReadLine(stream, line))
        ApplyLine(line);
    return 1;
}

// One line of the file: comments and blank lines are skipped, everything else
// becomes an entry that replaces an earlier one with the same key.
void KwProperties::ApplyLine(KwString& line)
{
    line.TrimLeft();
    line.TrimRight();
    const char* text = line.GetText();
    int length = line.GetLength();
    if (!text || length == 0 || text[0] == '#')
        return;
    const char* equals = static_cast<const char*>(memchr(text, '=', static_cast<size_t>(length)));
    if (!equals) {
        SetString(line, KwString(""));
        return;
    }
    int keyLength = static_cast<int>(equals - text);
    SetString(KwString(text, keyLength), KwString(equals + 1, length - keyLength - 1));
}

int KwProperties::LoadFile(const KwString& path)
{
    KwFileStream stream;
    if (!stream.Open(path, KW_MODE_READ))
        return 0;
    int result = Load(&stream);
    stream.Close();
    return result;
}

// Appends bytes at the fill position of a buffer sized in advance.
static char* CopyBytes(char* fill, const KwString& text)
{
    if (text.GetLength() > 0)
        memcpy(fill, text.GetText(), static_cast<size_t>(text.GetLength()));
    return fill + text.GetLength();
}

int KwProperties::Save(IKwIOStream* stream)
{
    if (!stream)
        return 0;
    // Each entry takes its key, "=", its value and "\r\n".
    long long total = 0;
    for (int more = MoveFirst(); more; more = MoveNext())
        total += GetKey().GetLength() + GetValue().GetLength() + 3LL;
    if (total == 0)
        return 1;
    if (total > INT_MAX)
        return 0;
    char* text = static_cast<char*>(malloc(static_cast<size_t>(total)));
    if (!text)
        return 0;
    char* fill = text;
    for (int more = MoveFirst(); more; more = MoveNext()) {
        fill = CopyBytes(fill, GetKey());
        *fill++ = '=';
        fill = CopyBytes(fill, GetValue());
        *fill++ = '\r';
        *fill++ = '\n';
    }
    int written = stream->Write(text, static_cast<int>(total));
    free(text);
    return written == total ? 1 : 0;
}

int KwProperties::SaveFile(const KwString& path)
{
    KwFileStream stream;
    if (!stream.Open(path, KW_MODE_WRITE))
        return 0;
    int result = Save(&stream);
    // Buffered bytes reach the file only on close; a failed close lost them.
    if (!stream.Close())
        return 0;
    return result;
}

int KwProperties::ReadLine(IKwIOStream* stream, KwString& line)
{
    if (!stream || stream->Available() == -1)
        return 0;
    int start = stream->GetPosition();
    // Measure the line a byte at a time, then read it again in one piece.
    int count = 0;
    unsigned char byte = 0;
    while (count < INT_MAX && stream->Read(&byte, 1) == 1) {
        ++count;
        if (byte == '\n')
            break;
    }
    // Nothing readable although the stream claimed more bytes: stopping here
    // keeps Load from asking for the same line forever.
    if (count == 0 || start < 0 || !stream->Seek(start, KW_SEEK_SET))
        return 0;
    char* bytes = static_cast<char*>(malloc(static_cast<size_t>(count)));
    if (!bytes)
        return 0;
    int read = stream->Read(bytes, count);
    int stored = read == count && line.Assign(bytes, count);
    free(bytes);
    return stored;
}

} // namespace KwSDK
