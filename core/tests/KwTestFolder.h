// A fresh scratch folder in the current folder for one test, removed afterwards.
#ifndef KWSDK_TESTS_KWTESTFOLDER_H
#define KWSDK_TESTS_KWTESTFOLDER_H

#include "KwFile.h"
#include "KwFileStream.h"
#include "KwString.h"

#include <gtest/gtest.h>

namespace KwSDK {

// Named after the running test so that tests in parallel processes never share it.
class KwTestFolder {
public:
    KwTestFolder()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path.Format("kwtest_%s_%s", info->test_suite_name(), info->name());
        KwFile folder(m_path);
        folder.DeleteTree();
        EXPECT_EQ(1, folder.MakeFolder());
    }
    ~KwTestFolder()
    {
        KwFile folder(m_path);
        EXPECT_EQ(1, folder.DeleteTree());
    }
    KwTestFolder(const KwTestFolder&) = delete;
    KwTestFolder& operator=(const KwTestFolder&) = delete;

    const KwString& Path() const { return m_path; }
    KwString Path(const char* name) const { return m_path + "\\" + name; }

    // Writes the bytes as the whole content of a file in the folder.
    KwString Write(const char* name, const char* bytes, int count) const
    {
        KwString path = Path(name);
        KwFileStream stream;
        EXPECT_EQ(1, stream.Open(path, KW_MODE_WRITE));
        if (count > 0) {
            EXPECT_EQ(count, stream.Write(bytes, count));
        }
        EXPECT_EQ(1, stream.Close());
        return path;
    }

    // The whole content of a file, or "<missing>" when it cannot be opened.
    static KwString Read(const KwString& path)
    {
        KwFileStream stream;
        if (!stream.Open(path, KW_MODE_READ))
            return KwString("<missing>");
        KwString content;
        char chunk[257];
        int got;
        while ((got = stream.Read(chunk, 256)) > 0) {
            chunk[got] = 0;
            content.Append(chunk);
        }
        return content;
    }

private:
    KwString m_path;
};

} // namespace KwSDK

#endif
