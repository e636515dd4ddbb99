// Helpers for the installer's tests, beside the shared test support: paths
// of the test package and the built programs, scratch folders below the
// temporary folder, processes by name, and registry keys that are saved
// before a test changes them and put back afterwards.
#ifndef SETUP_TESTS_SETUPTESTSUPPORT_H
#define SETUP_TESTS_SETUPTESTSUPPORT_H

#include "KwString.h"
#include "KwTestSupport.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace SetupTest {

// The test package folder, with a trailing backslash.
std::string PackageFolder();

// The full path of the running test program.
std::string OwnProgramPath();

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

// The ids of the running processes whose executable name equals name,
// ignoring case.
std::vector<DWORD> ProcessesNamed(const char* name);

// Ends a process started by a test.
void EndProcessById(DWORD processId);

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

// Copies of the test program started by tests run one of these helpers
// instead of the tests (see SetupTestMain.cpp); each answers the exit code.
// The sleeper stays for half a minute; the associations helper runs the
// associations of one type as an installer on another system version would.
int RunSleeperHelper();
int RunAssociationsHelper();

// The argument that starts the associations helper.
const char kAssociationsHelperArgument[] = "--carton-helper=associate";
// The variable that, set, makes a started copy a sleeper.
const char kSleeperVariable[] = "CARTON_SETUP_SLEEPER";

} // namespace SetupTest

#endif
