// The uninstaller's texts; the Chinese ones are GBK bytes.
#include "UninstallTexts.h"

namespace KwSDK {

static const char* const kKeys[UninstallTexts::TEXT_COUNT] = {
    "uninstall_caption", "uninstall_confirm", "uninstall_done", "uninstall_inuse", "uninstall_nolog",
};

static const char* const kEnglish[UninstallTexts::TEXT_COUNT] = {
    "Uninstall",
    "Are you sure you want to completely remove %s and all of its components from your computer?",
    "%s was successfully removed from your computer.",
    "These files are in use and could not be removed. Close the programs that use them, then run the "
    "uninstaller again:",
    "The install log install.txt is missing or damaged. Nothing was removed.",
};

static const char* const kChinese[UninstallTexts::TEXT_COUNT] = {
    "\xD0\xB6\xD4\xD8",
    "\xC8\xB7\xCA\xB5\xD2\xAA\xB4\xD3\xC4\xFA\xB5\xC4\xBC\xC6\xCB\xE3\xBB\xFA\xD6\xD0\xCD\xEA\xC8\xAB\xD2\xC6"
    "\xB3\xFD %s \xBC\xB0\xC6\xE4\xCB\xF9\xD3\xD0\xD7\xE9\xBC\xFE\xC2\xF0\xA3\xBF",
    "%s \xD2\xD1\xB4\xD3\xC4\xFA\xB5\xC4\xBC\xC6\xCB\xE3\xBB\xFA\xD6\xD0\xD2\xC6\xB3\xFD\xA1\xA3",
    "\xD2\xD4\xCF\xC2\xCE\xC4\xBC\xFE\xD5\xFD\xD4\xDA\xCA\xB9\xD3\xC3\xA3\xAC\xCE\xDE\xB7\xA8\xC9\xBE\xB3\xFD"
    "\xA1\xA3\xC7\xEB\xB9\xD8\xB1\xD5\xCA\xB9\xD3\xC3\xCB\xFC\xC3\xC7\xB5\xC4\xB3\xCC\xD0\xF2\xA3\xAC\xC8\xBB"
    "\xBA\xF3\xD4\xD9\xB4\xCE\xD4\xCB\xD0\xD0\xD0\xB6\xD4\xD8\xB3\xCC\xD0\xF2\xA3\xBA",
    "\xD5\xD2\xB2\xBB\xB5\xBD\xB0\xB2\xD7\xB0\xBC\xC7\xC2\xBC install.txt \xBB\xF2\xC6\xE4\xD2\xD1\xCB\xF0\xBB"
    "\xB5\xA3\xAC\xCE\xB4\xC9\xBE\xB3\xFD\xC8\xCE\xBA\xCE\xC4\xDA\xC8\xDD\xA1\xA3",
};

// The Chinese code page (GBK).
static const unsigned int kChineseCodePage = 936;

UninstallTexts::UninstallTexts() : m_chinese(0) {}

void UninstallTexts::Choose(const KwString& recorded, unsigned int codePage, const KwString& folder)
{
    if (recorded.CompareNoCase("cn") == 0)
        m_chinese = 1;
    else if (recorded.CompareNoCase("en") == 0)
        m_chinese = 0;
    else
        m_chinese = codePage == kChineseCodePage;
    m_overrides = KwProperties();
    m_overrides.LoadFile(folder + (m_chinese ? "setup_cn.properties" : "setup_en.properties"));
}

KwString UninstallTexts::Get(Text text, const KwString& productName) const
{
    if (text < 0 || text >= TEXT_COUNT)
        return KwString();
    const char* builtIn = m_chinese ? kChinese[text] : kEnglish[text];
    KwString out = m_overrides.GetString(kKeys[text], builtIn);
    out.Replace("%s", productName.GetText() ? productName.GetText() : "");
    return out;
}

} // namespace KwSDK
