// Crafted and randomly damaged archives: whatever the bytes, extraction ends,
// writes nothing outside its folder and leaves no scratch file behind.
#include "KwPackageExtractor.h"

#include "PackageTestKit.h"

#include <gtest/gtest.h>

namespace KwSDK {
namespace {

using namespace PackTest;

// A small deterministic generator, so that a failure can be replayed.
class Dice {
public:
    explicit Dice(unsigned int seed) : m_state(seed * 2654435761u + 7) {}
    unsigned int Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    unsigned int Below(unsigned int limit) { return limit ? Next() % limit : 0; }

private:
    unsigned int m_state;
};

// The crafted archives of the generator: each aims at one fault.
std::vector<ArchiveBuilder> CraftedArchives()
{
    std::vector<ArchiveBuilder> archives;
    ArchiveBuilder traversal;
    traversal.File("\\..\\..\\..\\hostile", "x").Dir("\\..\\hostileDir")
        .File("\\..\\hostileDir\\inner", "y").File("\\ok", "ok");
    archives.push_back(traversal);

    ArchiveBuilder count;
    count.File("\\a", "a");
    count.overrideCount = true;
    count.count = 0x7FFFFFFFu;
    archives.push_back(count);

    ArchiveBuilder type7;
    type7.Raw("\\seven", 7, 0xFFFFFFFFu).File("\\b", "b");
    archives.push_back(type7);

    ArchiveBuilder oversize;
    oversize.Raw("\\big", 1, 0x80000000u);
    oversize.payload = "tiny";
    archives.push_back(oversize);

    ArchiveBuilder longLength;
    longLength.File("\\c", "c");
    longLength.overrideLength = true;
    longLength.length = 0xFFFFFFFFu;
    archives.push_back(longLength);

    ArchiveBuilder garbage;
    garbage.File("\\d", "d");
    garbage.useRawStream = true;
    garbage.rawStream = "BZh9" + NoiseBytes(3000, 30);
    archives.push_back(garbage);
    return archives;
}

class ExtractHostileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_box = m_dir.Folder("box");
        m_dir.Folder("box\\l1");
        m_dir.Folder("box\\l1\\l2");
    }

    // Extracts into a fresh F and answers what appeared outside of it.
    Tree ExtractOutside(const std::string& bytes)
    {
        std::string own = m_dir.Path("own.exe");
        EXPECT_TRUE(WriteFile(own, bytes));
        std::string folder = m_box + "\\l1\\l2\\F";
        KwFile(Str(folder)).DeleteTree();
        EXPECT_EQ(1, KwFile(Str(folder)).MakeFolder());
        std::string scratch = folder + "\\scratch";
        KwPackageExtractor extractor;
        extractor.Extract(Str(own), Str(folder), Str(scratch));
        EXPECT_FALSE(Exists(scratch));
        Tree outside;
        for (const auto& entry : Snapshot(m_box)) {
            const std::string& key = entry.first;
            if (key != "\\l1" && key != "\\l1\\l2" && key != "\\l1\\l2\\F" &&
                key.compare(0, 9, "\\l1\\l2\\F\\") != 0)
                outside[key] = entry.second;
        }
        return outside;
    }

    TestFolder m_dir;
    std::string m_box;
};

TEST_F(ExtractHostileTest, CraftedArchivesStayInsideTheFolder)
{
    int index = 0;
    for (const ArchiveBuilder& archive : CraftedArchives())
        EXPECT_EQ(Tree(), ExtractOutside(archive.Build(m_dir))) << "archive " << index++;
}

// Random damage to a valid archive: bytes flipped anywhere (table, stream,
// trailer), the file cut short, or a u32 field replaced by a large value.
TEST_F(ExtractHostileTest, RandomlyDamagedArchivesStayInsideTheFolder)
{
    ArchiveBuilder archive;
    archive.Dir("\\sub").File("\\sub\\one.txt", "one").File("\\two.bin", NoiseBytes(15000, 31))
        .File("\\..\\escape", "never").Dir("\\sub\\deeper").File("\\sub\\deeper\\three", "333");
    const std::string valid = archive.Build(m_dir);
    Dice dice(2024);
    for (int round = 0; round < 150; ++round) {
        std::string bytes = valid;
        switch (dice.Below(3)) {
        case 0:
            for (unsigned int flips = 1 + dice.Below(8); flips > 0; --flips)
                bytes[dice.Below(static_cast<unsigned int>(bytes.size()))] ^=
                    static_cast<char>(1 + dice.Below(255));
            break;
        case 1:
            bytes.resize(dice.Below(static_cast<unsigned int>(bytes.size())));
            break;
        default: {
            unsigned int at = dice.Below(static_cast<unsigned int>(bytes.size()) - 4);
            bytes.replace(at, 4, U32(0xFFFFFFFFu - dice.Below(0x1000)));
            break;
        }
        }
        ASSERT_EQ(Tree(), ExtractOutside(bytes)) << "round " << round;
    }
}

} // namespace
} // namespace KwSDK
