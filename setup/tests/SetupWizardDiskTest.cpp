// The wizard on a small disk: drive S: is a tmpfs of 256 KiB mapped into the
// Wine prefix by the test run (see scripts/small-disk.sh). Files that do not
// fit are reported one by one with the system's reason and can be ignored;
// a payload larger than the free space is refused before anything is copied.
#include "KwTestSupport.h"
#include "SetupWizardSession.h"

#include <gtest/gtest.h>

using namespace SetupTest;

namespace {

const char* const kNotice = "\xcc\xe1\xca\xbe";
const char* const kWarning = "\xbe\xaf\xb8\xe6";
// The beginnings of the failure texts (keys strcopyfail and strnospace).
const char* const kCopyFailStart = "\xce\xde\xb7\xa8\xb0\xb2\xd7\xb0\xce\xc4\xbc\xfe\n";
const char* const kNoSpaceStart = "\xc4\xbf\xb1\xea\xb4\xc5\xc5\xcc";

bool HasSmallDisk()
{
    return GetDriveTypeA("S:\\") != DRIVE_NO_ROOT_DIR && GetDriveTypeA("S:\\") != DRIVE_UNKNOWN;
}

unsigned long long FreeBytes()
{
    ULARGE_INTEGER available = {};
    GetDiskFreeSpaceExA("S:\\", &available, nullptr, nullptr);
    return available.QuadPart;
}

void RemoveTree(const std::string& folder)
{
    std::map<std::string, std::string> tree = ReadTree(folder);
    for (auto entry = tree.rbegin(); entry != tree.rend(); ++entry) {
        std::string path = folder + "\\" + entry->first;
        if (entry->second == "<dir>")
            RemoveDirectoryA(path.c_str());
        else
            DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

void TypeTarget(WizardDriver& driver, const std::string& target)
{
    GoToFolderPage(driver);
    driver.Clear(kFolderField, 400);
    driver.Type(kFolderField, target);
    driver.Click(kNext);
}

} // namespace

TEST(SetupWizardDiskCp936, FullDiskReportsEachFailureAndCountsTheIgnored)
{
    if (!HasSmallDisk())
        GTEST_SKIP() << "no small disk S: (the run needs root to mount one)";
    RegistryLock lock;
    RemoveTree("S:\\Brindle");
    ASSERT_GT(FreeBytes(), 200000u);
    // One byte each passes the free-space check, but every file takes a
    // whole page of the small disk.
    std::map<std::string, std::string> files = {{"Lumo\\many", "<dir>"}};
    for (int i = 0; i < 75; ++i)
        files["Lumo\\many\\f" + std::to_string(i) + ".dat"] = "x";
    WizardSession session("wizard-disk-full", files);
    std::vector<std::string> reports;
    bool summaryShown = false;
    int summaryRed = 0;
    session.Run([&](WizardDriver& driver) {
        TypeTarget(driver, "S:\\Brindle");
        ASSERT_TRUE(WizardDriver::Answer(kNotice, IDOK, nullptr, 5000));
        std::string text;
        while (reports.size() < 200 && WizardDriver::Answer(kWarning, IDIGNORE, &text, 3000))
            reports.push_back(text);
        ASSERT_TRUE(driver.WaitShown(kTiffBox, 20000));
        summaryShown = driver.WaitShown(kFailureSummary, 3000);
        Sleep(400);
        int width = 0;
        int height = 0;
        std::vector<unsigned int> pixels = driver.Capture(&width, &height);
        for (int y = kFailureSummary.y; y < kFailureSummary.y + kFailureSummary.height; ++y) {
            for (int x = kFailureSummary.x; x < kFailureSummary.x + kFailureSummary.width; ++x) {
                unsigned int rgb = pixels[static_cast<size_t>(y) * width + x];
                summaryRed += (rgb >> 16) > 0x90 && (rgb >> 8 & 0xFF) < 0x90 && (rgb & 0xFF) < 0x90;
            }
        }
        CreateDirectoryA("wizard-screens", nullptr);
        driver.SavePng("wizard-screens\\cn-page5-failures.png");
    });
    std::map<std::string, std::string> installed = ReadTree("S:\\Brindle\\Lumo\\many");
    ASSERT_FALSE(reports.empty());
    // Every file that is missing was reported once, naming the file and the
    // system's reason; everything that arrived is whole.
    size_t manyReports = 0;
    for (const std::string& report : reports)
        manyReports += report.find("S:\\Brindle\\Lumo\\many\\") != std::string::npos;
    EXPECT_EQ(75u, installed.size() + manyReports);
    for (const auto& entry : installed)
        EXPECT_EQ("x", entry.second) << entry.first;
    const std::string& first = reports.front();
    EXPECT_EQ(0u, first.find(kCopyFailStart)) << first;
    size_t pathAt = first.find("S:\\Brindle\\Lumo\\");
    EXPECT_NE(std::string::npos, pathAt) << first;
    size_t reasonAt = first.find("\n\n");
    ASSERT_NE(std::string::npos, reasonAt) << first;
    EXPECT_GT(first.size(), reasonAt + 3) << "no reason in: " << first;
    EXPECT_TRUE(summaryShown);
    EXPECT_GT(summaryRed, 10);
    RemoveTree("S:\\Brindle");
    RemoveShortcuts();
}

TEST(SetupWizardDiskCp936, PayloadLargerThanTheFreeSpaceIsStoppedBeforeCopying)
{
    if (!HasSmallDisk())
        GTEST_SKIP() << "no small disk S: (the run needs root to mount one)";
    RegistryLock lock;
    RemoveTree("S:\\Brindle");
    ASSERT_GT(FreeBytes(), 200000u);
    WizardSession session("wizard-disk-space", {{"Lumo\\big.dat", std::string(600000, 'b')}});
    std::string message;
    session.Run([&](WizardDriver& driver) {
        TypeTarget(driver, "S:\\Brindle");
        ASSERT_TRUE(WizardDriver::Answer(kNotice, IDOK, nullptr, 5000));
        ASSERT_TRUE(WizardDriver::Answer(kWarning, IDOK, &message, 5000));
        Sleep(300);
        EXPECT_TRUE(driver.IsShown(kFolderField));
        EXPECT_FALSE(driver.IsShown(kGauge));
    });
    EXPECT_EQ(0u, message.find(kNoSpaceStart)) << message;
    EXPECT_TRUE(ReadTree("S:\\Brindle").empty());
    RemoveTree("S:\\Brindle");
}
