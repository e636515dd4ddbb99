// carton-pack verify: reads the whole package the way the launcher would and
// names the first thing that would make an extraction go wrong.
#include "CartonPackVerifier.h"

#include "KwCodePage.h"
#include "KwFileStream.h"
#include "KwPackageReader.h"
#include "KwParallelBZip.h"

#include <cstdarg>

namespace KwSDK {

// The folder part of an entry path ("\a\b" gives "\a"); empty at the top.
static KwString ParentOf(const KwString& path, int codePage)
{
    int slash = KwCodePage::LastSeparator(codePage, path.GetText(), path.GetLength());
    return slash > 0 ? KwString(path.GetText(), slash) : KwString();
}

static int ListHoldsNoCase(TKwList<KwString>* list, const KwString& text)
{
    for (int more = list->MoveFirst(); more; more = list->MoveNext()) {
        if (list->GetAt()->CompareNoCase(text) == 0)
            return 1;
    }
    return 0;
}

CartonPackVerifier::CartonPackVerifier()
    : m_nEntries(0), m_nFileBytes(0), m_nCodePage(KwCodePage::kPackageDefault)
{
}

void CartonPackVerifier::SetCodePage(int codePage)
{
    m_nCodePage = codePage;
}

const KwString& CartonPackVerifier::GetReason() const
{
    return m_strReason;
}

int CartonPackVerifier::GetEntryCount() const
{
    return m_nEntries;
}

unsigned long long CartonPackVerifier::GetFileBytes() const
{
    return m_nFileBytes;
}

int CartonPackVerifier::Fail(const char* format, ...)
{
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    m_strReason = line;
    return 0;
}

int CartonPackVerifier::Verify(const KwString& packagePath)
{
    m_strReason = "";
    m_nEntries = 0;
    m_nFileBytes = 0;
    KwFileStream source;
    if (!source.Open(packagePath, KW_MODE_READ))
        return Fail("can not read the file");
    KwPackageReader reader;
    if (!reader.ReadHeader(&source)) {
        return reader.GetErrorCode() == KW_PACKAGE_BAD_TABLE ? Fail("package table is damaged")
                                                             : Fail("not a package archive");
    }
    source.Close();
    return CheckTable(&reader) && CheckStream(&reader, packagePath);
}

// Every entry must be extractable where it stands, and the program to start
// must be one of the files.
int CartonPackVerifier::CheckTable(KwPackageReader* reader)
{
    TKwList<FILENODE>* table = reader->GetTable();
    TKwList<KwString> folders;
    KwString program = reader->GetProgramName();
    int programFound = 0;
    for (int more = table->MoveFirst(); more; more = table->MoveNext()) {
        const FILENODE& node = *table->GetAt();
        if (!CheckEntry(node, &folders))
            return 0;
        if (node.type == FILENODE_FILE && node.name.CompareNoCase(KwString("\\") + program) == 0)
            programFound = 1;
        ++m_nEntries;
        if (node.type == FILENODE_FILE)
            m_nFileBytes += static_cast<unsigned int>(node.size);
    }
    if (!KwPackageLayout::IsSafeProgramName(program, m_nCodePage))
        return Fail("program name '%s' leads out of the extraction folder", program.GetText());
    if (!programFound)
        return Fail("program '%s' is not a file entry", program.GetText());
    return 1;
}

int CartonPackVerifier::CheckEntry(const FILENODE& node, TKwList<KwString>* folders)
{
    const char* name = node.name.GetText() ? node.name.GetText() : "";
    if (node.type != FILENODE_FILE && node.type != FILENODE_FOLDER)
        return Fail("entry '%s' has unknown type %u", name, static_cast<unsigned int>(node.type));
    if (!KwPackageLayout::IsSafeEntryPath(node.name, m_nCodePage))
        return Fail("entry '%s' leads out of the extraction folder", name);
    if (node.type == FILENODE_FOLDER && node.size != 0)
        return Fail("folder entry '%s' has size %u", name, static_cast<unsigned int>(node.size));
    KwString parent = ParentOf(node.name, m_nCodePage);
    if (parent.GetLength() > 0 && !ListHoldsNoCase(folders, parent))
        return Fail("entry '%s' comes before its folder entry", name);
    if (node.type == FILENODE_FOLDER && !folders->AddTail(node.name))
        return Fail("out of memory");
    return 1;
}

int CartonPackVerifier::CheckStream(KwPackageReader* reader, const KwString& packagePath)
{
    long long slack = reader->GetSlackBytes();
    if (slack < 0)
        return Fail("compressed data is truncated: length %u, %u bytes present",
                    reader->GetCompressedLength(),
                    static_cast<unsigned int>(reader->GetCompressedLength() + slack));
    if (slack > 0)
        return Fail("trailing offset does not follow the compressed data (%u stray bytes)",
                    static_cast<unsigned int>(slack));
    return CheckContents(reader, packagePath);
}

// The stream must hold exactly the files' bytes and end properly: a stream
// that ends without its end mark fails its final check in libbzip2.
int CartonPackVerifier::CheckContents(KwPackageReader* reader, const KwString& packagePath)
{
    KwFileStream source;
    if (!source.Open(packagePath, KW_MODE_READ))
        return Fail("can not read the file");
    // The same decoder as the launcher's, reading the stream where it lies.
    KwParallelBZip bzip;
    if (!bzip.Open(&source, reader->GetDataOffset(), reader->GetCompressedLength(),
                   KwParallelBZip::kAutomatic))
        return Fail("can not read the compressed data");
    TKwList<FILENODE>* table = reader->GetTable();
    for (int more = table->MoveFirst(); more; more = table->MoveNext()) {
        const FILENODE& node = *table->GetAt();
        if (node.type == FILENODE_FILE && !CheckFile(&bzip, node))
            return 0;
    }
    int after = bzip.Read(m_buffer, 1);
    if (after > 0)
        return Fail("compressed data holds more bytes than the table");
    if (after < 0)
        return Fail("compressed data is damaged at its end");
    return 1;
}

int CartonPackVerifier::CheckFile(KwParallelBZip* bzip, const FILENODE& node)
{
    unsigned int size = static_cast<unsigned int>(node.size);
    unsigned int done = 0;
    while (done < size) {
        unsigned int rest = size - done;
        int piece = rest < sizeof m_buffer ? static_cast<int>(rest) : static_cast<int>(sizeof m_buffer);
        int got = bzip->Read(m_buffer, piece);
        if (got < 0)
            return Fail("compressed data is damaged in '%s'", node.name.GetText());
        if (got == 0)
            return Fail("compressed data ends inside '%s' (%u of %u bytes)", node.name.GetText(),
                        done, size);
        done += static_cast<unsigned int>(got);
    }
    return 1;
}

} // namespace KwSDK
