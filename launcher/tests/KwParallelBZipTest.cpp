// Parallel block decoding must answer every request exactly as sequential
// reading does: for streams of every kind, and for streams it must not trust.
#include "KwFileStream.h"
#include "KwPlatformFile.h"
#include "KwPackageExtractor.h"
#include "KwParallelBZip.h"
#include "PackageTestKit.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace KwSDK {
namespace {

using namespace PackTest;

const unsigned long long kBlockMarker = 0x314159265359ull;
const unsigned long long kEndMarker = 0x177245385090ull;
const std::string kPrefix = "launcher image in front of the stream";

// Every answer of a run of reads with varied request sizes, and the bytes.
struct Answers {
    std::vector<int> counts;
    std::string bytes;
};

// Text-like bytes: a small vocabulary, so they compress well.
std::string TextBytes(size_t count, unsigned int seed)
{
    static const char* const kWords[] = {"folder ", "setup ", "\r\n", "0042 ", "window ",
                                         "licence ", "\x01\x02 ", "registry "};
    std::string text;
    unsigned int state = seed;
    while (text.size() < count) {
        state = state * 1103515245u + 12345u;
        text += kWords[(state >> 16) % 8];
    }
    text.resize(count);
    return text;
}

template <class Reader> Answers ReadWith(Reader read)
{
    static const int kSizes[] = {10240, 1, 4096, 65536, 3, 100000, 777};
    Answers answers;
    std::vector<char> buffer(100000);
    for (int i = 0;; ++i) {
        int got = read(buffer.data(), kSizes[i % 7]);
        answers.counts.push_back(got);
        if (got > 0)
            answers.bytes.append(buffer.data(), static_cast<size_t>(got));
        else if (answers.counts.size() > 1 && answers.counts[answers.counts.size() - 2] <= 0)
            return answers;  // the answer after the end or a failure is checked too
    }
}

// The old way: KwBZip on a file that holds the stream alone.
Answers Sequential(const TestFolder& dir, const std::string& stream)
{
    WriteFile(dir.Path("reference.bz2"), stream);
    KwBZip bzip;
    EXPECT_EQ(1, bzip.OpenRead(Str(dir.Path("reference.bz2"))));
    return ReadWith([&](char* buffer, int length) { return bzip.Read(buffer, length); });
}

// The stream behind a prefix and before a trailer, read in place.
Answers Parallel(const TestFolder& dir, const std::string& stream, int threads, int* sequential)
{
    WriteFile(dir.Path("own.exe"), kPrefix + stream + "TRLR");
    KwFileStream source;
    EXPECT_EQ(1, source.Open(Str(dir.Path("own.exe")), KW_MODE_READ));
    KwParallelBZip bzip;
    EXPECT_EQ(1, bzip.Open(&source, static_cast<unsigned int>(kPrefix.size()),
                           static_cast<unsigned int>(stream.size()), threads));
    Answers answers = ReadWith([&](char* buffer, int length) { return bzip.Read(buffer, length); });
    *sequential = bzip.IsSequential();
    return answers;
}

// Bit positions where the 48-bit pattern starts, searched bit by bit.
std::vector<unsigned long long> FindPattern(const std::string& stream, unsigned long long pattern)
{
    std::vector<unsigned long long> found;
    unsigned long long window = 0;
    for (unsigned long long bit = 0; bit < stream.size() * 8ull; ++bit) {
        unsigned int byte = static_cast<unsigned char>(stream[bit / 8]);
        window = ((window << 1) | ((byte >> (7 - bit % 8)) & 1u)) & 0xFFFFFFFFFFFFull;
        if (bit >= 47 && window == pattern)
            found.push_back(bit - 47);
    }
    return found;
}

void FlipBit(std::string* stream, unsigned long long bit)
{
    (*stream)[bit / 8] = static_cast<char>((*stream)[bit / 8] ^ (0x80 >> (bit % 8)));
}

#ifndef _WIN32
std::string Bzip2Program(const TestFolder& dir, const std::string& data, int level)
{
    WriteFile(dir.Path("plain"), data);
    std::string native = Std(Platform::NativePath(dir.Path("plain").c_str()));
    std::string command = "bzip2 -" + std::to_string(level) + " -c '" + native + "' > '" + native + ".bz2'";
    EXPECT_EQ(0, std::system(command.c_str()));
    return ReadFile(dir.Path("plain.bz2"));
}
#endif

TEST(ParallelBZipTest, SameAnswersAsSequentialForEveryKindOfStream)
{
    TestFolder dir;
    std::vector<std::pair<std::string, std::string>> streams = {
        {"packer, one block", Compress(dir, TextBytes(200000, 1))},
        {"packer, many blocks", Compress(dir, TextBytes(2000000, 2))},
        {"packer, incompressible", Compress(dir, NoiseBytes(2000000, 3))},
        {"packer, empty", Compress(dir, "")},
    };
#ifndef _WIN32
    // Level 1 blocks of zeros decode to about 5 MB each, more than a worker holds.
    streams.push_back({"bzip2 -1, zeros", Bzip2Program(dir, std::string(9000000, '\0'), 1)});
    streams.push_back({"bzip2 -1, text", Bzip2Program(dir, TextBytes(1500000, 4), 1)});
    streams.push_back({"bzip2 -1, noise", Bzip2Program(dir, NoiseBytes(700000, 5), 1)});
    streams.push_back({"bzip2 -9, mixed", Bzip2Program(dir, TextBytes(900000, 6) + NoiseBytes(900000, 7), 9)});
#endif
    for (const auto& stream : streams) {
        Answers expected = Sequential(dir, stream.second);
        EXPECT_EQ(0, expected.counts.back()) << stream.first;
        for (int threads : {1, 2, 3}) {
            int sequential = -1;
            Answers answers = Parallel(dir, stream.second, threads, &sequential);
            EXPECT_EQ(expected.counts, answers.counts) << stream.first << ", " << threads << " threads";
            EXPECT_TRUE(expected.bytes == answers.bytes) << stream.first << ", " << threads << " threads";
            EXPECT_EQ(0, sequential) << stream.first << ": fell back without cause";
        }
    }
}

// Damage anywhere gives the same counts, the same bytes and the failure in
// the same request; the parallel reader noticed and went sequential.
TEST(ParallelBZipTest, DoubtfulStreamsGiveTheSameAnswers)
{
    TestFolder dir;
    std::string good = Compress(dir, NoiseBytes(2000000, 8) + TextBytes(800000, 9));
    std::vector<unsigned long long> blocks = FindPattern(good, kBlockMarker);
    std::vector<unsigned long long> ends = FindPattern(good, kEndMarker);
    ASSERT_EQ(4u, blocks.size());
    ASSERT_EQ(1u, ends.size());

    std::vector<std::pair<std::string, std::string>> streams;
    std::string damaged = good;
    FlipBit(&damaged, blocks[2] + 48 + 5);
    streams.push_back({"third block's CRC", damaged});
    damaged = good;
    FlipBit(&damaged, ends[0] + 48 + 31);
    streams.push_back({"stream CRC", damaged});
    damaged = good;
    FlipBit(&damaged, (blocks[1] + blocks[2]) / 2);
    streams.push_back({"coded data of the second block", damaged});
    streams.push_back({"cut inside the last block", good.substr(0, good.size() - 5000)});
    streams.push_back({"cut inside the end marker", good.substr(0, good.size() - 7)});
    damaged = good;
    damaged[3] = '0';
    streams.push_back({"header", damaged});
    for (const auto& stream : streams) {
        Answers expected = Sequential(dir, stream.second);
        EXPECT_EQ(-1, expected.counts.back()) << stream.first;
        int sequential = 0;
        Answers answers = Parallel(dir, stream.second, 2, &sequential);
        EXPECT_EQ(expected.counts, answers.counts) << stream.first;
        EXPECT_TRUE(expected.bytes == answers.bytes) << stream.first;
        EXPECT_EQ(1, sequential) << stream.first;
    }
}

// A sound stream in which the block marker's bit pattern appears where no
// block starts. The encoder is made to write it across the block's CRC and
// the fields after it: the CRC's last 10 bits, the randomised bit, the
// 24-bit origin pointer (the rank of the block among its own rotations) and
// the first 13 bits of the map of used byte ranges are the marker's bits.
TEST(ParallelBZipTest, PlantedMarkerPatternFallsBackWithIdenticalOutput)
{
    // Rank 706,866: that many bytes sort below the unique first byte 0x40.
    // Ranges used: 0x0_, 0x3_, 0x4_, 0x6_, 0x8_, 0x9_, 0xC_; no run of 4.
    const size_t kLow = 706866;
    const size_t kSize = 800000;
    std::string data(kSize, '\0');
    data[0] = 0x40;
    unsigned int state = 11;
    static const unsigned char kLowBase[] = {0x00, 0x30};
    static const unsigned char kHighBase[] = {0x60, 0x80, 0x90, 0xC0};
    for (size_t i = 1; i < kSize; ++i) {
        state = state * 1103515245u + 12345u;
        unsigned int pick = state >> 16;
        data[i] = static_cast<char>(i <= kLow ? kLowBase[pick & 1] + ((pick >> 1) & 15)
                                              : kHighBase[pick & 3] + ((pick >> 2) & 15));
        if (i >= 3 && data[i] == data[i - 1] && data[i] == data[i - 2] && data[i] == data[i - 3])
            data[i] = static_cast<char>(data[i] ^ 1);
    }
    // The CRC's last 10 bits come from the choice of the last two bytes.
    auto addToCrc = [](unsigned int crc, unsigned char byte) {
        crc ^= static_cast<unsigned int>(byte) << 24;
        for (int k = 0; k < 8; ++k)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        return crc;
    };
    unsigned int head = 0xFFFFFFFFu;
    for (size_t i = 0; i + 2 < kSize; ++i)
        head = addToCrc(head, static_cast<unsigned char>(data[i]));
    TestFolder dir;
    std::string stream;
    std::vector<unsigned long long> found;
    for (unsigned int tail = 0; tail < 4096 && found.empty(); ++tail) {
        data[kSize - 2] = static_cast<char>(kHighBase[tail & 3] + ((tail >> 2) & 15));
        data[kSize - 1] = static_cast<char>(kHighBase[(tail >> 6) & 3] + ((tail >> 8) & 15));
        unsigned int crc = addToCrc(addToCrc(head, static_cast<unsigned char>(data[kSize - 2])),
                                    static_cast<unsigned char>(data[kSize - 1]));
        if (((~crc) & 0x3FF) != 0xC5)
            continue;
        stream = Compress(dir, data);
        found = FindPattern(stream, kBlockMarker);
        if (found.size() < 2)
            found.clear();
    }
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(32u + 48 + 22, found[1]);

    Answers expected = Sequential(dir, stream);
    ASSERT_TRUE(expected.bytes == data);
    int sequential = 0;
    Answers answers = Parallel(dir, stream, 2, &sequential);
    EXPECT_EQ(expected.counts, answers.counts);
    EXPECT_TRUE(expected.bytes == answers.bytes);
    EXPECT_EQ(1, sequential);
}

// Through the extractor: a package whose third block is damaged leaves
// exactly the files, and the error, that sequential reading leaves.
TEST(ParallelBZipTest, DamagedPackageExtractsAsSequentialReadingDoes)
{
    TestFolder dir;
    ArchiveBuilder archive;
    archive.Dir("\\d").File("\\d\\a.bin", NoiseBytes(1200000, 1)).File("\\d\\b.bin", NoiseBytes(1000000, 2))
        .File("\\c.bin", NoiseBytes(1500000, 3)).File("\\Setup.exe", "MZ");
    archive.rawStream = Compress(dir, archive.payload);
    std::vector<unsigned long long> blocks = FindPattern(archive.rawStream, kBlockMarker);
    ASSERT_EQ(5u, blocks.size());
    FlipBit(&archive.rawStream, blocks[2] + 48);
    archive.useRawStream = true;
    std::string own = archive.WriteTo(dir, "own.exe");
    Tree trees[2];
    unsigned int errors[2] = {0, 0};
    int threads[2] = {KwParallelBZip::kSequential, 3};
    for (int i = 0; i < 2; ++i) {
        std::string folder = dir.Folder("F" + std::to_string(i));
        KwPackageExtractor extractor;
        extractor.SetDecoderThreads(threads[i]);
        extractor.Extract(Str(own), Str(folder), Str(folder + "\\scratch"));
        errors[i] = extractor.GetErrorCode();
        trees[i] = Snapshot(folder);
    }
    EXPECT_EQ(KW_EXTRACT_BAD_STREAM, errors[0]);
    EXPECT_EQ(errors[0], errors[1]);
    EXPECT_TRUE(trees[0] == trees[1]);
    // The third block ends inside c.bin: b.bin is whole, c.bin is not kept.
    EXPECT_EQ(1u, trees[0].count("\\d\\b.bin"));
    EXPECT_EQ(0u, trees[0].count("\\c.bin"));
}

} // namespace
} // namespace KwSDK
