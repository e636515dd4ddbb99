// Screenshots of the six wizard pages in both languages, kept as PNG files
// in "wizard-screens" beside the test program and checked for each page's
// own pixels; the language is switched through the language box's keys,
// once while the payload copies.
#include "KwTestSupport.h"
#include "SetupWizardSession.h"

#include <gtest/gtest.h>

using namespace SetupTest;

namespace {

// The colours of the test package's pictures.
const unsigned int kWelcomeChinese = 0x1E50A0;
const unsigned int kWelcomeEnglish = 0x603080;
const unsigned int kBannerChinese = 0xF0E6B4;
const unsigned int kBannerEnglish = 0xC8E6F0;
const unsigned int kFinishChinese = 0x2E8B57;
const unsigned int kFinishEnglish = 0x8B5A2E;
const unsigned int kGaugeBar = 0x0000FF;
const unsigned int kWhite = 0xFFFFFF;

const char* const kChineseCaption = "Lumo \xb0\xb2\xd7\xb0\xcf\xf2\xb5\xbc";
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo";
const char* const kChineseWarning = "\xbe\xaf\xb8\xe6";

int Area(const ControlPlace& place)
{
    return place.width * place.height;
}

int DarkPixels(const std::vector<unsigned int>& pixels, int width, const ControlPlace& place)
{
    int count = 0;
    for (int y = place.y; y < place.y + place.height; ++y) {
        for (int x = place.x; x < place.x + place.width; ++x) {
            unsigned int rgb = pixels[static_cast<size_t>(y) * width + x];
            if ((rgb >> 16 & 0xFF) < 0x60 && (rgb >> 8 & 0xFF) < 0x60 && (rgb & 0xFF) < 0x60)
                ++count;
        }
    }
    return count;
}

// Saves the page and checks the pixels that only this page shows.
void ShootPage(const WizardDriver& driver, int page, bool english)
{
    CreateDirectoryA("wizard-screens", nullptr);
    std::string name = std::string("wizard-screens\\") + (english ? "en" : "cn") + "-page" +
                       std::to_string(page) + ".png";
    // Pages change their controls one after another: let the paint settle.
    Sleep(400);
    EXPECT_TRUE(driver.SavePng(name)) << name;
    int width = 0;
    int height = 0;
    std::vector<unsigned int> pixels = driver.Capture(&width, &height);
    ASSERT_GE(width, 490);
    ASSERT_GE(height, 358);
    SCOPED_TRACE(name);
    unsigned int banner = english ? kBannerEnglish : kBannerChinese;
    switch (page) {
    case 1:
        EXPECT_GT(CountColour(pixels, width, kWelcome, english ? kWelcomeEnglish : kWelcomeChinese),
                  Area(kWelcome) * 9 / 10);
        break;
    case 2:
        EXPECT_GT(CountColour(pixels, width, kBanner, banner), Area(kBanner) / 2);
        EXPECT_GT(CountColour(pixels, width, kLicence, kWhite), Area(kLicence) / 2);
        EXPECT_GT(DarkPixels(pixels, width, kLicence), 50);
        break;
    case 3:
        EXPECT_GT(CountColour(pixels, width, kBanner, banner), Area(kBanner) / 2);
        EXPECT_GT(CountColour(pixels, width, kFolderField, kWhite), Area(kFolderField) / 2);
        EXPECT_GT(DarkPixels(pixels, width, kFolderField), 20);
        break;
    case 4:
        EXPECT_GT(CountColour(pixels, width, kBanner, banner), Area(kBanner) / 2);
        EXPECT_GT(CountColour(pixels, width, kGauge, kGaugeBar), 10);
        break;
    case 5: {
        EXPECT_GT(CountColour(pixels, width, kBanner, banner), Area(kBanner) / 2);
        // The JPEG2000 box starts ticked, the JPEG box does not.
        ControlPlace ticked = {30, 280, 20, 20};
        ControlPlace plain = {30, 130, 20, 20};
        EXPECT_GT(DarkPixels(pixels, width, ticked), DarkPixels(pixels, width, plain) + 5);
        break;
    }
    case 6:
        EXPECT_GT(CountColour(pixels, width, kWelcome, english ? kFinishEnglish : kFinishChinese),
                  Area(kWelcome) * 9 / 10);
        break;
    default: break;
    }
}

std::string Caption(const WizardDriver& driver)
{
    char text[256] = {0};
    GetWindowTextA(driver.Wizard(), text, sizeof text);
    return text;
}

std::map<std::string, std::string> ManyFiles(int count)
{
    std::map<std::string, std::string> files;
    files["Lumo\\many"] = "<dir>";
    for (int i = 0; i < count; ++i)
        files["Lumo\\many\\f" + std::to_string(i) + ".dat"] = std::string(2000, 'x');
    return files;
}

} // namespace

TEST(SetupWizardScreensCp936, ChinesePagesThenEnglishWhileCopying)
{
    RegistryLock lock;
    SavedKey uninstallKey(HKEY_LOCAL_MACHINE, kUninstallKey);
    SavedKey classKey(HKEY_CLASSES_ROOT, "Lumo");
    WizardSession session("wizard-screens-a", ManyFiles(300));
    std::string target = session.DefaultTarget();
    CreateDirectoryA(target.c_str(), nullptr);
    session.Run([&](WizardDriver& driver) {
        EXPECT_EQ(kChineseCaption, Caption(driver));
        ShootPage(driver, 1, false);
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kAgree, 5000));
        ShootPage(driver, 2, false);
        driver.Click(kAgree);
        ASSERT_TRUE(driver.WaitEnabled(kNext, true, 5000));
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kFolderField, 5000));
        ShootPage(driver, 3, false);
        driver.Click(kNext);
        // The exit question holds the copy still for the picture.
        ASSERT_TRUE(driver.WaitShown(kGauge, 5000));
        ASSERT_TRUE(WaitFor([&] { return ReadTree(target + "\\Lumo\\many").size() >= 10; }, 10000));
        driver.Click(kExit);
        ASSERT_TRUE(WaitFor([&] { return FindWindowA("#32770", kChineseWarning) != nullptr; }, 5000));
        ShootPage(driver, 4, false);
        ASSERT_TRUE(WizardDriver::Answer(kChineseWarning, IDCANCEL, nullptr, 5000));
        // Switching language while the copy goes on.
        driver.ChooseLanguage(1);
        EXPECT_TRUE(WaitFor([&] { return Caption(driver) == "Lumo Setup"; }, 5000));
        ASSERT_TRUE(driver.WaitShown(kTiffBox, 60000));
        ShootPage(driver, 5, true);
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kWelcome, 5000));
        ShootPage(driver, 6, true);
    });
    RemoveShortcuts();
    // The copy went on to its end.
    EXPECT_EQ(ReadTree(session.PayloadRoot() + "\\Lumo\\many"), ReadTree(target + "\\Lumo\\many"));
    EXPECT_TRUE(KwSDK::KwTest::Exists(target + "\\Lumo\\install.txt"));
}

TEST(SetupWizardScreensCp936, EnglishPagesThenChineseToTheEnd)
{
    RegistryLock lock;
    SavedKey uninstallKey(HKEY_LOCAL_MACHINE, kUninstallKey);
    SavedKey classKey(HKEY_CLASSES_ROOT, "Lumo");
    WizardSession session("wizard-screens-b", ManyFiles(300));
    std::string target = session.DefaultTarget();
    CreateDirectoryA(target.c_str(), nullptr);
    session.Run([&](WizardDriver& driver) {
        driver.ChooseLanguage(1);
        ASSERT_TRUE(WaitFor([&] { return Caption(driver) == "Lumo Setup"; }, 5000));
        ShootPage(driver, 1, true);
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kAgree, 5000));
        ShootPage(driver, 2, true);
        driver.Click(kAgree);
        ASSERT_TRUE(driver.WaitEnabled(kNext, true, 5000));
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kFolderField, 5000));
        ShootPage(driver, 3, true);
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kGauge, 5000));
        ASSERT_TRUE(WaitFor([&] { return ReadTree(target + "\\Lumo\\many").size() >= 10; }, 10000));
        driver.Click(kExit);
        ASSERT_TRUE(WaitFor([&] { return FindWindowA("#32770", "Warning") != nullptr; }, 5000));
        ShootPage(driver, 4, true);
        ASSERT_TRUE(WizardDriver::Answer("Warning", IDCANCEL, nullptr, 5000));
        driver.ChooseLanguage(0);
        EXPECT_TRUE(WaitFor([&] { return Caption(driver) == kChineseCaption; }, 5000));
        ASSERT_TRUE(driver.WaitShown(kTiffBox, 60000));
        ShootPage(driver, 5, false);
        driver.Click(kNext);
        ASSERT_TRUE(driver.WaitShown(kWelcome, 5000));
        ShootPage(driver, 6, false);
    });
    RemoveShortcuts();
}
