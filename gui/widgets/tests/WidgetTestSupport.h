// Shared pieces of the widget tests: a pop-up window that hosts one widget
// and logs the actions it receives, mouse and key messages sent to a
// widget's window, and the widget's off-screen buffer read back.
#ifndef KWSDK_WIDGETTESTSUPPORT_H
#define KWSDK_WIDGETTESTSUPPORT_H

#include "ComponentTestSupport.h"

#include "ComponentGraphics.h"
#include "KwBuffer.h"
#include "KwPopupWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace KwSDK {
namespace Testing {

// The widget's buffer as 0xRRGGBB values.
class Pixels {
public:
    explicit Pixels(KwComponent* component)
    {
        IKwGraphics* graphics = component->GetGraphics();
        ComponentGraphics* buffer = dynamic_cast<ComponentGraphics*>(graphics);
        KwBuffer bytes;
        int height = 0;
        if (buffer != nullptr && buffer->CopyToBuffer(&bytes, &m_nWidth, &height) == 1) {
            const unsigned char* bgr = bytes.GetPointer(0);
            for (int i = 0; i < m_nWidth * height; ++i, bgr += 3) {
                m_pixels.push_back(static_cast<unsigned int>(bgr[2]) << 16 | bgr[1] << 8 |
                                   bgr[0]);
            }
        }
        if (graphics != nullptr) {
            graphics->Release();
        }
    }

    bool Empty() const { return m_pixels.empty(); }

    unsigned int At(int x, int y) const
    {
        return m_pixels.at(static_cast<size_t>(y * m_nWidth + x));
    }

    // Pixels of the rectangle (x0, y0)-(x1, y1), both corners included, for
    // which the test holds.
    int Count(int x0, int y0, int x1, int y1,
              const std::function<bool(unsigned int)>& test) const
    {
        int count = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                count += test(At(x, y)) ? 1 : 0;
            }
        }
        return count;
    }

private:
    int m_nWidth = 0;
    std::vector<unsigned int> m_pixels;
};

inline LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

inline void SendMouse(KwComponent* widget, UINT message, int x, int y)
{
    SendMessageA(WindowOf(widget), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 PointParam(x, y));
}

// A press at the first point, moves through the others, and the release at
// the last one.
inline void Drag(KwComponent* widget, const std::vector<KwPoint>& path)
{
    SendMouse(widget, WM_LBUTTONDOWN, path.front().GetX(), path.front().GetY());
    for (const KwPoint& point : path) {
        SendMouse(widget, WM_MOUSEMOVE, point.GetX(), point.GetY());
    }
    SendMouse(widget, WM_LBUTTONUP, path.back().GetX(), path.back().GetY());
}

inline void SendKey(KwComponent* widget, UINT message, WPARAM key)
{
    SendMessageA(WindowOf(widget), message, key, message == WM_KEYUP ? 0xC0000001 : 1);
}

// A shown pop-up window holding one widget at (10, 10); it logs the actions
// it receives as "host:ActionPerformed id param".
class WidgetHost {
public:
    WidgetHost(KwComponent* widget, int width, int height)
        : m_pWindow(MakeCounted<Recording<KwPopupWindow>>(&log, "host"))
    {
        m_pWindow->SetBounds(200, 200, width + 20, height + 20, 0);
        widget->SetBounds(10, 10, width, height, 0);
        m_pWindow->Add(widget);
        created = CreateShown(m_pWindow);
        PumpMessages();
        log.clear();
    }

    ~WidgetHost()
    {
        m_pWindow->RemoveAll();
        m_pWindow->Release();
        PumpMessages();
    }

    // The actions the host has received so far, after running the loop.
    EventLog Delivered()
    {
        PumpMessages();
        return log;
    }

    KwPopupWindow* Window() { return m_pWindow; }

    EventLog log;
    int created = 0;

private:
    WidgetHost(const WidgetHost&) = delete;
    WidgetHost& operator=(const WidgetHost&) = delete;

    Recording<KwPopupWindow>* m_pWindow;
};

} // namespace Testing
} // namespace KwSDK

#endif
