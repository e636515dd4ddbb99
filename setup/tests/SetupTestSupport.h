// Helpers shared by the installer's tests: paths of the test package and the
// built programs, scratch folders, child processes, and registry keys that
// are saved before a test changes them and put back afterwards.
#ifndef SETUP_TESTS_SETUPTESTSUPPORT_H
#define SETUP_TESTS_SETUPTESTSUPPORT_H

#include "KwString.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace SetupTest {

// A build path as this process sees it: a host path "/x/y" becomes "Z:\x\y"
// (the drive through which Wine shows the host's file system).
std::string WindowsPath(const char* path);

// The test package folder, with a trailing backslash.
std::string PackageFolder();

// The full path of the running test program.
std::string OwnProgramPath();

// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
int WriteFileBytes(const std::string& path, const std::string& bytes);
int CopyOneFile(const std::string& from, const std::string& to);

// A fresh, empty folder below the temporary folder, removed with its content
// when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* label);
    ~ScratchFolder();
    // The folder without a trailing backslash.
    const std::string& Path() const { return m_path; }
    // Path + "\" + relative; folders on the way are made.
    std::string MakeSubfolder(const std::string& relative) const;

private:
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string m_path;
};

// Copies the test package's top-level files (not the payload tree) into a
// folder, leaving out one file name when given.
void CopyPackageFiles(const std::string& folder, const char* leaveOut);

// Polls a condition every 50 ms until it holds or the time (ms) is up.
template <class Condition>
bool WaitFor(Condition condition, DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeout)
            return false;
        Sleep(50);
    }
}

// Starts a program and answers its process handle (null on failure).
HANDLE StartProcess(const std::string& commandLine);

// Runs a program to its end; answers its exit code, or -1 when it could not
// be started or did not end in time (it is then ended).
long RunToEnd(const std::string& commandLine, DWORD timeout);

// The ids of the running processes whose executable name equals name,
// ignoring case.
std::vector<DWORD> ProcessesNamed(const char* name);

// Ends a process started by a test.
void EndProcessById(DWORD processId);

// Sets an environment variable of this process for the lifetime of the
// object (children started meanwhile inherit it), then puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value);
    ~ScopedVariable();

private:
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    std::string m_name;
    std::string m_old;
    bool m_hadOld;
};

// Serialises the tests that change the registry across the test processes
// that ctest runs side by side.
class RegistryLock {
public:
    RegistryLock();
    ~RegistryLock();

private:
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;
    HANDLE m_mutex;
};

// One registry key with its values and subkeys.
struct RegistryTree {
    struct Value {
        std::string name;
        DWORD type;
        std::string data;
        bool operator==(const Value& other) const
        {
            return name == other.name && type == other.type && data == other.data;
        }
    };
    bool exists = false;
    std::vector<Value> values;
    std::vector<std::pair<std::string, RegistryTree>> children;
    bool operator==(const RegistryTree& other) const
    {
        return exists == other.exists && values == other.values && children == other.children;
    }
};

RegistryTree CaptureKey(HKEY root, const std::string& path);
// Deletes a key with everything below it; true when it is gone.
bool DeleteKeyTree(HKEY root, const std::string& path);
// Deletes the key, then writes the captured tree back (nothing when the
// captured key did not exist).
void RestoreKey(HKEY root, const std::string& path, const RegistryTree& tree);

// Saves a key when made and puts it back exactly when the object goes; keys
// above it that did not exist then are removed again.
class SavedKey {
public:
    SavedKey(HKEY root, const std::string& path);
    ~SavedKey();

private:
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;
    HKEY m_root;
    std::string m_path;
    RegistryTree m_tree;
    std::string m_firstMissing;
};

// A string value; found tells whether it exists as a string.
std::string ReadRegistryString(HKEY root, const std::string& path, const char* name, bool* found);
bool RegistryKeyExists(HKEY root, const std::string& path);
bool WriteRegistryString(HKEY root, const std::string& path, const char* name, const std::string& data);

} // namespace SetupTest

#endif
