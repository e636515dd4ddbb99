// The portable program-image side of carton-pack: resource trees written and
// read back, the resource section rewritten in a small hand-made image, and
// the refusal of a package that the archive's 32-bit sizes can not hold.
#include "PackToolTestKit.h"

#include "CartonPackPe.h"
#include "CartonPackResources.h"
#include "KwPackageReader.h"
#include "KwFileStream.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace KwSDK {
namespace {

using namespace PackTest;

std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

// An .ico file of one 32-bit image of the given side.
std::vector<unsigned char> IconFile(int side, unsigned char fill)
{
    std::string image = U32(40) + U32(static_cast<unsigned int>(side)) + U32(static_cast<unsigned int>(side * 2)) +
                        std::string("\x01\x00\x20\x00", 4) + std::string(24, '\0');
    image += std::string(static_cast<size_t>(side * side * 4), static_cast<char>(fill));
    image += std::string(static_cast<size_t>(side * side / 8), '\0');
    std::string file = std::string("\0\0\1\0\1\0", 6);
    file += static_cast<char>(side);
    file += static_cast<char>(side);
    file += std::string("\0\0\1\0\x20\0", 6) + U32(static_cast<unsigned int>(image.size())) + U32(22);
    return Bytes(file + image);
}

void Put32(std::string* image, size_t at, unsigned int value)
{
    image->replace(at, 4, U32(value));
}

unsigned int Get32(const std::string& image, size_t at)
{
    return KwPackageLayout::DecodeU32(reinterpret_cast<const unsigned char*>(image.data() + at));
}

// A 32-bit program image: headers, .text at 0x1000, .rsrc at 0x2000 with the
// given tree (0x400 bytes in the file), .reloc at 0x3000, 0x200-byte file
// alignment, and a signature of 16 bytes behind it all.
const size_t kOptional = 0x80 + 24;
const size_t kSections = kOptional + 224;
std::string MakeImage(const CartonPackResources& resources)
{
    std::string image(0xA00, '\0');
    image.replace(0, 2, "MZ");
    Put32(&image, 0x3C, 0x80);
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    image.replace(0x84, 4, std::string("\x4c\x01\x03\x00", 4));  // i386, three sections
    image.replace(0x94, 2, std::string("\xE0\x00", 2));          // optional header size 224
    image.replace(kOptional, 2, std::string("\x0B\x01", 2));
    Put32(&image, kOptional + 32, 0x1000);  // section alignment
    Put32(&image, kOptional + 36, 0x200);   // file alignment
    Put32(&image, kOptional + 56, 0x4000);  // size of image
    Put32(&image, kOptional + 60, 0x200);   // size of headers
    Put32(&image, kOptional + 92, 16);
    std::vector<unsigned char> tree = resources.Build(0x2000);
    const char* names[] = {".text", ".rsrc", ".reloc"};
    unsigned int sizes[] = {0x10, static_cast<unsigned int>(tree.size()), 0x0C};
    unsigned int rawSizes[] = {0x200, 0x400, 0x200};
    unsigned int rawOffsets[] = {0x200, 0x400, 0x800};
    EXPECT_LE(tree.size(), 0x400u);
    for (unsigned int i = 0; i < 3; ++i) {
        size_t header = kSections + 40 * i;
        image.replace(header, strlen(names[i]), names[i]);
        Put32(&image, header + 8, sizes[i]);
        Put32(&image, header + 12, 0x1000 * (i + 1));
        Put32(&image, header + 16, rawSizes[i]);
        Put32(&image, header + 20, rawOffsets[i]);
    }
    image.replace(0x200, 16, "code that stays.");
    image.replace(0x400, tree.size(), std::string(tree.begin(), tree.end()));
    image.replace(0x800, 12, "reloc block.");
    Put32(&image, kOptional + 96 + 2 * 8, 0x2000);
    Put32(&image, kOptional + 96 + 2 * 8 + 4, static_cast<unsigned int>(tree.size()));
    Put32(&image, kOptional + 96 + 4 * 8, 0xA00);
    Put32(&image, kOptional + 96 + 4 * 8 + 4, 16);
    Put32(&image, kOptional + 96 + 5 * 8, 0x3000);
    Put32(&image, kOptional + 96 + 5 * 8 + 4, 12);
    return image + "signature bytes.";
}

void ExpectSameEntries(const CartonPackResources& a, const CartonPackResources& b)
{
    ASSERT_EQ(a.GetEntries().size(), b.GetEntries().size());
    for (const CartonPackResources::Entry& entry : a.GetEntries()) {
        bool found = false;
        for (const CartonPackResources::Entry& other : b.GetEntries())
            found = found || (entry.type.id == other.type.id && entry.name.id == other.name.id &&
                              entry.language == other.language && entry.data == other.data);
        EXPECT_TRUE(found) << "type " << entry.type.id << " name " << entry.name.id;
    }
}

TEST(PackResourcesTest, TreeSurvivesWritingAndReadingAndDamageIsRefused)
{
    CartonPackResources resources;
    ASSERT_EQ(1, resources.SetVersion(KwString("1.2"), KwString("Lumo"), KwString(""), KwString("Setup")));
    ASSERT_EQ(1, resources.SetIcon(IconFile(16, 0x7F)));
    ASSERT_EQ(3u, resources.GetEntries().size());
    std::vector<unsigned char> section = resources.Build(0x5000);
    CartonPackResources read;
    ASSERT_EQ(1, read.Read(section, 0x5000, nullptr, nullptr)) << Std(read.GetReason());
    ExpectSameEntries(resources, read);

    // A second icon replaces the first, group included.
    ASSERT_EQ(1, read.SetIcon(IconFile(32, 0x11)));
    ASSERT_EQ(3u, read.GetEntries().size());

    // Cut short anywhere, the tree is refused or read without reading past
    // the bytes; a directory that names itself is refused.
    for (size_t cut = 0; cut < section.size(); cut += 5) {
        std::vector<unsigned char> part(section.begin(), section.begin() + static_cast<long>(cut));
        CartonPackResources damaged;
        damaged.Read(part, 0x5000, nullptr, nullptr);
    }
    std::vector<unsigned char> loop = section;
    loop[20] = 0;  // the first type's subdirectory offset points at the root
    loop[21] = 0;
    CartonPackResources looped;
    EXPECT_EQ(0, looped.Read(loop, 0x5000, nullptr, nullptr));
    EXPECT_FALSE(CartonPackResources().SetIcon(Bytes("GIF89a not an icon")));
    unsigned int parts[4];
    EXPECT_EQ(1, CartonPackResources::ParseVersion(KwString("65535.0.7"), parts));
    EXPECT_EQ(7u, parts[2]);
    EXPECT_EQ(0, CartonPackResources::ParseVersion(KwString("1.65536"), parts));
    EXPECT_EQ(0, CartonPackResources::ParseVersion(KwString("1.2.3.4.5"), parts));
    EXPECT_EQ(0, CartonPackResources::ParseVersion(KwString("1..2"), parts));
}

// A resource section that outgrows its memory page moves the relocation
// section behind it; code, headers and the rest stay as they were, and the
// signature is dropped.
TEST(PackPeTest, GrownResourceSectionMovesTheRelocationsAndDropsTheSignature)
{
    TestFolder dir;
    CartonPackResources original;
    ASSERT_EQ(1, original.SetVersion(KwString("1.0"), KwString("Carton"), KwString(""), KwString("")));
    std::string image = MakeImage(original);
    std::string path = dir.Path("stub.exe");
    ASSERT_TRUE(WriteFile(path, image));

    CartonPackPe pe;
    ASSERT_EQ(1, pe.Load(Str(path))) << Std(pe.GetReason());
    CartonPackResources resources;
    ASSERT_EQ(1, pe.ReadResources(&resources)) << Std(pe.GetReason());
    ExpectSameEntries(original, resources);
    ASSERT_EQ(1, resources.SetIcon(IconFile(48, 0x33)));  // about 10 KB: three more pages
    pe.RemoveSignature();
    ASSERT_EQ(1, pe.WriteResources(resources)) << Std(pe.GetReason());
    std::string out = dir.Path("out.exe");
    ASSERT_EQ(1, pe.Save(Str(out)));

    std::string rewritten = ReadFile(out);
    unsigned int rsrcRaw = Get32(rewritten, kSections + 40 + 16);
    unsigned int relocRva = Get32(rewritten, kSections + 80 + 12);
    unsigned int relocRaw = Get32(rewritten, kSections + 80 + 20);
    EXPECT_EQ(0u, rsrcRaw % 0x200);
    EXPECT_EQ(0x400 + rsrcRaw, relocRaw);
    EXPECT_EQ(0x2000 + (Get32(rewritten, kSections + 40 + 8) + 0xFFFu) / 0x1000 * 0x1000, relocRva);
    EXPECT_GT(relocRva, 0x3000u);
    EXPECT_EQ(relocRva, Get32(rewritten, kOptional + 96 + 5 * 8));
    EXPECT_EQ(relocRva + 0x1000, Get32(rewritten, kOptional + 56));
    EXPECT_EQ("reloc block.", rewritten.substr(relocRaw, 12));
    EXPECT_EQ(image.substr(0, 0x400).substr(0x200), rewritten.substr(0x200, 0x200));
    EXPECT_EQ(0u, Get32(rewritten, kOptional + 96 + 4 * 8));
    EXPECT_EQ(relocRaw + 0x200, rewritten.size());

    CartonPackPe again;
    CartonPackResources back;
    ASSERT_EQ(1, again.Load(Str(out)));
    ASSERT_EQ(1, again.ReadResources(&back));
    ExpectSameEntries(resources, back);
    EXPECT_EQ(0, CartonPackPe().Load(Str(dir.Path("absent.exe"))));
    ASSERT_TRUE(WriteFile(dir.Path("text.exe"), "MZ but nothing else"));
    EXPECT_EQ(0, CartonPackPe().Load(Str(dir.Path("text.exe"))));
}

// A signed installer: the archive ends where the certificate table begins;
// a security directory that runs past the file is not believed.
TEST(PackPeTest, ReaderFindsTheArchiveInFrontOfTheSignature)
{
    TestFolder dir;
    ArchiveBuilder archive;
    CartonPackResources none;
    archive.stub = MakeImage(none).substr(0, 0x800);
    Put32(&archive.stub, kOptional + 96 + 4 * 8, 0);
    Put32(&archive.stub, kOptional + 96 + 4 * 8 + 4, 0);
    archive.File("\\Setup.exe", "run me");
    std::string plain = archive.Build(dir);
    std::string signature = plain + "CERTIFICATE TABLE";
    Put32(&signature, kOptional + 96 + 4 * 8, static_cast<unsigned int>(plain.size()));
    Put32(&signature, kOptional + 96 + 4 * 8 + 4, 17);
    std::string overlong = plain;
    Put32(&overlong, kOptional + 96 + 4 * 8, 0x100);
    Put32(&overlong, kOptional + 96 + 4 * 8 + 4, static_cast<unsigned int>(plain.size()));
    for (const std::string& bytes : {plain, signature, overlong}) {
        std::string path = dir.Path("installer.exe");
        ASSERT_TRUE(WriteFile(path, bytes));
        KwFileStream source;
        ASSERT_EQ(1, source.Open(Str(path), KW_MODE_READ));
        KwPackageReader reader;
        ASSERT_EQ(1, reader.ReadHeader(&source)) << bytes.size();
        EXPECT_EQ(plain.size(), reader.GetArchiveEnd());
        EXPECT_EQ(0, reader.GetSlackBytes());
        EXPECT_EQ("Setup.exe", Std(reader.GetProgramName()));
    }
}

// A payload file of 4.5 GB (sparse: never written) does not fit the
// archive's 32-bit sizes: create says so and writes nothing.
TEST(PackSizeTest, CreateRefusesAFileLargerThanAPackageCanHold)
{
    TestFolder dir;
    std::string source = dir.Folder("src");
    ASSERT_TRUE(WriteFile(source + "\\Setup.exe", "MZ setup"));
    std::string huge = source + "\\huge.bin";
    const long long kSize = 4500LL << 20;
#ifdef _WIN32
    HANDLE file = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER size;
    size.QuadPart = kSize;
    EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
#else
    ASSERT_TRUE(WriteFile(huge, ""));
    ASSERT_EQ(0, truncate(Platform::NativePath(Str(huge).GetText()).GetText(), kSize));
#endif
    std::string stub = dir.Path("Carton.exe");
    ASSERT_TRUE(WriteFile(stub, "MZ launcher"));
    std::string output = dir.Path("Installer.exe");
    Outcome outcome = RunCommand(dir, &CartonPackCommands::Create,
                                 {"--stub", stub, "--run", "Setup.exe", "-o", output, "--no-check", source});
    EXPECT_EQ(1, outcome.code);
    EXPECT_TRUE(outcome.OneErrorLine()) << outcome.err;
    EXPECT_NE(std::string::npos, outcome.err.find("File is 4 GiB or larger, more than a package can hold"))
        << outcome.err;
    EXPECT_NE(std::string::npos, outcome.err.find("huge.bin")) << outcome.err;
    EXPECT_FALSE(Exists(output));
    EXPECT_FALSE(Exists(output + ".part"));
}

} // namespace
} // namespace KwSDK
