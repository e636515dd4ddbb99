// The installer's configuration state: properties tables, language, program
// folder, licence text and the scan of the payload tree.
#include "SetupConfig.h"

#include "KwCodePage.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwPlatformFile.h"

#include <cstdlib>

namespace KwSDK {

SetupConfig::SetupConfig()
    : m_pCurrent(&m_chinese), m_nLanguage(LANGUAGE_CHINESE)
{
}

int SetupConfig::Load(const KwString& programFolder)
{
    // The scan below names the payload folder from the current table, which
    // is always the Chinese one at start-up.
    SetLanguage(LANGUAGE_CHINESE);
    m_strProgramFolder = programFolder;
    m_payload.RemoveAll();
    if (!m_chinese.LoadFile(programFolder + "setup_cn.properties"))
        return 0;
    // Both files are required although only one language shows at a time:
    // the user may switch at any moment.
    if (!m_english.LoadFile(programFolder + "setup_en.properties"))
        return 0;
    KwString root = programFolder + GetString("productfold", "");
    ScanPayload(&m_payload, root, root);
    return 1;
}

void SetupConfig::SetLanguage(int index)
{
    if (index == LANGUAGE_CHINESE) {
        m_pCurrent = &m_chinese;
    } else if (index == LANGUAGE_ENGLISH) {
        m_pCurrent = &m_english;
    } else {
        return;
    }
    m_nLanguage = index;
}

int SetupConfig::GetLanguage() const
{
    return m_nLanguage;
}

KwString SetupConfig::GetString(const char* key, const char* defaultValue) const
{
    return m_pCurrent->GetString(key, defaultValue);
}

const KwString& SetupConfig::GetProgramFolder() const
{
    return m_strProgramFolder;
}

TKwList<FILENODE>& SetupConfig::GetPayload()
{
    return m_payload;
}

SetupConfig& GetSetupConfig()
{
    static SetupConfig config;
    return config;
}

KwString ProgramFolderOf(const KwString& programPath)
{
    // A double-byte character may end in the backslash byte: only a
    // separator cuts the path.
    int slash = KwCodePage::LastSeparator(KwCodePage::System(), programPath.GetText(),
                                          programPath.GetLength());
    KwString folder = slash < 0 ? programPath : KwString(programPath.GetText(), slash);
    folder.Append("\\");
    return folder;
}

int LoadConfiguration()
{
    KwString module = Platform::ModulePath();
    KwString longPath = Platform::LongPathName(module.GetText() ? module.GetText() : "");
    return LoadConfigurationFrom(ProgramFolderOf(longPath));
}

int LoadConfigurationFrom(const KwString& programFolder)
{
    return GetSetupConfig().Load(programFolder);
}

KwString GetConfigString(const char* key)
{
    return GetSetupConfig().GetString(key, "");
}

// KwParam's GetInt takes the entry out of the table, which would make a
// second lookup of the same key (after a language switch) answer 0; reading
// the text leaves the table intact.
int GetConfigInt(const char* key)
{
    return GetSetupConfig().GetString(key, "0").ToInt();
}

void SetLanguage(int index)
{
    GetSetupConfig().SetLanguage(index);
}

int GetLanguage()
{
    return GetSetupConfig().GetLanguage();
}

KwString GetProgramFolder()
{
    return GetSetupConfig().GetProgramFolder();
}

TKwList<FILENODE>& GetPayloadList()
{
    return GetSetupConfig().GetPayload();
}

// Reads a whole file into a text; a short read keeps only the bytes that
// arrived, so the text never holds uninitialised memory.
static KwString ReadWholeStream(KwFileStream& stream)
{
    int length = stream.Available();
    if (length <= 0)
        return KwString();
    char* buffer = static_cast<char*>(malloc(static_cast<size_t>(length) + 1));
    if (!buffer)
        return KwString();
    int count = stream.Read(buffer, length);
    KwString text;
    if (count > 0)
        text.Assign(buffer, count);
    free(buffer);
    return text;
}

KwString ReadLicenceText()
{
    const char* name = GetLanguage() == LANGUAGE_ENGLISH ? "license_en.txt" : "license_cn.txt";
    KwFileStream stream;
    if (!stream.Open(GetProgramFolder() + name, KW_MODE_READ))
        return KwString();
    KwString text = ReadWholeStream(stream);
    stream.Close();
    return text;
}

// The part of path after root and the backslash that follows it. A root
// that already ends in a backslash (an empty payload folder name) gives that
// backslash up itself, so no name loses its first letter.
static KwString RelativeName(const KwString& root, const KwString& path)
{
    KwString name = path.Mid(root.GetLength(), -1);
    if (name.GetLength() > 0 && name.GetText()[0] == '\\')
        name = name.Mid(1, -1);
    return name;
}

// Appends one child of a scanned folder and, for a folder, everything below it.
static void AddPayloadEntry(TKwList<FILENODE>* list, const KwString& root, KwFile* child)
{
    KwString path = child->GetPath();
    FILENODE node;
    node.name = RelativeName(root, path);
    if (child->IsFolder()) {
        node.type = FILENODE_FOLDER;
        node.size = 0;
        list->AddTail(node);
        ScanPayload(list, root, path);
    } else {
        node.type = FILENODE_FILE;
        node.size = static_cast<int>(child->GetLength());
        list->AddTail(node);
    }
}

void ScanPayload(TKwList<FILENODE>* list, const KwString& root, const KwString& folder)
{
    if (!list)
        return;
    KwFile directory(folder);
    TKwList<KwFile*> children;
    directory.ListFiles(&children);
    // A listing cut short by a lack of memory still hands out its references.
    if (children.MoveFirst()) {
        do {
            KwFile* child = *children.GetAt();
            AddPayloadEntry(list, root, child);
            child->Release();
        } while (children.MoveNext());
    }
}

} // namespace KwSDK
