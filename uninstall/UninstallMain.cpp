// uninstall.exe: removes the product installed in the folder it runs from,
// as the install's logs next to it describe it.
//
//   uninstall.exe              asks first, names what it could not remove
//   uninstall.exe /S [/LOG=F]  asks nothing; one line per step into F
//
// Exit codes: 0 removed, 1 cancelled, 2 no usable install log, 3 something
// could not be removed (run it again once it is free).
#include "KwString.h"
#include "UninstallPath.h"
#include "UninstallTexts.h"
#include "Uninstaller.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace KwSDK;

namespace {

enum ExitCode { EXIT_REMOVED = 0, EXIT_CANCELLED = 1, EXIT_NO_LOG = 2, EXIT_LEFT_OVER = 3 };

struct OPTIONS {
    int silent = 0;
    KwString logFile;
    // The copy's part: the handle of the process to wait for, the program
    // and the product folder to remove afterwards.
    int clean = 0;
    HANDLE waitFor = nullptr;
    KwString program;
    KwString folder;
    int restart = 0;
};

int StartsWith(const char* text, const char* prefix)
{
    return _strnicmp(text, prefix, strlen(prefix)) == 0;
}

OPTIONS ReadOptions(int count, char** arguments)
{
    OPTIONS options;
    int positional = 0;
    for (int index = 1; index < count; ++index) {
        const char* argument = arguments[index];
        if (_stricmp(argument, "/S") == 0) {
            options.silent = 1;
        } else if (StartsWith(argument, "/LOG=")) {
            options.logFile = argument + 5;
        } else if (StartsWith(argument, "/_CLEAN=")) {
            options.clean = 1;
            options.waitFor = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(strtoull(argument + 8, nullptr, 10)));
        } else if (_stricmp(argument, "/_RESTART") == 0) {
            options.restart = 1;
        } else if (options.clean && positional == 0) {
            options.program = argument;
            ++positional;
        } else if (options.clean && positional == 1) {
            options.folder = argument;
            ++positional;
        }
    }
    return options;
}

KwString OwnPath()
{
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? KwString(buffer, static_cast<int>(length)) : KwString();
}

int Ask(const UninstallTexts& texts, UninstallTexts::Text text, const KwString& name, UINT style)
{
    return MessageBoxA(nullptr, texts.Get(text, name).GetText(), texts.Get(UninstallTexts::CAPTION, name).GetText(),
                       style | MB_SETFOREGROUND);
}

// The in-use message: the text, then one removed path per line.
void ShowLeftOver(const UninstallTexts& texts, const KwString& name, TKwList<KwString>& failures)
{
    KwString message = texts.Get(UninstallTexts::IN_USE, name) + "\n";
    for (int more = failures.MoveFirst(); more; more = failures.MoveNext())
        message = message + "\n" + *failures.GetAt();
    MessageBoxA(nullptr, message.GetText(), texts.Get(UninstallTexts::CAPTION, name).GetText(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

int RunUninstall(const OPTIONS& options)
{
    Uninstaller uninstaller;
    if (options.logFile.GetLength() > 0)
        uninstaller.OpenLog(options.logFile);
    KwString ownPath = OwnPath();
    int loaded = uninstaller.Load(ownPath);
    UninstallTexts texts;
    texts.Choose(loaded ? uninstaller.GetRecordedLanguage() : KwString(), GetACP(),
                 UninstallPath::Parent(ownPath) + "\\");
    KwString name = loaded ? uninstaller.GetDisplayName() : UninstallPath::LastName(UninstallPath::Parent(ownPath));
    if (!loaded) {
        if (!options.silent)
            Ask(texts, UninstallTexts::NO_LOG, name, MB_OK | MB_ICONERROR);
        return EXIT_NO_LOG;
    }
    if (!options.silent && Ask(texts, UninstallTexts::CONFIRM, name, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        uninstaller.Log("Cancelled");
        return EXIT_CANCELLED;
    }
    // The product folder must not be this process's current folder, or it
    // could not be removed.
    char temporary[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temporary);
    if (length > 0 && length < MAX_PATH)
        SetCurrentDirectoryA(temporary);
    if (!uninstaller.Run()) {
        uninstaller.Log("Finished with files left over");
        if (!options.silent)
            ShowLeftOver(texts, name, uninstaller.GetFailures());
        return EXIT_LEFT_OVER;
    }
    uninstaller.RemoveOwnFiles();
    uninstaller.Log("Finished");
    uninstaller.CloseLog();
    if (!options.silent)
        Ask(texts, UninstallTexts::DONE, name, MB_OK | MB_ICONINFORMATION);
    Uninstaller::StartSelfRemoval(UninstallPath::Normalize(ownPath), uninstaller.GetProductFolder());
    return EXIT_REMOVED;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    OPTIONS options = ReadOptions(__argc, __argv);
    if (options.clean)
        return Uninstaller::FinishSelfRemoval(options.waitFor, options.program, options.folder, options.restart) ? 0 : 1;
    return RunUninstall(options);
}
