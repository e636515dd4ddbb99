// The package check: the properties files and their keys, the licences, the
// pictures and their sizes, the program to run, the registry script, the
// payload tree and the code page of every name and text.
#include "CartonPackageCheck.h"

#include "CartonPackCodePage.h"
#include "KwDecoderFactory.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwImgFileSrc.h"
#include "KwPackageWriter.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace KwSDK {

// In the order of the template's files: window, buttons, pictures, the
// texts of each page, then the product's names.
const char* const CartonPackageCheck::kKeys[] = {
    "caption", "font", "size", "prev", "next", "exit", "install", "strfinishbtn",
    "logo", "logo2", "logo3",
    "agree", "disagree", "strlicense", "strlicensespec", "strfold", "strfoldspec",
    "strinstall", "strinstallspec", "strlinkfile", "strlinkfilespec", "setuppath", "brows",
    "strselfold", "disk", "diskinfo", "strguage", "strshowfile", "strlinklist",
    "strallselect", "strwarring", "strexit",
    "productfold", "sub_dir", "start_app", "start_app_ico", "start_app_desc",
    "uninstall_app", "uninstall_app_ico", "uninstall_app_desc", "uninstall_regkey",
    "regist_root",
};
const int CartonPackageCheck::kKeyCount = sizeof kKeys / sizeof kKeys[0];

static const char* const kTableFiles[2] = {"setup_cn.properties", "setup_en.properties"};
static const char* const kLicenceFiles[2] = {"license_cn.txt", "license_en.txt"};
static const char kRegistryScript[] = "setup.reg";

// Keys that name files, folders or the placeholder: an empty value breaks a
// path or the registry script.
static const char* const kNameKeys[] = {
    "logo", "logo2", "logo3", "productfold", "sub_dir", "start_app", "uninstall_app",
    "regist_root",
};

// Keys about the product rather than its texts: the wizard reads them from
// whichever table is current, so both files must agree.
static const char* const kProductKeys[] = {
    "productfold", "sub_dir", "start_app", "start_app_ico", "uninstall_app",
    "uninstall_app_ico", "uninstall_regkey", "regist_root",
};

struct CartonPackageCheck::Picture {
    const char* key;
    const char* role;
    int width;
    int height;
};

CartonPackageCheck::CartonPackageCheck()
    : m_strProgram("Setup.exe"), m_nCodePage(kDefaultCodePage), m_bCodePageKnown(1),
      m_bTableBuilt(0)
{
    m_bLoaded[0] = m_bLoaded[1] = 0;
    m_bUtf8File[0] = m_bUtf8File[1] = 0;
}

void CartonPackageCheck::SetCodePage(unsigned int codePage)
{
    m_nCodePage = codePage;
}

void CartonPackageCheck::SetProgram(const KwString& program)
{
    m_strProgram = program;
    m_strProgram.Replace("/", "\\");
    while (m_strProgram.GetLength() > 0 && m_strProgram.GetText()[0] == '\\')
        m_strProgram = m_strProgram.Mid(1, m_strProgram.GetLength());
}

TKwList<KwString>* CartonPackageCheck::GetProblems()
{
    return &m_problems;
}

void CartonPackageCheck::Problem(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    char line[1024];
    vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    m_problems.AddTail(KwString(line));
}

// The path of a package file. A name that differs from a stored entry only
// in case means that entry, as it will on the user's system.
KwString CartonPackageCheck::Path(const KwString& relative)
{
    KwString name = relative;
    name.Replace("/", "\\");
    for (int more = m_bTableBuilt && m_table.MoveFirst(); more; more = m_table.MoveNext()) {
        const KwString& stored = m_table.GetAt()->name;
        if (stored.GetLength() == name.GetLength() + 1 &&
            KwString(stored.GetText() + 1).CompareNoCase(name) == 0)
            return m_strFolder + stored;
    }
    return m_strFolder + "\\" + name;
}

// The table as the packer makes it: the same walk, so that a name the
// packer would refuse is named by the check too.
void CartonPackageCheck::BuildTable()
{
    KwPackageWriter writer;
    m_bTableBuilt = writer.BuildTable(m_strFolder, &m_table);
    if (!m_bTableBuilt)
        m_strTableError.Format("%s: %s", writer.GetErrorMessage(writer.GetErrorCode()),
                               Printable(writer.GetErrorPath()).GetText());
}

// Bytes outside printable ASCII are shown as \xNN, so that a name in the
// wrong encoding can be read in any terminal.
KwString CartonPackageCheck::Printable(const KwString& text) const
{
    KwString shown("");
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.GetText());
    for (int i = 0; i < text.GetLength(); ++i) {
        char piece[8];
        if (bytes[i] < 0x20 || bytes[i] >= 0x7F)
            snprintf(piece, sizeof piece, "\\x%02X", bytes[i]);
        else
            snprintf(piece, sizeof piece, "%c", bytes[i]);
        shown.Append(piece);
    }
    return shown;
}

// Text that is not valid in the code page shows as wrong characters (or
// not at all) on the user's system. UTF-8, the usual cause on the host, is
// named as such even where its bytes happen to be valid in the code page
// (the UTF-8 bytes of many Chinese words are also GBK bytes).
void CartonPackageCheck::CheckText(const KwString& where, const KwString& text)
{
    if (!m_bCodePageKnown || text.GetLength() == 0)
        return;
    if (m_nCodePage != 65001 && CartonPackCodePage::LooksLikeUtf8(text.GetText(), text.GetLength()))
        Problem("%s looks like UTF-8, not text of code page %u (convert it, e.g. with iconv -f "
                "UTF-8 -t CP%u)",
                where.GetText(), m_nCodePage, m_nCodePage);
    else if (CartonPackCodePage::Fits(m_nCodePage, text.GetText(), text.GetLength()) == 0)
        Problem("%s is not text of code page %u", where.GetText(), m_nCodePage);
}

// The largest text file of a package that the check reads.
static const unsigned int kLargestText = 16u * 1024 * 1024;

// Reads a whole file of the package. Answers 1, or 0 with the problem
// recorded: the file is missing, too large for a text, or unreadable.
int CartonPackageCheck::ReadWholeFile(const KwString& relative, KwString* bytes)
{
    KwString path = Path(relative);
    KwFile file(path);
    if (!file.IsFile()) {
        Problem("%s is missing", relative.GetText());
        return 0;
    }
    unsigned int length = file.GetLength();
    KwFileStream stream;
    if (length > kLargestText || !stream.Open(path, KW_MODE_READ)) {
        Problem("%s can not be read%s", relative.GetText(),
                length > kLargestText ? " (larger than 16 MiB)" : "");
        return 0;
    }
    char* buffer = static_cast<char*>(malloc(length + 1));
    int read = !buffer ? -1 : length == 0 ? 0 : stream.Read(buffer, static_cast<int>(length));
    stream.Close();
    int whole = read == static_cast<int>(length) && bytes->Assign(buffer, static_cast<int>(length));
    free(buffer);
    if (!whole)
        Problem("%s can not be read", relative.GetText());
    return whole;
}

// A byte-order mark or UTF-16 breaks files that the wizard reads as plain
// bytes: the mark becomes part of the first key or line.
static const char* EncodingMark(const KwString& bytes)
{
    const unsigned char* text = reinterpret_cast<const unsigned char*>(bytes.GetText());
    int length = bytes.GetLength();
    if (length >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF)
        return "starts with a UTF-8 byte-order mark";
    if (length >= 2 && ((text[0] == 0xFF && text[1] == 0xFE) || (text[0] == 0xFE && text[1] == 0xFF)))
        return "is UTF-16 text";
    return nullptr;
}

void CartonPackageCheck::LoadTable(int index)
{
    const char* name = kTableFiles[index];
    KwString bytes;
    if (!ReadWholeFile(KwString(name), &bytes))
        return;
    const char* mark = EncodingMark(bytes);
    if (mark)
        Problem("%s %s; save it as code page %u text without a mark", name, mark, m_nCodePage);
    // A file saved as UTF-8 as a whole is one problem, not one per value.
    m_bUtf8File[index] = m_nCodePage != 65001 &&
                         CartonPackCodePage::LooksLikeUtf8(bytes.GetText(), bytes.GetLength());
    if (m_bUtf8File[index])
        CheckText(KwString(name), bytes);
    m_bLoaded[index] = m_tables[index].LoadFile(Path(KwString(name)));
    if (!m_bLoaded[index])
        Problem("%s can not be read", name);
}

void CartonPackageCheck::CheckKeys(int index)
{
    KwString missing("");
    for (int i = 0; i < kKeyCount; ++i) {
        KwString value;
        if (m_tables[index].GetString(kKeys[i], value))
            continue;
        if (missing.GetLength() > 0)
            missing.Append(", ");
        missing.Append(kKeys[i]);
    }
    if (missing.GetLength() > 0)
        Problem("%s lacks the keys %s", kTableFiles[index], missing.GetText());
}

// The drive line is made by formatting three texts into diskinfo: any other
// directive would read arguments that are not there.
static int IsDriveFormat(const KwString& format)
{
    const char* text = format.GetText();
    int strings = 0;
    for (int i = 0; i < format.GetLength(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 1 < format.GetLength() && text[i + 1] == '%') {
            ++i;
        } else if (i + 1 < format.GetLength() && text[i + 1] == 's') {
            ++strings;
            ++i;
        } else {
            return 0;
        }
    }
    return strings == 3;
}

static int IsPositiveNumber(const KwString& text)
{
    if (text.GetLength() == 0 || text.GetLength() > 4)
        return 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text.GetText()[i] < '0' || text.GetText()[i] > '9')
            return 0;
    }
    return text.ToInt() > 0;
}

void CartonPackageCheck::CheckValues(int index)
{
    const char* name = kTableFiles[index];
    KwProperties& table = m_tables[index];
    for (const char* key : kNameKeys) {
        KwString value;
        if (table.GetString(key, value) && value.GetLength() == 0)
            Problem("%s: '%s' is empty", name, key);
    }
    KwString value;
    if (table.GetString("size", value) && !IsPositiveNumber(value))
        Problem("%s: 'size' must be a font size in points, not '%s'", name,
                Printable(value).GetText());
    if (table.GetString("diskinfo", value) && !IsDriveFormat(value))
        Problem("%s: 'diskinfo' must hold exactly three %%s (drive, total, free) and no other "
                "%% directive",
                name);
    // The shortcuts are named after the program without its last four
    // characters, so the name needs an extension such as ".exe".
    for (const char* key : {"start_app", "uninstall_app"}) {
        if (!table.GetString(key, value) || value.GetLength() == 0)
            continue;
        if (value.GetLength() < 5 || value.GetText()[value.GetLength() - 4] != '.')
            Problem("%s: '%s' must end in a three-letter extension such as .exe, not '%s'", name,
                    key, Printable(value).GetText());
    }
    for (int more = !m_bUtf8File[index] && table.MoveFirst(); more; more = table.MoveNext()) {
        KwString where;
        where.Format("%s: the value of '%s'", name, Printable(table.GetKey()).GetText());
        CheckText(where, table.GetValue());
    }
}

void CartonPackageCheck::CheckSameProductKeys()
{
    if (!m_bLoaded[0] || !m_bLoaded[1])
        return;
    for (const char* key : kProductKeys) {
        KwString chinese, english;
        if (m_tables[0].GetString(key, chinese) && m_tables[1].GetString(key, english) &&
            chinese != english)
            Problem("'%s' differs between %s ('%s') and %s ('%s'); the wizard reads it from "
                    "the language shown",
                    key, kTableFiles[0], Printable(chinese).GetText(), kTableFiles[1],
                    Printable(english).GetText());
    }
}

void CartonPackageCheck::CheckLicences()
{
    for (const char* name : kLicenceFiles) {
        KwString bytes;
        if (!ReadWholeFile(KwString(name), &bytes))
            continue;
        const char* mark = EncodingMark(bytes);
        if (mark)
            Problem("%s %s; save it as code page %u text without a mark", name, mark, m_nCodePage);
        else
            CheckText(KwString(name), bytes);
    }
}

// The wizard shows the welcome and finish pictures at 498 x 312 and the
// banner at 498 x 58, without scaling.
static const CartonPackageCheck::Picture kPictures[] = {
    {"logo", "welcome picture", 498, 312},
    {"logo2", "banner", 498, 58},
    {"logo3", "finish picture", 498, 312},
};

void CartonPackageCheck::CheckPictures()
{
    TKwList<KwString> seen;
    for (int index = 0; index < 2; ++index) {
        if (!m_bLoaded[index])
            continue;
        for (const Picture& picture : kPictures)
            CheckPicture(index, picture, &seen);
    }
}

// Reads only the picture's header, with the decoder the wizard would use.
void CartonPackageCheck::CheckPicture(int index, const Picture& picture, TKwList<KwString>* seen)
{
    KwString file;
    if (!m_tables[index].GetString(picture.key, file) || file.GetLength() == 0)
        return;
    KwString done = KwString(picture.key) + "=" + file;
    for (int more = seen->MoveFirst(); more; more = seen->MoveNext()) {
        if (seen->GetAt()->CompareNoCase(done) == 0)
            return;
    }
    seen->AddTail(done);
    KwString shown = Printable(file);
    if (!KwFile(Path(file)).IsFile()) {
        Problem("%s: %s names %s, which is not in the folder", kTableFiles[index], picture.key,
                shown.GetText());
        return;
    }
    KwImgFileSrc source;
    IKwCoder* decoder = source.SetFile(Path(file)) ? KwCreateDecoder(source.GetType()) : nullptr;
    if (!decoder || !decoder->OpenFile(Path(file))) {
        Problem("%s (%s, the %s) is not a picture the wizard can read", shown.GetText(),
                picture.key, picture.role);
    } else if (decoder->GetWidth() != picture.width || decoder->GetHeight() != picture.height) {
        Problem("%s (%s, the %s) is %d x %d pixels; the wizard shows it at %d x %d",
                shown.GetText(), picture.key, picture.role, decoder->GetWidth(),
                decoder->GetHeight(), picture.width, picture.height);
    }
    if (decoder)
        decoder->Release();
}

void CartonPackageCheck::CheckProgram()
{
    if (KwFile(Path(m_strProgram)).IsFile())
        return;
    int wizard = m_strProgram.CompareNoCase("Setup.exe") == 0;
    Problem("%s, the program to run, is missing%s", Printable(m_strProgram).GetText(),
            wizard ? " (new copies the installed wizard)" : "");
}

// The first position of part in the bytes, or -1.
static int FindBytes(const KwString& bytes, const KwString& part)
{
    int length = bytes.GetLength();
    int partLength = part.GetLength();
    for (int i = 0; partLength > 0 && i + partLength <= length; ++i) {
        if (memcmp(bytes.GetText() + i, part.GetText(), static_cast<size_t>(partLength)) == 0)
            return i;
    }
    return -1;
}

void CartonPackageCheck::CheckRegistryScript()
{
    KwString bytes;
    if (!ReadWholeFile(KwString(kRegistryScript), &bytes))
        return;
    const char* mark = EncodingMark(bytes);
    if (mark) {
        Problem("%s %s; save it as code page %u text, the wizard fills in the folder byte by "
                "byte",
                kRegistryScript, mark, m_nCodePage);
        return;
    }
    if (FindBytes(bytes, KwString("Windows Registry Editor Version 5.00")) != 0 &&
        FindBytes(bytes, KwString("REGEDIT4")) != 0)
        Problem("%s does not start with \"Windows Registry Editor Version 5.00\"",
                kRegistryScript);
    KwString placeholder = Value("regist_root");
    if (placeholder.GetLength() > 0 && FindBytes(bytes, placeholder) < 0)
        Problem("%s does not hold the placeholder '%s' (key regist_root), so the install "
                "folder is never written into it",
                kRegistryScript, Printable(placeholder).GetText());
    CheckText(KwString(kRegistryScript), bytes);
}

void CartonPackageCheck::CheckPayload()
{
    KwString product = Value("productfold");
    KwString sub = Value("sub_dir");
    KwString program = Value("start_app");
    if (product.GetLength() == 0)
        return;
    KwString path = product;
    if (!KwFile(Path(path)).IsFolder()) {
        Problem("the payload folder %s (productfold) is missing", Printable(path).GetText());
        return;
    }
    if (sub.GetLength() == 0)
        return;
    path = path + "\\" + sub;
    if (!KwFile(Path(path)).IsFolder()) {
        Problem("the product folder %s (productfold\\sub_dir) is missing",
                Printable(path).GetText());
        return;
    }
    if (program.GetLength() == 0)
        return;
    path = path + "\\" + program;
    if (!KwFile(Path(path)).IsFile())
        Problem("the product's program %s (productfold\\sub_dir\\start_app) is missing",
                Printable(path).GetText());
}

void CartonPackageCheck::CheckNames()
{
    if (!m_bTableBuilt) {
        Problem("%s", m_strTableError.GetText());
        return;
    }
    for (int more = m_table.MoveFirst(); more; more = m_table.MoveNext()) {
        const KwString& name = m_table.GetAt()->name;
        KwString relative = name.Mid(1, -1);
        CheckText(KwString("the name ") + Printable(relative), relative);
    }
}

// The wizard takes product values from the Chinese table at start-up.
KwString CartonPackageCheck::Value(const char* key) const
{
    for (int index = 0; index < 2; ++index) {
        KwString value;
        if (m_bLoaded[index] && m_tables[index].GetString(key, value))
            return value;
    }
    return KwString("");
}

int CartonPackageCheck::Check(const KwString& folder)
{
    m_problems.RemoveAll();
    m_strFolder = folder;
    m_bLoaded[0] = m_bLoaded[1] = 0;
    m_bUtf8File[0] = m_bUtf8File[1] = 0;
    m_bTableBuilt = 0;
    m_table.RemoveAll();
    m_bCodePageKnown = CartonPackCodePage::IsKnown(m_nCodePage);
    if (!KwFile(folder).IsFolder()) {
        Problem("%s is not a folder", folder.GetText());
        return m_problems.GetCount();
    }
    BuildTable();
    for (int index = 0; index < 2; ++index) {
        LoadTable(index);
        if (m_bLoaded[index]) {
            CheckKeys(index);
            CheckValues(index);
        }
    }
    CheckSameProductKeys();
    CheckLicences();
    CheckPictures();
    CheckProgram();
    CheckRegistryScript();
    CheckPayload();
    CheckNames();
    return m_problems.GetCount();
}

} // namespace KwSDK
