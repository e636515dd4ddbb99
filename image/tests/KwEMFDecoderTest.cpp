// Tests of the enhanced metafile decoder: the header and natural size on
// every platform; on Windows a metafile recorded with GDI is drawn, on the
// host decoding is refused with an error code.
#include "ImageTestSupport.h"

#include "KwEMFDecoder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace KwSDK;
using namespace ImageTest;

namespace {

// A header record (88 bytes) and an end record (20 bytes).
Bytes Emf(const int bounds[4], const int frame[4], int deviceX, int deviceY, int mmX, int mmY)
{
    ByteWriter w;
    w.U32(1).U32(88);
    for (int i = 0; i < 4; ++i) w.U32(static_cast<unsigned int>(bounds[i]));
    for (int i = 0; i < 4; ++i) w.U32(static_cast<unsigned int>(frame[i]));
    w.U32(0x464D4520u).U32(0x10000).U32(108).U32(2).U16(1).U16(0).U32(0).U32(0).U32(0);
    w.U32(static_cast<unsigned int>(deviceX)).U32(static_cast<unsigned int>(deviceY));
    w.U32(static_cast<unsigned int>(mmX)).U32(static_cast<unsigned int>(mmY));
    w.U32(14).U32(20).U32(0).U32(16).U32(20);  // end of file record
    return w.Get();
}

} // namespace

TEST(KwEMFDecoder, NaturalSizeFromFrameAndReferenceDevice)
{
    const int bounds[4] = { 0, 0, 9, 9 };
    const int frame[4] = { 0, 0, 1000, 500 };  // 10 mm x 5 mm
    int opened = 0;
    // 1000 x 500 pixels over 100 x 50 mm: 10 pixels per millimetre.
    KwEMFDecoder* decoder = OpenDecoder<KwEMFDecoder>(Emf(bounds, frame, 1000, 500, 100, 50), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetWidth(), 100);
    EXPECT_EQ(decoder->GetHeight(), 50);
    EXPECT_EQ(decoder->GetFrameRight(), 1000);
    EXPECT_EQ(decoder->GetFormat(), KW_FORMAT_RGB);
    decoder->Release();
    // Without a reference device the inclusive bounds give the size.
    decoder = OpenDecoder<KwEMFDecoder>(Emf(bounds, frame, 0, 0, 0, 0), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetWidth(), 10);
    decoder->Release();
}

TEST(KwEMFDecoder, BrokenHeadersFail)
{
    const int bounds[4] = { 0, 0, 9, 9 };
    const int frame[4] = { 0, 0, 1000, 500 };
    Bytes good = Emf(bounds, frame, 1000, 500, 100, 50);
    Bytes badSignature = good;
    badSignature[40] = 'X';
    EXPECT_EQ(DecodeWith<KwEMFDecoder>(badSignature), nullptr);
    Bytes badType = good;
    badType[0] = 2;
    EXPECT_EQ(DecodeWith<KwEMFDecoder>(badType), nullptr);
    const int empty[4] = { 0, 0, 0, 0 };
    EXPECT_EQ(DecodeWith<KwEMFDecoder>(Emf(bounds, empty, 1000, 500, 100, 50)), nullptr);
    const int huge[4] = { 0, 0, 100000000, 500 };
    EXPECT_EQ(DecodeWith<KwEMFDecoder>(Emf(bounds, huge, 1000, 500, 100, 50)), nullptr);
    // The file is shorter than its header says.
    int opened = 0;
    KwEMFDecoder* decoder = OpenDecoder<KwEMFDecoder>(Bytes(good.begin(), good.end() - 8), &opened);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    EXPECT_NE(decoder->GetErrorCode(), 0u);
    decoder->Release();
}

#ifdef _WIN32

// A metafile recorded with GDI: the left 40 % filled red, drawn at its
// natural size.
static void CheckDrawing()
{
    RECT frame = { 0, 0, 2540, 1270 };  // 25.4 mm x 12.7 mm
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    ASSERT_NE(recorder, nullptr);
    HDC screen = GetDC(nullptr);
    int perInchX = GetDeviceCaps(recorder, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    RECT red = { 0, 0, perInchX * 4 / 10, perInchX };
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(recorder, &red, brush);
    DeleteObject(brush);
    HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    ASSERT_NE(metafile, nullptr);
    UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    Bytes file(size);
    GetEnhMetaFileBits(metafile, size, file.data());
    DeleteEnhMetaFile(metafile);

    KwImage* image = DecodeWith<KwEMFDecoder>(file);
    ASSERT_NE(image, nullptr);
    int width = image->GetWidth();
    int height = image->GetHeight();
    EXPECT_GT(width, 10);
    EXPECT_NEAR(width, height * 2, 2);
    Bytes pixels = PixelsOf(image);
    auto at = [&](int x, int y) { return Bytes(&pixels[(y * width + x) * 3], &pixels[(y * width + x) * 3 + 3]); };
    EXPECT_EQ(at(width / 10, height / 2), (Bytes{ 255, 0, 0 }));
    EXPECT_EQ(at(width * 9 / 10, height / 2), (Bytes{ 255, 255, 255 }));
    image->Release();
}

#else

static void CheckDrawing()
{
    const int bounds[4] = { 0, 0, 9, 9 };
    const int frame[4] = { 0, 0, 1000, 500 };
    int opened = 0;
    KwEMFDecoder* decoder = OpenDecoder<KwEMFDecoder>(Emf(bounds, frame, 1000, 500, 100, 50), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_UNSUPPORTED);
    decoder->Release();
}

#endif

// Both builds register the same test: GDI draws on Windows, the host refuses.
TEST(KwEMFDecoder, DrawsWithGdiOrRefusesWithoutIt)
{
    CheckDrawing();
}
