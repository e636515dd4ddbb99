// A set of pictures (the frames of an animation or the images of an icon
// file) with an optional canvas size.
#ifndef KWSDK_KWIMAGEGROUP_H
#define KWSDK_KWIMAGEGROUP_H

#include "KwImage.h"
#include "KwObject.h"
#include "TKwVector.h"

namespace KwSDK {

// Holds one reference to each image. Every operation holds the group's
// object lock, so several threads may share one group.
class KwImageGroup : public virtual KwObject {
public:
    KwImageGroup();
    // Releases every image.
    ~KwImageGroup() override;

    virtual int GetCount();
    // The image at an index with one added reference; null outside
    // 0 .. count - 1.
    virtual KwImage* GetAt(int index);
    // Appends the image and holds a reference; 0 for null or no memory.
    virtual int Add(KwImage* image);
    // Releases and removes the image at an index; 0 outside the range.
    virtual int RemoveAt(int index);
    // Holds the new image in place of the one at an index and releases the
    // old one; 0 for null or an index outside the range.
    virtual int SetAt(int index, KwImage* image);
    // The canvas width when a canvas size was set, else the widest image.
    virtual int GetWidth();
    virtual int SetWidth(int width);
    // The canvas height when a canvas size was set, else the tallest image.
    virtual int GetHeight();
    virtual int SetHeight(int height);

private:
    KwImageGroup(const KwImageGroup&) = delete;
    KwImageGroup& operator=(const KwImageGroup&) = delete;

    KwImage* ImageAt(int index) const;
    int Rebuild(int index, KwImage* replacement);

    TKwVector<void*> m_images;
    int m_nWidth;
    int m_nHeight;
};

} // namespace KwSDK

#endif
