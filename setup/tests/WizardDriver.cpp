// Real input to the wizard's control windows, its message boxes and its
// pixels.
#include "WizardDriver.h"

#include "SetupTestSupport.h"

#include <png.h>

#include <cstdio>

namespace SetupTest {

namespace {

struct ChildSearch {
    HWND parent;
    ControlPlace place;
    HWND found;
    HWND foundVisible;
};

BOOL CALLBACK NoteChild(HWND child, LPARAM parameter)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(parameter);
    if (GetParent(child) != search->parent)
        return TRUE;
    RECT bounds;
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, search->parent, reinterpret_cast<POINT*>(&bounds), 2);
    if (bounds.left != search->place.x || bounds.top != search->place.y ||
        bounds.right - bounds.left != search->place.width ||
        bounds.bottom - bounds.top != search->place.height)
        return TRUE;
    if (search->found == nullptr)
        search->found = child;
    if (search->foundVisible == nullptr && IsWindowVisible(child))
        search->foundVisible = child;
    return TRUE;
}

struct TopSearch {
    std::string caption;
    HWND found;
};

BOOL CALLBACK NoteTop(HWND window, LPARAM parameter)
{
    TopSearch* search = reinterpret_cast<TopSearch*>(parameter);
    char text[256] = {0};
    GetWindowTextA(window, text, sizeof text);
    if (search->caption == text && IsWindowVisible(window))
        search->found = window;
    return search->found == nullptr;
}

} // namespace

WizardDriver::WizardDriver(HWND wizard) : m_hWizard(wizard) {}

HWND WizardDriver::Control(const ControlPlace& place) const
{
    ChildSearch search = {m_hWizard, place, nullptr, nullptr};
    EnumChildWindows(m_hWizard, NoteChild, reinterpret_cast<LPARAM>(&search));
    return search.foundVisible != nullptr ? search.foundVisible : search.found;
}

bool WizardDriver::IsShown(const ControlPlace& place) const
{
    HWND control = Control(place);
    return control != nullptr && IsWindowVisible(control);
}

bool WizardDriver::IsEnabled(const ControlPlace& place) const
{
    HWND control = Control(place);
    return control != nullptr && IsWindowEnabled(control);
}

void WizardDriver::Click(const ControlPlace& place) const
{
    HWND control = Control(place);
    LPARAM point = MAKELPARAM(place.width / 2, place.height / 2);
    PostMessageA(control, WM_MOUSEMOVE, 0, point);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(control, WM_LBUTTONUP, 0, point);
}

void WizardDriver::Key(const ControlPlace& place, int virtualKey) const
{
    HWND control = Control(place);
    PostMessageA(control, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
    PostMessageA(control, WM_KEYUP, static_cast<WPARAM>(virtualKey), 0xC0000001);
}

void WizardDriver::ChooseLanguage(int index) const
{
    // The combo box's edit field sits 2 pixels inside it, beside the
    // square arrow button.
    ChildSearch search = {Control(kLanguage), {2, 2, 78, 18}, nullptr, nullptr};
    EnumChildWindows(search.parent, NoteChild, reinterpret_cast<LPARAM>(&search));
    HWND edit = search.found;
    for (int i = 0; i <= index; ++i)
        PostMessageA(edit, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
}

void WizardDriver::Type(const ControlPlace& place, const std::string& text) const
{
    HWND control = Control(place);
    for (char ch : text)
        PostMessageA(control, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 1);
}

void WizardDriver::Clear(const ControlPlace& place, int count) const
{
    Key(place, VK_END);
    HWND control = Control(place);
    // The key-down alone deletes; no character message follows a posted one.
    for (int i = 0; i < count; ++i)
        PostMessageA(control, WM_KEYDOWN, VK_BACK, 1);
}

bool WizardDriver::WaitShown(const ControlPlace& place, DWORD timeout) const
{
    return WaitFor([&] { return IsShown(place); }, timeout);
}

bool WizardDriver::WaitHidden(const ControlPlace& place, DWORD timeout) const
{
    return WaitFor([&] { return !IsShown(place); }, timeout);
}

bool WizardDriver::WaitEnabled(const ControlPlace& place, bool enabled, DWORD timeout) const
{
    return WaitFor([&] { return IsEnabled(place) == enabled; }, timeout);
}

bool WizardDriver::Answer(const std::string& caption, int button, std::string* text, DWORD timeout)
{
    // A box that is still going away after an earlier answer is not taken
    // for the next one, and a box is read only once it shows its text.
    static HWND s_answered = nullptr;
    HWND box = nullptr;
    char buffer[1024] = {0};
    bool ready = WaitFor([&] {
        box = FindWindowA("#32770", caption.c_str());
        if (box == nullptr || (box == s_answered && IsWindow(box)) || !IsWindowVisible(box))
            return false;
        return GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer) > 0;
    }, timeout);
    if (!ready)
        return false;
    if (text != nullptr)
        *text = buffer;
    s_answered = box;
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    return WaitFor([&] { return !IsWindow(box); }, timeout);
}

std::vector<unsigned int> WizardDriver::Capture(int* width, int* height) const
{
    RECT client;
    GetClientRect(m_hWizard, &client);
    POINT origin = {0, 0};
    ClientToScreen(m_hWizard, &origin);
    *width = client.right;
    *height = client.bottom;
    std::vector<unsigned int> pixels(static_cast<size_t>(*width) * static_cast<size_t>(*height));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = -*height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, *width, *height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const unsigned int* source = static_cast<const unsigned int*>(bits);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = source[i] & 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The rows of a capture as an RGB PNG; libpng reports errors by a long jump
// back here, so nothing written after the jump point is read after it.
static bool WritePng(FILE* file, const std::vector<unsigned int>& pixels, int width, int height)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned int rgb = pixels[static_cast<size_t>(y) * width + x];
            row[x * 3] = static_cast<png_byte>(rgb >> 16);
            row[x * 3 + 1] = static_cast<png_byte>(rgb >> 8);
            row[x * 3 + 2] = static_cast<png_byte>(rgb);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool WizardDriver::SavePng(const std::string& path) const
{
    int width = 0;
    int height = 0;
    std::vector<unsigned int> pixels = Capture(&width, &height);
    if (width <= 0 || height <= 0)
        return false;
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = WritePng(file, pixels, width, height);
    return fclose(file) == 0 && written;
}

HWND WaitForWizardWindow(const std::string& caption, DWORD timeout)
{
    TopSearch search = {caption, nullptr};
    WaitFor([&] {
        search.found = nullptr;
        EnumWindows(NoteTop, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeout);
    return search.found;
}

int CountColour(const std::vector<unsigned int>& pixels, int width, const ControlPlace& place,
                unsigned int colour)
{
    int count = 0;
    for (int y = place.y; y < place.y + place.height; ++y) {
        for (int x = place.x; x < place.x + place.width && x < width; ++x) {
            size_t index = static_cast<size_t>(y) * width + x;
            if (index < pixels.size() && pixels[index] == colour)
                ++count;
        }
    }
    return count;
}

} // namespace SetupTest
