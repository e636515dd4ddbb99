// The installer's configuration: both language tables, the program folder,
// the current language and the payload list, built once at start-up.
#ifndef SETUP_SETUPCONFIG_H
#define SETUP_SETUPCONFIG_H

#include "FILENODE.h"
#include "KwProperties.h"
#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

// Language indexes, as the items of the wizard's language box are ordered.
const int LANGUAGE_CHINESE = 0;
const int LANGUAGE_ENGLISH = 1;

// The process-wide configuration state. It lives from the first use until the
// process ends and is used from the one thread that runs the wizard.
class SetupConfig {
public:
    SetupConfig();

    // Reloads everything from a package folder given with its trailing
    // backslash; the Chinese table becomes current. 1 when both properties
    // files were loaded, 0 otherwise.
    int Load(const KwString& programFolder);
    // 0 selects the Chinese table, 1 the English one; any other index is
    // ignored so that the state always names one of the two tables.
    void SetLanguage(int index);
    int GetLanguage() const;
    // The value of a key in the current table, or the default when absent.
    KwString GetString(const char* key, const char* defaultValue) const;
    const KwString& GetProgramFolder() const;
    TKwList<FILENODE>& GetPayload();

private:
    SetupConfig(const SetupConfig&) = delete;
    SetupConfig& operator=(const SetupConfig&) = delete;

    KwProperties m_chinese;
    KwProperties m_english;
    KwProperties* m_pCurrent;
    int m_nLanguage;
    KwString m_strProgramFolder;
    TKwList<FILENODE> m_payload;
};

// The one configuration state of the process.
SetupConfig& GetSetupConfig();

// Loads the configuration from the folder of the running program; 1 when
// both properties files were read.
int LoadConfiguration();

// As LoadConfiguration, from a given folder with its trailing backslash.
int LoadConfigurationFrom(const KwString& programFolder);

// The value of a key in the current table; empty when the key is absent.
KwString GetConfigString(const char* key);

// The value of a key in the current table read as a decimal number: "0" when
// the key is absent, 0 for an empty value. The table is left unchanged.
int GetConfigInt(const char* key);

// The whole licence text of the current language; empty when it cannot be read.
KwString ReadLicenceText();

// Appends the entries below folder to the list in pre-order, each named
// relative to root without a leading backslash. A folder that cannot be
// listed adds nothing.
void ScanPayload(TKwList<FILENODE>* list, const KwString& root, const KwString& folder);

// The language switch of the wizard's language box.
void SetLanguage(int index);
int GetLanguage();

// The program folder with its trailing backslash.
KwString GetProgramFolder();

// The payload list scanned at start-up; the install engine moves its cursor.
TKwList<FILENODE>& GetPayloadList();

// The folder part of a program path followed by one backslash: the path is
// cut before its last backslash, or used whole when it has none.
KwString ProgramFolderOf(const KwString& programPath);

} // namespace KwSDK

#endif
