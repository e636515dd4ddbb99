// A colour as red, green, blue and a fourth (alpha) byte, with the packed
// forms the toolkit and the system use.
#ifndef KWSDK_KWCOLOR_H
#define KWSDK_KWCOLOR_H

#include "KwObject.h"

namespace KwSDK {

// All four bytes are 0 unless given; a colour made from three components has
// alpha 0, which is also what a system colour value carries. Setters keep the
// low eight bits of their argument.
class KwColor : public virtual KwObject {
public:
    KwColor();
    KwColor(int red, int green, int blue);
    KwColor(int red, int green, int blue, int alpha);
    KwColor(const KwColor& other);
    KwColor& operator=(const KwColor& other);

    // A new colour with the same four bytes and one reference, or null.
    KwColor* Clone() const override;

    virtual int GetRed() const;
    virtual void SetRed(int red);
    virtual int GetGreen() const;
    virtual void SetGreen(int green);
    virtual int GetBlue() const;
    virtual void SetBlue(int blue);
    virtual int GetAlpha() const;
    virtual void SetAlpha(int alpha);
    // alpha << 24 | red << 16 | green << 8 | blue.
    virtual unsigned int GetARGB() const;
    virtual void SetARGB(unsigned int argb);
    // red | green << 8 | blue << 16 | alpha << 24: the system colour value
    // while alpha is 0.
    virtual unsigned int GetColorRef() const;
    virtual void SetColorRef(unsigned int colorRef);
    // 5 bits red, 6 green, 5 blue, red in the top bits.
    virtual unsigned int GetRGB565() const;
    // Sets red, green and blue from the top bits of each field; alpha stays.
    virtual void SetRGB565(unsigned int value);
    // 5 bits each, red in bits 10 to 14.
    virtual unsigned int GetRGB555() const;
    // Sets red, green and blue from the top bits of each field; alpha stays.
    virtual void SetRGB555(unsigned int value);

private:
    unsigned char m_nRed;
    unsigned char m_nGreen;
    unsigned char m_nBlue;
    unsigned char m_nAlpha;
};

} // namespace KwSDK

#endif
