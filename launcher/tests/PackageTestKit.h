// Helpers for the package tests: scratch folders, whole-file reads and
// writes, bzip2 data, a builder of crafted archives and a tree snapshot.
#ifndef KWSDK_TESTS_PACKAGETESTKIT_H
#define KWSDK_TESTS_PACKAGETESTKIT_H

#include "KwBZip.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwPackageLayout.h"
#include "KwString.h"
#include "TKwList.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace KwSDK {
namespace PackTest {

inline KwString Str(const std::string& text)
{
    return KwString(text.data(), static_cast<int>(text.size()));
}

inline std::string Std(const KwString& text)
{
    return text.GetText() ? std::string(text.GetText(), text.GetLength()) : std::string();
}

// Writes the bytes as the whole content of a file; false when it fails.
inline bool WriteFile(const std::string& path, const std::string& bytes)
{
    KwFileStream stream;
    if (!stream.Open(Str(path), KW_MODE_WRITE))
        return false;
    int count = static_cast<int>(bytes.size());
    bool ok = count == 0 || stream.Write(bytes.data(), count) == count;
    return stream.Close() == 1 && ok;
}

// The whole content of a file, or "<missing>" when it cannot be opened.
inline std::string ReadFile(const std::string& path)
{
    KwFileStream stream;
    if (!stream.Open(Str(path), KW_MODE_READ))
        return "<missing>";
    std::string content;
    char chunk[4096];
    int got;
    while ((got = stream.Read(chunk, sizeof chunk)) > 0)
        content.append(chunk, got);
    return content;
}

inline bool Exists(const std::string& path)
{
    return KwFile(Str(path)).Exists() == 1;
}

// A fresh folder in the current folder named after the running test (so that
// tests in parallel processes never share one), removed afterwards.
class TestFolder {
public:
    TestFolder()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::string("pktest_") + info->test_suite_name() + "_" + info->name();
        KwFile folder(Str(m_path));
        folder.DeleteTree();
        EXPECT_EQ(1, folder.MakeFolder());
    }
    ~TestFolder() { KwFile(Str(m_path)).DeleteTree(); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // A path inside the folder; name uses backslashes.
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    // Makes a sub-folder (one level) and answers its path.
    std::string Folder(const std::string& name) const
    {
        std::string path = Path(name);
        EXPECT_EQ(1, KwFile(Str(path)).MakeFolder()) << path;
        return path;
    }

private:
    std::string m_path;
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

// Every entry under a folder, by relative path with backslashes: a file maps
// to its content, a folder to "<dir>".
inline void Snapshot(const std::string& folder, const std::string& relative,
                     std::map<std::string, std::string>* tree)
{
    TKwList<KwString> names;
    KwFile(Str(folder)).ListNames(&names);
    for (int more = names.MoveFirst(); more; more = names.MoveNext()) {
        KwFile entry(*names.GetAt());
        std::string name = Std(entry.GetName());
        std::string path = folder + "\\" + name;
        std::string key = relative + "\\" + name;
        if (entry.IsFolder()) {
            (*tree)[key] = "<dir>";
            Snapshot(path, key, tree);
        } else {
            (*tree)[key] = ReadFile(path);
        }
    }
}

inline std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> tree;
    Snapshot(folder, "", &tree);
    return tree;
}

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
