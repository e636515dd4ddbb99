// Turns a KwFont description into a system font for one drawing call.
#include "KwFontMapping.h"

#include "KwFont.h"

namespace KwSDK {

HFONT CreateGdiFont(const KwFont* font)
{
    if (font == nullptr) {
        return nullptr;
    }
    KwString name = font->GetName();
    const char* face = name.GetText() != nullptr ? name.GetText() : "";
    return CreateFontA(font->GetHeight(), font->GetWidth(), 0, 0, font->GetWeight(),
                       font->GetItalic() ? TRUE : FALSE, font->GetUnderline() ? TRUE : FALSE,
                       font->GetStrikeOut() ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

} // namespace KwSDK
