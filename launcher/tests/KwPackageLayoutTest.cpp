// The entry path rule that keeps extraction inside its folder, and the
// little-endian helpers.
#include "KwPackageLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace KwSDK {
namespace {

int Safe(const std::string& path, int codePage = 936)
{
    return KwPackageLayout::IsSafeEntryPath(KwString(path.data(), static_cast<int>(path.size())),
                                            codePage);
}

TEST(PackLayoutTest, OrdinaryPathsAreSafe)
{
    EXPECT_EQ(1, Safe("\\Setup.exe"));
    EXPECT_EQ(1, Safe("\\Brindle"));
    EXPECT_EQ(1, Safe("\\Brindle\\common\\convert.dll"));
    EXPECT_EQ(1, Safe("\\.hidden"));
    EXPECT_EQ(1, Safe("\\a..b\\x."));
    EXPECT_EQ(1, Safe("\\CONFIG.SYS"));
    EXPECT_EQ(1, Safe("\\COM10"));
    EXPECT_EQ(1, Safe("\\\xB0\xB2\xD7\xB0.bat"));
}

TEST(PackLayoutTest, PathsThatCouldLeaveTheFolderAreRefused)
{
    const char* paths[] = {
        "",              // nothing
        "\\",            // the folder itself
        "Setup.exe",     // no leading backslash
        "\\..\\evil",    // parent
        "\\a\\..\\..\\evil",
        "\\a\\..",
        "\\.",
        "\\a\\.\\b",
        "\\...",         // dots only: Windows trims them
        "\\.. ",         // dots and spaces only
        "\\a\\\\b",      // empty component
        "\\\\server\\share",
        "\\a\\",         // trailing empty component
        "\\C:\\evil",    // drive
        "\\a:stream",    // alternate data stream
        "\\a/../../evil",// a second separator
        "\\a/b",
        "\\a\x01" "b",   // control byte
        "\\NUL",         // devices
        "\\con.txt",
        "\\sub\\COM1",
        "\\Lpt9.log",
        "\\aux ",
    };
    for (const char* path : paths)
        EXPECT_EQ(0, Safe(path)) << path;
}

TEST(PackLayoutTest, OverlongPathsAreRefused)
{
    std::string path = "\\" + std::string(KwPackageLayout::kMaxPathLength - 1, 'a');
    EXPECT_EQ(1, Safe(path));
    EXPECT_EQ(0, Safe(path + "a"));
}

TEST(PackLayoutTest, ProgramNamesFollowTheSameRuleWithoutTheBackslash)
{
    EXPECT_EQ(1, KwPackageLayout::IsSafeProgramName(KwString("Setup.exe"), 936));
    EXPECT_EQ(1, KwPackageLayout::IsSafeProgramName(KwString("bin\\Setup.exe"), 936));
    EXPECT_EQ(0, KwPackageLayout::IsSafeProgramName(KwString(""), 936));
    EXPECT_EQ(0, KwPackageLayout::IsSafeProgramName(KwString("\\Setup.exe"), 936));
    EXPECT_EQ(0, KwPackageLayout::IsSafeProgramName(KwString("..\\..\\Windows\\evil.exe"), 936));
    EXPECT_EQ(0, KwPackageLayout::IsSafeProgramName(KwString("C:\\evil.exe"), 936));
}

// "\xC4\x5C" is one GBK character whose second byte is the backslash byte.
TEST(PackLayoutTest, DoubleByteCharactersEndingInTheBackslashByteStayWhole)
{
    EXPECT_EQ(1, Safe("\\\xC4\x5C"));
    EXPECT_EQ(1, Safe("\\\xC4\x5C\\\xC4\x5C.txt"));
    EXPECT_EQ(1, Safe("\\\xC4\x5C.."));
    EXPECT_EQ(1, Safe("\\\x83\x5C", 932));
    EXPECT_EQ(1, KwPackageLayout::IsSafeProgramName(KwString("\xC4\x5C\\Setup.exe"), 936));
    // Read byte by byte, the same bytes end in a separator.
    EXPECT_EQ(0, Safe("\\\xC4\x5C", 1252));
    EXPECT_EQ(0, Safe("\\\xA0\x5C", 932));
    // A backslash after a whole character is a separator.
    EXPECT_EQ(0, Safe("\\\xB0\xB2\\..\\x"));
    EXPECT_EQ(0, Safe("\\\xB0\xB2\\"));
}

TEST(PackLayoutTest, U32IsLittleEndian)
{
    unsigned char bytes[4];
    KwPackageLayout::EncodeU32(0x11223344u, bytes);
    EXPECT_EQ(0x44, bytes[0]);
    EXPECT_EQ(0x11, bytes[3]);
    EXPECT_EQ(0x11223344u, KwPackageLayout::DecodeU32(bytes));
    KwPackageLayout::EncodeU32(0xFFFFFFFEu, bytes);
    EXPECT_EQ(0xFFFFFFFEu, KwPackageLayout::DecodeU32(bytes));
}

} // namespace
} // namespace KwSDK
