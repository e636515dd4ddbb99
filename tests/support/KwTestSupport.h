// Helpers shared by the subsystems' tests: text conversions, host paths as
// Wine shows them, whole-file reads and writes, scratch folders, folder
// snapshots, the Chinese code page check and, on Windows, child programs and
// environment variables.
#ifndef KWSDK_TESTS_KWTESTSUPPORT_H
#define KWSDK_TESTS_KWTESTSUPPORT_H

#include "KwFile.h"
#include "KwFileStream.h"
#include "KwString.h"
#include "TKwList.h"

#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

namespace KwSDK {
namespace KwTest {

inline KwString Str(const std::string& text)
{
    return KwString(text.data(), static_cast<int>(text.size()));
}

inline std::string Std(const KwString& text)
{
    return text.GetText() ? std::string(text.GetText(), static_cast<size_t>(text.GetLength())) : std::string();
}

// A path handed over by the build as this process sees it. Under Wine the
// host's root is drive Z:, so "/x/y" becomes "Z:\x\y"; every slash turns
// into a backslash.
inline std::string WinePath(const char* hostPath)
{
    std::string path(hostPath);
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& ch : path) {
        if (ch == '/')
            ch = '\\';
    }
    return path;
}

// Writes the bytes as the whole content of a file; false when it fails.
inline bool WriteFile(const std::string& path, const std::string& bytes)
{
    KwFileStream stream;
    if (!stream.Open(Str(path), KW_MODE_WRITE))
        return false;
    int count = static_cast<int>(bytes.size());
    bool written = count == 0 || stream.Write(bytes.data(), count) == count;
    return stream.Close() == 1 && written;
}

// Reads the whole content of a file; false when it cannot be opened.
inline bool ReadFile(const std::string& path, std::string* bytes)
{
    bytes->clear();
    KwFileStream stream;
    if (!stream.Open(Str(path), KW_MODE_READ))
        return false;
    char chunk[4096];
    int got;
    while ((got = stream.Read(chunk, sizeof chunk)) > 0)
        bytes->append(chunk, static_cast<size_t>(got));
    return true;
}

// The whole content of a file, or "<missing>" when it cannot be opened.
inline std::string ReadFile(const std::string& path)
{
    std::string bytes;
    return ReadFile(path, &bytes) ? bytes : std::string("<missing>");
}

inline bool Exists(const std::string& path)
{
    return KwFile(Str(path)).Exists() == 1;
}

// A fresh folder in the current folder named "<prefix>_<suite>_<test>" after
// the running test, so that test processes running side by side never share
// one; removed with its content when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* prefix)
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::string(prefix) + "_" + info->test_suite_name() + "_" + info->name();
        KwFile folder(Str(m_path));
        folder.DeleteTree();
        EXPECT_EQ(1, folder.MakeFolder()) << m_path;
    }
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Removes the folder now; 1 when it is gone.
    int Remove() const { return KwFile(Str(m_path)).DeleteTree(); }

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

// A folder tree by relative path with backslashes, each starting with one:
// a file maps to its content, a folder to "<dir>".
typedef std::map<std::string, std::string> Tree;

// Builds the tree under root; folders come before their entries because the
// map orders a folder's path before the paths below it.
inline void MakeTree(const std::string& root, const Tree& tree)
{
    for (const auto& entry : tree) {
        std::string path = root + entry.first;
        if (entry.second == "<dir>") {
            EXPECT_EQ(1, KwFile(Str(path)).MakeFolder()) << path;
        } else {
            EXPECT_TRUE(WriteFile(path, entry.second)) << path;
        }
    }
}

// Adds every entry below a folder to tree, each key starting with relative.
inline void Snapshot(const std::string& folder, const std::string& relative, Tree* tree)
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

// Every entry below a folder.
inline Tree Snapshot(const std::string& folder)
{
    Tree tree;
    Snapshot(folder, "", &tree);
    return tree;
}

// Succeeds when this process runs under the Chinese code page: on Windows
// the build starts it so, elsewhere the test switches the C locale to GBK.
inline ::testing::AssertionResult UsesChineseCodePage()
{
#ifdef _WIN32
    if (GetACP() == 936u)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the code page is " << GetACP() << ", not 936";
#else
    if (setlocale(LC_ALL, "zh_CN.GBK") != nullptr)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the locale zh_CN.GBK is missing";
#endif
}

#ifdef _WIN32
// Starts a program with the command line as given; folder (when not null)
// is its current folder, and out and err (when not null) are inherited as
// its standard output and error. Answers its process handle, null on failure.
inline HANDLE StartProgram(const std::string& commandLine, const char* folder = nullptr,
                           HANDLE out = nullptr, HANDLE err = nullptr)
{
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    BOOL inherit = out || err ? TRUE : FALSE;
    if (inherit) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = err;
    }
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, inherit, 0, nullptr, folder, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Waits for a started program and closes its handle. Answers its exit code,
// or -1 when it did not end within timeout milliseconds (it is then ended).
inline long FinishProgram(HANDLE process, DWORD timeout)
{
    long result = -1;
    if (WaitForSingleObject(process, timeout) == WAIT_OBJECT_0) {
        DWORD code = 0;
        if (GetExitCodeProcess(process, &code))
            result = static_cast<long>(code);
    } else {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
    return result;
}

// Runs a program to its end; answers its exit code, or -1 when it could not
// be started or did not end within timeout milliseconds (it is then ended).
inline long RunToEnd(const std::string& commandLine, DWORD timeout)
{
    HANDLE process = StartProgram(commandLine);
    return process ? FinishProgram(process, timeout) : -1;
}

// Sets an environment variable of this process while the object lives
// (programs started meanwhile inherit it), then puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        char old[4096];
        DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
        m_hadOld = length > 0 && length < sizeof old;
        if (m_hadOld)
            m_old.assign(old, length);
        SetEnvironmentVariableA(name, value);
    }
    ScopedVariable(const char* name, const std::string& value) : ScopedVariable(name, value.c_str()) {}
    ~ScopedVariable() { SetEnvironmentVariableA(m_name.c_str(), m_hadOld ? m_old.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_hadOld;
};
#endif

} // namespace KwTest
} // namespace KwSDK

#endif
