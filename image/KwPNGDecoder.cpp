// The PNG decoder on libpng. libpng reports errors by a long jump; the
// functions that set the jump point keep no objects with destructors alive,
// so the jump skips nothing that needs cleaning up.
#include "KwPNGDecoder.h"

#include "KwImageParams.h"
#include "KwStreamReader.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>

namespace KwSDK {

namespace {

const size_t kMaxChunkBytes = 8 * 1024 * 1024;

// Four-letter names, each with its terminator.
const png_byte kIgnoredChunks[] = "bKGD\0cHRM\0eXIf\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
                                  "sBIT\0sCAL\0sPLT\0sTER\0tEXt\0tIME\0zTXt";

// libpng's structures for one pass over the file.
struct PngSession {
    png_structp png;
    png_infop info;
};

// libpng pulls its bytes through the bounds-checked reader; a short read is
// a truncated file.
void ReadData(png_structp png, png_bytep data, size_t length)
{
    KwStreamReader* reader = static_cast<KwStreamReader*>(png_get_io_ptr(png));
    if (length > 0x7FFFFFFF || !reader->ReadBytes(data, static_cast<int>(length))) {
        png_error(png, "truncated");
    }
}

void OnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Nothing is logged: warnings (bad ancillary chunks) are dropped.
void OnWarning(png_structp, png_const_charp)
{
}

int OpenSession(PngSession* session, KwStreamReader* reader)
{
    session->info = nullptr;
    session->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (session->png == nullptr) {
        return 0;
    }
    session->info = png_create_info_struct(session->png);
    if (session->info == nullptr) {
        return 0;
    }
    png_set_read_fn(session->png, reader, ReadData);
    png_set_user_limits(session->png, KW_IMAGE_MAX_SIDE, KW_IMAGE_MAX_SIDE);
    // Ancillary chunks whose contents the decoder never uses are skipped
    // unread: a hostile file cannot make libpng allocate for them.
    png_set_keep_unknown_chunks(session->png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks,
                                static_cast<int>(sizeof(kIgnoredChunks) / 5));
    png_set_chunk_malloc_max(session->png, kMaxChunkBytes);
    return 1;
}

void CloseSession(PngSession* session)
{
    if (session->png != nullptr) {
        png_destroy_read_struct(&session->png, session->info ? &session->info : nullptr, nullptr);
    }
}

// The file's header fields, read before any transformation is set.
struct PngHeader {
    png_uint_32 width;
    png_uint_32 height;
    int depth;
    int colorType;
    int hasAlpha;
};

int ReadInfo(PngSession* session, PngHeader* header)
{
    if (setjmp(png_jmpbuf(session->png))) {
        return 0;
    }
    png_read_info(session->png, session->info);
    int interlace = 0;
    png_get_IHDR(session->png, session->info, &header->width, &header->height, &header->depth,
                 &header->colorType, &interlace, nullptr, nullptr);
    header->hasAlpha = (header->colorType & PNG_COLOR_MASK_ALPHA) != 0 ||
                       png_get_valid(session->png, session->info, PNG_INFO_tRNS) != 0;
    return 1;
}

// Sets the transformations that turn every colour type into 8-bit B, G, R
// with alpha when the file has any, and answers the passes to read.
int Configure(png_structp png, png_infop info, const PngHeader& header)
{
    if (header.depth == 16) {
        png_set_strip_16(png);
    }
    if (header.colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    int grey = (header.colorType & PNG_COLOR_MASK_COLOR) == 0;
    if (grey && header.depth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
    }
    if (grey) {
        png_set_gray_to_rgb(png);
    }
    double fileGamma = 0.0;
    if (png_get_gAMA(png, info, &fileGamma) && fileGamma > 0.0) {
        png_set_gamma(png, 2.2, fileGamma);
    }
    png_set_bgr(png);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return passes;
}

} // namespace

KwPNGDecoder::KwPNGDecoder() : m_nDepth(0), m_nColorType(0)
{
    AppendTypeName("KwPNGDecoder");
}

KwPNGDecoder::~KwPNGDecoder()
{
}

void KwPNGDecoder::ResetState()
{
    m_nDepth = 0;
    m_nColorType = 0;
    IKwCoder::ResetState();
}

int KwPNGDecoder::GetDepth() const { return m_nDepth; }
int KwPNGDecoder::GetColorType() const { return m_nColorType; }

int KwPNGDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    PngSession session;
    PngHeader header;
    int ok = OpenSession(&session, &reader) && ReadInfo(&session, &header);
    CloseSession(&session);
    if (!ok) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    m_nDepth = header.depth;
    m_nColorType = header.colorType;
    int channels = header.hasAlpha ? 4 : 3;
    SetHeaderExtras(channels, 0, 0);
    return SetHeaderInfo(static_cast<int>(header.width), static_cast<int>(header.height),
                         header.hasAlpha ? KW_FORMAT_BGRA : KW_FORMAT_BGR);
}

int KwPNGDecoder::DecodePixels(KwBuffer* pixels)
{
    int channels = GetFormat() == KW_FORMAT_BGRA ? 4 : 3;
    if (!AllocPixels(pixels, GetWidth(), GetHeight(), channels)) {
        return 0;
    }
    png_bytep* rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * GetHeight()));
    if (rows == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    for (int y = 0; y < GetHeight(); ++y) {
        rows[y] = pixels->GetPointer(y * GetWidth() * channels);
    }
    KwStreamReader reader(GetStream(), GetStreamBase());
    PngSession session;
    int ok = OpenSession(&session, &reader) && ReadRows(session.png, session.info, rows);
    CloseSession(&session);
    std::free(rows);
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

// Reads the file again from its start, checks that the transformed rows
// have exactly the size the header promised, and reads every row of every
// pass, then the chunks after the image data.
int KwPNGDecoder::ReadRows(void* pngStruct, void* pngInfo, unsigned char** rows)
{
    png_structp png = static_cast<png_structp>(pngStruct);
    png_infop info = static_cast<png_infop>(pngInfo);
    if (setjmp(png_jmpbuf(png))) {
        return 0;
    }
    png_read_info(png, info);
    PngHeader header;
    png_get_IHDR(png, info, &header.width, &header.height, &header.depth, &header.colorType,
                 nullptr, nullptr, nullptr);
    header.hasAlpha = GetFormat() == KW_FORMAT_BGRA;
    int passes = Configure(png, info, header);
    size_t channels = header.hasAlpha ? 4 : 3;
    if (header.width != static_cast<png_uint_32>(GetWidth()) ||
        header.height != static_cast<png_uint_32>(GetHeight()) ||
        png_get_channels(png, info) != channels ||
        png_get_rowbytes(png, info) != header.width * channels) {
        return 0;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < header.height; ++y) {
            png_read_row(png, rows[y], nullptr);
            ReportProgress(static_cast<int>(y) + 1, static_cast<int>(header.height));
        }
    }
    png_read_end(png, nullptr);
    return 1;
}

int KwPNGDecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nDepth));
    return 1;
}

} // namespace KwSDK
