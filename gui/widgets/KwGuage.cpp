// The progress gauge.
#include "KwGuage.h"

#include "IKwGraphics.h"

namespace KwSDK {

namespace {

const int kBlockGap = 2;
const unsigned int kWhite = 0xFFFFFFFFu;

// Length of the bar for value of maximum along an inside of length inside;
// value is already within 0..maximum and maximum is positive. Computed wide
// so that large values cannot overflow.
int FilledLength(int inside, int value, int maximum)
{
    if (inside <= 0) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(inside) * value / maximum);
}

// Calls draw(offset, length) for each block of side along a filled length:
// whole blocks while the next one ends before the filled length, then one
// shorter block so that the blocks end exactly where a solid bar would.
template <class Draw>
void ForEachBlock(int filled, int side, Draw draw)
{
    if (side <= 0) {
        return;
    }
    int offset = 0;
    while (offset + side < filled) {
        draw(offset, side);
        offset += side + kBlockGap;
    }
    if (filled - offset > 0) {
        draw(offset, filled - offset);
    }
}

// Sets the shared drawing and fill colours to one colour for the life of the
// object and puts the previous ones back afterwards.
class BarColors {
public:
    BarColors(IKwGraphics* graphics, const KwColor& bar)
        : m_pColor(graphics->GetColor()), m_pFill(graphics->GetFillColor()), m_nColor(0), m_nFill(0)
    {
        if (m_pColor != nullptr) {
            m_nColor = m_pColor->GetARGB();
            m_pColor->SetARGB(bar.GetARGB());
        }
        if (m_pFill != nullptr) {
            m_nFill = m_pFill->GetARGB();
            m_pFill->SetARGB(bar.GetARGB());
        }
    }
    ~BarColors()
    {
        if (m_pColor != nullptr) {
            m_pColor->SetARGB(m_nColor);
            m_pColor->Release();
        }
        if (m_pFill != nullptr) {
            m_pFill->SetARGB(m_nFill);
            m_pFill->Release();
        }
    }

private:
    BarColors(const BarColors&) = delete;
    BarColors& operator=(const BarColors&) = delete;

    KwColor* m_pColor;
    KwColor* m_pFill;
    unsigned int m_nColor;
    unsigned int m_nFill;
};

} // namespace

KwGuage::KwGuage()
    : m_bBlocks(0), m_nMaximum(100), m_nValue(0), m_bHorizontal(1), m_bShowPercentage(0),
      m_nInset(0), m_barColor(0, 0, 255)
{
    AppendTypeName("KwGuage");
    SetClassName("KwGuage");
    SetBackground(KwColor(255, 255, 255));
}

KwGuage::~KwGuage() = default;

void KwGuage::SetMaximum(int maximum)
{
    m_nMaximum = maximum;
    RepaintIfCreated();
}

void KwGuage::SetValue(int value)
{
    m_nValue = value;
    RepaintIfCreated();
}

void KwGuage::SetBlockStyle(int blocks)
{
    m_bBlocks = blocks;
}

void KwGuage::SetHorizontal(int horizontal)
{
    m_bHorizontal = horizontal;
}

void KwGuage::SetShowPercentage(int show)
{
    m_bShowPercentage = show;
}

void KwGuage::SetBarColor(const KwColor& color)
{
    m_barColor.SetARGB(color.GetARGB());
    RepaintIfCreated();
}

int KwGuage::GetMaximum() const
{
    return m_nMaximum;
}

int KwGuage::GetValue() const
{
    return m_nValue;
}

void KwGuage::Set3DLook(int look)
{
    KwDesignComponent::Set3DLook(look);
    m_nInset = look ? 0 : 1;
}

void KwGuage::RepaintIfCreated()
{
    if (IsCreated()) {
        RepaintAll();
    }
}

int KwGuage::ClampedValue() const
{
    if (m_nValue < 0) {
        return 0;
    }
    return m_nValue > m_nMaximum ? m_nMaximum : m_nValue;
}

int KwGuage::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    graphics->SetTransparentText(1);
    KwSize size = GetSize();
    int width = size.GetWidth();
    int height = size.GetHeight();
    PaintFrame(graphics, width, height);
    // Every length below is a share of the maximum: without a positive one
    // there is nothing to show but the empty box.
    if (m_nMaximum <= 0) {
        return 1;
    }
    {
        BarColors colors(graphics, m_barColor);
        if (m_bHorizontal) {
            PaintHorizontalBar(graphics, width, height);
        } else {
            PaintVerticalBar(graphics, width, height);
        }
    }
    if (m_bShowPercentage && m_bHorizontal) {
        PaintPercentage(graphics, width, height);
    }
    return 1;
}

void KwGuage::PaintFrame(IKwGraphics* graphics, int width, int height)
{
    if (Is3DLook()) {
        graphics->Draw3DFrame(0, 0, width - 1, height - 1, KW_FRAME_SUNKEN);
    } else {
        graphics->DrawRect(0, 0, width - 1, height - 1);
    }
}

// The filled length stops one pixel short of the inside, so a full bar
// never touches the frame's inner edge.
void KwGuage::PaintHorizontalBar(IKwGraphics* graphics, int width, int height)
{
    int v = m_nInset;
    int inside = width + 2 * v - 6;
    int filled = FilledLength(inside, ClampedValue(), m_nMaximum);
    if (filled > inside - 1) {
        filled = inside - 1;
    }
    int left = 3 - v;
    int top = 3 - v;
    int thickness = height + 2 * v - 6;
    if (filled <= 0 || thickness <= 0) {
        return;
    }
    if (!m_bBlocks) {
        graphics->FillRectangle(left, top, filled, thickness);
        return;
    }
    ForEachBlock(filled, thickness, [&](int offset, int length) {
        graphics->FillRectangle(left + offset, top, length, thickness);
    });
}

void KwGuage::PaintVerticalBar(IKwGraphics* graphics, int width, int height)
{
    int v = m_nInset;
    int filled = FilledLength(height + 2 * v - 6, ClampedValue(), m_nMaximum);
    int left = 3 - v;
    int bottom = height + v - 3;
    int thickness = width + 2 * v - 6;
    if (filled <= 0 || thickness <= 0) {
        return;
    }
    if (!m_bBlocks) {
        graphics->FillRectangle(left, bottom - filled, thickness, filled);
        return;
    }
    ForEachBlock(filled, thickness, [&](int offset, int length) {
        graphics->FillRectangle(left, bottom - offset - length, thickness, length);
    });
}

// The text sits in the middle in three pieces, tens digit, units digit and
// "%", each white once the bar has reached its left edge so that it stays
// readable on the bar.
void KwGuage::PaintPercentage(IKwGraphics* graphics, int width, int height)
{
    int y = height / 2 < 9 ? 1 : height / 2 - 8;
    int value = ClampedValue();
    if (value == m_nMaximum) {
        PaintPiece(graphics, "100%", width / 2 - 16, y, 1);
        return;
    }
    int v = m_nInset;
    int percent = static_cast<int>(static_cast<long long>(value) * 100 / m_nMaximum);
    int x0 = width / 2 - 12;
    int barEnd = FilledLength(width + 2 * v - 6, value, m_nMaximum) - v + 3;
    KwString digit;
    PaintPiece(graphics, "%", x0 + 16, y, barEnd > width / 2 + 4);
    digit.Format("%d", percent % 10);
    PaintPiece(graphics, digit, x0 + 8, y, barEnd > x0 + 8);
    digit.Format("%d", percent / 10);
    PaintPiece(graphics, digit, x0, y, barEnd > x0);
}

// Draws a piece in white or in the component's text colour; the drawing
// colour is left as it was found.
void KwGuage::PaintPiece(IKwGraphics* graphics, const KwString& text, int x, int y, int white)
{
    KwColor* color = graphics->GetColor();
    unsigned int saved = color != nullptr ? color->GetARGB() : 0;
    if (color != nullptr && white) {
        color->SetARGB(kWhite);
    }
    graphics->DrawString(text, x, y);
    if (color != nullptr) {
        color->SetARGB(saved);
        color->Release();
    }
}

} // namespace KwSDK
