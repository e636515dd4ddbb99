// Tests of the JPEG 2000 decoders (file and code stream) on pictures encoded
// losslessly here with OpenJPEG: exact pixels, detection by extension, and
// refusal of truncated or mismatched input.
#include "ImageTestSupport.h"

#include "KwBufferStream.h"
#include "KwImageParams.h"
#include "KwImgFileSrc.h"
#include "KwJP2Decoder2.h"
#include "KwJPCDecoder2.h"

#include <gtest/gtest.h>
#include <openjpeg.h>

#include <cstring>

using namespace KwSDK;
using namespace ImageTest;

namespace {

struct Sink {
    Bytes bytes;
    size_t position = 0;
};

OPJ_SIZE_T SinkWrite(void* data, OPJ_SIZE_T count, void* user)
{
    Sink* sink = static_cast<Sink*>(user);
    if (sink->position + count > sink->bytes.size()) {
        sink->bytes.resize(sink->position + count);
    }
    std::memcpy(sink->bytes.data() + sink->position, data, count);
    sink->position += count;
    return count;
}

OPJ_OFF_T SinkSkip(OPJ_OFF_T count, void* user)
{
    static_cast<Sink*>(user)->position += static_cast<size_t>(count);
    return count;
}

OPJ_BOOL SinkSeek(OPJ_OFF_T offset, void* user)
{
    static_cast<Sink*>(user)->position = static_cast<size_t>(offset);
    return OPJ_TRUE;
}

void Quiet(const char*, void*)
{
}

// The test picture's R, G, B samples.
Bytes Pattern(int width, int height)
{
    Bytes rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<unsigned char>((i * 53 + i / 7) % 256);
    }
    return rgb;
}

// Encodes R, G, B samples losslessly as a JP2 file or a bare code stream.
Bytes Encode(const Bytes& rgb, int width, int height, OPJ_CODEC_FORMAT format)
{
    opj_image_cmptparm_t params[3];
    std::memset(params, 0, sizeof(params));
    for (opj_image_cmptparm_t& p : params) {
        p.dx = p.dy = 1;
        p.w = static_cast<OPJ_UINT32>(width);
        p.h = static_cast<OPJ_UINT32>(height);
        p.prec = 8;
    }
    opj_image_t* image = opj_image_create(3, params, OPJ_CLRSPC_SRGB);
    image->x1 = static_cast<OPJ_UINT32>(width);
    image->y1 = static_cast<OPJ_UINT32>(height);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        for (int c = 0; c < 3; ++c) {
            image->comps[c].data[i] = rgb[i * 3 + c];
        }
    }
    opj_cparameters_t cp;
    opj_set_default_encoder_parameters(&cp);
    cp.tcp_numlayers = 1;
    cp.tcp_rates[0] = 0;
    cp.cp_disto_alloc = 1;
    cp.numresolution = 3;
    cp.tcp_mct = 1;
    opj_codec_t* codec = opj_create_compress(format);
    opj_set_error_handler(codec, Quiet, nullptr);
    opj_set_warning_handler(codec, Quiet, nullptr);
    opj_set_info_handler(codec, Quiet, nullptr);
    Sink sink;
    opj_stream_t* stream = opj_stream_create(4096, OPJ_FALSE);
    opj_stream_set_user_data(stream, &sink, nullptr);
    opj_stream_set_write_function(stream, SinkWrite);
    opj_stream_set_skip_function(stream, SinkSkip);
    opj_stream_set_seek_function(stream, SinkSeek);
    bool ok = opj_setup_encoder(codec, &cp, image) && opj_start_compress(codec, image, stream) &&
              opj_encode(codec, stream) && opj_end_compress(codec, stream);
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    opj_image_destroy(image);
    EXPECT_TRUE(ok);
    return sink.bytes;
}

} // namespace

TEST(KwJP2Decoder2, FileDecodesExactly)
{
    Bytes rgb = Pattern(23, 17);
    int opened = 0;
    KwJP2Decoder2* decoder = OpenDecoder<KwJP2Decoder2>(Encode(rgb, 23, 17, OPJ_CODEC_JP2), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetWidth(), 23);
    EXPECT_EQ(decoder->GetHeight(), 17);
    EXPECT_EQ(decoder->GetComponentNumber(), 3);
    KwParam params;
    ASSERT_EQ(decoder->GetParams(&params), 1);
    EXPECT_EQ(params.GetString(KW_PARAM_IMAGE_DEPTH, ""), KwString("8"));
    EXPECT_EQ(params.GetString(KW_PARAM_IMAGE_TYPE, ""), KwString("1003"));
    KwImage* image = decoder->GetImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFormat(), KW_FORMAT_RGB);
    EXPECT_EQ(PixelsOf(image), rgb);
    image->Release();
    decoder->Release();
}

TEST(KwJPCDecoder2, CodeStreamDecodesExactly)
{
    Bytes rgb = Pattern(9, 30);
    KwImage* image = DecodeWith<KwJPCDecoder2>(Encode(rgb, 9, 30, OPJ_CODEC_J2K));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 9);
    EXPECT_EQ(PixelsOf(image), rgb);
    image->Release();
}

// Opened on a stream positioned after other data, the file starts there.
TEST(KwJP2Decoder2, StreamPositionIsTheFileStart)
{
    Bytes rgb = Pattern(6, 4);
    Bytes bytes(5, 0x77);
    Bytes file = Encode(rgb, 6, 4, OPJ_CODEC_JP2);
    bytes.insert(bytes.end(), file.begin(), file.end());
    KwBufferStream* stream = new KwBufferStream();
    stream->AddRef();
    stream->SetData(bytes.data(), static_cast<int>(bytes.size()));
    stream->SetMode(KW_MODE_READ);
    stream->Seek(5, KW_SEEK_SET);
    KwJP2Decoder2* decoder = new KwJP2Decoder2();
    decoder->AddRef();
    ASSERT_EQ(decoder->OpenStream(stream), 1);
    KwImage* image = decoder->GetImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(image), rgb);
    image->Release();
    decoder->Release();
    stream->Release();
}

TEST(KwJPCDecoder2, ContainersAreNotMixedUp)
{
    Bytes rgb = Pattern(8, 8);
    EXPECT_EQ(DecodeWith<KwJP2Decoder2>(Encode(rgb, 8, 8, OPJ_CODEC_J2K)), nullptr);
    EXPECT_EQ(DecodeWith<KwJPCDecoder2>(Encode(rgb, 8, 8, OPJ_CODEC_JP2)), nullptr);
}

TEST(KwJP2Decoder2, TruncatedStreamFails)
{
    Bytes file = Encode(Pattern(40, 40), 40, 40, OPJ_CODEC_JP2);
    Bytes cut(file.begin(), file.begin() + static_cast<long>(file.size() * 3 / 4));
    int opened = 0;
    KwJP2Decoder2* decoder = OpenDecoder<KwJP2Decoder2>(cut, &opened);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_BAD_DATA);
    decoder->Release();
    EXPECT_EQ(DecodeWith<KwJP2Decoder2>(Bytes(file.begin(), file.begin() + 30)), nullptr);
}

TEST(KwJP2Decoder2, FileSourceChoosesByExtension)
{
    Bytes rgb = Pattern(12, 5);
    ScratchFile jp2("kwjp2test.JP2", Encode(rgb, 12, 5, OPJ_CODEC_JP2));
    ScratchFile jpc("kwjp2test.jpc", Encode(rgb, 12, 5, OPJ_CODEC_J2K));
    ASSERT_TRUE(jp2.Ok() && jpc.Ok());
    const char* names[] = { jp2.Name(), jpc.Name() };
    const int types[] = { KW_FILE_JP2, KW_FILE_JPC };
    for (int i = 0; i < 2; ++i) {
        KwImgFileSrc source;
        ASSERT_EQ(source.SetFile(KwString(names[i])), 1);
        EXPECT_EQ(source.GetType(), types[i]);
        KwImage* image = source.Decode();
        ASSERT_NE(image, nullptr) << names[i];
        EXPECT_EQ(PixelsOf(image), rgb);
        image->Release();
    }
}
