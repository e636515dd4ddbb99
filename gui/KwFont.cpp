// A font description (face, size, weight, style flags) and the font factory.
#include "KwFont.h"

#include "ImplKwFont.h"

#include <windows.h>

#include <new>

namespace KwSDK {

namespace {

const int kDefaultFontPoints = 12;
const int kFaceNameBytes = 256;
const int kNormalWeight = 400;

} // namespace

KwFont::KwFont() : m_pImpl(new (std::nothrow) ImplKwFont(this))
{
    AppendTypeName("KwFont");
}

KwFont::~KwFont()
{
    delete m_pImpl;
}

void KwFont::SetName(const KwString& name)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetName(name);
    }
}

KwString KwFont::GetName() const
{
    return m_pImpl != nullptr ? m_pImpl->GetName() : KwString();
}

void KwFont::SetHeight(int height)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetHeight(height);
    }
}

int KwFont::GetHeight() const
{
    return m_pImpl != nullptr ? m_pImpl->GetHeight() : 0;
}

void KwFont::SetWidth(int width)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetWidth(width);
    }
}

int KwFont::GetWidth() const
{
    return m_pImpl != nullptr ? m_pImpl->GetWidth() : 0;
}

void KwFont::SetWeight(int weight)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetWeight(weight);
    }
}

int KwFont::GetWeight() const
{
    return m_pImpl != nullptr ? m_pImpl->GetWeight() : 0;
}

void KwFont::SetItalic(int italic)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetItalic(italic);
    }
}

int KwFont::GetItalic() const
{
    return m_pImpl != nullptr ? m_pImpl->GetItalic() : 0;
}

void KwFont::SetUnderline(int underline)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetUnderline(underline);
    }
}

int KwFont::GetUnderline() const
{
    return m_pImpl != nullptr ? m_pImpl->GetUnderline() : 0;
}

void KwFont::SetStrikeOut(int strikeOut)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetStrikeOut(strikeOut);
    }
}

int KwFont::GetStrikeOut() const
{
    return m_pImpl != nullptr ? m_pImpl->GetStrikeOut() : 0;
}

int KwFont::Equals(KwFont* other) const
{
    return m_pImpl != nullptr ? m_pImpl->Equals(other) : 0;
}

int KwFont::QueryFlag() const
{
    return 0;
}

void KwFont::Reserved(int value)
{
    (void)value;
}

void KwFont::SetPointSize(int points)
{
    if (m_pImpl != nullptr) {
        m_pImpl->SetPointSize(points);
    }
}

int KwFont::GetPointSize() const
{
    return m_pImpl != nullptr ? m_pImpl->GetPointSize() : 0;
}

// The height comes from SetPointSize, which uses the same desktop resolution
// and rounding, so that the font also reports the size it was made for.
KwFont* MakeFont(const KwString& name, int points)
{
    HWND desktop = GetDesktopWindow();
    HDC context = desktop != nullptr ? GetWindowDC(desktop) : nullptr;
    if (context == nullptr) {
        return nullptr;
    }
    ReleaseDC(desktop, context);
    KwFont* font = new (std::nothrow) KwFont();
    if (font == nullptr) {
        return nullptr;
    }
    font->AddRef();
    font->SetPointSize(points);
    font->SetWidth(0);
    font->SetWeight(kNormalWeight);
    font->SetItalic(0);
    font->SetUnderline(0);
    font->SetStrikeOut(0);
    font->SetName(name);
    return font;
}

KwFont* GetDefaultFont()
{
    HWND desktop = GetDesktopWindow();
    HDC context = desktop != nullptr ? GetWindowDC(desktop) : nullptr;
    if (context == nullptr) {
        return nullptr;
    }
    char face[kFaceNameBytes] = {0};
    int length = GetTextFaceA(context, kFaceNameBytes, face);
    ReleaseDC(desktop, context);
    if (length <= 0 || face[0] == '\0') {
        return nullptr;
    }
    return MakeFont(KwString(face), kDefaultFontPoints);
}

} // namespace KwSDK
