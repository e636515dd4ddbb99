// Decoder of GIF files: every frame with its offsets, delay and transparency.
#ifndef KWSDK_KWGIFDECODER_H
#define KWSDK_KWGIFDECODER_H

#include "IKwCoder.h"
#include "KwStreamReader.h"

namespace KwSDK {

// Frames are delivered separately, each as B, G, R, A pixels of its own size
// with its position on the logical screen; disposal methods are recorded
// but not applied.
class KwGIFDecoder : public IKwCoder {
public:
    KwGIFDecoder();
    ~KwGIFDecoder() override;

    // Header and logical screen; width and height are the screen's.
    int ReadHeader() override;
    // The first frame's pixels.
    int DecodePixels(KwBuffer* pixels) override;
    // The first frame, with its offsets and delay.
    KwImage* GetImage() override;
    // Every frame; the group's canvas is the logical screen.
    KwImageGroup* GetImageGroup() override;
    int GetImageCount() override;
    int GetParams(KwParam* params) override;

    // Disposal method of the last graphic control extension read.
    int GetDisposal() const;

protected:
    void ResetState() override;

private:
    // Per-frame state set by a graphic control extension.
    struct CONTROL {
        int nDisposal;
        int bUserInput;
        int bTransparent;
        int nTransparentIndex;
        int nDelay;
    };
    // Position and layout of one image on the logical screen.
    struct FRAME {
        int nLeft;
        int nTop;
        int nWidth;
        int nHeight;
        int bInterlaced;
    };

    int DecodeFrames(KwBuffer* first);
    int ReadExtension(KwStreamReader& reader, CONTROL* control);
    int ReadFrame(KwStreamReader& reader, const CONTROL& control, KwBuffer* target);
    int ReadColorTable(KwStreamReader& reader, int entries, unsigned char* table);
    int SkipSubBlocks(KwStreamReader& reader);
    int AddFrame(const FRAME& frame, const unsigned char* indices, int decoded,
                 const unsigned char* table, const CONTROL& control, KwBuffer* target);

    KwImageGroup* m_pFrames;
    int m_bFramesFailed;
    int m_nGlobalColors;
    int m_nBackground;
    int m_nColorBits;
    int m_nLastDisposal;
    unsigned char m_globalTable[768];
};

} // namespace KwSDK

#endif
