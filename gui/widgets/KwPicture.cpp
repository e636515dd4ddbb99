// The picture component.
#include "KwPicture.h"

#include "IKwGraphics.h"
#include "KwDisplayableCopy.h"

namespace KwSDK {

namespace {

const int kStripGap = 2;

// The image as it can be drawn, with one reference: a blended copy for the
// formats with an alpha channel (null when it cannot be made), else the
// image itself.
KwImage* Displayable(KwImage* image, const KwColor& background)
{
    if (image == nullptr) {
        return nullptr;
    }
    if (KwNeedsDisplayableCopy(image->GetFormat())) {
        return KwDisplayableCopy(image, background.GetARGB());
    }
    image->AddRef();
    return image;
}

} // namespace

KwPicture::KwPicture() : m_pImage(nullptr), m_pGroup(nullptr), m_nFrame(0), m_bStrip(0), m_bBorder(0)
{
    AppendTypeName("KwPicture");
    SetClassName("KwPicture");
}

KwPicture::~KwPicture()
{
    Clear();
}

void KwPicture::SetImage(KwImage* image)
{
    // The caller's image may be the one held now, which Clear releases.
    if (image != nullptr) {
        image->AddRef();
    }
    Clear();
    if (image != nullptr) {
        SetCurrent(image);
        image->Release();
    }
    RepaintIfCreated();
}

KwImage* KwPicture::GetImage()
{
    if (m_pImage != nullptr) {
        m_pImage->AddRef();
    }
    return m_pImage;
}

void KwPicture::SetImageGroup(KwImageGroup* group)
{
    if (group != nullptr) {
        group->AddRef();
    }
    Clear();
    m_pGroup = group;
    if (group != nullptr && !m_bStrip && ShowFrame(0) && IsAnimated()) {
        StartAnimation();
    }
    RepaintIfCreated();
}

KwImageGroup* KwPicture::GetImageGroup()
{
    if (m_pGroup != nullptr) {
        m_pGroup->AddRef();
    }
    return m_pGroup;
}

// Leaving strip mode brings the animation back where it stopped.
void KwPicture::SetStripMode(int strip)
{
    int was = m_bStrip;
    m_bStrip = strip;
    if (strip) {
        StopTimer();
    } else if (was && m_pGroup != nullptr && ShowFrame(m_nFrame) && IsAnimated()) {
        StartAnimation();
    }
    if ((was != 0) != (strip != 0)) {
        RepaintIfCreated();
    }
}

void KwPicture::SetBorder(int border)
{
    if ((border != 0) == (m_bBorder != 0)) {
        return;
    }
    m_bBorder = border;
    RepaintIfCreated();
}

void KwPicture::Clear()
{
    StopTimer();
    SetCurrent(nullptr);
    if (m_pGroup != nullptr) {
        m_pGroup->Release();
        m_pGroup = nullptr;
    }
    m_nFrame = 0;
}

int KwPicture::GetFrameIndex() const
{
    return m_nFrame;
}

void KwPicture::SetCurrent(KwImage* image)
{
    KwImage* shown = Displayable(image, GetBackground());
    if (m_pImage != nullptr) {
        m_pImage->Release();
    }
    m_pImage = shown;
}

// Makes frame index of the group the current image; 0 when the group has
// no such frame.
int KwPicture::ShowFrame(int index)
{
    KwImage* frame = m_pGroup != nullptr ? m_pGroup->GetAt(index) : nullptr;
    if (frame == nullptr) {
        return 0;
    }
    m_nFrame = index;
    SetCurrent(frame);
    frame->Release();
    return 1;
}

int KwPicture::IsAnimated()
{
    return m_pGroup != nullptr && !m_bStrip && m_pGroup->GetCount() > 1 ? 1 : 0;
}

// The timer runs for the current frame's display time, taken from the
// group's frame itself in case no displayable copy of it could be made.
void KwPicture::StartAnimation()
{
    KwImage* frame = m_pGroup != nullptr ? m_pGroup->GetAt(m_nFrame) : nullptr;
    if (frame == nullptr) {
        StopTimer();
        return;
    }
    StartTimer(frame->GetDelay());
    frame->Release();
}

void KwPicture::RepaintIfCreated()
{
    if (IsCreated()) {
        RepaintAll();
    }
}

void KwPicture::OnAfterCreate()
{
    KwDesignComponent::OnAfterCreate();
    if (IsAnimated()) {
        StartAnimation();
    }
}

int KwPicture::OnTimer()
{
    if (!IsAnimated()) {
        StopTimer();
        return 1;
    }
    int next = m_nFrame + 1 < m_pGroup->GetCount() ? m_nFrame + 1 : 0;
    if (!ShowFrame(next)) {
        StopTimer();
        return 1;
    }
    StartAnimation();
    RepaintAll();
    return 1;
}

int KwPicture::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    KwSize size = GetSize();
    if (m_bStrip && m_pGroup != nullptr) {
        PaintStrip(graphics);
    } else if (m_pImage != nullptr) {
        graphics->DrawImage(m_pImage, 0, 0, m_pImage->GetWidth(), m_pImage->GetHeight(), 0, 0,
                            size.GetWidth(), size.GetHeight());
    }
    if (m_bBorder) {
        graphics->DrawRect(0, 0, size.GetWidth() - 1, size.GetHeight() - 1);
    }
    return 1;
}

void KwPicture::PaintStrip(IKwGraphics* graphics)
{
    KwColor background = GetBackground();
    int x = 0;
    int count = m_pGroup->GetCount();
    for (int i = 0; i < count; ++i) {
        KwImage* frame = m_pGroup->GetAt(i);
        if (frame == nullptr) {
            continue;
        }
        KwImage* shown = Displayable(frame, background);
        if (shown != nullptr) {
            graphics->DrawImage(shown, x, 0);
            shown->Release();
        }
        x += frame->GetWidth() + kStripGap;
        frame->Release();
    }
}

// The press is announced from the message loop, after the press itself has
// been handled.
int KwPicture::OnLButtonDown(const KwPoint& point)
{
    PostAction(EVT_PICTURE_CLICKED, reinterpret_cast<intptr_t>(static_cast<KwPicture*>(this)));
    return KwDesignComponent::OnLButtonDown(point);
}

} // namespace KwSDK
