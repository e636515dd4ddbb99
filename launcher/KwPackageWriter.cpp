// Builds a package: walks the source folder into a table, compresses the file
// contents into one bzip2 stream, and appends the archive to a launcher copy.
#include "KwPackageWriter.h"

#include "KwBZip.h"
#include "KwFile.h"
#include "KwFileStream.h"

#include <algorithm>
#include <climits>
#include <new>

namespace KwSDK {

// GetLength's answer for a file whose size does not fit 32 bits.
static const unsigned int kLengthTooLarge = 0xFFFFFFFFu;
// The alignment of a signed program's certificate table.
static const unsigned int kSignatureAlignment = 8;

static bool NameBefore(const KwString* a, const KwString* b)
{
    int order = a->CompareNoCase(*b);
    return order != 0 ? order < 0 : a->Compare(*b) < 0;
}

KwPackageWriter::KwPackageWriter()
    : m_nError(0), m_pProgress(nullptr), m_pProgressContext(nullptr), m_nDone(0), m_nTotal(0)
{
    AppendTypeName("KwPackageWriter");
}

KwPackageWriter::~KwPackageWriter()
{
}

unsigned int KwPackageWriter::GetErrorCode() const
{
    return m_nError;
}

const char* KwPackageWriter::GetErrorMessage(unsigned int code) const
{
    switch (code) {
    case KW_PACK_NO_SOURCE: return "Source folder not found";
    case KW_PACK_LIST_FAIL: return "Can not list folder";
    case KW_PACK_READ_FAIL: return "Can not read file";
    case KW_PACK_CHANGED: return "File changed while packing";
    case KW_PACK_BAD_NAME: return "Name can not be stored in a package";
    case KW_PACK_CASE_CLASH: return "Names differ only in case";
    case KW_PACK_FILE_TOO_LARGE: return "File is 4 GiB or larger, more than a package can hold";
    case KW_PACK_COMPRESS_FAIL: return "Compress fail";
    case KW_PACK_STUB_FAIL: return "Can not read launcher";
    case KW_PACK_WRITE_FAIL: return "Write package fail";
    case KW_PACK_TOO_LARGE: return "Package would be 2 GiB or larger";
    case KW_PACK_NO_PROGRAM: return "Program to run is not a file of the package";
    case KW_PACK_NOT_ENTRY: return "Program name can not be stored in a package";
    default: return "Success";
    }
}

KwString KwPackageWriter::GetErrorPath() const
{
    return m_strErrorPath;
}

void KwPackageWriter::SetProgress(KwPackProgress progress, void* context)
{
    m_pProgress = progress;
    m_pProgressContext = context;
}

int KwPackageWriter::Fail(unsigned int code, const KwString& path)
{
    m_nError = code;
    m_strErrorPath = path;
    return 0;
}

int KwPackageWriter::BuildTable(const KwString& sourceFolder, TKwList<FILENODE>* table)
{
    m_nError = 0;
    m_strErrorPath = "";
    KwFile folder(sourceFolder);
    if (!table || !folder.IsFolder())
        return Fail(KW_PACK_NO_SOURCE, sourceFolder);
    table->RemoveAll();
    return Walk(sourceFolder, KwString(), table);
}

// One folder level: its entries sorted, each added, folders recursively. A
// link loop cannot recurse for ever: the path grows with every level until
// the listing fails or the name is too long to store.
int KwPackageWriter::Walk(const KwString& folder, const KwString& relative,
                          TKwList<FILENODE>* table)
{
    TKwList<KwString> list;
    KwFile file(folder);
    if (!file.ListNames(&list))
        return Fail(KW_PACK_LIST_FAIL, folder);
    int count = list.GetCount();
    if (count == 0)
        return 1;
    KwString** names = new (std::nothrow) KwString*[count];
    if (!names)
        return Fail(KW_PACK_LIST_FAIL, folder);
    int ok = SortedNames(names, count, &list);
    for (int i = 0; ok && i < count; ++i)
        ok = AddEntry(*names[i], relative, table);
    delete[] names;
    return ok;
}

// Fills names with pointers into the list, sorted case-insensitively, and
// refuses two names that only case tells apart.
int KwPackageWriter::SortedNames(KwString** names, int count, TKwList<KwString>* list)
{
    int i = 0;
    for (int more = list->MoveFirst(); more && i < count; more = list->MoveNext())
        names[i++] = list->GetAt();
    std::sort(names, names + count, NameBefore);
    for (i = 1; i < count; ++i) {
        if (names[i - 1]->CompareNoCase(*names[i]) == 0)
            return Fail(KW_PACK_CASE_CLASH, *names[i]);
    }
    return 1;
}

int KwPackageWriter::AddEntry(const KwString& full, const KwString& relative,
                              TKwList<FILENODE>* table)
{
    KwFile file(full);
    KwString path = relative + "\\" + file.GetName();
    if (!KwPackageLayout::IsSafeEntryPath(path))
        return Fail(KW_PACK_BAD_NAME, full);
    FILENODE node;
    node.name = path;
    node.size = 0;
    if (file.IsFolder()) {
        node.type = FILENODE_FOLDER;
        return table->AddTail(node) ? Walk(full, path, table) : Fail(KW_PACK_LIST_FAIL, full);
    }
    // Anything else that is not a plain file (a dangling link, a name the
    // host allows but the path syntax cannot express) cannot be packed.
    if (!file.IsFile())
        return Fail(KW_PACK_READ_FAIL, full);
    unsigned int length = file.GetLength();
    if (length == kLengthTooLarge)
        return Fail(KW_PACK_FILE_TOO_LARGE, full);
    node.type = FILENODE_FILE;
    node.size = static_cast<int>(length);
    return table->AddTail(node) ? 1 : Fail(KW_PACK_LIST_FAIL, full);
}

int KwPackageWriter::ResolveProgram(TKwList<FILENODE>* table, const KwString& run,
                                    KwString* program)
{
    m_nError = 0;
    m_strErrorPath = "";
    KwString wanted(run);
    wanted.Replace("/", "\\");
    if (wanted.GetLength() > 0 && wanted.GetText()[0] == '\\')
        wanted = wanted.Mid(1, -1);
    KwString path = KwString("\\") + wanted;
    if (!KwPackageLayout::IsSafeEntryPath(path))
        return Fail(KW_PACK_NOT_ENTRY, run);
    for (int more = table ? table->MoveFirst() : 0; more; more = table->MoveNext()) {
        const FILENODE* node = table->GetAt();
        if (node->type == FILENODE_FILE && node->name.CompareNoCase(path) == 0) {
            *program = node->name.Mid(1, -1);
            return 1;
        }
    }
    return Fail(KW_PACK_NO_PROGRAM, run);
}

unsigned long long KwPackageWriter::TotalFileBytes(TKwList<FILENODE>* table)
{
    unsigned long long total = 0;
    for (int more = table->MoveFirst(); more; more = table->MoveNext()) {
        if (table->GetAt()->type == FILENODE_FILE)
            total += static_cast<unsigned int>(table->GetAt()->size);
    }
    return total;
}

int KwPackageWriter::CompressContents(const KwString& sourceFolder, TKwList<FILENODE>* table,
                                      const KwString& streamPath)
{
    m_nError = 0;
    m_strErrorPath = "";
    if (!table)
        return Fail(KW_PACK_NO_SOURCE, sourceFolder);
    m_nTotal = TotalFileBytes(table);
    m_nDone = 0;
    KwBZip bzip;
    if (!bzip.OpenWrite(streamPath))
        return Fail(KW_PACK_COMPRESS_FAIL, streamPath);
    int ok = 1;
    for (int more = table->MoveFirst(); ok && more; more = table->MoveNext()) {
        const FILENODE* node = table->GetAt();
        if (node->type == FILENODE_FILE)
            ok = CompressFile(&bzip, sourceFolder + node->name,
                              static_cast<unsigned int>(node->size));
    }
    bzip.CloseWrite();
    return ok;
}

// Compresses exactly size bytes of the file, then checks that nothing
// follows: a file that grew or shrank since the table was made would put
// every later entry out of step.
int KwPackageWriter::CompressFile(KwBZip* bzip, const KwString& path, unsigned int size)
{
    KwFileStream in;
    if (!in.Open(path, KW_MODE_READ))
        return Fail(KW_PACK_READ_FAIL, path);
    unsigned int done = 0;
    while (done < size) {
        unsigned int rest = size - done;
        int piece = rest < sizeof m_buffer ? static_cast<int>(rest) : static_cast<int>(sizeof m_buffer);
        int got = in.Read(m_buffer, piece);
        if (got < 0)
            return Fail(KW_PACK_READ_FAIL, path);
        if (got == 0)
            return Fail(KW_PACK_CHANGED, path);
        if (bzip->Write(m_buffer, got) != got)
            return Fail(KW_PACK_COMPRESS_FAIL, path);
        done += static_cast<unsigned int>(got);
        m_nDone += static_cast<unsigned int>(got);
        if (m_pProgress)
            m_pProgress(m_pProgressContext, m_nDone, m_nTotal);
    }
    unsigned char extra;
    if (in.Read(&extra, 1) != 0)
        return Fail(KW_PACK_CHANGED, path);
    return 1;
}

unsigned long long KwPackageWriter::ArchiveBytes(const KwString& program, TKwList<FILENODE>* table,
                                                 unsigned int streamLength)
{
    unsigned long long bytes = static_cast<unsigned long long>(program.GetLength()) + 1 + 4;
    for (int more = table->MoveFirst(); more; more = table->MoveNext())
        bytes += static_cast<unsigned long long>(table->GetAt()->name.GetLength()) + 1 + 8;
    return bytes + 4 + streamLength + 4;
}

int KwPackageWriter::WritePackage(const KwString& stubPath, const KwString& program,
                                  TKwList<FILENODE>* table, const KwString& streamPath,
                                  const KwString& outputPath)
{
    m_nError = 0;
    m_strErrorPath = "";
    if (!table || !KwPackageLayout::IsSafeProgramName(program))
        return Fail(KW_PACK_NOT_ENTRY, program);
    KwFile stub(stubPath);
    if (!stub.IsFile())
        return Fail(KW_PACK_STUB_FAIL, stubPath);
    unsigned int stubLength = stub.GetLength();
    unsigned int streamLength = KwFile(streamPath).GetLength();
    // The launcher reads its own file with int-sized positions: the whole
    // package must stay below 2 GiB.
    if (stubLength == kLengthTooLarge || streamLength == kLengthTooLarge ||
        stubLength + ArchiveBytes(program, table, streamLength) + kSignatureAlignment >=
            static_cast<unsigned long long>(INT_MAX))
        return Fail(KW_PACK_TOO_LARGE, outputPath);
    KwFileStream out;
    if (!out.Open(outputPath, KW_MODE_WRITE))
        return Fail(KW_PACK_WRITE_FAIL, outputPath);
    unsigned int copied = 0;
    if (!CopyFile(stubPath, &out, &copied))
        return 0;
    if (copied != stubLength)
        return Fail(KW_PACK_STUB_FAIL, stubPath);
    // Signing tools pad a program to a multiple of eight bytes before they
    // append the signature. Zeros between the image and the archive make the
    // file that long already, so the trailing offset stays the last four
    // bytes in front of the signature.
    unsigned int padding = static_cast<unsigned int>(
        (kSignatureAlignment - (stubLength + ArchiveBytes(program, table, streamLength)) % kSignatureAlignment) %
        kSignatureAlignment);
    static const unsigned char kZeros[kSignatureAlignment] = {0};
    if (padding > 0 && out.Write(kZeros, static_cast<int>(padding)) != static_cast<int>(padding))
        return Fail(KW_PACK_WRITE_FAIL, outputPath);
    if (!WriteTable(&out, program, table) || !WriteU32(&out, streamLength))
        return Fail(KW_PACK_WRITE_FAIL, outputPath);
    if (!CopyFile(streamPath, &out, &copied))
        return 0;
    if (copied != streamLength)
        return Fail(KW_PACK_COMPRESS_FAIL, streamPath);
    // The archive starts right behind the launcher image and its padding.
    if (!WriteU32(&out, stubLength + padding) || !out.Close())
        return Fail(KW_PACK_WRITE_FAIL, outputPath);
    return 1;
}

int KwPackageWriter::CopyFile(const KwString& path, KwFileStream* out, unsigned int* copied)
{
    KwFileStream in;
    *copied = 0;
    if (!in.Open(path, KW_MODE_READ))
        return Fail(KW_PACK_READ_FAIL, path);
    for (;;) {
        int got = in.Read(m_buffer, sizeof m_buffer);
        if (got < 0)
            return Fail(KW_PACK_READ_FAIL, path);
        if (got == 0)
            return 1;
        if (out->Write(m_buffer, got) != got)
            return Fail(KW_PACK_WRITE_FAIL, out->GetFileName());
        *copied += static_cast<unsigned int>(got);
    }
}

int KwPackageWriter::WriteTable(KwFileStream* out, const KwString& program,
                                TKwList<FILENODE>* table)
{
    if (!out->WriteString(program) || !WriteU32(out, static_cast<unsigned int>(table->GetCount())))
        return 0;
    for (int more = table->MoveFirst(); more; more = table->MoveNext()) {
        const FILENODE* node = table->GetAt();
        if (!out->WriteString(node->name) || !WriteU32(out, static_cast<unsigned int>(node->type)) ||
            !WriteU32(out, static_cast<unsigned int>(node->size)))
            return 0;
    }
    return 1;
}

int KwPackageWriter::WriteU32(KwFileStream* out, unsigned int value)
{
    unsigned char bytes[4];
    KwPackageLayout::EncodeU32(value, bytes);
    return out->Write(bytes, sizeof bytes) == static_cast<int>(sizeof bytes) ? 1 : 0;
}

} // namespace KwSDK
