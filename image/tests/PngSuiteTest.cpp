// The PNG decoder on PngSuite and libpng's own test pictures: every valid
// file matches ImageMagick's decoding (gamma-corrected as the decoder does),
// every deliberately broken file is refused, and libpng's collected crash
// inputs never crash.
#include "ReferenceImages.h"

#include "KwImageFormat.h"
#include "KwPNGDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace KwSDK;
using namespace ImageTest;

namespace {

// Decodes a file with the PNG decoder; null when it is refused.
KwImage* DecodePng(const std::string& path, unsigned int* error)
{
    KwPNGDecoder* decoder = new KwPNGDecoder();
    decoder->AddRef();
    KwImage* image = decoder->OpenFile(KwString(path.c_str())) ? decoder->GetImage() : nullptr;
    *error = decoder->GetErrorCode();
    decoder->Release();
    return image;
}

} // namespace

TEST(PngSuite, ValidFilesMatchTheReference)
{
    auto lines = ReadLines(RefPath("pngsuite.txt"));
    ASSERT_GE(lines.size(), 60u) << "PngSuite references missing in " << RefPath("pngsuite.txt");
    for (const auto& line : lines) {
        ASSERT_EQ(line.size(), 3u);
        SCOPED_TRACE(line[0]);
        unsigned int error = 0;
        KwImage* image = DecodePng(SuitePath(line[0]), &error);
        ASSERT_NE(image, nullptr) << "error " << std::hex << error;
        Rgba reference;
        ASSERT_TRUE(ReadPam(RefPath(line[1]), &reference));
        EXPECT_EQ(image->GetWidth(), reference.width);
        EXPECT_EQ(image->GetHeight(), reference.height);
        EXPECT_TRUE(SameRgba(ToRgba(image), reference, std::atoi(line[2].c_str())));
        image->Release();
    }
}

// Alpha or a transparency chunk gives 4-byte pixels, everything else 3.
TEST(PngSuite, FormatFollowsTransparency)
{
    struct Case {
        const char* file;
        int format;
    } cases[] = {
        { "pngsuite/basn0g08.png", KW_FORMAT_BGR },   { "pngsuite/basn2c16.png", KW_FORMAT_BGR },
        { "pngsuite/basn3p04.png", KW_FORMAT_BGR },   { "pngsuite/basn4a08.png", KW_FORMAT_BGRA },
        { "pngsuite/basn6a16.png", KW_FORMAT_BGRA },  { "pngsuite/ftbbn3p08.png", KW_FORMAT_BGRA },
        { "pngsuite/ftbbn0g04.png", KW_FORMAT_BGRA }, { "testpngs/rgb-8-tRNS.png", KW_FORMAT_BGRA },
    };
    for (const Case& c : cases) {
        unsigned int error = 0;
        KwImage* image = DecodePng(SuitePath(c.file), &error);
        ASSERT_NE(image, nullptr) << c.file;
        EXPECT_EQ(image->GetFormat(), c.format) << c.file;
        image->Release();
    }
}

TEST(PngSuite, BrokenFilesAreRefused)
{
    auto names = ReadLines(RefPath("pngsuite-x.txt"));
    ASSERT_GE(names.size(), 10u);
    for (const auto& name : names) {
        unsigned int error = 0;
        KwImage* image = DecodePng(RefPath("pngsuite-x/" + name[0]), &error);
        EXPECT_EQ(image, nullptr) << name[0];
        EXPECT_NE(error, 0u) << name[0];
        if (image != nullptr) {
            image->Release();
        }
    }
}

// Under the sanitizers a crash or an out-of-bounds access fails the test;
// a file that decodes must have all its pixels.
TEST(PngSuite, CrashInputsAreHandled)
{
    auto names = ReadLines(RefPath("crashers.txt"));
    ASSERT_FALSE(names.empty());
    for (const auto& name : names) {
        unsigned int error = 0;
        KwImage* image = DecodePng(SuitePath("testpngs/crashers/" + name[0]), &error);
        if (image != nullptr) {
            size_t expected = static_cast<size_t>(image->GetWidth()) * image->GetHeight() *
                              KwBytesPerPixel(image->GetFormat());
            EXPECT_EQ(PixelsOf(image).size(), expected) << name[0];
            image->Release();
        } else {
            EXPECT_NE(error, 0u) << name[0];
        }
    }
}
