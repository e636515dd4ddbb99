// A fresh scratch folder in the current folder for one core test, with paths
// and contents as KwString, removed afterwards.
#ifndef KWSDK_TESTS_KWTESTFOLDER_H
#define KWSDK_TESTS_KWTESTFOLDER_H

#include "KwString.h"
#include "KwTestSupport.h"

#include <gtest/gtest.h>

namespace KwSDK {

// Named "kwtest_<suite>_<test>" after the running test; a folder that cannot
// be removed afterwards fails the test.
class KwTestFolder {
public:
    KwTestFolder() : m_folder("kwtest"), m_path(KwTest::Str(m_folder.Path())) {}
    ~KwTestFolder() { EXPECT_EQ(1, m_folder.Remove()); }
    KwTestFolder(const KwTestFolder&) = delete;
    KwTestFolder& operator=(const KwTestFolder&) = delete;

    const KwString& Path() const { return m_path; }
    KwString Path(const char* name) const { return KwTest::Str(m_folder.Path(name)); }

    // Writes the bytes as the whole content of a file in the folder.
    KwString Write(const char* name, const char* bytes, int count) const
    {
        std::string path = m_folder.Path(name);
        EXPECT_TRUE(KwTest::WriteFile(path, std::string(bytes, static_cast<size_t>(count > 0 ? count : 0))))
            << path;
        return KwTest::Str(path);
    }

    // The whole content of a file, or "<missing>" when it cannot be opened.
    static KwString Read(const KwString& path) { return KwTest::Str(KwTest::ReadFile(KwTest::Std(path))); }

private:
    KwTest::ScratchFolder m_folder;
    KwString m_path;
};

} // namespace KwSDK

#endif
