// One run of a text view row: text drawn in one colour and one font.
#include "KwTextAttrib.h"

#include "KwFont.h"

#include <cstdlib>
#include <cstring>

namespace KwSDK {

KwTextAttrib::KwTextAttrib() : m_nLength(0), m_nWidth(0), m_pFont(nullptr)
{
    AppendTypeName("KwTextAttrib");
}

KwTextAttrib::KwTextAttrib(const KwColor& color, KwFont* font)
    : m_nLength(0), m_nWidth(0), m_color(color), m_pFont(nullptr)
{
    AppendTypeName("KwTextAttrib");
    SetFont(font);
}

KwTextAttrib::~KwTextAttrib()
{
    if (m_pFont != nullptr) {
        m_pFont->Release();
    }
}

const KwString& KwTextAttrib::GetText() const
{
    return m_sText;
}

int KwTextAttrib::GetLength() const
{
    return m_nLength;
}

int KwTextAttrib::AppendText(const char* bytes, int length)
{
    if (bytes == nullptr || length <= 0) {
        return 1;
    }
    // The text may hold zero bytes, so the joined text is built by length.
    size_t total = static_cast<size_t>(m_nLength) + static_cast<size_t>(length);
    char* joined = static_cast<char*>(malloc(total));
    if (joined == nullptr) {
        return 0;
    }
    if (m_nLength > 0) {
        memcpy(joined, m_sText.GetText(), static_cast<size_t>(m_nLength));
    }
    memcpy(joined + m_nLength, bytes, static_cast<size_t>(length));
    int assigned = m_sText.Assign(joined, static_cast<int>(total));
    free(joined);
    if (assigned) {
        m_nLength = static_cast<int>(total);
    }
    return assigned;
}

int KwTextAttrib::GetWidth() const
{
    return m_nWidth;
}

void KwTextAttrib::SetWidth(int width)
{
    m_nWidth = width;
}

KwColor KwTextAttrib::GetColor() const
{
    return m_color;
}

void KwTextAttrib::SetColor(const KwColor& color)
{
    m_color = color;
}

KwFont* KwTextAttrib::GetFont() const
{
    if (m_pFont != nullptr) {
        m_pFont->AddRef();
    }
    return m_pFont;
}

void KwTextAttrib::SetFont(KwFont* font)
{
    if (font != nullptr) {
        font->AddRef();
    }
    if (m_pFont != nullptr) {
        m_pFont->Release();
    }
    m_pFont = font;
}

int KwTextAttrib::HasStyle(const KwColor& color, KwFont* font) const
{
    if (m_color.GetARGB() != color.GetARGB()) {
        return 0;
    }
    if (m_pFont == font) {
        return 1;
    }
    return m_pFont != nullptr && m_pFont->Equals(font) ? 1 : 0;
}

} // namespace KwSDK
