// Tests of the JPEG 2000 decoders (file and code stream) on pictures encoded
// losslessly here with OpenJPEG: exact pixels, detection by extension, and
// refusal of truncated or mismatched input.
#include "ImageTestSupport.h"
#include "../../jpeg2000/tests/J2KTestEncoder.h"

#include "KwBufferStream.h"
#include "KwImageParams.h"
#include "KwImgFileSrc.h"
#include "KwJP2Decoder2.h"
#include "KwJPCDecoder2.h"

#include <gtest/gtest.h>
#include <openjpeg.h>

#include <vector>

using namespace KwSDK;
using namespace ImageTest;

namespace {

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
    J2KTest::Planes planes;
    planes.width = static_cast<unsigned int>(width);
    planes.height = static_cast<unsigned int>(height);
    planes.prec = 8;
    planes.samples.assign(3, std::vector<int>(static_cast<size_t>(width) * height));
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        for (int c = 0; c < 3; ++c) {
            planes.samples[c][i] = rgb[i * 3 + c];
        }
    }
    return J2KTest::Encode(planes, format, 3);
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
