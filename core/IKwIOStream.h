// The byte-stream interface with typed little-endian readers and writers.
#ifndef KWSDK_IKWIOSTREAM_H
#define KWSDK_IKWIOSTREAM_H

#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {

// Open modes of a stream.
const int KW_MODE_READ = 0;       // "rb": read an existing file
const int KW_MODE_WRITE = 1;      // "wb": create or truncate, then write
const int KW_MODE_APPEND = 2;     // "ab+": write at the end, read anywhere
const int KW_MODE_UPDATE = 3;     // "rb+": read and write an existing file

// Seek origins.
const int KW_SEEK_SET = 0;
const int KW_SEEK_CUR = 1;
const int KW_SEEK_END = 2;

// The first nine operations are each stream's own; the typed readers and
// writers are built once on Read and Write and are the same for all streams.
// Multi-byte values are little-endian whatever the machine.
class IKwIOStream : public virtual KwObject {
public:
    IKwIOStream();
    ~IKwIOStream() override;

    virtual int SetMode(int mode);
    // Bytes from the position to the end; -1 at the end or when unknown.
    virtual int Available();
    virtual int Open();
    virtual int Close();
    // Answers the number of bytes read (0 at the end), or -1 on failure.
    virtual int Read(void* buffer, int count);
    // Answers the number of bytes written, or -1 on failure.
    virtual int Write(const void* data, int count);
    // origin is KW_SEEK_SET, KW_SEEK_CUR or KW_SEEK_END; 1 on success.
    virtual int Seek(int offset, int origin);
    virtual int GetPosition();
    virtual int Flush();

    // Readers answer 0 (0.0, empty text) when the stream ends early; writers
    // answer 1 only when every byte was written.
    virtual unsigned char ReadByte();
    virtual int WriteByte(unsigned char value);
    virtual int ReadInt();
    virtual int WriteInt(int value);
    virtual int ReadLong();
    virtual int WriteLong(int value);
    // Two bytes, answered zero-extended (0 to 65535).
    virtual int ReadShort();
    virtual int WriteShort(int value);
    virtual double ReadDouble();
    virtual int WriteDouble(double value);
    virtual float ReadFloat();
    virtual int WriteFloat(float value);
    virtual unsigned int ReadUInt();
    virtual int WriteUInt(unsigned int value);
    // Reads up to and including a zero byte and answers the text before it;
    // empty when the stream ends or fails before the zero byte.
    virtual KwString ReadString();
    // Writes the text and one zero byte.
    virtual int WriteString(const KwString& text);

    int GetMode() const;

protected:
    IKwIOStream(const IKwIOStream& other);
    IKwIOStream& operator=(const IKwIOStream& other);

    int m_nMode;

private:
    int ReadExact(unsigned char* bytes, int count);
    int WriteExact(const unsigned char* bytes, int count);
};

} // namespace KwSDK

#endif
