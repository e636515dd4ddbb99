// Tests of file-type detection and decoding by path, and of the pins.
#include "KwImgFileSrc.h"

#include "IKwCoder.h"
#include "ImageTestSupport.h"
#include "KwDecoderFactory.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;
using ImageTest::ScratchFile;

namespace {

int DetectBytes(const char* name, const Bytes& bytes)
{
    ScratchFile file(name, bytes);
    KwImgFileSrc source;
    EXPECT_TRUE(file.Ok());
    source.SetFile(name);
    return source.GetType();
}

Bytes Padded(Bytes head)
{
    head.resize(32, 0);
    return head;
}

// A two-frame GIF: 2 x 1 then 1 x 1 at (1, 0), delays 5 and 9.
Bytes TwoFrameGif()
{
    ByteWriter w;
    w.Text("GIF89a").U16(2).U16(1).U8(0x80).U8(0).U8(0);
    w.U8(10).U8(20).U8(30).U8(40).U8(50).U8(60);
    w.U8('!').U8(0xF9).U8(4).U8(0).U16(5).U8(0).U8(0);
    w.U8(',').U16(0).U16(0).U16(2).U16(1).U8(0).U8(2).Raw(ImageTest::GifLzw({0, 1}, 2));
    w.U8('!').U8(0xF9).U8(4).U8(0).U16(9).U8(0).U8(0);
    w.U8(',').U16(1).U16(0).U16(1).U16(1).U8(0).U8(2).Raw(ImageTest::GifLzw({1}, 2));
    w.U8(';');
    return w.Get();
}

Bytes SmallBmp()
{
    ByteWriter w;
    w.Text("BM").U32(58).U32(0).U32(54).U32(40).U32(1).U32(1).U16(1).U16(24);
    w.U32(0).U32(4).U32(0).U32(0).U32(0).U32(0).U8(1).U8(2).U8(3).U8(0);
    return w.Get();
}

} // namespace

TEST(KwImgFileSrc, SignatureWinsOverTheExtension)
{
    Bytes png = Padded({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    EXPECT_EQ(KW_FILE_PNG, DetectBytes("kwimg_logo.bmp", png));
    EXPECT_EQ(KW_FILE_BMP, DetectBytes("kwimg_bmp.gif", Padded({'B', 'M'})));
    EXPECT_EQ(KW_FILE_GIF, DetectBytes("kwimg_gif.tga", Padded({'G', 'I', 'F', '8', '7', 'a'})));
    EXPECT_EQ(KW_FILE_JPEG, DetectBytes("kwimg_jpeg.x", Padded({0xFF, 0xD8, 0xFF})));
    EXPECT_EQ(KW_FILE_WMF, DetectBytes("kwimg_meta.x", Padded({0xD7, 0xCD, 0xC6, 0x9A})));
    EXPECT_EQ(KW_FILE_PPM, DetectBytes("kwimg_p6.x", Padded({'P', '6', '\n'})));
    EXPECT_EQ(KW_FILE_PPM, DetectBytes("kwimg_p3.x", Padded({'P', '3', '\n'})));
    EXPECT_EQ(KW_FILE_PGM, DetectBytes("kwimg_p5.x", Padded({'P', '5', '\n'})));
    EXPECT_EQ(KW_FILE_PBM, DetectBytes("kwimg_p1.x", Padded({'P', '1', '\n'})));
    // The sixth byte must be "a", and a bare "P6" needs its line feed.
    EXPECT_EQ(KW_FILE_UNKNOWN, DetectBytes("kwimg_gif.x", Padded({'G', 'I', 'F', '8', '7', 'b'})));
    EXPECT_EQ(KW_FILE_UNKNOWN, DetectBytes("kwimg_p6sp.x", Padded({'P', '6', ' '})));
}

TEST(KwImgFileSrc, ExtensionsAreComparedWithoutCase)
{
    EXPECT_EQ(KW_FILE_TIFF, DetectBytes("kwimg_picture.TIFF", Padded({1})));
    EXPECT_EQ(KW_FILE_TIFF, DetectBytes("kwimg_picture.tif", Padded({1})));
    EXPECT_EQ(KW_FILE_PCX, DetectBytes("kwimg_a.PcX", Padded({1})));
    EXPECT_EQ(KW_FILE_JP2, DetectBytes("kwimg_a.jp2", Padded({1})));
    EXPECT_EQ(KW_FILE_JPC, DetectBytes("kwimg_a.jpc", Padded({1})));
    EXPECT_EQ(KW_FILE_PGX, DetectBytes("kwimg_a.pgx", Padded({1})));
    EXPECT_EQ(KW_FILE_RAS, DetectBytes("kwimg_a.ras", Padded({1})));
    EXPECT_EQ(KW_FILE_TGA, DetectBytes("kwimg_a.tga", Padded({1})));
    EXPECT_EQ(KW_FILE_EMF, DetectBytes("kwimg_a.emf", Padded({1})));
    EXPECT_EQ(KW_FILE_ICO, DetectBytes("kwimg_a.Ico", Padded({1})));
    EXPECT_EQ(KW_FILE_CUR, DetectBytes("kwimg_a.cur", Padded({1})));
    EXPECT_EQ(KW_FILE_UNKNOWN, DetectBytes("kwimg_a.png", Padded({1})));
    EXPECT_EQ(KW_FILE_UNKNOWN, DetectBytes("kwimg_noext", Padded({1})));
    EXPECT_EQ(KwImgFileSrc::TypeFromExtension("a.tar.tga"), KW_FILE_TGA);
    EXPECT_EQ(KwImgFileSrc::TypeFromExtension("a.tga.x"), KW_FILE_UNKNOWN);
}

TEST(KwImgFileSrc, FilesShorterThanTenBytesAreNeverRecognised)
{
    Bytes nine(9, 'B');
    nine[1] = 'M';
    ScratchFile file("kwimg_short.tga", nine);
    KwImgFileSrc source;
    EXPECT_EQ(0, source.SetFile("kwimg_short.tga"));
    EXPECT_EQ(KW_FILE_UNKNOWN, source.GetType());
    EXPECT_EQ(0, source.GetFile().GetLength());
    EXPECT_EQ(nullptr, source.Decode());
    EXPECT_EQ(0, source.SetFile("kwimg_does_not_exist.bmp"));
}

TEST(KwImgFileSrc, SetFileForgetsThePreviousFile)
{
    ScratchFile good("kwimg_good.bmp", SmallBmp());
    KwImgFileSrc source;
    ASSERT_EQ(1, source.SetFile("kwimg_good.bmp"));
    EXPECT_STREQ("kwimg_good.bmp", source.GetFile().GetText());
    EXPECT_EQ(0, source.SetFile("kwimg_missing.bmp"));
    EXPECT_EQ(KW_FILE_UNKNOWN, source.GetType());
    EXPECT_EQ(nullptr, source.Decode());
}

TEST(KwImgFileSrc, DecodeGivesTheFirstGifFrameAndDecodeGroupAllFrames)
{
    ScratchFile file("kwimg_anim.gif", TwoFrameGif());
    KwImgFileSrc source;
    ASSERT_EQ(1, source.SetFile("kwimg_anim.gif"));
    KwImage* image = source.Decode();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(2, image->GetWidth());
    EXPECT_EQ(50, image->GetDelay());
    EXPECT_EQ((Bytes{30, 20, 10, 255, 60, 50, 40, 255}), ImageTest::PixelsOf(image));
    image->Release();
    KwImageGroup* group = source.DecodeGroup();
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(2, group->GetCount());
    KwImage* second = group->GetAt(1);
    EXPECT_EQ(1, second->GetX());
    EXPECT_EQ(0, second->GetY());
    EXPECT_EQ(90, second->GetDelay());
    second->Release();
    group->Release();
}

TEST(KwImgFileSrc, DecodeGroupIsOnlyForGif)
{
    ScratchFile file("kwimg_plain.bmp", SmallBmp());
    KwImgFileSrc source;
    ASSERT_EQ(1, source.SetFile("kwimg_plain.bmp"));
    EXPECT_EQ(nullptr, source.DecodeGroup());
    ImageTest::ExpectPixels(source.Decode(), Bytes{1, 2, 3});
}

TEST(KwImgFileSrc, DeliversIntoConnectedPins)
{
    ScratchFile file("kwimg_pins.bmp", SmallBmp());
    KwImgFileSrc* source = new KwImgFileSrc();
    source->AddRef();
    EXPECT_STREQ("KwObject.IKwPin.IKwSrcPin.KwImgFileSrc", source->GetTypeName());
    ASSERT_EQ(1, source->SetFile("kwimg_pins.bmp"));
    IKwPin* toImage = new IKwPin();
    IKwPin* toBuffer = new IKwPin();
    IKwPin* toString = new IKwPin();
    toImage->AddRef();
    toBuffer->AddRef();
    toString->AddRef();
    KwImage* image = new KwImage();
    KwBuffer* buffer = new KwBuffer();
    KwString* text = new KwString("x");
    image->AddRef();
    buffer->AddRef();
    text->AddRef();
    toImage->Connect(image);
    toBuffer->Connect(buffer);
    toString->Connect(text);
    EXPECT_EQ(1, source->AddPin(toImage));
    EXPECT_EQ(0, source->AddPin(toImage));
    source->AddPin(toBuffer);
    source->AddPin(toString);
    EXPECT_EQ(3, source->GetPinCount());
    EXPECT_EQ(2, source->Deliver());
    EXPECT_EQ(KW_FORMAT_BGR, image->GetFormat());
    EXPECT_EQ(1, image->GetWidth());
    EXPECT_EQ((Bytes{1, 2, 3}), ImageTest::PixelsOf(image));
    ASSERT_EQ(3, buffer->GetSize());
    EXPECT_EQ(3, *buffer->GetPointer(2));
    EXPECT_EQ(1, source->RemovePin(toString));
    EXPECT_EQ(0, source->RemovePin(toString));
    source->Release();
    toImage->Release();
    toBuffer->Release();
    toString->Release();
    image->Release();
    buffer->Release();
    text->Release();
}

TEST(KwImgFileSrc, CoderInputPinDispatchesOnTheTypeName)
{
    ScratchFile file("kwimg_input.bmp", SmallBmp());
    IKwCoder* decoder = KwCreateDecoder(KW_FILE_BMP);
    ASSERT_NE(nullptr, decoder);
    KwString* path = new KwString("kwimg_input.bmp");
    path->AddRef();
    EXPECT_EQ(1, decoder->OpenObject(path));
    EXPECT_EQ(1, decoder->GetWidth());
    Bytes bytes = SmallBmp();
    KwImage* encoded = new KwImage(0, bytes.data(), static_cast<int>(bytes.size()), 0, 0, 0, 0, 0);
    encoded->AddRef();
    EXPECT_EQ(1, decoder->OpenObject(encoded));
    KwBuffer* raw = encoded->GetPixels();
    EXPECT_EQ(1, decoder->OpenObject(raw));
    EXPECT_EQ(0, decoder->OpenObject(nullptr));
    KwImageGroup* notInput = new KwImageGroup();
    notInput->AddRef();
    EXPECT_EQ(0, decoder->OpenObject(notInput));
    EXPECT_EQ(KW_CODER_PARAM, decoder->GetErrorCode());
    notInput->Release();
    raw->Release();
    encoded->Release();
    path->Release();
    decoder->Release();
}

TEST(KwImgFileSrc, TypeNameTestMatchesWholeSegments)
{
    KwBuffer buffer;
    KwImage image;
    EXPECT_EQ(1, IKwPin::IsKindOf(&buffer, "KwBuffer"));
    EXPECT_EQ(0, IKwPin::IsKindOf(&buffer, "KwBuf"));
    EXPECT_EQ(0, IKwPin::IsKindOf(&image, "KwImageGroup"));
    EXPECT_EQ(0, IKwPin::IsKindOf(&image, "KwObject"));
    EXPECT_EQ(0, IKwPin::IsKindOf(nullptr, "KwImage"));
}

TEST(KwImgFileSrc, FactoryKnowsEveryOwnDecoder)
{
    for (int type : {KW_FILE_BMP, KW_FILE_GIF, KW_FILE_ICO, KW_FILE_CUR, KW_FILE_PCX, KW_FILE_PGX,
                     KW_FILE_PPM, KW_FILE_PGM, KW_FILE_PBM, KW_FILE_RAS, KW_FILE_TGA}) {
        IKwCoder* decoder = KwCreateDecoder(type);
        EXPECT_NE(nullptr, decoder) << type;
        if (decoder != nullptr) {
            decoder->Release();
        }
    }
    EXPECT_EQ(nullptr, KwCreateDecoder(KW_FILE_UNKNOWN));
    EXPECT_EQ(nullptr, KwCreateDecoder(1016));
}
