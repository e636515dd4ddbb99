// The unattended install.
#include "SetupSilent.h"

#include "KwCodePage.h"
#include "SetupConfig.h"
#include "SetupInstallEngine.h"
#include "SetupProcesses.h"
#include "SetupRegistry.h"

#include <windows.h>

namespace KwSDK {

// The command line's words, quotes removed.
static void SplitWords(const char* commandLine, TKwList<KwString>* words)
{
    const char* p = commandLine != nullptr ? commandLine : "";
    while (*p != '\0') {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '\0')
            break;
        KwString word;
        int quoted = 0;
        while (*p != '\0' && (quoted || (*p != ' ' && *p != '\t'))) {
            if (*p == '"')
                quoted = !quoted;
            else
                word.Append(KwString(p, 1).GetText());
            ++p;
        }
        words->AddTail(word);
    }
}

// The value of "/NAME=value" when word starts with prefix (any case).
static int OptionValue(const KwString& word, const char* prefix, KwString* value)
{
    KwString start(prefix);
    int length = start.GetLength();
    if (word.GetLength() < length || word.Mid(0, length - 1).CompareNoCase(start) != 0)
        return 0;
    *value = word.GetLength() > length ? word.Mid(length, -1) : KwString();
    return 1;
}

SetupSilent::SetupSilent() : m_nLanguage(0), m_checked(), m_bShellRestarted(0)
{
    // The wizard's defaults: ProgramFiles + product folder, the language
    // box's first entry and the two JPEG2000 boxes ticked.
    char value[MAX_PATH + 1] = {0};
    DWORD length = GetEnvironmentVariableA("ProgramFiles", value, sizeof value);
    if (length > 0 && length < sizeof value) {
        char longPath[MAX_PATH + 1] = {0};
        DWORD longLength = GetLongPathNameA(value, longPath, sizeof longPath);
        KwString base = longLength > 0 && longLength < sizeof longPath ? KwString(longPath)
                                                                        : KwString(value);
        m_strFolder = base + "\\" + GetConfigString("productfold");
    }
    m_checked[ASSOCIATION_JPEG2000] = 1;
    m_checked[ASSOCIATION_JPEG2000_COMPLETE] = 1;
}

SetupSilent::~SetupSilent()
{
    if (m_log.IsOpen())
        m_log.Close();
}

int SetupSilent::IsSilentCommandLine(const char* commandLine)
{
    TKwList<KwString> words;
    SplitWords(commandLine, &words);
    if (words.MoveFirst()) {
        do {
            if (words.GetAt()->CompareNoCase("/S") == 0)
                return 1;
        } while (words.MoveNext());
    }
    return 0;
}

int SetupSilent::Parse(const char* commandLine)
{
    TKwList<KwString> words;
    SplitWords(commandLine, &words);
    if (words.MoveFirst()) {
        do {
            if (!ParseOption(*words.GetAt()))
                return 0;
        } while (words.MoveNext());
    }
    return 1;
}

int SetupSilent::ParseOption(const KwString& word)
{
    KwString value;
    if (word.CompareNoCase("/S") == 0)
        return 1;
    if (OptionValue(word, "/D=", &value)) {
        // A trailing backslash would double in the paths made from it (a
        // double-byte character ending in the backslash byte stays).
        while (value.GetLength() > 3 &&
               KwCodePage::EndsWithSeparator(KwCodePage::System(), value.GetText(), value.GetLength()))
            value = value.Mid(0, value.GetLength() - 2);
        m_strFolder = value;
        return m_strFolder.GetLength() > 0 ? 1 : Fail(KwString("empty folder: ") + word);
    }
    if (OptionValue(word, "/LANG=", &value)) {
        if (value.CompareNoCase("cn") == 0)
            m_nLanguage = 0;
        else if (value.CompareNoCase("en") == 0)
            m_nLanguage = 1;
        else
            return Fail(KwString("unknown language: ") + word);
        return 1;
    }
    if (OptionValue(word, "/TYPES=", &value))
        return ParseTypes(value);
    if (OptionValue(word, "/LOG=", &value)) {
        m_strLogFile = value;
        return 1;
    }
    return Fail(KwString("unknown option: ") + word);
}

// A type is named by its box text without " Images" and blanks
// ("JPEG2000Complete") or by one of its extensions without the dot.
static int FindType(const KwString& name)
{
    for (int i = 0; i < ASSOCIATION_TYPE_COUNT; ++i) {
        const ASSOCIATIONTYPE* type = GetAssociationType(i);
        KwString box;
        for (const char* p = type->boxText; *p != '\0'; ++p) {
            if (*p != ' ')
                box.Append(KwString(p, 1).GetText());
        }
        if (name.GetLength() > 0 && (name + "Images").CompareNoCase(box) == 0)
            return i;
        for (const char* extension : type->extensions) {
            if (extension != nullptr && name.CompareNoCase(extension + 1) == 0)
                return i;
        }
    }
    return -1;
}

int SetupSilent::ParseTypes(const KwString& list)
{
    int all = list.CompareNoCase("all") == 0;
    if (all || list.CompareNoCase("none") == 0) {
        for (int& checked : m_checked)
            checked = all;
        return 1;
    }
    for (int& checked : m_checked)
        checked = 0;
    KwString rest = list;
    while (rest.GetLength() > 0) {
        int comma = rest.Find(',');
        KwString name = comma < 0 ? rest : comma > 0 ? rest.Mid(0, comma - 1) : KwString();
        rest = comma < 0 || comma + 1 >= rest.GetLength() ? KwString() : rest.Mid(comma + 1, -1);
        int type = FindType(name);
        if (type < 0)
            return Fail(KwString("unknown type: ") + name);
        m_checked[type] = 1;
    }
    return 1;
}

int SetupSilent::Run()
{
    if (m_strLogFile.GetLength() > 0 && !m_log.Open(m_strLogFile, KW_MODE_WRITE))
        return 3;
    if (m_strFailure.GetLength() > 0) {
        Log(KwString("failed: ") + m_strFailure);
        return 2;
    }
    SetLanguage(m_nLanguage);
    Log(KwString("install into ") + m_strFolder);
    if (m_strFolder.GetLength() == 0)
        return Stop("no install folder");
    // Every folder on the way is made, as for "C:\Programs\Vendor\Product";
    // the walk steps over whole characters of the system's code page.
    const int codePage = KwCodePage::System();
    for (int i = 3; i < m_strFolder.GetLength();
         i += KwCodePage::CharacterLength(codePage, m_strFolder.GetText(), m_strFolder.GetLength(), i)) {
        if (m_strFolder.GetText()[i] == '\\')
            CreateDirectoryA(m_strFolder.Mid(0, i - 1).GetText(), nullptr);
    }
    CreateDirectoryA(m_strFolder.GetText(), nullptr);
    DWORD attributes = GetFileAttributesA(m_strFolder.GetText());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Stop(KwString("cannot create folder ") + m_strFolder + ": " +
                    SetupInstallEngine::SystemReason(GetLastError()));

    SetupInstallEngine engine(this);
    engine.Start(&GetPayloadList());
    while (!engine.CopyNextEntry(m_strFolder)) {
        if (engine.IsAborted())
            return 1;
    }
    Log("copied the files");
    engine.CreateShortcuts(m_strFolder + "\\");
    KwString installLog = m_strFolder + "\\" + GetConfigString("sub_dir") + "\\install.txt";
    if (GetFileAttributesA(installLog.GetText()) == INVALID_FILE_ATTRIBUTES)
        return Stop(KwString("cannot write ") + installLog);
    Log(KwString("made the shortcuts and ") + installLog);
    if (!ImportRegistryScript(m_strFolder, KwString(""), 1))
        return Stop("the registry script was not imported");
    Log("imported the registry script");
    if (!RegisterShellExtension(m_strFolder, 1))
        Log("the shell extension was not registered");
    else
        Log("registered the shell extension");
    int associated = AssociateCheckedTypes(m_strFolder, m_checked);
    Log(KwString("associated extensions: ") + KwString(associated));
    Log("done");
    return 0;
}

const KwString& SetupSilent::GetFolder() const
{
    return m_strFolder;
}

int SetupSilent::GetLanguageIndex() const
{
    return m_nLanguage;
}

int SetupSilent::IsTypeChecked(int type) const
{
    return type >= 0 && type < ASSOCIATION_TYPE_COUNT ? m_checked[type] : 0;
}

const KwString& SetupSilent::GetFailure() const
{
    return m_strFailure;
}

void SetupSilent::OnEntryListed(const KwString& name)
{
    Log(KwString("copy ") + name);
}

int SetupSilent::OnCopyFailed(const KwString& path, const KwString& reason)
{
    Fail(KwString("cannot copy ") + path + ": " + reason);
    return SETUP_COPY_ABORT;
}

void SetupSilent::OnShellExtensionLocked(const KwString& installRoot)
{
    Log("releasing the shell extension held by the shell");
    ReleaseShellExtension(installRoot, &m_bShellRestarted);
}

int SetupSilent::Fail(const KwString& message)
{
    m_strFailure = message;
    Log(KwString("failed: ") + message);
    return 0;
}

int SetupSilent::Stop(const KwString& message)
{
    Fail(message);
    return 1;
}

void SetupSilent::Log(const KwString& line)
{
    if (!m_log.IsOpen())
        return;
    KwString text = line + "\r\n";
    m_log.Write(text.GetText(), text.GetLength());
    m_log.Flush();
}

} // namespace KwSDK
