// Helpers shared by the installer's tests.
#include "SetupTestSupport.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

namespace SetupTest {

std::string PackageFolder()
{
    return KwSDK::KwTest::WinePath(CARTON_SETUP_TEST_PACKAGE) + "\\";
}

std::string OwnProgramPath()
{
    char buffer[MAX_PATH + 1] = {0};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return buffer;
}

int CopyOneFile(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) ? 1 : 0;
}

// Removes a folder and everything in it.
static void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

ScratchFolder::ScratchFolder(const char* label)
{
    static int serial = 0;
    char temp[MAX_PATH + 1] = {0};
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH + 64];
    snprintf(name, sizeof name, "%scarton-%s-%lu-%d", temp, label, GetCurrentProcessId(), ++serial);
    m_path = name;
    RemoveTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(m_path);
}

std::string ScratchFolder::MakeSubfolder(const std::string& relative) const
{
    std::string path = m_path;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('\\', start);
        if (end == std::string::npos)
            end = relative.size();
        path += "\\" + relative.substr(start, end - start);
        CreateDirectoryA(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

void CopyPackageFiles(const std::string& folder, const char* leaveOut)
{
    static const char* const files[] = {"setup_cn.properties", "setup_en.properties", "license_cn.txt",
                                        "license_en.txt", "setup.reg", "logo_cn.png",
                                        "logo_en.png", "banner_cn.png", "banner_en.png",
                                        "finish_cn.png", "finish_en.png"};
    for (const char* name : files) {
        if (leaveOut && strcmp(leaveOut, name) == 0)
            continue;
        CopyOneFile(PackageFolder() + name, folder + "\\" + name);
    }
}

std::vector<DWORD> ProcessesNamed(const char* name)
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32 entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, name) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ids;
}

void EndProcessById(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process)
        return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

RegistryLock::RegistryLock() : m_mutex(CreateMutexA(nullptr, FALSE, "CartonSetupRegistryTests"))
{
    // An abandoned mutex (a test process that died holding it) is ours as well.
    if (m_mutex)
        WaitForSingleObject(m_mutex, 120000);
}

RegistryLock::~RegistryLock()
{
    if (m_mutex) {
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }
}

static void CaptureValues(HKEY key, RegistryTree& tree)
{
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::string data(size, '\0');
        nameLength = sizeof name;
        RegEnumValueA(key, index, name, &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &size);
        data.resize(size);
        tree.values.push_back({std::string(name, nameLength), type, data});
    }
}

static std::vector<std::string> SubkeyNames(HKEY key)
{
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(std::string(name, length));
    }
    return names;
}

RegistryTree CaptureKey(HKEY root, const std::string& path)
{
    RegistryTree tree;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return tree;
    tree.exists = true;
    CaptureValues(key, tree);
    for (const std::string& name : SubkeyNames(key))
        tree.children.push_back({name, CaptureKey(root, path + "\\" + name)});
    RegCloseKey(key);
    return tree;
}

bool DeleteKeyTree(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return true;
    std::vector<std::string> names = SubkeyNames(key);
    RegCloseKey(key);
    for (const std::string& name : names)
        DeleteKeyTree(root, path + "\\" + name);
    RegDeleteKeyA(root, path.c_str());
    return !RegistryKeyExists(root, path);
}

static void WriteTree(HKEY root, const std::string& path, const RegistryTree& tree)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return;
    for (const RegistryTree::Value& value : tree.values) {
        RegSetValueExA(key, value.name.empty() ? nullptr : value.name.c_str(), 0, value.type,
                       reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
    }
    RegCloseKey(key);
    for (const auto& child : tree.children)
        WriteTree(root, path + "\\" + child.first, child.second);
}

void RestoreKey(HKEY root, const std::string& path, const RegistryTree& tree)
{
    DeleteKeyTree(root, path);
    if (tree.exists)
        WriteTree(root, path, tree);
}

// The outermost key on the way to path that does not exist yet; empty when
// path exists.
static std::string FirstMissingKey(HKEY root, const std::string& path)
{
    std::string missing;
    std::string key = path;
    while (!key.empty() && !RegistryKeyExists(root, key)) {
        missing = key;
        size_t slash = key.rfind('\\');
        key = slash == std::string::npos ? std::string() : key.substr(0, slash);
    }
    return missing;
}

SavedKey::SavedKey(HKEY root, const std::string& path)
    : m_root(root), m_path(path), m_tree(CaptureKey(root, path)), m_firstMissing(FirstMissingKey(root, path))
{
}

SavedKey::~SavedKey()
{
    RestoreKey(m_root, m_path, m_tree);
    // Keys that the test made on the way to this one go as well.
    if (!m_firstMissing.empty())
        DeleteKeyTree(m_root, m_firstMissing);
}

std::string ReadRegistryString(HKEY root, const std::string& path, const char* name, bool* found)
{
    *found = false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    char buffer[4096] = {0};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    std::string text;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS
        && type == REG_SZ) {
        *found = true;
        text = buffer;
    }
    RegCloseKey(key);
    return text;
}

bool RegistryKeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool WriteRegistryString(HKEY root, const std::string& path, const char* name, const std::string& data)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace SetupTest
