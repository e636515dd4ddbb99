// A 32 x 32 monochrome icon described by its two masks, as the toolkit
// makes custom icons.
#ifndef KWSDK_MASKICON_H
#define KWSDK_MASKICON_H

#include "KwIcon.h"

#include <vector>

namespace KwSDK {
namespace Testing {

class MaskIcon : public KwIcon {
public:
    MaskIcon() : m_and(128, 0x0F), m_xor(128, 0xF0) { SetType(KW_ICON_CUSTOM); }
    int GetWidth() const override { return 32; }
    int GetHeight() const override { return 32; }
    int GetBitsPerPixel() const override { return 1; }
    const unsigned char* GetAndBits() const override { return m_and.data(); }
    const unsigned char* GetXorBits() const override { return m_xor.data(); }

private:
    std::vector<unsigned char> m_and;
    std::vector<unsigned char> m_xor;
};

} // namespace Testing
} // namespace KwSDK

#endif
