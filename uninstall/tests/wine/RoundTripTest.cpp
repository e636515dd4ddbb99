// The unattended install and uninstall in turn leave the prefix as they
// found it: its registry (machine software, classes, user software) and
// every file on drive C: outside the temporary folders.
#include "SetupTestSupport.h"

#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using namespace SetupTest;
using KwSDK::KwTest::ReadFile;
using KwSDK::KwTest::RunToEnd;
using KwSDK::KwTest::WinePath;

#if defined(SETUP_EXE) && defined(UNINSTALL_EXE)
namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo";
const char kFileExts[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

std::string UserChoice(const char* extension)
{
    bool found = false;
    return ReadRegistryString(HKEY_CURRENT_USER, std::string(kFileExts) + extension + "\\UserChoice", "Progid",
                              &found);
}

bool CopyFolder(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool copied = true;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copied = CopyFolder(from + "\\" + name, to + "\\" + name) && copied;
        else
            copied = CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) && copied;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return copied;
}

// Every file and folder below folder with the files' sizes; the skipped
// folders (lower case, full path) are left out with everything below them.
void ListTree(const std::string& folder, const std::vector<std::string>& skipped, std::set<std::string>* out)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = data.cFileName;
        // The prefix's user folders lead to the host's home, whose hidden
        // folders (caches of the build tools) change all the time.
        if (name[0] == '.')
            continue;
        std::string path = folder + "\\" + name;
        std::string lower = path;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        if (std::find(skipped.begin(), skipped.end(), lower) != skipped.end())
            continue;
        // Desktop entries that Wine's menu builder writes into the host's
        // home for the links of any test running at the same time: host
        // files, not the prefix's.
        if (lower.size() > 8 && lower.compare(lower.size() - 8, 8, ".desktop") == 0)
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out->insert(path + "\\");
            ListTree(path, skipped, out);
        } else {
            out->insert(path + " " + std::to_string(data.nFileSizeLow));
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// The lines of a registry export (UTF-16 as the editor writes it), as a set.
std::set<std::string> ExportKey(const std::string& key, const std::string& file)
{
    DeleteFileA(file.c_str());
    EXPECT_EQ(0, RunToEnd("regedit.exe /e \"" + file + "\" \"" + key + "\"", 60000)) << key;
    std::string bytes = ReadFile(file);
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i + 1] == 0 ? bytes[i] : '?';
    std::set<std::string> lines;
    std::string section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 2;
        if (!line.empty() && line[0] == '[')
            section = line;
        if (!line.empty())
            lines.insert(section + " " + line);
    }
    return lines;
}

// Registry lines that Wine itself changes:
// - for every shell link made in the Programs folder Wine's menu builder (off
//   in the tests, but on for a user) records the desktop entry it wrote on the
//   host in HKCU\\Software\\Wine\\MenuFiles, and keeps the record after the
//   link is gone; no Windows program writes or reads it;
// - user32 keeps the session's system parameters under
//   HKCU\\Software\\Wine\\Temporary System Parameters, written when a
//   session's first window program starts, whenever that is.
bool ChangedByWine(const std::string& line)
{
    static const char* const kWineKeys[] = {
        "[HKEY_CURRENT_USER\\Software\\Wine\\MenuFiles]",
        "[HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters",
    };
    for (const char* key : kWineKeys) {
        if (line.compare(0, std::strlen(key), key) == 0)
            return true;
    }
    return false;
}

std::vector<std::string> Difference(const std::set<std::string>& a, const std::set<std::string>& b)
{
    std::vector<std::string> out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    out.erase(std::remove_if(out.begin(), out.end(), ChangedByWine), out.end());
    return out;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

struct PrefixState {
    std::set<std::string> registry;
    std::set<std::string> files;
};

PrefixState Record(const std::string& scratch, const std::vector<std::string>& skipped)
{
    PrefixState state;
    for (const char* key : {"HKEY_LOCAL_MACHINE\\Software", "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER\\Software"}) {
        std::set<std::string> lines = ExportKey(key, scratch + "\\export.reg");
        state.registry.insert(lines.begin(), lines.end());
    }
    ListTree("C:", skipped, &state.files);
    return state;
}

} // namespace

TEST(UninstallerWineRoundTrip, SilentInstallAndUninstallLeaveThePrefixAsFound)
{
    RegistryLock lock;
    // Keys that earlier tests may have left are put aside: the uninstall
    // removes them, which would not be a change this test made.
    SavedKey uninstallKey(HKEY_LOCAL_MACHINE, kUninstallKey);
    SavedKey classKey(HKEY_CLASSES_ROOT, "Lumo");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    DeleteKeyTree(HKEY_CLASSES_ROOT, "Lumo");
    SavedKey pngChoice(HKEY_CURRENT_USER, std::string(kFileExts) + ".png");
    SavedKey gifChoice(HKEY_CURRENT_USER, std::string(kFileExts) + ".gif");
    DeleteKeyTree(HKEY_CURRENT_USER, std::string(kFileExts) + ".png");
    DeleteKeyTree(HKEY_CURRENT_USER, std::string(kFileExts) + ".gif");
    SavedKey png(HKEY_CLASSES_ROOT, ".png");
    SavedKey gif(HKEY_CLASSES_ROOT, ".gif");
    SavedKey previous(HKEY_CLASSES_ROOT, "RoundTrip.PngFile");
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".png");
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".gif");
    ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ".png", nullptr, "RoundTrip.PngFile"));
    ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, "RoundTrip.PngFile\\shell\\open\\command", nullptr,
                                    "C:\\windows\\notepad.exe \"%1\""));
    // The system of the prefix keeps the user's choice below FileExts.
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, std::string(kFileExts) + ".png\\UserChoice", "Progid",
                                    "RoundTrip.PngFile"));

    ScratchFolder work("round trip");
    std::string source = work.MakeSubfolder("package");
    CopyPackageFiles(source, nullptr);
    ASSERT_TRUE(CopyFolder(PackageFolder() + "Brindle", source + "\\Brindle"));
    ASSERT_TRUE(CopyFileA(WinePath(SETUP_EXE).c_str(), (source + "\\Setup.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(WinePath(UNINSTALL_EXE).c_str(), (source + "\\Brindle\\Lumo\\uninstall.exe").c_str(), FALSE));
    std::string target = "C:\\RoundTrip Programs\\Brindle";

    // The temporary folders take the scratch files of this and of parallel
    // tests and the uninstaller's passing copy of itself.
    char temp[MAX_PATH] = {0};
    GetTempPathA(sizeof temp, temp);
    std::string tempFolder = temp;
    if (!tempFolder.empty() && tempFolder.back() == '\\')
        tempFolder.pop_back();
    std::vector<std::string> skipped = {tempFolder, "c:\\windows\\temp"};
    for (std::string& folder : skipped)
        std::transform(folder.begin(), folder.end(), folder.begin(), ::tolower);
    PrefixState before = Record(work.Path(), skipped);

    std::string installLog = work.Path() + "\\install.log";
    long installed = RunToEnd("\"" + source + "\\Setup.exe\" /S \"/D=" + target + "\" /LANG=en /TYPES=PNG,GIF \"/LOG=" +
                                  installLog + "\"",
                              120000);
    ASSERT_EQ(0, installed) << ReadFile(installLog);
    bool found = false;
    EXPECT_EQ("Lumo.PNG", UserChoice(".png"));
    EXPECT_EQ("Lumo.GIF", UserChoice(".gif"));
    EXPECT_NE(std::string::npos,
              ReadRegistryString(HKEY_CLASSES_ROOT, "Lumo.PNG\\shell\\open\\command", nullptr, &found).find(
                  target + "\\Lumo\\LumoView.exe"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    std::string uninstallLog = work.Path() + "\\uninstall.log";
    long removed = RunToEnd("\"" + target + "\\Lumo\\uninstall.exe\" /S \"/LOG=" + uninstallLog + "\"", 120000);
    EXPECT_EQ(0, removed) << ReadFile(uninstallLog);
    // The uninstaller's copy removes the product folder once the program ended.
    EXPECT_TRUE(WaitFor([&] { return GetFileAttributesA((target + "\\Lumo").c_str()) == INVALID_FILE_ATTRIBUTES; },
                        60000));
    RemoveDirectoryA(target.c_str());
    RemoveDirectoryA("C:\\RoundTrip Programs");

    EXPECT_EQ("RoundTrip.PngFile", UserChoice(".png"));
    EXPECT_EQ("RoundTrip.PngFile", ReadRegistryString(HKEY_CLASSES_ROOT, ".png", nullptr, &found));
    EXPECT_EQ("", UserChoice(".gif")) << ".gif kept a handler";
    ReadRegistryString(HKEY_CLASSES_ROOT, ".gif", nullptr, &found);
    EXPECT_FALSE(found) << ".gif kept a handler";

    PrefixState after = Record(work.Path(), skipped);
    EXPECT_EQ("", Join(Difference(before.registry, after.registry))) << "registry lines lost";
    EXPECT_EQ("", Join(Difference(after.registry, before.registry))) << "registry lines left";
    EXPECT_EQ("", Join(Difference(before.files, after.files))) << "files lost";
    // The maker's shared folder (productfold\\common) stays by design: the
    // install log names only the product's own sub-folder, so that files
    // the maker's other products share are never removed. Nothing of the
    // product itself may stay.
    std::vector<std::string> left = Difference(after.files, before.files);
    const std::string makerFolder = target + "\\";
    const std::string sharedFolder = target + "\\common\\";
    left.erase(std::remove_if(left.begin(), left.end(),
                              [&](const std::string& line) {
                                  return line == "C:\\RoundTrip Programs\\" || line == makerFolder ||
                                         line.compare(0, sharedFolder.size(), sharedFolder) == 0;
                              }),
               left.end());
    EXPECT_EQ("", Join(left)) << "files left";
}
#endif
