// Shared pieces of the component tests: an event log, recording listeners
// and components, a message pump, a loop watchdog, a window that runs test
// steps from its own message loop, and reading a window's pixels back.
#ifndef KWSDK_COMPONENTTESTSUPPORT_H
#define KWSDK_COMPONENTTESTSUPPORT_H

#include "ImplKwComponent.h"
#include "KwComponent.h"
#include "KwWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace KwSDK {
namespace Testing {

inline HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

inline HWND WindowOf(KwComponent* component)
{
    KWNATIVEHANDLES handles = {nullptr, nullptr};
    component->GetNativeHandles(&handles);
    return handles.hWnd;
}

// Makes the component's window and shows it without activating it. Under
// Wine a top-level window shown with activation is handed to the X window
// manager, and destroying it then waits two seconds for a window manager
// that the test display does not have.
inline int CreateShown(KwComponent* component, ImplKwComponent* parent = nullptr)
{
    component->Hide();
    int created = component->Create(Instance(), parent);
    component->Show(0);
    return created;
}

// Handles what is queued for the thread, translating keys as the toolkit's
// loop does. A quit message left by a destroyed window is dropped.
inline void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Pumps until the condition holds or the time runs out; answers the
// condition.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) {
            return false;
        }
        PumpMessages();
        Sleep(5);
    }
    return true;
}

// The colour of a window pixel as 0xRRGGBB, read through the window's own
// device context.
inline unsigned int WindowPixel(HWND window, int x, int y)
{
    HDC context = GetDC(window);
    COLORREF color = GetPixel(context, x, y);
    ReleaseDC(window, context);
    return static_cast<unsigned int>(GetRValue(color)) << 16 | GetGValue(color) << 8 |
           GetBValue(color);
}

inline void FillWindow(HWND window, COLORREF color)
{
    HDC context = GetDC(window);
    RECT area;
    GetClientRect(window, &area);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(context, &area, brush);
    DeleteObject(brush);
    ReleaseDC(window, context);
}

// The events seen, in order, as short texts such as "own:OnKeyDown 65".
using EventLog = std::vector<std::string>;

inline std::string Describe(const char* name, int a)
{
    return std::string(name) + " " + std::to_string(a);
}

inline std::string Describe(const char* name, int a, long long b)
{
    return Describe(name, a) + " " + std::to_string(b);
}

// A component listener that logs what it hears with its own prefix and
// answers 1 unless told otherwise per event name.
class RecordingListener : public IKwComponentListener {
public:
    RecordingListener(EventLog* log, const std::string& prefix) : m_pLog(log), m_sPrefix(prefix) {}

    void Answer(const std::string& event, int answer) { m_answers[event] = answer; }

    int OnLButtonDown(KwObject* source, const KwPoint& p) override
    {
        return Note(source, "OnLButtonDown", Describe("OnLButtonDown", p.GetX(), p.GetY()));
    }
    int OnRButtonDown(KwObject* source, const KwPoint& p) override
    {
        return Note(source, "OnRButtonDown", Describe("OnRButtonDown", p.GetX(), p.GetY()));
    }
    int OnRButtonUp(KwObject* source, const KwPoint& p) override
    {
        return Note(source, "OnRButtonUp", Describe("OnRButtonUp", p.GetX(), p.GetY()));
    }
    int OnMouseMove(KwObject* source, const KwPoint&) override
    {
        return Note(source, "OnMouseMove", "OnMouseMove");
    }
    int OnMouseEnter(KwObject* source) override
    {
        return Note(source, "OnMouseEnter", "OnMouseEnter");
    }
    int OnKeyDown(KwObject* source, int key, int) override
    {
        return Note(source, "OnKeyDown", Describe("OnKeyDown", key));
    }
    int OnClose(KwObject* source) override { return Note(source, "OnClose", "OnClose"); }
    int OnSetCursor(KwObject* source) override
    {
        return Note(source, "OnSetCursor", "OnSetCursor");
    }
    int OnPaint(KwObject* source, const KwRect& area, IKwGraphics*) override
    {
        return Note(source, "OnPaint", Describe("OnPaint", area.GetX(), area.GetWidth()));
    }
    int OnDropFiles(KwObject* source, TKwList<KwString>& files) override
    {
        return Note(source, "OnDropFiles", Describe("OnDropFiles", files.GetCount()));
    }
    int OnMessage(KwObject* source, int message, int, int) override
    {
        // Only the messages a test sends on purpose are worth logging.
        if (message != WM_CONTEXTMENU && message < WM_APP) {
            return 1;
        }
        return Note(source, "OnMessage", Describe("OnMessage", message));
    }

    std::vector<KwObject*> sources;

private:
    int Note(KwObject* source, const std::string& event, const std::string& text)
    {
        m_pLog->push_back(m_sPrefix + ":" + text);
        sources.push_back(source);
        std::map<std::string, int>::const_iterator found = m_answers.find(event);
        return found == m_answers.end() ? 1 : found->second;
    }

    EventLog* m_pLog;
    std::string m_sPrefix;
    std::map<std::string, int> m_answers;
};

// A plain component that logs its own handler calls with the prefix "own"
// (or another one) and answers what KwComponent answers.
template <class Base>
class Recording : public Base {
public:
    explicit Recording(EventLog* log, const std::string& prefix = "own")
        : m_pLog(log), m_sPrefix(prefix)
    {
    }

    using KwComponent::Is3DLook;

    void OnAfterCreate() override
    {
        Log("OnAfterCreate");
        Base::OnAfterCreate();
    }
    int OnLButtonDown(const KwPoint& p) override
    {
        Log(Describe("OnLButtonDown", p.GetX(), p.GetY()));
        return Base::OnLButtonDown(p);
    }
    int OnRButtonDown(const KwPoint& p) override
    {
        Log(Describe("OnRButtonDown", p.GetX(), p.GetY()));
        return Base::OnRButtonDown(p);
    }
    int OnRButtonUp(const KwPoint& p) override
    {
        Log(Describe("OnRButtonUp", p.GetX(), p.GetY()));
        return Base::OnRButtonUp(p);
    }
    int OnMouseMove(const KwPoint& p) override
    {
        Log(Describe("OnMouseMove", p.GetX(), p.GetY()));
        return Base::OnMouseMove(p);
    }
    int OnMouseEnter() override
    {
        Log("OnMouseEnter");
        return Base::OnMouseEnter();
    }
    int OnMouseLeave() override
    {
        Log("OnMouseLeave");
        return Base::OnMouseLeave();
    }
    int OnKeyDown(int key, int flags) override
    {
        Log(Describe("OnKeyDown", key));
        return Base::OnKeyDown(key, flags);
    }
    int OnChar(int key, int flags) override
    {
        Log(Describe("OnChar", key));
        return Base::OnChar(key, flags);
    }
    int OnTimer() override
    {
        Log("OnTimer");
        return Base::OnTimer();
    }
    int OnClose() override
    {
        Log("OnClose");
        return Base::OnClose();
    }
    int OnDestroy() override
    {
        Log("OnDestroy");
        return Base::OnDestroy();
    }
    int OnDropFiles(TKwList<KwString>& files) override
    {
        std::string text = "OnDropFiles";
        files.MoveFirst();
        for (int i = 0; i < files.GetCount(); ++i, files.MoveNext()) {
            text += std::string(" ") + files.GetAt()->GetText();
        }
        Log(text);
        return Base::OnDropFiles(files);
    }
    int OnMessage(int message, int wParam, int lParam) override
    {
        if (message == WM_CONTEXTMENU || message >= WM_APP) {
            Log(Describe("OnMessage", message));
        }
        return Base::OnMessage(message, wParam, lParam);
    }
    int ActionPerformed(KwObject* source, int id, intptr_t param) override
    {
        Log(Describe("ActionPerformed", id, param));
        actionSources.push_back(source);
        return 1;
    }

    std::vector<KwObject*> actionSources;

private:
    void Log(const std::string& text) { m_pLog->push_back(m_sPrefix + ":" + text); }

    EventLog* m_pLog;
    std::string m_sPrefix;
};

// An action listener that logs every action.
class RecordingActionListener : public IKwActionListener {
public:
    RecordingActionListener(EventLog* log, const std::string& prefix, int answer = 1)
        : m_pLog(log), m_sPrefix(prefix), m_nAnswer(answer)
    {
    }

    int ActionPerformed(KwObject* source, int id, intptr_t param) override
    {
        m_pLog->push_back(m_sPrefix + ":" + Describe("ActionPerformed", id, param));
        sources.push_back(source);
        return m_nAnswer;
    }

    std::vector<KwObject*> sources;

private:
    EventLog* m_pLog;
    std::string m_sPrefix;
    int m_nAnswer;
};

// Ends a message loop that a test failed to end, so that the test fails
// instead of hanging.
class LoopWatchdog {
public:
    explicit LoopWatchdog(UINT milliseconds)
    {
        s_bFired = false;
        m_nTimer = SetTimer(nullptr, 0, milliseconds, Fire);
    }
    ~LoopWatchdog() { KillTimer(nullptr, m_nTimer); }

    bool Fired() const { return s_bFired; }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD)
    {
        s_bFired = true;
        PostQuitMessage(0);
    }

    static inline bool s_bFired = false;
    UINT_PTR m_nTimer;
};

// Answers the first message box with the given caption from a timer that
// runs inside the box's own modal loop, noting the box's text.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer(const char* caption, int button)
    {
        s_caption = caption;
        s_nButton = button;
        s_text.clear();
        m_nTimer = SetTimer(nullptr, 0, 100, Answer);
    }
    ~MessageBoxAnswerer() { KillTimer(nullptr, m_nTimer); }

    static inline std::string s_text;

private:
    static void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND box = FindWindowA("#32770", s_caption.c_str());
        if (box == nullptr) {
            return;
        }
        char text[128] = {0};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        s_text = text;
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(s_nButton), 0);
    }

    static inline std::string s_caption;
    static inline int s_nButton = IDOK;
    UINT_PTR m_nTimer;
};

// A top-level window that runs test steps one per turn of its own message
// loop: each step is posted as a private message after the previous one.
class ScriptedWindow : public Recording<KwWindow> {
public:
    static const int kStepMessage = WM_APP + 0x100;

    explicit ScriptedWindow(EventLog* log) : Recording<KwWindow>(log, "window")
    {
        SetBounds(40, 40, 160, 120, 0);
        // Hidden unless a test shows it (see CreateShown).
        Hide();
    }

    // Runs the loop; answers what Create answered.
    int Run() { return Create(Instance(), nullptr); }

    void OnAfterCreate() override
    {
        Recording<KwWindow>::OnAfterCreate();
        PostNextStep();
    }

    int OnMessage(int message, int wParam, int lParam) override
    {
        if (message != kStepMessage) {
            return Recording<KwWindow>::OnMessage(message, wParam, lParam);
        }
        if (stepsRun < steps.size()) {
            steps[stepsRun++]();
            PostNextStep();
        }
        return 0;
    }

    std::vector<std::function<void()>> steps;
    size_t stepsRun = 0;

private:
    void PostNextStep()
    {
        HWND window = WindowOf(this);
        if (window != nullptr && stepsRun < steps.size()) {
            PostMessageA(window, kStepMessage, 0, 0);
        }
    }
};

// The text on the session's clipboard, or a note that it could not be opened.
inline std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr)) {
        return "<clipboard busy>";
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes != nullptr) {
        text = bytes;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Makes a counted object of type T; the test releases it.
template <class T, class... Arguments>
T* MakeCounted(Arguments... arguments)
{
    T* object = new T(arguments...);
    object->AddRef();
    return object;
}

} // namespace Testing
} // namespace KwSDK

#endif
