// Tests of the file-type associations on the real registry, on the ordinary
// path and, in a child process that the system reports as Windows 6.1, on
// the user-choice path.
#include "KwFile.h"
#include "SetupAssociations.h"
#include "SetupConfig.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace KwSDK;
using namespace SetupTest;

namespace {

const char kFileExts[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

// Every extension of the table, with its program identifier.
std::vector<std::string> AllExtensions()
{
    std::vector<std::string> extensions;
    for (int index = 0; index < ASSOCIATION_TYPE_COUNT; ++index) {
        for (const char* extension : GetAssociationType(index)->extensions) {
            if (extension)
                extensions.push_back(extension);
        }
    }
    return extensions;
}

// The keys an association may touch, for one extension.
std::vector<std::pair<HKEY, std::string>> KeysOf(const std::string& extension)
{
    return {{HKEY_CLASSES_ROOT, extension},
            {HKEY_CLASSES_ROOT, "Lumo" + extension},
            {HKEY_CURRENT_USER, std::string(kFileExts) + "\\" + extension}};
}

// Saves the keys of some extensions and puts them back at the end.
class SavedExtensions {
public:
    explicit SavedExtensions(const std::vector<std::string>& extensions)
    {
        for (const std::string& extension : extensions) {
            for (const auto& key : KeysOf(extension))
                m_saved.emplace_back(new SavedKey(key.first, key.second));
        }
    }
    ~SavedExtensions()
    {
        for (SavedKey* saved : m_saved)
            delete saved;
    }

private:
    std::vector<SavedKey*> m_saved;
};

std::string Value(HKEY root, const std::string& key, const char* name)
{
    bool found = false;
    std::string value = ReadRegistryString(root, key, name, &found);
    return found ? value : "<missing>";
}

// The entries that every path writes for one extension.
void ExpectProgIdEntries(const std::string& extension, const std::string& target)
{
    std::string bare = extension.substr(1);
    std::string progId = "Lumo" + extension;
    std::string product = target + "\\Lumo";
    EXPECT_EQ("", Value(HKEY_CLASSES_ROOT, extension + "\\OpenWithProgids", progId.c_str()));
    EXPECT_EQ(bare + " Image", Value(HKEY_CLASSES_ROOT, progId, nullptr));
    EXPECT_EQ(product + "\\images\\" + bare + ".ico,0", Value(HKEY_CLASSES_ROOT, progId + "\\DefaultIcon", nullptr));
    EXPECT_EQ("@C:\\WINDOWS\\system32\\mspaint.exe,-59419",
              Value(HKEY_CLASSES_ROOT, progId + "\\FriendlyTypeName", nullptr));
    EXPECT_EQ("<missing>", Value(HKEY_CLASSES_ROOT, progId, "FriendlyTypeName"));
    EXPECT_EQ("Open", Value(HKEY_CLASSES_ROOT, progId + "\\shell", nullptr));
    EXPECT_EQ("Open with Lumo", Value(HKEY_CLASSES_ROOT, progId + "\\shell\\Open", nullptr));
    EXPECT_EQ("\"" + product + "\\LumoView.exe\" \"%1\"",
              Value(HKEY_CLASSES_ROOT, progId + "\\shell\\Open\\Command", nullptr));
}

int Checked(int type, int* boxes)
{
    for (int index = 0; index < ASSOCIATION_TYPE_COUNT; ++index)
        boxes[index] = index == type;
    return 1;
}

// Runs the associations of one ticked type for a target folder in a copy of
// this program that Wine reports as the given Windows version ("win7" is
// 6.1, "win10" is not), as an installer on that version would. Answers the
// child's exit code: 0 when it ran and saw the expected version code.
long AssociateAs(const char* wineVersion, int versionCode, const std::string& target, int type)
{
    const std::string exeName = std::string("setup_tests_") + wineVersion + ".exe";
    const std::string appDefaults = "Software\\Wine\\AppDefaults\\" + exeName;
    SavedKey savedDefaults(HKEY_CURRENT_USER, appDefaults);
    EXPECT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, appDefaults, "Version", wineVersion));
    ScratchFolder folder("assoc child");
    std::string child = folder.Path() + "\\" + exeName;
    EXPECT_EQ(1, CopyOneFile(OwnProgramPath(), child));
    KwTest::ScopedVariable targetVariable("CARTON_ASSOC_TARGET", target.c_str());
    KwTest::ScopedVariable typeVariable("CARTON_ASSOC_TYPE", std::to_string(type).c_str());
    KwTest::ScopedVariable codeVariable("CARTON_ASSOC_VERSION_CODE", std::to_string(versionCode).c_str());
    return KwTest::RunToEnd("\"" + child + "\" " + kAssociationsHelperArgument, 60000);
}

} // namespace

TEST(SetupAssociations, TableHasTheSixteenBoxesInOrder)
{
    static const char* const texts[ASSOCIATION_TYPE_COUNT] = {
        "JPEG Images", "PNG Images", "JPEG2000 Images", "BMP Images", "GIF Images", "PCX Images",
        "PGX Images", "RAS Images", "TGA Images", "TIFF Images", "JPEG2000 Complete Images", "PPM Images",
        "PGM Images", "PBM Images", "ICO Images", "WMF Images"};
    for (int index = 0; index < ASSOCIATION_TYPE_COUNT; ++index)
        EXPECT_STREQ(texts[index], GetAssociationType(index)->boxText);
    EXPECT_EQ(nullptr, GetAssociationType(-1));
    EXPECT_EQ(nullptr, GetAssociationType(ASSOCIATION_TYPE_COUNT));
    EXPECT_EQ((std::vector<std::string>{".JPEG", ".JPG", ".PNG", ".JP2", ".BMP", ".GIF", ".PCX", ".PGX", ".RAS",
                                        ".TGA", ".TIFF", ".TIF", ".JPC", ".PPM", ".PGM", ".PBM", ".ICO", ".ICON",
                                        ".WMF"}),
              AllExtensions());
}

namespace SetupTest {

// Runs in a copy of this program started by AssociateAs. Exit codes: 0 done,
// 2 not started by a test, 3 wrong system version, 4 no configuration, 5 a
// wrong number of extensions associated.
int RunAssociationsHelper()
{
    const char* target = getenv("CARTON_ASSOC_TARGET");
    const char* code = getenv("CARTON_ASSOC_VERSION_CODE");
    const char* typeText = getenv("CARTON_ASSOC_TYPE");
    if (!target || !code || !typeText)
        return 2;
    int expectedCode = atoi(code);
    int type = atoi(typeText);
    if (type < 0 || type >= ASSOCIATION_TYPE_COUNT)
        return 2;
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return 3;
    if (expectedCode == 1024 && (version.dwMajorVersion != 6 || version.dwMinorVersion != 1))
        return 3;
    if (expectedCode != GetWindowsVersionCode())
        return 3;
    if (LoadConfigurationFrom(PackageFolder().c_str()) != 1)
        return 4;
    int boxes[ASSOCIATION_TYPE_COUNT];
    Checked(type, boxes);
    int extensions = GetAssociationType(type)->extensions[1] ? 2 : 1;
    return AssociateCheckedTypes(target, boxes) == extensions ? 0 : 5;
}

} // namespace SetupTest

TEST(SetupAssociations, OnlyTiffTickedWritesTiffThenTif)
{
    RegistryLock lock;
    SavedExtensions saved(AllExtensions());
    for (const char* extension : {".TIFF", ".TIF"}) {
        for (const auto& key : KeysOf(extension))
            ASSERT_TRUE(DeleteKeyTree(key.first, key.second));
    }
    std::vector<RegistryTree> before;
    for (const std::string& extension : AllExtensions()) {
        for (const auto& key : KeysOf(extension))
            before.push_back(CaptureKey(key.first, key.second));
    }
    ScratchFolder target("assoc target");
    std::string filelink = target.MakeSubfolder("Lumo") + "\\filelink.txt";

    ASSERT_EQ(0, AssociateAs("win10", 0, target.Path(), ASSOCIATION_TIFF));
    // No previous handler: nothing recorded.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(filelink.c_str()));
    for (const char* extension : {".TIFF", ".TIF"}) {
        std::string ext = extension;
        EXPECT_EQ("Lumo" + ext, Value(HKEY_CLASSES_ROOT, ext, nullptr));
        EXPECT_EQ("image", Value(HKEY_CLASSES_ROOT, ext, "PerceivedType"));
        EXPECT_EQ("image/" + ext.substr(1), Value(HKEY_CLASSES_ROOT, ext, "Content Type"));
        EXPECT_EQ("Paint.Picture", Value(HKEY_CLASSES_ROOT, ext + "\\UndoClass", nullptr));
        ExpectProgIdEntries(ext, target.Path());
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, std::string(kFileExts) + "\\" + ext));
    }
    // Every other extension is exactly as it was.
    size_t index = 0;
    for (const std::string& extension : AllExtensions()) {
        for (const auto& key : KeysOf(extension)) {
            RegistryTree now = CaptureKey(key.first, key.second);
            if (extension != ".TIFF" && extension != ".TIF") {
                EXPECT_TRUE(before[index] == now) << key.second;
            }
            ++index;
        }
    }

    // A second install finds its own identifiers and records them, in order.
    ASSERT_EQ(0, AssociateAs("win10", 0, target.Path(), ASSOCIATION_TIFF));
    EXPECT_EQ(".TIFF=Lumo.TIFF\r\n.TIF=Lumo.TIF\r\n", KwTest::ReadFile(filelink));
}

TEST(SetupAssociations, PreviousHandlerIsAppendedWhateverItsLength)
{
    RegistryLock lock;
    SavedExtensions saved({".PCX"});
    for (const auto& key : KeysOf(".PCX"))
        ASSERT_TRUE(DeleteKeyTree(key.first, key.second));
    std::string previous(300, 'p');
    ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ".PCX", nullptr, previous));
    ScratchFolder target("assoc");
    std::string filelink = target.MakeSubfolder("Lumo") + "\\filelink.txt";
    ASSERT_TRUE(KwTest::WriteFile(filelink, ".PNG=Lumo.PNG\r\n"));

    ASSERT_EQ(0, AssociateAs("win10", 0, target.Path(), ASSOCIATION_PCX));
    EXPECT_EQ(".PNG=Lumo.PNG\r\n.PCX=" + previous + "\r\n", KwTest::ReadFile(filelink));
    EXPECT_EQ("Lumo.PCX", Value(HKEY_CLASSES_ROOT, ".PCX", nullptr));
}

TEST(SetupAssociations, MissingProductFolderLosesOnlyTheRecord)
{
    RegistryLock lock;
    SavedExtensions saved({".PGX"});
    for (const auto& key : KeysOf(".PGX"))
        ASSERT_TRUE(DeleteKeyTree(key.first, key.second));
    ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ".PGX", nullptr, "Before.PGX"));
    ScratchFolder target("assoc");
    ASSERT_EQ(0, AssociateAs("win10", 0, target.Path(), ASSOCIATION_PGX));
    EXPECT_EQ("Lumo.PGX", Value(HKEY_CLASSES_ROOT, ".PGX", nullptr));
    ExpectProgIdEntries(".PGX", target.Path());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((target.Path() + "\\Lumo").c_str()));
}

TEST(SetupAssociations, RegistryOperationsReportFailure)
{
    KwString old("stale");
    EXPECT_EQ(0, SetClassesValue("Carton-no-such-key\\below", "x", ""));
    EXPECT_EQ(0, ReplaceClassesDefault("Carton-no-such-key\\below", old, "x"));
    EXPECT_EQ(0, old.GetLength());
    old = "stale";
    EXPECT_EQ(0, ReplaceUserChoice("Software\\Carton-no-such-key\\UserChoice", old, "x"));
    EXPECT_EQ(0, old.GetLength());
    EXPECT_EQ(0, CreateClassesKey("Carton-no-such-key", "below"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "Carton-no-such-key"));
}

TEST(SetupAssociations, UserChoicePathOnWindows61)
{
    RegistryLock lock;
    SavedExtensions saved({".PNG"});
    // The state before: a handler of the extension's own and a user choice.
    for (const auto& key : KeysOf(".PNG"))
        ASSERT_TRUE(DeleteKeyTree(key.first, key.second));
    ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ".PNG", nullptr, "Before.PNG.Class"));
    ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ".PNG", "PerceivedType", "before"));
    ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ".PNG", "Content Type", "before/png"));
    std::string userChoice = std::string(kFileExts) + "\\.PNG\\UserChoice";
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, userChoice, "Progid", "Before.PNG.Choice"));
    ScratchFolder target("v61 target");
    std::string product = target.MakeSubfolder("Lumo");

    ASSERT_EQ(0, AssociateAs("win7", 1024, target.Path(), ASSOCIATION_PNG))
        << "the child run failed (is the reported version 6.1?)";

    EXPECT_EQ("Lumo.PNG", Value(HKEY_CURRENT_USER, userChoice, "Progid"));
    EXPECT_EQ(".PNG=Before.PNG.Choice\r\n", KwTest::ReadFile(product + "\\filelink.txt"));
    ExpectProgIdEntries(".PNG", target.Path());
    // The extension's own key is left as it was.
    EXPECT_EQ("Before.PNG.Class", Value(HKEY_CLASSES_ROOT, ".PNG", nullptr));
    EXPECT_EQ("before", Value(HKEY_CLASSES_ROOT, ".PNG", "PerceivedType"));
    EXPECT_EQ("before/png", Value(HKEY_CLASSES_ROOT, ".PNG", "Content Type"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".PNG\\UndoClass"));
}
