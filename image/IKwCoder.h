// The interface shared by every image decoder: open from a file, stream,
// buffer, memory or image; read and check the header; decode the pixels
// once; build a KwImage; publish header values; report progress.
#ifndef KWSDK_IKWCODER_H
#define KWSDK_IKWCODER_H

#include "IKwIOStream.h"
#include "IKwProgressListener.h"
#include "KwBuffer.h"
#include "KwImage.h"
#include "KwImageGroup.h"
#include "KwObject.h"
#include "KwParam.h"
#include "KwString.h"

namespace KwSDK {

// Error codes of a decoder.
const unsigned int KW_CODER_OPEN_FAIL = 0xF0000001u;    // "Open image source fail"
const unsigned int KW_CODER_PARAM = 0xF0000002u;        // "Paramater is wrong"
const unsigned int KW_CODER_BAD_HEADER = 0xF0000003u;   // "Image header is invalid"
const unsigned int KW_CODER_TOO_LARGE = 0xF0000004u;    // "Image is too large"
const unsigned int KW_CODER_BAD_DATA = 0xF0000005u;     // "Image data is invalid or truncated"
const unsigned int KW_CODER_NO_MEMORY = 0xF0000006u;    // "Alloc memory fail"
const unsigned int KW_CODER_NOT_READY = 0xF0000007u;    // "Image header is not read"
const unsigned int KW_CODER_UNSUPPORTED = 0xF0000008u;  // "Image kind is not supported"

// A decoder holds one reference to its input stream and keeps the decoded
// pixels, so GetPixels decodes once however often it is called. Opening a
// new source drops the previous header and pixels. Objects handed to the
// Open forms are held with a reference: pass objects made with new, never
// stack objects. Once decoding has failed, later requests fail the same
// way until a new source is opened.
//
// For files that hold several images (GIF frames, icon images) GetPixels and
// GetImage give the file's main image (the first frame; the largest icon),
// whose size may differ from the header's width and height; GetImageGroup
// gives them all.
//
// A subclass implements ReadHeader (read the header through GetStream and
// call SetHeaderInfo) and DecodePixels (fill the buffer, normally sized with
// AllocPixels); everything else is shared.
class IKwCoder : public virtual KwObject {
public:
    IKwCoder();
    ~IKwCoder() override;

    unsigned int GetErrorCode() const override;
    const char* GetErrorMessage(unsigned int code) const override;

    // A new image (one reference) with the decoded pixels, format, width and
    // height; null when decoding fails.
    virtual KwImage* GetImage();
    // The decoded pixels with one added reference; null unless a header was
    // read and decoding succeeds.
    virtual KwBuffer* GetPixels();
    // Opens the encoded file bytes held in the image's pixel buffer.
    virtual int OpenImage(KwImage* image);
    // Opens a private copy of length bytes.
    virtual int OpenMemory(const void* bytes, int length);
    // Holds the stream (releasing a previous one) and answers the result of
    // reading the header. The file starts at the stream's position at this
    // call (GetStreamBase); decoders seek relative to it.
    virtual int OpenStream(IKwIOStream* stream);
    // Opens the buffer's bytes from their start; the buffer is held.
    virtual int OpenBuffer(KwBuffer* buffer);
    // Opens the file read-only ("rb").
    virtual int OpenFile(const KwString& path);
    // Header values; 0 until a header was read or when the format has none.
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetComponentNumber() const;
    virtual int GetXPerMeter() const;
    virtual int GetYPerMeter() const;
    // Pixels per metre x 0.0254, truncated.
    virtual int GetXPerInch() const;
    virtual int GetYPerInch() const;
    // Reads and checks the header from the held stream; marks the decoder
    // ready on success.
    virtual int ReadHeader() = 0;
    // Fills the buffer with the decoded pixels, rows top to bottom in
    // GetFormat's layout. On failure the buffer's contents are undefined.
    virtual int DecodePixels(KwBuffer* pixels) = 0;
    // Writes one B, G, R triple per pixel for count palette indices of
    // bitDepth 1, 2, 4 or 8 bits (leftmost pixel in the high bits). The
    // palette holds 256 entries of 4 bytes (B, G, R, ignored), so every
    // index of these depths is inside it. 0 for any other depth or a null
    // argument.
    virtual int ExpandRow(const unsigned char* palette, const unsigned char* indices,
                          unsigned char* out, int count, int bitDepth);

    // Every image of the file as a new group with one reference: the frames
    // of an animation, the images of an icon file, or the one image of a
    // still picture. Null when decoding fails.
    virtual KwImageGroup* GetImageGroup();
    // Number of images in the file as the header tells; 1 for still
    // pictures, 0 before a header was read.
    virtual int GetImageCount();
    // Publishes the header values as named texts (KwImageParams.h) into
    // params; 0 before a header was read or for null.
    virtual int GetParams(KwParam* params);
    // The listener (held with a reference; null removes it) receives the
    // decoding progress.
    virtual int SetProgressListener(IKwProgressListener* listener);
    // Input pin: opens any toolkit object by its type-name chain: a string
    // is a file path, a buffer holds encoded bytes, a stream is read, an
    // image's pixels hold encoded bytes. 0 for anything else.
    virtual int OpenObject(KwObject* input);
    // Output pin: into an image attaches the decoded pixels with their
    // format, width and height; into a buffer copies the pixels. 0 for
    // anything else or when decoding fails.
    virtual int DeliverTo(KwObject* target);

    // Pixel format of the decoded pixels, known once the header was read.
    int GetFormat() const;
    // 1 once a header was read successfully.
    int IsReady() const;

protected:
    // The held input stream (no reference for the caller), or null.
    IKwIOStream* GetStream() const;
    // The stream position where the file starts.
    int GetStreamBase() const;
    // Records the picture's size and output format and marks the decoder
    // ready. Refuses (KW_CODER_TOO_LARGE) a size outside the picture limits.
    int SetHeaderInfo(int width, int height, int format);
    // Records the component count and resolution for the header slots.
    void SetHeaderExtras(int components, int xPerMeter, int yPerMeter);
    // Sizes the buffer for width x height pixels of bytesPerPixel through the
    // overflow-checked limit and the file's allowance (ReserveBytes); 0 with
    // the error set when refused.
    int AllocPixels(KwBuffer* pixels, int width, int height, int bytesPerPixel);
    // The same size check and block, left uncleared: only for a decoder that
    // writes every byte itself, where clearing would double the memory
    // traffic of large pictures.
    int AllocPixelsUncleared(KwBuffer* pixels, int width, int height, int bytesPerPixel);
    // Counts bytes of one decoding (pixels, and large working memory such as
    // a decoding library's sample planes) against what the file can justify
    // (KwImageJustifiedBytes of its size); refuses with KW_CODER_TOO_LARGE
    // once the total would pass it. AllocPixels counts its block itself.
    int ReserveBytes(long long bytes);
    // Bytes still allowed to this decoding.
    long long GetBytesLeft() const;
    // Starts a new count; DecodeOnce does this before DecodePixels, decoders
    // that decode outside it (image groups) call it themselves.
    void ResetReserved();
    // Size of the file from its start in the stream, or -1 when unknown.
    long long GetFileBytes() const;
    // Stores an error code and answers 0.
    int Fail(unsigned int code);
    void ReportProgress(int done, int total);
    void ReportComplete(int success);
    // Called when a new source is opened, before ReadHeader: subclasses drop
    // what they kept of the previous source and call the base.
    virtual void ResetState();
    // Publishes IMAGE_ImageType with this value; subclasses may report a
    // different code than the pixel format.
    virtual int GetParamImageType() const;

private:
    IKwCoder(const IKwCoder&) = delete;
    IKwCoder& operator=(const IKwCoder&) = delete;

    int OpenOwnedStream(IKwIOStream* stream);
    int DecodeOnce();

    IKwIOStream* m_pStream;
    KwBuffer* m_pDecoded;
    IKwProgressListener* m_pListener;
    unsigned int m_nError;
    int m_bReady;
    int m_bDecodeFailed;
    int m_nWidth;
    int m_nHeight;
    int m_nFormat;
    int m_nComponents;
    int m_nXPerMeter;
    int m_nYPerMeter;
    int m_nStreamBase;
    long long m_nFileBytes;
    long long m_nReserved;
};

} // namespace KwSDK

#endif
