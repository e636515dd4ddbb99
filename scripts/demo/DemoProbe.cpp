// demo-probe.exe: what the demo script cannot see from X11 alone, read from
// inside the Wine session.
//
//   demo-probe window <program.exe> <timeout ms>
//       waits for a visible top-level window of a process of that program
//       and prints its client area and its whole window on the screen:
//       "x y width height  x y width height"
//   demo-probe child <program.exe> <x> <y> <w> <h> <shown|hidden|enabled> <timeout ms>
//       waits until the child window of that window at the client place
//       (x, y, w, h) is shown, hidden or shown and enabled
//   demo-probe longpath <path>
//       prints the long form of a path (regsvr32 may register 8.3 names)
//   demo-probe link <file.lnk>
//       resolves a shortcut through the shell: prints "target=", "arguments=",
//       "icon=", "description=" and "workdir=" lines
//   demo-probe close <program.exe> <timeout ms>
//       waits for a visible top-level window of that program, asks it to
//       close (WM_CLOSE) and waits until the program has no such window
//
// Exit code 0 on success, 1 when the wait timed out or the link could not
// be read, 2 on a usage error.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct TopSearch {
    const char* program;
    HWND found;
};

bool ProcessIsProgram(DWORD pid, const char* program)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr)
        return false;
    char path[MAX_PATH * 2] = {0};
    DWORD size = sizeof path;
    bool match = false;
    if (QueryFullProcessImageNameA(process, 0, path, &size)) {
        const char* base = strrchr(path, '\\');
        base = base != nullptr ? base + 1 : path;
        match = _stricmp(base, program) == 0;
    }
    CloseHandle(process);
    return match;
}

BOOL CALLBACK NoteTopWindow(HWND window, LPARAM data)
{
    TopSearch* search = reinterpret_cast<TopSearch*>(data);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr)
        return TRUE;
    RECT client;
    if (!GetClientRect(window, &client) || client.right < 50 || client.bottom < 50)
        return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (!ProcessIsProgram(pid, search->program))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindTopWindow(const char* program)
{
    TopSearch search = {program, nullptr};
    EnumWindows(NoteTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    HWND parent;
    RECT place;
    HWND found;
    HWND visible;
};

BOOL CALLBACK NoteChild(HWND child, LPARAM data)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(data);
    if (GetParent(child) != search->parent)
        return TRUE;
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, search->parent, reinterpret_cast<POINT*>(&rect), 2);
    if (!EqualRect(&rect, &search->place))
        return TRUE;
    if (search->found == nullptr)
        search->found = child;
    if (search->visible == nullptr && IsWindowVisible(child))
        search->visible = child;
    return TRUE;
}

int Usage()
{
    fprintf(stderr, "usage: demo-probe window <program.exe> <timeout ms>\n"
                    "       demo-probe child <program.exe> <x> <y> <w> <h> "
                    "<shown|hidden|enabled> <timeout ms>\n"
                    "       demo-probe close <program.exe> <timeout ms>\n"
                    "       demo-probe longpath <path>\n"
                    "       demo-probe link <file.lnk>\n");
    return 2;
}

int WaitWindow(const char* program, DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindTopWindow(program);
        if (window != nullptr) {
            RECT client;
            GetClientRect(window, &client);
            POINT origin = {0, 0};
            ClientToScreen(window, &origin);
            RECT frame;
            GetWindowRect(window, &frame);
            printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", origin.x, origin.y, client.right,
                   client.bottom, frame.left, frame.top, frame.right - frame.left,
                   frame.bottom - frame.top);
            return 0;
        }
        if (GetTickCount() - start > timeout)
            return 1;
        Sleep(100);
    }
}

int WaitChild(const char* program, const RECT& place, const char* state, DWORD timeout)
{
    bool wantShown = strcmp(state, "hidden") != 0;
    bool wantEnabled = strcmp(state, "enabled") == 0;
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindTopWindow(program);
        if (window != nullptr) {
            ChildSearch search = {window, place, nullptr, nullptr};
            EnumChildWindows(window, NoteChild, reinterpret_cast<LPARAM>(&search));
            bool shown = search.visible != nullptr;
            bool ok = wantShown ? shown : search.found != nullptr && !shown;
            if (ok && wantEnabled)
                ok = IsWindowEnabled(search.visible) != FALSE;
            if (ok)
                return 0;
        }
        if (GetTickCount() - start > timeout)
            return 1;
        Sleep(100);
    }
}

int CloseWindow(const char* program, DWORD timeout)
{
    DWORD start = GetTickCount();
    bool asked = false;
    for (;;) {
        HWND window = FindTopWindow(program);
        if (window == nullptr && asked)
            return 0;
        if (window != nullptr) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            asked = true;
        }
        if (GetTickCount() - start > timeout)
            return 1;
        Sleep(200);
    }
}

int ResolveLink(const char* file)
{
    if (FAILED(CoInitialize(nullptr)))
        return 1;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return 1;
    int result = 1;
    IPersistFile* persist = nullptr;
    wchar_t name[MAX_PATH * 2] = {0};
    MultiByteToWideChar(CP_ACP, 0, file, -1, name, MAX_PATH * 2);
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        if (SUCCEEDED(persist->Load(name, STGM_READ))) {
            wchar_t text[MAX_PATH * 4];
            char utf8[MAX_PATH * 12];
            int icon = 0;
            auto put = [&](const char* key) {
                WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
                printf("%s=%s\n", key, utf8);
            };
            text[0] = 0;
            link->GetPath(text, MAX_PATH * 4, nullptr, SLGP_RAWPATH);
            put("target");
            text[0] = 0;
            link->GetArguments(text, MAX_PATH * 4);
            put("arguments");
            text[0] = 0;
            link->GetIconLocation(text, MAX_PATH * 4, &icon);
            put("icon");
            text[0] = 0;
            link->GetDescription(text, MAX_PATH * 4);
            put("description");
            text[0] = 0;
            link->GetWorkingDirectory(text, MAX_PATH * 4);
            put("workdir");
            result = 0;
        }
        persist->Release();
    }
    link->Release();
    CoUninitialize();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string command = argv[1];
    int rc = 2;
    if (command == "window" && argc == 4) {
        rc = WaitWindow(argv[2], static_cast<DWORD>(strtoul(argv[3], nullptr, 10)));
    } else if (command == "child" && argc == 9) {
        RECT place;
        place.left = atoi(argv[3]);
        place.top = atoi(argv[4]);
        place.right = place.left + atoi(argv[5]);
        place.bottom = place.top + atoi(argv[6]);
        rc = WaitChild(argv[2], place, argv[7], static_cast<DWORD>(strtoul(argv[8], nullptr, 10)));
    } else if (command == "close" && argc == 4) {
        rc = CloseWindow(argv[2], static_cast<DWORD>(strtoul(argv[3], nullptr, 10)));
    } else if (command == "longpath" && argc == 3) {
        char path[MAX_PATH * 2] = {0};
        DWORD length = GetLongPathNameA(argv[2], path, sizeof path);
        rc = length > 0 && length < sizeof path ? 0 : 1;
        if (rc == 0)
            printf("%s\n", path);
    } else if (command == "link" && argc == 3) {
        rc = ResolveLink(argv[2]);
    } else {
        return Usage();
    }
    fflush(stdout);
    return rc;
}
