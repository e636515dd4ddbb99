// The texts the uninstaller shows, in Chinese or English. A properties file
// next to the program ("setup_cn.properties" or "setup_en.properties") may
// replace any of them with its keys "uninstall_caption", "uninstall_confirm",
// "uninstall_done", "uninstall_inuse" and "uninstall_nolog".
#ifndef UNINSTALL_UNINSTALLTEXTS_H
#define UNINSTALL_UNINSTALLTEXTS_H

#include "KwProperties.h"
#include "KwString.h"

namespace KwSDK {

class UninstallTexts {
public:
    enum Text { CAPTION, CONFIRM, DONE, IN_USE, NO_LOG, TEXT_COUNT };

    UninstallTexts();

    // Chooses the language: the recorded one ("cn" or "en") when given,
    // otherwise Chinese under the code page 936 and English elsewhere. Loads
    // the matching properties file from folder (with its trailing backslash)
    // when there is one.
    void Choose(const KwString& recorded, unsigned int codePage, const KwString& folder);

    int IsChinese() const { return m_chinese; }

    // The text with every "%s" replaced by the product name.
    KwString Get(Text text, const KwString& productName) const;

private:
    int m_chinese;
    KwProperties m_overrides;
};

} // namespace KwSDK

#endif
