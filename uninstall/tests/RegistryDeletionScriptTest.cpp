// Turning an expanded registry script into the script that removes it again.
#include "RegistryDeletionScript.h"

#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace KwSDK;
using KwTest::Std;

namespace {

std::string Make(const std::string& script)
{
    return Std(MakeRegistryDeletionScript(script.data(), static_cast<int>(script.size())));
}

} // namespace

TEST(RegistryDeletionScript, DeletesTheProductKeysLastFirst)
{
    const std::string script =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo]\r\n"
        "\"DisplayIcon\"=\"C:\\\\Program Files\\\\Brindle\\\\Lumo\\\\LumoView.exe\"\r\n"
        "\"UninstallString\"=\"C:\\\\Program Files\\\\Brindle\\\\Lumo\\\\uninstall.exe\"\r\n\r\n"
        "[HKEY_CLASSES_ROOT\\Lumo]\r\n\r\n"
        "[HKEY_CLASSES_ROOT\\Lumo\\shell]\r\n\r\n"
        "; a comment\r\n"
        "[hkey_classes_root\\lumo\\shell\\]\r\n"
        "[-HKEY_CLASSES_ROOT\\Old]\r\n"
        "[HKEY_CLASSES_ROOT\\Lumo\\shell\\Open\\Path]\r\n"
        "@=\"C:\\\\Program Files\\\\Brindle\\\\Lumo\\\\\"\r\n";
    EXPECT_EQ("Windows Registry Editor Version 5.00\r\n\r\n"
              "[-HKEY_CLASSES_ROOT\\Lumo\\shell\\Open\\Path]\r\n\r\n"
              "[-HKEY_CLASSES_ROOT\\Lumo\\shell]\r\n\r\n"
              "[-HKEY_CLASSES_ROOT\\Lumo]\r\n\r\n"
              "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo]\r\n\r\n",
              Make(script));
    // Without a header (or with REGEDIT4) the output still has one.
    EXPECT_EQ("Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Lumo]\r\n\r\n",
              Make("[HKEY_CURRENT_USER\\Software\\Lumo]\n\"a\"=\"b\"\n"));
    EXPECT_EQ("REGEDIT4\r\n\r\n", Make("REGEDIT4\r\n[HKEY_NOWHERE\\x]\r\n"));
    EXPECT_EQ("Windows Registry Editor Version 5.00\r\n\r\n", Make(""));
}

// Keys shared with the system or other programs lose only the values the
// script set in them.
TEST(RegistryDeletionScript, SharedKeysLoseOnlyTheirValues)
{
    const std::string script =
        "Windows Registry Editor Version 5.00\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
        "\"Lumo\"=\"x.exe\"\r\n"
        "\"Other\"=-\r\n"
        "[HKEY_CLASSES_ROOT\\.png]\r\n"
        "\"Content Type\"=\"image/png\"\r\n"
        "\"Bin\"=hex:01,02,\\\r\n"
        "  \"03\"=\r\n"
        "[HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers]\r\n"
        "[HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\LumoShellEx]\r\n"
        "@=\"{1234}\"\r\n"
        "[HKEY_CLASSES_ROOT\\CLSID]\r\n"
        "[HKEY_CLASSES_ROOT\\CLSID\\{1234}]\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Directory\\Background\\shell]\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brindle]\r\n"
        "\"Path\"=\"C:\\\\Brindle\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brindle\\Lumo]\r\n"
        "[HKEY_CURRENT_USER\\Software\\Solo]\r\n"
        "[HKEY_USERS\\S-1-5-21\\Software]\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts]\r\n";
    EXPECT_EQ("Windows Registry Editor Version 5.00\r\n\r\n"
              "[-HKEY_CURRENT_USER\\Software\\Solo]\r\n\r\n"
              "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Brindle\\Lumo]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brindle]\r\n\"Path\"=-\r\n\r\n"
              "[-HKEY_CLASSES_ROOT\\CLSID\\{1234}]\r\n\r\n"
              "[-HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\LumoShellEx]\r\n\r\n"
              "[HKEY_CLASSES_ROOT\\.png]\r\n\"Content Type\"=-\r\n\"Bin\"=-\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"Lumo\"=-\r\n\r\n",
              Make(script));
}

// An altered uninstall.reg cannot delete keys of the system; value deletions
// and the product's own keys stay.
TEST(RegistryDeletionScript, FilterDropsDeletionsOfSharedKeys)
{
    const std::string script = "Windows Registry Editor Version 5.00\r\n"
                               "[-HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n"
                               "[-HKEY_CLASSES_ROOT\\.png]\r\n"
                               "[-HKEY_CLASSES_ROOT\\Lumo]\r\n"
                               "[HKEY_CLASSES_ROOT\\.png]\r\n"
                               "\"Content Type\"=-\r\n"
                               "\"Set\"=\"data\"\r\n"
                               "@=-\r\n"
                               "[-HKEY_NOWHERE\\x]\r\n"
                               "\"Stray\"=-\r\n"
                               "[-HKEY_CURRENT_USER\\Software\\Lumo\\\\x]\r\n";
    EXPECT_EQ("Windows Registry Editor Version 5.00\r\n"
              "\r\n[-HKEY_CLASSES_ROOT\\Lumo]\r\n"
              "\r\n[HKEY_CLASSES_ROOT\\.png]\r\n\"Content Type\"=-\r\n@=-\r\n",
              Std(FilterRegistryDeletionScript(script.data(), static_cast<int>(script.size()))));
    // What the builder writes passes unchanged in substance.
    std::string made = Make("[HKEY_CLASSES_ROOT\\Lumo]\r\n[HKEY_CLASSES_ROOT\\.png]\r\n\"a\"=\"b\"\r\n");
    std::string filtered = Std(FilterRegistryDeletionScript(made.data(), static_cast<int>(made.size())));
    EXPECT_EQ("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT\\.png]\r\n\"a\"=-\r\n"
              "\r\n[-HKEY_CLASSES_ROOT\\Lumo]\r\n",
              filtered);
}
