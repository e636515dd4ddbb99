// The wizard's picture with its banner texts.
#include "SetupImgView.h"

#include "IKwGraphics.h"
#include "KwFont.h"
#include "KwImgFileSrc.h"
#include "KwRect.h"

namespace KwSDK {

namespace {

// DT_SINGLELINE: one line, clipped to the box instead of wrapped.
const int kSingleLine = 32;
const int kTitleBoldness = 200;

} // namespace

SetupImgView::SetupImgView()
{
    AppendTypeName("SetupImgView");
}

SetupImgView::~SetupImgView() = default;

void SetupImgView::SetBannerTexts(const KwString& title, const KwString& description)
{
    m_strTitle = title;
    m_strDescription = description;
    InvalidateAll();
}

const KwString& SetupImgView::GetTitle() const
{
    return m_strTitle;
}

const KwString& SetupImgView::GetDescription() const
{
    return m_strDescription;
}

int SetupImgView::SetImageFile(const KwString& path)
{
    KwImgFileSrc source;
    KwImage* image = source.SetFile(path) ? source.Decode() : nullptr;
    SetImage(image);
    if (image == nullptr) {
        return 0;
    }
    image->Release();
    return 1;
}

int SetupImgView::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwPicture::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    graphics->SetTransparentText(1);
    DrawTitle(graphics);
    graphics->DrawTextInRect(m_strDescription, KwRect(52, 30, 300, 20), kSingleLine);
    return 1;
}

// The title is drawn with the current font made heavier, which is then put
// back as it was.
void SetupImgView::DrawTitle(IKwGraphics* graphics)
{
    KwFont* font = graphics->GetFont();
    int weight = font != nullptr ? font->GetWeight() : 0;
    if (font != nullptr) {
        font->SetWeight(weight + kTitleBoldness);
    }
    graphics->DrawTextInRect(m_strTitle, KwRect(10, 10, 200, 20), kSingleLine);
    if (font != nullptr) {
        font->SetWeight(weight);
        font->Release();
    }
}

} // namespace KwSDK
