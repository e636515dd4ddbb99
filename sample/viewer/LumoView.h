// The Lumo picture viewer's window: one picture that fills the window, sized
// to the picture within the screen.
#ifndef LUMO_LUMOVIEW_H
#define LUMO_LUMOVIEW_H

#include "KwPicture.h"
#include "KwString.h"
#include "KwWindow.h"

namespace KwSDK {

// The window holds one KwPicture as its only child. A picture is decoded
// through KwImgFileSrc; GIF files are decoded as a group so that an animated
// GIF plays. The window's client area takes the picture's size, scaled down
// (keeping its proportions) when it would not fit on the screen's work area,
// and the window is centred there. When the user resizes the window the
// picture keeps its proportions and is centred on a dark background.
//
// A file that cannot be read is reported in a message box owned by the
// window (caption "Lumo") that gives the file's name, the reason and the
// whole path; the window then keeps what it showed before.
class LumoView : public KwWindow {
public:
    LumoView();
    ~LumoView() override;

    // The file to open once the window exists (the command line's file).
    // The path of the running program itself is ignored: Setup's shortcuts
    // pass it as their argument, and the viewer then starts empty.
    virtual void SetStartFile(const KwString& path);
    // Decodes the file and shows it; 1 when it is shown, 0 after the
    // message box.
    virtual int OpenFile(const KwString& path);
    // The path of the file shown, empty when none.
    virtual KwString GetFile();
    // The picture component, with one added reference.
    virtual KwPicture* GetPicture();

    // The file named by a program's command line (arguments only, as the
    // program entry receives them): a quoted path, or the whole unquoted
    // text trimmed, since the shell may pass a path with blanks unquoted.
    static KwString FileFromCommandLine(const char* commandLine);

    // Has the start file opened from the message loop, once the window is
    // shown, so that a message box about it has the window behind it.
    void OnAfterCreate() override;
    int OnMessage(int message, int wParam, int lParam) override;
    // Fills the background around the picture, and shows a hint while there
    // is no picture; answers 1.
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnSize(int kind, int width, int height) override;
    // Opens the first file dropped on the window.
    int OnDropFiles(TKwList<KwString>& files) override;
    // Escape closes the window.
    int OnKeyDown(int key, int flags) override;
    using KwWindow::OnAfterCreate;
    using KwWindow::OnMessage;
    using KwWindow::OnPaint;
    using KwWindow::OnSize;
    using KwWindow::OnDropFiles;
    using KwWindow::OnKeyDown;

private:
    int Show(KwImage* image, KwImageGroup* group, const KwString& path);
    void ReportUnreadable(const KwString& path, const char* reason);
    void FitToScreen();
    void LayoutPicture(int width, int height);

    KwPicture* m_pPicture;
    KwString m_strStartFile;
    KwString m_strFile;
    int m_nImageWidth;
    int m_nImageHeight;
};

} // namespace KwSDK

#endif
