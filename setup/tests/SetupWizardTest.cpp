// The install wizard end to end on real windows: posted mouse and key input
// to its controls, its message boxes answered, and the installed result read
// back (files, shell links, install log, registry, associations). The suite
// runs under the Chinese code page, the wizard's first language.
#include "KwTestSupport.h"
#include "SetupConfig.h"
#include "SetupWizardSession.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

using namespace SetupTest;
using KwSDK::KwTest::ReadFile;
using KwSDK::KwTest::WinePath;

namespace {

const char* const kNotice = "\xcc\xe1\xca\xbe";
const char* const kAskCreate =
    "\xb8\xc3\xc4\xbf\xc2\xbc\xb2\xbb\xb4\xe6\xd4\xda\xa3\xac\xca\xc7\xb7\xf1\xb4\xb4\xbd\xa8\xa3\xbf";
const char* const kCreateFailed =
    "\xb4\xb4\xbd\xa8\xb2\xbb\xb3\xc9\xb9\xa6\xa3\xac\xc7\xeb\xd6\xd8\xd0\xc2\xca\xe4\xc8\xeb\xc2"
    "\xb7\xbe\xb6";
// The Chinese caption of the exit question (key strwarring).
const char* const kWarning = "\xbe\xaf\xb8\xe6";

const char* const kFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo";

struct LinkInfo {
    std::string path, arguments, icon;
    int iconIndex = -1;
};

LinkInfo ReadLink(const std::string& file)
{
    LinkInfo info;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return info;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
            char text[MAX_PATH + 1] = {0};
            link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
            info.path = text;
            link->GetArguments(text, MAX_PATH);
            info.arguments = text;
            link->GetIconLocation(text, MAX_PATH, &info.iconIndex);
            info.icon = text;
        }
        persist->Release();
    }
    link->Release();
    return info;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    size_t end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start < text.size())
        lines.push_back(text.substr(start) + "<no line end>");
    return lines;
}

std::string ClassesDefault(const std::string& key)
{
    bool found = false;
    return ReadRegistryString(HKEY_CLASSES_ROOT, key, "", &found);
}

} // namespace

TEST(SetupWizardCp936, DefaultFolderInstallsFilesLinksLogRegistryAndTickedTypes)
{
    RegistryLock lock;
    const char* classKeys[] = {".JP2", ".JPC", ".TIFF", ".TIF", ".PNG", "Lumo", "Lumo.JP2",
                               "Lumo.JPC", "Lumo.TIFF", "Lumo.TIF", "Lumo.PNG"};
    std::vector<std::unique_ptr<SavedKey>> saved;
    for (const char* key : classKeys)
        saved.emplace_back(new SavedKey(HKEY_CLASSES_ROOT, key));
    saved.emplace_back(new SavedKey(HKEY_LOCAL_MACHINE, kUninstallKey));
    saved.emplace_back(new SavedKey(HKEY_CURRENT_USER, "Software\\Carton\\TestRegDll"));
    for (const char* key : {".JP2", ".JPC", ".TIFF", ".TIF"})
        saved.emplace_back(new SavedKey(HKEY_CURRENT_USER, std::string(kFileExts) + key));
    DeleteKeyTree(HKEY_CLASSES_ROOT, "Lumo.PNG");
    RemoveShortcuts();

    WizardSession session("wizard-full", {{"Lumo\\LumoShellEx.dll", ReadFile(WinePath(CARTON_TEST_REGDLL))},
                                          {"Lumo\\LumoView.exe", "viewer"},
                                          {"Lumo\\uninstall.exe", "uninstaller"},
                                          {"Lumo\\images\\uninstall.ico", "icon"},
                                          {"Lumo\\plugins", "<dir>"},
                                          {"Lumo\\plugins\\a.dat", std::string(70000, 'a')},
                                          {"LumoExtra", "<dir>"},
                                          {"LumoExtra\\b.txt", "b"}});
    std::string target = session.DefaultTarget();
    std::string question;
    session.Run([&](WizardDriver& driver) {
        GoToFolderPage(driver);
        driver.Click(kNext);
        ASSERT_TRUE(WizardDriver::Answer(kNotice, IDOK, &question, 5000));
        ASSERT_TRUE(driver.WaitShown(kTiffBox, 30000));
        EXPECT_TRUE(driver.WaitEnabled(kExit, false, 3000));
        EXPECT_FALSE(driver.IsShown(kFailureSummary));
        driver.Click(kTiffBox);
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kWelcome, 5000));
        driver.Click(kNext);
        // The finish button quits the wizard.
        for (int i = 0; i < 250 && IsWindow(driver.Wizard()) && IsWindowVisible(driver.Wizard()); ++i)
            Sleep(20);
    });
    EXPECT_EQ(kAskCreate, question);

    // Every payload file arrived byte for byte.
    std::map<std::string, std::string> source = ReadTree(session.PayloadRoot());
    std::map<std::string, std::string> installed = ReadTree(target);
    installed.erase("Lumo\\install.txt");
    installed.erase("Lumo\\filelink.txt");
    // The uninstaller's deletion script names the product's keys.
    std::string deletion = installed["Lumo\\uninstall.reg"];
    installed.erase("Lumo\\uninstall.reg");
    EXPECT_EQ(source, installed);
    EXPECT_NE(std::string::npos, deletion.find("\r\n[-HKEY_CLASSES_ROOT\\Lumo]\r\n")) << deletion;
    EXPECT_NE(std::string::npos,
              deletion.find("\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo]\r\n"))
        << deletion;

    // The shell links name the program, pass it its own path and show its icon.
    std::string product = target + "\\Lumo\\";
    std::string menu = ProgramsFolder() + "\\Brindle";
    LinkInfo program = ReadLink(menu + "\\Lumo\\LumoView.lnk");
    EXPECT_EQ(product + "LumoView.exe", program.path);
    EXPECT_EQ(product + "LumoView.exe", program.arguments);
    EXPECT_EQ(product + "images\\app.ico", program.icon);
    EXPECT_EQ(0, program.iconIndex);
    LinkInfo uninstall = ReadLink(menu + "\\Lumo\\uninstall.lnk");
    EXPECT_EQ(product + "uninstall.exe", uninstall.path);
    EXPECT_EQ(product + "uninstall.exe", uninstall.arguments);
    EXPECT_EQ(product + "images\\uninstall.ico", uninstall.icon);
    LinkInfo desktop = ReadLink(DesktopFolder() + "\\LumoView.lnk");
    EXPECT_EQ(product + "LumoView.exe", desktop.path);
    EXPECT_EQ(product + "images\\app.ico", desktop.icon);

    // The log: its own path, links and menu folders, the product's entries
    // deepest first (not the shared folder, not a sibling that merely
    // starts with the same name), then the uninstall key.
    std::vector<std::string> expected = {product + "install.txt", menu + "\\Lumo\\uninstall.lnk",
                                         menu + "\\Lumo\\LumoView.lnk", menu + "\\Lumo", menu,
                                         DesktopFolder() + "\\LumoView.lnk"};
    KwSDK::TKwList<KwSDK::FILENODE>& payload = KwSDK::GetPayloadList();
    for (int more = payload.MoveLast(); more; more = payload.MovePrev()) {
        std::string name = KwSDK::KwTest::Std(payload.GetAt()->name);
        if (name == "Lumo" || name.compare(0, 5, "Lumo\\") == 0)
            expected.push_back(target + "\\" + name);
    }
    expected.push_back("HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKey));
    std::vector<std::string> log = Lines(ReadFile(product + "install.txt"));
    EXPECT_EQ(expected, log);
    ASSERT_GE(log.size(), 8u);
    EXPECT_EQ(target + "\\Lumo", log[log.size() - 2]);

    // The registry script, the shell extension's own registration and the
    // ticked types only; the tools run on their own, so wait for them.
    bool found = false;
    EXPECT_TRUE(WaitFor([&] {
        return ReadRegistryString(HKEY_CURRENT_USER, "Software\\Carton\\TestRegDll", "Registered",
                                  &found) == "1" &&
               ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", &found) ==
                   "Lumo1.04 (32 bit)";
    }, 20000));
    EXPECT_EQ(product + "LumoView.exe",
              ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", &found));
    EXPECT_EQ(product, ClassesDefault("Lumo\\shell\\Open\\Path"));
    // The handler value itself depends on the Windows version reported;
    // the program identifiers are listed for the extension on every one.
    for (const char* extension : {".JP2", ".JPC", ".TIFF", ".TIF"}) {
        std::string progId = std::string("Lumo") + extension;
        ReadRegistryString(HKEY_CLASSES_ROOT, std::string(extension) + "\\OpenWithProgids",
                           progId.c_str(), &found);
        EXPECT_TRUE(found) << extension;
        EXPECT_EQ(product + "images\\" + std::string(extension + 1) + ".ico,0",
                  ClassesDefault(progId + "\\DefaultIcon"));
    }
    ReadRegistryString(HKEY_CLASSES_ROOT, ".PNG\\OpenWithProgids", "Lumo.PNG", &found);
    EXPECT_FALSE(found);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "Lumo.PNG"));
    RemoveShortcuts();
    // regsvr32 may still hold the library for a moment.
    WaitFor([&] { return ReadTree(target).empty() || DeleteFileA((product + "LumoShellEx.dll").c_str()); }, 5000);
}

TEST(SetupWizardCp936, LicenceNextFollowsAgreeAndKeepsTheChoiceOnTheWayBack)
{
    WizardSession session("wizard-licence");
    session.Run([&](WizardDriver& driver) {
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kAgree, 5000));
        EXPECT_TRUE(driver.WaitEnabled(kNext, false, 3000));
        // A click on the disabled button goes nowhere.
        driver.Click(kNext);
        Sleep(300);
        EXPECT_TRUE(driver.IsShown(kAgree));
        driver.Click(kAgree);
        EXPECT_TRUE(driver.WaitEnabled(kNext, true, 3000));
        driver.Click(kDisagree);
        EXPECT_TRUE(driver.WaitEnabled(kNext, false, 3000));
        driver.Click(kAgree);
        EXPECT_TRUE(driver.WaitEnabled(kNext, true, 3000));
        driver.Click(kPrev);
        ASSERT_TRUE(driver.WaitShown(kWelcome, 5000));
        EXPECT_TRUE(driver.WaitEnabled(kPrev, false, 3000));
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kAgree, 5000));
        Sleep(300);
        EXPECT_TRUE(driver.IsEnabled(kNext));
        driver.Click(kNext);
        EXPECT_TRUE(driver.WaitShown(kFolderField, 5000));
    });
}

TEST(SetupWizardCp936, FolderWithMissingParentOrCancelledQuestionStaysOnFolderPage)
{
    WizardSession session("wizard-folder");
    std::string missing = session.ProgramFiles() + "\\missing\\Brindle";
    std::string cancelled = session.ProgramFiles() + "\\cancelled";
    std::string first, second, third;
    session.Run([&](WizardDriver& driver) {
        GoToFolderPage(driver);
        driver.Clear(kFolderField, 400);
        driver.Type(kFolderField, missing);
        driver.Click(kNext);
        ASSERT_TRUE(WizardDriver::Answer(kNotice, IDOK, &first, 5000));
        ASSERT_TRUE(WizardDriver::Answer(kNotice, IDOK, &second, 5000));
        Sleep(300);
        EXPECT_TRUE(driver.IsShown(kFolderField));
        EXPECT_FALSE(driver.IsShown(kGauge));
        driver.Clear(kFolderField, 400);
        driver.Type(kFolderField, cancelled);
        driver.Click(kNext);
        ASSERT_TRUE(WizardDriver::Answer(kNotice, IDCANCEL, &third, 5000));
        Sleep(300);
        EXPECT_TRUE(driver.IsShown(kFolderField));
        EXPECT_TRUE(driver.IsEnabled(kNext));
    });
    EXPECT_EQ(kAskCreate, first);
    EXPECT_EQ(kCreateFailed, second);
    EXPECT_EQ(kAskCreate, third);
    EXPECT_EQ(0u, ReadTree(session.ProgramFiles()).size());
}

TEST(SetupWizardCp936, ConfirmedExitWhileCopyingKeepsCopiedFilesAndWritesNoLinksOrLog)
{
    std::map<std::string, std::string> many;
    many["Lumo\\many"] = "<dir>";
    for (int i = 0; i < 600; ++i)
        many["Lumo\\many\\f" + std::to_string(i) + ".dat"] = std::to_string(i);
    // The shortcuts' folders are shared with the other install tests.
    RegistryLock lock;
    RemoveShortcuts();
    WizardSession session("wizard-exit", many);
    std::string target = session.DefaultTarget();
    CreateDirectoryA(target.c_str(), nullptr);
    std::string exitText;
    session.Run([&](WizardDriver& driver) {
        GoToFolderPage(driver);
        driver.Click(kNext);
        ASSERT_TRUE(WaitFor([&] { return ReadTree(target + "\\Lumo\\many").size() >= 20; }, 20000));
        driver.Click(kExit);
        ASSERT_TRUE(WizardDriver::Answer(kWarning, IDOK, &exitText, 5000));
    });
    std::map<std::string, std::string> copied = ReadTree(target + "\\Lumo\\many");
    EXPECT_GE(copied.size(), 20u);
    EXPECT_LT(copied.size(), 600u);
    for (const auto& entry : copied)
        EXPECT_EQ(many["Lumo\\many\\" + entry.first], entry.second) << entry.first;
    EXPECT_FALSE(KwSDK::KwTest::Exists(target + "\\Lumo\\install.txt"));
    EXPECT_FALSE(KwSDK::KwTest::Exists(ProgramsFolder() + "\\Brindle"));
    EXPECT_FALSE(KwSDK::KwTest::Exists(DesktopFolder() + "\\LumoView.lnk"));
}

TEST(SetupWizardCp936, ReinstallReplacesEveryFileKeepsExtrasAndRecordsThePreviousHandler)
{
    RegistryLock lock;
    SavedKey png(HKEY_CLASSES_ROOT, ".PNG");
    SavedKey pngProgId(HKEY_CLASSES_ROOT, "Lumo.PNG");
    SavedKey pngChoice(HKEY_CURRENT_USER, std::string(kFileExts) + ".PNG");
    SavedKey uninstallKey(HKEY_LOCAL_MACHINE, kUninstallKey);
    SavedKey classKey(HKEY_CLASSES_ROOT, "Lumo");
    // An earlier install: its handler, whichever way this Windows keeps it.
    WriteRegistryString(HKEY_CLASSES_ROOT, ".PNG", "", "Lumo.PNG");
    WriteRegistryString(HKEY_CURRENT_USER, std::string(kFileExts) + ".PNG\\UserChoice", "Progid",
                        "Lumo.PNG");
    WizardSession session("wizard-reinstall");
    std::string target = session.DefaultTarget();
    std::map<std::string, std::string> source = ReadTree(session.PayloadRoot());
    CopyTree(session.PayloadRoot(), target);
    for (const auto& entry : source) {
        if (entry.second != "<dir>")
            KwSDK::KwTest::WriteFile(target + "\\" + entry.first, "old " + entry.first);
    }
    KwSDK::KwTest::WriteFile(target + "\\Lumo\\extra.txt", "kept");
    session.Run([&](WizardDriver& driver) {
        GoToFolderPage(driver);
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kPngBox, 30000));
        driver.Click(kPngBox);
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kWelcome, 5000));
        driver.Click(kNext);
        for (int i = 0; i < 250 && IsWindowVisible(driver.Wizard()); ++i)
            Sleep(20);
    });
    std::map<std::string, std::string> installed = ReadTree(target);
    EXPECT_EQ("kept", installed["Lumo\\extra.txt"]);
    EXPECT_EQ(".PNG=Lumo.PNG\r\n", installed["Lumo\\filelink.txt"]);
    for (const char* name : {"Lumo\\extra.txt", "Lumo\\filelink.txt", "Lumo\\install.txt", "Lumo\\uninstall.reg"})
        installed.erase(name);
    EXPECT_TRUE(source == installed) << "the payload was not replaced completely";
    RemoveShortcuts();
}
