// The wizard's picture: the welcome picture, and the banner that carries the
// title and description of the current page over its image.
#ifndef SETUP_SETUPIMGVIEW_H
#define SETUP_SETUPIMGVIEW_H

#include "KwPicture.h"
#include "KwString.h"

namespace KwSDK {

// Shows its image as a KwPicture does and draws the title in bold at
// (10, 10) and the description at (52, 30) over it, each on one line cut at
// its box (200 and 300 pixels wide), in the graphics' current text colour.
class SetupImgView : public KwPicture {
public:
    SetupImgView();
    ~SetupImgView() override;

    // Stores both texts and has the whole view painted again on the next
    // paint message.
    void SetBannerTexts(const KwString& title, const KwString& description);
    const KwString& GetTitle() const;
    const KwString& GetDescription() const;

    // Decodes the picture file at path and shows it; a file that is missing
    // or cannot be decoded leaves the view without an image. 1 when an
    // image was shown.
    int SetImageFile(const KwString& path);

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    using KwPicture::OnPaint;

private:
    void DrawTitle(IKwGraphics* graphics);

    KwString m_strTitle;
    KwString m_strDescription;
};

} // namespace KwSDK

#endif
