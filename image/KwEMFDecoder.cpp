// The enhanced metafile decoder's portable part: the header record, the
// natural size and loading the file. Drawing lives in the platform files.
#include "KwEMFDecoder.h"

#include "KwStreamReader.h"
#include "KwWMFDecoder.h"

#include <new>

namespace KwSDK {

namespace {

const unsigned int kHeaderRecord = 1;
const unsigned int kSignature = 0x464D4520u;  // " EMF"
const unsigned int kMinHeaderBytes = 88;
const unsigned int kEndRecord = 14;
// A reference device larger than this is not a real one: its size is
// ignored like a missing one, which also keeps the arithmetic in range.
const int kMaxDeviceUnits = 0x100000;

unsigned int Get32(const unsigned char* p)
{
    return static_cast<unsigned int>(p[0]) | static_cast<unsigned int>(p[1]) << 8 |
           static_cast<unsigned int>(p[2]) << 16 | static_cast<unsigned int>(p[3]) << 24;
}

struct EmfHeader {
    int bounds[4];
    int frame[4];
    int device[2];
    int millimetres[2];
};

// A length of the frame (hundredths of a millimetre, at most 2^32) in
// pixels of a device that has `pixels` pixels over `millimetres`
// millimetres (both at most kMaxDeviceUnits, so nothing overflows).
long long FrameToPixels(long long length, int pixels, int millimetres)
{
    return (length * pixels + millimetres * 50LL) / (millimetres * 100LL);
}

// Frame first; the bounds (inclusive device pixels) when the reference
// device is unknown.
int NaturalSize(const EmfHeader& header, int axis, int* size)
{
    long long length = 0;
    // The file's values are subtracted as 64-bit numbers: a frame of
    // {-1, ..., INT_MAX} must not overflow.
    if (header.device[axis] > 0 && header.device[axis] <= kMaxDeviceUnits &&
        header.millimetres[axis] > 0 && header.millimetres[axis] <= kMaxDeviceUnits) {
        length = FrameToPixels(static_cast<long long>(header.frame[axis + 2]) - header.frame[axis],
                               header.device[axis], header.millimetres[axis]);
    } else {
        length = static_cast<long long>(header.bounds[axis + 2]) - header.bounds[axis] + 1;
    }
    if (length < 1 || length > KW_IMAGE_MAX_SIDE) {
        return 0;
    }
    *size = static_cast<int>(length);
    return 1;
}

} // namespace

KwEMFDecoder::KwEMFDecoder() : m_nFileBytes(0)
{
    AppendTypeName("KwEMFDecoder");
    m_nFrame[0] = m_nFrame[1] = m_nFrame[2] = m_nFrame[3] = 0;
}

KwEMFDecoder::~KwEMFDecoder()
{
}

void KwEMFDecoder::ResetState()
{
    m_nFrame[0] = m_nFrame[1] = m_nFrame[2] = m_nFrame[3] = 0;
    m_nFileBytes = 0;
    IKwCoder::ResetState();
}

int KwEMFDecoder::GetFrameLeft() const { return m_nFrame[0]; }
int KwEMFDecoder::GetFrameTop() const { return m_nFrame[1]; }
int KwEMFDecoder::GetFrameRight() const { return m_nFrame[2]; }
int KwEMFDecoder::GetFrameBottom() const { return m_nFrame[3]; }

int KwEMFDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    EmfHeader header;
    unsigned int type = reader.ReadU32();
    unsigned int recordBytes = reader.ReadU32();
    for (int i = 0; i < 4; ++i) {
        header.bounds[i] = static_cast<int>(reader.ReadU32());
    }
    for (int i = 0; i < 4; ++i) {
        header.frame[i] = static_cast<int>(reader.ReadU32());
    }
    unsigned int signature = reader.ReadU32();
    reader.Skip(4);  // version
    unsigned int fileBytes = reader.ReadU32();
    reader.Skip(20);  // records, handles, reserved, description, palette entries
    header.device[0] = static_cast<int>(reader.ReadU32());
    header.device[1] = static_cast<int>(reader.ReadU32());
    header.millimetres[0] = static_cast<int>(reader.ReadU32());
    header.millimetres[1] = static_cast<int>(reader.ReadU32());
    int width = 0;
    int height = 0;
    if (!reader.Ok() || type != kHeaderRecord || signature != kSignature || recordBytes < kMinHeaderBytes ||
        fileBytes < recordBytes || fileBytes > static_cast<unsigned int>(KW_METAFILE_MAX_BYTES) ||
        !NaturalSize(header, 0, &width) || !NaturalSize(header, 1, &height)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    for (int i = 0; i < 4; ++i) {
        m_nFrame[i] = header.frame[i];
    }
    m_nFileBytes = static_cast<int>(fileBytes);
    return SetHeaderInfo(width, height, KW_FORMAT_RGB);
}

// The header's byte count must all be there; bytes after it are ignored.
KwBuffer* KwEMFDecoder::LoadFile()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    if (!reader.CanHold(m_nFileBytes)) {
        Fail(KW_CODER_BAD_DATA);
        return nullptr;
    }
    KwBuffer* file = new (std::nothrow) KwBuffer();
    if (file == nullptr) {
        Fail(KW_CODER_NO_MEMORY);
        return nullptr;
    }
    file->AddRef();
    if (!file->Alloc(m_nFileBytes) || !reader.ReadBytes(file->GetPointer(0), m_nFileBytes)) {
        file->Release();
        Fail(KW_CODER_BAD_DATA);
        return nullptr;
    }
    return file;
}

int KwEMFDecoder::CheckRecords(const unsigned char* data, int size)
{
    if (data == nullptr || size < static_cast<int>(kMinHeaderBytes) || Get32(data) != kHeaderRecord) {
        return 0;
    }
    long long position = 0;
    while (position + 8 <= size) {
        unsigned int type = Get32(data + position);
        unsigned int bytes = Get32(data + position + 4);
        if (bytes < 8 || bytes % 4 != 0 || bytes > static_cast<unsigned int>(size - position)) {
            return 0;
        }
        if (type == kEndRecord) {
            return 1;
        }
        position += bytes;
    }
    return 0;
}

// The records are walked before the picture's memory is taken: a file whose
// records cannot be played costs no pixels.
int KwEMFDecoder::DecodePixels(KwBuffer* pixels)
{
    KwBuffer* file = LoadFile();
    if (file == nullptr) {
        return 0;
    }
    if (!CheckRecords(file->GetPointer(0), file->GetSize())) {
        file->Release();
        return Fail(KW_CODER_BAD_DATA);
    }
    int ok = AllocPixels(pixels, GetWidth(), GetHeight(), 3) && Render(file, pixels);
    file->Release();
    return ok;
}

} // namespace KwSDK
