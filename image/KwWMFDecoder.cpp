// The placeable metafile decoder's portable part: the headers, the natural
// size and loading the records. Drawing lives in the platform files.
#include "KwWMFDecoder.h"

#include "KwStreamReader.h"

#include <new>

namespace KwSDK {

namespace {

const unsigned int kPlaceableKey = 0x9AC6CDD7u;
const int kPlaceableHeaderBytes = 22;
const int kMetaHeaderBytes = 18;
const unsigned int kMinRecordWords = 3;

unsigned int Get16(const unsigned char* p)
{
    return static_cast<unsigned int>(p[0]) | static_cast<unsigned int>(p[1]) << 8;
}

unsigned int Get32(const unsigned char* p)
{
    return Get16(p) | Get16(p + 2) << 16;
}

int Signed16(unsigned int value)
{
    return value >= 0x8000u ? static_cast<int>(value) - 0x10000 : static_cast<int>(value);
}

// Metafile units to pixels at the natural resolution, at least 1.
int ToPixels(int units, int unitsPerInch)
{
    long long pixels = (static_cast<long long>(units) * KW_METAFILE_DPI + unitsPerInch / 2) / unitsPerInch;
    return pixels < 1 ? 1 : static_cast<int>(pixels);
}

} // namespace

KwWMFDecoder::KwWMFDecoder() : m_nLeft(0), m_nTop(0), m_nRight(0), m_nBottom(0), m_nUnitsPerInch(0)
{
    AppendTypeName("KwWMFDecoder");
}

KwWMFDecoder::~KwWMFDecoder()
{
}

void KwWMFDecoder::ResetState()
{
    m_nLeft = m_nTop = m_nRight = m_nBottom = m_nUnitsPerInch = 0;
    IKwCoder::ResetState();
}

int KwWMFDecoder::GetBoxLeft() const { return m_nLeft; }
int KwWMFDecoder::GetBoxTop() const { return m_nTop; }
int KwWMFDecoder::GetBoxRight() const { return m_nRight; }
int KwWMFDecoder::GetBoxBottom() const { return m_nBottom; }
int KwWMFDecoder::GetUnitsPerInch() const { return m_nUnitsPerInch; }

int KwWMFDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned int key = reader.ReadU32();
    reader.Skip(2);  // metafile handle, always 0 in a file
    m_nLeft = Signed16(reader.ReadU16());
    m_nTop = Signed16(reader.ReadU16());
    m_nRight = Signed16(reader.ReadU16());
    m_nBottom = Signed16(reader.ReadU16());
    m_nUnitsPerInch = static_cast<int>(reader.ReadU16());
    reader.Skip(6);  // reserved and checksum, which Windows does not check either
    unsigned int type = reader.ReadU16();
    unsigned int headerWords = reader.ReadU16();
    unsigned int version = reader.ReadU16();
    if (!reader.Ok() || key != kPlaceableKey || (type != 1 && type != 2) || headerWords != 9 ||
        (version != 0x100 && version != 0x300)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    int width = m_nRight - m_nLeft;
    int height = m_nBottom - m_nTop;
    if (width <= 0 || height <= 0 || m_nUnitsPerInch == 0) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    return SetHeaderInfo(ToPixels(width, m_nUnitsPerInch), ToPixels(height, m_nUnitsPerInch),
                         KW_FORMAT_BGRA);
}

KwBuffer* KwWMFDecoder::LoadRecords()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    long long size = reader.GetSize() - kPlaceableHeaderBytes;
    if (size < kMetaHeaderBytes || size > KW_METAFILE_MAX_BYTES || !reader.Seek(kPlaceableHeaderBytes)) {
        Fail(KW_CODER_BAD_DATA);
        return nullptr;
    }
    KwBuffer* records = new (std::nothrow) KwBuffer();
    if (records == nullptr) {
        Fail(KW_CODER_NO_MEMORY);
        return nullptr;
    }
    records->AddRef();
    if (!records->Alloc(static_cast<int>(size)) ||
        !reader.ReadBytes(records->GetPointer(0), static_cast<int>(size))) {
        records->Release();
        Fail(KW_CODER_BAD_DATA);
        return nullptr;
    }
    return records;
}

int KwWMFDecoder::CheckRecords(const unsigned char* data, int size)
{
    if (data == nullptr || size < kMetaHeaderBytes) {
        return 0;
    }
    long long position = static_cast<long long>(Get16(data + 2)) * 2;
    while (position + 6 <= size) {
        unsigned int words = Get32(data + position);
        unsigned int function = Get16(data + position + 4);
        if (words < kMinRecordWords || words > static_cast<unsigned int>((size - position) / 2)) {
            return 0;
        }
        if (function == 0) {
            return 1;
        }
        position += static_cast<long long>(words) * 2;
    }
    return 0;
}

// The records are walked before the picture's memory is taken: a file whose
// records cannot be played costs no pixels.
int KwWMFDecoder::DecodePixels(KwBuffer* pixels)
{
    KwBuffer* records = LoadRecords();
    if (records == nullptr) {
        return 0;
    }
    if (!CheckRecords(records->GetPointer(0), records->GetSize())) {
        records->Release();
        return Fail(KW_CODER_BAD_DATA);
    }
    int ok = AllocPixels(pixels, GetWidth(), GetHeight(), 4) && Render(records, pixels);
    records->Release();
    return ok;
}

} // namespace KwSDK
