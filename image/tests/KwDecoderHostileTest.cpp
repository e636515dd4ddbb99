// Small hostile files (image/tests/data/hostile, written by make-hostile.py)
// that claim huge pictures or carry values at the edges of their fields:
// every decoder refuses them cleanly, before it takes the memory they claim.
// The memory each one costs is measured by the image_memory_bound check.
#include "ImageTestSupport.h"

#include "KwDecoderFactory.h"
#include "KwEMFDecoder.h"
#include "KwICODecoder.h"
#include "KwJP2Decoder2.h"
#include "KwJPCDecoder2.h"
#include "KwJPEGDecoder.h"
#include "KwPNGDecoder.h"
#include "KwTIFFDecoder.h"
#include "KwWMFDecoder.h"
#include "TKwList.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace KwSDK;
using namespace ImageTest;

namespace {

std::string Hostile(const char* name)
{
    return TestDataPath((std::string("hostile/") + name).c_str());
}

// Opens the file with a new decoder of type T and asks for the picture;
// answers the decoder's error code, or 0 when the picture came.
template <class T>
unsigned int DecodeError(const char* name, int* opened)
{
    T* decoder = new T();
    decoder->AddRef();
    *opened = decoder->OpenFile(KwString(Hostile(name).c_str()));
    KwImage* image = *opened ? decoder->GetImage() : nullptr;
    unsigned int error = image != nullptr ? 0u : decoder->GetErrorCode();
    if (image != nullptr) {
        image->Release();
    }
    decoder->Release();
    return error;
}

// The files of a folder of the test data (full paths).
std::vector<std::string> FilesIn(const char* folder)
{
    std::vector<std::string> files;
    TKwList<KwString> names;
    KwFile listing(KwString(TestDataPath(folder).c_str()));
    if (listing.ListNames(&names)) {
        for (int more = names.MoveFirst(); more; more = names.MoveNext()) {
            files.push_back(names.GetAt()->GetText());
        }
    }
    return files;
}

template <class T>
void ExpectRefusedAsTooLarge(const char* name)
{
    int opened = 0;
    EXPECT_EQ(DecodeError<T>(name, &opened), KW_CODER_TOO_LARGE) << name;
    EXPECT_EQ(opened, 1) << name;
}

} // namespace

// The placeable header claims 11520 x 11520; the records that follow have no
// end record: the file is refused as broken data, on every platform.
TEST(KwDecoderHostile, MetafileRecordsAreWalkedBeforeThePictureIsMade)
{
    int opened = 0;
    EXPECT_EQ(DecodeError<KwWMFDecoder>("wmf-huge-box-no-end.wmf", &opened), KW_CODER_BAD_DATA);
    EXPECT_EQ(opened, 1);
    const unsigned char noEnd[] = { 1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0,
                                    4, 0, 0, 0, 1, 1, 0, 0 };
    EXPECT_EQ(KwWMFDecoder::CheckRecords(noEnd, static_cast<int>(sizeof(noEnd))), 0);
    EXPECT_EQ(KwWMFDecoder::CheckRecords(noEnd, 18 + 6), 0);  // record longer than the data
}

// Well-formed small files whose pictures are far larger than their bytes can
// stand for.
TEST(KwDecoderHostile, SmallFilesCannotClaimHugePictures)
{
    ExpectRefusedAsTooLarge<KwWMFDecoder>("wmf-huge-box-empty.wmf");
    ExpectRefusedAsTooLarge<KwEMFDecoder>("emf-huge-bounds.emf");
    ExpectRefusedAsTooLarge<KwPNGDecoder>("png-huge.png");
    ExpectRefusedAsTooLarge<KwTIFFDecoder>("tiff-huge-lzw.tif");
    ExpectRefusedAsTooLarge<KwJPEGDecoder>("jpeg-huge.jpg");
    // The code stream's tile count alone is refused while the header is read.
    KwJPCDecoder2* jpc = new KwJPCDecoder2();
    jpc->AddRef();
    EXPECT_EQ(jpc->OpenFile(KwString(Hostile("j2k-many-tiles.jpc").c_str())), 0);
    EXPECT_EQ(jpc->GetErrorCode(), KW_CODER_TOO_LARGE);
    jpc->Release();
}

// The icon's header reads only the embedded PNG's header (the icon opens and
// tells the PNG's pixel format); its 10000 x 10000 pixels are refused when
// the picture is asked for.
TEST(KwDecoderHostile, IconHeaderDoesNotDecodeItsPng)
{
    KwICODecoder* decoder = new KwICODecoder();
    decoder->AddRef();
    ASSERT_EQ(decoder->OpenFile(KwString(Hostile("ico-huge-png.ico").c_str())), 1);
    EXPECT_EQ(decoder->GetFormat(), KW_FORMAT_BGRA);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_TOO_LARGE);
    decoder->Release();
}

// A frame of {-1, 0, INT_MAX, 100}: its width must be computed without
// overflow (the sanitizer judges) and is far beyond the limits.
TEST(KwDecoderHostile, EmfFrameAtTheEdgesOfInt)
{
    int opened = 0;
    EXPECT_EQ(DecodeError<KwEMFDecoder>("emf-frame-overflow.emf", &opened), KW_CODER_BAD_HEADER);
    EXPECT_EQ(opened, 0);
}

// Every hostile file and every input a fuzzer once found a fault with goes
// through every decoder: each ends cleanly (the sanitizers of the host build
// judge the rest).
TEST(KwDecoderHostile, EveryDecoderEndsCleanlyOnEverySavedFinding)
{
    const int types[] = { KW_FILE_JPEG, KW_FILE_BMP, KW_FILE_PNG, KW_FILE_GIF, KW_FILE_PCX,
                          KW_FILE_TIFF, KW_FILE_JP2, KW_FILE_JPC, KW_FILE_PGX, KW_FILE_PPM,
                          KW_FILE_RAS, KW_FILE_TGA, KW_FILE_ICO, KW_FILE_WMF, KW_FILE_EMF };
    std::vector<std::string> files = FilesIn("hostile");
    std::vector<std::string> found = FilesIn("crashers");
    files.insert(files.end(), found.begin(), found.end());
    EXPECT_GE(files.size(), 10u);
    for (const std::string& path : files) {
        for (int type : types) {
            IKwCoder* decoder = KwCreateDecoder(type);
            ASSERT_NE(decoder, nullptr);
            if (decoder->OpenFile(KwString(path.c_str()))) {
                KwImage* image = decoder->GetImage();
                EXPECT_TRUE(image != nullptr || decoder->GetErrorCode() != 0) << path;
                if (image != nullptr) {
                    image->Release();
                }
                KwImageGroup* group = decoder->GetImageGroup();
                if (group != nullptr) {
                    group->Release();
                }
            } else {
                EXPECT_NE(decoder->GetErrorCode(), 0u) << path;
            }
            decoder->Release();
        }
    }
}
