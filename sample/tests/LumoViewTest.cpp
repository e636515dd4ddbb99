// The Lumo viewer: its window on the sample pictures (a still PNG, the
// animated GIF, a picture larger than the screen), unreadable files, the
// command line, and the built programs started as the shell starts them.
#include "ComponentTestSupport.h"
#include "KwTestSupport.h"
#include "WidgetTestSupport.h"

#include "ImplKwImageGraphics.h"
#include "LumoView.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

std::string SamplePicture(const char* name)
{
    return KwTest::WinePath(LUMO_SAMPLE_PACKAGE) + "\\Brindle\\Lumo\\samples\\" + name;
}

// A viewer that runs test steps from its own message loop, one per turn,
// after it has opened its start file; the last step closes it.
class ScriptedView : public LumoView {
public:
    static const int kStepMessage = WM_APP + 0x100;

    ScriptedView() { Hide(); }

    void Run() { Create(Instance(), nullptr); }

    void OnAfterCreate() override
    {
        LumoView::OnAfterCreate();
        PostNextStep();
    }

    int OnMessage(int message, int wParam, int lParam) override
    {
        if (message != kStepMessage) {
            return LumoView::OnMessage(message, wParam, lParam);
        }
        if (stepsRun < steps.size()) {
            steps[stepsRun++]();
            PostNextStep();
        } else {
            DestroyNative();
        }
        return 0;
    }

    KwPicture* Picture()
    {
        KwPicture* picture = GetPicture();
        picture->Release();  // the window keeps its own reference
        return picture;
    }

    std::vector<std::function<void()>> steps;
    size_t stepsRun = 0;

private:
    void PostNextStep() { PostMessageA(WindowOf(this), kStepMessage, 0, 0); }
};

class LumoViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ImplKwImageGraphics::InstallHooks(); }

    void SetUp() override { m_pView = MakeCounted<ScriptedView>(); }

    void TearDown() override
    {
        m_pView->Release();
        PumpMessages();
    }

    void Run()
    {
        LoopWatchdog watchdog(20000);
        m_pView->Run();
        EXPECT_FALSE(watchdog.Fired()) << "the viewer's loop did not end";
    }

    RECT Client()
    {
        RECT client = {0, 0, 0, 0};
        GetClientRect(WindowOf(m_pView), &client);
        return client;
    }

    ScriptedView* m_pView = nullptr;
};

// The start file is shown at its own size; then a damaged, a missing and an
// unknown file each give one message box that names the file and the
// reason, and the picture shown before stays.
TEST_F(LumoViewTest, ShowsItsPictureAndReportsUnreadableFiles)
{
    KwTest::ScratchFolder folder("lumo");
    std::string png = KwTest::ReadFile(SamplePicture("harbour.png"));
    ASSERT_GT(png.size(), 400u);
    std::string damaged = folder.Path("damaged.png");
    ASSERT_TRUE(KwTest::WriteFile(damaged, png.substr(0, 300)));
    std::string unknown = folder.Path("notes.png");
    ASSERT_TRUE(KwTest::WriteFile(unknown, "These are notes, not a picture.\r\n"));
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {damaged, "damaged"},
        {folder.Path("missing.png"), "does not exist"},
        {unknown, "not a picture"},
    };
    m_pView->SetStartFile(KwTest::Str(SamplePicture("harbour.png")));
    m_pView->steps.push_back([&] {
        EXPECT_EQ(KwTest::Std(m_pView->GetText()), "harbour.png - Lumo");
        RECT client = Client();
        EXPECT_EQ(client.right, 480);
        EXPECT_EQ(client.bottom, 320);
        Pixels pixels(m_pView->Picture());
        ASSERT_FALSE(pixels.Empty());
        EXPECT_EQ(pixels.At(360, 120), 0xFFF2CCu) << "the sun";
        EXPECT_EQ(pixels.At(20, 310), 0x1F3A5Au) << "the near hills";
    });
    m_pView->steps.push_back([&] {
        for (const auto& c : cases) {
            MessageBoxAnswerer answerer("Lumo", IDOK);
            EXPECT_EQ(m_pView->OpenFile(KwTest::Str(c.path)), 0) << c.path;
            EXPECT_NE(answerer.s_text.find(c.path.substr(c.path.rfind('\\') + 1)),
                      std::string::npos)
                << answerer.s_text;
            EXPECT_NE(answerer.s_text.find(c.reason), std::string::npos) << answerer.s_text;
        }
        EXPECT_EQ(KwTest::Std(m_pView->GetText()), "harbour.png - Lumo");
        EXPECT_EQ(Pixels(m_pView->Picture()).At(360, 120), 0xFFF2CCu);
    });
    Run();
}

TEST_F(LumoViewTest, AnimatedGifShowsItsFramesInTurn)
{
    m_pView->SetStartFile(KwTest::Str(SamplePicture("gallery\\spinner.gif")));
    m_pView->steps.push_back([&] {
        KwPicture* picture = m_pView->Picture();
        KwImageGroup* group = picture->GetImageGroup();
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->GetCount(), 8);
        group->Release();
        RECT client = Client();
        EXPECT_EQ(client.right, 200) << "a small picture gets the smallest window";
        EXPECT_EQ(picture->GetSize().GetWidth(), 96) << "and is not enlarged";
        EXPECT_EQ(picture->GetLocation().GetX(), 52);
        HWND window = WindowOf(picture);
        EXPECT_NE(KillTimer(window, KW_TIMER_ID), 0) << "the frame timer runs";
        std::vector<unsigned int> seen;
        for (int frame = 0; frame < 3; ++frame) {
            Pixels pixels(picture);
            ASSERT_FALSE(pixels.Empty());
            // The dot at the right of the ring changes its shade every frame.
            seen.push_back(pixels.At(78, 48));
            SendMessageA(window, WM_TIMER, KW_TIMER_ID, 0);
        }
        EXPECT_NE(seen[0], seen[1]);
        EXPECT_NE(seen[1], seen[2]);
        EXPECT_EQ(picture->GetFrameIndex(), 3);
    });
    Run();
}

// A picture wider than the screen's work area is shrunk to it with its
// proportions, and the window stays on the screen.
TEST_F(LumoViewTest, PictureLargerThanTheScreenIsShrunkToIt)
{
    KwTest::ScratchFolder folder("lumo");
    const int width = 4000;
    const int height = 400;
    const int row = (width * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    auto put32 = [&](unsigned int v) {
        for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
    };
    put32(54u + static_cast<unsigned int>(row * height));
    put32(0);
    put32(54);
    put32(40);
    put32(width);
    put32(height);
    put32(1u | 24u << 16);
    for (int i = 0; i < 6; ++i) put32(0);
    bmp.append(static_cast<size_t>(row * height), '\x40');
    std::string path = folder.Path("wide panorama.bmp");
    ASSERT_TRUE(KwTest::WriteFile(path, bmp));
    m_pView->SetStartFile(KwTest::Str(path));
    m_pView->steps.push_back([&] {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        RECT outer;
        GetWindowRect(WindowOf(m_pView), &outer);
        EXPECT_GE(outer.left, work.left);
        EXPECT_LE(outer.right, work.right);
        KwPicture* picture = m_pView->Picture();
        int shownWidth = picture->GetSize().GetWidth();
        int shownHeight = picture->GetSize().GetHeight();
        EXPECT_LT(shownWidth, work.right - work.left);
        EXPECT_EQ(shownWidth, Client().right);
        EXPECT_NEAR(shownHeight, shownWidth * height / width, 1);
    });
    Run();
}

// Started as Setup's shortcuts start it, with its own program path: no
// picture, no message box, and the hint in the middle of the window.
TEST_F(LumoViewTest, ProgramPathAsArgumentStartsEmpty)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    MessageBoxAnswerer answerer("Lumo", IDOK);
    m_pView->SetStartFile(program);
    m_pView->steps.push_back([&] {
        EXPECT_EQ(m_pView->GetFile().GetLength(), 0);
        EXPECT_EQ(answerer.s_text, "");
        EXPECT_EQ(m_pView->Picture()->IsVisible(), 0);
        m_pView->RepaintAll();
        Pixels pixels(m_pView);
        ASSERT_FALSE(pixels.Empty());
        RECT client = Client();
        int lit = pixels.Count(0, client.bottom / 2 - 8, client.right - 1, client.bottom / 2 + 8,
                               [](unsigned int rgb) { return (rgb & 0xFF) > 0x80; });
        EXPECT_GT(lit, 20) << "the hint's text";
    });
    Run();
}

// Under the Chinese code page a name whose second byte is a backslash (the
// character 昞, GBK 95 5C) is kept whole in the caption.
class LumoViewCp936 : public LumoViewTest {};

TEST_F(LumoViewCp936, DoubleByteNamesStayWhole)
{
    ASSERT_TRUE(KwTest::UsesChineseCodePage());
    KwTest::ScratchFolder folder("lumo");
    const std::string name = "\x95\x5C\xCD\xBC.png";
    ASSERT_TRUE(KwTest::WriteFile(folder.Path(name), KwTest::ReadFile(SamplePicture("harbour.png"))));
    m_pView->SetStartFile(KwTest::Str(folder.Path(name)));
    m_pView->steps.push_back([&] {
        EXPECT_EQ(KwTest::Std(m_pView->GetText()), name + " - Lumo");
    });
    Run();
}

TEST(LumoViewCommandLine, QuotedAndUnquotedPaths)
{
    const struct {
        const char* line;
        const char* file;
    } cases[] = {
        {"\"C:\\My Pictures\\a b.png\"", "C:\\My Pictures\\a b.png"},
        {"  \"C:\\x.png\" --ignored", "C:\\x.png"},
        {"C:\\My Pictures\\a b.png ", "C:\\My Pictures\\a b.png"},
        {"\"C:\\unterminated.png", "C:\\unterminated.png"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KwTest::Std(LumoView::FileFromCommandLine(c.line)), c.file) << c.line;
    }
    EXPECT_EQ(LumoView::FileFromCommandLine(nullptr).GetLength(), 0);
}

// Finds a top-level window of the started program by class and caption.
HWND WaitForWindow(HANDLE process, const char* className, const char* caption)
{
    DWORD id = GetProcessId(process);
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND w = FindWindowExA(nullptr, nullptr, className, caption); w != nullptr;
                 w = FindWindowExA(nullptr, w, className, caption)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == id)
                    return (found = w) != nullptr;
            }
            return false;
        },
        20000);
    return found;
}

std::string DialogText(HWND box)
{
    char text[512] = {0};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

// The built viewer as the shell starts it, with a quoted path holding a
// blank.
TEST(LumoPrograms, ViewerRunsAsStarted)
{
    KwTest::ScratchFolder folder("lumo");
    std::string picture = folder.Path("my harbour.png");
    ASSERT_TRUE(KwTest::WriteFile(picture, KwTest::ReadFile(SamplePicture("harbour.png"))));
    std::string broken = folder.Path("broken picture.gif");
    static const char kBrokenGif[] = "GIF89a\x10\x00\x10\x00garbage";
    ASSERT_TRUE(KwTest::WriteFile(broken, std::string(kBrokenGif, sizeof kBrokenGif - 1)));
    std::string viewer = "\"" + KwTest::WinePath(LUMO_VIEW_EXE) + "\" ";

    HANDLE good = KwTest::StartProgram(viewer + "\"" + picture + "\"");
    ASSERT_NE(good, nullptr);
    HWND shown = WaitForWindow(good, "LumoView", "my harbour.png - Lumo");
    EXPECT_NE(shown, nullptr);
    RECT client = {0, 0, 0, 0};
    GetClientRect(shown, &client);
    EXPECT_EQ(client.right, 480);
    EXPECT_EQ(client.bottom, 320);
    PostMessageA(shown, WM_CLOSE, 0, 0);
    EXPECT_EQ(KwTest::FinishProgram(good, 20000), 0);

    HANDLE bad = KwTest::StartProgram(viewer + "\"" + broken + "\"");
    ASSERT_NE(bad, nullptr);
    HWND box = WaitForWindow(bad, "#32770", "Lumo");
    ASSERT_NE(box, nullptr) << "no message box for the damaged file";
    EXPECT_NE(DialogText(box).find("broken picture.gif"), std::string::npos) << DialogText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND empty = WaitForWindow(bad, "LumoView", "Lumo");
    EXPECT_NE(empty, nullptr) << "the viewer still runs, without a picture";
    PostMessageA(empty, WM_CLOSE, 0, 0);
    EXPECT_EQ(KwTest::FinishProgram(bad, 20000), 0);

}

} // namespace
