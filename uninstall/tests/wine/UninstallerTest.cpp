// uninstall.exe under Wine, on a fake installed product in a scratch folder:
// files, the install log in its exact format, the association record,
// shortcuts made through the shell, registry keys, an uninstall entry, the
// deletion script and a registered test library as the shell extension.
#include "RegistryDeletionScript.h"
#include "SetupTestSupport.h"
#include "UninstallTexts.h"

#include "KwFile.h"
#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

using namespace KwSDK;
using namespace SetupTest;
using KwTest::Exists;
using KwTest::ReadFile;
using KwTest::Std;
using KwTest::Str;
using KwTest::WinePath;
using KwTest::WriteFile;

namespace {

// The product folder's name, and so the program identifiers' prefix.
const char kProduct[] = "KwUnTest";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KwUnTest";
const char kVendorKey[] = "Software\\KwUnTestVendor";
const char kRegDllKey[] = "Software\\Carton\\TestRegDll";
const DWORD kLimit = 60000;

bool MakeLink(const std::string& link, const std::string& target)
{
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return false;
    shellLink->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        KwString wide = Str(link);
        saved = SUCCEEDED(file->Save(wide.ToWide(), TRUE));
        file->Release();
    }
    shellLink->Release();
    return saved;
}

std::string Classes(const std::string& key, const char* name = nullptr)
{
    bool found = false;
    std::string value = ReadRegistryString(HKEY_CLASSES_ROOT, key, name, &found);
    return found ? value : "<none>";
}

// The test library's registration: a value it writes and deletes.
bool ShellExtensionRegistered()
{
    bool found = false;
    ReadRegistryString(HKEY_CURRENT_USER, kRegDllKey, "Registered", &found);
    return found;
}

struct BOXSEARCH {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM data)
{
    BOXSEARCH* search = reinterpret_cast<BOXSEARCH*>(data);
    DWORD owner = 0;
    char name[16] = { 0 };
    GetWindowThreadProcessId(window, &owner);
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The top-level message box of a process, once it shows one.
HWND FindMessageBox(DWORD processId)
{
    BOXSEARCH search = { processId, nullptr };
    WaitFor([&] {
        EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, kLimit);
    return search.found;
}

// The message text of a message box (its static control 0xFFFF).
std::string MessageText(HWND box)
{
    char text[4096] = { 0 };
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

class UninstallerWine : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        m_root = m_scratch.Path();
        m_product = m_scratch.MakeSubfolder(std::string("Brindle\\") + kProduct);
        m_menu = m_scratch.MakeSubfolder("Menu\\Brindle");
        m_productMenu = m_scratch.MakeSubfolder(std::string("Menu\\Brindle\\") + kProduct);
        m_desktop = m_scratch.MakeSubfolder("Desktop");
        m_scratch.MakeSubfolder(std::string("Brindle\\") + kProduct + "\\images");
        m_scratch.MakeSubfolder("Brindle\\common");
        ASSERT_TRUE(WriteFile(m_root + "\\Brindle\\common\\brindle.txt", "shared"));
        ASSERT_TRUE(WriteFile(m_root + "\\outside.txt", "not ours"));
        ASSERT_EQ(1, CopyOneFile(WinePath(UNINSTALL_EXE), Product("uninstall.exe")));
        ASSERT_TRUE(WriteFile(Product("LumoView.exe"), "viewer"));
        ASSERT_TRUE(WriteFile(Product("readme.txt"), "readme"));
        ASSERT_TRUE(WriteFile(Product("images\\png.ico"), "icon"));
#ifdef CARTON_TEST_REGDLL
        ASSERT_EQ(1, CopyOneFile(WinePath(CARTON_TEST_REGDLL), Product("LumoShellEx.dll")));
#endif
        ASSERT_TRUE(MakeLink(m_productMenu + "\\uninstall.lnk", Product("uninstall.exe")));
        ASSERT_TRUE(MakeLink(m_productMenu + "\\LumoView.lnk", Product("LumoView.exe")));
        ASSERT_TRUE(MakeLink(m_desktop + "\\LumoView.lnk", Product("LumoView.exe")));
    }

    void TearDown() override
    {
        for (const char* key : { "KwUnTest.PNG", "KwUnTest.GIF", "KwUnTest.JPG", "KwUnTest" })
            DeleteKeyTree(HKEY_CLASSES_ROOT, key);
        DeleteKeyTree(HKEY_CURRENT_USER, kVendorKey);
        DeleteKeyTree(HKEY_CURRENT_USER, kUninstallKey);
        CoUninitialize();
    }

    std::string Product(const std::string& name) const { return m_product + "\\" + name; }

    // install.txt exactly as the installer writes it, entries deepest first.
    std::string InstallLogText() const
    {
        std::string log = Product("install.txt") + "\r\n" + m_productMenu + "\\uninstall.lnk\r\n" + m_productMenu
                          + "\\LumoView.lnk\r\n" + m_productMenu + "\r\n" + m_menu + "\r\n" + m_desktop
                          + "\\LumoView.lnk\r\n";
        for (const char* name : { "uninstall.exe", "readme.txt", "LumoView.exe", "LumoShellEx.dll",
                                  "images\\png.ico", "images" })
            log += Product(name) + "\r\n";
        return log + m_product + "\r\nHKEY_CURRENT_USER\\" + kUninstallKey + "\r\n";
    }

    // The registry as the install left it, and the logs that describe it.
    void Install(const std::string& log)
    {
        ASSERT_TRUE(WriteFile(Product("install.txt"), log));
        // .PNG had a handler before; .GIF had none; .JPG was taken over by
        // another program after the install.
        ASSERT_TRUE(WriteFile(Product("filelink.txt"), ".PNG=PrevViewer.png\r\n.JPG=Old.jpg\r\n.PNG=KwUnTest.PNG\r\n"));
        std::string command = "\"" + Product("LumoView.exe") + "\" \"%1\"";
        for (const char* ext : { ".PNG", ".GIF", ".JPG" }) {
            std::string progId = std::string(kProduct) + ext;
            ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, progId + "\\shell\\Open\\Command", nullptr, command));
            ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, std::string(ext) + "\\OpenWithProgids", progId.c_str(), ""));
            ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ext, nullptr, progId));
            ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ext, "PerceivedType", "image"));
            ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ext, "Content Type", std::string("image/") + (ext + 1)));
            ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, std::string(ext) + "\\UndoClass", nullptr, "Paint.Picture"));
        }
        ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, ".JPG", nullptr, "SomeoneElse.jpg"));
        ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kUninstallKey, "DisplayName", "KwUn Test 1.0"));
        ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kUninstallKey, "Language", "en"));
        // The product's own registry script, expanded, and its deletion script.
        std::string script = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\KwUnTestVendor]\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\KwUnTestVendor\\KwUnTest]\r\n\"Path\"=\"x\"\r\n\r\n"
                             "[HKEY_CLASSES_ROOT\\KwUnTest]\r\n\r\n[HKEY_CLASSES_ROOT\\KwUnTest\\shell]\r\n\r\n"
                             "[HKEY_CLASSES_ROOT\\KwUnTest\\shell\\Open]\r\n@=\"open\"\r\n";
        ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, std::string(kVendorKey) + "\\KwUnTest", "Path", "x"));
        ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, std::string(kVendorKey) + "\\Other", "Path", "y"));
        ASSERT_TRUE(WriteRegistryString(HKEY_CLASSES_ROOT, "KwUnTest\\shell\\Open", nullptr, "open"));
        ASSERT_TRUE(WriteFile(Product("uninstall.reg"), Std(MakeRegistryDeletionScript(Str(script)))));
#ifdef CARTON_TEST_REGDLL
        ASSERT_EQ(0, KwTest::RunToEnd("regsvr32.exe /s \"" + Product("LumoShellEx.dll") + "\"", kLimit));
        ASSERT_TRUE(ShellExtensionRegistered());
#endif
    }

    HANDLE Start(const std::string& arguments)
    {
        return KwTest::StartProgram("\"" + Product("uninstall.exe") + "\"" + arguments, m_root.c_str());
    }

    // Everything of the product is gone, and nothing else.
    void ExpectRemoved()
    {
        EXPECT_TRUE(WaitFor([&] { return !Exists(m_product); }, kLimit)) << m_product;
        EXPECT_FALSE(Exists(m_menu));
        EXPECT_FALSE(Exists(m_desktop + "\\LumoView.lnk"));
        EXPECT_EQ("shared", ReadFile(m_root + "\\Brindle\\common\\brindle.txt"));
        EXPECT_EQ("not ours", ReadFile(m_root + "\\outside.txt"));
        EXPECT_EQ("PrevViewer.png", Classes(".PNG"));
        // .GIF's key was the install's own: it goes; .PNG's keeps its values.
        EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".GIF"));
        EXPECT_EQ("image", Classes(".PNG", "PerceivedType"));
        EXPECT_EQ("SomeoneElse.jpg", Classes(".JPG"));
        EXPECT_EQ("<none>", Classes(".PNG\\OpenWithProgids", "KwUnTest.PNG"));
        for (const char* key : { "KwUnTest.PNG", "KwUnTest.GIF", "KwUnTest.JPG", "KwUnTest" })
            EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << key;
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallKey));
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, std::string(kVendorKey) + "\\KwUnTest"));
        EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, std::string(kVendorKey) + "\\Other"));
#ifdef CARTON_TEST_REGDLL
        EXPECT_FALSE(ShellExtensionRegistered());
#endif
    }

    RegistryLock m_lock;
    SavedKey m_png{ HKEY_CLASSES_ROOT, ".PNG" };
    SavedKey m_gif{ HKEY_CLASSES_ROOT, ".GIF" };
    SavedKey m_jpg{ HKEY_CLASSES_ROOT, ".JPG" };
    SavedKey m_regDll{ HKEY_CURRENT_USER, kRegDllKey };
    ScratchFolder m_scratch{ "uninstall" };
    std::string m_root;
    std::string m_product;
    std::string m_menu;
    std::string m_productMenu;
    std::string m_desktop;
};

} // namespace

TEST_F(UninstallerWine, NoKeepsEverythingAndYesRemovesEverything)
{
    Install(InstallLogText());
    KwTest::Tree before = KwTest::Snapshot(m_root);

    HANDLE run = Start("");
    ASSERT_TRUE(run);
    HWND box = FindMessageBox(GetProcessId(run));
    ASSERT_TRUE(box);
    EXPECT_NE(std::string::npos, MessageText(box).find("remove KwUn Test 1.0"));
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(1, KwTest::FinishProgram(run, kLimit));
    EXPECT_TRUE(before == KwTest::Snapshot(m_root));
    EXPECT_EQ("KwUnTest.PNG", Classes(".PNG"));
    EXPECT_EQ("KwUnTest.GIF", Classes(".GIF"));

    run = Start("");
    ASSERT_TRUE(run);
    box = FindMessageBox(GetProcessId(run));
    ASSERT_TRUE(box);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    // The closing message, then the copy in the temporary folder takes over.
    ASSERT_TRUE(WaitFor([&] {
        HWND done = FindMessageBox(GetProcessId(run));
        return done && done != box && MessageText(done).find("was successfully removed") != std::string::npos;
    }, kLimit));
    PostMessageA(FindMessageBox(GetProcessId(run)), WM_COMMAND, IDOK, 0);
    DWORD id = GetProcessId(run);
    EXPECT_EQ(0, KwTest::FinishProgram(run, kLimit));
    ExpectRemoved();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string copy = std::string(temp) + "uninstall-" + std::to_string(id) + ".exe";
    EXPECT_TRUE(WaitFor([&] { return !Exists(copy); }, kLimit)) << copy;
}

// A file held open by another program is named and the rest goes; once it
// is free, a second run finishes the job.
TEST_F(UninstallerWine, FileInUseIsReportedAndASecondRunFinishes)
{
    Install(InstallLogText());
    HANDLE held = CreateFileA(Product("readme.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    HANDLE run = Start("");
    ASSERT_TRUE(run);
    HWND box = FindMessageBox(GetProcessId(run));
    ASSERT_TRUE(box);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    std::string text;
    ASSERT_TRUE(WaitFor([&] {
        HWND warning = FindMessageBox(GetProcessId(run));
        text = warning && warning != box ? MessageText(warning) : std::string();
        return text.find("in use") != std::string::npos;
    }, kLimit));
    EXPECT_NE(std::string::npos, text.find(Product("readme.txt"))) << text;
    EXPECT_EQ(std::string::npos, text.find("LumoView.exe")) << text;
    PostMessageA(FindMessageBox(GetProcessId(run)), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(3, KwTest::FinishProgram(run, kLimit));
    EXPECT_FALSE(Exists(Product("LumoView.exe")));
    EXPECT_FALSE(Exists(m_desktop + "\\LumoView.lnk"));
    EXPECT_TRUE(Exists(Product("install.txt")));
    EXPECT_TRUE(Exists(Product("uninstall.exe")));
    CloseHandle(held);

    std::string log = m_root + "\\second.log";
    EXPECT_EQ(0, KwTest::FinishProgram(Start(" /S \"/LOG=" + log + "\""), kLimit));
    std::string steps = ReadFile(log);
    EXPECT_NE(std::string::npos, steps.find("Removed " + Product("readme.txt") + "\r\n")) << steps;
    EXPECT_NE(std::string::npos, steps.find("Finished\r\n")) << steps;
    ExpectRemoved();
}

// A changed log cannot reach outside the product folder: system files, other
// folders, links that are no shortcuts and keys that are no uninstall entry
// stay, and the product's own entries still go.
TEST_F(UninstallerWine, TamperedLogRemovesNothingOutsideTheProduct)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string kernel = std::string(system) + "\\kernel32.dll";
    ASSERT_TRUE(Exists(kernel));
    std::string windows = std::string(system).substr(0, std::string(system).rfind('\\'));
    std::string log = Product("install.txt") + "\r\n" + kernel + "\r\n" + m_root + "\\outside.txt\r\n" + system
                      + "\r\n" + windows + "\r\n" + m_root + "\\Brindle\\common\\brindle.txt\r\n" + kernel + "\r\n"
                      + m_root + "\\outside.txt\r\n" + m_product + "\\..\\common\\brindle.txt\r\n" + m_root
                      + "\\Brindle\\common\r\n" + Product("LumoView.exe") + "\r\nHKEY_CURRENT_USER\\" + kVendorKey
                      + "\r\n";
    Install(log);
    std::string steps = m_root + "\\steps.log";
    EXPECT_EQ(0, KwTest::FinishProgram(Start(" /S /LOG=" + steps), kLimit));
    EXPECT_TRUE(Exists(kernel));
    EXPECT_EQ("not ours", ReadFile(m_root + "\\outside.txt"));
    EXPECT_EQ("shared", ReadFile(m_root + "\\Brindle\\common\\brindle.txt"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, std::string(kVendorKey) + "\\Other"));
    EXPECT_FALSE(Exists(Product("LumoView.exe")));
    std::string text = ReadFile(steps);
    EXPECT_NE(std::string::npos, text.find("Refused: outside the product folder: " + kernel)) << text;
    EXPECT_NE(std::string::npos, text.find("Refused: not a shortcut: " + kernel)) << text;
    EXPECT_NE(std::string::npos, text.find("Refused: not an uninstall entry: HKEY_CURRENT_USER\\")) << text;
    // Files the log does not name keep the product folder.
    EXPECT_TRUE(Exists(Product("readme.txt")));
}

TEST(UninstallTexts, LanguageFollowsTheRecordOrTheCodePage)
{
    UninstallTexts texts;
    texts.Choose("", 936, "Z:\\nowhere\\");
    EXPECT_TRUE(texts.IsChinese());
    EXPECT_EQ("Lumo \xD2\xD1\xB4\xD3", Std(texts.Get(UninstallTexts::DONE, "Lumo")).substr(0, 9));
    texts.Choose("en", 936, "Z:\\nowhere\\");
    EXPECT_FALSE(texts.IsChinese());
    texts.Choose("cn", 1252, "Z:\\nowhere\\");
    EXPECT_TRUE(texts.IsChinese());
    texts.Choose("", 1252, "Z:\\nowhere\\");
    EXPECT_EQ("Lumo was successfully removed from your computer.", Std(texts.Get(UninstallTexts::DONE, "Lumo")));
}

// Under the Chinese code page the messages are Chinese unless the install
// recorded English; without a usable log nothing is removed.
TEST(UninstallerCp936, SpeaksTheRecordedLanguageOrTheCodePages)
{
    ASSERT_TRUE(KwTest::UsesChineseCodePage());
    RegistryLock lock;
    SavedKey saved(HKEY_CURRENT_USER, kUninstallKey);
    ScratchFolder scratch("uninstallcn");
    std::string product = scratch.MakeSubfolder(kProduct);
    ASSERT_EQ(1, CopyOneFile(WinePath(UNINSTALL_EXE), product + "\\uninstall.exe"));
    ASSERT_TRUE(WriteFile(product + "\\readme.txt", "x"));
    std::string program = "\"" + product + "\\uninstall.exe\"";
    auto firstMessage = [&](long expectedExit) {
        HANDLE run = KwTest::StartProgram(program);
        EXPECT_TRUE(run);
        HWND box = run ? FindMessageBox(GetProcessId(run)) : nullptr;
        std::string text = box ? MessageText(box) : std::string();
        if (box)
            PostMessageA(box, WM_COMMAND, IDNO, 0);
        if (run) {
            EXPECT_EQ(expectedExit, KwTest::FinishProgram(run, kLimit));
        }
        return text;
    };
    // No log: the Chinese "no install log" message, and exit code 2.
    EXPECT_EQ(0u, firstMessage(2).find("\xD5\xD2\xB2\xBB\xB5\xBD"));
    std::string log = product + "\\install.txt\r\na\r\nb\r\nc\r\nd\r\ne\r\n" + product + "\\readme.txt\r\n"
                      "HKEY_CURRENT_USER\\" + kUninstallKey + "\r\n";
    ASSERT_TRUE(WriteFile(product + "\\install.txt", log));
    EXPECT_EQ(0u, firstMessage(1).find("\xC8\xB7\xCA\xB5"));
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kUninstallKey, "Language", "en"));
    EXPECT_EQ(0u, firstMessage(1).find("Are you sure"));
    EXPECT_TRUE(Exists(product + "\\readme.txt"));
}
