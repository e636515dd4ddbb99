// Benchmark program for package extraction (host build, not a test).
//
//   extract_bench make SOURCE_DIR MEGABYTES PACKAGE
//       generates a payload tree of about MEGABYTES MiB in SOURCE_DIR and packs
//       it into PACKAGE; the bare bzip2 stream is kept as PACKAGE.bz2.
//   extract_bench extract PACKAGE FOLDER [THREADS]
//       extracts PACKAGE into FOLDER (created) with THREADS decoding threads
//       (0: sequential reading, -1 or none: one per processor) and prints the
//       wall-clock and processor seconds taken and the process's peak
//       resident memory.
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwPackageExtractor.h"
#include "KwPackageWriter.h"
#include "KwParallelBZip.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>

using namespace KwSDK;

// Text-like content from a small vocabulary: compresses about as well as the
// programs and data of a real product, unlike pure noise or zeros.
static std::string Content(size_t size, unsigned int seed)
{
    static const char* const kWords[] = {
        "install", "window", "folder", "\x00\x01\x02\x03", "registry", "KwSDK", "viewer",
        "0123456789", "shell", "extension", "\r\n", "picture", "\xFF\xFE\xFD", "setup",
        "component", "timer", "gauge", "licence", "\t\t", "association"};
    std::string text;
    text.reserve(size);
    unsigned int state = seed * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        if ((state >> 28) == 0) {
            // Now and then a stretch of noise, as in compressed resources.
            for (int i = 0; i < 64 && text.size() < size; ++i) {
                state = state * 1103515245u + 12345u;
                text += static_cast<char>(state >> 24);
            }
        } else {
            text += kWords[(state >> 16) % (sizeof kWords / sizeof kWords[0])];
            text += ' ';
        }
    }
    text.resize(size);
    return text;
}

static int WriteWhole(const std::string& path, const std::string& bytes)
{
    KwFileStream stream;
    if (!stream.Open(KwString(path.c_str()), KW_MODE_WRITE))
        return 0;
    int ok = bytes.empty() || stream.Write(bytes.data(), static_cast<int>(bytes.size())) ==
                                  static_cast<int>(bytes.size());
    return stream.Close() && ok;
}

// Folders of files from 1 KiB to 4 MiB until the total is reached.
static int MakeTree(const std::string& root, unsigned long long total)
{
    KwFile(KwString(root.c_str())).MakeFolder();
    unsigned long long made = 0;
    unsigned int index = 0;
    while (made < total) {
        std::string folder = root + "\\dir" + std::to_string(index / 16);
        if (index % 16 == 0 && !KwFile(KwString(folder.c_str())).MakeFolder())
            return 0;
        size_t size = static_cast<size_t>(1024) << (index % 13);
        if (size > total - made)
            size = static_cast<size_t>(total - made);
        std::string path = folder + "\\file" + std::to_string(index) + ".bin";
        if (!WriteWhole(path, Content(size, index)))
            return 0;
        made += size;
        ++index;
    }
    return WriteWhole(root + "\\Setup.exe", "MZ setup");
}

static int Make(const char* source, const char* megabytes, const char* package)
{
    unsigned long long total = strtoull(megabytes, nullptr, 10) << 20;
    if (!MakeTree(source, total)) {
        fprintf(stderr, "extract_bench: can not write the payload\n");
        return 1;
    }
    std::string stub = std::string(package) + ".stub";
    std::string stream = std::string(package) + ".bz2";
    WriteWhole(stub, Content(40000, 99));
    KwPackageWriter writer;
    TKwList<FILENODE> table;
    KwString program;
    if (!writer.BuildTable(KwString(source), &table) ||
        !writer.ResolveProgram(&table, KwString("Setup.exe"), &program) ||
        !writer.CompressContents(KwString(source), &table, KwString(stream.c_str())) ||
        !writer.WritePackage(KwString(stub.c_str()), program, &table, KwString(stream.c_str()),
                             KwString(package))) {
        fprintf(stderr, "extract_bench: %s: %s\n", writer.GetErrorMessage(writer.GetErrorCode()),
                writer.GetErrorPath().GetText());
        return 1;
    }
    KwFile(KwString(stub.c_str())).Delete();
    printf("packed %d entries, %llu MiB\n", table.GetCount(), total >> 20);
    return 0;
}

static int Extract(const char* package, const char* folder, int threads)
{
    KwFile target{KwString(folder)};
    target.MakeFolder();
    KwString scratch = KwString(folder) + "\\scratch";
    auto start = std::chrono::steady_clock::now();
    KwPackageExtractor extractor;
    extractor.SetDecoderThreads(threads);
    KwString program = extractor.Extract(KwString(package), KwString(folder), scratch);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    if (extractor.GetErrorCode() != 0 || program != "Setup.exe") {
        fprintf(stderr, "extract_bench: %s\n", extractor.GetErrorMessage(extractor.GetErrorCode()));
        return 1;
    }
    double cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                 (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    printf("seconds %.3f cpu %.3f maxrss_kib %ld entries %d\n", seconds, cpu, usage.ru_maxrss,
           extractor.GetExtractedCount());
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 5 && strcmp(argv[1], "make") == 0)
        return Make(argv[2], argv[3], argv[4]);
    if ((argc == 4 || argc == 5) && strcmp(argv[1], "extract") == 0)
        return Extract(argv[2], argv[3], argc == 5 ? atoi(argv[4]) : KwParallelBZip::kAutomatic);
    fprintf(stderr, "usage: extract_bench make SOURCE_DIR MEGABYTES PACKAGE\n"
                    "       extract_bench extract PACKAGE FOLDER [THREADS]\n");
    return 2;
}
