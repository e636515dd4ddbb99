// The install engine without a window: a large file copied in pieces over
// several ticks, the one retry of a locked shell extension, and a failure
// answered with Retry.
#include "KwTestSupport.h"
#include "SetupConfig.h"
#include "SetupInstallEngine.h"
#include "SetupInstallHost.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace SetupTest;
using namespace KwSDK;
using KwSDK::KwTest::ReadFile;
using KwSDK::KwTest::Str;

namespace {

// Records what the engine reports and answers failures from a script.
class RecordingHost : public SetupInstallHost {
public:
    void OnEntryListed(const KwString& name) override { listed.push_back(KwTest::Std(name)); }
    void OnProgress(int value) override { progress.push_back(value); }
    int OnCopyFailed(const KwString& path, const KwString& reason) override
    {
        failures.push_back(KwTest::Std(path) + " | " + KwTest::Std(reason));
        if (onFailure)
            onFailure();
        return answers.empty() ? SETUP_COPY_IGNORE : Next();
    }
    void OnShellExtensionLocked(const KwString&) override
    {
        ++locked;
        if (onLocked)
            onLocked();
    }

    std::vector<std::string> listed;
    std::vector<int> progress;
    std::vector<std::string> failures;
    std::vector<int> answers;
    int locked = 0;
    std::function<void()> onLocked;
    std::function<void()> onFailure;

private:
    int Next()
    {
        int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
};

typedef std::vector<std::pair<std::string, std::string>> Files;

// A package folder holding only the payload files given.
class EnginePackage {
public:
    explicit EnginePackage(const Files& files)
        : m_folder("engine"), m_target("engine-target")
    {
        CopyPackageFiles(m_folder.Path(), nullptr);
        CreateDirectoryA((m_folder.Path() + "\\Brindle").c_str(), nullptr);
        CreateDirectoryA((m_folder.Path() + "\\Brindle\\Lumo").c_str(), nullptr);
        for (const auto& file : files)
            EXPECT_TRUE(KwTest::WriteFile(m_folder.Path() + "\\Brindle\\" + file.first, file.second));
        EXPECT_EQ(1, LoadConfigurationFrom(Str(m_folder.Path() + "\\")));
    }
    std::string Target() const { return m_target.Path(); }
    std::string Source(const std::string& name) const { return m_folder.Path() + "\\Brindle\\" + name; }

private:
    ScratchFolder m_folder;
    ScratchFolder m_target;
};

FILETIME ModifiedTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

} // namespace

TEST(SetupInstallEngine, LargeFileGoesInPiecesAcrossTicksAndArrivesWhole)
{
    std::string big(9 * 1024 * 1024 + 123, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 131 >> 5);
    EnginePackage package({{"Lumo\\big.bin", big}, {"Lumo\\small.txt", "small"}});
    // An old time, so that a fresh write time would show.
    FILETIME old = {0x12345678, 0x01C00000};
    HANDLE file = CreateFileA(package.Source("Lumo\\big.bin").c_str(), FILE_WRITE_ATTRIBUTES, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &old);
    CloseHandle(file);

    RecordingHost host;
    SetupInstallEngine engine(&host);
    engine.SetTimeBudget(0);
    engine.SetPieceSize(1 << 20);
    engine.Start(&GetPayloadList());
    int ticks = 0;
    while (!engine.CopyNextEntry(Str(package.Target())) && ticks < 1000)
        ++ticks;
    // Nine full pieces and one short one, each in its own tick, besides the
    // folder and the small file.
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(big, ReadFile(package.Target() + "\\Lumo\\big.bin"));
    EXPECT_EQ("small", ReadFile(package.Target() + "\\Lumo\\small.txt"));
    FILETIME copied = ModifiedTime(package.Target() + "\\Lumo\\big.bin");
    EXPECT_EQ(old.dwLowDateTime, copied.dwLowDateTime);
    EXPECT_EQ(old.dwHighDateTime, copied.dwHighDateTime);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), host.progress);
    EXPECT_TRUE(host.failures.empty());
}

TEST(SetupInstallEngine, LockedShellExtensionIsReleasedOnceThenFailuresAreReported)
{
    EnginePackage package({{"Lumo\\LumoShellEx.dll", "new library"}, {"Lumo\\other.dat", "new"}});
    std::string target = package.Target();
    CreateDirectoryA((target + "\\Lumo").c_str(), nullptr);
    KwTest::WriteFile(target + "\\Lumo\\LumoShellEx.dll", "old library");
    KwTest::WriteFile(target + "\\Lumo\\other.dat", "old");
    // Held without sharing, as a running shell holds its extension.
    HANDLE shellHold = CreateFileA((target + "\\Lumo\\LumoShellEx.dll").c_str(), GENERIC_READ, 0,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE otherHold = CreateFileA((target + "\\Lumo\\other.dat").c_str(), GENERIC_READ, 0,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, shellHold);
    ASSERT_NE(INVALID_HANDLE_VALUE, otherHold);
    RecordingHost host;
    host.onLocked = [&] { CloseHandle(shellHold); };
    // The other file: retried once while still held, then let go and retried.
    host.answers = {SETUP_COPY_RETRY, SETUP_COPY_RETRY};
    host.onFailure = [&] {
        if (host.failures.size() == 2)
            CloseHandle(otherHold);
    };
    SetupInstallEngine engine(&host);
    engine.Start(&GetPayloadList());
    int ticks = 0;
    while (!engine.CopyNextEntry(Str(target)) && ticks < 100)
        ++ticks;
    EXPECT_EQ(1, host.locked);
    EXPECT_EQ("new library", ReadFile(target + "\\Lumo\\LumoShellEx.dll"));
    EXPECT_EQ("new", ReadFile(target + "\\Lumo\\other.dat"));
    ASSERT_EQ(2u, host.failures.size());
    EXPECT_EQ(0u, host.failures[0].find(target + "\\Lumo\\other.dat | ")) << host.failures[0];
    EXPECT_GT(host.failures[0].size(), (target + "\\Lumo\\other.dat | ").size());
    EXPECT_EQ(0, engine.GetIgnoredCount());
}

TEST(SetupInstallEngine, UnresolvedMenuAndDesktopFoldersLeaveEmptyLogLinesAndNoLinks)
{
    EnginePackage package(Files{{"Lumo\\LumoView.exe", "viewer"}});
    std::string target = package.Target();
    RecordingHost host;
    SetupInstallEngine engine(&host);
    engine.Start(&GetPayloadList());
    while (!engine.CopyNextEntry(Str(target))) {
    }
    engine.SetSpecialFolders(KwString(), KwString());
    engine.CreateShortcuts(Str(target + "\\"));
    EXPECT_EQ(target + "\\Lumo\\install.txt\r\n\r\n\r\n\r\n\r\n\r\n" + target +
                  "\\Lumo\\LumoView.exe\r\n" + target + "\\Lumo\r\n" +
                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo\r\n",
              ReadFile(target + "\\Lumo\\install.txt"));
    // Nothing was made at the root of the current drive.
    EXPECT_FALSE(KwTest::Exists("\\Brindle"));
    EXPECT_FALSE(KwTest::Exists("\\LumoView.lnk"));
}
