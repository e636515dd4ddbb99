// The stream base: default answers and the shared little-endian typed
// readers and writers built on Read and Write.
#include "IKwIOStream.h"

#include <cstring>

namespace KwSDK {

IKwIOStream::IKwIOStream() : m_nMode(KW_MODE_UPDATE)
{
    AppendTypeName("IKwIOStream");
}

IKwIOStream::IKwIOStream(const IKwIOStream& other) : KwObject(other), m_nMode(other.m_nMode)
{
    AppendTypeName("IKwIOStream");
}

IKwIOStream& IKwIOStream::operator=(const IKwIOStream& other)
{
    m_nMode = other.m_nMode;
    return *this;
}

IKwIOStream::~IKwIOStream()
{
}

int IKwIOStream::SetMode(int mode)
{
    m_nMode = mode;
    return 1;
}

int IKwIOStream::Available()
{
    return -1;
}

int IKwIOStream::Open()
{
    return 0;
}

int IKwIOStream::Close()
{
    return 0;
}

int IKwIOStream::Read(void*, int)
{
    return -1;
}

int IKwIOStream::Write(const void*, int)
{
    return -1;
}

int IKwIOStream::Seek(int, int)
{
    return 0;
}

int IKwIOStream::GetPosition()
{
    return -1;
}

int IKwIOStream::Flush()
{
    return 0;
}

int IKwIOStream::GetMode() const
{
    return m_nMode;
}

// Reads exactly count bytes, looping over short reads; 0 when the stream
// ends or fails first. A read answering 0 bytes means the end, so the loop
// always finishes.
int IKwIOStream::ReadExact(unsigned char* bytes, int count)
{
    int done = 0;
    while (done < count) {
        int got = Read(bytes + done, count - done);
        if (got <= 0)
            return 0;
        done += got;
    }
    return 1;
}

int IKwIOStream::WriteExact(const unsigned char* bytes, int count)
{
    int done = 0;
    while (done < count) {
        int put = Write(bytes + done, count - done);
        if (put <= 0)
            return 0;
        done += put;
    }
    return 1;
}

unsigned char IKwIOStream::ReadByte()
{
    unsigned char value = 0;
    return ReadExact(&value, 1) ? value : 0;
}

int IKwIOStream::WriteByte(unsigned char value)
{
    return WriteExact(&value, 1);
}

// Little-endian helpers: the byte order is fixed, whatever the machine's.
static unsigned int DecodeUInt(const unsigned char* bytes)
{
    return static_cast<unsigned int>(bytes[0]) | static_cast<unsigned int>(bytes[1]) << 8 |
           static_cast<unsigned int>(bytes[2]) << 16 | static_cast<unsigned int>(bytes[3]) << 24;
}

static void EncodeUInt(unsigned int value, unsigned char* bytes)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

unsigned int IKwIOStream::ReadUInt()
{
    unsigned char bytes[4];
    return ReadExact(bytes, 4) ? DecodeUInt(bytes) : 0;
}

int IKwIOStream::WriteUInt(unsigned int value)
{
    unsigned char bytes[4];
    EncodeUInt(value, bytes);
    return WriteExact(bytes, 4);
}

int IKwIOStream::ReadInt()
{
    return static_cast<int>(ReadUInt());
}

int IKwIOStream::WriteInt(int value)
{
    return WriteUInt(static_cast<unsigned int>(value));
}

int IKwIOStream::ReadLong()
{
    return ReadInt();
}

int IKwIOStream::WriteLong(int value)
{
    return WriteInt(value);
}

int IKwIOStream::ReadShort()
{
    unsigned char bytes[2];
    if (!ReadExact(bytes, 2))
        return 0;
    return bytes[0] | bytes[1] << 8;
}

int IKwIOStream::WriteShort(int value)
{
    unsigned char bytes[2] = {static_cast<unsigned char>(value),
                              static_cast<unsigned char>(value >> 8)};
    return WriteExact(bytes, 2);
}

// Floating-point values travel as their IEEE bit patterns, copied into an
// integer of the same size so the byte order can be fixed.
double IKwIOStream::ReadDouble()
{
    unsigned char bytes[8];
    if (!ReadExact(bytes, 8))
        return 0.0;
    unsigned long long bits = static_cast<unsigned long long>(DecodeUInt(bytes + 4)) << 32 |
                              DecodeUInt(bytes);
    double value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

int IKwIOStream::WriteDouble(double value)
{
    unsigned long long bits;
    memcpy(&bits, &value, sizeof bits);
    unsigned char bytes[8];
    EncodeUInt(static_cast<unsigned int>(bits), bytes);
    EncodeUInt(static_cast<unsigned int>(bits >> 32), bytes + 4);
    return WriteExact(bytes, 8);
}

float IKwIOStream::ReadFloat()
{
    unsigned char bytes[4];
    if (!ReadExact(bytes, 4))
        return 0.0f;
    unsigned int bits = DecodeUInt(bytes);
    float value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

int IKwIOStream::WriteFloat(float value)
{
    unsigned int bits;
    memcpy(&bits, &value, sizeof bits);
    return WriteUInt(bits);
}

// One byte at a time up to the zero byte. Every read either yields a byte or
// ends the loop, so a stream without a zero byte ends it at its end.
KwString IKwIOStream::ReadString()
{
    KwString text;
    char chunk[256];
    int used = 0;
    for (;;) {
        unsigned char byte;
        if (Read(&byte, 1) != 1)
            return KwString();
        if (byte == 0)
            break;
        chunk[used++] = static_cast<char>(byte);
        if (used == static_cast<int>(sizeof chunk) - 1) {
            chunk[used] = 0;
            if (!text.Append(chunk))
                return KwString();
            used = 0;
        }
    }
    chunk[used] = 0;
    if (!text.Append(chunk))
        return KwString();
    return text;
}

int IKwIOStream::WriteString(const KwString& text)
{
    int length = text.GetLength();
    const char* bytes = text.GetText();
    if (length > 0 && !WriteExact(reinterpret_cast<const unsigned char*>(bytes), length))
        return 0;
    return WriteByte(0);
}

} // namespace KwSDK
