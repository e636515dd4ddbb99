// A stand-in for libFuzzer's driver in builds without libFuzzer (the 32-bit
// build): runs a fuzz target once over every file of the folders and files
// named on the command line, recursively, so that the seeds and any saved
// findings are replayed as a test. A fault ends the program through the
// sanitizer; otherwise it prints how many inputs it ran and answers 0.
//
//   <target>_replay <folder or file>...
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool ReadWhole(const std::string& path, std::vector<uint8_t>* bytes)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytes->clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes->insert(bytes->end(), chunk, chunk + got);
    std::fclose(file);
    return true;
}

// Adds the files under path (itself when it is a file) in name order.
void Collect(const std::string& path, std::vector<std::string>* files)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return;
    if (!S_ISDIR(info.st_mode)) {
        files->push_back(path);
        return;
    }
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return;
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        Collect(path + "/" + name, files);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i)
        Collect(argv[i], &files);
    std::vector<uint8_t> bytes;
    static const uint8_t kEmpty = 0;
    int ran = 0;
    for (const std::string& path : files) {
        if (!ReadWhole(path, &bytes)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        std::fprintf(stderr, "%s\n", path.c_str());
        LLVMFuzzerTestOneInput(bytes.empty() ? &kEmpty : bytes.data(), bytes.size());
        ++ran;
    }
    std::printf("%d inputs replayed\n", ran);
    return ran > 0 ? 0 : 1;
}
