// One run of a text view row: text drawn in one colour and one font.
#ifndef KWSDK_KWTEXTATTRIB_H
#define KWSDK_KWTEXTATTRIB_H

#include "KwColor.h"
#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {

class KwFont;

// Holds its text, the text's byte length, its width in pixels as the view
// measured it, its colour and a reference to its font (which may be null:
// the run is then drawn in whatever font the surface has).
class KwTextAttrib : public virtual KwObject {
public:
    KwTextAttrib();
    // Empty text of width 0; the font gets one reference.
    KwTextAttrib(const KwColor& color, KwFont* font);
    ~KwTextAttrib() override;

    virtual const KwString& GetText() const;
    // Bytes, not characters.
    virtual int GetLength() const;
    // Appends length bytes; 0 (text unchanged) when memory runs out.
    virtual int AppendText(const char* bytes, int length);
    virtual int GetWidth() const;
    virtual void SetWidth(int width);
    virtual KwColor GetColor() const;
    virtual void SetColor(const KwColor& color);
    // With one added reference; null when the run has no font.
    virtual KwFont* GetFont() const;
    // Keeps the font with one reference, releasing the old one.
    virtual void SetFont(KwFont* font);
    // 1 when the run has this colour (all four bytes) and an equal font.
    virtual int HasStyle(const KwColor& color, KwFont* font) const;

private:
    KwTextAttrib(const KwTextAttrib&) = delete;
    KwTextAttrib& operator=(const KwTextAttrib&) = delete;

    KwString m_sText;
    int m_nLength;
    int m_nWidth;
    KwColor m_color;
    KwFont* m_pFont;
};

} // namespace KwSDK

#endif
