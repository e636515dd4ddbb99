// The wizard's install speed against a plain copy of the same tree, the
// longest timer tick of the install, and the message loop's throughput.
// Run under Wine by hand (scripts/wine-run.sh); it is not a test.
//
//   setup_install_bench.exe <test package folder> files|big|messages
//
// "files": 2,000 files of 1 to 20 KB; "big": one 200 MB file; both report
// the plain copy's time, the wizard's time from the install click to the
// file-link page, and the longest tick. "messages": 10,000 posted messages
// drained through the toolkit's loop.
#include "ImplKwImageGraphics.h"
#include "KwFile.h"
#include "KwButton.h"
#include "Setup.h"
#include "SetupConfig.h"
#include "WizardDriver.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace KwSDK;

namespace {

double NowMs()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

void CopyFolderFiles(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyFolderFiles(from + "\\" + name, to + "\\" + name);
        else
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RemoveFolder(const std::string& folder)
{
    KwSDK::KwFile(folder.c_str()).DeleteTree();
}

// The wizard with a stopwatch on its timer and on the install click.
class TimedSetup : public Setup {
public:
    int OnTimer() override
    {
        double start = NowMs();
        int answer = Setup::OnTimer();
        double end = NowMs();
        tickEnds.push_back(end);
        tickTimes.push_back(end - start);
        ++ticks;
        if (GetPage() == PAGE_FILE_LINKS && finished == 0.0)
            finished = NowMs();
        return answer;
    }
    int ActionPerformed(KwObject* source, int id, intptr_t param) override
    {
        if (id == EVT_BUTTON_ACTION && GetPage() == PAGE_FOLDER && started == 0.0)
            started = NowMs();
        return Setup::ActionPerformed(source, id, param);
    }
    using Setup::OnTimer;

    double started = 0.0;
    double finished = 0.0;
    std::vector<double> tickEnds;
    std::vector<double> tickTimes;
    int ticks = 0;

    // The last three ticks run the steps after the copy (shortcuts and log,
    // registry import, registration), each starting a program or writing
    // several files; the ones before them copy.
    double LongestCopyTick() const
    {
        double longest = 0.0;
        for (size_t i = 0; i + 3 < tickTimes.size(); ++i)
            longest = tickTimes[i] > longest ? tickTimes[i] : longest;
        return longest;
    }
    double CopyEnd() const { return tickEnds.size() >= 4 ? tickEnds[tickEnds.size() - 4] : finished; }
    std::string FinalTicks() const
    {
        std::string text;
        for (size_t i = tickTimes.size() >= 3 ? tickTimes.size() - 3 : 0; i < tickTimes.size(); ++i)
            text += std::to_string(static_cast<int>(tickTimes[i])) + " ms ";
        return text;
    }
};

int RunInstall(const std::string& packageSource, bool big)
{
    char temp[MAX_PATH + 1] = {0};
    GetTempPathA(MAX_PATH, temp);
    std::string root = std::string(temp) + "carton-install-bench";
    RemoveFolder(root);
    CreateDirectoryA(root.c_str(), nullptr);
    std::string package = root + "\\package";
    CopyFolderFiles(packageSource, package);
    std::string many = package + "\\Brindle\\Lumo\\bench";
    CreateDirectoryA(many.c_str(), nullptr);
    if (big) {
        std::string bytes(200u << 20, '\0');
        for (size_t i = 0; i < bytes.size(); i += 4096)
            bytes[i] = static_cast<char>(i >> 12);
        WriteBytes(many + "\\big.bin", bytes);
    } else {
        for (int i = 0; i < 2000; ++i) {
            size_t size = 1024 + static_cast<size_t>(i * 7919 % 19457);
            WriteBytes(many + "\\f" + std::to_string(i) + ".dat", std::string(size, static_cast<char>('a' + i % 26)));
        }
    }

    double copyStart = NowMs();
    CopyFolderFiles(package + "\\Brindle", root + "\\plain");
    double plainCopy = NowMs() - copyStart;

    std::string programFiles = root + "\\programs";
    CreateDirectoryA(programFiles.c_str(), nullptr);
    CreateDirectoryA((programFiles + "\\Brindle").c_str(), nullptr);
    SetEnvironmentVariableA("ProgramFiles", programFiles.c_str());
    ImplKwImageGraphics::InstallHooks();
    if (!LoadConfigurationFrom(KwString((package + "\\").c_str()))) {
        fprintf(stderr, "cannot load the package at %s\n", package.c_str());
        return 1;
    }
    TimedSetup* wizard = new TimedSetup();
    wizard->AddRef();
    std::thread driverThread([wizard] {
        HWND window = nullptr;
        for (int i = 0; i < 3000 && window == nullptr; ++i) {
            Sleep(20);
            KWNATIVEHANDLES handles = {nullptr, nullptr};
            wizard->GetNativeHandles(&handles);
            window = handles.hWnd;
        }
        SetupTest::WizardDriver driver(window);
        driver.Click(SetupTest::kNext);
        driver.WaitShown(SetupTest::kAgree, 5000);
        driver.Click(SetupTest::kAgree);
        driver.WaitEnabled(SetupTest::kNext, true, 5000);
        driver.Click(SetupTest::kNext);
        driver.WaitShown(SetupTest::kFolderField, 5000);
        driver.Click(SetupTest::kNext);
        driver.WaitShown(SetupTest::kTiffBox, 600000);
        PostMessageA(window, WM_QUIT, 0, 0);
    });
    wizard->Create(GetModuleHandleA(nullptr), nullptr);
    driverThread.join();
    double install = wizard->finished - wizard->started;
    double copy = wizard->CopyEnd() - wizard->started;
    printf("%s: plain copy %.0f ms; wizard: install click to page 5 %.0f ms (%.2f x), of which "
           "copying %.0f ms (%.2f x); %d ticks, longest copy tick %.1f ms, final step ticks %s\n",
           big ? "one 200 MB file" : "2,000 files of 1-20 KB", plainCopy, install,
           install / plainCopy, copy, copy / plainCopy, wizard->ticks, wizard->LongestCopyTick(),
           wizard->FinalTicks().c_str());
    wizard->Release();
    RemoveFolder(root);
    return 0;
}

// Posts messages to itself and counts them as the loop delivers them.
class MessageCounter : public KwWindow {
public:
    static const int kCount = 10000;
    static const int kMessage = WM_APP + 7;

    void OnAfterCreate() override
    {
        KwWindow::OnAfterCreate();
        KWNATIVEHANDLES handles = {nullptr, nullptr};
        GetNativeHandles(&handles);
        double posting = NowMs();
        for (int i = 0; i < kCount; ++i)
            PostMessageA(handles.hWnd, kMessage, 0, 0);
        started = NowMs();
        postTime = started - posting;
    }
    int OnMessage(int message, int wParam, int lParam) override
    {
        if (message == kMessage && ++count == kCount) {
            finished = NowMs();
            Quit();
        }
        return KwWindow::OnMessage(message, wParam, lParam);
    }
    using KwWindow::OnMessage;

    int count = 0;
    double postTime = 0.0;
    double started = 0.0;
    double finished = 0.0;
};

int RunMessages()
{
    MessageCounter* window = new MessageCounter();
    window->AddRef();
    window->SetBounds(10, 10, 100, 80, 0);
    window->Create(GetModuleHandleA(nullptr), nullptr);
    printf("%d messages posted in %.1f ms, drained through the loop in %.1f ms\n", window->count,
           window->postTime, window->finished - window->started);
    window->Release();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: setup_install_bench <test package folder> files|big|messages\n");
        return 2;
    }
    if (strcmp(argv[2], "messages") == 0)
        return RunMessages();
    return RunInstall(argv[1], strcmp(argv[2], "big") == 0);
}
