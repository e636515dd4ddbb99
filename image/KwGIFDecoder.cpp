// GIF decoding: logical screen, colour tables, extensions and LZW-coded
// frames, each delivered as its own B, G, R, A picture.
#include "KwGIFDecoder.h"

#include "KwImageParams.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace KwSDK {

namespace {

const int kMaxCodes = 4096;
const int kMaxCodeBits = 12;
const int kTableBytes = 768;
// LZW strings are copied in steps of this many bytes; the index buffer has
// one step of slack so the last step of a string may run past its end.
const int kCopyStep = 8;
const int kCopySlack = kCopyStep;
// First allocation for gathering one image's data: the data cannot be
// longer than what is left of the file, but many small frames of a large
// file should not each reserve the whole rest of it.
const int kGatherStart = 1 << 20;

// Enlarges a block holding used bytes so that extra more fit; frees it and
// answers null when that is impossible.
unsigned char* Grow(unsigned char* data, int* capacity, int used, int extra)
{
    const long long kLargest = 0x7FFFFFFF;
    long long needed = static_cast<long long>(used) + extra;
    long long larger = static_cast<long long>(*capacity) * 2;
    larger = larger < needed ? needed : (larger > kLargest ? kLargest : larger);
    void* moved = needed <= kLargest ? std::realloc(data, static_cast<size_t>(larger)) : nullptr;
    if (moved == nullptr) {
        std::free(data);
        return nullptr;
    }
    *capacity = static_cast<int>(larger);
    return static_cast<unsigned char*>(moved);
}

// Reads the data sub-blocks of one image up to their terminator and joins
// their contents into one block of *size bytes, so the decompressor works on
// plain memory instead of calling into the reader for every byte. Null when
// the file is cut inside the blocks or memory runs out; the caller frees it.
unsigned char* ReadSubBlocks(KwStreamReader& reader, int* size)
{
    long long remaining = reader.Remaining();
    int capacity = remaining >= 0 && remaining < kGatherStart ? static_cast<int>(remaining) + 1
                                                              : kGatherStart;
    unsigned char* data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(capacity)));
    int used = 0;
    while (data != nullptr) {
        int length = static_cast<int>(reader.ReadU8());
        if (!reader.Ok() || length == 0) {
            break;
        }
        if (length > capacity - used) {
            data = Grow(data, &capacity, used, length);
        }
        if (data != nullptr && !reader.ReadBytes(data + used, length)) {
            break;
        }
        used += length;
    }
    if (data == nullptr || !reader.Ok()) {
        std::free(data);
        return nullptr;
    }
    *size = used;
    return data;
}

// Reads variable-width LZW codes, least significant bit first, from the
// gathered image data.
class CodeReader {
public:
    CodeReader(const unsigned char* data, int size)
        : m_pData(data), m_nSize(size), m_nPos(0), m_nBits(0), m_nBitCount(0)
    {
    }

    // Next code of the given width; -1 when the data ended.
    int Next(int width)
    {
        while (m_nBitCount < width) {
            if (m_nPos == m_nSize) {
                return -1;
            }
            m_nBits |= static_cast<unsigned int>(m_pData[m_nPos++]) << m_nBitCount;
            m_nBitCount += 8;
        }
        int code = static_cast<int>(m_nBits & ((1u << width) - 1));
        m_nBits >>= width;
        m_nBitCount -= width;
        return code;
    }

private:
    const unsigned char* m_pData;
    int m_nSize;
    int m_nPos;
    unsigned int m_nBits;
    int m_nBitCount;
};

// The string table of the decompressor. Every string a code stands for has
// already been written to the output, so an entry records where and how
// long instead of a prefix chain: decoding a code is a forward copy rather
// than a walk through the table in reverse.
struct LZWTABLE {
    int start[kMaxCodes];
    int length[kMaxCodes];
};

// Writes the string of code at out[produced], at most room bytes; answers
// the count written. A code below clear is the byte itself. The output must
// have kCopySlack bytes beyond the count the caller asked for.
int EmitCode(const LZWTABLE& table, int code, int clear, unsigned char* out, int produced,
             int room)
{
    if (code < clear) {
        out[produced] = static_cast<unsigned char>(code);
        return 1;
    }
    int length = table.length[code] < room ? table.length[code] : room;
    const unsigned char* from = out + table.start[code];
    unsigned char* to = out + produced;
    if (to - from >= kCopyStep) {
        // Whole steps may run past the string into the slack or into bytes
        // later codes overwrite; any byte of the string a step reads was
        // either there before or written by an earlier step.
        for (int i = 0; i < length; i += kCopyStep) {
            std::memcpy(to + i, from + i, kCopyStep);
        }
        return length;
    }
    // A string that starts less than a step back ends on bytes this copy
    // writes itself (a code defined by this very step is the previous
    // string plus its own first byte), so it goes one byte at a time.
    for (int i = 0; i < length; ++i) {
        to[i] = from[i];
    }
    return length;
}

// Decodes up to count colour indices from the gathered image data; answers
// how many were produced, or -1 when memory runs out. Invalid codes end the
// image early, leaving the remaining pixels unset.
int DecodeLzw(const unsigned char* data, int size, int minSize, unsigned char* out, int count)
{
    LZWTABLE* table = new (std::nothrow) LZWTABLE;
    if (table == nullptr) {
        return -1;
    }
    CodeReader codes(data, size);
    const int clear = 1 << minSize;
    const int end = clear + 1;
    int width = minSize + 1;
    int next = clear + 2;
    int old = -1;
    int oldStart = 0;
    int produced = 0;
    while (produced < count) {
        int code = codes.Next(width);
        if (code < 0 || code == end) {
            break;
        }
        if (code == clear) {
            width = minSize + 1;
            next = clear + 2;
            old = -1;
            continue;
        }
        // After a clear only a byte code is defined; otherwise codes up to
        // the one this step defines.
        if (old < 0 ? code >= clear : code > next) {
            break;
        }
        if (old >= 0 && next < kMaxCodes) {
            // The new entry is the previous string plus the first byte of
            // this code's string, which is written right behind it.
            table->start[next] = oldStart;
            table->length[next] = (old < clear ? 1 : table->length[old]) + 1;
            ++next;
            if (next == (1 << width) && width < kMaxCodeBits) {
                ++width;
            }
        }
        oldStart = produced;
        produced += EmitCode(*table, code, clear, out, produced, count - produced);
        old = code;
    }
    delete table;
    return produced;
}

// Whether remaining bytes of LZW data could ever yield count pixels. A code
// is at least 2 bits wide, so r bytes hold at most 4r codes, and the j-th
// code after a clear adds at most j pixels: at most 8r^2 + 4r pixels. A
// small file claiming a huge frame is refused before the frame is allocated.
int DataCanFill(long long remaining, int count)
{
    if (remaining < 0 || remaining >= 65536) {
        return 1;
    }
    return count <= 8 * remaining * remaining + 4 * remaining ? 1 : 0;
}

// Row of the picture that the n-th decoded row of an interlaced image
// fills: passes start at rows 0, 4, 2, 1 and step 8, 8, 4, 2.
void InterlacePlaces(int height, int* place)
{
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    int n = 0;
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = kStart[pass]; row < height; row += kStep[pass]) {
            place[n++] = row;
        }
    }
}

// The frame's colour table as ready-made B, G, R, A pixels, so converting an
// index is one 4-byte copy. transparent is -1 when no index is transparent.
void MakePixelTable(const unsigned char* table, int transparent, unsigned char (*bgra)[4])
{
    for (int i = 0; i < 256; ++i) {
        bgra[i][0] = table[i * 3 + 2];
        bgra[i][1] = table[i * 3 + 1];
        bgra[i][2] = table[i * 3];
        bgra[i][3] = i == transparent ? 0 : 255;
    }
}

void ExpandIndices(const unsigned char (*bgra)[4], const unsigned char* indices, int count,
                   unsigned char* out)
{
    for (int x = 0; x < count; ++x) {
        std::memcpy(out + x * 4, bgra[indices[x]], 4);
    }
}

// Writes decoded indices, in decoding order, into the rows of a width x
// height B, G, R, A picture; every pixel past the decoded ones becomes
// transparent black, so each byte of out is written exactly once. Answers 0
// when memory for the row order runs out.
int WriteFramePixels(const unsigned char (*bgra)[4], const unsigned char* indices, int decoded,
                     int width, int height, int interlaced, unsigned char* out)
{
    int* place = static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(height)));
    if (place == nullptr) {
        return 0;
    }
    for (int row = 0; row < height; ++row) {
        place[row] = row;
    }
    if (interlaced) {
        InterlacePlaces(height, place);
    }
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    int left = decoded;
    for (int n = 0; n < height; ++n) {
        int filled = left < width ? left : width;
        left -= filled;
        unsigned char* row = out + static_cast<size_t>(place[n]) * rowBytes;
        ExpandIndices(bgra, indices + static_cast<size_t>(n) * width, filled, row);
        size_t done = static_cast<size_t>(filled) * 4;
        std::memset(row + done, 0, rowBytes - done);
    }
    std::free(place);
    return 1;
}

} // namespace

KwGIFDecoder::KwGIFDecoder() : m_pFrames(nullptr)
{
    AppendTypeName("KwGIFDecoder");
    ResetState();
}

KwGIFDecoder::~KwGIFDecoder()
{
    if (m_pFrames != nullptr) {
        m_pFrames->Release();
    }
}

void KwGIFDecoder::ResetState()
{
    IKwCoder::ResetState();
    if (m_pFrames != nullptr) {
        m_pFrames->Release();
        m_pFrames = nullptr;
    }
    m_bFramesFailed = 0;
    m_nGlobalColors = 0;
    m_nBackground = 0;
    m_nColorBits = 0;
    m_nLastDisposal = 0;
    std::memset(m_globalTable, 0, sizeof(m_globalTable));
}

int KwGIFDecoder::ReadColorTable(KwStreamReader& reader, int entries, unsigned char* table)
{
    std::memset(table, 0, kTableBytes);
    return reader.ReadBytes(table, entries * 3);
}

int KwGIFDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned char signature[6] = {0};
    reader.ReadBytes(signature, 6);
    if (!reader.Ok() || std::memcmp(signature, "GIF", 3) != 0 ||
        (std::memcmp(signature + 3, "87a", 3) != 0 && std::memcmp(signature + 3, "89a", 3) != 0)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    int width = static_cast<int>(reader.ReadU16());
    int height = static_cast<int>(reader.ReadU16());
    unsigned int packed = reader.ReadU8();
    m_nBackground = static_cast<int>(reader.ReadU8());
    reader.ReadU8();
    m_nColorBits = static_cast<int>((packed >> 4) & 7) + 1;
    m_nGlobalColors = (packed & 0x80) != 0 ? 2 << (packed & 7) : 0;
    if (!reader.Ok() || !ReadColorTable(reader, m_nGlobalColors, m_globalTable)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    return SetHeaderInfo(width, height, KW_FORMAT_BGRA);
}

int KwGIFDecoder::SkipSubBlocks(KwStreamReader& reader)
{
    for (unsigned int length = reader.ReadU8(); length != 0 && reader.Ok(); length = reader.ReadU8()) {
        reader.Skip(length);
    }
    return reader.Ok();
}

int KwGIFDecoder::ReadExtension(KwStreamReader& reader, CONTROL* control)
{
    unsigned int label = reader.ReadU8();
    if (label != 0xF9) {
        return SkipSubBlocks(reader);
    }
    std::memset(control, 0, sizeof(*control));
    unsigned int length = reader.ReadU8();
    if (length >= 4) {
        unsigned int packed = reader.ReadU8();
        control->nDisposal = static_cast<int>((packed >> 2) & 7);
        control->bUserInput = static_cast<int>((packed >> 1) & 1);
        control->bTransparent = static_cast<int>(packed & 1);
        control->nDelay = static_cast<int>(reader.ReadU16());
        control->nTransparentIndex = static_cast<int>(reader.ReadU8());
        length -= 4;
        m_nLastDisposal = control->nDisposal;
    }
    reader.Skip(length);
    return SkipSubBlocks(reader);
}

// Turns decoded indices into a B, G, R, A frame and appends it; pixels past
// the decoded ones stay transparent black. The pixels go into target when
// one is given, otherwise into a buffer of the frame's own.
int KwGIFDecoder::AddFrame(const FRAME& frame, const unsigned char* indices, int decoded,
                           const unsigned char* table, const CONTROL& control, KwBuffer* target)
{
    KwBuffer* pixels = target != nullptr ? target : new (std::nothrow) KwBuffer();
    if (pixels == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    pixels->AddRef();
    unsigned char bgra[256][4];
    MakePixelTable(table, control.bTransparent ? control.nTransparentIndex : -1, bgra);
    int ok = AllocPixelsUncleared(pixels, frame.nWidth, frame.nHeight, 4);
    if (ok && !WriteFramePixels(bgra, indices, decoded, frame.nWidth, frame.nHeight,
                                frame.bInterlaced, pixels->GetPointer(0))) {
        ok = Fail(KW_CODER_NO_MEMORY);
    }
    KwImage* image = nullptr;
    if (ok) {
        image = new (std::nothrow) KwImage(KW_FORMAT_BGRA, pixels, frame.nLeft, frame.nTop,
                                           frame.nWidth, frame.nHeight, control.nDelay * 10);
    }
    pixels->Release();
    if (!ok) {
        return 0;
    }
    if (image == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    image->AddRef();
    int added = m_pFrames->Add(image);
    image->Release();
    return added ? 1 : Fail(KW_CODER_NO_MEMORY);
}

int KwGIFDecoder::ReadFrame(KwStreamReader& reader, const CONTROL& control, KwBuffer* target)
{
    FRAME frame;
    frame.nLeft = static_cast<int>(reader.ReadU16());
    frame.nTop = static_cast<int>(reader.ReadU16());
    frame.nWidth = static_cast<int>(reader.ReadU16());
    frame.nHeight = static_cast<int>(reader.ReadU16());
    unsigned int packed = reader.ReadU8();
    frame.bInterlaced = (packed & 0x40) != 0 ? 1 : 0;
    unsigned char local[kTableBytes];
    const unsigned char* table = m_globalTable;
    if ((packed & 0x80) != 0) {
        if (!ReadColorTable(reader, 2 << (packed & 7), local)) {
            return Fail(KW_CODER_BAD_DATA);
        }
        table = local;
    }
    int minSize = static_cast<int>(reader.ReadU8());
    if (!reader.Ok() || minSize < 1 || minSize > 8) {
        return Fail(KW_CODER_BAD_DATA);
    }
    int count = 0;
    if (frame.nWidth == 0 || frame.nHeight == 0) {
        // An empty frame shows nothing; its data is skipped.
        return SkipSubBlocks(reader) ? 1 : Fail(KW_CODER_BAD_DATA);
    }
    if (!KwImageByteCount(frame.nWidth, frame.nHeight, 4, nullptr) ||
        !KwImageByteCount(frame.nWidth, frame.nHeight, 1, &count)) {
        return Fail(KW_CODER_TOO_LARGE);
    }
    if (!DataCanFill(reader.Remaining(), count)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    int size = 0;
    unsigned char* data = ReadSubBlocks(reader, &size);
    if (data == nullptr) {
        return Fail(reader.Ok() ? KW_CODER_NO_MEMORY : KW_CODER_BAD_DATA);
    }
    unsigned char* indices =
        static_cast<unsigned char*>(std::malloc(static_cast<size_t>(count) + kCopySlack));
    int decoded = indices != nullptr ? DecodeLzw(data, size, minSize, indices, count) : -1;
    std::free(data);
    int ok = decoded >= 0 ? AddFrame(frame, indices, decoded, table, control, target)
                          : Fail(KW_CODER_NO_MEMORY);
    std::free(indices);
    return ok;
}

// Blocks are read until the trailer or the end of the file; a file cut
// inside a block fails. The first frame's pixels go into first.
int KwGIFDecoder::DecodeFrames(KwBuffer* first)
{
    if (m_bFramesFailed || !IsReady()) {
        return 0;
    }
    m_pFrames = new (std::nothrow) KwImageGroup();
    if (m_pFrames == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    m_pFrames->AddRef();
    m_pFrames->SetWidth(GetWidth());
    m_pFrames->SetHeight(GetHeight());
    KwStreamReader reader(GetStream(), GetStreamBase());
    reader.Seek(13 + 3 * m_nGlobalColors);
    CONTROL control;
    std::memset(&control, 0, sizeof(control));
    int ok = reader.Ok();
    long long size = reader.GetSize();
    while (ok) {
        ReportProgress(static_cast<int>(reader.GetPosition()), static_cast<int>(size));
        unsigned int introducer = reader.ReadU8();
        if (!reader.Ok() || introducer == ';') {
            break;
        }
        if (introducer == '!') {
            ok = ReadExtension(reader, &control) ? 1 : Fail(KW_CODER_BAD_DATA);
        } else if (introducer == ',') {
            ok = ReadFrame(reader, control, m_pFrames->GetCount() == 0 ? first : nullptr);
            std::memset(&control, 0, sizeof(control));
        }
    }
    if (!ok || m_pFrames->GetCount() == 0) {
        m_pFrames->Release();
        m_pFrames = nullptr;
        m_bFramesFailed = 1;
        return Fail(ok ? KW_CODER_BAD_DATA : GetErrorCode());
    }
    return 1;
}

// The first decoding fills the given buffer as the first frame's own
// pixels, so the largest picture is never copied; a later call copies them.
int KwGIFDecoder::DecodePixels(KwBuffer* pixels)
{
    if (pixels == nullptr) {
        return Fail(KW_CODER_PARAM);
    }
    if (m_pFrames == nullptr) {
        return DecodeFrames(pixels);
    }
    KwImage* first = m_pFrames->GetAt(0);
    KwBuffer* source = first->GetPixels();
    int size = source->GetSize();
    int ok = pixels->Alloc(size) && pixels->WriteAt(0, source->GetPointer(0), size) == size;
    source->Release();
    first->Release();
    return ok ? 1 : Fail(KW_CODER_NO_MEMORY);
}

KwImage* KwGIFDecoder::GetImage()
{
    KwBuffer* pixels = GetPixels();
    if (pixels == nullptr) {
        return nullptr;
    }
    pixels->Release();
    return m_pFrames->GetAt(0);
}

// A group of its own for each caller, holding the shared frames.
KwImageGroup* KwGIFDecoder::GetImageGroup()
{
    KwBuffer* pixels = GetPixels();
    if (pixels == nullptr) {
        return nullptr;
    }
    pixels->Release();
    KwImageGroup* group = new (std::nothrow) KwImageGroup();
    if (group == nullptr) {
        Fail(KW_CODER_NO_MEMORY);
        return nullptr;
    }
    group->AddRef();
    group->SetWidth(GetWidth());
    group->SetHeight(GetHeight());
    for (int i = 0; i < m_pFrames->GetCount(); ++i) {
        KwImage* frame = m_pFrames->GetAt(i);
        int added = group->Add(frame);
        frame->Release();
        if (!added) {
            group->Release();
            Fail(KW_CODER_NO_MEMORY);
            return nullptr;
        }
    }
    return group;
}

int KwGIFDecoder::GetImageCount()
{
    KwBuffer* pixels = GetPixels();
    if (pixels == nullptr) {
        return 0;
    }
    pixels->Release();
    return m_pFrames->GetCount();
}

int KwGIFDecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nColorBits));
    return 1;
}

int KwGIFDecoder::GetDisposal() const { return m_nLastDisposal; }

} // namespace KwSDK
