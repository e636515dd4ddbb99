// The caret description: size and context; the system operations are empty.
#include "IKwCaret.h"

namespace KwSDK {

IKwCaret::IKwCaret() : m_nWidth(1), m_nHeight(16), m_pContext(nullptr)
{
    AppendTypeName("IKwCaret");
}

IKwCaret::~IKwCaret()
{
    if (m_pContext != nullptr) {
        m_pContext->Release();
    }
}

int IKwCaret::GetWidth() const
{
    return m_nWidth;
}

int IKwCaret::GetHeight() const
{
    return m_nHeight;
}

KwObject* IKwCaret::GetContext()
{
    if (m_pContext != nullptr) {
        m_pContext->AddRef();
    }
    return m_pContext;
}

void IKwCaret::SetWidth(int width)
{
    m_nWidth = width;
}

void IKwCaret::SetHeight(int height)
{
    m_nHeight = height;
}

// The new context is counted before the old one is let go, so setting the
// same object again cannot free it on the way.
void IKwCaret::SetContext(KwObject* context)
{
    if (context != nullptr) {
        context->AddRef();
    }
    if (m_pContext != nullptr) {
        m_pContext->Release();
    }
    m_pContext = context;
}

int IKwCaret::CreateCaret() { return 0; }
int IKwCaret::ShowCaret() { return 0; }
int IKwCaret::HideCaret() { return 0; }
int IKwCaret::SetPosition(int, int) { return 0; }
int IKwCaret::DestroyCaret() { return 0; }
int IKwCaret::SetBlinkTime(int) { return 0; }
int IKwCaret::GetBlinkTime() { return 0; }

} // namespace KwSDK
