// Tests of the placeable metafile decoder: the header and natural size on
// every platform; on Windows a metafile recorded with GDI is drawn, on the
// host decoding is refused with an error code.
#include "ImageTestSupport.h"

#include "KwWMFDecoder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace KwSDK;
using namespace ImageTest;

namespace {

// The 22-byte placeable header with its checksum (XOR of the first ten words).
Bytes Placeable(int left, int top, int right, int bottom, int unitsPerInch)
{
    ByteWriter w;
    w.U32(0x9AC6CDD7u).U16(0).U16(left & 0xFFFF).U16(top & 0xFFFF).U16(right & 0xFFFF);
    w.U16(bottom & 0xFFFF).U16(unitsPerInch).U32(0);
    unsigned int sum = 0;
    for (size_t i = 0; i < 20; i += 2) {
        sum ^= w.Get()[i] | w.Get()[i + 1] << 8;
    }
    return w.U16(sum).Get();
}

// A standard metafile with only its header and the end record.
Bytes EmptyMetafile()
{
    ByteWriter w;
    w.U16(1).U16(9).U16(0x300).U32(12).U16(0).U32(3).U16(0);
    w.U32(3).U16(0);  // end record: 3 words, function 0
    return w.Get();
}

Bytes Join(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(KwWMFDecoder, NaturalSizeComesFromTheBoxAndUnits)
{
    int opened = 0;
    KwWMFDecoder* decoder =
        OpenDecoder<KwWMFDecoder>(Join(Placeable(-100, 50, 1340, 770, 1440), EmptyMetafile()), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetWidth(), 96);   // 1440 units = 1 inch
    EXPECT_EQ(decoder->GetHeight(), 48);
    EXPECT_EQ(decoder->GetBoxLeft(), -100);
    EXPECT_EQ(decoder->GetUnitsPerInch(), 1440);
    EXPECT_EQ(decoder->GetFormat(), KW_FORMAT_BGRA);
    decoder->Release();
}

TEST(KwWMFDecoder, BrokenHeadersFail)
{
    Bytes records = EmptyMetafile();
    EXPECT_EQ(DecodeWith<KwWMFDecoder>(Join(Placeable(0, 0, 100, 100, 0), records)), nullptr);
    EXPECT_EQ(DecodeWith<KwWMFDecoder>(Join(Placeable(100, 0, 100, 100, 96), records)), nullptr);
    Bytes badKey = Join(Placeable(0, 0, 100, 100, 96), records);
    badKey[0] = 0xD6;
    EXPECT_EQ(DecodeWith<KwWMFDecoder>(badKey), nullptr);
    Bytes badType = Join(Placeable(0, 0, 100, 100, 96), records);
    badType[22] = 7;
    EXPECT_EQ(DecodeWith<KwWMFDecoder>(badType), nullptr);
    EXPECT_EQ(DecodeWith<KwWMFDecoder>(Placeable(0, 0, 100, 100, 96)), nullptr);
}

#ifdef _WIN32

// A metafile recorded with GDI: a red square over the top-left quarter of
// a 100 x 100 box, drawn at 1:1.
static void CheckDrawing()
{
    HDC recorder = CreateMetaFileA(nullptr);
    ASSERT_NE(recorder, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldBrush = SelectObject(recorder, red);
    HGDIOBJ oldPen = SelectObject(recorder, GetStockObject(NULL_PEN));
    Rectangle(recorder, 0, 0, 51, 51);
    SelectObject(recorder, oldPen);
    SelectObject(recorder, oldBrush);
    HMETAFILE metafile = CloseMetaFile(recorder);
    DeleteObject(red);
    ASSERT_NE(metafile, nullptr);
    UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
    Bytes records(size);
    GetMetaFileBitsEx(metafile, size, records.data());
    DeleteMetaFile(metafile);

    KwImage* image = DecodeWith<KwWMFDecoder>(Join(Placeable(0, 0, 100, 100, 96), records));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->GetWidth(), 100);
    ASSERT_EQ(image->GetFormat(), KW_FORMAT_BGRA);
    Bytes pixels = PixelsOf(image);
    auto at = [&](int x, int y) { return Bytes(&pixels[(y * 100 + x) * 4], &pixels[(y * 100 + x) * 4 + 4]); };
    EXPECT_EQ(at(20, 20), (Bytes{ 0, 0, 255, 255 }));
    EXPECT_EQ(at(80, 80), (Bytes{ 255, 255, 255, 255 }));
    EXPECT_EQ(at(80, 20), (Bytes{ 255, 255, 255, 255 }));
    image->Release();
}

#else

static void CheckDrawing()
{
    int opened = 0;
    KwWMFDecoder* decoder =
        OpenDecoder<KwWMFDecoder>(Join(Placeable(0, 0, 96, 96, 96), EmptyMetafile()), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_UNSUPPORTED);
    decoder->Release();
}

#endif

// Both builds register the same test: GDI draws on Windows, the host refuses.
TEST(KwWMFDecoder, DrawsWithGdiOrRefusesWithoutIt)
{
    CheckDrawing();
}
