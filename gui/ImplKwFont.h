// The stored description of a KwFont: face, size, weight and style flags.
#ifndef KWSDK_IMPLKWFONT_H
#define KWSDK_IMPLKWFONT_H

#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {

class KwFont;

// Made by its KwFont, which forwards every description operation here. A
// negative height is a character height in pixels, a positive one a cell
// height; the getters answer absolute values so that the system always
// reads them as cell heights.
class ImplKwFont : public virtual KwObject {
public:
    // owner is the KwFont this object describes; it is not counted.
    explicit ImplKwFont(KwFont* owner);
    ~ImplKwFont() override;

    virtual void SetName(const KwString& name);
    virtual KwString GetName() const;
    // Stores the value unchanged; GetHeight answers its absolute value.
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
    // 1 when the other font has the same face (byte for byte), the same
    // absolute height and width, weight and flags; 0 otherwise or for null.
    virtual int Equals(KwFont* other) const;
    // Sets the height for the given size in points on the desktop's
    // resolution and remembers the point size; does nothing when the desktop
    // window or its device context is missing.
    virtual void SetPointSize(int points);
    virtual int GetPointSize() const;

    KwFont* GetOwner() const;

private:
    ImplKwFont(const ImplKwFont&) = delete;
    ImplKwFont& operator=(const ImplKwFont&) = delete;

    KwString m_sName;
    int m_nHeight;
    int m_nWidth;
    int m_nWeight;
    int m_bItalic;
    int m_bUnderline;
    int m_bStrikeOut;
    KwFont* m_pOwner;
    int m_nPointSize;
};

} // namespace KwSDK

#endif
