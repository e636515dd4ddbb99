// A point of the toolkit's integer coordinate plane.
#ifndef KWSDK_KWPOINT_H
#define KWSDK_KWPOINT_H

#include "KwObject.h"

namespace KwSDK {

// x and y in pixels, both 0 unless given. Copies are independent objects.
class KwPoint : public virtual KwObject {
public:
    KwPoint();
    KwPoint(int x, int y);
    KwPoint(const KwPoint& other);
    KwPoint& operator=(const KwPoint& other);

    // A new point with the same coordinates and one reference, or null.
    KwPoint* Clone() const override;

    virtual int GetX() const;
    virtual int GetY() const;
    // Moves the point by the given offsets.
    virtual void Translate(int dx, int dy);
    virtual void Set(int x, int y);

private:
    int m_nX;
    int m_nY;
};

} // namespace KwSDK

#endif
