// A rectangle held as origin and extent.
#ifndef KWSDK_KWRECT_H
#define KWSDK_KWRECT_H

#include "KwObject.h"
#include "KwPoint.h"
#include "KwSize.h"

namespace KwSDK {

// x, y, width and height in pixels, all 0 unless given. The rectangle is
// stored as origin and extent, not as corners; it offers no set operations.
class KwRect : public virtual KwObject {
public:
    KwRect();
    KwRect(int x, int y, int width, int height);
    KwRect(const KwRect& other);
    KwRect& operator=(const KwRect& other);

    // A new rectangle with the same values and one reference, or null.
    KwRect* Clone() const override;

    virtual void SetX(int x);
    virtual void SetY(int y);
    virtual void SetWidth(int width);
    virtual void SetHeight(int height);
    // Copies the point's coordinates; null is ignored. The point is only
    // read, so a point on the stack may be passed.
    virtual void SetLocation(const KwPoint* location);
    virtual void SetLocation(int x, int y);
    // Copies the size's extent; null is ignored.
    virtual void SetSize(const KwSize* size);
    virtual void SetSize(int width, int height);
    virtual int GetX() const;
    virtual int GetY() const;
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    // A new point with one reference for the caller, or null without memory.
    virtual KwPoint* GetLocation() const;
    // A new size with one reference for the caller, or null without memory.
    virtual KwSize* GetSize() const;

private:
    int m_nX;
    int m_nY;
    int m_nWidth;
    int m_nHeight;
};

} // namespace KwSDK

#endif
