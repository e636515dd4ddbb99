// A plain top-level window with a component buffer on its device context,
// for tests that draw and read the buffer's pixels back.
#ifndef KWSDK_GRAPHICSTESTWINDOW_H
#define KWSDK_GRAPHICSTESTWINDOW_H

#include "ComponentGraphics.h"
#include "KwBuffer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace KwSDK {
namespace Testing {

// Colours in tests are written 0xRRGGBB.
inline KwColor Rgb(unsigned int rgb)
{
    return KwColor(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                   static_cast<int>(rgb & 0xFF));
}

class GraphicsTestWindow : public ::testing::Test {
protected:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 48;
    static constexpr unsigned int kPaper = 0xFFFFFF;

    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KwGraphicsTestWindow";
        RegisterClassA(&windowClass);
        m_hWindow = CreateWindowExA(0, "KwGraphicsTestWindow", "graphics test",
                                    WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_hWindow, nullptr);
        m_pGraphics = new ComponentGraphics();
        m_pGraphics->AddRef();
        m_pGraphics->SetWindow(m_hWindow);
        HDC context = GetDC(m_hWindow);
        ASSERT_NE(context, nullptr);
        int built = m_pGraphics->CreateBuffer(context, kWidth, kHeight);
        ReleaseDC(m_hWindow, context);
        ASSERT_EQ(built, 1);
        m_pGraphics->SetBackColor(Rgb(kPaper));
        m_pGraphics->Clear();
    }

    void TearDown() override
    {
        if (m_pGraphics != nullptr) {
            m_pGraphics->Release();
        }
        if (m_hWindow != nullptr) {
            DestroyWindow(m_hWindow);
        }
    }

    // The buffer's pixels as 0xRRGGBB, row by row from the top.
    std::vector<unsigned int> Snapshot()
    {
        KwBuffer buffer;
        int width = 0;
        int height = 0;
        std::vector<unsigned int> pixels;
        EXPECT_EQ(m_pGraphics->CopyToBuffer(&buffer, &width, &height), 1);
        EXPECT_EQ(width, kWidth);
        EXPECT_EQ(height, kHeight);
        if (width != kWidth || height != kHeight || buffer.GetSize() != width * height * 3) {
            return pixels;
        }
        const unsigned char* bgr = buffer.GetPointer(0);
        for (int i = 0; i < width * height; ++i, bgr += 3) {
            pixels.push_back(static_cast<unsigned int>(bgr[2]) << 16 | bgr[1] << 8 | bgr[0]);
        }
        return pixels;
    }

    unsigned int Pixel(int x, int y)
    {
        std::vector<unsigned int> pixels = Snapshot();
        if (pixels.empty() || x < 0 || y < 0 || x >= kWidth || y >= kHeight) {
            ADD_FAILURE() << "no pixel at " << x << ", " << y;
            return 0xDEADBEEF;
        }
        return pixels[static_cast<size_t>(y * kWidth + x)];
    }

    struct Expected {
        int x;
        int y;
        unsigned int rgb;
    };

    // Checks every listed pixel against one reading of the buffer.
    void ExpectPixels(std::initializer_list<Expected> expected)
    {
        std::vector<unsigned int> pixels = Snapshot();
        ASSERT_FALSE(pixels.empty());
        for (const Expected& pixel : expected) {
            EXPECT_EQ(pixels[static_cast<size_t>(pixel.y * kWidth + pixel.x)], pixel.rgb)
                << "at (" << pixel.x << ", " << pixel.y << ")";
        }
    }

    // Checks a run of pixels from (x, y) stepping by (dx, dy).
    void ExpectRun(int x, int y, int dx, int dy, int count, unsigned int rgb)
    {
        std::vector<unsigned int> pixels = Snapshot();
        ASSERT_FALSE(pixels.empty());
        for (int i = 0; i < count; ++i, x += dx, y += dy) {
            EXPECT_EQ(pixels[static_cast<size_t>(y * kWidth + x)], rgb)
                << "at (" << x << ", " << y << ")";
        }
    }

    void SetDrawingColor(unsigned int rgb) { m_pGraphics->SetColor(Rgb(rgb)); }

    void SetFillColor(unsigned int rgb)
    {
        KwColor* fill = m_pGraphics->GetFillColor();
        fill->SetARGB(rgb);
        fill->Release();
    }

    HWND m_hWindow = nullptr;
    ComponentGraphics* m_pGraphics = nullptr;
};

} // namespace Testing
} // namespace KwSDK

#endif
