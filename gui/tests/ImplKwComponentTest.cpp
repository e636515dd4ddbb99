// The native binding: message translation, pointer tracking, capture,
// timer, dropped files, painting through the buffer, clipboard and window
// shape, on real windows.
#include "ComponentTestSupport.h"
#include "FreedMemoryFill.h"

#include "KwDesignComponent.h"
#include "KwImage.h"
#include "KwKeyCodes.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

typedef Recording<KwComponent> RecordingComponent;

const unsigned int kRed = 0xFF0000;
const unsigned int kGreen = 0x00FF00;
const unsigned int kBlue = 0x0000FF;

// A shown pop-up component of 50 x 40 pixels that logs its handlers.
class ImplKwComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pComponent = MakeCounted<RecordingComponent>(&m_log);
        m_pComponent->SetWindowType(KW_WINDOW_POPUP);
        m_pComponent->SetBounds(100, 100, 50, 40, 0);
        ASSERT_EQ(CreateShown(m_pComponent), 1);
        m_hWindow = WindowOf(m_pComponent);
        PumpMessages();
        m_log.clear();
    }

    void TearDown() override
    {
        m_pComponent->Release();
        PumpMessages();
    }

    EventLog m_log;
    RecordingComponent* m_pComponent = nullptr;
    HWND m_hWindow = nullptr;
};

TEST_F(ImplKwComponentTest, KeysArriveAsToolkitCodesAndCharacters)
{
    PostMessageA(m_hWindow, WM_KEYDOWN, VK_NEXT, 0x00510001);
    PostMessageA(m_hWindow, WM_KEYDOWN, 'A', 0x001E0001);
    PumpMessages();
    EXPECT_EQ(m_log, (EventLog{"own:OnKeyDown 65366", "own:OnKeyDown 65", "own:OnChar 97"}));
}

TEST_F(ImplKwComponentTest, MapKeyGivesNavigationKeysTheirToolkitCodes)
{
    ImplKwComponent* impl = m_pComponent->GetImplementation();
    const int pairs[][2] = {
        {VK_BACK, KW_KEY_BACKSPACE}, {VK_TAB, KW_KEY_TAB},     {10, KW_KEY_LINEFEED},
        {VK_RETURN, KW_KEY_RETURN},  {VK_PRIOR, KW_KEY_PAGEUP}, {VK_NEXT, KW_KEY_PAGEDOWN},
        {VK_END, KW_KEY_END},        {VK_HOME, KW_KEY_HOME},   {VK_LEFT, KW_KEY_LEFT},
        {VK_UP, KW_KEY_UP},          {VK_RIGHT, KW_KEY_RIGHT}, {VK_DOWN, KW_KEY_DOWN},
        {VK_DELETE, KW_KEY_DELETE},  {' ', ' '},               {'7', '7'},
        {VK_F1, VK_F1},              {VK_INSERT, VK_INSERT},
    };
    for (const int* pair : pairs) {
        EXPECT_EQ(impl->MapKey(pair[0]), pair[1]) << "virtual key " << pair[0];
    }
}

TEST_F(ImplKwComponentTest, PointerEntersOnceUntilItLeaves)
{
    SendMessageA(m_hWindow, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    SendMessageA(m_hWindow, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    SendMessageA(m_hWindow, WM_MOUSELEAVE, 0, 0);
    SendMessageA(m_hWindow, WM_MOUSEMOVE, 0, MAKELPARAM(-1, 2));
    EXPECT_EQ(m_log, (EventLog{"own:OnMouseEnter", "own:OnMouseMove 3 4", "own:OnMouseMove 5 6",
                               "own:OnMouseLeave", "own:OnMouseEnter", "own:OnMouseMove -1 2"}));
}

TEST_F(ImplKwComponentTest, RefusedEnterStillDeliversTheMove)
{
    RecordingListener refuser(&m_log, "listener");
    refuser.Answer("OnMouseEnter", 0);
    m_pComponent->AddComponentListener(&refuser);
    SendMessageA(m_hWindow, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(m_log, (EventLog{"listener:OnMouseEnter", "listener:OnMouseMove",
                               "own:OnMouseMove 1 1"}));
    m_pComponent->RemoveComponentListener(&refuser);
}

TEST_F(ImplKwComponentTest, CaptureIsCountedAndForceAlwaysReleases)
{
    m_pComponent->ReleaseCapture(1);
    m_pComponent->SetCapture();
    EXPECT_EQ(m_pComponent->HasCapture(), 1);
    m_pComponent->ReleaseCapture(0);
    EXPECT_EQ(m_pComponent->HasCapture(), 0);
    // A second release finds the count at 0 and leaves a capture alone.
    ::SetCapture(m_hWindow);
    m_pComponent->ReleaseCapture(0);
    EXPECT_EQ(m_pComponent->HasCapture(), 1);
    m_pComponent->ReleaseCapture(1);
    EXPECT_EQ(m_pComponent->HasCapture(), 0);

    m_pComponent->SetCapture();
    m_pComponent->SetCapture();
    m_pComponent->ReleaseCapture(0);
    EXPECT_EQ(m_pComponent->HasCapture(), 1);
    m_pComponent->ReleaseCapture(0);
    EXPECT_EQ(m_pComponent->HasCapture(), 0);

    m_pComponent->SetCapture();
    m_pComponent->SetCapture();
    m_pComponent->ReleaseCapture(1);
    EXPECT_EQ(m_pComponent->HasCapture(), 0);
}

TEST_F(ImplKwComponentTest, OnlyTheComponentTimerIdBecomesOnTimer)
{
    SendMessageA(m_hWindow, WM_TIMER, 7, 0);
    EXPECT_TRUE(m_log.empty());
    SendMessageA(m_hWindow, WM_TIMER, KW_TIMER_ID, 0);
    EXPECT_EQ(m_log, (EventLog{"own:OnTimer"}));
}

TEST_F(ImplKwComponentTest, RunningTimerTicksUntilStopped)
{
    EXPECT_EQ(m_pComponent->StartTimer(10), static_cast<int>(KW_TIMER_ID));
    EXPECT_TRUE(PumpUntil([this] { return m_log.size() >= 2; }, 3000));
    m_pComponent->StopTimer();
    PumpMessages();
    size_t ticks = m_log.size();
    Sleep(60);
    PumpMessages();
    EXPECT_EQ(m_log.size(), ticks);

    KwComponent* bare = MakeCounted<KwComponent>();
    EXPECT_EQ(bare->StartTimer(10), 0);
    bare->Release();
}

// A drop handle as the shell makes it: the header, then the ANSI paths,
// each zero-terminated, and one more zero.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths) {
        bytes += path.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    char* block = static_cast<char*>(GlobalLock(memory));
    DROPFILES* header = reinterpret_cast<DROPFILES*>(block);
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    char* next = block + sizeof(DROPFILES);
    for (const std::string& path : paths) {
        std::memcpy(next, path.c_str(), path.size() + 1);
        next += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(ImplKwComponentTest, DroppedFilesArriveOnceInDropOrder)
{
    RecordingListener listener(&m_log, "listener");
    m_pComponent->AddComponentListener(&listener);
    HDROP drop = MakeDrop({"C:\\first.txt", "C:\\folder\\second.bin", "D:\\third"});
    SendMessageA(m_hWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(m_log, (EventLog{"listener:OnDropFiles 3",
                               "own:OnDropFiles C:\\first.txt C:\\folder\\second.bin D:\\third"}));
    m_pComponent->RemoveComponentListener(&listener);
}

// A plain component answers 0 from its paint handler, so a paint message
// fills its buffer but never copies it to the window; RepaintAll does.
TEST_F(ImplKwComponentTest, PlainComponentShowsItsBufferOnlyThroughRepaint)
{
    m_pComponent->SetBackground(KwColor(255, 0, 0));
    FillWindow(m_hWindow, RGB(0, 0, 255));
    InvalidateRect(m_hWindow, nullptr, TRUE);
    UpdateWindow(m_hWindow);
    EXPECT_EQ(WindowPixel(m_hWindow, 5, 5), kBlue);
    EXPECT_EQ(WindowPixel(m_hWindow, 49, 39), kBlue);
    m_pComponent->RepaintAll();
    EXPECT_EQ(WindowPixel(m_hWindow, 5, 5), kRed);
    EXPECT_EQ(WindowPixel(m_hWindow, 49, 39), kRed);
}

TEST_F(ImplKwComponentTest, RepaintCopiesExactlyThePaintedArea)
{
    m_pComponent->SetBackground(KwColor(0, 255, 0));
    FillWindow(m_hWindow, RGB(0, 0, 255));
    m_pComponent->Repaint(KwRect(10, 12, 5, 4));
    EXPECT_EQ(WindowPixel(m_hWindow, 10, 12), kGreen);
    EXPECT_EQ(WindowPixel(m_hWindow, 14, 15), kGreen);
    EXPECT_EQ(WindowPixel(m_hWindow, 15, 15), kBlue);
    EXPECT_EQ(WindowPixel(m_hWindow, 2, 2), kBlue);
}

TEST(ImplKwComponentPaint, DesignComponentShowsItsBufferOnAPaintMessage)
{
    KwDesignComponent* component = MakeCounted<KwDesignComponent>();
    component->SetWindowType(KW_WINDOW_POPUP);
    component->SetBounds(100, 200, 40, 30, 0);
    component->SetBackground(KwColor(255, 0, 0));
    ASSERT_EQ(CreateShown(component), 1);
    HWND window = WindowOf(component);
    FillWindow(window, RGB(0, 0, 255));
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(WindowPixel(window, 0, 0), kRed);
    EXPECT_EQ(WindowPixel(window, 39, 29), kRed);
    component->Release();
    PumpMessages();
}

TEST_F(ImplKwComponentTest, ClipboardTextGoesOutAndComesBack)
{
    ASSERT_EQ(m_pComponent->CopyToClipboard("Carton \xD6\xD0 text"), 1);
    KwString pasted;
    ASSERT_EQ(m_pComponent->PasteFromClipboard(pasted), 1);
    EXPECT_EQ(pasted, "Carton \xD6\xD0 text");

    KwComponent* bare = MakeCounted<KwComponent>();
    EXPECT_EQ(bare->CopyToClipboard("x"), 0);
    EXPECT_EQ(bare->PasteFromClipboard(pasted), 0);
    bare->Release();
}

// A 20 x 20 picture in red, green, blue bytes with a 5 x 5 key-coloured
// square at (5, 5).
KwImage* MakeShapeImage(int rows)
{
    std::vector<unsigned char> pixels(20 * 20 * 3, 0x40);
    for (int y = 5; y < 10; ++y) {
        for (int x = 5; x < 10; ++x) {
            unsigned char* pixel = &pixels[static_cast<size_t>((y * 20 + x) * 3)];
            pixel[0] = 255;
            pixel[1] = 0;
            pixel[2] = 255;
        }
    }
    KwImage* image = new KwImage(KW_FORMAT_RGB, pixels.data(), rows * 20 * 3, 0, 0, 20, 20, 0);
    image->AddRef();
    return image;
}

bool InsideShape(HWND window, int x, int y)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bool inside = GetWindowRgn(window, region) != ERROR && PtInRegion(region, x, y);
    DeleteObject(region);
    return inside;
}

TEST_F(ImplKwComponentTest, ShapeCutsOutTheKeyColouredPixels)
{
    KwImage* image = MakeShapeImage(20);
    m_pComponent->SetShape(image, KwColor(255, 0, 255));
    EXPECT_TRUE(InsideShape(m_hWindow, 1, 1));
    EXPECT_TRUE(InsideShape(m_hWindow, 10, 7));
    EXPECT_FALSE(InsideShape(m_hWindow, 5, 5));
    EXPECT_FALSE(InsideShape(m_hWindow, 9, 9));
    EXPECT_TRUE(InsideShape(m_hWindow, 49, 39));

    // A key with a fourth byte matches no pixel.
    m_pComponent->SetShape(image, KwColor(255, 0, 255, 1));
    EXPECT_TRUE(InsideShape(m_hWindow, 7, 7));
    image->Release();
}

TEST_F(ImplKwComponentTest, ShapeReadsOnlyThePixelsTheImageHolds)
{
    // Seven rows of pixels behind a picture that claims twenty.
    KwImage* image = MakeShapeImage(7);
    m_pComponent->SetShape(image, KwColor(255, 0, 255));
    EXPECT_FALSE(InsideShape(m_hWindow, 6, 6));
    EXPECT_TRUE(InsideShape(m_hWindow, 6, 8));
    image->Release();
}

TEST_F(ImplKwComponentTest, SizeMessageResizesTheBuffer)
{
    SetWindowPos(m_hWindow, nullptr, 0, 0, 70, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(m_pComponent->GetSize().GetWidth(), 70);
    EXPECT_EQ(m_pComponent->GetSize().GetHeight(), 30);
    m_pComponent->SetBackground(KwColor(0, 255, 0));
    m_pComponent->RepaintAll();
    EXPECT_EQ(WindowPixel(m_hWindow, 69, 29), kGreen);
}

TEST_F(ImplKwComponentTest, MessageBoxAnswersTheButtonPressed)
{
    {
        MessageBoxAnswerer answer("Carton question", IDCANCEL);
        EXPECT_EQ(ShowMessageBox("Install now?", "Carton question", KW_MB_OKCANCEL, m_pComponent),
                  IDCANCEL);
    }
    EXPECT_EQ(MessageBoxAnswerer::s_text, "Install now?");
}

TEST_F(ImplKwComponentTest, TextExtentAndScreenPlacementNeedTheWindow)
{
    KwSize extent = m_pComponent->GetTextExtent("Carton");
    EXPECT_GT(extent.GetWidth(), 0);
    EXPECT_GT(extent.GetHeight(), 0);
    EXPECT_GT(m_pComponent->GetFontHeight(), 0);
    KwPoint screen = m_pComponent->GetScreenLocation();
    EXPECT_EQ(screen.GetX(), 100);
    EXPECT_EQ(screen.GetY(), 100);
    KwSize desktop = GetScreenSize();
    EXPECT_GT(desktop.GetWidth(), 0);
    EXPECT_GT(desktop.GetHeight(), 0);
}

} // namespace

// A child outlives its parent: the parent's memory is filled with another
// live window's handle as it is freed, so a child still reading it would
// post to (and disable) that window.
TEST(ImplKwComponentParent, ChildOfAReleasedParentReachesNobody)
{
    EventLog log;
    RecordingComponent* witness = MakeCounted<RecordingComponent>(&log, "witness");
    RecordingComponent* parent = MakeCounted<RecordingComponent>(&log, "parent");
    RecordingComponent* child = MakeCounted<RecordingComponent>(&log, "child");
    for (RecordingComponent* component : {witness, parent, child}) {
        component->SetWindowType(KW_WINDOW_POPUP);
        component->SetBounds(10, 10, 30, 20, 0);
    }
    ASSERT_EQ(CreateShown(witness), 1);
    ASSERT_EQ(CreateShown(parent), 1);
    ASSERT_EQ(CreateShown(child, parent->GetImplementation()), 1);
    HWND witnessWindow = WindowOf(witness);
    {
        FreedMemoryFill fill(reinterpret_cast<uintptr_t>(witnessWindow));
        parent->Release();
    }
    PumpMessages();
    log.clear();

    ImplKwComponent* impl = child->GetImplementation();
    impl->DisableOwner();
    impl->ActivateOwner();
    child->PostActionToParent(7, 70);
    PumpMessages();
    EXPECT_TRUE(IsWindowEnabled(witnessWindow));
    EXPECT_EQ(log, EventLog{});
    impl->EnableOwner();

    child->Release();
    witness->Release();
    PumpMessages();
}
