// Tests of the GIF decoder on files built with a real LZW coder: tables,
// transparency, interlace, frames and damaged data.
#include "KwGIFDecoder.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;

namespace {

// Colour indices where the first runLength of every period indices repeat
// value and the rest are pseudo-random noise from the seed.
Bytes RunsAndNoise(int count, int period, int runLength, unsigned char value, unsigned int seed)
{
    Bytes indices;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        indices.push_back(static_cast<unsigned char>(i % period < runLength ? value : (seed >> 16) & 0xFF));
    }
    return indices;
}

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    bool interlaced = false;
    Bytes localTable;        // R, G, B entries, a power of two of them
    bool control = false;
    int delay = 0;
    bool transparent = false;
    int transparentIndex = 0;
    Bytes indices;           // row by row, top to bottom
    Bytes coded;             // LZW sub-blocks; made from indices when empty
};

int TableBits(size_t bytes)
{
    int bits = 0;
    while ((2u << bits) * 3 < bytes) {
        ++bits;
    }
    return bits;
}

Bytes InterlaceRows(const GifFrame& frame)
{
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    Bytes ordered;
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = kStart[pass]; row < frame.height; row += kStep[pass]) {
            auto begin = frame.indices.begin() + row * frame.width;
            ordered.insert(ordered.end(), begin, begin + frame.width);
        }
    }
    return ordered;
}

Bytes BuildGif(int width, int height, const Bytes& globalTable, const std::vector<GifFrame>& frames,
               int minSize = 8)
{
    ByteWriter w;
    w.Text("GIF89a").U16(width).U16(height);
    w.U8(globalTable.empty() ? 0 : 0x80 | 0x70 | TableBits(globalTable.size())).U8(0).U8(0);
    w.Raw(globalTable);
    w.U8('!').U8(0xFE).U8(3).Text("hey").U8(0);  // a comment to skip
    for (const GifFrame& frame : frames) {
        if (frame.control) {
            w.U8('!').U8(0xF9).U8(4).U8((2 << 2) | (frame.transparent ? 1 : 0));
            w.U16(frame.delay).U8(frame.transparentIndex).U8(0);
        }
        w.U8(',').U16(frame.left).U16(frame.top).U16(frame.width).U16(frame.height);
        int packed = (frame.interlaced ? 0x40 : 0);
        if (!frame.localTable.empty()) {
            packed |= 0x80 | TableBits(frame.localTable.size());
        }
        w.U8(packed).Raw(frame.localTable);
        if (!frame.coded.empty()) {
            w.U8(minSize).Raw(frame.coded);
            continue;
        }
        w.U8(minSize).Raw(ImageTest::GifLzw(frame.interlaced ? InterlaceRows(frame) : frame.indices, minSize));
    }
    w.U8(';');
    return w.Get();
}

Bytes Palette4()
{
    return {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
}

// 256 entries whose red is the index, so a pixel tells which index it got.
Bytes IndexTable()
{
    Bytes table;
    for (int i = 0; i < 256; ++i) {
        table.insert(table.end(),
                     {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i), 9});
    }
    return table;
}

// The B, G, R, A pixels IndexTable gives for indices.
Bytes IndexPixels(const Bytes& indices)
{
    Bytes pixels;
    for (unsigned char index : indices) {
        pixels.insert(pixels.end(), {9, static_cast<unsigned char>(255 - index), index, 255});
    }
    return pixels;
}

// The same LZW data cut into sub-blocks of at most size bytes.
Bytes Rechunk(const Bytes& blocks, size_t size)
{
    Bytes data;
    for (size_t at = 0; at < blocks.size() && blocks[at] != 0; at += 1 + blocks[at]) {
        data.insert(data.end(), blocks.begin() + static_cast<long>(at + 1),
                    blocks.begin() + static_cast<long>(at + 1 + blocks[at]));
    }
    Bytes out;
    for (size_t at = 0; at < data.size(); at += size) {
        size_t length = data.size() - at < size ? data.size() - at : size;
        out.push_back(static_cast<unsigned char>(length));
        out.insert(out.end(), data.begin() + static_cast<long>(at),
                   data.begin() + static_cast<long>(at + length));
    }
    out.push_back(0);
    return out;
}

Bytes DecodeIndexFrame(const GifFrame& frame)
{
    Bytes file = BuildGif(frame.width, frame.height, IndexTable(), {frame});
    KwImage* image = ImageTest::DecodeWith<KwGIFDecoder>(file);
    Bytes pixels = image != nullptr ? ImageTest::PixelsOf(image) : Bytes();
    if (image != nullptr) {
        image->Release();
    }
    return pixels;
}

} // namespace

TEST(KwGIFDecoder, DecodesAFrameWithTheGlobalTable)
{
    GifFrame frame;
    frame.width = 3;
    frame.height = 2;
    frame.indices = {0, 1, 2, 3, 3, 0};
    KwImage* image = ImageTest::DecodeWith<KwGIFDecoder>(BuildGif(3, 2, Palette4(), {frame}, 2));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(KW_FORMAT_BGRA, image->GetFormat());
    EXPECT_EQ((Bytes{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255,
                     255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 255}),
              ImageTest::PixelsOf(image));
    image->Release();
}

TEST(KwGIFDecoder, LongRunsExerciseCodeGrowthAndTableResets)
{
    // 200 x 100 pixels with long runs and noise fill the 4096-entry table
    // several times.
    GifFrame frame;
    frame.width = 200;
    frame.height = 100;
    frame.indices = RunsAndNoise(200 * 100, 700, 350, 7, 12345);
    Bytes table;
    for (int i = 0; i < 256; ++i) {
        table.insert(table.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i), 9});
    }
    KwImage* image = ImageTest::DecodeWith<KwGIFDecoder>(BuildGif(200, 100, table, {frame}));
    ASSERT_NE(nullptr, image);
    Bytes pixels = ImageTest::PixelsOf(image);
    ASSERT_EQ(static_cast<size_t>(200 * 100 * 4), pixels.size());
    for (int i = 0; i < 200 * 100; ++i) {
        ASSERT_EQ(frame.indices[i], pixels[i * 4 + 2]) << "pixel " << i;
        ASSERT_EQ(255 - frame.indices[i], pixels[i * 4 + 1]) << "pixel " << i;
    }
    image->Release();
}

TEST(KwGIFDecoder, TransparentIndexGivesAlphaZero)
{
    GifFrame frame;
    frame.width = 2;
    frame.control = true;
    frame.transparent = true;
    frame.transparentIndex = 1;
    frame.indices = {0, 1};
    KwImage* image = ImageTest::DecodeWith<KwGIFDecoder>(BuildGif(2, 1, Palette4(), {frame}, 2));
    ASSERT_NE(nullptr, image);
    Bytes pixels = ImageTest::PixelsOf(image);
    EXPECT_EQ(255, pixels[3]);
    EXPECT_EQ(0, pixels[7]);
    image->Release();
}

TEST(KwGIFDecoder, InterlacedRowsGoToTheirPasses)
{
    GifFrame frame;
    frame.width = 1;
    frame.height = 10;
    frame.interlaced = true;
    Bytes table;
    for (int i = 0; i < 16; ++i) {
        table.insert(table.end(), {static_cast<unsigned char>(i * 10), 0, 0});
    }
    frame.indices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    KwImage* image = ImageTest::DecodeWith<KwGIFDecoder>(BuildGif(1, 10, table, {frame}, 4));
    ASSERT_NE(nullptr, image);
    Bytes pixels = ImageTest::PixelsOf(image);
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(row * 10, pixels[row * 4 + 2]) << row;
    }
    image->Release();
}

TEST(KwGIFDecoder, EveryFrameKeepsItsOffsetsDelayAndLocalTable)
{
    GifFrame first;
    first.width = 2;
    first.height = 2;
    first.control = true;
    first.delay = 7;
    first.indices = {0, 1, 2, 3};
    GifFrame second;
    second.left = 3;
    second.top = 1;
    second.width = 1;
    second.height = 1;
    second.control = true;
    second.delay = 25;
    second.localTable = {1, 2, 3, 4, 5, 6};
    second.indices = {1};
    int opened = 0;
    KwGIFDecoder* decoder =
        ImageTest::OpenDecoder<KwGIFDecoder>(BuildGif(5, 4, Palette4(), {first, second}, 2), &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(5, decoder->GetWidth());
    EXPECT_EQ(4, decoder->GetHeight());
    EXPECT_EQ(2, decoder->GetImageCount());
    KwImageGroup* group = decoder->GetImageGroup();
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(2, group->GetCount());
    EXPECT_EQ(5, group->GetWidth());
    EXPECT_EQ(4, group->GetHeight());
    KwImage* a = group->GetAt(0);
    KwImage* b = group->GetAt(1);
    EXPECT_EQ(70, a->GetDelay());
    EXPECT_EQ(250, b->GetDelay());
    EXPECT_EQ(3, b->GetX());
    EXPECT_EQ(1, b->GetY());
    EXPECT_EQ((Bytes{6, 5, 4, 255}), ImageTest::PixelsOf(b));
    EXPECT_EQ(2, decoder->GetDisposal());
    KwImage* main = decoder->GetImage();
    EXPECT_EQ(a, main);
    main->Release();
    a->Release();
    b->Release();
    group->Release();
    decoder->Release();
}

TEST(KwGIFDecoder, RefusesBadHeadersAndTruncatedData)
{
    GifFrame frame;
    frame.width = 20;
    frame.height = 20;
    frame.indices.assign(400, 2);
    for (size_t i = 0; i < frame.indices.size(); i += 3) {
        frame.indices[i] = static_cast<unsigned char>(i % 4);
    }
    Bytes good = BuildGif(20, 20, Palette4(), {frame}, 2);
    KwImage* image = ImageTest::DecodeWith<KwGIFDecoder>(good);
    ASSERT_NE(nullptr, image);
    image->Release();
    for (size_t cut = 14; cut < good.size() - 1; cut += 3) {
        Bytes truncated(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwGIFDecoder>(truncated)) << cut;
    }
    Bytes version = good;
    version[4] = '8';
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwGIFDecoder>(version));
    // No image at all.
    ByteWriter empty;
    empty.Text("GIF87a").U16(1).U16(1).U8(0).U8(0).U8(0).U8(';');
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwGIFDecoder>(empty.Get()));
}

TEST(KwGIFDecoder, InvalidCodesStopTheImageWithoutStrayWrites)
{
    // Minimum code size 2: the first code after clear is 7, a code that is
    // not yet in the table.
    ByteWriter w;
    w.Text("GIF89a").U16(2).U16(2).U8(0x81).U8(0).U8(0);
    w.Raw(Palette4());
    w.U8(',').U16(0).U16(0).U16(2).U16(2).U8(0);
    w.U8(2).U8(2).U8(0x3C).U8(0x00).U8(0).U8(';');
    KwImage* image = ImageTest::DecodeWith<KwGIFDecoder>(w.Get());
    ASSERT_NE(nullptr, image);
    // Nothing was decoded: every pixel stays transparent black.
    EXPECT_EQ(Bytes(16, 0), ImageTest::PixelsOf(image));
    image->Release();
    // A minimum code size beyond 8 would give indices past the tables.
    Bytes wide = w.Get();
    wide[wide.size() - 6] = 11;
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwGIFDecoder>(wide));
}

TEST(KwGIFDecoder, TinyFileClaimingAHugeFrameIsRefusedBeforeAllocation)
{
    // Found by fuzzing: 60 bytes claiming a 65533 x 503 frame.
    const Bytes bytes = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x09, 0x00, 0xf1, 0x00, 0x00, 0xff, 0x00,
        0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x05,
        0x00, 0x00, 0x02, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0xfd, 0xff, 0xf7, 0x01, 0x40, 0x02,
        0x08, 0xc4, 0x14, 0x38, 0x00, 0xd7, 0xeb, 0x54, 0x01, 0x00, 0x3b};
    int opened = 0;
    KwGIFDecoder* decoder = ImageTest::OpenDecoder<KwGIFDecoder>(bytes, &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(nullptr, decoder->GetImage());
    EXPECT_EQ(KW_CODER_BAD_DATA, decoder->GetErrorCode());
    decoder->Release();
}

TEST(KwGIFDecoder, RepeatedPatternsOfEveryPeriodDecodeExactly)
{
    // Short periods give strings that overlap the output they repeat, long
    // ones strings copied from far back; a break now and then keeps the
    // table growing and resetting.
    for (int period : {1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 64, 200}) {
        GifFrame frame;
        frame.width = 120;
        frame.height = 50;
        for (int i = 0; i < 120 * 50; ++i) {
            int index = i % 997 == 0 ? 255 : (i % period) * 37 % 251;
            frame.indices.push_back(static_cast<unsigned char>(index));
        }
        EXPECT_EQ(IndexPixels(frame.indices), DecodeIndexFrame(frame)) << "period " << period;
    }
}

TEST(KwGIFDecoder, SubBlocksOfAnySizeGiveTheSamePixels)
{
    GifFrame frame;
    frame.width = 40;
    frame.height = 30;
    frame.indices = RunsAndNoise(40 * 30, 50, 20, 3, 99);
    Bytes coded = ImageTest::GifLzw(frame.indices, 8);
    for (size_t size : {1, 2, 7, 254, 255}) {
        frame.coded = Rechunk(coded, size);
        EXPECT_EQ(IndexPixels(frame.indices), DecodeIndexFrame(frame)) << "blocks of " << size;
    }
    // A file cut inside a sub-block fails whatever the block size.
    frame.coded = Rechunk(coded, 7);
    Bytes file = BuildGif(40, 30, IndexTable(), {frame});
    file.resize(file.size() - 20);
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwGIFDecoder>(file));
}

TEST(KwGIFDecoder, DataForMorePixelsStopsAtTheFramesLastPixel)
{
    // A 7 x 5 frame whose data holds far more pixels, ending inside long
    // strings of one index and of a short pattern.
    for (int period : {1, 3, 11}) {
        Bytes many;
        for (int i = 0; i < 2000; ++i) {
            many.push_back(static_cast<unsigned char>(i % period + 4));
        }
        GifFrame frame;
        frame.width = 7;
        frame.height = 5;
        frame.coded = ImageTest::GifLzw(many, 8);
        Bytes expected = IndexPixels(Bytes(many.begin(), many.begin() + 35));
        EXPECT_EQ(expected, DecodeIndexFrame(frame)) << "period " << period;
    }
}

TEST(KwGIFDecoder, MissingPixelsStayTransparentBlackInEveryRow)
{
    // Data for 10 pixels of a 4 x 6 frame: two full rows, half of the
    // third, nothing after.
    Bytes ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    GifFrame frame;
    frame.width = 4;
    frame.height = 6;
    frame.coded = ImageTest::GifLzw(ten, 8);
    Bytes rows = IndexPixels(ten);
    rows.resize(4 * 6 * 4, 0);
    EXPECT_EQ(rows, DecodeIndexFrame(frame));
    // Interlaced, the decoded rows are 0, 4 and half of 2.
    frame.interlaced = true;
    Bytes placed(4 * 6 * 4, 0);
    Bytes pixels = IndexPixels(ten);
    std::copy(pixels.begin(), pixels.begin() + 16, placed.begin());
    std::copy(pixels.begin() + 16, pixels.begin() + 32, placed.begin() + 4 * 16);
    std::copy(pixels.begin() + 32, pixels.end(), placed.begin() + 2 * 16);
    EXPECT_EQ(placed, DecodeIndexFrame(frame));
}

TEST(KwGIFDecoder, DecodedPixelsAreTheFirstFrames)
{
    GifFrame first;
    first.width = 3;
    first.height = 3;
    first.indices = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    GifFrame second;
    second.width = 2;
    second.indices = {1, 2};
    int opened = 0;
    KwGIFDecoder* decoder =
        ImageTest::OpenDecoder<KwGIFDecoder>(BuildGif(3, 3, IndexTable(), {first, second}), &opened);
    ASSERT_EQ(1, opened);
    KwBuffer* pixels = decoder->GetPixels();
    ASSERT_NE(nullptr, pixels);
    Bytes decoded(pixels->GetPointer(0), pixels->GetPointer(0) + pixels->GetSize());
    EXPECT_EQ(IndexPixels(first.indices), decoded);
    KwImage* image = decoder->GetImage();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(decoded, ImageTest::PixelsOf(image));
    // Asked again, the decoder copies the first frame into the buffer given.
    KwBuffer* again = new KwBuffer();
    again->AddRef();
    ASSERT_EQ(1, decoder->DecodePixels(again));
    EXPECT_EQ(decoded, Bytes(again->GetPointer(0), again->GetPointer(0) + again->GetSize()));
    EXPECT_EQ(0, decoder->DecodePixels(nullptr));
    EXPECT_EQ(KW_CODER_PARAM, decoder->GetErrorCode());
    again->Release();
    image->Release();
    pixels->Release();
    decoder->Release();
}
