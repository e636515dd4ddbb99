// Key=value text files loaded into, and saved from, a string-to-string map.
#ifndef KWSDK_KWPROPERTIES_H
#define KWSDK_KWPROPERTIES_H

#include "IKwIOStream.h"
#include "KwParam.h"
#include "KwString.h"

namespace KwSDK {

// File format: lines ended by a line feed (a carriage return before it is
// allowed, the last line may lack it). Each line is trimmed of tabs, spaces,
// carriage returns and line feeds; empty lines and lines starting with "#"
// are skipped; the rest split at the first "=" into key and value, taken as
// they are. A line without "=" is a key with an empty value. A repeated key
// keeps its last value. Bytes are stored as read: no escapes, no quoting, no
// encoding conversion. Saving writes "key=value\r\n" in ascending byte order
// of the keys.
class KwProperties : public KwParam {
public:
    KwProperties();
    KwProperties(const KwProperties& other);
    KwProperties& operator=(const KwProperties& other);
    ~KwProperties() override;

    // Empties the map and reads the whole stream from its start; 0 for a null
    // stream, else 1.
    virtual int Load(IKwIOStream* stream);
    // Load from a file opened for reading; 0 when it cannot be opened.
    virtual int LoadFile(const KwString& path);
    // Writes every entry in one Write; 1 when every byte was written.
    virtual int Save(IKwIOStream* stream);
    // Save into a file created or truncated; 0 when it cannot be opened.
    virtual int SaveFile(const KwString& path);
    // Reads the next line, line feed and carriage return included, into line.
    // 0 at the end of the stream, or when a seek or read fails or memory runs out.
    virtual int ReadLine(IKwIOStream* stream, KwString& line);

private:
    void ApplyLine(KwString& line);
};

} // namespace KwSDK

#endif
