// Reading install.txt and filelink.txt, and the rules that decide which of
// the paths they name may be removed.
#include "FileLinkRecord.h"
#include "InstallLog.h"
#include "UninstallPath.h"

#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace KwSDK;
using KwTest::Std;
using KwTest::Str;

namespace {

const char kLog[] = "C:\\Program Files\\Brindle\\Lumo\\install.txt\r\n"
                    "C:\\Menu\\Brindle\\Lumo\\uninstall.lnk\r\n"
                    "C:\\Menu\\Brindle\\Lumo\\LumoView.lnk\r\n"
                    "C:\\Menu\\Brindle\\Lumo\r\n"
                    "C:\\Menu\\Brindle\r\n"
                    "C:\\Desktop\\LumoView.lnk\r\n"
                    "C:\\Program Files\\Brindle\\Lumo\\images\\png.ico\r\n"
                    "C:\\Program Files\\Brindle\\Lumo\\images\r\n"
                    "C:\\Program Files\\Brindle\\Lumo\\LumoView.exe\r\n"
                    "C:\\Program Files\\Brindle\\Lumo\r\n"
                    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo\r\n";

std::string Entries(InstallLog& log)
{
    std::string text;
    for (int more = log.GetEntries().MoveFirst(); more; more = log.GetEntries().MoveNext())
        text += Std(*log.GetEntries().GetAt()) + "|";
    return text;
}

bool Entry(const char* path, const char* folder)
{
    return UninstallPath::IsProductEntry(KwString(path), KwString(folder)) == 1;
}

} // namespace

TEST(InstallLog, ReadsEveryLineInItsPlace)
{
    InstallLog log;
    ASSERT_EQ(1, log.Parse(kLog, static_cast<int>(sizeof kLog - 1)));
    EXPECT_EQ("C:\\Program Files\\Brindle\\Lumo\\install.txt", Std(log.GetLogPath()));
    EXPECT_EQ("C:\\Menu\\Brindle\\Lumo\\uninstall.lnk", Std(log.GetUninstallLink()));
    EXPECT_EQ("C:\\Menu\\Brindle\\Lumo\\LumoView.lnk", Std(log.GetProgramLink()));
    EXPECT_EQ("C:\\Menu\\Brindle\\Lumo", Std(log.GetProductMenuFolder()));
    EXPECT_EQ("C:\\Menu\\Brindle", Std(log.GetMenuFolder()));
    EXPECT_EQ("C:\\Desktop\\LumoView.lnk", Std(log.GetDesktopLink()));
    EXPECT_EQ("C:\\Program Files\\Brindle\\Lumo\\images\\png.ico|C:\\Program Files\\Brindle\\Lumo\\images|"
              "C:\\Program Files\\Brindle\\Lumo\\LumoView.exe|C:\\Program Files\\Brindle\\Lumo|",
              Entries(log));
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo",
              Std(log.GetUninstallKey()));

    // Bare line feeds and a last line without its end read the same.
    std::string plain(kLog);
    for (size_t at; (at = plain.find('\r')) != std::string::npos;)
        plain.erase(at, 1);
    plain.pop_back();
    InstallLog other;
    ASSERT_EQ(1, other.Parse(plain.data(), static_cast<int>(plain.size())));
    EXPECT_EQ(Entries(log), Entries(other));
    EXPECT_EQ(Std(log.GetUninstallKey()), Std(other.GetUninstallKey()));
}

TEST(InstallLog, RefusesWhatIsNoLog)
{
    InstallLog log;
    ASSERT_EQ(1, log.Parse(kLog, static_cast<int>(sizeof kLog - 1)));
    // Six lines have no key line; a NUL byte means a binary file.
    const char shortLog[] = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n";
    EXPECT_EQ(0, log.Parse(shortLog, static_cast<int>(sizeof shortLog - 1)));
    EXPECT_EQ(0, log.GetEntries().GetCount());
    EXPECT_EQ("", Std(log.GetLogPath()));
    std::string binary(kLog, sizeof kLog - 1);
    binary[20] = '\0';
    EXPECT_EQ(0, log.Parse(binary.data(), static_cast<int>(binary.size())));
    EXPECT_EQ(0, log.Parse(nullptr, 10));
    // Seven lines: no entries, but a log.
    const char bare[] = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\nHKEY\r\n";
    EXPECT_EQ(1, log.Parse(bare, static_cast<int>(sizeof bare - 1)));
    EXPECT_EQ(0, log.GetEntries().GetCount());
    EXPECT_EQ("HKEY", Std(log.GetUninstallKey()));
}

TEST(UninstallPath, EntriesStayInsideTheProductFolder)
{
    const char* folder = "C:\\Program Files\\Brindle\\Lumo";
    EXPECT_TRUE(Entry("C:\\Program Files\\Brindle\\Lumo", folder));
    EXPECT_TRUE(Entry("c:\\program files\\BRINDLE\\Lumo\\images\\png.ico", folder));
    EXPECT_FALSE(Entry("C:\\windows\\system32\\kernel32.dll", folder));
    EXPECT_FALSE(Entry("C:\\Program Files\\Brindle\\Lumo2\\x.exe", folder));
    EXPECT_FALSE(Entry("C:\\Program Files\\Brindle", folder));
    EXPECT_FALSE(Entry("C:\\Program Files\\Brindle\\Lumo\\..\\..\\..\\windows\\win.ini", folder));
    EXPECT_FALSE(Entry("C:\\Program Files\\Brindle\\Lumo\\.\\x", folder));
    EXPECT_FALSE(Entry("C:\\Program Files\\Brindle\\Lumo\\.. \\x", folder));
    EXPECT_FALSE(Entry("C:\\Program Files\\Brindle\\Lumo\\*.*", folder));
    EXPECT_FALSE(Entry("C:\\Program Files\\Brindle\\Lumo\\a.txt:stream", folder));
    EXPECT_FALSE(Entry("\\\\server\\share\\Lumo\\x", folder));
    EXPECT_FALSE(Entry("Lumo\\x", folder));
    EXPECT_FALSE(Entry("", folder));
    // A drive root is no product folder: the whole drive would be inside.
    EXPECT_FALSE(Entry("C:\\windows\\win.ini", "C:"));
    EXPECT_FALSE(Entry("C:\\windows\\win.ini", "C:\\"));
    // Normalising: doubled backslashes (an install into "D:\") and slashes.
    EXPECT_EQ("D:\\Brindle\\Lumo", Std(UninstallPath::Normalize("D:\\\\Brindle//Lumo\\")));
    EXPECT_TRUE(Entry(Std(UninstallPath::Normalize("D:\\\\Brindle\\Lumo\\x.exe")).c_str(), "D:\\Brindle\\Lumo"));
}

// A GBK character whose trail byte is 0x5C (a backslash) or a capital letter
// is one character: it neither splits a path nor folds its case.
TEST(UninstallPath, TwoByteCharactersAreWhole)
{
    const std::string folder = "C:\\Brindle\\\xB1\x5C";  // one character ending in 0x5C
    EXPECT_TRUE(Entry((folder + "\\a.txt").c_str(), folder.c_str()));
    EXPECT_EQ(folder, Std(UninstallPath::Normalize(Str(folder))));
    EXPECT_EQ("\xB1\x5C", Std(UninstallPath::LastName(Str(folder))));
    EXPECT_EQ("C:\\Brindle", Std(UninstallPath::Parent(Str(folder))));
    // "\x81\x5C" + "x" is not the folder "...\x81" followed by "\x".
    EXPECT_FALSE(Entry("C:\\Brindle\\\x81\x5Cx", "C:\\Brindle\\\x81"));
    EXPECT_FALSE(UninstallPath::SamePath("C:\\\xB0\x41", "C:\\\xB0\x61"));
    EXPECT_TRUE(UninstallPath::SamePath("C:\\\xB0\x41z", "c:\\\xB0\x41Z"));
}

TEST(UninstallPath, LinksMenuFoldersAndKeys)
{
    EXPECT_TRUE(UninstallPath::IsLinkPath("C:\\Desktop\\LumoView.LNK"));
    EXPECT_FALSE(UninstallPath::IsLinkPath("C:\\windows\\system32\\kernel32.dll"));
    EXPECT_FALSE(UninstallPath::IsLinkPath("\\Brindle\\Lumo\\LumoView.lnk"));
    EXPECT_FALSE(UninstallPath::IsLinkPath("C:\\.lnk"));
    EXPECT_TRUE(UninstallPath::IsMenuFolderPair("C:\\Menu\\Brindle\\Lumo", "C:\\Menu\\Brindle"));
    EXPECT_FALSE(UninstallPath::IsMenuFolderPair("C:\\Windows", "C:\\"));
    EXPECT_FALSE(UninstallPath::IsMenuFolderPair("C:\\Menu\\Other", "C:\\Menu\\Brindle"));
    EXPECT_TRUE(UninstallPath::IsUninstallKey(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo"));
    EXPECT_TRUE(UninstallPath::IsUninstallKey(
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo"));
    EXPECT_FALSE(UninstallPath::IsUninstallKey(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    EXPECT_FALSE(UninstallPath::IsUninstallKey(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo\\x"));
    EXPECT_FALSE(UninstallPath::IsUninstallKey("HKEY_LOCAL_MACHINE\\SOFTWARE"));
}

TEST(FileLinkRecord, GivesTheFirstForeignHandlerBack)
{
    // A second install recorded the product's own identifier after the
    // handler that was there before the first one.
    const char record[] = ".PNG=PaintShop.Image\r\n.GIF=Lumo.GIF\r\nbroken line\r\n.PNG=Lumo.PNG\r\n"
                          "=x\r\n.JPG=\r\n.a b=x\r\n.TIF=Viewer.Tif\n.ICO=ctrl\x01\r\n.BMP=Paint.Picture";
    FileLinkRecord links;
    EXPECT_EQ(5, links.Parse(record, static_cast<int>(sizeof record - 1)));
    EXPECT_EQ("PaintShop.Image", Std(links.GetPreviousHandler(".png", "Lumo.PNG")));
    EXPECT_EQ("", Std(links.GetPreviousHandler(".GIF", "Lumo.GIF")));
    EXPECT_EQ("Viewer.Tif", Std(links.GetPreviousHandler(".TIF", "Lumo.TIF")));
    EXPECT_EQ("Paint.Picture", Std(links.GetPreviousHandler(".BMP", "Lumo.BMP")));
    EXPECT_EQ("", Std(links.GetPreviousHandler(".JPG", "Lumo.JPG")));
    EXPECT_EQ(0, links.Parse("", 0));
}
