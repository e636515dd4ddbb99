// Tests of the installer's configuration: both language tables, the
// language switch with the licence text, and the payload scan.
#include "SetupConfig.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace KwSDK;
using namespace SetupTest;
using KwTest::Std;

namespace {

// The Chinese caption of the test package, as GBK bytes ("Lumo 安装向导").
const char kChineseCaption[] = "Lumo \xB0\xB2\xD7\xB0\xCF\xF2\xB5\xBC";

class SetupConfigTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(1, LoadConfigurationFrom(PackageFolder().c_str())); }
    void TearDown() override { SetLanguage(LANGUAGE_CHINESE); }
};

} // namespace

TEST_F(SetupConfigTest, BothTablesLoadAndChineseComesFirst)
{
    EXPECT_EQ(LANGUAGE_CHINESE, GetLanguage());
    EXPECT_EQ(PackageFolder(), Std(GetProgramFolder()));
    EXPECT_EQ(kChineseCaption, Std(GetConfigString("caption")));
    EXPECT_EQ(9, GetConfigInt("size"));
    EXPECT_EQ("Brindle", Std(GetConfigString("productfold")));

    SetLanguage(LANGUAGE_ENGLISH);
    EXPECT_EQ("Lumo Setup", Std(GetConfigString("caption")));
    EXPECT_EQ("Arial", Std(GetConfigString("font")));
    EXPECT_EQ(10, GetConfigInt("size"));
    EXPECT_EQ("<root>", Std(GetConfigString("regist_root")));
    EXPECT_EQ("images\\app.ico", Std(GetConfigString("start_app_ico")));
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo",
              Std(GetConfigString("uninstall_regkey")));
    EXPECT_EQ("%s                                      total%sGB, free%sGB", Std(GetConfigString("diskinfo")));
}

TEST_F(SetupConfigTest, EveryKeyIsInBothTables)
{
    static const char* const keys[] = {
        "caption", "font", "size", "prev", "next", "exit", "install", "strfinishbtn", "logo", "logo2", "logo3",
        "agree", "disagree", "strlicense", "strlicensespec", "strfold", "strfoldspec", "strinstall",
        "strinstallspec", "strlinkfile", "strlinkfilespec", "setuppath", "brows", "strselfold", "disk",
        "diskinfo", "strguage", "strshowfile", "strlinklist", "strallselect", "strwarring", "strexit",
        "productfold", "sub_dir", "start_app", "start_app_ico", "start_app_desc", "uninstall_app",
        "uninstall_app_ico", "uninstall_app_desc", "uninstall_regkey", "regist_root"};
    for (int language : {LANGUAGE_CHINESE, LANGUAGE_ENGLISH}) {
        SetLanguage(language);
        for (const char* key : keys)
            EXPECT_FALSE(Std(GetConfigString(key)).empty()) << key << " in table " << language;
    }
}

TEST_F(SetupConfigTest, MissingKeysGiveEmptyTextAndZero)
{
    EXPECT_EQ("", Std(GetConfigString("no-such-key")));
    EXPECT_EQ(0, GetConfigInt("no-such-key"));
    // A number read twice stays: reading must not take the key out of the table.
    EXPECT_EQ(9, GetConfigInt("size"));
    EXPECT_EQ(9, GetConfigInt("size"));
    EXPECT_EQ("9", Std(GetConfigString("size")));
}

TEST_F(SetupConfigTest, LanguageSwitchReloadsLicenceAndTexts)
{
    std::string chinese = KwTest::ReadFile(PackageFolder() + "license_cn.txt");
    std::string english = KwTest::ReadFile(PackageFolder() + "license_en.txt");
    ASSERT_FALSE(chinese.empty());
    ASSERT_NE(chinese, english);
    EXPECT_EQ(chinese, Std(ReadLicenceText()));

    SetLanguage(LANGUAGE_ENGLISH);
    EXPECT_EQ(LANGUAGE_ENGLISH, GetLanguage());
    EXPECT_EQ(english, Std(ReadLicenceText()));
    EXPECT_EQ("Next >", Std(GetConfigString("next")));

    SetLanguage(LANGUAGE_CHINESE);
    EXPECT_EQ(chinese, Std(ReadLicenceText()));
    EXPECT_EQ(kChineseCaption, Std(GetConfigString("caption")));
    EXPECT_EQ(9, GetConfigInt("size"));
}

TEST_F(SetupConfigTest, UnknownLanguageIndexKeepsTheCurrentTable)
{
    SetLanguage(LANGUAGE_ENGLISH);
    SetLanguage(-1);
    EXPECT_EQ(LANGUAGE_ENGLISH, GetLanguage());
    EXPECT_EQ("Lumo Setup", Std(GetConfigString("caption")));
    SetLanguage(2);
    EXPECT_EQ(LANGUAGE_ENGLISH, GetLanguage());
}

TEST_F(SetupConfigTest, PayloadIsInPreOrderRelativeToItsRoot)
{
    // Every entry of the package's payload tree, with its type and size.
    std::map<std::string, std::pair<int, int>> expected = {
        {"Lumo", {FILENODE_FOLDER, 0}},
        {"Lumo\\readme.txt", {FILENODE_FILE, 0}},
        {"Lumo\\images", {FILENODE_FOLDER, 0}},
        {"Lumo\\images\\app.ico", {FILENODE_FILE, 0}},
        {"common", {FILENODE_FOLDER, 0}},
        {"common\\notes.txt", {FILENODE_FILE, 0}},
        {"common\\palettes", {FILENODE_FOLDER, 0}},
        {"common\\palettes\\grey", {FILENODE_FOLDER, 0}},
        {"common\\palettes\\grey\\levels.txt", {FILENODE_FILE, 0}},
    };
    for (auto& entry : expected) {
        if (entry.second.first == FILENODE_FILE) {
            std::string bytes = KwTest::ReadFile(PackageFolder() + "Brindle\\" + entry.first);
            ASSERT_FALSE(bytes.empty()) << entry.first;
            entry.second.second = static_cast<int>(bytes.size());
        }
    }

    TKwList<FILENODE>& payload = GetPayloadList();
    ASSERT_EQ(static_cast<int>(expected.size()), payload.GetCount());
    std::vector<std::string> order;
    ASSERT_TRUE(payload.MoveFirst());
    do {
        FILENODE* node = payload.GetAt();
        std::string name = Std(node->name);
        ASSERT_EQ(1u, expected.count(name)) << name;
        EXPECT_EQ(expected[name].first, node->type) << name;
        EXPECT_EQ(expected[name].second, node->size) << name;
        order.push_back(name);
    } while (payload.MoveNext());

    // Each folder is followed directly by everything inside it.
    for (size_t i = 0; i < order.size(); ++i) {
        if (expected[order[i]].first != FILENODE_FOLDER)
            continue;
        std::string prefix = order[i] + "\\";
        size_t inside = 0;
        for (const auto& entry : expected)
            inside += entry.first.compare(0, prefix.size(), prefix) == 0;
        for (size_t j = i + 1; j <= i + inside; ++j) {
            ASSERT_LT(j, order.size());
            EXPECT_EQ(0, order[j].compare(0, prefix.size(), prefix)) << order[j] << " after " << order[i];
        }
    }
}

TEST(SetupConfig, ScanOfAMissingFolderAddsNothing)
{
    TKwList<FILENODE> list;
    FILENODE kept;
    kept.name = "kept";
    kept.type = FILENODE_FILE;
    kept.size = 4;
    list.AddTail(kept);
    ScratchFolder scratch("scan");
    KwString missing = (scratch.Path() + "\\missing").c_str();
    ScanPayload(&list, missing, missing);
    ASSERT_EQ(1, list.GetCount());
    ASSERT_TRUE(list.MoveFirst());
    EXPECT_EQ("kept", Std(list.GetAt()->name));
}

TEST(SetupConfig, ScanNamesEntriesBelowTheRootOnly)
{
    ScratchFolder scratch("scan");
    std::string inner = scratch.MakeSubfolder("a\\b");
    ASSERT_TRUE(KwTest::WriteFile(inner + "\\c.txt", "abc"));
    TKwList<FILENODE> list;
    KwString root = scratch.Path().c_str();
    ScanPayload(&list, root, KwString((scratch.Path() + "\\a").c_str()));
    ASSERT_EQ(2, list.GetCount());
    list.MoveFirst();
    EXPECT_EQ("a\\b", Std(list.GetAt()->name));
    EXPECT_EQ(FILENODE_FOLDER, list.GetAt()->type);
    list.MoveNext();
    EXPECT_EQ("a\\b\\c.txt", Std(list.GetAt()->name));
    EXPECT_EQ(3, list.GetAt()->size);
}

TEST(SetupConfig, RootWithTrailingBackslashKeepsWholeNames)
{
    ScratchFolder scratch("scan");
    ASSERT_TRUE(KwTest::WriteFile(scratch.Path() + "\\Setup.exe", "MZ"));
    TKwList<FILENODE> list;
    KwString root = (scratch.Path() + "\\").c_str();
    ScanPayload(&list, root, root);
    ASSERT_EQ(1, list.GetCount());
    list.MoveFirst();
    EXPECT_EQ("Setup.exe", Std(list.GetAt()->name));
}

TEST(SetupConfig, ProgramFolderIsCutAtTheLastBackslash)
{
    EXPECT_EQ("C:\\Temp\\20081231235959\\", Std(ProgramFolderOf("C:\\Temp\\20081231235959\\Setup.exe")));
    EXPECT_EQ("C:\\", Std(ProgramFolderOf("C:\\Setup.exe")));
    // Without any backslash the whole path stands for the folder.
    EXPECT_EQ("Setup.exe\\", Std(ProgramFolderOf("Setup.exe")));
}

TEST(SetupConfig, EitherMissingPropertiesFileFailsTheLoad)
{
    for (const char* missing : {"setup_en.properties", "setup_cn.properties"}) {
        ScratchFolder scratch("config");
        CopyPackageFiles(scratch.Path(), missing);
        EXPECT_EQ(0, LoadConfigurationFrom((scratch.Path() + "\\").c_str())) << missing;
    }
    ASSERT_EQ(1, LoadConfigurationFrom(PackageFolder().c_str()));
}

TEST(SetupConfig, MissingLicenceGivesEmptyText)
{
    ScratchFolder scratch("config");
    CopyPackageFiles(scratch.Path(), "license_en.txt");
    ASSERT_EQ(1, LoadConfigurationFrom((scratch.Path() + "\\").c_str()));
    // The payload folder is not copied: the list stays empty, the wizard still runs.
    EXPECT_EQ(0, GetPayloadList().GetCount());
    EXPECT_FALSE(Std(ReadLicenceText()).empty());
    SetLanguage(LANGUAGE_ENGLISH);
    EXPECT_EQ("", Std(ReadLicenceText()));
    SetLanguage(LANGUAGE_CHINESE);
    ASSERT_EQ(1, LoadConfigurationFrom(PackageFolder().c_str()));
}

// Under the Chinese code page the Chinese table's bytes read as the intended text.
TEST(SetupConfigCp936, ChineseTableIsGbk)
{
    ASSERT_EQ(936u, GetACP());
    ASSERT_EQ(1, LoadConfigurationFrom(PackageFolder().c_str()));
    KwString caption = GetConfigString("caption");
    const wchar_t* wide = caption.ToWide();
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(std::wstring(L"Lumo \x5B89\x88C5\x5411\x5BFC"), std::wstring(wide));
    KwString next = GetConfigString("next");
    EXPECT_EQ(std::wstring(L"\x4E0B\x4E00\x6B65 >"), std::wstring(next.ToWide()));
}

// "\x81\x5C" is one character whose second byte is the backslash byte.
TEST(SetupConfigCp936, ProgramFolderIsCutAtASeparatorNotInsideACharacter)
{
    ASSERT_EQ(936u, GetACP());
    EXPECT_EQ("C:\\\x81\x5C\\", Std(ProgramFolderOf("C:\\\x81\x5C\\Setup.exe")));
    EXPECT_EQ("C:\\Temp\\", Std(ProgramFolderOf("C:\\Temp\\Setup\x81\x5C.exe")));
}
