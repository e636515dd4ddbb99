// Decodes every file of the given folders (recursively) with every decoder
// and fails when a file of at most 64 KB made a decoder hold more than 64 MB
// at once. Allocations are counted through the address sanitizer's hooks
// when it is present, otherwise through counting replacements of the C
// allocation functions (which operator new uses too); only this program
// links them.
//
//   image_memory_bound <folder>...
#include "IKwCoder.h"
#include "KwDecoderFactory.h"
#include "KwImageFormat.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define CARTON_COUNT_WITH_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CARTON_COUNT_WITH_ASAN 1
#endif
#endif

namespace {

const long long kSmallFile = 64 * 1024;
const long long kLimit = 64LL * 1024 * 1024;

// The count: bytes live now and the most live at once since the last reset.
// The program runs one thread.
long long g_live = 0;
long long g_peak = 0;
int g_counting = 0;

void Counted(long long bytes)
{
    if (!g_counting) {
        return;
    }
    g_live += bytes;
    if (g_live > g_peak) {
        g_peak = g_live;
    }
}

} // namespace

#ifdef CARTON_COUNT_WITH_ASAN

// The sanitizer runtime's allocator interface (its header is not always
// installed with the compiler).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, size_t),
                                              void (*onFree)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* pointer);
}

namespace {

void OnMalloc(const volatile void*, size_t size)
{
    Counted(static_cast<long long>(size));
}

void OnFree(const volatile void* pointer)
{
    if (pointer != nullptr) {
        Counted(-static_cast<long long>(__sanitizer_get_allocated_size(pointer)));
    }
}

void InstallCounter()
{
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
}

} // namespace

#else

#include <malloc.h>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);

void* malloc(size_t size)
{
    void* pointer = __libc_malloc(size);
    if (pointer != nullptr) {
        Counted(static_cast<long long>(malloc_usable_size(pointer)));
    }
    return pointer;
}

void* calloc(size_t count, size_t size)
{
    void* pointer = __libc_calloc(count, size);
    if (pointer != nullptr) {
        Counted(static_cast<long long>(malloc_usable_size(pointer)));
    }
    return pointer;
}

void free(void* pointer)
{
    if (pointer != nullptr) {
        Counted(-static_cast<long long>(malloc_usable_size(pointer)));
    }
    __libc_free(pointer);
}

void* realloc(void* pointer, size_t size)
{
    long long before = pointer != nullptr ? static_cast<long long>(malloc_usable_size(pointer)) : 0;
    void* moved = __libc_realloc(pointer, size);
    if (moved != nullptr || size == 0) {
        Counted(-before);
    }
    if (moved != nullptr) {
        Counted(static_cast<long long>(malloc_usable_size(moved)));
    }
    return moved;
}

void* memalign(size_t alignment, size_t size)
{
    void* pointer = __libc_memalign(alignment, size);
    if (pointer != nullptr) {
        Counted(static_cast<long long>(malloc_usable_size(pointer)));
    }
    return pointer;
}

void* aligned_alloc(size_t alignment, size_t size)
{
    return memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size)
{
    void* pointer = memalign(alignment, size);
    if (pointer == nullptr) {
        return 12;  // ENOMEM
    }
    *out = pointer;
    return 0;
}
}

namespace {

void InstallCounter()
{
}

} // namespace

#endif

namespace {

const int kDecoderTypes[] = {
    KwSDK::KW_FILE_JPEG, KwSDK::KW_FILE_BMP, KwSDK::KW_FILE_PNG, KwSDK::KW_FILE_GIF,
    KwSDK::KW_FILE_PCX,  KwSDK::KW_FILE_TIFF, KwSDK::KW_FILE_JP2, KwSDK::KW_FILE_JPC,
    KwSDK::KW_FILE_PGX,  KwSDK::KW_FILE_PPM, KwSDK::KW_FILE_RAS, KwSDK::KW_FILE_TGA,
    KwSDK::KW_FILE_ICO,  KwSDK::KW_FILE_WMF, KwSDK::KW_FILE_EMF,
};

void ListFiles(const std::string& folder, std::vector<std::string>* files)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        std::string path = folder + "/" + entry->d_name;
        struct stat info;
        if (stat(path.c_str(), &info) != 0) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            ListFiles(path, files);
        } else if (S_ISREG(info.st_mode)) {
            files->push_back(path);
        }
    }
    closedir(dir);
}

std::vector<unsigned char> ReadAll(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    unsigned char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return bytes;
}

// The most bytes held at once while the decoder of the type opens the file
// and gives its picture and its group.
long long PeakFor(int type, const std::vector<unsigned char>& bytes)
{
    g_live = 0;
    g_peak = 0;
    g_counting = 1;
    KwSDK::IKwCoder* decoder = KwSDK::KwCreateDecoder(type);
    if (decoder != nullptr) {
        if (decoder->OpenMemory(bytes.data(), static_cast<int>(bytes.size()))) {
            KwSDK::KwImage* image = decoder->GetImage();
            if (image != nullptr) {
                image->Release();
            }
            KwSDK::KwImageGroup* group = decoder->GetImageGroup();
            if (group != nullptr) {
                group->Release();
            }
        }
        decoder->Release();
    }
    g_counting = 0;
    return g_peak;
}

struct Result {
    long long peak;
    long long size;
    int type;
    std::string path;
};

} // namespace

int main(int argc, char** argv)
{
    InstallCounter();
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        size_t before = files.size();
        ListFiles(argv[i], &files);
        std::printf("%s: %zu files\n", argv[i], files.size() - before);
    }
    // The hook must see something, or the count proves nothing.
    g_counting = 1;
    g_peak = g_live = 0;
    delete[] new char[1000];
    g_counting = 0;
    if (g_peak < 1000) {
        std::printf("allocations are not counted\n");
        return 1;
    }
    std::vector<Result> results;
    int failures = 0;
    for (const std::string& path : files) {
        std::vector<unsigned char> bytes = ReadAll(path);
        if (bytes.empty() || bytes.size() > 0x1000000) {
            continue;
        }
        for (int type : kDecoderTypes) {
            long long peak = PeakFor(type, bytes);
            Result result = { peak, static_cast<long long>(bytes.size()), type, path };
            results.push_back(result);
            if (result.size <= kSmallFile && peak > kLimit) {
                std::printf("TOO MUCH: %s (%lld bytes) made decoder %d hold %lld bytes\n", path.c_str(),
                            result.size, type, peak);
                ++failures;
            }
        }
    }
    std::sort(results.begin(), results.end(),
              [](const Result& a, const Result& b) { return a.peak > b.peak; });
    std::printf("%zu decodings of %zu files; the largest:\n", results.size(), files.size());
    for (size_t i = 0; i < results.size() && i < 8; ++i) {
        std::printf("  %10lld bytes held, decoder %d, %s (%lld bytes)\n", results[i].peak, results[i].type,
                    results[i].path.c_str(), results[i].size);
    }
    if (files.empty()) {
        std::printf("no files found\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
