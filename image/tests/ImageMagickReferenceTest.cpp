// Every format in its variants, decoded through the file source's detection
// and the decoder it chooses, against ImageMagick's decoding of the same
// file (references made at test time by make-references.sh).
#include "ReferenceImages.h"

#include "KwDecoderFactory.h"
#include "KwImgFileSrc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace KwSDK;
using namespace ImageTest;

namespace {

struct Entry {
    std::string file;
    int tolerance;
    std::string mode;
    int frames;
};

std::vector<Entry> EntriesOf(const std::string& family)
{
    std::vector<Entry> entries;
    for (const auto& line : ReadLines(RefPath("manifest.txt"))) {
        if (line.size() == 5 && line[0] == family) {
            entries.push_back({ line[1], std::atoi(line[2].c_str()), line[3], std::atoi(line[4].c_str()) });
        }
    }
    return entries;
}

// Four samples delivered as stored against ImageMagick's raw C, M, Y, K: the
// files ImageMagick writes are Adobe's, which store every sample inverted.
void CheckCmyk(const Entry& entry, KwImage* image)
{
    ASSERT_EQ(image->GetFormat(), KW_FORMAT_SAMPLES4);
    Bytes ours = PixelsOf(image);
    Bytes cmyk = ReadAll(RefPath(entry.file + ".cmyk"));
    ASSERT_EQ(ours.size(), cmyk.size());
    int differing = 0;
    for (size_t i = 0; i < ours.size(); ++i) {
        differing += std::abs(ours[i] - (255 - cmyk[i])) > entry.tolerance;
    }
    EXPECT_EQ(differing, 0) << entry.file;
}

// Frame offsets and delays against ImageMagick's (delay in 1/100 s).
void CheckFramePlacement(const Entry& entry, KwImageGroup* group)
{
    auto lines = ReadLines(RefPath(entry.file + ".frames"));
    ASSERT_EQ(static_cast<int>(lines.size()), group->GetCount()) << entry.file;
    for (int i = 0; i < group->GetCount(); ++i) {
        KwImage* frame = group->GetAt(i);
        ASSERT_EQ(lines[i].size(), 3u);
        EXPECT_EQ(frame->GetX(), std::atoi(lines[i][0].c_str())) << entry.file << " frame " << i;
        EXPECT_EQ(frame->GetY(), std::atoi(lines[i][1].c_str())) << entry.file << " frame " << i;
        EXPECT_EQ(frame->GetDelay(), std::atoi(lines[i][2].c_str()) * 10) << entry.file << " frame " << i;
        frame->Release();
    }
}

void CheckEntry(const Entry& entry, int expectedType)
{
    SCOPED_TRACE(entry.file);
    KwImgFileSrc source;
    ASSERT_EQ(source.SetFile(KwString(RefPath(entry.file).c_str())), 1);
    ASSERT_EQ(source.GetType(), expectedType);
    IKwCoder* decoder = KwCreateDecoder(source.GetType());
    ASSERT_NE(decoder, nullptr);
    ASSERT_EQ(decoder->OpenFile(KwString(RefPath(entry.file).c_str())), 1)
        << decoder->GetErrorMessage(decoder->GetErrorCode());
    KwImageGroup* group = decoder->GetImageGroup();
    EXPECT_NE(group, nullptr) << decoder->GetErrorMessage(decoder->GetErrorCode());
    decoder->Release();
    if (group == nullptr) {
        return;
    }
    EXPECT_EQ(group->GetCount(), entry.frames);
    for (int i = 0; i < group->GetCount() && i < entry.frames; ++i) {
        KwImage* image = group->GetAt(i);
        if (entry.mode == "cmyk") {
            CheckCmyk(entry, image);
        } else {
            Rgba reference;
            ASSERT_TRUE(ReadPam(RefPath(entry.file + "." + std::to_string(i) + ".pam"), &reference));
            EXPECT_EQ(image->GetWidth(), reference.width) << "frame " << i;
            EXPECT_EQ(image->GetHeight(), reference.height) << "frame " << i;
            EXPECT_TRUE(SameRgba(ToRgba(image), reference, entry.tolerance)) << "frame " << i;
        }
        image->Release();
    }
    if (expectedType == KW_FILE_GIF) {
        CheckFramePlacement(entry, group);
    }
    group->Release();
}

// Checks every file of a family; the family must have references at all.
void CheckFamily(const char* family, int expectedType)
{
    std::vector<Entry> entries = EntriesOf(family);
    ASSERT_FALSE(entries.empty()) << "no references for " << family << " in " << RefPath("manifest.txt");
    for (const Entry& entry : entries) {
        int type = expectedType;
        if (type == KW_FILE_PPM) {
            const std::string ext = entry.file.substr(entry.file.size() - 3);
            type = ext == "pbm" ? KW_FILE_PBM : (ext == "pgm" ? KW_FILE_PGM : KW_FILE_PPM);
        } else if (type == KW_FILE_ICO && entry.file.find(".cur") != std::string::npos) {
            type = KW_FILE_CUR;
        } else if (type == KW_FILE_JP2 && entry.file.find(".jpc") != std::string::npos) {
            type = KW_FILE_JPC;
        }
        CheckEntry(entry, type);
    }
}

} // namespace

TEST(ImageMagickReference, Bmp) { CheckFamily("BMP", KW_FILE_BMP); }
TEST(ImageMagickReference, IconsAndCursors) { CheckFamily("ICO", KW_FILE_ICO); }
TEST(ImageMagickReference, Gif) { CheckFamily("GIF", KW_FILE_GIF); }
TEST(ImageMagickReference, Png) { CheckFamily("PNG", KW_FILE_PNG); }
TEST(ImageMagickReference, Jpeg) { CheckFamily("JPEG", KW_FILE_JPEG); }
TEST(ImageMagickReference, Tiff) { CheckFamily("TIFF", KW_FILE_TIFF); }
TEST(ImageMagickReference, Pcx) { CheckFamily("PCX", KW_FILE_PCX); }
TEST(ImageMagickReference, Targa) { CheckFamily("TGA", KW_FILE_TGA); }
TEST(ImageMagickReference, Pnm) { CheckFamily("PNM", KW_FILE_PPM); }
TEST(ImageMagickReference, SunRaster) { CheckFamily("RAS", KW_FILE_RAS); }
TEST(ImageMagickReference, Jpeg2000) { CheckFamily("JP2", KW_FILE_JP2); }
