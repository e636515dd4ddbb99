// The committed sample package is complete and consistent: both properties
// files with every key the wizard reads, the pictures they
// name at the wizard's sizes, the registry script's placeholder, the icons
// that the associations and shortcuts point at, and GBK text that the
// Chinese code page reads.
#include "KwTestSupport.h"

#include "ImplKwImageGraphics.h"
#include "KwImgFileSrc.h"
#include "KwProperties.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace KwSDK;

namespace {

std::string Package(const std::string& name = "")
{
    std::string root = KwTest::WinePath(LUMO_SAMPLE_PACKAGE);
    return name.empty() ? root : root + "\\" + name;
}

// A properties file of the package, after checking that every line ends
// in CR LF.
KwProperties Load(const char* name)
{
    std::string bytes = KwTest::ReadFile(Package(name));
    size_t lines = 0;
    size_t crlf = 0;
    for (size_t at = 0; at < bytes.size(); ++at) {
        lines += bytes[at] == '\n';
        crlf += bytes[at] == '\n' && at > 0 && bytes[at - 1] == '\r';
    }
    EXPECT_TRUE(lines > 40 && crlf == lines && bytes.back() == '\n') << name;
    KwProperties properties;
    EXPECT_EQ(properties.LoadFile(KwTest::Str(Package(name))), 1) << name;
    return properties;
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
    KwProperties tables[] = {Load("setup_en.properties"), Load("setup_cn.properties")};
    const char* const wizardKeys[] = {
        "caption", "font", "size", "prev", "next", "exit", "install", "strfinishbtn", "logo",
        "logo2", "logo3", "agree", "disagree", "strlicense", "strlicensespec", "strfold",
        "strfoldspec", "strinstall", "strinstallspec", "strlinkfile", "strlinkfilespec",
        "setuppath", "brows", "strselfold", "disk", "diskinfo", "strguage", "strshowfile",
        "strlinklist", "strallselect", "strwarring", "strexit", "strcopyfail",
        "strcopyfailsummary", "strnospace", "productfold", "sub_dir", "start_app",
        "start_app_ico", "start_app_desc", "uninstall_app", "uninstall_app_ico",
        "uninstall_app_desc", "uninstall_regkey", "regist_root", "website"};
    for (KwProperties& table : tables) {
        for (const char* key : wizardKeys)
            EXPECT_NE(table.GetString(key, "").GetLength(), 0) << key;
        auto value = [&](const char* key) { return KwTest::Std(table.GetString(key, "")); };
        EXPECT_EQ(PictureSize(Package(value("logo"))), "498x312") << value("logo");
        EXPECT_EQ(PictureSize(Package(value("logo2"))), "498x58") << value("logo2");
        EXPECT_EQ(PictureSize(Package(value("logo3"))), "498x312") << value("logo3");
        std::string product = Package(value("productfold") + "\\" + value("sub_dir"));
        EXPECT_TRUE(KwTest::Exists(product + "\\" + value("start_app_ico")));
        EXPECT_TRUE(KwTest::Exists(product + "\\" + value("uninstall_app_ico")));
    }
    auto english = [&](const char* key) { return KwTest::Std(tables[0].GetString(key, "")); };

    std::string script = KwTest::ReadFile(Package("setup.reg"));
    EXPECT_EQ(script.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
    EXPECT_NE(script.find("[" + english("uninstall_regkey") + "]\r\n"), std::string::npos);
    EXPECT_NE(script.find("\"" + english("regist_root") + "\\\\Lumo\\\\uninstall.exe\""),
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
