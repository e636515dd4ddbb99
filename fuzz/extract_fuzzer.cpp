// libFuzzer target for the extraction procedure: the input is a whole
// launcher file; it is extracted into a fresh folder that is removed again.
#include "FILENODE.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwPackageExtractor.h"
#include "KwPackageReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace KwSDK;

// A table that promises more than this is not extracted: a few bytes of
// bzip2 can expand to gigabytes, which would fill the disk, not find bugs.
static const unsigned long long kMaxDeclaredBytes = 8ull * 1024 * 1024;

static KwString g_work;

static void RemoveWorkFolder()
{
    KwFile(g_work).DeleteTree();
}

// One folder per fuzzing process, so that parallel jobs never share files;
// removed when the process ends.
static KwString WorkFolder()
{
    KwString& folder = g_work;
    if (folder.GetLength() == 0) {
        const char* base = getenv("TMPDIR");
        folder.Format("%s\\carton-extract-fuzz-%d", base && *base ? base : "/tmp",
                      static_cast<int>(getpid()));
        KwFile(folder).DeleteTree();
        KwFile(folder).MakeFolder();
        atexit(RemoveWorkFolder);
    }
    return folder;
}

static int WriteInput(const KwString& path, const uint8_t* data, size_t size)
{
    KwFileStream stream;
    if (!stream.Open(path, KW_MODE_WRITE))
        return 0;
    int ok = size == 0 || stream.Write(data, static_cast<int>(size)) == static_cast<int>(size);
    return stream.Close() && ok;
}

static unsigned long long DeclaredBytes(const KwString& path)
{
    KwFileStream stream;
    KwPackageReader reader;
    if (!stream.Open(path, KW_MODE_READ) || !reader.ReadHeader(&stream))
        return 0;
    unsigned long long total = 0;
    TKwList<FILENODE>* table = reader.GetTable();
    for (int more = table->MoveFirst(); more; more = table->MoveNext()) {
        if (table->GetAt()->type == FILENODE_FILE)
            total += static_cast<unsigned int>(table->GetAt()->size);
    }
    return total;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1024 * 1024)
        return 0;
    KwString work = WorkFolder();
    KwString own = work + "\\own.exe";
    KwString folder = work + "\\F";
    if (!WriteInput(own, data, size))
        return 0;
    if (DeclaredBytes(own) <= kMaxDeclaredBytes) {
        KwFile(folder).DeleteTree();
        KwFile(folder).MakeFolder();
        KwPackageExtractor extractor;
        extractor.Extract(own, folder, folder + "\\scratch");
        KwFile(folder).DeleteTree();
    }
    KwFile(own).Delete();
    return 0;
}
