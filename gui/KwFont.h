// A font description (face, size, weight, style flags) and the font factory.
#ifndef KWSDK_KWFONT_H
#define KWSDK_KWFONT_H

#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {

class ImplKwFont;

// A thin object over its ImplKwFont. When the implementation could not be
// allocated every setter does nothing and every getter answers 0 (an empty
// name). Drawing code turns the description into a system font per call
// (see KwFontMapping.h).
class KwFont : public virtual KwObject {
public:
    KwFont();
    ~KwFont() override;

    virtual void SetName(const KwString& name);
    virtual KwString GetName() const;
    // Stores the value unchanged; a negative value is a character height in
    // pixels. GetHeight answers the absolute value.
    virtual void SetHeight(int height);
    virtual int GetHeight() const;
    // 0 means the face's default width; GetWidth answers the absolute value.
    virtual void SetWidth(int width);
    virtual int GetWidth() const;
    // 400 is normal, 700 bold.
    virtual void SetWeight(int weight);
    virtual int GetWeight() const;
    virtual void SetItalic(int italic);
    virtual int GetItalic() const;
    virtual void SetUnderline(int underline);
    virtual int GetUnderline() const;
    virtual void SetStrikeOut(int strikeOut);
    virtual int GetStrikeOut() const;
    // 1 when face (byte for byte), absolute height and width, weight and the
    // three flags agree; 0 otherwise or for null.
    virtual int Equals(KwFont* other) const;
    // Always 0.
    virtual int QueryFlag() const;
    // Kept for the slot layout: takes one int and does nothing.
    virtual void Reserved(int value);
    // Height for the given size in points on the desktop's resolution; the
    // point size is remembered. Nothing happens without a desktop context.
    virtual void SetPointSize(int points);
    // 9 until SetPointSize stores another size.
    virtual int GetPointSize() const;

private:
    KwFont(const KwFont&) = delete;
    KwFont& operator=(const KwFont&) = delete;

    ImplKwFont* m_pImpl;
};

// A font of the given face and size in points, weight 400, no style flags,
// with one reference for the caller; null when the desktop window or its
// device context is unavailable or memory runs out.
KwFont* MakeFont(const KwString& name, int points);

// The desktop's own face at 12 points, with one reference for the caller;
// null when the desktop, its device context or the face name is missing.
KwFont* GetDefaultFont();

} // namespace KwSDK

#endif
