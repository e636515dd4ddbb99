// The JPEG 2000 code-stream core over OpenJPEG: stream bridge, header and
// sample conversion to 8-bit R, G, B.
#include "KwJ2KDecoder.h"

#include <openjpeg.h>

namespace KwSDK {

namespace {

// The library asks for data through these callbacks; the user data is the
// source record. The library's offsets count from the start of the file and
// are 64-bit; toolkit streams count from their own start in 32 bits.
OPJ_SIZE_T StreamRead(void* buffer, OPJ_SIZE_T count, void* user)
{
    IKwIOStream* stream = static_cast<KWJ2KSOURCE*>(user)->stream;
    int chunk = count > 0x40000000u ? 0x40000000 : static_cast<int>(count);
    int got = stream->Read(buffer, chunk);
    if (got <= 0) {
        return static_cast<OPJ_SIZE_T>(-1);
    }
    return static_cast<OPJ_SIZE_T>(got);
}

OPJ_BOOL StreamSeek(OPJ_OFF_T offset, void* user)
{
    KWJ2KSOURCE* source = static_cast<KWJ2KSOURCE*>(user);
    OPJ_OFF_T target = offset + source->base;
    if (offset < 0 || target > 0x7FFFFFFF) {
        return OPJ_FALSE;
    }
    return source->stream->Seek(static_cast<int>(target), KW_SEEK_SET) ? OPJ_TRUE : OPJ_FALSE;
}

OPJ_OFF_T StreamSkip(OPJ_OFF_T count, void* user)
{
    KWJ2KSOURCE* source = static_cast<KWJ2KSOURCE*>(user);
    int position = source->stream->GetPosition();
    if (position < source->base) {
        return -1;
    }
    OPJ_OFF_T target = static_cast<OPJ_OFF_T>(position - source->base) + count;
    if (!StreamSeek(target, user)) {
        return -1;
    }
    return count;
}

// Nothing is logged: the library's messages are dropped.
void Quiet(const char*, void*)
{
}

opj_image_t* Image(void* image)
{
    return static_cast<opj_image_t*>(image);
}

// One component prepared for reading: its sample grid and the range of its
// values.
struct Channel {
    const opj_image_comp_t* comp;
    long long offset;   // added to a sample to make it unsigned
    long long maximum;  // largest unsigned value of the precision
};

Channel MakeChannel(const opj_image_comp_t* comp)
{
    Channel channel;
    channel.comp = comp;
    channel.offset = comp->sgnd ? (1LL << (comp->prec - 1)) : 0;
    channel.maximum = (1LL << comp->prec) - 1;
    return channel;
}

// The sample of a component at an image pixel (x, y counted from the image
// origin): subsampled components repeat their samples over the pixels they
// cover. Answers the unsigned value clamped to the precision.
long long Sample(const Channel& channel, const opj_image_t* image, unsigned int x, unsigned int y)
{
    const opj_image_comp_t* comp = channel.comp;
    long long col = static_cast<long long>((image->x0 + x) / comp->dx) - comp->x0;
    long long row = static_cast<long long>((image->y0 + y) / comp->dy) - comp->y0;
    col = col < 0 ? 0 : (col >= comp->w ? comp->w - 1 : col);
    row = row < 0 ? 0 : (row >= comp->h ? comp->h - 1 : row);
    long long value = comp->data[row * comp->w + col] + channel.offset;
    return value < 0 ? 0 : (value > channel.maximum ? channel.maximum : value);
}

// A value of the channel's precision scaled to 0..255 with rounding.
unsigned char To8(const Channel& channel, long long value)
{
    if (channel.maximum == 255) {
        return static_cast<unsigned char>(value);
    }
    return static_cast<unsigned char>((value * 255 + channel.maximum / 2) / channel.maximum);
}

unsigned char ClampByte(double value)
{
    if (value <= 0.0) {
        return 0;
    }
    if (value >= 255.0) {
        return 255;
    }
    return static_cast<unsigned char>(value + 0.5);
}

// Converts one luma and two centred chroma values (0..255) to R, G, B.
void YccToRgb(double y, double cb, double cr, unsigned char* out)
{
    out[0] = ClampByte(y + 1.402 * cr);
    out[1] = ClampByte(y - 0.344136 * cb - 0.714136 * cr);
    out[2] = ClampByte(y + 1.772 * cb);
}

enum Layout { LAYOUT_GREY, LAYOUT_RGB, LAYOUT_SYCC, LAYOUT_CMYK };

Layout LayoutOf(const opj_image_t* image)
{
    if (image->numcomps < 3 || image->color_space == OPJ_CLRSPC_GRAY) {
        return LAYOUT_GREY;
    }
    if (image->color_space == OPJ_CLRSPC_SYCC) {
        return LAYOUT_SYCC;
    }
    if (image->color_space == OPJ_CLRSPC_CMYK && image->numcomps >= 4) {
        return LAYOUT_CMYK;
    }
    return LAYOUT_RGB;
}

unsigned int UsedComponents(Layout layout)
{
    switch (layout) {
    case LAYOUT_GREY:
        return 1;
    case LAYOUT_CMYK:
        return 4;
    default:
        return 3;
    }
}

// Writes the pixel at (x, y) as R, G, B.
void ConvertPixel(Layout layout, const Channel* ch, const opj_image_t* image, unsigned int x,
                  unsigned int y, unsigned char* out)
{
    if (layout == LAYOUT_GREY) {
        out[0] = out[1] = out[2] = To8(ch[0], Sample(ch[0], image, x, y));
        return;
    }
    unsigned char v[4] = { 0, 0, 0, 0 };
    unsigned int used = UsedComponents(layout);
    for (unsigned int i = 0; i < used; ++i) {
        v[i] = To8(ch[i], Sample(ch[i], image, x, y));
    }
    if (layout == LAYOUT_SYCC) {
        YccToRgb(v[0], v[1] - 128.0, v[2] - 128.0, out);
    } else if (layout == LAYOUT_CMYK) {
        for (int i = 0; i < 3; ++i) {
            out[i] = static_cast<unsigned char>(((255 - v[i]) * (255 - v[3]) + 127) / 255);
        }
    } else {
        out[0] = v[0];
        out[1] = v[1];
        out[2] = v[2];
    }
}

const char* const kMessages[] = {
    "Success",
    "Paramater is wrong",
    "Not a readable JPEG 2000 header",
    "Unsupported JPEG 2000 component layout",
    "JPEG 2000 decoding fail",
    "Alloc memory fail",
    "JPEG 2000 header not read",
};

} // namespace

KwJ2KDecoder::KwJ2KDecoder()
    : m_source{ nullptr, 0 }, m_pCodec(nullptr), m_pStream(nullptr), m_pImage(nullptr), m_nError(0),
      m_bHeaderRead(0)
{
    AppendTypeName("KwJ2KDecoder");
}

KwJ2KDecoder::~KwJ2KDecoder()
{
    Reset();
}

unsigned int KwJ2KDecoder::GetErrorCode() const
{
    return m_nError;
}

const char* KwJ2KDecoder::GetErrorMessage(unsigned int code) const
{
    if (code >= KW_J2K_PARAM && code <= KW_J2K_NO_HEADER) {
        return kMessages[code - 0xF0000000u];
    }
    return kMessages[0];
}

void KwJ2KDecoder::Reset()
{
    if (m_pImage) {
        opj_image_destroy(Image(m_pImage));
    }
    if (m_pCodec) {
        opj_destroy_codec(static_cast<opj_codec_t*>(m_pCodec));
    }
    if (m_pStream) {
        opj_stream_destroy(static_cast<opj_stream_t*>(m_pStream));
    }
    m_pImage = nullptr;
    m_pCodec = nullptr;
    m_pStream = nullptr;
    m_bHeaderRead = 0;
}

int KwJ2KDecoder::Fail(unsigned int code)
{
    m_nError = code;
    Reset();
    return 0;
}

int KwJ2KDecoder::ReadHeader(IKwIOStream* stream, int codec)
{
    Reset();
    m_nError = 0;
    if (!stream || (codec != KW_J2K_FILE && codec != KW_J2K_CODESTREAM)) {
        return Fail(KW_J2K_PARAM);
    }
    int position = stream->GetPosition();
    int available = stream->Available();
    opj_stream_t* bridge = opj_stream_create(64 * 1024, OPJ_TRUE);
    opj_codec_t* decoder = opj_create_decompress(codec == KW_J2K_FILE ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    m_pStream = bridge;
    m_pCodec = decoder;
    if (!bridge || !decoder || position < 0) {
        return Fail(bridge && decoder ? KW_J2K_BAD_HEADER : KW_J2K_ALLOC_FAIL);
    }
    m_source.stream = stream;
    m_source.base = position;
    opj_stream_set_user_data(bridge, &m_source, nullptr);
    opj_stream_set_user_data_length(bridge, static_cast<OPJ_UINT64>(available > 0 ? available : 0));
    opj_stream_set_read_function(bridge, StreamRead);
    opj_stream_set_skip_function(bridge, StreamSkip);
    opj_stream_set_seek_function(bridge, StreamSeek);
    opj_set_info_handler(decoder, Quiet, nullptr);
    opj_set_warning_handler(decoder, Quiet, nullptr);
    opj_set_error_handler(decoder, Quiet, nullptr);

    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    // Strict mode: a truncated code stream is an error, not a blurred picture.
    if (!opj_setup_decoder(decoder, &parameters) || !opj_decoder_set_strict_mode(decoder, OPJ_TRUE)) {
        return Fail(KW_J2K_BAD_HEADER);
    }
    opj_image_t* image = nullptr;
    OPJ_BOOL read = opj_read_header(bridge, decoder, &image);
    m_pImage = image;
    if (!read || !image) {
        return Fail(KW_J2K_BAD_HEADER);
    }
    if (!CheckLayout()) {
        return Fail(KW_J2K_BAD_LAYOUT);
    }
    m_bHeaderRead = 1;
    return 1;
}

// The picture must have an area and every component a sane grid.
int KwJ2KDecoder::CheckLayout() const
{
    const opj_image_t* image = Image(m_pImage);
    if (image->x1 <= image->x0 || image->y1 <= image->y0 || image->numcomps == 0 || !image->comps) {
        return 0;
    }
    for (unsigned int i = 0; i < image->numcomps; ++i) {
        const opj_image_comp_t& comp = image->comps[i];
        if (comp.dx == 0 || comp.dy == 0 || comp.prec == 0 || comp.prec > 31) {
            return 0;
        }
    }
    return 1;
}

unsigned int KwJ2KDecoder::GetWidth() const
{
    return m_bHeaderRead ? Image(m_pImage)->x1 - Image(m_pImage)->x0 : 0;
}

unsigned int KwJ2KDecoder::GetHeight() const
{
    return m_bHeaderRead ? Image(m_pImage)->y1 - Image(m_pImage)->y0 : 0;
}

unsigned int KwJ2KDecoder::GetComponents() const
{
    return m_bHeaderRead ? Image(m_pImage)->numcomps : 0;
}

unsigned int KwJ2KDecoder::GetPrecision() const
{
    return m_bHeaderRead ? Image(m_pImage)->comps[0].prec : 0;
}

unsigned long long KwJ2KDecoder::GetSampleBytes() const
{
    if (!m_bHeaderRead) {
        return 0;
    }
    const opj_image_t* image = Image(m_pImage);
    unsigned long long total = 0;
    unsigned long long width = GetWidth();
    unsigned long long height = GetHeight();
    for (unsigned int i = 0; i < image->numcomps; ++i) {
        const opj_image_comp_t& comp = image->comps[i];
        unsigned long long w = (width + comp.dx - 1) / comp.dx + 1;
        unsigned long long h = (height + comp.dy - 1) / comp.dy + 1;
        total += w * h * 4;
    }
    return total;
}

int KwJ2KDecoder::DecodeRGB(unsigned char* out, unsigned long long outSize)
{
    if (!m_bHeaderRead) {
        m_nError = KW_J2K_NO_HEADER;
        return 0;
    }
    unsigned long long need = static_cast<unsigned long long>(GetWidth()) * GetHeight() * 3;
    if (!out || outSize < need) {
        m_nError = KW_J2K_PARAM;
        return 0;
    }
    opj_codec_t* decoder = static_cast<opj_codec_t*>(m_pCodec);
    opj_stream_t* bridge = static_cast<opj_stream_t*>(m_pStream);
    if (!opj_decode(decoder, bridge, Image(m_pImage)) || !opj_end_decompress(decoder, bridge)) {
        return Fail(KW_J2K_DECODE_FAIL);
    }
    // The decoded picture may differ from the header (palette expansion,
    // channel definitions): check it again before reading samples.
    if (!CheckLayout() || !ComponentsUsable()) {
        return Fail(KW_J2K_BAD_LAYOUT);
    }
    ConvertRows(out);
    // The samples are no longer needed: give their memory back at once.
    Reset();
    m_nError = 0;
    return 1;
}

// Every component that the conversion reads has samples and a grid that
// covers at least one sample.
int KwJ2KDecoder::ComponentsUsable() const
{
    const opj_image_t* image = Image(m_pImage);
    Layout layout = LayoutOf(image);
    for (unsigned int i = 0; i < UsedComponents(layout); ++i) {
        const opj_image_comp_t& comp = image->comps[i];
        if (!comp.data || comp.w == 0 || comp.h == 0) {
            return 0;
        }
    }
    return 1;
}

void KwJ2KDecoder::ConvertRows(unsigned char* out) const
{
    const opj_image_t* image = Image(m_pImage);
    Layout layout = LayoutOf(image);
    Channel channels[4];
    for (unsigned int i = 0; i < UsedComponents(layout); ++i) {
        channels[i] = MakeChannel(&image->comps[i]);
    }
    unsigned int width = image->x1 - image->x0;
    unsigned int height = image->y1 - image->y0;
    for (unsigned int y = 0; y < height; ++y) {
        unsigned char* row = out + static_cast<unsigned long long>(y) * width * 3;
        for (unsigned int x = 0; x < width; ++x) {
            ConvertPixel(layout, channels, image, x, y, row + x * 3);
        }
    }
}

} // namespace KwSDK
