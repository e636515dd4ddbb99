// Appends 20,000 lines to a shown text view one by one, each append
// repainting the view as the installer's copy page does, and compares the
// time of the last 1,000 appends with that of the first 1,000. A view whose
// appends grow slower with the rows it holds shows a ratio well above 1.
#include "KwPopupWindow.h"
#include "KwTextView.h"

#include <windows.h>

#include <cstdio>

using namespace KwSDK;

namespace {

const int kLines = 20000;
const int kWindow = 1000;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int main()
{
    KwPopupWindow* popup = new KwPopupWindow();
    popup->AddRef();
    popup->SetBounds(40, 40, 520, 320, 0);
    KwTextView* view = new KwTextView();
    view->AddRef();
    view->SetBounds(10, 10, 480, 280, 0);
    popup->Add(view);
    popup->Hide();
    if (!popup->Create(GetModuleHandleA(nullptr), nullptr)) {
        std::printf("could not create the window\n");
        return 1;
    }
    popup->Show(0);
    PumpMessages();

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double first = 0;
    double last = 0;
    KwColor black(0, 0, 0);
    char line[96];
    for (int i = 0; i < kLines; ++i) {
        std::snprintf(line, sizeof line, "C:\\Program Files\\Product\\plugins\\file_%05d.dll\n", i);
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        view->Append(line, black);
        QueryPerformanceCounter(&end);
        double spent = Seconds(start, end, frequency);
        if (i < kWindow) {
            first += spent;
        } else if (i >= kLines - kWindow) {
            last += spent;
        }
        if (i % 100 == 0) {
            PumpMessages();
        }
    }
    std::printf("rows held at the end: %d, top row %d\n", view->GetRowCount(), view->GetTopRow());
    std::printf("first %d appends: %.1f ms (%.3f ms each)\n", kWindow, first * 1000,
                first * 1000 / kWindow);
    std::printf("last %d appends:  %.1f ms (%.3f ms each)\n", kWindow, last * 1000,
                last * 1000 / kWindow);
    std::printf("ratio last / first: %.2f (goal: at most 1.5)\n", first > 0 ? last / first : 0.0);

    popup->DestroyNative();
    view->Release();
    popup->Release();
    return 0;
}
