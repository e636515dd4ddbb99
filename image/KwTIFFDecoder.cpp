// The TIFF decoder on libtiff, reading through the bounds-checked reader.
#include "KwTIFFDecoder.h"

#include "KwImageParams.h"
#include "KwStreamReader.h"

#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace KwSDK {

namespace {

// libtiff's I/O callbacks; the client handle is the reader. Writing is
// never asked for in read mode.
tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size)
{
    if (size < 0 || size > 0x7FFFFFFF) {
        return -1;
    }
    return static_cast<KwStreamReader*>(handle)->ReadSome(buffer, static_cast<int>(size));
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence)
{
    KwStreamReader* reader = static_cast<KwStreamReader*>(handle);
    long long target = static_cast<long long>(offset);
    if (whence == SEEK_CUR) {
        target += reader->GetPosition();
    } else if (whence == SEEK_END) {
        target += reader->GetSize();
    }
    // A failed seek must not leave the reader failed for the next one:
    // libtiff probes offsets and copes with refusals itself.
    if (target < 0 || (reader->GetSize() >= 0 && target > reader->GetSize())) {
        return static_cast<toff_t>(-1);
    }
    return reader->Seek(target) ? static_cast<toff_t>(target) : static_cast<toff_t>(-1);
}

int CloseProc(thandle_t)
{
    return 0;
}

toff_t SizeProc(thandle_t handle)
{
    long long size = static_cast<KwStreamReader*>(handle)->GetSize();
    return size < 0 ? 0 : static_cast<toff_t>(size);
}

int MapProc(thandle_t, void**, toff_t*)
{
    return 0;
}

void UnmapProc(thandle_t, void*, toff_t)
{
}

// Nothing is logged: answering non-zero keeps libtiff's global handlers
// quiet too.
int Quiet(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

// libtiff's own blocks (strips, tiles, tables) are limited to what the
// file can justify, like the decoder's pixels.
TIFF* OpenTiff(KwStreamReader* reader)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        return nullptr;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, KwImageJustifiedBytes(reader->GetSize()));
    TIFF* tif = TIFFClientOpenExt("image", "rm", reader, ReadProc, WriteProc, SeekProc, CloseProc,
                                  SizeProc, MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
    return tif;
}

TIFF* Tiff(void* tif)
{
    return static_cast<TIFF*>(tif);
}

// Pixels per metre from the resolution tags (unit 2 inch, 3 centimetre).
int PerMeter(TIFF* tif, ttag_t tag)
{
    float resolution = 0.0f;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tif, tag, &resolution) || !(resolution > 0.0f) || resolution > 1e6f) {
        return 0;
    }
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit == RESUNIT_INCH) {
        return static_cast<int>(resolution / 0.0254 + 0.5);
    }
    return unit == RESUNIT_CENTIMETER ? static_cast<int>(resolution * 100 + 0.5) : 0;
}

// Undoes libtiff's premultiplication of one colour sample.
unsigned char Unpremultiply(unsigned int value, unsigned int alpha)
{
    if (alpha == 0) {
        return 0;
    }
    unsigned int plain = (value * 255 + alpha / 2) / alpha;
    return static_cast<unsigned char>(plain > 255 ? 255 : plain);
}

} // namespace

KwTIFFDecoder::KwTIFFDecoder()
    : m_nBitsPerSample(0), m_nSamplesPerPixel(0), m_nExtraSamples(0), m_nPhotometric(0),
      m_nDirectories(0), m_bUnassociatedAlpha(0)
{
    AppendTypeName("KwTIFFDecoder");
}

KwTIFFDecoder::~KwTIFFDecoder()
{
}

void KwTIFFDecoder::ResetState()
{
    m_nBitsPerSample = 0;
    m_nSamplesPerPixel = 0;
    m_nExtraSamples = 0;
    m_nPhotometric = 0;
    m_nDirectories = 0;
    m_bUnassociatedAlpha = 0;
    IKwCoder::ResetState();
}

int KwTIFFDecoder::GetBitsPerSample() const { return m_nBitsPerSample; }
int KwTIFFDecoder::GetSamplesPerPixel() const { return m_nSamplesPerPixel; }
int KwTIFFDecoder::GetDirectoryCount() const { return m_nDirectories; }

int KwTIFFDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    TIFF* tif = OpenTiff(&reader);
    if (tif == nullptr) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    int ok = ReadFields(tif);
    TIFFClose(tif);
    return ok;
}

int KwTIFFDecoder::ReadFields(void* handle)
{
    TIFF* tif = Tiff(handle);
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 1;
    uint16_t samples = 1;
    uint16_t photometric = 0;
    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) ||
        !TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    m_nBitsPerSample = bits;
    m_nSamplesPerPixel = samples;
    m_nPhotometric = photometric;
    m_nExtraSamples = extraCount < samples ? extraCount : 0;
    m_bUnassociatedAlpha = m_nExtraSamples > 0 && extraTypes != nullptr &&
                           extraTypes[0] == EXTRASAMPLE_UNASSALPHA;
    m_nDirectories = TIFFNumberOfDirectories(tif);
    SetHeaderExtras(samples, PerMeter(tif, TIFFTAG_XRESOLUTION), PerMeter(tif, TIFFTAG_YRESOLUTION));
    char message[1024];
    if (!IsPlainLayout(tif) && !TIFFRGBAImageOK(tif, message)) {
        return Fail(KW_CODER_UNSUPPORTED);
    }
    if (width > static_cast<uint32_t>(KW_IMAGE_MAX_SIDE) || height > static_cast<uint32_t>(KW_IMAGE_MAX_SIDE)) {
        return Fail(KW_CODER_TOO_LARGE);
    }
    return SetHeaderInfo(static_cast<int>(width), static_cast<int>(height),
                         m_nExtraSamples > 0 ? KW_FORMAT_SAMPLES4 : KW_FORMAT_RGB);
}

// 8-bit RGB or grey samples, interleaved in strips, rows stored top down,
// not JPEG-compressed as YCbCr: rows can be read as stored.
int KwTIFFDecoder::IsPlainLayout(void* handle) const
{
    TIFF* tif = Tiff(handle);
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    int colours = m_nSamplesPerPixel - m_nExtraSamples;
    int rgb = m_nPhotometric == PHOTOMETRIC_RGB && colours == 3;
    int grey = m_nPhotometric == PHOTOMETRIC_MINISBLACK && colours == 1;
    return !TIFFIsTiled(tif) && m_nBitsPerSample == 8 && planar == PLANARCONFIG_CONTIG &&
           orientation == ORIENTATION_TOPLEFT && compression != COMPRESSION_OJPEG && (rgb || grey);
}

// Plain layouts are read row by row into the pixels; everything else goes
// through libtiff's RGBA conversion, which writes straight into the pixel
// block (4 bytes a pixel) and is packed to the output format in place, so
// the picture is held only once.
int KwTIFFDecoder::DecodePixels(KwBuffer* pixels)
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    TIFF* tif = OpenTiff(&reader);
    if (tif == nullptr) {
        return Fail(KW_CODER_BAD_DATA);
    }
    int ok = 0;
    if (IsPlainLayout(tif)) {
        int samples = GetFormat() == KW_FORMAT_SAMPLES4 ? 4 : 3;
        ok = AllocPixels(pixels, GetWidth(), GetHeight(), samples) &&
             DecodeScanlines(tif, pixels->GetPointer(0));
    } else {
        ok = AllocPixelsUncleared(pixels, GetWidth(), GetHeight(), 4) && DecodeThroughRGBA(tif, pixels);
    }
    TIFFClose(tif);
    return ok;
}

int KwTIFFDecoder::DecodeScanlines(void* handle, unsigned char* out)
{
    TIFF* tif = Tiff(handle);
    int width = GetWidth();
    int spp = m_nSamplesPerPixel;
    int samples = GetFormat() == KW_FORMAT_SAMPLES4 ? 4 : 3;
    int grey = m_nPhotometric == PHOTOMETRIC_MINISBLACK;
    if (TIFFScanlineSize64(tif) != static_cast<uint64_t>(width) * spp) {
        return Fail(KW_CODER_BAD_DATA);
    }
    unsigned char* row = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * spp));
    if (row == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    int ok = 1;
    for (int y = 0; y < GetHeight() && ok; ++y) {
        ok = TIFFReadScanline(tif, row, static_cast<uint32_t>(y), 0) == 1;
        unsigned char* target = out + static_cast<size_t>(y) * width * samples;
        for (int x = 0; x < width && ok; ++x) {
            const unsigned char* source = row + static_cast<size_t>(x) * spp;
            target[0] = source[0];
            target[1] = grey ? source[0] : source[1];
            target[2] = grey ? source[0] : source[2];
            if (samples == 4) {
                target[3] = source[grey ? 1 : 3];
            }
            target += samples;
        }
        ReportProgress(y + 1, GetHeight());
    }
    std::free(row);
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

// libtiff's RGBA conversion delivers premultiplied colours; an unassociated
// alpha is undone again so that such files come out as stored. Pixel i is
// read before its output is written, and output i never reaches past the
// raster's pixel i, so the packing works in place.
int KwTIFFDecoder::DecodeThroughRGBA(void* handle, KwBuffer* pixels)
{
    TIFF* tif = Tiff(handle);
    int width = GetWidth();
    int height = GetHeight();
    unsigned char* out = pixels->GetPointer(0);
    int ok = TIFFReadRGBAImageOriented(tif, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                       reinterpret_cast<uint32_t*>(out), ORIENTATION_TOPLEFT, 1);
    int samples = GetFormat() == KW_FORMAT_SAMPLES4 ? 4 : 3;
    size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; ok && i < count; ++i) {
        uint32_t pixel = 0;
        std::memcpy(&pixel, out + i * 4, 4);
        unsigned int alpha = TIFFGetA(pixel);
        unsigned char* target = out + i * samples;
        target[0] = static_cast<unsigned char>(TIFFGetR(pixel));
        target[1] = static_cast<unsigned char>(TIFFGetG(pixel));
        target[2] = static_cast<unsigned char>(TIFFGetB(pixel));
        if (samples == 4) {
            target[3] = static_cast<unsigned char>(alpha);
            if (m_bUnassociatedAlpha && alpha < 255) {
                for (int c = 0; c < 3; ++c) {
                    target[c] = Unpremultiply(target[c], alpha);
                }
            }
        }
    }
    if (ok && samples == 3 && !pixels->Resize(static_cast<int>(count * 3))) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    ReportProgress(height, height);
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

int KwTIFFDecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nBitsPerSample));
    return 1;
}

} // namespace KwSDK
