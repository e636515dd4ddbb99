// The text caret of a component window, on the system caret.
#include "ComponentCaret.h"

namespace KwSDK {

ComponentCaret::ComponentCaret() : m_hWindow(nullptr), m_bCreated(0)
{
    AppendTypeName("ComponentCaret");
}

ComponentCaret::~ComponentCaret() = default;

void ComponentCaret::SetHeight(int height)
{
    if (m_bCreated && height != m_nHeight && m_hWindow != nullptr) {
        ::DestroyCaret();
        ::CreateCaret(m_hWindow, nullptr, m_nWidth, height);
        ::ShowCaret(m_hWindow);
    }
    m_nHeight = height;
}

int ComponentCaret::CreateCaret()
{
    if (m_hWindow == nullptr) {
        return 0;
    }
    m_bCreated = 1;
    return ::CreateCaret(m_hWindow, nullptr, m_nWidth, m_nHeight) ? 1 : 0;
}

int ComponentCaret::ShowCaret()
{
    return m_hWindow != nullptr && ::ShowCaret(m_hWindow) ? 1 : 0;
}

int ComponentCaret::HideCaret()
{
    return m_hWindow != nullptr && ::HideCaret(m_hWindow) ? 1 : 0;
}

int ComponentCaret::SetPosition(int x, int y)
{
    return ::SetCaretPos(x, y) ? 1 : 0;
}

int ComponentCaret::DestroyCaret()
{
    m_bCreated = 0;
    return ::DestroyCaret() ? 1 : 0;
}

int ComponentCaret::SetBlinkTime(int milliseconds)
{
    return ::SetCaretBlinkTime(static_cast<UINT>(milliseconds)) ? 1 : 0;
}

int ComponentCaret::GetBlinkTime()
{
    return static_cast<int>(::GetCaretBlinkTime());
}

void ComponentCaret::SetWindow(HWND window)
{
    m_hWindow = window;
}

int ComponentCaret::IsCaretCreated() const
{
    return m_bCreated;
}

} // namespace KwSDK
