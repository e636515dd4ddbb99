// The committed sample package is complete and consistent: both properties
// files with the same keys (every key the wizard reads), the pictures they
// name at the wizard's sizes, the registry script's placeholder, the icons
// that the associations and shortcuts point at, and GBK text that the
// Chinese code page reads.
#include "KwTestSupport.h"

#include "ImplKwImageGraphics.h"
#include "KwImgFileSrc.h"
#include "KwProperties.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

using namespace KwSDK;

namespace {

std::string Package(const std::string& name = "")
{
    std::string root = KwTest::WinePath(LUMO_SAMPLE_PACKAGE);
    return name.empty() ? root : root + "\\" + name;
}

// key -> value of a properties file, read as bytes; lines end in CR LF.
std::map<std::string, std::string> ReadKeys(const std::string& name, bool* crlf)
{
    std::string bytes = KwTest::ReadFile(Package(name));
    std::map<std::string, std::string> keys;
    *crlf = true;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (line.empty() || line.back() != '\r')
            *crlf = false;
        else
            line.pop_back();
        size_t equals = line.find('=');
        if (!line.empty() && line[0] != '#' && equals != std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 1;
    }
    return keys;
}

// Width x height of a picture as the wizard's decoders read it, or "none".
std::string PictureSize(const std::string& path)
{
    KwImgFileSrc source;
    if (!source.SetFile(KwTest::Str(path)))
        return "none";
    KwImage* image = source.Decode();
    if (image == nullptr)
        return "none";
    std::string size = std::to_string(image->GetWidth()) + "x" + std::to_string(image->GetHeight());
    image->Release();
    return size;
}

TEST(SamplePackage, PropertiesPicturesScriptAndIconsFitTogether)
{
    ImplKwImageGraphics::InstallHooks();
    bool crlfEnglish = false;
    bool crlfChinese = false;
    std::map<std::string, std::string> english = ReadKeys("setup_en.properties", &crlfEnglish);
    std::map<std::string, std::string> chinese = ReadKeys("setup_cn.properties", &crlfChinese);
    EXPECT_TRUE(crlfEnglish);
    EXPECT_TRUE(crlfChinese);
    const char* const wizardKeys[] = {
        "caption", "font", "size", "prev", "next", "exit", "install", "strfinishbtn", "logo",
        "logo2", "logo3", "agree", "disagree", "strlicense", "strlicensespec", "strfold",
        "strfoldspec", "strinstall", "strinstallspec", "strlinkfile", "strlinkfilespec",
        "setuppath", "brows", "strselfold", "disk", "diskinfo", "strguage", "strshowfile",
        "strlinklist", "strallselect", "strwarring", "strexit", "strcopyfail",
        "strcopyfailsummary", "strnospace", "productfold", "sub_dir", "start_app",
        "start_app_ico", "start_app_desc", "uninstall_app", "uninstall_app_ico",
        "uninstall_app_desc", "uninstall_regkey", "regist_root", "website"};
    for (const char* key : wizardKeys) {
        EXPECT_FALSE(english[key].empty()) << key;
        EXPECT_FALSE(chinese[key].empty()) << key;
    }
    for (const auto& entry : english)
        EXPECT_EQ(chinese.count(entry.first), 1u) << entry.first;
    EXPECT_EQ(english.size(), chinese.size());

    for (const auto* table : {&english, &chinese}) {
        std::map<std::string, std::string> keys = *table;
        EXPECT_EQ(PictureSize(Package(keys["logo"])), "498x312") << keys["logo"];
        EXPECT_EQ(PictureSize(Package(keys["logo2"])), "498x58") << keys["logo2"];
        EXPECT_EQ(PictureSize(Package(keys["logo3"])), "498x312") << keys["logo3"];
        std::string product = Package(keys["productfold"] + "\\" + keys["sub_dir"]);
        EXPECT_TRUE(KwTest::Exists(product + "\\" + keys["start_app_ico"]));
        EXPECT_TRUE(KwTest::Exists(product + "\\" + keys["uninstall_app_ico"]));
        int fields = 0;
        for (size_t at = keys["diskinfo"].find("%s"); at != std::string::npos;
             at = keys["diskinfo"].find("%s", at + 2))
            ++fields;
        EXPECT_EQ(fields, 3) << keys["diskinfo"];
    }

    std::string script = KwTest::ReadFile(Package("setup.reg"));
    EXPECT_EQ(script.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
    EXPECT_NE(script.find("[" + english["uninstall_regkey"] + "]\r\n"), std::string::npos);
    EXPECT_NE(script.find("\"" + english["regist_root"] + "\\\\Lumo\\\\uninstall.exe\""),
              std::string::npos);

    // The icons that the associations' DefaultIcon entries name.
    for (const char* type : {"jpeg", "jpg", "png", "jp2", "bmp", "gif", "pcx", "pgx", "ras", "tga",
                             "tiff", "tif", "jpc", "ppm", "pgm", "pbm", "ico", "icon", "wmf"}) {
        std::string icon = Package("Brindle\\Lumo\\images\\") + type + ".ico";
        EXPECT_EQ(PictureSize(icon), "48x48") << icon;
    }
}

// Under the Chinese code page the Chinese texts are valid GBK. (The names of
// the two batch files are GBK bytes on the host, which is what the host's
// packing tool stores; Wine shows host names as UTF-8, so they are checked
// on the host by check-gbk-names.sh.)
TEST(SamplePackageCp936, ChineseTextsAreGbk)
{
    ASSERT_TRUE(KwTest::UsesChineseCodePage());
    for (const char* name : {"setup_cn.properties", "license_cn.txt"}) {
        std::string bytes = KwTest::ReadFile(Package(name));
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_GT(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), nullptr, 0),
                  0)
            << name;
    }
    KwProperties chinese;
    ASSERT_EQ(chinese.LoadFile(KwTest::Str(Package("setup_cn.properties"))), 1);
    EXPECT_EQ(KwTest::Std(chinese.GetString("strallselect", "")), "\xC8\xAB\xD1\xA1");  // 全选
}

} // namespace
