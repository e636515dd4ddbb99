// A wizard run inside the test program, driven from a second thread.
#include "SetupWizardSession.h"

#include "ComponentTestSupport.h"
#include "ImplKwImageGraphics.h"
#include "KwTestSupport.h"
#include "Setup.h"
#include "SetupConfig.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <thread>

using KwSDK::KwTest::Str;

namespace SetupTest {

WizardSession::WizardSession(const char* label, const std::map<std::string, std::string>& extra)
    : m_package(label), m_programFiles("programfiles")
{
    CopyPackageFiles(m_package.Path(), nullptr);
    EXPECT_TRUE(CopyTree(PackageFolder() + "Brindle", PayloadRoot()));
    for (const auto& entry : extra) {
        std::string path = PayloadRoot() + "\\" + entry.first;
        if (entry.second == "<dir>")
            CreateDirectoryA(path.c_str(), nullptr);
        else
            EXPECT_TRUE(KwSDK::KwTest::WriteFile(path, entry.second)) << path;
    }
    char old[MAX_PATH + 1] = {0};
    GetEnvironmentVariableA("ProgramFiles", old, sizeof old);
    m_oldProgramFiles = old;
    SetEnvironmentVariableA("ProgramFiles", m_programFiles.Path().c_str());
    KwSDK::ImplKwImageGraphics::InstallHooks();
    EXPECT_EQ(1, KwSDK::LoadConfigurationFrom(Str(m_package.Path() + "\\")));
}

WizardSession::~WizardSession()
{
    SetEnvironmentVariableA("ProgramFiles", m_oldProgramFiles.c_str());
}

void WizardSession::Run(const std::function<void(WizardDriver&)>& script)
{
    KwSDK::Setup* wizard = new KwSDK::Setup();
    wizard->AddRef();
    ASSERT_EQ(1, wizard->IsComplete());
    std::thread driverThread([wizard, &script] {
        HWND window = nullptr;
        for (int i = 0; i < 500 && (window == nullptr || !IsWindowVisible(window)); ++i) {
            Sleep(20);
            window = KwSDK::Testing::WindowOf(wizard);
        }
        if (window == nullptr)
            return;
        WizardDriver driver(window);
        script(driver);
        // A wizard that did not quit by itself ends here (a quit message to
        // a loop that has already ended is dropped by the next pump).
        PostMessageA(window, WM_QUIT, 0, 0);
    });
    wizard->Create(KwSDK::Testing::Instance(), nullptr);
    driverThread.join();
    wizard->Release();
    KwSDK::Testing::PumpMessages();
}

bool CopyTree(const std::string& from, const std::string& to)
{
    if (!CreateDirectoryA(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool copied = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copied = CopyTree(from + "\\" + name, to + "\\" + name) && copied;
        else
            copied = CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) &&
                     copied;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return copied;
}

static void ReadTreeInto(const std::string& folder, const std::string& relative,
                         std::map<std::string, std::string>* tree)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string key = relative.empty() ? name : relative + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*tree)[key] = "<dir>";
            ReadTreeInto(folder + "\\" + name, key, tree);
        } else {
            (*tree)[key] = KwSDK::KwTest::ReadFile(folder + "\\" + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::map<std::string, std::string> ReadTree(const std::string& folder)
{
    std::map<std::string, std::string> tree;
    ReadTreeInto(folder, "", &tree);
    return tree;
}

static std::string SpecialFolder(int which)
{
    char path[MAX_PATH + 1] = {0};
    return SHGetSpecialFolderPathA(nullptr, path, which, FALSE) ? std::string(path) : std::string();
}

std::string ProgramsFolder()
{
    return SpecialFolder(CSIDL_PROGRAMS);
}

std::string DesktopFolder()
{
    return SpecialFolder(CSIDL_DESKTOPDIRECTORY);
}

void RemoveShortcuts()
{
    std::string menu = ProgramsFolder() + "\\Brindle";
    DeleteFileA((menu + "\\Lumo\\LumoView.lnk").c_str());
    DeleteFileA((menu + "\\Lumo\\uninstall.lnk").c_str());
    RemoveDirectoryA((menu + "\\Lumo").c_str());
    RemoveDirectoryA(menu.c_str());
    DeleteFileA((DesktopFolder() + "\\LumoView.lnk").c_str());
}

void GoToFolderPage(WizardDriver& driver)
{
    driver.Click(kNext);
    ASSERT_TRUE(driver.WaitShown(kAgree, 5000));
    driver.Click(kAgree);
    ASSERT_TRUE(driver.WaitEnabled(kNext, true, 5000));
    driver.Click(kNext);
    ASSERT_TRUE(driver.WaitShown(kFolderField, 5000));
}

} // namespace SetupTest
