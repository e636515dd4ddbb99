// The drawing interface: empty operations, and the 3-D frames every
// implementation shares.
#include "IKwGraphics.h"

namespace KwSDK {

namespace {

// Frame colours as 0xRRGGBB.
const unsigned int kSunkenOuterDark = 0xACA899;   // (172, 168, 153)
const unsigned int kSunkenInnerDark = 0x716F64;   // (113, 111, 100)
const unsigned int kSunkenInnerLight = 0xF1EFE2;  // (241, 239, 226)
const unsigned int kWhite = 0xFFFFFF;
const unsigned int kBlack = 0x000000;
const unsigned int kRaisedShadow = 0x7B7B7B;      // (123, 123, 123)
const unsigned int kEtchedShadow = 0x7F7F7F;      // (127, 127, 127)

// The graphics' current colour, borrowed by a frame that draws its lines
// in other colours: the frame's own colour is put back and the reference
// given up when the frame is done.
class FrameColor {
public:
    explicit FrameColor(IKwGraphics* graphics)
        : m_pColor(graphics->GetColor()), m_nSaved(m_pColor != nullptr ? m_pColor->GetARGB() : 0)
    {
    }
    ~FrameColor()
    {
        if (m_pColor != nullptr) {
            m_pColor->SetARGB(m_nSaved);
            m_pColor->Release();
        }
    }
    FrameColor(const FrameColor&) = delete;
    FrameColor& operator=(const FrameColor&) = delete;
    KwColor* Get() const { return m_pColor; }

private:
    KwColor* m_pColor;
    unsigned int m_nSaved;
};

} // namespace

IKwGraphics::IKwGraphics()
{
    AppendTypeName("IKwGraphics");
}

IKwGraphics::~IKwGraphics() = default;

void IKwGraphics::DrawRect(int, int, int, int) {}
void IKwGraphics::FillRoundRect(int, int, int, int, int, int) {}
int IKwGraphics::DrawImage(KwImage*, int, int, int, int, int, int, int, int) { return 0; }
int IKwGraphics::DrawImage(KwImage*, int, int, int, int) { return 0; }
int IKwGraphics::DrawImage(KwImage*, int, int) { return 0; }
int IKwGraphics::DrawImageTransparent(KwImage*, int, int, int, int, int, int, int, int,
                                      const KwColor&)
{
    return 0;
}
int IKwGraphics::DrawArc(int, int, int, int, int, int, int, int) { return 0; }
void IKwGraphics::DrawLine(int, int, int, int, int) {}
void IKwGraphics::DrawOval(int, int, int, int) {}
void IKwGraphics::DrawPolyline(const KwPoint*, int) {}
int IKwGraphics::DrawBezier(const KwPoint*, int) { return 0; }
void IKwGraphics::DrawTextInRect(const KwString&, const KwRect&, int) {}
void IKwGraphics::DrawString(const KwString&, int, int) {}
void IKwGraphics::PutPixel(int, int, const KwColor&) {}
void IKwGraphics::FillPie(int, int, int, int, int, int, int, int) {}
void IKwGraphics::FillOval(int, int, int, int) {}
void IKwGraphics::FillRectangle(int, int, int, int) {}
void IKwGraphics::FillPolygon(const KwPoint*, int, int) {}
KwFont* IKwGraphics::GetFont() { return nullptr; }
int IKwGraphics::SetFont(KwFont*) { return 0; }
KwColor* IKwGraphics::GetBackColor() { return nullptr; }
KwColor* IKwGraphics::GetColor() { return nullptr; }
KwColor* IKwGraphics::GetFillColor() { return nullptr; }
void IKwGraphics::SetTransparentText(int) {}
void IKwGraphics::ClearRect(const KwRect&) {}
void IKwGraphics::Clear() {}
void IKwGraphics::DrawDisabledString(const KwString&, int, int) {}
void IKwGraphics::DrawFocusFrame(int, int, int, int, int) {}
KwSize IKwGraphics::GetTextExtent(const KwString&) { return KwSize(); }
int IKwGraphics::GetFontHeight() { return 0; }
void IKwGraphics::Reserved30() {}
void IKwGraphics::Reserved31() {}
void IKwGraphics::Reserved32() {}
void IKwGraphics::Reserved33() {}
void IKwGraphics::Reserved34() {}
void IKwGraphics::Present(int, int, int, int) {}

void IKwGraphics::Draw3DFrame(int x, int y, int w, int h, int style)
{
    switch (style) {
    case KW_FRAME_SUNKEN:
        DrawSunkenFrame(x, y, w, h);
        break;
    case KW_FRAME_RAISED:
        DrawRaisedFrame(x, y, w, h);
        break;
    case KW_FRAME_ETCHED:
        DrawEtchedFrame(x, y, w, h);
        break;
    default:
        break;
    }
}

// Sets red, green and blue of the shared drawing colour and draws a
// one-pixel line with it; alpha means nothing to the lines and is kept.
void IKwGraphics::DrawLineIn(KwColor* color, unsigned int rgb, int x1, int y1, int x2, int y2)
{
    color->SetRed(static_cast<int>(rgb >> 16 & 0xFF));
    color->SetGreen(static_cast<int>(rgb >> 8 & 0xFF));
    color->SetBlue(static_cast<int>(rgb & 0xFF));
    DrawLine(x1, y1, x2, y2, 1);
}

// Dark top and left edges over light bottom and right ones, two pixels deep.
void IKwGraphics::DrawSunkenFrame(int x, int y, int w, int h)
{
    FrameColor frame(this);
    KwColor* color = frame.Get();
    if (color == nullptr) {
        return;
    }
    int a = x + w;
    int b = y + h;
    DrawLineIn(color, kSunkenOuterDark, x, y, a, y);
    DrawLineIn(color, kSunkenOuterDark, x, y, x, b);
    DrawLineIn(color, kWhite, a, y, a, b);
    DrawLineIn(color, kWhite, a, b, x, b);
    DrawLineIn(color, kSunkenInnerDark, x + 1, y + 1, a - 1, y + 1);
    DrawLineIn(color, kSunkenInnerDark, x + 1, y + 1, x + 1, b - 1);
    DrawLineIn(color, kSunkenInnerLight, a - 1, y + 1, a - 1, b - 1);
    DrawLineIn(color, kSunkenInnerLight, a - 1, b - 1, x, b - 1);
}

// White top and left edges; black, then grey, bottom and right edges.
void IKwGraphics::DrawRaisedFrame(int x, int y, int w, int h)
{
    FrameColor frame(this);
    KwColor* color = frame.Get();
    if (color == nullptr) {
        return;
    }
    int a = x + w;
    int b = y + h;
    DrawLineIn(color, kBlack, a, b, a, y);
    DrawLineIn(color, kBlack, a, b, x, b);
    DrawLineIn(color, kRaisedShadow, a - 1, b - 1, a - 1, y);
    DrawLineIn(color, kRaisedShadow, a - 1, b - 1, x, b - 1);
    DrawLineIn(color, kWhite, x, y, x, b);
    DrawLineIn(color, kWhite, x, y, a, y);
}

// A grey outline with a white one offset by a pixel, as a groove.
void IKwGraphics::DrawEtchedFrame(int x, int y, int w, int h)
{
    FrameColor frame(this);
    KwColor* color = frame.Get();
    if (color == nullptr) {
        return;
    }
    int a = x + w;
    int b = y + h;
    DrawLineIn(color, kEtchedShadow, x, y, a - 1, y);
    DrawLineIn(color, kEtchedShadow, a - 1, y, a - 1, b - 1);
    DrawLineIn(color, kEtchedShadow, a - 1, b - 1, x, b - 1);
    DrawLineIn(color, kEtchedShadow, x, b - 1, x, y);
    DrawLineIn(color, kWhite, x + 1, y + 1, a - 2, y + 1);
    DrawLineIn(color, kWhite, a, y, a, b);
    DrawLineIn(color, kWhite, a, b, x, b);
    DrawLineIn(color, kWhite, x + 1, b - 2, x + 1, y + 1);
}

} // namespace KwSDK
