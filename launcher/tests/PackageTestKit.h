// Helpers for the package tests: scratch folders, bzip2 data and a builder
// of crafted archives, beside the shared test support.
#ifndef KWSDK_TESTS_PACKAGETESTKIT_H
#define KWSDK_TESTS_PACKAGETESTKIT_H

#include "KwBZip.h"
#include "KwFile.h"
#include "KwPackageLayout.h"
#include "KwString.h"
#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KwSDK {
namespace PackTest {

using KwTest::Exists;
using KwTest::MakeTree;
using KwTest::ReadFile;
using KwTest::Snapshot;
using KwTest::Std;
using KwTest::Str;
using KwTest::Tree;
using KwTest::WriteFile;

// A scratch folder for one package test, "pktest_<suite>_<test>".
class TestFolder : public KwTest::ScratchFolder {
public:
    TestFolder() : ScratchFolder("pktest") {}
};

// Compresses bytes with KwBZip through a scratch file in the folder.
inline std::string Compress(const TestFolder& folder, const std::string& data)
{
    std::string path = folder.Path("compress.scratch.bz2");
    KwBZip bzip;
    EXPECT_EQ(1, bzip.OpenWrite(Str(path)));
    if (!data.empty()) {
        EXPECT_EQ(static_cast<int>(data.size()), bzip.Write(data.data(), static_cast<int>(data.size())));
    }
    EXPECT_EQ(1, bzip.CloseWrite());
    std::string bytes = ReadFile(path);
    KwFile(Str(path)).Delete();
    return bytes;
}

inline std::string U32(unsigned int value)
{
    unsigned char bytes[4];
    KwPackageLayout::EncodeU32(value, bytes);
    return std::string(reinterpret_cast<char*>(bytes), 4);
}

// Builds launcher files with an archive appended, well-formed or not. Every
// field can be overridden to craft hostile archives.
struct ArchiveBuilder {
    struct Entry {
        std::string path;
        unsigned int type;
        unsigned int size;
    };

    std::string stub = "MZ-stub";
    std::string program = "Setup.exe";
    std::vector<Entry> entries;
    std::string payload;           // the decompressed stream content
    bool useRawStream = false;     // take rawStream instead of compressing payload
    std::string rawStream;
    bool overrideCount = false;
    unsigned int count = 0;
    bool overrideLength = false;
    unsigned int length = 0;
    bool overrideOffset = false;
    unsigned int offset = 0;

    // A file entry whose content is appended to the payload.
    ArchiveBuilder& File(const std::string& path, const std::string& content)
    {
        entries.push_back({path, 1, static_cast<unsigned int>(content.size())});
        payload += content;
        return *this;
    }
    ArchiveBuilder& Dir(const std::string& path)
    {
        entries.push_back({path, 2, 0});
        return *this;
    }
    ArchiveBuilder& Raw(const std::string& path, unsigned int type, unsigned int size)
    {
        entries.push_back({path, type, size});
        return *this;
    }

    std::string Stream(const TestFolder& folder) const
    {
        return useRawStream ? rawStream : Compress(folder, payload);
    }

    std::string Build(const TestFolder& folder) const
    {
        std::string stream = Stream(folder);
        std::string bytes = stub;
        bytes += program;
        bytes += '\0';
        bytes += U32(overrideCount ? count : static_cast<unsigned int>(entries.size()));
        for (const Entry& entry : entries) {
            bytes += entry.path;
            bytes += '\0';
            bytes += U32(entry.type);
            bytes += U32(entry.size);
        }
        bytes += U32(overrideLength ? length : static_cast<unsigned int>(stream.size()));
        bytes += stream;
        bytes += U32(overrideOffset ? offset : static_cast<unsigned int>(stub.size()));
        return bytes;
    }

    std::string WriteTo(const TestFolder& folder, const std::string& name) const
    {
        std::string path = folder.Path(name);
        EXPECT_TRUE(WriteFile(path, Build(folder)));
        return path;
    }
};

// Bytes that compress poorly, reproducible from the seed.
inline std::string NoiseBytes(size_t count, unsigned int seed)
{
    std::string bytes(count, '\0');
    unsigned int state = seed * 2654435761u + 1;
    for (size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(state >> 24);
    }
    return bytes;
}

} // namespace PackTest
} // namespace KwSDK

#endif
