// The JPEG decoder on libjpeg. libjpeg's fatal errors arrive as a long jump
// back into the function that set it; those functions keep no objects with
// destructors alive, so the jump skips nothing that needs cleaning up.
#include "KwJPEGDecoder.h"

#include "KwStreamReader.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace KwSDK {

namespace {

const int kSourceBufferSize = 16384;
// A progressive file may hold any number of scans, each of which makes the
// library walk every block again; real files have a few dozen at most.
const int kMaxScans = 1000;

// libjpeg's state for one pass over the file: the decompressor, an error
// handler that jumps back instead of exiting, and a source that reads
// through the bounds-checked reader.
struct JpegSession {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr error;
    jmp_buf jump;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
    KwStreamReader* reader;
    JOCTET buffer[kSourceBufferSize];
};

JpegSession* SessionOf(j_common_ptr cinfo)
{
    return reinterpret_cast<JpegSession*>(reinterpret_cast<char*>(cinfo) -
                                          offsetof(JpegSession, cinfo));
}

void OnErrorExit(j_common_ptr cinfo)
{
    std::longjmp(SessionOf(cinfo)->jump, 1);
}

// Nothing is logged.
void OnOutputMessage(j_common_ptr)
{
}

void InitSource(j_decompress_ptr)
{
}

// Called by the library between passes: ends a file with too many scans.
void LimitScans(j_common_ptr cinfo)
{
    jpeg_decompress_struct* decompress = &SessionOf(cinfo)->cinfo;
    if (decompress->input_scan_number > kMaxScans) {
        ERREXIT(cinfo, JERR_BAD_PROGRESSION);
    }
}

// The end of the stream is an error: libjpeg's own habit of inventing an end
// marker would turn a truncated file into a grey-filled picture.
boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    JpegSession* session = SessionOf(reinterpret_cast<j_common_ptr>(cinfo));
    int got = session->reader->ReadSome(session->buffer, kSourceBufferSize);
    if (got <= 0) {
        ERREXIT(cinfo, JERR_INPUT_EOF);
    }
    session->source.next_input_byte = session->buffer;
    session->source.bytes_in_buffer = static_cast<size_t>(got);
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    jpeg_source_mgr* source = cinfo->src;
    while (count > static_cast<long>(source->bytes_in_buffer)) {
        count -= static_cast<long>(source->bytes_in_buffer);
        source->bytes_in_buffer = 0;
        FillInputBuffer(cinfo);
    }
    if (count > 0) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= static_cast<size_t>(count);
    }
}

void TermSource(j_decompress_ptr)
{
}

void OpenSession(JpegSession* session, KwStreamReader* reader)
{
    session->reader = reader;
    session->cinfo.err = jpeg_std_error(&session->error);
    session->error.error_exit = OnErrorExit;
    session->error.output_message = OnOutputMessage;
    jpeg_create_decompress(&session->cinfo);
    session->source.init_source = InitSource;
    session->source.fill_input_buffer = FillInputBuffer;
    session->source.skip_input_data = SkipInputData;
    session->source.resync_to_restart = jpeg_resync_to_restart;
    session->source.term_source = TermSource;
    session->source.bytes_in_buffer = 0;
    session->source.next_input_byte = nullptr;
    session->cinfo.src = &session->source;
    session->progress.progress_monitor = LimitScans;
    session->cinfo.progress = &session->progress;
}

// Pixels per metre from the JFIF density (unit 1 dots per inch, 2 per cm).
int PerMeter(int unit, int density)
{
    if (unit == 1) {
        return static_cast<int>(density / 0.0254 + 0.5);
    }
    return unit == 2 ? density * 100 : 0;
}

} // namespace

KwJPEGDecoder::KwJPEGDecoder() : m_nFileComponents(0)
{
    AppendTypeName("KwJPEGDecoder");
}

KwJPEGDecoder::~KwJPEGDecoder()
{
}

void KwJPEGDecoder::ResetState()
{
    m_nFileComponents = 0;
    IKwCoder::ResetState();
}

int KwJPEGDecoder::GetFileComponents() const
{
    return m_nFileComponents;
}

int KwJPEGDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    JpegSession* session = new (std::nothrow) JpegSession;
    if (session == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    OpenSession(session, &reader);
    int ok = ReadHeaderFields(session);
    jpeg_destroy_decompress(&session->cinfo);
    delete session;
    return ok;
}

int KwJPEGDecoder::ReadHeaderFields(void* state)
{
    JpegSession* session = static_cast<JpegSession*>(state);
    if (setjmp(session->jump)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    jpeg_read_header(&session->cinfo, TRUE);
    const jpeg_decompress_struct& cinfo = session->cinfo;
    int components = cinfo.num_components;
    if (components != 1 && components != 3 && components != 4) {
        return Fail(KW_CODER_UNSUPPORTED);
    }
    m_nFileComponents = components;
    SetHeaderExtras(components, PerMeter(cinfo.density_unit, cinfo.X_density),
                    PerMeter(cinfo.density_unit, cinfo.Y_density));
    if (cinfo.image_width > static_cast<JDIMENSION>(KW_IMAGE_MAX_SIDE) ||
        cinfo.image_height > static_cast<JDIMENSION>(KW_IMAGE_MAX_SIDE)) {
        return Fail(KW_CODER_TOO_LARGE);
    }
    return SetHeaderInfo(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height),
                         components == 4 ? KW_FORMAT_SAMPLES4 : KW_FORMAT_RGB);
}

int KwJPEGDecoder::DecodePixels(KwBuffer* pixels)
{
    int samples = GetFormat() == KW_FORMAT_SAMPLES4 ? 4 : 3;
    if (!AllocPixels(pixels, GetWidth(), GetHeight(), samples)) {
        return 0;
    }
    KwStreamReader reader(GetStream(), GetStreamBase());
    JpegSession* session = new (std::nothrow) JpegSession;
    if (session == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    OpenSession(session, &reader);
    int ok = ReadScanlines(session, pixels->GetPointer(0));
    jpeg_destroy_decompress(&session->cinfo);
    delete session;
    return ok;
}

// Reads the file again from its start and decodes every scanline straight
// into the pixel rows, after checking that libjpeg's output has exactly the
// size and sample count the header promised.
int KwJPEGDecoder::ReadScanlines(void* state, unsigned char* out)
{
    JpegSession* session = static_cast<JpegSession*>(state);
    jpeg_decompress_struct* cinfo = &session->cinfo;
    if (setjmp(session->jump)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    jpeg_read_header(cinfo, TRUE);
    int samples = GetFormat() == KW_FORMAT_SAMPLES4 ? 4 : 3;
    cinfo->out_color_space = samples == 4 ? JCS_CMYK : JCS_RGB;
    // The library's own memory (a progressive file keeps every coefficient
    // of the picture) gets what the file justifies beyond the pixels; asking
    // for more ends the decoding with an error instead of taking it.
    long long left = GetBytesLeft();
    cinfo->mem->max_memory_to_use = static_cast<long>(left > 0x7FFFFFFF ? 0x7FFFFFFF : (left > 0 ? left : 1));
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != static_cast<JDIMENSION>(GetWidth()) ||
        cinfo->output_height != static_cast<JDIMENSION>(GetHeight()) ||
        cinfo->output_components != samples) {
        return Fail(KW_CODER_BAD_DATA);
    }
    size_t stride = static_cast<size_t>(GetWidth()) * samples;
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = out + stride * cinfo->output_scanline;
        jpeg_read_scanlines(cinfo, &row, 1);
        ReportProgress(static_cast<int>(cinfo->output_scanline), GetHeight());
    }
    jpeg_finish_decompress(cinfo);
    return 1;
}

} // namespace KwSDK
