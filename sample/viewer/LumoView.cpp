// The Lumo picture viewer's window.
#include "LumoView.h"

#include "IKwGraphics.h"
#include "ImplKwComponent.h"
#include "KwFile.h"
#include "KwImgFileSrc.h"

#include <windows.h>

namespace KwSDK {

namespace {

const char kCaption[] = "Lumo";
// Posted to the window by itself: open the start file.
const UINT kOpenMessage = WM_APP + 0x4C;
// A tiny picture gets a window of at least this client size.
const int kMinimumWidth = 200;
const int kMinimumHeight = 150;

const char kHint[] = "Drop a picture here, or open one with Lumo from its context menu.";
// DrawTextInRect: one line, centred both ways.
const int kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

const char kNoFile[] = "The file does not exist or cannot be opened.";
const char kUnknownType[] = "It is not a picture in a format that Lumo can show.";
const char kDamaged[] = "The picture is damaged or incomplete.";

// The part of a path after its last backslash, stepping over double-byte
// characters whose second byte may look like a backslash.
KwString NameOf(const KwString& path)
{
    const char* text = path.GetText();
    if (text == nullptr) {
        return KwString();
    }
    const char* name = text;
    for (const char* p = text; *p != '\0'; ++p) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0') {
            ++p;
        } else if (*p == '\\' || *p == '/') {
            name = p + 1;
        }
    }
    return KwString(name);
}

// Setup's shortcuts pass the program's own path as their argument.
int IsThisProgram(const KwString& path)
{
    char program[MAX_PATH];
    char full[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (path.GetLength() == 0 || length == 0 || length >= MAX_PATH) {
        return 0;
    }
    DWORD fullLength = GetFullPathNameA(path.GetText(), MAX_PATH, full, nullptr);
    return fullLength > 0 && fullLength < MAX_PATH && lstrcmpiA(full, program) == 0;
}

int Fits(long long width, long long height)
{
    return width > 0 && height > 0;
}

} // namespace

LumoView::LumoView()
    : m_pPicture(new KwPicture()), m_nImageWidth(0), m_nImageHeight(0)
{
    AppendTypeName("LumoView");
    SetClassName("LumoView");
    SetText(kCaption);
    SetBackground(KwColor(48, 48, 48));
    SetForeground(KwColor(190, 190, 190));
    m_pPicture->SetBackground(KwColor(48, 48, 48));
    // Shown with the first picture; until then the window shows a hint.
    m_pPicture->Hide();
    KwSize screen = GetScreenSize();
    SetBounds((screen.GetWidth() - 480) / 2, (screen.GetHeight() - 360) / 2, 480, 360, 0);
    Add(m_pPicture);
}

LumoView::~LumoView() = default;

void LumoView::SetStartFile(const KwString& path)
{
    m_strStartFile = IsThisProgram(path) ? KwString() : path;
}

KwString LumoView::GetFile()
{
    return m_strFile;
}

KwPicture* LumoView::GetPicture()
{
    m_pPicture->AddRef();
    return m_pPicture;
}

KwString LumoView::FileFromCommandLine(const char* commandLine)
{
    if (commandLine == nullptr) {
        return KwString();
    }
    KwString line(commandLine);
    line.TrimLeft();
    line.TrimRight();
    const char* text = line.GetText();
    if (text == nullptr || text[0] != '"') {
        return line;
    }
    // A quoted path ends at the next quote; what follows it is ignored.
    const char* start = text + 1;
    const char* end = start;
    while (*end != '\0' && *end != '"') {
        ++end;
    }
    return KwString(start, static_cast<int>(end - start));
}

int LumoView::OpenFile(const KwString& path)
{
    if (!KwFile(path).Exists() || KwFile(path).IsFolder()) {
        ReportUnreadable(path, kNoFile);
        return 0;
    }
    KwImgFileSrc source;
    if (!source.SetFile(path)) {
        ReportUnreadable(path, kUnknownType);
        return 0;
    }
    KwImageGroup* group = source.GetType() == KW_FILE_GIF ? source.DecodeGroup() : nullptr;
    KwImage* image = group == nullptr ? source.Decode() : nullptr;
    int shown = Show(image, group, path);
    if (image != nullptr) {
        image->Release();
    }
    if (group != nullptr) {
        group->Release();
    }
    if (!shown) {
        ReportUnreadable(path, kDamaged);
    }
    return shown;
}

int LumoView::Show(KwImage* image, KwImageGroup* group, const KwString& path)
{
    if (group != nullptr && group->GetCount() > 0 && Fits(group->GetWidth(), group->GetHeight())) {
        m_nImageWidth = group->GetWidth();
        m_nImageHeight = group->GetHeight();
        m_pPicture->SetImageGroup(group);
    } else if (image != nullptr && Fits(image->GetWidth(), image->GetHeight())) {
        m_nImageWidth = image->GetWidth();
        m_nImageHeight = image->GetHeight();
        m_pPicture->SetImage(image);
    } else {
        return 0;
    }
    m_strFile = path;
    m_pPicture->Show(0);
    FitToScreen();
    // The caption changes last: whoever waits for it finds the window
    // already sized to the picture.
    SetText(NameOf(path) + " - " + kCaption);
    return 1;
}

void LumoView::ReportUnreadable(const KwString& path, const char* reason)
{
    // The name and the reason first, where they are read; the whole path
    // below them.
    KwString text("Lumo cannot show the picture \"");
    text = text + NameOf(path) + "\".\r\n" + reason + "\r\n\r\n" + path;
    ShowMessageBox(text, kCaption, KW_MB_OK, this);
}

// The client area takes the picture's size, shrunk to the work area with
// the picture's proportions, and the window is centred in the work area.
void LumoView::FitToScreen()
{
    KWNATIVEHANDLES handles = {nullptr, nullptr};
    GetNativeHandles(&handles);
    if (handles.hWnd == nullptr || m_nImageWidth <= 0 || m_nImageHeight <= 0) {
        return;
    }
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        KwSize screen = GetScreenSize();
        SetRect(&work, 0, 0, screen.GetWidth(), screen.GetHeight());
    }
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(handles.hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(handles.hWnd, GWL_EXSTYLE)));
    int frameWidth = frame.right - frame.left;
    int frameHeight = frame.bottom - frame.top;
    int roomWidth = work.right - work.left - frameWidth;
    int roomHeight = work.bottom - work.top - frameHeight;
    long long width = m_nImageWidth;
    long long height = m_nImageHeight;
    if (roomWidth > 0 && width > roomWidth) {
        height = height * roomWidth / width;
        width = roomWidth;
    }
    if (roomHeight > 0 && height > roomHeight) {
        width = width * roomHeight / height;
        height = roomHeight;
    }
    int clientWidth = static_cast<int>(width < kMinimumWidth ? kMinimumWidth : width);
    int clientHeight = static_cast<int>(height < kMinimumHeight ? kMinimumHeight : height);
    int outerWidth = clientWidth + frameWidth;
    int outerHeight = clientHeight + frameHeight;
    SetBounds(work.left + (work.right - work.left - outerWidth) / 2,
              work.top + (work.bottom - work.top - outerHeight) / 2, outerWidth, outerHeight, 1);
    RECT client;
    if (GetClientRect(handles.hWnd, &client)) {
        LayoutPicture(client.right, client.bottom);
    }
}

// The picture keeps its proportions, is never enlarged and is centred.
void LumoView::LayoutPicture(int width, int height)
{
    if (width <= 0 || height <= 0) {
        return;  // minimised: the picture keeps its place until restored
    }
    if (m_nImageWidth <= 0 || m_nImageHeight <= 0) {
        m_pPicture->SetBounds(0, 0, width, height, 1);
        return;
    }
    long long shownWidth = m_nImageWidth;
    long long shownHeight = m_nImageHeight;
    if (shownWidth > width) {
        shownHeight = shownHeight * width / shownWidth;
        shownWidth = width;
    }
    if (shownHeight > height) {
        shownWidth = shownWidth * height / shownHeight;
        shownHeight = height;
    }
    int w = static_cast<int>(shownWidth < 1 ? 1 : shownWidth);
    int h = static_cast<int>(shownHeight < 1 ? 1 : shownHeight);
    m_pPicture->SetBounds((width - w) / 2, (height - h) / 2, w, h, 1);
    // The picture's buffer was made anew for its size: fill it now rather
    // than at the next paint message.
    m_pPicture->RepaintAll();
    InvalidateAll();
}

void LumoView::OnAfterCreate()
{
    KwWindow::OnAfterCreate();
    if (m_strStartFile.GetLength() == 0) {
        return;
    }
    KWNATIVEHANDLES handles = {nullptr, nullptr};
    GetNativeHandles(&handles);
    PostMessageA(handles.hWnd, kOpenMessage, 0, 0);
}

int LumoView::OnMessage(int message, int wParam, int lParam)
{
    if (static_cast<UINT>(message) == kOpenMessage) {
        KwString path = m_strStartFile;
        m_strStartFile = KwString();
        if (path.GetLength() > 0) {
            OpenFile(path);
        }
        return 0;
    }
    return KwWindow::OnMessage(message, wParam, lParam);
}

int LumoView::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwWindow::OnPaint(area, graphics);
    KWNATIVEHANDLES handles = {nullptr, nullptr};
    GetNativeHandles(&handles);
    RECT client;
    if (m_strFile.GetLength() == 0 && graphics != nullptr && handles.hWnd != nullptr &&
        GetClientRect(handles.hWnd, &client)) {
        graphics->SetTransparentText(1);
        graphics->DrawTextInRect(kHint, KwRect(0, 0, client.right, client.bottom), kCentredLine);
    }
    return 1;
}

int LumoView::OnSize(int kind, int width, int height)
{
    KwWindow::OnSize(kind, width, height);
    LayoutPicture(width, height);
    return 1;
}

int LumoView::OnDropFiles(TKwList<KwString>& files)
{
    if (files.MoveFirst() && files.GetAt() != nullptr) {
        OpenFile(*files.GetAt());
    }
    return 1;
}

int LumoView::OnKeyDown(int key, int flags)
{
    if (key == VK_ESCAPE) {
        Close();
        return 1;
    }
    return KwWindow::OnKeyDown(key, flags);
}

} // namespace KwSDK
