// The JPEG 2000 code-stream core: reads a JP2 file or a raw code stream from
// a toolkit stream and delivers 8-bit R, G, B rows, on top of OpenJPEG.
#ifndef KWSDK_KWJ2KDECODER_H
#define KWSDK_KWJ2KDECODER_H

#include "IKwIOStream.h"
#include "KwObject.h"

namespace KwSDK {

// The two containers the core reads.
const int KW_J2K_FILE = 1;        // JP2 file: boxes around a code stream
const int KW_J2K_CODESTREAM = 2;  // bare code stream (".jpc", ".j2k")

// Error codes of the core.
const unsigned int KW_J2K_PARAM = 0xF0000001u;
const unsigned int KW_J2K_BAD_HEADER = 0xF0000002u;
const unsigned int KW_J2K_BAD_LAYOUT = 0xF0000003u;
const unsigned int KW_J2K_DECODE_FAIL = 0xF0000004u;
const unsigned int KW_J2K_ALLOC_FAIL = 0xF0000005u;
const unsigned int KW_J2K_NO_HEADER = 0xF0000006u;

// Where the library's byte 0 lies in a toolkit stream.
struct KWJ2KSOURCE {
    IKwIOStream* stream;
    int base;
};

// Use in two phases: ReadHeader reads the main header only (no sample
// memory is taken), so the caller can check the size before DecodeRGB does
// the expensive work. Once a phase has failed, the object answers failure
// until the next ReadHeader.
class KwJ2KDecoder : public virtual KwObject {
public:
    KwJ2KDecoder();
    ~KwJ2KDecoder() override;

    unsigned int GetErrorCode() const override;
    const char* GetErrorMessage(unsigned int code) const override;

    // Reads the header from the stream's current position, which is where
    // the file starts; the stream must stay alive until DecodeRGB has run. codec is KW_J2K_FILE or
    // KW_J2K_CODESTREAM. 1 on success.
    virtual int ReadHeader(IKwIOStream* stream, int codec);
    // Picture size in pixels, component count and the precision of the
    // first component; 0 before a successful ReadHeader.
    virtual unsigned int GetWidth() const;
    virtual unsigned int GetHeight() const;
    virtual unsigned int GetComponents() const;
    virtual unsigned int GetPrecision() const;
    // Bytes the decoding library will hold for the samples of all
    // components (4 bytes per sample), for the caller's size limit.
    virtual unsigned long long GetSampleBytes() const;
    // Decodes the whole picture into out (width x height x 3 bytes, rows top
    // to bottom, R, G, B). Grey pictures repeat the grey value, sYCC and CMYK
    // pictures are converted, extra components (alpha) are dropped.
    virtual int DecodeRGB(unsigned char* out, unsigned long long outSize);
    // Drops the codec, the library's stream and the decoded samples.
    virtual void Reset();

private:
    KwJ2KDecoder(const KwJ2KDecoder&) = delete;
    KwJ2KDecoder& operator=(const KwJ2KDecoder&) = delete;

    int Fail(unsigned int code);
    int CheckLayout() const;
    int ComponentsUsable() const;
    void ConvertRows(unsigned char* out) const;

    KWJ2KSOURCE m_source;
    void* m_pCodec;
    void* m_pStream;
    void* m_pImage;
    unsigned int m_nError;
    int m_bHeaderRead;
};

} // namespace KwSDK

#endif
