// A set of pictures with an optional canvas size, guarded by its object lock.
#include "KwImageGroup.h"

namespace KwSDK {

namespace {

// Holds an object's lock for the lifetime of the guard.
class LockGuard {
public:
    explicit LockGuard(KwObject* object) : m_pObject(object) { m_pObject->Lock(KW_INFINITE); }
    ~LockGuard() { m_pObject->Unlock(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    KwObject* m_pObject;
};

} // namespace

KwImageGroup::KwImageGroup() : m_nWidth(0), m_nHeight(0)
{
    AppendTypeName("KwImageGroup");
}

KwImageGroup::~KwImageGroup()
{
    for (int i = 0; i < m_images.GetCount(); ++i) {
        ImageAt(i)->Release();
    }
}

KwImage* KwImageGroup::ImageAt(int index) const
{
    return static_cast<KwImage*>(m_images.GetAt(index));
}

int KwImageGroup::GetCount()
{
    LockGuard guard(this);
    return m_images.GetCount();
}

KwImage* KwImageGroup::GetAt(int index)
{
    LockGuard guard(this);
    KwImage* image = ImageAt(index);
    if (image != nullptr) {
        image->AddRef();
    }
    return image;
}

int KwImageGroup::Add(KwImage* image)
{
    LockGuard guard(this);
    if (image == nullptr || !m_images.Add(image)) {
        return 0;
    }
    image->AddRef();
    return 1;
}

// The vector offers no removal or replacement by index, and removing by
// pointer would hit the first copy of an image that was added twice, so the
// item list is rebuilt with the one slot changed (a null replacement drops
// the slot). The caller holds the lock.
int KwImageGroup::Rebuild(int index, KwImage* replacement)
{
    TKwVector<void*> rebuilt;
    for (int i = 0; i < m_images.GetCount(); ++i) {
        void* item = i == index ? replacement : m_images.GetAt(i);
        if (item != nullptr && !rebuilt.Add(item)) {
            return 0;
        }
    }
    m_images = rebuilt;
    return m_images.GetCount() == rebuilt.GetCount() ? 1 : 0;
}

int KwImageGroup::RemoveAt(int index)
{
    LockGuard guard(this);
    KwImage* old = ImageAt(index);
    if (old == nullptr || !Rebuild(index, nullptr)) {
        return 0;
    }
    old->Release();
    return 1;
}

int KwImageGroup::SetAt(int index, KwImage* image)
{
    LockGuard guard(this);
    KwImage* old = ImageAt(index);
    if (old == nullptr || image == nullptr || !Rebuild(index, image)) {
        return 0;
    }
    image->AddRef();
    old->Release();
    return 1;
}

int KwImageGroup::GetWidth()
{
    LockGuard guard(this);
    if (m_nWidth != 0 || m_nHeight != 0) {
        return m_nWidth;
    }
    int widest = 0;
    for (int i = 0; i < m_images.GetCount(); ++i) {
        int width = ImageAt(i)->GetWidth();
        widest = width > widest ? width : widest;
    }
    return widest;
}

int KwImageGroup::SetWidth(int width)
{
    LockGuard guard(this);
    m_nWidth = width;
    return 1;
}

int KwImageGroup::GetHeight()
{
    LockGuard guard(this);
    if (m_nWidth != 0 || m_nHeight != 0) {
        return m_nHeight;
    }
    int tallest = 0;
    for (int i = 0; i < m_images.GetCount(); ++i) {
        int height = ImageAt(i)->GetHeight();
        tallest = height > tallest ? height : tallest;
    }
    return tallest;
}

int KwImageGroup::SetHeight(int height)
{
    LockGuard guard(this);
    m_nHeight = height;
    return 1;
}

} // namespace KwSDK
